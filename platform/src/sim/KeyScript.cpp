// The key-script language of headless runs (the window plays it too). One command per line; '#' starts a
// comment; names are case-insensitive:
//
//   press KEY          key down (keybd_event)
//   release KEY        key up
//   key KEY...         press and release each key in turn
//   type TEXT          press and release the keys that type TEXT (letters, digits, space and the
//                      punctuation of a PC keyboard; upper case and shifted signs hold Shift)
//   tap X Y            stylus down at screen coordinates X, Y, and up there on the next turn
//   wait MS            advance the virtual clock by MS milliseconds, running timers and messages
//   screenshot NAME    save the screen as NAME.png in the screenshot folder (--shots)
//   quit [CODE]        end the application's message loop with exit code CODE (default 0)
//   expect ...         check the screen (text, no text, title, focus, screenshot; see ScriptChecks.cpp)
//   dump [NAME]        write the window tree and the visible text as NAME.json into the screenshot folder
//   input keypad|pc    text from the keypad's 12 keys, or from the PC keyboard's letters
//
// Before each command the application runs until its queue is empty. KEY is a virtual-key name with or
// without its VK_ prefix (F1, VK_RETURN, LEFT, SPACE, ...), a keypad name (TSOFT1, TSOFT2, TTALK, TEND, THOME,
// TBACK, TACTION, TUP, TDOWN, TLEFT, TRIGHT, TSTAR, TPOUND, T0..T9), a single letter or digit, or a number
// (0x70, 112).
#include "sim/ScriptChecks.h"

#include <cehost/sim/gdi.h>

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace cehost::sim {

namespace {

struct KeyName {
    const char* name;
    BYTE vk;
};

constexpr KeyName kKeys[] = {
    {"BACK", 0x08},     {"TAB", 0x09},       {"RETURN", 0x0D},   {"ENTER", 0x0D},     {"SHIFT", 0x10},
    {"CONTROL", 0x11},  {"MENU", 0x12},      {"ESCAPE", 0x1B},   {"SPACE", 0x20},     {"PRIOR", 0x21},
    {"NEXT", 0x22},     {"END", 0x23},       {"HOME", 0x24},     {"LEFT", 0x25},      {"UP", 0x26},
    {"RIGHT", 0x27},    {"DOWN", 0x28},      {"INSERT", 0x2D},   {"DELETE", 0x2E},    {"LWIN", 0x5B},
    {"RWIN", 0x5C},     {"F1", 0x70},        {"F2", 0x71},       {"F3", 0x72},        {"F4", 0x73},
    {"F5", 0x74},       {"F6", 0x75},        {"F7", 0x76},       {"F8", 0x77},        {"F9", 0x78},
    {"F10", 0x79},      {"F11", 0x7A},       {"F12", 0x7B},      {"TSOFT1", 0x70},    {"TSOFT2", 0x71},
    {"TTALK", 0x72},    {"TEND", 0x73},      {"THOME", 0x5B},    {"TBACK", 0x1B},     {"TACTION", 0x0D},
    {"TUP", 0x26},      {"TDOWN", 0x28},     {"TLEFT", 0x25},    {"TRIGHT", 0x27},    {"TSTAR", 0x77},
    {"TPOUND", 0x78},   {"TVOLUMEUP", 0x75}, {"TVOLUMEDOWN", 0x76}, {"PROCESSKEY", 0xE5},
};

std::string Upper(std::string s) {
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool ParseNumber(const std::string& s, long& value) {
    if (s.empty()) return false;
    char* end = nullptr;
    value = std::strtol(s.c_str(), &end, 0);
    return end && *end == 0;
}

// The key and Shift state that type one character on a PC keyboard.
bool KeyForChar(char c, BYTE& vk, bool& shift) {
    shift = false;
    if (c >= 'a' && c <= 'z') {
        vk = BYTE(c - 'a' + 'A');
        return true;
    }
    if (c >= 'A' && c <= 'Z') {
        vk = BYTE(c);
        shift = true;
        return true;
    }
    if (c >= '0' && c <= '9') {
        vk = BYTE(c);
        return true;
    }
    static const char kShiftedDigits[] = ")!@#$%^&*(";
    for (int i = 0; i < 10; ++i)
        if (c == kShiftedDigits[i]) {
            vk = BYTE('0' + i);
            shift = true;
            return true;
        }
    struct Punct {
        char plain, shifted;
        BYTE vk;
    };
    static const Punct kPunct[] = {{';', ':', 0xBA}, {'=', '+', 0xBB}, {',', '<', 0xBC}, {'-', '_', 0xBD},
                                   {'.', '>', 0xBE}, {'/', '?', 0xBF}, {'`', '~', 0xC0}, {'[', '{', 0xDB},
                                   {'\\', '|', 0xDC}, {']', '}', 0xDD}, {'\'', '"', 0xDE}};
    for (const Punct& p : kPunct)
        if (c == p.plain || c == p.shifted) {
            vk = p.vk;
            shift = c == p.shifted;
            return true;
        }
    if (c == ' ') {
        vk = 0x20;
        return true;
    }
    return false;
}

} // namespace

bool ParseKeyName(const std::string& name, BYTE& vk) {
    std::string n = Upper(name);
    if (n.rfind("VK_", 0) == 0) n.erase(0, 3);
    for (const KeyName& k : kKeys)
        if (n == k.name) {
            vk = k.vk;
            return true;
        }
    if (n.size() == 2 && n[0] == 'T' && n[1] >= '0' && n[1] <= '9') {
        vk = BYTE(n[1]);
        return true;
    }
    if (n.size() == 1 && (std::isalnum(static_cast<unsigned char>(n[0])))) {
        vk = BYTE(n[0]);
        return true;
    }
    long value;
    if (ParseNumber(name, value) && value > 0 && value < 256) {
        vk = BYTE(value);
        return true;
    }
    return false;
}

bool ParseKeyScript(const std::string& text, std::vector<ScriptStep>& steps, std::string* error) {
    steps.clear();
    std::istringstream in(text);
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& why) {
        if (error) *error = "line " + std::to_string(number) + ": " + why;
        steps.clear();
        return false;
    };
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        std::string command;
        if (!(words >> command) || command[0] == '#') continue;
        std::string verb = Upper(command);
        ScriptStep step;
        step.line = number;
        if (verb == "PRESS" || verb == "RELEASE") {
            std::string key, extra;
            if (!(words >> key) || (words >> extra && extra[0] != '#')) return fail(command + " takes one key");
            if (!ParseKeyName(key, step.vk)) return fail("unknown key '" + key + "'");
            step.kind = verb == "PRESS" ? ScriptStep::Kind::Press : ScriptStep::Kind::Release;
            steps.push_back(step);
        } else if (verb == "KEY") {
            std::string key;
            int count = 0;
            while (words >> key && key[0] != '#') {
                if (!ParseKeyName(key, step.vk)) return fail("unknown key '" + key + "'");
                step.kind = ScriptStep::Kind::Key;
                steps.push_back(step);
                ++count;
            }
            if (!count) return fail("key needs at least one key");
        } else if (verb == "TYPE") {
            // The rest of the line, after one separating space, is the text (comments included).
            size_t at = line.find_first_not_of(" \t");
            at = line.find_first_of(" \t", at);
            std::string textToType = at == std::string::npos ? "" : line.substr(at + 1);
            if (textToType.empty()) return fail("type needs text");
            for (char c : textToType) {
                step.kind = ScriptStep::Kind::Key;
                if (!KeyForChar(c, step.vk, step.shift))
                    return fail(std::string("cannot type '") + c + "' with keys (only PC keyboard characters)");
                steps.push_back(step);
            }
        } else if (verb == "TAP") {
            long x, y;
            std::string sx, sy;
            if (!(words >> sx >> sy) || !ParseNumber(sx, x) || !ParseNumber(sy, y)) return fail("tap takes X and Y");
            step.kind = ScriptStep::Kind::Tap;
            step.x = int(x);
            step.y = int(y);
            steps.push_back(step);
        } else if (verb == "WAIT") {
            long ms;
            std::string s;
            if (!(words >> s) || !ParseNumber(s, ms) || ms < 0) return fail("wait takes milliseconds");
            step.kind = ScriptStep::Kind::Wait;
            step.ms = DWORD(ms);
            steps.push_back(step);
        } else if (verb == "SCREENSHOT") {
            std::string name;
            if (!(words >> name)) return fail("screenshot needs a name");
            if (name.find('/') != std::string::npos || name.find("..") != std::string::npos)
                return fail("a screenshot name is a plain file name");
            if (name.size() < 4 || Upper(name.substr(name.size() - 4)) != ".PNG") name += ".png";
            step.kind = ScriptStep::Kind::Screenshot;
            step.name = name;
            steps.push_back(step);
        } else if (verb == "INPUT") {
            std::string source, extra;
            if (!(words >> source) || (words >> extra && extra[0] != '#') ||
                (Upper(source) != "KEYPAD" && Upper(source) != "PC"))
                return fail("input takes keypad or pc");
            step.kind = ScriptStep::Kind::Input;
            step.keypad = Upper(source) == "KEYPAD";
            steps.push_back(step);
        } else if (verb == "QUIT") {
            long code = 0;
            std::string s;
            if (words >> s && s[0] != '#' && !ParseNumber(s, code)) return fail("quit takes an exit code");
            step.kind = ScriptStep::Kind::Quit;
            step.code = int(code);
            steps.push_back(step);
        } else if (verb == "EXPECT" || verb == "DUMP") {
            std::string rest, why;
            std::getline(words, rest);
            if (!ParseCheckStep(verb, rest, step, &why)) return fail(why);
            steps.push_back(step);
        } else {
            return fail("unknown command '" + command + "'");
        }
    }
    return true;
}

} // namespace cehost::sim
