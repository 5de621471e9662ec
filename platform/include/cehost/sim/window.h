// Host extensions of the simulator's desktop window: its options, the map from PC keys to keypad keys, the
// recorder that turns a session typed in the window into a key script, and the hooks tests drive the window
// with. The window itself exists only when cehost was built with SDL2.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace cehost::sim {

// ---- Options -----------------------------------------------------------------------------------------------
struct WindowOptions {
    int zoom = 2;          // screen pixels are drawn as zoom x zoom blocks (nearest neighbour)
    std::string keymap;    // key-map file read over the built-in map
    std::string record;    // key-script file the session is written to when it ends
    bool keypadSkin = true; // the keypad beside the screen (--skin keypad); --skin none shows the bare screen
};
// Takes --zoom N, --skin keypad|none, --keymap FILE and --record FILE (also as --opt=value) out of argv;
// everything else, in
// order, goes to `rest` (argv[0] included) for ParseSimOptions. Options after "--" belong to the application.
// False with a message for a malformed window option.
bool ExtractWindowOptions(int argc, const char* const* argv, WindowOptions& options, std::vector<std::string>& rest,
                          std::string* error);

// ---- Key map -----------------------------------------------------------------------------------------------
// What a PC key does in the window: it presses a keypad key (a virtual-key code) or saves a screenshot.
struct KeyBinding {
    enum class Action { Key, Screenshot };
    Action action = Action::Key;
    BYTE vk = 0;
};

// PC keys by their desktop key name ("F1", "Right Alt", "Return", "A"), compared without case.
class KeyMap {
public:
    // F1/F2 soft keys, F3 select, F4 home, arrows, Return, Escape (back), Backspace, Right Alt and F5 for the
    // Korean input method (VK_HANGUL), Shift, letters, digits, space and punctuation, F12 and PrintScreen
    // for screenshots.
    static KeyMap Default();

    // Reads "KEY NAME = VK_NAME or number" lines over the current bindings ('#' starts a comment; the value
    // SCREENSHOT saves a screenshot, NONE removes the binding). On an error the map is unchanged and *error
    // names the line.
    bool Parse(const std::string& text, std::string* error);

    const KeyBinding* Find(const std::string& keyName) const;
    size_t Size() const { return m_bindings.size(); }
    void Bind(const std::string& keyName, KeyBinding binding);

private:
    std::map<std::string, KeyBinding> m_bindings; // by canonical lower-case name
};

// The canonical form of a desktop key name ("right alt" for "Right Alt" or "RAlt" when SDL knows the alias),
// or "" for a name the desktop does not know. Without SDL every non-empty name is taken as written.
std::string CanonicalKeyName(const std::string& name);

// The key-script name of a virtual key ("F1", "DOWN", "A", or a number like "0x15"); ParseKeyName reads it
// back as the same key.
std::string ScriptKeyName(BYTE vk);

// ---- Keypad skin ------------------------------------------------------------------------------------------
// The keypad the window shows to the right of the screen, in unzoomed pixels: a mouse press on a key presses
// it and the release releases it.
constexpr int kKeypadSkinWidth = 136;
constexpr int kKeypadSkinHeight = 320;
struct SkinKey {
    BYTE vk;
    RECT rect;               // in the keypad's own coordinates
    const char16_t* label;   // "1", "OK", "▲"
    const char16_t* latin;   // the multi-tap letters, or null
    const char16_t* korean;  // the letters of the 12-key Korean method, or null
};
const std::vector<SkinKey>& KeypadSkinKeys();
// The key under a point of the keypad, 0 for none.
BYTE KeypadSkinKeyAt(int x, int y);
// Draws the keypad into `hdc` at `scale` (its pixels as scale x scale blocks), `pressed` highlighted.
void PaintKeypadSkin(HDC hdc, int scale, BYTE pressed);
bool SaveKeypadSkinPng(const std::string& path, int scale, BYTE pressed, std::string* error = nullptr);

// ---- Recording ---------------------------------------------------------------------------------------------
// Collects what reached the application during a window session and writes it as a key script: key down and
// up, stylus down, move and up, virtual time that passed while a timer was running, screenshots.
class SessionRecorder {
public:
    void KeyDown(BYTE vk);
    void KeyUp(BYTE vk);
    void StylusDown(int x, int y);
    void StylusMove(int x, int y);
    void StylusUp(int x, int y);
    void ClockAdvanced(DWORD milliseconds);
    void Screenshot(const std::string& name);
    void Input(bool keypad); // text from the twelve keys or from the PC keyboard (`input keypad|pc`)
    // The script: a down directly followed by the up of the same key is folded to `key`, runs of such keys
    // share a line, a stylus down directly followed by its up at the same point is `tap X Y`, time that
    // passed becomes `wait`, and it ends with `quit`. Key scripts have no stylus strokes: any other stylus
    // input becomes a comment line saying what was left out, and *strokesLeftOut counts them.
    std::string Script(size_t* strokesLeftOut = nullptr) const;

private:
    struct Event {
        enum class Kind { Down, Up, Wait, Shot, StylusDown, StylusMove, StylusUp, Input };
        Kind kind;
        BYTE vk = 0;
        DWORD ms = 0;
        std::string name;
        int x = 0, y = 0;
    };
    std::vector<Event> m_events;
};

// ---- The window ------------------------------------------------------------------------------------------
// True when a desktop window can be opened: cehost has SDL2 and a display is there (DISPLAY or
// WAYLAND_DISPLAY, or SDL_VIDEODRIVER naming a driver). Otherwise false with the reason.
bool WindowAvailable(std::string* why);

// Lets a test drive the window: called on every turn of the window's event pump (before the desktop's event
// queue is read, with the number of desktop events still waiting to be handed to the application), and
// standing in for the real clock and for sleeping, so that a session runs without real waits.
struct WindowDriver {
    std::function<void(size_t pendingInput)> onTurn;
    std::function<uint64_t()> now;            // milliseconds
    std::function<void(unsigned ms)> sleep;
};
void SetWindowDriver(WindowDriver driver);

// Where the window stands: how many times it presented the screen, the text of its status line, and whether
// a key script is still playing (desktop input is ignored until it has).
struct WindowStatus {
    uint64_t presents = 0;
    std::string statusText;
    int windowWidth = 0, windowHeight = 0; // in window coordinates
    bool scriptPlaying = false;
};
bool GetWindowStatus(WindowStatus* out);

} // namespace cehost::sim
