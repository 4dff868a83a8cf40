// The version text the About box shows: the first line of "SYSVER.DAT" in the start
// folder. A missing file is reported once at start-up and the program goes on.
#pragma once

#include <string>

namespace wv {

// UTF-8; empty (after the message) when the file cannot be opened.
std::string LoadVersionText(const std::string& startFolder);

}  // namespace wv
