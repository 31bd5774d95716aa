#include "hint.h"

#include <QTimer>

#include <cstdio>

#include "move_count_words.h"
#include "ui/widgets/caption_panel.h"
#include "ui/widgets/message_line.h"

namespace {

constexpr QStringView kMovesLeft = u"Осталось ходов: %1";
// What assistive tools hear of an answer: the tile its red caption shows, then the line.
constexpr QStringView kHeardAnswer = u"Плитка %1. %2";
constexpr QStringView kCannotBeSolved = u"Этот расклад не собирается";
constexpr QStringView kComing = u"Подсказка готовится…";
constexpr QStringView kComingAtLeast = u"Подсказка готовится… не меньше %1 %2";
constexpr QStringView kUnavailable = u"Подсказка недоступна";

// After this long without an answer the line says that one is coming.
constexpr int kWaitMs = 300;

const QColor kHintedCaption(255, 0, 0);

QString comingText(int provedMoves) {
    if (provedMoves < 0) return kComing.toString();
    return kComingAtLeast.toString().arg(provedMoves).arg(move_count_words::movesAfterAtLeast(provedMoves));
}

}  // namespace

Hint::Hint(WindowHooks hooks, SolverService& solver, QObject* parent)
    : QObject(parent), hooks_(std::move(hooks)), solver_(solver), wait_(new QTimer(this)) {
    wait_->setSingleShot(true);
    wait_->setInterval(kWaitMs);
    connect(wait_, &QTimer::timeout, this, [this] { tell(comingText(provedMoves_)); });
}

Hint::~Hint() = default;

void Hint::ask() {
    if (!hooks_.takesInput()) return;
    // A search under way is always the board's: every change of the board ends it.
    if (solver_.searchingFor(this)) return;
    clear();
    provedMoves_ = -1;
    wait_->start();
    solver_.ask(
        hooks_.board, this, [this](const SolverAnswer& answer) { showAnswer(answer); },
        [this](int moves) { showProgress(moves); });
}

void Hint::showProgress(int moves) {
    provedMoves_ = moves;
    if (!wait_->isActive()) tell(comingText(provedMoves_));
}

void Hint::showAnswer(const SolverAnswer& answer) {
    // Every change of the board ends its search, so an answer is always the board's own.
    if (!hooks_.takesInput()) return;
    wait_->stop();
    switch (answer.kind) {
        case SolverAnswer::Kind::CannotBeSolved: tell(kCannotBeSolved.toString()); return;
        case SolverAnswer::Kind::Unavailable:
            // The hint alone says why, once for each reason, however often it meets it.
            if (answer.why != reasonSaid_) {
                reasonSaid_ = answer.why;
                std::fprintf(stderr, "pliton: no hint: %s\n", answer.why.c_str());
            }
            tell(kUnavailable.toString());
            return;
        case SolverAnswer::Kind::MovesLeft: break;
    }
    CaptionPanel* next = hooks_.tile(answer.nextTile);
    if (next) {
        hintedTile_ = next;
        hintedTileColor_ = next->fontColor();
        next->setFontColor(kHintedCaption);
    }
    const QString text = kMovesLeft.toString().arg(answer.movesLeft);
    tell(text, next ? kHeardAnswer.toString().arg(next->caption(), text) : text);
    emit given();
}

void Hint::tell(const QString& text, const QString& heard) { hooks_.line->post(this, text, heard); }

void Hint::clear() {
    solver_.cancel(this);
    wait_->stop();
    hooks_.line->withdraw(this);
    if (hintedTile_) {
        hintedTile_->setFontColor(hintedTileColor_);
        hintedTile_ = nullptr;
    }
}
