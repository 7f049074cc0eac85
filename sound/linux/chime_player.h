#pragma once

#include "pulse_chime_player.h"

namespace pokorin {

// On Linux the chimes go to the PulseAudio (or PipeWire) server.
using ChimePlayer = PulseChimePlayer;

} // namespace pokorin
