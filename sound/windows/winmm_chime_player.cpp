#include "winmm_chime_player.h"

#include <QtDebug>
#include <windows.h>
// after windows.h, which it needs
#include <mmsystem.h>

namespace pokorin {

WinmmChimePlayer::WinmmChimePlayer()
    : thread_([this] { run(); }) {}

WinmmChimePlayer::~WinmmChimePlayer() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void WinmmChimePlayer::play(std::shared_ptr<const Chime> chime) {
    post(std::move(chime));
}

void WinmmChimePlayer::stop() {
    post(nullptr);
}

void WinmmChimePlayer::post(std::shared_ptr<const Chime> chime) {
    {
        const std::lock_guard lock(mutex_);
        requests_.push_back(std::move(chime));
    }
    wake_.notify_one();
}

// The chime that sounds stays here until the next request, since PlaySound
// reads its bytes while it plays.
void WinmmChimePlayer::run() {
    std::shared_ptr<const Chime> sounding;
    bool lossReported = false;
    for (;;) {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return ending_ || !requests_.empty(); });
        if (ending_) {
            break;
        }
        std::shared_ptr<const Chime> next = std::move(requests_.front());
        requests_.pop_front();
        lock.unlock();
        PlaySoundW(nullptr, nullptr, 0);
        sounding = std::move(next);
        if (sounding == nullptr) {
            continue;
        }
        const bool started = PlaySoundW(reinterpret_cast<LPCWSTR>(sounding->wave.constData()),
                                        nullptr, SND_ASYNC | SND_MEMORY | SND_NODEFAULT);
        if (!started && !lossReported) {
            qWarning().noquote() << "pokorin: no sound output; the chimes are silent";
        }
        lossReported = !started;
    }
    PlaySoundW(nullptr, nullptr, 0);
}

// On Windows the chimes go to Windows' own multimedia API.
std::unique_ptr<ChimePlayer> MakeChimePlayer() {
    return std::make_unique<WinmmChimePlayer>();
}

} // namespace pokorin
