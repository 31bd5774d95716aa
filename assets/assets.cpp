#include "assets.h"

#include <QFile>

namespace assets {

namespace {

// The resources are part of the program, so a failed read means a broken build; it gives
// empty data, which the windows show as a missing picture or an empty text.
QByteArray read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

// The text files end with a line break, which a text box would show as one more empty line.
QString readText(const QString& path) {
    QString text = QString::fromUtf8(read(path));
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    return text;
}

}  // namespace

QByteArray arrangementBackground() { return read(QStringLiteral(":/assets/arrangement_background.jpg")); }

QByteArray rulesBanner() { return read(QStringLiteral(":/assets/rules_banner.jpg")); }

QString aboutText() { return readText(QStringLiteral(":/assets/about.txt")); }

QString rulesText() { return readText(QStringLiteral(":/assets/rules.txt")); }

}  // namespace assets
