#include "sim/window/SdlApi.h"

#include <dlfcn.h>

namespace cehost::sim::sdl {

namespace {

Api g_api;

} // namespace

bool Load(std::string* why) {
    static std::string failure = [] {
        void* library = dlopen(CEHOST_SDL2_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            const char* error = dlerror();
            return std::string("SDL could not be loaded: ") + (error ? error : CEHOST_SDL2_LIBRARY);
        }
        Api api;
#define CEHOST_SDL_RESOLVE(name)                                                                                   \
    api.name = reinterpret_cast<decltype(api.name)>(dlsym(library, "SDL_" #name));                                 \
    if (!api.name) return std::string("SDL's library lacks SDL_" #name);
        CEHOST_SDL_FUNCTIONS(CEHOST_SDL_RESOLVE)
#undef CEHOST_SDL_RESOLVE
        g_api = api;
        return std::string();
    }();
    if (!failure.empty() && why) *why = failure;
    return failure.empty();
}

const Api& Get() { return g_api; }

} // namespace cehost::sim::sdl
