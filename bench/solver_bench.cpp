// Times the optimal solver.
//
//   solver_bench [--tables FILE] [--positions FILE]   all positions of the file (default: the
//                                                      100 of tests/data/korf100.txt), each
//                                                      length checked against the listed one
//   solver_bench --first N                             loads the tables and solves position N
//                                                      once: the first hint of a run
//   solver_bench --deals N [--seed S] [--lengths FILE] N random deals of the game (seed 1), with
//                                                      FILE each one's length checked against
//                                                      the one on its line of FILE
//   ... --threads 1                                    every search on one thread
//
// The tables default to where the game would find them beside this program. Times are CPU
// time of the whole process (the search's threads too) and wall time. Node counts do not
// depend on the machine's load, but for those of a last iteration shared between threads,
// which a busy machine can raise by up to that iteration's whole work.

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

#include "app/tables_path.h"
#include "benchmark_positions.h"
#include "engine/deal.h"
#include "engine/moves.h"
#include "seeded_random.h"
#include "solver/solver.h"
#include "solving/helper_thread.h"

namespace {

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string ProgramDir() {
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    path.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return path.substr(0, path.rfind('/'));
}

// True when the tiles, slid one by one, leave the board solved.
bool Replays(const engine::Grid& board, const std::vector<std::uint8_t>& tiles) {
    engine::PuzzleState state;
    state.Board = board;
    for (const std::uint8_t tile : tiles) {
        if (!engine::TryMove(state, tile).Moved) return false;
    }
    return engine::IsSolved(state) && state.Board.at(engine::kCells) == 0;
}

// The process's resident memory, KiB.
long ResidentKiB() {
    long kib = 0;
    if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status)) {
            if (std::sscanf(line, "VmRSS: %ld", &kib) == 1) break;
        }
        std::fclose(status);
    }
    return kib;
}

struct Timed {
    solver::Solution Solution;
    double Cpu = 0, Wall = 0;
};

// --threads 1: the search without a helper thread, whose node counts are the same on every run.
bool oneThread = false;

// Solves `board`; the helper thread, as the game's, is made and ended within the time taken.
Timed TimedSolve(const engine::Grid& board, const solver::PatternDatabases& tables) {
    const std::atomic<bool> cancel{false};
    Timed timed;
    const double cpu = CpuSeconds(), wall = WallSeconds();
    {
        HelperThread helper;
        timed.Solution = solver::Solve(board, tables, cancel, {}, oneThread ? nullptr : &helper);
    }
    timed.Cpu = CpuSeconds() - cpu;
    timed.Wall = WallSeconds() - wall;
    return timed;
}

int AllPositions(const std::vector<Position>& positions, const solver::PatternDatabases& tables) {
    std::printf("%4s %4s %14s %10s %10s\n", "no.", "len", "nodes", "CPU ms", "wall ms");
    double cpu = 0, wall = 0;
    std::uint64_t nodes = 0;
    int wrong = 0;
    for (const Position& position : positions) {
        const Timed timed = TimedSolve(position.Board, tables);
        const auto length = static_cast<int>(timed.Solution.Tiles.size());
        const bool right = timed.Solution.Outcome == solver::SolveOutcome::Solved && length == position.Length &&
                           Replays(position.Board, timed.Solution.Tiles);
        wrong += right ? 0 : 1;
        std::printf("%4d %4d %14llu %10.1f %10.1f%s\n", position.Number, length,
                    static_cast<unsigned long long>(timed.Solution.NodesGenerated), timed.Cpu * 1e3, timed.Wall * 1e3,
                    right ? "" : "  WRONG");
        cpu += timed.Cpu;
        wall += timed.Wall;
        nodes += timed.Solution.NodesGenerated;
    }
    const double count = static_cast<double>(positions.size());
    std::printf("positions %zu, wrong %d\n", positions.size(), wrong);
    std::printf("nodes generated: total %llu, mean %.0f\n", static_cast<unsigned long long>(nodes),
                static_cast<double>(nodes) / count);
    std::printf("CPU time: total %.3f s, mean %.2f ms; wall time: total %.3f s\n", cpu, cpu / count * 1e3, wall);
    std::printf("nodes per CPU second: %.1f M\n", static_cast<double>(nodes) / cpu * 1e-6);
    return wrong == 0 ? 0 : 1;
}

// The lengths listed in `path`, one a line after comment lines starting with #; empty when
// there is no such file.
std::vector<int> ReadLengths(const std::string& path) {
    std::vector<int> lengths;
    if (std::FILE* in = std::fopen(path.c_str(), "r")) {
        char line[256];
        int length = 0;
        while (std::fgets(line, sizeof line, in)) {
            if (line[0] != '#' && std::sscanf(line, "%d", &length) == 1) lengths.push_back(length);
        }
        std::fclose(in);
    }
    return lengths;
}

// `listed`, when not empty, holds the deals' lengths that each answer must have.
int Deals(int count, unsigned seed, const solver::PatternDatabases& tables, const std::vector<int>& listed) {
    SeededRandom random(seed);
    std::vector<double> cpu, wall;
    std::vector<std::uint64_t> nodes;
    std::vector<int> lengths;
    for (int i = 0; i < count; ++i) {
        engine::PuzzleState state;
        engine::DealBoard(state);
        const Timed timed = TimedSolve(state.Board, tables);
        if (timed.Solution.Outcome != solver::SolveOutcome::Solved || !Replays(state.Board, timed.Solution.Tiles)) {
            std::printf("deal %d: not solved\n", i);
            return 1;
        }
        cpu.push_back(timed.Cpu);
        wall.push_back(timed.Wall);
        nodes.push_back(timed.Solution.NodesGenerated);
        lengths.push_back(static_cast<int>(timed.Solution.Tiles.size()));
    }
    int changed = 0;
    for (std::size_t i = 0; i < listed.size() && i < lengths.size(); ++i) {
        if (listed[i] != lengths[i]) {
            std::printf("deal %zu: %d moves, listed %d  WRONG\n", i, lengths[i], listed[i]);
            ++changed;
        }
    }
    if (!listed.empty()) {
        std::printf("lengths checked against %zu listed: %d differ\n", std::min(listed.size(), lengths.size()),
                    changed);
    }
    std::uint64_t total = 0;
    for (const std::uint64_t n : nodes) total += n;
    std::printf("%d deals, seed %u: lengths %d..%d, median %d\n", count, seed,
                *std::min_element(lengths.begin(), lengths.end()), *std::max_element(lengths.begin(), lengths.end()),
                Quantile(lengths, 0.5));
    std::printf("CPU ms:  median %.2f, 90%% %.2f, 99%% %.2f, max %.2f\n", Quantile(cpu, 0.5) * 1e3,
                Quantile(cpu, 0.9) * 1e3, Quantile(cpu, 0.99) * 1e3, Quantile(cpu, 1.0) * 1e3);
    std::printf("wall ms: median %.2f, 90%% %.2f, 99%% %.2f, max %.2f\n", Quantile(wall, 0.5) * 1e3,
                Quantile(wall, 0.9) * 1e3, Quantile(wall, 0.99) * 1e3, Quantile(wall, 1.0) * 1e3);
    std::printf("CPU time: total %.3f s; wall time: total %.3f s\n", std::accumulate(cpu.begin(), cpu.end(), 0.0),
                std::accumulate(wall.begin(), wall.end(), 0.0));
    std::printf("nodes:   median %llu, max %llu, total %llu\n", static_cast<unsigned long long>(Quantile(nodes, 0.5)),
                static_cast<unsigned long long>(Quantile(nodes, 1.0)), static_cast<unsigned long long>(total));
    return changed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string tablesPath = TablesPathFor(ProgramDir());
    std::string positionsPath = PLITON_KORF100;
    std::string lengthsPath;
    int first = 0, deals = 0;
    unsigned seed = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i], value = argv[i + 1];
        if (option == "--tables")
            tablesPath = value;
        else if (option == "--positions")
            positionsPath = value;
        else if (option == "--first")
            first = std::stoi(value);
        else if (option == "--deals")
            deals = std::stoi(value);
        else if (option == "--seed")
            seed = static_cast<unsigned>(std::stoul(value));
        else if (option == "--threads")
            oneThread = value == "1";
        else if (option == "--lengths")
            lengthsPath = value;
        else {
            std::fprintf(stderr, "unknown option %s\n", option.c_str());
            return 2;
        }
    }

    const long residentBefore = ResidentKiB();
    const double loadCpu = CpuSeconds(), loadWall = WallSeconds();
    std::string why;
    const auto tables = solver::PatternDatabases::Load(tablesPath, &why);
    if (!tables) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return 1;
    }
    const double loadedWall = WallSeconds() - loadWall, loadedCpu = CpuSeconds() - loadCpu;
    std::printf("tables: %zu bytes (%.2f MiB), loaded in %.1f ms (CPU %.1f ms)\n", tables->Bytes(),
                static_cast<double>(tables->Bytes()) / 1048576.0, loadedWall * 1e3, loadedCpu * 1e3);
    std::printf("resident: %ld KiB before loading the tables, %ld KiB with them\n", residentBefore, ResidentKiB());

    if (deals > 0)
        return Deals(deals, seed, *tables, lengthsPath.empty() ? std::vector<int>{} : ReadLengths(lengthsPath));

    const std::vector<Position> positions = ReadPositions(positionsPath);
    if (positions.empty()) {
        std::fprintf(stderr, "no positions in %s\n", positionsPath.c_str());
        return 1;
    }
    if (first > 0) {
        const auto chosen =
            std::find_if(positions.begin(), positions.end(), [first](const Position& p) { return p.Number == first; });
        if (chosen == positions.end()) return 2;
        const Timed timed = TimedSolve(chosen->Board, *tables);
        std::printf("position %d: %zu moves (listed %d), %llu nodes, solved in %.1f ms (CPU %.1f ms)\n", first,
                    timed.Solution.Tiles.size(), chosen->Length,
                    static_cast<unsigned long long>(timed.Solution.NodesGenerated), timed.Wall * 1e3, timed.Cpu * 1e3);
        std::printf("from the start of Load to the answer: %.1f ms\n", (loadedWall + timed.Wall) * 1e3);
        return static_cast<int>(timed.Solution.Tiles.size()) == chosen->Length ? 0 : 1;
    }
    return AllPositions(positions, *tables);
}
