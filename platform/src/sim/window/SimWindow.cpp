// The simulator's desktop window (SDL2): the framebuffer shown at an integer zoom, PC keys delivered as keypad
// keys through keybd_event, the left mouse button as the stylus, a status line with the last input,
// screenshots on a key, a key script played before the user takes over, and the recording of the session as
// a key script. Everything runs on the application's own thread from the idle turns of its message loop;
// nothing here runs while the application is busy.
//
// Recording needs a clock that a headless replay can reproduce, so a recorded session runs on the virtual
// clock and the window moves it: while a timer exists, by the real time that passed (stepping to each timer
// as it falls due); while none exists, not at all, because then no one can tell; while the stylus is down,
// not at all either, so that a click stays one `tap`. A key script plays on the virtual clock too, its waits
// taking as much real time as they say, so that it shows the screens a headless run of it shows.
#include "sim/window/SimWindow.h"

#include "sim/ScriptPlayer.h"

#include <cehost/sim.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#ifdef CEHOST_HAVE_SDL2
#include "sim/window/SdlApi.h"
#endif

namespace cehost::sim {

namespace {

WindowDriver& Driver() {
    static WindowDriver driver;
    return driver;
}

// The clock and the sleep of the window's loop; a test driver may stand in for both.
[[maybe_unused]] uint64_t RealNow() {
    if (Driver().now) return Driver().now();
    using namespace std::chrono;
    return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

[[maybe_unused]] void RealSleep(unsigned ms) {
    if (Driver().sleep)
        Driver().sleep(ms);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool g_windowOpen = false;
WindowStatus g_status;

} // namespace

void SetWindowDriver(WindowDriver driver) { Driver() = std::move(driver); }

bool GetWindowStatus(WindowStatus* out) {
    if (!g_windowOpen || !out) return false;
    *out = g_status;
    return true;
}

#ifndef CEHOST_HAVE_SDL2

bool WindowAvailable(std::string* why) {
    if (why) *why = "this build of cehost has no desktop window (it was built without SDL2)";
    return false;
}

int RunInWindow(const SimOptions&, const WindowOptions&, std::vector<ScriptStep>, const std::u16string&, WinMainProc,
                const char* program) {
    std::fprintf(stderr, "%s: this build of cehost has no desktop window\n", program);
    return 2;
}

#else

// When the display cannot be reached SDL may fall back to a driver that draws nowhere; a window nobody can see
// is no window, unless that driver was asked for by name.
bool VisibleDriver() {
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    if (asked && *asked) return true;
    const char* current = SDL_GetCurrentVideoDriver();
    return current && std::strcmp(current, "offscreen") != 0 && std::strcmp(current, "dummy") != 0;
}

// Starts SDL's video on a driver that shows something. A busy X server can refuse a connection for a moment
// (SDL then settles for an invisible driver), so a display that is named is tried for a while before it is
// called unreachable. On failure video is not left running.
bool StartVisibleVideo(std::string* error) {
    constexpr int kAttempts = 20;
    constexpr auto kPause = std::chrono::milliseconds(100);
    if (std::string why; !sdl::Load(&why)) {
        *error = "no window could be opened: " + why;
        return false;
    }
    for (int attempt = 0;; ++attempt) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            *error = std::string("no window could be opened: ") + SDL_GetError();
            return false;
        }
        if (VisibleDriver()) return true;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        if (attempt + 1 == kAttempts) break;
        std::this_thread::sleep_for(kPause);
    }
    *error = "the display could not be opened (only an invisible window was offered)";
    return false;
}

bool WindowAvailable(std::string* why) {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (!(driver && *driver) && !(x11 && *x11) && !(wayland && *wayland)) {
        if (why) *why = "no display to open a window on (DISPLAY and WAYLAND_DISPLAY are not set)";
        return false;
    }
    std::string error;
    if (!StartVisibleVideo(&error)) {
        if (why) *why = error;
        return false;
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return true;
}

namespace {

constexpr int kStatusHeight = 20;      // window coordinates
constexpr unsigned kFrameMs = 16;      // the screen is compared with the window at most this often
constexpr unsigned kIdleSleepMs = 8;   // how long an idle turn with nothing to do sleeps
constexpr size_t kStatusKeys = 8;      // keys the status line remembers
constexpr uint64_t kMessageMs = 4000;  // how long a message stays in the status line

// One thing for the application, handed over on an idle turn of its own so that it has finished with the
// previous one (as a headless replay does it).
struct PendingInput {
    enum class Kind { Down, Up, Screenshot, StylusDown, StylusMove, StylusUp };
    Kind kind;
    BYTE vk = 0;
    bool repeat = false;
    POINT at{}; // the stylus, in screen coordinates
};

std::string PointText(POINT p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

class SimWindow {
public:
    SimWindow(const SimOptions& options, const WindowOptions& window, KeyMap keys, std::vector<ScriptStep> steps)
        : m_shotsDir(options.shotsDir), m_zoom(window.zoom), m_skin(window.keypadSkin), m_keys(std::move(keys)),
          m_recording(!window.record.empty()), m_output(*this) {
        // The replay of a recording starts in the same input as the session did.
        if (options.keypadInput) m_recorder.Input(true);
        if (!options.script.empty()) m_player.emplace(std::move(steps), options, m_output, ScriptPlayer::AtEnd::Stay);
    }

    ~SimWindow() {
        g_windowOpen = false;
        if (m_statusTexture) SDL_DestroyTexture(m_statusTexture);
        if (m_skinTexture) SDL_DestroyTexture(m_skinTexture);
        if (m_screenTexture) SDL_DestroyTexture(m_screenTexture);
        if (m_renderer) SDL_DestroyRenderer(m_renderer);
        if (m_window) SDL_DestroyWindow(m_window);
        if (m_videoUp) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    bool Open(std::string* error) {
        std::string why;
        if (!StartVisibleVideo(&why)) {
            if (error) *error = why;
            return false;
        }
        m_videoUp = true;
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0"); // nearest neighbour: the pixels stay sharp
        const SIZE screen = GetScreenSize();
        m_window = SDL_CreateWindow("cehost", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                    ContentWidth(int(screen.cx)) * m_zoom,
                                    ContentHeight(int(screen.cy)) * m_zoom + kStatusHeight, SDL_WINDOW_ALLOW_HIGHDPI);
        if (!m_window) return Fail(error, "the window could not be created");
        m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_ACCELERATED);
        if (!m_renderer) m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_SOFTWARE);
        if (!m_renderer) return Fail(error, "the window has no renderer");
        // Key-down and key-up are what the application gets; typed text comes from TranslateMessage.
        SDL_StopTextInput();
        g_windowOpen = true;
        g_status.scriptPlaying = m_player.has_value();
        m_lastReal = RealNow();
        Layout();
        return true;
    }

    const SessionRecorder& Recorder() const { return m_recorder; }
    int ScriptExitCode(int result) const { return m_player ? m_player->ExitCode(result) : result; }

    // One idle turn of the application's message loop: true when the application was given something (or,
    // on the virtual clock, when the turn has already slept so that the loop must not jump to a timer).
    bool OnIdle() {
        if (Driver().onTurn) Driver().onTurn(m_pending.size());
        ReadEvents();
        if (m_closed) {
            if (!m_quitPosted) {
                m_quitPosted = true;
                PostQuitMessage(0);
            }
            return true;
        }
        if (ScriptPlaying()) {
            const bool gave = m_player->OnIdle();
            if (!m_player->Playing()) ScriptEnded();
            Refresh();
            if (gave) return true;
            if (ScriptPlaying()) {
                // A wait that needs more real time.
                RealSleep(kIdleSleepMs);
                return true;
            }
        }
        bool gave = DeliverOne();
        if (!gave && m_recording) gave = m_stylusInApp ? HoldClock() : DriveClock();
        Refresh();
        if (gave) return true;
        if (!m_recording) return false; // the real clock: the message loop sleeps up to its next timer itself
        RealSleep(kIdleSleepMs);
        return true;
    }

private:
    // The script's input goes the way the user's does (status line, recording); its waits take real time.
    class Output : public ScriptOutput {
    public:
        explicit Output(SimWindow& window) : m_window(window) {}
        void KeyDown(BYTE vk) override { m_window.SendKeyDown(vk, false); }
        void KeyUp(BYTE vk) override { m_window.SendKeyUp(vk); }
        void StylusDown(int x, int y) override { m_window.SendStylus(PendingInput::Kind::StylusDown, {x, y}); }
        void StylusUp(int x, int y) override { m_window.SendStylus(PendingInput::Kind::StylusUp, {x, y}); }
        DWORD Allowance(DWORD wanted, bool starting) override {
            const uint64_t real = RealNow();
            m_window.m_budget = starting ? 0 : m_window.m_budget + (real - m_window.m_lastReal);
            m_window.m_lastReal = real;
            const DWORD given = DWORD(std::min<uint64_t>(wanted, m_window.m_budget));
            m_window.m_budget -= given;
            return given;
        }
        void Advance(DWORD milliseconds) override {
            AdvanceClock(milliseconds);
            m_window.m_recorder.ClockAdvanced(milliseconds);
        }
        void InputSource(bool keypad) override {
            SetKeypadInput(keypad);
            m_window.m_recorder.Input(keypad);
        }
        void ScreenshotSaved(const std::string& name) override {
            m_window.m_recorder.Screenshot(name);
            m_window.ShowMessage("screenshot saved to " + (std::filesystem::path(m_window.m_shotsDir) / name).string());
        }

    private:
        SimWindow& m_window;
    };

    bool ScriptPlaying() const { return m_player && m_player->Playing(); }

    // The keyboard and the stylus are the user's from now on. Without a recording the clock becomes the real
    // one (it stays monotonic); a recording keeps the virtual clock it needs.
    void ScriptEnded() {
        g_status.scriptPlaying = false;
        if (!m_recording) SetVirtualTime(false);
        m_lastReal = RealNow();
        m_budget = 0;
        if (!m_player->Failed()) ShowMessage("key script played; keyboard and stylus are yours");
    }

    static bool Fail(std::string* error, const std::string& what) {
        if (error) *error = what + ": " + SDL_GetError();
        return false;
    }

    void ReadEvents() {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            switch (e.type) {
            case SDL_QUIT: m_closed = true; break;
            case SDL_KEYDOWN:
            case SDL_KEYUP: OnKey(e.key); break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: OnButton(e.button); break;
            case SDL_MOUSEMOTION: OnMotion(e.motion); break;
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) ReleaseHeldKeys();
                if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                    m_forcePresent = true;
                break;
            default: break;
            }
        }
    }

    void OnKey(const SDL_KeyboardEvent& key) {
        if (ScriptPlaying()) return;
        const KeyBinding* binding = m_keys.Find(SDL_GetKeyName(key.keysym.sym));
        if (!binding) return;
        const bool down = key.type == SDL_KEYDOWN;
        if (binding->action == KeyBinding::Action::Screenshot) {
            if (down && !key.repeat) m_pending.push_back({PendingInput::Kind::Screenshot});
            return;
        }
        if (down) {
            m_held[key.keysym.sym] = binding->vk;
            m_pending.push_back({PendingInput::Kind::Down, binding->vk, key.repeat != 0});
            return;
        }
        // The key that went down is the one that comes up, even if two PC keys share it.
        auto it = m_held.find(key.keysym.sym);
        if (it == m_held.end()) return;
        m_pending.push_back({PendingInput::Kind::Up, it->second});
        m_held.erase(it);
    }

    // The keypad shows the key that is down, whether the mouse, the PC keyboard or a script pressed it.
    void ShowPressed(BYTE vk) {
        if (!m_skin || vk == m_skinPressed) return;
        m_skinPressed = vk;
        m_skinDirty = true;
    }

    // The keypad stands to the right of the screen, as tall as a portrait screen: the window is as wide as
    // both and as tall as the taller.
    int ContentWidth(int screenW) const { return screenW + (m_skin ? kKeypadSkinWidth : 0); }
    int ContentHeight(int screenH) const { return m_skin ? std::max(screenH, kKeypadSkinHeight) : screenH; }

    // The drawable pixels per window coordinate (more than one on a high-density display).
    int DrawableScale() const {
        int ww = 0, wh = 0, dw = 0, dh = 0;
        SDL_GetWindowSize(m_window, &ww, &wh);
        SDL_GetRendererOutputSize(m_renderer, &dw, &dh);
        return ww > 0 && dw >= ww ? dw / ww : 1;
    }

    // The keypad key under a window point, 0 for none.
    BYTE SkinKeyAt(int wx, int wy) const {
        if (!m_skin) return 0;
        const int cell = m_zoom * DrawableScale();
        const int64_t px = int64_t(wx) * DrawableScale() - int64_t(m_screenW) * cell, py = int64_t(wy) * DrawableScale();
        if (px < 0 || py < 0) return 0;
        return KeypadSkinKeyAt(int(px / cell), int(py / cell));
    }

    // The point of the screen under a window point. Mouse positions are window coordinates, while the screen
    // was drawn in drawable pixels (more of them on a high-density display), zoom x scale to a screen pixel.
    // Outside the screen (the status line, a margin) there is no point, unless `clamp` asks for the nearest.
    bool ToScreen(int wx, int wy, bool clamp, POINT* out) const {
        int ww = 0, wh = 0, dw = 0, dh = 0;
        SDL_GetWindowSize(m_window, &ww, &wh);
        SDL_GetRendererOutputSize(m_renderer, &dw, &dh);
        const int scale = ww > 0 && dw >= ww ? dw / ww : 1;
        const int64_t px = ww > 0 && dw > 0 ? int64_t(wx) * dw / ww : wx;
        const int64_t py = wh > 0 && dh > 0 ? int64_t(wy) * dh / wh : wy;
        const int64_t cell = int64_t(m_zoom) * scale;
        int64_t x = px >= 0 ? px / cell : -1, y = py >= 0 ? py / cell : -1;
        if (clamp) {
            x = std::clamp<int64_t>(x, 0, m_screenW - 1);
            y = std::clamp<int64_t>(y, 0, m_screenH - 1);
        } else if (x < 0 || y < 0 || x >= m_screenW || y >= m_screenH) {
            return false;
        }
        *out = POINT{LONG(x), LONG(y)};
        return true;
    }

    // The left button is the stylus: it goes down only on the screen, and once down it follows the mouse
    // (kept on the screen's edge when the mouse leaves it) until it comes up.
    void OnButton(const SDL_MouseButtonEvent& button) {
        if (button.button != SDL_BUTTON_LEFT || ScriptPlaying()) return;
        POINT p{};
        if (button.type == SDL_MOUSEBUTTONDOWN) {
            if (m_stylusHeld || m_skinHeld) return;
            if (!ToScreen(button.x, button.y, false, &p)) {
                // A key of the keypad goes down with the button and comes up with it, so long presses work.
                if (const BYTE vk = SkinKeyAt(button.x, button.y)) {
                    m_skinHeld = vk;
                    m_pending.push_back({PendingInput::Kind::Down, vk});
                }
                return;
            }
            m_stylusHeld = true;
            m_stylusAt = p;
            m_pending.push_back({PendingInput::Kind::StylusDown, 0, false, p});
            return;
        }
        if (m_skinHeld) {
            m_pending.push_back({PendingInput::Kind::Up, m_skinHeld});
            m_skinHeld = 0;
            return;
        }
        if (!m_stylusHeld) return;
        ToScreen(button.x, button.y, true, &p);
        m_stylusHeld = false;
        m_pending.push_back({PendingInput::Kind::StylusUp, 0, false, p});
    }

    void OnMotion(const SDL_MouseMotionEvent& motion) {
        if (!m_stylusHeld) return;
        POINT p{};
        ToScreen(motion.x, motion.y, true, &p);
        if (p.x == m_stylusAt.x && p.y == m_stylusAt.y) return;
        m_stylusAt = p;
        // Only where the stylus is now matters: moves the application has not had yet are merged.
        if (!m_pending.empty() && m_pending.back().kind == PendingInput::Kind::StylusMove)
            m_pending.back().at = p;
        else
            m_pending.push_back({PendingInput::Kind::StylusMove, 0, false, p});
    }

    // Keys (and the stylus) held while the window loses the keyboard would otherwise stay down in the
    // application forever.
    void ReleaseHeldKeys() {
        for (const auto& [sym, vk] : m_held) m_pending.push_back({PendingInput::Kind::Up, vk});
        m_held.clear();
        if (m_skinHeld) {
            m_pending.push_back({PendingInput::Kind::Up, m_skinHeld});
            m_skinHeld = 0;
        }
        if (m_stylusHeld) {
            m_stylusHeld = false;
            m_pending.push_back({PendingInput::Kind::StylusUp, 0, false, m_stylusAt});
        }
    }

    bool DeliverOne() {
        if (m_pending.empty()) return false;
        const PendingInput input = m_pending.front();
        m_pending.pop_front();
        switch (input.kind) {
        case PendingInput::Kind::Down: SendKeyDown(input.vk, input.repeat); return true;
        case PendingInput::Kind::Up: SendKeyUp(input.vk); return true;
        case PendingInput::Kind::Screenshot: TakeScreenshot(); return true;
        case PendingInput::Kind::StylusDown:
        case PendingInput::Kind::StylusMove:
        case PendingInput::Kind::StylusUp: SendStylus(input.kind, input.at); return true;
        }
        return false;
    }

    void SendKeyDown(BYTE vk, bool repeat) {
        keybd_event(vk, 0, 0, 0);
        ShowPressed(vk);
        m_recorder.KeyDown(vk);
        if (!repeat) ShowInput(ScriptKeyName(vk));
    }

    void SendKeyUp(BYTE vk) {
        keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
        if (vk == m_skinPressed) ShowPressed(0);
        m_recorder.KeyUp(vk);
    }

    // The same entry points a headless `tap` uses; the application gets WM_LBUTTONDOWN, WM_MOUSEMOVE and
    // WM_LBUTTONUP in its client coordinates.
    void SendStylus(PendingInput::Kind kind, POINT p) {
        switch (kind) {
        case PendingInput::Kind::StylusDown:
            StylusDown(p.x, p.y);
            m_recorder.StylusDown(p.x, p.y);
            m_stylusInApp = true;
            m_strokeFrom = p;
            ShowInput("tap " + PointText(p));
            break;
        case PendingInput::Kind::StylusMove:
            StylusMove(p.x, p.y);
            m_recorder.StylusMove(p.x, p.y);
            break;
        default:
            StylusUp(p.x, p.y);
            m_recorder.StylusUp(p.x, p.y);
            m_stylusInApp = false;
            if ((p.x != m_strokeFrom.x || p.y != m_strokeFrom.y) && !m_lastKeys.empty() &&
                m_lastKeys.back() == "tap " + PointText(m_strokeFrom)) {
                m_lastKeys.back() = "drag " + PointText(m_strokeFrom) + "-" + PointText(p);
                SetStatus();
            }
            break;
        }
    }

    void ShowInput(const std::string& what) {
        m_lastKeys.push_back(what);
        if (m_lastKeys.size() > kStatusKeys) m_lastKeys.pop_front();
        SetStatus();
    }

    void ShowMessage(const std::string& message) {
        m_message = message;
        m_messageUntil = RealNow() + kMessageMs;
        SetStatus();
    }

    // While the stylus is down in a recorded session the clock stands still: key scripts have no stylus
    // held across a wait.
    bool HoldClock() {
        m_lastReal = RealNow();
        m_budget = 0;
        return false;
    }

    // The virtual clock of a recorded session follows real time while a timer runs.
    bool DriveClock() {
        const uint64_t real = RealNow();
        m_budget += real - m_lastReal;
        m_lastReal = real;
        DWORD due = 0;
        if (!NextTimerDue(&due)) {
            m_budget = 0;
            return false;
        }
        const int32_t until = int32_t(due - GetTickCount());
        if (until <= 0) return false; // already due: the loop delivers it
        if (uint64_t(until) <= m_budget) {
            Advance(DWORD(until));
            return true;
        }
        if (m_budget) Advance(DWORD(m_budget));
        return false;
    }

    void Advance(DWORD ms) {
        AdvanceClock(ms);
        m_recorder.ClockAdvanced(ms);
        m_budget -= ms;
    }

    void TakeScreenshot() {
        std::error_code ec;
        std::filesystem::path path;
        std::string name;
        do {
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "shot-%03d", ++m_shotNumber);
            name = buffer;
            path = std::filesystem::path(m_shotsDir) / (name + ".png");
        } while (std::filesystem::exists(path, ec));
        std::string error;
        std::string message;
        if (SaveScreenshot(path.string(), &error)) {
            m_recorder.Screenshot(name);
            message = "screenshot saved to " + path.string();
        } else {
            message = "no screenshot: " + error;
        }
        std::fprintf(stderr, "cehost: %s\n", message.c_str());
        ShowMessage(message);
    }

    void SetStatus() {
        std::string text;
        if (!m_message.empty()) {
            text = m_message;
        } else {
            for (const std::string& k : m_lastKeys) text += (text.empty() ? "" : " ") + k;
        }
        if (text != g_status.statusText) {
            g_status.statusText = text;
            m_statusDirty = true;
        }
    }

    // Sizes the window to the screen: after a rotation the framebuffer itself is turned, so the window only
    // follows its new shape.
    void Layout() {
        const SIZE screen = GetScreenSize();
        m_screenW = int(screen.cx);
        m_screenH = int(screen.cy);
        const int w = ContentWidth(m_screenW) * m_zoom, h = ContentHeight(m_screenH) * m_zoom + kStatusHeight;
        int cw = 0, ch = 0;
        SDL_GetWindowSize(m_window, &cw, &ch);
        if (cw != w || ch != h) SDL_SetWindowSize(m_window, w, h);
        g_status.windowWidth = w;
        g_status.windowHeight = h;
        if (m_screenTexture) SDL_DestroyTexture(m_screenTexture);
        m_screenTexture =
            SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, m_screenW, m_screenH);
        m_shown.assign(size_t(m_screenW) * size_t(m_screenH), 0);
        m_screenDirty = true;
        m_statusDirty = true;
        m_skinDirty = true;
    }

    void Refresh() {
        const uint64_t real = RealNow();
        if (!m_message.empty() && real >= m_messageUntil) {
            m_message.clear();
            SetStatus();
        }
        if (!m_forcePresent && !m_statusDirty && real - m_lastFrame < kFrameMs) return;
        m_lastFrame = real;
        const SIZE screen = GetScreenSize();
        if (int(screen.cx) != m_screenW || int(screen.cy) != m_screenH) Layout();
        const uint32_t* pixels = ScreenPixels();
        const size_t bytes = m_shown.size() * sizeof(uint32_t);
        if (m_screenDirty || std::memcmp(pixels, m_shown.data(), bytes) != 0) {
            std::memcpy(m_shown.data(), pixels, bytes);
            if (m_screenTexture) SDL_UpdateTexture(m_screenTexture, nullptr, m_shown.data(), m_screenW * 4);
            m_screenDirty = false;
            m_forcePresent = true;
        }
        if (m_statusDirty) {
            RenderStatus();
            m_forcePresent = true;
        }
        if (m_skinDirty) {
            RenderSkin();
            m_forcePresent = true;
        }
        if (m_forcePresent) Present();
    }

    void Present() {
        m_forcePresent = false;
        int ww = 0, wh = 0, dw = 0, dh = 0;
        SDL_GetWindowSize(m_window, &ww, &wh);
        SDL_GetRendererOutputSize(m_renderer, &dw, &dh);
        // On a high-density display the drawable has more pixels than the window has coordinates.
        const int scale = ww > 0 && dw >= ww ? dw / ww : 1;
        SDL_SetRenderDrawColor(m_renderer, 32, 32, 32, 255);
        SDL_RenderClear(m_renderer);
        const SDL_Rect screen{0, 0, m_screenW * m_zoom * scale, m_screenH * m_zoom * scale};
        if (m_screenTexture) SDL_RenderCopy(m_renderer, m_screenTexture, nullptr, &screen);
        if (m_skinTexture) {
            const SDL_Rect skin{screen.w, 0, m_skinW, m_skinH};
            SDL_RenderCopy(m_renderer, m_skinTexture, nullptr, &skin);
        }
        if (m_statusTexture) {
            const SDL_Rect status{0, ContentHeight(m_screenH) * m_zoom * scale, m_statusW, m_statusH};
            SDL_RenderCopy(m_renderer, m_statusTexture, nullptr, &status);
        }
        SDL_RenderPresent(m_renderer);
        ++g_status.presents;
    }

    // The status line is drawn with cehost's own text rendering into a DIB section and handed to SDL.
    void RenderStatus() {
        m_statusDirty = false;
        int ww = 0, wh = 0, dw = 0, dh = 0;
        SDL_GetWindowSize(m_window, &ww, &wh);
        SDL_GetRendererOutputSize(m_renderer, &dw, &dh);
        const int scale = ww > 0 && dw >= ww ? dw / ww : 1;
        const int w = std::max(1, ContentWidth(m_screenW) * m_zoom * scale), h = kStatusHeight * scale;
        RenderToTexture(w, h, m_statusTexture, m_statusW, m_statusH, [&](HDC dc) { PaintStatus(dc, w, h, scale); });
    }

    void PaintStatus(HDC dc, int w, int h, int scale) {
        RECT r{0, 0, w, h};
        HBRUSH background = CreateSolidBrush(RGB(32, 32, 32));
        FillRect(dc, &r, background);
        DeleteObject(background);
        LOGFONTW lf{};
        lf.lfHeight = -12 * scale;
        lf.lfWeight = FW_NORMAL;
        const char16_t face[] = u"LxFont";
        std::memcpy(lf.lfFaceName, face, sizeof face);
        HFONT font = CreateFontIndirectW(&lf);
        HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
        SetTextColor(dc, RGB(220, 220, 220));
        SetBkMode(dc, TRANSPARENT);
        std::u16string text;
        for (char c : g_status.statusText) text += char16_t(static_cast<unsigned char>(c));
        RECT textRect{4 * scale, 0, w - 4 * scale, h};
        DrawTextW(dc, text.c_str(), -1, &textRect,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        if (oldFont) SelectObject(dc, oldFont);
        if (font) DeleteObject(font);
    }

    // Paints w x h pixels with cehost's GDI into a DIB section and hands them to SDL as a texture, made anew
    // when the size changes.
    template <class Paint>
    void RenderToTexture(int w, int h, SDL_Texture*& texture, int& textureW, int& textureH, Paint paint) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = dc ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
        if (!bitmap || !bits) {
            if (dc) DeleteDC(dc);
            return;
        }
        HGDIOBJ old = SelectObject(dc, bitmap);
        paint(dc);
        if (!texture || textureW != w || textureH != h) {
            if (texture) SDL_DestroyTexture(texture);
            texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, w, h);
            textureW = w;
            textureH = h;
        }
        if (texture) SDL_UpdateTexture(texture, nullptr, bits, w * 4);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }

    // The keypad is drawn by the same painter the documentation's pictures come from, at zoom x the drawable's
    // scale, and handed to SDL as a texture.
    void RenderSkin() {
        m_skinDirty = false;
        if (!m_skin) return;
        const int scale = m_zoom * DrawableScale();
        const int w = kKeypadSkinWidth * scale, h = kKeypadSkinHeight * scale;
        RenderToTexture(w, h, m_skinTexture, m_skinW, m_skinH,
                        [&](HDC dc) { PaintKeypadSkin(dc, scale, m_skinPressed); });
    }

    std::string m_shotsDir;
    int m_zoom;
    bool m_skin;
    BYTE m_skinHeld = 0;    // the keypad key the mouse button holds down
    BYTE m_skinPressed = 0; // the key shown pressed
    bool m_skinDirty = true;
    SDL_Texture* m_skinTexture = nullptr;
    int m_skinW = 0, m_skinH = 0;
    KeyMap m_keys;
    bool m_recording;
    SessionRecorder m_recorder;
    Output m_output;
    std::optional<ScriptPlayer> m_player;

    bool m_videoUp = false;
    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_screenTexture = nullptr;
    SDL_Texture* m_statusTexture = nullptr;
    int m_statusW = 0, m_statusH = 0;
    int m_screenW = 0, m_screenH = 0;
    std::vector<uint32_t> m_shown; // the framebuffer as the window last showed it
    bool m_screenDirty = true;
    bool m_statusDirty = true;
    bool m_forcePresent = true;
    uint64_t m_lastFrame = 0;

    std::deque<PendingInput> m_pending;
    std::map<SDL_Keycode, BYTE> m_held;
    bool m_stylusHeld = false;  // the left button is down on the desktop
    POINT m_stylusAt{};         // where the stylus last went, in screen coordinates
    bool m_stylusInApp = false; // the application has had the stylus down but not yet up
    POINT m_strokeFrom{};
    std::deque<std::string> m_lastKeys;
    std::string m_message;
    uint64_t m_messageUntil = 0;
    int m_shotNumber = 0;
    bool m_closed = false;
    bool m_quitPosted = false;

    uint64_t m_lastReal = 0;
    uint64_t m_budget = 0;
};

} // namespace

int RunInWindow(const SimOptions& options, const WindowOptions& window, std::vector<ScriptStep> steps,
                const std::u16string& commandLine, WinMainProc winMain, const char* program) {
    KeyMap keys = KeyMap::Default();
    if (!window.keymap.empty()) {
        std::ifstream in(window.keymap);
        if (!in) {
            std::fprintf(stderr, "%s: cannot read the key map %s\n", program, window.keymap.c_str());
            return 2;
        }
        std::stringstream text;
        text << in.rdbuf();
        std::string error;
        if (!keys.Parse(text.str(), &error)) {
            std::fprintf(stderr, "%s: %s: %s\n", program, window.keymap.c_str(), error.c_str());
            return 2;
        }
    }
    std::ofstream record;
    if (!window.record.empty()) {
        // Opened now so that a bad path is reported before the session, not after it.
        record.open(window.record, std::ios::trunc);
        if (!record) {
            std::fprintf(stderr, "%s: cannot write the recording %s\n", program, window.record.c_str());
            return 2;
        }
    }

    SetVirtualTime(!window.record.empty() || !options.script.empty());
    SetDisplaySize(options.screenWidth, options.screenHeight);
    if (options.strip) ShowIndicatorStrip(true);
    SetKeypadInput(options.keypadInput);
    SimWindow simWindow(options, window, std::move(keys), std::move(steps));
    std::string error;
    if (!simWindow.Open(&error)) {
        std::fprintf(stderr, "%s: %s\n", program, error.c_str());
        return 2;
    }
    SetIdleHandler([&simWindow] { return simWindow.OnIdle(); });
    std::u16string line = commandLine;
    int result = winMain(GetModuleHandleW(nullptr), nullptr, line.data(), SW_SHOW);
    SetIdleHandler(nullptr);

    if (record.is_open()) {
        size_t strokesLeftOut = 0;
        record << simWindow.Recorder().Script(&strokesLeftOut);
        record.close();
        if (!record) {
            std::fprintf(stderr, "%s: the recording %s could not be written\n", program, window.record.c_str());
            return result ? result : 2;
        }
        std::fprintf(stderr, "cehost: session recorded in %s\n", window.record.c_str());
        if (strokesLeftOut)
            std::fprintf(stderr,
                         "cehost: %zu stylus stroke(s) with movement could not be recorded (key scripts only tap); "
                         "the replay will not see them\n",
                         strokesLeftOut);
    }
    return simWindow.ScriptExitCode(result);
}

#endif

} // namespace cehost::sim
