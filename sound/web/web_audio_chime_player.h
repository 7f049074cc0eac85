#pragma once

#include "sound/chime_player.h"

#include <memory>

namespace pokorin {

// Plays chimes through the page's Web Audio: the browser decodes the wave
// file's bytes and plays them on its own, so play() and stop() return at
// once. A page that has no audio, or refuses it, is silent.
class WebAudioChimePlayer final : public ChimePlayer {
public:
    void play(std::shared_ptr<const Chime> chime) override;
    void stop() override;
};

} // namespace pokorin
