#include "main_window.h"

#include "activation_tracker.h"
#include "app_icon.h"
#include "board/draw_board.h"
#include "board/picture_box.h"
#include "board/ratio_strip.h"
#include "board/right_to_left.h"
#include "board/theory_strip.h"
#include "board/twips_rect.h"
#include "fall_speed.h"
#include "quit_confirmation.h"
#include "sim/checked_add.h"
#include "sound/sound_cues.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pokorin {

Form1::Form1(MciDevice &device, Clock &clock, RandomSource &random, QuitConfirmation &quit)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint)
    , c_(BuildForm1Controls(this))
    , MMControl1(device)
    , quitConfirmation_(quit)
    , tracker_(new ActivationTracker(this))
    , tick_(state_, *this, clock, random) {
    setWindowTitle(QStringLiteral(" ポコリンの落下の実験"));
    setWindowIcon(PokorinIcon());
    setGeometry(TwipsRect(2775, 1500, 9840, 8130));
    MirrorForRightToLeft(*this);

    Timer1.setTimerType(Qt::PreciseTimer);
    Timer1.setInterval(kDefaultIntervalMs);
    connect(&Timer1, &QTimer::timeout, this, &Form1::Timer1Timer);
    connect(c_.Command1, &QPushButton::clicked, this, &Form1::Command1Click);
    connect(c_.Command2, &QPushButton::clicked, this, &Form1::Command2Click);
    connect(c_.Command3, &QPushButton::clicked, this, &Form1::Command3Click);
    connect(c_.Command4, &QPushButton::clicked, this, &Form1::Command4Click);
    connect(c_.Command5, &QPushButton::clicked, this, &Form1::Command5Click);
    c_.Command1->setFocus();
    Form1Load();
}

Form1::~Form1() = default;

void Form1::Form1Load() {
    state_.ResetSimulation();
}

void Form1::showEvent(QShowEvent *event) {
    // The start-up activation must not depend on the window manager handing
    // the focus over, so the first showing already counts as one.
    if (!startedUp_) {
        Form1Activate();
    }
    QWidget::showEvent(event);
}

bool Form1::event(QEvent *event) {
    if (event->type() == QEvent::WindowActivate &&
        tracker_->previous() == ActivationTracker::Role::Help) {
        Form1Activate();
    }
    return QWidget::event(event);
}

void Form1::closeEvent(QCloseEvent *event) {
    help_.close(); // no window stays behind without the main window
    QWidget::closeEvent(event);
}

// Redraws the picture over itself; only the start-up run sets buttons, as a
// later one would strand a running or finished experiment without them.
void Form1::Form1Activate() {
    DrawBoard(*c_.Picture1);
    showBallAt(state_.BallX, state_.BallY);
    setDropCountCaption(std::to_string(state_.DropCount));
    if (!startedUp_) {
        setButtons(kStartUpButtons);
        startedUp_ = true;
    }
    PrintTheoryStrip(*c_.Picture3);
    PrintRatioHeading(*c_.Picture4);
    emit activated();
}

void Form1::Timer1Timer() {
    tick_.tick();
}

void Form1::Command1Click() {
    const FallSpeed speed = ReadFallSpeed(c_.Text1->text());
    if (speed.resetText) {
        c_.Text1->setText(kDefaultSpeedText);
    }
    Timer1.start(speed.intervalMs);
    setButtons(kStartButtons);
    ResetRatioStrip(*c_.Picture4);
}

void Form1::Command2Click() {
    Timer1.stop();
    setButtons(kStopButtons);
    PrintRatios(*c_.Picture4, state_.BinCount);
}

void Form1::Command3Click() {
    EndCue(MMControl1);
    quitConfirmation_.ask(this, [this](int answer) {
        state_.QuitAnswer = static_cast<int16_t>(answer);
        if (state_.QuitAnswer == kAnswerYes) {
            endProgram();
        }
    });
}

void Form1::Command4Click() {
    ClickCue(MMControl1);
    state_.ResetSimulation();
    c_.Picture2->show();
    showBallAt(state_.BallX, state_.BallY);
    setDropCountCaption(std::to_string(state_.DropCount));
    setButtons(kInitialiseButtons);
    ResetRatioStrip(*c_.Picture4);
    setCursor(Qt::WaitCursor);
    hideAllSquares();
    setCursor(Qt::ArrowCursor);
}

void Form1::hideAllSquares() {
    for (state_.SquareIndex = 1; state_.SquareIndex <= kStackCapacity;
         state_.SquareIndex = CheckedAdd(state_.SquareIndex, 1)) {
        for (Stack &stack : c_.o) {
            stack.at(state_.SquareIndex - 1)->hide();
        }
    }
}

void Form1::Command5Click() {
    ClickCue(MMControl1);
    help_.show();
}

void Form1::endProgram() {
    help_.close();
    close();
    QCoreApplication::quit();
}

void Form1::showBallAt(float x, float y) {
    c_.Picture2->move(c_.Picture1->toPixels({x, y}).toPoint());
}

void Form1::setDropCountCaption(const std::string &caption) {
    c_.Label1->setText(QString::fromStdString(caption));
}

void Form1::showSquare(int bin, int square) {
    c_.o.at(bin - 1).at(square - 1)->show();
}

void Form1::disableTimer() {
    Timer1.stop();
}

void Form1::hideBall() {
    c_.Picture2->hide();
}

void Form1::setButtonEnabled(RunButton button, bool enabled) {
    QPushButton *const buttons[] = {c_.Command1, c_.Command2, c_.Command3, c_.Command4,
                                    c_.Command5};
    buttons[static_cast<int>(button)]->setEnabled(enabled);
}

void Form1::printRatios(const BinCounts &counts) {
    PrintRatios(*c_.Picture4, counts);
}

} // namespace pokorin
