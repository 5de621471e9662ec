// A message log for tests, in the manner of message-sequence tests: it records the messages that reach
// chosen windows (sent or posted, with their parameters) and compares them with an expected sequence,
// printing both sequences with message names when they differ.
//
//   lxtest::MessageLog log;
//   log.Watch(hwnd, "main");
//   ... act ...
//   EXPECT_TRUE(log.Matches({{WM_KEYDOWN, lxtest::posted | lxtest::wparam, VK_LEFT},
//                            {WM_SETFOCUS, lxtest::sent, 0, 0, child}}));
#pragma once

#include <cehost/sim.h>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace lxtest {

// What an expected entry checks besides the message number.
enum MessageFlags : unsigned {
    sent = 0x01,       // must have been sent (not retrieved from the queue)
    posted = 0x02,     // must have come through the queue (posted, input, WM_PAINT, WM_TIMER)
    wparam = 0x04,     // wParam must be equal
    lparam = 0x08,     // lParam must be equal
    defwinproc = 0x10, // must have been sent by DefWindowProcW
    optional = 0x20,   // may be absent
};

struct ExpectedMessage {
    UINT message = 0;
    unsigned flags = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    HWND hwnd = nullptr; // when set, the message must have reached this window
};

struct LoggedMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool posted;
    bool fromDefWindowProc;
};

class MessageLog {
public:
    MessageLog();
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;
    // Records messages reaching `hwnd`; `name` labels it in printouts.
    void Watch(HWND hwnd, const std::string& name = {});
    // Records messages reaching every window.
    void WatchAll(bool all = true) { all_ = all; }
    // Messages never recorded (for instance WM_GETTEXT chatter or WM_PAINT where it does not matter).
    void Ignore(UINT message) { ignored_.insert(message); }
    void Clear() { entries_.clear(); }
    const std::vector<LoggedMessage>& Entries() const { return entries_; }
    // How many times `message` was recorded (for `hwnd` when given).
    int Count(UINT message, HWND hwnd = nullptr) const;
    // Compares the whole log with `expected` (optional entries may be missing). On a mismatch the result
    // carries both sequences with names.
    ::testing::AssertionResult Matches(const std::vector<ExpectedMessage>& expected) const;
    // Names for application messages in printouts (e.g. the library's own WM_USER-range messages).
    static void NameMessage(UINT message, const std::string& name);
    static std::string NameOf(UINT message);

private:
    std::string WindowName(HWND hwnd) const;
    std::string Line(const LoggedMessage& m) const;
    std::string Line(const ExpectedMessage& m) const;
    int observer_ = 0;
    bool all_ = false;
    std::map<HWND, std::string> watched_;
    std::set<UINT> ignored_;
    std::vector<LoggedMessage> entries_;
};

} // namespace lxtest
