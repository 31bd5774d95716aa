#pragma once

#include <random>

#include "engine/random_source.h"

// A reproducible random source: a fixed-seed generator installed for its lifetime.
class SeededRandom final : public engine::RandomSource {
public:
    explicit SeededRandom(unsigned seed) : generator_(seed), scope_(*this) {}

    int Below(int n) override { return std::uniform_int_distribution<int>(0, n - 1)(generator_); }
    void Seed() override {}

    std::mt19937& generator() { return generator_; }

private:
    std::mt19937 generator_;
    engine::ScopedRandomSource scope_;
};
