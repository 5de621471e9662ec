// The simulator window's key map: PC keys by their desktop names bound to keypad keys or to the screenshot
// action, the built-in map, and the text format of key-map files. Key names are checked against the desktop's
// own list when SDL is there, so that a typo in a file is an error rather than a key that never works.
#include <cehost/sim/gdi.h>
#include <cehost/sim/window.h>

#include <cctype>
#include <cstdio>
#include <sstream>

#ifdef CEHOST_HAVE_SDL2
#include "sim/window/SdlApi.h"
#endif

namespace cehost::sim {

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Upper(std::string s) {
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return "";
    size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

// Virtual keys a key map may name beyond those of key scripts.
bool ParseMapValue(const std::string& value, KeyBinding& binding, bool& unbind) {
    const std::string v = Upper(value);
    unbind = v == "NONE";
    if (unbind) return true;
    if (v == "SCREENSHOT") {
        binding = KeyBinding{KeyBinding::Action::Screenshot, 0};
        return true;
    }
    struct Extra {
        const char* name;
        BYTE vk;
    };
    static const Extra kExtras[] = {{"HANGUL", VK_HANGUL}, {"HANJA", 0x19},    {"LSHIFT", VK_LSHIFT},
                                    {"RSHIFT", VK_RSHIFT}, {"LCONTROL", 0xA2}, {"RCONTROL", 0xA3},
                                    {"LMENU", 0xA4},       {"RMENU", 0xA5},    {"SNAPSHOT", VK_SNAPSHOT}};
    std::string bare = v.rfind("VK_", 0) == 0 ? v.substr(3) : v;
    for (const Extra& e : kExtras)
        if (bare == e.name) {
            binding = KeyBinding{KeyBinding::Action::Key, e.vk};
            return true;
        }
    BYTE vk = 0;
    if (!ParseKeyName(value, vk)) return false;
    binding = KeyBinding{KeyBinding::Action::Key, vk};
    return true;
}

} // namespace

std::string CanonicalKeyName(const std::string& name) {
    const std::string trimmed = Trim(name);
    if (trimmed.empty()) return "";
#ifdef CEHOST_HAVE_SDL2
    if (!sdl::Load(nullptr)) return Lower(trimmed);
    SDL_Keycode key = SDL_GetKeyFromName(trimmed.c_str());
    if (key == SDLK_UNKNOWN) return "";
    return Lower(SDL_GetKeyName(key));
#else
    return Lower(trimmed);
#endif
}

std::string ScriptKeyName(BYTE vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return std::string(1, char(vk));
    if (vk >= VK_F1 && vk <= VK_F12) return "F" + std::to_string(vk - VK_F1 + 1);
    struct Name {
        BYTE vk;
        const char* name;
    };
    static const Name kNames[] = {{0x08, "BACK"},   {0x09, "TAB"},    {0x0D, "RETURN"}, {0x10, "SHIFT"},
                                  {0x11, "CONTROL"}, {0x12, "MENU"},  {0x1B, "ESCAPE"}, {0x20, "SPACE"},
                                  {0x21, "PRIOR"},  {0x22, "NEXT"},   {0x23, "END"},    {0x24, "HOME"},
                                  {0x25, "LEFT"},   {0x26, "UP"},     {0x27, "RIGHT"},  {0x28, "DOWN"},
                                  {0x2D, "INSERT"}, {0x2E, "DELETE"}, {0x5B, "LWIN"},   {0x5C, "RWIN"},
                                  {0xE5, "PROCESSKEY"}};
    for (const Name& n : kNames)
        if (n.vk == vk) return n.name;
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", unsigned(vk));
    return hex;
}

KeyMap KeyMap::Default() {
    KeyMap map;
    auto key = [&](const char* name, BYTE vk) { map.Bind(name, KeyBinding{KeyBinding::Action::Key, vk}); };
    key("F1", VK_F1); // soft keys
    key("F2", VK_F2);
    key("F3", VK_F3); // select
    key("F4", VK_F4); // home
    key("F8", VK_F8); // * and # of the twelve keys
    key("F9", VK_F9);
    key("Up", VK_UP);
    key("Down", VK_DOWN);
    key("Left", VK_LEFT);
    key("Right", VK_RIGHT);
    key("Return", VK_RETURN);
    key("Keypad Enter", VK_RETURN);
    key("Escape", VK_ESCAPE); // back
    key("Backspace", VK_BACK);
    key("Tab", VK_TAB);
    key("Right Alt", VK_HANGUL); // the Korean input method
    key("F5", VK_HANGUL);
    key("Left Shift", VK_SHIFT);
    key("Right Shift", VK_SHIFT);
    key("Space", VK_SPACE);
    for (char c = 'A'; c <= 'Z'; ++c) key(std::string(1, c).c_str(), BYTE(c));
    for (char c = '0'; c <= '9'; ++c) key(std::string(1, c).c_str(), BYTE(c));
    static const struct {
        const char* name;
        BYTE vk;
    } kPunct[] = {{";", 0xBA}, {"=", 0xBB}, {",", 0xBC}, {"-", 0xBD},  {".", 0xBE}, {"/", 0xBF},
                  {"`", 0xC0}, {"[", 0xDB}, {"\\", 0xDC}, {"]", 0xDD}, {"'", 0xDE}};
    for (const auto& p : kPunct) key(p.name, p.vk);
    map.Bind("F12", KeyBinding{KeyBinding::Action::Screenshot, 0});
    map.Bind("PrintScreen", KeyBinding{KeyBinding::Action::Screenshot, 0});
    return map;
}

void KeyMap::Bind(const std::string& keyName, KeyBinding binding) {
    std::string canonical = CanonicalKeyName(keyName);
    if (!canonical.empty()) m_bindings[canonical] = binding;
}

const KeyBinding* KeyMap::Find(const std::string& keyName) const {
    auto it = m_bindings.find(Lower(keyName));
    return it == m_bindings.end() ? nullptr : &it->second;
}

bool KeyMap::Parse(const std::string& text, std::string* error) {
    std::map<std::string, KeyBinding> next = m_bindings;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& why) {
        if (error) *error = "line " + std::to_string(number) + ": " + why;
        return false;
    };
    while (std::getline(in, line)) {
        ++number;
        // '#' is a key of its own, so a comment starts only at a '#' that is not the whole key name.
        std::string content = line;
        for (size_t at = content.find('#'); at != std::string::npos; at = content.find('#', at + 1)) {
            const std::string before = Trim(content.substr(0, at));
            const bool isKeyName = before.empty() && Trim(content.substr(at + 1)).rfind('=', 0) == 0;
            if (!isKeyName) {
                content.erase(at);
                break;
            }
        }
        content = Trim(content);
        if (content.empty()) continue;
        // The key name may itself be "=", so the separator is the last '='.
        const size_t eq = content.rfind('=');
        if (eq == std::string::npos || eq == 0) return fail("expected 'KEY NAME = VIRTUAL KEY'");
        const std::string name = Trim(content.substr(0, eq));
        const std::string value = Trim(content.substr(eq + 1));
        if (name.empty() || value.empty()) return fail("expected 'KEY NAME = VIRTUAL KEY'");
        const std::string canonical = CanonicalKeyName(name);
        if (canonical.empty()) return fail("unknown key name '" + name + "'");
        KeyBinding binding;
        bool unbind = false;
        if (!ParseMapValue(value, binding, unbind))
            return fail("unknown virtual key '" + value + "' (a VK_ name, a number, SCREENSHOT or NONE)");
        if (unbind)
            next.erase(canonical);
        else
            next[canonical] = binding;
    }
    m_bindings.swap(next);
    return true;
}

} // namespace cehost::sim
