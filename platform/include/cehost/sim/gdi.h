// Host extensions of cehost's GDI, fonts and resources: the framebuffer, PNG screenshots, font diagnostics and
// the registration of a module's compiled resources. Tests, the simulator and tools use these; the library
// never does.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace cehost::sim {

// The screen framebuffer: 32-bit words 0xAARRGGBB, rows top-down, stride = width.
// SetScreenSize resizes it, keeping the overlapping top-left pixels; false for a size outside 1..8192.
bool SetScreenSize(int width, int height);
SIZE GetScreenSize();
const uint32_t* ScreenPixels();

// PNG screenshots (8-bit RGB). A rectangle is in screen coordinates and is clipped to the screen; a window is
// saved as its whole window rectangle. False, with a reason in *error, when nothing could be written.
bool SaveScreenshot(const std::string& path, std::string* error = nullptr);
bool SaveScreenshotRect(const std::string& path, const RECT& rect, std::string* error = nullptr);
bool SaveWindowScreenshot(HWND hwnd, const std::string& path, std::string* error = nullptr);
// A memory bitmap as PNG (not selected into a DC, or selected: both work).
bool SaveBitmapPng(HBITMAP bitmap, const std::string& path, std::string* error = nullptr);
// Any pixels (0xAARRGGBB words, rows top-down) as PNG, and a PNG file read back as such pixels (opaque); both
// false with a reason in *error.
bool SavePixelsPng(const std::string& path, int width, int height, const uint32_t* pixels,
                   std::string* error = nullptr);
bool ReadPng(const std::string& path, int* width, int* height, std::vector<uint32_t>* pixels,
             std::string* error = nullptr);

// The font file that draws a LOGFONTW face (after substitution), for diagnostics and tests.
std::string FontFileForFace(const std::u16string& face, LONG weight = FW_NORMAL);
// Forgets every realized font and cached glyph (benchmarks measure cold text with it).
void ClearFontCache();
// Glyphs rendered since start (a cache hit renders nothing): lets tests prove the glyph cache works.
uint64_t GlyphsRendered();

// The text on the screen: every run of text (one line of a DrawTextW or ExtTextOutW call, the controls' own
// drawing included) that no later drawing has covered, in the order drawn. A fill or a blit over most of a run
// removes it, text drawn onto a background stays, and a window that is hidden, moved or destroyed takes its
// runs with it. `rect` is in screen coordinates; `hwnd` is the window whose DC drew it (null for the screen DC).
struct TextRun {
    std::u16string text;
    RECT rect;
    HWND hwnd;
};
std::vector<TextRun> VisibleText();

// Live GDI objects (DCs, bitmaps, brushes, pens, fonts, regions; stock objects excluded).
long GdiObjectCount();

// The language FindResourceW prefers when a resource exists in several language blocks (default Korean,
// 0x0412); then the neutral block, then English, then any.
void SetResourceLanguage(LANGID language);

// Registers compiled resources (.res bytes) for the module that contains `addressInModule` and returns its
// handle. Malformed data is refused: the result is NULL and *error says what is wrong and where.
HINSTANCE RegisterModuleResources(const void* addressInModule, const void* data, size_t size,
                                  std::string* error = nullptr);
// Checks .res bytes without registering them.
bool ValidateResources(const void* data, size_t size, std::string* error);
// The module that contains an address (the executable or a shared library), registered on first use.
HINSTANCE ModuleFromAddress(const void* address);

// The simulator: options of a host application's main() and the key scripts of headless runs (the language
// is described in platform/src/sim/KeyScript.cpp and in the README).
struct SimOptions {
    int screenWidth = 240;
    int screenHeight = 320;
    bool headless = false;
    std::string script;   // key-script file (played headless, or in the window before the user takes over)
    std::string shotsDir = "."; // where `screenshot NAME` writes NAME.png
    DWORD timeLimitMs = 0; // virtual milliseconds the run may last; 0 = no limit
    std::string goldensDir; // where `expect screenshot NAME` finds NAME.png; empty = the script's folder
    bool strip = true;       // the shell's indicator strip over the top of the screen (--no-strip)
    bool keypadInput = false; // 12-key text input from the start (--input keypad; --input pc is the default)
    std::vector<std::string> arguments; // everything else, passed on as WinMain's command line
};
// Parses --screen WxH, --headless, --script FILE, --shots DIR, --time-limit MS, --goldens DIR, --no-strip,
// --input keypad|pc (also as --opt=value) and "--"
// before application arguments. False with a message for anything malformed.
bool ParseSimOptions(int argc, const char* const* argv, SimOptions& options, std::string* error);

struct ScriptStep {
    enum class Kind { Press, Release, Key, Tap, Wait, Screenshot, Quit, Expect, Dump, Input };
    // What an Expect step checks.
    enum class Check { Text, NoText, Title, Focus, Screenshot };
    Kind kind = Kind::Key;
    BYTE vk = 0;
    bool shift = false; // Key: hold Shift around it
    int x = 0, y = 0;    // Tap
    DWORD ms = 0;        // Wait
    std::string name;    // Screenshot file name (".png" added); Expect screenshot: the golden's name; Dump: the
                         // file name (".json" added), empty for the next dump-NNN.json
    Check check = Check::Text;
    std::string text;    // Expect: the text (UTF-8) or, for focus, the class name, identifier or text
    long tolerance = 0;  // Expect screenshot: how many pixels may differ
    int code = 0;        // Quit
    bool keypad = false; // Input: 12-key input (true) or the PC keyboard
    int line = 0;        // where it came from
};
bool ParseKeyName(const std::string& name, BYTE& vk);
bool ParseKeyScript(const std::string& text, std::vector<ScriptStep>& steps, std::string* error);

typedef int(WINAPI* WinMainProc)(HINSTANCE, HINSTANCE, LPWSTR, int);
// What the simulator's main() does: parse the options, size the screen, call the application's WinMain and
// play the key script against it (headless, or in the window). Returns the process exit code: WinMain's
// result, 1 when an `expect` line did not hold, 2 for bad options or a bad script (or a goldens folder that
// does not exist), 3 when the script failed while running (a screenshot could not be written, the time limit
// passed).
int RunApplication(int argc, const char* const* argv, WinMainProc winMain);

} // namespace cehost::sim
