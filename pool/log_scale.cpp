#include "log_scale.h"

#include <cmath>

namespace pokorin {
namespace {

// A decade's own value may come out of log10 a hair off its whole power.
constexpr double kHair = 1e-9;

} // namespace

LogScale::LogScale(double smallest, double largest)
    : first_(static_cast<int>(std::floor(std::log10(smallest) + kHair)))
    , last_(std::max(first_ + 1, static_cast<int>(std::ceil(std::log10(largest) - kHair)))) {}

double LogScale::start() const {
    return std::pow(10.0, first_);
}

double LogScale::end() const {
    return std::pow(10.0, last_);
}

double LogScale::place(double value) const {
    if (value <= 0) {
        return 0;
    }
    return (std::log10(value) - first_) / (last_ - first_);
}

double LogScale::valueAt(double place) const {
    return std::pow(10.0, first_ + place * (last_ - first_));
}

QList<double> LogScale::decades() const {
    QList<double> decades;
    for (int power = first_; power <= last_; ++power) {
        decades << std::pow(10.0, power);
    }
    return decades;
}

} // namespace pokorin
