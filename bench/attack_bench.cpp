// One prankster against the class host. Each attack lasts 25 seconds from
// 127.0.0.1: a flood of runs from one device, a flood of new devices, a crowd
// of idle connections, huge request bodies, answers never read and requests
// never finished. Meanwhile an honest device on the IPv6 loopback, which the
// limits on the prankster's address do not touch, joins under a new name and
// lands a run. For each attack: the host's memory before, at its most and
// five seconds after; whether the honest device joined and its balls reached
// /class.csv, and the slowest of the table's answers on the honest side; the
// pool's balls before and after, and what the prankster got into it. Then the pool's file saved at
// the limit of runs. Prints one line per figure (name value unit), then a table for people. The
// host (a class session with its class window on the offscreen platform and the default limits),
// the prankster and the honest device each run in a process of their own. Usage: attack_bench
// [SITE_FOLDER]

#include "attack_honest.h"
#include "attack_prankster.h"
#include "bench_process.h"
#include "process_figures.h"
#include "teacher/class_session.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrlQuery>
#include <bit>
#include <cstdio>
#include <filesystem>

using namespace pokorin;
using namespace pokorin::bench;

namespace {

constexpr int kAttackSeconds = 25;
constexpr int kHonestAfterMs = 4000; // the attack in full swing
constexpr int kHonestDeadlineMs = 15'000;
constexpr int kSettleMs = 5000;

// The sockets the process has open, those it listens on included.
int OpenSockets() {
    int sockets = 0;
    for (const auto &entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        sockets +=
            std::filesystem::read_symlink(entry.path(), error).string().starts_with("socket:");
    }
    return sockets;
}

// The host: a class session as the teacher's, on a free port, with the site
// in the folder; prints its address, then every 200 ms its memory (resident
// and the most so far, KiB) and its open sockets, until its input ends or
// says anything.
int Host(const QString &site) {
    QTemporaryDir data;
    ClassSession session(PoolFile(data.filePath("class.json")), SiteFiles::Find({site}),
                         {QStringLiteral("127.0.0.1"), {}});
    std::printf("%s\n", qPrintable(session.start(0)->first()));
    std::fflush(stdout);
    QTimer memory;
    QObject::connect(&memory, &QTimer::timeout, [] {
        std::printf("memory %ld %ld %d\n", ResidentKiB(), PeakResidentKiB(), OpenSockets());
        std::fflush(stdout);
    });
    memory.start(200);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, qApp, &QCoreApplication::quit);
    return QApplication::exec();
}

// A site like the page's when scripts/web.sh has not built one: an index and
// the program, 8 MiB, beside stand-ins for its compressed copies.
QString StandInSite(const QTemporaryDir &dir) {
    QFile index(dir.filePath("index.html"));
    index.open(QIODevice::WriteOnly);
    index.write("<!doctype html><title>stand-in</title>\n");
    const std::array<std::pair<const char *, int>, 3> files{
        {{"pokorin.wasm", 8}, {"pokorin.wasm.br", 2}, {"pokorin.wasm.gz", 3}}};
    for (const auto &[name, mib] : files) {
        QByteArray bytes(mib << 20, Qt::Uninitialized);
        QRandomGenerator(mib).fillRange(reinterpret_cast<quint32 *>(bytes.data()),
                                        bytes.size() / 4);
        QFile file(dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    return dir.path();
}

QString LargestFile(const QString &site) {
    const QFileInfoList files = QDir(site).entryInfoList(QDir::Files, QDir::Size);
    for (const QFileInfo &file : files) {
        if (file.suffix() != "br" && file.suffix() != "gz") {
            return file.fileName();
        }
    }
    return "index.html";
}

struct Attack {
    const char *kind;
    const char *title;
};

constexpr std::array kAttacks{
    Attack{"runs_flood", "runs flood"},         Attack{"device_flood", "new devices flood"},
    Attack{"connection_hog", "connection hog"}, Attack{"huge_bodies", "huge bodies"},
    Attack{"unread_answers", "unread answers"}, Attack{"slow_requests", "slow requests"},
};

// What one attack did, for the table.
struct Outcome {
    QString title;
    double before = 0, peak = 0, after = 0; // MiB
    int socketsBefore = 0, socketsMost = 0;
    bool joined = false, landed = false;
    double joinSeconds = 0, landSeconds = 0;
    double slowestPage = 0; // s
    long poolBefore = 0, poolAfter = 0, honestBalls = 0, prankBalls = 0;
};

// The host seen from outside: its address, and its memory and sockets as it
// reports them.
struct HostProcess {
    struct Sample {
        qint64 ms;
        long kib;
        int sockets;
    };
    QProcess *process = nullptr;
    quint16 port = 0;
    QString code;
    QElapsedTimer clock;
    std::vector<Sample> samples;
    long peakKiB = 0;

    Sample latest() const { return samples.empty() ? Sample{} : samples.back(); }
    Sample most(qint64 from, qint64 to) const {
        Sample most{};
        for (const Sample &sample : samples) {
            if (sample.ms >= from && sample.ms <= to) {
                most.kib = std::max(most.kib, sample.kib);
                most.sockets = std::max(most.sockets, sample.sockets);
            }
        }
        return most;
    }
};

QUrl Address(const QString &scheme, const QString &host, quint16 port, const QString &path,
             const QString &query = {}) {
    QUrl url;
    url.setScheme(scheme);
    url.setHost(host);
    url.setPort(port);
    url.setPath(path);
    url.setQuery(query);
    return url;
}

Outcome Run(const Attack &attack, int index, HostProcess &host, const QString &honestHost,
            const QString &largest) {
    const QString name = QStringLiteral("attack_%1_").arg(attack.kind);
    QNetworkAccessManager network;
    const QUrl table = Address("http", honestHost, host.port, "/class.csv");
    const Table before = FetchTable(network, table);
    const HostProcess::Sample quiet = host.latest();
    Outcome outcome{attack.title, quiet.kib / 1024.0};
    const qint64 startMs = host.clock.elapsed();
    QProcess *prankster = StartPart({"prankster", attack.kind, QString::number(host.port),
                                     host.code, QString::number(kAttackSeconds), largest});
    // Its own bins, apart from the prankster's (one ball in the middle bin)
    // and from the other attacks' honest devices.
    RunCounts bins{};
    bins.front() = 2;
    bins.back() = index + 1;
    HonestDevice honest(Address("ws", honestHost, host.port, "/class", "code=" + host.code), table,
                        QStringLiteral("honest-device-%1").arg(index), bins, kHonestDeadlineMs);
    QTimer::singleShot(kHonestAfterMs, &honest, &HonestDevice::start);
    TableWatch pages(honestHost, host.port);
    pages.start();
    WaitFor([prankster] { return prankster->state() == QProcess::NotRunning; },
            (kAttackSeconds + 20) * 1000);
    pages.stop();
    WaitFor([&honest] { return honest.finished; }, kHonestAfterMs + kHonestDeadlineMs);
    const HostProcess::Sample most = host.most(startMs, host.clock.elapsed());
    outcome.peak = most.kib / 1024.0;
    WaitFor([] { return false; }, kSettleMs);
    outcome.after = host.latest().kib / 1024.0;
    const Table after = FetchTable(network, table);
    if (!before.read || !after.read) {
        std::fprintf(stderr, "attack_bench: the host's table could not be read\n");
    }
    if (prankster->state() != QProcess::NotRunning) {
        prankster->kill();
        prankster->waitForFinished();
    }
    for (const QByteArray &line : prankster->readAllStandardOutput().split('\n')) {
        if (!line.isEmpty()) {
            std::printf("%s%s\n", qPrintable(name), line.constData());
        }
    }
    outcome.joined = honest.joinMs >= 0;
    outcome.landed = honest.landMs >= 0;
    outcome.joinSeconds = honest.joinMs / 1000.0;
    outcome.landSeconds = honest.landMs / 1000.0;
    outcome.poolBefore = before.balls;
    outcome.poolAfter = after.balls;
    outcome.honestBalls = outcome.landed ? honest.balls() : 0;
    outcome.prankBalls = outcome.poolAfter - outcome.poolBefore - outcome.honestBalls;
    Print(name + "host_memory_before", outcome.before, "MiB");
    Print(name + "host_memory_peak", outcome.peak, "MiB");
    Print(name + "host_memory_after_5s", outcome.after, "MiB");
    outcome.socketsBefore = quiet.sockets;
    outcome.socketsMost = most.sockets;
    Print(name + "host_sockets_before", outcome.socketsBefore, "sockets");
    Print(name + "host_sockets_most", outcome.socketsMost, "sockets");
    Print(name + "honest_joined", outcome.joined, "yes");
    Print(name + "honest_join_time", outcome.joinSeconds, "s");
    Print(name + "honest_landed", outcome.landed, "yes");
    Print(name + "honest_land_time", outcome.landSeconds, "s");
    Print(name + "honest_connections_lost", honest.lost, "times");
    outcome.slowestPage = pages.slowestMs / 1000.0;
    Print(name + "honest_table_slowest", outcome.slowestPage, "s");
    Print(name + "honest_table_unanswered", pages.unanswered, "requests");
    Print(name + "pool_balls_before", outcome.poolBefore, "balls");
    Print(name + "pool_balls_after", outcome.poolAfter, "balls");
    Print(name + "pool_balls_honest", outcome.honestBalls, "balls");
    Print(name + "pool_balls_prankster", outcome.prankBalls, "balls");
    Print(name + "pool_devices_prankster",
          after.devices.size() - before.devices.size() - (outcome.landed ? 1 : 0), "devices");
    Print(name + "pool_runs_prankster",
          after.runs.size() - before.runs.size() - (outcome.landed ? 1 : 0), "runs");
    return outcome;
}

// A pool at the limit of runs: 300 devices of 200 runs each, each run ended
// as a run ends (a stack full), named as the page names them; `older` more
// runs from before the last fresh start, which it keeps besides.
PoolRecord FullPool(int older) {
    QRandomGenerator random(1);
    const auto name = [&random](char first) {
        QString name(1, QChar::fromLatin1(first));
        for (int i = 0; i < 12; ++i) {
            name += QStringLiteral("%1").arg(random.bounded(256), 2, 16, QChar(u'0'));
        }
        return name;
    };
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    PoolRecord record;
    QString device;
    for (int i = 0; i < ClassPool::kMaxRuns + older; ++i) {
        device = i % ClassPool::kMaxRunsPerDevice == 0 ? name('d') : device;
        Contribution run{device, name('r'), {}, {}, 0, now - random.bounded(3'600'000)};
        while (!run.ended()) {
            run.bins.at(std::popcount(random.bounded(1024u))) += 1;
        }
        run.ms = Balls(run.bins) * 11 * 10;
        run.before = i < older ? run.bins : RunCounts{};
        record.runs.append(run);
    }
    return record;
}

// How long the session's save takes at the limit of runs, and with as many
// older runs that a fresh start keeps: the first save, which writes every run,
// and then the best of five each after 300 runs changed, as a second of a
// busy class changes them; by the clock and in processor time (the machine may
// be busy with others); the file's size and how long it takes to read back.
void ReportSaves() {
    QTemporaryDir dir;
    for (const int older : {0, ClassPool::kMaxRuns}) {
        ClassPool pool;
        pool.restore(FullPool(older));
        PoolRecord record = pool.record();
        PoolFile file(dir.filePath("class.json"));
        const auto save = [&] {
            QElapsedTimer clock;
            clock.start();
            const double processor = ProcessorSeconds();
            file.save({NewClassCode(), ClassSession::kDefaultPort, record});
            return std::pair(clock.nsecsElapsed() / 1e6, (ProcessorSeconds() - processor) * 1000);
        };
        const auto [firstMs, firstProcessor] = save();
        double best = 1e9, bestProcessor = 1e9;
        for (int i = 0; i < 5; ++i) {
            for (int changed = 0; changed < 300; ++changed) {
                record.runs[(i * 300 + changed) % record.runs.size()].seenAt += 1;
            }
            const auto [ms, processor] = save();
            best = std::min(best, ms);
            bestProcessor = std::min(bestProcessor, processor);
        }
        QElapsedTimer clock;
        clock.start();
        const bool loaded = file.load().has_value();
        const double loadMs = clock.nsecsElapsed() / 1e6;
        const QString name = QStringLiteral("pool_file_%1_runs_").arg(pool.contributions().size());
        Print(name + "first_save", firstMs, "ms");
        Print(name + "first_save_processor", firstProcessor, "ms");
        Print(name + "save", best, "ms");
        Print(name + "save_processor", bestProcessor, "ms");
        Print(name + "size", QFileInfo(dir.filePath("class.json")).size() / 1e6, "MB");
        Print(name + "load", loaded ? loadMs : -1, "ms");
    }
}

void PrintTable(const std::vector<Outcome> &outcomes) {
    std::printf("\n%-18s %27s %8s  %-22s %8s  %s\n", "attack", "host MiB before/peak/after",
                "sockets", "honest joined, landed", "table",
                "pool balls before -> after (honest + prankster)");
    const auto when = [](bool yes, double seconds) {
        return yes ? QStringLiteral("yes %1 s").arg(seconds, 0, 'f', 1) : QStringLiteral("no");
    };
    for (const Outcome &o : outcomes) {
        std::printf(
            "%-18s %9.1f /%6.1f /%6.1f %4d-%-3d  %-9s %-12s %6.2f s  %ld -> %ld (%ld + %ld)\n",
            qPrintable(o.title), o.before, o.peak, o.after, o.socketsBefore, o.socketsMost,
            qPrintable(when(o.joined, o.joinSeconds)), qPrintable(when(o.landed, o.landSeconds)),
            o.slowestPage, o.poolBefore, o.poolAfter, o.honestBalls, o.prankBalls);
    }
}

// Whether this computer's IPv6 loopback answers.
bool HasIpv6Loopback() {
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHostIPv6, 0);
}

int Bench(const QString &siteArgument) {
    QTemporaryDir standIn;
    const QString site =
        QFile::exists(siteArgument + "/index.html") ? siteArgument : StandInSite(standIn);
    HostProcess host;
    host.process = StartPart({"host", site});
    WaitFor([&host] { return host.process->canReadLine(); }, 30'000);
    const QUrl address(QString::fromUtf8(host.process->readLine()).trimmed());
    host.port = static_cast<quint16>(address.port());
    host.code = QUrlQuery(address).queryItemValue("class");
    host.clock.start();
    QObject::connect(host.process, &QProcess::readyReadStandardOutput, [&host] {
        while (host.process->canReadLine()) {
            const QList<QByteArray> fields = host.process->readLine().trimmed().split(' ');
            if (fields.size() == 4 && fields.at(0) == "memory") {
                host.samples.push_back(
                    {host.clock.elapsed(), fields.at(1).toLong(), fields.at(3).toInt()});
                host.peakKiB = fields.at(2).toLong();
            }
        }
    });
    const bool ipv6 = HasIpv6Loopback();
    if (!ipv6) {
        std::fprintf(stderr, "attack_bench: no IPv6 loopback here, so the honest device comes "
                             "from 127.0.0.1 like the prankster\n");
    }
    Print("attack_honest_device_on_ipv6_loopback", ipv6, "yes");
    WaitFor([] { return false; }, 3000); // the host settled
    std::vector<Outcome> outcomes;
    for (std::size_t i = 0; i < kAttacks.size(); ++i) {
        outcomes.push_back(Run(kAttacks.at(i), static_cast<int>(i), host,
                               ipv6 ? QStringLiteral("::1") : QStringLiteral("127.0.0.1"),
                               LargestFile(site)));
    }
    Print("attack_host_memory_most_ever", host.peakKiB / 1024.0, "MiB");
    host.process->write("quit\n");
    host.process->waitForFinished(10'000);
    ReportSaves();
    PrintTable(outcomes);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    const QByteArray mode = argc > 1 ? argv[1] : "";
    if (mode == "host") {
        QApplication app(argc, argv);
        return Host(QApplication::arguments().value(2));
    }
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (mode == "saves") { // the saves alone
        ReportSaves();
        return 0;
    }
    if (mode == "prankster") {
        return Prankster(arguments.value(2), static_cast<quint16>(arguments.value(3).toUInt()),
                         arguments.value(4), arguments.value(5).toInt(), arguments.value(6));
    }
    return Bench(arguments.value(1));
}
