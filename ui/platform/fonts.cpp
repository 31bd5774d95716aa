#include "fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace platform {

void installFontSubstitutes() {
    QFont::insertSubstitutions(kSansSerifFace, {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(kTahomaFace, {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(kTimesFace, {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    QFont::insertSubstitutions(kArialUnicodeFace, {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

QString desktopFace(const QString& designed) {
    // The list of families, not QFontDatabase::hasFamily, which asks fontconfig to resolve
    // the name as an alias and costs more than the search it is meant to spare.
    const QStringList installed = QFontDatabase::families();
    for (const QString& face : QStringList(designed) + QFont::substitutes(designed)) {
        for (const QString& family : installed) {
            // The substitutes are kept in lower case; the family is given as the desktop names it.
            if (family.compare(face, Qt::CaseInsensitive) == 0) return family;
        }
    }
    return designed;
}

QFont faceFont(const QString& designed, int pixels, bool bold, bool underline) {
    QFont font(desktopFace(designed));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

}  // namespace platform
