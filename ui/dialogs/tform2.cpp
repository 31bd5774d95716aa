#include "tform2.h"

#include <QShowEvent>

#include "assets/assets.h"
#include "engine/deal_text.h"
#include "engine/random_source.h"
#include "picture_box.h"
#include "string_grid.h"
#include "ui/platform/fonts.h"
#include "ui/platform/message_box.h"
#include "word_wrap_button.h"

namespace {

using platform::faceFont;

// The window.
constexpr QStringView kFormCaption = u"Задать расстановку";
constexpr QSize kClientSize(617, 458);
const QColor kMoneyGreen(192, 220, 192);

// Image1: the background picture. It reaches 8 pixels past the right edge and is clipped there.
constexpr QRect kImage1Rect(0, 0, 625, 457);

// Label1 and Label2: the two hints.
constexpr QRect kLabel1Rect(416, 48, 176, 57);
constexpr QStringView kLabel1Text = u"СОВЕТ: перед тем, как задать расклад в игровое поле, проверьте четность.";
constexpr QRect kLabel2Rect(400, 208, 194, 76);
constexpr QStringView kLabel2Text = u"Если расклад оказался нечетным, можно поменять местами две ненулевые цифры.";
constexpr const char* kHintFace = platform::kTimesFace;
constexpr int kHintFontPixels = 16;

// StringGrid1: the table, 80-pixel cells between 8-pixel lines.
constexpr int kTableSide = engine::kSide;
constexpr int kTableCellSize = 80;
constexpr int kGridLineWidth = 8;
constexpr QRect kStringGrid1Rect(32, 16, 353, 353);
constexpr int kStringGrid1FontPixels = 57;

// Button1: "Задать".
constexpr QRect kButton1Rect(72, 392, 297, 49);
constexpr QStringView kButton1Caption = u"Задать";
constexpr int kButton1FontPixels = 40;

// Button2: "Проверить четность ", its caption wrapped.
constexpr QRect kButton2Rect(448, 136, 121, 57);
constexpr QStringView kButton2Caption = u"Проверить четность ";
constexpr int kButton2FontPixels = 16;

// Button3: "Обратно", in the window's font.
constexpr QRect kButton3Rect(456, 400, 121, 33);
constexpr QStringView kButton3Caption = u"Обратно";

QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QPushButton* prepare(QPushButton* button, const QRect& geometry) {
    button->setGeometry(geometry);
    // A screen reader says the caption without its trailing space.
    button->setAccessibleName(button->text().trimmed());
    // No button answers Enter: a dialog would otherwise make the focused one the default.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

}  // namespace

TForm2::TForm2(engine::PuzzleState& state, std::function<void()> zadatRasstanovku, QWidget* parent)
    : SecondaryWindow(kClientSize, parent), state_(state), zadatRasstanovku_(std::move(zadatRasstanovku)) {
    setWindowTitle(kFormCaption.toString());
    QPalette background = palette();
    background.setColor(QPalette::Window, kMoneyGreen);
    setPalette(background);
    setAutoFillBackground(true);

    Image1 = new PictureBox(&assets::arrangementBackground, this);
    Image1->setGeometry(kImage1Rect);

    Label1 = makeAdviceLabel(kLabel1Text, kLabel1Rect);
    Label2 = makeAdviceLabel(kLabel2Text, kLabel2Rect);

    StringGrid1 = new StringGrid(kTableSide, kTableSide, kTableCellSize, kGridLineWidth, this);
    StringGrid1->setGeometry(kStringGrid1Rect);
    StringGrid1->setFont(faceFont(platform::kTahomaFace, kStringGrid1FontPixels));
    for (int row = 1; row <= kTableSide; ++row) {
        for (int column = 1; column <= kTableSide; ++column) {
            StringGrid1->setCellName(column - 1, row - 1, QStringLiteral("ряд %1, столбец %2").arg(row).arg(column));
        }
    }
    // A deal pasted as text fills the table as the player would type it in.
    StringGrid1->setWholeGridPaste([](const QString& text) -> std::optional<QStringList> {
        const std::optional<engine::ArrangementTexts> texts = engine::ParseDealText(text.toStdString());
        if (!texts) return std::nullopt;
        QStringList cells;
        for (const std::string& cell : *texts) cells << QString::fromStdString(cell);
        return cells;
    });

    Button1 = prepare(new QPushButton(kButton1Caption.toString(), this), kButton1Rect);
    Button1->setFont(faceFont(platform::kTahomaFace, kButton1FontPixels));
    Button2 = new WordWrapButton(kButton2Caption.toString(), this);
    prepare(Button2, kButton2Rect);
    Button2->setFont(faceFont(platform::kTahomaFace, kButton2FontPixels));
    Button3 = prepare(new QPushButton(kButton3Caption.toString(), this), kButton3Rect);

    setTabOrder(StringGrid1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);

    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm2::Button3Click);
}

QLabel* TForm2::makeAdviceLabel(QStringView text, const QRect& geometry) {
    auto* label = new QLabel(text.toString(), this);
    placeLabel(label, geometry, faceFont(kHintFace, kHintFontPixels));
    label->setWordWrap(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    label->setPalette(palette);
    return label;
}

engine::ArrangementTexts TForm2::cellTexts() const {
    // A cell still being edited counts with what has been typed into it so far.
    StringGrid1->finishEditing();
    engine::ArrangementTexts texts;
    for (int row = 1; row <= kTableSide; ++row) {
        for (int column = 1; column <= kTableSide; ++column) {
            texts[static_cast<std::size_t>(engine::CellIndex(row, column) - 1)] =
                StringGrid1->cell(column - 1, row - 1).toStdString();
        }
    }
    return texts;
}

void TForm2::showEvent(QShowEvent* event) {
    SecondaryWindow::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TForm2::FormShow() {
    StringGrid1->discardEditing();
    for (int row = 0; row < kTableSide; ++row) {
        for (int column = 0; column < kTableSide; ++column) StringGrid1->setCell(column, row, QString());
    }
    StringGrid1->setCurrentCell(0, 0);
    StringGrid1->setFocus();
}

void TForm2::Button1Click() {
    engine::SeedRandom();
    const engine::ArrangementTexts texts = cellTexts();
    if (engine::SetArrangement(state_, texts) == engine::SetArrangementResult::Accepted) {
        // The main window is brought up to date while the dialog is still open.
        if (zadatRasstanovku_) zadatRasstanovku_();
        close();
        return;
    }
    platform::showBox(platform::BoxKind::Error, fromUtf8(engine::kInvalidTableMessage));
}

void TForm2::Button2Click() {
    const engine::ArrangementVerdict verdict = engine::CheckArrangement(state_, cellTexts());
    const platform::BoxKind kind =
        verdict == engine::ArrangementVerdict::Invalid ? platform::BoxKind::Error : platform::BoxKind::Information;
    platform::showBox(kind, fromUtf8(engine::VerdictMessage(verdict)));
}

void TForm2::Button3Click() { close(); }
