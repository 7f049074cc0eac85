// Checks the one parser of what a student's device sends, and the pool that
// takes what it passes, on arbitrary bytes: what passes is a report one run
// can reach, reads back as itself, and never makes the pool shrink or a bin
// of one run go beyond its stack. The same bytes, as a topic's line and a
// message through a relay, signed and as they are: only a signed message on
// one of the class's topics passes, naming the run its topic names, and a
// signature changed in one place never passes.

#include "pool/class_pool.h"
#include "pool/relay_message.h"
#include "require.h"

#include <cstdint>
#include <numeric>

using namespace pokorin;

namespace {

void CheckRelay(QByteArrayView input) {
    static const RelayKey key = *RelayKey::FromText(QStringLiteral("AAECAwQFBgcICQoLDA0ODw"));
    const qsizetype end = input.indexOf('\n');
    const QByteArray topic =
        key.topics().toUtf8() + '/' + (end < 0 ? input : input.first(end)).toByteArray();
    const QByteArrayView body = end < 0 ? QByteArrayView() : input.sliced(end + 1);
    QString problem;
    const std::optional<RelayMessage> raw = ParseRelayMessage(key, topic, body, problem);
    Require(!raw || raw->kind == RelayMessage::Kind::Cleared);
    QByteArray signedMessage = key.sign(body);
    const std::optional<RelayMessage> read = ParseRelayMessage(key, topic, signedMessage, problem);
    if (read && read->kind == RelayMessage::Kind::Run) {
        Require(topic == RelayRunTopic(key, read->report.device, read->report.run).toUtf8());
    }
    if (read && read->kind != RelayMessage::Kind::Cleared) {
        signedMessage[static_cast<qsizetype>(body.size()) % 64] ^= 1;
        Require(!ParseRelayMessage(key, topic, signedMessage, problem));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static ClassPool pool; // the reports of runs pile up as on a host, a thousand runs at most
    if (pool.contributions().size() > 1000) {
        pool = ClassPool();
    }
    const QByteArrayView message(data, static_cast<qsizetype>(size));
    CheckRelay(message);
    QString problem;
    const std::optional<ClassReport> report = ParseClassReport(message, problem);
    Require(report.has_value() == problem.isEmpty());
    if (!report) {
        return 0;
    }
    Require(std::all_of(report->bins.begin(), report->bins.end(),
                        [](int count) { return count >= 0 && count <= kStackCapacity; }));
    const std::optional<ClassReport> again = ParseClassReport(ReportMessage(*report), problem);
    Require(again && again->bins == report->bins && again->device == report->device &&
            again->run == report->run && again->ms == report->ms);
    const long before = pool.balls();
    if (pool.take(*report, report->ms, problem) != ClassPool::Verdict::Refused) {
        Require(pool.balls() >= before);
    }
    return 0;
}
