// Menus as data: MENU and MENUEX resources parsed (bounds-checked) into menu objects, menus built by hand, and
// the queries a menu's owner draws it from. Showing and tracking a menu (TrackPopupMenu) is not provided;
// the soft-key menu bar draws its own pop-ups.
#include "res/Modules.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace cehost::res {

namespace {

struct MenuItem {
    UINT type = MFT_STRING; // MFT_SEPARATOR, MFT_RADIOCHECK, MFT_OWNERDRAW, MF_MENUBREAK ...
    UINT state = 0;         // MFS_GRAYED, MFS_CHECKED, MFS_HILITE, MFS_DEFAULT
    UINT id = 0;
    HMENU sub = nullptr;
    ULONG_PTR data = 0;
    std::u16string text;
};

struct Menu {
    std::vector<MenuItem> items;
};

constexpr uintptr_t kMenuTag = 0x38000000u;

struct Slot {
    std::unique_ptr<Menu> menu;
    uint8_t generation = 1;
};

std::vector<Slot>& Slots() {
    static std::vector<Slot> slots;
    return slots;
}

HMENU NewMenu() {
    auto& slots = Slots();
    size_t i = 0;
    while (i < slots.size() && slots[i].menu) ++i;
    if (i == slots.size()) {
        if (slots.size() >= 0xFFFF) return nullptr;
        slots.emplace_back();
    }
    slots[i].menu = std::make_unique<Menu>();
    return reinterpret_cast<HMENU>(kMenuTag | uintptr_t(slots[i].generation) << 16 | (i + 1));
}

Menu* LookupMenu(HMENU h) {
    uintptr_t v = reinterpret_cast<uintptr_t>(h);
    if ((v & 0xFF000000u) != kMenuTag) return nullptr;
    size_t i = (v & 0xFFFF) - 1;
    auto& slots = Slots();
    if (i >= slots.size() || !slots[i].menu || slots[i].generation != ((v >> 16) & 0xFF)) return nullptr;
    return slots[i].menu.get();
}

void Free(HMENU h) {
    Menu* m = LookupMenu(h);
    if (!m) return;
    for (MenuItem& item : m->items)
        if (item.sub) Free(item.sub);
    Slot& s = Slots()[(reinterpret_cast<uintptr_t>(h) & 0xFFFF) - 1];
    s.menu.reset();
    s.generation = uint8_t(s.generation + 1);
    if (s.generation == 0) s.generation = 1;
}

// The menu and index of an item, by position or (searching pop-ups too) by command.
bool Locate(HMENU h, UINT item, UINT flags, Menu*& menu, size_t& index) {
    Menu* m = LookupMenu(h);
    if (!m) return false;
    if (flags & MF_BYPOSITION) {
        if (item >= m->items.size()) return false;
        menu = m;
        index = item;
        return true;
    }
    for (size_t i = 0; i < m->items.size(); ++i) {
        if (!m->items[i].sub && m->items[i].id == item && !(m->items[i].type & MFT_SEPARATOR)) {
            menu = m;
            index = i;
            return true;
        }
        if (m->items[i].sub && Locate(m->items[i].sub, item, flags, menu, index)) return true;
    }
    return false;
}

MenuItem ItemFromFlags(UINT flags, UINT_PTR idOrPopup, LPCWSTR text) {
    MenuItem item;
    item.type = flags & (MF_SEPARATOR | MF_OWNERDRAW | MF_MENUBREAK | MF_MENUBARBREAK | MFT_RADIOCHECK);
    item.state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
    if (flags & MF_POPUP)
        item.sub = reinterpret_cast<HMENU>(idOrPopup);
    else
        item.id = UINT(idOrPopup);
    if (flags & MF_OWNERDRAW)
        item.data = reinterpret_cast<ULONG_PTR>(text);
    else if (text && !(flags & MF_SEPARATOR))
        item.text = text;
    return item;
}

// Reads MENU / MENUEX data.
class MenuReader {
public:
    MenuReader(const uint8_t* data, size_t size) : m_p(data), m_end(data + size), m_begin(data) {}

    HMENU Read(std::string& error) {
        uint16_t version, offset;
        if (!Word(version) || !Word(offset)) return Fail(error, "menu header truncated");
        HMENU menu = nullptr;
        if (version == 0) {
            if (!Skip(offset)) return Fail(error, "menu header size runs past the data");
            menu = Standard(error, 0);
        } else if (version == 1) {
            // The items start `offset` bytes after the offset field.
            m_p = m_begin + 4;
            if (!Skip(offset)) return Fail(error, "menu item offset runs past the data");
            menu = Extended(error, 0);
        } else {
            return Fail(error, "menu version " + std::to_string(version) + " is unknown");
        }
        return menu;
    }

private:
    HMENU Fail(std::string& error, const std::string& why) {
        if (error.empty()) error = why;
        return nullptr;
    }
    bool Word(uint16_t& w) {
        if (m_end - m_p < 2) return false;
        w = uint16_t(m_p[0] | m_p[1] << 8);
        m_p += 2;
        return true;
    }
    bool Dword(uint32_t& d) {
        uint16_t lo, hi;
        if (!Word(lo) || !Word(hi)) return false;
        d = uint32_t(lo) | uint32_t(hi) << 16;
        return true;
    }
    bool Skip(size_t n) {
        if (size_t(m_end - m_p) < n) return false;
        m_p += n;
        return true;
    }
    bool Text(std::u16string& s) {
        uint16_t c;
        s.clear();
        while (Word(c)) {
            if (!c) return true;
            s += char16_t(c);
        }
        return false;
    }
    // Padding after the last item may lie beyond the data, which ends with the text.
    bool AlignDword() {
        size_t at = size_t(m_p - m_begin);
        m_p += std::min((4 - at % 4) % 4, size_t(m_end - m_p));
        return true;
    }

    HMENU Standard(std::string& error, int depth) {
        if (depth > 16) return Fail(error, "menu nests too deep");
        HMENU menu = NewMenu();
        if (!menu) return Fail(error, "too many menus");
        while (true) {
            uint16_t flags, id = 0;
            MenuItem item;
            if (!Word(flags) || (!(flags & MF_POPUP) && !Word(id)) || !Text(item.text)) {
                Free(menu);
                return Fail(error, "menu item runs past the data");
            }
            item.type = flags & (MF_MENUBREAK | MF_MENUBARBREAK | MF_OWNERDRAW);
            item.state = flags & (MF_GRAYED | MF_CHECKED);
            if (flags & MF_POPUP) {
                item.sub = Standard(error, depth + 1);
                if (!item.sub) {
                    Free(menu);
                    return nullptr;
                }
            } else {
                item.id = id;
                // MENUITEM SEPARATOR is stored as an empty item with no flags and no id.
                if (flags == 0 && id == 0 && item.text.empty()) item.type = MFT_SEPARATOR;
            }
            LookupMenu(menu)->items.push_back(std::move(item));
            if (flags & MF_END) return menu;
        }
    }

    HMENU Extended(std::string& error, int depth) {
        if (depth > 16) return Fail(error, "menu nests too deep");
        HMENU menu = NewMenu();
        if (!menu) return Fail(error, "too many menus");
        while (true) {
            uint32_t type, state, id, helpId;
            uint16_t flags;
            MenuItem item;
            if (!Dword(type) || !Dword(state) || !Dword(id) || !Word(flags) || !Text(item.text) || !AlignDword()) {
                Free(menu);
                return Fail(error, "menu item runs past the data");
            }
            item.type = type;
            item.state = state;
            item.id = id;
            if (flags & 0x01) {
                if (!Dword(helpId)) {
                    Free(menu);
                    return Fail(error, "menu item runs past the data");
                }
                item.sub = Extended(error, depth + 1);
                if (!item.sub) {
                    Free(menu);
                    return nullptr;
                }
            }
            LookupMenu(menu)->items.push_back(std::move(item));
            if (flags & 0x80) return menu;
        }
    }

    const uint8_t* m_p;
    const uint8_t* m_end;
    const uint8_t* m_begin;
};

} // namespace

} // namespace cehost::res

using namespace cehost::res;

extern "C" {

HMENU WINAPI LoadMenuW(HINSTANCE instance, LPCWSTR name) {
    Module* m = FindModule(instance);
    const ResourceEntry* e = m && name ? FindEntry(m, ResourceId::From(RT_MENU), ResourceId::From(name)) : nullptr;
    if (!e) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    std::string error;
    HMENU menu = MenuReader(e->data, e->size).Read(error);
    if (!menu) {
        std::fprintf(stderr, "cehost: menu resource: %s\n", error.c_str());
        SetLastError(ERROR_INVALID_DATA);
    }
    return menu;
}

HMENU WINAPI CreateMenu(void) { return NewMenu(); }
HMENU WINAPI CreatePopupMenu(void) { return NewMenu(); }

BOOL WINAPI DestroyMenu(HMENU menu) {
    if (!LookupMenu(menu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    Free(menu);
    return TRUE;
}

BOOL WINAPI IsMenu(HMENU menu) { return LookupMenu(menu) != nullptr; }

BOOL WINAPI InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCWSTR text) {
    Menu* m = LookupMenu(menu);
    if (!m || ((flags & MF_POPUP) && !LookupMenu(reinterpret_cast<HMENU>(idOrPopup)))) {
        SetLastError(m ? ERROR_INVALID_PARAMETER : ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    size_t at = m->items.size();
    if (position != UINT(-1)) {
        Menu* owner = nullptr;
        size_t index = 0;
        if (Locate(menu, position, flags, owner, index)) {
            m = owner;
            at = index;
        } else if (!(flags & MF_BYPOSITION)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
    }
    m->items.insert(m->items.begin() + ptrdiff_t(at), ItemFromFlags(flags, idOrPopup, text));
    return TRUE;
}

BOOL WINAPI AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCWSTR text) {
    return InsertMenuW(menu, UINT(-1), flags | MF_BYPOSITION, idOrPopup, text);
}

BOOL WINAPI RemoveMenu(HMENU menu, UINT position, UINT flags) {
    Menu* owner = nullptr;
    size_t index = 0;
    if (!Locate(menu, position, flags, owner, index)) {
        SetLastError(LookupMenu(menu) ? ERROR_INVALID_PARAMETER : ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    owner->items.erase(owner->items.begin() + ptrdiff_t(index));
    return TRUE;
}

BOOL WINAPI DeleteMenu(HMENU menu, UINT position, UINT flags) {
    Menu* owner = nullptr;
    size_t index = 0;
    if (!Locate(menu, position, flags, owner, index)) {
        SetLastError(LookupMenu(menu) ? ERROR_INVALID_PARAMETER : ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    HMENU sub = owner->items[index].sub;
    owner->items.erase(owner->items.begin() + ptrdiff_t(index));
    if (sub) Free(sub);
    return TRUE;
}

int WINAPI GetMenuItemCount(HMENU menu) {
    Menu* m = LookupMenu(menu);
    if (!m) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return -1;
    }
    return int(m->items.size());
}

UINT WINAPI GetMenuItemID(HMENU menu, int position) {
    Menu* m = LookupMenu(menu);
    if (!m || position < 0 || size_t(position) >= m->items.size() || m->items[size_t(position)].sub) return UINT(-1);
    return m->items[size_t(position)].id;
}

HMENU WINAPI GetSubMenu(HMENU menu, int position) {
    Menu* m = LookupMenu(menu);
    if (!m || position < 0 || size_t(position) >= m->items.size()) return nullptr;
    return m->items[size_t(position)].sub;
}

int WINAPI GetMenuStringW(HMENU menu, UINT item, LPWSTR text, int max, UINT flags) {
    Menu* owner = nullptr;
    size_t index = 0;
    if (!Locate(menu, item, flags, owner, index)) return 0;
    const std::u16string& s = owner->items[index].text;
    if (!text || max <= 0) return int(s.size());
    int n = std::min<int>(max - 1, int(s.size()));
    std::copy_n(s.begin(), n, text);
    text[n] = 0;
    return n;
}

UINT WINAPI GetMenuState(HMENU menu, UINT item, UINT flags) {
    Menu* owner = nullptr;
    size_t index = 0;
    if (!Locate(menu, item, flags, owner, index)) return UINT(-1);
    const MenuItem& it = owner->items[index];
    UINT state = it.type | it.state;
    if (it.sub) {
        Menu* sub = LookupMenu(it.sub);
        // A pop-up reports its item count in the high byte.
        state = (state & 0xFF) | MF_POPUP | (UINT(sub ? sub->items.size() : 0) << 8);
    }
    return state;
}

BOOL WINAPI GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOW info) {
    Menu* owner = nullptr;
    size_t index = 0;
    if (!info || !Locate(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, owner, index)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const MenuItem& it = owner->items[index];
    if (info->fMask & MIIM_STATE) info->fState = it.state;
    if (info->fMask & MIIM_ID) info->wID = it.id;
    if (info->fMask & MIIM_SUBMENU) info->hSubMenu = it.sub;
    if (info->fMask & MIIM_DATA) info->dwItemData = it.data;
    if (info->fMask & MIIM_TYPE) {
        info->fType = it.type;
        if (!(it.type & (MFT_SEPARATOR | MFT_OWNERDRAW))) {
            if (info->dwTypeData && info->cch > 0) {
                UINT n = std::min<UINT>(info->cch - 1, UINT(it.text.size()));
                std::copy_n(it.text.begin(), n, info->dwTypeData);
                info->dwTypeData[n] = 0;
            }
            info->cch = UINT(it.text.size());
        }
    }
    return TRUE;
}

BOOL WINAPI SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info) {
    Menu* owner = nullptr;
    size_t index = 0;
    if (!info || !Locate(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, owner, index)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    MenuItem& it = owner->items[index];
    if (info->fMask & MIIM_STATE) it.state = info->fState;
    if (info->fMask & MIIM_ID) it.id = info->wID;
    if (info->fMask & MIIM_SUBMENU) it.sub = info->hSubMenu;
    if (info->fMask & MIIM_DATA) it.data = info->dwItemData;
    if (info->fMask & MIIM_TYPE) {
        it.type = info->fType;
        it.text = !(it.type & (MFT_SEPARATOR | MFT_OWNERDRAW)) && info->dwTypeData ? info->dwTypeData : u"";
    }
    return TRUE;
}

DWORD WINAPI CheckMenuItem(HMENU menu, UINT item, UINT check) {
    Menu* owner = nullptr;
    size_t index = 0;
    if (!Locate(menu, item, check, owner, index)) return DWORD(-1);
    MenuItem& it = owner->items[index];
    DWORD previous = it.state & MF_CHECKED;
    it.state = (it.state & ~UINT(MF_CHECKED)) | (check & MF_CHECKED);
    return previous;
}

BOOL WINAPI EnableMenuItem(HMENU menu, UINT item, UINT enable) {
    Menu* owner = nullptr;
    size_t index = 0;
    if (!Locate(menu, item, enable, owner, index)) return -1;
    MenuItem& it = owner->items[index];
    BOOL previous = BOOL(it.state & (MF_GRAYED | MF_DISABLED));
    it.state = (it.state & ~UINT(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return previous;
}

BOOL WINAPI CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags) {
    bool found = false;
    for (UINT i = first; i <= last && i >= first; ++i) {
        Menu* owner = nullptr;
        size_t index = 0;
        if (!Locate(menu, i, flags, owner, index)) continue;
        MenuItem& it = owner->items[index];
        if (i == check) {
            it.state |= MF_CHECKED;
            it.type |= MFT_RADIOCHECK;
            found = true;
        } else {
            it.state &= ~UINT(MF_CHECKED);
        }
    }
    return found;
}

} // extern "C"
