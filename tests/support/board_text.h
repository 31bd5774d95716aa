#pragma once

#include <sstream>
#include <string>

#include "engine/grid.h"

// Parses a layout written as sixteen numbers, rows top to bottom ("1 2 3 4 / 5 6 ...");
// slashes are only for the reader. The one way the tests build a grid.
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

// 2 + the blank's row + the pairs of tiles out of order in reading order, counted the plain
// way and independently of the engine: a layout of each value once can be slid into order
// exactly when this is even.
inline int PlainParitySum(const engine::Grid& board) {
    int sum = 2;
    for (int p = 1; p <= engine::kCells; ++p) {
        if (board.at(p) == 0) {
            sum += (p - 1) / engine::kSide + 1;
            continue;
        }
        for (int q = p + 1; q <= engine::kCells; ++q) sum += board.at(q) != 0 && board.at(q) < board.at(p);
    }
    return sum;
}

// The solved layout; the one a move short of it; and the one with 14 and 15 exchanged,
// complete but impossible to solve.
inline const engine::Grid kOrdered = GridOf("1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 15 0");
inline const engine::Grid kNearSolved = GridOf("1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 0 15");
inline const engine::Grid kSwapped = GridOf("1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 15 14 0");
// 45 moves from the goal.
inline const engine::Grid kFortyFive = GridOf("1 3 5 6 / 0 13 14 9 / 11 4 8 12 / 10 7 15 2");
// One of the layouts farthest from the goal, 80 moves: its search takes long enough to be
// under way when a test stops it.
inline const engine::Grid kEightyMovesOut = GridOf("0 12 9 13 / 15 11 10 14 / 3 7 5 6 / 4 8 2 1");
