#include "platform/sysver.h"

#include <cstdio>

namespace wv {

std::string g_strVersion;
std::string g_strVersionCp932;

namespace {
// The original read the line into a 1024-byte buffer.
constexpr int kMaxLine = 1023;
}  // namespace

std::string ReadSysVer(const std::string& startFolder, bool* opened) {
    std::string path = startFolder;
    if (!path.empty() && path.back() != '/') path += '/';
    path += "SYSVER.DAT";
    if (opened) *opened = false;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return {};
    if (opened) *opened = true;
    std::string line;
    int c;
    while (static_cast<int>(line.size()) < kMaxLine && (c = std::fgetc(f)) != EOF && c != '\n')
        line.push_back(static_cast<char>(c));
    std::fclose(f);
    // A file written on Windows ends its lines in CR LF; the CR is no part of the text.
    while (!line.empty() && line.back() == '\r') line.pop_back();
    const auto cr = line.find('\r');
    if (cr != std::string::npos) line.resize(cr);
    return line;
}

}  // namespace wv
