#pragma once

// The arrangement dialog under test: its table written and read as sixteen texts.
#include <QStringList>

#include "board_text.h"
#include "box_recorder.h"
#include "game_texts.h"
#include "ui/dialogs/string_grid.h"
#include "ui/dialogs/tform2.h"
#include "ui/dialogs/word_wrap_button.h"
#include "ui/platform/message_box.h"

// Writes sixteen texts, row-major, into the dialog's table.
inline void fillTable(TForm2& dialog, const QStringList& texts) {
    for (int i = 0; i < texts.size() && i < 16; ++i) dialog.StringGrid1->setCell(i % 4, i / 4, texts[i]);
}

// The table's sixteen texts, row-major.
inline QStringList tableTexts(const TForm2& dialog) {
    QStringList texts;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) texts << dialog.StringGrid1->cell(column, row);
    }
    return texts;
}

// Tiles 1..15 in order with the blank left empty at row-major position `blank` (0..15).
inline QStringList orderedWithBlankAt(int blank) {
    QStringList texts;
    int tile = 1;
    for (int i = 0; i < 16; ++i) texts << (i == blank ? QString() : QString::number(tile++));
    return texts;
}

inline const QStringList kOrderedTable = orderedWithBlankAt(15);
inline const QStringList kSwappedTable = {"1", "2",  "3",  "4",  "5",  "6",  "7",  "8",
                                          "9", "10", "11", "12", "13", "15", "14", ""};
