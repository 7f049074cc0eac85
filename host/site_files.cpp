#include "site_files.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>

namespace pokorin {
namespace {

QByteArray TypeOf(const QString &name) {
    static const QHash<QString, QByteArray> types{
        {"html", "text/html; charset=utf-8"},
        {"js", "text/javascript; charset=utf-8"},
        {"wasm", "application/wasm"},
        {"png", "image/png"},
        {"webmanifest", "application/manifest+json"},
    };
    return types.value(name.section(u'.', -1), "application/octet-stream");
}

QByteArray Read(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Whether the browser accepts the encoding: named, and not with q=0.
bool Accepts(const QByteArray &acceptEncoding, QByteArrayView encoding) {
    for (const QByteArray &part : acceptEncoding.split(',')) {
        const QList<QByteArray> fields = part.split(';');
        if (fields.at(0).trimmed().toLower() == encoding) {
            const QByteArray weight = fields.size() > 1 ? fields.at(1).trimmed() : "q=1";
            return !weight.startsWith("q=") || weight.mid(2).toDouble() > 0;
        }
    }
    return false;
}

bool Matches(const QByteArray &ifNoneMatch, const QByteArray &tag) {
    const QList<QByteArray> tags = ifNoneMatch.split(',');
    return std::any_of(tags.begin(), tags.end(),
                       [&tag](const QByteArray &given) { return given.trimmed() == tag; });
}

} // namespace

QStringList SiteFiles::DefaultFolders() {
    const QDir program(QCoreApplication::applicationDirPath());
    return {program.filePath("site"), program.filePath("../share/pokorin/site"),
            program.filePath("../../build-web/site")};
}

SiteFiles SiteFiles::Find(const QStringList &folders) {
    SiteFiles site;
    for (const QString &folder : folders) {
        const QDir dir(folder);
        if (!dir.exists("index.html")) {
            continue;
        }
        site.folder_ = dir.absolutePath();
        for (const QString &name : dir.entryList(QDir::Files)) {
            if (name.endsWith(".br") || name.endsWith(".gz")) {
                continue;
            }
            File file{TypeOf(name),
                      Read(dir.filePath(name)),
                      Read(dir.filePath(name + ".br")),
                      Read(dir.filePath(name + ".gz")),
                      {}};
            file.tag =
                QCryptographicHash::hash(file.plain, QCryptographicHash::Sha256).toHex().left(20);
            site.files_.insert(name, file);
        }
        break;
    }
    return site;
}

QStringList SiteFiles::paths() const {
    QStringList paths{"/"};
    for (const QString &name : files_.keys()) {
        paths << u'/' + name;
    }
    return paths;
}

std::optional<SiteAnswer> SiteFiles::answer(const QString &path, const QByteArray &acceptEncoding,
                                            const QByteArray &ifNoneMatch) const {
    const QString name = path == "/" ? QStringLiteral("index.html") : path.mid(1);
    const auto found = files_.constFind(name);
    if (!path.startsWith(u'/') || found == files_.cend()) {
        return std::nullopt;
    }
    const File &file = *found;
    QByteArray encoding, body = file.plain;
    if (!file.brotli.isEmpty() && Accepts(acceptEncoding, "br")) {
        encoding = "br", body = file.brotli;
    } else if (!file.gzip.isEmpty() && Accepts(acceptEncoding, "gzip")) {
        encoding = "gzip", body = file.gzip;
    }
    const QByteArray tag = '"' + file.tag + (encoding.isEmpty() ? "" : "-" + encoding) + '"';
    SiteAnswer answer{200,
                      body,
                      {{"Content-Type", file.type},
                       {"Cache-Control", "no-cache"},
                       {"ETag", tag},
                       {"Vary", "Accept-Encoding"}}};
    if (!encoding.isEmpty()) {
        answer.headers.append({"Content-Encoding", encoding});
    }
    // The page shows how much of the program has come, which the browser
    // only counts after decoding.
    answer.headers.append({"X-Decoded-Length", QByteArray::number(file.plain.size())});
    if (Matches(ifNoneMatch, tag)) {
        answer.status = 304;
        answer.body.clear();
    }
    return answer;
}

} // namespace pokorin
