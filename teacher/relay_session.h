#pragma once

#include "class_window.h"
#include "pool/pool_file.h"
#include "pool/relay_message.h"

#include <QHash>
#include <QTimer>
#include <functional>

namespace pokorin {

// A class that meets through a relay, on the teacher's page: the pool, kept
// by the page and restored when the page is opened again; every message of
// the class's topics, read by ParseRelayMessage and, when it does not pass or
// the pool refuses it, counted for the teacher to see; who is online; and the
// class window, with the join address as text and QR code.
class RelaySession final : public QObject {
public:
    // What the page does for the class.
    struct Page {
        // Clears a retained message on the broker.
        std::function<void(const QString &topic)> clear;
        // Keeps the pool's record (JSON) for the next opening.
        std::function<void(const QByteArray &record)> keep;
    };

    RelaySession(RelayKey key, QString joinAddress, const QByteArray &kept, Page page);
    ~RelaySession() override;

    // A message from the broker, of the class's topics.
    void take(QByteArrayView topic, QByteArrayView payload);
    // Why the page is not connected to the broker, or nothing while it is.
    void setRelayProblem(const QString &problem);

    ClassWindow &window() { return window_; }
    const ClassPool &pool() const { return pool_; }
    int refused() const { return refused_; }

private:
    void showPool();
    void showPoolSoon();
    void keepSoon();
    void keep();
    void startAfresh();
    void takeOut(const QString &device);

    RelayKey key_;
    QString joinAddress_;
    Page page_;
    ClassPool pool_;
    PoolRecordWriter writer_;
    QHash<QString, bool> online_;
    int refused_ = 0;
    QString relayProblem_;
    ClassWindow window_;
    QTimer keepSoon_;
    QTimer showSoon_;
};

} // namespace pokorin
