#pragma once

#include "chime_device.h"
#include "chime_player.h"

#include <QSet>
#include <QStringList>
#include <memory>

namespace pokorin {

// The real device. Opening finds, reads and decodes the wave file; a file
// that is missing or unplayable means silence, with one warning per file in
// a run. Playing hands the chime to the player and returns at once.
class WaveChimeDevice final : public ChimeDevice {
public:
    explicit WaveChimeDevice(QStringList dataFolders);

    void setCommand(ChimeCommand command) override;
    void setFileName(const QString &fileName) override { fileName_ = fileName; }

    // True while a playable file is open.
    bool isOpen() const { return chime_ != nullptr; }
    const ChimePlayer &player() const { return player_; }

private:
    void open();
    void warnOnce(const QString &warning);

    QStringList dataFolders_;
    QString fileName_;
    QSet<QString> warned_;
    std::shared_ptr<const Chime> chime_;
    ChimePlayer player_;
};

} // namespace pokorin
