#include "chime_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace pokorin {
namespace {

constexpr qint64 kMaxChimeBytes = 16 * 1024 * 1024;

bool IsReadableFile(const QString &path) {
    const QFileInfo info(path);
    return info.isFile() && info.isReadable();
}

quint32 Le32(const QByteArray &bytes, qsizetype at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint16 Le16(const QByteArray &bytes, qsizetype at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

// The format of a "fmt " chunk, if it is PCM that we can play.
std::optional<Chime> PcmFormat(const QByteArray &bytes, qsizetype at, quint32 size) {
    if (size < 16) {
        return std::nullopt;
    }
    Chime chime;
    chime.channels = Le16(bytes, at + 2);
    chime.sampleRate = static_cast<int>(Le32(bytes, at + 4));
    chime.bitsPerSample = Le16(bytes, at + 14);
    const bool playable = Le16(bytes, at) == 1 && (chime.channels == 1 || chime.channels == 2) &&
                          (chime.bitsPerSample == 8 || chime.bitsPerSample == 16) &&
                          chime.sampleRate >= 1000 && chime.sampleRate <= 192000;
    return playable ? std::optional(chime) : std::nullopt;
}

} // namespace

QStringList ChimeDataFolders() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    return {programFolder, QDir(programFolder).filePath(QStringLiteral("../share/pokorin"))};
}

QString FindChimeFile(const QString &name, const QStringList &dataFolders) {
    if (IsReadableFile(name)) {
        return QFileInfo(name).absoluteFilePath();
    }
    for (const QString &folder : dataFolders) {
        const QString path = QDir(folder).filePath(name);
        if (IsReadableFile(path)) {
            return QDir::cleanPath(path);
        }
    }
    return {};
}

std::optional<Chime> LoadChime(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxChimeBytes) {
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") {
        return std::nullopt;
    }
    std::optional<Chime> chime;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 size = Le32(bytes, at + 4);
        if (size > static_cast<quint32>(bytes.size() - at - 8)) {
            return std::nullopt;
        }
        if (id == "fmt ") {
            chime = PcmFormat(bytes, at + 8, size);
        } else if (id == "data") {
            if (!chime) {
                return std::nullopt;
            }
            const auto frame = static_cast<quint32>(chime->channels * chime->bitsPerSample / 8);
            chime->samples = bytes.mid(at + 8, size - size % frame);
            return chime->samples.isEmpty() ? std::nullopt : chime;
        }
        at += 8 + size + (size & 1);
    }
    return std::nullopt;
}

} // namespace pokorin
