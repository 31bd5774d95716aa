#pragma once

#include <string>

#include "grid.h"

namespace engine {

// A layout as one line of text, the way a deal is handed from one player to another: the
// sixteen cells row by row, top row first, separated by single spaces, 0 for the blank;
// "0 12 9 13 15 11 10 14 3 7 2 5 4 8 6 1", say.
std::string FormatDealText(const Grid& grid);

}  // namespace engine
