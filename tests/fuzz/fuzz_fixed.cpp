// Fortran fixed-column fields of the solver's files, and the Windows number readers. A
// field written with Iw, Fw.d or Ew.d always takes exactly w characters, and an F field
// reads back as the value to its decimals.
#include "fuzz_support.h"

#include "platform/fixed_format.h"
#include "platform/text.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wv;
    if (size < 2) return 0;
    const int width = 1 + data[0] % 24;
    const int decimals = data[1] % 8;
    const std::string_view line(reinterpret_cast<const char*>(data + 2), size - 2);

    FixedReader reader(line);
    while (reader.Column() < line.size() + width) {
        int i = 0;
        double d = 0.0;
        FixedReader copy = reader;
        reader.ReadInt(width, i);
        copy.ReadReal(width, d);
        fuzz::Check(reader.Column() == copy.Column(), "a field moves past its width whatever it holds");
        if (std::isfinite(d)) {
            const std::string f = FormatF(d, 24, decimals);
            fuzz::Check(f.size() == 24u, "Fw.d takes exactly w characters");
            char digits[400];
            std::snprintf(digits, sizeof digits, "%.*f", decimals, d);
            if (std::strlen(digits) <= 24u)
                fuzz::Check(f.substr(24u - std::strlen(digits)) == digits, "an F field holds printf's digits");
            double back = 0.0;
            if (f.front() != '*') {
                std::string trimmed = f.substr(f.find_first_not_of(' '));
                fuzz::Check(ParseFortranReal(trimmed, back), "an F field reads back");
                fuzz::Check(std::fabs(back - d) <= 0.5000001 * std::pow(10.0, -decimals) * (1.0 + 1e-9 * std::fabs(d)) ||
                                std::fabs(back - d) <= 1e-9 * std::fabs(d),
                            "an F field reads back as the value to its decimals");
            }
        }
        fuzz::Check(FormatF(d, width, decimals).size() == static_cast<std::size_t>(width), "Fw.d has width w");
        fuzz::Check(FormatE(d, width, decimals).size() == static_cast<std::size_t>(width), "Ew.d has width w");
        fuzz::Check(FormatI(i, width).size() == static_cast<std::size_t>(width), "Iw has width w");
        if (reader.Column() > line.size()) break;
    }
    std::size_t used = 0;
    const double v = WinAtof(line, &used);
    fuzz::Check(used <= line.size(), "atof reads within the text");
    fuzz::Check(!std::isnan(v), "atof never gives a number that is no number");
    WinAtoi(line, &used);
    fuzz::Check(used <= line.size(), "atoi reads within the text");
    return 0;
}
