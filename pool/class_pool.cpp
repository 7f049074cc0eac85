#include "class_pool.h"

#include <numeric>

namespace pokorin {
namespace {

constexpr qint64 kMsPerBall = 11;
// A report may come a little late after the one before it.
constexpr qint64 kClockSlackMs = 1000;
constexpr qint64 kForgottenAfterMs = 24 * 3600 * 1000;

QString Key(const QString &device, const QString &run) {
    return device + u' ' + run;
}

bool NoneBelow(const RunCounts &counts, const RunCounts &floor) {
    for (int k = 0; k < kBinTotal; ++k) {
        if (counts.at(k) < floor.at(k)) {
            return false;
        }
    }
    return true;
}

int Balls(const RunCounts &counts) {
    return std::accumulate(counts.begin(), counts.end(), 0);
}

bool Ended(const RunCounts &counts) {
    return std::find(counts.begin(), counts.end(), kStackCapacity) != counts.end();
}

} // namespace

RunCounts Contribution::counted() const {
    RunCounts counted{};
    for (int k = 0; k < kBinTotal; ++k) {
        counted.at(k) = bins.at(k) - before.at(k);
    }
    return counted;
}

ClassPool::Verdict ClassPool::take(const ClassReport &report, qint64 now, QString &problem) {
    const auto known = index_.constFind(Key(report.device, report.run));
    if (known == index_.cend()) {
        return add(report, now, problem);
    }
    Contribution &run = runs_[*known];
    const qint64 since = std::max<qint64>(now - run.seenAt, 0);
    if (!NoneBelow(report.bins, run.bins) || report.ms < run.ms) {
        problem = QStringLiteral("the run's totals went down");
    } else if (Balls(report.bins) - Balls(run.bins) > (since + kClockSlackMs) / kMsPerBall + 1) {
        problem = QStringLiteral("the run grew faster than a run can");
    } else if (Ended(run.bins) && report.bins != run.bins) {
        problem = QStringLiteral("the run grew after its stack was full");
    } else {
        const bool grown = report.bins != run.bins;
        count(run.bins, report.bins);
        run.bins = report.bins;
        run.ms = report.ms;
        run.seenAt = now;
        return grown ? Verdict::Grown : Verdict::Unchanged;
    }
    return Verdict::Refused;
}

ClassPool::Verdict ClassPool::add(const ClassReport &report, qint64 now, QString &problem) {
    if (report.bins == RunCounts{}) {
        return Verdict::Unchanged;
    }
    if (runsOfDevice_.value(report.device) >= kMaxRunsPerDevice || runs_.size() >= kMaxRuns ||
        (!runsOfDevice_.contains(report.device) && runsOfDevice_.size() >= kMaxDevices)) {
        problem = QStringLiteral("too many devices or runs");
        return Verdict::Refused;
    }
    index_.insert(Key(report.device, report.run), runs_.size());
    runsOfDevice_[report.device] += 1;
    runs_.append({report.device, report.run, report.bins, {}, report.ms, now});
    count({}, report.bins);
    return Verdict::Grown;
}

void ClassPool::count(const RunCounts &from, const RunCounts &to) {
    for (int k = 0; k < kBinTotal; ++k) {
        pooled_.at(k) += to.at(k) - from.at(k);
    }
}

long ClassPool::balls() const {
    return std::accumulate(pooled_.begin(), pooled_.end(), 0L);
}

void ClassPool::startAfresh(qint64 now) {
    runs_.removeIf([now](const Contribution &run) { return now - run.seenAt > kForgottenAfterMs; });
    for (Contribution &run : runs_) {
        run.before = run.bins;
    }
    pooled_ = {};
    runsOfDevice_.clear();
    reindex();
}

void ClassPool::reindex() {
    index_.clear();
    for (qsizetype i = 0; i < runs_.size(); ++i) {
        index_.insert(Key(runs_.at(i).device, runs_.at(i).run), i);
    }
}

void ClassPool::restore(const QList<Contribution> &runs) {
    runs_.clear();
    index_.clear();
    runsOfDevice_.clear();
    pooled_ = {};
    for (const Contribution &run : runs) {
        QString problem;
        if (index_.contains(Key(run.device, run.run)) || !NoneBelow(run.bins, run.before) ||
            add({run.device, run.run, run.bins, run.ms}, run.seenAt, problem) != Verdict::Grown) {
            continue;
        }
        runs_.last().before = run.before;
        count(run.before, {}); // what came before the fresh start counts no more
        if (run.counted() == RunCounts{} && --runsOfDevice_[run.device] == 0) {
            runsOfDevice_.remove(run.device); // from before the fresh start: in no limit
        }
    }
}

} // namespace pokorin
