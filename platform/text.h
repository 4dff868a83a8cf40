// Text at the file boundary: files hold code page 932 (Shift-JIS, Microsoft table) and
// CR LF line ends, as the Windows program wrote them; the user interface is UTF-8.
// Number reading and formatting follow the Windows C runtime and never the locale.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace wv {

// CP932 bytes to UTF-8. Bytes that are not valid CP932 become U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);
// UTF-8 to CP932 bytes. Characters that CP932 cannot hold become '?'.
std::string Utf8ToCp932(std::string_view utf8);

// Windows `atof`: leading blanks, sign, digits, '.', digits, exponent. No "inf", "nan"
// or hex. Text that holds no number gives 0. `consumed` (when given) receives the
// number of characters that made up the number (0 when none).
double WinAtof(std::string_view text, std::size_t* consumed = nullptr);
// Windows `atoi`: leading blanks, sign, digits; out of range clamps to INT_MIN/INT_MAX.
int WinAtoi(std::string_view text, std::size_t* consumed = nullptr);

// Truncates toward zero like a C cast, but an out-of-range or non-finite value gives
// INT_MIN, which is what the 32-bit Windows program got, instead of undefined behaviour.
int DoubleToInt(double v);

// printf-style formatting in the "C" locale whatever the process locale is.
std::string Sprintf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string VSprintf(const char* fmt, va_list ap);

// Collects text lines in memory, each ended with CR LF; written to disk in one atomic step.
class TextWriter {
public:
    void Line(std::string_view text) { m_text.append(text); m_text.append("\r\n"); }
    void Raw(std::string_view text) { m_text.append(text); }
    const std::string& Text() const { return m_text; }
    bool Save(const std::string& path, std::string* err) const;

private:
    std::string m_text;
};

// Splits text into lines at LF; a CR before the LF is dropped, and so is a lone CR at
// the end of the last line.
class LineReader {
public:
    explicit LineReader(std::string text) : m_text(std::move(text)) {}
    static bool FromFile(const std::string& path, LineReader& out, std::string* err);
    bool Next(std::string& line);
    bool AtEnd() const { return m_pos >= m_text.size(); }
    std::size_t LineNumber() const { return m_line; }

private:
    std::string m_text;
    std::size_t m_pos = 0;
    std::size_t m_line = 0;
};

// Removes trailing CR and LF characters.
std::string StripNewlinesCopy(std::string_view s);

}  // namespace wv
