#pragma once

#include "bin_counts.h"

#include <array>
#include <string>

namespace pokorin {

inline const std::string kTheoryHeading = "理論上の数学的確率";

// C(10, k - 1) / 1024 for bin k, to three decimals; fixed texts, as shown.
inline const std::array<std::string, kBinTotal> kTheoryTexts{
    "0.001", "0.010", "0.044", "0.117", "0.205", "0.246",
    "0.205", "0.117", "0.044", "0.010", "0.001",
};

inline const std::string kRatioHeading = "実験結果からの割合";

} // namespace pokorin
