#pragma once

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "secondary_window.h"

class ClickableLabel;

// The about window: the product name and version, a link to the product's web page, a
// contact address that one click copies to the clipboard, and the terms of distribution.
// Non-modal; closing it only hides it.
class TForm3 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    // The web page as shown on Label2, and as handed to the desktop to open.
    static constexpr const char* kWebPageShown = "www.example.org/pliton";
    static constexpr const char* kWebPageAddress = "https://www.example.org/pliton";

    // The controls, in creation order.
    QLabel* Label1;
    ClickableLabel* Label2;
    QLabel* Label5;
    ClickableLabel* Label3;
    QPushButton* BitBtn1;
    QFrame* Panel1;
    QPlainTextEdit* Memo1;

public slots:
    // "OK": hides the window.
    void BitBtn1Click();
    // Asks the desktop to open the web page; whether it could is not looked at.
    void Label2Click();
    // Puts the contact address on the clipboard.
    void Label3Click();
};
