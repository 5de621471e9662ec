// Dialogs: templates read in both forms and refused when damaged, dialogs from templates driven by scripted
// keys through the modal loop, and the message box's six button sets. Keys are pressed from the idle handler,
// so they reach the dialog through the same queue as a user's. (The initial focus, the tab order and Tab and
// Return in a modal dialog are pinned by the conformance dialog case.)
#include "ControlTest.h"
#include "LxString.h"
#include "controls/DialogTemplate.h"

#include <functional>
#include <tuple>

using cehost::controls::DialogItem;
using cehost::controls::DialogTemplate;
using cehost::controls::ParseDialogTemplate;
using lxtest::IdleScript;
using lxtest::Stroke;

namespace {

// Builds dialog templates in memory, field by field, the way a resource compiler lays them out.
class TemplateBuilder {
public:
    TemplateBuilder& Word(WORD v) { return Raw(&v, 2); }
    TemplateBuilder& Dword(DWORD v) { return Raw(&v, 4); }
    TemplateBuilder& Short(short v) { return Raw(&v, 2); }
    TemplateBuilder& Byte(BYTE v) { return Raw(&v, 1); }
    TemplateBuilder& String(const std::u16string& s) {
        for (char16_t c : s) Word(static_cast<WORD>(c));
        return Word(0);
    }
    TemplateBuilder& Ordinal(WORD v) { return Word(0xFFFF).Word(v); }
    TemplateBuilder& Align(size_t n) {
        while (m_bytes.size() % n) m_bytes.push_back(0);
        return *this;
    }

    // A classic template header: style, exStyle, count, rectangle, no menu, default class, title.
    TemplateBuilder& Dialog(DWORD style, WORD count, short x, short y, short cx, short cy, const std::u16string& title) {
        return Dword(style).Dword(0).Word(count).Short(x).Short(y).Short(cx).Short(cy).Word(0).Word(0).String(title);
    }
    // A classic item with a predefined class atom.
    TemplateBuilder& Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom,
                          const std::u16string& title) {
        return Align(4).Dword(style).Dword(0).Short(x).Short(y).Short(cx).Short(cy).Word(id).Ordinal(atom).String(
            title).Word(0);
    }

    const void* Data() const { return m_bytes.data(); }
    size_t Size() const { return m_bytes.size(); }
    std::vector<BYTE>& Bytes() { return m_bytes; }

private:
    TemplateBuilder& Raw(const void* p, size_t n) {
        const BYTE* b = static_cast<const BYTE*>(p);
        m_bytes.insert(m_bytes.end(), b, b + n);
        return *this;
    }
    std::vector<BYTE> m_bytes;
};

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
        if (LOWORD(wParam) == 10) return FALSE; // the edit's own notifications
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

// The template `b` holds, read back.
DialogTemplate Parsed(const TemplateBuilder& b) {
    DialogTemplate t;
    std::string error;
    EXPECT_TRUE(ParseDialogTemplate(b.Data(), b.Size(), &t, &error)) << error;
    return t;
}

class Dialogs : public ControlTest {
protected:
    void SetUp() override {
        g_dialog = &log;
        MakeParent(u"DialogOwner");
        SetFocus(parent);
    }
    INT_PTR Run(const TemplateBuilder& b) {
        return DialogBoxIndirectParamW(nullptr, static_cast<LPCDLGTEMPLATEW>(b.Data()), parent, TestDialogProc, 1234);
    }

    DialogLog log;
};

} // namespace

TEST(DialogTemplate, ClassicTemplateWithFontAndItems) {
    TemplateBuilder b;
    b.Dialog(WS_POPUP | DS_SETFONT, 2, 10, 20, 100, 60, u"Title").Word(9).String(u"LxFont");
    b.Item(WS_CHILD | WS_VISIBLE | SS_CENTER, 5, 6, 50, 10, 100, 0x82, u"Hello");
    // Second item: class by name, title by ordinal, 4 bytes of creation data (size word counts itself).
    b.Align(4).Dword(WS_CHILD | WS_TABSTOP).Dword(WS_EX_CLIENTEDGE).Short(1).Short(2).Short(3).Short(4).Word(IDOK);
    b.String(u"EDIT").Ordinal(7).Word(6).Word(0xABCD).Word(0x1234);
    const DialogTemplate t = Parsed(b);
    EXPECT_EQ(std::tie(t.extended, t.style, t.title), std::tuple(false, DWORD(WS_POPUP | DS_SETFONT), u"Title"));
    EXPECT_EQ(std::tie(t.hasFont, t.pointSize, t.typeface), std::tuple(true, 9, u"LxFont"));
    ASSERT_EQ(t.items.size(), 2u);
    const DialogItem &label = t.items[0], &edit = t.items[1];
    EXPECT_EQ(std::tie(label.windowClass.isOrdinal, label.windowClass.ordinal, label.title.name, label.id),
              std::tuple(true, 0x82, u"Hello", 100u));
    EXPECT_EQ(std::tie(edit.windowClass.name, edit.exStyle, edit.title.isOrdinal, edit.title.ordinal),
              std::tuple(u"EDIT", DWORD(WS_EX_CLIENTEDGE), true, 7));
    EXPECT_EQ(edit.creationData.size(), 4u);
}

TEST(DialogTemplate, ExtendedTemplateHasDwordIdsAndFontDetails) {
    TemplateBuilder b;
    b.Word(1).Word(0xFFFF).Dword(77).Dword(0).Dword(WS_POPUP | DS_SETFONT).Word(1);
    b.Short(0).Short(0).Short(120).Short(80).Word(0).Word(0).String(u"Ex");
    b.Word(8).Word(700).Byte(1).Byte(129).String(u"Face");
    b.Align(4).Dword(5).Dword(0).Dword(WS_CHILD | BS_DEFPUSHBUTTON).Short(1).Short(2).Short(30).Short(12);
    b.Dword(0x12345).Ordinal(0x80).String(u"OK").Word(0);
    const DialogTemplate t = Parsed(b);
    EXPECT_EQ(std::tie(t.extended, t.helpId, t.weight, t.italic, t.charset, t.typeface),
              std::tuple(true, 77u, 700, 1, 129, u"Face"));
    ASSERT_EQ(t.items.size(), 1u);
    EXPECT_EQ(std::tie(t.items[0].helpId, t.items[0].id, t.items[0].style),
              std::tuple(5u, 0x12345u, DWORD(WS_CHILD | BS_DEFPUSHBUTTON)));
}

TEST(DialogTemplate, TruncationsBadNamesAndHugeCountsAreRefused) {
    TemplateBuilder b;
    b.Dialog(WS_POPUP, 1, 0, 0, 50, 50, u"T");
    b.Item(WS_CHILD, 0, 0, 10, 10, 1, 0x82, u"abc");
    ASSERT_EQ(Parsed(b).items.size(), 1u);
    const std::vector<BYTE> whole = b.Bytes();
    DialogTemplate t;
    std::string error;
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        std::vector<BYTE> part(whole.begin(), whole.begin() + cut);
        EXPECT_FALSE(ParseDialogTemplate(part.data(), part.size(), &t, &error)) << "cut at " << cut;
        EXPECT_FALSE(error.empty());
    }
    // An unterminated name and a huge item count are refused too.
    b = TemplateBuilder();
    b.Dword(WS_POPUP).Dword(0).Word(0).Short(0).Short(0).Short(1).Short(1).Word(0).Word(0);
    for (int i = 0; i < 5000; ++i) b.Word('x');
    b.Word(0);
    EXPECT_FALSE(ParseDialogTemplate(b.Data(), SIZE_MAX, &t, &error));
    TemplateBuilder many;
    many.Dialog(WS_POPUP, 60000, 0, 0, 1, 1, u"");
    EXPECT_FALSE(ParseDialogTemplate(many.Data(), many.Size(), &t, &error));
    EXPECT_FALSE(ParseDialogTemplate(nullptr, 10, &t, &error));
}

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
                       [] { Stroke(VK_ESCAPE); }});
    EXPECT_EQ(Run(SampleTemplate()), 200);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(log.commands, std::vector<WORD>{IDCANCEL});
    EXPECT_FALSE(IsWindow(log.dialog));
    EXPECT_EQ(GetFocus(), parent);
}

TEST_F(Dialogs, EndDialogDuringInitNeverShowsTheDialog) {
    log.endInInit = true;
    parentLog.WatchAll();
    EXPECT_EQ(Run(SampleTemplate()), 77);
    EXPECT_EQ(parentLog.Count(WM_PAINT, log.dialog), 0);
}

// A template in memory carries no length, so truncation can only be caught in resources (the parser's own
// tests); what an in-memory template can get wrong is a control that cannot be made.
TEST_F(Dialogs, BadTemplatesAndResourcesShowNothing) {
    TemplateBuilder broken;
    broken.Dialog(WS_POPUP, 1, 0, 0, 80, 40, u"Broken");
    broken.Align(4).Dword(WS_VISIBLE).Dword(0).Short(5).Short(5).Short(40).Short(14).Word(7).String(u"NoSuchClass");
    broken.String(u"x").Word(0);
    EXPECT_EQ(Run(broken), -1);
    EXPECT_TRUE(IsWindowEnabled(parent));
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(999), parent, TestDialogProc, 0), -1);
    EXPECT_FALSE(EndDialog(parent, 1));
}

// A modeless dialog answers IsDialogMessage in the application's own loop; WM_CLOSE is IDCANCEL.
TEST_F(Dialogs, ModelessDialogAnswersIsDialogMessage) {
    HWND dialog = CreateDialogIndirectParamW(nullptr, static_cast<LPCDLGTEMPLATEW>(SampleTemplate().Data()), parent,
                                             TestDialogProc, 1234);
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
            steps.insert(steps.end(), i, [] { Stroke(VK_RIGHT); });
            steps.push_back([] { Stroke(VK_RETURN); });
            IdleScript script(steps);
            EXPECT_EQ(MessageBoxW(parent, u"Proceed?", u"Question", c.type | MB_ICONQUESTION), c.ids[i])
                << "type " << c.type << " button " << i;
            EXPECT_EQ(shown, c.ids);
            EXPECT_TRUE(IsWindowEnabled(parent));
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
        for (BYTE key : c.keys) steps.push_back([key] { Stroke(key); });
        IdleScript script(steps);
        EXPECT_EQ(MessageBoxW(parent, u"x", nullptr, c.type), c.result) << c.type;
    }
    EXPECT_EQ(MessageBoxW(parent, u"x", u"c", 6), 0);
    EXPECT_EQ(MessageBoxW(reinterpret_cast<HWND>(0x1234), u"x", u"c", MB_OK), 0);
}

// LxString::MessageBoxW: the string becomes the box's text, a missing caption becomes one space, the type
// passes through.
using LxStringMessageBox = Dialogs;

TEST_F(LxStringMessageBox, TextCaptionAndType) {
    const struct {
        const char* text;    // nullptr: an empty LxString
        const char* caption; // nullptr: an empty LxString
        UINT type;
        BYTE key;
        int result;
        std::u16string title, shown;
    } rows[] = {
        {"hello", "", MB_OK, VK_RETURN, IDOK, u" ", u"hello"},
        {nullptr, nullptr, MB_OKCANCEL, VK_RETURN, IDOK, u" ", u""},
        {"question", "title", MB_YESNOCANCEL | MB_ICONQUESTION, VK_ESCAPE, IDCANCEL, u"title", u"question"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.type);
        std::u16string title, shown;
        IdleScript script({[&] {
            HWND box = FindWindowW(u"#32770", nullptr);
            ASSERT_NE(box, nullptr);
            title = Text(box);
            shown = Text(GetDlgItem(box, 0xFFFF));
            Stroke(row.key);
        }});
        LxString text = row.text ? LxString(row.text) : LxString();
        EXPECT_EQ(text.MessageBoxW(row.caption ? LxString(row.caption) : LxString(), row.type), row.result);
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(title, row.title);
        EXPECT_EQ(shown, row.shown);
    }
}
