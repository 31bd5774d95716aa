#include "tform3.h"

#include <QPainter>
#include <QPainterPath>

#include "assets/assets.h"
#include "clickable_label.h"
#include "ui/platform/desktop.h"
#include "ui/platform/fonts.h"
#include "ui/platform/readable_colour.h"
#include "version.h"

namespace {

using platform::faceFont;

// The window.
constexpr QStringView kFormCaption = u"О программе - Плитон v%1";
constexpr QSize kClientSize(528, 268);

// Label1: the product name and version.
constexpr QRect kLabel1Rect(16, 8, 136, 42);
constexpr QStringView kLabel1Text = u"\"Плитон\"\n  Версия: %1 ";
constexpr int kLabel1FontPixels = 16;

// Label2 and Label3: the web page and the contact address, underlined like links.
constexpr QRect kLabel2Rect(256, 48, 222, 17);
constexpr QRect kLabel3Rect(256, 16, 129, 17);
constexpr QStringView kLabel3Hint = u"Нажмите, чтобы скопировать в буфер обмена";
constexpr int kLinkFontPixels = 15;
const QColor kLinkBlue(0, 0, 255);
const QColor kPaleGreen(223, 238, 223);

// Label5: an ornament under the name.
constexpr QRect kLabel5Rect(8, 56, 136, 13);
constexpr QStringView kLabel5Text = u"______|||||||||||||________";
constexpr int kLabel5FontPixels = 11;
const QColor kOrnamentRed(255, 0, 0);

// BitBtn1: "OK" with a green check mark.
constexpr QRect kBitBtn1Rect(272, 232, 145, 25);
constexpr QStringView kBitBtn1Caption = u"OK";
const QColor kCheckGreen(0, 128, 0);
constexpr int kGlyphSide = 16;

// Panel1 and Memo1: the terms of distribution.
constexpr QRect kPanel1Rect(8, 80, 513, 137);
constexpr QRect kMemo1Rect(0, 0, 505, 129);
constexpr int kMemo1FontPixels = 12;

void setColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// The "OK" glyph: a green check mark.
QIcon checkMarkGlyph() {
    QPixmap glyph(kGlyphSide, kGlyphSide);
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

TForm3::TForm3(QWidget* parent) : SecondaryWindow(kClientSize, parent, Escape::Closes) {
    const QString version = QString::fromLatin1(kVersion);
    setWindowTitle(kFormCaption.toString().arg(version));

    Label1 = new QLabel(kLabel1Text.toString().arg(version), this);
    placeLabel(Label1, kLabel1Rect, faceFont(platform::kArialUnicodeFace, kLabel1FontPixels));

    const QFont linkFont = faceFont(platform::kTimesFace, kLinkFontPixels, false, true);
    Label2 = new ClickableLabel(QString::fromLatin1(kWebPageShown), this);
    placeLabel(Label2, kLabel2Rect, linkFont);
    setColour(Label2, QPalette::WindowText, kLinkBlue);
    setColour(Label2, QPalette::Window, platform::readableRole(QPalette::Window, kLinkBlue));
    Label2->setCursor(Qt::PointingHandCursor);

    Label5 = new QLabel(kLabel5Text.toString(), this);
    placeLabel(Label5, kLabel5Rect, faceFont(platform::kTahomaFace, kLabel5FontPixels));
    setColour(Label5, QPalette::WindowText, kOrnamentRed);
    setColour(Label5, QPalette::Window, platform::readableRole(QPalette::Window, kOrnamentRed));

    Label3 = new ClickableLabel(QString::fromLatin1(kContactAddress), this);
    placeLabel(Label3, kLabel3Rect, linkFont);
    setColour(Label3, QPalette::WindowText, kLinkBlue);
    setColour(Label3, QPalette::Window, kPaleGreen);
    Label3->setCursor(Qt::DragMoveCursor);
    Label3->setToolTip(kLabel3Hint.toString());

    BitBtn1 = new QPushButton(checkMarkGlyph(), kBitBtn1Caption.toString(), this);
    BitBtn1->setGeometry(kBitBtn1Rect);
    BitBtn1->setDefault(true);

    // The panel is disabled, so the text box inside takes no focus, clicks or keys; it only
    // shows its text, which keeps its ordinary colours.
    Panel1 = makeTextPanel(this, kPanel1Rect);
    Panel1->setEnabled(false);
    Memo1 = makeTextBox(Panel1, kMemo1Rect, kMemo1FontPixels, assets::aboutText());
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
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
