#include "pool_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

QByteArray CountsText(const RunCounts &counts) {
    QByteArray text = "[";
    for (int count : counts) {
        text += QByteArray::number(count) + ',';
    }
    text.back() = ']';
    return text;
}

// Written as text, a line a run: a class of thousands of runs is saved every
// second while it grows. The names need no escaping, being letters, digits,
// "-" and "_".
QByteArray RunText(const Contribution &run) {
    return R"({"device":")" + run.device.toLatin1() + R"(","run":")" + run.run.toLatin1() +
           R"(","bins":)" + CountsText(run.bins) + R"(,"before":)" + CountsText(run.before) +
           R"(,"ms":)" + QByteArray::number(run.ms) + R"(,"seenAt":)" +
           QByteArray::number(run.seenAt) + '}';
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

std::optional<ClassState> StateFromJson(const QJsonObject &object) {
    static const QRegularExpression code(QStringLiteral("^[a-z2-9]{10}$"));
    const double port = object.value("port").toDouble(-1);
    if (!code.match(object.value("code").toString()).hasMatch() || port < 1 || port > 65535 ||
        !object.value("runs").isArray()) {
        return std::nullopt;
    }
    ClassState state{object.value("code").toString(), static_cast<quint16>(port), {}};
    for (const QJsonValue &run : object.value("runs").toArray()) {
        const std::optional<Contribution> read = RunFromJson(run.toObject());
        if (!read) {
            return std::nullopt;
        }
        state.runs.append(*read);
    }
    return state;
}

} // namespace

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

bool PoolFile::save(const ClassState &state) const {
    QDir().mkpath(QFileInfo(path_).path());
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(R"({"code":")" + state.code.toLatin1() + R"(","port":)" +
               QByteArray::number(state.port) + R"(,"runs":[)");
    for (qsizetype i = 0; i < state.runs.size(); ++i) {
        file.write((i == 0 ? "\n" : ",\n") + RunText(state.runs.at(i)));
    }
    file.write("\n]}\n");
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
