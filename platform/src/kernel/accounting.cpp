// Live GDI object count behind GetGuiResources(GR_GDIOBJECTS): tests prove that painting releases what it
// creates by reading it before and after.
#include "internal/bridge.h"

namespace cehost::internal {

namespace {
long g_gdiObjects = 0;
}

void GdiObjectCreated() { ++g_gdiObjects; }
void GdiObjectDestroyed() { --g_gdiObjects; }
long GdiObjectCount() { return g_gdiObjects; }

} // namespace cehost::internal
