#pragma once

#include <QList>

namespace pokorin {

// A logarithmic scale over whole decades: from the power of ten at or below
// the smallest value to the one at or above the largest, at least a decade.
class LogScale {
public:
    /* 0 < smallest <= largest */
    LogScale(double smallest, double largest);

    double start() const;
    double end() const;
    // Where the value lies: 0 at the start, 1 at the end; a value at or
    // below 0 lies at the start.
    double place(double value) const;
    // The value at a place, place's inverse.
    double valueAt(double place) const;
    // The powers of ten from the start to the end.
    QList<double> decades() const;

private:
    int first_; // the powers of ten at the ends
    int last_;
};

} // namespace pokorin
