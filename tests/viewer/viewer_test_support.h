// Helpers of the viewer tests: Q-SONA records laid out column by column, files written
// into the test's scratch folder, a document opened from text, scripted questions.
#pragma once

#include "platform/files.h"
#include "platform/text.h"
#include "platform/ui_service.h"
#include "viewer/output_commands.h"
#include "viewer/reliefscope_doc.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <sys/wait.h>
#include <string>
#include <vector>

namespace wv::test {

// type, point number (5 characters), depth (7), latitude, longitude, unit, line, datum;
// "%9.5f" and "%10.5f" positions and some text in the free columns.
inline std::string Rec(char type, const std::string& point, double lat, double lon, int line,
                       const std::string& depth = "   10.0", char unit = 'M', char datum = '1')
{
    std::string r(60, ' ');
    r[0] = type;
    r.replace(1, 3, "AB\\");
    r.replace(5, 5, point);
    r.replace(10, 7, depth);
    r.replace(17, 9, Sprintf("%9.5f", lat));
    r.replace(26, 10, Sprintf("%10.5f", lon));
    r.replace(37, 4, "\xb6\xb2\x95\x5c");  // half-width katakana, and a trail byte '\'
    r[47] = unit;
    r.replace(50, 8, Sprintf("%8d", line));
    r[59] = datum;
    return r + " \x83\x65\x83\x58\x83\x67";  // full-width text after the record
}

inline std::string Join(const std::vector<std::string>& lines, const char* eol = "\r\n")
{
    std::string s;
    for (const std::string& l : lines) {
        s += l;
        s += eol;
    }
    return s;
}

// Two coastline pieces around one depth point, every point inside kTwoPiecesArea: a
// 4-byte header line and five records of exactly 60 columns, CR LF (316 bytes).
inline const GeoBox kTwoPiecesArea{35.0, 139.0, 35.1, 139.1};
inline std::string TwoCoastPiecesAroundADepthPoint()
{
    const auto rec = [](char type, const char* point, double lat, double lon, int line) {
        return Rec(type, point, lat, lon, line).substr(0, 60);
    };
    return Join({"BAY1", rec('L', "00001", 35.02, 139.02, 1), rec('L', "00002", 35.03, 139.03, 1),
                 rec('N', "00001", 35.05, 139.05, 1), rec('L', "00001", 35.07, 139.07, 2),
                 rec('L', "00002", 35.08, 139.08, 2)});
}

inline std::string WriteFile(const std::string& name, const std::string& bytes)
{
    std::string err;
    EXPECT_TRUE(AtomicWriteFile(name, bytes, &err)) << err;
    return name;
}

inline std::string ReadFile(const std::string& name)
{
    std::string s;
    std::string err;
    EXPECT_TRUE(ReadWholeFile(name, s, &err)) << err;
    return s;
}

// Splits CR LF text into lines (the checks also see that every line end is CR LF).
inline std::vector<std::string> CrLfLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t nl = text.find("\r\n", pos);
        EXPECT_NE(nl, std::string::npos) << "a line without CR LF at " << pos;
        if (nl == std::string::npos) {
            break;
        }
        lines.push_back(text.substr(pos, nl - pos));
        pos = nl + 2;
    }
    return lines;
}

// Opens `bytes` as a document through a file in the scratch folder.
inline bool OpenText(CReliefscopeDoc& doc, const std::string& bytes, const std::string& name = "in.qsona")
{
    WriteFile(name, bytes);
    return doc.OnOpenDocument(name);
}

class ScriptedPrompts : public OutputPrompts {
public:
    std::optional<std::string> file;
    bool dxfOk = true;
    int unit = 0;
    int zoneIndex = 0;
    int fileQuestions = 0;
    int dxfQuestions = 0;
    std::optional<std::string> AskSaveFile(SaveFileKind) override
    {
        ++fileQuestions;
        return file;
    }
    bool AskDxfOptions(CDxfOutputDlg& dlg) override
    {
        ++dxfQuestions;
        EXPECT_EQ(dlg.m_nUnit, 0);
        EXPECT_EQ(dlg.m_nZoneIndex, 0);
        dlg.m_nUnit = unit;
        dlg.m_nZoneIndex = zoneIndex;
        return dxfOk;
    }
};

inline std::string SourceFile(const std::string& rel) { return std::string(WAVORA_SOURCE_DIR) + "/" + rel; }
inline std::string DataFile(const std::string& rel) { return std::string(WAVORA_TEST_DATA) + "/" + rel; }

// Runs the ezdxf and cs2cs checks on a written file; skips when a tool is missing.
inline void CheckWithEzdxf(const std::string& dxf, const std::string& qsona, int zone, const char* unit, int polylines,
                    int vertices)
{
    if (!FileExists("/usr/bin/python3")) {
        GTEST_SKIP() << "/usr/bin/python3 is not installed";
    }
    const std::string cmd = Sprintf("/usr/bin/python3 %s %s %s %d %s %d %d 2>&1", VIEWER_CHECK_SCRIPT, dxf.c_str(),
                                    qsona.c_str(), zone, unit, polylines, vertices);
    FILE* p = ::popen(cmd.c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::string out;
    char buf[512];
    while (std::fgets(buf, sizeof buf, p) != nullptr) {
        out += buf;
    }
    const int status = ::pclose(p);
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (code == 77) {
        GTEST_SKIP() << out;
    }
    EXPECT_EQ(code, 0) << out;
    std::printf("%s", out.c_str());
}

inline int Count(const std::string& text, const std::string& what)
{
    int n = 0;
    for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) {
        ++n;
    }
    return n;
}

}  // namespace wv::test
