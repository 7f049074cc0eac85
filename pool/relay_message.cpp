#include "relay_message.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>

namespace pokorin {
namespace {

constexpr qsizetype kKeyBytes = 16;
constexpr qsizetype kMacHex = 64;
constexpr auto kBase64 = QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals;

// Compares all of both, however early they differ.
bool SameBytes(QByteArrayView a, QByteArrayView b) {
    if (a.size() != b.size()) {
        return false;
    }
    char differs = 0;
    for (qsizetype i = 0; i < a.size(); ++i) {
        differs = static_cast<char>(differs | (a[i] ^ b[i]));
    }
    return differs == 0;
}

std::optional<RelayMessage> Presence(QByteArrayView body, const QString &device, QString &problem) {
    QJsonParseError error{};
    const QJsonObject object = QJsonDocument::fromJson(body.toByteArray(), &error).object();
    if (error.error != QJsonParseError::NoError ||
        object.keys() != QStringList{"device", "online"} ||
        object.value("device").toString() != device || !object.value("online").isBool()) {
        problem = QStringLiteral("not a presence");
        return std::nullopt;
    }
    return RelayMessage{RelayMessage::Kind::Presence, {}, device, object.value("online").toBool()};
}

} // namespace

std::optional<RelayKey> RelayKey::FromText(const QString &text) {
    const auto decoded = QByteArray::fromBase64Encoding(
        text.toLatin1(), kBase64 | QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != kKeyBytes || text.size() != 22) {
        return std::nullopt;
    }
    return RelayKey(decoded.decoded);
}

RelayKey RelayKey::Random() {
    QByteArray bytes(kKeyBytes, Qt::Uninitialized);
    QRandomGenerator::system()->generate(bytes.begin(), bytes.end());
    return RelayKey(bytes);
}

QString RelayKey::text() const {
    return QString::fromLatin1(bytes_.toBase64(kBase64));
}

QString RelayKey::classId() const {
    return QString::fromLatin1(
        QCryptographicHash::hash(bytes_, QCryptographicHash::Sha256).left(8).toHex());
}

QString RelayKey::topics() const {
    return QStringLiteral("pokorin/1/") + classId();
}

QByteArray RelayKey::sign(QByteArrayView body) const {
    return QMessageAuthenticationCode::hash(body.toByteArray(), bytes_, QCryptographicHash::Sha256)
               .toHex() +
           ' ' + body.toByteArray();
}

std::optional<QByteArray> RelayKey::verified(QByteArrayView message) const {
    if (message.size() <= kMacHex || message[kMacHex] != ' ') {
        return std::nullopt;
    }
    const QByteArrayView body = message.sliced(kMacHex + 1);
    const QByteArray expected = sign(body).left(kMacHex);
    return SameBytes(expected, message.first(kMacHex)) ? std::optional(body.toByteArray())
                                                       : std::nullopt;
}

std::optional<RelayMessage> ParseRelayMessage(const RelayKey &key, QByteArrayView topic,
                                              QByteArrayView payload, QString &problem) {
    const QString base = key.topics() + u'/';
    const QString name = QString::fromUtf8(topic);
    const QStringList parts =
        name.startsWith(base) ? name.mid(base.size()).split(u'/') : QStringList();
    const bool run = parts.size() == 3 && parts.at(0) == "runs";
    const bool presence = parts.size() == 2 && parts.at(0) == "online";
    if ((!run && !presence) || !IsReportName(parts.at(1)) || (run && !IsReportName(parts.at(2)))) {
        problem = QStringLiteral("not one of the class's topics");
        return std::nullopt;
    }
    if (payload.isEmpty()) {
        return RelayMessage{};
    }
    if (payload.size() > kMacHex + 1 + kMaxReportBytes) {
        problem = QStringLiteral("message too long");
        return std::nullopt;
    }
    const std::optional<QByteArray> body = key.verified(payload);
    if (!body) {
        problem = QStringLiteral("not signed with the class's key");
        return std::nullopt;
    }
    if (presence) {
        return Presence(*body, parts.at(1), problem);
    }
    const std::optional<ClassReport> report = ParseClassReport(*body, problem);
    if (!report) {
        return std::nullopt;
    }
    if (report->device != parts.at(1) || report->run != parts.at(2)) {
        problem = QStringLiteral("a report at another run's topic");
        return std::nullopt;
    }
    return RelayMessage{RelayMessage::Kind::Run, *report, {}, false};
}

QString RelayRunTopic(const RelayKey &key, const QString &device, const QString &run) {
    return key.topics() + QStringLiteral("/runs/") + device + u'/' + run;
}

QString RelayPresenceTopic(const RelayKey &key, const QString &device) {
    return key.topics() + QStringLiteral("/online/") + device;
}

} // namespace pokorin
