#include "deal.h"

#include "random_source.h"
#include "solvability.h"

namespace engine {

namespace {

void RecordDealtCell(PuzzleState& state, std::uint8_t value, int row, int column) {
    const auto r = static_cast<std::uint8_t>(row);
    const auto c = static_cast<std::uint8_t>(column);
    switch (value) {
        case 0:
            state.BlankRow = r;
            state.BlankCol = c;
            break;
        case 14:
            state.Row14 = r;
            state.Col14 = c;
            break;
        case 15:
            state.Row15 = r;
            state.Col15 = c;
            break;
        default: break;
    }
}

}  // namespace

void provchet(PuzzleState& state) {
    state.BoardCopy = state.Board;
    state.ParitySum = 2 + InversionsOf(state.BoardCopy) + state.BlankRow;
}

void DealBoard(PuzzleState& state) {
    for (int position = 1; position <= kCells; ++position) {
        state.DealPool[position] = static_cast<std::uint8_t>(position - 1);
    }

    int live = kCells;
    for (int cell = 1; cell < kCells; ++cell) {
        const int k = RandomBelow(live) + 1;
        const std::uint8_t value = state.DealPool[k];
        state.Board.at(cell) = value;
        state.DealPool[k] = state.DealPool[live];
        RecordDealtCell(state, value, RowOf(cell), ColumnOf(cell));
        --live;
    }
    state.Board(4, 4) = state.DealPool[1];
    RecordDealtCell(state, state.DealPool[1], 4, 4);

    // Tile 1 in the corner would let a dealt layout come out solved; swap it with the blank.
    if (state.Board(1, 1) == 1) {
        state.Board(state.BlankRow, state.BlankCol) = 1;
        state.Board(1, 1) = 0;
        state.BlankRow = state.BlankCol = 1;
    }

    provchet(state);

    // Exchanging two tiles flips the parity and leaves the blank in place.
    if (state.ParitySum % 2 == 1) {
        state.Board(state.Row14, state.Col14) = 15;
        state.Board(state.Row15, state.Col15) = 14;
    }
}

}  // namespace engine
