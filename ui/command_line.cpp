#include "command_line.h"

#include <QCoreApplication>
#include <cstdio>

namespace pokorin {
namespace {

// The options QGuiApplication, QApplication and the X11 platform take from the
// command line, with one dash or two; the first group takes a value.
const QStringList kQtOptionsWithValue = {"platform",
                                         "platformpluginpath",
                                         "platformtheme",
                                         "plugin",
                                         "qwindowgeometry",
                                         "qwindowicon",
                                         "qwindowtitle",
                                         "geometry",
                                         "icon",
                                         "title",
                                         "session",
                                         "style",
                                         "stylesheet",
                                         "display",
                                         "name",
                                         "visual",
                                         "qmljsdebugger"};
const QStringList kQtFlags = {"reverse", "widgetcount", "testability", "qdevel",
                              "qdebug",  "nograb",      "dograb",      "sync"};

QString OptionName(const QString &argument) {
    if (!argument.startsWith(u'-') || argument == QStringLiteral("-") ||
        argument == QStringLiteral("--")) {
        return {};
    }
    return argument.mid(argument.startsWith(QStringLiteral("--")) ? 2 : 1);
}

bool IsPort(const QString &text) {
    bool number = false;
    const uint port = text.toUInt(&number);
    return number && port >= 1 && port <= 65535;
}

void Print(std::FILE *stream, const QString &text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

QStringList ArgumentsOf(int argc, char **argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

QStringList WithoutQtOptions(const QStringList &arguments) {
    QStringList rest = arguments.mid(0, 1);
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString name = OptionName(arguments[i]).section(u'=', 0, 0);
        const bool hasInlineValue = OptionName(arguments[i]).contains(u'=');
        if (kQtOptionsWithValue.contains(name)) {
            i += hasInlineValue ? 0 : 1;
        } else if (!kQtFlags.contains(name)) {
            rest << arguments[i];
        }
    }
    return rest;
}

ProgramCommandLine::ProgramCommandLine(Program program)
    : name_(program == Program::Class ? QStringLiteral("pokorin-class")
                                      : QStringLiteral("pokorin")) {
    const QString withClass =
        program == Program::Class ? QStringLiteral("The") : QStringLiteral("With --class, the");
    if (program == Program::Class) {
        parser_.setApplicationDescription(QStringLiteral(
            "Pokorin Falling Experiment, the whole class as one experiment: serves the\n"
            "program's page to the students' devices on the local network and pools\n"
            "their balls in the teacher's class window.\n"
            "Qt's own options, such as -platform, -reverse and -style, are accepted too."));
    } else {
        parser_.setApplicationDescription(QStringLiteral(
            "Pokorin Falling Experiment: a classroom demonstration of the binomial\n"
            "distribution (n = 10, p = 1/2), with a Japanese user interface.\n"
            "Balls fall through a ten-level lattice and pile up in eleven bins; the window\n"
            "compares each bin's share of the balls with its theoretical probability.\n"
            "Qt's own options, such as -platform, -reverse and -style, are accepted too."));
    }
    // "-reverse" is one word, as in every Qt program, not -r -e -v ...
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.addHelpOption();
    parser_.addVersionOption();
    if (program == Program::Experiment) {
        parser_.addOption(
            {QStringLiteral("class"),
             QStringLiteral("Host the whole class's experiment (the program pokorin-class): "
                            "serve the page to the students' devices on the local network and "
                            "pool their balls in the teacher's class window.")});
    }
    parser_.addOption({QStringLiteral("port"),
                       withClass + QStringLiteral(" port to serve the class on (by default the "
                                                  "one it had, at first 8765)."),
                       QStringLiteral("port")});
    parser_.addOption(
        {QStringLiteral("address"),
         withClass + QStringLiteral(" address of this computer that the class window shows "
                                    "the students (by default the one a teacher would choose: "
                                    "on the network of the default route, no virtual switch)."),
         QStringLiteral("address")});
}

bool ProgramCommandLine::classMode() const {
    return name_ == QStringLiteral("pokorin") && parser_.isSet(QStringLiteral("class"));
}

std::optional<quint16> ProgramCommandLine::classPort() const {
    if (!parser_.isSet(QStringLiteral("port"))) {
        return std::nullopt;
    }
    return static_cast<quint16>(parser_.value(QStringLiteral("port")).toUInt());
}

std::optional<QString> ProgramCommandLine::classAddress() const {
    if (!parser_.isSet(QStringLiteral("address"))) {
        return std::nullopt;
    }
    return parser_.value(QStringLiteral("address"));
}

std::optional<int> ProgramCommandLine::answer(const QStringList &arguments) {
    QString error;
    const bool parsed = parser_.parse(WithoutQtOptions(arguments));
    if (!parser_.unknownOptionNames().isEmpty()) {
        error =
            QStringLiteral("unknown option '%1'").arg(parser_.unknownOptionNames().constFirst());
    } else if (!parsed) {
        error = parser_.errorText();
    } else if (!parser_.positionalArguments().isEmpty()) {
        error = QStringLiteral("unexpected argument '%1'")
                    .arg(parser_.positionalArguments().constFirst());
    } else if (parser_.isSet(QStringLiteral("port")) && !IsPort(parser_.value("port"))) {
        error = QStringLiteral("'%1' is not a port from 1 to 65535").arg(parser_.value("port"));
    }
    if (!error.isEmpty()) {
        Print(stderr, QStringLiteral("%1: %2; see '%1 --help'\n").arg(name_, error));
        return 2;
    }
    if (parser_.isSet(QStringLiteral("version"))) {
        Print(stdout, QStringLiteral("%1 %2\n").arg(name_, QCoreApplication::applicationVersion()));
        return 0;
    }
    if (parser_.isSet(QStringLiteral("help")) || parser_.isSet(QStringLiteral("help-all"))) {
        // The usage line names the program as it is known, not the path it ran from.
        int argc = 1;
        QByteArray name = name_.toLatin1();
        char *argv[] = {name.data(), nullptr};
        const QCoreApplication named(argc, argv);
        Print(stdout, parser_.helpText());
        return 0;
    }
    return std::nullopt;
}

} // namespace pokorin
