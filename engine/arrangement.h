#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "puzzle_state.h"

namespace engine {

// The sixteen cell texts of a typed-in table, row-major (top row first), UTF-8.
using ArrangementTexts = std::array<std::string, kCells>;

enum class ArrangementVerdict { Invalid, Solvable, Unsolvable };

enum class SetArrangementResult { Accepted, Invalid };

inline constexpr std::string_view kInvalidTableMessage = "Проверьте заполнение таблицы";
inline constexpr std::string_view kUnsolvableMessage = "Расклад нечетный, не собирается";
inline constexpr std::string_view kSolvableMessage = "Расклад четный, собирается";

// The message shown for a verdict.
std::string_view VerdictMessage(ArrangementVerdict verdict);

// Reads one cell text as a value 0..255; nullopt when the text is not such a number.
std::optional<std::uint8_t> ReadCell(std::string_view text);

// Reads the sixteen texts into `target` and state.DealPool, position by position; stops at
// the first text that fails, leaving the positions before it written.
bool ReadArrangement(PuzzleState& state, const ArrangementTexts& texts, Grid& target);

// Installs the table in Board when it is a complete arrangement (each of 0..15 once),
// solvable or not. A refused table leaves Board and every field the game plays from as
// they were.
SetArrangementResult SetArrangement(PuzzleState& state, const ArrangementTexts& texts);

// Judges a table without touching Board: Invalid, or whether it can be solved. It does
// change the state: the texts are read into CheckGrid and DealPool (as far as they read).
ArrangementVerdict CheckArrangement(PuzzleState& state, const ArrangementTexts& texts);

}  // namespace engine
