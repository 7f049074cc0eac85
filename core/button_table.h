#pragma once

#include <array>
#include <cstdint>

namespace pokorin {

// The main window's five buttons, in their tab order: start, stop, quit,
// initialise and help.
constexpr int kMainButtons = 5;

enum class Switch : int8_t { Keep, On, Off };

// What one event does to each button, in that order.
using ButtonRow = std::array<Switch, kMainButtons>;

constexpr Switch Keep = Switch::Keep;
constexpr Switch On = Switch::On;
constexpr Switch Off = Switch::Off;

// Activation, at start-up and on coming back from the help window: nothing
// to stop and, as far as the window knows, nothing to clear.
constexpr ButtonRow kActivationRow{Keep, Off, Keep, Off, Keep};
// Start: a run goes on and only stop can be clicked.
constexpr ButtonRow kStartRow{Off, On, Off, Off, Off};
// Stop: everything but stop itself.
constexpr ButtonRow kStopRow{On, Off, On, On, On};
// A full stack ends the run: only quit and initialise stay usable; help keeps
// the state that start gave it.
constexpr ButtonRow kFullStackRow{Off, Off, On, On, Keep};
// Initialise: ready for a new run; help keeps its state.
constexpr ButtonRow kInitialiseRow{On, Off, On, Off, Keep};

// The row an activation applies: none during a run or after a full stack,
// where stop or initialise is the only way on and taking it would strand
// the experiment.
constexpr ButtonRow ActivationRow(bool running, bool stackFull) {
    return running || stackFull ? ButtonRow{Keep, Keep, Keep, Keep, Keep} : kActivationRow;
}

} // namespace pokorin
