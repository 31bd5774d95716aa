#pragma once

#include <QDialog>

// The frame shared by the secondary windows: a fixed client area that cannot be resized or
// maximised, a title bar with the system menu, minimise and close buttons, and the default
// font "Tahoma" 11 px. The window is centred on the screen the first time it is shown and
// left where it stood on later showings. Closing it only hides it, Esc does nothing, and it
// never keeps the program running once the main window has closed.
class SecondaryWindow : public QDialog {
    Q_OBJECT
public:
    SecondaryWindow(QSize clientSize, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool placed_ = false;
};
