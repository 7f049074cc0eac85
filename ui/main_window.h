#pragma once

// ui/: the main window. It wires the buttons and the timer to the core, shows
// what the core returns, and keeps what only a window needs.

#include "core/button_table.h"
#include "core/drop_tick.h"
#include "help/help_launcher.h"
#include "main_window_controls.h"

#include <QTimer>
#include <QWidget>

namespace pokorin {

class ActivationTracker;
class ChimeDevice;
class QuitConfirmation;

// The main window: the board with the ball and the stacks, the two strips,
// the drop counter, the fall-speed field and the five buttons. It owns the
// experiment's state; its timer drives the drop tick.
class MainWindow final : public QWidget {
    Q_OBJECT

public:
    MainWindow(ChimeDevice &chimes, Clock &clock, RandomSource &random, QuitConfirmation &quit);
    ~MainWindow() override;

    const Experiment &experiment() const { return experiment_; }
    const MainWindowControls &controls() const { return controls_; }
    const QTimer &tickTimer() const { return tickTimer_; }
    const HelpLauncher &help() const { return help_; }

    // One tick of the experiment, as the timer delivers it.
    void tick();

signals:
    void activated();
    // A ball landed, or initialise emptied the bins.
    void binsChanged();

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void activate();
    void startRun();
    void stopRun();
    void askToQuit();
    void initialise();
    void showHelp();
    void endRun();
    void endProgram();
    void showDropCount();
    void showRatioHeading();
    void showRatios();
    void setButtons(const ButtonRow &row);

    Experiment experiment_;
    MainWindowControls controls_;
    QTimer tickTimer_;
    ChimeDevice &chimes_;
    QuitConfirmation &quitConfirmation_;
    HelpLauncher help_;
    ActivationTracker *tracker_;
    DropTick tick_;
    bool startedUp_ = false;
};

} // namespace pokorin
