#include "game_application.h"

#include <exception>

#include "message_box.h"

namespace platform {

GameApplication::GameApplication(int& argc, char** argv) : QApplication(argc, argv) {}

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
