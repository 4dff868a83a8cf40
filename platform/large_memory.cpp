#include "large_memory.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

namespace wv {

namespace {

// The advice for the whole pages of `page` bytes inside [p, p + bytes).
[[maybe_unused]] void AdviseInside(void* p, std::size_t bytes, std::uintptr_t page, int advice) {
    const std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(p) + page - 1) & ~(page - 1);
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(p) + bytes) & ~(page - 1);
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, advice);
}

}  // namespace

void AdviseHugePages(void* p, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    AdviseInside(p, bytes, std::uintptr_t{2} << 20, MADV_HUGEPAGE);
#else
    (void)p;
    (void)bytes;
#endif
}

std::uint64_t MemoryRoom() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long size = sysconf(_SC_PAGE_SIZE);
    std::uint64_t room = pages > 0 && size > 0 ? static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(size)
                                               : UINT64_MAX;
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || size <= 0) return room;
    unsigned long long mappedPages = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%llu", &mappedPages) != 1) mappedPages = 0;
        std::fclose(f);
    }
    const std::uint64_t mapped = static_cast<std::uint64_t>(mappedPages) * static_cast<std::uint64_t>(size);
    const std::uint64_t cap = static_cast<std::uint64_t>(limit.rlim_cur);
    return std::min(room, cap > mapped ? cap - mapped : 0);
}

void PopulatePages(void* p, std::size_t bytes) {
    // Older kernels refuse the advice; the pages are then faulted in where first written.
#ifdef MADV_POPULATE_WRITE
    AdviseInside(p, bytes, 4096, MADV_POPULATE_WRITE);
#else
    (void)p;
    (void)bytes;
#endif
}

}  // namespace wv
