#pragma once

#include <QStringView>

// The word "ход" as a count of moves takes it. Russian picks one of three forms by the
// count's last two digits: the form of one after 1, 21, 101 (but not 11, 111); the form of
// a few after 2 to 4, 22 to 24 (but not 12 to 14); the form of many after every other count.
namespace move_count_words {

enum class CountForm { One, Few, Many };

constexpr CountForm countForm(int n) {
    const int last = n % 10, lastTwo = n % 100;
    if (lastTwo >= 11 && lastTwo <= 14) return CountForm::Many;
    if (last == 1) return CountForm::One;
    if (last >= 2 && last <= 4) return CountForm::Few;
    return CountForm::Many;
}

// "1 ход", "2 хода", "5 ходов".
constexpr QStringView moves(int n) {
    switch (countForm(n)) {
        case CountForm::One: return u"ход";
        case CountForm::Few: return u"хода";
        case CountForm::Many: break;
    }
    return u"ходов";
}

// After "не меньше": "не меньше 1 хода", "не меньше 2 ходов", "не меньше 5 ходов".
constexpr QStringView movesAfterAtLeast(int n) { return countForm(n) == CountForm::One ? u"хода" : u"ходов"; }

}  // namespace move_count_words
