#include "main_window.h"

#include "activation_tracker.h"
#include "app_icon.h"
#include "board/board_view.h"
#include "board/number_strip.h"
#include "core/fall_speed.h"
#include "core/ratios.h"
#include "core/shown_texts.h"
#include "help/help_window.h"
#include "quit_confirmation.h"
#include "sound/chime_device.h"
#include "window/right_to_left.h"
#include "window/window_place.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pokorin {

MainWindow::MainWindow(ChimeDevice &chimes, Clock &clock, RandomSource &random,
                       QuitConfirmation &quit)
    : QWidget(nullptr, kFixedWindowFrame)
    , controls_(BuildMainWindowControls(this))
    , chimes_(chimes)
    , quitConfirmation_(quit)
    , tracker_(new ActivationTracker(this))
    , tick_(experiment_, clock, random) {
    setWindowTitle(kMainWindowTitle);
    setWindowIcon(PokorinIcon());
    setGeometry(ScreenPlace(MainWindowDesignPlace()));
    MirrorForRightToLeft(*this);

    tickTimer_.setTimerType(Qt::PreciseTimer);
    tickTimer_.setInterval(kDefaultIntervalMs);
    connect(&tickTimer_, &QTimer::timeout, this, &MainWindow::tick);
    connect(controls_.startButton, &QPushButton::clicked, this, &MainWindow::startRun);
    connect(controls_.stopButton, &QPushButton::clicked, this, &MainWindow::stopRun);
    connect(controls_.quitButton, &QPushButton::clicked, this, &MainWindow::askToQuit);
    connect(controls_.initialiseButton, &QPushButton::clicked, this, &MainWindow::initialise);
    connect(controls_.helpButton, &QPushButton::clicked, this, &MainWindow::showHelp);
    controls_.startButton->setFocus();
    experiment_.reset(); // zero at creation: the ball to its start
}

MainWindow::~MainWindow() = default;

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

// Redraws the picture over itself and takes stop and initialise away, where
// that strands no experiment.
void MainWindow::activate() {
    startedUp_ = true;
    controls_.board->placeBall(experiment_.ball);
    showDropCount();
    setButtons(ActivationRow(tickTimer_.isActive(), experiment_.hasFullStack()));
    emit activated();
}

void MainWindow::tick() {
    const TickEvent event = tick_.tick();
    controls_.board->placeBall(event.ballShownAt);
    if (event.kind == TickEvent::Kind::Stepped) {
        return;
    }
    showDropCount();
    if (event.bin != 0) {
        controls_.board->showSquares(event.bin, event.square);
    }
    emit binsChanged();
    if (event.kind == TickEvent::Kind::StackFilled) {
        endRun();
    }
}

// A full stack ends the run by itself, with the ratios of all its balls.
void MainWindow::endRun() {
    tickTimer_.stop();
    controls_.board->setBallVisible(false);
    setButtons(kFullStackRow);
    showRatios();
}

void MainWindow::startRun() {
    const FallSpeed speed = ReadFallSpeed(controls_.fallSpeedField->text());
    if (speed.resetText) {
        controls_.fallSpeedField->setText(QString::number(kDefaultIntervalMs));
    }
    tickTimer_.start(speed.intervalMs);
    setButtons(kStartRow);
    showRatioHeading();
}

void MainWindow::stopRun() {
    tickTimer_.stop();
    setButtons(kStopRow);
    showRatios();
}

void MainWindow::askToQuit() {
    chimes_.play(ChimeCue::Closing);
    quitConfirmation_.ask(this, [this](bool yes) {
        if (yes) {
            endProgram();
        }
    });
}

void MainWindow::initialise() {
    chimes_.play(ChimeCue::Door);
    experiment_.reset();
    controls_.board->setBallVisible(true);
    controls_.board->placeBall(experiment_.ball);
    showDropCount();
    setButtons(kInitialiseRow);
    showRatioHeading();
    // Hiding the squares is the work of initialise: the busy pointer shows
    // while it lasts, then the arrow, set as such rather than unset.
    setCursor(Qt::WaitCursor);
    controls_.board->clearStacks();
    setCursor(Qt::ArrowCursor);
    emit binsChanged();
}

void MainWindow::showHelp() {
    chimes_.play(ChimeCue::Door);
    help_.show();
}

void MainWindow::endProgram() {
    help_.close();
    close();
    QCoreApplication::quit();
}

void MainWindow::showRatioHeading() {
    controls_.ratioStrip->showNumbers(kRatioHeading, {});
}

// The ratios of all balls landed since the last initialise; before any
// there are none, and the strip keeps its heading.
void MainWindow::showRatios() {
    QStringList numbers;
    if (const auto ratios = RatioTexts(experiment_.bins)) {
        std::transform(ratios->begin(), ratios->end(), std::back_inserter(numbers),
                       &QString::fromStdString);
    }
    controls_.ratioStrip->showNumbers(kRatioHeading, numbers);
}

void MainWindow::showDropCount() {
    controls_.dropCounter->setText(QString::number(experiment_.drops));
}

void MainWindow::setButtons(const ButtonRow &row) {
    const auto buttons = controls_.mainButtons();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (row.at(i) != Switch::Keep) {
            buttons.at(i)->setEnabled(row.at(i) == Switch::On);
        }
    }
}

} // namespace pokorin
