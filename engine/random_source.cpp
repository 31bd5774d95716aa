#include "random_source.h"

#include <chrono>
#include <random>

namespace engine {

namespace {

class ClockSeededSource final : public RandomSource {
public:
    ClockSeededSource() { Seed(); }

    int Below(int n) override {
        std::uniform_int_distribution<int> distribution(0, n - 1);
        return distribution(generator_);
    }

    void Seed() override {
        const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
        generator_.seed(static_cast<std::mt19937::result_type>(ticks ^ (ticks >> 32)));
    }

private:
    std::mt19937 generator_;
};

RandomSource& clockSource() {
    static ClockSeededSource source;
    return source;
}

RandomSource* current = nullptr;

RandomSource& currentSource() { return current ? *current : clockSource(); }

}  // namespace

int RandomBelow(int n) {
    if (n < 1) return 0;
    return currentSource().Below(n);
}

void SeedRandom() { currentSource().Seed(); }

ScopedRandomSource::ScopedRandomSource(RandomSource& source) : previous_(current) { current = &source; }

ScopedRandomSource::~ScopedRandomSource() { current = previous_; }

}  // namespace engine
