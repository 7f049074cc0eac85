#include "attack_prankster.h"

#include "bench_process.h"
#include "pool/class_report.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>
#include <QWebSocket>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace pokorin::bench {
namespace {

// The most reports the host takes on one connection: twenty a second.
constexpr int kPaceMs = 50;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values.at(values.size() / 2);
}

double Longest(const std::vector<double> &values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

// A plausible run of one ball, in the middle bin.
ClassReport OneBall(const QString &device, const QString &run) {
    RunCounts bins{};
    bins.at(kBinTotal / 2) = 1;
    return {device, run, bins, 11};
}

// One WebSocket sending a report every 50 ms, as fast as the host allows,
// opened again at once whenever the host closes it; `most` reports in all.
void Flood(const QUrl &join, int seconds, int most, const std::function<ClassReport(int)> &report) {
    QWebSocket socket;
    int sent = 0, opened = 0, tryAgain = 0, tooMany = 0, otherwise = 0;
    bool over = false;
    QObject::connect(&socket, &QWebSocket::connected, [&opened] { ++opened; });
    QObject::connect(&socket, &QWebSocket::disconnected, [&] {
        if (over) {
            return;
        }
        switch (socket.closeCode()) {
        case QWebSocketProtocol::CloseCodeBadOperation:
            ++tryAgain;
            break;
        case QWebSocketProtocol::CloseCodePolicyViolated:
            ++tooMany;
            break;
        default:
            ++otherwise;
        }
        QTimer::singleShot(kPaceMs, &socket, [&] {
            if (!over) {
                socket.open(join);
            }
        });
    });
    QElapsedTimer clock;
    clock.start();
    QTimer pace;
    pace.setTimerType(Qt::PreciseTimer);
    QObject::connect(&pace, &QTimer::timeout, [&] {
        if (socket.state() == QAbstractSocket::ConnectedState && sent < most) {
            socket.sendTextMessage(QString::fromUtf8(ReportMessage(report(sent++))));
        }
        if (clock.elapsed() >= seconds * 1000) {
            over = true;
            QCoreApplication::quit();
        }
    });
    pace.start(kPaceMs);
    socket.open(join);
    QCoreApplication::exec();
    Print("reports_sent", sent, "reports");
    Print("connections_opened", opened, "connections");
    Print("closed_try_again", tryAgain, "times");
    Print("closed_too_many_reports", tooMany, "times");
    Print("closed_otherwise", otherwise, "times");
}

// Raw connections, `crowd` at once, each sending `opening` when connected and
// then nothing. One the host closes within a second was refused, and is
// tried again five seconds later; one it held is opened again at once;
// `most` attempts in all. Connected is as the prankster sees it: when the
// host's queue of connections to accept overflows, its system answers with
// SYN cookies, and an idle connection whose handshake it then dropped seems
// open here for ever, though the host never had it.
void Crowd(quint16 port, int crowd, const QByteArray &opening, int most, int seconds) {
    struct Member {
        QTcpSocket socket;
        qint64 connectedAt = -1;
    };
    std::vector<std::unique_ptr<Member>> members;
    int attempts = 0, refused = 0, unconnected = 0, mostHeld = 0;
    std::vector<double> held;
    bool over = false;
    QElapsedTimer clock;
    clock.start();
    const auto open = [&](Member *member) {
        if (!over && attempts < most) {
            ++attempts;
            member->connectedAt = -1;
            member->socket.connectToHost(QHostAddress::LocalHost, port);
        }
    };
    for (int i = 0; i < crowd; ++i) {
        Member *member = members.emplace_back(std::make_unique<Member>()).get();
        QObject::connect(&member->socket, &QTcpSocket::connected, [&clock, &opening, member] {
            member->connectedAt = clock.elapsed();
            member->socket.write(opening);
        });
        QObject::connect(&member->socket, &QTcpSocket::stateChanged,
                         [&, member](QAbstractSocket::SocketState state) {
                             if (state != QAbstractSocket::UnconnectedState || over) {
                                 return;
                             }
                             const qint64 lived = clock.elapsed() - member->connectedAt;
                             int again = 5000;
                             if (member->connectedAt < 0) {
                                 ++unconnected;
                             } else if (lived < 1000) {
                                 ++refused;
                             } else {
                                 held.push_back(lived / 1000.0);
                                 again = 0;
                             }
                             QTimer::singleShot(again, &member->socket,
                                                [&open, member] { open(member); });
                         });
    }
    for (const auto &member : members) {
        open(member.get());
    }
    const auto holding = [&] {
        return std::count_if(members.begin(), members.end(), [&clock](const auto &member) {
            return member->socket.state() == QAbstractSocket::ConnectedState &&
                   member->connectedAt >= 0 && clock.elapsed() - member->connectedAt >= 1000;
        });
    };
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        mostHeld = std::max<int>(mostHeld, static_cast<int>(holding()));
        if (clock.elapsed() >= seconds * 1000) {
            QCoreApplication::quit();
        }
    });
    look.start(250);
    QCoreApplication::exec();
    over = true;
    const auto openAtEnd = holding();
    Print("connection_attempts", attempts, "connections");
    Print("refused_at_once", refused, "connections");
    Print("never_connected", unconnected, "connections");
    Print("connected_most_at_once", mostHeld, "connections");
    Print("held_closed_after_median", Median(held), "s");
    Print("held_closed_after_longest", Longest(held), "s");
    Print("connected_at_end", static_cast<double>(openAtEnd), "connections");
}

// Requests that declare a 200 MiB body and send it as fast as the host takes
// it, up to 50 MiB each: four at a time, another when the host closes one,
// twelve in all.
void HugeBodies(quint16 port, int seconds) {
    constexpr qint64 kMostSent = qint64{50} << 20;
    constexpr int kAtOnce = 4, kMost = 12;
    const QByteArray chunk(64 * 1024, 'x');
    const QByteArray head = "POST /class.csv HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                            "Content-Type: application/octet-stream\r\nContent-Length: " +
                            QByteArray::number(qint64{200} << 20) + "\r\n\r\n";
    struct Request {
        QTcpSocket socket;
        qint64 queued = 0, sent = 0, connectedAt = -1;
    };
    std::vector<std::unique_ptr<Request>> requests;
    std::vector<double> sentMiB, closedAfter;
    int started = 0, whole = 0;
    bool over = false;
    QElapsedTimer clock;
    clock.start();
    const auto feed = [&](Request *request) {
        while (request->socket.state() == QAbstractSocket::ConnectedState &&
               request->socket.bytesToWrite() < 4 * chunk.size() && request->queued < kMostSent) {
            request->socket.write(chunk);
            request->queued += chunk.size();
        }
    };
    const auto open = [&](Request *request) {
        if (!over && started < kMost) {
            ++started;
            request->queued = 0;
            request->sent = 0;
            request->connectedAt = -1;
            request->socket.connectToHost(QHostAddress::LocalHost, port);
        }
    };
    for (int i = 0; i < kAtOnce; ++i) {
        Request *request = requests.emplace_back(std::make_unique<Request>()).get();
        QObject::connect(&request->socket, &QTcpSocket::connected, [&, request] {
            request->connectedAt = clock.elapsed();
            request->socket.write(head);
            request->sent = -head.size();
            feed(request);
        });
        QObject::connect(&request->socket, &QTcpSocket::bytesWritten, [&, request](qint64 bytes) {
            request->sent += bytes;
            whole += request->sent == kMostSent;
            feed(request);
        });
        QObject::connect(
            &request->socket, &QTcpSocket::stateChanged,
            [&, request](QAbstractSocket::SocketState state) {
                if (state != QAbstractSocket::UnconnectedState || over) {
                    return;
                }
                if (request->connectedAt >= 0) {
                    sentMiB.push_back(std::max<qint64>(request->sent, 0) / 1048576.0);
                    closedAfter.push_back((clock.elapsed() - request->connectedAt) / 1000.0);
                }
                QTimer::singleShot(200, &request->socket, [&open, request] { open(request); });
            });
    }
    for (const auto &request : requests) {
        open(request.get());
    }
    QTimer::singleShot(seconds * 1000, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    over = true;
    Print("requests", started, "requests");
    Print("requests_closed_by_host", static_cast<double>(closedAfter.size()), "requests");
    Print("body_sent_median", Median(sentMiB), "MiB");
    Print("body_sent_most", Longest(sentMiB), "MiB");
    Print("bodies_sent_whole_50MiB", whole, "requests");
    Print("closed_after_median", Median(closedAfter), "s");
    Print("closed_after_longest", Longest(closedAfter), "s");
}

// One connection asks for the largest file a hundred times at once, without
// Accept-Encoding, and never reads; another a second after the host closes
// it, six in all. Never reading, it cannot see the host's end behind the
// answers, so it sends an empty line (which a request may begin with) every
// tenth of a second: once the host has let go, its system answers with a
// reset.
void UnreadAnswers(quint16 port, const QString &file, int seconds) {
    constexpr int kRequests = 100, kMost = 6;
    QByteArray requests;
    for (int i = 0; i < kRequests; ++i) {
        requests += "GET /" + file.toUtf8() + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    }
    QTcpSocket socket;
    socket.setReadBufferSize(4096); // and never read: the answers stay in the host
    int connections = 0;
    qint64 connectedAt = -1;
    std::vector<double> closedAfter;
    bool over = false;
    QElapsedTimer clock;
    clock.start();
    const auto open = [&] {
        if (!over && connections < kMost) {
            ++connections;
            connectedAt = -1;
            socket.connectToHost(QHostAddress::LocalHost, port);
        }
    };
    QObject::connect(&socket, &QTcpSocket::connected, [&] {
        connectedAt = clock.elapsed();
        socket.write(requests);
    });
    QObject::connect(&socket, &QTcpSocket::stateChanged, [&](QAbstractSocket::SocketState state) {
        if (state == QAbstractSocket::UnconnectedState && !over) {
            if (connectedAt >= 0) {
                closedAfter.push_back((clock.elapsed() - connectedAt) / 1000.0);
            }
            QTimer::singleShot(1000, &socket, open);
        }
    });
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&socket] {
        if (socket.state() == QAbstractSocket::ConnectedState) {
            socket.write("\r\n");
        }
    });
    probe.start(100);
    open();
    QTimer::singleShot(seconds * 1000, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    over = true;
    Print("connections", connections, "connections");
    Print("requests_sent", connections * kRequests, "requests");
    Print("closed_by_host", static_cast<double>(closedAfter.size()), "connections");
    Print("closed_after_median", Median(closedAfter), "s");
    Print("closed_after_longest", Longest(closedAfter), "s");
}

} // namespace

bool WaitFor(const std::function<bool()> &done, int ms) {
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() >= ms) {
            loop.quit();
        }
    });
    look.start(20);
    if (!done()) {
        loop.exec();
    }
    return done();
}

int Prankster(const QString &kind, quint16 port, const QString &code, int seconds,
              const QString &largest) {
    const QUrl join(QStringLiteral("ws://127.0.0.1:%1/class?code=%2").arg(port).arg(code));
    constexpr int kMostReports = 2000, kMostConnections = 4000;
    if (kind == "runs_flood") {
        Flood(join, seconds, kMostReports, [](int i) {
            return OneBall("prank-runs-device",
                           QStringLiteral("prank-run-%1").arg(i, 6, 10, QChar(u'0')));
        });
    } else if (kind == "device_flood") {
        Flood(join, seconds, kMostReports, [](int i) {
            return OneBall(QStringLiteral("prank-device-%1").arg(i, 6, 10, QChar(u'0')),
                           "prank-run");
        });
    } else if (kind == "connection_hog") {
        Crowd(port, 650, {}, kMostConnections, seconds);
    } else if (kind == "huge_bodies") {
        HugeBodies(port, seconds);
    } else if (kind == "unread_answers") {
        UnreadAnswers(port, largest, seconds);
    } else if (kind == "slow_requests") {
        // Headers begun and never ended.
        Crowd(port, 1000, "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept: text/html\r\n",
              kMostConnections, seconds);
    } else {
        return 1;
    }
    return 0;
}

} // namespace pokorin::bench
