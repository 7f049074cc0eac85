#include "sound/chime_decoder.h"

#include <QRegularExpression>
#include <algorithm>
#include <memory>
#include <sndfile.h>

namespace pokorin {
namespace {

// A chime is a few seconds; anything far longer is no chime.
constexpr sf_count_t kMaxFrames = 60 * 192000;

// libsndfile reads the bytes from memory through these.
struct Reader {
    const QByteArray *bytes;
    sf_count_t at = 0;
};

sf_count_t Length(void *reader) {
    return static_cast<Reader *>(reader)->bytes->size();
}

sf_count_t Seek(sf_count_t offset, int whence, void *reader) {
    auto &r = *static_cast<Reader *>(reader);
    const sf_count_t base = whence == SEEK_CUR ? r.at : whence == SEEK_END ? Length(reader) : 0;
    r.at = std::clamp<sf_count_t>(base + offset, 0, Length(reader));
    return r.at;
}

sf_count_t Read(void *into, sf_count_t count, void *reader) {
    auto &r = *static_cast<Reader *>(reader);
    const sf_count_t n = std::clamp<sf_count_t>(count, 0, Length(reader) - r.at);
    std::copy_n(r.bytes->constData() + r.at, n, static_cast<char *>(into));
    r.at += n;
    return n;
}

sf_count_t Write(const void *, sf_count_t, void *) {
    return 0;
}

sf_count_t Tell(void *reader) {
    return static_cast<Reader *>(reader)->at;
}

using SoundFile = std::unique_ptr<SNDFILE, decltype(&sf_close)>;

// What libsndfile made of a file it opened: a reason to refuse it, if any.
QString Refusal(SNDFILE *file, const SF_INFO &info) {
    if ((info.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_WAV &&
        (info.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_WAVEX) {
        return QStringLiteral("not a wave file");
    }
    if (!IsChimeFormat(info.channels, info.samplerate)) {
        return QStringLiteral("%1 channels at %2 Hz").arg(info.channels).arg(info.samplerate);
    }
    if (info.frames <= 0 || info.frames > kMaxFrames) {
        return QStringLiteral("%1 sample frames").arg(info.frames);
    }
    // libsndfile plays what there is of a file whose header claims more; a
    // chime cut short is a damaged file all the same.
    char log[4096] = {};
    sf_command(file, SFC_GET_LOG_INFO, log, sizeof log);
    static const QRegularExpression dataSizeWrong(QStringLiteral("^data *:.*should be"),
                                                  QRegularExpression::MultilineOption);
    if (dataSizeWrong.match(QString::fromLatin1(log)).hasMatch()) {
        return QStringLiteral("the file is shorter than its header says");
    }
    return {};
}

} // namespace

std::optional<Chime> DecodeChime(QByteArray wave, QString &problem) {
    // The samples are all it needs; the bytes are dropped once read.
    Reader reader{&wave};
    SF_VIRTUAL_IO io{Length, Seek, Read, Write, Tell};
    SF_INFO info{};
    const SoundFile file(sf_open_virtual(&io, SFM_READ, &info, &reader), sf_close);
    if (!file) {
        problem = QString::fromUtf8(sf_strerror(nullptr));
        return std::nullopt;
    }
    problem = Refusal(file.get(), info);
    if (!problem.isEmpty()) {
        return std::nullopt;
    }
    Chime chime{{}, info.samplerate, info.channels, {}};
    chime.samples.resize(static_cast<qsizetype>(info.frames * info.channels * sizeof(float)));
    const sf_count_t frames =
        sf_readf_float(file.get(), reinterpret_cast<float *>(chime.samples.data()), info.frames);
    if (frames <= 0) {
        problem = QStringLiteral("no samples could be read");
        return std::nullopt;
    }
    chime.samples.truncate(static_cast<qsizetype>(frames * info.channels * sizeof(float)));
    return chime;
}

} // namespace pokorin
