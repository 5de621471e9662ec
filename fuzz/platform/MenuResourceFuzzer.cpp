// Menu resources (MENU and MENUEX) of any bytes, loaded through a registered module as LoadMenuW finds them:
// a refused menu says so on its own, an accepted one can be walked to its last item and destroyed.
#include "FuzzInput.h"
#include "ResBuilder.h"

#include <cehost/sim.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "FuzzFail.h"

namespace {

// Walks every item and sub-menu; returns the number of items seen.
int Walk(HMENU menu, int depth) {
    if (depth > 32) Fail("a menu nests deeper than its reader allows");
    const int count = GetMenuItemCount(menu);
    if (count < 0) Fail("a loaded menu has no item count");
    int seen = count;
    for (int i = 0; i < count; ++i) {
        WCHAR text[64];
        GetMenuStringW(menu, UINT(i), text, 64, MF_BYPOSITION);
        GetMenuState(menu, UINT(i), MF_BYPOSITION);
        if (HMENU sub = GetSubMenu(menu, i)) seen += Walk(sub, depth + 1);
        else GetMenuItemID(menu, i);
    }
    return seen;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int anchor;
    const std::vector<uint8_t> res = ResWithEntry(4 /* RT_MENU */, 1, data, size);
    HINSTANCE module = cehost::sim::RegisterModuleResources(&anchor, res.data(), res.size());
    if (!module) Fail("a well-formed resource file holding one menu was refused");
    HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(1));
    if (menu) {
        // Each item takes at least two bytes (a MENUEX one fourteen), so no more can come out of the data.
        if (Walk(menu, 0) > int(size / 2)) Fail("more menu items than the data can hold");
        if (!DestroyMenu(menu) || IsMenu(menu)) Fail("a loaded menu could not be destroyed");
    } else if (GetLastError() != ERROR_INVALID_DATA) {
        Fail("a refused menu without ERROR_INVALID_DATA");
    }
    return 0;
}
