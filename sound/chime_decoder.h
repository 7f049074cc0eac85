#pragma once

#include "chime.h"

#include <QString>
#include <optional>

namespace pokorin {

// Makes a chime of a wave file's bytes, in the way this platform plays it;
// nothing, with the reason in `problem`, when the bytes cannot be played.
std::optional<Chime> DecodeChime(QByteArray wave, QString &problem);

} // namespace pokorin
