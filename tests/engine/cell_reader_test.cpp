#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "engine/arrangement.h"

using engine::ReadCell;

namespace {

struct CellCase {
    std::string text;
    std::optional<int> value;  // nullopt: refused
};

std::string Padded(std::size_t count, char pad, const char* tail) {
    std::string text(count, pad);
    text.append(tail);
    return text;
}

}  // namespace

TEST(CellReader, ReadsTheUsualIntegerNotation) {
    const CellCase cases[] = {
        {"", 0},          {"0", 0},          {"7", 7},          {"07", 7},        {"   7", 7},
        {"+7", 7},        {"  +7", 7},       {"-0", 0},         {"15", 15},       {"255", 255},
        {"0255", 255},    {"$F", 15},        {"$f", 15},        {"0xF", 15},      {"0XF", 15},
        {"xF", 15},       {"XF", 15},        {"$ff", 255},      {"+$F", 15},      {"-$0", 0},
        {"0x00000F", 15}, {"00000000000000000000000000000000000000012", 12},
    };
    for (const CellCase& c : cases) {
        const auto read = ReadCell(c.text);
        ASSERT_TRUE(read.has_value()) << '"' << c.text << '"';
        EXPECT_EQ(*read, *c.value) << '"' << c.text << '"';
    }
}

TEST(CellReader, RefusesAnythingElse) {
    using namespace std::string_literals;
    const std::string refused[] = {
        " ",          "   ",        "7 ",          "16x",          "1.5",        "a",
        "-1",         "-$1",        "256",         "$100",         "0x100",      "+",
        "-",          "$",          "x",           "0x",           "+0x",        "- 7",
        "+-7",        "--7",        "7-",          "\t7",          "7\t",        "\n",
        "0x-1",       "$ F",        "0 x F",       "1e1",          "0b1",        "७",  // Devanagari seven
        "７",         "٣",          "Ⅶ",           "семь",         "\xff\xfe",   "\x80",
        "7\0"s,       "\0"s,        "\0007"s,      "9999999999999999999999999999999",
        "99999999999999999999999",  "4294967297",  "18446744073709551623",     "$FFFFFFFFFFFFFFFF0F",
        "-99999999999999999999999", std::string(100'000, '9'), Padded(100'000, ' ', "7 "),
    };
    for (const std::string& text : refused) {
        EXPECT_FALSE(ReadCell(text).has_value()) << '"' << text << '"';
    }
}

TEST(CellReader, LongRunsOfZerosAndSpacesStillRead) {
    EXPECT_EQ(ReadCell(Padded(100'000, ' ', "9")), std::optional<std::uint8_t>(9));
    EXPECT_EQ(ReadCell(Padded(100'000, '0', "9")), std::optional<std::uint8_t>(9));
}
