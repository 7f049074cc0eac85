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

// The first activation at start-up: nothing runs and nothing is to clear yet.
constexpr ButtonRow kStartUpRow{Keep, Off, Keep, Off, Keep};
// Start: a run goes on and only stop can be clicked.
constexpr ButtonRow kStartRow{Off, On, Off, Off, Off};
// Stop: everything but stop itself.
constexpr ButtonRow kStopRow{On, Off, On, On, On};
// A full stack ends the run: only quit and initialise stay usable; help keeps
// the state that start gave it.
constexpr ButtonRow kFullStackRow{Off, Off, On, On, Keep};
// Initialise: ready for a new run; help keeps its state.
constexpr ButtonRow kInitialiseRow{On, Off, On, Off, Keep};

} // namespace pokorin
