#include "text.h"

#include "files.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <iconv.h>
#include <locale.h>
#include <mutex>

namespace wv {

namespace {

std::string Convert(std::string_view in, const char* from, const char* to, const char* bad) {
    iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
    std::string out;
    out.reserve(in.size() * 3 / 2 + 4);
    const char* src = in.data();
    std::size_t srcLeft = in.size();
    char buf[1024];
    while (srcLeft > 0) {
        char* dst = buf;
        std::size_t dstLeft = sizeof buf;
        const std::size_t r = ::iconv(cd, const_cast<char**>(&src), &srcLeft, &dst, &dstLeft);
        out.append(buf, static_cast<std::size_t>(dst - buf));
        if (r == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) continue;
            // Invalid or incomplete input: put a replacement and skip one input
            // character (a whole UTF-8 sequence when converting from UTF-8).
            out.append(bad);
            std::size_t skip = 1;
            if (std::string_view(from) == "UTF-8") {
                const unsigned char c = static_cast<unsigned char>(*src);
                skip = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
                if (skip > srcLeft) skip = srcLeft;
            }
            src += skip;
            srcLeft -= skip;
            ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    ::iconv_close(cd);
    return out;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

locale_t CLocale() {
    static locale_t loc = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return loc;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
    bool ascii = true;
    for (char c : cp932) if (static_cast<unsigned char>(c) >= 0x80) { ascii = false; break; }
    if (ascii) return std::string(cp932);
    return Convert(cp932, "CP932", "UTF-8", "\xEF\xBF\xBD");
}

std::string Utf8ToCp932(std::string_view utf8) {
    bool ascii = true;
    for (char c : utf8) if (static_cast<unsigned char>(c) >= 0x80) { ascii = false; break; }
    if (ascii) return std::string(utf8);
    return Convert(utf8, "UTF-8", "CP932", "?");
}

namespace {

// The power of ten of the leading nonzero digit of a number written as digits, an
// optional point and digits, and an optional exponent: 0 for 1.5, -3 for 0.00123e0, 309
// for 1000e306. Saturates far beyond the double range; an all-zero number gives 0.
long long DecimalExponent(std::string_view num) {
    constexpr long long kFar = 1000000000LL;
    long long intDigits = 0;
    long long firstNonZero = -1;  // among all the digits, ignoring the point
    long long digits = 0;
    bool afterPoint = false;
    std::size_t i = 0;
    for (; i < num.size(); ++i) {
        const char c = num[i];
        if (c == '.') {
            afterPoint = true;
            continue;
        }
        if (!IsDigit(c)) break;
        if (c != '0' && firstNonZero < 0) firstNonZero = digits;
        ++digits;
        if (!afterPoint) ++intDigits;
    }
    if (firstNonZero < 0) return 0;
    long long exponent = 0;
    if (i < num.size() && (num[i] == 'e' || num[i] == 'E')) {
        ++i;
        bool neg = false;
        if (i < num.size() && (num[i] == '+' || num[i] == '-')) neg = num[i++] == '-';
        for (; i < num.size() && IsDigit(num[i]); ++i)
            if (exponent < kFar) exponent = exponent * 10 + (num[i] - '0');
        if (neg) exponent = -exponent;
    }
    return exponent + (intDigits - 1 - firstNonZero);
}

}  // namespace

double WinAtof(std::string_view s, std::size_t* consumed) {
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) { neg = s[i] == '-'; ++i; }
    const std::size_t start = i;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) { ++i; ++digits; }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) { ++i; ++digits; }
    }
    if (digits == 0) {
        if (consumed) *consumed = 0;
        return 0.0;
    }
    std::size_t end = i;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j])) ++j;
            end = j;
        }
    }
    std::string num(s.substr(start, end - start));
    // from_chars rejects "5." and ".5" in some forms only for hex; for general format it
    // accepts both, and it never consults the locale.
    double v = 0.0;
    auto res = std::from_chars(num.data(), num.data() + num.size(), v, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // Overflow gives HUGE_VAL like the C runtime; underflow gives 0. Which of the two
        // is decided by the size of the number, not by the sign of its exponent.
        v = DecimalExponent(num) >= 0 ? HUGE_VAL : 0.0;
    }
    if (consumed) *consumed = end;
    return neg ? -v : v;
}

int WinAtoi(std::string_view s, std::size_t* consumed) {
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) { neg = s[i] == '-'; ++i; }
    long long v = 0;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) {
        if (v < 10000000000LL) v = v * 10 + (s[i] - '0');
        ++i;
        ++digits;
    }
    if (consumed) *consumed = digits ? i : 0;
    if (neg) v = -v;
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

int DoubleToInt(double v) {
    if (!(v > -2147483649.0 && v < 2147483648.0)) return INT_MIN;
    return static_cast<int>(v);
}

std::string VSprintf(const char* fmt, va_list ap) {
    locale_t old = ::uselocale(CLocale());
    va_list ap2;
    va_copy(ap2, ap);
    char small[256];
    int n = std::vsnprintf(small, sizeof small, fmt, ap);
    std::string out;
    if (n < 0) {
        out.clear();
    } else if (static_cast<std::size_t>(n) < sizeof small) {
        out.assign(small, static_cast<std::size_t>(n));
    } else {
        out.resize(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(out.data(), out.size(), fmt, ap2);
        out.resize(static_cast<std::size_t>(n));
    }
    va_end(ap2);
    ::uselocale(old);
    return out;
}

std::string Sprintf(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::string s = VSprintf(fmt, ap);
    va_end(ap);
    return s;
}

bool TextWriter::Save(const std::string& path, std::string* err) const {
    return AtomicWriteFile(path, m_text, err);
}

bool LineReader::FromFile(const std::string& path, LineReader& out, std::string* err) {
    std::string text;
    if (!ReadWholeFile(path, text, err)) return false;
    out = LineReader(std::move(text));
    return true;
}

bool LineReader::Next(std::string& line) {
    if (m_pos >= m_text.size()) return false;
    std::size_t nl = m_text.find('\n', m_pos);
    std::size_t end = nl == std::string::npos ? m_text.size() : nl;
    std::size_t stop = end;
    if (stop > m_pos && m_text[stop - 1] == '\r') --stop;
    line.assign(m_text, m_pos, stop - m_pos);
    m_pos = nl == std::string::npos ? m_text.size() : nl + 1;
    ++m_line;
    return true;
}

std::string StripNewlinesCopy(std::string_view s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n')) s.remove_suffix(1);
    return std::string(s);
}

}  // namespace wv
