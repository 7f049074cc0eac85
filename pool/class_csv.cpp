#include "class_csv.h"

#include "chance_band.h"
#include "core/ratios.h"
#include "core/shown_texts.h"

#include <QStringList>

namespace pokorin {
namespace {

QByteArray SpreadsheetText(const QStringList &lines) {
    return "\xEF\xBB\xBF" + (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

} // namespace

QByteArray ClassCsv(const ClassPool &pool) {
    const PooledCounts counts = pool.pooled();
    const long balls = pool.balls();
    QStringList lines{kCsvBinHeadings};
    for (int k = 1; k <= kBinTotal; ++k) {
        const long count = counts.at(k - 1);
        const QString ratio = balls > 0 ? QString::fromStdString(FormatRatio(count, balls)) : "";
        lines << QStringLiteral("%1,%2,%3,%4").arg(k).arg(count).arg(kTheoryTexts.at(k - 1), ratio);
    }
    QStringList headings{kCsvRunHeadings};
    for (int k = 1; k <= kBinTotal; ++k) {
        headings << QString(kCsvBin).arg(k);
    }
    lines << headings.join(u',');
    // Devices and their runs by number, as the class window shows them: their
    // names are what lets a device report, and stay between it and the host.
    const QList<DeviceRuns> devices = pool.devices();
    for (qsizetype device = 0; device < devices.size(); ++device) {
        for (qsizetype run = 0; run < devices.at(device).runs.size(); ++run) {
            QStringList row{QString::number(device + 1), QString::number(run + 1)};
            for (int count : devices.at(device).runs.at(run).counted) {
                row << QString::number(count);
            }
            lines << row.join(u',');
        }
    }
    return SpreadsheetText(lines);
}

QByteArray GapCsv(const QList<GapPoint> &gaps) {
    QStringList lines{kCsvGapHeadings};
    for (const GapPoint &point : gaps) {
        const ChanceBand band = ChanceBandFor(static_cast<double>(point.balls));
        // Six decimals: a large pool's gap is a few thousandths.
        lines << QStringLiteral("%1,%2,%3,%4")
                     .arg(point.balls)
                     .arg(point.gap, 0, 'f', 6)
                     .arg(band.low, 0, 'f', 6)
                     .arg(band.high, 0, 'f', 6);
    }
    return SpreadsheetText(lines);
}

} // namespace pokorin
