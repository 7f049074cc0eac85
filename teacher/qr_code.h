#pragma once

#include <QImage>
#include <QString>

namespace pokorin {

// The text as a QR code that a phone or a tablet reads across a classroom:
// one pixel a module, dark on white, within the standard's quiet zone of four
// modules. Drawn larger, each module stays one sharp square.
QImage QrCode(const QString &text);

} // namespace pokorin
