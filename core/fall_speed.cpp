#include "fall_speed.h"

#include <QByteArray>
#include <cmath>
#include <limits>
#include <string>

namespace pokorin {
namespace {

constexpr double kMaxIntervalMs = std::numeric_limits<int>::max();

// What a Japanese input method types: the full-width ASCII block and the
// ideographic space stand for their ASCII forms; anything else non-ASCII
// cannot belong to a number.
char AsciiForm(char16_t unit) {
    if (unit >= 0xFF01 && unit <= 0xFF5E) {
        unit = static_cast<char16_t>(unit - 0xFEE0);
    } else if (unit == 0x3000) {
        unit = u' ';
    }
    return unit < 0x80 ? static_cast<char>(unit) : '\x7f';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Collects the leading number as plain ASCII ("-12.5e3"), or "" if none.
class NumberScanner {
public:
    explicit NumberScanner(const QString &text)
        : text_(text) {}

    std::string scan() {
        while (IsBlank(peek())) {
            ++pos_;
        }
        if (peek() == '+' || peek() == '-') {
            take();
        }
        const bool intDigits = takeDigits();
        bool fracDigits = false;
        if (peek() == '.') {
            take();
            fracDigits = takeDigits();
        }
        if (!intDigits && !fracDigits) {
            return {};
        }
        takeExponent();
        return std::move(number_);
    }

private:
    char peek(qsizetype ahead = 0) const {
        const qsizetype at = pos_ + ahead;
        return at < text_.size() ? AsciiForm(text_[at].unicode()) : '\0';
    }

    void take() {
        number_ += peek();
        ++pos_;
    }

    bool takeDigits() {
        const qsizetype start = pos_;
        while (IsDigit(peek())) {
            take();
        }
        return pos_ > start;
    }

    // An exponent counts only when digits follow the E and its sign.
    void takeExponent() {
        if (peek() != 'e' && peek() != 'E') {
            return;
        }
        const qsizetype signWidth = (peek(1) == '+' || peek(1) == '-') ? 1 : 0;
        if (!IsDigit(peek(1 + signWidth))) {
            return;
        }
        for (qsizetype i = 0; i <= signWidth; ++i) {
            take();
        }
        takeDigits();
    }

    const QString &text_;
    qsizetype pos_ = 0;
    std::string number_;
};

// Decimal order of magnitude of an unsigned number text, to tell an overflow
// from an underflow when the value does not fit a double.
long OrderOfMagnitude(const std::string &number) {
    const std::size_t ePos = number.find_first_of("eE");
    const std::string mantissa = number.substr(0, ePos);
    long exponent = 0;
    if (ePos != std::string::npos) {
        const std::string digits = number.substr(ePos + 1);
        const bool negative = digits.front() == '-';
        for (char c : digits) {
            if (IsDigit(c) && exponent < 1'000'000'000L) {
                exponent = exponent * 10 + (c - '0');
            }
        }
        exponent = negative ? -exponent : exponent;
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string::npos) {
        return std::numeric_limits<long>::min();
    }
    const long order =
        first < point ? static_cast<long>(point - first) : -static_cast<long>(first - point - 1);
    return order + exponent;
}

double ToDouble(std::string number) {
    const bool negative = number.front() == '-';
    if (number.front() == '+' || negative) {
        number.erase(0, 1);
    }
    // Qt's reading is the same everywhere and in any locale; it refuses only
    // numbers beyond a double's range, either way.
    bool inRange = false;
    double value = QByteArray::fromStdString(number).toDouble(&inRange);
    if (!inRange) {
        value = OrderOfMagnitude(number) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

double RoundHalfToEven(double value) {
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0)) {
        return floor + 1.0;
    }
    return floor;
}

} // namespace

double LeadingNumber(const QString &text) {
    const std::string number = NumberScanner(text).scan();
    return number.empty() ? 0.0 : ToDouble(number);
}

FallSpeed ReadFallSpeed(const QString &text) {
    const double speed = LeadingNumber(text);
    if (!(speed > 0.0)) {
        return {kDefaultIntervalMs, true};
    }
    const double rounded = RoundHalfToEven(std::min(speed, kMaxIntervalMs));
    // A 0 ms timer would spin the processor; the shortest is 1 ms.
    return {std::max(1, static_cast<int>(rounded)), false};
}

} // namespace pokorin
