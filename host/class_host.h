#pragma once

#include "pool/class_pool.h"
#include "site_files.h"

#include <QElapsedTimer>
#include <QHash>
#include <QHttpServer>
#include <QObject>
#include <QTimer>
#include <QWebSocketProtocol>
#include <deque>

class QWebSocket;

namespace pokorin {

// The class's host on the teacher's computer, on one port: the page's site
// and the pool's table (/class.csv) over HTTP, and each joined device's
// reports over a WebSocket (/class?code=CODE). A connection without the
// class's code, a message that is not a report one run can reach, too long
// or too soon after the others closes that one connection; a report that its
// run cannot follow is refused. Either way the pool stays as it was. A
// connection silent for a minute, pings unanswered, is let go.
class ClassHost final : public QObject {
    Q_OBJECT

public:
    // Room for a school's largest hall: each device keeps one connection.
    static constexpr int kMaxConnections = 600;
    // A page sends at most ten a second.
    static constexpr int kMaxReportsPerSecond = 20;

    ClassHost(ClassPool &pool, SiteFiles site, QString code, QObject *parent = nullptr);
    ~ClassHost() override;

    // Listens on every address, at the port or at the first free one of the
    // nine after it; the port taken, or 0 when none was free.
    quint16 listen(quint16 port);
    int connections() const { return static_cast<int>(links_.size()); }

signals:
    void poolGrown();
    void connectionsChanged();

private:
    void acceptDevices();
    void take(QWebSocket *device, const QString &message);
    void drop(QWebSocket *device, QWebSocketProtocol::CloseCode code, const QString &reason);
    bool joins(const QUrl &url) const;
    void pingOrLetGo();

    struct Link {
        std::deque<qint64> recent; // when its latest reports came
        qint64 heard = 0;
    };

    ClassPool &pool_;
    SiteFiles site_;
    QString code_;
    QHttpServer server_;
    QHash<QWebSocket *, Link> links_;
    QElapsedTimer clock_;
    QTimer pings_;
};

} // namespace pokorin
