// The whole class as one experiment: what a device's report may say, the pool
// that counts each run once, the file and the table that keep it, the address
// the class joins at, the host that serves the site and takes reports only
// from the class, and the teacher's window.

#include "core/drop_tick.h"
#include "core/ratios.h"
#include "core/shown_texts.h"
#include "core/xoshiro_generator.h"
#include "host/class_host.h"
#include "host/join_address.h"
#include "pool/chance_band.h"
#include "pool/class_csv.h"
#include "pool/landing_statistics.h"
#include "pool/pool_file.h"
#include "support/warnings.h"
#include "teacher/class_look.h"
#include "teacher/class_window.h"

#include <QApplication>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QWebSocket>

using namespace pokorin;
using namespace pokorin::test;

namespace {

const QByteArray kBins = "[0,1,2,3,4,5,4,3,2,1,0]"; // 25 balls

QByteArray Report(const QByteArray &bins = kBins, const QByteArray &ms = "5000",
                  const QByteArray &run = "run-00001", const QByteArray &device = "device-01") {
    return R"({"device":")" + device + R"(","run":")" + run + R"(","bins":)" + bins + R"(,"ms":)" +
           ms + '}';
}

// What the pool makes of a report that reaches it at the host's time `at`.
ClassPool::Verdict Take(ClassPool &pool, const QByteArray &message, qint64 at) {
    QString problem;
    return pool.take(ParseClassReport(message, problem).value_or(ClassReport{}), at, problem);
}

// A raw connection to the host on loopback, connected or closed at once.
std::unique_ptr<QTcpSocket> Connect(quint16 port) {
    auto socket = std::make_unique<QTcpSocket>();
    socket->connectToHost(QHostAddress::LocalHost, port);
    socket->waitForConnected(5000);
    return socket;
}

// Whether the host closes the connection before the deadline.
bool ClosedByHost(QTcpSocket &socket) {
    return QTest::qWaitFor(
        [&socket] { return socket.state() == QAbstractSocket::UnconnectedState; }, 10'000);
}

// A socket's whole life against the host: what closed it, or "open" when the
// host answers a ping sent after the messages, having taken them all.
QString Talk(const QUrl &url, const QList<QByteArray> &messages) {
    QWebSocket socket;
    QSignalSpy closed(&socket, &QWebSocket::disconnected), answered(&socket, &QWebSocket::pong);
    QObject::connect(&socket, &QWebSocket::connected, [&] {
        for (const QByteArray &message : messages) {
            message == "binary" ? socket.sendBinaryMessage(message)
                                : socket.sendTextMessage(QString::fromUtf8(message));
        }
        socket.ping();
    });
    socket.open(url);
    if (!QTest::qWaitFor([&] { return !closed.isEmpty() || !answered.isEmpty(); }, 20'000)) {
        return QStringLiteral("no answer");
    }
    return closed.isEmpty() ? QStringLiteral("open") : QString::number(socket.closeCode());
}

// One of this computer's interfaces as the system lists it.
InterfaceFacts Interface(const QString &name, QNetworkInterface::InterfaceType type,
                         const QStringList &addresses,
                         QNetworkInterface::InterfaceFlags flags = QNetworkInterface::IsUp |
                                                                   QNetworkInterface::IsRunning) {
    InterfaceFacts facts{name, type, flags, {}};
    for (const QString &address : addresses) {
        facts.addresses << QHostAddress(address);
    }
    return facts;
}

// The frames of a colour in a picture, each connected set of its pixels as
// the rectangle it outlines, or as an empty one when it outlines none: two
// frames that overlap or touch, or one cut off, outline none.
QList<QRect> Frames(const QImage &picture, const QColor &colour) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    QList<bool> seen(image.width() * image.height());
    const auto isFrame = [&](QPoint at) {
        return image.rect().contains(at) && !seen.at(at.y() * image.width() + at.x()) &&
               image.pixel(at) == colour.rgb();
    };
    QList<QRect> frames;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            QList<QPoint> next{{x, y}}, set;
            if (!isFrame(next.first())) {
                continue;
            }
            seen[y * image.width() + x] = true;
            QRect box(x, y, 1, 1);
            while (!next.isEmpty()) {
                const QPoint at = next.takeLast();
                set << at;
                box |= QRect(at, QSize(1, 1));
                for (const QPoint step :
                     {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1), QPoint(1, 1),
                      QPoint(1, -1), QPoint(-1, 1), QPoint(-1, -1)}) {
                    if (isFrame(at + step)) {
                        seen[(at + step).y() * image.width() + (at + step).x()] = true;
                        next << at + step;
                    }
                }
            }
            const bool outline = set.size() == 2 * (box.width() + box.height()) - 4 &&
                                 std::all_of(set.cbegin(), set.cend(), [&box](QPoint at) {
                                     return at.x() == box.left() || at.x() == box.right() ||
                                            at.y() == box.top() || at.y() == box.bottom();
                                 });
            frames << (outline ? box : QRect());
        }
    }
    return frames;
}

} // namespace

class ClassTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Warnings::Keep(); }

    void reportsPassOnlyWhenOneRunCanReachThem_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<bool>("passes");
        QTest::newRow("a run") << Report() << true;
        QTest::newRow("a full stack") << Report("[0,0,0,0,0,20,0,0,0,0,0]") << true;
        QTest::newRow("no JSON") << QByteArray("{\"device\":") << false;
        QTest::newRow("a key more") << Report().replace("}", ",\"x\":1}") << false;
        QTest::newRow("a short name") << Report(kBins, "5000", "r1") << false;
        QTest::newRow("a name with a slash") << Report(kBins, "5000", "run-00001/../x") << false;
        QTest::newRow("ten bins") << Report("[0,1,2,3,4,5,4,3,2,1]") << false;
        QTest::newRow("a bin over 20") << Report("[0,0,0,0,0,21,0,0,0,0,0]") << false;
        QTest::newRow("two full stacks") << Report("[0,0,0,0,20,20,0,0,0,0,0]") << false;
        QTest::newRow("a negative count") << Report("[0,-1,2,3,4,5,4,3,2,1,0]") << false;
        QTest::newRow("half a ball") << Report("[0,1.5,2,3,4,5,4,3,2,1,0]") << false;
        QTest::newRow("a count as text") << Report("[0,\"1\",2,3,4,5,4,3,2,1,0]") << false;
        QTest::newRow("faster than 1 ms a level") << Report(kBins, "263") << false;
        QTest::newRow("too long") << Report().append(QByteArray(kMaxReportBytes, ' ')) << false;
    }
    void reportsPassOnlyWhenOneRunCanReachThem() {
        QFETCH(QByteArray, message);
        QFETCH(bool, passes);
        QString problem;
        QCOMPARE(ParseClassReport(message, problem).has_value(), passes);
    }

    // The same report twice, or an older one, changes nothing; a run only
    // grows, no faster than a ball each 11 ms of the host's time, and not
    // after its stack is full; a run without a ball is not kept; starting
    // afresh counts only what comes after.
    void thePoolCountsEachRunOnceAndOnlyGrows() {
        using enum ClassPool::Verdict;
        ClassPool pool;
        QCOMPARE(Take(pool, Report(), 1000), Grown);
        QCOMPARE(Take(pool, Report(), 1100), Unchanged);
        QCOMPARE(Take(pool, Report("[0,1,2,3,4,4,4,3,2,1,0]", "6000"), 1200), Refused);
        QCOMPARE(Take(pool, Report("[19,19,19,19,19,19,19,19,19,19,19]", "90000"), 1300), Refused);
        QCOMPARE(Take(pool, Report("[0,0,0,0,0,0,0,0,0,0,0]", "5000", "run-empty"), 1300),
                 Unchanged);
        QCOMPARE(Take(pool, Report("[0,0,0,0,0,19,0,0,0,0,0]", "5000", "run-00002"), 1400), Grown);
        QCOMPARE(Take(pool, Report("[0,0,0,0,0,20,0,0,0,0,0]", "5100", "run-00002"), 1500), Grown);
        QCOMPARE(Take(pool, Report("[0,0,0,0,1,20,0,0,0,0,0]", "9000", "run-00002"), 9000),
                 Refused);
        QCOMPARE(pool.contributions().size(), 2);
        QCOMPARE(pool.balls(), 45);
        pool.startAfresh(2000);
        QCOMPARE(pool.balls(), 0);
        QCOMPARE(Take(pool, Report("[0,1,2,3,4,6,4,3,2,1,0]", "6000"), 2400), Grown);
        QCOMPARE(pool.pooled(), (PooledCounts{0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}));
        for (int run = 1; run <= ClassPool::kMaxRunsPerDevice; ++run) {
            Take(pool, Report(kBins, "5000", "run-" + QByteArray::number(run + 10000)), 3000);
        }
        QCOMPARE(Take(pool, Report(kBins, "5000", "run-one-more"), 3000), Refused);
    }

    // A pool filled with runs, or with devices, takes no more until the
    // teacher starts afresh, and then takes reports again at once.
    void aFreshStartAlwaysTakesReportsAgain() {
        using enum ClassPool::Verdict;
        ClassPool pool;
        const auto fill = [&pool](int devices, int runsEach, qint64 at) {
            for (int device = 0; device < devices; ++device) {
                for (int run = 0; run < runsEach; ++run) {
                    Take(pool,
                         Report("[0,0,0,0,0,1,0,0,0,0,0]", "5000",
                                "run-" + QByteArray::number(at * 1000 + run),
                                "device-" + QByteArray::number(at * 10000 + device)),
                         at);
                }
            }
        };
        fill(ClassPool::kMaxDevices, 1, 1);
        QCOMPARE(Take(pool, Report(kBins, "5000", "run-00001", "device-new"), 1), Refused);
        pool.startAfresh(2);
        QCOMPARE(Take(pool, Report(kBins, "5000", "run-00001", "device-new"), 2), Grown);
        fill(ClassPool::kMaxRuns / ClassPool::kMaxRunsPerDevice, ClassPool::kMaxRunsPerDevice, 3);
        QCOMPARE(Take(pool, Report(kBins, "5000", "run-00001", "device-late"), 3), Refused);
        pool.startAfresh(4);
        QCOMPARE(Take(pool, Report(kBins, "5000", "run-00001", "device-late"), 4), Grown);
        QCOMPARE(pool.balls(), 25);
        QVERIFY(pool.contributions().size() <= ClassPool::kMaxRuns + 1);
    }

    // The teacher takes one device's balls out, and every report it sends
    // after, kept out across a restart; the rest of the class stays.
    void aDeviceTakenOutStaysOut() {
        using enum ClassPool::Verdict;
        ClassPool pool, restored;
        Take(pool, Report(kBins, "5000", "run-00001", "device-honest"), 1000);
        Take(pool, Report("[0,0,0,0,0,9,0,0,0,0,0]", "5000", "run-00001", "device-prank"), 1000);
        QVERIFY(pool.takeOut("device-prank"));
        QCOMPARE(pool.balls(), 25);
        QCOMPARE(Take(pool, Report(kBins, "9000", "run-00002", "device-prank"), 9000), Refused);
        restored.restore(pool.record());
        QCOMPARE(Take(restored, Report(kBins, "9000", "run-00003", "device-prank"), 9000), Refused);
        QCOMPARE(restored.pooled(), pool.pooled());
        QCOMPARE(restored.devices().size(), 1);
    }

    // Saved and read back whole, the balls before the fresh start still
    // left out and the chart as it was; a damaged file is set aside and
    // gives nothing.
    void theFileKeepsTheClassAndSetsABadOneAside() {
        QTemporaryDir dir;
        PoolFile file(dir.filePath("kept/class.json"));
        ClassPool pool, restored;
        Take(pool, Report(), 1000);
        pool.startAfresh(1000);
        Take(pool, Report("[0,1,2,3,4,6,4,3,2,1,0]", "6000"), 2000);
        Take(pool, Report(kBins, "5000", "run-00001", "device-02"), 2000);
        QVERIFY(!file.load() && file.save({"abcdefghjk", 8765, pool.record()}));
        pool.takeOut("device-02"); // and saved again, each change since written
        Take(pool, Report("[0,1,2,3,4,7,4,3,2,1,0]", "7000"), 3000);
        QVERIFY(file.save({"abcdefghjk", 8765, pool.record()}));
        const std::optional<ClassState> kept = file.load();
        QVERIFY(kept && kept->code == "abcdefghjk" && kept->port == 8765);
        QCOMPARE(kept->pool.takenOut, QStringList{"device-02"});
        QCOMPARE(kept->pool.gaps, pool.gaps());
        restored.restore(kept->pool);
        QCOMPARE(restored.pooled(), pool.pooled());
        QCOMPARE(restored.gaps(), pool.gaps()); // the chart's points
        WriteFile(dir.filePath("kept/class.json"),
                  R"({"code": "abcdefghjk", "port": 8765, "runs": [{"device": "device-01"}]})");
        QVERIFY(!file.load());
        QVERIFY(QFile::exists(dir.filePath("kept/class.json.bad")));
        QCOMPARE(Warnings::Containing("could not be read"), 1);
    }

    // UTF-8 with its mark, a row a bin and a row a run with balls counted,
    // the device and the run by number: their names are what lets one report.
    void theTableOpensInASpreadsheet() {
        ClassPool pool;
        Take(pool, Report("[1,0,0,0,0,3,0,0,0,0,0]", "5000"), 1000);
        pool.startAfresh(1000);
        Take(pool, Report("[1,0,0,0,0,4,0,0,0,0,2]", "6000"), 2000);
        Take(pool, Report("[3,0,0,0,0,0,0,0,0,0,0]", "5000", "run-00002"), 2000);
        const QByteArray table = ClassCsv(pool);
        QVERIFY(table.startsWith("\xEF\xBB\xBF"));
        const QStringList lines = QString::fromUtf8(table).split("\r\n");
        QCOMPARE(lines.size(), 1 + 11 + 1 + 2 + 1);
        QCOMPARE(lines.at(1), "1,3,0.001,0.500");
        QCOMPARE(lines.at(6), "6,1,0.246,0.167");
        QCOMPARE(lines.at(11), "11,2,0.001,0.333");
        QCOMPARE(lines.at(13), "1,1,0,0,0,0,0,1,0,0,0,0,2");
        QCOMPARE(lines.at(14), "1,2,3,0,0,0,0,0,0,0,0,0,0");
    }

    void theClassJoinsWhereATeacherWould_data() {
        using enum QNetworkInterface::InterfaceType;
        QTest::addColumn<QList<InterfaceFacts>>("interfaces");
        QTest::addColumn<QString>("defaultRoute"); // none when empty
        QTest::addColumn<QString>("asked");        // none when empty
        QTest::addColumn<QStringList>("shown");    // large first, then the others
        const InterfaceFacts lo = Interface("lo", Loopback, {"127.0.0.1", "::1"},
                                            QNetworkInterface::IsUp | QNetworkInterface::IsRunning |
                                                QNetworkInterface::IsLoopBack);
        const InterfaceFacts eth = Interface("eth0", Ethernet, {"198.18.1.5"});
        const InterfaceFacts wifi = Interface("wlan0", Wifi, {"198.18.2.5"});
        const InterfaceFacts docker = Interface("docker0", Ethernet, {"198.19.0.1"});
        const InterfaceFacts unplugged =
            Interface("eth1", Ethernet, {"198.18.3.5"}, QNetworkInterface::IsUp);
        QTest::newRow("only the loopback") << QList{lo, docker, unplugged} << ""
                                           << "" << QStringList{"127.0.0.1"};
        QTest::newRow("the loopback listed first") << QList{lo, eth} << ""
                                                   << "" << QStringList{"198.18.1.5"};
        QTest::newRow("link-local and IPv6 addresses")
            << QList{Interface("eth0", Ethernet, {"169.254.3.4", "fe80::1", "2001:db8::5"}),
                     Interface("wlan0", Wifi, {"2001:db8::6", "198.18.2.5"})}
            << ""
            << "" << QStringList{"198.18.2.5"};
        QTest::newRow("virtual switches")
            << QList{docker, Interface("virbr0", Ethernet, {"198.19.1.1"}),
                     Interface("vEthernet (WSL)", Ethernet, {"198.19.2.1"}),
                     Interface("VirtualBox Host-Only Network", Ethernet, {"198.19.3.1"}), eth}
            << ""
            << "" << QStringList{"198.18.1.5"};
        QTest::newRow("interfaces down or without a cable")
            << QList{unplugged, Interface("eth2", Ethernet, {"198.18.4.5"}, {}), wifi} << ""
            << "" << QStringList{"198.18.2.5"};
        QTest::newRow("the default route's before an Ethernet listed first")
            << QList{eth, wifi} << "198.18.2.5"
            << "" << QStringList{"198.18.2.5", "198.18.1.5"};
        QTest::newRow("Hyper-V's external switch on the default route")
            << QList{Interface("vEthernet (WSL)", Ethernet, {"198.19.2.1"}),
                     Interface("vEthernet (External)", Ethernet, {"198.18.5.5"})}
            << "198.18.5.5"
            << "" << QStringList{"198.18.5.5"};
        QTest::newRow("Wi-Fi before a dial-up or VPN link")
            << QList{Interface("ppp0", Ppp, {"198.18.6.5"}),
                     Interface("tun0", Virtual, {"198.18.7.5"}), wifi}
            << ""
            << "" << QStringList{"198.18.2.5", "198.18.6.5", "198.18.7.5"};
        QTest::newRow("an asked address")
            << QList{eth, wifi} << "198.18.1.5"
            << "198.18.2.5" << QStringList{"198.18.2.5", "198.18.1.5"};
        QTest::newRow("an asked address no interface has")
            << QList{eth, wifi} << ""
            << "198.18.255.254" << QStringList{"198.18.1.5", "198.18.2.5"};
    }
    // The address a student's device can reach, never the loopback's while
    // another is there, nor one of a virtual switch but the default route's.
    void theClassJoinsWhereATeacherWould() {
        QFETCH(QList<InterfaceFacts>, interfaces);
        QFETCH(QString, defaultRoute);
        QFETCH(QString, asked);
        QFETCH(QStringList, shown);
        std::optional<QHostAddress> route;
        if (!defaultRoute.isEmpty()) {
            route = QHostAddress(defaultRoute);
        }
        const auto asking = asked.isEmpty() ? std::nullopt : std::optional(asked);
        QCOMPARE(ChooseJoinAddresses(interfaces, route, asking).all(), shown);
    }

    // Counted in steps to the right, bin k being k - 1 of them, and the
    // variance of the landed balls themselves, over their number.
    void theLandingsMeanAndVarianceCountStepsToTheRight_data() {
        QTest::addColumn<QByteArray>("bins");
        QTest::addColumn<QString>("mean");
        QTest::addColumn<QString>("variance");
        QTest::newRow("one at each end") << QByteArray("[1,0,0,0,0,0,0,0,0,0,1]") << "5.000"
                                         << "25.000";
        QTest::newRow("one, two and two steps") << QByteArray("[0,1,2,0,0,0,0,0,0,0,0]") << "1.667"
                                                << "0.222";
        QTest::newRow("a few of a run") << QByteArray("[0,0,0,1,2,3,2,0,0,0,0]") << "4.750"
                                        << "0.938";
    }
    void theLandingsMeanAndVarianceCountStepsToTheRight() {
        QFETCH(QByteArray, bins);
        QFETCH(QString, mean);
        QFETCH(QString, variance);
        ClassPool pool;
        Take(pool, Report(bins), 1000);
        const std::optional<LandingStatistics> steps = StepStatistics(pool.pooled());
        QVERIFY(steps);
        QCOMPARE(ThousandthsText(steps->mean), mean);
        QCOMPARE(ThousandthsText(steps->variance), variance);
    }

    // Nine pools of ten from a fair board, the program's own generator
    // deciding each ball's ten steps, have their gap to the theory inside
    // the band: its edges are the simulated gaps' 5 % and 95 % quantiles.
    void theBandHoldsNineFairPoolsOfTen_data() {
        QTest::addColumn<int>("balls");
        QTest::newRow("300 balls") << 300;
        QTest::newRow("3000 balls") << 3000;
    }
    void theBandHoldsNineFairPoolsOfTen() {
        QFETCH(int, balls);
        constexpr int kPools = 2000;
        XoshiroGenerator generator(static_cast<uint64_t>(balls));
        std::vector<double> gaps;
        for (int pool = 0; pool < kPools; ++pool) {
            std::array<int, kBinTotal> counts{};
            for (int ball = 0; ball < balls; ++ball) {
                int right = 0;
                for (int level = 1; level < kBinTotal; ++level) {
                    right += StepFor(generator.next()) == Step::Right ? 1 : 0;
                }
                counts.at(right) += 1;
            }
            double gap = 0;
            for (int k = 1; k <= kBinTotal; ++k) {
                gap = std::max(gap, std::abs(counts.at(k - 1) / double(balls) - BinProbability(k)));
            }
            gaps.push_back(gap);
        }
        std::sort(gaps.begin(), gaps.end());
        const ChanceBand band = ChanceBandFor(balls);
        // The bins' ratios, which the band takes as independent, are not
        // quite: they add up to 1. Their gap is small a little more often.
        QVERIFY(std::abs(gaps.at(kPools / 20) / band.low - 1) < 0.12);
        QVERIFY(std::abs(gaps.at(kPools * 19 / 20) / band.high - 1) < 0.05);
    }

    // Only the site's own files, the smallest encoding the browser takes, a
    // file not sent again while unchanged, and the pool's table.
    void theHostServesOnlyTheSiteAndItsTable() {
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkdir("site"));
        WriteFile(root.filePath("site/index.html"), "<html>");
        WriteFile(root.filePath("site/index.html.br"), "brotli");
        WriteFile(root.filePath("site/index.html.gz"), "gzip");
        WriteFile(root.filePath("outside.txt"), "secret");
        ClassPool pool;
        ClassHost host(pool, SiteFiles::Find({root.filePath("site")}), "abcdefghjk");
        const quint16 port = host.listen(0);
        QVERIFY(port != 0);
        QNetworkAccessManager network;
        const auto get = [&](const QString &path, QByteArray encoding, QByteArray tag = {}) {
            QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port) + path));
            request.setRawHeader("Accept-Encoding", encoding);
            request.setRawHeader("If-None-Match", tag);
            QNetworkReply *reply = network.get(request);
            QSignalSpy done(reply, &QNetworkReply::finished);
            done.wait(5000);
            reply->deleteLater();
            return std::pair(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                             reply->readAll() + ' ' + reply->rawHeader("ETag"));
        };
        QCOMPARE(get("/", "gzip, br").second.left(6), "brotli");
        QCOMPARE(get("/index.html", "gzip, br;q=0").second.left(4), "gzip");
        const auto [status, plain] = get("/index.html", "identity");
        QCOMPARE(plain.left(6), "<html>");
        QCOMPARE(get("/", "identity", plain.mid(7)).first, 304);
        const QByteArray brotli = get("/", "gzip, br").second;
        QCOMPARE(get("/", "gzip, br", brotli.mid(7)).first, 304);
        for (const char *path : {"/../outside.txt", "/%2e%2e/outside.txt", "//etc/passwd",
                                 "/index.html.br", "/nothing", "/class"}) {
            QTcpSocket raw; // as sent, where a client would tidy the path first
            raw.connectToHost(QHostAddress::LocalHost, port);
            raw.write(QByteArray("GET ") + path + " HTTP/1.1\r\nHost: x\r\n\r\n");
            QVERIFY(QSignalSpy(&raw, &QTcpSocket::readyRead).wait(5000));
            QCOMPARE(raw.readLine().trimmed(), "HTTP/1.1 404 Not Found");
        }
    }

    // Nothing but a report from the class moves the pool; whatever else a
    // device sends closes its connection, but for a report its run cannot
    // follow, which is only refused.
    void theHostTakesReportsOnlyFromTheClass() {
        ClassPool pool;
        ClassHost host(pool, SiteFiles(), "abcdefghjk");
        const QString base = QStringLiteral("ws://127.0.0.1:%1/class?code=").arg(host.listen(0));
        QSignalSpy grown(&host, &ClassHost::poolGrown);
        const QList<QByteArray> flood(ClassHost::kReportBurst + 1, Report());
        const QString refused = QString::number(QWebSocketProtocol::CloseCodePolicyViolated);
        QVERIFY(Talk(base + "nothere", {Report()}) != "open"); // Qt 6.8 refuses it at once
        QCOMPARE(Talk(base + "abcdefghjk", {"{}"}), refused);
        QCOMPARE(Talk(base + "abcdefghjk", {"binary"}),
                 QString::number(QWebSocketProtocol::CloseCodeDatatypeNotSupported));
        QCOMPARE(Talk(base + "abcdefghjk", {QByteArray(kMaxReportBytes + 1, 'x')}),
                 QString::number(QWebSocketProtocol::CloseCodeTooMuchData));
        QCOMPARE(pool.balls(), 0);
        QCOMPARE(Talk(base + "abcdefghjk", {Report(), Report()}), "open");
        QCOMPARE(Talk(base + "abcdefghjk", {Report("[0,1,2,3,4,4,4,3,2,1,0]", "6000")}), "open");
        // What a host that stalled takes at once, but not a flood.
        QCOMPARE(Talk(base + "abcdefghjk", flood.mid(1)), "open");
        QCOMPARE(Talk(base + "abcdefghjk", flood), refused);
        QCOMPARE(pool.balls(), 25);
        QCOMPARE(grown.size(), 1);
    }

    // One address cannot take every connection, hold a request open, keep a
    // silent device's connection, or bring new devices faster than a class
    // joins; a device the pool knows is never kept out.
    void theHostLimitsWhatOneAddressTakes() {
        ClassPool pool;
        ClassHost host(pool, SiteFiles(), "abcdefghjk",
                       {.connectionsPerAddress = 3,
                        .newDevicesAtOnce = 2,
                        .newDeviceEveryMs = 600'000,
                        .requestMs = 300,
                        .silentMs = 300});
        const quint16 port = host.listen(0);
        std::vector<std::unique_ptr<QTcpSocket>> taken;
        for (int i = 0; i < 3; ++i) {
            taken.push_back(Connect(port));
        }
        const std::unique_ptr<QTcpSocket> oneTooMany = Connect(port);
        QVERIFY(ClosedByHost(*oneTooMany));
        taken.front()->write("GET /nothing HTTP/1.1\r\nHost: x\r\n"); // and no more
        QVERIFY(ClosedByHost(*taken.front()));
        taken.at(1)->write("GET /class?code=abcdefghjk HTTP/1.1\r\nHost: x\r\n"
                           "Upgrade: websocket\r\nConnection: Upgrade\r\n"
                           "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
                           "Sec-WebSocket-Version: 13\r\n\r\n");
        QVERIFY(ClosedByHost(*taken.at(1))); // a device that answers no ping
        taken.clear();
        const QString url = QStringLiteral("ws://127.0.0.1:%1/class?code=abcdefghjk").arg(port);
        const QString tryAgain = QString::number(QWebSocketProtocol::CloseCodeBadOperation);
        for (const QByteArray device : {"device-a1", "device-b2"}) {
            QCOMPARE(Talk(url, {Report(kBins, "5000", "run-00001", device)}), "open");
        }
        QCOMPARE(Talk(url, {Report(kBins, "5000", "run-00001", "device-c3")}), tryAgain);
        QCOMPARE(Talk(url, {Report(kBins, "6000", "run-00002", "device-a1")}), "open");
        QCOMPARE(pool.balls(), 75);
    }

    // At 1920 x 1080, every run shown in the grid in a frame of its own,
    // whole and apart from the others, found in the picture; beyond 80
    // devices, on pages that the teacher turns.
    void theGridShowsEveryRunWholeAndApart_data() {
        QTest::addColumn<int>("devices");
        QTest::addColumn<int>("pages");
        QTest::newRow("one device") << 1 << 1;
        QTest::newRow("a class") << 40 << 1;
        QTest::newRow("a hall") << 300 << 4;
    }
    void theGridShowsEveryRunWholeAndApart() {
        QFETCH(int, devices);
        QFETCH(int, pages);
        ClassPool pool;
        for (int device = 0; device < devices; ++device) {
            for (int run = 0; run <= device % 6; ++run) {
                Take(pool,
                     Report(kBins, "5000", "run-" + QByteArray::number(run + 10000),
                            "device-" + QByteArray::number(device + 10000)),
                     1000);
            }
        }
        ClassWindow window([] { return QByteArray(); });
        window.showClass({}, [&pool] { return pool.devices(); }, {});
        window.setFixedSize(1920, 1080);
        window.show();
        QTest::keyClick(&window, Qt::Key_2);
        QCOMPARE(window.grid()->pages(), pages);
        for (int page = 0; page < pages; ++page) {
            int runs = 0;
            for (int device = page * 80; device < std::min(devices, page * 80 + 80); ++device) {
                runs += std::min(4, device % 6 + 1);
            }
            const QList<QRect> frames = Frames(window.grid()->grab().toImage(), kRunFrameBlue);
            QCOMPARE(frames.size(), runs);
            for (const QRect &frame : frames) {
                QVERIFY(!frame.isEmpty());
            }
            QTest::keyClick(&window, Qt::Key_PageDown);
        }
    }

    // 保存 (or Ctrl+S) writes the pool's table where the teacher says, and
    // buttons the chart's points and the picture of the view chosen, which
    // stays chosen when the class is shown anew; 最初から, and a click on a
    // device's box in the grid, ask, and go on only after Yes; F11 fills
    // the screen.
    void theClassWindowSavesAndAsksBeforeItChangesThePool() {
        QTemporaryDir dir;
        ClassWindow window([] { return QByteArray("the table"); },
                           [&dir](QWidget *, const QString &name, const QByteArray &bytes) {
                               WriteFile(dir.filePath(name), bytes);
                           });
        ClassPool pool;
        Take(pool, Report(kBins, "5000", "run-00001", "device-prank"), 1000);
        Take(pool, Report(kBins, "5000", "run-00001", "device-other"), 1000);
        window.showClass(
            {}, [&pool] { return pool.devices(); }, pool.gaps());
        window.show();
        QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(ReadFile(dir.filePath(kSaveFileName)), "the table");
        QTest::keyClick(&window, Qt::Key_3);
        window.showClass(
            {}, [&pool] { return pool.devices(); }, pool.gaps());
        QTRY_VERIFY(window.chart()->isVisible());
        window.savePictureButton()->click();
        QCOMPARE(QImage(dir.filePath(kPictureFileName)).size(), window.chart()->size());
        window.saveChartButton()->click();
        const QByteArray chart = ReadFile(dir.filePath(kChartFileName));
        const QStringList points = QString::fromUtf8(chart).split("\r\n");
        QVERIFY(chart.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(points.size(), 1 + 2 + 1);
        QCOMPARE(points.at(2).section(u',', 0, 1), "50,0.046094"); // 0.2 against 252 / 1024
        QCOMPARE(points.at(2).count(u','), 3);
        QTest::keyClick(&window, Qt::Key_F11);
        QVERIFY(window.isFullScreen());
        QTest::keyClick(&window, Qt::Key_2);
        QTRY_VERIFY(window.grid()->isVisible());
        QSignalSpy startAfresh(&window, &ClassWindow::startAfresh);
        QSignalSpy takeOut(&window, &ClassWindow::takeOut);
        const QPoint box = window.grid()->boxes().first().second.center().toPoint();
        for (const bool yes : {false, true}) {
            for (const auto &ask : std::initializer_list<std::function<void()>>{
                     [&] { window.startAfreshButton()->click(); },
                     [&] {
                         QTest::mouseClick(window.grid(), Qt::LeftButton, {}, box);
                     }}) {
                ask();
                QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
                auto *question = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                question->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
                QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
            }
            QCOMPARE(startAfresh.size(), yes ? 1 : 0);
            QCOMPARE(takeOut.size(), yes ? 1 : 0);
        }
        QCOMPARE(takeOut.first().first().toString(), "device-prank");
    }
};

QTEST_MAIN(ClassTest)
#include "tst_class.moc"
