// The version text of the installation: the first line of "SYSVER.DAT" in the start
// folder. The main program shows it in its About box, the figures print it, and the
// small programs read it the same way.
#pragma once

#include <string>

namespace wv {

// The first line (at most 1023 bytes) of <startFolder>/SYSVER.DAT without its line end
// (LF, CR LF or a lone CR), as the file's bytes (CP932). Empty when the file cannot be
// opened; `opened` tells that case apart from an empty first line.
std::string ReadSysVer(const std::string& startFolder, bool* opened = nullptr);

// The version text the program read at start-up (UTF-8): the About box shows it.
extern std::string g_strVersion;
// The same line as the file's bytes (CP932). The files that carry the version (the
// figures' plot file) write these, so that a line the conversion to UTF-8 cannot hold
// whole still comes out as the installation wrote it.
extern std::string g_strVersionCp932;

}  // namespace wv
