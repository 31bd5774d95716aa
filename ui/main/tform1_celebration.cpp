// The victory display: the win trigger and the once-a-second celebration of the three
// panels "ПОБЕДА!", "СУПЕР!" and "КЛАСС".
#include <QColor>
#include <QLabel>
#include <QTimer>

#include <array>
#include <cstddef>

#include "engine/moves.h"
#include "engine/random_source.h"
#include "tform1.h"
#include "ui/features/hint.h"
#include "ui/features/par.h"
#include "ui/widgets/caption_panel.h"
#include "ui/widgets/font_points.h"

namespace {

// The panels' top-left corners stay within these ranges of the client area.
constexpr int kLeftRange = 330;
constexpr int kTopRange = 400;
// Font sizes of 10 to 17 points.
constexpr int kFontPointsBase = 10;
constexpr int kFontPointsRange = 8;

// Background colours, by index: olive, silver, yellow, blue, grey.
const std::array<QColor, 5> kBackgroundColors = {
    QColor(128, 128, 0), QColor(192, 192, 192), QColor(255, 255, 0), QColor(0, 0, 255), QColor(128, 128, 128),
};
// Text colours, by index: purple, aqua, maroon, lime, red.
const std::array<QColor, 5> kTextColors = {
    QColor(128, 0, 128), QColor(0, 255, 255), QColor(128, 0, 0), QColor(0, 255, 0), QColor(255, 0, 0),
};

std::size_t drawColorIndex() {
    return static_cast<std::size_t>(engine::RandomBelow(static_cast<int>(kBackgroundColors.size())));
}

}  // namespace

void TForm1::prav() {
    if (!engine::IsSolved(state_)) return;
    // A won game has no next move to hint at, nor one to play.
    boardChanged(GameStart::Kept);
    Panel1->setEnabled(false);
    Timer3->stop();
    Label1->show();
    if (!celebrating()) Timer2->start();
    // After the victory display: the par, for a game won by play.
    par_->won(Label5->text().toInt());
}

void TForm1::Timer2Timer() {
    Panel1->setEnabled(false);
    const std::array<CaptionPanel*, 3> panels = {Panel17, Panel18, Panel19};
    for (CaptionPanel* panel : panels) panel->show();

    for (CaptionPanel* panel : panels) {
        const int left = engine::RandomBelow(kLeftRange);
        const int top = engine::RandomBelow(kTopRange);
        const int points = engine::RandomBelow(kFontPointsRange) + kFontPointsBase;
        panel->move(left, top);
        QFont font = panel->font();
        font.setPixelSize(pointsToPixels(points));
        panel->setFont(font);
    }

    // Four draws colour six settings: the middle two each give one panel's text and the
    // next panel's background.
    const std::size_t first = drawColorIndex();
    Panel17->setColor(kBackgroundColors[first]);
    const std::size_t second = drawColorIndex();
    Panel17->setFontColor(kTextColors[second]);
    Panel18->setColor(kBackgroundColors[second]);
    const std::size_t third = drawColorIndex();
    Panel18->setFontColor(kTextColors[third]);
    Panel19->setColor(kBackgroundColors[third]);
    const std::size_t fourth = drawColorIndex();
    Panel19->setFontColor(kTextColors[fourth]);

    for (CaptionPanel* panel : panels) panel->raise();
}

void TForm1::hideCelebrationPanels() {
    Panel17->hide();
    Panel18->hide();
    Panel19->hide();
}

void TForm1::celebrationOff() {
    hideCelebrationPanels();
    Timer2->stop();
    Label1->hide();
}
