#pragma once

#include <QByteArray>

namespace pokorin {

// A chime ready to play: little-endian PCM samples and their format.
struct Chime {
    int sampleRate = 0;
    int channels = 0;      // 1 or 2
    int bitsPerSample = 0; // 8 (unsigned) or 16 (signed)
    QByteArray samples;
};

} // namespace pokorin
