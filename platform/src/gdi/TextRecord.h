// The record of visible text: every run of text a text call drew on a surface, kept until later drawing
// covers it. The screen's record is what scripts, dumps and accessibility tools read as "the text on the
// screen"; memory bitmaps keep one too, so that text drawn off-screen and blitted onto the screen arrives
// with it.
//
// The rules, chosen so that a run is listed exactly while a person could read it:
// - A run is one line of one text call, cut to the characters whose centre lies inside the clip (the text
//   call decides that; see Text.cpp).
// - Fills, opaque text backgrounds and blits that replace pixels (they do not read the destination) hide the
//   parts of runs they cover; a run is gone once at least half of it is hidden, whether by one drawing or
//   piece by piece. A thin frame, a line or an inverting caret leaves the text readable and the run in place.
//   A later run of text covers older runs the same way.
// - A blit brings along the runs lying wholly inside its source rectangle, moved (and scaled) to the
//   destination; a blit within the screen (scrolling) moves its runs.
// - Runs drawn through a window's device context belong to that window: hiding, moving or destroying the
//   window drops them (the window manager repaints whatever appears instead).
#pragma once

#include "gdi/GdiObjects.h"

namespace cehost::gdi::textrecord {

// A line of text, `text` (UTF-16), now shows in `rect` (surface coordinates), drawn through a DC of `hwnd`
// (null for the screen DC or a memory DC).
void Drawn(const Surface* surface, HWND hwnd, const std::vector<RECT>& clip, const RECT& rect,
           const char16_t* text, size_t length);
// Pixels of `rect` (surface coordinates), clipped to `clip`, were replaced.
void Covered(const Surface* surface, const std::vector<RECT>& clip, const RECT& rect);
// A blit replaced `dst` (clipped to `clip`) with the pixels of `src` on `source` (possibly scaled).
void Blitted(const Surface* target, HWND hwnd, const std::vector<RECT>& clip, const RECT& dst,
             const Surface* source, const RECT& src);
// The surface is going away (a bitmap deleted) or was resized (the screen): its record is dropped.
void Forget(const Surface* surface);

} // namespace cehost::gdi::textrecord
