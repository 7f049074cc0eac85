#pragma once

#include "form1_controls.h"
#include "help/help_launcher.h"
#include "sim/drop_tick.h"

#include <QTimer>
#include <QWidget>

namespace pokorin {

class ActivationTracker;
class MciDevice;
class QuitConfirmation;

// The main window: the board with the ball and the stacks, the two strips,
// the drop counter, the fall-speed field and the five buttons. It owns the
// experiment's state; its timer drives the drop tick.
class Form1 final : public QWidget, public TickView {
    Q_OBJECT

public:
    Form1(MciDevice &device, Clock &clock, RandomSource &random, QuitConfirmation &quit);
    ~Form1() override;

    const SimulationState &state() const { return state_; }
    const Form1Controls &controls() const { return c_; }
    const QTimer &timer() const { return Timer1; }
    const HelpLauncher &help() const { return help_; }

    // One tick of the experiment, as the timer delivers it.
    void Timer1Timer();

    void showBallAt(float x, float y) override;
    void setDropCountCaption(const std::string &caption) override;
    void showSquare(int bin, int square) override;
    void disableTimer() override;
    void hideBall() override;
    void setButtonEnabled(RunButton button, bool enabled) override;
    void printRatios(const BinCounts &counts) override;

signals:
    void activated();

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form1Load();
    void Form1Activate();
    void Command1Click();
    void Command2Click();
    void Command3Click();
    void Command4Click();
    void Command5Click();
    void hideAllSquares();
    void endProgram();

    SimulationState state_;
    Form1Controls c_;
    QTimer Timer1;
    MciDevice &MMControl1;
    QuitConfirmation &quitConfirmation_;
    HelpLauncher help_;
    ActivationTracker *tracker_;
    DropTick tick_;
    bool startedUp_ = false;
};

} // namespace pokorin
