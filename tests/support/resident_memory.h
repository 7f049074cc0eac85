#pragma once

#include <fstream>
#include <unistd.h>

// The process's resident memory now, in bytes (Linux).
inline long ResidentBytes() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}
