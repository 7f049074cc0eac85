#pragma once

#include "winmm_chime_player.h"

namespace pokorin {

// On Windows the chimes go to Windows' own multimedia API.
using ChimePlayer = WinmmChimePlayer;

} // namespace pokorin
