#include "core/numeric.h"

#include "platform/text.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace wv {

void StripNewlines(char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0) return;
    for (std::size_t i = 0; i < size; ++i) {
        if (buffer[i] == '\n') buffer[i] = '\0';
    }
    buffer[size - 1] = '\0';
}

int ParseNumberLine(const char* line, double* values, int* ints, int capacity) {
    if (line == nullptr) return -1;
    const std::size_t length = std::strlen(line);
    if (length == 0) return -1;

    int count = 0;
    double value = 0.0;
    double sign = 1.0;
    bool inDecimals = false;
    double factor = 0.1;
    bool haveDigit = false;

    // The end of the line is one more separator; `i == length` stands for it, so the
    // caller's terminating zero is never touched.
    for (std::size_t i = 0; i <= length; ++i) {
        const char c = (i < length) ? line[i] : ' ';
        if (c == '\r' || c == '\n') continue;
        if (c == ' ' || c == ',') {
            // Runs of separators and empty fields give nothing; the sign and decimal
            // state of a field without digits carry over to the next one.
            if (!haveDigit) continue;
            if (count < capacity) {
                values[count] = value * sign;
                ints[count] = DoubleToInt(values[count]);
                ++count;
                if (count < capacity) values[count] = 0.0;
            }
            value = 0.0;
            sign = 1.0;
            inDecimals = false;
            factor = 0.1;
            haveDigit = false;
        } else if (c == '-') {
            sign = -1.0;
        } else if (c == '.') {
            inDecimals = true;
            factor = 0.1;
        } else if (c >= '0' && c <= '9') {
            const double digit = c - '0';
            if (inDecimals) {
                value = value + digit * factor;
                factor *= 0.1;
            } else {
                value = value * 10.0 + digit;
            }
            haveDigit = true;
        }
    }
    return count;
}

double RoundDecimal(double x, double n) {
    if (x == 0.0) return 0.0;
    const double a = std::fabs(x);
    const double p = std::pow(10.0, n);
    const double m = a * p;
    // Infinity and NaN have no digits to round, and the guard's exponent would overflow.
    if (!std::isfinite(m)) return x;
    // A guard fifteen digits below the leading digit lifts a half that binary storage
    // put just below itself (2.675 is 2.67499999...) without touching genuine values.
    const int e = DoubleToInt(std::log10(m));
    const double r = std::floor(m + 0.5 + std::pow(10.0, e - 15));
    const double rounded = r / p;
    return (x < 0.0) ? -rounded : rounded;
}

void CombSortPairs(int* a, int* b, int* count) {
    if (a == nullptr || b == nullptr || count == nullptr || *count < 1) return;
    const int n = *count;

    int gap = n;
    bool swapped = true;
    while (gap > 1 || swapped) {
        gap = static_cast<int>(gap / 1.3);
        if (gap < 1) gap = 1;
        if (gap == 9 || gap == 10) gap = 11;
        swapped = false;
        for (int i = 0; i + gap < n; ++i) {
            const int j = i + gap;
            if (a[i] > a[j] || (a[i] == a[j] && b[i] > b[j])) {
                std::swap(a[i], a[j]);
                std::swap(b[i], b[j]);
                swapped = true;
            }
        }
    }

    int kept = 1;
    for (int i = 1; i < n; ++i) {
        if (a[i] == a[kept - 1] && b[i] == b[kept - 1]) continue;
        a[kept] = a[i];
        b[kept] = b[i];
        ++kept;
    }
    *count = kept;
}

int FindPair(int keyA, int keyB, const int* a, const int* b, int count) {
    if (a == nullptr || b == nullptr || count < 1) return -1;
    int lo = 0;
    int hi = count - 1;
    for (;;) {
        const int mid = static_cast<int>((static_cast<double>(lo) + hi) * 0.5);
        if (a[mid] == keyA && b[mid] == keyB) return mid;
        if (lo >= hi) return mid;
        const bool probeGreater = a[mid] > keyA || (a[mid] == keyA && b[mid] > keyB);
        if (probeGreater) {
            hi = (hi == mid) ? mid - 1 : mid;
        } else {
            lo = (lo == mid) ? mid + 1 : mid;
        }
    }
}

}  // namespace wv
