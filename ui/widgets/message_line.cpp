#include "message_line.h"

#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>

#include <algorithm>

namespace {

// White on the window's teal: a contrast of 4.8 to 1.
const QColor kText(255, 255, 255);
constexpr int kMargin = 4;  // between the strip's ends and the text

// The window's face at the desktop's text size where that is larger than the window's own,
// as far as one line of it fits the strip's height.
QFont lineFont(const QFont& windowFont) {
    QFont font = windowFont;
    const int own = QFontInfo(windowFont).pixelSize();
    for (int pixels = std::max(own, QFontInfo(QApplication::font()).pixelSize()); pixels >= own; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).height() <= MessageLine::kStrip.height()) break;
    }
    return font;
}

}  // namespace

MessageLine::MessageLine(QWidget* clientArea) : QLabel(clientArea) {
    setGeometry(kStrip);
    setFont(lineFont(clientArea->font()));
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignCenter);
    setContentsMargins(kMargin, 0, kMargin, 0);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, kText);
    setPalette(palette);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void MessageLine::post(const QObject* teller, const QString& text, const QString& heard) {
    std::erase_if(posted_, [teller](const Posted& p) { return p.teller == teller; });
    posted_.push_back({teller, text, heard.isEmpty() ? text : heard});
    showNewest();
}

void MessageLine::withdraw(const QObject* teller) {
    const auto gone = std::erase_if(posted_, [teller](const Posted& p) { return p.teller == teller; });
    if (gone) showNewest();
}

QString MessageLine::message() const { return posted_.empty() ? QString() : posted_.back().text; }

void MessageLine::showNewest() {
    if (posted_.empty()) {
        clear();
        setAccessibleName({});
        hide();
        return;
    }
    const Posted& newest = posted_.back();
    const QString shown = fontMetrics().elidedText(newest.text, Qt::ElideRight, contentsRect().width());
    if (shown == text() && newest.heard == accessibleName() && !isHidden()) return;
    setText(shown);
    setAccessibleName(newest.heard);
    if (isHidden()) {
        show();  // assistive tools are told that it shows
    } else {
        // A new message on a line that shows already: told as if it had just appeared, which
        // is what screen readers speak a notification at.
        QAccessibleEvent appeared(this, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&appeared);
    }
}
