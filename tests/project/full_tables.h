// Terrain tables filled to their bound, for the tests of what a full table refuses.
#pragma once

#include "core/block.h"
#include "core/line.h"
#include "core/sokuten.h"
#include "core/table_limits.h"

namespace wv::test {

// The filling lies 10,000 km off, beyond every pick and nearest-point search.
inline constexpr double kFarOff = 1e7;

// Adds far points until exactly `room` more fit.
inline void FillPoints(CSokuten& t, long long room = 0) {
    int last = -1;
    for (int i = 0; t.HasRoomFor(room + 1); ++i) last = t.AddFrom(last + 1, kFarOff + i, kFarOff, 0);
}

// Adds far lines until exactly `room` more fit. Each joins a pair of point slots of its
// own, so that no two of them are duplicates.
inline void FillLines(CLine& t, long long room = 0) {
    int last = -1;
    for (int i = 0; t.HasRoomFor(room + 1); ++i)
        last = t.AddFrom(last + 1, kFarOff, kFarOff, kFarOff + 1, kFarOff, 0, 0, 0.0, 0,
                         kMaxTableSlots + 2 * i, kMaxTableSlots + 2 * i + 1);
}

inline void FillBlocks(CBlock& t) {
    while (t.HasRoom()) t.Add(kFarOff, kFarOff);
}

}  // namespace wv::test
