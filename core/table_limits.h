// Bounds that the terrain tables apply to counts read from a project file before they
// allocate anything for them.
#pragma once

namespace wv {

// Largest slot count or capacity accepted from a file. The 32-bit Windows program could
// not hold tables anywhere near this size in its 2 GB address space, so every file it
// wrote stays below; a larger number only comes from a damaged file and would otherwise
// make the reader allocate gigabytes.
inline constexpr int kMaxTableSlots = 16 * 1024 * 1024;

}  // namespace wv
