#include "par.h"

#include <QWidget>

#include "engine/moves.h"
#include "hint_balloon.h"

namespace {

constexpr QStringView kPar = u"Кратчайшее решение: %1 %2";
constexpr QStringView kParFound = u"Вы нашли его!";

// The noun as a count takes it: "1 ход", "21 ход", "2 хода", "24 хода", "5 ходов", "11 ходов",
// "12 ходов".
QStringView movesCounted(int n) {
    const int last = n % 10, lastTwo = n % 100;
    if (lastTwo >= 11 && lastTwo <= 14) return u"ходов";
    if (last == 1) return u"ход";
    if (last >= 2 && last <= 4) return u"хода";
    return u"ходов";
}

}  // namespace

Par::Par(Landmarks landmarks, QObject* parent) : QObject(parent), landmarks_(landmarks) {}

Par::~Par() = default;

void Par::setTables(std::shared_ptr<SharedTables> tables, HintSolver solve) {
    clear();
    search_.reset();
    source_ = {std::move(tables), std::move(solve)};
}

QString Par::text(int length, int moves) {
    QString said = kPar.toString().arg(length).arg(movesCounted(length));
    if (moves == length) said += u'\n' + kParFound.toString();
    return said;
}

void Par::start(const engine::Grid& board) {
    clear();
    engine::PuzzleState position;
    position.Board = board;
    const bool solvable = engine::CheckSolvable(board) == engine::Solvability::Solvable;
    if (!source_.tables || engine::IsSolved(position) || !solvable) return;
    if (!search_) {
        search_ = source_.makeSearch();
        connect(search_.get(), &HintSearch::answered, this, &Par::found);
    }
    sought_ = true;
    search_->request(board);
}

void Par::clear() {
    if (search_) search_->cancel();
    sought_ = false;
    length_ = -1;
    wonIn_ = -1;
    if (balloon_) balloon_->hide();
}

void Par::won(int moves) {
    if (!sought_) return;
    wonIn_ = moves;
    if (length_ >= 0) tell();
}

void Par::found(const HintAnswer& answer) {
    // Tables that cannot be read, or a search that gave up: the par stays silent.
    if (!sought_ || answer.kind != HintAnswer::Kind::MovesLeft) return;
    length_ = answer.movesLeft;
    if (wonIn_ >= 0) tell();
}

void Par::tell() {
    QWidget* const surface = landmarks_.surface;
    const auto rectOf = [surface](const QWidget* widget) {
        return QRect(widget->mapTo(surface, QPoint(0, 0)), widget->size());
    };
    if (!balloon_) balloon_ = new HintBalloon(surface);
    // On the left of the counter, wrapped to the room between the clock and it, and below the
    // board: there the balloon hides neither a tile nor the clock.
    const QRect counter = rectOf(landmarks_.counter);
    balloon_->setWrapWidth(counter.left() - rectOf(landmarks_.clock).right() - 1 - 2 * HintBalloon::kGap);
    balloon_->showBeside(text(length_, wonIn_), counter);
    const int belowBoard = rectOf(landmarks_.board).bottom() + 1 + HintBalloon::kGap;
    if (balloon_->y() < belowBoard) balloon_->move(balloon_->x(), belowBoard);
}
