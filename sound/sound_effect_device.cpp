#include "sound_effect_device.h"

#include "chime_files.h"
#include "sound_output.h"

#include <QSoundEffect>
#include <QUrl>
#include <QtDebug>

namespace pokorin {

SoundEffectDevice::SoundEffectDevice(QStringList dataFolders)
    : dataFolders_(std::move(dataFolders)) {}

SoundEffectDevice::~SoundEffectDevice() = default;

void SoundEffectDevice::setCommand(MciCommand command) {
    switch (command) {
    case MciCommand::Stop:
        if (effect_) {
            effect_->stop();
        }
        break;
    case MciCommand::Close:
        effect_.reset();
        openPath_.clear();
        break;
    case MciCommand::Open:
        open();
        break;
    case MciCommand::Sound:
        sound();
        break;
    }
}

void SoundEffectDevice::open() {
    const QString path = FindChimeFile(fileName_, dataFolders_);
    if (path.isEmpty()) {
        qWarning().noquote() << "pokorin: chime not found:" << fileName_;
    } else if (!IsPlayableWave(path)) {
        qWarning().noquote() << "pokorin: not a playable wave file:" << path;
    } else {
        openPath_ = path;
    }
}

void SoundEffectDevice::sound() {
    if (!isOpen()) {
        return;
    }
    if (!SoundOutputAvailable()) {
        if (!warnedNoOutput_) {
            qWarning().noquote() << "pokorin: no sound output; the chimes are silent";
            warnedNoOutput_ = true;
        }
        return;
    }
    effect_ = std::make_unique<QSoundEffect>();
    effect_->setSource(QUrl::fromLocalFile(openPath_));
    effect_->play();
}

} // namespace pokorin
