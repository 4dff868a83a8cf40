// DXF and BFO export: the figure already written as "pdata000.plt" in the start folder
// is handed to an external converter through a small job file beside it. The converters
// are programs of their own, looked for in the start folder.
#pragma once

#include <string>

namespace wv {

inline constexpr char kDxfJobFileName[] = "dxf_conv.tmp";
inline constexpr char kBfoJobFileName[] = "bfo_conv.tmp";

// The converter programs, as their Windows builds were named without ".exe".
inline constexpr char kConverterVectorex[] = "Vectorex";
inline constexpr char kConverterLinefold[] = "linefold";
inline constexpr char kConverterShapewright[] = "Shapewright";

enum ExportResult {
    kExportOk = 0,
    kExportJobFailed = -1,        // the job file could not be written
    kExportNoConverter = -2,      // no converter program in the start folder
    kExportConverterFailed = -3,  // it could not start, failed, or wrote no output file
};

// The job files' text: the sheet offsets (left and bottom margins, mm) as "%f", then
// the plot file and the output file, each on its own line, CR LF. The BFO job names
// the output before the plot file.
std::string FormatDxfJob(double offsetX, double offsetY, const std::string& plotPath,
                         const std::string& outputPath);
std::string FormatBfoJob(double offsetX, double offsetY, const std::string& plotPath,
                         const std::string& outputPath);

// The converter's file in `folder`: "name", else "name.exe"; empty when neither is a
// file there.
std::string FindConverter(const std::string& folder, const std::string& name);

// Writes "dxf_conv.tmp" in the start folder and runs Vectorex (choice 1) or linefold
// (any other choice) there, waiting for it to end. Every outcome other than an output
// file written by the run is reported to the user and returned as a negative
// ExportResult; the plot file and the job file stay for a conversion elsewhere. A relative
// output path is taken from the current folder and written in full.
int ExportDxf(double offsetX, double offsetY, int dxfConverter, const std::string& outputPath);
// The same with "bfo_conv.tmp" and Shapewright.
int ExportBfo(double offsetX, double offsetY, const std::string& outputPath);

}  // namespace wv
