#pragma once

// What a benchmark's process has used so far, read from the system.

#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

inline long ResidentKiB() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE) / 1024;
}

inline double ProcessorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](timeval t) {
        return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The most the process has held in memory at once so far.
inline long PeakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The sockets the process has open, those it listens on included.
inline int OpenSockets() {
    int sockets = 0;
    for (const auto &entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        sockets +=
            std::filesystem::read_symlink(entry.path(), error).string().starts_with("socket:");
    }
    return sockets;
}
