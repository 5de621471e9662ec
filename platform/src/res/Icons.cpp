// Icons: icon groups from a module's resources or .ico files, chosen by size and depth, drawn with their mask
// or alpha channel. Animated and colour cursors are not provided (IMAGE_CURSOR loads like an icon).
#include "gdi/Draw.h"
#include "gdi/ImageDecode.h"
#include "res/Modules.h"
#include "internal/profile.h"

#include <cstdio>
#include <cstdlib>

namespace cehost::res {

bool ReadFile(LPCWSTR name, std::vector<uint8_t>& bytes);

namespace {

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

constexpr int kDefaultIconSize = 32;
constexpr uintptr_t kIconTag = 0x20000000u;

struct Icon {
    int width = 0;
    int height = 0;
    gdi::SharedPixels pixels; // top-down 0xAARRGGBB; alpha 0 is transparent; shared by loads of one resource
    bool shared = false;
};

std::vector<std::unique_ptr<Icon>>& Icons() {
    static std::vector<std::unique_ptr<Icon>> icons;
    return icons;
}

Icon* LookupIcon(HICON h) {
    uintptr_t v = reinterpret_cast<uintptr_t>(h);
    if ((v & 0xFF000000u) != kIconTag) return nullptr;
    size_t i = (v & 0xFFFFFFu) - 1;
    return i < Icons().size() ? Icons()[i].get() : nullptr;
}

HICON NewIcon(std::unique_ptr<Icon> icon) {
    auto& icons = Icons();
    for (size_t i = 0; i < icons.size(); ++i)
        if (!icons[i]) {
            icons[i] = std::move(icon);
            return reinterpret_cast<HICON>(kIconTag | (i + 1));
        }
    icons.push_back(std::move(icon));
    return reinterpret_cast<HICON>(kIconTag | icons.size());
}

// One image of a group: its size and depth as the directory states them, and where its data is.
struct IconChoice {
    int width = 0, height = 0, bits = 0;
    const uint8_t* data = nullptr;
    size_t size = 0;
};

// The image closest to the wanted size, the deepest among equals.
const IconChoice* Best(const std::vector<IconChoice>& choices, int wantW, int wantH) {
    const IconChoice* best = nullptr;
    long bestScore = 0;
    for (const IconChoice& c : choices) {
        long score = std::labs(long(c.width) - wantW) + std::labs(long(c.height) - wantH);
        score = score * 64 - c.bits;
        if (!best || score < bestScore) {
            best = &c;
            bestScore = score;
        }
    }
    return best;
}

std::unique_ptr<Icon> DecodeIcon(const IconChoice& c, int wantW, int wantH, std::string& why) {
    gdi::DecodedImage image;
    bool ok = gdi::IsPng(c.data, c.size) ? gdi::DecodePng(c.data, c.size, image, why)
                                         : gdi::DecodeDib(c.data, c.size, true, image, why);
    if (!ok) return nullptr;
    auto icon = std::make_unique<Icon>();
    int w = wantW > 0 ? wantW : image.width, h = wantH > 0 ? wantH : image.height;
    icon->width = w;
    icon->height = h;
    auto pixels = std::make_shared<gdi::SharedPicture>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int sx = x * image.width / w, sy = y * image.height / h;
            size_t i = size_t(sy) * image.width + sx;
            uint32_t p = image.pixels[i];
            if (!image.hasAlpha) p = (image.mask.empty() || !image.mask[i]) ? (p | 0xFF000000u) : 0u;
            pixels->pixels[size_t(y) * w + x] = p;
        }
    icon->pixels = std::move(pixels);
    return icon;
}

HICON IconFromGroup(Module* m, LPCWSTR name, int wantW, int wantH, bool shared) {
    const ResourceEntry* group = FindEntry(m, ResourceId::From(RT_GROUP_ICON), ResourceId::From(name));
    if (!group) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    if (group->size < 6) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    // A group is decoded once per size asked for; each load is a new handle onto those pixels.
    auto key = std::make_tuple(group, wantW, wantH);
    if (auto cached = m->icons.find(key); cached != m->icons.end()) {
        auto icon = std::make_unique<Icon>();
        icon->width = cached->second.width;
        icon->height = cached->second.height;
        icon->pixels = cached->second.pixels;
        icon->shared = shared;
        return NewIcon(std::move(icon));
    }
    size_t count = U16(group->data + 4);
    std::vector<IconChoice> choices;
    for (size_t i = 0; i < count && 6 + (i + 1) * 14 <= group->size; ++i) {
        const uint8_t* e = group->data + 6 + i * 14;
        const ResourceEntry* image =
            FindEntry(m, ResourceId::From(RT_ICON), ResourceId::From(MAKEINTRESOURCEW(U16(e + 12))), group->language);
        if (!image) image = FindEntry(m, ResourceId::From(RT_ICON), ResourceId::From(MAKEINTRESOURCEW(U16(e + 12))));
        if (!image) continue;
        choices.push_back({e[0] ? e[0] : 256, e[1] ? e[1] : 256, U16(e + 6), image->data, image->size});
    }
    const IconChoice* best = Best(choices, wantW ? wantW : kDefaultIconSize, wantH ? wantH : kDefaultIconSize);
    std::string why = "icon group has no images";
    std::unique_ptr<Icon> icon = best ? DecodeIcon(*best, wantW, wantH, why) : nullptr;
    if (!icon) {
        std::fprintf(stderr, "cehost: icon resource: %s\n", why.c_str());
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    m->icons[key] = Module::Picture{icon->width, icon->height, icon->pixels};
    icon->shared = shared;
    return NewIcon(std::move(icon));
}

HICON IconFromFile(LPCWSTR path, int wantW, int wantH) {
    std::vector<uint8_t> bytes;
    if (!ReadFile(path, bytes)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    if (bytes.size() < 6 || U16(bytes.data()) != 0 || (U16(bytes.data() + 2) != 1 && U16(bytes.data() + 2) != 2)) {
        SetLastError(ERROR_BAD_FORMAT);
        return nullptr;
    }
    size_t count = U16(bytes.data() + 4);
    std::vector<IconChoice> choices;
    for (size_t i = 0; i < count && 6 + (i + 1) * 16 <= bytes.size(); ++i) {
        const uint8_t* e = bytes.data() + 6 + i * 16;
        uint32_t size = U32(e + 8), offset = U32(e + 12);
        if (offset > bytes.size() || size > bytes.size() - offset) continue;
        choices.push_back({e[0] ? e[0] : 256, e[1] ? e[1] : 256, U16(e + 6), bytes.data() + offset, size});
    }
    const IconChoice* best = Best(choices, wantW ? wantW : kDefaultIconSize, wantH ? wantH : kDefaultIconSize);
    std::string why = ".ico file has no usable image";
    std::unique_ptr<Icon> icon = best ? DecodeIcon(*best, wantW, wantH, why) : nullptr;
    if (!icon) {
        std::fprintf(stderr, "cehost: icon file: %s\n", why.c_str());
        SetLastError(ERROR_BAD_FORMAT);
        return nullptr;
    }
    return NewIcon(std::move(icon));
}

uint32_t BlendPixel(uint32_t dst, uint32_t src) {
    unsigned a = src >> 24;
    if (a == 255) return src;
    unsigned ia = 255 - a;
    auto ch = [&](int shift) { return ((((src >> shift) & 0xFF) * a + ((dst >> shift) & 0xFF) * ia + 127) / 255) << shift; };
    return 0xFF000000u | ch(16) | ch(8) | ch(0);
}

} // namespace

} // namespace cehost::res

using namespace cehost::res;

extern "C" {

HICON WINAPI LoadIconW(HINSTANCE instance, LPCWSTR name) {
    // Loaded icons are shared: the same handle for the same resource, never destroyed.
    static std::vector<std::pair<std::pair<HINSTANCE, const ResourceEntry*>, HICON>> loaded;
    Module* m = FindModule(instance);
    if (!m || !name || (!instance && IS_INTRESOURCE(name) && reinterpret_cast<uintptr_t>(name) >= 32512)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const ResourceEntry* group = FindEntry(m, ResourceId::From(RT_GROUP_ICON), ResourceId::From(name));
    for (auto& [key, icon] : loaded)
        if (key.first == m->handle && key.second == group && group) return icon;
    HICON icon = IconFromGroup(m, name, 0, 0, true);
    if (icon) loaded.push_back({{m->handle, group}, icon});
    return icon;
}

HANDLE WINAPI LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT flags) {
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (flags & LR_DEFAULTSIZE) {
        if (!width) width = kDefaultIconSize;
        if (!height) height = kDefaultIconSize;
    }
    if (type == IMAGE_BITMAP) {
        if (!(flags & LR_LOADFROMFILE)) return LoadBitmapW(instance, name);
        std::vector<uint8_t> bytes;
        if (!ReadFile(name, bytes)) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return nullptr;
        }
        cehost::gdi::DecodedImage image;
        std::string why;
        if (!cehost::gdi::DecodeBmpFile(bytes.data(), bytes.size(), image, why)) {
            std::fprintf(stderr, "cehost: bitmap file: %s\n", why.c_str());
            SetLastError(ERROR_BAD_FORMAT);
            return nullptr;
        }
        return cehost::gdi::CreateBitmapFromPixels(image.width, image.height, image.pixels.data());
    }
    if (type == IMAGE_ICON || type == IMAGE_CURSOR) {
        if (flags & LR_LOADFROMFILE) return IconFromFile(name, width, height);
        Module* m = FindModule(instance);
        if (!m) {
            SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
            return nullptr;
        }
        return IconFromGroup(m, name, width, height, (flags & LR_SHARED) != 0);
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
}

BOOL WINAPI DestroyIcon(HICON h) {
    Icon* icon = LookupIcon(h);
    if (!icon) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return FALSE;
    }
    if (icon->shared) return TRUE;
    Icons()[(reinterpret_cast<uintptr_t>(h) & 0xFFFFFFu) - 1].reset();
    return TRUE;
}

BOOL WINAPI DrawIconEx(HDC hdc, int x, int y, HICON h, int width, int height, UINT, HBRUSH flickerFree, UINT flags) {
    cehost::internal::ProfileScope profile(cehost::sim::FramePart::Blits);
    Icon* icon = LookupIcon(h);
    cehost::gdi::DrawTarget t;
    if (!icon) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return FALSE;
    }
    if (!cehost::gdi::BeginDraw(hdc, t)) return FALSE;
    if (width == 0) width = (flags & DI_DEFAULTSIZE) ? kDefaultIconSize : icon->width;
    if (height == 0) height = (flags & DI_DEFAULTSIZE) ? kDefaultIconSize : icon->height;
    if (flickerFree) {
        RECT r{x, y, x + width, y + height};
        FillRect(hdc, &r, flickerFree);
    }
    if ((flags & DI_NORMAL) == 0) flags |= DI_NORMAL;
    for (int dy = 0; dy < height; ++dy)
        for (int dx = 0; dx < width; ++dx) {
            LONG px = x + dx + t.offset.x, py = y + dy + t.offset.y;
            if (!cehost::gdi::InClip(t, px, py)) continue;
            uint32_t src = icon->pixels->pixels[size_t(dy * icon->height / height) * icon->width + size_t(dx * icon->width / width)];
            uint32_t& dst = t.surface->Row(int(py))[px];
            if ((flags & DI_NORMAL) == DI_NORMAL)
                dst = BlendPixel(dst, src);
            else if (flags & DI_MASK)
                dst = (src >> 24) ? 0xFF000000u : 0xFFFFFFFFu;
            else
                dst = src | 0xFF000000u;
        }
    return TRUE;
}

BOOL WINAPI DrawIcon(HDC hdc, int x, int y, HICON icon) { return DrawIconEx(hdc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL); }

BOOL WINAPI GetIconInfo(HICON h, PICONINFO info) {
    Icon* icon = LookupIcon(h);
    if (!icon || !info) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return FALSE;
    }
    const std::vector<uint32_t>& pixels = icon->pixels->pixels;
    std::vector<uint32_t> mask(pixels.size());
    for (size_t i = 0; i < mask.size(); ++i) mask[i] = (pixels[i] >> 24) ? 0xFF000000u : 0xFFFFFFFFu;
    info->fIcon = TRUE;
    info->xHotspot = DWORD(icon->width / 2);
    info->yHotspot = DWORD(icon->height / 2);
    info->hbmColor = cehost::gdi::CreateBitmapFromPixels(icon->width, icon->height, pixels.data());
    info->hbmMask = cehost::gdi::CreateBitmapFromPixels(icon->width, icon->height, mask.data());
    return TRUE;
}

} // extern "C"
