// The main window as it starts: its controls, menu and timers, its fixed size, captions
// that fit their controls, colours that read under a dark scheme, and a board that plays
// nothing before the first game.
#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QtTest>

#include <map>

#include "form_fixture.h"
#include "ui/dialogs/clickable_label.h"
#include "ui/dialogs/tform3.h"
#include "ui/platform/readable_colour.h"
#include "ui/widgets/font_points.h"

namespace {

// A dark desktop scheme: the colours of a dark-desktop player's platform theme.
QPalette darkScheme() {
    QPalette dark(QColor(255, 255, 255), QColor(66, 66, 69), QColor(151, 151, 151), QColor(48, 47, 46),
                  QColor(74, 73, 71), QColor(255, 255, 255), QColor(255, 255, 255), QColor(61, 61, 61),
                  QColor(34, 32, 32));
    dark.setColor(QPalette::ButtonText, QColor(255, 255, 255));
    dark.setColor(QPalette::Highlight, QColor(18, 96, 138));
    dark.setColor(QPalette::ToolTipBase, QColor(63, 63, 54));
    dark.setColor(QPalette::ToolTipText, QColor(255, 255, 255));
    return dark;
}

// How a control's text reads as painted, inside its edges: the area's most common colour
// is the background, the colour that stands out most from it the text.
double paintedContrast(QWidget* control, int inset) {
    const QImage image = control->grab(control->rect().adjusted(inset, inset, -inset, -inset)).toImage();
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y)];
    }
    const QColor background(std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                                return a.second < b.second;
                            })->first);
    double most = 1;
    for (const auto& [rgb, count] : counts) most = std::max(most, platform::contrastRatio(QColor(rgb), background));
    return most;
}

// Each control where a fixed colour meets one of the desktop's, by name, and how its text
// reads in windows built under the application's palette as it stands.
std::map<QString, double> paintedContrasts() {
    engine::PuzzleState state;
    SolverService solver;
    TForm1 form(state, solver);
    TForm3 about;
    form.Label1->show();
    return {{QStringLiteral("tile"), paintedContrast(form.TilePanel(1), form.TilePanel(1)->bevelInset())},
            {QStringLiteral("Button1"), paintedContrast(form.Button1, 4)},
            {QStringLiteral("Label1"), paintedContrast(form.Label1, 0)},
            {QStringLiteral("Label2"), paintedContrast(form.Label2, 0)},
            {QStringLiteral("Label4"), paintedContrast(form.Label4, 0)},
            {QStringLiteral("about Label2"), paintedContrast(about.Label2, 0)},
            {QStringLiteral("about Label5"), paintedContrast(about.Label5, 0)}};
}

}  // namespace

class TestStartup : public QObject, WindowUnderTest {
    Q_OBJECT

private slots:
    void initTestCase() { prepareGameApplication(); }
    void init() { makeWindow(); }
    void cleanup() { form.reset(); }

    void windowIsFixedAndTitled() {
        form->show();
        QCOMPARE(form->windowTitle(), kTitle);
        QCOMPARE(form->centralWidget()->size(), QSize(478, 526));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QCOMPARE(form->size().height(), form->menuBar()->height() + 526);
        QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(form->windowFlags() & Qt::WindowMinimizeButtonHint);

        const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY((form->frameGeometry().center() - screenCentre).manhattanLength() <= 2);
    }

    void controlsStandInCreationOrder() {
        const QList<QWidget*> expected = {form->Bevel1,  form->Bevel2,  form->Label1,  form->Label2,
                                          form->Label3,  form->Label4,  form->Label5,  form->Panel1,
                                          form->Button1, form->Panel17, form->Panel18, form->Panel19};
        // Then the message line, in the strip they leave free.
        QCOMPARE(clientArea(*form)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly),
                 expected + QList<QWidget*>{messageLine(*form)});

        // Where each control was designed to stand; labels may only have grown to fit their
        // text, from the same left and top.
        QCOMPARE(expected.size(), qsizetype(design::kControls.size()));
        for (std::size_t i = 0; i < design::kControls.size(); ++i) {
            QWidget* widget = expected[static_cast<qsizetype>(i)];
            const QRect designed = design::kControls[i].second;
            if (!qobject_cast<QLabel*>(widget)) {
                QCOMPARE(widget->geometry(), designed);
                continue;
            }
            QCOMPARE(widget->pos(), designed.topLeft());
            QVERIFY(widget->width() >= designed.width() && widget->height() >= designed.height());
        }
        // The clock and the counter stay inside their frames.
        QVERIFY(form->Bevel1->geometry().contains(form->Label3->geometry()));
        QVERIFY(form->Bevel2->geometry().contains(form->Label5->geometry()));

        // The tiles, in creation order, stand in order with cell 16 bare.
        QCOMPARE(form->Panel1->findChildren<CaptionPanel*>(Qt::FindDirectChildrenOnly).size(), 15);
        for (int k = 1; k <= 15; ++k) {
            CaptionPanel* tile = form->TilePanel(k);
            QCOMPARE(form->Panel1->findChildren<CaptionPanel*>(Qt::FindDirectChildrenOnly).at(k - 1), tile);
            QCOMPARE(tile->geometry(), QRect(design::cellOrigin(k), QSize(design::kCellSide, design::kCellSide)));
            QCOMPARE(tile->caption(), QString::number(k));
        }
        QCOMPARE(form->Panel2, form->TilePanel(1));
        QCOMPARE(form->Panel16, form->TilePanel(15));
    }

    void startsIdleAndPlaysNothingBeforeTheFirstGame() {
        QCOMPARE(form->Label3->text(), kClockZero);
        QCOMPARE(form->Label5->text(), kCounterZero);
        QCOMPARE(form->Button1->text(), kCaptionStart);
        QVERIFY(!form->Panel1->isEnabled());
        QVERIFY(form->Label1->isHidden() && form->Panel17->isHidden() && form->Panel18->isHidden() &&
                form->Panel19->isHidden());
        QVERIFY(!form->Timer1->isActive() && !form->Timer2->isActive() && !form->Timer3->isActive());
        QCOMPARE(form->Timer1->interval(), 15);
        QCOMPARE(form->Timer2->interval(), 1000);
        QCOMPARE(form->Timer3->interval(), 1000);
        QVERIFY(!form->CheatArmed);

        // The board plays nothing before the first game.
        form->show();
        QTest::mouseClick(form->TilePanel(15), Qt::LeftButton);
        QTest::mouseDClick(form->Panel1, Qt::LeftButton, {}, QPoint(300, 300));
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down}) QTest::keyClick(form.get(), key);
        QCOMPARE(state.Board, engine::Grid{});
        QCOMPARE(form->Label5->text(), kCounterZero);
        QVERIFY(!form->Timer1->isActive() && !form->Timer3->isActive());
    }

    void menuHasItsItems() {
        QCOMPARE(form->mm1->actions(), (QList<QAction*>{form->N111->menuAction(), form->N7->menuAction()}));
        QCOMPARE(form->N111->title(), QStringLiteral("Пятнашки"));
        QCOMPARE(form->N7->title(), QStringLiteral("Справка"));
        QCOMPARE(form->N111->actions(), (QList<QAction*>{form->N11, form->N126, form->N10, form->N6}));
        QVERIFY(form->N10->isSeparator());
        QCOMPARE(form->N6->text(), QStringLiteral("Задать расстановку"));
        QCOMPARE(form->N7->actions(), (QList<QAction*>{form->N16, form->N8}));
        QCOMPARE(form->N8->text(), QStringLiteral("О программе"));

        // "Начать новую игру" is the button's command.
        form->N11->trigger();
        QCOMPARE(form->Button1->text(), kCaptionRestart);
        QVERIFY(form->Panel1->isEnabled());
    }

    void noCaptionIsClipped() {
        for (QLabel* label : {form->Label1, form->Label2, form->Label3, form->Label4, form->Label5}) {
            QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->text()));
        }
        for (const QString& caption : {kCaptionStart, kCaptionRestart}) {
            QVERIFY(QFontMetrics(form->Button1->font()).horizontalAdvance(caption) <= form->Button1->width() - 8);
        }
        const CaptionPanel* tile = form->TilePanel(1);
        for (int value = 1; value <= 15; ++value) {
            QVERIFY(QFontMetrics(tile->font()).horizontalAdvance(QString::number(value)) <=
                    tile->width() - 2 * tile->bevelInset());
        }
        // The celebration panels at their largest font.
        for (CaptionPanel* panel : {form->Panel17, form->Panel18, form->Panel19}) {
            QFont largest = panel->font();
            largest.setPixelSize(pointsToPixels(17));
            QVERIFY2(
                QFontMetrics(largest).horizontalAdvance(panel->caption()) <= panel->width() - 2 * panel->bevelInset(),
                qPrintable(panel->caption()));
            QVERIFY(QFontMetrics(largest).height() <= panel->height());
        }
    }

    // Under a dark scheme every text in a fixed colour on a desktop colour, or in a desktop
    // colour on a fixed one, reads at 4.5:1 at least, or as well as under the default scheme.
    void fixedColoursStayReadableUnderADarkScheme() {
        const std::map<QString, double> light = paintedContrasts();
        const QPalette desktop = QGuiApplication::palette();
        QApplication::setPalette(darkScheme());
        const std::map<QString, double> dark = paintedContrasts();
        QApplication::setPalette(desktop);
        for (const auto& [control, contrast] : dark) {
            // Thin strokes never reach their full colour, and their blended edges differ from
            // one background to another by a few hundredths.
            const double wanted = 0.95 * std::min(platform::kReadableContrast, light.at(control));
            const QString reading =
                QStringLiteral("%1 reads at %2:1 under the dark scheme, at %3:1 under the default one")
                    .arg(control)
                    .arg(contrast, 0, 'f', 2)
                    .arg(light.at(control), 0, 'f', 2);
            QVERIFY2(contrast >= wanted, qPrintable(reading));
        }
    }

    // Under a light scheme other than the toolkit's own, every desktop colour is the
    // scheme's, even where the toolkit's would read better beside a fixed colour.
    void aLightSchemeKeepsItsOwnColours() {
        const QPalette desktop = QGuiApplication::palette();
        const auto restore = qScopeGuard([&] { QApplication::setPalette(desktop); });
        QPalette scheme = desktop;
        const QColor text(35, 38, 39), window(224, 224, 224), highlight(53, 132, 228);
        scheme.setColor(QPalette::WindowText, text);
        scheme.setColor(QPalette::Window, window);
        scheme.setColor(QPalette::Button, window);
        scheme.setColor(QPalette::Highlight, highlight);
        QApplication::setPalette(scheme);
        makeWindow();  // made under the scheme
        TForm3 about;
        QCOMPARE(form->Label2->palette().color(QPalette::WindowText), text);
        QCOMPARE(form->Label4->palette().color(QPalette::WindowText), text);
        QCOMPARE(form->Label1->palette().color(QPalette::Window), highlight);
        QCOMPARE(about.Label2->palette().color(QPalette::Window), window);
        QCOMPARE(about.Label5->palette().color(QPalette::Window), window);
    }

    // The tiles stand out of the board in a raised bevel around a lowered one; the clock's
    // and the counter's frames are sunken. Bold and underline are each as designed.
    void bevelsAndFontStylesAreAsDesigned() {
        enum Edge { Raised, Sunken };
        // The left, top, right and bottom edges of a bevel `inset` pixels inside the control.
        const auto verifyBevel = [](const char* what, QWidget* control, int inset, Edge edge) {
            const QImage image = control->grab().toImage();
            const QRgb light = control->palette().color(QPalette::Active, QPalette::Light).rgb();
            const QRgb dark = control->palette().color(QPalette::Active, QPalette::Dark).rgb();
            QVERIFY(light != dark);
            const QRgb topLeft = edge == Raised ? light : dark, bottomRight = edge == Raised ? dark : light;
            const int right = image.width() - 1 - inset, bottom = image.height() - 1 - inset;
            const int x = image.width() / 4, y = image.height() / 4;
            QVERIFY2(image.pixel(inset, y) == topLeft && image.pixel(x, inset) == topLeft &&
                         image.pixel(right, y) == bottomRight && image.pixel(x, bottom) == bottomRight,
                     what);
        };
        verifyBevel("a tile's outer bevel", form->TilePanel(1), 0, Raised);
        verifyBevel("a tile's inner bevel", form->TilePanel(1), 2, Sunken);
        verifyBevel("the clock's frame", form->Bevel1, 0, Sunken);
        verifyBevel("the counter's frame", form->Bevel2, 0, Sunken);

        const struct {
            QWidget* control;
            bool bold, underline;
        } styles[] = {{form->TilePanel(1), true, false},
                      {form->Label2, false, true},
                      {form->Label4, true, true},
                      {form->Label3, false, false}};
        for (const auto& style : styles) {
            QCOMPARE(style.control->font().bold(), style.bold);
            QCOMPARE(style.control->font().underline(), style.underline);
        }
    }

    void disabledBoardKeepsTheTilesLook() {
        form->show();
        const QImage disabled = form->TilePanel(5)->grab().toImage();
        form->Panel1->setEnabled(true);
        QCOMPARE(form->TilePanel(5)->grab().toImage(), disabled);
    }

    // Last: it runs the event loop until the main window closes.
    void closingTheMainWindowEndsTheProgram() {
        QWidget about;
        form->setSecondaryWindows(nullptr, &about, nullptr);
        form->show();
        form->N8Click();
        QTimer::singleShot(0, form.get(), &QWidget::close);
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!form->isVisible());
    }
};

QTEST_MAIN(TestStartup)
#include "startup_test.moc"
