#pragma once

#include <QLabel>
#include <QString>

#include <vector>

// One line of text in the free strip at the foot of the window's client area, where the
// game's additions tell the player what they have to say: the hint, the par, why the board
// takes no clicks. Each teller posts its message and withdraws it when it no longer holds;
// the line shows the newest message still posted, so that when a message goes, the one it
// covered comes back. Empty, it is hidden.
//
// It lies on the window's teal in white, in the window's face at the desktop's text size
// (never smaller than the window's own), and takes no mouse input: a double click on it is
// one on the window's surface. A message too long for the strip ends in "…". Assistive tools
// hear each message as a notification when it appears, named by its whole text.
class MessageLine : public QLabel {
    Q_OBJECT
public:
    // Where the line lies in the client area: below the start button and the win text.
    static constexpr QRect kStrip{0, 497, 478, 29};

    explicit MessageLine(QWidget* clientArea);

    // Shows `text` as `teller`'s message, in place of any it posted before, over every other
    // message. Assistive tools hear `heard` where it is given, the text otherwise.
    void post(const QObject* teller, const QString& text, const QString& heard = {});
    // Takes `teller`'s message away, if it has one.
    void withdraw(const QObject* teller);

    // The message shown, whole; empty when none is.
    QString message() const;

private:
    struct Posted {
        const QObject* teller;
        QString text, heard;
    };
    void showNewest();

    std::vector<Posted> posted_;  // oldest first
};
