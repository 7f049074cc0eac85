#pragma once

#include "chime.h"

#include <QString>
#include <optional>

namespace pokorin {

// Whether a format is one a chime can have: more channels than a sound card
// takes, or an absurd rate, makes a damaged file or no chime at all.
constexpr bool IsChimeFormat(long channels, long samplesPerSecond) {
    return channels >= 1 && channels <= 8 && samplesPerSecond >= 1000 && samplesPerSecond <= 384000;
}

// Makes a chime of a wave file's bytes, in the way this platform plays it;
// nothing, with the reason in `problem`, when the bytes cannot be played.
std::optional<Chime> DecodeChime(QByteArray wave, QString &problem);

} // namespace pokorin
