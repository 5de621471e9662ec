// The edit control through the queue and the input method: its three windows, byte lengths, the input limit
// guard during composition, the description text, Back and focus moves at the first and last line,
// select-all on focus, the colour answers and the teardown that keeps a waiting quit request; and 12-key text
// input: keypad key sequences and the text they leave in an edit, for multi-tap Latin, the vowel-stroke Korean
// method and the digit mode, and the library's edit at its byte limit.
#include <cehost/sim/imm.h>
#include <imm.h>

#include <cstring>

#include "ControlsTestSupport.h"
#include "LxEditCtrl.h"
#include "LxText.h"

using namespace lxtest;

namespace {

class TestEdit : public LxEditCtrl {
public:
    using LxEditCtrl::m_hBaseWnd;
    using LxEditCtrl::m_hDescWnd;
    using LxEditCtrl::m_hEditWnd;
};

const RECT kEditRect = {10, 60, 230, 90}; // 220 x 30

struct EditScreen {
    Host host;
    TestEdit edit;
    explicit EditScreen(unsigned long style = 0, RECT rect = kEditRect) {
        EXPECT_TRUE(host.Start());
        EXPECT_NE(edit.CreateEdit(host.m_hWnd, GetModuleHandleW(nullptr), 42, &rect, style), nullptr);
        Settle();
    }
    void Focus() {
        lxtest::Focus(edit);
        host.seen.clear();
    }
    // A limit (of 10 bytes unless given), the text, the focus with the caret at the end, the input method on or
    // off, and the debug output captured.
    void Limited(const WCHAR* text, bool inputMethod, UINT limit = 10) {
        edit.SetLimitText(limit);
        edit.SetText(text);
        Focus();
        edit.SetSelect(edit.GetLength(), edit.GetLength());
        HIMC context = ImmGetContext(hwnd());
        ImmSetOpenStatus(context, inputMethod ? TRUE : FALSE);
        ImmReleaseContext(hwnd(), context);
        cehost::sim::StartDebugCapture();
    }
    HWND hwnd() const { return edit.m_hEditWnd; }
};

// Key sequences: digits, '*' (VK_F8) and '#' (VK_F9) are keypad keys, capitals the PC keyboard's letters, '<'
// Backspace, '>' the right arrow, '^' the Korean input method's switch, '_' a pause of 1.1 seconds; spaces only
// group the keys for the reader. Every key is held 20 ms of virtual time.
void Play(const char* keys) {
    for (const char* k = keys; *k; ++k) {
        switch (*k) {
        case ' ': break;
        case '_': cehost::sim::RunFor(1100); break;
        case '<': Press(VK_BACK); break;
        case '>': Press(VK_RIGHT); break;
        case '*': Press(VK_F8); break;
        case '#': Press(VK_F9); break;
        case '^': Press(VK_HANGUL); break;
        default: Press(BYTE(*k)); break;
        }
    }
}

std::u16string Text(LxEditCtrl& edit) {
    WCHAR buffer[1024] = {};
    edit.GetText(buffer);
    return buffer;
}

TEST(EditWindows, ThreeWindowsWithTheBorderDrawnByTheOuterOne) {
    EditScreen screen(WS_BORDER | ES_AUTOHSCROLL);
    TestEdit& edit = screen.edit;
    ASSERT_TRUE(edit.IsWindow());
    EXPECT_EQ(std::tuple(GetParent(edit.m_hEditWnd), GetParent(edit.m_hDescWnd)),
              std::tuple(edit.m_hBaseWnd, edit.m_hEditWnd));
    EXPECT_EQ(GetWindowLongW(edit.m_hEditWnd, GWL_STYLE) & WS_BORDER, 0);
    // Inside the outer window's frame (whose looks the golden screenshots pin).
    EXPECT_EQ(Box(ScreenRect(edit.m_hEditWnd)), Box({11, 21 + 63, 229, 21 + 89}));
    TestEdit second;
    RECT rect = {10, 100, 230, 130};
    EXPECT_NE(second.CreateEdit(screen.host.m_hWnd, nullptr, 43, &rect, 0), nullptr)
        << "the class exists already; a second control still works";
    second.SetText(u"two");
    EXPECT_EQ(Text(second), u"two");
}

TEST(EditText, LengthsCountAnsiBytesAndGetLineFindsTheCaretLine) {
    EditScreen screen;
    screen.edit.SetText(u"한글AB가");
    EXPECT_EQ(screen.edit.GetLength(), 8u);
    char bytes[64];
    std::memset(bytes, 'x', sizeof bytes);
    screen.edit.GetText(bytes);
    EXPECT_EQ(std::string(bytes), "\xC7\xD1\xB1\xDB" "AB\xB0\xA1");
    screen.edit.SetText("\xC7\xD1" "b"); // "한b" in the ANSI code page
    EXPECT_EQ(std::tuple(Text(screen.edit), screen.edit.GetLength()), std::tuple(std::u16string(u"한b"), 3u));
    screen.edit.SetText(u"");
    EXPECT_EQ(screen.edit.GetLength(), 0u);
    EditScreen lines(ES_MULTILINE, {10, 40, 230, 200});
    lines.edit.SetText(u"one\r\ntwo\r\nthree\r\nfour");
    ASSERT_EQ(lines.edit.GetLineMax(), 4);
    lines.edit.SetSelect(12, 12);
    cehost::sim::StartDebugCapture();
    EXPECT_EQ(lines.edit.GetLine(), 2);
    EXPECT_EQ(cehost::sim::TakeDebugOutput(),
              u"GetLine() -> Current - 10 , Temp - 0\nGetLine() -> Current - 10 , Temp - 5\n"
              u"GetLine() -> Current - 10 , Temp - 10\nGetLine() -> Current - 10 , Temp - 17\n");
    lines.edit.SetText(u"");
    EXPECT_EQ(lines.edit.GetLine(), 0);
}

// A syllable committed by a keypad or PC input method is refused the same way (TypedKeysStayWithinTheLimit).
TEST(EditLimit, ADoubleByteCharacterNeedsTwoFreeBytes) {
    EditScreen screen;
    screen.Limited(u"abcdefghi", false);
    // A double-byte character arriving as a character is refused the same way.
    EXPECT_EQ(SendMessageW(screen.hwnd(), WM_CHAR, u'가', 0), 1);
    EXPECT_EQ(Text(screen.edit), u"abcdefghi");
    // A selection is replaced even when the text is full.
    screen.edit.SetSelect(0, 9);
    EXPECT_NE(SendMessageW(screen.hwnd(), WM_CHAR, u'가', 0), 1);
    EXPECT_EQ(Text(screen.edit), u"가");
}

// 가나아 on "abcdef" with a limit of 10: 아 is refused when the input method finishes it, and the guard
// swallows the end of its composition; the edit must not keep drawing it.
TEST(EditLimit, ARefusedCompositionIsNotDrawn) {
    EditScreen screen;
    screen.Limited(u"abcdef", true);
    const COLORREF composition = GetSysColor(COLOR_HIGHLIGHT);
    RECT client;
    GetClientRect(screen.hwnd(), &client);
    Play("RKSKDK");
    EXPECT_GT(CountColour(screen.hwnd(), client, composition), 0) << "아 is being composed";
    Press(VK_HANGUL, 0);
    EXPECT_EQ(Text(screen.edit), u"abcdef가나");
    EXPECT_EQ(CountColour(screen.hwnd(), client, composition), 0);
    Focus(screen.host.m_hWnd);
    EXPECT_EQ(CountColour(screen.hwnd(), client, composition), 0);
}

TEST(EditFocus, DescriptionSelectionAndColourAnswersFollowTheFocus) {
    EditScreen screen;
    screen.edit.SetDescText(u"name", RGB(255, 0, 0));
    HWND description = screen.edit.m_hDescWnd;
    EXPECT_FALSE(IsWindowVisible(description)) << "nothing changes before the focus comes";
    screen.Focus();
    EXPECT_TRUE(IsWindowVisible(description));
    EXPECT_EQ(WindowText(description), u"name");
    auto red = [](COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) < 60; };
    EXPECT_GT(CountWhere(description, {0, 0, 60, 20}, red), 0) << "drawn in the description colour";
    Press('A', 0);
    EXPECT_FALSE(IsWindowVisible(description));
    Press(VK_BACK, 0);
    EXPECT_TRUE(IsWindowVisible(description));
    EXPECT_TRUE(screen.host.Only(LXM_BACKKEY).empty()) << "the Backspace that empties the text is not Back";
    Press(VK_BACK, 0);
    EXPECT_EQ(screen.host.Only(LXM_BACKKEY).size(), 1u);
    Focus(screen.host.m_hWnd);
    EXPECT_FALSE(IsWindowVisible(description));
    // Gaining the focus selects everything, losing it puts the caret at the start.
    screen.edit.SetText(u"hello");
    screen.Focus();
    EXPECT_EQ(std::tuple(screen.edit.GetSelectStart(), screen.edit.GetSelectFinish()), std::tuple(0u, 5u));
    Focus(screen.host.m_hWnd);
    EXPECT_EQ(screen.edit.GetSelectFinish(), 0u);
    // The colour answers follow the focus.
    screen.edit.SetDataColor(RGB(1, 2, 3), RGB(4, 5, 6));
    screen.edit.SetBaseColor(RGB(10, 20, 30), RGB(40, 50, 60));
    HDC dc = GetDC(screen.hwnd());
    auto answer = [&] {
        HBRUSH brush = reinterpret_cast<HBRUSH>(
            SendMessageW(screen.edit.m_hBaseWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), L(screen.hwnd())));
        LOGBRUSH info = {};
        GetObjectW(brush, sizeof info, &info);
        return std::make_pair(info.lbColor, GetTextColor(dc));
    };
    EXPECT_EQ(answer(), std::make_pair(COLORREF(RGB(10, 20, 30)), COLORREF(RGB(1, 2, 3))));
    screen.Focus();
    EXPECT_EQ(answer(), std::make_pair(COLORREF(RGB(40, 50, 60)), COLORREF(RGB(4, 5, 6))));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    ReleaseDC(screen.hwnd(), dc);
    EXPECT_EQ(ClientPixel(screen.edit.m_hBaseWnd, 100, 1), RGB(40, 50, 60)) << "focused outer background";
}

TEST(EditKeys, UpLeavesFromTheFirstLineOnlyAfterTheCaretWasAlreadyThere) {
    Host host;
    ASSERT_TRUE(host.Start());
    LxText above, below;
    TestEdit edit;
    RECT top = {10, 10, 230, 40}, rect = {10, 50, 230, 200}, bottom = {10, 250, 230, 280};
    above.CreateButton(host.m_hWnd, nullptr, 1, &top);
    edit.CreateEdit(host.m_hWnd, nullptr, 2, &rect, ES_MULTILINE);
    below.CreateButton(host.m_hWnd, nullptr, 3, &bottom);
    edit.SetText(u"one\r\ntwo\r\nthree");
    Focus(edit);
    Press(VK_UP, 0); // the caret was at the end of line 2
    EXPECT_EQ(std::tuple(edit.GetLine(), edit.IsFocus()), std::tuple(1, 1));
    Press(VK_UP, 0);
    EXPECT_EQ(std::tuple(edit.GetLine(), edit.IsFocus()), std::tuple(0, 1)) << "the press only reaches line 0";
    Press(VK_UP, 0);
    EXPECT_EQ(above.IsFocus(), 1);
    Focus(edit);
    Press(VK_DOWN, 0); // already on the last line (caret at the end)
    EXPECT_EQ(edit.IsFocus(), 1) << "the remembered line was the first one";
    Press(VK_DOWN, 0);
    EXPECT_EQ(below.IsFocus(), 1);
}

TEST(EditLifetime, TeardownHandlesWaitingMessagesAndKeepsTheQuitRequest) {
    EditScreen screen;
    screen.edit.SetText(u"x");
    PostMessageW(screen.host.m_hWnd, LXM_SELCHANGE, 5, 0);
    PostQuitMessage(7);
    const long objects = cehost::sim::GdiObjectCount();
    const DWORD windows = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    screen.edit.Destroy();
    EXPECT_EQ(screen.host.Only(LXM_SELCHANGE).size(), 1u) << "dispatched by the flush";
    EXPECT_FALSE(screen.edit.IsWindow());
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), windows - 3) << "its three windows";
    EXPECT_EQ(cehost::sim::GdiObjectCount(), objects - 2) << "both fonts released";
    // Whatever the destruction itself queued (repainting what the control covered) comes before the quit.
    MSG msg;
    bool quit = false;
    while (!quit && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) quit = true;
        else DispatchMessageW(&msg);
    }
    ASSERT_TRUE(quit);
    EXPECT_EQ(msg.wParam, WPARAM(7));
}

std::u16string Composing(HWND hwnd) {
    HIMC himc = ImmGetContext(hwnd);
    WCHAR buffer[8] = {};
    const LONG bytes = ImmGetCompositionStringW(himc, GCS_COMPSTR, buffer, sizeof buffer);
    ImmReleaseContext(hwnd, himc);
    return std::u16string(buffer, bytes > 0 ? size_t(bytes) / 2 : 0);
}

// What an edit shows: its text, a bar, and what is being composed.
std::u16string Shown(HWND hwnd) { return WindowText(hwnd) + u"|" + Composing(hwnd); }

// A plain system edit with the focus, keypad input on and in its first mode (한).
struct KeypadEdit {
    HWND top = nullptr, edit = nullptr;
    KeypadEdit() {
        cehost::sim::SetVirtualTime(true);
        top = CreateWindowExW(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr,
                              nullptr);
        edit = CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 40, 220, 24, top, nullptr,
                               nullptr, nullptr);
        SetFocus(edit);
        Reset();
    }
    ~KeypadEdit() { DestroyWindow(top); }
    void Reset() {
        cehost::sim::SetKeypadInput(false);
        SetWindowTextW(edit, u"");
        cehost::sim::SetKeypadInput(true);
        Settle();
    }
};

struct Sequence {
    const char* keys;
    const char16_t* text;
};

TEST(KeypadInput, SequencesTypeTheirText) {
    const Sequence table[] = {
        // Multi-tap Latin: # once for capitals, twice for small letters; a letter waits for its key to come
        // again, so two letters on one key need a pause (or the clock commits the first).
        {"##44 33 555_555 666*", u"hello"},
        {"#8 44 33*", u"THE"},
        {"##44_444 0 1111*", u"hi !"},
        {"##2_", u"a"},
        {"##2_2_22*", u"aab"},
        {"##9999_9*", u"zw"},
        // Korean: strokes ㅣ ㆍ ㅡ build the vowels, consonant keys cycle, finals move on before a vowel.
        {"88 12 5 4 3 55*", u"한글"},
        {"4 12 5 12*", u"가나"},
        {"444 12 99 1*", u"까치"},
        {"6 12 55 4*", u"닭"},
        {"01 55 4 1*", u"일기"},
        {"5211 4121*", u"네개"},
        {"0122 0221 0223 0322*", u"야여요유"},
        {"4231 031 02312 1*", u"괴의왜"},
        {"02312 03221 032211*", u"와워웨"},
        {"4 12 44 12*", u"가카"},
        {"4 12 4_4 12*", u"각가"},
        {"4 12 > 4 12*", u"가가"},
        {"4 122 < 5 <*", u"가"},
        {"4 2 2 1*", u"겨"},
        {"4 5*", u"ㄱㄴ"},
        // Digits type themselves; # goes round to Korean again, finishing what was being composed.
        {"###42*", u"42*"},
        {"88 12 5 # 8 44 33*", u"한THE"},
        {"###7#4 12*", u"7가"},
        {"##2 #", u"a"},
    };
    KeypadEdit screen;
    for (const Sequence& row : table) {
        screen.Reset();
        Play(row.keys);
        EXPECT_EQ(Shown(screen.edit), row.text + std::u16string(u"|")) << row.keys;
    }
}

// Korean keeping its syllable open past the cycle time is pinned by the notebook's keypad script.
TEST(KeypadInput, ThePendingLetterIsTheCompositionUntilTheClockCommitsItAndKeysPassWhereNoTextGoes) {
    KeypadEdit screen;
    Play("##22");
    EXPECT_EQ(Shown(screen.edit), u"|b");
    cehost::sim::RunFor(960); // the last press was 20 ms before Play returned
    EXPECT_EQ(Shown(screen.edit), u"|b") << "still within the cycle time of the last press";
    cehost::sim::RunFor(40);
    EXPECT_EQ(Shown(screen.edit), u"b|");
    DWORD due = 0;
    EXPECT_FALSE(cehost::sim::NextTimerDue(&due)) << "no timer stays behind once the letter is committed";
    // Keys pass where no text goes, and with PC input.
    HWND readOnly = CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE | ES_READONLY, 10, 80, 220, 24, screen.top,
                                    nullptr, nullptr, nullptr);
    SetFocus(readOnly);
    Play("4 12");
    EXPECT_EQ(Shown(readOnly), u"|");
    EXPECT_EQ(cehost::sim::InputModeLabel(), u"");
    SetFocus(screen.edit);
    cehost::sim::SetKeypadInput(false);
    Play("4 2");
    EXPECT_EQ(WindowText(screen.edit), u"b42") << "the PC keyboard's digits are digits";
}

// Keys typed into the library's edit through the keypad, the PC keyboard or the PC keyboard's Korean input
// method, with a limit of 10 bytes or none (0). Double-byte characters count two bytes and the guard refuses
// what would pass the limit, whatever composes it: a cycling letter, a syllable that moves its final on, a
// syllable committed with nothing composing after it. `refusal` is the reason on the guard's last debug line,
// 0 for no line at all, -1 where it does not matter.
TEST(EditLimit, TypedKeysStayWithinTheLimit) {
    enum Input { kKeypad, kPc, kKorean };
    const struct {
        UINT limit;
        const char16_t* before;
        Input input;
        const char* keys;
        const char16_t* text;
        int refusal;
    } rows[] = {
        {10, u"abcdefghij", kPc, "K", u"abcdefghij", 5},
        {10, u"abcdefghij", kPc, "<K", u"abcdefghik", 0}, // Backspace is taken, a single byte still fits
        {0, u"abcdefghij", kPc, "K", u"abcdefghijk", 0},
        {10, u"", kKorean, "RKSKDKGKAK^", u"가나아하마", 0}, // switching off completes the last syllable, which fits
        {10, u"가나아하마", kKorean, "TK", u"가나아하마", 1}, // a composition that cannot fit is refused as it starts
        {10, u"가나아하마", kKorean, "TK^", u"가나아하마", 5}, // and the syllable that switching off completes
        {10, u"abcdefghi", kKeypad, "##222*", u"abcdefghic", -1},
        {10, u"abcdefghi", kKeypad, "##2_2*", u"abcdefghia", -1},
        {10, u"abcdefgh", kKeypad, "4 12 5 12*", u"abcdefgh가", -1},
        {10, u"abcdefgh", kKeypad, "###123", u"abcdefgh12", 5},
        {10, u"abcdefghi", kKeypad, "4 12*", u"abcdefghi", 2},
        {10, u"abcdefghi", kKeypad, "4 12>", u"abcdefghi", 2},
    };
    EditScreen screen;
    for (const auto& row : rows) {
        cehost::sim::SetKeypadInput(false);
        screen.Limited(row.before, row.input == kKorean, row.limit);
        cehost::sim::SetKeypadInput(row.input == kKeypad);
        Play(row.keys);
        EXPECT_EQ(Text(screen.edit), std::u16string(row.text)) << row.keys;
        if (row.refusal < 0) continue;
        const std::u16string debug = cehost::sim::TakeDebugOutput(), reason(1, char16_t(u'0' + row.refusal));
        const size_t last = debug.rfind(u"LxEditCtrl - IME");
        EXPECT_EQ(last == std::u16string::npos ? u"" : debug.substr(last, debug.find(u'\n', last) + 1 - last),
                  row.refusal ? u"LxEditCtrl - IME - OVER INPUT " + reason + u" \n" : u"")
            << row.keys;
    }
}

} // namespace
