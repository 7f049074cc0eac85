#include "class_report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <cmath>
#include <numeric>

namespace pokorin {
namespace {

constexpr qint64 kMsPerBall = 11;
// About four months: no run lasts longer, and the sums stay far from overflow.
constexpr double kMaxRunMs = 1e10;

bool IsName(const QJsonValue &value) {
    return value.isString() && IsReportName(value.toString());
}

// A JSON number that is a whole number from 0 to `most`.
std::optional<qint64> WholeNumber(const QJsonValue &value, double most) {
    const double number = value.toDouble(-1);
    if (!value.isDouble() || number < 0 || number > most || std::floor(number) != number) {
        return std::nullopt;
    }
    return static_cast<qint64>(number);
}

} // namespace

bool IsReportName(const QString &text) {
    static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9_-]{8,64}$"));
    return name.match(text).hasMatch();
}

std::optional<RunCounts> CountsFromJson(const QJsonValue &value) {
    const QJsonArray array = value.toArray();
    if (!value.isArray() || array.size() != kBinTotal) {
        return std::nullopt;
    }
    RunCounts bins{};
    for (int k = 0; k < kBinTotal; ++k) {
        const std::optional<qint64> count = WholeNumber(array.at(k), kStackCapacity);
        if (!count) {
            return std::nullopt;
        }
        bins.at(k) = static_cast<int>(*count);
    }
    return bins;
}

QJsonArray CountsToJson(const RunCounts &counts) {
    QJsonArray array;
    for (int count : counts) {
        array.append(count);
    }
    return array;
}

std::optional<ClassReport> ParseClassReport(QByteArrayView message, QString &problem) {
    if (message.size() > kMaxReportBytes) {
        problem = QStringLiteral("message too long");
        return std::nullopt;
    }
    QJsonParseError error{};
    const QJsonObject object = QJsonDocument::fromJson(message.toByteArray(), &error).object();
    const QStringList keys{"bins", "device", "ms", "run"};
    if (error.error != QJsonParseError::NoError || object.keys() != keys) {
        problem = QStringLiteral("not a report");
        return std::nullopt;
    }
    const std::optional<RunCounts> bins = CountsFromJson(object.value("bins"));
    const std::optional<qint64> ms = WholeNumber(object.value("ms"), kMaxRunMs);
    if (!IsName(object.value("device")) || !IsName(object.value("run")) || !bins || !ms) {
        problem = QStringLiteral("not a report");
        return std::nullopt;
    }
    const int balls = std::accumulate(bins->begin(), bins->end(), 0);
    if (std::count(bins->begin(), bins->end(), kStackCapacity) > 1 ||
        balls > *ms / kMsPerBall + 1) {
        problem = QStringLiteral("counts no run can reach");
        return std::nullopt;
    }
    return ClassReport{object.value("device").toString(), object.value("run").toString(), *bins,
                       *ms};
}

QByteArray ReportMessage(const ClassReport &report) {
    return QJsonDocument(QJsonObject{{"device", report.device},
                                     {"run", report.run},
                                     {"bins", CountsToJson(report.bins)},
                                     {"ms", report.ms}})
        .toJson(QJsonDocument::Compact);
}

} // namespace pokorin
