#pragma once

#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>

#include "secondary_window.h"

class PictureBox;

// The rules window: a banner over the rules text, which can be scrolled, selected and
// copied but not changed. Non-modal; closing it only hides it.
class TForm4 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);

    // The controls, in creation order.
    PictureBox* Image1;
    QFrame* Panel1;
    QPlainTextEdit* Memo1;
    QPushButton* Button1;

public slots:
    // "ОК": hides the window.
    void Button1Click();
};
