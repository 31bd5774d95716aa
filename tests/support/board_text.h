#pragma once

#include <sstream>
#include <string>

#include "engine/grid.h"

// Parses a layout written as sixteen numbers, rows top to bottom ("1 2 3 4 / 5 6 ...");
// slashes are only for the reader.
inline engine::Grid GridOf(const std::string& text) {
    engine::Grid grid;
    std::istringstream in(text);
    std::string word;
    int cell = 1;
    while (in >> word && cell <= engine::kCells) {
        if (word == "/") continue;
        grid.at(cell++) = static_cast<std::uint8_t>(std::stoi(word));
    }
    return grid;
}

// The layout as "r1 / r2 / r3 / r4", for readable failure messages.
inline std::string TextOf(const engine::Grid& grid) {
    std::string text;
    for (int cell = 1; cell <= engine::kCells; ++cell) {
        text += std::to_string(grid.at(cell));
        if (cell == engine::kCells) break;
        text += cell % engine::kSide == 0 ? " / " : " ";
    }
    return text;
}
