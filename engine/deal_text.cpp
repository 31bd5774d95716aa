#include "deal_text.h"

#include <algorithm>

namespace engine {

std::string FormatDealText(const Grid& grid) {
    std::string text;
    for (int cell = 1; cell <= kCells; ++cell) {
        if (cell > 1) text += ' ';
        text += std::to_string(grid.at(cell));
    }
    return text;
}

namespace {

bool IsLineBreak(char c) { return c == '\n' || c == '\r'; }
bool IsPlaceEnd(char c) { return c == ',' || c == '\t'; }
bool IsSpace(char c) { return c == ' '; }

bool IsWholeNumber(std::string_view word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Hands `each` the pieces of `text` between the characters that `isEnd` matches, empty ones
// included, in order; false as soon as `each` returns false.
template <typename IsEnd, typename Each>
bool ForEachPiece(std::string_view text, IsEnd isEnd, Each each) {
    std::size_t start = 0;
    for (std::size_t at = 0; at <= text.size(); ++at) {
        if (at < text.size() && !isEnd(text[at])) continue;
        if (!each(text.substr(start, at - start))) return false;
        start = at + 1;
    }
    return true;
}

}  // namespace

// Spaces and line breaks only separate: any run of them counts as one, so that numbers may
// be lined up in columns or stand one a line, and a blank line adds nothing. Commas and tabs
// end places, as they end the cells of a spreadsheet's rows copied as text: in a line that
// has one, a place with no number in it (between two of them, or before the first or after
// the last) is an empty place, which marks the blank. So "1,,2" holds a blank between 1 and
// 2, and "13,14,15," ends with one. A place may hold several numbers: "1 2, 3" is three.
std::optional<ArrangementTexts> ParseDealText(std::string_view text) {
    ArrangementTexts texts;
    std::size_t count = 0;
    // A number, or "" for an empty place; false once there are more than sixteen.
    const auto take = [&](std::string_view number) {
        if (count == texts.size()) return false;
        const bool blank = std::all_of(number.begin(), number.end(), [](char c) { return c == '0'; });
        texts[count++] = blank ? std::string() : std::string(number);
        return true;
    };
    const bool numbersOnly = ForEachPiece(text, IsLineBreak, [&](std::string_view line) {
        const bool placesEnd = std::any_of(line.begin(), line.end(), IsPlaceEnd);
        return ForEachPiece(line, IsPlaceEnd, [&](std::string_view place) {
            bool empty = true;
            const bool read = ForEachPiece(place, IsSpace, [&](std::string_view word) {
                if (word.empty()) return true;
                empty = false;
                return IsWholeNumber(word) && take(word);
            });
            return read && (!empty || !placesEnd || take({}));
        });
    });
    if (!numbersOnly || count != texts.size()) return std::nullopt;
    return texts;
}

}  // namespace engine
