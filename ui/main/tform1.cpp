// The main window's construction: its controls in creation order, the main menu and the
// timers, and the window itself.
#include "tform1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

#include <algorithm>

#include "accessible_game.h"
#include "bevel_frame.h"
#include "caption_panel.h"
#include "engine/random_source.h"
#include "form_surface.h"
#include "hint.h"
#include "locked_board_cue.h"
#include "message_line.h"
#include "par.h"
#include "solving/solver_service.h"
#include "ui/platform/fonts.h"
#include "ui/platform/placement.h"
#include "ui/platform/readable_colour.h"
#include "ui/platform/window_frame.h"

namespace {

using platform::faceFont;

constexpr const char* kSansFace = platform::kSansSerifFace;
constexpr const char* kSerifFace = platform::kTimesFace;

// The system colours follow the desktop's scheme, as far as the fixed colours they meet
// stay readable with them.
using platform::readableRole;

// A label of the window: opaque, text at its top-left corner. When the desktop's face is
// wider than the designed one, the label grows as an autosizing label would, keeping its
// left and top, so that its text is never clipped.
QLabel* makeLabel(QWidget* parent, QRect designed, QStringView text, const QFont& font, const QColor& textColor,
                  const QColor& background) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFont(font);
    label->setText(text.toString());
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, textColor);
    palette.setColor(QPalette::Window, background);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
    // A double click on a label is not one on the window's surface.
    label->setAttribute(Qt::WA_NoMousePropagation);
    const QSize needed = label->sizeHint();
    label->setGeometry(designed.left(), designed.top(), std::max(designed.width(), needed.width()),
                       std::max(designed.height(), needed.height()));
    return label;
}

// The window.
constexpr QStringView kFormCaption = u"Плитон";
constexpr QSize kClientSize(478, 526);
const QColor kTeal(0, 128, 128);
constexpr int kFormFontPixels = 11;

// The clock's and the counter's frames.
constexpr QRect kBevel1Rect(99, 402, 83, 33);
constexpr QRect kBevel2Rect(336, 401, 68, 33);

// Label1: the victory label.
constexpr QRect kLabel1Rect(280, 459, 170, 29);
constexpr QStringView kLabel1Text = u"Вы выиграли!!!";
const QColor kRed(255, 0, 0);
constexpr int kLabel1FontPixels = 24;

// Label2: the clock's heading.
constexpr QRect kLabel2Rect(39, 405, 50, 24);
constexpr QStringView kLabel2Text = u"t i m e";
constexpr int kLabel2FontPixels = 19;

// Label3: the clock.
constexpr QRect kLabel3Rect(106, 407, 70, 24);
const QColor kSilver(192, 192, 192);
constexpr int kLabel3FontPixels = 19;

// What assistive tools say the clock and the counter are.
constexpr QStringView kClockMeaning = u"Время игры";
constexpr QStringView kCounterMeaning = u"Сделано ходов";

// Label4: the counter's heading.
constexpr QRect kLabel4Rect(274, 409, 58, 20);
constexpr QStringView kLabel4Text = u"х о д ы";
constexpr int kLabel4FontPixels = 17;

// Label5: the move counter.
constexpr QRect kLabel5Rect(344, 406, 50, 24);
const QColor kYellow(255, 255, 0);
constexpr int kLabel5FontPixels = 19;

// Panel1: the board, a 2-pixel margin around four cells each way.
constexpr QRect kPanel1Rect(53, 32, 364, 364);
const QColor kGreen(0, 128, 0);

// The tile panels.
const QColor kNavy(0, 0, 128);
constexpr int kTileFontPixels = 67;
constexpr int kTileBevelWidth = 2;

// Button1.
constexpr QRect kButton1Rect(64, 456, 153, 41);
const QColor kBlack(0, 0, 0);
constexpr int kButton1FontPixels = 19;

// Panel17 to Panel19: the celebration panels.
constexpr QRect kPanel17Rect(320, 0, 105, 33);
constexpr QRect kPanel18Rect(72, 0, 97, 33);
constexpr QRect kPanel19Rect(184, 0, 97, 33);
constexpr QStringView kPanel17Caption = u"ПОБЕДА!";
constexpr QStringView kPanel18Caption = u"СУПЕР!";
constexpr QStringView kPanel19Caption = u"КЛАСС";
const QColor kMaroon(128, 0, 0);
constexpr int kCelebrationFontPixels = 16;

// The tile panels in creation order: TilePanel k is kTilePanels[k - 1].
constexpr CaptionPanel* TForm1::*kTilePanels[TForm1::kTileCount] = {
    &TForm1::Panel2,  &TForm1::Panel3,  &TForm1::Panel4,  &TForm1::Panel5,  &TForm1::Panel6,
    &TForm1::Panel7,  &TForm1::Panel8,  &TForm1::Panel9,  &TForm1::Panel10, &TForm1::Panel11,
    &TForm1::Panel12, &TForm1::Panel13, &TForm1::Panel14, &TForm1::Panel15, &TForm1::Panel16,
};

CaptionPanel* makePanel(QWidget* parent, QRect rect, QStringView caption, const QColor& color, const QColor& fontColor,
                        const QFont& font) {
    auto* panel = new CaptionPanel(parent);
    panel->setGeometry(rect);
    panel->setCaption(caption.toString());
    panel->setColor(color);
    panel->setFontColor(fontColor);
    panel->setFont(font);
    return panel;
}

}  // namespace

TForm1::TForm1(engine::PuzzleState& state, QWidget* parent) : QMainWindow(parent), state_(state) {
    installGameAccessibility();
    setWindowTitle(kFormCaption.toString());
    setWindowFlags(platform::kFixedFrameFlags);
    setFont(faceFont(kSansFace, kFormFontPixels));

    clientArea_ = new FormSurface(this);
    clientArea_->setFixedSize(kClientSize);
    QPalette palette = clientArea_->palette();
    palette.setColor(QPalette::Window, kTeal);
    clientArea_->setPalette(palette);
    clientArea_->setAutoFillBackground(true);
    setCentralWidget(clientArea_);

    createControls();
    createMenu();
    createTimers();
    messageLine_ = new MessageLine(clientArea_);
    setAccessibleNotification(messageLine_);
    solver_ = new SolverService({}, solver::Solve, SolverService::loadTables, this);  // no tables until set
    hint_ = new Hint({messageLine_, solver_, state_.Board, [this] { return boardTakesInput(); },
                      [this](std::uint8_t tile) { return panelShowing(tile); }},
                     this);
    par_ = new Par(messageLine_, solver_, this);
    connect(hint_, &Hint::given, par_, &Par::hintTaken);
    createContextMenu();
    lockedBoardCue_ = new LockedBoardCue(Panel1, Button1, messageLine_, this);
    lockedBoardCue_->describeBoard(noGameInProgress());
    // The window is as large as the menu bar and the client area, and cannot be resized.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    clientArea_->watchControls();
    connect(clientArea_, &FormSurface::doubleClicked, this, &TForm1::FormDblClick);
    clientArea_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(clientArea_, &QWidget::customContextMenuRequested, this, &TForm1::ClientAreaContextMenu);
    clientArea_->installEventFilter(this);
    Panel1->installEventFilter(this);
    Button1->installEventFilter(this);
    FormCreate();
}

void TForm1::createControls() {
    QWidget* const client = clientArea_;
    const QColor windowText = readableRole(QPalette::WindowText, kTeal);

    Bevel1 = new BevelFrame(client);
    Bevel1->setGeometry(kBevel1Rect);
    Bevel2 = new BevelFrame(client);
    Bevel2->setGeometry(kBevel2Rect);

    // The active-caption colour is the desktop's highlight.
    Label1 = makeLabel(client, kLabel1Rect, kLabel1Text, faceFont(kSansFace, kLabel1FontPixels), kRed,
                       readableRole(QPalette::Highlight, kRed));
    Label1->hide();
    Label2 = makeLabel(client, kLabel2Rect, kLabel2Text, faceFont(kSansFace, kLabel2FontPixels, false, true),
                       windowText, kTeal);
    Label3 = makeLabel(client, kLabel3Rect, kClockZero, faceFont(kSansFace, kLabel3FontPixels), kRed, kSilver);
    Label4 = makeLabel(client, kLabel4Rect, kLabel4Text, faceFont(kSansFace, kLabel4FontPixels, true, true), windowText,
                       kTeal);
    Label5 = makeLabel(client, kLabel5Rect, kCounterZero, faceFont(kSansFace, kLabel5FontPixels), kYellow, kTeal);
    setAccessibleMeaning(Label3, kClockMeaning.toString());
    setAccessibleMeaning(Label5, kCounterMeaning.toString());

    Panel1 = new CaptionPanel(client);
    Panel1->setGeometry(kPanel1Rect);
    Panel1->setColor(kGreen);
    Panel1->setBevels(CaptionPanel::Bevel::Raised, CaptionPanel::Bevel::Lowered, 1);
    Panel1->setEnabled(false);
    connect(Panel1, &CaptionPanel::doubleClicked, this, &TForm1::Panel1DblClick);

    const QFont tileFont = faceFont(kSerifFace, kTileFontPixels, true);
    const QColor infoBackground = readableRole(QPalette::ToolTipBase, kNavy);
    for (int k = 1; k <= kTileCount; ++k) {
        const QRect cell(CellOrigin((k - 1) % 4 + 1), CellOrigin((k - 1) / 4 + 1), kCellSize, kCellSize);
        CaptionPanel* tile = makePanel(Panel1, cell, QString::number(k), infoBackground, kNavy, tileFont);
        tile->setBevels(CaptionPanel::Bevel::Raised, CaptionPanel::Bevel::Lowered, kTileBevelWidth);
        tile->setCursor(Qt::PointingHandCursor);
        connect(tile, &CaptionPanel::clicked, this, [this, tile] { Panel2Click(tile); });
        this->*kTilePanels[k - 1] = tile;
    }

    Button1 = new QPushButton(kCaptionStart.toString(), client);
    Button1->setGeometry(kButton1Rect);
    Button1->setFont(faceFont(kSansFace, kButton1FontPixels));
    QPalette buttonPalette = Button1->palette();
    buttonPalette.setColor(QPalette::ButtonText, kBlack);
    buttonPalette.setColor(QPalette::Button, readableRole(QPalette::Button, kBlack));
    Button1->setPalette(buttonPalette);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);

    const QFont celebrationFont = faceFont(kSansFace, kCelebrationFontPixels);
    Panel17 = makePanel(client, kPanel17Rect, kPanel17Caption, kSilver, kMaroon, celebrationFont);
    Panel18 = makePanel(client, kPanel18Rect, kPanel18Caption, kGreen, kMaroon, celebrationFont);
    Panel19 = makePanel(client, kPanel19Rect, kPanel19Caption, kGreen, kMaroon, celebrationFont);
}

void TForm1::createMenu() {
    mm1 = new QMenuBar(this);
    // Menus use the desktop's menu font, not the window's, like their drop-down lists.
    mm1->setFont(QApplication::font("QMenuBar"));
    setMenuBar(mm1);

    N111 = mm1->addMenu(QStringLiteral("Пятнашки"));
    N11 = N111->addAction(QStringLiteral("Начать новую игру"), this, &TForm1::Button1Click);
    N126 = N111->addAction(QStringLiteral("Собранный расклад"), this, &TForm1::N126Click);
    N10 = N111->addSeparator();
    N6 = N111->addAction(QStringLiteral("Задать расстановку"), this, &TForm1::N6Click);

    N7 = mm1->addMenu(QStringLiteral("Справка"));
    N16 = N7->addAction(QStringLiteral("Игра"), this, &TForm1::N16Click);
    N8 = N7->addAction(QStringLiteral("О программе"), this, &TForm1::N8Click);

    // The desktop's usual keys for these commands and menus. They are not drawn in the
    // menu, whose texts stay as they are; like the menu, they do nothing while a modal
    // window is open.
    const auto bind = [this](const QKeySequence& keys, auto command, Qt::ShortcutContext context = Qt::WindowShortcut) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(context);
        connect(shortcut, &QShortcut::activated, this, command);
    };
    bind(QKeySequence(Qt::CTRL | Qt::Key_N), [this] { N11->trigger(); });
    bind(QKeySequence(Qt::Key_F2), [this] { N11->trigger(); });
    bind(QKeySequence(Qt::Key_F1), [this] { N16->trigger(); });
    bind(QKeySequence(Qt::Key_F10), [this] { mm1->setActiveAction(N111->menuAction()); });
    bind(QKeySequence(Qt::SHIFT | Qt::Key_F10), [this] { ClientAreaContextMenu(Panel1->geometry().center()); });
    bind(QKeySequence(Qt::Key_Menu), [this] { ClientAreaContextMenu(Panel1->geometry().center()); });
    // The rules and about windows end the program too.
    bind(
        QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); }, Qt::ApplicationShortcut);
}

void TForm1::createTimers() {
    Timer1 = new QTimer(this);
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(kSlideTickMs);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

    Timer2 = new QTimer(this);
    Timer2->setInterval(kCelebrationTickMs);
    connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);

    Timer3 = new QTimer(this);
    Timer3->setInterval(kClockTickMs);
    connect(Timer3, &QTimer::timeout, this, &TForm1::Timer3Timer);
}

void TForm1::FormCreate() {
    engine::SeedRandom();
    Panel17->hide();
    Panel18->hide();
    Panel19->hide();
}

CaptionPanel* TForm1::TilePanel(int k) const { return this->*kTilePanels[k - 1]; }

TForm1::~TForm1() = default;

void TForm1::setSecondaryWindowMakers(WindowMaker<QDialog> makeForm2, WindowMaker<QWidget> makeForm3,
                                      WindowMaker<QWidget> makeForm4) {
    Form2.set(std::move(makeForm2), nullptr);
    Form3.set(std::move(makeForm3), nullptr);
    Form4.set(std::move(makeForm4), nullptr);
}

void TForm1::setSecondaryWindows(QDialog* form2, QWidget* form3, QWidget* form4) {
    Form2.set({}, form2);
    Form3.set({}, form3);
    Form4.set({}, form4);
}

void TForm1::setSolverTables(std::string path) {
    hint_->clear();
    par_->clear();
    solver_->setTables(std::move(path));
}

CaptionPanel* TForm1::hintedTile() const { return hint_->hintedTile(); }

namespace {

// Shows a non-modal window, or brings it forward when it is already open.
void bringForward(QWidget* window) {
    if (!window) return;
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace

void TForm1::N16Click() { bringForward(Form4.get()); }

void TForm1::N8Click() { bringForward(Form3.get()); }

void TForm1::showEvent(QShowEvent* event) {
    if (!centred_) {
        centred_ = true;
        platform::centreOnScreen(*this, QGuiApplication::primaryScreen());
    }
    QMainWindow::showEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    // The main window's close ends the program, whatever other window is open.
    if (event->isAccepted()) QCoreApplication::quit();
}
