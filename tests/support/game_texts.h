#pragma once

#include <QString>

// What the game writes on its windows and boxes, as the player reads it.
inline const QString kTitle = QStringLiteral("Плитон");
inline const QString kClockZero = QStringLiteral("00:00:00");
inline const QString kCounterZero = QStringLiteral("00000");
inline const QString kCaptionStart = QStringLiteral("Начать игру");
inline const QString kCaptionRestart = QStringLiteral("Начать заново");
inline const QString kWon = QStringLiteral("Вы выиграли!!!");

inline const QString kFirstRemark = QStringLiteral("Ну ничего себе ты сделал ходов!");
inline const QString kSecondRemark = QStringLiteral("Поздравляем, ты удвоил(-а) свой предыдущий рекорд");
inline const QString kResetRemark =
    QStringLiteral("надо же, и хватило же терпения сделать столько ходов.Игра будет сборшена ввиду приколов");

inline const QString kBadTable = QStringLiteral("Проверьте заполнение таблицы");
inline const QString kOddTable = QStringLiteral("Расклад нечетный, не собирается");
inline const QString kEvenTable = QStringLiteral("Расклад четный, собирается");

inline const QString kHintItem = QStringLiteral("Подсказка");
inline const QString kReplayItem = QStringLiteral("Сыграть этот расклад заново");
inline const QString kCopyItem = QStringLiteral("Скопировать расклад");
inline const QString kHintMovesLeft = QStringLiteral("Осталось ходов: ");  // and the count
inline const QString kHintCannotBeSolved = QStringLiteral("Этот расклад не собирается");
inline const QString kHintComing = QStringLiteral("Подсказка готовится…");  // and what is proved so far, if anything
inline const QString kHintUnavailable = QStringLiteral("Подсказка недоступна");

inline const QString kParShortest = QStringLiteral("Кратчайшее решение: ");  // and the count with its noun
inline const QString kParFound = QStringLiteral(". Вы нашли его!");          // after the par, on its line
inline const QString kParHints = QStringLiteral(". Подсказок: ");            // or this, and the hints taken
inline const QString kCue = QStringLiteral("Нажмите «");  // the start button's caption, and how to start
