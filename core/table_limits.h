// Bounds that the terrain tables apply to counts read from a project file before they
// allocate anything for them.
#pragma once

namespace wv {

// Largest slot count or capacity accepted from a file. Free slots are not stored, so
// their number cannot be bounded by the file's size; it is bounded instead by what the
// 32-bit Windows program could hold next to everything else in its 2 GB address space
// (4 M slots of a point or line table take 256 MB there). A larger number only comes
// from a damaged file, and a few hundred bytes must not make the reader allocate
// gigabytes.
inline constexpr int kMaxTableSlots = 4 * 1024 * 1024;

}  // namespace wv
