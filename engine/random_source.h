#pragma once

namespace engine {

// A source of uniformly distributed whole numbers. The program draws from one source for
// the whole run; tests put a scripted one in its place.
class RandomSource {
public:
    RandomSource() = default;
    virtual ~RandomSource() = default;
    // A source is put in place by reference, never copied.
    RandomSource(const RandomSource&) = delete;
    RandomSource& operator=(const RandomSource&) = delete;
    // A whole number from 0 to n - 1; n is at least 1.
    virtual int Below(int n) = 0;
    // Seeds the generator from the system clock.
    virtual void Seed() = 0;
};

// Draws from the program's current source: 0 .. n - 1 (0 when n < 1).
int RandomBelow(int n);

// Reseeds the program's current source from the system clock.
void SeedRandom();

// Puts `source` in place of the program's source for this object's lifetime.
class ScopedRandomSource {
public:
    explicit ScopedRandomSource(RandomSource& source);
    ~ScopedRandomSource();
    ScopedRandomSource(const ScopedRandomSource&) = delete;
    ScopedRandomSource& operator=(const ScopedRandomSource&) = delete;

private:
    RandomSource* previous_;
};

}  // namespace engine
