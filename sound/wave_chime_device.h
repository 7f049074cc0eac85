#pragma once

#include "chime_device.h"
#include "chime_player.h"

#include <QSet>
#include <QStringList>
#include <memory>

namespace pokorin {

// The real device. Each cue stops and closes the chime before it, then finds,
// reads and decodes its wave file and hands it to the player, which returns
// at once. A file that is missing or unplayable means silence, with one
// warning per file in a run; the last file stays open until the next cue.
class WaveChimeDevice final : public ChimeDevice {
public:
    explicit WaveChimeDevice(QStringList dataFolders,
                             std::unique_ptr<ChimePlayer> player = MakeChimePlayer());

    void play(ChimeCue cue) override;

    // True while a playable file is open.
    bool isOpen() const { return chime_ != nullptr; }

private:
    void open(const QString &fileName);
    void warnOnce(const QString &warning);

    QStringList dataFolders_;
    QSet<QString> warned_;
    std::shared_ptr<const Chime> chime_;
    std::unique_ptr<ChimePlayer> player_;
};

} // namespace pokorin
