#include "main_window.h"

#include "activation_tracker.h"
#include "app_icon.h"
#include "board/draw_board.h"
#include "board/picture_box.h"
#include "board/ratio_strip.h"
#include "board/right_to_left.h"
#include "board/theory_strip.h"
#include "board/twips_rect.h"
#include "core/fall_speed.h"
#include "help/help_window.h"
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
    , tick_(experiment_, clock, random) {
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
    experiment_.reset();
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
        tracker_->previous() == &HelpWindow::staticMetaObject) {
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
    showBallAt(experiment_.ball);
    showDropCount();
    if (!startedUp_) {
        setButtons(kStartUpRow);
        startedUp_ = true;
    }
    PrintTheoryStrip(*c_.theoryStrip);
    PrintRatioHeading(*c_.ratioStrip);
    emit activated();
}

void MainWindow::tick() {
    const TickEvent event = tick_.tick();
    showBallAt(event.ballShownAt);
    if (event.kind == TickEvent::Kind::Stepped) {
        return;
    }
    showDropCount();
    if (event.bin != 0) {
        c_.stacks.at(event.bin - 1).at(event.square - 1)->show();
    }
    if (event.kind == TickEvent::Kind::StackFilled) {
        endRun();
    }
}

// A full stack ends the run by itself, with the ratios of all its balls.
void MainWindow::endRun() {
    tickTimer_.stop();
    c_.ball->hide();
    setButtons(kFullStackRow);
    PrintRatios(*c_.ratioStrip, experiment_.bins);
}

void MainWindow::startRun() {
    const FallSpeed speed = ReadFallSpeed(c_.fallSpeedField->text());
    if (speed.resetText) {
        c_.fallSpeedField->setText(kDefaultSpeedText);
    }
    tickTimer_.start(speed.intervalMs);
    setButtons(kStartRow);
    ResetRatioStrip(*c_.ratioStrip);
}

void MainWindow::stopRun() {
    tickTimer_.stop();
    setButtons(kStopRow);
    PrintRatios(*c_.ratioStrip, experiment_.bins);
}

void MainWindow::askToQuit() {
    EndCue(chimes_);
    quitConfirmation_.ask(this, [this](bool yes) {
        if (yes) {
            endProgram();
        }
    });
}

void MainWindow::initialise() {
    ClickCue(chimes_);
    experiment_.reset();
    c_.ball->show();
    showBallAt(experiment_.ball);
    showDropCount();
    setButtons(kInitialiseRow);
    ResetRatioStrip(*c_.ratioStrip);
    setCursor(Qt::WaitCursor);
    hideAllSquares();
    setCursor(Qt::ArrowCursor);
}

void MainWindow::hideAllSquares() {
    for (int square = 0; square < kStackCapacity; ++square) {
        for (Stack &stack : c_.stacks) {
            stack.at(square)->hide();
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

void MainWindow::showBallAt(BoardPoint point) {
    c_.ball->move(c_.board->toPixels(point).toPoint());
}

void MainWindow::showDropCount() {
    c_.dropCounter->setText(QString::number(experiment_.drops));
}

void MainWindow::setButtons(const ButtonRow &row) {
    const std::array<QPushButton *, kRunButtons> buttons{
        c_.startButton, c_.stopButton, c_.quitButton, c_.initialiseButton, c_.helpButton};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (row.at(i) != Switch::Keep) {
            buttons.at(i)->setEnabled(row.at(i) == Switch::On);
        }
    }
}

} // namespace pokorin
