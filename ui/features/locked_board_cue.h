#pragma once

#include <QObject>
#include <QString>

class QPushButton;
class QTimer;
class QWidget;

class MessageLine;

// Tells a player whose clicks and keys fall on a board locked between games why nothing
// moves, and how to start a game: the window's message line names the start button by its
// caption. The cue goes at the next click or key, or after a few seconds, and the message it
// covered, if any, comes back. While the board is locked, its accessible description says
// the same.
class LockedBoardCue : public QObject {
    Q_OBJECT
public:
    static constexpr int kShownMs = 5000;

    LockedBoardCue(QWidget* board, QPushButton* startButton, MessageLine* line, QObject* parent);

    // What the cue says: "Нажмите «caption», чтобы начать игру", the caption as it is now.
    QString text() const;
    // Shows the cue, or shows it anew; not while a modal window is open.
    void show();
    // Gives the board the cue's text as its accessible description while `locked`, none
    // otherwise; an unlocked board takes the cue away.
    void describeBoard(bool locked);

protected:
    // The next click or key, anywhere in the program, takes the cue away.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hide();

    QWidget* board_;
    QPushButton* startButton_;
    MessageLine* line_;
    QTimer* timeout_;  // ends the cue
    bool shown_ = false;
};
