#include "par.h"

#include "engine/moves.h"
#include "move_count_words.h"
#include "ui/widgets/message_line.h"

namespace {

constexpr QStringView kPar = u"Кратчайшее решение: %1 %2";
constexpr QStringView kParFound = u"Вы нашли его!";
constexpr QStringView kHintsTaken = u"Подсказок: %1";
constexpr QStringView kAfterPar = u". ";  // between the par and what follows it, on the one line

}  // namespace

Par::Par(MessageLine* line, SolverService& solver, QObject* parent) : QObject(parent), line_(line), solver_(solver) {}

Par::~Par() = default;

QString Par::text(int length, int moves, int hints) {
    QString said = kPar.toString().arg(length).arg(move_count_words::moves(length));
    if (hints > 0) {
        said.append(kAfterPar).append(kHintsTaken.toString().arg(hints));
    } else if (moves == length) {
        said.append(kAfterPar).append(kParFound);
    }
    return said;
}

void Par::start(const engine::Grid& board) {
    clear();
    // A solved position has no par to tell. One that cannot be solved is never won; the
    // service, which alone checks, would answer so.
    if (engine::IsSolved(board)) return;
    start_ = board;
    hasStart_ = true;
    hints_ = 0;
}

void Par::clear() {
    solver_.cancel(this);
    hasStart_ = false;
    line_->withdraw(this);
}

void Par::won(int moves) {
    if (!hasStart_) return;
    hasStart_ = false;
    solver_.ask(start_, this,
                [this, moves, hints = hints_](const SolverAnswer& answer) { found(answer, moves, hints); });
}

void Par::found(const SolverAnswer& answer, int moves, int hints) {
    // Tables that cannot be read, or a search that gave up: the par stays silent.
    if (answer.kind != SolverAnswer::Kind::MovesLeft) return;
    line_->post(this, text(answer.movesLeft, moves, hints));
}
