#pragma once

#include <algorithm>
#include <functional>
#include <vector>

#include "engine/random_source.h"

// A random source that answers from a script and remembers every request. Installed for
// its lifetime in place of the program's generator.
class ScriptedRandom final : public engine::RandomSource {
public:
    // answer(callNumber, n): what the call numbered from 0 returns for RandomBelow(n).
    using Script = std::function<int(int callNumber, int n)>;

    explicit ScriptedRandom(Script script) : script_(std::move(script)), scope_(*this) {}

    // Answers from a fixed list, repeating its last value when the list runs out.
    static Script sequence(std::vector<int> values) {
        return [values = std::move(values)](int call, int) {
            if (values.empty()) return 0;
            return values[std::min<std::size_t>(static_cast<std::size_t>(call), values.size() - 1)];
        };
    }

    int Below(int n) override {
        requests.push_back(n);
        return script_(static_cast<int>(requests.size()) - 1, n);
    }

    void Seed() override { ++seeds; }

    std::vector<int> requests;  // the n of every RandomBelow call, in order
    int seeds = 0;

private:
    Script script_;
    engine::ScopedRandomSource scope_;
};
