#include "connection_guard.h"

#include <QPointer>
#include <QTcpSocket>

namespace pokorin {

QString AddressKey(const QHostAddress &address) {
    bool isIpv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isIpv4);
    return isIpv4 ? QHostAddress(ipv4).toString() : address.toString();
}

// Lives as a child of its socket, so it goes when the socket goes, whoever
// deletes it: the HTTP server, the WebSocket server or the host.
class ConnectionGuard::Watch final : public QObject {
public:
    Watch(QTcpSocket *socket, ConnectionGuard *guard, QString address)
        : QObject(socket)
        , socket_(socket)
        , guard_(guard)
        , address_(std::move(address))
        , lastHeard_(guard->clock_.elapsed()) {
        // Before the HTTP server's own: each request is looked at before it
        // is answered.
        connect(socket, &QTcpSocket::readyRead, this, &Watch::requestComing);
        connect(socket, &QTcpSocket::bytesWritten, this, &Watch::answerGoing);
        guard_->watched_.append(this);
        guard_->perAddress_[address_] += 1;
    }

    ~Watch() override {
        if (guard_) {
            guard_->watched_.removeOne(this);
            if (--guard_->perAddress_[address_] == 0) {
                guard_->perAddress_.remove(address_);
            }
        }
    }

    bool watches(const QHostAddress &peer, quint16 port) const {
        return watching_ && socket_->peerPort() == port && socket_->peerAddress().isEqual(peer);
    }

    // The connection speaks HTTP no more; it still counts for its address.
    void leave() {
        disconnect(socket_, nullptr, this, nullptr);
        watching_ = false;
    }

    // Closes the connection if it broke a rule by `now`.
    void check(qint64 now) {
        if (!watching_ || socket_->state() != QAbstractSocket::ConnectedState) {
            return;
        }
        if (waitingSince_ >= 0 && now - waitingSince_ > guard_->limits_.requestMs) {
            socket_->abort();
        } else if (waitingSince_ < 0 && now - lastHeard_ > guard_->limits_.idleMs) {
            socket_->disconnectFromHost();
        }
    }

private:
    void requestComing() {
        lastHeard_ = guard_->clock_.elapsed();
        if (waitingSince_ < 0) {
            waitingSince_ = lastHeard_;
        }
        if (socket_->bytesToWrite() > guard_->limits_.unreadBytes) {
            // Taken from under the HTTP server, which then finds nothing to
            // answer; the connection goes once the server is done with it.
            socket_->readAll();
            QMetaObject::invokeMethod(socket_, &QAbstractSocket::abort, Qt::QueuedConnection);
        }
    }

    // An answer is going out, so the request before it was whole.
    void answerGoing() {
        lastHeard_ = guard_->clock_.elapsed();
        waitingSince_ = -1;
    }

    QTcpSocket *socket_;
    QPointer<ConnectionGuard> guard_;
    QString address_;
    bool watching_ = true;
    qint64 lastHeard_;
    qint64 waitingSince_ = -1;
};

ConnectionGuard::ConnectionGuard(Limits limits, QObject *parent)
    : QTcpServer(parent)
    , limits_(limits) {
    clock_.start();
    connect(&sweeps_, &QTimer::timeout, this, &ConnectionGuard::sweep);
    sweeps_.start(std::min(limits_.requestMs, limits_.idleMs) / 4);
}

void ConnectionGuard::becameWebSocket(const QHostAddress &peer, quint16 port) {
    for (Watch *watch : std::as_const(watched_)) {
        if (watch->watches(peer, port)) {
            watch->leave();
        }
    }
}

int ConnectionGuard::connectionsFrom(const QHostAddress &address) const {
    return perAddress_.value(AddressKey(address));
}

void ConnectionGuard::incomingConnection(qintptr handle) {
    auto *socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(handle)) {
        delete socket;
        return;
    }
    const QString address = AddressKey(socket->peerAddress());
    if (connections() >= limits_.total || perAddress_.value(address) >= limits_.perAddress) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    socket->setReadBufferSize(limits_.requestBytes);
    new Watch(socket, this, address);
    addPendingConnection(socket);
}

void ConnectionGuard::sweep() {
    const qint64 now = clock_.elapsed();
    for (Watch *watch : QList<Watch *>(watched_)) {
        watch->check(now);
    }
}

} // namespace pokorin
