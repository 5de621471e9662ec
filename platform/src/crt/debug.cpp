// Debug output: OutputDebugStringW, NKDbgPrintfW, DebugBreak and the host's capture of what they write.
// Writers may be on any thread, so the state is guarded; it is never destroyed, so that output written by
// destructors at process exit still has somewhere to go.
#include <cehost/sim/debug.h>

#include "crt/codepage.h"
#include "crt/format.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>

namespace {

struct DebugState {
    std::mutex mutex;
    bool capturing = false;
    std::u16string captured;
    bool echo = false;
};

DebugState& State() {
    static DebugState* state = [] {
        auto* s = new DebugState;
        const char* env = std::getenv("CEHOST_DEBUG");
        s->echo = env && *env && std::strcmp(env, "0") != 0;
        return s;
    }();
    return *state;
}

void Write(const WCHAR* text, size_t length) {
    DebugState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (state.capturing) state.captured.append(text, length);
    if (state.echo) {
        const std::string utf8 = cehost::crt::WideToUtf8String(text, length);
        std::fwrite(utf8.data(), 1, utf8.size(), stderr);
        std::fflush(stderr);
    }
}

bool DebuggerAttached() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("TracerPid:", 0) == 0) return std::atoi(line.c_str() + 10) != 0;
    return false;
}

} // namespace

extern "C" void OutputDebugStringW(LPCWSTR text) {
    if (text) Write(text, wcslen(text));
}

extern "C" void NKDbgPrintfW(LPCWSTR format, ...) {
    if (!format) return;
    va_list args;
    va_start(args, format);
    const std::u16string text = cehost::crt::FormatToString(format, args);
    va_end(args);
    Write(text.data(), text.size());
}

extern "C" void DebugBreak(void) {
    if (DebuggerAttached()) std::raise(SIGTRAP);
}

namespace cehost::sim {

void StartDebugCapture() {
    DebugState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.capturing = true;
    state.captured.clear();
}

std::u16string TakeDebugOutput() {
    DebugState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    std::u16string text;
    text.swap(state.captured);
    return text;
}

void StopDebugCapture() {
    DebugState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.capturing = false;
    std::u16string().swap(state.captured);
}

void SetDebugEcho(bool on) {
    DebugState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.echo = on;
}

} // namespace cehost::sim
