#include "command_line.h"

#include <cstdio>

namespace pokorin {

ProgramCommandLine::ProgramCommandLine() {
    parser_.setApplicationDescription(QStringLiteral(
        "Pokorin Falling Experiment: a classroom demonstration of the binomial\n"
        "distribution (n = 10, p = 1/2), with a Japanese user interface.\n"
        "Balls fall through a ten-level lattice and pile up in eleven bins; the window\n"
        "compares each bin's share of the balls with its theoretical probability.\n"
        "Qt's own options, such as -platform and -style, are accepted too."));
    parser_.addHelpOption();
    parser_.addVersionOption();
}

bool ProgramCommandLine::asksForInformation(const QStringList &arguments) {
    parser_.parse(arguments);
    return parser_.isSet(QStringLiteral("help")) || parser_.isSet(QStringLiteral("help-all")) ||
           parser_.isSet(QStringLiteral("version"));
}

int ProgramCommandLine::printInformation() const {
    const QString text =
        parser_.isSet(QStringLiteral("version"))
            ? QStringLiteral("pokorin %1\n").arg(QCoreApplication::applicationVersion())
            : parser_.helpText();
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return 0;
}

bool ProgramCommandLine::acceptsTheRest(const QStringList &arguments) {
    parser_.parse(arguments);
    QString error;
    if (!parser_.unknownOptionNames().isEmpty()) {
        error =
            QStringLiteral("unknown option '%1'").arg(parser_.unknownOptionNames().constFirst());
    } else if (!parser_.positionalArguments().isEmpty()) {
        error = QStringLiteral("unexpected argument '%1'")
                    .arg(parser_.positionalArguments().constFirst());
    }
    if (!error.isEmpty()) {
        std::fprintf(stderr, "pokorin: %s; see 'pokorin --help'\n", qPrintable(error));
    }
    return error.isEmpty();
}

} // namespace pokorin
