// Module handles, resource registration and lookup: FindResourceW and friends, GetModuleHandleW, and the
// process-attach entry of shared libraries.
#include "res/Modules.h"

#include <cehost/sim/gdi.h>

#include <dlfcn.h>
#include <link.h>
#include <sys/auxv.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>
#include <memory>
#include <span>

namespace cehost::res {

namespace {

// HINSTANCE values look like Windows load addresses and fit in 32 bits.
constexpr uintptr_t kModuleBase = 0x00400000u;
constexpr uintptr_t kModuleStep = 0x00010000u;
constexpr uintptr_t kResourceTag = 0x30000000u;
constexpr DWORD kErrorModNotFound = 126; // ERROR_MOD_NOT_FOUND

LANGID g_language = MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN);

std::vector<std::unique_ptr<Module>>& Modules() {
    static std::vector<std::unique_ptr<Module>> modules;
    return modules;
}

Module* ModuleAt(const void* address) {
    Dl_info info{};
    if (!address || !dladdr(address, &info) || !info.dli_fbase) return nullptr;
    for (auto& m : Modules())
        if (m->base == info.dli_fbase) return m.get();
    if (Modules().size() >= 0x800) return nullptr;
    auto m = std::make_unique<Module>();
    m->base = info.dli_fbase;
    m->path = info.dli_fname ? info.dli_fname : "";
    m->handle = reinterpret_cast<HINSTANCE>(kModuleBase + kModuleStep * Modules().size());
    Modules().push_back(std::move(m));
    return Modules().back().get();
}

// Found once; modules are never dropped, so a pointer to one stays good.
Module* g_executable = nullptr;
bool g_executableSought = false;
// The module FindModule found last: a program asks for its own, or its library's, over and over.
Module* g_lastFound = nullptr;

Module* Executable() {
    if (g_executableSought) return g_executable;
    g_executableSought = true;
    Module* m = ModuleAt(reinterpret_cast<const void*>(getauxval(AT_PHDR)));
    if (m) {
        char path[4096];
        ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
        if (n > 0) m->path.assign(path, size_t(n));
    }
    g_executable = m;
    return m;
}

// "libLxLibrary.so.1", "LxLibrary.dll" and "lxlibrary" all name the same module.
std::string CanonicalName(std::string name) {
    size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    for (const char* ext : {".so", ".dll", ".exe"}) {
        size_t at = name.find(ext);
        if (at != std::string::npos && at > 0) {
            name.erase(at);
            break;
        }
    }
    if (name.rfind("lib", 0) == 0 && name.size() > 3) name.erase(0, 3);
    return name;
}

std::string Narrow(LPCWSTR s) {
    std::string out;
    for (; s && *s; ++s) out += *s < 0x80 ? char(*s) : '?';
    return out;
}

} // namespace

Module* FindModule(HINSTANCE instance) {
    if (!instance) return Executable();
    if (g_lastFound && g_lastFound->handle == instance) return g_lastFound;
    for (auto& m : Modules())
        if (m->handle == instance) return g_lastFound = m.get();
    return nullptr;
}

namespace {

const ResourceEntry* Search(Module* module, const ResourceId& type, const ResourceId& name,
                            std::optional<WORD> language) {
    // Every bitmap a control paints comes through here, so the usual few candidates (one per language) are
    // kept without allocating.
    const ResourceEntry* few[8];
    size_t count = 0;
    std::vector<const ResourceEntry*> more;
    for (const ResourceEntry& e : module->resources)
        if (e.type == type && e.name == name) {
            if (count < std::size(few))
                few[count++] = &e;
            else
                more.push_back(&e);
        }
    if (count == 0) return nullptr;
    if (!more.empty()) more.insert(more.begin(), few, few + count);
    const std::span<const ResourceEntry* const> candidates =
        more.empty() ? std::span<const ResourceEntry* const>(few, count) : std::span<const ResourceEntry* const>(more);
    auto with = [&](WORD lang) -> const ResourceEntry* {
        for (const ResourceEntry* e : candidates)
            if (e->language == lang) return e;
        return nullptr;
    };
    if (language && *language != 0) return with(*language);
    const WORD preferred[] = {g_language, WORD(MAKELANGID(PRIMARYLANGID(g_language), SUBLANG_NEUTRAL)),
                              WORD(MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)), WORD(MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT)),
                              WORD(MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT)), WORD(MAKELANGID(LANG_ENGLISH, SUBLANG_NEUTRAL))};
    for (WORD lang : preferred)
        if (const ResourceEntry* e = with(lang)) return e;
    // Then the same primary language in any sub-language, then whatever there is.
    for (const ResourceEntry* e : candidates)
        if (PRIMARYLANGID(e->language) == PRIMARYLANGID(g_language)) return e;
    return candidates.front();
}

} // namespace

const ResourceEntry* FindEntry(Module* module, const ResourceId& type, const ResourceId& name,
                               std::optional<WORD> language) {
    if (!module) return nullptr;
    if (language || !type.isOrdinal || !name.isOrdinal) return Search(module, type, name, language);
    return FindEntry(module, type.ordinal, name.ordinal);
}

const ResourceEntry* FindEntry(Module* module, WORD type, WORD name) {
    if (!module) return nullptr;
    if (module->foundLanguage != g_language) {
        module->ForgetFound();
        module->foundLanguage = g_language;
    }
    const uint32_t key = uint32_t(type) << 16 | name;
    Module::Recent& recent = module->recent[(name ^ type * 7u) % Module::kRecent];
    if (recent.valid && recent.key == key) return recent.entry;
    const ResourceEntry* e;
    if (auto at = module->found.find(key); at != module->found.end()) {
        e = at->second;
    } else {
        ResourceId t, n;
        t.ordinal = type;
        n.ordinal = name;
        e = Search(module, t, n, std::nullopt);
        module->found.emplace(key, e);
    }
    recent = {key, true, e};
    return e;
}

} // namespace cehost::res

namespace cehost::sim {

void SetResourceLanguage(LANGID language) { res::g_language = language; }

HINSTANCE ModuleFromAddress(const void* address) {
    res::Module* m = res::ModuleAt(address);
    return m ? m->handle : nullptr;
}

bool ValidateResources(const void* data, size_t size, std::string* error) {
    std::vector<res::ResourceEntry> entries;
    std::string why;
    bool ok = res::ParseResourceFile(static_cast<const uint8_t*>(data), size, entries, why);
    if (!ok && error) *error = why;
    return ok;
}

HINSTANCE RegisterModuleResources(const void* addressInModule, const void* data, size_t size, std::string* error) {
    res::Module* m = res::ModuleAt(addressInModule);
    if (!m) {
        if (error) *error = "the address lies in no loaded module";
        return nullptr;
    }
    std::vector<uint8_t> bytes(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + (data ? size : 0));
    std::vector<res::ResourceEntry> entries;
    std::string why;
    if (!res::ParseResourceFile(bytes.data(), bytes.size(), entries, why)) {
        if (error) *error = why;
        return nullptr;
    }
    // The entries point into the copy, which moves into the module unchanged (vector storage is stable).
    m->bytes = std::move(bytes);
    m->resources = std::move(entries);
    m->ResourcesChanged();
    return m->handle;
}

} // namespace cehost::sim

using namespace cehost::res;

extern "C" {

// Called by the code that cehost_add_resources() generates into each module.
int cehost_register_module_resources(const void* anchor, const unsigned char* data, size_t size) {
    std::string error;
    if (cehost::sim::RegisterModuleResources(anchor, data, size, &error)) return 1;
    Module* m = ModuleAt(anchor);
    std::fprintf(stderr, "cehost: the compiled resources of %s are malformed and were not loaded: %s\n",
                 m ? m->path.c_str() : "a module", error.c_str());
    return 0;
}

void cehost_unregister_module_resources(const void* anchor) {
    if (Module* m = ModuleAt(anchor)) {
        m->resources.clear();
        m->bytes.clear();
        m->ResourcesChanged();
    }
}

HINSTANCE WINAPI CehostAttachModule(const void* anchor, CEHOST_DLL_ENTRY_PROC entry) {
    Module* m = ModuleAt(anchor);
    if (!m || !entry) return nullptr;
    // An entry point that resolved into another module (two libraries exporting the same DllMain) must not
    // be told the wrong handle.
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(entry), &info) && info.dli_fbase != m->base) {
        std::fprintf(stderr,
                     "cehost: the process-attach entry of %s resolves into %s; link the library with "
                     "-Wl,-Bsymbolic-functions (cehost_add_resources does) so that it calls its own\n",
                     m->path.c_str(), info.dli_fname ? info.dli_fname : "another module");
        return m->handle;
    }
    entry(reinterpret_cast<HANDLE>(m->handle), DLL_PROCESS_ATTACH, nullptr);
    return m->handle;
}

void WINAPI CehostDetachModule(const void* anchor, CEHOST_DLL_ENTRY_PROC entry) {
    Module* m = ModuleAt(anchor);
    Dl_info info{};
    if (!m || !entry || (dladdr(reinterpret_cast<const void*>(entry), &info) && info.dli_fbase != m->base)) return;
    entry(reinterpret_cast<HANDLE>(m->handle), DLL_PROCESS_DETACH, nullptr);
}

HMODULE WINAPI GetModuleHandleW(LPCWSTR moduleName) {
    if (!moduleName) return Executable() ? Executable()->handle : nullptr;
    std::string wanted = CanonicalName(Narrow(moduleName));
    struct Search {
        std::string wanted;
        const void* base = nullptr;
    } search{wanted};
    // Loaded objects: the executable has an empty name; shared libraries their path.
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
            auto* s = static_cast<Search*>(data);
            if (!info->dlpi_name || !*info->dlpi_name || s->base) return 0;
            if (CanonicalName(info->dlpi_name) != s->wanted) return 0;
            // The first loadable segment's address lies in the object.
            for (int i = 0; i < info->dlpi_phnum; ++i)
                if (info->dlpi_phdr[i].p_type == PT_LOAD) {
                    s->base = reinterpret_cast<const void*>(info->dlpi_addr + info->dlpi_phdr[i].p_vaddr);
                    break;
                }
            return 0;
        },
        &search);
    if (!search.base && Executable() && CanonicalName(Executable()->path) == wanted) return Executable()->handle;
    Module* m = search.base ? ModuleAt(search.base) : nullptr;
    if (!m) {
        SetLastError(kErrorModNotFound);
        return nullptr;
    }
    return m->handle;
}

DWORD WINAPI GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
    Module* m = FindModule(module);
    if (!m || !fileName || size == 0) {
        SetLastError(m ? ERROR_INSUFFICIENT_BUFFER : ERROR_INVALID_HANDLE);
        return 0;
    }
    // Paths are UTF-8; decode them to UTF-16 units.
    std::u16string wide;
    const std::string& p = m->path;
    for (size_t i = 0; i < p.size();) {
        unsigned char c = p[i];
        char32_t cp = c;
        size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        if (len > 1) {
            cp = c & (0xFF >> (len + 1));
            for (size_t k = 1; k < len && i + k < p.size(); ++k) cp = cp << 6 | (p[i + k] & 0x3F);
        }
        i += len;
        if (cp >= 0x10000) {
            wide += char16_t(0xD800 + ((cp - 0x10000) >> 10));
            wide += char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            wide += char16_t(cp);
        }
    }
    DWORD n = std::min<DWORD>(DWORD(wide.size()), size - 1);
    std::copy_n(wide.begin(), n, fileName);
    fileName[n] = 0;
    if (n < wide.size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    return n;
}

HRSRC WINAPI FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language) {
    Module* m = FindModule(module);
    if (!m) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    if (!type || !name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    ResourceId t = ResourceId::From(type), n = ResourceId::From(name);
    const ResourceEntry* e = FindEntry(m, t, n, language ? std::optional<WORD>(language) : std::nullopt);
    if (!e) {
        bool typeFound = std::any_of(m->resources.begin(), m->resources.end(), [&](const ResourceEntry& r) { return r.type == t; });
        SetLastError(m->resources.empty() ? ERROR_RESOURCE_DATA_NOT_FOUND
                     : !typeFound       ? ERROR_RESOURCE_TYPE_NOT_FOUND
                     : language         ? ERROR_RESOURCE_LANG_NOT_FOUND
                                        : ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    size_t moduleIndex = size_t((reinterpret_cast<uintptr_t>(m->handle) - kModuleBase) / kModuleStep);
    size_t entryIndex = size_t(e - m->resources.data());
    if (moduleIndex > 0xFF || entryIndex > 0xFFFFF) return nullptr;
    return reinterpret_cast<HRSRC>(kResourceTag | moduleIndex << 20 | entryIndex);
}

HRSRC WINAPI FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
    return FindResourceExW(module, type, name, 0);
}

} // extern "C"

namespace cehost::res {

const ResourceEntry* EntryOf(HMODULE module, HRSRC resource) {
    uintptr_t v = reinterpret_cast<uintptr_t>(resource);
    if ((v & 0xF0000000u) != kResourceTag) return nullptr;
    size_t moduleIndex = (v >> 20) & 0xFF, entryIndex = v & 0xFFFFF;
    if (moduleIndex >= Modules().size()) return nullptr;
    Module* m = Modules()[moduleIndex].get();
    if (module && m->handle != module) return nullptr;
    if (entryIndex >= m->resources.size()) return nullptr;
    return &m->resources[entryIndex];
}

} // namespace cehost::res

extern "C" {

HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource) {
    const ResourceEntry* e = EntryOf(module, resource);
    if (!e) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // Resource data stays in the module for its lifetime: the handle is the data itself.
    return const_cast<uint8_t*>(e->data);
}

LPVOID WINAPI LockResource(HGLOBAL data) { return data; }

DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource) {
    const ResourceEntry* e = EntryOf(module, resource);
    if (!e) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return e->size;
}

BOOL WINAPI FreeResource(HGLOBAL) { return FALSE; }

} // extern "C"
