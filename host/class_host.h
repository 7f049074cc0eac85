#pragma once

#include "pool/class_pool.h"
#include "site_files.h"

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QHttpServer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWebSocketProtocol>

class QWebSocket;

namespace pokorin {
class ConnectionGuard;
}

namespace pokorin {

// What one address may take of the host: so many connections at a time, and
// so many devices the pool does not know yet at once, then one each so long
// (a device's page loads over six connections at most and then keeps one; a
// class behind one router shares its address); and how long the host waits
// for a request to be whole, on a connection idle between requests and on a
// device's connection that answers no ping.
struct HostLimits {
    int connectionsPerAddress = 32;
    int newDevicesAtOnce = 10;
    int newDeviceEveryMs = 6000;
    int requestMs = 5000;
    int idleMs = 15'000;
    int silentMs = 60'000;
};

// The class's host on the teacher's computer, on one port: the page's site
// and the pool's table (/class.csv) over HTTP, and each joined device's
// reports over a WebSocket (/class?code=CODE). A connection without the
// class's code, a message that is not a report one run can reach, too long
// or too soon after the others closes that one connection; a report that its
// run cannot follow is refused. Either way the pool stays as it was. A
// connection silent for a minute, pings unanswered, is let go. What one
// address may take is limited (see ConnectionGuard), and so is how often it
// brings a device the pool does not know yet.
class ClassHost final : public QObject {
    Q_OBJECT

public:
    // Room for a school's largest hall: each device keeps one connection.
    static constexpr int kMaxConnections = 600;
    // A page sends at most ten a second.
    static constexpr int kMaxReportsPerSecond = 20;
    static constexpr int kReportBurst = 60;

    ClassHost(ClassPool &pool, SiteFiles site, QString code, HostLimits limits = {},
              QObject *parent = nullptr);
    ~ClassHost() override;

    // Listens on every address, at the port or at the first free one of the
    // nine after it; the port taken, or 0 when none was free.
    quint16 listen(quint16 port);
    // The devices' connections, and whether any device has joined yet.
    int connections() const { return static_cast<int>(links_.size()); }
    bool anyJoined() const { return anyJoined_; }

signals:
    void poolGrown();
    void connectionsChanged();

private:
    void routeSite();
    void acceptDevices();
    void take(QWebSocket *device, const QString &message);
    bool mayBringNewDevice(const QHostAddress &address);
    void drop(QWebSocket *device, QWebSocketProtocol::CloseCode code, const QString &reason);
    bool joins(const QUrl &url) const;
    void pingOrLetGo();

    struct Link {
        double reports = kReportBurst; // it may send at once
        qint64 heard = 0;
    };
    struct Budget {
        double newDevices = 0;
        qint64 at = -1; // never yet
    };

    ClassPool &pool_;
    SiteFiles site_;
    QString code_;
    HostLimits limits_;
    QHttpServer server_;
    QPointer<ConnectionGuard> guard_; // the server's listening socket, once it listens
    QHash<QWebSocket *, Link> links_;
    QHash<QString, Budget> budgets_; // by address
    QElapsedTimer clock_;
    QTimer pings_;
    bool anyJoined_ = false;
};

} // namespace pokorin
