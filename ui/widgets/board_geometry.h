#pragma once

// The board's geometry, in the board panel's pixels: a 2-pixel margin, then four cells of
// 90 x 90 each way.
namespace board_geometry {

inline constexpr int kCellSize = 90;
inline constexpr int kMargin = 2;

// The pixel origin of row or column i (1..4): 2, 92, 182, 272.
constexpr int CellOrigin(int i) { return kMargin + kCellSize * (i - 1); }

}  // namespace board_geometry
