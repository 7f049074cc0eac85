#include "runner_options.h"

#include <QCommandLineParser>
#include <cstdio>

namespace pokorin {
namespace {

const QCommandLineOption kRuns(QStringLiteral("runs"),
                               QStringLiteral("Run <n> experiments one after another (default 1)."),
                               QStringLiteral("n"), QStringLiteral("1"));
const QCommandLineOption
    kSeed(QStringLiteral("seed"),
          QStringLiteral("Start the generator from <s>, a whole number from 0 to "
                         "18446744073709551615; with --frozen-clock every run repeats exactly. "
                         "Without it the system's entropy seeds the generator."),
          QStringLiteral("s"));
const QCommandLineOption
    kFrozenClock(QStringLiteral("frozen-clock"),
                 QStringLiteral("Reseed every tick from a clock that never moves (it reads 0.0 s), "
                                "to show that the steps stay fair even then."));
const QCommandLineOption
    kTrace(QStringLiteral("trace"),
           QStringLiteral("Print one line per landed ball: its ten steps in order (R = right, "
                          "L = left) and its bin."));

int Fail(const QString &message) {
    std::fprintf(stderr, "pokorin-sim: %s\n", qPrintable(message));
    return 2;
}

int Print(const QString &text) {
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return 0;
}

// The first problem of a parsed command line, if any.
std::optional<QString> Problem(const QCommandLineParser &parser) {
    if (!parser.unknownOptionNames().isEmpty()) {
        return QStringLiteral("unknown option '%1'; see 'pokorin-sim --help'")
            .arg(parser.unknownOptionNames().constFirst());
    }
    if (!parser.positionalArguments().isEmpty()) {
        return QStringLiteral("unexpected argument \"%1\"; see 'pokorin-sim --help'")
            .arg(parser.positionalArguments().constFirst());
    }
    if (!parser.errorText().isEmpty()) {
        return parser.errorText(); // a value missing after its option
    }
    return std::nullopt;
}

} // namespace

std::variant<RunnerOptions, int> ReadRunnerOptions(const QStringList &arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Runs the Pokorin Falling Experiment without a window: the same state and\n"
        "drop tick, ticked until a stack is full. Prints each run's bins, the totals,\n"
        "and the experimental ratios beside the theoretical probabilities."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOptions({kRuns, kSeed, kFrozenClock, kTrace});
    parser.parse(arguments);
    if (parser.isSet(help)) {
        return Print(parser.helpText());
    }
    if (parser.isSet(version)) {
        return Print(
            QStringLiteral("pokorin-sim %1\n").arg(QCoreApplication::applicationVersion()));
    }
    if (const auto problem = Problem(parser)) {
        return Fail(*problem);
    }
    RunnerOptions options;
    bool ok = false;
    options.runs = parser.value(kRuns).toLong(&ok);
    if (!ok || options.runs < 1) {
        return Fail(QStringLiteral("--runs needs a whole number from 1 up, not \"%1\"")
                        .arg(parser.value(kRuns)));
    }
    if (parser.isSet(kSeed)) {
        options.seed = parser.value(kSeed).toULongLong(&ok);
        if (!ok || parser.value(kSeed).startsWith(u'+')) {
            return Fail(QStringLiteral("--seed needs a whole number from 0 to "
                                       "18446744073709551615, not \"%1\"")
                            .arg(parser.value(kSeed)));
        }
    }
    options.frozenClock = parser.isSet(kFrozenClock);
    options.trace = parser.isSet(kTrace);
    return options;
}

} // namespace pokorin
