#include "wave_chime_device.h"

#include "chime_decoder.h"
#include "chime_files.h"

#include <QtDebug>

namespace pokorin {

WaveChimeDevice::WaveChimeDevice(QStringList dataFolders, std::unique_ptr<ChimePlayer> player)
    : dataFolders_(std::move(dataFolders))
    , player_(std::move(player)) {}

void WaveChimeDevice::play(ChimeCue cue) {
    player_->stop();
    chime_.reset();
    open(ChimeFileName(cue));
    if (chime_ != nullptr) {
        player_->play(chime_);
    }
}

void WaveChimeDevice::open(const QString &fileName) {
    const QString path = FindChimeFile(fileName, dataFolders_);
    if (path.isEmpty()) {
        warnOnce(QStringLiteral("chime not found: %1").arg(fileName));
        return;
    }
    QString problem;
    std::optional<Chime> chime;
    if (std::optional<QByteArray> wave = ReadChimeFile(path, problem)) {
        chime = DecodeChime(std::move(*wave), problem);
    }
    if (!chime) {
        warnOnce(QStringLiteral("not a playable wave file: %1 (%2)").arg(path, problem));
        return;
    }
    chime_ = std::make_shared<const Chime>(std::move(*chime));
}

// A classroom clicks the same button all lesson; one line per file says it.
void WaveChimeDevice::warnOnce(const QString &warning) {
    if (!warned_.contains(warning)) {
        warned_.insert(warning);
        qWarning().noquote() << "pokorin:" << warning;
    }
}

} // namespace pokorin
