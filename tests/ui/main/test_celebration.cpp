// The victory display: the win trigger, the thirteen draws of a celebration tick with their
// ranges and coupled colours, the stacking of the panels, and the commands that end it.
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <array>
#include <random>

#include "form_fixture.h"
#include "scripted_random.h"
#include "ui/main/font_points.h"

namespace {

const std::array<QColor, 5> kBackgrounds = {QColor(128, 128, 0), QColor(192, 192, 192), QColor(255, 255, 0),
                                            QColor(0, 0, 255), QColor(128, 128, 128)};
const std::array<QColor, 5> kTexts = {QColor(128, 0, 128), QColor(0, 255, 255), QColor(128, 0, 0),
                                      QColor(0, 255, 0), QColor(255, 0, 0)};

int indexOf(const std::array<QColor, 5>& table, const QColor& color) {
    const auto found = std::find(table.begin(), table.end(), color);
    return found == table.end() ? -1 : static_cast<int>(found - table.begin());
}

// Wins the game with one move from the near-solved layout.
void winByOneMove(TForm1& form, engine::PuzzleState& state) {
    playLayout(form, state, kNearSolved);
    form.Panel2Click(form.TilePanel(15));
}

}  // namespace

class TestCelebration : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { prepareGameApplication(); }

    void aWinLocksTheBoardAndWaitsForTheFirstTick() {
        engine::PuzzleState state;
        TForm1 form(state);
        form.Label3->setText(QStringLiteral("00:02:03"));
        winByOneMove(form, state);
        QVERIFY(!form.Panel1->isEnabled());
        QVERIFY(!form.Timer3->isActive());
        QVERIFY(!form.Label1->isHidden());
        QVERIFY(form.Timer2->isActive());
        QVERIFY(form.Panel17->isHidden() && form.Panel18->isHidden() && form.Panel19->isHidden());
        QCOMPARE(form.Label5->text(), QStringLiteral("00001"));
    }

    void aTickDrawsThirteenNumbersInOrder() {
        engine::PuzzleState state;
        TForm1 form(state);
        winByOneMove(form, state);
        ScriptedRandom random(ScriptedRandom::sequence({10, 20, 0, 30, 40, 7, 329, 399, 3, 0, 4, 2, 1}));
        form.Timer2Timer();

        QCOMPARE(random.requests, (std::vector<int>{330, 400, 8, 330, 400, 8, 330, 400, 8, 5, 5, 5, 5}));
        QVERIFY(form.Panel17->isVisibleTo(&form) && form.Panel18->isVisibleTo(&form) &&
                form.Panel19->isVisibleTo(&form));
        QCOMPARE(form.Panel17->pos(), QPoint(10, 20));
        QCOMPARE(form.Panel18->pos(), QPoint(30, 40));
        QCOMPARE(form.Panel19->pos(), QPoint(329, 399));
        QCOMPARE(form.Panel17->font().pixelSize(), pointsToPixels(10));
        QCOMPARE(form.Panel18->font().pixelSize(), pointsToPixels(17));
        QCOMPARE(form.Panel19->font().pixelSize(), pointsToPixels(13));
        QCOMPARE(form.Panel17->color(), QColor(128, 128, 0));      // olive
        QCOMPARE(form.Panel17->fontColor(), QColor(255, 0, 0));    // red
        QCOMPARE(form.Panel18->color(), QColor(128, 128, 128));    // grey
        QCOMPARE(form.Panel18->fontColor(), QColor(128, 0, 0));    // maroon
        QCOMPARE(form.Panel19->color(), QColor(255, 255, 0));      // yellow
        QCOMPARE(form.Panel19->fontColor(), QColor(0, 255, 255));  // aqua

        // Panel19 on top, Panel18 under it, Panel17 under both, all above the rest.
        const QObjectList stack = form.clientArea()->children();
        QCOMPARE(stack.mid(stack.size() - 3), (QObjectList{form.Panel17, form.Panel18, form.Panel19}));
    }

    void ticksStayInRangeWithCoupledColours() {
        engine::PuzzleState state;
        TForm1 form(state);
        winByOneMove(form, state);
        ScriptedRandom random([generator = std::mt19937(2024)](int, int n) mutable {
            return std::uniform_int_distribution<int>(0, n - 1)(generator);
        });
        const QRect client(QPoint(0, 0), form.clientArea()->size());
        for (int tick = 0; tick < 300; ++tick) {
            form.Panel1->setEnabled(true);
            form.Timer2Timer();
            QVERIFY(!form.Panel1->isEnabled());
            for (CaptionPanel* panel : {form.Panel17, form.Panel18, form.Panel19}) {
                QVERIFY(panel->x() >= 0 && panel->x() < 330 && panel->y() >= 0 && panel->y() < 400);
                QVERIFY(client.contains(panel->geometry()));
                QVERIFY(!panel->geometry().intersects(form.Button1->geometry()));
                QVERIFY(!panel->geometry().intersects(form.Label1->geometry()));
                QVERIFY(panel->font().pixelSize() >= pointsToPixels(10) && panel->font().pixelSize() <= pointsToPixels(17));
            }
            QCOMPARE(indexOf(kBackgrounds, form.Panel18->color()), indexOf(kTexts, form.Panel17->fontColor()));
            QCOMPARE(indexOf(kBackgrounds, form.Panel19->color()), indexOf(kTexts, form.Panel18->fontColor()));
            QVERIFY(indexOf(kBackgrounds, form.Panel17->color()) >= 0 && indexOf(kTexts, form.Panel19->fontColor()) >= 0);
        }
        QCOMPARE(random.requests.size(), 300u * 13u);
    }

    void aNewGameEndsTheCelebration() {
        engine::PuzzleState state;
        TForm1 form(state);
        winByOneMove(form, state);
        finishSlide(form);
        form.Timer2Timer();
        form.Button1Click();
        QVERIFY(form.Panel17->isHidden() && form.Panel18->isHidden() && form.Panel19->isHidden());
        QVERIFY(form.Label1->isHidden());
        QVERIFY(!form.Timer2->isActive());
        QVERIFY(form.Panel1->isEnabled() && form.Timer3->isActive());
        QCOMPARE(form.Label5->text(), kCounterZero);
    }
};

QTEST_MAIN(TestCelebration)
#include "test_celebration.moc"
