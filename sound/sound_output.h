#pragma once

namespace pokorin {

// True when a sound server is reachable and offers an output. Without a
// server, Qt Multimedia is not touched at all: it would only fill the
// terminal with its own connection errors.
bool SoundOutputAvailable();

} // namespace pokorin
