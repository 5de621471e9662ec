// Dialogs from templates driven by scripted keys through the modal loop, and the message box's six button
// sets. Keys are pressed from the idle handler, so they reach the dialog through the same queue as a user's.
// (The initial focus, the tab order and Tab and Return in a modal dialog are pinned by the conformance dialog
// case.)
#include "MessageLog.h"
#include "QueueInput.h"
#include "TemplateBuilder.h"
#include "TopWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using lxtest::IdleScript;
using lxtest::Stroke;

namespace {

std::function<void()> Press(BYTE vk) {
    return [vk] { Stroke(vk); };
}

struct DialogLog {
    std::vector<WORD> commands;
    bool endInInit = false;
    HWND dialog = nullptr;
};
DialogLog* g_dialog = nullptr;

INT_PTR CALLBACK TestDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        g_dialog->dialog = hwnd;
        EXPECT_EQ(lParam, 1234);
        if (g_dialog->endInInit) EndDialog(hwnd, 77);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == 10)
            return FALSE; // the edit's own notifications
        g_dialog->commands.push_back(LOWORD(wParam));
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(hwnd, LOWORD(wParam) == IDOK ? 100 : 200);
        return TRUE;
    default:
        return FALSE;
    }
}

// A dialog of 100 x 60 units: an edit (id 10), a static, an OK default button and a Cancel button.
TemplateBuilder SampleTemplate() {
    TemplateBuilder b;
    b.Dialog(WS_POPUP | WS_VISIBLE | DS_SETFONT, 4, 0, 0, 100, 60, u"Sample").Word(9).String(u"LxFont");
    b.Item(WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 5, 5, 90, 12, 10, 0x81, u"text");
    b.Item(WS_VISIBLE | SS_LEFT, 5, 20, 90, 10, 11, 0x82, u"label");
    b.Item(WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 5, 40, 40, 14, IDOK, 0x80, u"OK");
    b.Item(WS_VISIBLE | WS_TABSTOP, 55, 40, 40, 14, IDCANCEL, 0x80, u"Cancel");
    return b;
}

class Dialogs : public ::testing::Test {
protected:
    void SetUp() override {
        g_dialog = &log;
        owner = MakeTopWindow(u"DialogOwner", DefWindowProcW);
        SetFocus(owner);
    }
    void TearDown() override {
        DestroyWindow(owner);
        g_dialog = nullptr;
    }
    INT_PTR Run(const TemplateBuilder& b) {
        return DialogBoxIndirectParamW(nullptr, static_cast<LPCDLGTEMPLATEW>(b.Data()), owner, TestDialogProc, 1234);
    }

    DialogLog log;
    HWND owner = nullptr;
};

} // namespace

// Dialog units scale by the base units over 4 (across) and 8 (down), rounded to the nearest pixel, and place
// the controls; Escape cancels.
TEST_F(Dialogs, DialogUnitsPlaceTheControlsAndEscapeCancels) {
    IdleScript script({[this] {
                           HWND edit = GetDlgItem(log.dialog, 10);
                           RECT rc = {5, 5, 90, 12}; // position, then size
                           MapDialogRect(log.dialog, &rc);
                           RECT actual;
                           GetWindowRect(edit, &actual);
                           POINT origin = {0, 0};
                           ClientToScreen(log.dialog, &origin);
                           EXPECT_EQ(actual.left - origin.x, rc.left);
                           EXPECT_EQ(actual.right - actual.left, rc.right);
                           RECT base{0, 0, 4, 8};
                           MapDialogRect(log.dialog, &base);
                           for (LONG v = 1; v < 8; ++v) {
                               RECT r{0, 0, v, v};
                               MapDialogRect(log.dialog, &r);
                               EXPECT_EQ(r.right, (v * base.right + 2) / 4) << v;
                               EXPECT_EQ(r.bottom, (v * base.bottom + 4) / 8) << v;
                           }
                       },
                       Press(VK_ESCAPE)});
    EXPECT_EQ(Run(SampleTemplate()), 200);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(log.commands, std::vector<WORD>{IDCANCEL});
    EXPECT_FALSE(IsWindow(log.dialog));
    EXPECT_EQ(GetFocus(), owner);
}

TEST_F(Dialogs, EndDialogDuringInitNeverShowsTheDialog) {
    log.endInInit = true;
    lxtest::MessageLog messages;
    messages.WatchAll();
    EXPECT_EQ(Run(SampleTemplate()), 77);
    EXPECT_EQ(messages.Count(WM_PAINT, log.dialog), 0);
}

// A template in memory carries no length, so truncation can only be caught in resources (the parser's own
// tests); what an in-memory template can get wrong is a control that cannot be made.
TEST_F(Dialogs, BadTemplatesAndResourcesShowNothing) {
    TemplateBuilder broken;
    broken.Dialog(WS_POPUP, 1, 0, 0, 80, 40, u"Broken");
    broken.Align(4).Dword(WS_VISIBLE).Dword(0).Short(5).Short(5).Short(40).Short(14).Word(7).String(u"NoSuchClass");
    broken.String(u"x").Word(0);
    EXPECT_EQ(Run(broken), -1);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(999), owner, TestDialogProc, 0), -1);
    EXPECT_FALSE(EndDialog(owner, 1));
}

// A modeless dialog answers IsDialogMessage in the application's own loop; WM_CLOSE is IDCANCEL.
TEST_F(Dialogs, ModelessDialogAnswersIsDialogMessage) {
    HWND dialog = CreateDialogIndirectParamW(nullptr, static_cast<LPCDLGTEMPLATEW>(SampleTemplate().Data()), owner,
                                             TestDialogProc, 1234);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog));
    Stroke(VK_ESCAPE);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    SendMessageW(dialog, WM_CLOSE, 0, 0);
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(log.commands, (std::vector<WORD>{IDCANCEL, IDCANCEL}));
    DestroyWindow(dialog);
}

using MessageBoxes = Dialogs;

// Each button set, with the key strokes that choose each of its buttons.
TEST_F(MessageBoxes, EverySetReturnsTheButtonChosenWithArrowsAndReturn) {
    const struct {
        UINT type;
        std::vector<int> ids;
    } cases[] = {
        {MB_OK, {IDOK}},
        {MB_OKCANCEL, {IDOK, IDCANCEL}},
        {MB_ABORTRETRYIGNORE, {IDABORT, IDRETRY, IDIGNORE}},
        {MB_YESNOCANCEL, {IDYES, IDNO, IDCANCEL}},
        {MB_YESNO, {IDYES, IDNO}},
        {MB_RETRYCANCEL, {IDRETRY, IDCANCEL}},
    };
    for (const auto& c : cases) {
        for (size_t i = 0; i < c.ids.size(); ++i) {
            std::vector<int> shown;
            std::vector<std::function<void()>> steps{[&] {
                HWND box = FindWindowW(u"#32770", u"Question");
                ASSERT_NE(box, nullptr);
                for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                    if (GetDlgCtrlID(child) != 0xFFFF) shown.push_back(GetDlgCtrlID(child));
            }};
            steps.insert(steps.end(), i, Press(VK_RIGHT));
            steps.push_back(Press(VK_RETURN));
            IdleScript script(steps);
            EXPECT_EQ(MessageBoxW(owner, u"Proceed?", u"Question", c.type | MB_ICONQUESTION), c.ids[i])
                << "type " << c.type << " button " << i;
            EXPECT_EQ(shown, c.ids);
            EXPECT_TRUE(IsWindowEnabled(owner));
        }
    }
}

// Escape cancels where a Cancel button exists and is OK in a box of OK alone; the default button answers
// Return; a bad type or owner shows nothing.
TEST_F(MessageBoxes, EscapeDefaultButtonAndBadArguments) {
    const struct {
        std::vector<BYTE> keys;
        UINT type;
        int result;
    } cases[] = {{{VK_ESCAPE}, MB_YESNOCANCEL, IDCANCEL},
                 {{VK_ESCAPE}, MB_OK, IDOK},
                 {{VK_ESCAPE, VK_LEFT, VK_RETURN}, MB_YESNO | MB_DEFBUTTON2, IDYES}, // Escape ignored: no Cancel
                 {{VK_RETURN}, MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE}};
    for (const auto& c : cases) {
        std::vector<std::function<void()>> steps;
        for (BYTE key : c.keys) steps.push_back(Press(key));
        IdleScript script(steps);
        EXPECT_EQ(MessageBoxW(owner, u"x", nullptr, c.type), c.result) << c.type;
    }
    EXPECT_EQ(MessageBoxW(owner, u"x", u"c", 6), 0);
    EXPECT_EQ(MessageBoxW(reinterpret_cast<HWND>(0x1234), u"x", u"c", MB_OK), 0);
}
