#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>

#include "board_text.h"
#include "engine/arrangement.h"
#include "engine/deal.h"
#include "engine/moves.h"
#include "engine/solvability.h"
#include "played_state.h"
#include "seeded_random.h"

using namespace engine;

namespace {

std::string Padded(std::size_t count, char pad, const char* tail) {
    std::string text(count, pad);
    text.append(tail);
    return text;
}

// Texts for a layout; a 0 becomes an empty cell unless asked.
ArrangementTexts TextsOf(const Grid& grid, bool blankAsZero = false) {
    ArrangementTexts texts;
    for (int cell = 1; cell <= kCells; ++cell) {
        const int value = grid.at(cell);
        texts[SlotOf(cell)] = value == 0 && !blankAsZero ? "" : std::to_string(value);
    }
    return texts;
}

// The table with one cell's text replaced.
ArrangementTexts With(ArrangementTexts texts, int position, std::string text) {
    texts[SlotOf(position)] = std::move(text);
    return texts;
}

}  // namespace

TEST(CellReader, ReadsTheUsualIntegerNotation) {
    const struct {
        std::string text;
        int value;
    } cases[] = {
        {"", 0},
        {"0", 0},
        {"7", 7},
        {"07", 7},
        {"   7", 7},
        {"+7", 7},
        {"  +7", 7},
        {"-0", 0},
        {"15", 15},
        {"255", 255},
        {"0255", 255},
        {"$F", 15},
        {"$f", 15},
        {"0xF", 15},
        {"0XF", 15},
        {"xF", 15},
        {"XF", 15},
        {"$ff", 255},
        {"+$F", 15},
        {"-$0", 0},
        {"0x00000F", 15},
        {"00000000000000000000000000000000000000012", 12},
        {Padded(100'000, ' ', "9"), 9},
        {Padded(100'000, '0', "9"), 9},
    };
    for (const auto& c : cases) {
        const auto read = engine::ReadCell(c.text);
        ASSERT_TRUE(read.has_value()) << '"' << c.text.substr(0, 50) << '"';
        EXPECT_EQ(*read, c.value) << '"' << c.text.substr(0, 50) << '"';
    }
}

TEST(CellReader, RefusesAnythingElse) {
    using namespace std::string_literals;
    const std::string refused[] = {
        " ",
        "   ",
        "7 ",
        "16x",
        "1.5",
        "a",
        "-1",
        "-$1",
        "256",
        "$100",
        "0x100",
        "+",
        "-",
        "$",
        "x",
        "0x",
        "+0x",
        "- 7",
        "+-7",
        "--7",
        "7-",
        "\t7",
        "7\t",
        "\n",
        "0x-1",
        "$ F",
        "0 x F",
        "1e1",
        "0b1",
        "७",  // Devanagari seven
        "７",
        "٣",
        "Ⅶ",
        "семь",
        "\xff\xfe",
        "\x80",
        "7\0"s,
        "\0"s,
        "\0007"s,
        "9999999999999999999999999999999",
        "99999999999999999999999",
        "4294967297",
        "18446744073709551623",
        "$FFFFFFFFFFFFFFFF0F",
        "-99999999999999999999999",
        std::string(100'000, '9'),
        Padded(100'000, ' ', "7 "),
    };
    for (const std::string& text : refused) {
        EXPECT_FALSE(engine::ReadCell(text).has_value()) << '"' << text.substr(0, 50) << '"';
    }
}

TEST(ArrangementVerdicts, MessagesMatchTheirVerdicts) {
    EXPECT_EQ(VerdictMessage(ArrangementVerdict::Invalid), "Проверьте заполнение таблицы");
    EXPECT_EQ(VerdictMessage(ArrangementVerdict::Unsolvable), "Расклад нечетный, не собирается");
    EXPECT_EQ(VerdictMessage(ArrangementVerdict::Solvable), "Расклад четный, собирается");
}

// A check judges the table, says the same when asked again and never touches what the game
// plays from.
TEST(CheckArrangement, JudgesKnownTablesAndChangesNothingTheGamePlaysFrom) {
    struct Case {
        Grid layout;
        ArrangementVerdict verdict;
        int sum;
    };
    const Case cases[] = {
        {kOrdered, ArrangementVerdict::Solvable, 6},
        {kSwapped, ArrangementVerdict::Unsolvable, 7},
        {GridOf("0 1 2 3 / 4 5 6 7 / 8 9 10 11 / 12 13 14 15"), ArrangementVerdict::Unsolvable, 3},
        {GridOf("1 2 3 4 / 5 6 7 8 / 0 9 10 11 / 12 13 14 15"), ArrangementVerdict::Unsolvable, 5},
        {kNearSolved, ArrangementVerdict::Solvable, 6},
    };
    for (const Case& c : cases) {
        for (bool blankAsZero : {false, true}) {
            SCOPED_TRACE(TextOf(c.layout));
            PuzzleState state = PlayedState();
            EXPECT_EQ(CheckArrangement(state, TextsOf(c.layout, blankAsZero)), c.verdict);
            EXPECT_EQ(ParitySumOf(state.CheckGrid), c.sum);
            EXPECT_EQ(CheckArrangement(state, TextsOf(c.layout, blankAsZero)), c.verdict);
            EXPECT_EQ(WhatTheGamePlaysFrom(state), WhatTheGamePlaysFrom(PlayedState()));
        }
    }
}

// Either reader refuses such a table, and a refused table changes nothing the game plays from.
TEST(ArrangementVerdicts, IncompleteOrUnreadableTablesAreInvalidAndChangeNothing) {
    const ArrangementTexts ordered = TextsOf(kOrdered);
    std::vector<ArrangementTexts> tables = {
        ArrangementTexts{},                   // all empty: sixteen blanks
        With(ordered, 4, ""),                 // two blanks
        With(ordered, 1, "5"),                // 5 twice, 1 missing
        With(ordered, 15, "x"),               // fails after fourteen cells were read
        With(ordered, 16, "1"),               // all read, then incomplete
        With(ordered, 1, "999999999999999"),  // fails at once
    };
    for (const char* bad : {"16", "-1", "256", "1.5", "a", " ", "7 "}) tables.push_back(With(ordered, 7, bad));
    for (const ArrangementTexts& table : tables) {
        PuzzleState state = PlayedState();
        EXPECT_EQ(CheckArrangement(state, table), ArrangementVerdict::Invalid);
        EXPECT_EQ(CheckArrangement(state, table), ArrangementVerdict::Invalid);
        EXPECT_EQ(SetArrangement(state, table), SetArrangementResult::Invalid);
        EXPECT_EQ(WhatTheGamePlaysFrom(state), WhatTheGamePlaysFrom(PlayedState()));
    }
}

TEST(SetArrangement, InstallsAnyCompleteTableSolvableOrNot) {
    PuzzleState state = PlayedState();
    ASSERT_EQ(SetArrangement(state, TextsOf(kSwapped)), SetArrangementResult::Accepted);
    PuzzleState expected = PlayedState();
    expected.Board = kSwapped;
    EXPECT_EQ(WhatTheGamePlaysFrom(state), WhatTheGamePlaysFrom(expected));

    ArrangementTexts notations = TextsOf(GridOf("15 1 2 3 / 4 5 6 7 / 8 9 10 11 / 12 13 14 0"));
    notations = With(With(With(With(notations, 1, "$F"), 2, "+1"), 3, "0x2"), 16, "0");
    ASSERT_EQ(SetArrangement(state, notations), SetArrangementResult::Accepted);
    EXPECT_EQ(TextOf(state.Board), "15 1 2 3 / 4 5 6 7 / 8 9 10 11 / 12 13 14 0");
}

TEST(CheckArrangement, AgreesWithTheDealsParityOnRandomBoards) {
    // Random permutations of 0..15; the deal's provchet (with BlankRow located) and the
    // check must agree with a plain count on every one.
    SeededRandom random(7);
    Grid board;
    for (int cell = 1; cell <= kCells; ++cell) board.at(cell) = static_cast<std::uint8_t>(cell - 1);
    int solvable = 0;
    constexpr int kBoards = 20'000;
    for (int i = 0; i < kBoards; ++i) {
        std::shuffle(board.cells.begin(), board.cells.end(), random.generator());
        PuzzleState state;
        state.Board = board;
        LocateBlank(state);
        provchet(state);
        const ArrangementVerdict verdict = CheckArrangement(state, TextsOf(board, true));
        ASSERT_EQ(state.ParitySum, PlainParitySum(board)) << TextOf(board);
        const bool even = state.ParitySum % 2 == 0;
        ASSERT_EQ(verdict, even ? ArrangementVerdict::Solvable : ArrangementVerdict::Unsolvable) << TextOf(board);
        solvable += even;
    }
    EXPECT_NEAR(solvable, kBoards / 2, kBoards / 20) << "half of all layouts are solvable";
}
