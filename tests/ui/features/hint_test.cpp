// The two answers of the solver service, each test on a fresh window. The hint: the next tile
// of a shortest solution in red and the moves left on the message line, found off the GUI
// thread, dropped by any change of the board, and followed to the win. The par: at a win by
// play, the line tells the fewest moves the game's starting position needed, sought at the
// win. Nothing of the solver runs during play until the player asks for a hint, and the line
// keeps to its strip below the button, its text whole or cut with "…", at any font and scale.
#include <QAccessible>
#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QTemporaryFile>
#include <QtTest>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "app/tables_path.h"
#include "form_fixture.h"
#include "solver/solver.h"
#include "solving/solver_service.h"
#include "ui/features/hint.h"
#include "ui/features/move_count_words.h"
#include "ui/features/par.h"

namespace {

std::string tablesPath() { return TablesPathFor(PLITON_TEST_PROGRAM_DIR); }

const QColor kNavy(0, 0, 128);

// A game on `layout` with the hint's tables; the clock stopped, so that it stands still.
void playWithHints(WindowUnderTest& game, const engine::Grid& layout, SolveFunction solve = solver::Solve) {
    game.solver->setTables(tablesPath(), std::move(solve));
    game.form->show();
    playLayout(*game.form, game.state, layout);
    game.form->Timer3->stop();
    game.form->Button1->setFocus();
}

void pressH(TForm1& form) { QTest::keyClick(form.Button1, Qt::Key_H); }

// The line (`shown` reads it) keeps `text` for longer than a slow hint takes to say that it
// is coming, or a search of a few moves takes.
bool stays(QString (*shown)(const TForm1&), const TForm1& form, const QString& text, int ms = 400) {
    return !QTest::qWaitFor([&] { return shown(form) != text; }, ms);
}

// The lines that the program itself (not Qt) writes to standard error while `run` runs.
QStringList programErrorLines(const std::function<void()>& run) {
    QTemporaryFile file;
    if (!file.open()) return {QStringLiteral("no temporary file")};
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    dup2(file.handle(), STDERR_FILENO);
    run();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    file.seek(0);
    return QString::fromUtf8(file.readAll()).split(u'\n').filter(QRegularExpression(QStringLiteral("^pliton: ")));
}

// Six moves from the goal, each tile of the solution one cell from its own: no shorter way.
const engine::Grid kSixMovesOut = GridOf("0 2 3 4 / 1 6 7 8 / 5 10 11 12 / 9 13 14 15");
const std::vector<int> kSixMoves = {1, 5, 9, 13, 14, 15};

void play(TForm1& form, const std::vector<int>& tiles) {
    for (int tile : tiles) {
        QTest::mouseClick(panelShowing(form, tile), Qt::LeftButton);
        finishSlide(form);
    }
}

// A search that the test ends: it answers `length` moves once released, and counts the
// searches under way, the most at once and those cancelled.
struct HeldSearch {
    int length = 6;
    std::atomic<bool> released{false};
    std::atomic<int> running{0}, most{0}, cancelled{0};

    SolveFunction solver() {
        return [this](const engine::Grid&, const solver::PatternDatabases&, const std::atomic<bool>& cancel,
                      const solver::BoundReached&, solver::Worker*) {
            const int now = ++running;
            for (int seen = most.load(); now > seen && !most.compare_exchange_weak(seen, now);) {
            }
            while (!released.load() && !cancel.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            --running;
            if (!released.load()) {
                ++cancelled;
                return solver::Solution{};
            }
            return solver::Solution{solver::SolveOutcome::Solved,
                                    std::vector<std::uint8_t>(static_cast<std::size_t>(length)), 0};
        };
    }
};

// The scale of the screen this program runs on.
int screenScale() { return qRound(QGuiApplication::primaryScreen()->devicePixelRatio()); }

// What a screen reader hears of the message line.
QString heard(const TForm1& form) {
    return QAccessible::queryAccessibleInterface(messageLine(form))->text(QAccessible::Name);
}

}  // namespace

class TestHint : public QObject, WindowUnderTest {
    Q_OBJECT

private slots:
    void initTestCase() { prepareGameApplication(); }
    void init() { makeWindow(); }
    void cleanup() { form.reset(); }

    void hintsFollowedToTheWinCountDownOneByOne() {
        playWithHints(*this, kFortyFive);

        for (int left = 45; left > 0; --left) {
            const QString counter = form->Label5->text();
            const engine::Grid board = state.Board;
            if (left % 2) {
                pressH(*form);
            } else {  // the same key on a Russian layout
                QTest::sendKeyEvent(QTest::Click, form->Button1, kKeyCyrillicEr, QStringLiteral("р"), {});
            }
            const QString movesLeft = kHintMovesLeft + QString::number(left);
            if (left == 45) {
                QTRY_COMPARE(hintText(*form), movesLeft);
            } else {  // on the path already found: at once
                QCOMPARE(hintText(*form), movesLeft);
            }
            CaptionPanel* tile = hintedTile(*form);
            QVERIFY(tile);
            QCOMPARE(tile->fontColor(), kHintedCaption);
            // A screen reader hears the tile that the colour alone shows.
            QCOMPARE(heard(*form), QStringLiteral("Плитка %1. %2").arg(tile->caption(), movesLeft));
            // The hint itself moves nothing and counts nothing.
            QCOMPARE(state.Board, board);
            QCOMPARE(form->Label5->text(), counter);
            QCOMPARE(form->Label3->text(), QStringLiteral("00:00:00"));

            QTest::mouseClick(tile, Qt::LeftButton);
            QCOMPARE(hintText(*form), QString());
            QVERIFY(!hintedTile(*form));
            QCOMPARE(tile->fontColor(), kNavy);
            finishSlide(*form);
        }
        QVERIFY(form->Label1->isVisible());
        QCOMPARE(form->Label5->text(), QStringLiteral("00045"));

        // The game is won: no more hints.
        pressH(*form);
        QCOMPARE(hintText(*form), QString());
    }

    void everyChangeOfTheBoardTakesTheHintAway() {
        playWithHints(*this, kFortyFive);
        pressH(*form);
        QTRY_COMPARE(hintText(*form), kHintMovesLeft + QStringLiteral("45"));

        const std::pair<const char*, std::function<void()>> changes[] = {
            {"new game", [&] { form->Button1Click(); }},
            {"Собранный расклад", [&] { form->N126Click(); }},
            {"cheat",
             [&] {
                 form->CheatArmed = true;
                 form->Panel1DblClick();
             }},
            {"arrangement", [&] { playLayout(*form, state, kSwapped); }},
            {"arrangement dialog", [&] { form->N6Click(); }},
            {"forced reset", [&] { form->perebor(); }},
            {"win",
             [&] {  // a forced reset leaves the goal playable: a click on a tile wins
                 form->perebor();
                 pressH(*form);
                 QCOMPARE(hintText(*form), kHintMovesLeft + QStringLiteral("0"));
                 QTest::mouseClick(panelShowing(*form, 1), Qt::LeftButton);
                 QVERIFY(form->Label1->isVisible());
             }},
        };
        for (const auto& [name, change] : changes) {
            playLayout(*form, state, kFortyFive);
            pressH(*form);  // on the path found before: at once
            QVERIFY2(hintedTile(*form), name);
            change();
            QVERIFY2(hintText(*form).isEmpty(), name);
            QVERIFY2(!hintedTile(*form), name);
            for (int k = 1; k <= TForm1::kTileCount; ++k) QVERIFY2(form->TilePanel(k)->fontColor() == kNavy, name);
        }
    }

    void aLongSearchSaysWhatItHasProvedUntilItGivesUp() {
        // A search whose bound the test sets, after a silence the test sets too; past 80 it
        // gives up, as one on tables that overestimate does.
        std::atomic<int> proved{-1}, silentMs{0};
        playWithHints(
            *this, kFortyFive,
            [&proved, &silentMs](const engine::Grid&, const solver::PatternDatabases&, const std::atomic<bool>& cancel,
                                 const solver::BoundReached& boundReached, solver::Worker*) {
                std::this_thread::sleep_for(std::chrono::milliseconds(silentMs.load()));
                for (int bound, told = -1; !cancel.load() && (bound = proved.load()) <= 80;) {
                    if (bound != told) boundReached(told = bound);
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
                return solver::Solution{};
            });
        pressH(*form);
        QCOMPARE(hintText(*form), QString());  // a quick hint would need no word of waiting
        QTRY_COMPARE_WITH_TIMEOUT(hintText(*form), kHintComing, 1000);
        for (const auto& [moves, text] : {std::pair{11, "11 ходов"}, {61, "61 хода"}, {80, "80 ходов"}}) {
            proved.store(moves);
            QTRY_COMPARE_WITH_TIMEOUT(hintText(*form),
                                      kHintComing + QStringLiteral(" не меньше ") + QString::fromUtf8(text), 1000);
        }
        pressH(*form);  // asked again: the search goes on
        QCOMPARE(hintText(*form), kHintComing + QStringLiteral(" не меньше 80 ходов"));

        const QStringList said = programErrorLines([&] {
            proved.store(82);
            QTRY_COMPARE_WITH_TIMEOUT(hintText(*form), kHintUnavailable, 1000);
        });
        QCOMPARE(said.size(), 1);

        // A second long search, silent past the word of waiting, tells its own bound from its
        // start, never the first one's.
        proved.store(20);
        silentMs.store(400);
        pressH(*form);
        QTRY_COMPARE_WITH_TIMEOUT(hintText(*form), kHintComing, 1000);
        const QString ownBound = kHintComing + QStringLiteral(" не меньше 20 ходов");
        QElapsedTimer waited;
        waited.start();
        while (hintText(*form) != ownBound && waited.elapsed() < 1000) {
            QVERIFY2(!hintText(*form).contains(QStringLiteral("80")), qPrintable(hintText(*form)));
            QTest::qWait(1);
        }
        QCOMPARE(hintText(*form), ownBound);
        solver->cancel();  // the search reads `proved`, which ends with the test
    }

    void aMoveDropsTheSearchUnderWay() {
        // A move right after the first hint of a run does not wait for the tables to load.
        const auto slowLoad = [](const std::string& path, std::string* why) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2 * kPromptStopMs));
            return solver::PatternDatabases::Load(path, why);
        };
        solver->setTables(tablesPath(), solver::Solve, slowLoad);
        form->show();
        playLayout(*form, state, kFortyFive);
        pressH(*form);
        QTest::keyClick(form->Button1, Qt::Key_Left);
        QVERIFY(!solver->searching());
        QVERIFY(form->Timer1->isActive());
        finishSlide(*form);

        playWithHints(*this, kEightyMovesOut);
        pressH(*form);
        // Still searching after a while: the line says what the search has proved, and the
        // window goes on meanwhile.
        QTRY_VERIFY(hintText(*form).startsWith(kHintComing + QStringLiteral(" не меньше ")));

        QTest::keyClick(form->Button1, Qt::Key_Up);  // the tile below the blank
        QVERIFY(!solver->searching());
        QCOMPARE(state.Board.at(1), 15);
        QCOMPARE(hintText(*form), QString());
        finishSlide(*form);
        QVERIFY(stays(hintText, *form, QString()));
        QVERIFY(!hintedTile(*form));

        // Asked again, and a move 50 ms later, before a slow hint says that it is coming: it
        // never says so.
        pressH(*form);
        QTest::qWait(50);
        QTest::keyClick(form->Button1, Qt::Key_Up);
        finishSlide(*form);
        QVERIFY(stays(hintText, *form, QString(), 600));
    }

    // An answer that comes within a tenth of a second never says that it is coming.
    void aQuickAnswerComesWithoutAWordOfWaiting() {
        playWithHints(
            *this, kFortyFive,
            [](const engine::Grid& board, const solver::PatternDatabases& tables, const std::atomic<bool>& cancel,
               const solver::BoundReached& boundReached, solver::Worker* helper) {
                std::this_thread::sleep_for(std::chrono::milliseconds(80));
                return solver::Solve(board, tables, cancel, boundReached, helper);
            });
        pressH(*form);  // the first hint reads the tables, which may take a while
        QTRY_COMPARE(hintText(*form), kHintMovesLeft + QStringLiteral("45"));

        // Korf's no. 42: 42 moves, found in under a millisecond, and the answer 80 ms after asking.
        playLayout(*form, state, GridOf("6 1 15 8 / 5 10 13 0 / 3 4 2 7 / 14 9 11 12"));
        pressH(*form);
        QElapsedTimer waited;
        waited.start();
        while (!hintText(*form).startsWith(kHintMovesLeft) && waited.elapsed() < 2000) {
            QVERIFY2(!hintText(*form).startsWith(kHintComing), qPrintable(hintText(*form)));
            QTest::qWait(1);
        }
        QCOMPARE(hintText(*form), kHintMovesLeft + QStringLiteral("42"));
    }

    // An odd arrangement: no tile can be pointed at. The context menu's one item asks.
    void aHintWithoutATileToShow() {
        solver->setTables(tablesPath());
        form->show();
        playLayout(*form, state, kSwapped);
        form->ClientAreaContextMenu(QPoint(5, 5));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QAction* item = menu->actions().constFirst();
        QCOMPARE(item->text(), kHintItem);
        item->trigger();
        QCOMPARE(hintText(*form), kHintCannotBeSolved);
        QVERIFY(!hintedTile(*form));
        QVERIFY(stays(hintText, *form, kHintCannotBeSolved));

        // Tables that cannot be read give a plain word, never a wrong answer, and one line on
        // standard error with the loader's own reason.
        solver->setTables("no such tables");
        const QStringList said = programErrorLines([&] {
            for (int game = 0; game < 2; ++game) {
                playLayout(*form, state, kFortyFive);
                QTest::keyClick(form.get(), Qt::Key_H);
                QTRY_COMPARE_WITH_TIMEOUT(hintText(*form), kHintUnavailable, 1000);
                QVERIFY(!hintedTile(*form));
            }
        });
        QCOMPARE(said.size(), 1);
        QVERIFY2(said.constFirst().contains(QStringLiteral("no such tables: ")), qPrintable(said.constFirst()));
    }

    // The par.

    // The count's word, as the par says it and as the waiting hint does after "не меньше".
    void theTextsCountTheMoves() {
        const struct {
            int moves;
            const char *counted, *atLeast;
        } rows[] = {
            {0, "ходов", "ходов"},  {1, "ход", "хода"},      {2, "хода", "ходов"},    {4, "хода", "ходов"},
            {5, "ходов", "ходов"},  {11, "ходов", "ходов"},  {12, "ходов", "ходов"},  {14, "ходов", "ходов"},
            {21, "ход", "хода"},    {22, "хода", "ходов"},   {45, "ходов", "ходов"},  {61, "ход", "хода"},
            {80, "ходов", "ходов"}, {111, "ходов", "ходов"}, {112, "ходов", "ходов"}, {121, "ход", "хода"},
        };
        for (const auto& row : rows) {
            const QString said = kParShortest + QString::number(row.moves) + u' ' + QString::fromUtf8(row.counted);
            QCOMPARE(Par::text(row.moves, row.moves, 0), said + kParFound);
            QCOMPARE(Par::text(row.moves, row.moves + 3, 0), said);
            QCOMPARE(Par::text(row.moves, row.moves, 2), said + kParHints + QStringLiteral("2"));
            QCOMPARE(move_count_words::movesAfterAtLeast(row.moves).toString(), QString::fromUtf8(row.atLeast));
        }
    }

    void onlyAWinByPlayTellsThePar() {
        const struct {
            const char* name;
            bool tables;
            std::function<void(TForm1&, engine::PuzzleState&)> win;
            QString par;  // empty: none told
        } ways[] = {
            {"the shortest way", true, [](TForm1& window, engine::PuzzleState&) { play(window, kSixMoves); },
             kParShortest + QStringLiteral("6 ходов") + kParFound},
            {"a longer way", true,
             [](TForm1& window, engine::PuzzleState&) {
                 play(window, {1, 1, 1, 5, 9, 13, 14, 15});
             },
             kParShortest + QStringLiteral("6 ходов")},
            {"the shortcut", true,
             [](TForm1& window, engine::PuzzleState&) {
                 window.FormDblClick();
                 window.Panel1DblClick();
                 play(window, {15});
             },
             QString()},
            {"a solved arrangement", true,
             [](TForm1& window, engine::PuzzleState& game) { playLayout(window, game, kOrdered); }, QString()},
            {"no tables", false, [](TForm1& window, engine::PuzzleState&) { play(window, kSixMoves); }, QString()},
        };
        for (const auto& way : ways) {
            makeWindow();
            solver->setTables(way.tables ? tablesPath() : std::string("no such tables"));
            form->show();
            playLayout(*form, state, kSixMovesOut);
            // Without tables the par says nothing, not even on standard error.
            const QStringList said = programErrorLines([&] {
                way.win(*form, state);
                QVERIFY2(form->Label1->isVisible(), way.name);
                if (way.par.isEmpty()) QVERIFY2(stays(parText, *form, QString()), way.name);
            });
            QVERIFY2(said.isEmpty(), qPrintable(said.join(u'\n')));
            if (way.par.isEmpty()) continue;
            QTRY_COMPARE_WITH_TIMEOUT(parText(*form), way.par, 2000);
            QVERIFY2(stays(parText, *form, way.par), way.name);
            QCOMPARE(heard(*form), way.par);
            // The cue on the locked board covers it until the next key, and it comes back.
            pressH(*form);
            QVERIFY(!cueText(*form).isEmpty());
            QCoreApplication::processEvents();
            QTest::keyClick(form->Button1, Qt::Key_Shift);
            QCOMPARE(parText(*form), way.par);
            // The victory display is the same, and the next game takes the par away.
            QCOMPARE(form->Label1->text(), kWon);
            form->Button1Click();
            QCOMPARE(parText(*form), QString());
        }
    }

    void theParIsSoughtAtTheWin() {
        HeldSearch search;
        solver->setTables(tablesPath(), search.solver());
        form->show();

        // Nothing is sought while the game is played; won, the par comes when it is known.
        playLayout(*form, state, kSixMovesOut);
        play(*form, {1, 5, 9, 13, 14});
        QCOMPARE(solver->searchesStarted(), 0);
        play(*form, {15});
        QVERIFY(solver->searching());
        QVERIFY(stays(parText, *form, QString()));
        search.released = true;
        QTRY_COMPARE(parText(*form), kParShortest + QStringLiteral("6 ходов") + kParFound);

        // The same position played again (Ctrl+R): known, so the par comes with the win.
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTest::keySequence(form.get(), QKeySequence(Qt::CTRL | Qt::Key_R));
        QCOMPARE(state.Board, kSixMovesOut);
        QCOMPARE(parText(*form), QString());
        play(*form, kSixMoves);
        QCOMPARE(parText(*form), kParShortest + QStringLiteral("6 ходов") + kParFound);
        QCOMPARE(solver->searchesStarted(), 1);

        // A board changed between the win and the par: none told, and a new game ends the search.
        search.released = false;
        const engine::Grid sevenOut = GridOf("2 0 3 4 / 1 6 7 8 / 5 10 11 12 / 9 13 14 15");
        const std::function<void()> changes[] = {[&] { form->N126Click(); }, [&] { form->Button1Click(); }};
        for (const auto& change : changes) {
            playLayout(*form, state, sevenOut);
            play(*form, {2, 1, 5, 9, 13, 14, 15});
            QTRY_COMPARE(search.running.load(), 1);
            change();
            QVERIFY(!solver->searching());
            QVERIFY(stays(parText, *form, QString()));
        }
        QCOMPARE(search.cancelled.load(), 2);
        QCOMPARE(search.most.load(), 1);

        // A game hinted from its start has its par at the win at once.
        search.released = true;
        playLayout(*form, state, sevenOut);
        pressH(*form);
        QTRY_COMPARE(hintText(*form), kHintMovesLeft + QStringLiteral("6"));
        const int searches = solver->searchesStarted();
        play(*form, {2, 1, 5, 9, 13, 14, 15});
        QCOMPARE(parText(*form), kParShortest + QStringLiteral("6 ходов") + kParHints + QStringLiteral("1"));
        QCOMPARE(solver->searchesStarted(), searches);
        // Played again, the game counts its own hints.
        form->ReplayDeal();
        play(*form, {2, 1, 5, 9, 13, 14, 15});
        QCOMPARE(parText(*form), kParShortest + QStringLiteral("6 ходов"));
    }

    // During play nothing asks the solver (which reads no tables and starts no thread before
    // its first search) or writes a word until the player presses H or wins.
    void aPlayedGameRunsNothingUntilHOrTheWin() {
        for (const bool byHint : {true, false}) {
            makeWindow();
            solver->setTables(tablesPath());
            form->show();
            const QStringList said = programErrorLines([&] {
                form->Button1Click();  // a deal, some moves, then a typed-in position
                for (int move = 0; move < 20; ++move) {
                    const int blank = engine::LastBlankCell(state.Board);
                    const int beside = blank > 4 ? blank - 4 : blank + 4;
                    QTest::mouseClick(panelShowing(*form, state.Board.at(beside)), Qt::LeftButton);
                    finishSlide(*form);
                }
                playLayout(*form, state, kSixMovesOut);
                play(*form, {1, 5, 9, 13, 14});
                QTest::qWait(20);
            });
            QVERIFY2(said.isEmpty(), qPrintable(said.join(u'\n')));
            QCOMPARE(solver->searchesStarted(), 0);
            if (byHint) {
                pressH(*form);
                QVERIFY(solver->searching());
                QTRY_COMPARE(hintText(*form), kHintMovesLeft + QStringLiteral("1"));
            } else {
                play(*form, {15});
                QTRY_VERIFY(!parText(*form).isEmpty());
            }
        }
    }

    // The line at desktop fonts of 8, 11, 14 and 24 points and at scales 1 and 2 (each scale
    // in a program of its own: the second runs this one again, on a screen of scale 2).
    void theLineKeepsToItsStrip_data() {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("scale");
        for (const int scale : {1, 2}) {
            for (const int points : {8, 11, 14, 24}) QTest::addRow("%d pt, scale %d", points, scale) << points << scale;
        }
    }

    void theLineKeepsToItsStrip() {
        QFETCH(int, points);
        QFETCH(int, scale);
        if (scale != screenScale()) {
#ifdef PLITON_UNDER_TSAN
            QSKIP("the other scale runs in a program of its own, and ThreadSanitizer cannot follow a fork");
#endif
            QProcess again;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("PLITON_TEST_SCALE"), QString::number(scale));
            again.setProcessEnvironment(environment);
            again.setProcessChannelMode(QProcess::ForwardedChannels);
            QStringList arguments = {QStringLiteral("theLineKeepsToItsStrip:") +
                                     QString::fromUtf8(QTest::currentDataTag())};
            // The mark that keeps QtTest's watchdog away under ThreadSanitizer (tests/CMakeLists.txt).
            if (QCoreApplication::arguments().contains(QStringLiteral("-callgrindchild"))) {
                arguments << QStringLiteral("-callgrindchild");
            }
            again.start(QCoreApplication::applicationFilePath(), arguments);
            QVERIFY(again.waitForFinished(120000));
            QCOMPARE(again.exitCode(), 0);
            return;
        }
        const QFont before = QApplication::font();
        QFont desktop = before;
        desktop.setPointSize(points);
        QApplication::setFont(desktop);
        const auto restore = qScopeGuard([&] { QApplication::setFont(before); });
        makeWindow();
        solver->setTables(tablesPath());
        form->show();
        const MessageLine* line = messageLine(*form);
        // Within the strip, clear of every control, its text whole, or cut with "…" and
        // heard whole.
        const auto keepsToItsStrip = [&](const QString& message) {
            QCOMPARE(line->message(), message);
            QVERIFY(design::kFreeStrip.contains(line->geometry()));
            for (const QWidget* control : clientArea(*form)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (control != line && control->isVisible()) QVERIFY(!control->geometry().intersects(line->geometry()));
            }
            const QFontMetrics metrics(line->font());
            QVERIFY(metrics.height() <= line->contentsRect().height());
            QVERIFY(metrics.horizontalAdvance(line->text()) <= line->contentsRect().width());
            QVERIFY(line->text() == message || (line->text().endsWith(u'…') && points > 14));
            QVERIFY(heard(*form).endsWith(message));
        };
        playLayout(*form, state, kSixMovesOut);
        pressH(*form);
        QTRY_COMPARE(hintText(*form), kHintMovesLeft + QStringLiteral("6"));
        keepsToItsStrip(kHintMovesLeft + QStringLiteral("6"));
        play(*form, kSixMoves);
        QTRY_VERIFY(!parText(*form).isEmpty());
        keepsToItsStrip(kParShortest + QStringLiteral("6 ходов") + kParHints + QStringLiteral("1"));
        pressH(*form);
        keepsToItsStrip(QStringLiteral("Нажмите «Начать заново», чтобы начать игру"));
    }
};

int main(int argc, char** argv) {
    // A screen of 1920 x 1080 at the scale asked for (1 unless the test runs itself again).
    const int scale = qEnvironmentVariableIntValue("PLITON_TEST_SCALE") == 2 ? 2 : 1;
    QTemporaryFile config;
    if (!config.open()) return 1;
    config.write(QStringLiteral(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": %1, "height": %2,)"
                                R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": %3}]})")
                     .arg(1920 * scale)
                     .arg(1080 * scale)
                     .arg(scale)
                     .toUtf8());
    config.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    QApplication app(argc, argv);
    TestHint test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "hint_test.moc"
