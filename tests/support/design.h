#pragma once

// The main window's layout as it was designed, in pixels of its client area. Tests compare
// the window with these numbers, written once here, and never with the window's own
// arithmetic or tables: a test that shares the code's sums shares its faults.
#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <utility>

namespace design {

// The board's cells: rows and columns 1..4 begin at these pixels of the board panel, and
// every cell is a 90-pixel square.
inline constexpr std::array<int, 4> kCellOrigins = {2, 92, 182, 272};
inline constexpr int kCellSide = 90;

// The top-left pixel of cell 1..16, counted row by row.
inline QPoint cellOrigin(int cell) {
    const auto origin = [](int line) { return kCellOrigins[static_cast<std::size_t>(line)]; };
    return {origin((cell - 1) % 4), origin((cell - 1) / 4)};
}

// The row or column 1..4 that begins at `pixel`; 0 for none.
inline int lineAt(int pixel) {
    for (std::size_t i = 0; i < kCellOrigins.size(); ++i) {
        if (kCellOrigins[i] == pixel) return static_cast<int>(i) + 1;
    }
    return 0;
}

// The client area's controls, in creation order, where each was designed to stand.
inline const std::array<std::pair<const char*, QRect>, 12> kControls = {{
    {"Bevel1", {99, 402, 83, 33}},
    {"Bevel2", {336, 401, 68, 33}},
    {"Label1", {280, 459, 170, 29}},
    {"Label2", {39, 405, 50, 24}},
    {"Label3", {106, 407, 70, 24}},
    {"Label4", {274, 409, 58, 20}},
    {"Label5", {344, 406, 50, 24}},
    {"Panel1", {53, 32, 364, 364}},
    {"Button1", {64, 456, 153, 41}},
    {"Panel17", {320, 0, 105, 33}},
    {"Panel18", {72, 0, 97, 33}},
    {"Panel19", {184, 0, 97, 33}},
}};

// The strip that no control covers, below the start button and the win text.
inline constexpr QRect kFreeStrip{0, 497, 478, 29};

}  // namespace design
