// The compiled resource format (.res): a sequence of entries, each a header (sizes, type, name, language)
// followed by its data, every entry aligned on four bytes. Parsing never reads outside the given bytes; a
// malformed file is refused as a whole with the offset and reason of the first fault.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace cehost::res {

// A resource type or name: an ordinal, or a string kept upper-cased (lookups ignore case).
struct ResourceId {
    bool isOrdinal = true;
    WORD ordinal = 0;
    std::u16string name;

    static ResourceId From(LPCWSTR id);
    bool operator==(const ResourceId& o) const {
        return isOrdinal == o.isOrdinal && (isOrdinal ? ordinal == o.ordinal : name == o.name);
    }
};

struct ResourceEntry {
    ResourceId type;
    ResourceId name;
    WORD language = 0;
    const uint8_t* data = nullptr;
    uint32_t size = 0;
};

bool ParseResourceFile(const uint8_t* data, size_t size, std::vector<ResourceEntry>& entries, std::string& error);

} // namespace cehost::res
