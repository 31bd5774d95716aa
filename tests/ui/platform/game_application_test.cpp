// The application object's X drawing setting: in force only while it connects, never
// passed on to programs the game starts, and a user's own setting kept as it is.
#include <gtest/gtest.h>

#include <QByteArray>

#include "ui/platform/game_application.h"

namespace {

constexpr char kNoSharedMemory[] = "QT_XCB_NO_MITSHM";

// Builds and drops the application object, as the game's start and end do.
void runApplication() {
    int argc = 1;
    char name[] = "pliton";
    char* argv[] = {name, nullptr};
    platform::GameApplication app(argc, argv);
}

TEST(GameApplication, LeavesNoSettingForTheProgramsItStarts) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv(kNoSharedMemory);
    runApplication();
    EXPECT_FALSE(qEnvironmentVariableIsSet(kNoSharedMemory));

    // A user's own choice survives, whatever it says.
    for (const QByteArray& users : {QByteArray("0"), QByteArray("1")}) {
        qputenv(kNoSharedMemory, users);
        runApplication();
        EXPECT_EQ(qgetenv(kNoSharedMemory), users);
    }
}

}  // namespace
