// Exact decimal rounding without printf: "%.5f" rounds ties to even, which is wrong for 0.015625.
#include "util/number_text.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// Decimal digits, most significant first, no leading zeros; empty means zero.
using Digits = std::vector<unsigned char>;

void MultiplySmall(Digits& d, unsigned factor, unsigned add) {
    unsigned carry = add;
    for (auto it = d.rbegin(); it != d.rend(); ++it) {
        unsigned v = *it * factor + carry;
        *it = static_cast<unsigned char>(v % 10);
        carry = v / 10;
    }
    while (carry != 0) {
        d.insert(d.begin(), static_cast<unsigned char>(carry % 10));
        carry /= 10;
    }
}

void HalveFloor(Digits& d) {
    unsigned rest = 0;
    for (auto& digit : d) {
        unsigned v = rest * 10 + digit;
        digit = static_cast<unsigned char>(v / 2);
        rest = v % 2;
    }
    size_t zeros = 0;
    while (zeros < d.size() && d[zeros] == 0) ++zeros;
    d.erase(d.begin(), d.begin() + static_cast<long>(zeros));
}

Digits FromInteger(uint64_t n) {
    Digits d;
    for (; n != 0; n /= 10) d.insert(d.begin(), static_cast<unsigned char>(n % 10));
    return d;
}

// round-half-up(x * 100000) for a finite x >= 0, as decimal digits.
Digits ScaledRounded(double x) {
    int exponent = 0;
    double fraction = std::frexp(x, &exponent);  // x = fraction * 2^exponent, 0.5 <= fraction < 1
    uint64_t mantissa = static_cast<uint64_t>(std::ldexp(fraction, 53));
    exponent -= 53;  // x = mantissa * 2^exponent exactly

    Digits d = FromInteger(mantissa);
    MultiplySmall(d, 100000, 0);
    if (exponent >= 0) {
        for (int i = 0; i < exponent; ++i) MultiplySmall(d, 2, 0);
        return d;
    }
    // round(N / 2^k) = floor((floor(N / 2^(k-1)) + 1) / 2)
    int k = -exponent;
    for (int i = 0; i < k - 1 && !d.empty(); ++i) HalveFloor(d);
    if (d.empty()) d.push_back(0);
    MultiplySmall(d, 1, 1);
    HalveFloor(d);
    return d;
}

}  // namespace

void DoubleToText(double x, std::string& out) {
    if (std::isnan(x)) {
        out = "nan";
        return;
    }
    if (std::isinf(x)) {
        out = "inf";
        return;
    }
    x = std::fabs(x);

    std::string digits;
    for (unsigned char d : ScaledRounded(x)) digits += static_cast<char>('0' + d);

    std::string text;
    if (digits.size() > 5) {
        text = digits.substr(0, digits.size() - 5) + "." + digits.substr(digits.size() - 5);
    } else if (digits.size() == 5) {
        text = "." + digits;  // 0.1 up to below 1: no leading zero
    } else if (x == 0.0) {
        text = ".00000";
    } else {
        text = "0." + std::string(5 - digits.size(), '0') + digits;
    }
    out = text;
}
