#pragma once

#include "chime.h"

#include <memory>

namespace pokorin {

// Plays decoded chimes through a platform's own sound interface. play() and
// stop() return at once, whatever the sound system does; a new chime cuts
// off the one still sounding.
class ChimePlayer {
public:
    virtual ~ChimePlayer() = default;
    virtual void play(std::shared_ptr<const Chime> chime) = 0;
    virtual void stop() = 0;
};

// The player of the platform the program is built for.
std::unique_ptr<ChimePlayer> MakeChimePlayer();

} // namespace pokorin
