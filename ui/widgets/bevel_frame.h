#pragma once

#include <QWidget>

// A lowered one-pixel box frame drawn around other controls. It takes mouse input for
// its area, as the other controls do, so a double click on it is not one on the window.
class BevelFrame : public QWidget {
    Q_OBJECT
public:
    explicit BevelFrame(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
