// Whole compiled resource files (.res) of any bytes: validation and registration agree, and every entry of an
// accepted file can be handed to the loader of its type (strings, menus, bitmaps, icons, accelerators,
// dialogs found by name) without a fault, leaving no GDI object behind.
#include <cehost/sim.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "FuzzFail.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int anchor;
    std::string why, registered;
    const bool valid = cehost::sim::ValidateResources(data, size, &why);
    HINSTANCE module = cehost::sim::RegisterModuleResources(&anchor, data, size, &registered);
    if (valid != (module != nullptr)) Fail("validation and registration disagree");
    if (!module) {
        if (why.empty() || why != registered) Fail("a refused resource file without the same reason twice");
        return 0;
    }
    const long objects = cehost::sim::GdiObjectCount();
    // Small ordinals are where windres puts what a script names; strings come in blocks of sixteen.
    for (UINT id = 0; id < 40; ++id) {
        WCHAR text[32];
        LoadStringW(module, id, text, 32);
        if (HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(id))) DestroyMenu(menu);
        if (HBITMAP bitmap = LoadBitmapW(module, MAKEINTRESOURCEW(id))) DeleteObject(bitmap);
        if (HICON icon = LoadIconW(module, MAKEINTRESOURCEW(id))) DestroyIcon(icon);
        LoadAcceleratorsW(module, MAKEINTRESOURCEW(id));
        if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG)) {
            if (SizeofResource(module, found) > 0 && !LoadResource(module, found)) Fail("a found dialog cannot be loaded");
        }
    }
    if (cehost::sim::GdiObjectCount() != objects) Fail("loading the resources left a GDI object behind");
    return 0;
}
