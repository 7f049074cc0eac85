// Checks the properties of the fall-speed rule on arbitrary UTF-16 text.

#include "core/fall_speed.h"
#include "require.h"

#include <cstdint>
#include <cstring>

using pokorin::FallSpeed;
using pokorin::ReadFallSpeed;

namespace {

bool Same(const FallSpeed &a, const FallSpeed &b) {
    return a.intervalMs == b.intervalMs && a.resetText == b.resetText;
}

// The full-width spelling of the text's printable ASCII and its spaces.
QString FullWidth(QString text) {
    for (QChar &ch : text) {
        if (ch.unicode() > 0x20 && ch.unicode() < 0x7f) {
            ch = QChar(ch.unicode() + 0xFEE0);
        } else if (ch == u' ') {
            ch = QChar(0x3000);
        }
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    QString text(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data, size / 2 * 2);

    const FallSpeed speed = ReadFallSpeed(text);
    Require(speed.intervalMs >= 1);
    Require(speed.resetText == !(pokorin::LeadingNumber(text) > 0.0));
    // "x" can continue no number, so nothing after it counts.
    Require(Same(ReadFallSpeed(text + u'x' + text), speed));
    Require(Same(ReadFallSpeed(FullWidth(text)), speed));
    Require(Same(ReadFallSpeed(QStringLiteral(" \t　") + text), speed));
    return 0;
}
