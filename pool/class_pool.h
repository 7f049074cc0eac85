#pragma once

#include "class_report.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

namespace pokorin {

// The bins' counts of the whole class, in bin order.
using PooledCounts = std::array<long, kBinTotal>;

// One run of one device as the pool holds it: its latest totals, and what
// they were when the teacher last started the pool afresh.
struct Contribution {
    QString device;
    QString run;
    RunCounts bins{};
    RunCounts before{}; // the totals at the last fresh start, counted no more
    qint64 ms = 0;      // the run's length at its latest report
    qint64 seenAt = 0;  // the host's time of day, in ms since the epoch, then

    // The balls of this run counted in the pool, bin by bin.
    RunCounts counted() const;
    // Whether a stack is full: the run can grow no more.
    bool ended() const;

    bool operator==(const Contribution &) const = default;
};

// A device as the class window shows it: its runs with balls in the pool,
// oldest first, each as the balls it counts in the pool.
struct DeviceRuns {
    struct Run {
        RunCounts counted{};
        bool ended = false;
    };
    QString device;
    QList<Run> runs;
    long balls = 0;
};

// How far the pooled ratios were from the theory when the class had so many
// balls: the largest |ratio - C(10, k - 1) / 1024| over the bins.
struct GapPoint {
    long balls = 0;
    double gap = 0;
    bool operator==(const GapPoint &) const = default;
};

// What a file keeps of a pool between two starts of the program.
struct PoolRecord {
    QList<Contribution> runs;
    QStringList takenOut; // devices the teacher took out, kept out
    QList<GapPoint> gaps;
};

// Every ball every joined device has landed since the teacher's last fresh
// start: the sum over the runs of each run's latest report. A run only grows,
// no faster than a ball each 11 ms of the host's time, and not after a stack
// is full, so that a report repeated or come late changes nothing. The names
// of a device and its runs are its own secret: a device can change no run
// but those it names. The limits count only what came since the last fresh
// start, so that a fresh start always gives a pool that takes reports again.
class ClassPool {
public:
    // Enough for a school's largest hall, each device reloaded and initialised
    // often in a lesson, and little enough to keep and save quickly.
    static constexpr int kMaxDevices = 1000;
    static constexpr int kMaxRunsPerDevice = 200;
    static constexpr int kMaxRuns = 60000;

    enum class Verdict { Grown, Unchanged, Refused };

    // Takes a report that came at `now` (ms since the epoch); refused, with
    // the reason in `problem`, when its run went down, grew faster than a run
    // can or after it ended, comes from a device the teacher took out, or
    // would be one run or one device too many since the last fresh start. A
    // run without a ball is not kept.
    Verdict take(const ClassReport &report, qint64 now, QString &problem);

    PooledCounts pooled() const { return pooled_; }
    long balls() const;
    // Whether the device has reported a run the pool keeps.
    bool knows(const QString &device) const { return devices_.contains(device); }

    // The teacher's "from the beginning": every ball so far counts no more.
    // The runs not heard of for a day are let go, no page that knew them
    // being still open; of the others, the most recently heard of are kept
    // up to the limit of runs.
    void startAfresh(qint64 now);
    // Takes a device's balls out of the pool, and every report it sends from
    // now on; false for a device the pool does not know.
    bool takeOut(const QString &device);

    const QList<Contribution> &contributions() const { return runs_; }
    // The devices with balls in the pool, in the order they joined.
    QList<DeviceRuns> devices() const;
    // The gap to the theory as the pool grew since the last fresh start: a
    // point each time the balls have grown by a tenth, and the latest.
    const QList<GapPoint> &gaps() const { return gaps_; }

    PoolRecord record() const;
    // Puts back a pool kept in a file; runs that break the pool's rules go.
    void restore(const PoolRecord &record);

private:
    void count(const RunCounts &from, const RunCounts &to);
    Verdict add(const ClassReport &report, qint64 now, QString &problem);
    void reindex();
    void noteGap();

    QList<Contribution> runs_;
    PooledCounts pooled_{};
    QHash<QString, qsizetype> index_; // "device run" to its place in runs_
    QHash<QString, int> devices_;     // each device's runs kept
    QHash<QString, int> freshRuns_;   // each device's runs new since the last fresh start
    int freshRunTotal_ = 0;
    QSet<QString> takenOut_;
    QList<GapPoint> gaps_;
};

} // namespace pokorin
