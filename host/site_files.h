#pragma once

// host/: the teacher's computer as the class's host: the page's site, the
// pool's table and the devices' reports, over HTTP and WebSockets on one port.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace pokorin {

// What the host answers a browser's request for a file of the site.
struct SiteAnswer {
    int status = 200; // or 304, not modified
    QByteArray body;
    QList<std::pair<QByteArray, QByteArray>> headers;
};

// The page's site as scripts/web.sh builds it, read into memory once: forty
// devices load it at the same moment. Each text and the code also come
// compressed (.br, .gz), and the browser gets the smallest it accepts; every
// file must be checked again before use, so that a new version is taken at
// once, and is then sent again only when it has changed.
class SiteFiles {
public:
    // The site in the first folder that has one (its index.html): beside the
    // program (Windows), in the installed share folder, or in the build tree
    // of scripts/web.sh.
    static QStringList DefaultFolders();
    static SiteFiles Find(const QStringList &folders);

    bool isEmpty() const { return files_.isEmpty(); }
    // The path of each file, "/" for the index.
    QStringList paths() const;
    QString folder() const { return folder_; }

    // The answer to a request for the path, with the browser's
    // Accept-Encoding and If-None-Match; nothing for a path that is not one
    // of the site's own files ("/" is its index.html).
    std::optional<SiteAnswer> answer(const QString &path, const QByteArray &acceptEncoding,
                                     const QByteArray &ifNoneMatch) const;

private:
    struct File {
        QByteArray type;
        QByteArray plain;
        QByteArray brotli;
        QByteArray gzip;
        QByteArray tag; // of the plain content
    };

    QString folder_;
    QHash<QString, File> files_;
};

} // namespace pokorin
