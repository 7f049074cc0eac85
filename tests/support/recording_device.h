#pragma once

#include "sound/mci_device.h"

#include <QStringList>
#include <functional>

namespace pokorin::test {

// Writes down every operation on the device; `onSound` runs at the moment a
// chime would start.
class RecordingDevice final : public MciDevice {
public:
    QStringList operations;
    std::function<void()> onSound;

    void setCommand(MciCommand command) override {
        static const char *const names[] = {"Stop", "Close", "Open", "Sound"};
        operations << QLatin1String(names[static_cast<int>(command)]);
        if (command == MciCommand::Sound && onSound) {
            onSound();
        }
    }
    void setFileName(const QString &fileName) override { operations << "FileName=" + fileName; }
};

} // namespace pokorin::test
