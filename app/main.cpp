#include "engine/puzzle_state.h"
#include "ui/dialogs/tform2.h"
#include "ui/dialogs/tform3.h"
#include "ui/dialogs/tform4.h"
#include "ui/main/app_icon.h"
#include "ui/main/tform1.h"
#include "ui/platform/fonts.h"
#include "ui/platform/game_application.h"
#include "ui/platform/message_box.h"

int main(int argc, char** argv) {
    platform::GameApplication app(argc, argv);
    platform::setApplicationTitle(QStringLiteral("Плитон"));
    platform::installFontSubstitutes();
    QApplication::setWindowIcon(applicationIcon());

    // The game's one puzzle state, for the whole run.
    engine::PuzzleState puzzle;

    // The four windows, in this order; only the main window is shown.
    TForm1 Form1(puzzle);
    TForm2 Form2(puzzle, [&Form1] { Form1.zadat_rasstanovku(); });
    TForm3 Form3;
    TForm4 Form4;
    Form1.setSecondaryWindows(&Form2, &Form3, &Form4);

    Form1.show();
    return app.exec();
}
