#include "Values.hpp"

#include "Exceptions.hpp"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

namespace fw {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Saturates well beyond any exponent a double can reach, so that a run of thousands of
// exponent digits neither overflows nor changes which side of the range the value lies on.
constexpr long long kExponentCap = 1'000'000'000'000LL;

}  // namespace

// Reads the longest leading decimal number and converts it with from_chars, which does not
// depend on the process locale (Qt sets it from the environment, and strtod would then read
// "1,5" in some of them). from_chars leaves the value untouched when it lies outside the
// double range, so the side is decided here from the number's decimal order.
double CDbl(const String& text) {
    const std::string_view s = text.view();
    const std::size_t n = s.size();
    std::size_t i = 0;
    while (i < n && isBlank(s[i])) ++i;

    bool negative = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';

    const std::size_t start = i;
    std::size_t integerDigits = 0;
    while (i < n && isDigit(s[i])) ++i, ++integerDigits;
    std::size_t fractionDigits = 0;
    if (i < n && s[i] == '.') {
        std::size_t j = i + 1;
        while (j < n && isDigit(s[j])) ++j, ++fractionDigits;
        if (integerDigits + fractionDigits > 0) i = j;
    }
    if (integerDigits + fractionDigits == 0) return 0.0;

    long long exponent = 0;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        bool exponentNegative = false;
        if (j < n && (s[j] == '+' || s[j] == '-')) exponentNegative = s[j++] == '-';
        if (j < n && isDigit(s[j])) {
            while (j < n && isDigit(s[j])) {
                if (exponent < kExponentCap) exponent = exponent * 10 + (s[j] - '0');
                ++j;
            }
            if (exponentNegative) exponent = -exponent;
            i = j;
        }
    }

    double value = 0.0;
    const auto [end, error] = std::from_chars(s.data() + start, s.data() + i, value, std::chars_format::general);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // The decimal order of the first non-zero digit tells overflow from underflow.
        long long order = 0;
        std::size_t k = start;
        while (k < start + integerDigits && s[k] == '0') ++k;
        if (k < start + integerDigits) {
            order = static_cast<long long>(start + integerDigits - k);
        } else {
            std::size_t f = start + integerDigits + 1;
            long long zeros = 0;
            while (f < i && s[f] == '0') ++f, ++zeros;
            if (f >= i || !isDigit(s[f])) return negative ? -0.0 : 0.0;
            order = -zeros;
        }
        value = order + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

std::int32_t RuntimeCvtReal64ToSInt32(double value) {
    if (std::isnan(value)) return 0;
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (value <= lowest) return std::numeric_limits<std::int32_t>::min();
    if (value >= highest) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

// Fixed notation from 1e-4 up to 1e15 (the range where %g would not switch to an exponent
// and every integer is exact), scientific outside it; either way the shortest digits that
// read back as the same double.
String Str(double value, const String& format) {
    if (!format.empty())
        throw RuntimeException(String("RuntimeException: Str does not support the format \"" + format.bytes() + "\""));
    if (std::isnan(value)) return String("NAN");
    if (std::isinf(value)) return String(value < 0 ? "-INF" : "INF");
    if (value == 0.0) return String("0");

    const double magnitude = std::fabs(value);
    const auto notation =
        magnitude >= 1e-4 && magnitude < 1e15 ? std::chars_format::fixed : std::chars_format::scientific;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, notation);
    return String(std::string(buffer, result.ptr));
}

int RuntimeStringCompare(const String& a, const String& b) {
    const int order = a.view().compare(b.view());
    return (order > 0) - (order < 0);
}

}  // namespace fw
