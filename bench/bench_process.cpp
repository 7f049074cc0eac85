#include "bench_process.h"

#include <QCoreApplication>
#include <cstdio>

void Print(const QString &name, double value, const char *unit) {
    std::printf("%s %.4g %s\n", qPrintable(name), value, unit);
    std::fflush(stdout);
}

QProcess *StartPart(const QStringList &arguments, const QStringList &command) {
    auto *process = new QProcess(qApp);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (command.isEmpty()) {
        process->start(QCoreApplication::applicationFilePath(), arguments);
    } else {
        process->start(command.first(), command.mid(1) + arguments);
    }
    return process;
}
