// The test message log: an observer of the window manager's deliveries, filtered to watched windows.
#include "MessageLog.h"

#include <cstdio>
#include <sstream>

namespace lxtest {

namespace {

std::map<UINT, std::string>& CustomNames() {
    static std::map<UINT, std::string> names;
    return names;
}

std::string Hex(uintptr_t v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(v));
    return buf;
}

bool Same(const ExpectedMessage& e, const LoggedMessage& m) {
    if (e.message != m.message) return false;
    if ((e.flags & sent) && m.posted) return false;
    if ((e.flags & posted) && !m.posted) return false;
    if ((e.flags & wparam) && e.wParam != m.wParam) return false;
    if ((e.flags & lparam) && e.lParam != m.lParam) return false;
    if ((e.flags & defwinproc) && !m.fromDefWindowProc) return false;
    if (e.hwnd && e.hwnd != m.hwnd) return false;
    return true;
}

} // namespace

MessageLog::MessageLog() {
    observer_ = cehost::sim::AddMessageObserver([this](const cehost::sim::ObservedMessage& m) {
        if (ignored_.count(m.message)) return;
        if (!all_ && !watched_.count(m.hwnd)) return;
        entries_.push_back(LoggedMessage{m.hwnd, m.message, m.wParam, m.lParam,
                                         m.delivery == cehost::sim::Delivery::Posted, m.fromDefWindowProc});
    });
}

MessageLog::~MessageLog() { cehost::sim::RemoveMessageObserver(observer_); }

void MessageLog::Watch(HWND hwnd, const std::string& name) {
    watched_[hwnd] = name.empty() ? Hex(reinterpret_cast<uintptr_t>(hwnd)) : name;
}

int MessageLog::Count(UINT message, HWND hwnd) const {
    int n = 0;
    for (const auto& e : entries_)
        if (e.message == message && (!hwnd || e.hwnd == hwnd)) ++n;
    return n;
}

void MessageLog::NameMessage(UINT message, const std::string& name) { CustomNames()[message] = name; }

std::string MessageLog::NameOf(UINT message) {
    if (auto it = CustomNames().find(message); it != CustomNames().end()) return it->second;
    if (const char* n = cehost::sim::MessageName(message)) return n;
    if (message >= WM_APP) return "WM_APP+" + std::to_string(message - WM_APP);
    if (message >= WM_USER) return "WM_USER+" + std::to_string(message - WM_USER);
    return Hex(message);
}

std::string MessageLog::WindowName(HWND hwnd) const {
    if (auto it = watched_.find(hwnd); it != watched_.end()) return it->second;
    return hwnd ? Hex(reinterpret_cast<uintptr_t>(hwnd)) : "(thread)";
}

std::string MessageLog::Line(const LoggedMessage& m) const {
    std::ostringstream s;
    s << NameOf(m.message) << (m.posted ? " posted" : " sent") << (m.fromDefWindowProc ? " by DefWindowProc" : "")
      << " to " << WindowName(m.hwnd) << " wParam=" << Hex(m.wParam) << " lParam=" << Hex(uintptr_t(m.lParam));
    return s.str();
}

std::string MessageLog::Line(const ExpectedMessage& e) const {
    std::ostringstream s;
    s << NameOf(e.message);
    if (e.flags & sent) s << " sent";
    if (e.flags & posted) s << " posted";
    if (e.flags & defwinproc) s << " by DefWindowProc";
    if (e.hwnd) s << " to " << WindowName(e.hwnd);
    if (e.flags & wparam) s << " wParam=" << Hex(e.wParam);
    if (e.flags & lparam) s << " lParam=" << Hex(uintptr_t(e.lParam));
    if (e.flags & optional) s << " (optional)";
    return s.str();
}

::testing::AssertionResult MessageLog::Matches(const std::vector<ExpectedMessage>& expected) const {
    const size_t wanted = expected.size(), logged = entries_.size();
    size_t e = 0, a = 0;
    std::string problem;
    while (problem.empty() && (e < wanted || a < logged)) {
        if (e < wanted && a < logged && Same(expected[e], entries_[a])) ++e, ++a;
        else if (e < wanted && (expected[e].flags & optional)) ++e;
        else if (e == wanted) problem = "unexpected message " + std::to_string(a) + ": " + Line(entries_[a]);
        else if (a == logged) problem = "missing message " + std::to_string(e) + ": " + Line(expected[e]);
        else problem = "at " + std::to_string(a) + " expected " + Line(expected[e]) + "\n  but got " +
                       Line(entries_[a]);
    }
    if (problem.empty()) return ::testing::AssertionSuccess();
    std::ostringstream s;
    s << problem << "\nExpected:\n";
    for (size_t i = 0; i < wanted; ++i) s << "  " << i << ": " << Line(expected[i]) << "\n";
    s << "Actual:\n";
    for (size_t i = 0; i < logged; ++i) s << "  " << i << ": " << Line(entries_[i]) << "\n";
    return ::testing::AssertionFailure() << s.str();
}

} // namespace lxtest
