#include "solvability.h"

#include "deal.h"

namespace engine {

Solvability CheckSolvable(const Grid& board) {
    if (!HoldsEachValueOnce(board.cells)) return Solvability::NotABoard;
    return ParitySumOf(board) % 2 == 0 ? Solvability::Solvable : Solvability::Unsolvable;
}

}  // namespace engine
