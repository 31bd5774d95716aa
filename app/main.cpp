#include <memory>

#include "app/app_icon.h"
#include "app/tables_path.h"
#include "engine/puzzle_state.h"
#include "solving/solver_service.h"
#include "ui/dialogs/tform2.h"
#include "ui/dialogs/tform3.h"
#include "ui/dialogs/tform4.h"
#include "ui/main/tform1.h"
#include "ui/platform/fonts.h"
#include "ui/platform/game_application.h"
#include "ui/platform/message_box.h"

int main(int, char** argv) {
    platform::GameApplication app(argv);
    platform::setApplicationTitle(QStringLiteral("Плитон"));
    platform::installFontSubstitutes();
    QApplication::setWindowIcon(applicationIcon());
    // Ties the windows to the desktop entry of the same name, for docks and task bars.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Pliton"));

    // The game's one puzzle state, for the whole run.
    engine::PuzzleState puzzle;

    // The one solver of the hint and the par, on the tables that the build and the
    // installation put beside the program. Nothing is loaded before it is first asked.
    SolverService solver(TablesPathFor(QCoreApplication::applicationDirPath().toStdString()));

    // The main window; the other three are made when the menu first opens each of them.
    TForm1 Form1(puzzle, solver);
    Form1.setSecondaryWindowMakers(
        [&puzzle, &Form1] { return std::make_unique<TForm2>(puzzle, [&Form1] { Form1.zadat_rasstanovku(); }); },
        [] { return std::make_unique<TForm3>(); }, [] { return std::make_unique<TForm4>(); });

    Form1.show();
    return app.exec();
}
