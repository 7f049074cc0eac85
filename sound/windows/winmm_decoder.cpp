#include "sound/chime_decoder.h"

#include <windows.h>
// after windows.h, which it needs
#include <mmsystem.h>

namespace pokorin {
namespace {

using Reader =
    std::unique_ptr<std::remove_pointer_t<HMMIO>, decltype([](HMMIO h) { mmioClose(h, 0); })>;

// What is wrong with the RIFF/WAVE structure of the bytes, if anything.
QString Refusal(const QByteArray &wave) {
    MMIOINFO memory{};
    memory.fccIOProc = FOURCC_MEM;
    memory.pchBuffer = const_cast<char *>(wave.constData());
    memory.cchBuffer = static_cast<LONG>(wave.size());
    const Reader reader(mmioOpenW(nullptr, &memory, MMIO_READ));
    MMCKINFO riff{}, format{}, data{};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    format.ckid = mmioFOURCC('f', 'm', 't', ' ');
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (!reader || mmioDescend(reader.get(), &riff, nullptr, MMIO_FINDRIFF) != 0 ||
        mmioDescend(reader.get(), &format, &riff, MMIO_FINDCHUNK) != 0) {
        return QStringLiteral("not a wave file");
    }
    PCMWAVEFORMAT pcm{};
    if (format.cksize < sizeof pcm ||
        mmioRead(reader.get(), reinterpret_cast<HPSTR>(&pcm), sizeof pcm) != sizeof pcm) {
        return QStringLiteral("no sound format");
    }
    const WAVEFORMAT &f = pcm.wf;
    if (!IsChimeFormat(f.nChannels, f.nSamplesPerSec) || f.nBlockAlign == 0) {
        return QStringLiteral("%1 channels at %2 Hz").arg(f.nChannels).arg(f.nSamplesPerSec);
    }
    mmioAscend(reader.get(), &format, 0);
    if (mmioDescend(reader.get(), &data, &riff, MMIO_FINDCHUNK) != 0 || data.cksize == 0 ||
        qint64{data.dwDataOffset} + data.cksize > wave.size()) {
        return QStringLiteral("the file is shorter than its header says");
    }
    return {};
}

} // namespace

// Windows decodes the bytes itself as it plays them; here they are only
// checked, so that a damaged file is told apart from a missing sound device.
std::optional<Chime> DecodeChime(QByteArray wave, QString &problem) {
    problem = Refusal(wave);
    if (!problem.isEmpty()) {
        return std::nullopt;
    }
    return Chime{std::move(wave), 0, 0, {}};
}

} // namespace pokorin
