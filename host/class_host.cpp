#include "class_host.h"

#include "connection_guard.h"
#include "open_files.h"
#include "pool/class_csv.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrlQuery>
#include <QWebSocket>

namespace pokorin {
namespace {

// Qt 6.8 keeps a response's headers in a class of their own.
QHttpServerResponse Response(const SiteAnswer &answer) {
    QByteArray type;
    for (const auto &[name, value] : answer.headers) {
        type = name == "Content-Type" ? value : type;
    }
    QHttpServerResponse response(type, answer.body,
                                 static_cast<QHttpServerResponse::StatusCode>(answer.status));
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QHttpHeaders headers;
    for (const auto &[name, value] : answer.headers) {
        headers.append(name, value);
    }
    response.setHeaders(std::move(headers));
#else
    for (const auto &[name, value] : answer.headers) {
        response.setHeader(name, value);
    }
#endif
    return response;
}

qint64 Now() {
    return QDateTime::currentMSecsSinceEpoch();
}

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
// Qt 6.4 copies the body it is given into each answer; the site's files go
// out shared instead, so that answers a client leaves unread cost no memory.
void Answer(QHttpServerResponder &responder, const SiteAnswer &answer) {
    responder.writeStatusLine(static_cast<QHttpServerResponder::StatusCode>(answer.status));
    for (const auto &[name, value] : answer.headers) {
        responder.writeHeader(name, value);
    }
    responder.writeHeader("Content-Length", QByteArray::number(answer.body.size()));
    responder.writeBody("", 0); // which ends the headers
    responder.socket()->write(answer.body);
}
#endif

// A request larger than any the page makes is never read whole, and one not
// whole within seconds is let go; so is a connection idle for a while, or
// one whose client leaves more of its answers unread than the whole site.
ConnectionGuard::Limits GuardLimits(const HostLimits &limits) {
    // A few files stay open besides the connections: the pool's, the program's.
    const int total = std::min(ClassHost::kMaxConnections, RaiseOpenFileLimit() - 64);
    return {limits.connectionsPerAddress,
            total,
            16 * 1024,
            16 * 1024 * 1024,
            limits.requestMs,
            limits.idleMs};
}

} // namespace

ClassHost::ClassHost(ClassPool &pool, SiteFiles site, QString code, HostLimits limits,
                     QObject *parent)
    : QObject(parent)
    , pool_(pool)
    , site_(std::move(site))
    , code_(std::move(code))
    , limits_(limits) {
    server_.route("/class.csv", QHttpServerRequest::Method::Get, [this] {
        return Response(
            {200,
             ClassCsv(pool_),
             {{"Content-Type", "text/csv; charset=utf-8"}, {"Cache-Control", "no-store"}}});
    });
    routeSite();
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    // Qt 6.4 takes a WebSocket at a route that answers nothing; a plain
    // request there is not found.
    server_.route("/class",
                  [](const QHttpServerRequest &request, QHttpServerResponder &&responder) {
                      if (request.value("Upgrade").compare("websocket", Qt::CaseInsensitive) != 0) {
                          responder.write(QHttpServerResponder::StatusCode::NotFound);
                      }
                  });
#else
    server_.addWebSocketUpgradeVerifier(this, [this](const QHttpServerRequest &request) {
        return joins(request.url()) ? QHttpServerWebSocketUpgradeResponse::accept()
                                    : QHttpServerWebSocketUpgradeResponse::deny();
    });
#endif
    connect(&server_, &QAbstractHttpServer::newWebSocketConnection, this,
            &ClassHost::acceptDevices);
    clock_.start();
    connect(&pings_, &QTimer::timeout, this, &ClassHost::pingOrLetGo);
    pings_.start(limits_.silentMs / 3);
}

// One route for each of the site's own files: any other path is not found.
void ClassHost::routeSite() {
    for (const QString &path : site_.paths()) {
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
        server_.route(QRegularExpression::escape(path), QHttpServerRequest::Method::Get,
                      [this](const QHttpServerRequest &request, QHttpServerResponder &&responder) {
                          const std::optional<SiteAnswer> answer =
                              site_.answer(request.url().path(), request.value("Accept-Encoding"),
                                           request.value("If-None-Match"));
                          if (answer) {
                              Answer(responder, *answer);
                          } else {
                              responder.write(QHttpServerResponder::StatusCode::NotFound);
                          }
                      });
#else
        server_.route(QRegularExpression::escape(path), QHttpServerRequest::Method::Get,
                      [this](const QHttpServerRequest &request) {
                          const std::optional<SiteAnswer> answer =
                              site_.answer(request.url().path(), request.value("Accept-Encoding"),
                                           request.value("If-None-Match"));
                          return answer ? Response(*answer)
                                        : QHttpServerResponse(
                                              QHttpServerResponse::StatusCode::NotFound);
                      });
#endif
    }
}

// The devices' sockets, this host's children, outlive its members: they
// must not call back.
ClassHost::~ClassHost() {
    for (QWebSocket *device : links_.keys()) {
        device->disconnect(this);
    }
}

quint16 ClassHost::listen(quint16 port) {
    const int tries = port == 0 ? 1 : 10;
    for (int i = 0; i < tries && port + i <= 65535; ++i) {
        auto tcp = std::make_unique<ConnectionGuard>(GuardLimits(limits_));
        // Room for every connection the guard may take to wait its turn: a
        // class's pages open theirs all at once, and one the system drops
        // for want of room comes back only a second later.
        tcp->setListenBacklogSize(kMaxConnections);
        if (tcp->listen(QHostAddress::Any, static_cast<quint16>(port + i))) {
            const quint16 taken = tcp->serverPort();
            guard_ = tcp.get();
            server_.bind(tcp.release());
            return taken;
        }
    }
    return 0;
}

bool ClassHost::joins(const QUrl &url) const {
    return url.path() == "/class" && QUrlQuery(url).queryItemValue("code") == code_;
}

void ClassHost::acceptDevices() {
    while (server_.hasPendingWebSocketConnections()) {
        QWebSocket *device = server_.nextPendingWebSocketConnection().release();
        device->setParent(this);
        if (guard_) {
            guard_->becameWebSocket(device->peerAddress(), device->peerPort());
        }
        connect(device, &QWebSocket::disconnected, this, [this, device] {
            links_.remove(device);
            device->deleteLater();
            emit connectionsChanged();
        });
        links_.insert(device, {kReportBurst, clock_.elapsed()});
        emit connectionsChanged();
        if (!joins(device->requestUrl())) {
            drop(device, QWebSocketProtocol::CloseCodePolicyViolated, "not this class");
            continue;
        }
        anyJoined_ = true;
        if (connections() > kMaxConnections) {
            drop(device, QWebSocketProtocol::CloseCodeBadOperation, "the class is full");
            continue;
        }
        device->setMaxAllowedIncomingMessageSize(kMaxReportBytes);
        device->setMaxAllowedIncomingFrameSize(kMaxReportBytes);
        connect(device, &QWebSocket::pong, this,
                [this, device] { links_[device].heard = clock_.elapsed(); });
        connect(device, &QWebSocket::textMessageReceived, this,
                [this, device](const QString &message) { take(device, message); });
        connect(device, &QWebSocket::binaryMessageReceived, this, [this, device] {
            drop(device, QWebSocketProtocol::CloseCodeDatatypeNotSupported, "not a report");
        });
    }
}

void ClassHost::take(QWebSocket *device, const QString &message) {
    const auto link = links_.find(device);
    if (link == links_.end() || device->state() != QAbstractSocket::ConnectedState) {
        return;
    }
    const qint64 now = clock_.elapsed();
    // So many reports a second, and a few seconds' worth at once: a host that
    // stalled a moment takes in one go what its devices sent meanwhile.
    link->reports = std::min<double>(
        kReportBurst, link->reports + (now - link->heard) * kMaxReportsPerSecond / 1000.0);
    link->heard = now;
    link->reports -= 1;
    QString problem = QStringLiteral("too many reports");
    const std::optional<ClassReport> report =
        link->reports >= 0 ? ParseClassReport(message.toUtf8(), problem) : std::nullopt;
    if (!report) {
        drop(device, QWebSocketProtocol::CloseCodePolicyViolated, problem);
    } else if (report->bins != RunCounts{} && !pool_.knows(report->device) &&
               !mayBringNewDevice(device->peerAddress())) {
        // The page comes back in a moment and sends its runs again.
        drop(device, QWebSocketProtocol::CloseCodeBadOperation,
             "too many new devices from one address; try again");
    } else if (pool_.take(*report, Now(), problem) == ClassPool::Verdict::Grown) {
        emit poolGrown();
    }
}

bool ClassHost::mayBringNewDevice(const QHostAddress &address) {
    const qint64 now = clock_.elapsed();
    Budget &budget = budgets_[AddressKey(address)];
    const double earned = budget.at < 0
                              ? limits_.newDevicesAtOnce
                              : static_cast<double>(now - budget.at) / limits_.newDeviceEveryMs;
    budget.newDevices = std::min<double>(limits_.newDevicesAtOnce, budget.newDevices + earned);
    budget.at = now;
    if (budget.newDevices < 1) {
        return false;
    }
    budget.newDevices -= 1;
    return true;
}

void ClassHost::pingOrLetGo() {
    QList<QWebSocket *> silent;
    for (auto link = links_.cbegin(); link != links_.cend(); ++link) {
        if (clock_.elapsed() - link->heard > limits_.silentMs) {
            silent << link.key();
        } else {
            link.key()->ping();
        }
    }
    for (QWebSocket *device : silent) {
        device->abort(); // which takes it out of links_
    }
    // An address whose budget is whole again is as good as new.
    budgets_.removeIf([this](const auto &budget) {
        return clock_.elapsed() - budget.value().at >
               qint64{limits_.newDevicesAtOnce} * limits_.newDeviceEveryMs;
    });
}

void ClassHost::drop(QWebSocket *device, QWebSocketProtocol::CloseCode code,
                     const QString &reason) {
    device->close(code, reason);
}

} // namespace pokorin
