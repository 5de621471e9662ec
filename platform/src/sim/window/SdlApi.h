// SDL, loaded when a desktop window is first wanted rather than when the program starts: a headless run (every
// test, script and CI job) then never maps SDL and the fifty-odd audio, display and input libraries it pulls
// in. Include this instead of <SDL.h>: the SDL calls made here go through the table filled on loading.
#pragma once

#include <SDL.h>

#include <string>

namespace cehost::sim::sdl {

#define CEHOST_SDL_FUNCTIONS(X)                                                                                    \
    X(CreateRenderer) X(CreateTexture) X(CreateWindow) X(DestroyRenderer) X(DestroyTexture) X(DestroyWindow)      \
    X(GetCurrentVideoDriver) X(GetError) X(GetKeyFromName) X(GetKeyName) X(GetRendererOutputSize)                 \
    X(GetWindowSize) X(InitSubSystem) X(PollEvent) X(QuitSubSystem) X(RenderClear) X(RenderCopy)                  \
    X(RenderPresent) X(SetHint) X(SetRenderDrawColor) X(SetWindowSize) X(StopTextInput) X(UpdateTexture)

struct Api {
#define CEHOST_SDL_POINTER(name) decltype(&::SDL_##name) name = nullptr;
    CEHOST_SDL_FUNCTIONS(CEHOST_SDL_POINTER)
#undef CEHOST_SDL_POINTER
};

// Loads SDL once; false (with the reason) when its library cannot be loaded or lacks a function.
bool Load(std::string* why);
// The loaded table: only after Load succeeded.
const Api& Get();

} // namespace cehost::sim::sdl

#define SDL_CreateRenderer (::cehost::sim::sdl::Get().CreateRenderer)
#define SDL_CreateTexture (::cehost::sim::sdl::Get().CreateTexture)
#define SDL_CreateWindow (::cehost::sim::sdl::Get().CreateWindow)
#define SDL_DestroyRenderer (::cehost::sim::sdl::Get().DestroyRenderer)
#define SDL_DestroyTexture (::cehost::sim::sdl::Get().DestroyTexture)
#define SDL_DestroyWindow (::cehost::sim::sdl::Get().DestroyWindow)
#define SDL_GetCurrentVideoDriver (::cehost::sim::sdl::Get().GetCurrentVideoDriver)
#define SDL_GetError (::cehost::sim::sdl::Get().GetError)
#define SDL_GetKeyFromName (::cehost::sim::sdl::Get().GetKeyFromName)
#define SDL_GetKeyName (::cehost::sim::sdl::Get().GetKeyName)
#define SDL_GetRendererOutputSize (::cehost::sim::sdl::Get().GetRendererOutputSize)
#define SDL_GetWindowSize (::cehost::sim::sdl::Get().GetWindowSize)
#define SDL_InitSubSystem (::cehost::sim::sdl::Get().InitSubSystem)
#define SDL_PollEvent (::cehost::sim::sdl::Get().PollEvent)
#define SDL_QuitSubSystem (::cehost::sim::sdl::Get().QuitSubSystem)
#define SDL_RenderClear (::cehost::sim::sdl::Get().RenderClear)
#define SDL_RenderCopy (::cehost::sim::sdl::Get().RenderCopy)
#define SDL_RenderPresent (::cehost::sim::sdl::Get().RenderPresent)
#define SDL_SetHint (::cehost::sim::sdl::Get().SetHint)
#define SDL_SetRenderDrawColor (::cehost::sim::sdl::Get().SetRenderDrawColor)
#define SDL_SetWindowSize (::cehost::sim::sdl::Get().SetWindowSize)
#define SDL_StopTextInput (::cehost::sim::sdl::Get().StopTextInput)
#define SDL_UpdateTexture (::cehost::sim::sdl::Get().UpdateTexture)
