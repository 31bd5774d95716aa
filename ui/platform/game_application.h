#pragma once

#include <QApplication>

namespace platform {

// The application object. An exception that escapes an event handler is shown in an error
// box captioned with the application title, and the program goes on with the next event.
class GameApplication : public QApplication {
public:
    GameApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace platform
