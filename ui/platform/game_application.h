#pragma once

#include <QApplication>

namespace platform {

// The application object. An exception that escapes an event handler is shown in an error
// box captioned with the application title, and the program goes on with the next event.
//
// On X11 the windows' pixels go to the X server through the connection, not through
// shared memory: with shared memory Qt waits for the server to answer a round trip before
// it paints over what it last sent, which wakes the program two more times at every clock
// tick and now and then holds a slide's frame back by a few milliseconds. The frames of
// this game are small enough for the connection. A user's own setting of
// QT_XCB_NO_MITSHM is left alone, and programs the game starts do not inherit the game's.
//
// Qt takes every 8-bit string for UTF-8, and so must the C library, through which Xlib
// turns the window titles into X's older title property: under the bare "C" locale of a
// machine with no locale set up, window managers that read that property would show the
// Russian titles as garbage. So when the environment's locale has another character set,
// the character type alone switches to C.UTF-8; everything else stays as the user has it.
//
// The game takes no arguments: the application object sees only the program's name in
// argv[0], so that Qt's own options (-reverse, -style, -qwindowgeometry and the like)
// change nothing, and the game looks and behaves the same however it is started.
class GameApplication : public QApplication {
public:
    explicit GameApplication(char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    GameApplication(char** argv, bool sharedMemoryTurnedOff);
};

}  // namespace platform
