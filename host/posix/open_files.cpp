#include "host/open_files.h"

#include <climits>
#include <sys/resource.h>

namespace pokorin {

// Linux starts a program with a soft limit of 1,024, far below the hard one.
int RaiseOpenFileLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0) {
        return 1024;
    }
    if (limit.rlim_cur < limit.rlim_max) {
        rlimit raised = limit;
        raised.rlim_cur = limit.rlim_max;
        if (setrlimit(RLIMIT_NOFILE, &raised) == 0) {
            limit = raised;
        }
    }
    return limit.rlim_cur > static_cast<rlim_t>(INT_MAX) ? INT_MAX
                                                         : static_cast<int>(limit.rlim_cur);
}

} // namespace pokorin
