// The conformance cases: written once against the Win32 API, built for cehost and for desktop Win32, each
// writing what it observes as "key value" lines that a runner compares between the two platforms.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#if defined(__GNUC__)
#define CONFORMANCE_PRINTF(f, a) __attribute__((format(printf, f, a)))
#else
#define CONFORMANCE_PRINTF(f, a)
#endif

namespace conformance {

// Writes one observation: the key (one word, unique within a case) and its value.
void Log(const char* key, const char* format, ...) CONFORMANCE_PRINTF(2, 3);
std::string Format(const char* format, ...) CONFORMANCE_PRINTF(1, 2);
std::string RectText(const RECT& rc);
// Text of `length` units (all of it when -1) as 8-bit text, '?' for what is not ASCII; a window's class name.
std::string Narrow(const WCHAR* text, int length = -1);
std::string ClassOf(HWND hwnd);

// A case registers itself at start-up: CONFORMANCE_CASE(name) { ...body... }
struct CaseRegistration {
    CaseRegistration(const char* name, void (*run)());
};
#define CONFORMANCE_CASE(name)                                                                                \
    static void name##_case();                                                                                \
    static conformance::CaseRegistration name##_registration(#name, name##_case);                          \
    static void name##_case()

// Windows that record what reaches them: windows of the class "ConfWindow" (a white background) append the
// messages they receive to the message record when the message is watched, labelled with the window's name;
// `answer`, when set, may handle a message itself by returning true and filling the result.
using Answer = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)>;
HWND CreateRecorded(const char* name, DWORD style, int x, int y, int w, int h, HWND parent = nullptr,
                    int id = 0, Answer answer = nullptr);
// Names a window created otherwise (a control) so that handles print as names.
void Name(HWND hwnd, const char* name);
std::string NameOf(HWND hwnd);
// Messages recorded from now on; the record holds "window:MESSAGE(params)" words separated by spaces.
void Watch(std::initializer_list<UINT> messages);
// Appends an entry of the test's own to the record (between the window's messages).
void Note(const std::string& entry);
// Logs the record under `key` and empties it.
void LogRecord(const char* key);

// Running the queue. Translates and dispatches whatever is ready now, then returns.
void Pump();
// Runs the queue until `done` is true, waiting for messages (timers) meanwhile; false when the cap ran out
// first. cehost's clock is virtual in these runs, so the cap costs no real time there.
bool PumpUntil(const std::function<bool()>& done, DWORD capMilliseconds = 5000);
// Sends a key press and release through the input queue and pumps until it was handled.
void PressKey(BYTE vk);

} // namespace conformance
