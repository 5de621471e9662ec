// Window runs of a small application: a session typed and clicked into the window through synthetic desktop
// events is recorded and replayed headless to the same screenshots; mouse clicks as stylus input; a key
// script played in the window; the fallback when there is no display.
#include <cehost/sim/window.h>

#include "TestApplication.h"

#include <cstdlib>

#ifdef CEHOST_TEST_HAVE_SDL2
#include <SDL.h>
#endif

namespace fs = std::filesystem;

// Window runs on SDL's offscreen driver, each with a folder of its own.
struct SimWindow : ::testing::Test {
    void SetUp() override { setenv("SDL_VIDEODRIVER", "offscreen", 1); }
    const fs::path dir = TestDir();
};

TEST_F(SimWindow, WithoutADisplayTheRunEndsWithAMessageInsteadOfHanging) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("SDL_VIDEODRIVER");
    std::string why;
    EXPECT_FALSE(cehost::sim::WindowAvailable(&why));
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(2, RunApp({}));
    EXPECT_EQ(0, g_app.winMainCalls) << "with no window and no key script there is nothing to run";
}

#ifdef CEHOST_TEST_HAVE_SDL2

namespace {

// Feeds synthetic desktop events to the window one at a time, each once the window has handed the previous
// one to the application, on a clock that moves only when the window sleeps. A pause, and holding the
// following steps back until the window's key script has played, are steps of their own.
class SyntheticSession {
public:
    static constexpr Uint32 kPause = SDL_LASTEVENT - 1, kAwaitScript = SDL_LASTEVENT - 2;

    void Key(SDL_Keycode key) { Down(key), Up(key); }
    void Down(SDL_Keycode key) { KeyEvent(SDL_KEYDOWN, key); }
    void Up(SDL_Keycode key) { KeyEvent(SDL_KEYUP, key); }
    void Pause(unsigned ms) {
        SDL_Event e{.type = kPause};
        e.user.code = Sint32(ms);
        m_steps.push_back(e);
    }
    void AwaitScript() { m_steps.push_back({.type = kAwaitScript}); }
    void Close() { m_steps.push_back({.type = SDL_QUIT}); }
    // The left button going down or up at a window point, or the mouse moved there with the button held.
    void Mouse(Uint32 type, int x, int y) {
        SDL_Event e{.type = type};
        if (type == SDL_MOUSEMOTION) {
            e.motion.state = SDL_BUTTON_LMASK, e.motion.x = x, e.motion.y = y;
        } else {
            e.button.button = SDL_BUTTON_LEFT, e.button.clicks = 1, e.button.x = x, e.button.y = y;
            e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        }
        m_steps.push_back(e);
    }
    void Click(int x, int y) { Mouse(SDL_MOUSEBUTTONDOWN, x, y), Mouse(SDL_MOUSEBUTTONUP, x, y); }

    void Install() {
        cehost::sim::SetWindowDriver({.onTurn = [this](size_t pending) { OnTurn(pending); },
                                      .now = [this] { return m_now; },
                                      .sleep = [this](unsigned ms) { m_now += ms; }});
    }

    // The widest and tallest the window has been, and where it stood last.
    int maxWindowWidth = 0, maxWindowHeight = 0;
    cehost::sim::WindowStatus last;
    uint64_t now() const { return m_now; }

private:
    void KeyEvent(Uint32 type, SDL_Keycode key) {
        SDL_Event e{.type = type};
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.sym = key;
        e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
        m_steps.push_back(e);
    }
    void OnTurn(size_t pending) {
        const bool awaiting = m_next < m_steps.size() && m_steps[m_next].type == kAwaitScript;
        if (cehost::sim::GetWindowStatus(&last)) {
            maxWindowWidth = std::max(maxWindowWidth, last.windowWidth);
            maxWindowHeight = std::max(maxWindowHeight, last.windowHeight);
            if (awaiting && !last.scriptPlaying) ++m_next;
        }
        if (pending || m_next >= m_steps.size() || m_now < m_pauseUntil || m_steps[m_next].type == kAwaitScript)
            return;
        SDL_Event& step = m_steps[m_next++];
        if (step.type == kPause)
            m_pauseUntil = m_now + unsigned(step.user.code);
        else
            SDL_PushEvent(&step);
    }

    std::vector<SDL_Event> m_steps;
    size_t m_next = 0;
    uint64_t m_now = 1000;
    uint64_t m_pauseUntil = 0;
};

// The named screenshots of two runs, pixel for pixel the same, each differing from the one before (so that
// the comparison has something to find); returns the first run's.
std::vector<Image> ExpectSameShots(const fs::path& a, const fs::path& b, const std::vector<std::string>& names) {
    std::vector<Image> shots;
    for (const std::string& name : names) {
        Image x = ReadShot(a / name), y = ReadShot(b / name);
        EXPECT_EQ(x.width, y.width) << name;
        EXPECT_TRUE(x.pixels == y.pixels) << name << " differs between " << a << " and " << b;
        EXPECT_TRUE(shots.empty() || shots.back().pixels != x.pixels) << name << " shows no change";
        shots.push_back(std::move(x));
    }
    return shots;
}

} // namespace

// Keys, a held key while a timer runs, clicks, a drag and two turns of the screen, recorded in the window
// and replayed headless.
TEST_F(SimWindow, RecordedSessionReplaysHeadlessToTheSameScreens) {
    SyntheticSession session;
    session.Click(61, 91); // screen 20,30 at zoom 3
    session.Key(SDLK_F12); // shot-001: the first screen with its mark
    session.Key(SDLK_DOWN);
    session.Key(SDLK_DOWN);
    session.Down(SDLK_LSHIFT);
    session.Key(SDLK_h);
    session.Up(SDLK_LSHIFT);
    session.Key(SDLK_i);
    session.Down(SDLK_RETURN); // the timer starts and runs while Return is held
    session.Pause(100);
    session.Up(SDLK_RETURN);
    session.Pause(150);
    session.Key(SDLK_F12); // shot-002: five ticks, the timer has stopped
    session.Key(SDLK_RETURN);
    session.Pause(50);
    session.Click(451, 601); // 150,200, while the timer runs
    session.Pause(10);
    session.Key(SDLK_F12); // shot-003: one tick into the second run, a second mark
    session.Key(SDLK_F1);  // landscape
    session.Key(SDLK_F12); // shot-004
    session.Mouse(SDL_MOUSEBUTTONDOWN, 30, 30); // a drag, which cannot be recorded
    session.Mouse(SDL_MOUSEMOTION, 90, 90);
    session.Mouse(SDL_MOUSEBUTTONUP, 90, 90);
    session.Key(SDLK_F1);  // and back
    session.Close();
    session.Install();
    const fs::path script = dir / "session.keys";
    testing::internal::CaptureStderr();
    ASSERT_EQ(0, RunApp({"--zoom", "3", "--record", script.string(), "--shots", (dir / "live").string()}));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, err.find("1 stylus stroke(s) with movement could not be recorded")) << err;
    EXPECT_EQ(u"Hi\r\r", g_app.text) << "Return types a carriage return";
    EXPECT_GE(g_app.ticks, 6) << "five, then at least one of the second run";
    EXPECT_EQ(std::pair((320 + cehost::sim::kKeypadSkinWidth) * 3, 320 * 3 + 20),
              std::pair(session.maxWindowWidth, session.maxWindowHeight))
        << "the window follows the turned screen, the keypad beside it";
    EXPECT_GT(session.last.presents, 0u);
    cehost::sim::SetWindowDriver({});
    const AppState live = g_app;
    g_app = AppState{};
    ASSERT_EQ(0, RunApp({"--headless", "--script", script.string(), "--shots", (dir / "replay").string()}));
    EXPECT_EQ(std::tie(live.text, live.row, live.ticks), std::tie(g_app.text, g_app.row, g_app.ticks))
        << "the replay typed and moved as the window run did, and the timer fired as often";
    EXPECT_EQ(live.stylus.size(), g_app.stylus.size() + 3) << "all but the drag's down, move and up";
    const std::vector<Image> shots = ExpectSameShots(dir / "live", dir / "replay",
                                                     {"shot-001.png", "shot-002.png", "shot-003.png", "shot-004.png"});
    ASSERT_EQ(4u, shots.size());
    EXPECT_EQ(0x00A000u, shots[2].At(150, 200)) << "the mark of the second click";
    EXPECT_EQ(std::pair(320, 240), std::pair(shots[3].width, shots[3].height));
}

// At zoom 2 the mouse is the stylus at half its window position, kept on the screen while dragged beyond
// it; the status line below the screen is not the screen. On the keypad beside the screen the mouse presses
// keys, and these are recorded as keys; without the keypad nothing is there.
TEST_F(SimWindow, MouseIsTheStylusOnTheScreenAndPressesTheKeypadBesideIt) {
    const fs::path script = dir / "skin.keys";
    SyntheticSession session;
    session.Mouse(SDL_MOUSEBUTTONDOWN, 480 + 2 * 26, 2 * 200); // 4, held a while
    session.Pause(500);
    session.Mouse(SDL_MOUSEBUTTONUP, 480 + 2 * 26, 2 * 200);
    session.Click(480 + 2 * 70, 2 * 158); // 2
    session.Click(480 + 2 * 70, 2 * 117); // the down arrow
    session.Click(480 + 2 * 70, 2 * 315); // below the last row: no key
    session.Click(101, 61);           // screen 50,30
    session.Mouse(SDL_MOUSEBUTTONDOWN, 20, 21);  // 10,10
    session.Mouse(SDL_MOUSEMOTION, 21, 21);  // still 10,10: nothing for the application
    session.Mouse(SDL_MOUSEMOTION, 41, 81);  // 20,40
    session.Mouse(SDL_MOUSEMOTION, 600, 100); // beyond the right edge: kept on it
    session.Mouse(SDL_MOUSEBUTTONUP, 600, 100);
    session.Mouse(SDL_MOUSEMOTION, 200, 200); // the button is up: no stylus
    session.Click(100, 2 * 320 + 10);      // in the status line
    session.Mouse(SDL_MOUSEBUTTONDOWN, 100, 2 * 320); // its first row...
    session.Mouse(SDL_MOUSEMOTION, 100, 100);     // ...dragged onto the screen
    session.Mouse(SDL_MOUSEBUTTONUP, 100, 100);
    session.Click(3, 2 * 320 - 1); // the screen's last row still is the screen
    session.Close();
    session.Install();
    ASSERT_EQ(0, RunApp({"--zoom", "2", "--record", script.string()}));
    const std::vector<StylusMessage> expected = {
        {WM_LBUTTONDOWN, 50, 30, MK_LBUTTON}, {WM_LBUTTONUP, 50, 30, 0},
        {WM_LBUTTONDOWN, 10, 10, MK_LBUTTON}, {WM_MOUSEMOVE, 20, 40, MK_LBUTTON},
        {WM_MOUSEMOVE, 239, 50, MK_LBUTTON},  {WM_LBUTTONUP, 239, 50, 0},
        {WM_LBUTTONDOWN, 1, 319, MK_LBUTTON}, {WM_LBUTTONUP, 1, 319, 0}};
    EXPECT_EQ(expected, g_app.stylus);
    EXPECT_EQ("4 2 DOWN tap 50,30 drag 10,10-239,50 tap 1,319", session.last.statusText)
        << "the keys and the stylus, not the status line's own clicks";
    EXPECT_EQ(std::pair(std::u16string(u"42"), 1), std::pair(g_app.text, g_app.row));
    EXPECT_NE(std::string::npos, ReadFile(script).find("key 4 2 DOWN\n")) << ReadFile(script);
    EXPECT_EQ(2 * (240 + cehost::sim::kKeypadSkinWidth), session.maxWindowWidth);
    g_app = AppState{};
    SyntheticSession bare;
    bare.Click(480 + 2 * 26, 2 * 200);
    bare.Close();
    bare.Install();
    ASSERT_EQ(0, RunApp({"--zoom", "2", "--skin", "none"}));
    EXPECT_EQ(u"", g_app.text);
    EXPECT_EQ(2 * 240, bare.maxWindowWidth);
}

TEST_F(SimWindow, AScriptPlaysInTheWindowAsHeadlessThenTheUserTakesOver) {
    const fs::path script = dir / "play.keys";
    std::ofstream(script) << "key DOWN\ntap 50 30\nscreenshot one\nkey RETURN\nwait 100\nscreenshot two\n"
                             "type hi\nwait 200\nscreenshot three\n";
    SyntheticSession session;
    session.Key(SDLK_DOWN); // typed while the script plays: ignored
    session.Click(20, 20);
    session.AwaitScript();
    session.Key(SDLK_DOWN); // the user's, after the script
    session.Close();
    session.Install();
    const uint64_t start = session.now();
    ASSERT_EQ(0, RunApp({"--script", script.string(), "--shots", (dir / "window").string()}));
    EXPECT_GE(session.now() - start, 300u) << "the waits took their time";
    EXPECT_EQ(2, g_app.row) << "the script's Down and the user's, not the one typed during the script";
    EXPECT_EQ(u"\rhi", g_app.text);
    EXPECT_EQ(2u, g_app.stylus.size()) << "only the script's tap";
    const AppState windowed = g_app;
    cehost::sim::SetWindowDriver({});
    g_app = AppState{};
    ASSERT_EQ(0, RunApp({"--headless", "--script", script.string(), "--shots", (dir / "headless").string()}));
    EXPECT_EQ(windowed.ticks, g_app.ticks);
    EXPECT_EQ(3u, ExpectSameShots(dir / "window", dir / "headless", {"one.png", "two.png", "three.png"}).size());
}

// A failing script line stops the window run naming file and line; a bad key-map file stops it before the
// application starts.
TEST_F(SimWindow, ScriptAndKeyMapErrorsStopTheRun) {
    fs::create_directories(dir / "shots" / "x.png"); // where the screenshot should go is a folder
    const fs::path script = dir / "fails.keys";
    std::ofstream(script) << "key DOWN\nscreenshot x\nkey DOWN\n";
    SyntheticSession session;
    session.Install();
    testing::internal::CaptureStderr();
    EXPECT_EQ(3, RunApp({"--script", script.string(), "--shots", (dir / "shots").string()}));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, err.find(script.string() + ": line 2: ")) << err;
    EXPECT_EQ(1, g_app.row) << "nothing after the failing line was played";
    EXPECT_EQ(1, g_app.winMainCalls);
    std::ofstream(dir / "bad.map") << "F1 = VK_F1\nF2 = NOWHERE\n";
    EXPECT_EQ(2, RunApp({"--keymap", (dir / "bad.map").string()}));
    EXPECT_EQ(2, RunApp({"--keymap", (dir / "missing.map").string()}));
    EXPECT_EQ(1, g_app.winMainCalls);
}

#endif
