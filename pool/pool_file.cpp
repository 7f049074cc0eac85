#include "pool_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtDebug>

namespace pokorin {
namespace {

constexpr char kCodeLetters[] = "abcdefghijkmnpqrstuvwxyz23456789";

QJsonObject RunToJson(const Contribution &run) {
    return {{"device", run.device},
            {"run", run.run},
            {"bins", CountsToJson(run.bins)},
            {"before", CountsToJson(run.before)},
            {"ms", run.ms},
            {"seenAt", run.seenAt}};
}

// A kept run is read like a device's report, with what the host added.
std::optional<Contribution> RunFromJson(const QJsonObject &object) {
    QJsonObject report = object;
    report.remove("before");
    report.remove("seenAt");
    QString problem;
    const std::optional<ClassReport> read =
        ParseClassReport(QJsonDocument(report).toJson(QJsonDocument::Compact), problem);
    const std::optional<RunCounts> before = CountsFromJson(object.value("before"));
    const double seenAt = object.value("seenAt").toDouble(-1);
    if (!read || !before || seenAt < 0 || seenAt > 1e14) {
        return std::nullopt;
    }
    return Contribution{read->device, read->run, read->bins,
                        *before,      read->ms,  static_cast<qint64>(seenAt)};
}

// The chart's points: [balls, gap] pairs; none in a file from before the chart.
std::optional<QList<GapPoint>> GapsFromJson(const QJsonValue &value) {
    QList<GapPoint> gaps;
    for (const QJsonValue &point : value.toArray()) {
        const QJsonArray pair = point.toArray();
        const double balls = pair.at(0).toDouble(-1), gap = pair.at(1).toDouble(-1);
        if (pair.size() != 2 || balls < 1 || balls > 1e12 || gap < 0 || gap > 1) {
            return std::nullopt;
        }
        gaps.append({static_cast<long>(balls), gap});
    }
    return value.isArray() || value.isUndefined() ? std::optional(gaps) : std::nullopt;
}

std::optional<ClassState> StateFromJson(const QJsonObject &object) {
    static const QRegularExpression code(QStringLiteral("^[a-z2-9]{10}$"));
    const double port = object.value("port").toDouble(-1);
    const std::optional<PoolRecord> pool = PoolRecordFromJson(object);
    if (!code.match(object.value("code").toString()).hasMatch() || port < 1 || port > 65535 ||
        !pool) {
        return std::nullopt;
    }
    return ClassState{object.value("code").toString(), static_cast<quint16>(port), *pool};
}

} // namespace

QByteArray PoolRecordWriter::write(const PoolRecord &record, QJsonObject besides) {
    const QJsonObject members = PoolRecordToJson({{}, record.takenOut, record.gaps});
    for (auto member = members.begin(); member != members.end(); ++member) {
        if (member.key() != "runs") {
            besides.insert(member.key(), member.value());
        }
    }
    // The runs last, in the object the writer made without them.
    QByteArray json = QJsonDocument(besides).toJson(QJsonDocument::Compact);
    json.chop(1);
    json += besides.isEmpty() ? R"("runs":[)" : R"(,"runs":[)";
    // A run keeps its place in the pool's list until runs are taken out.
    written_.resize(record.runs.size());
    qsizetype size = json.size();
    for (qsizetype i = 0; i < record.runs.size(); ++i) {
        auto &[run, text] = written_[i];
        if (text.isEmpty() || !(run == record.runs.at(i))) {
            run = record.runs.at(i);
            text = QJsonDocument(RunToJson(run)).toJson(QJsonDocument::Compact);
        }
        size += text.size() + 1;
    }
    json.reserve(size + 2);
    for (qsizetype i = 0; i < written_.size(); ++i) {
        if (i > 0) {
            json += ',';
        }
        json += written_.at(i).second;
    }
    return json + "]}";
}

QJsonObject PoolRecordToJson(const PoolRecord &record) {
    QJsonArray runs, gaps;
    for (const Contribution &run : record.runs) {
        runs.append(RunToJson(run));
    }
    for (const GapPoint &point : record.gaps) {
        gaps.append(QJsonArray{static_cast<qint64>(point.balls), point.gap});
    }
    return {
        {"runs", runs}, {"takenOut", QJsonArray::fromStringList(record.takenOut)}, {"gaps", gaps}};
}

std::optional<PoolRecord> PoolRecordFromJson(const QJsonObject &object) {
    const std::optional<QList<GapPoint>> gaps = GapsFromJson(object.value("gaps"));
    if (!object.value("runs").isArray() || !gaps ||
        !(object.value("takenOut").isArray() || object.value("takenOut").isUndefined())) {
        return std::nullopt;
    }
    PoolRecord record{{}, {}, *gaps};
    for (const QJsonValue &run : object.value("runs").toArray()) {
        const std::optional<Contribution> read = RunFromJson(run.toObject());
        if (!read) {
            return std::nullopt;
        }
        record.runs.append(*read);
    }
    for (const QJsonValue &device : object.value("takenOut").toArray()) {
        if (!IsReportName(device.toString())) {
            return std::nullopt;
        }
        record.takenOut.append(device.toString());
    }
    return record;
}

QString NewClassCode() {
    QString code;
    for (int i = 0; i < 10; ++i) {
        code += QLatin1Char(kCodeLetters[QRandomGenerator::system()->bounded(32)]);
    }
    return code;
}

PoolFile::PoolFile(QString path)
    : path_(std::move(path)) {}

QString PoolFile::DefaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/class.json";
}

bool PoolFile::save(const ClassState &state) {
    QDir().mkpath(QFileInfo(path_).path());
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(writer_.write(state.pool, {{"code", state.code}, {"port", state.port}}));
    return file.commit();
}

std::optional<ClassState> PoolFile::load() const {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const std::optional<ClassState> state =
        StateFromJson(QJsonDocument::fromJson(file.readAll()).object());
    if (!state) {
        file.close();
        QFile::remove(path_ + ".bad");
        QFile::rename(path_, path_ + ".bad");
        qWarning().noquote() << "pokorin: the kept class could not be read; it is now"
                             << path_ + ".bad";
    }
    return state;
}

} // namespace pokorin
