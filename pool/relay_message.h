#pragma once

#include "class_report.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace pokorin {

// A class that meets through a relay, a publish/subscribe broker that anyone
// may read: the class's key, which travels only in the join address's
// #fragment, names the class's topics by its hash and signs every message,
// so that without the join address the class can be neither found nor
// spoken for. 16 random bytes, written as 22 characters of base64url.
class RelayKey {
public:
    static std::optional<RelayKey> FromText(const QString &text);
    static RelayKey Random();

    QString text() const;
    // The first quarter of the key's SHA-256, in hex: the class's name on the
    // broker.
    QString classId() const;
    // Every topic of the class starts with it.
    QString topics() const;

    // The message as published: the body's HMAC-SHA256 in hex, a space, the
    // body.
    QByteArray sign(QByteArrayView body) const;
    // The body of a message signed with this key, or nothing.
    std::optional<QByteArray> verified(QByteArrayView message) const;

private:
    explicit RelayKey(QByteArray bytes)
        : bytes_(std::move(bytes)) {}

    QByteArray bytes_;
};

// What a device publishes on its class's topics: the latest totals of one
// of its runs (retained at TOPICS/runs/DEVICE/RUN), or whether it is online
// (retained at TOPICS/online/DEVICE, its last will saying it is not).
struct RelayMessage {
    enum class Kind { Run, Presence, Cleared };
    Kind kind = Kind::Cleared;
    ClassReport report; // of a run
    QString device;     // of a presence
    bool online = false;
};

// The one reader of what comes in on a class's topics: a signed report, with
// the names its topic gives, that ParseClassReport passes; a signed presence
// of the device its topic names; or an empty message, which a broker sends
// for a retained one cleared. Nothing, with the reason in `problem`, for
// anything else: a stranger's, a forged or a malformed message.
std::optional<RelayMessage> ParseRelayMessage(const RelayKey &key, QByteArrayView topic,
                                              QByteArrayView payload, QString &problem);

// The topics a device publishes at.
QString RelayRunTopic(const RelayKey &key, const QString &device, const QString &run);
QString RelayPresenceTopic(const RelayKey &key, const QString &device);

} // namespace pokorin
