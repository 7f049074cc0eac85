#include "app/run_class.h"

#include "teacher/class_session.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

namespace pokorin {

int RunClass(QApplication &app, std::optional<quint16> port) {
    const PoolFile file(PoolFile::DefaultPath());
    const SiteFiles site = SiteFiles::Find(SiteFiles::DefaultFolders());
    ClassSession session(file, site);
    const std::optional<QString> address = session.start(port);
    if (!address) {
        std::fprintf(stderr, "pokorin: no free port to serve the class on\n");
        return 1;
    }
    std::printf("The class joins at %s\n", qPrintable(*address));
    if (site.isEmpty()) {
        std::printf("No page to serve: scripts/web.sh builds it into build-web/site, beside which "
                    "build/bin/pokorin finds it.\n");
    }
    std::printf("The pool is kept in %s\n",
                qPrintable(QDir::toNativeSeparators(PoolFile::DefaultPath())));
    std::fflush(stdout);
    return app.exec();
}

} // namespace pokorin
