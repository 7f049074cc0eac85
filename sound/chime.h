#pragma once

#include <QByteArray>

namespace pokorin {

// A chime as read at Open: the wave file's own bytes and, where the program
// decodes them itself, interleaved 32-bit float samples and their format.
struct Chime {
    QByteArray wave;
    int sampleRate = 0;
    int channels = 0;
    QByteArray samples;
};

} // namespace pokorin
