#pragma once

#include "puzzle_state.h"

namespace engine {

// Deals a random solvable layout into Board: fifteen draws (n = 16 down to 2) fill the cells
// in row-major order, tile 1 never stays in (1,1), and an odd parity sum is made even by
// exchanging tiles 14 and 15. Records the blank's cell and where 14 and 15 were dealt.
void DealBoard(PuzzleState& state);

// Copies Board into BoardCopy and sets ParitySum = 2 + inversions + BlankRow. Takes the
// blank's row from BlankRow without searching the board.
void provchet(PuzzleState& state);

}  // namespace engine
