// The files a run writes: the node results <base>.KKA (records and the optional
// radiation-stress dump), the busy flag "CALC.DAT" and the timing file "TIME.TMP".
// Every record is fixed-width text ending in CR LF.
#pragma once

#include "platform/busy_flag.h"

#include <cstddef>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>

namespace wv::solv {

// The ten values of one result record, in file order.
struct NodeRecord {
    double x = 0.0;
    double y = 0.0;
    double depth = 0.0;
    double heightRatio = 0.0;     // H / H0
    double refraction = 0.0;      // Kr, or -99.0
    double maxHeightRatio = 0.0;  // Hmax / H0
    double periodRatio = 0.0;     // T / T0
    double directionDeg = 0.0;
    double vectorX = 0.0;         // (H / H0) cos theta
    double vectorY = 0.0;         // (H / H0) sin theta
};

// Appends one result record (102 characters and CR LF). False, and nothing appended,
// when a value is not finite or does not fit its field: asterisks never reach the file.
bool AppendResultRecord(const NodeRecord& r, std::string& out);
// Appends one dump record: I5 i, I5 j, 12 blanks, then E10.3 Sxx, Syy, Sxy each after a
// blank (54 characters and CR LF). Same refusal rule.
bool AppendDumpRecord(int i, int j, double sxx, double syy, double sxy, std::string& out);

// Date and time texts of the timing file: "05-Mar-07" and "09:04:05".
std::string DateText(const std::tm& t);
std::string TimeText(const std::tm& t);
std::tm LocalNow();

// "TIME.TMP": start date, start time, end date, end time.
bool WriteTimingFile(const std::string& path, const std::tm& start, const std::tm& end);

// The result file, written column after column while the march goes on.
class ResultFile {
public:
    ResultFile() = default;
    ~ResultFile();
    ResultFile(const ResultFile&) = delete;
    ResultFile& operator=(const ResultFile&) = delete;

    // Creates the file, or starts an existing one anew. A plain file that this user could
    // truncate and that has no other name is replaced by a new empty file with the same
    // permissions instead of being cut down in place: truncating frees its cached pages
    // on the spot (tens of milliseconds for the 100 MB of a 1000 x 1000 mesh), and ext4
    // writes a file rewritten through truncation out to the disk when it is closed, so
    // the durable status files after the run would wait for all of it. The old file's
    // storage is given back on a thread of its own. Links, files with a second name and
    // files of other owners are truncated, as they always were.
    bool Open(const std::string& path);
    bool Write(const std::string& text);
    bool Close();  // false when anything failed since Open
    bool IsOpen() const { return m_file != nullptr; }

private:
    void Release();

    std::FILE* m_file = nullptr;
    bool m_failed = false;
    std::thread m_release;
};

}  // namespace wv::solv
