// The application object's X drawing setting: in force only while it connects, never
// passed on to programs the game starts, and a user's own setting kept as it is. Qt's own
// texts in Russian. The message boxes it shows, real ones, read while they are open, their
// button "OK" as ever. And where every window and box is centred, on screens large and small.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QByteArray>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QStringList>
#include <QTimer>

#include <clocale>

#include <langinfo.h>

#include "game_texts.h"
#include "ui/dialogs/string_grid.h"
#include "ui/platform/game_application.h"
#include "ui/platform/message_box.h"
#include "ui/platform/placement.h"

namespace {

constexpr char kNoSharedMemory[] = "QT_XCB_NO_MITSHM";

char name[] = "pliton";
char* argv[] = {name, nullptr};

TEST(GameApplication, LeavesNoSettingForTheProgramsItStarts) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv(kNoSharedMemory);
    // Builds and drops the application object, as the game's start and end do.
    { platform::GameApplication app(argv); }
    EXPECT_FALSE(qEnvironmentVariableIsSet(kNoSharedMemory));

    // A user's own choice survives, whatever it says.
    for (const QByteArray& users : {QByteArray("0"), QByteArray("1")}) {
        qputenv(kNoSharedMemory, users);
        { platform::GameApplication app(argv); }
        EXPECT_EQ(qgetenv(kNoSharedMemory), users);
    }
}

// With no locale set up, the C library still reads and writes the titles as UTF-8, and the
// locale's other parts stay as the environment says.
TEST(GameApplication, WritesUtf8UnderTheBareCLocale) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QByteArray users = qgetenv("LC_ALL");
    qputenv("LC_ALL", "C");
    std::setlocale(LC_ALL, "C");  // as if the environment were read now, whichever object reads it
    {
        platform::GameApplication app(argv);
        EXPECT_STREQ(nl_langinfo(CODESET), "UTF-8");
        EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    }
    if (users.isNull()) {
        qunsetenv("LC_ALL");
    } else {
        qputenv("LC_ALL", users);
    }
    std::setlocale(LC_ALL, "");
}

// Qt's own options on the command line change nothing: the game takes no arguments.
TEST(GameApplication, TakesNoArgumentsOfTheUsers) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    char reverse[] = "-reverse", style[] = "-style", fusion[] = "fusion", title[] = "-qwindowtitle", other[] = "Другое";
    char* withOptions[] = {name, reverse, style, fusion, title, other, nullptr};
    platform::GameApplication app(withOptions);
    EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::LeftToRight);
    EXPECT_EQ(QCoreApplication::arguments(), QStringList{QStringLiteral("pliton")});
    EXPECT_EQ(QString::fromUtf8(withOptions[1]), QStringLiteral("-reverse"));  // the caller's list is left alone
}

// Qt's own texts read Russian: the menu of the table's cell editor, say.
TEST(GameApplication, ShowsQtsOwnTextsInRussian) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::GameApplication app(argv);
    StringGrid grid(4, 4, 80, 8, nullptr);
    grid.show();
    grid.editItem(grid.item(0, 0));
    auto* editor = grid.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(4, 4), editor->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(editor, &click);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QStringList items;  // as read, without the underlined letter's mark and the keys
    for (const QAction* item : menu->actions()) items << item->text().remove(QLatin1Char('&')).section('\t', 0, 0);
    EXPECT_TRUE(items.contains(QStringLiteral("Копировать"))) << items.join(", ").toStdString();
    menu->close();
}

// Each kind of box shown for real, read while it is open and closed with its button. Its
// button reads "OK" with Qt's own texts in Russian too.
TEST(MessageBoxes, ShowTheIconAndCaptionOfTheirKind) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::GameApplication app(argv);
    platform::setApplicationTitle(kTitle);
    struct Kind {
        platform::BoxKind kind;
        QString caption;
        QMessageBox::Icon icon;
    };
    const Kind kinds[] = {
        {platform::BoxKind::Error, QStringLiteral("Error"), QMessageBox::Critical},
        {platform::BoxKind::Information, QStringLiteral("Information"), QMessageBox::Information},
        {platform::BoxKind::Plain, kTitle, QMessageBox::NoIcon},
    };
    for (const Kind& kind : kinds) {
        bool seen = false;
        QTimer closer;
        closer.setInterval(10);
        QObject::connect(&closer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            closer.stop();
            seen = true;
            EXPECT_EQ(box->windowTitle(), kind.caption);
            EXPECT_EQ(box->icon(), kind.icon) << kind.caption.toStdString();
            EXPECT_EQ(box->text(), kBadTable);
            QStringList buttons;
            for (QAbstractButton* button : box->buttons()) buttons << button->text().remove(QLatin1Char('&'));
            EXPECT_EQ(buttons, QStringList{QStringLiteral("OK")});
            // Centred; the box settles its size a few pixels off the one it was placed at.
            const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
            EXPECT_LE((box->frameGeometry().center() - centre).manhattanLength(), 8);
            box->buttons().constFirst()->click();
        });
        closer.start();
        platform::showBox(kind.kind, kBadTable);
        EXPECT_TRUE(seen);
    }
}

// A window that fits stands in the middle; one larger than the screen's available area
// keeps its top-left corner, and with it the title bar, inside that area.
TEST(Placement, CentresWhatFitsAndKeepsTheTitleBarOnTheScreen) {
    struct Case {
        const char* what;
        QRect frame, available;
        QPoint expected;
    };
    const Case cases[] = {
        {"a box", {0, 0, 100, 50}, {0, 0, 1024, 768}, {462, 359}},
        {"the main window", {5, 5, 478, 547}, {0, 0, 1024, 768}, {273, 110}},
        {"below a top panel", {0, 0, 478, 547}, {0, 30, 1024, 738}, {273, 125}},
        {"exactly as high as the area", {0, 0, 478, 512}, {0, 0, 682, 512}, {102, 0}},
        {"the main window at scale 1.5", {0, 0, 478, 547}, {0, 0, 682, 512}, {102, 0}},
        {"too high, below a top panel", {0, 0, 478, 547}, {0, 24, 682, 488}, {102, 24}},
        {"too wide and too high", {0, 0, 721, 600}, {0, 0, 682, 512}, {0, 0}},
        {"too large for a screen to the right", {0, 0, 721, 600}, {1024, 0, 682, 512}, {1024, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::centredPosition(c.frame, c.available), c.expected) << c.what;
    }
}

}  // namespace
