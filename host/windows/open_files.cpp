#include "host/open_files.h"

#include <climits>

namespace pokorin {

// Windows counts sockets against no limit of open files.
int RaiseOpenFileLimit() {
    return INT_MAX;
}

} // namespace pokorin
