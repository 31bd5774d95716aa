#pragma once

#include <QLabel>
#include <QPushButton>

#include <functional>

#include "engine/arrangement.h"
#include "engine/puzzle_state.h"
#include "secondary_window.h"

class PictureBox;
class StringGrid;
class WordWrapButton;

// The arrangement dialog: the player types an arrangement into a 4 x 4 table, asks whether
// it can be solved, and puts it on the main board. Shown modally by the main window; it
// keeps no game data of its own, only the typed texts in its grid. A deal pasted as text
// (Ctrl+V, sixteen whole numbers) fills the whole table at once.
class TForm2 : public SecondaryWindow {
    Q_OBJECT
public:
    // `zadatRasstanovku` is the main window's routine that plays the arrangement just
    // written into state.Board; it is called before the dialog closes.
    TForm2(engine::PuzzleState& state, std::function<void()> zadatRasstanovku, QWidget* parent = nullptr);

    // The controls, in creation order: later ones lie on top of Image1.
    PictureBox* Image1;
    QLabel* Label1;
    QLabel* Label2;
    StringGrid* StringGrid1;
    QPushButton* Button1;
    WordWrapButton* Button2;
    QPushButton* Button3;

    // The sixteen cell texts in row-major order: grid column c - 1, row r - 1 is table
    // row r, column c.
    engine::ArrangementTexts cellTexts() const;

public slots:
    // "Задать": installs the table in Board and plays it, or reports a bad table.
    void Button1Click();
    // "Проверить четность ": reports whether the table can be solved.
    void Button2Click();
    // "Обратно": closes the dialog.
    void Button3Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Runs on every showing: the table starts empty.
    void FormShow();
    // One of the two hints: word-wrapped, opaque, on the system window colour.
    QLabel* makeAdviceLabel(QStringView text, const QRect& geometry);

    engine::PuzzleState& state_;
    std::function<void()> zadatRasstanovku_;
};
