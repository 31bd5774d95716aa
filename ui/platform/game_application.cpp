#include "game_application.h"

#include <clocale>
#include <cstring>
#include <exception>

#include <langinfo.h>

#include "message_box.h"

namespace platform {

namespace {

constexpr char kNoSharedMemory[] = "QT_XCB_NO_MITSHM";

// Turns X shared memory off for the connection the application object is about to open;
// true when it did so.
bool turnSharedMemoryOff() {
    if (qEnvironmentVariableIsSet(kNoSharedMemory)) return false;
    return qputenv(kNoSharedMemory, "1");
}

// Switches the C library's character type to UTF-8 when the environment's locale has
// another character set.
void useUtf8Characters() {
    const char* codeset = nl_langinfo(CODESET);
    if (std::strcmp(codeset, "UTF-8") == 0) return;
    std::setlocale(LC_CTYPE, "C.UTF-8");
}

// The argument count the application object is given: the program's name alone. Qt keeps
// a reference to it for the object's life.
int& programNameOnly() {
    static int count;
    count = 1;
    return count;
}

}  // namespace

GameApplication::GameApplication(char** argv) : GameApplication(argv, turnSharedMemoryOff()) {}

GameApplication::GameApplication(char** argv, bool sharedMemoryTurnedOff) : QApplication(programNameOnly(), argv) {
    // The connection is open: the setting has done its work.
    if (sharedMemoryTurnedOff) qunsetenv(kNoSharedMemory);
    // The application object has just set the C library's locale from the environment.
    useUtf8Characters();
}

bool GameApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        showErrorBox(applicationTitle(), QString::fromUtf8(error.what()));
    } catch (...) {
        showErrorBox(applicationTitle(), QStringLiteral("Unknown error"));
    }
    return false;
}

}  // namespace platform
