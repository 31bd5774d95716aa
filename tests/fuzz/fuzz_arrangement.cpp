// Sixteen arbitrary cell texts into SetArrangement and CheckArrangement. The input is split
// into cell texts at '\n'; missing cells are empty. Checks: the verdict agrees with a
// parity count of our own, a refused table changes nothing the game plays from, an
// accepted one installs exactly the table read, and the two operations agree.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/arrangement.h"
#include "engine/moves.h"

using namespace engine;

namespace {

ArrangementTexts Split(const std::uint8_t* data, std::size_t size) {
    ArrangementTexts texts;
    std::size_t cell = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            if (++cell == texts.size()) break;
            continue;
        }
        texts[cell].push_back(static_cast<char>(data[i]));
    }
    return texts;
}

void Require(bool condition) {
    if (!condition) std::abort();
}

// Independent parity: inversions counted over the values, the blank's row added.
bool IsEvenLayout(const Grid& grid) {
    int sum = 2;
    for (int p = 0; p < kCells; ++p) {
        if (grid.cells[p] == 0) {
            sum += p / kSide + 1;
            continue;
        }
        for (int q = p + 1; q < kCells; ++q) sum += grid.cells[q] != 0 && grid.cells[q] < grid.cells[p];
    }
    return sum % 2 == 0;
}

PuzzleState PlayedState() {
    PuzzleState state;
    SetNearSolvedLayout(state);
    state.BlankRow = 4; state.BlankCol = 3; state.ParitySum = 6;
    return state;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ArrangementTexts texts = Split(data, size);

    PuzzleState checked = PlayedState();
    const PuzzleState beforeCheck = checked;
    const ArrangementVerdict verdict = CheckArrangement(checked, texts);
    Require(checked.Board == beforeCheck.Board);

    PuzzleState set = PlayedState();
    const PuzzleState beforeSet = set;
    const SetArrangementResult result = SetArrangement(set, texts);
    Require((result == SetArrangementResult::Invalid) == (verdict == ArrangementVerdict::Invalid));

    if (result == SetArrangementResult::Invalid) {
        PuzzleState a = set, b = beforeSet;
        a.DealPool = b.DealPool = {};
        a.CheckGrid = b.CheckGrid = {};
        Require(a == b);
        return 0;
    }

    // Accepted: the board holds each of 0..15 once, exactly as each cell reads.
    int seen[kCells] = {};
    for (int cell = 1; cell <= kCells; ++cell) {
        const auto value = ReadCell(texts[cell - 1]);
        Require(value.has_value() && *value == set.Board.at(cell) && *value < kCells);
        ++seen[*value];
    }
    for (int count : seen) Require(count == 1);
    Require(set.Board == checked.CheckGrid);
    Require((verdict == ArrangementVerdict::Solvable) == IsEvenLayout(set.Board));
    return 0;
}
