// The player of key scripts, shared by the headless run and the simulator window. It plays from the idle
// handler of the application's own message loop: a step is taken only when the application has nothing left
// to do, so every step sees the screen as the previous one left it.
#pragma once

#include "sim/ScriptChecks.h"

#include <cehost/sim.h>

#include <string>
#include <vector>

namespace cehost::sim {

// Where a playing script's input and time go. A headless run hands them straight to the platform; the window
// also shows them in its status line, records them, and lets waits take real time.
class ScriptOutput {
public:
    virtual ~ScriptOutput() = default;
    virtual void KeyDown(BYTE vk);
    virtual void KeyUp(BYTE vk);
    virtual void StylusDown(int x, int y);
    virtual void StylusUp(int x, int y);
    // How much of `wanted` milliseconds of virtual time may pass now; `starting` on the first turn of a wait.
    // Headless, all of it: waits take no real time.
    virtual DWORD Allowance(DWORD wanted, bool starting);
    virtual void Advance(DWORD milliseconds);
    // Switches between 12-key input and the PC keyboard.
    virtual void InputSource(bool keypad);
    // Called after `name` (NAME.png) was written into the screenshot folder.
    virtual void ScreenshotSaved(const std::string& name);
};

class ScriptPlayer {
public:
    // What happens when the last step has played and the script did not say `quit`.
    enum class AtEnd { Quit, Stay };

    ScriptPlayer(std::vector<ScriptStep> steps, const SimOptions& options, ScriptOutput& output, AtEnd atEnd);

    // One turn of the idle handler: true when it gave the application something to do (or moved the clock).
    // False when it has nothing to give now: the script has ended, or a wait needs more real time.
    bool OnIdle();
    bool Playing() const { return !m_finished; }
    bool Failed() const { return m_failed; }
    bool ExpectationFailed() const { return m_expectationFailed; }
    // The run's exit code: 3 when the script failed to run, 1 when an expectation did not hold, else the
    // application's own.
    int ExitCode(int applicationResult) const { return m_failed ? 3 : m_expectationFailed ? 1 : applicationResult; }

private:
    bool Next();
    bool Wait(const ScriptStep& step);
    bool MoveClock(DWORD wanted, bool starting, bool* all);
    bool Fail(const std::string& why);
    bool FailExpectation(int line, const std::string& why);

    std::vector<ScriptStep> m_steps;
    std::string m_script;
    std::string m_shotsDir;
    ScriptOutput& m_output;
    AtEnd m_atEnd;
    DWORD m_limit;
    DWORD m_start;
    size_t m_index = 0;
    int m_phase = 0;
    DWORD m_waitEnd = 0;
    bool m_finished = false;
    bool m_failed = false;
    bool m_expectationFailed = false;
    ScriptChecks m_checks;
};

} // namespace cehost::sim
