#include "solvability.h"

namespace engine {

int InversionsOf(const Grid& grid) {
    int inversions = 0;
    for (int p = 1; p < kCells; ++p) {
        const int tile = grid.at(p);
        if (tile == 0) continue;
        for (int q = p + 1; q <= kCells; ++q) {
            const int later = grid.at(q);
            if (later != 0 && later < tile) ++inversions;
        }
    }
    return inversions;
}

int ParitySumOf(const Grid& grid) {
    const int blank = LastBlankCell(grid);
    const int blankRow = blank == 0 ? 0 : RowOf(blank);
    return 2 + InversionsOf(grid) + blankRow;
}

Solvability CheckSolvable(const Grid& board) {
    if (!HoldsEachValueOnce(board.cells)) return Solvability::NotABoard;
    return ParitySumOf(board) % 2 == 0 ? Solvability::Solvable : Solvability::Unsolvable;
}

}  // namespace engine
