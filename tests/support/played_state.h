#pragma once

#include "board_text.h"
#include "engine/puzzle_state.h"

// A state whose every field holds something, so that a test can tell the fields an
// operation wrote from those it left alone.
inline engine::PuzzleState PlayedState() {
    engine::PuzzleState state;
    state.Board = GridOf("3 1 2 4 / 5 6 7 8 / 9 10 0 12 / 13 14 15 11");
    state.BoardCopy = GridOf("15 14 13 12 / 11 10 9 8 / 7 6 5 4 / 3 2 1 0");
    state.CheckGrid = kSwapped;
    state.DealPool[7] = 3;
    state.BlankRow = 3;
    state.BlankCol = 3;
    state.Row14 = 4;
    state.Col14 = 2;
    state.Row15 = 4;
    state.Col15 = 3;
    state.ParitySum = 40;
    state.ClickTileRow = 2;
    state.ClickTileCol = 3;
    state.ClickGapRow = 3;
    state.ClickGapCol = 3;
    return state;
}

// The state without the two scratch areas that every read of an arrangement may write.
inline engine::PuzzleState WhatTheGamePlaysFrom(engine::PuzzleState state) {
    state.DealPool = {};
    state.CheckGrid = {};
    return state;
}
