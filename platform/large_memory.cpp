#include "large_memory.h"

#include <cstdint>

#include <sys/mman.h>

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
