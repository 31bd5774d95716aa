// The game commands, the clock and the move counter. The clock and the counter are kept
// only as the texts of Label3 and Label5, read back and rewritten at each tick and move.
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTime>
#include <QTimer>

#include <stdexcept>

#include "engine/deal.h"
#include "engine/moves.h"
#include "engine/random_source.h"
#include "tform1.h"
#include "ui/features/hint.h"
#include "ui/features/par.h"
#include "ui/platform/message_box.h"
#include "ui/widgets/caption_panel.h"

namespace {

constexpr QStringView kClockFormat = u"hh:mm:ss";
// The tick that brings the clock here resets the game.
constexpr QStringView kClockLimit = u"23:59:00";

constexpr int kCounterDigits = 5;
constexpr int kFirstRemarkAt = 1000;
constexpr int kSecondRemarkAt = 2000;
constexpr int kLastMoveCounted = 99998;  // the count before the move that resets the game

constexpr QStringView kFirstRemark = u"Ну ничего себе ты сделал ходов!";
constexpr QStringView kSecondRemark = u"Поздравляем, ты удвоил(-а) свой предыдущий рекорд";
constexpr QStringView kResetRemark =
    u"надо же, и хватило же терпения сделать столько ходов.Игра будет сборшена ввиду приколов";

void switchOn(QTimer* timer) {
    if (!timer->isActive()) timer->start();
}

}  // namespace

void TForm1::resetCounterAndClock() {
    Label5->setText(kCounterZero.toString());
    Label3->setText(kClockZero.toString());
    CheatArmed = false;
}

void TForm1::showFreshBoard(void (*prepare)(engine::PuzzleState&)) {
    Panel1->setEnabled(true);
    prepare(state_);
    ShowBoard();
    Button1->setText(kCaptionRestart.toString());
}

void TForm1::Button1Click() {
    Timer1->stop();
    resetCounterAndClock();
    celebrationOff();
    showFreshBoard(engine::DealBoard);
    boardChanged(GameStart::New);
    switchOn(Timer3);
}

void TForm1::zadat_rasstanovku() {
    resetCounterAndClock();
    celebrationOff();
    // The dialog has written the arrangement into Board already.
    showFreshBoard(engine::LocateBlank);
    boardChanged(GameStart::New);
    switchOn(Timer3);
    prav();
}

void TForm1::perebor() {
    ++forcedResets_;
    Timer3->stop();
    Timer2->stop();
    Timer1->stop();
    engine::SeedRandom();
    hideCelebrationPanels();
    resetCounterAndClock();
    Label1->hide();
    showFreshBoard(engine::SetOrderedLayout);
    boardChanged(GameStart::Forgotten);
}

void TForm1::N126Click() {
    boardChanged(GameStart::Forgotten);
    Button1->setText(kCaptionStart.toString());
    engine::SeedRandom();
    hideCelebrationPanels();
    resetCounterAndClock();
    Timer2->stop();
    Label1->hide();
    Panel1->setEnabled(false);
    Timer1->stop();
    Timer3->stop();
    engine::SetNearSolvedLayout(state_);
    // The picture shows the tiles in order, not the near-solved Board: nothing plays it.
    PlaceTilesInOrder();
    for (int k = 1; k <= kTileCount; ++k) TilePanel(k)->setCaption(QString::number(k));
    boardSettled();
}

void TForm1::N6Click() {
    // A slide left running would enable the board under the dialog on its last tick.
    settleSlide();
    boardChanged(GameStart::Kept);
    Panel1->setEnabled(false);
    Timer3->stop();
    if (QDialog* dialog = Form2.get()) dialog->exec();
}

void TForm1::FormDblClick() { CheatArmed = true; }

void TForm1::Panel1DblClick() {
    if (!CheatArmed) return;
    engine::SetNearSolvedLayout(state_);
    ShowBoard();
    // A game won by the shortcut has no par to tell.
    boardChanged(GameStart::NoPar);
}

void TForm1::Timer3Timer() {
    const QTime time = QTime::fromString(Label3->text(), kClockFormat);
    if (!time.isValid()) {
        throw std::invalid_argument(QStringLiteral("'%1' is not a valid time").arg(Label3->text()).toStdString());
    }
    Label3->setText(time.addSecs(1).toString(kClockFormat));
    if (Label3->text() == kClockLimit) perebor();
}

bool TForm1::CountMove() {
    bool isNumber = false;
    const int MoveCount = Label5->text().toInt(&isNumber);
    if (!isNumber) {
        throw std::invalid_argument(
            QStringLiteral("'%1' is not a valid integer value").arg(Label5->text()).toStdString());
    }

    const int resetsBefore = forcedResets_;
    // A remark stops the play: keys pressed before it was read are not played after it.
    if (MoveCount == kFirstRemarkAt || MoveCount == kSecondRemarkAt || MoveCount > kLastMoveCounted) {
        dropPendingKeys();
    }
    if (MoveCount == kFirstRemarkAt) platform::showBox(platform::BoxKind::Plain, kFirstRemark.toString());
    if (MoveCount == kSecondRemarkAt) platform::showBox(platform::BoxKind::Plain, kSecondRemark.toString());
    // The clock keeps ticking under the box and may have reset the game meanwhile; the move
    // then belongs to a game that is gone, and must not be counted or judged on the new one.
    if (forcedResets_ != resetsBefore) return true;
    if (MoveCount > kLastMoveCounted) {
        platform::showBox(platform::BoxKind::Plain, kResetRemark.toString());
        perebor();
        return true;
    }
    Label5->setText(QString::number(MoveCount + 1).rightJustified(kCounterDigits, QLatin1Char('0')));
    return false;
}
