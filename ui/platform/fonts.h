#pragma once

#include <QString>

namespace platform {

// Maps the faces the windows are designed in ("MS Sans Serif", "Tahoma", "Times New Roman",
// "@Arial Unicode MS") to the nearest faces the desktop has.
void installFontSubstitutes();

// The face to ask for in place of a designed one: the designed face itself when the desktop
// has it, else the first of its substitutes that the desktop has, else the designed face.
// Asking for an installed face spares the toolkit a search for fallbacks of a face it does
// not have, once for every script of text shown in it.
QString desktopFace(const QString& designed);

}  // namespace platform
