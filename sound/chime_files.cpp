#include "chime_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace pokorin {
namespace {

constexpr qint64 kMaxChimeBytes = 16 * 1024 * 1024;

bool IsReadableFile(const QString &path) {
    const QFileInfo info(path);
    return info.isFile() && info.isReadable();
}

} // namespace

QString ChimeFileName(ChimeCue cue) {
    return cue == ChimeCue::Door ? QStringLiteral("pinpon.wav") : QStringLiteral("endpinpon.wav");
}

QStringList ChimeDataFolders() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    // The web build carries its chimes inside; a page has no folders to look in.
    return {programFolder, QDir(programFolder).filePath(QStringLiteral("../share/pokorin")),
            QStringLiteral(":/chimes")};
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

std::optional<QByteArray> ReadChimeFile(const QString &path, QString &problem) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        problem = file.errorString();
        return std::nullopt;
    }
    if (file.size() > kMaxChimeBytes) {
        problem = QStringLiteral("%1 bytes is too large for a chime").arg(file.size());
        return std::nullopt;
    }
    return file.readAll();
}

} // namespace pokorin
