#pragma once

#include "chime_device.h"

namespace pokorin {

inline const QString kClickChime = QStringLiteral("pinpon.wav");
inline const QString kEndChime = QStringLiteral("endpinpon.wav");

// Each cue stops and closes what the previous one left open, so a new chime
// cuts off one that is still sounding, then opens and plays its own.
void ClickCue(ChimeDevice &device);
void EndCue(ChimeDevice &device);

} // namespace pokorin
