#include "qr_code.h"

#include <qrcodegen.hpp>

namespace pokorin {

QImage QrCode(const QString &text) {
    constexpr int kQuietZone = 4;
    const qrcodegen::QrCode code =
        qrcodegen::QrCode::encodeText(text.toUtf8().constData(), qrcodegen::QrCode::Ecc::MEDIUM);
    const int side = code.getSize() + 2 * kQuietZone;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < code.getSize(); ++y) {
        for (int x = 0; x < code.getSize(); ++x) {
            if (code.getModule(x, y)) {
                image.setPixel(x + kQuietZone, y + kQuietZone, qRgb(0, 0, 0));
            }
        }
    }
    return image;
}

} // namespace pokorin
