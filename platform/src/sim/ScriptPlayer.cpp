// The key-script player: keys held for one turn of the message loop, taps as a stylus down in one turn and the
// up in the next (as a user's would arrive), waits that move the virtual clock from timer to timer so that
// timers fire in order, and screenshots that take no turn at all.
#include "sim/ScriptPlayer.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace cehost::sim {

void ScriptOutput::KeyDown(BYTE vk) { keybd_event(vk, 0, 0, 0); }
void ScriptOutput::KeyUp(BYTE vk) { keybd_event(vk, 0, KEYEVENTF_KEYUP, 0); }
void ScriptOutput::StylusDown(int x, int y) { cehost::sim::StylusDown(x, y); }
void ScriptOutput::StylusUp(int x, int y) { cehost::sim::StylusUp(x, y); }
DWORD ScriptOutput::Allowance(DWORD wanted, bool) { return wanted; }
void ScriptOutput::Advance(DWORD milliseconds) { AdvanceClock(milliseconds); }
void ScriptOutput::ScreenshotSaved(const std::string&) {}
void ScriptOutput::InputSource(bool keypad) { SetKeypadInput(keypad); }

ScriptPlayer::ScriptPlayer(std::vector<ScriptStep> steps, const SimOptions& options, ScriptOutput& output,
                           AtEnd atEnd)
    : m_steps(std::move(steps)), m_script(options.script), m_shotsDir(options.shotsDir), m_output(output),
      m_atEnd(atEnd), m_limit(options.timeLimitMs), m_start(GetTickCount()),
      m_checks(options.shotsDir, options.goldensDir) {}

bool ScriptPlayer::OnIdle() {
    if (m_finished) return false;
    if (m_limit && GetTickCount() - m_start > m_limit)
        return Fail("the time limit of " + std::to_string(m_limit) + " ms passed before the script ended");
    if (m_index >= m_steps.size()) {
        m_finished = true;
        if (m_atEnd == AtEnd::Stay) return false;
        PostQuitMessage(0);
        return true;
    }
    const ScriptStep& step = m_steps[m_index];
    switch (step.kind) {
    case ScriptStep::Kind::Press:
        m_output.KeyDown(step.vk);
        return Next();
    case ScriptStep::Kind::Release:
        m_output.KeyUp(step.vk);
        return Next();
    case ScriptStep::Kind::Key:
        if (m_phase == 0) {
            if (step.shift) m_output.KeyDown(VK_SHIFT);
            m_output.KeyDown(step.vk);
            m_phase = 1;
            return true;
        }
        m_output.KeyUp(step.vk);
        if (step.shift) m_output.KeyUp(VK_SHIFT);
        return Next();
    case ScriptStep::Kind::Tap:
        if (m_phase == 0) {
            m_output.StylusDown(step.x, step.y);
            m_phase = 1;
            return true;
        }
        m_output.StylusUp(step.x, step.y);
        return Next();
    case ScriptStep::Kind::Wait: return Wait(step);
    case ScriptStep::Kind::Screenshot: {
        std::string error;
        const std::string path = (std::filesystem::path(m_shotsDir) / step.name).string();
        if (!SaveScreenshot(path, &error)) return Fail("line " + std::to_string(step.line) + ": " + error);
        m_output.ScreenshotSaved(step.name);
        ++m_index;
        // Nothing was given to the application: look at the next step straight away.
        return OnIdle();
    }
    case ScriptStep::Kind::Expect: {
        std::string failure;
        if (!m_checks.Expect(step, &failure)) return FailExpectation(step.line, failure);
        ++m_index;
        return OnIdle(); // a check takes no turn
    }
    case ScriptStep::Kind::Dump: {
        std::string error;
        if (!m_checks.Dump(step, &error)) return Fail("line " + std::to_string(step.line) + ": " + error);
        ++m_index;
        return OnIdle();
    }
    case ScriptStep::Kind::Input:
        m_output.InputSource(step.keypad);
        return Next();
    case ScriptStep::Kind::Quit:
        m_finished = true;
        PostQuitMessage(step.code);
        return true;
    }
    return false;
}

bool ScriptPlayer::Next() {
    ++m_index;
    m_phase = 0;
    return true;
}

// Moves the clock to the next timer inside the wait (the loop then delivers it) or to the wait's end, as far
// as the output allows now.
bool ScriptPlayer::Wait(const ScriptStep& step) {
    const DWORD now = GetTickCount();
    const bool starting = m_phase == 0;
    if (starting) {
        m_waitEnd = now + step.ms;
        m_phase = 1;
    }
    if (m_limit && int32_t(m_waitEnd - (m_start + m_limit)) > 0) m_waitEnd = m_start + m_limit + 1;
    DWORD due = 0;
    if (NextTimerDue(&due) && int32_t(due - m_waitEnd) < 0) {
        if (int32_t(due - now) <= 0) return true; // already due: the loop delivers it
        bool all = false;
        MoveClock(due - now, starting, &all);
        return all;
    }
    if (int32_t(m_waitEnd - now) > 0) {
        bool all = false;
        MoveClock(m_waitEnd - now, starting, &all);
        if (!all) return false;
    }
    return Next();
}

bool ScriptPlayer::MoveClock(DWORD wanted, bool starting, bool* all) {
    const DWORD got = std::min(wanted, m_output.Allowance(wanted, starting));
    if (got) m_output.Advance(got);
    *all = got == wanted;
    return got != 0;
}

// The run stops where the expectation failed, leaving the screen and the window tree of that moment behind.
bool ScriptPlayer::FailExpectation(int line, const std::string& why) {
    std::fprintf(stderr, "%s: line %d: %s\n", m_script.empty() ? "key script" : m_script.c_str(), line, why.c_str());
    m_checks.SaveFailure(line);
    m_expectationFailed = true;
    m_finished = true;
    PostQuitMessage(1);
    return true;
}

bool ScriptPlayer::Fail(const std::string& why) {
    std::fprintf(stderr, "cehost: %s: %s\n", m_script.empty() ? "key script" : m_script.c_str(), why.c_str());
    m_failed = true;
    m_finished = true;
    PostQuitMessage(3);
    return true;
}

} // namespace cehost::sim
