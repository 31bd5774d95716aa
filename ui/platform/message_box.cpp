#include "message_box.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>

#include "placement.h"

namespace platform {

namespace {

BoxAnswerer& answerer() {
    static BoxAnswerer instance;
    return instance;
}

QString captionFor(BoxKind kind) {
    switch (kind) {
        case BoxKind::Error: return QStringLiteral("Error");
        case BoxKind::Information: return QStringLiteral("Information");
        case BoxKind::Plain: break;
    }
    return applicationTitle();
}

QMessageBox::Icon iconFor(BoxKind kind) {
    switch (kind) {
        case BoxKind::Error: return QMessageBox::Critical;
        case BoxKind::Information: return QMessageBox::Information;
        case BoxKind::Plain: break;
    }
    return QMessageBox::NoIcon;
}

void show(BoxKind kind, const QString& caption, const QString& text) {
    if (answerer()) {
        answerer()({kind, caption, text});
        return;
    }
    QMessageBox box(iconFor(kind), caption, text, QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.adjustSize();
    centreOnScreen(box, QGuiApplication::primaryScreen());
    box.exec();
}

}  // namespace

QString applicationTitle() { return QCoreApplication::applicationName(); }

// The toolkit appends the application *display* name to every window title on some
// desktops; the application name is never appended, so the title lives there.
void setApplicationTitle(const QString& title) { QCoreApplication::setApplicationName(title); }

void showBox(BoxKind kind, const QString& text) { show(kind, captionFor(kind), text); }

void showErrorBox(const QString& caption, const QString& text) { show(BoxKind::Error, caption, text); }

void setBoxAnswerer(BoxAnswerer newAnswerer) { answerer() = std::move(newAnswerer); }

}  // namespace platform
