#include "process_figures.h"

#include <windows.h>
// after windows.h, which it needs
#include <psapi.h>

namespace {

PROCESS_MEMORY_COUNTERS Memory() {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

double Seconds(FILETIME time) { // in 100 ns
    return static_cast<double>(static_cast<unsigned long long>(time.dwHighDateTime) << 32 |
                               time.dwLowDateTime) /
           1e7;
}

} // namespace

long ResidentKiB() {
    return static_cast<long>(Memory().WorkingSetSize / 1024);
}

long PeakResidentKiB() {
    return static_cast<long>(Memory().PeakWorkingSetSize / 1024);
}

double ProcessorSeconds() {
    FILETIME created, ended, system, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &system, &user);
    return Seconds(system) + Seconds(user);
}
