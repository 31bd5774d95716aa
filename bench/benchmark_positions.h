#pragma once

// What the solver's measurements share: the benchmark positions with their known lengths,
// read from the file they are kept in, and the quantiles of a series of measures.

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/grid.h"

struct Position {
    int Number = 0;
    int Length = 0;  // of its shortest solution
    engine::Grid Board;
};

// The positions of a file of lines "number length cell1 ... cell16"; '#' starts a comment line.
inline std::vector<Position> ReadPositions(const std::string& path) {
    std::vector<Position> positions;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        Position position;
        fields >> position.Number >> position.Length;
        for (int cell = 1; cell <= engine::kCells; ++cell) {
            int value = 0;
            fields >> value;
            position.Board.at(cell) = static_cast<std::uint8_t>(value);
        }
        if (fields) positions.push_back(position);
    }
    return positions;
}

// The value below which a share q (0..1) of `values` lie; values must not be empty.
template <typename T>
T Quantile(std::vector<T> values, double q) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1) + 0.5)];
}
