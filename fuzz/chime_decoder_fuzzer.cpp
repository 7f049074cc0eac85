// Decodes arbitrary bytes as a chime: it may refuse them, with a reason, but
// what it accepts is a playable chime whose samples fill whole frames.

#include "require.h"
#include "sound/chime_decoder.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    QString problem;
    const std::optional<pokorin::Chime> chime = pokorin::DecodeChime(
        QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)), problem);
    Require(chime.has_value() == problem.isEmpty());
    if (chime) {
        const qsizetype frame = chime->channels * qsizetype{sizeof(float)};
        Require(pokorin::IsChimeFormat(chime->channels, chime->sampleRate));
        Require(!chime->samples.isEmpty() && chime->samples.size() % frame == 0);
    }
    return 0;
}
