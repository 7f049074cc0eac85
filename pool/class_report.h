#pragma once

// pool/: the whole class as one experiment, without a window or a network:
// what a student's device reports, the pool of every device's balls, the
// file that keeps it and the table a spreadsheet opens.

#include "core/bin_counts.h"

#include <QByteArrayView>
#include <QJsonArray>
#include <QString>
#include <array>
#include <optional>

namespace pokorin {

// The bins' counts of one device's run, in bin order.
using RunCounts = std::array<int, kBinTotal>;

// What a student's device reports: the running totals of one run (from the
// page's loading or its last initialise on), so that the same report twice,
// or an older one after a newer, changes nothing.
struct ClassReport {
    QString device; // the device's own random name
    QString run;    // the run's random name
    RunCounts bins{};
    qint64 ms = 0; // how long the run has gone on, by the device's clock
};

// The largest message a device sends, with room to spare.
constexpr qsizetype kMaxReportBytes = 1024;

// Reads a device's message, a JSON object {"device": NAME, "run": NAME,
// "bins": [11 counts], "ms": MILLISECONDS}, names being 8 to 64 letters,
// digits, "-" or "_". Only counts that one run can reach pass: at most 20 in
// a bin and only one bin at 20 (a full stack ends the run), and no more balls
// than 11 ms each allows, the fastest a run goes (1 ms a level). Nothing,
// with the reason in `problem`, for anything else.
std::optional<ClassReport> ParseClassReport(QByteArrayView message, QString &problem);

// Whether the text may name a device or a run: 8 to 64 letters, digits, "-"
// or "_".
bool IsReportName(const QString &text);

// The report as a device sends it.
QByteArray ReportMessage(const ClassReport &report);

// A run's counts as JSON, and back: eleven whole numbers from 0 to 20.
QJsonArray CountsToJson(const RunCounts &counts);
std::optional<RunCounts> CountsFromJson(const QJsonValue &value);

} // namespace pokorin
