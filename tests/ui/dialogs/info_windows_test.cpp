// The rules and about windows: one of each, shown and hidden, what their controls let the
// player do, and the two effects outside the program (the web page and the clipboard).
#include <QtTest>

#include <QClipboard>
#include <QScrollBar>

#include "ui/dialogs/clickable_label.h"
#include "ui/dialogs/tform3.h"
#include "ui/dialogs/tform4.h"
#include "ui/platform/desktop.h"
#include "ui/platform/fonts.h"

namespace {

// Shows a window the way the main menu does: shown and activated (raising it too is a
// window-manager request that the headless platform does not take).
void showFromMenu(QWidget& window) {
    window.show();
    window.activateWindow();
}

}  // namespace

class InfoWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TForm3> about;
    std::unique_ptr<TForm4> rules;

private slots:
    void initTestCase() { platform::installFontSubstitutes(); }

    void init() {
        about = std::make_unique<TForm3>();
        rules = std::make_unique<TForm4>();
    }

    void cleanup() {
        about.reset();
        rules.reset();
        platform::setAddressOpener({});
    }

    // Chosen again, a window comes back where the player put it, beside the other one;
    // closing only hides it.
    void choosingAWindowAgainShowsItWhereItStood() {
        showFromMenu(*rules);
        showFromMenu(*about);
        QVERIFY(QTest::qWaitForWindowActive(about.get()));
        showFromMenu(*rules);
        QVERIFY(QTest::qWaitForWindowActive(rules.get()));
        QVERIFY(about->isVisible());

        rules->move(rules->pos() + QPoint(37, 21));
        const QPoint placed = rules->pos();
        QVERIFY(rules->close());
        QVERIFY(rules->isHidden());
        showFromMenu(*rules);
        QCOMPARE(rules->pos(), placed);
    }

    void windowsHaveFixedSizesAndNoMaximiseButton() {
        for (QWidget* window : std::initializer_list<QWidget*>{about.get(), rules.get()}) {
            QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
            QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
            QCOMPARE(window->minimumSize(), window->maximumSize());
            QVERIFY(!window->testAttribute(Qt::WA_QuitOnClose));
        }
        QCOMPARE(about->size(), QSize(528, 268));
        QCOMPARE(rules->size(), QSize(721, 412));
        QCOMPARE(about->windowTitle(), QStringLiteral("О программе - Плитон v" PLITON_VERSION));
        QCOMPARE(rules->windowTitle(), QStringLiteral("Игра Пятнашки"));
    }

    void designFacesResolveToTheirNearestInstalledFaces() {
        QCOMPARE(QFontInfo(about->Label1->font()).family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(QFontInfo(about->Label2->font()).family(), QStringLiteral("Liberation Serif"));
        QCOMPARE(QFontInfo(about->Label3->font()).family(), QStringLiteral("Liberation Serif"));
        QCOMPARE(QFontInfo(about->Memo1->font()).family(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(QFontInfo(rules->Memo1->font()).family(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(QFontInfo(rules->Button1->font()).family(), QStringLiteral("DejaVu Sans"));
    }

    // OK hides its window, clicked or by Enter, and so does Esc.
    void okHidesItsWindow() {
        showFromMenu(*rules);
        QTest::mouseClick(rules->Button1, Qt::LeftButton);
        QVERIFY(rules->isHidden());
        showFromMenu(*about);
        QTest::mouseClick(about->BitBtn1, Qt::LeftButton);
        QVERIFY(about->isHidden());

        showFromMenu(*about);
        QVERIFY(QTest::qWaitForWindowActive(about.get()));
        QCOMPARE(QApplication::focusWidget(), about->BitBtn1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(about->isHidden());

        // Enter counts wherever the focus is, since OK is the default button.
        showFromMenu(*about);
        QVERIFY(QTest::qWaitForWindowActive(about.get()));
        QTest::keyClick(about.get(), Qt::Key_Enter);
        QVERIFY(about->isHidden());
    }

    void aboutTextCanOnlyBeRead() {
        showFromMenu(*about);
        QVERIFY(QTest::qWaitForWindowActive(about.get()));
        QVERIFY(!about->Memo1->isEnabled());
        QTest::mouseClick(about->Memo1->viewport(), Qt::LeftButton, {}, QPoint(30, 30));
        QVERIFY(!about->Memo1->hasFocus());
        QTest::keyClick(about->Memo1, Qt::Key_X);
        QCOMPARE(about->Memo1->toPlainText(), about->Memo1->document()->toPlainText());

        // Eight lines that fit the box without scrolling: notice, gap, donation, account.
        const QStringList lines = about->Memo1->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 8);
        QVERIFY(lines[3].isEmpty());
        QVERIFY(!lines[7].isEmpty());
        QCOMPARE(about->Memo1->verticalScrollBar()->maximum(), 0);

        // The disabled panel must not grey the text out.
        const QPalette palette = about->Memo1->palette();
        QCOMPARE(palette.color(QPalette::Disabled, QPalette::Text), palette.color(QPalette::Active, QPalette::Text));
        QCOMPARE(palette.color(QPalette::Disabled, QPalette::Base), palette.color(QPalette::Active, QPalette::Base));
    }

    void contactLabelPutsExactlyTheShownAddressOnTheClipboard() {
        showFromMenu(*about);
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("something else"));
        QTest::mouseClick(about->Label3, Qt::LeftButton);
        QCOMPARE(clipboard->text(), about->Label3->text());
        QCOMPARE(clipboard->text(), QStringLiteral(PLITON_CONTACT_ADDRESS));
        QVERIFY(about->Label3->text().contains(QLatin1Char('@')));
        QCOMPARE(about->Label3->toolTip(), QStringLiteral("Нажмите, чтобы скопировать в буфер обмена"));
        QVERIFY(about->isVisible());

        // A press that ends outside the label is no click.
        clipboard->setText(QStringLiteral("kept"));
        QTest::mousePress(about->Label3, Qt::LeftButton);
        QTest::mouseRelease(about->Label3, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(clipboard->text(), QStringLiteral("kept"));
    }

    void webLinkAsksTheDesktopToOpenTheShownAddress() {
        QStringList opened;
        platform::setAddressOpener([&opened](const QString& address) { opened << address; });
        showFromMenu(*about);
        QTest::mouseClick(about->Label2, Qt::LeftButton);
        QCOMPARE(opened.size(), 1);
        QVERIFY(opened[0] == QStringLiteral("https://") + about->Label2->text() ||
                opened[0] == QStringLiteral("http://") + about->Label2->text());
        QVERIFY(QUrl(opened[0]).isValid());
        QVERIFY(about->isVisible());
    }

    void rulesTextCanBeScrolledAndCopiedButNotChanged() {
        showFromMenu(*rules);
        QVERIFY(QTest::qWaitForWindowActive(rules.get()));
        QCOMPARE(QApplication::focusWidget(), rules->Memo1);

        const QString text = rules->Memo1->toPlainText();
        QVERIFY(text.startsWith(QStringLiteral("Системые требования:\n")));
        const int lines = static_cast<int>(text.count(QLatin1Char('\n'))) + 1;
        QVERIFY2(lines >= 40 && lines <= 60, qPrintable(QString::number(lines)));

        QTest::keyClicks(rules->Memo1, QStringLiteral("abc"));
        QTest::keyClick(rules->Memo1, Qt::Key_Delete);
        QTest::keyClick(rules->Memo1, Qt::Key_Return);
        QCOMPARE(rules->Memo1->toPlainText(), text);
        QVERIFY(rules->isVisible());

        // Down to the last line from the keyboard.
        QScrollBar* scroll = rules->Memo1->verticalScrollBar();
        QVERIFY(scroll->isVisible());
        QVERIFY(scroll->maximum() > 0);
        QTest::keyClick(rules->Memo1, Qt::Key_End, Qt::ControlModifier);
        QVERIFY(scroll->value() > 0);
        QVERIFY(rules->Memo1->viewport()->rect().contains(rules->Memo1->cursorRect()));
        scroll->setValue(scroll->maximum());
        QVERIFY(rules->Memo1->viewport()->rect().contains(rules->Memo1->cursorRect()));

        // Selected and copied.
        QTest::keyClick(rules->Memo1, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(rules->Memo1, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), text);
    }
};

QTEST_MAIN(InfoWindowsTest)
#include "info_windows_test.moc"
