#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QTcpServer>
#include <QTimer>

namespace pokorin {

// The class host's listening socket, which keeps one device, or one address,
// from spoiling the class for the others. Before a connection reaches the
// HTTP server: at most so many from one address and so many in all (the
// rest are closed at once). While it speaks HTTP: a request is read into at
// most so many bytes, so one larger than any the page makes is never held;
// a request not complete within a few seconds, a connection idle for longer
// and one whose client leaves too much of its answers unread are closed.
// A connection that has become a WebSocket is left to the host, which limits
// its messages itself, and says so.
class ConnectionGuard final : public QTcpServer {
public:
    struct Limits {
        int perAddress;
        int total;
        qint64 requestBytes;
        qint64 unreadBytes;
        int requestMs;
        int idleMs;
    };

    explicit ConnectionGuard(Limits limits, QObject *parent = nullptr);

    int connections() const { return static_cast<int>(watched_.size()); }
    // The connection from that peer is a WebSocket now, which the host
    // watches itself.
    void becameWebSocket(const QHostAddress &peer, quint16 port);
    int connectionsFrom(const QHostAddress &address) const;

protected:
    void incomingConnection(qintptr handle) override;

private:
    class Watch;

    void sweep();

    Limits limits_;
    QElapsedTimer clock_;
    QTimer sweeps_;
    QHash<QString, int> perAddress_;
    QList<Watch *> watched_;
};

// One address as the guard counts it: an IPv4 client of a dual-stack socket
// is the IPv4 address it came from.
QString AddressKey(const QHostAddress &address);

} // namespace pokorin
