#pragma once

// The honest side of attack_bench: a student's device that joins and lands a
// run while the prankster attacks, and the pool's table as it reads it.

#include "pool/class_report.h"

#include <QElapsedTimer>
#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSet>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <QWebSocket>
#include <memory>
#include <vector>

namespace pokorin::bench {

// What /class.csv says: the pool's balls, and each run's row with its device.
struct Table {
    bool read = false;
    long balls = 0;
    QSet<QString> devices;
    QList<RunCounts> runs;
};

Table ReadTable(const QByteArray &csv);
// The table at the address, or an unread one after ten seconds.
Table FetchTable(QNetworkAccessManager &network, const QUrl &url);

int Balls(const RunCounts &bins);

// A student's device as the page behaves: joins under a new name, sends its
// run's totals as its balls land (one each 400 ms here), comes back two
// seconds after the host closes it, and once every ball has gone looks for
// its run in the table, until it is there or the deadline.
class HonestDevice final : public QObject {
public:
    HonestDevice(QUrl join, QUrl table, const QString &name, RunCounts bins, int deadlineMs);

    void start();
    int balls() const { return Balls(bins_); }

    bool finished = false;
    qint64 joinMs = -1, landMs = -1; // since the start
    int lost = 0;                    // connections closed or never opened

private:
    void send();
    void tick();
    void finish();

    QUrl join_, table_;
    RunCounts bins_;
    int deadlineMs_;
    ClassReport report_;
    std::vector<int> order_; // the bin of each ball in turn
    std::size_t sent_ = 0;
    QWebSocket socket_;
    QNetworkAccessManager network_;
    std::unique_ptr<QNetworkReply> reply_;
    QElapsedTimer clock_;
    QTimer ticks_;
};

// Pages loading on the honest side while the prankster attacks: the table
// asked for ten times a second, each time over a new connection, as a page
// loading opens them; the slowest answer's first bytes, and how many never
// came.
class TableWatch final : public QObject {
public:
    TableWatch(QString host, quint16 port);

    void start();
    void stop();

    qint64 slowestMs = 0;
    int unanswered = 0;

private:
    void ask();

    QString host_;
    quint16 port_;
    std::unique_ptr<QTcpSocket> socket_;
    QElapsedTimer asked_;
    QTimer ticks_;
};

} // namespace pokorin::bench
