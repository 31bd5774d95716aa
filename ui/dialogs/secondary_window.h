#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPlainTextEdit;

// The frame shared by the secondary windows: a fixed client area that cannot be resized or
// maximised, a title bar with the system menu, minimise and close buttons, and the default
// font "Tahoma" 11 px. The window is centred on the screen the first time it is shown and
// left where it stood on later showings. Closing it only hides it, and it never keeps the
// program running once the main window has closed. Esc closes it where it has nothing to
// cancel, and does nothing where it would throw away what the player typed.
class SecondaryWindow : public QDialog {
    Q_OBJECT
public:
    enum class Escape { DoesNothing, Closes };

    SecondaryWindow(QSize clientSize, QWidget* parent, Escape escape = Escape::DoesNothing);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    // Gives a label of the window its place, font and plain text, drawn from its top-left
    // corner over its whole rectangle filled with its background colour.
    static void placeLabel(QLabel* label, const QRect& geometry, const QFont& font);
    // A raised panel, and inside it a read-only text box in the window's face at
    // `fontPixels` that never scrolls sideways: the frame of the about and rules texts.
    static QFrame* makeTextPanel(QWidget* parent, const QRect& geometry);
    static QPlainTextEdit* makeTextBox(QFrame* panel, const QRect& geometry, int fontPixels, const QString& text);

private:
    Escape escape_;
    bool placed_ = false;
};
