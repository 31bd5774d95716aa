#pragma once

#include <QString>

#include <functional>

namespace platform {

// Error boxes are captioned "Error", information boxes "Information", plain boxes with the
// application title; every box has a single "OK" button and is centred on the screen.
enum class BoxKind { Error, Information, Plain };

struct BoxRecord {
    BoxKind kind;
    QString caption;
    QString text;
};

// The title the game is known by ("Плитон"); captions plain boxes.
QString applicationTitle();

// Sets the application title without making the toolkit append it to window titles.
void setApplicationTitle(const QString& title);

// Shows a modal message box and returns when it is closed.
void showBox(BoxKind kind, const QString& text);

// Shows a modal error box under the given caption.
void showErrorBox(const QString& caption, const QString& text);

// Replaces the real boxes: every box is handed to `answerer` instead and counts as closed
// at once. An empty function brings the real boxes back.
using BoxAnswerer = std::function<void(const BoxRecord&)>;
void setBoxAnswerer(BoxAnswerer answerer);

}  // namespace platform
