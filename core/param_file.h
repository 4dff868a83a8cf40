// "PARAINI.DAT": the defaults for new calculation documents kept between runs. The main
// frame reads it when it is built, before any document exists, and writes it when the
// program ends. It is a text file of numbers, one group per line, whose version says
// which lines it has; the writer always writes the newest version.
#pragma once

#include <string>

namespace wv {

class CCalArea;
class CTyd_Inf;
class CZmn_Inf;

inline constexpr char kParamFileName[] = "PARAINI.DAT";
// The version the writer puts on the first line.
inline constexpr int kParamFileVersion = 12;

enum class ParamFileStatus {
    Read,     // every line the version promises was there and was taken
    Missing,  // no file, or it could not be read: the defaults stay as they were
    Short,    // fewer lines than the version promises: the missing ones left their fields alone
};

// Reads a defaults file into the three records. Any field the file does not give (a line
// the version lacks, a line missing from a short file, a value missing from its line)
// keeps the value it had. A line longer than 127 characters is cut there, as the
// program's buffer cut it, without disturbing the lines after it.
ParamFileStatus ReadParamFile(const std::string& path, CTyd_Inf& tyd, CZmn_Inf& zmn, CCalArea& area);

// The text of a version-12 defaults file (CP932 = ASCII here, CR LF line ends).
std::string FormatParamFile(const CTyd_Inf& tyd, const CZmn_Inf& zmn, const CCalArea& area);

// Writes the file in one step: a failure leaves any previous file as it was.
bool WriteParamFile(const std::string& path, const CTyd_Inf& tyd, const CZmn_Inf& zmn,
                    const CCalArea& area, std::string* err);

// The main frame's calls: "PARAINI.DAT" in the start folder, to and from the
// application-wide defaults. Both are silent about failures, as the program always was.
ParamFileStatus LoadDefaultsFile();
bool SaveDefaultsFile();

}  // namespace wv
