// The simulator's run of a host application: options, screen size, the application's WinMain and, headless,
// the key script played from the idle handler of the application's own message loop. The script advances
// only when the application has nothing left to do, so every step sees the screen as the previous step
// left it; waits move the virtual clock from timer to timer so that timers fire in order.
#include "sim/window/SimWindow.h"

#include <cehost/sim.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace cehost::sim {

namespace {

class ScriptPlayer {
public:
    ScriptPlayer(std::vector<ScriptStep> steps, const SimOptions& options)
        : m_steps(std::move(steps)), m_shotsDir(options.shotsDir), m_limit(options.timeLimitMs),
          m_start(GetTickCount()) {}

    bool Failed() const { return m_failed; }

    // One turn of the idle handler: true when it gave the application something to do.
    bool OnIdle() {
        if (m_finished) return false;
        if (m_limit && GetTickCount() - m_start > m_limit) return Fail("the time limit of " + std::to_string(m_limit) +
                                                                        " ms passed before the script ended");
        if (m_index >= m_steps.size()) {
            // A script without "quit" ends the application once it has played.
            m_finished = true;
            PostQuitMessage(0);
            return true;
        }
        const ScriptStep& step = m_steps[m_index];
        switch (step.kind) {
        case ScriptStep::Kind::Press:
            keybd_event(step.vk, 0, 0, 0);
            return Next();
        case ScriptStep::Kind::Release:
            keybd_event(step.vk, 0, KEYEVENTF_KEYUP, 0);
            return Next();
        case ScriptStep::Kind::Key:
            // Down in one turn and up in the next, so the application sees the key held as a user would.
            if (m_phase == 0) {
                if (step.shift) keybd_event(VK_SHIFT, 0, 0, 0);
                keybd_event(step.vk, 0, 0, 0);
                m_phase = 1;
                return true;
            }
            keybd_event(step.vk, 0, KEYEVENTF_KEYUP, 0);
            if (step.shift) keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
            return Next();
        case ScriptStep::Kind::Tap:
            Tap(step.x, step.y);
            return Next();
        case ScriptStep::Kind::Wait: return Wait(step);
        case ScriptStep::Kind::Screenshot: {
            std::string error;
            std::string path = (std::filesystem::path(m_shotsDir) / step.name).string();
            if (!SaveScreenshot(path, &error)) return Fail("line " + std::to_string(step.line) + ": " + error);
            ++m_index;
            // Nothing was given to the application: look at the next step straight away.
            return OnIdle();
        }
        case ScriptStep::Kind::Quit:
            m_finished = true;
            PostQuitMessage(step.code);
            return true;
        }
        return false;
    }

private:
    bool Next() {
        ++m_index;
        m_phase = 0;
        return true;
    }

    // Moves the clock to the next timer inside the wait (the loop then delivers it) or to the wait's end.
    bool Wait(const ScriptStep& step) {
        DWORD now = GetTickCount();
        if (m_phase == 0) {
            m_waitEnd = now + step.ms;
            m_phase = 1;
        }
        if (m_limit && int32_t(m_waitEnd - (m_start + m_limit)) > 0) m_waitEnd = m_start + m_limit + 1;
        DWORD due = 0;
        if (NextTimerDue(&due) && int32_t(due - m_waitEnd) < 0) {
            if (int32_t(due - now) > 0) AdvanceClock(due - now);
            return true;
        }
        if (int32_t(m_waitEnd - now) > 0) AdvanceClock(m_waitEnd - now);
        return Next();
    }

    bool Fail(const std::string& why) {
        std::fprintf(stderr, "cehost: key script: %s\n", why.c_str());
        m_failed = true;
        m_finished = true;
        PostQuitMessage(3);
        return true;
    }

    std::vector<ScriptStep> m_steps;
    std::string m_shotsDir;
    DWORD m_limit;
    DWORD m_start;
    size_t m_index = 0;
    int m_phase = 0;
    DWORD m_waitEnd = 0;
    bool m_finished = false;
    bool m_failed = false;
};

std::u16string CommandLine(const std::vector<std::string>& arguments) {
    std::string joined;
    for (const std::string& a : arguments) {
        if (!joined.empty()) joined += ' ';
        bool quote = a.empty() || a.find_first_of(" \t\"") != std::string::npos;
        if (!quote) {
            joined += a;
            continue;
        }
        joined += '"';
        for (char c : a) {
            if (c == '"') joined += '\\';
            joined += c;
        }
        joined += '"';
    }
    std::u16string wide;
    for (size_t i = 0; i < joined.size();) {
        unsigned char c = static_cast<unsigned char>(joined[i]);
        size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t cp = len == 1 ? c : c & (0xFF >> (len + 1));
        for (size_t k = 1; k < len && i + k < joined.size(); ++k) cp = cp << 6 | (joined[i + k] & 0x3F);
        i += len;
        if (cp >= 0x10000) {
            wide += char16_t(0xD800 + ((cp - 0x10000) >> 10));
            wide += char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            wide += char16_t(cp);
        }
    }
    return wide;
}

void Usage(const char* program) {
    std::fprintf(stderr,
                 "usage: %s [--screen WxH] [--shots DIR] [--headless [--script FILE] [--time-limit MS]]\n"
                 "       [--zoom N] [--keymap FILE] [--record FILE] [--] [arguments...]\n",
                 program);
}

void OnWatchdog(int) {
    static const char message[] = "cehost: the run took too long in real time and was stopped\n";
    [[maybe_unused]] ssize_t n = write(2, message, sizeof message - 1);
    _exit(3);
}

} // namespace

int RunApplication(int argc, const char* const* argv, WinMainProc winMain) {
    const char* program = argc > 0 && argv[0] ? argv[0] : "app";
    SimOptions options;
    WindowOptions window;
    std::vector<std::string> rest;
    std::string error;
    bool parsed = ExtractWindowOptions(argc, argv, window, rest, &error);
    if (parsed) {
        std::vector<const char*> restArgv;
        for (const std::string& a : rest) restArgv.push_back(a.c_str());
        parsed = ParseSimOptions(int(restArgv.size()), restArgv.data(), options, &error);
    }
    if (parsed && options.headless && !window.record.empty()) {
        error = "--record records what is typed in the window; leave out --headless";
        parsed = false;
    }
    if (!parsed) {
        std::fprintf(stderr, "%s: %s\n", program, error.c_str());
        Usage(program);
        return 2;
    }
    if (!options.headless) {
        std::string why;
        if (!WindowAvailable(&why)) {
            // Headless is what is left, and without a key script a headless run has nothing to play.
            std::fprintf(stderr, "%s: %s, so the run falls back to headless, which needs --headless --script FILE\n",
                         program, why.c_str());
            return 2;
        }
    }
    std::vector<ScriptStep> steps;
    if (!options.script.empty()) {
        std::ifstream in(options.script);
        if (!in) {
            std::fprintf(stderr, "%s: cannot read the key script %s\n", program, options.script.c_str());
            return 2;
        }
        std::stringstream text;
        text << in.rdbuf();
        if (!ParseKeyScript(text.str(), steps, &error)) {
            std::fprintf(stderr, "%s: %s: %s\n", program, options.script.c_str(), error.c_str());
            return 2;
        }
    }
    std::error_code ec;
    std::filesystem::create_directories(options.shotsDir, ec);
    if (ec) {
        std::fprintf(stderr, "%s: cannot create the screenshot folder %s: %s\n", program, options.shotsDir.c_str(),
                     ec.message().c_str());
        return 2;
    }

    std::u16string commandLine = CommandLine(options.arguments);
    if (!options.headless) return RunInWindow(options, window, commandLine, winMain, program);

    SetVirtualTime(true);
    SetDisplaySize(options.screenWidth, options.screenHeight);
    ScriptPlayer player(std::move(steps), options);
    SetIdleHandler([&player] { return player.OnIdle(); });
    if (options.timeLimitMs) {
        // Virtual time cannot pass while the application never idles; real time guards that case.
        std::signal(SIGALRM, OnWatchdog);
        alarm(unsigned(options.timeLimitMs / 1000 + 60));
    }

    int result = winMain(GetModuleHandleW(nullptr), nullptr, commandLine.data(), SW_SHOW);

    alarm(0);
    SetIdleHandler(nullptr);
    return player.Failed() ? 3 : result;
}

} // namespace cehost::sim
