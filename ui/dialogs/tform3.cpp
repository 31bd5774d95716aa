#include "tform3.h"

#include <QPainter>
#include <QPainterPath>

#include "assets/assets.h"
#include "clickable_label.h"
#include "ui/platform/desktop.h"

namespace {

constexpr QSize kClientSize(528, 268);
const QColor kLinkBlue(0, 0, 255);
const QColor kPaleGreen(223, 238, 223);
const QColor kOrnamentRed(255, 0, 0);
const QColor kCheckGreen(0, 128, 0);

QFont fontOf(const char* family, int pixelSize, bool underline = false) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixelSize);
    font.setUnderline(underline);
    return font;
}

// Labels fill their whole rectangle with their background colour.
template <typename Label>
Label* makeLabel(const QString& text, const QRect& geometry, const QFont& font, QWidget* parent) {
    auto* label = new Label(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFont(font);
    label->setAutoFillBackground(true);
    return label;
}

void setColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// The "OK" glyph: a green check mark.
QIcon checkMarkGlyph() {
    QPixmap glyph(16, 16);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath mark;
    mark.moveTo(2.5, 8.5);
    mark.lineTo(6.0, 12.0);
    mark.lineTo(13.5, 3.5);
    painter.setPen(QPen(kCheckGreen, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(mark);
    painter.end();
    return QIcon(glyph);
}

}  // namespace

TForm3::TForm3(QWidget* parent) : SecondaryWindow(kClientSize, parent) {
    setWindowTitle(QStringLiteral("О программе - Плитон v2.0.1"));

    Label1 = makeLabel<QLabel>(QStringLiteral("\"Плитон\"\n  Версия: 2.0.1 "), QRect(16, 8, 136, 42),
                               fontOf("@Arial Unicode MS", 16), this);

    Label2 = makeLabel<ClickableLabel>(QString::fromLatin1(kWebPageShown), QRect(256, 48, 222, 17),
                                       fontOf("Times New Roman", 15, true), this);
    setColour(Label2, QPalette::WindowText, kLinkBlue);
    Label2->setCursor(Qt::PointingHandCursor);

    Label5 = makeLabel<QLabel>(QStringLiteral("______|||||||||||||________"), QRect(8, 56, 136, 13),
                               fontOf("Tahoma", 11), this);
    setColour(Label5, QPalette::WindowText, kOrnamentRed);

    Label3 = makeLabel<ClickableLabel>(QString::fromLatin1(kContactAddress), QRect(256, 16, 129, 17),
                                       fontOf("Times New Roman", 15, true), this);
    setColour(Label3, QPalette::WindowText, kLinkBlue);
    setColour(Label3, QPalette::Window, kPaleGreen);
    Label3->setCursor(Qt::DragMoveCursor);
    Label3->setToolTip(QStringLiteral("Нажмите, чтобы скопировать в буфер обмена"));

    BitBtn1 = new QPushButton(checkMarkGlyph(), QStringLiteral("OK"), this);
    BitBtn1->setGeometry(272, 232, 145, 25);
    BitBtn1->setDefault(true);

    // The panel is disabled, so the text box inside takes no focus, clicks or keys; it only
    // shows its text, which keeps its ordinary colours.
    Panel1 = new QFrame(this);
    Panel1->setGeometry(8, 80, 513, 137);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setEnabled(false);

    Memo1 = new QPlainTextEdit(Panel1);
    Memo1->setGeometry(0, 0, 505, 129);
    Memo1->setFont(fontOf("Tahoma", 12));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setReadOnly(true);
    Memo1->setPlainText(assets::aboutText());
    QPalette memoPalette = Memo1->palette();
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Text, QPalette::Window, QPalette::WindowText}) {
        memoPalette.setColor(QPalette::Disabled, role, memoPalette.color(QPalette::Active, role));
    }
    Memo1->setPalette(memoPalette);

    connect(BitBtn1, &QPushButton::clicked, this, &TForm3::BitBtn1Click);
    connect(Label2, &ClickableLabel::clicked, this, &TForm3::Label2Click);
    connect(Label3, &ClickableLabel::clicked, this, &TForm3::Label3Click);
}

void TForm3::BitBtn1Click() { close(); }

void TForm3::Label2Click() { platform::openAddress(QString::fromLatin1(kWebPageAddress)); }

void TForm3::Label3Click() { platform::copyToClipboard(Label3->text()); }
