// The floor: a bare Qt Widgets program with the same widget tree as the game's main window
// and no game. It is what the toolkit alone costs for that window; the game's start-up,
// memory and idle cost are measured against it.
//
// The same tree means: a QMainWindow with the same flags, font, icon sizes and fixed size,
// centred on the screen; a menu bar with the same two menus and six items; a teal client
// area of 478 x 526 holding two bevel frames, five labels (the first hidden), the board
// panel (disabled) with fifteen 90 x 90 tile panels showing 1 to 15 in the same bold serif
// face at 67 pixels with a hand cursor, the start button, and three hidden celebration
// panels; and three stopped timers (15 ms precise, 1000 ms, 1000 ms). The one thing it
// does is the least a game does: the button starts the clock, which then counts seconds in
// its label, so that a running game's wakeups have a floor too. Stock Qt classes stand in
// for the game's own painted panels and frames. The faces are asked for by the names the
// desktop has, as the game does once it has mapped its designed faces to them.
#include <QApplication>
#include <QFont>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTime>
#include <QTimer>

#include <algorithm>

namespace {

const QString kSans = QStringLiteral("Liberation Sans");
const QString kSerif = QStringLiteral("Liberation Serif");

const QColor kTeal(0, 128, 128);
const QColor kGreen(0, 128, 0);
const QColor kSilver(192, 192, 192);
const QColor kRed(255, 0, 0);
const QColor kYellow(255, 255, 0);
const QColor kNavy(0, 0, 128);
const QColor kMaroon(128, 0, 0);

QFont face(const QString& family, int pixels, bool bold = false, bool underline = false) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

void setColors(QWidget* widget, const QColor& text, const QColor& background) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Window, background);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QLabel* label(QWidget* parent, const QString& text, QRect designed, const QFont& font, const QColor& color,
              const QColor& background) {
    auto* widget = new QLabel(parent);
    widget->setTextFormat(Qt::PlainText);
    widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    widget->setFont(font);
    widget->setText(text);
    setColors(widget, color, background);
    const QSize needed = widget->sizeHint();
    widget->setGeometry(designed.left(), designed.top(), std::max(designed.width(), needed.width()),
                        std::max(designed.height(), needed.height()));
    return widget;
}

QLabel* panel(QWidget* parent, const QString& caption, QRect geometry, const QColor& background, const QColor& color,
              const QFont& font, int bevelWidth) {
    auto* widget = new QLabel(caption, parent);
    widget->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    widget->setLineWidth(bevelWidth);
    widget->setAlignment(Qt::AlignCenter);
    widget->setFont(font);
    setColors(widget, color, background);
    widget->setGeometry(geometry);
    return widget;
}

// An icon of the game's sizes, each a plain square: what the toolkit does with an icon is
// the floor's; drawing the game's chip is the game's own cost.
QIcon icon() {
    QIcon icon;
    for (const int side : {32, 48, 64, 128, 256}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::black);
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Floor"));
    QApplication::setWindowIcon(icon());

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Floor"));
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    window.setFont(face(kSans, 11));

    auto* client = new QWidget;
    client->setFixedSize(478, 526);
    QPalette teal = client->palette();
    teal.setColor(QPalette::Window, kTeal);
    client->setPalette(teal);
    client->setAutoFillBackground(true);
    window.setCentralWidget(client);

    const QColor windowText = QGuiApplication::palette().color(QPalette::WindowText);
    for (const QRect bevel : {QRect(99, 402, 83, 33), QRect(336, 401, 68, 33)}) {
        auto* frame = new QFrame(client);
        frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
        frame->setGeometry(bevel);
    }
    label(client, QStringLiteral("Вы выиграли!!!"), {280, 459, 170, 29}, face(kSans, 24), kRed,
          QGuiApplication::palette().color(QPalette::Highlight))
        ->hide();
    label(client, QStringLiteral("t i m e"), {39, 405, 50, 24}, face(kSans, 19, false, true), windowText, kTeal);
    QLabel* clockLabel = label(client, QStringLiteral("00:00:00"), {106, 407, 70, 24}, face(kSans, 19), kRed, kSilver);
    label(client, QStringLiteral("х о д ы"), {274, 409, 58, 20}, face(kSans, 17, true, true), windowText, kTeal);
    label(client, QStringLiteral("00000"), {344, 406, 50, 24}, face(kSans, 19), kYellow, kTeal);

    QLabel* board = panel(client, {}, {53, 32, 364, 364}, kGreen, windowText, window.font(), 1);
    board->setEnabled(false);
    const QFont tileFont = face(kSerif, 67, true);
    const QColor tileBackground = QGuiApplication::palette().color(QPalette::ToolTipBase);
    for (int k = 1; k <= 15; ++k) {
        QLabel* tile = panel(board, QString::number(k), {2 + 90 * ((k - 1) % 4), 2 + 90 * ((k - 1) / 4), 90, 90},
                             tileBackground, kNavy, tileFont, 2);
        tile->setCursor(Qt::PointingHandCursor);
    }

    auto* button = new QPushButton(QStringLiteral("Начать игру"), client);
    button->setGeometry(64, 456, 153, 41);
    button->setFont(face(kSans, 19));
    QPalette buttonPalette = button->palette();
    buttonPalette.setColor(QPalette::ButtonText, Qt::black);
    button->setPalette(buttonPalette);

    const QFont celebrationFont = face(kSans, 16);
    panel(client, QStringLiteral("ПОБЕДА!"), {320, 0, 105, 33}, kSilver, kMaroon, celebrationFont, 1)->hide();
    panel(client, QStringLiteral("СУПЕР!"), {72, 0, 97, 33}, kGreen, kMaroon, celebrationFont, 1)->hide();
    panel(client, QStringLiteral("КЛАСС"), {184, 0, 97, 33}, kGreen, kMaroon, celebrationFont, 1)->hide();

    auto* menuBar = new QMenuBar(&window);
    menuBar->setFont(QApplication::font("QMenuBar"));
    window.setMenuBar(menuBar);
    QMenu* game = menuBar->addMenu(QStringLiteral("Пятнашки"));
    game->addAction(QStringLiteral("Начать новую игру"));
    game->addAction(QStringLiteral("Собранный расклад"));
    game->addSeparator();
    game->addAction(QStringLiteral("Задать расстановку"));
    QMenu* help = menuBar->addMenu(QStringLiteral("Справка"));
    help->addAction(QStringLiteral("Игра"));
    help->addAction(QStringLiteral("О программе"));

    auto* slide = new QTimer(&window);
    slide->setTimerType(Qt::PreciseTimer);
    slide->setInterval(15);
    auto* celebration = new QTimer(&window);
    celebration->setInterval(1000);
    auto* clock = new QTimer(&window);
    clock->setInterval(1000);
    QObject::connect(button, &QPushButton::clicked, clock, qOverload<>(&QTimer::start));
    QObject::connect(clock, &QTimer::timeout, clockLabel, [clockLabel] {
        const QString format = QStringLiteral("hh:mm:ss");
        clockLabel->setText(QTime::fromString(clockLabel->text(), format).addSecs(1).toString(format));
    });

    window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    window.adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    window.show();
    return app.exec();
}
