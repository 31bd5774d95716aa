#include "game_application.h"

#include <QLibraryInfo>
#include <QTranslator>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <exception>

#include <langinfo.h>

#include "message_box.h"

namespace platform {

namespace {

constexpr char kNoSharedMemory[] = "QT_XCB_NO_MITSHM";

// On X11 the windows' pixels go to the X server through the connection, not through
// shared memory: with shared memory Qt waits for the server to answer a round trip before
// it paints over what it last sent, which wakes the program two more times at every clock
// tick and now and then holds a slide's frame back by a few milliseconds. The frames of
// this game are small enough for the connection. A user's own setting of
// QT_XCB_NO_MITSHM is left alone, and programs the game starts do not inherit the game's.
//
// Turns X shared memory off for the connection the application object is about to open;
// true when it did so.
bool turnSharedMemoryOff() {
    if (qEnvironmentVariableIsSet(kNoSharedMemory)) return false;
    return qputenv(kNoSharedMemory, "1");
}

// Qt takes every 8-bit string for UTF-8, and so must the C library, through which Xlib
// turns the window titles into X's older title property: under the bare "C" locale of a
// machine with no locale set up, window managers that read that property would show the
// Russian titles as garbage. So when the environment's locale has another character set,
// the character type alone switches to C.UTF-8; everything else stays as the user has it.
void useUtf8Characters() {
    const char* codeset = nl_langinfo(CODESET);
    if (std::strcmp(codeset, "UTF-8") == 0) return;
    std::setlocale(LC_CTYPE, "C.UTF-8");
}

// The argument count the application object is given: the program's name alone. Qt keeps
// a reference to it for the object's life. The application object sees only argv[0], so
// that Qt's own options (-reverse, -style, -qwindowgeometry and the like) change nothing,
// and the game looks and behaves the same however it is started.
int& programNameOnly() {
    static int count;
    count = 1;
    return count;
}

// Qt's own texts, the cell editor's menu, say, read Russian, as the game's own do, whatever
// the user's language: the game speaks Russian only. They come with Qt's translations, a
// package of their own; without it they stay English, which the player sees, and a line on
// standard error says why.
void translateToolkitTexts(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (translator->load(QStringLiteral("qtbase_ru"), folder)) {
        QCoreApplication::installTranslator(translator);
        return;
    }
    delete translator;
    std::fprintf(stderr, "pliton: Qt's own texts stay English: no qtbase_ru in %s\n", qPrintable(folder));
}

}  // namespace

GameApplication::GameApplication(char** argv) : GameApplication(argv, turnSharedMemoryOff()) {}

GameApplication::GameApplication(char** argv, bool sharedMemoryTurnedOff) : QApplication(programNameOnly(), argv) {
    // The connection is open: the setting has done its work.
    if (sharedMemoryTurnedOff) qunsetenv(kNoSharedMemory);
    // The application object has just set the C library's locale from the environment.
    useUtf8Characters();
    translateToolkitTexts(*this);
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
