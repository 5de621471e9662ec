// The fixture every control test starts from: a visible full-screen parent of its own class, a log of what
// reaches it, children made on it, and keys pressed through the real queue.
#pragma once

#include "MessageLog.h"
#include "QueueInput.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

class ControlTest : public ::testing::Test {
protected:
    void TearDown() override { DestroyWindow(parent); }

    // Registers `name` with `proc` and makes the parent of that class.
    void MakeParent(const WCHAR* name, WNDPROC proc = DefWindowProcW, HBRUSH background = nullptr) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = proc;
        wc.lpszClassName = name;
        wc.hbrBackground = background;
        RegisterClassW(&wc);
        parent = CreateWindowExW(0, name, u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr,
                                 nullptr);
        parentLog.Watch(parent);
    }
    // A visible child of the parent; `at` holds the position and the size.
    HWND Child(const WCHAR* className, const WCHAR* text, DWORD style, RECT at, int id = 0) {
        return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, at.left, at.top, at.right,
                               at.bottom, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                               nullptr);
    }

    // Each key handled before the next: letters (upper case with Shift), digits and '<' for Backspace.
    static void Type(const char* keys) {
        for (; *keys; ++keys) {
            const bool shift = std::isupper(*keys);
            if (shift) lxtest::KeyDown(VK_SHIFT);
            lxtest::Stroke(*keys == '<' ? VK_BACK : static_cast<BYTE>(std::toupper(*keys)));
            if (shift) lxtest::KeyUp(VK_SHIFT);
            cehost::sim::RunUntilIdle();
        }
    }
    static void Key(BYTE vk) {
        lxtest::Stroke(vk);
        cehost::sim::RunUntilIdle();
    }
    static std::u16string Text(HWND hwnd) {
        WCHAR buffer[256] = {};
        return std::u16string(buffer, buffer + GetWindowTextW(hwnd, buffer, 256));
    }
    // The notification codes control `id` sent the parent through WM_COMMAND, in order.
    std::vector<WORD> Notifications(int id) const {
        std::vector<WORD> codes;
        for (const lxtest::LoggedMessage& m : parentLog.Entries())
            if (m.message == WM_COMMAND && LOWORD(m.wParam) == id) codes.push_back(HIWORD(m.wParam));
        return codes;
    }

    HWND parent = nullptr;
    lxtest::MessageLog parentLog;
};
