// .res parsing, bounds-checked at every field.
#include "res/ResourceFile.h"

namespace cehost::res {

namespace {

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; }

// Reads a type or name field inside [p, end); advances p. False when it runs past end.
bool ReadId(const uint8_t*& p, const uint8_t* end, ResourceId& id) {
    if (end - p < 2) return false;
    if (U16(p) == 0xFFFF) {
        if (end - p < 4) return false;
        id.isOrdinal = true;
        id.ordinal = U16(p + 2);
        p += 4;
        return true;
    }
    id.isOrdinal = false;
    id.name.clear();
    while (true) {
        if (end - p < 2) return false;
        char16_t c = U16(p);
        p += 2;
        if (c == 0) return true;
        id.name += Upper(c);
    }
}

} // namespace

ResourceId ResourceId::From(LPCWSTR id) {
    ResourceId r;
    if (IS_INTRESOURCE(id)) {
        r.isOrdinal = true;
        r.ordinal = WORD(reinterpret_cast<uintptr_t>(id));
        return r;
    }
    // "#123" names the ordinal 123, as on Windows.
    if (id[0] == u'#') {
        unsigned value = 0;
        bool digits = id[1] != 0;
        for (const WCHAR* p = id + 1; *p; ++p) {
            if (*p < u'0' || *p > u'9' || value > 65535) {
                digits = false;
                break;
            }
            value = value * 10 + unsigned(*p - u'0');
        }
        if (digits && value <= 65535) {
            r.isOrdinal = true;
            r.ordinal = WORD(value);
            return r;
        }
    }
    r.isOrdinal = false;
    for (const WCHAR* p = id; *p; ++p) r.name += Upper(*p);
    return r;
}

bool ParseResourceFile(const uint8_t* data, size_t size, std::vector<ResourceEntry>& entries, std::string& error) {
    entries.clear();
    if (!data && size) {
        error = "no data";
        return false;
    }
    size_t offset = 0;
    int index = 0;
    auto fail = [&](const std::string& why) {
        error = "entry " + std::to_string(index) + " at offset " + std::to_string(offset) + ": " + why;
        entries.clear();
        return false;
    };
    while (offset < size) {
        // Padding at the very end (fewer bytes than a header) is tolerated only if it is zero.
        if (size - offset < 8) {
            for (size_t i = offset; i < size; ++i)
                if (data[i] != 0) return fail("trailing bytes after the last entry");
            break;
        }
        const uint8_t* entry = data + offset;
        uint32_t dataSize = U32(entry);
        uint32_t headerSize = U32(entry + 4);
        if (headerSize < 0x20 || headerSize % 4 != 0)
            return fail("header size " + std::to_string(headerSize) + " is invalid");
        if (headerSize > size - offset) return fail("header runs past the end of the data");
        if (dataSize > size - offset - headerSize)
            return fail("data size " + std::to_string(dataSize) + " runs past the end of the data");
        const uint8_t* p = entry + 8;
        const uint8_t* headerEnd = entry + headerSize;
        ResourceEntry e;
        if (!ReadId(p, headerEnd, e.type)) return fail("type runs past the header");
        if (!ReadId(p, headerEnd, e.name)) return fail("name runs past the header");
        if ((p - entry) % 4) p += 4 - (p - entry) % 4;
        if (headerEnd - p < 16) return fail("header too short for its fixed fields");
        e.language = U16(p + 6);
        e.data = entry + headerSize;
        e.size = dataSize;
        // The first entry of every file is an empty marker.
        bool marker = dataSize == 0 && e.type.isOrdinal && e.type.ordinal == 0;
        if (!marker) entries.push_back(e);
        size_t next = size_t(headerSize) + dataSize;
        next = (next + 3) & ~size_t(3);
        offset = next > size - offset ? size : offset + next;
        ++index;
    }
    return true;
}

} // namespace cehost::res
