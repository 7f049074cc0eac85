#pragma once

#include "web_audio_chime_player.h"

namespace pokorin {

// In the browser the chimes go to the page's Web Audio.
using ChimePlayer = WebAudioChimePlayer;

} // namespace pokorin
