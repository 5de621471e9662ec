// The runner of the conformance cases: `conformance --list` names them, `conformance NAME` runs one and
// ends its log with "end", so that a case that crashes or hangs shows as a log without that line.
#include "Conformance.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <vector>

namespace conformance {
namespace {

struct Case {
    const char* name;
    void (*run)();
};

std::vector<Case>& Cases() {
    static std::vector<Case> cases;
    return cases;
}

struct RecordedWindow {
    std::string name;
    Answer answer;
};
std::map<HWND, RecordedWindow> windows;
std::set<UINT> watched;
std::string record;

// The names of the messages the cases watch.
const char* MessageName(UINT message) {
    static const std::map<UINT, const char*> names = {
        {WM_NCCREATE, "WM_NCCREATE"}, {WM_CREATE, "WM_CREATE"}, {WM_SIZE, "WM_SIZE"}, {WM_MOVE, "WM_MOVE"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"}, {WM_ACTIVATE, "WM_ACTIVATE"}, {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_KILLFOCUS, "WM_KILLFOCUS"}, {WM_DESTROY, "WM_DESTROY"}, {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_KEYDOWN, "WM_KEYDOWN"}, {WM_KEYUP, "WM_KEYUP"}, {WM_CHAR, "WM_CHAR"}, {WM_PAINT, "WM_PAINT"},
        {WM_ERASEBKGND, "WM_ERASEBKGND"}, {WM_COMMAND, "WM_COMMAND"}};
    auto it = names.find(message);
    return it == names.end() ? nullptr : it->second;
}

// How a message prints in the record: its name and the parameters that are values, handles as window names.
std::string Describe(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const char* name = MessageName(message);
    std::string text = NameOf(hwnd) + ":" + (name ? name : Format("0x%04X", message));
    unsigned w = unsigned(wParam);
    switch (message) {
    case WM_SIZE: return text + Format("(%u,%dx%d)", w, LOWORD(lParam), HIWORD(lParam));
    case WM_MOVE: return text + Format("(%d,%d)", short(LOWORD(lParam)), short(HIWORD(lParam)));
    case WM_SHOWWINDOW: return text + Format("(%u)", w);
    case WM_ACTIVATE: return text + Format("(%u,", LOWORD(w)) + NameOf((HWND)lParam) + ")";
    case WM_SETFOCUS:
    case WM_KILLFOCUS: return text + "(" + NameOf((HWND)wParam) + ")";
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR: return text + Format("(0x%02X,0x%08X)", w, unsigned(lParam & 0xE000FFFF));
    case WM_COMMAND: return text + Format("(%u,0x%X,", LOWORD(w), HIWORD(w)) + NameOf((HWND)lParam) + ")";
    default: return text;
    }
}

LRESULT CALLBACK RecordedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // A window in creation has no handle in the table yet: it takes the name reserved for it.
    if (!windows.count(hwnd) && windows.count(nullptr)) windows[hwnd] = windows[nullptr];
    if (watched.count(message)) Note(Describe(hwnd, message, wParam, lParam));
    auto it = windows.find(hwnd);
    LRESULT result = 0;
    if (it != windows.end() && it->second.answer && it->second.answer(hwnd, message, wParam, lParam, &result))
        return result;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

ATOM RegisterRecordedClass() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RecordedProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = TEXT("ConfWindow");
    return RegisterClassW(&wc);
}

} // namespace

CaseRegistration::CaseRegistration(const char* name, void (*run)()) { Cases().push_back({name, run}); }

std::string Format(const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

void Log(const char* key, const char* format, ...) {
    char text[4096];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    printf("%s %s\n", key, text);
    fflush(stdout);
}

std::string RectText(const RECT& rc) {
    return Format("(%d,%d)-(%d,%d)", int(rc.left), int(rc.top), int(rc.right), int(rc.bottom));
}

std::string Narrow(const WCHAR* text, int length) {
    std::string narrow;
    for (int i = 0; length < 0 ? text[i] != 0 : i < length; ++i) narrow += char(text[i] < 128 ? text[i] : '?');
    return narrow;
}

std::string ClassOf(HWND hwnd) {
    WCHAR name[64] = {};
    return Narrow(name, GetClassNameW(hwnd, name, 64));
}

HWND CreateRecorded(const char* name, DWORD style, int x, int y, int w, int h, HWND parent, int id,
                    Answer answer) {
    [[maybe_unused]] static const ATOM registered = RegisterRecordedClass();
    // The window is known by name before its first message arrives.
    windows[nullptr] = {name, answer};
    HWND hwnd = CreateWindowExW(0, TEXT("ConfWindow"), TEXT(""), style, x, y, w, h, parent,
                                (HMENU)(INT_PTR)id, GetModuleHandleW(nullptr), nullptr);
    windows.erase(nullptr);
    return hwnd;
}

void Name(HWND hwnd, const char* name) { windows[hwnd].name = name; }

std::string NameOf(HWND hwnd) {
    if (!hwnd) return "0";
    auto it = windows.find(hwnd);
    return it == windows.end() ? "other" : it->second.name;
}

void Watch(std::initializer_list<UINT> messages) { watched = messages; }

void Note(const std::string& entry) { record += (record.empty() ? "" : " ") + entry; }

void LogRecord(const char* key) {
    Log(key, "%s", record.c_str());
    record.clear();
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD capMilliseconds) {
    UINT_PTR cap = SetTimer(nullptr, 0, capMilliseconds, nullptr);
    bool capped = false;
    MSG msg;
    while (!done() && !capped && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam == cap) capped = true;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    KillTimer(nullptr, cap);
    return done();
}

void PressKey(BYTE vk) {
    keybd_event(vk, 0, 0, 0);
    keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
    Pump();
}

} // namespace conformance

int main(int argc, char** argv) {
    using conformance::Cases;
    if (argc == 2 && !strcmp(argv[1], "--list")) {
        for (const auto& c : Cases()) printf("%s\n", c.name);
        return 0;
    }
    for (const auto& c : Cases()) {
        if (argc == 2 && !strcmp(argv[1], c.name)) {
            c.run();
            printf("end\n");
            return 0;
        }
    }
    fprintf(stderr, "usage: conformance --list | conformance CASE\n");
    return 2;
}
