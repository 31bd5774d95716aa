#pragma once

#include <QList>
#include <QString>

class CaptionPanel;
class QAction;
class QLabel;

// What assistive tools hear of the main window: each control named after what a sighted
// player sees on it, live, as the game changes it.
//   - a tile: its number ("5"), its place ("ряд 2, столбец 1"), and a press action that
//     clicks it;
//   - the board: its tiles and its bare cell ("Пустая клетка", with its place), and the
//     commands it was given ("Подсказка");
//   - any other caption panel: its caption;
//   - a label given a meaning here: the meaning and its current text ("Время игры: 00:01:05");
//   - a label made a notification here: its accessible name, spoken as it shows.
// Installs itself once; what it does not know keeps Qt's own interface.
void installGameAccessibility();

// Makes `board` the board: assistive tools hear its tiles and its bare cell, and can perform
// each of `actions` on it by its text, as from a menu.
void setAccessibleBoard(CaptionPanel* board, const QList<QAction*>& actions = {});

// Tells assistive tools the new place of each tile and of the bare cell that has moved since
// they were last told: call it once the board has settled after a change.
void tellBoardPlaces(CaptionPanel* board);

// Makes assistive tools hear `meaning` before the label's current text.
void setAccessibleMeaning(QLabel* label, const QString& meaning);

// Makes assistive tools take `label` for a notification: screen readers speak it, by its
// accessible name, each time it shows, without moving the focus.
void setAccessibleNotification(QLabel* label);
