#include "secondary_window.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>

#include "ui/platform/fonts.h"
#include "ui/platform/placement.h"
#include "ui/platform/window_frame.h"

namespace {

constexpr const char* kWindowFace = platform::kTahomaFace;
constexpr int kWindowFontPixels = 11;

}  // namespace

SecondaryWindow::SecondaryWindow(QSize clientSize, QWidget* parent, Escape escape)
    : QDialog(parent, platform::kFixedFrameFlags), escape_(escape) {
    setFixedSize(clientSize);
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(platform::faceFont(kWindowFace, kWindowFontPixels));
}

void SecondaryWindow::showEvent(QShowEvent* event) {
    // An explicit move marks the position as chosen, so the dialog does not re-centre itself
    // over its parent on later showings.
    if (!placed_ && !event->spontaneous()) {
        placed_ = true;
        platform::centreOnScreen(*this, screen());
    }
    QDialog::showEvent(event);
}

void SecondaryWindow::keyPressEvent(QKeyEvent* event) {
    // QDialog closes the window on Esc, as its close button does.
    if (escape_ == Escape::DoesNothing && event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SecondaryWindow::placeLabel(QLabel* label, const QRect& geometry, const QFont& font) {
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFont(font);
    label->setAutoFillBackground(true);
}

QFrame* SecondaryWindow::makeTextPanel(QWidget* parent, const QRect& geometry) {
    auto* panel = new QFrame(parent);
    panel->setGeometry(geometry);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    return panel;
}

QPlainTextEdit* SecondaryWindow::makeTextBox(QFrame* panel, const QRect& geometry, int fontPixels,
                                             const QString& text) {
    auto* box = new QPlainTextEdit(panel);
    box->setGeometry(geometry);
    box->setFont(platform::faceFont(kWindowFace, fontPixels));
    box->setReadOnly(true);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setPlainText(text);
    return box;
}
