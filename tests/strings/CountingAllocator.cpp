// Global operator new/delete with a size header in front of each block (see StringTestSupport.h).
#include "StringTestSupport.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace counting {

namespace {

constexpr uint64_t kMagic = 0x4C78537472696E67; // marks blocks that came from here

struct alignas(16) Header {
    uint64_t size;
    uint64_t magic;
};

std::atomic<long> g_live{0};
std::atomic<int> g_failCountdown{-1};

void* Allocate(size_t size) {
    if (g_failCountdown.load() >= 0 && g_failCountdown.fetch_sub(1) == 0) throw std::bad_alloc();
    auto* header = static_cast<Header*>(std::malloc(sizeof(Header) + size));
    if (!header) throw std::bad_alloc();
    header->size = size;
    header->magic = kMagic;
    ++g_live;
    return header + 1;
}

void Release(void* block) noexcept {
    if (!block) return;
    Header* header = static_cast<Header*>(block) - 1;
    header->magic = 0;
    --g_live;
    std::free(header);
}

} // namespace

size_t BlockSize(const void* block) {
    if (!block) return 0;
    const Header* header = static_cast<const Header*>(block) - 1;
    return header->magic == kMagic ? header->size : 0;
}

long LiveBlocks() { return g_live.load(); }

void FailAllocationAfter(int skip) { g_failCountdown.store(skip); }

} // namespace counting

void* operator new(size_t size) { return counting::Allocate(size); }
void* operator new[](size_t size) { return counting::Allocate(size); }
void operator delete(void* block) noexcept { counting::Release(block); }
void operator delete[](void* block) noexcept { counting::Release(block); }
void operator delete(void* block, size_t) noexcept { counting::Release(block); }
void operator delete[](void* block, size_t) noexcept { counting::Release(block); }
