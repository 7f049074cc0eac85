// The class host under load. Simulated devices at the program's fastest pace
// (1 ms a level: a ball every 11 ms, the first a little apart on each device)
// report to a host like the teacher's, 40 and then 300 of them for a minute;
// then forty browsers download the whole site at once. Prints one line per
// figure: name value unit. The host, the devices and the browsers each run in
// a process of their own, the host with its class window on the offscreen
// platform, and they share the machine's wall clock.
// Usage: class_bench [SITE_FOLDER]
//        class_bench SITE_FOLDER --host COMMAND...
// With --host, only the 40 devices, against a host that COMMAND starts given
// class_bench's host arguments: class_bench.exe under Wine.

#include "bench_process.h"
#include "process_figures.h"
#include "teacher/class_session.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QWebSocket>
#include <bit>
#include <chrono>
#include <cstdio>
#include <map>
#include <numeric>

using namespace pokorin;

namespace {

constexpr int kMsPerBall = 11;
constexpr int kSendEveryMs = 100; // as the page does
constexpr int kSampleEvery = 7;   // landings timed, one in so many

// The wall clock: a host under Wine shares it with the devices on Linux, but
// not always the steady clock.
qint64 NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The host: a class session as the teacher's, on a free port, for SECONDS;
// writes to LOG, at each paint of the class window, the runs grown since the
// last one, and prints its address, then its processor use and memory.
int Host(const QString &site, int seconds, const QString &log) {
    QTemporaryDir data;
    // Every simulated device comes from this computer's one address, as if
    // the whole class sat behind one router.
    ClassSession session(PoolFile(data.filePath("class.json")), SiteFiles::Find({site}),
                         {QStringLiteral("127.0.0.1"), {}},
                         {.connectionsPerAddress = ClassHost::kMaxConnections,
                          .newDevicesAtOnce = ClassPool::kMaxDevices});
    std::printf("%s\n", qPrintable(session.start(0)->first()));
    std::fflush(stdout);
    QFile file(log);
    file.open(QIODevice::WriteOnly);
    struct Painted : QObject {
        const ClassPool *pool;
        QTextStream out;
        std::map<QString, int> shown;
        bool eventFilter(QObject *, QEvent *event) override {
            if (event->type() == QEvent::Paint) {
                const qint64 now = NowNs();
                for (const Contribution &run : pool->contributions()) {
                    const int balls = std::accumulate(run.bins.begin(), run.bins.end(), 0);
                    int &was = shown[run.device + ' ' + run.run];
                    if (balls != was) {
                        out << run.device << ' ' << run.run << ' ' << balls << ' ' << now << '\n';
                        was = balls;
                    }
                }
            }
            return false;
        }
    } painted;
    painted.pool = &session.pool();
    painted.out.setDevice(&file);
    session.window().view()->installEventFilter(&painted);
    // Memory each second: its most, and what it grew from the twentieth
    // second, when the class has joined and run a while, to the end.
    std::vector<long> kib;
    QTimer memory;
    QObject::connect(&memory, &QTimer::timeout, [&kib] { kib.push_back(ResidentKiB()); });
    memory.start(1000);
    const double processorBefore = ProcessorSeconds();
    QTimer::singleShot(seconds * 1000, qApp, &QCoreApplication::quit);
    QApplication::exec();
    painted.out.flush();
    std::printf("%g %ld %ld\n", (ProcessorSeconds() - processorBefore) / seconds,
                kib.back() - kib.at(std::min<std::size_t>(20, kib.size() - 1)), PeakResidentKiB());
    return 0;
}

// One simulated device: a run lands a ball every 11 ms until a stack is full,
// when the next run begins; the totals go out at most every 100 ms.
struct Device {
    QString name;
    QWebSocket socket;
    ClassReport report;
    qint64 runStartMs = 0, nextBallMs = 0, lastSentMs = -kSendEveryMs;
    bool unsent = false;
};

// The devices: N of them for SECONDS at ADDRESS; writes to LOG one line in
// seven of their landings, and prints the pool's table against their sums.
int Devices(int count, int seconds, const QString &address, const QString &log) {
    const QUrl url(address);
    QUrl join = url;
    join.setScheme("ws");
    join.setPath("/class");
    join.setQuery("code=" + url.query().section(u'=', 1));
    std::vector<std::unique_ptr<Device>> devices;
    for (int i = 0; i < count; ++i) {
        auto device = std::make_unique<Device>();
        device->name = QStringLiteral("device-%1").arg(i, 4, 10, QChar(u'0'));
        device->report = {device->name, "run-00000001", {}, 0};
        device->nextBallMs = i % kMsPerBall + kMsPerBall;
        device->socket.open(join);
        devices.push_back(std::move(device));
    }
    // The class joins before its first ball.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 30'000 &&
           std::any_of(devices.begin(), devices.end(), [](const auto &d) {
               return d->socket.state() != QAbstractSocket::ConnectedState;
           })) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    clock.restart();
    PooledCounts landed{};
    QStringList lines;
    std::uint64_t landings = 0;
    // A run's totals, with its length at its latest ball.
    const auto send = [](Device &device, qint64 now) {
        device.socket.sendTextMessage(QString::fromUtf8(ReportMessage(device.report)));
        device.lastSentMs = now;
        device.unsent = false;
    };
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        for (auto &device : devices) {
            ClassReport &report = device->report;
            while (device->nextBallMs <= now && now < seconds * 1000) {
                const int bin = std::popcount(QRandomGenerator::global()->bounded(1024u));
                if (std::find(report.bins.begin(), report.bins.end(), kStackCapacity) !=
                    report.bins.end()) {
                    if (device->unsent) { // the last totals of the run before the next begins
                        send(*device, now);
                    }
                    report = {
                        device->name, QStringLiteral("run-%1").arg(now, 8, 10, QChar(u'0')), {}, 0};
                    device->runStartMs = device->nextBallMs - kMsPerBall;
                }
                report.bins.at(bin) += 1;
                report.ms = device->nextBallMs - device->runStartMs;
                landed.at(bin) += 1;
                device->unsent = true;
                if (++landings % kSampleEvery == 0) {
                    const int balls = std::accumulate(report.bins.begin(), report.bins.end(), 0);
                    lines << QStringLiteral("%1 %2 %3 %4")
                                 .arg(report.device, report.run)
                                 .arg(balls)
                                 .arg(NowNs() - (now - device->nextBallMs) * 1'000'000);
                }
                device->nextBallMs += kMsPerBall;
            }
            if (device->unsent && now - device->lastSentMs >= kSendEveryMs &&
                device->socket.state() == QAbstractSocket::ConnectedState) {
                send(*device, now);
            }
        }
        if (now > seconds * 1000 + 3000) {
            QCoreApplication::quit();
        }
    });
    tick.start(1);
    QCoreApplication::exec();
    QNetworkAccessManager network;
    QNetworkReply *reply = network.get(QNetworkRequest(url.resolved(QUrl("/class.csv"))));
    QEventLoop wait;
    QObject::connect(reply, &QNetworkReply::finished, &wait, &QEventLoop::quit);
    wait.exec();
    const QStringList rows = QString::fromUtf8(reply->readAll()).split("\r\n");
    bool exact = rows.size() > kBinTotal;
    for (int k = 1; exact && k <= kBinTotal; ++k) {
        exact = rows.at(k).section(u',', 1, 1).toLong() == landed.at(k - 1);
    }
    QFile file(log);
    if (file.open(QIODevice::WriteOnly)) {
        QTextStream(&file) << lines.join(u'\n') << '\n';
    }
    // A device let go never comes back here, as a page would, with its runs.
    const auto dropped = std::count_if(devices.begin(), devices.end(), [](const auto &d) {
        return d->socket.state() != QAbstractSocket::ConnectedState;
    });
    std::printf("%d %ld %ld\n", exact ? 1 : 0, std::accumulate(landed.begin(), landed.end(), 0L),
                static_cast<long>(dropped));
    return 0;
}

// From each timed landing to the first paint of the class window that shows
// its run with at least as many balls: p50, p95 and the longest, in ms.
std::array<double, 3> Latencies(const QString &landings, const QString &paints) {
    std::map<QString, std::vector<std::pair<int, qint64>>> shown;
    QFile paintFile(paints);
    paintFile.open(QIODevice::ReadOnly);
    for (const QByteArray &line : paintFile.readAll().split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        if (f.size() == 4) {
            shown[f[0] + ' ' + f[1]].emplace_back(f[2].toInt(), f[3].toLongLong());
        }
    }
    std::vector<double> ms;
    QFile landingFile(landings);
    landingFile.open(QIODevice::ReadOnly);
    for (const QByteArray &line : landingFile.readAll().split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        if (f.size() != 4) {
            continue;
        }
        for (const auto &[balls, at] : shown[f[0] + ' ' + f[1]]) {
            if (balls >= f[2].toInt()) {
                ms.push_back((at - f[3].toLongLong()) / 1e6);
                break;
            }
        }
    }
    std::sort(ms.begin(), ms.end());
    if (ms.empty()) {
        return {0, 0, 0};
    }
    return {ms.at(ms.size() / 2), ms.at(ms.size() * 95 / 100), ms.back()};
}

// The host (this program's, or the one HOST starts) and the devices, each in
// its own process, for a minute; the figures' names begin with NAME.
void ReportDevices(const QString &site, int count, const QStringList &host = {},
                   QString name = QStringLiteral("class")) {
    constexpr int kSeconds = 60;
    QTemporaryDir logs;
    QProcess *hosting =
        StartPart({"host", site, QString::number(kSeconds + 15), logs.filePath("paints")}, host);
    hosting->waitForReadyRead(60'000);
    const QString address = QString::fromUtf8(hosting->readLine()).trimmed();
    QProcess *devices = StartPart({"devices", QString::number(count), QString::number(kSeconds),
                                   address, logs.filePath("landings")});
    devices->waitForFinished(-1);
    hosting->waitForFinished(-1);
    double processor = 0;
    long grownKiB = 0, mostKiB = 0, balls = 0;
    long dropped = 0;
    int exact = 0;
    std::sscanf(hosting->readAll().constData(), "%lf %ld %ld", &processor, &grownKiB, &mostKiB);
    std::sscanf(devices->readAll().constData(), "%d %ld %ld", &exact, &balls, &dropped);
    const auto [p50, p95, longest] = Latencies(logs.filePath("landings"), logs.filePath("paints"));
    name += QStringLiteral("_%1_devices_").arg(count);
    Print(name + "balls", balls, "balls");
    Print(name + "pool_exact", exact, "yes");
    Print(name + "let_go", dropped, "devices");
    Print(name + "landing_to_window_p50", p50, "ms");
    Print(name + "landing_to_window_p95", p95, "ms");
    Print(name + "landing_to_window_max", longest, "ms");
    Print(name + "host_processor", processor * 100, "%_of_a_core");
    Print(name + "host_memory_peak", mostKiB / 1024.0, "MiB");
    Print(name + "host_memory_growth_after_20s", grownKiB / 1024.0, "MiB");
}

// Forty browsers load the whole site at once, each as a browser asks: every
// file, six at a time, taking brotli or gzip.
void ReportDownloads(const QString &site) {
    constexpr int kBrowsers = 40;
    QProcess *host = StartPart({"host", site, "60", QDir::temp().filePath("pokorin-bench-paints")});
    host->waitForReadyRead(30'000);
    const QUrl address(QString::fromUtf8(host->readLine()).trimmed());
    QStringList files = QDir(site).entryList(QDir::Files);
    files.removeIf(
        [](const QString &file) { return file.endsWith(".br") || file.endsWith(".gz"); });
    std::vector<std::unique_ptr<QNetworkAccessManager>> browsers;
    qint64 bytes = 0;
    int left = kBrowsers * static_cast<int>(files.size());
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kBrowsers; ++i) {
        browsers.push_back(std::make_unique<QNetworkAccessManager>());
        for (const QString &file : files) {
            QNetworkRequest request(address.resolved(QUrl(file)));
            request.setRawHeader("Accept-Encoding", "gzip, deflate, br");
            QNetworkReply *reply = browsers.back()->get(request);
            QObject::connect(reply, &QNetworkReply::finished, [&, reply] {
                bytes += reply->readAll().size();
                reply->deleteLater();
                if (--left == 0) {
                    QCoreApplication::quit();
                }
            });
        }
    }
    QCoreApplication::exec();
    Print("class_site_40_downloads_time", clock.elapsed() / 1000.0, "s");
    Print("class_site_40_downloads_bytes", bytes / 1e6, "MB");
    Print("class_site_one_download_bytes", bytes / 1e6 / kBrowsers, "MB");
    host->kill();
    host->waitForFinished();
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.value(1) == "host") {
        return Host(arguments.value(2), arguments.value(3).toInt(), arguments.value(4));
    }
    if (arguments.value(1) == "devices") {
        return Devices(arguments.value(2).toInt(), arguments.value(3).toInt(), arguments.value(4),
                       arguments.value(5));
    }
    const QString site = arguments.value(1);
    if (arguments.value(2) == "--host") {
        ReportDevices(site, 40, arguments.mid(3), "class_wine");
        return 0;
    }
    for (const int devices : {40, 300}) {
        ReportDevices(site, devices);
    }
    if (QFile::exists(site + "/index.html")) {
        ReportDownloads(site);
    }
    return 0;
}
