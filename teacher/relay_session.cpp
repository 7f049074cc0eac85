#include "relay_session.h"

#include "pool/class_csv.h"
#include "pool/pool_file.h"

#include <QDateTime>
#include <QJsonDocument>

namespace pokorin {

RelaySession::RelaySession(RelayKey key, QString joinAddress, const QByteArray &kept, Page page)
    : key_(std::move(key))
    , joinAddress_(std::move(joinAddress))
    , page_(std::move(page))
    , window_([this] { return ClassCsv(pool_); }) {
    if (const auto record = PoolRecordFromJson(QJsonDocument::fromJson(kept).object())) {
        pool_.restore(*record);
    }
    // As the teacher's computer saves its file: a device's run comes again
    // with its latest totals, so a second's delay loses nothing.
    keepSoon_.setSingleShot(true);
    keepSoon_.setInterval(1000);
    connect(&keepSoon_, &QTimer::timeout, this, &RelaySession::keep);
    showSoon_.setSingleShot(true);
    showSoon_.setInterval(50);
    connect(&showSoon_, &QTimer::timeout, this, &RelaySession::showPool);
    connect(&window_, &ClassWindow::startAfresh, this, &RelaySession::startAfresh);
    connect(&window_, &ClassWindow::takeOut, this, &RelaySession::takeOut);
    showPool();
}

RelaySession::~RelaySession() {
    keep();
}

void RelaySession::take(QByteArrayView topic, QByteArrayView payload) {
    QString problem;
    const std::optional<RelayMessage> message = ParseRelayMessage(key_, topic, payload, problem);
    if (!message) {
        refused_ += 1;
    } else if (message->kind == RelayMessage::Kind::Presence) {
        online_.insert(message->device, message->online);
    } else if (message->kind == RelayMessage::Kind::Run) {
        const auto verdict =
            pool_.take(message->report, QDateTime::currentMSecsSinceEpoch(), problem);
        refused_ += verdict == ClassPool::Verdict::Refused ? 1 : 0;
        if (verdict == ClassPool::Verdict::Grown) {
            keepSoon();
        }
    }
    showPoolSoon();
}

void RelaySession::setRelayProblem(const QString &problem) {
    relayProblem_ = problem;
    showPool();
}

void RelaySession::showPool() {
    const auto devices = static_cast<int>(std::count(online_.cbegin(), online_.cend(), true));
    ClassShow shown;
    shown.joinAddresses = {joinAddress_};
    shown.devices = devices;
    shown.counts = pool_.pooled();
    shown.refused = refused_;
    shown.problem = relayProblem_;
    window_.showClass(
        shown, [this] { return pool_.devices(); }, pool_.gaps());
}

void RelaySession::showPoolSoon() {
    if (!showSoon_.isActive()) {
        showSoon_.start();
    }
}

void RelaySession::keepSoon() {
    if (!keepSoon_.isActive()) {
        keepSoon_.start();
    }
}

void RelaySession::keep() {
    page_.keep(writer_.write(pool_.record(), {}));
}

// The broker forgets the runs before, so that none of them comes back to
// this page or another; a page still running one sends it again, and the
// pool counts only what it gains.
void RelaySession::startAfresh() {
    for (const Contribution &run : pool_.contributions()) {
        page_.clear(RelayRunTopic(key_, run.device, run.run));
    }
    pool_.startAfresh(QDateTime::currentMSecsSinceEpoch());
    keep();
    showPool();
}

void RelaySession::takeOut(const QString &device) {
    if (pool_.takeOut(device)) {
        keep();
        showPool();
    }
}

} // namespace pokorin
