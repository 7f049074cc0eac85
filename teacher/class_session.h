#pragma once

#include "class_window.h"
#include "host/class_host.h"
#include "host/join_address.h"
#include "pool/pool_file.h"

#include <QTimer>
#include <memory>

namespace pokorin {

// A class hosted on the teacher's computer: the pool, kept in its file and
// restored at the next start until the teacher starts it afresh; the host
// that serves the page and takes the devices' reports; the class window that
// shows it all.
class ClassSession final : public QObject {
public:
    // The port a class is served on unless it was on another before.
    static constexpr quint16 kDefaultPort = 8765;
    // How long a class may wait for its first device before the window says
    // what usually keeps them out.
    static constexpr int kFirstDeviceMs = 120'000;

    // `addresses`: this computer's addresses the students may join at, the
    // one to show large first.
    ClassSession(PoolFile file, SiteFiles site, JoinAddresses addresses, HostLimits limits = {});
    ~ClassSession() override;

    // Serves the class on `port`, or where it was served before (at first
    // kDefaultPort), or on a free port of the nine after it, and shows the
    // window. The addresses a device joins at, the one to show large first,
    // or nothing when no port was free.
    std::optional<QStringList> start(std::optional<quint16> port);

    ClassWindow &window() { return window_; }
    const ClassPool &pool() const { return pool_; }

private:
    void showPool();
    void showPoolSoon();
    void poolChanged();
    void startAfresh();
    void takeOut(const QString &device);
    void save();

    PoolFile file_;
    ClassState kept_;
    ClassPool pool_;
    bool hasPage_;
    JoinAddresses addresses_;
    std::unique_ptr<ClassHost> host_;
    ClassWindow window_;
    QStringList joinAddresses_;
    QTimer saveSoon_;
    QTimer showSoon_;
    QTimer firstDevice_;
    bool waitedLong_ = false;
};

} // namespace pokorin
