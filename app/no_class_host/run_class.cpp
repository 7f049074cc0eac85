#include "app/run_class.h"

#include <cstdio>

namespace pokorin {

// The cross-built Qts have no HTTP server to host a class with.
int RunClass(QApplication &, std::optional<quint16>) {
    std::fputs("pokorin: this build cannot host a class\n", stderr);
    return 2;
}

} // namespace pokorin
