// The floor: a bare Qt Widgets program with the same widget tree as the game's main window
// (menu, board with fifteen numbered tile panels, labels, button, three hidden panels, three
// stopped timers) and no game. The game's start-up and idle cost are measured against it.
#include <QApplication>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

namespace {

QLabel* label(QWidget* parent, const QString& text, QRect geometry, int pixelSize) {
    auto* widget = new QLabel(text, parent);
    QFont font = widget->font();
    font.setPixelSize(pixelSize);
    widget->setFont(font);
    widget->setGeometry(geometry);
    return widget;
}

QLabel* panel(QWidget* parent, const QString& text, QRect geometry, QColor background) {
    auto* widget = new QLabel(text, parent);
    widget->setFrameStyle(QFrame::Panel | QFrame::Raised);
    widget->setAlignment(Qt::AlignCenter);
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, background);
    widget->setPalette(palette);
    widget->setGeometry(geometry);
    return widget;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Floor"));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Floor"));
    QMenu* game = window.menuBar()->addMenu(QStringLiteral("Пятнашки"));
    game->addAction(QStringLiteral("Начать новую игру"));
    game->addAction(QStringLiteral("Собранный расклад"));
    game->addSeparator();
    game->addAction(QStringLiteral("Задать расстановку"));
    QMenu* help = window.menuBar()->addMenu(QStringLiteral("Справка"));
    help->addAction(QStringLiteral("Игра"));
    help->addAction(QStringLiteral("О программе"));

    auto* client = new QWidget;
    client->setFixedSize(478, 526);
    client->setAutoFillBackground(true);
    QPalette teal = client->palette();
    teal.setColor(QPalette::Window, QColor(0, 128, 128));
    client->setPalette(teal);
    window.setCentralWidget(client);

    auto* bevel1 = new QFrame(client);
    bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel1->setGeometry(99, 402, 83, 33);
    auto* bevel2 = new QFrame(client);
    bevel2->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel2->setGeometry(336, 401, 68, 33);
    label(client, QStringLiteral("Вы выиграли!!!"), {280, 459, 170, 29}, 24)->hide();
    label(client, QStringLiteral("t i m e"), {39, 405, 50, 24}, 19);
    label(client, QStringLiteral("00:00:00"), {106, 407, 70, 24}, 19);
    label(client, QStringLiteral("х о д ы"), {274, 409, 58, 20}, 17);
    label(client, QStringLiteral("00000"), {344, 406, 50, 24}, 19);

    QLabel* board = panel(client, {}, {53, 32, 364, 364}, QColor(0, 128, 0));
    board->setEnabled(false);
    QFont tileFont(QStringLiteral("Times New Roman"));
    tileFont.setPixelSize(67);
    tileFont.setBold(true);
    for (int k = 1; k <= 15; ++k) {
        QLabel* tile = panel(board, QString::number(k),
                             {2 + 90 * ((k - 1) % 4), 2 + 90 * ((k - 1) / 4), 90, 90}, QColor(255, 255, 225));
        tile->setFont(tileFont);
    }
    auto* button = new QPushButton(QStringLiteral("Начать игру"), client);
    button->setGeometry(64, 456, 153, 41);
    panel(client, QStringLiteral("ПОБЕДА!"), {320, 0, 105, 33}, QColor(192, 192, 192))->hide();
    panel(client, QStringLiteral("СУПЕР!"), {72, 0, 97, 33}, QColor(0, 128, 0))->hide();
    panel(client, QStringLiteral("КЛАСС"), {184, 0, 97, 33}, QColor(0, 128, 0))->hide();

    QTimer slide, celebration, clock;
    slide.setInterval(15);
    celebration.setInterval(1000);
    clock.setInterval(1000);

    window.setFixedSize(window.sizeHint());
    window.show();
    return app.exec();
}
