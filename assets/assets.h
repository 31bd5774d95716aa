#pragma once

#include <QByteArray>
#include <QString>

// The pictures and texts built into the program.
namespace assets {

// The arrangement dialog's background: a JPEG of 700 x 438 pixels.
QByteArray arrangementBackground();

// The rules window's banner: a JPEG of 639 x 54 pixels.
QByteArray rulesBanner();

// The about window's eight lines, joined by line breaks.
QString aboutText();

// The rules text, lines joined by line breaks.
QString rulesText();

}  // namespace assets
