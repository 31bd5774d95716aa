#include "engine/puzzle_state.h"
#include "ui/main/tform1.h"
#include "ui/platform/fonts.h"
#include "ui/platform/game_application.h"
#include "ui/platform/message_box.h"

int main(int argc, char** argv) {
    platform::GameApplication app(argc, argv);
    platform::setApplicationTitle(QStringLiteral("Плитон"));
    platform::installFontSubstitutes();

    engine::PuzzleState puzzle;
    TForm1 form1(puzzle);
    form1.show();
    return app.exec();
}
