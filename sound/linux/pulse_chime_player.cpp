#include "pulse_chime_player.h"

#include <QtDebug>
#include <algorithm>
#include <pulse/pulseaudio.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace pokorin {
namespace {

using Clock = std::chrono::steady_clock;

// A chime that could not start soon after its click (a hung or slow server)
// is dropped: sounding seconds later would only puzzle the class.
constexpr auto kLateChime = std::chrono::milliseconds(1500);

} // namespace

PulseChimePlayer::PulseChimePlayer()
    : loop_(pa_threaded_mainloop_new())
    , wakeFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    if (loop_ == nullptr || wakeFd_ < 0) {
        return;
    }
    pa_mainloop_api *api = pa_threaded_mainloop_get_api(loop_);
    const auto wake = [](pa_mainloop_api *, pa_io_event *, int, pa_io_event_flags_t, void *self) {
        static_cast<PulseChimePlayer *>(self)->takeRequests();
    };
    wakeEvent_ = api->io_new(api, wakeFd_, PA_IO_EVENT_INPUT, wake, this);
    pa_threaded_mainloop_set_name(loop_, "pokorin-chimes");
    pa_threaded_mainloop_start(loop_);
}

// Nothing here waits for the server: disconnecting only closes a socket, so
// the program ends at once even when the server hangs.
PulseChimePlayer::~PulseChimePlayer() {
    if (loop_ != nullptr) {
        pa_threaded_mainloop_lock(loop_);
        dropContext();
        if (wakeEvent_ != nullptr) {
            pa_threaded_mainloop_get_api(loop_)->io_free(wakeEvent_);
        }
        pa_threaded_mainloop_unlock(loop_);
        pa_threaded_mainloop_stop(loop_);
        pa_threaded_mainloop_free(loop_);
    }
    if (wakeFd_ >= 0) {
        close(wakeFd_);
    }
}

void PulseChimePlayer::play(std::shared_ptr<const Chime> chime) {
    post(std::move(chime));
}

void PulseChimePlayer::stop() {
    post(nullptr);
}

// While the program runs, the window's thread never takes the event loop's lock:
// it queues the request and wakes the loop through the event counter.
void PulseChimePlayer::post(std::shared_ptr<const Chime> chime) {
    if (wakeEvent_ == nullptr) {
        return;
    }
    {
        const std::lock_guard lock(requestsMutex_);
        requests_.push_back({std::move(chime), Clock::now()});
    }
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(wakeFd_, &one, sizeof one);
}

void PulseChimePlayer::takeRequests() {
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t read = ::read(wakeFd_, &count, sizeof count);
    for (;;) {
        std::optional<Request> request;
        {
            const std::lock_guard lock(requestsMutex_);
            if (requests_.empty()) {
                return;
            }
            request = std::move(requests_.front());
            requests_.pop_front();
        }
        handle(*request);
    }
}

void PulseChimePlayer::handle(const Request &request) {
    stopStream();
    pending_.reset();
    if (request.chime == nullptr) {
        return;
    }
    pending_ = request;
    if (context_ == nullptr) {
        connect();
    } else if (pa_context_get_state(context_) == PA_CONTEXT_READY) {
        startPending();
    } // else still connecting: the chime starts once the server answers
}

void PulseChimePlayer::connect() {
    pa_proplist *properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, "pokorin");
    pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "event");
    context_ =
        pa_context_new_with_proplist(pa_threaded_mainloop_get_api(loop_), "pokorin", properties);
    pa_proplist_free(properties);
    if (context_ == nullptr) {
        outputLost();
        return;
    }
    const auto changed = [](pa_context *, void *self) {
        static_cast<PulseChimePlayer *>(self)->onContextState();
    };
    pa_context_set_state_callback(context_, changed, this);
    link_ = Link::Connecting;
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        dropContext();
        outputLost();
    }
}

void PulseChimePlayer::onContextState() {
    switch (pa_context_get_state(context_)) {
    case PA_CONTEXT_READY:
        link_ = Link::Up;
        startPending();
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        dropContext();
        outputLost();
        break;
    default:
        break;
    }
}

void PulseChimePlayer::startPending() {
    const std::optional<Request> request = std::exchange(pending_, std::nullopt);
    if (!request || Clock::now() - request->made > kLateChime) {
        return;
    }
    const Chime &chime = *request->chime;
    // The server resamples and mixes down whatever rate and channels the file has.
    const pa_sample_spec format{PA_SAMPLE_FLOAT32NE, static_cast<uint32_t>(chime.sampleRate),
                                static_cast<uint8_t>(chime.channels)};
    pa_channel_map channels;
    pa_channel_map_init_extend(&channels, format.channels, PA_CHANNEL_MAP_DEFAULT);
    stream_ = pa_stream_new(context_, "chime", &format, &channels);
    if (stream_ == nullptr) {
        outputLost();
        return;
    }
    sounding_ = request->chime;
    soundingSince_ = request->made;
    written_ = 0;
    pa_stream_set_state_callback(
        stream_,
        [](pa_stream *, void *self) { static_cast<PulseChimePlayer *>(self)->onStreamState(); },
        this);
    pa_stream_set_write_callback(
        stream_,
        [](pa_stream *, std::size_t bytes, void *self) {
            static_cast<PulseChimePlayer *>(self)->writeSamples(bytes);
        },
        this);
    if (pa_stream_connect_playback(stream_, nullptr, nullptr, PA_STREAM_NOFLAGS, nullptr, nullptr) <
        0) {
        stopStream();
        outputLost();
    }
}

void PulseChimePlayer::onStreamState() {
    switch (pa_stream_get_state(stream_)) {
    case PA_STREAM_READY:
        outputFound();
        if (Clock::now() - soundingSince_ > kLateChime) {
            stopStream(); // the server answered too late for this chime
        }
        break;
    case PA_STREAM_FAILED:
        stopStream();
        outputLost();
        break;
    default:
        break;
    }
}

// Feeds the server as much as it asks for; once all is written, the stream
// drains and is closed, so that nothing stays open between chimes.
void PulseChimePlayer::writeSamples(std::size_t bytes) {
    const QByteArray &samples = sounding_->samples;
    const auto count = std::min(static_cast<qsizetype>(bytes), samples.size() - written_);
    pa_stream_write(stream_, samples.constData() + written_, static_cast<std::size_t>(count),
                    nullptr, 0, PA_SEEK_RELATIVE);
    written_ += count;
    if (written_ < samples.size()) {
        return;
    }
    pa_stream_set_write_callback(stream_, nullptr, nullptr);
    const auto drained = [](pa_stream *stream, int, void *self) {
        auto *player = static_cast<PulseChimePlayer *>(self);
        if (stream == player->stream_) {
            player->stopStream();
        }
    };
    pa_operation_unref(pa_stream_drain(stream_, drained, this));
}

void PulseChimePlayer::stopStream() {
    if (stream_ == nullptr) {
        return;
    }
    pa_stream_set_state_callback(stream_, nullptr, nullptr);
    pa_stream_set_write_callback(stream_, nullptr, nullptr);
    pa_stream_disconnect(stream_);
    pa_stream_unref(stream_);
    stream_ = nullptr;
    sounding_.reset();
}

void PulseChimePlayer::dropContext() {
    stopStream();
    if (context_ == nullptr) {
        return;
    }
    pa_context_set_state_callback(context_, nullptr, nullptr);
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    context_ = nullptr;
}

void PulseChimePlayer::outputFound() {
    lossReported_ = false;
}

void PulseChimePlayer::outputLost() {
    link_ = Link::Down;
    pending_.reset();
    if (!lossReported_) {
        qWarning().noquote() << "pokorin: no sound output; the chimes are silent";
        lossReported_ = true;
    }
}

// On Linux the chimes go to the PulseAudio (or PipeWire) server.
std::unique_ptr<ChimePlayer> MakeChimePlayer() {
    return std::make_unique<PulseChimePlayer>();
}

} // namespace pokorin
