// The whole class as one experiment: what a device's report may say, the pool
// that counts each run once, the file and the table that keep it, the address
// the class joins at, the host that serves the site and takes reports only
// from the class, and the teacher's window.

#include "host/class_host.h"
#include "host/join_address.h"
#include "pool/class_csv.h"
#include "pool/pool_file.h"
#include "support/warnings.h"
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
                  const QByteArray &run = "run-00001") {
    return R"({"device":"device-01","run":")" + run + R"(","bins":)" + bins + R"(,"ms":)" + ms +
           '}';
}

// What the pool makes of a report that reaches it at the host's time `at`.
ClassPool::Verdict Take(ClassPool &pool, const QByteArray &message, qint64 at) {
    QString problem;
    return pool.take(ParseClassReport(message, problem).value_or(ClassReport{}), at, problem);
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
        QTest::newRow("a name with a slash") << Report(kBins, "5000", "run/../x") << false;
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
        QCOMPARE(Take(pool, Report("[0,0,0,0,0,20,0,0,0,0,0]", "5000", "run-00002"), 1400), Grown);
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

    // Saved and read back whole, the balls before the fresh start still
    // left out; a damaged file is set aside and gives nothing.
    void theFileKeepsTheClassAndSetsABadOneAside() {
        QTemporaryDir dir;
        const PoolFile file(dir.filePath("kept/class.json"));
        ClassPool pool, restored;
        Take(pool, Report(), 1000);
        pool.startAfresh(1000);
        Take(pool, Report("[0,1,2,3,4,6,4,3,2,1,0]", "6000"), 2000);
        QVERIFY(!file.load() && file.save({"abcdefghjk", 8765, pool.record()}));
        const std::optional<ClassState> kept = file.load();
        QVERIFY(kept && kept->code == "abcdefghjk" && kept->port == 8765);
        restored.restore(kept->pool);
        QCOMPARE(restored.pooled(), pool.pooled());
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
        Take(pool, Report(), 1000);
        const QByteArray table = ClassCsv(pool);
        QVERIFY(table.startsWith("\xEF\xBB\xBF"));
        const QStringList lines = QString::fromUtf8(table).split("\r\n");
        QCOMPARE(lines.size(), 1 + 11 + 1 + 1 + 1);
        QCOMPARE(lines.at(6), "6,5,0.246,0.200");
        QCOMPARE(lines.at(13), "1,1,0,1,2,3,4,5,4,3,2,1,0");
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
        const QList<QByteArray> flood(ClassHost::kMaxReportsPerSecond + 1, Report());
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
        QCOMPARE(Talk(base + "abcdefghjk", flood), refused);
        QCOMPARE(pool.balls(), 25);
        QCOMPARE(grown.size(), 1);
    }

    // 保存 writes the pool's table where the teacher says; 最初から asks, and
    // goes on only after Yes; F11 fills the screen.
    void theClassWindowSavesAndStartsAfreshOnlyWhenTold() {
        QTemporaryDir dir;
        ClassWindow window([] { return QByteArray("the table"); },
                           [&dir](QWidget *) { return dir.filePath("class.csv"); });
        window.show();
        window.saveButton()->click();
        QCOMPARE(ReadFile(dir.filePath("class.csv")), "the table");
        QTest::keyClick(&window, Qt::Key_F11);
        QVERIFY(window.isFullScreen());
        QSignalSpy startAfresh(&window, &ClassWindow::startAfresh);
        for (const bool yes : {false, true}) {
            window.startAfreshButton()->click();
            QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
            QCOMPARE(startAfresh.size(), yes ? 1 : 0);
        }
    }
};

QTEST_MAIN(ClassTest)
#include "tst_class.moc"
