// The phase-timing log of the depth calculation, "timecheck" in the start folder: one
// line per mark with the whole seconds since the previous mark. Nothing reads it; it is
// there for whoever wonders where a long calculation spent its time. A log that cannot
// be written is skipped without a word.
#pragma once

#include <ctime>
#include <string>

namespace wv {

class TimeCheck {
public:
    // Empties the file (or creates it) and takes the first mark.
    void Start();

    // A mark line: `format` holds one "%ld" for the seconds since the previous mark,
    // followed by up to two "%d" for the numbers given. Takes a new mark.
    void Mark(const char* format);
    void Mark(const char* format, int a);
    void Mark(const char* format, int a, int b);
    // A line without a mark (the mesh size line).
    void Line(const std::string& text);

    const std::string& Path() const { return m_path; }

private:
    long Lap();
    void Append(const std::string& utf8Line);

    std::string m_path;
    std::time_t m_mark = 0;
};

}  // namespace wv
