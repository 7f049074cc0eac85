#include "bin_counts.h"

#include "checked_add.h"

namespace pokorin {

int16_t BinCounts::sum() const {
    int16_t total = 0;
    for (int16_t count : counts_) {
        total = CheckedAdd(total, count);
    }
    return total;
}

} // namespace pokorin
