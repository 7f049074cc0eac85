#pragma once

#include "class_window.h"
#include "host/class_host.h"
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

    ClassSession(PoolFile file, SiteFiles site);
    ~ClassSession() override;

    // Serves the class on `port`, or where it was served before (at first
    // kDefaultPort), or on a free port of the nine after it, and shows the
    // window. The address a device joins at, or nothing when no port was free.
    std::optional<QString> start(std::optional<quint16> port);

    ClassWindow &window() { return window_; }
    const ClassPool &pool() const { return pool_; }

private:
    void showPool();
    void showPoolSoon();
    void startAfresh();
    void save();

    PoolFile file_;
    ClassState kept_;
    ClassPool pool_;
    bool hasPage_;
    std::unique_ptr<ClassHost> host_;
    ClassWindow window_;
    QString joinAddress_;
    QTimer saveSoon_;
    QTimer showSoon_;
};

} // namespace pokorin
