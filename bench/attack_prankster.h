#pragma once

// The prankster of attack_bench, in a process of its own, and what the
// bench's processes share.

#include <QString>
#include <functional>

namespace pokorin::bench {

// Prints one figure as a line: name value unit.

// Runs the event loop until `done` or `ms` have passed; whether it is done.
bool WaitFor(const std::function<bool()> &done, int ms);

// One attack of the kind (runs_flood, device_flood, connection_hog,
// huge_bodies, unread_answers, slow_requests) on the class host at
// 127.0.0.1:port, whose class has the code and whose largest file is
// `largest`, for so many seconds; then prints what it did and what the host
// did to it, one figure a line.
int Prankster(const QString &kind, quint16 port, const QString &code, int seconds,
              const QString &largest);

} // namespace pokorin::bench
