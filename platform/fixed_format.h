// Fortran-style fixed-column fields, as the solver's input and result files use them.
// Reading: Iw and Fw.0 with blanks ignored, short lines padded with blanks, characters
// after the last field ignored. Writing: Iw, Fw.d and Ew.d right-justified, asterisks
// when a number does not fit.
#pragma once

#include <string>
#include <string_view>

namespace wv {

// Reads consecutive fields of one record from left to right.
class FixedReader {
public:
    explicit FixedReader(std::string_view line) : m_line(line) {}

    // Each returns false when the field holds something that is not a number of its
    // kind; the position still moves past the field. An all-blank field reads as 0.
    bool ReadInt(int width, int& out);
    // Fw.0: digits without a point are a whole number; a written point or exponent
    // counts as written (so "12345" is 12345.0 and "1.5E2" is 150.0).
    bool ReadReal(int width, double& out);
    void Skip(int width) { m_pos += static_cast<std::size_t>(width); }
    std::size_t Column() const { return m_pos; }

private:
    std::string Field(int width);
    std::string_view m_line;
    std::size_t m_pos = 0;
};

// Parses the text of one Fortran field with blanks already removed; false when it is
// not a number. Exposed for callers that split records themselves.
bool ParseFortranInt(std::string_view text, int& out);
bool ParseFortranReal(std::string_view text, double& out);

// Iw: right-justified integer; w asterisks when it does not fit.
std::string FormatI(long long value, int width);
// Fw.d: rounded to d decimals, a minus sign when negative, a 0 before the point when
// |value| < 1 and the width allows it; w asterisks when it does not fit or is not finite.
std::string FormatF(double value, int width, int decimals);
// The same field appended to out; false, and nothing appended, where FormatF gives
// asterisks. For writers of many records: it builds no strings of its own.
bool AppendF(double value, int width, int decimals, std::string& out);
// Ew.d: 0.ddd followed by E, the exponent sign and two exponent digits, right-justified;
// w asterisks when it does not fit or is not finite.
std::string FormatE(double value, int width, int decimals);

}  // namespace wv
