#include "sound/chime_decoder.h"

namespace pokorin {

// The browser decodes the bytes itself when it plays them; here only what is
// plainly no wave file is refused, so that it is reported once.
std::optional<Chime> DecodeChime(QByteArray wave, QString &problem) {
    if (wave.size() < 44 || !wave.startsWith("RIFF") || wave.mid(8, 4) != "WAVE") {
        problem = QStringLiteral("not a wave file");
        return std::nullopt;
    }
    return Chime{std::move(wave), 0, 0, {}};
}

} // namespace pokorin
