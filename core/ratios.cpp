#include "ratios.h"

#include <cmath>

namespace pokorin {

std::string FormatRatio(long count, long total) {
    // Integer rounding is exact, so halfway cases such as 3 of 80 round up
    // just like 1 of 16, which a binary double could not promise.
    const long thousandths = (2000 * count + total) / (2 * total);
    const std::string fraction = std::to_string(thousandths % 1000);
    return std::to_string(thousandths / 1000) + '.' + std::string(3 - fraction.size(), '0') +
           fraction;
}

std::string FormatThousandths(double value) {
    return FormatRatio(std::lround(value * 1000), 1000);
}

double BinProbability(int k) {
    double ways = 1;
    for (int i = 1; i < k; ++i) {
        ways = ways * (kBinTotal - i) / i;
    }
    return ways / 1024;
}

std::optional<std::array<std::string, kBinTotal>> RatioTexts(const BinCounts &counts) {
    const int16_t total = counts.sum();
    if (total == 0) {
        return std::nullopt;
    }
    std::array<std::string, kBinTotal> texts;
    for (int k = 1; k <= kBinTotal; ++k) {
        texts.at(k - 1) = FormatRatio(counts(k), total);
    }
    return texts;
}

} // namespace pokorin
