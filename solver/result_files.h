// The files a run writes: the node results <base>.KKA (records and the optional
// radiation-stress dump), the busy flag "CALC.DAT" and the timing file "TIME.TMP".
// Every record is fixed-width text ending in CR LF.
#pragma once

#include <cstddef>
#include <cstdio>
#include <ctime>
#include <string>

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

// "CALC.DAT": the busy form ("1" and the title, CP932) and the idle form ("0").
bool WriteBusyFlag(const std::string& path, const std::string& titleUtf8);
bool WriteIdleFlag(const std::string& path);
// "TIME.TMP": start date, start time, end date, end time.
bool WriteTimingFile(const std::string& path, const std::tm& start, const std::tm& end);

// The result file, written column after column while the march goes on.
class ResultFile {
public:
    ResultFile() = default;
    ~ResultFile();
    ResultFile(const ResultFile&) = delete;
    ResultFile& operator=(const ResultFile&) = delete;

    bool Open(const std::string& path);  // creates or truncates
    bool Write(const std::string& text);
    bool Close();  // false when anything failed since Open
    bool IsOpen() const { return m_file != nullptr; }

private:
    static constexpr std::size_t kWriteOutBytes = std::size_t{8} << 20;
    std::FILE* m_file = nullptr;
    bool m_failed = false;
    std::size_t m_unflushed = 0;
    long long m_writtenOut = 0;
};

}  // namespace wv::solv
