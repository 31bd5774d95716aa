#include "tform2.h"

#include <QShowEvent>

#include "assets/assets.h"
#include "engine/random_source.h"
#include "picture_box.h"
#include "string_grid.h"
#include "ui/platform/message_box.h"
#include "word_wrap_button.h"

namespace {

constexpr QSize kClientSize(617, 458);
const QColor kMoneyGreen(192, 220, 192);

constexpr int kTableSide = engine::kSide;
constexpr int kCellSize = 80;
constexpr int kGridLineWidth = 8;

QFont fontOf(const char* family, int pixelSize) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixelSize);
    return font;
}

QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The two hints: word-wrapped, opaque, on the system window colour.
QLabel* makeHint(const QString& text, const QRect& geometry, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFont(fontOf("Times New Roman", 16));
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    label->setPalette(palette);
    label->setAutoFillBackground(true);
    return label;
}

QPushButton* prepare(QPushButton* button, const QRect& geometry) {
    button->setGeometry(geometry);
    // No button answers Enter: a dialog would otherwise make the focused one the default.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

}  // namespace

TForm2::TForm2(engine::PuzzleState& state, std::function<void()> zadatRasstanovku, QWidget* parent)
    : SecondaryWindow(kClientSize, parent), state_(state), zadatRasstanovku_(std::move(zadatRasstanovku)) {
    setWindowTitle(QStringLiteral("Задать расстановку"));
    QPalette background = palette();
    background.setColor(QPalette::Window, kMoneyGreen);
    setPalette(background);
    setAutoFillBackground(true);

    // The picture box reaches 8 pixels past the right edge and is clipped there.
    Image1 = new PictureBox(&assets::arrangementBackground, this);
    Image1->setGeometry(0, 0, 625, 457);

    Label1 = makeHint(QStringLiteral("СОВЕТ: перед тем, как задать расклад в игровое поле, проверьте четность."),
                      QRect(416, 48, 176, 57), this);
    Label2 = makeHint(QStringLiteral("Если расклад оказался нечетным, можно поменять местами две ненулевые цифры."),
                      QRect(400, 208, 194, 76), this);

    StringGrid1 = new StringGrid(kTableSide, kTableSide, kCellSize, kGridLineWidth, this);
    StringGrid1->setGeometry(32, 16, 353, 353);
    StringGrid1->setFont(fontOf("Tahoma", 57));

    Button1 = prepare(new QPushButton(QStringLiteral("Задать"), this), QRect(72, 392, 297, 49));
    Button1->setFont(fontOf("Tahoma", 40));
    Button2 = new WordWrapButton(QStringLiteral("Проверить четность "), this);
    prepare(Button2, QRect(448, 136, 121, 57));
    Button2->setFont(fontOf("Tahoma", 16));
    Button3 = prepare(new QPushButton(QStringLiteral("Обратно"), this), QRect(456, 400, 121, 33));

    setTabOrder(StringGrid1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);

    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm2::Button3Click);
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
