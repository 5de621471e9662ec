// The heap policy of a hosted process, set once when cehost is loaded, before the application's first
// allocation. A device's process heap keeps the pages it has committed: memory a program frees is there for its
// next allocation, so a list filled, emptied and filled again writes into pages it already has instead of
// faulting 200 MB in again each time. The C library's default gives the top of its heap back to the system as
// soon as enough of it is free, and decides from the blocks freed so far which sizes get mappings of their
// own; both are fixed here so that a program's memory behaves the same from its first allocation to its last.
// Very large blocks still come from and go back to the system as mappings of their own, so a big table grows
// by remapping its pages rather than by copying them, and freeing one gives its memory back at once.
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
