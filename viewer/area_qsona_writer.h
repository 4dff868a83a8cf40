// The output area as a new Q-SONA file: the records inside the area, each piece of a
// line inside it becoming a line of its own, renumbered; every other byte as read.
#pragma once

#include "viewer/reliefscope_doc.h"

#include <string>

namespace wv {

// The file's bytes (CR LF line ends). Uses the document's area and low-tide switch.
std::string BuildAreaQsona(const CReliefscopeDoc& doc);

}  // namespace wv
