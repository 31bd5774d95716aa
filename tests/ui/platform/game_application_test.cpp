// The application object's X drawing setting: in force only while it connects, never
// passed on to programs the game starts, and a user's own setting kept as it is.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QStringList>

#include "ui/platform/game_application.h"

namespace {

constexpr char kNoSharedMemory[] = "QT_XCB_NO_MITSHM";

// Builds and drops the application object, as the game's start and end do.
void runApplication() {
    char name[] = "pliton";
    char* argv[] = {name, nullptr};
    platform::GameApplication app(argv);
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

// Qt's own options on the command line change nothing: the game takes no arguments.
TEST(GameApplication, TakesNoArgumentsOfTheUsers) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    char name[] = "pliton", reverse[] = "-reverse", style[] = "-style", fusion[] = "fusion",
         title[] = "-qwindowtitle", other[] = "Другое";
    char* argv[] = {name, reverse, style, fusion, title, other, nullptr};
    platform::GameApplication app(argv);
    EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::LeftToRight);
    EXPECT_EQ(QCoreApplication::arguments(), QStringList{QStringLiteral("pliton")});
    EXPECT_EQ(QString::fromUtf8(argv[1]), QStringLiteral("-reverse"));  // the caller's list is left alone
}

}  // namespace
