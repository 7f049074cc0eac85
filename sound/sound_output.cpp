#include "sound_output.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QStringList>

namespace pokorin {
namespace {

// The places where a PulseAudio (or PipeWire) server listens.
bool SoundServerReachable() {
    if (!qEnvironmentVariableIsEmpty("PULSE_SERVER")) {
        return true;
    }
    QStringList sockets{QStringLiteral("/run/pulse/native"),
                        QStringLiteral("/var/run/pulse/native")};
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        sockets.prepend(runtime + QStringLiteral("/pulse/native"));
    }
    for (const QString &socket : sockets) {
        if (QFileInfo::exists(socket)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool SoundOutputAvailable() {
    return SoundServerReachable() && !QMediaDevices::audioOutputs().isEmpty();
}

} // namespace pokorin
