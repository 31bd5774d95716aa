#pragma once

#include <QMainWindow>

#include "engine/puzzle_state.h"

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(engine::PuzzleState& state, QWidget* parent = nullptr);

private:
    engine::PuzzleState& state_;
};
