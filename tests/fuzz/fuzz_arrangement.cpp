// Sixteen arbitrary cell texts into SetArrangement and CheckArrangement. The input is split
// into cell texts at '\n'; missing cells are empty. Everything is judged against a reader
// and a parity count of our own: whether the table is an arrangement, the verdict, what
// Board holds after an accepted table, and that a refused one (or any check) changes
// nothing the game plays from.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "board_text.h"
#include "engine/arrangement.h"
#include "played_state.h"
#include "require.h"

using namespace engine;

namespace {

ArrangementTexts Split(const std::uint8_t* data, std::size_t size) {
    ArrangementTexts texts;
    std::size_t cell = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            if (++cell == texts.size()) break;
            continue;
        }
        texts[cell].push_back(static_cast<char>(data[i]));
    }
    return texts;
}

// The cell notation, restated: "" is 0; otherwise spaces, a sign, "0x", "0X", "$", "x" or
// "X" for hexadecimal, then digits and nothing else; the value must be 0..255 ("-0" is 0).
std::optional<int> ReferenceValue(std::string_view text) {
    if (text.empty()) return 0;
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) return std::nullopt;
    text.remove_prefix(start);
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    for (std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
        if (text.starts_with(prefix)) {
            base = 16;
            text.remove_prefix(prefix.size());
            break;
        }
    }
    const std::string_view digits = base == 16 ? "0123456789abcdefABCDEF" : "0123456789";
    if (text.empty() || text.find_first_not_of(digits) != std::string_view::npos) return std::nullopt;
    const std::size_t significant = text.find_first_not_of('0');
    if (significant == std::string_view::npos) return 0;
    text.remove_prefix(significant);
    if (text.size() > 3 || negative) return std::nullopt;
    const long value = std::strtol(std::string(text).c_str(), nullptr, base);
    if (value > 255) return std::nullopt;
    return static_cast<int>(value);
}

// The table as an arrangement: each of 0..15 exactly once, or nothing.
std::optional<Grid> ReferenceLayout(const ArrangementTexts& texts) {
    Grid grid;
    unsigned seen = 0;
    for (int cell = 1; cell <= kCells; ++cell) {
        const std::optional<int> value = ReferenceValue(texts[SlotOf(cell)]);
        if (!value || *value >= kCells || (seen & (1u << *value))) return std::nullopt;
        seen |= 1u << *value;
        grid.at(cell) = static_cast<std::uint8_t>(*value);
    }
    return grid;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ArrangementTexts texts = Split(data, size);
    const std::optional<Grid> layout = ReferenceLayout(texts);

    const PuzzleState played = PlayedState();
    PuzzleState checked = played;
    const ArrangementVerdict verdict = CheckArrangement(checked, texts);
    Require(WhatTheGamePlaysFrom(checked) == WhatTheGamePlaysFrom(played));
    if (!layout) {
        Require(verdict == ArrangementVerdict::Invalid);
    } else {
        const bool even = PlainParitySum(*layout) % 2 == 0;
        Require(verdict == (even ? ArrangementVerdict::Solvable : ArrangementVerdict::Unsolvable));
        Require(checked.CheckGrid == *layout);
    }
    // A second check of the same texts says the same.
    Require(CheckArrangement(checked, texts) == verdict);

    PuzzleState set = played;
    const SetArrangementResult result = SetArrangement(set, texts);
    if (!layout) {
        Require(result == SetArrangementResult::Invalid);
        Require(WhatTheGamePlaysFrom(set) == WhatTheGamePlaysFrom(played));
        return 0;
    }
    Require(result == SetArrangementResult::Accepted);
    PuzzleState expected = played;
    expected.Board = *layout;
    Require(WhatTheGamePlaysFrom(set) == WhatTheGamePlaysFrom(expected));
    return 0;
}
