#pragma once

#include <cstddef>
#include <vector>

namespace wv {

// Arrays of several megabytes (a 1000 x 1000 mesh's depths, faces and slope tables, the
// solver's systems) are first touched one page at a time; in a virtual machine each of
// those faults costs about ten microseconds, a quarter of a second for 85 MB. Backed by
// huge pages the same memory faults in a fiftieth of the time.

// Asks the system to back the whole 2 MB pages inside [p, p + bytes) with huge pages.
// Only advice: where the system has none to give, nothing changes.
void AdviseHugePages(void* p, std::size_t bytes);

// Room for n elements in a vector or string, advised as huge pages when it is fresh
// storage of 2 MB or more.
template <class C>
void ReserveLarge(C& c, std::size_t n) {
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    if (n <= c.capacity()) return;
    c.reserve(n);
    if (n * sizeof(typename C::value_type) >= kHugePage) AdviseHugePages(c.data(), n * sizeof(typename C::value_type));
}

// v = n copies of value, in fresh storage when the old is too small (nothing is copied).
template <class T>
void AssignLarge(std::vector<T>& v, std::size_t n, const T& value = T()) {
    if (n > v.capacity()) std::vector<T>().swap(v);
    ReserveLarge(v, n);
    v.assign(n, value);
}

}  // namespace wv
