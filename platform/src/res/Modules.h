// Modules (the executable and shared libraries) as HINSTANCE handles, with the resources registered for them.
#pragma once

#include "res/ResourceFile.h"

#include <optional>

namespace cehost::res {

struct Module {
    HINSTANCE handle = nullptr;
    std::string path;
    const void* base = nullptr; // load address, as dladdr reports it
    std::vector<uint8_t> bytes; // a copy of the registered .res data
    std::vector<ResourceEntry> resources;
};

// NULL means the executable. Fails (nullptr) for an unknown handle.
Module* FindModule(HINSTANCE instance);
// The entry for type and name, in the preferred language (or exactly `language`).
const ResourceEntry* FindEntry(Module* module, const ResourceId& type, const ResourceId& name,
                               std::optional<WORD> language = std::nullopt);

} // namespace cehost::res
