#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace engine {

// Rows and columns run 1..4, row 1 at the top, column 1 on the left.
inline constexpr int kSide = 4;
inline constexpr int kCells = kSide * kSide;

// The cell's number 1..16 in row-major order: (1,1) is 1, (4,3) is 15, (4,4) is 16.
constexpr int CellIndex(int row, int column) { return (row - 1) * kSide + column; }

// The row and the column of a cell numbered 1..16 in row-major order.
constexpr int RowOf(int cellIndex) { return (cellIndex - 1) / kSide + 1; }
constexpr int ColumnOf(int cellIndex) { return (cellIndex - 1) % kSide + 1; }

// The place in a row-major array of sixteen of a cell or position numbered 1..16.
constexpr std::size_t SlotOf(int cellIndex) { return static_cast<std::size_t>(cellIndex - 1); }

// True when the sixteen entries hold each of 0..15 exactly once.
constexpr bool HoldsEachValueOnce(const std::array<std::uint8_t, kCells>& entries) {
    unsigned seen = 0;
    for (const std::uint8_t value : entries) {
        if (value >= kCells) return false;
        seen |= 1u << value;
    }
    return seen == (1u << kCells) - 1;
}

// A 4 x 4 grid of byte cells, addressed (row, column) from 1 and stored row by row.
// 0 is the blank, 1..15 are tiles.
struct Grid {
    std::array<std::uint8_t, kCells> cells{};

    std::uint8_t& operator()(int row, int column) { return cells[SlotOf(CellIndex(row, column))]; }
    std::uint8_t operator()(int row, int column) const { return cells[SlotOf(CellIndex(row, column))]; }

    // Cell by its number 1..16 in row-major order.
    std::uint8_t& at(int cellIndex) { return cells[SlotOf(cellIndex)]; }
    std::uint8_t at(int cellIndex) const { return cells[SlotOf(cellIndex)]; }

    bool operator==(const Grid&) const = default;
};

// The last cell (1..16, row-major order) that holds `value`, or 0 when none does: the scan
// never stops early, so where a value occurs twice the later occurrence counts.
constexpr int LastCellHolding(const Grid& grid, std::uint8_t value) {
    int found = 0;
    for (int cell = 1; cell <= kCells; ++cell) {
        if (grid.at(cell) == value) found = cell;
    }
    return found;
}

// The last blank's cell in row-major order, or 0 on a board without a blank.
constexpr int LastBlankCell(const Grid& grid) { return LastCellHolding(grid, 0); }

// A list of sixteen byte entries at positions 1..16.
struct Pool {
    std::array<std::uint8_t, kCells> entries{};

    std::uint8_t& operator[](int position) { return entries[SlotOf(position)]; }
    std::uint8_t operator[](int position) const { return entries[SlotOf(position)]; }

    bool operator==(const Pool&) const = default;
};

}  // namespace engine
