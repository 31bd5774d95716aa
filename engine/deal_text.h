#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "arrangement.h"
#include "grid.h"

namespace engine {

// A layout as one line of text, the way a deal is handed from one player to another: the
// sixteen cells row by row, top row first, separated by single spaces, 0 for the blank;
// "0 12 9 13 15 11 10 14 3 7 2 5 4 8 6 1", say.
std::string FormatDealText(const Grid& grid);

// The sixteen cell texts a player would type into the arrangement table for a text that
// holds exactly sixteen whole numbers: each number as it is written, the blank (0, or an
// empty place) as an empty cell. Nullopt for any other text. Which numbers make a table the
// game accepts is left to the arrangement check, as for a typed table.
std::optional<ArrangementTexts> ParseDealText(std::string_view text);

}  // namespace engine
