#include "sound_cues.h"

namespace pokorin {
namespace {

void PlayCue(MciDevice &device, const QString &file) {
    device.setCommand(MciCommand::Stop);
    device.setCommand(MciCommand::Close);
    device.setFileName(file);
    device.setCommand(MciCommand::Open);
    device.setCommand(MciCommand::Sound);
}

} // namespace

void ClickCue(MciDevice &device) {
    PlayCue(device, kClickChime);
}

void EndCue(MciDevice &device) {
    PlayCue(device, kEndChime);
}

} // namespace pokorin
