#pragma once

#include <QApplication>

namespace platform {

// The application object. An exception that escapes an event handler is shown in an error
// box captioned with the application title, and the program goes on with the next event.
// The game takes no arguments: Qt's own options change nothing. On X11 the windows' pixels
// go to the X server without shared memory, and the C library reads 8-bit strings as UTF-8.
// Qt's own texts (its widgets' menus, say) are Russian, as the game's are.
class GameApplication : public QApplication {
    Q_OBJECT
public:
    explicit GameApplication(char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    GameApplication(char** argv, bool sharedMemoryTurnedOff);
};

}  // namespace platform
