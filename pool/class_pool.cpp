#include "class_pool.h"

#include "core/ratios.h"

#include <cmath>
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

bool Full(const RunCounts &counts) {
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

bool Contribution::ended() const {
    return Full(bins);
}

ClassPool::Verdict ClassPool::take(const ClassReport &report, qint64 now, QString &problem) {
    if (takenOut_.contains(report.device)) {
        problem = QStringLiteral("the device was taken out of the class");
        return Verdict::Refused;
    }
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
    } else if (run.ended() && report.bins != run.bins) {
        problem = QStringLiteral("the run grew after its stack was full");
    } else {
        const bool grown = report.bins != run.bins;
        count(run.bins, report.bins);
        run.bins = report.bins;
        run.ms = report.ms;
        run.seenAt = now;
        if (grown) {
            noteGap();
        }
        return grown ? Verdict::Grown : Verdict::Unchanged;
    }
    return Verdict::Refused;
}

ClassPool::Verdict ClassPool::add(const ClassReport &report, qint64 now, QString &problem) {
    if (report.bins == RunCounts{}) {
        return Verdict::Unchanged;
    }
    if (freshRuns_.value(report.device) >= kMaxRunsPerDevice || freshRunTotal_ >= kMaxRuns ||
        (!freshRuns_.contains(report.device) && freshRuns_.size() >= kMaxDevices)) {
        problem = QStringLiteral("too many devices or runs");
        return Verdict::Refused;
    }
    index_.insert(Key(report.device, report.run), runs_.size());
    devices_[report.device] += 1;
    freshRuns_[report.device] += 1;
    freshRunTotal_ += 1;
    runs_.append({report.device, report.run, report.bins, {}, report.ms, now});
    count({}, report.bins);
    noteGap();
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

void ClassPool::noteGap() {
    const long balls = this->balls();
    if (balls <= 0) {
        return;
    }
    double gap = 0;
    for (int k = 1; k <= kBinTotal; ++k) {
        gap = std::max(
            gap, std::abs(static_cast<double>(pooled_.at(k - 1)) / balls - BinProbability(k)));
    }
    // The latest point moves with the pool until it has grown by a tenth.
    if (gaps_.size() >= 2 && balls < gaps_.at(gaps_.size() - 2).balls * 1.1) {
        gaps_.back() = {balls, gap};
    } else {
        gaps_.append({balls, gap});
    }
}

void ClassPool::startAfresh(qint64 now) {
    runs_.removeIf([now](const Contribution &run) { return now - run.seenAt > kForgottenAfterMs; });
    if (runs_.size() > kMaxRuns) {
        QList<qint64> seen;
        for (const Contribution &run : runs_) {
            seen << run.seenAt;
        }
        std::nth_element(seen.begin(), seen.end() - kMaxRuns, seen.end());
        const qint64 oldestKept = *(seen.end() - kMaxRuns);
        runs_.removeIf([oldestKept](const Contribution &run) { return run.seenAt < oldestKept; });
    }
    for (Contribution &run : runs_) {
        run.before = run.bins;
    }
    pooled_ = {};
    gaps_.clear();
    reindex();
}

bool ClassPool::takeOut(const QString &device) {
    if (!devices_.contains(device)) {
        return false;
    }
    for (const Contribution &run : runs_) {
        if (run.device == device) {
            count(run.bins, run.before);
        }
    }
    runs_.removeIf([&device](const Contribution &run) { return run.device == device; });
    takenOut_.insert(device);
    // What the chart showed beyond the pool as it now is no longer happened.
    gaps_.removeIf([this](const GapPoint &point) { return point.balls > balls(); });
    noteGap();
    reindex();
    return true;
}

void ClassPool::reindex() {
    index_.clear();
    devices_.clear();
    freshRuns_.clear();
    freshRunTotal_ = 0;
    for (qsizetype i = 0; i < runs_.size(); ++i) {
        const Contribution &run = runs_.at(i);
        index_.insert(Key(run.device, run.run), i);
        devices_[run.device] += 1;
        if (run.before == RunCounts{}) {
            freshRuns_[run.device] += 1;
            freshRunTotal_ += 1;
        }
    }
}

QList<DeviceRuns> ClassPool::devices() const {
    QList<DeviceRuns> devices;
    QHash<QString, qsizetype> place;
    for (const Contribution &run : runs_) {
        const RunCounts counted = run.counted();
        if (counted == RunCounts{}) {
            continue;
        }
        auto found = place.constFind(run.device);
        if (found == place.cend()) {
            found = place.insert(run.device, devices.size());
            devices.append({run.device, {}, 0});
        }
        DeviceRuns &device = devices[*found];
        device.runs.append({counted, run.ended()});
        device.balls += Balls(counted);
    }
    return devices;
}

PoolRecord ClassPool::record() const {
    return {runs_, QStringList(takenOut_.cbegin(), takenOut_.cend()), gaps_};
}

void ClassPool::restore(const PoolRecord &record) {
    runs_.clear();
    pooled_ = {};
    takenOut_ = QSet<QString>(record.takenOut.cbegin(), record.takenOut.cend());
    QSet<QString> keys;
    for (const Contribution &run : record.runs) {
        const RunCounts counted = run.counted();
        if (takenOut_.contains(run.device) || keys.contains(Key(run.device, run.run)) ||
            !NoneBelow(run.bins, run.before) || run.bins == RunCounts{} ||
            std::count(run.bins.begin(), run.bins.end(), kStackCapacity) > 1) {
            continue;
        }
        keys.insert(Key(run.device, run.run));
        runs_.append(run);
        count({}, counted);
    }
    reindex();
    gaps_ = record.gaps;
}

} // namespace pokorin
