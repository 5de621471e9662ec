// The heap policy of a hosted process, set once when cehost is loaded, before the application's first
// allocation. A device's process heap keeps the pages it has committed: memory a program frees is there for its
// next allocation, so a list of 100,000 rows filled, emptied and filled again writes into pages it already has
// instead of faulting 200 MB in again each time. The C library's default gives the top of its heap back to the
// system as soon as enough of it is free; here it never does. Blocks of 256 KB and more that the heap cannot
// serve from pages it already holds get mappings of their own, as a device heap takes very large blocks
// straight from virtual memory. Both values are fixed, so that the C library does not retune them as blocks
// come and go and a program's memory behaves the same from its first allocation to its last.
#include <malloc.h>

namespace {

constexpr int kOwnMappingFrom = 256 * 1024;

struct ProcessHeapPolicy {
    ProcessHeapPolicy() {
#ifdef __GLIBC__
        mallopt(M_MMAP_THRESHOLD, kOwnMappingFrom);
        mallopt(M_TRIM_THRESHOLD, -1); // never trimmed (the value is taken as the largest size)
#endif
    }
};

const ProcessHeapPolicy g_policy;

} // namespace
