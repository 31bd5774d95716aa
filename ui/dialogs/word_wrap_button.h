#pragma once

#include <QPushButton>

// A push button whose caption is broken into lines at spaces to fit the button, each line
// centred.
class WordWrapButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};
