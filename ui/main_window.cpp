#include "main_window.h"

#include "activation_tracker.h"
#include "app_icon.h"
#include "board/draw_board.h"
#include "board/picture_box.h"
#include "board/ratio_strip.h"
#include "board/right_to_left.h"
#include "board/theory_strip.h"
#include "board/twips_rect.h"
#include "core/checked_add.h"
#include "core/fall_speed.h"
#include "quit_confirmation.h"
#include "sound/sound_cues.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pokorin {

MainWindow::MainWindow(ChimeDevice &device, Clock &clock, RandomSource &random,
                       QuitConfirmation &quit)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint)
    , c_(BuildMainWindowControls(this))
    , chimes_(device)
    , quitConfirmation_(quit)
    , tracker_(new ActivationTracker(this))
    , tick_(state_, *this, clock, random) {
    setWindowTitle(QStringLiteral(" ポコリンの落下の実験"));
    setWindowIcon(PokorinIcon());
    setGeometry(TwipsRect(2775, 1500, 9840, 8130));
    MirrorForRightToLeft(*this);

    tickTimer_.setTimerType(Qt::PreciseTimer);
    tickTimer_.setInterval(kDefaultIntervalMs);
    connect(&tickTimer_, &QTimer::timeout, this, &MainWindow::tick);
    connect(c_.startButton, &QPushButton::clicked, this, &MainWindow::startRun);
    connect(c_.stopButton, &QPushButton::clicked, this, &MainWindow::stopRun);
    connect(c_.quitButton, &QPushButton::clicked, this, &MainWindow::askToQuit);
    connect(c_.initialiseButton, &QPushButton::clicked, this, &MainWindow::initialise);
    connect(c_.helpButton, &QPushButton::clicked, this, &MainWindow::showHelp);
    c_.startButton->setFocus();
    load();
}

MainWindow::~MainWindow() = default;

void MainWindow::load() {
    state_.reset();
}

void MainWindow::showEvent(QShowEvent *event) {
    // The start-up activation must not depend on the window manager handing
    // the focus over, so the first showing already counts as one.
    if (!startedUp_) {
        activate();
    }
    QWidget::showEvent(event);
}

bool MainWindow::event(QEvent *event) {
    if (event->type() == QEvent::WindowActivate &&
        tracker_->previous() == ActivationTracker::Role::Help) {
        activate();
    }
    return QWidget::event(event);
}

void MainWindow::closeEvent(QCloseEvent *event) {
    help_.close(); // no window stays behind without the main window
    QWidget::closeEvent(event);
}

// Redraws the picture over itself; only the start-up run sets buttons, as a
// later one would strand a running or finished experiment without them.
void MainWindow::activate() {
    DrawBoard(*c_.board);
    showBallAt(state_.ballX, state_.ballY);
    setDropCountCaption(std::to_string(state_.dropCount));
    if (!startedUp_) {
        setButtons(kStartUpButtons);
        startedUp_ = true;
    }
    PrintTheoryStrip(*c_.theoryStrip);
    PrintRatioHeading(*c_.ratioStrip);
    emit activated();
}

void MainWindow::tick() {
    tick_.tick();
}

void MainWindow::startRun() {
    const FallSpeed speed = ReadFallSpeed(c_.fallSpeedField->text());
    if (speed.resetText) {
        c_.fallSpeedField->setText(kDefaultSpeedText);
    }
    tickTimer_.start(speed.intervalMs);
    setButtons(kStartButtons);
    ResetRatioStrip(*c_.ratioStrip);
}

void MainWindow::stopRun() {
    tickTimer_.stop();
    setButtons(kStopButtons);
    PrintRatios(*c_.ratioStrip, state_.binCounts);
}

void MainWindow::askToQuit() {
    EndCue(chimes_);
    quitConfirmation_.ask(this, [this](int answer) {
        state_.quitAnswer = static_cast<int16_t>(answer);
        if (state_.quitAnswer == kAnswerYes) {
            endProgram();
        }
    });
}

void MainWindow::initialise() {
    ClickCue(chimes_);
    state_.reset();
    c_.ball->show();
    showBallAt(state_.ballX, state_.ballY);
    setDropCountCaption(std::to_string(state_.dropCount));
    setButtons(kInitialiseButtons);
    ResetRatioStrip(*c_.ratioStrip);
    setCursor(Qt::WaitCursor);
    hideAllSquares();
    setCursor(Qt::ArrowCursor);
}

void MainWindow::hideAllSquares() {
    for (state_.squareIndex = 1; state_.squareIndex <= kStackCapacity;
         state_.squareIndex = CheckedAdd(state_.squareIndex, 1)) {
        for (Stack &stack : c_.stacks) {
            stack.at(state_.squareIndex - 1)->hide();
        }
    }
}

void MainWindow::showHelp() {
    ClickCue(chimes_);
    help_.show();
}

void MainWindow::endProgram() {
    help_.close();
    close();
    QCoreApplication::quit();
}

void MainWindow::showBallAt(float x, float y) {
    c_.ball->move(c_.board->toPixels({x, y}).toPoint());
}

void MainWindow::setDropCountCaption(const std::string &caption) {
    c_.dropCounter->setText(QString::fromStdString(caption));
}

void MainWindow::showSquare(int bin, int square) {
    c_.stacks.at(bin - 1).at(square - 1)->show();
}

void MainWindow::disableTimer() {
    tickTimer_.stop();
}

void MainWindow::hideBall() {
    c_.ball->hide();
}

void MainWindow::setButtonEnabled(RunButton button, bool enabled) {
    QPushButton *const buttons[] = {c_.startButton, c_.stopButton, c_.quitButton,
                                    c_.initialiseButton, c_.helpButton};
    buttons[static_cast<int>(button)]->setEnabled(enabled);
}

void MainWindow::printRatios(const BinCounts &counts) {
    PrintRatios(*c_.ratioStrip, counts);
}

} // namespace pokorin
