#pragma once

#include <QString>

namespace pokorin {

constexpr int kDefaultIntervalMs = 100;

struct FallSpeed {
    int intervalMs;
    bool resetText; // the field held no positive number and shows "100" again
};

// The number that leads the text, read like a classic BASIC Val: blanks, an
// optional sign, digits with at most one point, an optional exponent; the
// first character that cannot continue the number ends it. Full-width forms
// count as their ASCII forms. No leading number reads as 0.
double LeadingNumber(const QString &text);

// The timer interval that the text asks for: a positive number rounded half
// to even, at least 1 ms and at most the largest 32-bit interval; anything
// else gives the default 100 ms and asks for the field to be reset.
FallSpeed ReadFallSpeed(const QString &text);

} // namespace pokorin
