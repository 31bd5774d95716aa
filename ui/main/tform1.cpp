#include "tform1.h"

TForm1::TForm1(engine::PuzzleState& state, QWidget* parent) : QMainWindow(parent), state_(state) {
    setWindowTitle(QStringLiteral("Плитон"));
}
