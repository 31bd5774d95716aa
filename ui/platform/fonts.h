#pragma once

#include <QFont>
#include <QString>

namespace platform {

// The faces the windows are designed in.
inline constexpr char kSansSerifFace[] = "MS Sans Serif";
inline constexpr char kTahomaFace[] = "Tahoma";
inline constexpr char kTimesFace[] = "Times New Roman";
inline constexpr char kArialUnicodeFace[] = "@Arial Unicode MS";

// Maps each designed face to the nearest faces the desktop has.
void installFontSubstitutes();

// The face to ask for in place of a designed one: the designed face itself when the desktop
// has it, else the first of its substitutes that the desktop has, else the designed face.
// Asking for an installed face spares the toolkit a search for fallbacks of a face it does
// not have, once for every script of text shown in it.
QString desktopFace(const QString& designed);

// A font in a designed face, asked for by the face the desktop has (see desktopFace), sized
// in pixels so that it looks the same on any screen.
QFont faceFont(const QString& designed, int pixels, bool bold = false, bool underline = false);

}  // namespace platform
