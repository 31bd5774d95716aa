#include "secondary_window.h"

#include <QKeyEvent>
#include <QScreen>

SecondaryWindow::SecondaryWindow(QSize clientSize, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    setFixedSize(clientSize);
    setAttribute(Qt::WA_QuitOnClose, false);

    QFont windowFont(QStringLiteral("Tahoma"));
    windowFont.setPixelSize(11);
    setFont(windowFont);
}

void SecondaryWindow::showEvent(QShowEvent* event) {
    // An explicit move marks the position as chosen, so the dialog does not re-centre itself
    // over its parent on later showings.
    if (!placed_ && !event->spontaneous()) {
        placed_ = true;
        if (const QScreen* target = screen()) {
            QRect frame(QPoint(), size());
            frame.moveCenter(target->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QDialog::showEvent(event);
}

void SecondaryWindow::keyPressEvent(QKeyEvent* event) {
    // QDialog would close the window on Esc; none of these windows has a cancel button.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
