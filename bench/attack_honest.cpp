#include "attack_honest.h"

#include "attack_prankster.h"

#include <numeric>

namespace pokorin::bench {

Table ReadTable(const QByteArray &csv) {
    Table table;
    const QStringList lines =
        QString::fromUtf8(csv).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    if (lines.size() < kBinTotal + 2) {
        return table;
    }
    table.read = true;
    for (int k = 1; k <= kBinTotal; ++k) {
        table.balls += lines.at(k).section(u',', 1, 1).toLong();
    }
    for (const QString &line : lines.mid(kBinTotal + 2)) {
        const QStringList fields = line.split(u',');
        RunCounts bins{};
        for (int k = 0; k < kBinTotal && fields.size() == kBinTotal + 2; ++k) {
            bins.at(k) = fields.at(k + 2).toInt();
        }
        table.devices.insert(fields.at(0));
        table.runs.append(bins);
    }
    return table;
}

Table FetchTable(QNetworkAccessManager &network, const QUrl &url) {
    QNetworkRequest request(url);
    request.setTransferTimeout(5000);
    const std::unique_ptr<QNetworkReply> reply(network.get(request));
    WaitFor([&reply] { return reply->isFinished(); }, 10'000);
    return ReadTable(reply->isFinished() ? reply->readAll() : QByteArray());
}

int Balls(const RunCounts &bins) {
    return std::accumulate(bins.begin(), bins.end(), 0);
}

HonestDevice::HonestDevice(QUrl join, QUrl table, const QString &name, RunCounts bins,
                           int deadlineMs)
    : join_(std::move(join))
    , table_(std::move(table))
    , bins_(bins)
    , deadlineMs_(deadlineMs)
    , report_{name, name + "-run", {}, 0} {
    for (int k = 0; k < kBinTotal; ++k) {
        order_.insert(order_.end(), bins.at(k), k);
    }
    connect(&socket_, &QWebSocket::connected, this, [this] {
        joinMs = joinMs < 0 ? clock_.elapsed() : joinMs;
        send();
    });
    connect(&socket_, &QWebSocket::disconnected, this, [this] {
        if (!finished) {
            ++lost;
            QTimer::singleShot(2000, this, [this] {
                if (!finished) {
                    socket_.open(join_);
                }
            });
        }
    });
    connect(&ticks_, &QTimer::timeout, this, &HonestDevice::tick);
}

void HonestDevice::start() {
    clock_.start();
    socket_.open(join_);
    ticks_.start(400);
}

void HonestDevice::send() {
    if (socket_.state() == QAbstractSocket::ConnectedState && Balls(report_.bins) > 0) {
        report_.ms = clock_.elapsed();
        socket_.sendTextMessage(QString::fromUtf8(ReportMessage(report_)));
    }
}

void HonestDevice::tick() {
    if (finished || clock_.elapsed() > deadlineMs_) {
        finish();
    } else if (sent_ < order_.size() && socket_.state() == QAbstractSocket::ConnectedState) {
        report_.bins.at(order_.at(sent_++)) += 1;
        send();
    } else if (sent_ == order_.size() && !reply_) {
        reply_.reset(network_.get(QNetworkRequest(table_)));
        connect(reply_.get(), &QNetworkReply::finished, this, [this] {
            if (ReadTable(reply_->readAll()).runs.contains(bins_)) {
                landMs = clock_.elapsed();
                finish();
            }
            reply_.release()->deleteLater();
        });
    }
}

void HonestDevice::finish() {
    finished = true;
    ticks_.stop();
    socket_.close();
}

TableWatch::TableWatch(QString host, quint16 port)
    : host_(std::move(host))
    , port_(port) {
    connect(&ticks_, &QTimer::timeout, this, &TableWatch::ask);
}

void TableWatch::start() {
    ticks_.start(100);
}

void TableWatch::stop() {
    ticks_.stop();
    // One asked for a second or more and still waiting is as good as lost.
    if (socket_ && asked_.elapsed() >= 1000) {
        slowestMs = std::max(slowestMs, asked_.elapsed());
        ++unanswered;
    }
    socket_.reset();
}

void TableWatch::ask() {
    if (socket_) {
        return;
    }
    socket_ = std::make_unique<QTcpSocket>();
    asked_.start();
    connect(socket_.get(), &QTcpSocket::connected, this,
            [this] { socket_->write("GET /class.csv HTTP/1.1\r\nHost: localhost\r\n\r\n"); });
    connect(socket_.get(), &QTcpSocket::errorOccurred, this, [this] {
        slowestMs = std::max(slowestMs, asked_.elapsed());
        ++unanswered;
        socket_->disconnect(this);
        socket_.release()->deleteLater();
    });
    connect(socket_.get(), &QTcpSocket::readyRead, this, [this] {
        slowestMs = std::max(slowestMs, asked_.elapsed());
        socket_->disconnect(this);
        socket_->abort();
        socket_.release()->deleteLater();
    });
    socket_->connectToHost(QHostAddress(host_), port_);
}

} // namespace pokorin::bench
