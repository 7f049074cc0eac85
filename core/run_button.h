#pragma once

namespace pokorin {

// The five command buttons of the main window, by role.
enum class RunButton { Start, Stop, Quit, Initialise, Help };

} // namespace pokorin
