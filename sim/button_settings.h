#pragma once

#include "run_button.h"

#include <array>

namespace pokorin {

struct ButtonSetting {
    RunButton button;
    bool enabled;
};

// A full stack ends the run: only quit and initialise stay usable; help keeps
// the state that start gave it.
constexpr std::array<ButtonSetting, 4> kFullStackButtons{{
    {RunButton::Start, false},
    {RunButton::Stop, false},
    {RunButton::Quit, true},
    {RunButton::Initialise, true},
}};

} // namespace pokorin
