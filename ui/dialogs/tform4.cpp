#include "tform4.h"

#include "assets/assets.h"
#include "picture_box.h"

namespace {

constexpr QSize kClientSize(721, 412);

}  // namespace

TForm4::TForm4(QWidget* parent) : SecondaryWindow(kClientSize, parent) {
    setWindowTitle(QStringLiteral("Игра Пятнашки"));

    // The panel covers the banner from 40 pixels down, leaving a strip above the text.
    Image1 = new PictureBox(&assets::rulesBanner, this);
    Image1->setGeometry(0, 0, 721, 57);

    Panel1 = new QFrame(this);
    Panel1->setGeometry(8, 40, 705, 367);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setAutoFillBackground(true);

    Memo1 = new QPlainTextEdit(Panel1);
    Memo1->setGeometry(0, 8, 705, 360);
    QFont memoFont(QStringLiteral("Tahoma"));
    memoFont.setPixelSize(12);
    Memo1->setFont(memoFont);
    Memo1->setReadOnly(true);
    // Read-only, but the text can still be walked, selected and copied from the keyboard.
    Memo1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setPlainText(assets::rulesText());

    Button1 = new QPushButton(QStringLiteral("ОК"), this);
    Button1->setGeometry(584, 8, 129, 25);
    Button1->setAutoDefault(false);

    setTabOrder(Memo1, Button1);
    // The text box has the focus whenever the window is opened without it having moved.
    Memo1->setFocus();

    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
}

void TForm4::Button1Click() { close(); }
