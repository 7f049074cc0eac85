#include "class_session.h"

#include "host/join_address.h"
#include "pool/class_csv.h"

#include <QDateTime>

namespace pokorin {

ClassSession::ClassSession(PoolFile file, SiteFiles site)
    : file_(std::move(file))
    , kept_(file_.load().value_or(ClassState{NewClassCode(), kDefaultPort, {}}))
    , hasPage_(!site.isEmpty())
    , window_([this] { return ClassCsv(pool_); }) {
    pool_.restore(kept_.runs);
    host_ = std::make_unique<ClassHost>(pool_, std::move(site), kept_.code);
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
    connect(host_.get(), &ClassHost::poolGrown, this, [this] {
        showPoolSoon();
        if (!saveSoon_.isActive()) {
            saveSoon_.start();
        }
    });
    connect(host_.get(), &ClassHost::connectionsChanged, this, &ClassSession::showPoolSoon);
    connect(&window_, &ClassWindow::startAfresh, this, &ClassSession::startAfresh);
}

// The host goes first, while all it may still tell of is there.
ClassSession::~ClassSession() {
    save();
    host_.reset();
}

std::optional<QString> ClassSession::start(std::optional<quint16> port) {
    const quint16 listening = host_->listen(port.value_or(kept_.port));
    if (listening == 0) {
        return std::nullopt;
    }
    kept_.port = listening;
    joinAddress_ = JoinAddress(LocalNetworkAddress(), listening, kept_.code);
    save();
    showPool();
    window_.showMaximized();
    return joinAddress_;
}

void ClassSession::showPool() {
    window_.view()->show(
        {hasPage_ ? joinAddress_ : QString(), host_->connections(), pool_.pooled()});
}

void ClassSession::showPoolSoon() {
    if (!showSoon_.isActive()) {
        showSoon_.start();
    }
}

void ClassSession::startAfresh() {
    pool_.startAfresh(QDateTime::currentMSecsSinceEpoch());
    save();
    showPool();
}

void ClassSession::save() {
    kept_.runs = pool_.contributions();
    file_.save(kept_);
}

} // namespace pokorin
