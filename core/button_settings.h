#pragma once

#include "run_button.h"

#include <array>
#include <span>

namespace pokorin {

struct ButtonSetting {
    RunButton button;
    bool enabled;
};

using ButtonRow = std::span<const ButtonSetting>;

// What each event does to the buttons; a button left out keeps its state.

// Start: a run goes on and only stop can be clicked.
constexpr std::array<ButtonSetting, 5> kStartButtons{{
    {RunButton::Start, false},
    {RunButton::Stop, true},
    {RunButton::Quit, false},
    {RunButton::Initialise, false},
    {RunButton::Help, false},
}};

// Stop: everything but stop itself.
constexpr std::array<ButtonSetting, 5> kStopButtons{{
    {RunButton::Start, true},
    {RunButton::Stop, false},
    {RunButton::Quit, true},
    {RunButton::Initialise, true},
    {RunButton::Help, true},
}};

// A full stack ends the run: only quit and initialise stay usable; help keeps
// the state that start gave it.
constexpr std::array<ButtonSetting, 4> kFullStackButtons{{
    {RunButton::Start, false},
    {RunButton::Stop, false},
    {RunButton::Quit, true},
    {RunButton::Initialise, true},
}};

// Initialise: ready for a new run; help keeps its state.
constexpr std::array<ButtonSetting, 4> kInitialiseButtons{{
    {RunButton::Start, true},
    {RunButton::Stop, false},
    {RunButton::Quit, true},
    {RunButton::Initialise, false},
}};

// The first activation at start-up: nothing runs and nothing is to clear yet.
constexpr std::array<ButtonSetting, 2> kStartUpButtons{{
    {RunButton::Stop, false},
    {RunButton::Initialise, false},
}};

} // namespace pokorin
