#include "calc/time_check.h"

#include "platform/files.h"
#include "platform/text.h"

#include <cstdio>

namespace wv {

namespace {
constexpr char kFileName[] = "timecheck";
}

void TimeCheck::Start() {
    m_path = StartFolderFile(kFileName);
    if (std::FILE* f = std::fopen(m_path.c_str(), "wb")) std::fclose(f);
    m_mark = std::time(nullptr);
}

long TimeCheck::Lap() {
    const std::time_t now = std::time(nullptr);
    const long seconds = static_cast<long>(now - m_mark);
    m_mark = now;
    return seconds;
}

void TimeCheck::Mark(const char* format) { Append(Sprintf(format, Lap())); }
void TimeCheck::Mark(const char* format, int a) { Append(Sprintf(format, Lap(), a)); }
void TimeCheck::Mark(const char* format, int a, int b) { Append(Sprintf(format, Lap(), a, b)); }
void TimeCheck::Line(const std::string& text) { Append(text); }

void TimeCheck::Append(const std::string& utf8Line) {
    if (m_path.empty()) return;
    // The log is a text file of the Windows program: CP932 ("秒") and CR LF.
    const std::string bytes = Utf8ToCp932(utf8Line) + "\r\n";
    if (std::FILE* f = std::fopen(m_path.c_str(), "ab")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

}  // namespace wv
