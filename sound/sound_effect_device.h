#pragma once

#include "mci_device.h"

#include <QStringList>
#include <memory>

class QSoundEffect;

namespace pokorin {

// The real device: plays a wave file through Qt Multimedia. A file that is
// missing or unplayable gives one warning line and silence, and so does the
// first chime on a machine without sound output; nothing waits for a device
// or for the chime to end.
class SoundEffectDevice final : public MciDevice {
public:
    explicit SoundEffectDevice(QStringList dataFolders);
    ~SoundEffectDevice() override;

    void setCommand(MciCommand command) override;
    void setFileName(const QString &fileName) override { fileName_ = fileName; }

    // True while a playable file is open.
    bool isOpen() const { return !openPath_.isEmpty(); }

private:
    void open();
    void sound();

    QStringList dataFolders_;
    QString fileName_;
    QString openPath_;
    std::unique_ptr<QSoundEffect> effect_;
    bool warnedNoOutput_ = false;
};

} // namespace pokorin
