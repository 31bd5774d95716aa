#include "arrangement.h"

#include "solvability.h"

namespace engine {

namespace {

constexpr int kMaxCellValue = 255;

int DigitValue(char c, int base) {
    int digit = -1;
    if (c >= '0' && c <= '9')
        digit = c - '0';
    else if (c >= 'a' && c <= 'f')
        digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        digit = c - 'A' + 10;
    return digit < base ? digit : -1;
}

}  // namespace

std::string_view VerdictMessage(ArrangementVerdict verdict) {
    switch (verdict) {
        case ArrangementVerdict::Solvable: return kSolvableMessage;
        case ArrangementVerdict::Unsolvable: return kUnsolvableMessage;
        case ArrangementVerdict::Invalid: break;
    }
    return kInvalidTableMessage;
}

// Accepted cell texts:
//   ""                                   -> 0 (the blank)
//   " "* [+|-] digits                    decimal, e.g. "7", "  07", "+7", "-0"
//   " "* [+|-] ("$"|"x"|"X"|"0x"|"0X") hexdigits   hexadecimal, e.g. "$F", "0xf", "-x0"
// Nothing may follow the digits, at least one digit is needed, and the value must lie in
// 0..255. Only ASCII characters form a number; any other byte (other scripts' digits, NUL,
// trailing spaces) makes the text fail. The value is bounded as digits are read, so texts
// of any length are refused without overflow.
std::optional<std::uint8_t> ReadCell(std::string_view text) {
    if (text.empty()) return 0;

    std::size_t at = 0;
    while (at < text.size() && text[at] == ' ') ++at;

    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }

    int base = 10;
    if (at < text.size() && (text[at] == '$' || text[at] == 'x' || text[at] == 'X')) {
        base = 16;
        ++at;
    } else if (at + 1 < text.size() && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X')) {
        base = 16;
        at += 2;
    }

    if (at == text.size()) return std::nullopt;

    int value = 0;
    for (; at < text.size(); ++at) {
        const int digit = DigitValue(text[at], base);
        if (digit < 0) return std::nullopt;
        value = value * base + digit;
        if (value > kMaxCellValue) return std::nullopt;
    }
    if (negative && value != 0) return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

bool ReadArrangement(PuzzleState& state, const ArrangementTexts& texts, Grid& target) {
    for (int position = 1; position <= kCells; ++position) {
        const std::optional<std::uint8_t> value = ReadCell(texts[SlotOf(position)]);
        if (!value) return false;
        target.at(position) = *value;
        state.DealPool[position] = *value;
    }
    return true;
}

SetArrangementResult SetArrangement(PuzzleState& state, const ArrangementTexts& texts) {
    // Read into a scratch grid so that a refused table never reaches the board in play.
    Grid candidate = state.Board;
    if (!ReadArrangement(state, texts, candidate) || !HoldsEachValueOnce(state.DealPool.entries)) {
        return SetArrangementResult::Invalid;
    }
    state.Board = candidate;
    return SetArrangementResult::Accepted;
}

ArrangementVerdict CheckArrangement(PuzzleState& state, const ArrangementTexts& texts) {
    if (!ReadArrangement(state, texts, state.CheckGrid) || !HoldsEachValueOnce(state.DealPool.entries)) {
        return ArrangementVerdict::Invalid;
    }
    return ParitySumOf(state.CheckGrid) % 2 == 0 ? ArrangementVerdict::Solvable : ArrangementVerdict::Unsolvable;
}

}  // namespace engine
