// Live GDI object count behind GetGuiResources(GR_GDIOBJECTS): tests prove that painting releases what it
// creates by reading it before and after. The highest counts of GDI objects and windows are kept too, for the
// simulator's run statistics: an object made and freed inside one message would never be seen by sampling.
#include "internal/bridge.h"

#include <cehost/sim/stats.h>

namespace cehost::internal {

long g_gdiObjects = 0;
long g_gdiPeak = 0;

namespace {
long g_windows = 0;
long g_windowPeak = 0;
} // namespace

void WindowCountChanged(long live) {
    g_windows = live;
    if (live > g_windowPeak) g_windowPeak = live;
}

} // namespace cehost::internal

namespace cehost::sim {

ObjectCountPeaks ObjectPeaks() { return {internal::g_gdiPeak, internal::g_windowPeak}; }

void ResetObjectPeaks() {
    internal::g_gdiPeak = internal::g_gdiObjects;
    internal::g_windowPeak = internal::g_windows;
}

} // namespace cehost::sim
