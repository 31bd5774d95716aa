#include "solvability.h"

#include "deal.h"

namespace engine {

Solvability CheckSolvable(const Grid& board) {
    unsigned seen = 0;
    for (const std::uint8_t value : board.cells) {
        if (value >= kCells) return Solvability::NotABoard;
        seen |= 1u << value;
    }
    if (seen != 0xffffu) return Solvability::NotABoard;
    return ParitySumOf(board) % 2 == 0 ? Solvability::Solvable : Solvability::Unsolvable;
}

}  // namespace engine
