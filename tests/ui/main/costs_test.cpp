// What the main window spends beyond what its controls need: the windows the menu opens are
// made only when it first opens them, the window asks for faces the desktop has, a move
// repaints the path of the sliding tile, not the whole board, and a tile repaints from the
// face it keeps until something on it changes.
#include <QDialog>
#include <QFontInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include <functional>
#include <map>
#include <memory>

#include "form_fixture.h"

namespace {

// A dialog that closes itself once shown, so that a modal run of it returns.
class SelfClosingDialog : public QDialog {
protected:
    void showEvent(QShowEvent* event) override {
        QDialog::showEvent(event);
        QTimer::singleShot(0, this, &QDialog::reject);
    }
};

// Makes a window and counts it; `last` follows the last one made.
template <typename Window, typename Base>
std::function<std::unique_ptr<Base>()> countingMaker(int& made, QPointer<QWidget>* last = nullptr) {
    return [&made, last] {
        auto window = std::make_unique<Window>();
        if (last) *last = window.get();
        ++made;
        return std::unique_ptr<Base>(std::move(window));
    };
}

// Records the paint events of the widgets it watches, with the regions painted.
class PaintLog : public QObject {
public:
    void watch(QWidget* widget) { widget->installEventFilter(this); }
    std::map<QObject*, QRegion> painted;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted[watched] += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

// Paints what is pending now.
void flushPaints() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

}  // namespace

class TestCosts : public QObject, WindowUnderTest {
    Q_OBJECT

private slots:
    void initTestCase() { prepareGameApplication(); }
    void init() { makeWindow(); }
    void cleanup() { form.reset(); }

    void menuWindowsAreMadeWhenFirstOpenedAndKept() {
        int made2 = 0, made3 = 0, made4 = 0;
        QPointer<QWidget> about;
        form->setSecondaryWindowMakers(countingMaker<SelfClosingDialog, QDialog>(made2),
                                       countingMaker<QWidget, QWidget>(made3, &about),
                                       countingMaker<QWidget, QWidget>(made4));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCOMPARE(made2 + made3 + made4, 0);

        form->N8Click();
        QCOMPARE(made3, 1);
        QVERIFY(about && about->isVisible());
        about->close();
        QVERIFY(about && !about->isVisible());
        form->N8Click();
        QCOMPARE(made3, 1);
        QVERIFY(about->isVisible());

        form->N16Click();
        form->N16Click();
        QCOMPARE(made4, 1);

        form->N6Click();
        form->N6Click();
        QCOMPARE(made2, 1);
        QCOMPARE(made3, 1);
        // The made windows go with the main window.
        form.reset();
        QVERIFY(!about);
    }

    void windowAsksForFacesTheDesktopHas() {
        // The family asked for is the one given, so no search for a missing face is made.
        const QWidget* const widgets[] = {form->Label3, form->Panel2, form->Button1, form->Panel17};
        for (const QWidget* widget : widgets) {
            QCOMPARE(widget->font().family(), QFontInfo(widget->font()).family());
        }
        QVERIFY(form->Panel2->font().family() != form->Label3->font().family());
    }

    void enablingOrDisablingTheBoardRepaintsNothing() {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->repaint();
        PaintLog log;
        log.watch(form->Panel1);
        for (int k = 1; k <= TForm1::kTileCount; ++k) log.watch(form->TilePanel(k));

        form->Panel1->setEnabled(true);
        flushPaints();
        form->Panel1->setEnabled(false);
        flushPaints();
        QVERIFY(log.painted.empty());
    }

    void moveRepaintsOnlyThePathOfItsTile() {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        playLayout(*form, state, kNearSolved);
        form->repaint();
        CaptionPanel* tile14 = panelShowing(*form, 14);
        PaintLog log;
        log.watch(form->Panel1);
        for (int k = 1; k <= TForm1::kTileCount; ++k) log.watch(form->TilePanel(k));

        // Tile 14 slides right from cell 14 into cell 15, one frame a tick.
        QTest::mouseClick(tile14, Qt::LeftButton);
        flushPaints();
        for (int tick = 0; tick < 9; ++tick) {
            form->Timer1Timer();
            flushPaints();
        }
        QVERIFY(!form->Timer1->isActive());
        QCOMPARE(tile14->pos(), design::cellOrigin(15));

        const QRect path(design::cellOrigin(14), QSize(2 * design::kCellSide, design::kCellSide));
        QVERIFY(log.painted.count(tile14));
        QVERIFY(log.painted.count(form->Panel1));
        QCOMPARE(path.united(log.painted[form->Panel1].boundingRect()), path);  // nothing beyond the path
        for (int k = 1; k <= TForm1::kTileCount; ++k) {
            if (form->TilePanel(k) == tile14) continue;
            QVERIFY2(!log.painted.count(form->TilePanel(k)), qPrintable(form->TilePanel(k)->caption()));
        }
    }

    void aKeptFaceShowsEveryChange() {
        const std::pair<const char*, std::function<void(CaptionPanel&)>> changes[] = {
            {"caption", [](CaptionPanel& panel) { panel.setCaption(QStringLiteral("13")); }},
            {"font colour", [](CaptionPanel& panel) { panel.setFontColor(Qt::red); }},
            {"colour", [](CaptionPanel& panel) { panel.setColor(QColor(200, 230, 250)); }},
            {"font",
             [](CaptionPanel& panel) {
                 QFont font = panel.font();
                 font.setPixelSize(40);
                 panel.setFont(font);
             }},
            {"bevels",
             [](CaptionPanel& panel) {
                 panel.setBevels(CaptionPanel::Bevel::Lowered, CaptionPanel::Bevel::Raised, 3);
             }},
            {"size", [](CaptionPanel& panel) { panel.resize(70, 80); }},
            {"the board's palette",
             [](CaptionPanel& panel) {
                 QPalette palette = panel.parentWidget()->palette();
                 palette.setColor(QPalette::Light, Qt::magenta);
                 panel.parentWidget()->setPalette(palette);
             }},
        };
        for (const auto& [name, change] : changes) {
            makeWindow();
            // Two tiles alike; only the first has been painted when the change comes.
            CaptionPanel& kept = *form->TilePanel(5);
            CaptionPanel& fresh = *form->TilePanel(6);
            fresh.setCaption(kept.caption());
            const QImage before = kept.grab().toImage();

            change(kept);
            change(fresh);
            const QImage after = kept.grab().toImage();
            QVERIFY2(after != before, name);
            QVERIFY2(after == fresh.grab().toImage(), name);
        }
    }
};

QTEST_MAIN(TestCosts)
#include "costs_test.moc"
