#include "sound_cues.h"

namespace pokorin {
namespace {

void PlayCue(ChimeDevice &device, const QString &file) {
    device.setCommand(ChimeCommand::Stop);
    device.setCommand(ChimeCommand::Close);
    device.setFileName(file);
    device.setCommand(ChimeCommand::Open);
    device.setCommand(ChimeCommand::Sound);
}

} // namespace

void ClickCue(ChimeDevice &device) {
    PlayCue(device, kClickChime);
}

void EndCue(ChimeDevice &device) {
    PlayCue(device, kEndChime);
}

} // namespace pokorin
