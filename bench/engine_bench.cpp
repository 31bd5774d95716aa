// Engine operations under Google Benchmark: a move, a deal, an arrangement check.
#include <benchmark/benchmark.h>

#include "engine/arrangement.h"
#include "engine/deal.h"
#include "engine/moves.h"

using namespace engine;

static void BM_TryMove(benchmark::State& run) {
    PuzzleState state;
    SetOrderedLayout(state);
    // Tile 15 slides right and back: every call is a real move.
    for (auto _ : run) benchmark::DoNotOptimize(TryMove(state, 15));
}
BENCHMARK(BM_TryMove);

static void BM_DealBoard(benchmark::State& run) {
    PuzzleState state;
    for (auto _ : run) {
        DealBoard(state);
        benchmark::DoNotOptimize(state.Board);
    }
}
BENCHMARK(BM_DealBoard);

static void BM_CheckArrangement(benchmark::State& run) {
    PuzzleState state;
    const ArrangementTexts texts = {"12", "1", "$F", "3",  "4", "0x5", "6",  "7",
                                    "8",  "9", "10", "11", "2", "13",  "14", ""};
    for (auto _ : run) benchmark::DoNotOptimize(CheckArrangement(state, texts));
}
BENCHMARK(BM_CheckArrangement);

BENCHMARK_MAIN();
