#include "mapdata/MemoryPopulation.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace stonereach {

namespace {

// Populating small ranges is not worth a system call.
constexpr std::size_t kWorthPopulating = std::size_t{256} << 10;

} // namespace

void populateMemory(void* data, std::size_t bytes) noexcept {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    if (data == nullptr || bytes < kWorthPopulating)
        return;
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + page - 1) / page * page;
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes) / page * page;
    if (end > begin)
        (void)::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    (void)data;
    (void)bytes;
#endif
}

void* allocateLargePages(std::size_t bytes) {
    const std::size_t whole = (bytes + HugePageBytes - 1) / HugePageBytes * HugePageBytes;
    void* data = ::operator new(whole, std::align_val_t{HugePageBytes});
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // A hint only, given before the memory is populated so that the pages
    // set up are large ones.
    (void)::madvise(data, whole, MADV_HUGEPAGE);
#endif
    populateMemory(data, whole);
    return data;
}

void freeLargePages(void* data) noexcept { ::operator delete(data, std::align_val_t{HugePageBytes}); }

} // namespace stonereach
