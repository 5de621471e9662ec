// Modules (the executable and shared libraries) as HINSTANCE handles, with the resources registered for them.
#pragma once

#include "res/ResourceFile.h"

#include "gdi/GdiObjects.h"

#include <map>
#include <optional>
#include <tuple>
#include <unordered_map>

namespace cehost::res {

struct Module {
    HINSTANCE handle = nullptr;
    std::string path;
    const void* base = nullptr; // load address, as dladdr reports it
    std::vector<uint8_t> bytes; // a copy of the registered .res data
    std::vector<ResourceEntry> resources;
    // Pictures decoded once, as a device keeps its resources in ROM: every load of the same bitmap resource
    // is a new handle onto these pixels. Dropped with the resources they were decoded from.
    struct Picture {
        int width = 0;
        int height = 0;
        gdi::SharedPixels pixels;
    };
    // By index in `resources`; a picture without pixels is one not decoded yet.
    std::vector<Picture> bitmaps;
    // Icons by group entry and the size asked for (0 x 0 for the image's own size).
    std::map<std::tuple<const ResourceEntry*, int, int>, Picture> icons;
    // FindEntry's answers for a numbered type and name in the preferred language (type << 16 | name), found
    // while the resource language was `foundLanguage`; null answers too. Every control's paint looks its
    // bitmaps up by number, and a module has hundreds of resources to search.
    std::unordered_map<uint32_t, const ResourceEntry*> found;
    LANGID foundLanguage = 0;
    // The last answers of `found`, by the name's low bits: a paint asks for the same few pictures again and
    // again, and this is one comparison where the map is a hash and a division.
    struct Recent {
        uint32_t key = 0;
        bool valid = false;
        const ResourceEntry* entry = nullptr;
    };
    static constexpr size_t kRecent = 64;
    Recent recent[kRecent];
    void ForgetFound() {
        found.clear();
        for (Recent& r : recent) r.valid = false;
    }
    // The resources were replaced or dropped: what was decoded and found from them goes.
    void ResourcesChanged() {
        bitmaps.clear();
        icons.clear();
        ForgetFound();
    }
};

// NULL means the executable. Fails (nullptr) for an unknown handle.
Module* FindModule(HINSTANCE instance);
// The entry for type and name, in the preferred language (or exactly `language`).
const ResourceEntry* FindEntry(Module* module, const ResourceId& type, const ResourceId& name,
                               std::optional<WORD> language = std::nullopt);
// The same for a numbered type and name, in the preferred language.
const ResourceEntry* FindEntry(Module* module, WORD type, WORD name);

} // namespace cehost::res
