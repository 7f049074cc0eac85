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

bool IsPcmFormat(const QByteArray &bytes, qsizetype at, quint32 size) {
    if (size < 16) {
        return false;
    }
    const quint16 format = Le16(bytes, at);
    const quint16 channels = Le16(bytes, at + 2);
    const quint16 bits = Le16(bytes, at + 14);
    return format == 1 && (channels == 1 || channels == 2) && (bits == 8 || bits == 16);
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

bool IsPlayableWave(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxChimeBytes) {
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") {
        return false;
    }
    bool pcm = false;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 size = Le32(bytes, at + 4);
        if (size > static_cast<quint32>(bytes.size() - at - 8)) {
            return false;
        }
        if (id == "fmt ") {
            pcm = IsPcmFormat(bytes, at + 8, size);
        } else if (id == "data") {
            return pcm && size > 0;
        }
        at += 8 + size + (size & 1);
    }
    return false;
}

} // namespace pokorin
