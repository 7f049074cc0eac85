#pragma once

#include "sound/chime_player.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>

struct pa_context;
struct pa_io_event;
struct pa_stream;
struct pa_threaded_mainloop;

namespace pokorin {

// Plays chimes through a PulseAudio (or PipeWire) server, on the thread of
// PulseAudio's own event loop. play() and stop() only hand the request over
// and return at once, whatever the server does: hung, gone, slow to answer
// or coming back. The player connects at a chime, connects again at the next
// chime after the server went away, and reports each loss of the output once.
class PulseChimePlayer final : public ChimePlayer {
public:
    enum class Link { Unknown, Connecting, Up, Down };

    PulseChimePlayer();
    ~PulseChimePlayer() override;
    PulseChimePlayer(const PulseChimePlayer &) = delete;
    PulseChimePlayer &operator=(const PulseChimePlayer &) = delete;

    void play(std::shared_ptr<const Chime> chime) override;
    void stop() override;

    // Where the connection to the server stands, as far as it has got.
    Link link() const { return link_; }

private:
    struct Request {
        std::shared_ptr<const Chime> chime; // none: stop
        std::chrono::steady_clock::time_point made;
    };

    void post(std::shared_ptr<const Chime> chime);

    // The rest runs on the event loop's thread.
    void takeRequests();
    void handle(const Request &request);
    void connect();
    void onContextState();
    void startPending();
    void onStreamState();
    void writeSamples(std::size_t bytes);
    void stopStream();
    void dropContext();
    void outputFound();
    void outputLost();

    pa_threaded_mainloop *loop_ = nullptr;
    int wakeFd_ = -1;
    pa_io_event *wakeEvent_ = nullptr;
    std::mutex requestsMutex_;
    std::deque<Request> requests_;

    pa_context *context_ = nullptr;
    pa_stream *stream_ = nullptr;
    std::shared_ptr<const Chime> sounding_;
    std::chrono::steady_clock::time_point soundingSince_;
    qsizetype written_ = 0;
    std::optional<Request> pending_;
    bool lossReported_ = false;
    std::atomic<Link> link_ = Link::Unknown;
};

} // namespace pokorin
