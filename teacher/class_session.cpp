#include "class_session.h"

#include "pool/class_csv.h"

#include <QDateTime>

namespace pokorin {

ClassSession::ClassSession(PoolFile file, SiteFiles site, JoinAddresses addresses,
                           HostLimits limits)
    : file_(std::move(file))
    , kept_(file_.load().value_or(ClassState{NewClassCode(), kDefaultPort, {}}))
    , hasPage_(!site.isEmpty())
    , addresses_(std::move(addresses))
    , window_([this] { return ClassCsv(pool_); }) {
    pool_.restore(kept_.pool);
    host_ = std::make_unique<ClassHost>(pool_, std::move(site), kept_.code, limits);
    // A device resends its totals when it comes back, so a second's delay
    // loses nothing even when the program ends between two saves.
    saveSoon_.setSingleShot(true);
    saveSoon_.setInterval(1000);
    connect(&saveSoon_, &QTimer::timeout, this, &ClassSession::save);
    // Twenty pictures a second are plenty for a projector, however many
    // devices report meanwhile.
    showSoon_.setSingleShot(true);
    showSoon_.setInterval(50);
    connect(&showSoon_, &QTimer::timeout, this, &ClassSession::showPool);
    firstDevice_.setSingleShot(true);
    firstDevice_.setInterval(kFirstDeviceMs);
    connect(&firstDevice_, &QTimer::timeout, this, [this] {
        waitedLong_ = true;
        showPool();
    });
    connect(host_.get(), &ClassHost::poolGrown, this, &ClassSession::poolChanged);
    connect(host_.get(), &ClassHost::connectionsChanged, this, &ClassSession::showPoolSoon);
    connect(&window_, &ClassWindow::startAfresh, this, &ClassSession::startAfresh);
    connect(&window_, &ClassWindow::takeOut, this, &ClassSession::takeOut);
}

// The host goes first, while all it may still tell of is there.
ClassSession::~ClassSession() {
    save();
    host_.reset();
}

std::optional<QStringList> ClassSession::start(std::optional<quint16> port) {
    const quint16 listening = host_->listen(port.value_or(kept_.port));
    if (listening == 0) {
        return std::nullopt;
    }
    kept_.port = listening;
    joinAddresses_.clear();
    for (const QString &address : addresses_.all()) {
        joinAddresses_ << JoinAddress(address, listening, kept_.code);
    }
    save();
    firstDevice_.start();
    showPool();
    window_.showMaximized();
    return joinAddresses_;
}

void ClassSession::showPool() {
    ClassShow shown;
    shown.joinAddresses = hasPage_ ? joinAddresses_ : QStringList();
    shown.nobodyJoined = waitedLong_ && !host_->anyJoined() && pool_.balls() == 0;
    shown.devices = host_->connections();
    shown.counts = pool_.pooled();
    window_.showClass(
        shown, [this] { return pool_.devices(); }, pool_.gaps());
}

void ClassSession::showPoolSoon() {
    if (!showSoon_.isActive()) {
        showSoon_.start();
    }
}

void ClassSession::poolChanged() {
    showPoolSoon();
    if (!saveSoon_.isActive()) {
        saveSoon_.start();
    }
}

void ClassSession::startAfresh() {
    pool_.startAfresh(QDateTime::currentMSecsSinceEpoch());
    save();
    showPool();
}

void ClassSession::takeOut(const QString &device) {
    if (pool_.takeOut(device)) {
        save();
        showPool();
    }
}

void ClassSession::save() {
    kept_.pool = pool_.record();
    file_.save(kept_);
}

} // namespace pokorin
