#pragma once

#include "mci_device.h"
#include "pulse_chime_player.h"

#include <QStringList>

namespace pokorin {

// The real device. Opening finds and reads the wave file; a file that is
// missing or unplayable gives one warning line and silence. Playing hands
// the chime to the player and returns at once.
class ChimeDevice final : public MciDevice {
public:
    explicit ChimeDevice(QStringList dataFolders);

    void setCommand(MciCommand command) override;
    void setFileName(const QString &fileName) override { fileName_ = fileName; }

    // True while a playable file is open.
    bool isOpen() const { return chime_ != nullptr; }
    const PulseChimePlayer &player() const { return player_; }

private:
    void open();

    QStringList dataFolders_;
    QString fileName_;
    std::shared_ptr<const Chime> chime_;
    PulseChimePlayer player_;
};

} // namespace pokorin
