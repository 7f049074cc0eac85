#pragma once

#include "class_report.h"

#include <QHash>
#include <QList>

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
};

// Every ball every joined device has landed since the teacher's last fresh
// start: the sum over the runs of each run's latest report. A run only grows,
// no faster than a ball each 11 ms of the host's time, and not after a stack
// is full, so that a report repeated or come late changes nothing. The names
// of a device and its runs are its own secret: a device can change no run
// but those it names.
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
    // can or after it ended, or would be one run or one device too many since
    // the last fresh start. A run without a ball is not kept.
    Verdict take(const ClassReport &report, qint64 now, QString &problem);

    PooledCounts pooled() const { return pooled_; }
    long balls() const;
    // The teacher's "from the beginning": every ball so far counts no more.
    // The runs not heard of for a day are let go: no page that knew them is
    // still open.
    void startAfresh(qint64 now);

    const QList<Contribution> &contributions() const { return runs_; }
    // Puts back runs kept in a file; those that break the pool's rules go.
    void restore(const QList<Contribution> &runs);

private:
    void count(const RunCounts &from, const RunCounts &to);
    Verdict add(const ClassReport &report, qint64 now, QString &problem);
    void reindex();

    QList<Contribution> runs_;
    PooledCounts pooled_{};
    QHash<QString, qsizetype> index_;  // "device run" to its place in runs_
    QHash<QString, int> runsOfDevice_; // since the last fresh start
};

} // namespace pokorin
