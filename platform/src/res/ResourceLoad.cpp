// Loading resources into objects: bitmaps (LoadBitmapW, LoadImageW from a module or a .bmp file), string
// tables (LoadStringW) and accelerator tables.
#include "gdi/GdiObjects.h"
#include "gdi/ImageDecode.h"
#include "res/Modules.h"
#include "internal/profile.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>

namespace cehost::res {

namespace {

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

void Report(const char* what, const std::string& why) { std::fprintf(stderr, "cehost: %s: %s\n", what, why.c_str()); }

// Accelerator tables: those loaded from a module are shared and live as long as the process.
struct AccelTable {
    std::vector<ACCEL> entries;
    bool shared = false;
};

constexpr uintptr_t kAccelTag = 0x28000000u;

std::vector<std::unique_ptr<AccelTable>>& AccelTables() {
    static std::vector<std::unique_ptr<AccelTable>> tables;
    return tables;
}

HACCEL NewAccel(std::unique_ptr<AccelTable> table) {
    auto& tables = AccelTables();
    for (size_t i = 0; i < tables.size(); ++i)
        if (!tables[i]) {
            tables[i] = std::move(table);
            return reinterpret_cast<HACCEL>(kAccelTag | (i + 1));
        }
    tables.push_back(std::move(table));
    return reinterpret_cast<HACCEL>(kAccelTag | tables.size());
}

} // namespace

AccelTable* LookupAccel(HACCEL h) {
    uintptr_t v = reinterpret_cast<uintptr_t>(h);
    if ((v & 0xFF000000u) != kAccelTag) return nullptr;
    size_t i = (v & 0xFFFFFFu) - 1;
    auto& tables = AccelTables();
    return i < tables.size() ? tables[i].get() : nullptr;
}

const std::vector<ACCEL>* AcceleratorEntries(HACCEL h) {
    AccelTable* t = LookupAccel(h);
    return t ? &t->entries : nullptr;
}

bool ReadFile(LPCWSTR name, std::vector<uint8_t>& bytes) {
    std::string path;
    for (const WCHAR* p = name; *p; ++p) {
        char32_t c = *p;
        if (c < 0x80) {
            path += char(c);
        } else if (c < 0x800) {
            path += char(0xC0 | (c >> 6));
            path += char(0x80 | (c & 0x3F));
        } else {
            path += char(0xE0 | (c >> 12));
            path += char(0x80 | ((c >> 6) & 0x3F));
            path += char(0x80 | (c & 0x3F));
        }
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

} // namespace cehost::res

using namespace cehost::res;

extern "C" {

HBITMAP WINAPI LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
    cehost::internal::ProfileScope profile(cehost::sim::FramePart::Bitmaps);
    Module* m = FindModule(instance);
    if (!m || !name) {
        SetLastError(m ? ERROR_INVALID_PARAMETER : ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    // Controls load their pictures by number, on every paint.
    const ResourceEntry* e = IS_INTRESOURCE(name)
                                 ? FindEntry(m, WORD(reinterpret_cast<uintptr_t>(RT_BITMAP)),
                                             WORD(reinterpret_cast<uintptr_t>(name)))
                                 : FindEntry(m, ResourceId::From(RT_BITMAP), ResourceId::From(name));
    if (!e) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const size_t index = size_t(e - m->resources.data());
    if (m->bitmaps.size() <= index) m->bitmaps.resize(m->resources.size());
    Module::Picture& picture = m->bitmaps[index];
    if (!picture.pixels) {
        cehost::gdi::DecodedImage image;
        std::string why;
        if (!cehost::gdi::DecodeDib(e->data, e->size, false, image, why)) {
            Report("bitmap resource", why);
            SetLastError(ERROR_INVALID_DATA);
            return nullptr;
        }
        auto pixels = cehost::gdi::MakeSharedPixels(image.width, image.height, image.pixels.data());
        if (!pixels) return nullptr;
        picture = Module::Picture{image.width, image.height, std::move(pixels)};
    }
    return cehost::gdi::CreateBitmapSharing(picture.width, picture.height, picture.pixels);
}

int WINAPI LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax) {
    if (!buffer) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (bufferMax > 0) buffer[0] = 0;
    Module* m = FindModule(instance);
    const ResourceEntry* e = m ? FindEntry(m, ResourceId::From(RT_STRING), ResourceId::From(MAKEINTRESOURCEW((id >> 4) + 1))) : nullptr;
    if (!e) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    // Sixteen length-prefixed strings per block.
    const uint8_t* p = e->data;
    const uint8_t* end = e->data + e->size;
    for (UINT slot = 0;; ++slot) {
        if (end - p < 2) {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return 0;
        }
        size_t length = U16(p);
        p += 2;
        if (size_t(end - p) / 2 < length) {
            Report("string resource", "string table block runs past its data");
            SetLastError(ERROR_INVALID_DATA);
            return 0;
        }
        if (slot == (id & 15)) {
            if (length == 0) {
                SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
                return 0;
            }
            // A zero buffer size asks for a read-only pointer to the resource text itself.
            if (bufferMax == 0) {
                *reinterpret_cast<const WCHAR**>(buffer) = reinterpret_cast<const WCHAR*>(p);
                return int(length);
            }
            if (bufferMax < 0) return 0;
            size_t n = std::min<size_t>(length, size_t(bufferMax) - 1);
            for (size_t i = 0; i < n; ++i) buffer[i] = WCHAR(U16(p + 2 * i));
            buffer[n] = 0;
            return int(n);
        }
        p += 2 * length;
    }
}

HACCEL WINAPI LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name) {
    static std::map<std::pair<HINSTANCE, const ResourceEntry*>, HACCEL> loaded;
    Module* m = FindModule(instance);
    const ResourceEntry* e = m && name ? FindEntry(m, ResourceId::From(RT_ACCELERATOR), ResourceId::From(name)) : nullptr;
    if (!e) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    auto key = std::make_pair(m->handle, e);
    if (auto it = loaded.find(key); it != loaded.end() && LookupAccel(it->second)) return it->second;
    auto table = std::make_unique<AccelTable>();
    table->shared = true;
    for (size_t at = 0; at + 8 <= e->size; at += 8) {
        const uint8_t* p = e->data + at;
        uint16_t flags = U16(p);
        table->entries.push_back(ACCEL{BYTE(flags & 0x7F), U16(p + 2), U16(p + 4)});
        if (flags & 0x80) break;
    }
    if (table->entries.empty()) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    HACCEL h = NewAccel(std::move(table));
    loaded[key] = h;
    return h;
}

HACCEL WINAPI CreateAcceleratorTableW(LPACCEL entries, int count) {
    if (!entries || count <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto table = std::make_unique<AccelTable>();
    table->entries.assign(entries, entries + count);
    return NewAccel(std::move(table));
}

BOOL WINAPI DestroyAcceleratorTable(HACCEL h) {
    AccelTable* t = LookupAccel(h);
    if (!t) {
        SetLastError(ERROR_INVALID_ACCEL_HANDLE);
        return FALSE;
    }
    if (t->shared) return TRUE;
    AccelTables()[(reinterpret_cast<uintptr_t>(h) & 0xFFFFFFu) - 1].reset();
    return TRUE;
}

int WINAPI CopyAcceleratorTableW(HACCEL h, LPACCEL entries, int count) {
    AccelTable* t = LookupAccel(h);
    if (!t) {
        SetLastError(ERROR_INVALID_ACCEL_HANDLE);
        return 0;
    }
    if (!entries) return int(t->entries.size());
    int n = std::min<int>(count, int(t->entries.size()));
    std::copy_n(t->entries.begin(), std::max(n, 0), entries);
    return std::max(n, 0);
}

} // extern "C"

extern "C" {

int WINAPI TranslateAcceleratorW(HWND hwnd, HACCEL table, LPMSG msg) {
    AccelTable* t = LookupAccel(table);
    if (!t || !msg) {
        SetLastError(t ? ERROR_INVALID_PARAMETER : ERROR_INVALID_ACCEL_HANDLE);
        return 0;
    }
    bool keyDown = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
    bool character = msg->message == WM_CHAR || msg->message == WM_SYSCHAR;
    if (!keyDown && !character) return 0;
    bool shift = GetKeyState(VK_SHIFT) < 0, control = GetKeyState(VK_CONTROL) < 0;
    bool alt = msg->message == WM_SYSKEYDOWN || msg->message == WM_SYSCHAR || GetKeyState(VK_MENU) < 0;
    for (const ACCEL& a : t->entries) {
        bool virtualKey = (a.fVirt & FVIRTKEY) != 0;
        if (virtualKey != keyDown) continue;
        if (virtualKey) {
            if (WPARAM(a.key) != msg->wParam || shift != ((a.fVirt & FSHIFT) != 0) ||
                control != ((a.fVirt & FCONTROL) != 0) || alt != ((a.fVirt & FALT) != 0))
                continue;
        } else {
            // A character entry matches the character itself; Alt must agree.
            if (WPARAM(a.key) != msg->wParam || alt != ((a.fVirt & FALT) != 0)) continue;
        }
        SendMessageW(hwnd ? hwnd : msg->hwnd, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
        return 1;
    }
    return 0;
}

} // extern "C"
