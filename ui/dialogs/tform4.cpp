#include "tform4.h"

#include "assets/assets.h"
#include "picture_box.h"

namespace {

// The window.
constexpr QStringView kFormCaption = u"Игра Пятнашки";
constexpr QSize kClientSize(721, 412);

// Image1: the banner. Panel1 covers it from 40 pixels down, leaving a strip above the text.
constexpr QRect kImage1Rect(0, 0, 721, 57);

// Panel1 and Memo1: the rules text.
constexpr QRect kPanel1Rect(8, 40, 705, 367);
constexpr QRect kMemo1Rect(0, 8, 705, 360);
constexpr int kMemo1FontPixels = 12;

// Button1: "ОК", in the window's font.
constexpr QRect kButton1Rect(584, 8, 129, 25);
constexpr QStringView kButton1Caption = u"ОК";

}  // namespace

TForm4::TForm4(QWidget* parent) : SecondaryWindow(kClientSize, parent, Escape::Closes) {
    setWindowTitle(kFormCaption.toString());

    Image1 = new PictureBox(&assets::rulesBanner, this);
    Image1->setGeometry(kImage1Rect);

    Panel1 = makeTextPanel(this, kPanel1Rect);
    Panel1->setAutoFillBackground(true);
    Memo1 = makeTextBox(Panel1, kMemo1Rect, kMemo1FontPixels, assets::rulesText());
    // Read-only, but the text can still be walked, selected and copied from the keyboard.
    Memo1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    Button1 = new QPushButton(kButton1Caption.toString(), this);
    Button1->setGeometry(kButton1Rect);
    Button1->setAutoDefault(false);

    setTabOrder(Memo1, Button1);
    // The text box has the focus whenever the window is opened without it having moved.
    Memo1->setFocus();

    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
}

void TForm4::Button1Click() { close(); }
