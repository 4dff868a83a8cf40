#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace wv {

// Arrays of several megabytes (a 1000 x 1000 mesh's input, depths, faces and slope
// tables, the solver's systems) are first touched one page at a time. In a virtual
// machine each of those faults costs about ten microseconds, most of it in entering and
// leaving the fault itself: a quarter of a second for 85 MB. Backed by huge pages the
// same memory faults in a fiftieth of the time, and pages faulted in by one request of
// the program cost a tenth as much each (16 MB of small pages: 43 ms written, 4 ms
// faulted in first).

// Asks the system to back the whole 2 MB pages inside [p, p + bytes) with huge pages.
// Only advice: where the system has none to give, nothing changes.
void AdviseHugePages(void* p, std::size_t bytes);

// Faults in the whole pages inside [p, p + bytes) for writing, as the first write to each
// would; the memory's contents do not change. Only a means of faulting in sooner: where
// the system cannot, the first writes fault the pages in as before.
void PopulatePages(void* p, std::size_t bytes);

// The memory one computation of the program may count on: the machine's physical memory,
// or less where the process's address-space limit (ulimit -v) leaves less beyond what it
// has mapped already. Work sized past it cannot finish: it is refused before it starts.
std::uint64_t MemoryRoom();

// Room for n elements in a vector or string, for a caller that fills it: fresh storage
// is advised as huge pages where it is 2 MB or more, and faulted in where it is 64 KB or
// more.
template <class C>
void ReserveLarge(C& c, std::size_t n) {
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    constexpr std::size_t kManyPages = std::size_t{64} << 10;
    if (n <= c.capacity()) return;
    c.reserve(n);
    const std::size_t bytes = n * sizeof(typename C::value_type);
    if (bytes >= kHugePage) AdviseHugePages(c.data(), bytes);
    if (bytes >= kManyPages) PopulatePages(c.data(), bytes);
}

// v = n copies of value, in fresh storage when the old is too small (nothing is copied).
template <class T>
void AssignLarge(std::vector<T>& v, std::size_t n, const T& value = T()) {
    if (n > v.capacity()) std::vector<T>().swap(v);
    ReserveLarge(v, n);
    v.assign(n, value);
}

}  // namespace wv
