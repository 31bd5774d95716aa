#pragma once

#include <array>
#include <cstdint>

namespace engine {

// Rows and columns run 1..4, row 1 at the top, column 1 on the left.
inline constexpr int kSide = 4;
inline constexpr int kCells = kSide * kSide;

// The cell's number 1..16 in row-major order: (1,1) is 1, (4,3) is 15, (4,4) is 16.
constexpr int CellIndex(int row, int column) { return (row - 1) * kSide + column; }

// A 4 x 4 grid of byte cells, addressed (row, column) from 1 and stored row by row.
// 0 is the blank, 1..15 are tiles.
struct Grid {
    std::array<std::uint8_t, kCells> cells{};

    std::uint8_t& operator()(int row, int column) { return cells[CellIndex(row, column) - 1]; }
    std::uint8_t operator()(int row, int column) const { return cells[CellIndex(row, column) - 1]; }

    // Cell by its number 1..16 in row-major order.
    std::uint8_t& at(int cellIndex) { return cells[cellIndex - 1]; }
    std::uint8_t at(int cellIndex) const { return cells[cellIndex - 1]; }

    bool operator==(const Grid&) const = default;
};

// A list of sixteen byte entries at positions 1..16.
struct Pool {
    std::array<std::uint8_t, kCells> entries{};

    std::uint8_t& operator[](int position) { return entries[position - 1]; }
    std::uint8_t operator[](int position) const { return entries[position - 1]; }

    bool operator==(const Pool&) const = default;
};

}  // namespace engine
