#include "host/join_address.h"
#include "teacher/class_session.h"
#include "ui/command_line.h"
#include "ui/japanese_setup.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

// The whole class as one experiment, hosted from this computer: prints the
// address the students' devices join at, shows the class window and runs
// until it closes.
int main(int argc, char **argv) {
    QCoreApplication::setApplicationName(QStringLiteral("pokorin"));
    QCoreApplication::setApplicationVersion(QStringLiteral(POKORIN_VERSION));
    pokorin::ProgramCommandLine commandLine(pokorin::ProgramCommandLine::Program::Class);
    if (const std::optional<int> exitCode = commandLine.answer(pokorin::ArgumentsOf(argc, argv))) {
        return *exitCode;
    }
    const std::optional<QString> address = commandLine.classAddress();
    QList<pokorin::InterfaceFacts> interfaces;
    pokorin::JoinAddresses addresses;
    {
        // Qt's sockets want an application, and the window's needs a display,
        // which a refused address must not.
        const QCoreApplication network(argc, argv);
        interfaces = pokorin::ThisComputersInterfaces();
        addresses =
            pokorin::ChooseJoinAddresses(interfaces, pokorin::DefaultRouteAddress(), address);
    }
    if (address && !pokorin::HasAddress(interfaces, *address)) {
        std::fprintf(stderr,
                     "pokorin-class: no network interface of this computer has the address %s; "
                     "the students can reach it at %s; see 'pokorin-class --help'\n",
                     qPrintable(*address), qPrintable(addresses.all().join(", ")));
        return 2;
    }
    QApplication app(argc, argv);
    pokorin::SetUpJapanese(app);
    const pokorin::PoolFile file(pokorin::PoolFile::DefaultPath());
    const pokorin::SiteFiles site = pokorin::SiteFiles::Find(pokorin::SiteFiles::DefaultFolders());
    pokorin::ClassSession session(file, site, addresses);
    const std::optional<QStringList> joinAddresses = session.start(commandLine.classPort());
    if (!joinAddresses) {
        std::fprintf(stderr, "pokorin-class: no free port to serve the class on\n");
        return 1;
    }
    std::printf("The class joins at %s\n", qPrintable(joinAddresses->first()));
    if (joinAddresses->size() > 1) {
        std::printf("From other networks: %s\n", qPrintable(joinAddresses->mid(1).join(' ')));
    }
    if (site.isEmpty()) {
        std::printf("No page to serve: scripts/web.sh builds it into build-web/site, beside which "
                    "build/bin/pokorin-class finds it.\n");
    }
    std::printf("The pool is kept in %s\n",
                qPrintable(QDir::toNativeSeparators(pokorin::PoolFile::DefaultPath())));
    std::fflush(stdout);
    return app.exec();
}
