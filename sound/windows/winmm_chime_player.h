#pragma once

#include "sound/chime_player.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace pokorin {

// Plays chimes with PlaySound from the wave file's bytes, on a thread of its
// own: play() and stop() only hand the request over and return at once,
// however long Windows takes to open the audio device.
class WinmmChimePlayer final : public ChimePlayer {
public:
    WinmmChimePlayer();
    ~WinmmChimePlayer() override;
    WinmmChimePlayer(const WinmmChimePlayer &) = delete;
    WinmmChimePlayer &operator=(const WinmmChimePlayer &) = delete;

    void play(std::shared_ptr<const Chime> chime) override;
    void stop() override;

private:
    void post(std::shared_ptr<const Chime> chime);
    void run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::shared_ptr<const Chime>> requests_; // null: stop
    bool ending_ = false;
    std::thread thread_;
};

} // namespace pokorin
