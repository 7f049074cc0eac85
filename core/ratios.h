#pragma once

#include "bin_counts.h"

#include <array>
#include <optional>
#include <string>

namespace pokorin {

// count / total as "0.000"; a ratio exactly halfway between two thousandths
// rounds up (1 of 16 gives "0.063").
/* 0 <= count <= total, total > 0 */
std::string FormatRatio(long count, long total);

// A value that is no count's ratio, such as a mean, in the same form.
/* value >= 0 */
std::string FormatThousandths(double value);

// The theory's chance of bin k, C(10, k - 1) / 1024.
/* 1 <= k <= kBinTotal */
double BinProbability(int k);

// The experimental ratio of each bin against the sum of all bins; nothing
// while no ball has landed, as 0 of 0 is no ratio.
std::optional<std::array<std::string, kBinTotal>> RatioTexts(const BinCounts &counts);

} // namespace pokorin
