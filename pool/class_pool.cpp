#include "class_pool.h"

#include <numeric>

namespace pokorin {
namespace {

// A device's clock may run a little ahead of the host's between two reports.
constexpr qint64 kClockSlackMs = 2000;

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
        if (runsOfDevice_.value(report.device) >= kMaxRunsPerDevice || runs_.size() >= kMaxRuns ||
            (!runsOfDevice_.contains(report.device) && runsOfDevice_.size() >= kMaxDevices)) {
            problem = QStringLiteral("too many devices or runs");
            return Verdict::Refused;
        }
        index_.insert(Key(report.device, report.run), runs_.size());
        runsOfDevice_[report.device] += 1;
        runs_.append({report.device, report.run, {}, {}, report.ms, now});
        count(runs_.last().bins, report.bins);
        runs_.last().bins = report.bins;
        return report.bins == RunCounts{} ? Verdict::Unchanged : Verdict::Grown;
    }
    Contribution &run = runs_[*known];
    if (!NoneBelow(report.bins, run.bins) || report.ms < run.ms) {
        problem = QStringLiteral("the run's totals went down");
        return Verdict::Refused;
    }
    if (report.ms - run.ms > std::max<qint64>(now - run.seenAt, 0) + kClockSlackMs) {
        problem = QStringLiteral("the run went on faster than time");
        return Verdict::Refused;
    }
    const bool grown = report.bins != run.bins;
    count(run.bins, report.bins);
    run.bins = report.bins;
    run.ms = report.ms;
    run.seenAt = now;
    return grown ? Verdict::Grown : Verdict::Unchanged;
}

void ClassPool::count(const RunCounts &from, const RunCounts &to) {
    for (int k = 0; k < kBinTotal; ++k) {
        pooled_.at(k) += to.at(k) - from.at(k);
    }
}

long ClassPool::balls() const {
    const PooledCounts counts = pooled();
    return std::accumulate(counts.begin(), counts.end(), 0L);
}

void ClassPool::startAfresh() {
    for (Contribution &run : runs_) {
        run.before = run.bins;
    }
    pooled_ = {};
}

void ClassPool::restore(const QList<Contribution> &runs) {
    runs_.clear();
    index_.clear();
    runsOfDevice_.clear();
    pooled_ = {};
    for (const Contribution &run : runs) {
        QString problem;
        if (index_.contains(Key(run.device, run.run)) || !NoneBelow(run.bins, run.before) ||
            take({run.device, run.run, run.bins, run.ms}, run.seenAt, problem) ==
                Verdict::Refused) {
            continue;
        }
        runs_.last().before = run.before;
        count(run.before, {}); // what came before the fresh start counts no more
    }
}

} // namespace pokorin
