#include "chime_device.h"

#include "chime_files.h"

#include <QtDebug>

namespace pokorin {

ChimeDevice::ChimeDevice(QStringList dataFolders)
    : dataFolders_(std::move(dataFolders)) {}

void ChimeDevice::setCommand(MciCommand command) {
    switch (command) {
    case MciCommand::Stop:
        player_.stop();
        break;
    case MciCommand::Close:
        chime_.reset();
        break;
    case MciCommand::Open:
        open();
        break;
    case MciCommand::Sound:
        if (chime_ != nullptr) {
            player_.play(chime_);
        }
        break;
    }
}

void ChimeDevice::open() {
    const QString path = FindChimeFile(fileName_, dataFolders_);
    if (path.isEmpty()) {
        qWarning().noquote() << "pokorin: chime not found:" << fileName_;
        return;
    }
    std::optional<Chime> chime = LoadChime(path);
    if (!chime) {
        qWarning().noquote() << "pokorin: not a playable wave file:" << path;
        return;
    }
    chime_ = std::make_shared<const Chime>(std::move(*chime));
}

} // namespace pokorin
