// A seeded random walk of keys through the keypad notebook, in this process so that its object counts and files
// can be watched: one key per idle turn through the real queue, 20 ms of virtual time before each. Each return
// to the list screen must find the GDI and window counts of the first list screen of its kind (with rows, or
// empty) and whole notes and settings; after the walk it quits from the list, which must return 0, leave no
// window, the GDI count where it started and the notes and settings as the list last showed them. Every
// screen, dialog and message box must have been reached.
//
//   notebook_soak [--seed N] [--keys N] [--state DIR] [--script-out FILE]
//
// A failure names the seed and the key; --script-out writes the walk up to it as a key script for
//   KeypadNotebook --headless --script FILE  (with LXEDB_DIR and CEHOST_REGISTRY on a fresh folder)
#include <cehost/sim.h>
#include <cehost/sim/shell.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

#include "NoteStore.h"
#include "NotebookSettings.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPWSTR, int);

namespace {

using namespace cehost::sim;

// The keypad, each key with its weight in the walk and its name in a key script.
struct WalkKey {
    BYTE vk;
    int weight;
    const char* name;
};
constexpr WalkKey kKeys[] = {
    {VK_UP, 8, "UP"},          {VK_DOWN, 10, "DOWN"},   {VK_LEFT, 5, "LEFT"},    {VK_RIGHT, 5, "RIGHT"},
    {VK_F1, 10, "F1"},          {VK_F2, 5, "F2"},        {VK_F3, 9, "F3"},        {VK_RETURN, 2, "RETURN"},
    {VK_ESCAPE, 2, "ESCAPE"},  {VK_BACK, 3, "BACK"},    {VK_F4, 1, "F4"},        {VK_F8, 3, "F8"},
    {VK_F9, 3, "F9"},          {0x15, 3, "0x15"},       {VK_SPACE, 2, "SPACE"},  {'0', 1, "0"},
    {'1', 2, "1"},             {'2', 1, "2"},           {'3', 1, "3"},           {'4', 1, "4"},
    {'5', 1, "5"},             {'6', 1, "6"},           {'7', 1, "7"},           {'8', 1, "8"},
    {'9', 1, "9"},             {'A', 2, "A"},           {'E', 2, "E"},           {'G', 1, "G"},
    {'K', 2, "K"},             {'R', 1, "R"},           {'S', 1, "S"},           {'T', 1, "T"},
    {'Z', 1, "Z"},
};

std::u16string WindowText(HWND hwnd) {
    WCHAR text[128] = {};
    GetWindowTextW(hwnd, text, 128);
    return text;
}

// What the notebook keeps, in an order of its own so that the two sort orders compare equal.
struct Kept {
    std::vector<std::tuple<std::u16string, std::u16string, bool>> notes;
    std::tuple<bool, int, int, DWORD> settings;
    bool operator==(const Kept&) const = default;
};

bool ReadKept(Kept& kept, std::string* why) {
    NoteStore store;
    if (!store.Open(false, nullptr)) return *why = "the notes cannot be opened", false;
    kept.notes.clear();
    for (long i = 0, n = store.Count(); i < n; ++i) {
        Note note;
        if (!store.Read(UINT(i), note)) return *why = "note " + std::to_string(i) + " does not read back", false;
        kept.notes.emplace_back(note.title, note.body, note.done);
    }
    std::sort(kept.notes.begin(), kept.notes.end());
    NotebookSettings settings;
    settings.Load();
    kept.settings = {settings.sortByTitle, settings.theme, settings.rotation, settings.doneKey};
    return true;
}

class Soak {
public:
    Soak(unsigned seed, int keys) : m_seed(seed), m_keys(keys), m_random(seed) {
        for (const WalkKey& k : kKeys) m_weights.push_back(k.weight);
    }
    int Run(const std::string& scriptOut) {
        // The device as the simulator sets it up: the shell's strip over the screen, PC-keyboard input.
        SetVirtualTime(true);
        SetDisplaySize(240, 320);
        ShowIndicatorStrip(true);
        const long gdiBefore = GdiCount(), windowsBefore = UserCount();
        SetIdleHandler([this] { return OnIdle(); });
        const int result = WinMain(GetModuleHandleW(nullptr), nullptr, const_cast<WCHAR*>(u""), SW_SHOW);
        SetIdleHandler(nullptr);
        Kept after;
        std::string why;
        if (m_failed) {
            // the walk's own failure is already reported
        } else if (result != 0) Fail("the notebook quit with " + std::to_string(result));
        else if (m_pressed.size() < size_t(m_keys)) Fail("the notebook ended before the walk did");
        else if (UserCount() != windowsBefore)
            Fail(std::to_string(UserCount() - windowsBefore) + " windows left after the quit");
        else if (GdiCount() != gdiBefore)
            Fail("GDI objects " + std::to_string(GdiCount()) + " after the quit, " +
                 std::to_string(gdiBefore) + " before the start");
        else if (!ReadKept(after, &why)) Fail("after the quit " + why);
        else if (!(after == m_lastList)) Fail("the notes or settings read back differ from the list's last");
        for (const char* screen : {"list", "editor", "new note", "settings", "menu", "about", "message box"})
            if (!m_failed && !m_seen.count(screen)) Fail(std::string("the walk never reached the ") + screen);
        if (m_failed && !scriptOut.empty()) WriteScript(scriptOut);
        std::printf("soak: seed %u, %zu keys, %zu list returns, screens:", m_seed, m_pressed.size(), m_listReturns);
        for (const auto& [screen, count] : m_seen) std::printf(" %s %d", screen.c_str(), count);
        std::printf("\n");
        return m_failed ? 1 : 0;
    }

private:
    static long GdiCount() { return long(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)); }
    static long UserCount() { return long(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)); }
    // The screen in front: a pop-up menu, a dialog or message box, or one of the main window's screens.
    std::string Screen() const {
        HWND main = FindWindowW(u"KeypadNotebook", nullptr);
        HWND popup = FindWindowW(u"LxMenuPopup", nullptr);
        if (popup && IsWindowVisible(popup)) return "menu";
        HWND active = GetActiveWindow();
        if (active && active != main) return AboutOrBox(active);
        // The screen's name is on the title bar, a child of the main window.
        static const std::pair<std::u16string, const char*> kTitles[] = {
            {u"메모 목록", "list"}, {u"메모 편집", "editor"}, {u"새 메모", "new note"}, {u"설정", "settings"}};
        for (HWND child = main ? GetWindow(main, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT))
            for (const auto& [title, screen] : kTitles)
                if (WindowText(child) == title) return screen;
        return "unknown";
    }
    // The about screen is the dialog that names the notebook; any other is a message box.
    static std::string AboutOrBox(HWND dialog) {
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (WindowText(child) == u"키패드 메모장") return "about";
        return "message box";
    }
    bool OnIdle() {
        if (m_failed || m_quitting) return false;
        // Time first, so that timers started by the last key (the list's focus) have run before anything is
        // looked at.
        if (!m_settled) {
            m_settled = true;
            AdvanceClock(20);
            return true;
        }
        m_settled = false;
        const std::string screen = Screen(), previous = m_lastScreen;
        m_lastScreen = screen;
        if (screen != previous) ++m_seen[screen];
        if (screen == "list" && previous != "list" && !CheckList()) return false;
        if (m_pressed.size() >= size_t(m_keys)) return GoHome(screen);
        const WalkKey* key = &kKeys[Pick()];
        // The right soft key on the list would quit: the walk keeps going instead.
        while (screen == "list" && key->vk == VK_F2) key = &kKeys[Pick()];
        Press(*key);
        return true;
    }
    size_t Pick() { return std::discrete_distribution<size_t>(m_weights.begin(), m_weights.end())(m_random); }
    void Press(const WalkKey& key) {
        m_pressed.push_back(&key);
        keybd_event(key.vk, 0, 0, 0);
        keybd_event(key.vk, 0, KEYEVENTF_KEYUP, 0);
    }
    // After the walk: back to the list with the keys a user would use, then quit there.
    bool GoHome(const std::string& screen) {
        static const WalkKey kRight{VK_F2, 0, "F2"}, kReturn{VK_RETURN, 0, "RETURN"};
        if (++m_homeKeys > 40) return Fail("the list cannot be reached again from the " + screen);
        if (screen == "list") m_quitting = true;
        Press(screen == "message box" ? kReturn : kRight);
        return true;
    }
    bool CheckList() {
        ++m_listReturns;
        Kept kept;
        std::string why;
        if (!ReadKept(kept, &why)) return Fail("on the list " + why);
        m_lastList = kept;
        const int kind = kept.notes.empty() ? 0 : 1;
        const std::pair<long, long> counts{GdiCount(), UserCount()};
        auto [first, added] = m_listCounts.emplace(kind, counts);
        if (!added && first->second != counts)
            return Fail("back on the list: " + std::to_string(counts.first) + " GDI objects and " +
                        std::to_string(counts.second) + " windows, first " + std::to_string(first->second.first) +
                        " and " + std::to_string(first->second.second));
        return true;
    }
    bool Fail(const std::string& what) {
        if (m_failed) return false;
        m_failed = true;
        std::fprintf(stderr, "soak failed: seed %u, after key %zu (script line %zu) on the %s: %s\n", m_seed,
                     m_pressed.size(), m_pressed.size() * 2 + kScriptHeader, m_lastScreen.c_str(), what.c_str());
        PostQuitMessage(1);
        return false;
    }
    void WriteScript(const std::string& path) const {
        std::ofstream out(path, std::ios::trunc);
        out << "# notebook soak, seed " << m_seed << ": the walk up to the failure\n";
        for (size_t i = 1; i < kScriptHeader; ++i) out << "#\n";
        for (const WalkKey* key : m_pressed) out << "wait 20\nkey " << key->name << "\n";
        std::fprintf(stderr, "soak: the walk is in %s\n", path.c_str());
    }
    static constexpr size_t kScriptHeader = 2;
    const unsigned m_seed;
    const int m_keys;
    std::mt19937 m_random;
    std::vector<int> m_weights;
    std::vector<const WalkKey*> m_pressed;
    std::map<std::string, int> m_seen;
    std::map<int, std::pair<long, long>> m_listCounts;
    std::string m_lastScreen;
    Kept m_lastList;
    size_t m_listReturns = 0;
    int m_homeKeys = 0;
    bool m_settled = false, m_quitting = false, m_failed = false;
};

} // namespace

int main(int argc, char** argv) {
    unsigned seed = 1;
    int keys = 2000;
    std::string state, scriptOut;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i], value = argv[i + 1];
        if (name == "--seed") seed = unsigned(std::strtoul(value.c_str(), nullptr, 0));
        else if (name == "--keys") keys = std::atoi(value.c_str());
        else if (name == "--state") state = value;
        else if (name == "--script-out") scriptOut = value;
        else return std::fprintf(stderr, "usage: %s [--seed N] [--keys N] [--state DIR] [--script-out FILE]\n", argv[0]), 2;
    }
    if (argc % 2 == 0 || keys < 1) return std::fprintf(stderr, "%s: options come in pairs, --keys above 0\n", argv[0]), 2;
    // A fresh state folder, so that the walk replays from the sample notes and default settings.
    namespace fs = std::filesystem;
    if (state.empty()) state = (fs::temp_directory_path() / ("notebook-soak-" + std::to_string(getpid()))).string();
    std::error_code ec;
    fs::remove_all(state, ec);
    fs::create_directories(state, ec);
    setenv("LXEDB_DIR", state.c_str(), 1);
    setenv("CEHOST_REGISTRY", (state + "/registry.db").c_str(), 1);
    const int result = Soak(seed, keys).Run(scriptOut);
    if (result == 0) fs::remove_all(state, ec);
    else std::fprintf(stderr, "soak: the notebook's files are kept in %s\n", state.c_str());
    return result;
}
