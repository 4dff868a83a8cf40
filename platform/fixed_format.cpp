#include "fixed_format.h"

#include "text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace wv {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
std::string Stars(int width) { return std::string(static_cast<std::size_t>(width > 0 ? width : 0), '*'); }
std::string RightJustify(const std::string& s, int width) {
    if (static_cast<int>(s.size()) > width) return Stars(width);
    return std::string(static_cast<std::size_t>(width) - s.size(), ' ') + s;
}
}  // namespace

std::string FixedReader::Field(int width) {
    std::string f;
    for (int k = 0; k < width; ++k) {
        const std::size_t at = m_pos + static_cast<std::size_t>(k);
        if (at < m_line.size()) {
            const char c = m_line[at];
            // Blanks are ignored; a stray CR or LF at the end of a record counts as padding.
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n') f.push_back(c);
        }
    }
    m_pos += static_cast<std::size_t>(width);
    return f;
}

bool ParseFortranInt(std::string_view t, int& out) {
    if (t.empty()) { out = 0; return true; }
    std::size_t i = 0;
    bool neg = false;
    if (t[0] == '+' || t[0] == '-') { neg = t[0] == '-'; i = 1; }
    if (i >= t.size()) return false;
    long long v = 0;
    for (; i < t.size(); ++i) {
        if (!IsDigit(t[i])) return false;
        v = v * 10 + (t[i] - '0');
        if (v > 2147483648LL) return false;
    }
    if (neg) v = -v;
    if (v > 2147483647LL || v < -2147483648LL) return false;
    out = static_cast<int>(v);
    return true;
}

bool ParseFortranReal(std::string_view t, double& out) {
    if (t.empty()) { out = 0.0; return true; }
    std::size_t i = 0;
    std::string mant;
    if (t[0] == '+' || t[0] == '-') { if (t[0] == '-') mant.push_back('-'); i = 1; }
    std::size_t digits = 0;
    while (i < t.size() && IsDigit(t[i])) { mant.push_back(t[i++]); ++digits; }
    if (i < t.size() && t[i] == '.') {
        mant.push_back(t[i++]);
        while (i < t.size() && IsDigit(t[i])) { mant.push_back(t[i++]); ++digits; }
    }
    if (digits == 0) return false;
    std::string num = mant;
    if (i < t.size()) {
        // Exponent: E, D or Q with optional sign, or a bare sign (Fortran's "1.0+5").
        std::size_t j = i;
        if (t[j] == 'e' || t[j] == 'E' || t[j] == 'd' || t[j] == 'D' || t[j] == 'q' || t[j] == 'Q') ++j;
        else if (t[j] != '+' && t[j] != '-') return false;
        std::string exp = "e";
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) exp.push_back(t[j++]);
        std::size_t ed = 0;
        while (j < t.size() && IsDigit(t[j])) { exp.push_back(t[j++]); ++ed; }
        if (ed == 0 || j != t.size()) return false;
        num += exp;
    }
    const char* b = num.data();
    double v = 0.0;
    auto res = std::from_chars(b, b + num.size(), v, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != b + num.size() || !std::isfinite(v)) return false;
    out = v;
    return true;
}

bool FixedReader::ReadInt(int width, int& out) { return ParseFortranInt(Field(width), out); }

bool FixedReader::ReadReal(int width, double& out) { return ParseFortranReal(Field(width), out); }

std::string FormatI(long long value, int width) { return RightJustify(std::to_string(value), width); }

bool AppendF(double value, int width, int decimals, std::string& out) {
    if (!std::isfinite(value) || width <= 0) return false;
    // std::to_chars with a precision gives printf's digits ("%.*f" in the C locale)
    // whatever the locale, without a lock or a string of its own; printf remains for
    // what does not fit the buffer.
    char buf[400];
    std::string wide;
    std::string_view s;
    const auto [end, ec] = decimals >= 0
                               ? std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals)
                               : std::to_chars_result{buf, std::errc::value_too_large};
    if (ec == std::errc()) {
        s = std::string_view(buf, static_cast<std::size_t>(end - buf));
    } else {
        wide = Sprintf("%.*f", decimals, value);
        s = wide;
    }
    // "-0.000" style results keep their sign: the value was negative, as Fortran writes
    // it. The optional leading zero of a number below 1 in magnitude goes when the width
    // is short.
    const bool negative = !s.empty() && s[0] == '-';
    const std::string_view body = negative ? s.substr(1) : s;
    const bool dropZero = s.size() > static_cast<std::size_t>(width) && body.size() > 1 && body[0] == '0' && body[1] == '.';
    const std::size_t n = s.size() - (dropZero ? 1 : 0);
    if (n > static_cast<std::size_t>(width)) return false;
    out.append(static_cast<std::size_t>(width) - n, ' ');
    if (negative) out += '-';
    out += dropZero ? body.substr(1) : body;
    return true;
}

std::string FormatF(double value, int width, int decimals) {
    std::string out;
    if (!AppendF(value, width, decimals, out)) return Stars(width);
    return out;
}

std::string FormatE(double value, int width, int decimals) {
    if (!std::isfinite(value) || decimals < 1) return Stars(width);
    std::string mant;
    int exp10 = 0;
    const bool neg = std::signbit(value) && value != 0.0;
    if (value == 0.0) {
        mant = std::string(static_cast<std::size_t>(decimals), '0');
    } else {
        // d significant digits d.ddd e±x, turned into 0.dddd e±(x+1).
        std::string e = Sprintf("%.*e", decimals - 1, std::fabs(value));
        const auto epos = e.find('e');
        for (std::size_t k = 0; k < epos; ++k)
            if (IsDigit(e[k])) mant.push_back(e[k]);
        exp10 = std::atoi(e.c_str() + epos + 1) + 1;
    }
    std::string expPart;
    const int a = std::abs(exp10);
    if (a <= 99) expPart = Sprintf("E%c%02d", exp10 < 0 ? '-' : '+', a);
    else if (a <= 999) expPart = Sprintf("%c%03d", exp10 < 0 ? '-' : '+', a);
    else return Stars(width);
    std::string s = std::string(neg ? "-" : "") + "0." + mant + expPart;
    if (static_cast<int>(s.size()) > width) s = std::string(neg ? "-" : "") + "." + mant + expPart;
    return RightJustify(s, width);
}

}  // namespace wv
