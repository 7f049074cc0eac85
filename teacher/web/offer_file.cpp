#include "teacher/offer_file.h"

#include <emscripten.h>

namespace pokorin {
namespace {

// JavaScript follows, which clang-format would mangle.
// clang-format off
EM_JS(void, Download, (const char *name, const char *bytes, int size), {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([HEAPU8.slice(bytes, bytes + size)]));
    link.download = UTF8ToString(name);
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
});
// clang-format on

} // namespace

// A page cannot write a file where it likes: the browser downloads it.
void OfferFile(QWidget *, const QString &name, const QByteArray &bytes) {
    Download(name.toUtf8().constData(), bytes.constData(), static_cast<int>(bytes.size()));
}

} // namespace pokorin
