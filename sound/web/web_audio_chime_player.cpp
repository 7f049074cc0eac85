#include "web_audio_chime_player.h"

#include <emscripten.h>

namespace pokorin {
namespace {

// One audio context for the page, made at the first chime: browsers let a
// page sound only after a click, and every chime follows one. A chime whose
// decoding ends after a newer request is dropped.
// What follows is JavaScript, which clang-format would mangle.
// clang-format off
EM_JS(void, PlayWave, (const char *bytes, int size), {
    const page = globalThis;
    try {
        page.pokorinChimes = page.pokorinChimes || {request : 0, source : null};
        const chimes = page.pokorinChimes;
        const request = ++chimes.request;
        if (chimes.source) {
            chimes.source.stop();
            chimes.source = null;
        }
        if (size === 0) {
            return;
        }
        chimes.context = chimes.context || new page.AudioContext();
        const wave = HEAPU8.slice(bytes, bytes + size).buffer;
        chimes.context.decodeAudioData(wave).then(function(buffer) {
            if (request !== chimes.request) {
                return;
            }
            const source = chimes.context.createBufferSource();
            source.buffer = buffer;
            source.connect(chimes.context.destination);
            source.start();
            chimes.source = source;
        }).catch(function() {});
    } catch (refused) {
    }
});
// clang-format on

} // namespace

void WebAudioChimePlayer::play(std::shared_ptr<const Chime> chime) {
    PlayWave(chime->wave.constData(), static_cast<int>(chime->wave.size()));
}

void WebAudioChimePlayer::stop() {
    PlayWave(nullptr, 0);
}

// In the browser the chimes go to the page's Web Audio.
std::unique_ptr<ChimePlayer> MakeChimePlayer() {
    return std::make_unique<WebAudioChimePlayer>();
}

} // namespace pokorin
