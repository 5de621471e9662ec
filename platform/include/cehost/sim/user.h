// Host extensions of the window manager: the virtual clock, running the message queue from a test, the idle
// handler that scripted input plays through, stylus input, the display size, a switch that makes the next
// display change fail, and an observer of every message that reaches a window procedure.
#pragma once
#include <windows.h>

#include <functional>

namespace cehost::sim {

// ---- Time -------------------------------------------------------------------------------------------------
// In virtual time the clock moves only when told: AdvanceClock, Sleep, RunFor, or a GetMessageW that has
// nothing else to wait for but a timer. Virtual time is on at start when the environment variable
// CEHOST_HEADLESS is set to anything but "0"; otherwise the clock is real. Switching keeps GetTickCount
// monotonic.
void SetVirtualTime(bool on);
bool IsVirtualTime();
// Moves the virtual clock forward (no effect in real time). Timers that fall due meanwhile are ready once each:
// expirations coalesce, as on a busy device.
void AdvanceClock(DWORD milliseconds);
// The tick at which the earliest timer falls due; false when no timer exists.
bool NextTimerDue(DWORD* tick);

// ---- Running the queue ------------------------------------------------------------------------------------
// Translates and dispatches every message that is ready now (posted, input, paint, expired timers) until
// nothing is left, without moving the clock and without calling the idle handler. Stops in front of WM_QUIT
// and leaves it pending. Returns the number of messages dispatched.
int RunUntilIdle();
// Like RunUntilIdle while `milliseconds` of virtual time pass: the clock steps from one timer expiry to the
// next, so a periodic timer fires as often as it would in real time. Stops early at WM_QUIT. In real time
// it waits for the time to pass. Returns the number of messages dispatched.
int RunFor(DWORD milliseconds);

// Called by GetMessageW and WaitMessage whenever the queue has nothing ready at the current time, before the
// virtual clock jumps to the next timer. The handler may inject input (keybd_event, Tap), post messages, move
// the clock, take screenshots or post WM_QUIT, and returns true when it did something (the queue is looked at
// again) or false when it has nothing to give now. A false answer lets virtual time run on to the next timer;
// with no timer either, the loop can never receive anything again: GetMessageW then writes a line to
// standard error and returns 0 with WM_QUIT (wParam 0) so that the application ends instead of hanging.
// In real time the handler is called again at least every 10 ms while the queue stays empty, so that a
// desktop front end can poll its own events. An empty function removes the handler.
using IdleHandler = std::function<bool()>;
void SetIdleHandler(IdleHandler handler);

// ---- Stylus ------------------------------------------------------------------------------------------------
// Queue stylus input at a screen point. The window under the point (by z-order and clipping; disabled
// windows take no input) or the capture window receives WM_LBUTTONDOWN / WM_MOUSEMOVE / WM_LBUTTONUP in its
// client coordinates when the message is retrieved. Tap = down then up at the same point.
void Tap(int x, int y);
void StylusDown(int x, int y);
void StylusMove(int x, int y);
void StylusUp(int x, int y);

// ---- Display -----------------------------------------------------------------------------------------------
// Sets the screen size reported by GetSystemMetrics at the current orientation (240 x 320 at start).
// Full-screen top-level windows follow and everything is repainted; no WM_SETTINGCHANGE is sent. False for a
// size outside 1..8192.
bool SetDisplaySize(int width, int height);
// The current orientation (DMDO_0, DMDO_90, DMDO_180 or DMDO_270).
DWORD GetDisplayOrientation();
// Makes the next ChangeDisplaySettingsExW that would change the display fail with `result` (queries still
// succeed). The switch is used up by that call.
void FailNextDisplayChange(LONG result = DISP_CHANGE_FAILED);
// The last ChangeDisplaySettingsExW call that asked for a change (not a query), whatever its result.
struct DisplayChangeRequest {
    DWORD fields = 0;
    DWORD orientation = 0;
    DWORD flags = 0;
    LONG result = 0;
};
bool LastDisplayChangeRequest(DisplayChangeRequest* out);

// ---- Message observation -----------------------------------------------------------------------------------
// Every message that reaches a window procedure: sent (SendMessageW and the window manager's own sends, such
// as WM_CREATE or WM_SETFOCUS) or posted (retrieved from the queue and dispatched, including input, WM_PAINT
// and WM_TIMER). Observers are called just before the window procedure, so nested messages appear in the
// order they arrive. `fromDefWindowProc` marks messages that DefWindowProcW itself sent (WM_MOVE and WM_SIZE
// after WM_WINDOWPOSCHANGED, WM_ERASEBKGND inside its BeginPaint, ...).
enum class Delivery { Sent, Posted };
struct ObservedMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    Delivery delivery;
    bool fromDefWindowProc;
};
using MessageObserver = std::function<void(const ObservedMessage&)>;
// Returns an id for RemoveMessageObserver.
int AddMessageObserver(MessageObserver observer);
void RemoveMessageObserver(int id);

// The symbolic name of a system message ("WM_KEYDOWN"), or nullptr for one the platform does not name.
const char* MessageName(UINT message);

} // namespace cehost::sim
