// The output area as a new Q-SONA file: the records inside the area, each piece of a
// line inside it becoming a line of its own, renumbered; every other byte as read.
#pragma once

#include "viewer/reliefscope_doc.h"

#include <string>
#include <vector>

namespace wv {

// The lines written, each as the indices of the document's records in it, in order (the
// second copy of a 99999th point is not listed again).
using AreaLines = std::vector<std::vector<int>>;

// The file's bytes (CR LF line ends). Uses the document's area and low-tide switch.
// `lines`, when given, receives the lines as written.
std::string BuildAreaQsona(const CReliefscopeDoc& doc, AreaLines* lines = nullptr);

}  // namespace wv
