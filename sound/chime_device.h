#pragma once

// sound/: the two chimes. The window plays cues through a ChimeDevice; the
// real one finds, decodes and plays wave files on each platform's own player.

namespace pokorin {

// The program's two chimes: the door chime before initialise and help, the
// closing chime before the quit question.
enum class ChimeCue { Door, Closing };

// What the chimes are played through. A new cue cuts off the chime still
// sounding. It never fails towards its caller: whatever goes wrong only means
// silence.
class ChimeDevice {
public:
    virtual ~ChimeDevice() = default;
    virtual void play(ChimeCue cue) = 0;
};

} // namespace pokorin
