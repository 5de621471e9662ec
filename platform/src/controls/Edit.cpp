// The "EDIT" class: single- and multi-line text entry with a caret and a selection, word wrapping in
// multi-line controls without ES_AUTOHSCROLL, horizontal scrolling otherwise, the EN_* notifications, the
// CE character limits, and the input method's syllable under composition drawn at the caret (it joins the
// text only when the input method finishes it, as typed characters, so WM_GETTEXT never sees half-built
// syllables).
// Not implemented: undo, drag selection with the stylus, scroll bars, EM_SETMARGINS, EM_SETTABSTOPS.
#include "controls/ControlState.h"
#include "internal/user_hooks.h"
#include "controls/EditBuffer.h"
#include "controls/Painting.h"
#include "imm/InputMethod.h"

#include <imm.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace cehost::controls {

namespace {

// CE limits: 30,000 characters at creation; EM_LIMITTEXT(0) gives the largest the style allows.
constexpr int kInitialLimit = 30000;
constexpr int kSingleLineMax = 0x7FFE;
constexpr int kMultiLineMax = 0xFFFF;
constexpr int kMargin = 1;

struct Line {
    int start = 0;
    int length = 0; // without the line break
};

struct Edit {
    explicit Edit(bool multiLine) : buffer(multiLine) {}
    HWND hwnd = nullptr;
    EditBuffer buffer;
    HFONT font = nullptr;
    bool focused = false;
    bool modified = false;
    WCHAR passwordChar = 0;
    std::u16string composition;
    std::vector<Line> lines{Line{}};
    int lineHeight = 16;
    int firstLine = 0;
    int xOffset = 0;
};

StateTable<Edit>& Edits()
{
    static StateTable<Edit> table;
    return table;
}

DWORD Style(const Edit& ed) { return static_cast<DWORD>(GetWindowLongW(ed.hwnd, GWL_STYLE)); }
bool IsMultiLine(const Edit& ed) { return ed.buffer.IsMultiLine(); }
bool IsReadOnly(const Edit& ed) { return (Style(ed) & ES_READONLY) != 0; }
bool Wraps(const Edit& ed) { return IsMultiLine(ed) && !(Style(ed) & ES_AUTOHSCROLL); }

RECT FormatRect(const Edit& ed)
{
    RECT rc;
    GetClientRect(ed.hwnd, &rc);
    rc.left += kMargin;
    rc.right = std::max(rc.left, rc.right - kMargin);
    return rc;
}

// What is shown for text: the text itself, or the password character in its place.
std::u16string Shown(const Edit& ed, int start, int length)
{
    if (ed.passwordChar != 0 && !IsMultiLine(ed))
        return std::u16string(static_cast<size_t>(length), static_cast<char16_t>(ed.passwordChar));
    return ed.buffer.Text().substr(static_cast<size_t>(start), static_cast<size_t>(length));
}

// A DC with the control's font, for measuring outside painting.
class MeasureDC {
public:
    explicit MeasureDC(const Edit& ed) : m_hwnd(ed.hwnd), m_hdc(GetDC(ed.hwnd))
    {
        m_old = SelectObject(m_hdc, FontOrDefault(ed.font));
    }
    ~MeasureDC()
    {
        SelectObject(m_hdc, m_old);
        ReleaseDC(m_hwnd, m_hdc);
    }
    HDC Get() const { return m_hdc; }

private:
    HWND m_hwnd;
    HDC m_hdc;
    HGDIOBJ m_old;
};

int TextWidth(HDC hdc, const std::u16string& text)
{
    if (text.empty())
        return 0;
    SIZE size{};
    GetTextExtentPoint32W(hdc, reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()), &size);
    return size.cx;
}

// Breaks one paragraph (no hard breaks inside) into lines no wider than `width`, after spaces where possible.
void WrapParagraph(const Edit& ed, HDC hdc, int start, int length, int width, std::vector<Line>* out)
{
    const std::u16string& text = ed.buffer.Text();
    while (length > 0) {
        // One measurement of the rest of the paragraph answers both whether it fits and where it must break.
        const char16_t* rest = text.data() + start;
        int fit = 0;
        SIZE size{};
        GetTextExtentExPointW(hdc, reinterpret_cast<LPCWSTR>(rest), length, width, &fit, nullptr, &size);
        if (size.cx <= width) {
            out->push_back({start, length});
            return;
        }
        fit = std::clamp(fit, 1, length);
        int cut = fit;
        for (int i = fit; i > 0; --i) {
            if (rest[static_cast<size_t>(i - 1)] == u' ') {
                cut = i;
                break;
            }
        }
        // Spaces that follow the break stay at the end of this line rather than starting the next one.
        while (cut < length && rest[static_cast<size_t>(cut)] == u' ')
            ++cut;
        out->push_back({start, cut});
        start += cut;
        length -= cut;
    }
}

void Layout(Edit& ed)
{
    MeasureDC dc(ed);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.Get(), &tm);
    ed.lineHeight = std::max<int>(tm.tmHeight, 1);
    ed.lines.clear();
    const std::u16string& text = ed.buffer.Text();
    int length = static_cast<int>(text.size());
    if (!IsMultiLine(ed)) {
        ed.lines.push_back({0, length});
        return;
    }
    RECT rc = FormatRect(ed);
    int width = std::max<int>(rc.right - rc.left, 1);
    bool wrap = Wraps(ed);
    int start = 0;
    for (;;) {
        int end = start;
        while (end < length && text[static_cast<size_t>(end)] != u'\r' && text[static_cast<size_t>(end)] != u'\n')
            ++end;
        if (wrap && end > start)
            WrapParagraph(ed, dc.Get(), start, end - start, width, &ed.lines);
        else
            ed.lines.push_back({start, end - start});
        if (end >= length)
            break;
        int next = end + 1;
        if (text[static_cast<size_t>(end)] == u'\r' && next < length && text[static_cast<size_t>(next)] == u'\n')
            ++next;
        start = next;
        if (start == length) {
            ed.lines.push_back({start, 0});
            break;
        }
    }
}

int LineOf(const Edit& ed, int position)
{
    // The last line starting at or before the position; a wrap point belongs to the line it starts.
    auto it = std::upper_bound(ed.lines.begin(), ed.lines.end(), position,
                               [](int pos, const Line& line) { return pos < line.start; });
    if (it == ed.lines.begin())
        return 0;
    return static_cast<int>(it - ed.lines.begin()) - 1;
}

int VisibleLines(const Edit& ed)
{
    RECT rc = FormatRect(ed);
    return std::max<int>((rc.bottom - rc.top) / ed.lineHeight, 1);
}

int LineIndent(const Edit& ed, HDC hdc, const Line& line)
{
    DWORD align = Style(ed) & (ES_CENTER | ES_RIGHT);
    if (align == 0)
        return 0;
    RECT rc = FormatRect(ed);
    int room = (rc.right - rc.left) - TextWidth(hdc, Shown(ed, line.start, line.length));
    if (room <= 0)
        return 0;
    return align == ES_CENTER ? room / 2 : room;
}

// Caret position in client coordinates (the top of the line).
POINT PositionOf(const Edit& ed, HDC hdc, int position)
{
    int line = LineOf(ed, position);
    const Line& l = ed.lines[static_cast<size_t>(line)];
    int column = std::min(position - l.start, l.length);
    RECT rc = FormatRect(ed);
    POINT pt;
    pt.x = rc.left - ed.xOffset + LineIndent(ed, hdc, l) + TextWidth(hdc, Shown(ed, l.start, column));
    pt.y = rc.top + (line - ed.firstLine) * ed.lineHeight;
    return pt;
}

int PositionFromX(const Edit& ed, HDC hdc, int line, int x)
{
    const Line& l = ed.lines[static_cast<size_t>(std::clamp<int>(line, 0, static_cast<int>(ed.lines.size()) - 1))];
    RECT rc = FormatRect(ed);
    int target = x - rc.left + ed.xOffset - LineIndent(ed, hdc, l);
    if (l.length == 0 || target <= 0)
        return l.start;
    std::u16string shown = Shown(ed, l.start, l.length);
    std::vector<int> ends(shown.size());
    int fit = 0;
    SIZE size{};
    GetTextExtentExPointW(hdc, reinterpret_cast<LPCWSTR>(shown.data()), static_cast<int>(shown.size()), 0x7FFFFFFF,
                          &fit, ends.data(), &size);
    // The nearer edge of the character under x.
    int previous = 0;
    for (int i = 0; i < l.length; ++i) {
        if (ends[static_cast<size_t>(i)] > target)
            return l.start + (target - previous >= ends[static_cast<size_t>(i)] - target ? i + 1 : i);
        previous = ends[static_cast<size_t>(i)];
    }
    return l.start + l.length;
}

void ScrollCaretIntoView(Edit& ed)
{
    MeasureDC dc(ed);
    int caretLine = LineOf(ed, ed.buffer.Caret());
    if (IsMultiLine(ed)) {
        int visible = VisibleLines(ed);
        if (caretLine < ed.firstLine)
            ed.firstLine = caretLine;
        else if (caretLine >= ed.firstLine + visible)
            ed.firstLine = caretLine - visible + 1;
    }
    if (Wraps(ed)) {
        ed.xOffset = 0;
        return;
    }
    RECT rc = FormatRect(ed);
    int width = rc.right - rc.left;
    const Line& l = ed.lines[static_cast<size_t>(caretLine)];
    int caretX = TextWidth(dc.Get(), Shown(ed, l.start, ed.buffer.Caret() - l.start)) +
                 TextWidth(dc.Get(), ed.composition);
    if (caretX < ed.xOffset)
        ed.xOffset = std::max(caretX - width / 4, 0);
    else if (caretX >= ed.xOffset + width)
        ed.xOffset = caretX - width + width / 4 + 1;
}

void Refresh(Edit& ed)
{
    ScrollCaretIntoView(ed);
    InvalidateRect(ed.hwnd, nullptr, TRUE);
}

void Notify(Edit& ed, UINT code) { NotifyParentCommand(ed.hwnd, GetParent(ed.hwnd), code); }

// A change made by the user: EN_MAXTEXT when the limit cut it, EN_UPDATE before the redraw, EN_CHANGE after.
void AfterUserChange(Edit& ed, const EditBuffer::Change& change)
{
    HWND hwnd = ed.hwnd;
    if (change.truncated)
        Notify(ed, EN_MAXTEXT);
    if (!change.changed || Edits().Find(hwnd) != &ed)
        return;
    ed.modified = true;
    Layout(ed);
    Notify(ed, EN_UPDATE);
    if (Edits().Find(hwnd) != &ed)
        return;
    Refresh(ed);
    Notify(ed, EN_CHANGE);
}

void InsertTyped(Edit& ed, std::u16string text)
{
    DWORD style = Style(ed);
    if (style & ES_NUMBER) {
        for (char16_t c : text)
            if (c < u'0' || c > u'9')
                return;
    }
    for (char16_t& c : text) {
        if ((style & ES_UPPERCASE) && c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - u'a' + u'A');
        if ((style & ES_LOWERCASE) && c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    }
    AfterUserChange(ed, ed.buffer.ReplaceSelection(std::move(text), true));
}

// Painting.

void DrawRun(HDC hdc, int x, int y, const std::u16string& text)
{
    if (!text.empty())
        ExtTextOutW(hdc, x, y, 0, nullptr, reinterpret_cast<LPCWSTR>(text.data()), static_cast<UINT>(text.size()),
                    nullptr);
}

// Draws text[from, to) of one line at x with or without the selection colours; returns the x after it.
int DrawSpan(const Edit& ed, HDC hdc, int x, int y, int from, int to, bool selected)
{
    if (to <= from)
        return x;
    std::u16string run = Shown(ed, from, to - from);
    int width = TextWidth(hdc, run);
    if (selected) {
        COLORREF oldText = SetTextColor(hdc, SysColour(COLOR_HIGHLIGHTTEXT));
        int oldMode = SetBkMode(hdc, TRANSPARENT);
        RECT box = {x, y, x + width, y + ed.lineHeight};
        FillRect(hdc, &box, SysBrush(COLOR_HIGHLIGHT));
        DrawRun(hdc, x, y, run);
        SetBkMode(hdc, oldMode);
        SetTextColor(hdc, oldText);
    } else {
        DrawRun(hdc, x, y, run);
    }
    return x + width;
}

int DrawComposition(const Edit& ed, HDC hdc, int x, int y)
{
    int width = TextWidth(hdc, ed.composition);
    COLORREF oldText = SetTextColor(hdc, SysColour(COLOR_HIGHLIGHTTEXT));
    int oldMode = SetBkMode(hdc, TRANSPARENT);
    RECT box = {x, y, x + width, y + ed.lineHeight};
    FillRect(hdc, &box, SysBrush(COLOR_HIGHLIGHT));
    DrawRun(hdc, x, y, ed.composition);
    SetBkMode(hdc, oldMode);
    SetTextColor(hdc, oldText);
    return x + width;
}

void DrawLine(const Edit& ed, HDC hdc, int index, int y)
{
    const Line& line = ed.lines[static_cast<size_t>(index)];
    RECT rc = FormatRect(ed);
    int x = rc.left - ed.xOffset + LineIndent(ed, hdc, line);
    bool showSelection = ed.focused || (Style(ed) & ES_NOHIDESEL);
    int selStart = showSelection ? ed.buffer.SelectionStart() : 0;
    int selEnd = showSelection ? ed.buffer.SelectionEnd() : 0;
    int lineEnd = line.start + line.length;
    int caret = ed.buffer.Caret();
    bool compositionHere = !ed.composition.empty() && LineOf(ed, caret) == index;
    // Cut the line at the selection edges and at the caret (where a composition is shown).
    std::vector<int> cuts = {line.start, lineEnd};
    for (int p : {selStart, selEnd, caret})
        if (p > line.start && p < lineEnd)
            cuts.push_back(p);
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    for (size_t i = 0; i + 1 < cuts.size(); ++i) {
        if (compositionHere && cuts[i] == caret)
            x = DrawComposition(ed, hdc, x, y);
        bool selected = cuts[i] >= selStart && cuts[i + 1] <= selEnd && selStart < selEnd;
        x = DrawSpan(ed, hdc, x, y, cuts[i], cuts[i + 1], selected);
    }
    if (compositionHere && caret == lineEnd)
        x = DrawComposition(ed, hdc, x, y);
}

void DrawCaret(const Edit& ed, HDC hdc)
{
    if (!ed.focused || !ed.composition.empty() || ed.buffer.HasSelection())
        return;
    POINT pt = PositionOf(ed, hdc, ed.buffer.Caret());
    RECT caret = {pt.x, pt.y, pt.x + 1, pt.y + ed.lineHeight};
    HBRUSH brush = CreateSolidBrush(GetTextColor(hdc));
    FillRect(hdc, &caret, brush);
    DeleteObject(brush);
}

void Draw(Edit& ed, HDC hdc, const RECT& area)
{
    bool greyed = IsReadOnly(ed) || !IsWindowEnabled(ed.hwnd);
    HBRUSH brush = ControlColor(ed.hwnd, hdc, greyed ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
    if (Edits().Find(ed.hwnd) != &ed)
        return;
    FillRect(hdc, &area, brush);
    if (!IsWindowEnabled(ed.hwnd))
        SetTextColor(hdc, SysColour(COLOR_GRAYTEXT));
    HGDIOBJ oldFont = SelectObject(hdc, FontOrDefault(ed.font));
    RECT rc = FormatRect(ed);
    int last = std::min<int>(static_cast<int>(ed.lines.size()), ed.firstLine + VisibleLines(ed) + 1);
    for (int i = ed.firstLine; i < last; ++i) {
        int y = rc.top + (i - ed.firstLine) * ed.lineHeight;
        if (y >= area.bottom || y + ed.lineHeight <= area.top)
            continue;
        DrawLine(ed, hdc, i, y);
    }
    DrawCaret(ed, hdc);
    SelectObject(hdc, oldFont);
}

// Keyboard.

int LineStartOf(const Edit& ed, int position) { return ed.lines[static_cast<size_t>(LineOf(ed, position))].start; }
int LineEndOf(const Edit& ed, int position)
{
    const Line& l = ed.lines[static_cast<size_t>(LineOf(ed, position))];
    return l.start + l.length;
}

int VerticalTarget(Edit& ed, int lines)
{
    MeasureDC dc(ed);
    int caret = ed.buffer.Caret();
    int line = LineOf(ed, caret);
    int target = std::clamp<int>(line + lines, 0, static_cast<int>(ed.lines.size()) - 1);
    if (target == line)
        return lines < 0 ? ed.lines[static_cast<size_t>(line)].start : LineEndOf(ed, caret);
    POINT pt = PositionOf(ed, dc.Get(), caret);
    return PositionFromX(ed, dc.Get(), target, pt.x);
}

void OnKeyDown(Edit& ed, WPARAM key)
{
    bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    EditBuffer& b = ed.buffer;
    int caret = b.Caret();
    int target = -1;
    switch (key) {
    case VK_LEFT:
        target = (b.HasSelection() && !shift) ? b.SelectionStart() : b.PreviousPosition(caret);
        break;
    case VK_RIGHT:
        target = (b.HasSelection() && !shift) ? b.SelectionEnd() : b.NextPosition(caret);
        break;
    case VK_UP:
        target = IsMultiLine(ed) ? VerticalTarget(ed, -1) : b.PreviousPosition(caret);
        break;
    case VK_DOWN:
        target = IsMultiLine(ed) ? VerticalTarget(ed, 1) : b.NextPosition(caret);
        break;
    case VK_PRIOR:
        if (IsMultiLine(ed))
            target = VerticalTarget(ed, -VisibleLines(ed));
        break;
    case VK_NEXT:
        if (IsMultiLine(ed))
            target = VerticalTarget(ed, VisibleLines(ed));
        break;
    case VK_HOME:
        target = control ? 0 : LineStartOf(ed, caret);
        break;
    case VK_END:
        target = control ? b.Length() : LineEndOf(ed, caret);
        break;
    case VK_DELETE:
        if (!IsReadOnly(ed))
            AfterUserChange(ed, b.DeleteForward());
        return;
    default:
        return;
    }
    if (target < 0)
        return;
    b.MoveCaret(target, shift);
    Refresh(ed);
}

void OnChar(Edit& ed, WPARAM ch)
{
    if (IsReadOnly(ed))
        return;
    switch (ch) {
    case 8:
        AfterUserChange(ed, ed.buffer.DeleteBackward());
        return;
    case 13:
        if (IsMultiLine(ed))
            InsertTyped(ed, u"\r\n");
        return;
    case 9:
        if (IsMultiLine(ed))
            InsertTyped(ed, u"\t");
        return;
    default:
        if (ch < 32 || ch == 127)
            return;
        InsertTyped(ed, std::u16string(1, static_cast<char16_t>(ch)));
    }
}

// Input method.

std::u16string CompositionString(HWND hwnd, DWORD which)
{
    HIMC himc = ImmGetContext(hwnd);
    std::u16string text;
    LONG bytes = ImmGetCompositionStringW(himc, which, nullptr, 0);
    if (bytes > 0) {
        text.resize(static_cast<size_t>(bytes) / sizeof(char16_t));
        LONG got = ImmGetCompositionStringW(himc, which, text.data(), static_cast<DWORD>(bytes));
        text.resize(got > 0 ? static_cast<size_t>(got) / sizeof(char16_t) : 0);
    }
    ImmReleaseContext(hwnd, himc);
    return text;
}

void OnStartComposition(Edit& ed)
{
    ed.composition.clear();
    // The syllable takes the place of the selection, as a typed character would.
    if (!IsReadOnly(ed) && ed.buffer.HasSelection())
        AfterUserChange(ed, ed.buffer.ReplaceSelection(std::u16string(), false));
}

// Finished text takes the default window procedure's way in: one WM_IME_CHAR per unit, sent through the
// window's subclasses, each posting the WM_CHAR that types it. So whatever filters typed characters sees
// committed syllables too, and they arrive in order with the keys around them.
void OnComposition(Edit& ed, WPARAM latest, LPARAM flags)
{
    HWND hwnd = ed.hwnd;
    if (flags & GCS_RESULTSTR) {
        ed.composition.clear();
        DefWindowProcW(hwnd, WM_IME_COMPOSITION, latest, flags);
        if (Edits().Find(hwnd) != &ed)
            return;
    }
    if (IsReadOnly(ed))
        return;
    if (flags & GCS_COMPSTR)
        ed.composition = CompositionString(hwnd, GCS_COMPSTR);
    else if (!(flags & GCS_RESULTSTR))
        ed.composition.clear();
    Refresh(ed);
}

void OnEndComposition(Edit& ed)
{
    if (ed.composition.empty())
        return;
    ed.composition.clear();
    Refresh(ed);
}

// The edit draws only what the input context holds: a composition message that a subclass swallowed must not
// leave a syllable drawn that neither the text nor the input method has.
void FollowInputContext(Edit& ed)
{
    if (ed.composition.empty())
        return;
    std::u16string held = ed.focused ? CompositionString(ed.hwnd, GCS_COMPSTR) : std::u16string();
    if (held != ed.composition) {
        ed.composition = held;
        Refresh(ed);
    }
}

void OnInputMethodEnded(HWND hwnd)
{
    if (Edit* ed = Edits().Find(hwnd))
        FollowInputContext(*ed);
}

// Messages.

LRESULT OnCreate(HWND hwnd, const CREATESTRUCTW* cs)
{
    bool multiLine = (cs->style & ES_MULTILINE) != 0;
    Edit& ed = *Edits().Create(hwnd, multiLine);
    ed.hwnd = hwnd;
    ed.buffer.SetLimit(kInitialLimit);
    if (cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName))
        ed.buffer.SetText(std::u16string(reinterpret_cast<const char16_t*>(cs->lpszName)));
    Layout(ed);
    return 0;
}

LRESULT OnSetText(Edit& ed, LPCWSTR text)
{
    ed.buffer.SetText(text != nullptr ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string());
    ed.modified = false;
    ed.firstLine = 0;
    ed.xOffset = 0;
    Layout(ed);
    InvalidateRect(ed.hwnd, nullptr, TRUE);
    if (!IsMultiLine(ed)) {
        HWND hwnd = ed.hwnd;
        Notify(ed, EN_UPDATE);
        if (Edits().Find(hwnd) == &ed)
            Notify(ed, EN_CHANGE);
    }
    return TRUE;
}

LRESULT OnGetText(const Edit& ed, WPARAM size, LPWSTR buffer)
{
    if (buffer == nullptr || size == 0)
        return 0;
    size_t count = std::min(static_cast<size_t>(size) - 1, ed.buffer.Text().size());
    std::memcpy(buffer, ed.buffer.Text().data(), count * sizeof(WCHAR));
    buffer[count] = 0;
    return static_cast<LRESULT>(count);
}

LRESULT OnGetSel(const Edit& ed, DWORD* start, DWORD* end)
{
    int s = ed.buffer.SelectionStart();
    int e = ed.buffer.SelectionEnd();
    if (start)
        *start = static_cast<DWORD>(s);
    if (end)
        *end = static_cast<DWORD>(e);
    if (s > 0xFFFF || e > 0xFFFF)
        return -1;
    return MAKELONG(s, e);
}

LRESULT OnSetSel(Edit& ed, WPARAM start, LPARAM end)
{
    ed.buffer.Select(static_cast<int>(static_cast<intptr_t>(start)), static_cast<int>(end));
    InvalidateRect(ed.hwnd, nullptr, TRUE);
    return 0;
}

LRESULT OnReplaceSel(Edit& ed, LPCWSTR text)
{
    std::u16string insert = text != nullptr ? std::u16string(reinterpret_cast<const char16_t*>(text)) : u"";
    AfterUserChange(ed, ed.buffer.ReplaceSelection(std::move(insert), true));
    return 0;
}

LRESULT OnLimitText(Edit& ed, WPARAM limit)
{
    int max = IsMultiLine(ed) ? kMultiLineMax : kSingleLineMax;
    int value = static_cast<int>(std::min<WPARAM>(limit, static_cast<WPARAM>(max)));
    if (limit == 0)
        value = max;
    ed.buffer.SetLimit(value);
    return 0;
}

LRESULT OnLineIndex(const Edit& ed, WPARAM line)
{
    int index = static_cast<int>(static_cast<intptr_t>(line));
    if (index == -1)
        index = LineOf(ed, ed.buffer.Caret());
    if (index < 0 || index >= static_cast<int>(ed.lines.size()))
        return -1;
    return ed.lines[static_cast<size_t>(index)].start;
}

LRESULT OnLineFromChar(const Edit& ed, WPARAM ch)
{
    int position = static_cast<int>(static_cast<intptr_t>(ch));
    if (position == -1)
        position = ed.buffer.HasSelection() ? ed.buffer.SelectionStart() : ed.buffer.Caret();
    return LineOf(ed, std::clamp(position, 0, ed.buffer.Length()));
}

LRESULT OnLineLength(const Edit& ed, WPARAM ch)
{
    int position = static_cast<int>(static_cast<intptr_t>(ch));
    if (position == -1)
        position = ed.buffer.Caret();
    if (position < 0 || position > ed.buffer.Length())
        return 0;
    return ed.lines[static_cast<size_t>(LineOf(ed, position))].length;
}

LRESULT OnGetLine(const Edit& ed, WPARAM line, LPWSTR buffer)
{
    int index = static_cast<int>(line);
    if (buffer == nullptr || index < 0 || index >= static_cast<int>(ed.lines.size()))
        return 0;
    WORD room;
    std::memcpy(&room, buffer, sizeof(room));
    const Line& l = ed.lines[static_cast<size_t>(index)];
    size_t count = std::min<size_t>(room, static_cast<size_t>(l.length));
    std::memcpy(buffer, ed.buffer.Text().data() + l.start, count * sizeof(WCHAR));
    return static_cast<LRESULT>(count);
}

LRESULT OnPosFromChar(Edit& ed, WPARAM ch)
{
    int position = static_cast<int>(ch);
    if (position < 0 || position > ed.buffer.Length())
        return -1;
    MeasureDC dc(ed);
    POINT pt = PositionOf(ed, dc.Get(), position);
    return MAKELONG(pt.x, pt.y);
}

LRESULT OnCharFromPos(Edit& ed, LPARAM pos)
{
    MeasureDC dc(ed);
    RECT rc = FormatRect(ed);
    int line = ed.firstLine + (GET_Y_LPARAM(pos) - rc.top) / ed.lineHeight;
    line = std::clamp<int>(line, 0, static_cast<int>(ed.lines.size()) - 1);
    int position = PositionFromX(ed, dc.Get(), line, GET_X_LPARAM(pos));
    return MAKELONG(position, line);
}

void OnLButtonDown(Edit& ed, LPARAM pos)
{
    HWND hwnd = ed.hwnd;
    if (GetFocus() != hwnd)
        SetFocus(hwnd);
    Edit* still = Edits().Find(hwnd);
    if (still == nullptr)
        return;
    LRESULT hit = OnCharFromPos(*still, pos);
    still->buffer.MoveCaret(LOWORD(hit), (GetKeyState(VK_SHIFT) & 0x8000) != 0);
    Refresh(*still);
}

void OnFocus(Edit& ed, bool gained)
{
    ed.focused = gained;
    InvalidateRect(ed.hwnd, nullptr, TRUE);
    Notify(ed, gained ? EN_SETFOCUS : EN_KILLFOCUS);
}

void OnSize(Edit& ed)
{
    Layout(ed);
    ed.firstLine = std::min<int>(ed.firstLine, static_cast<int>(ed.lines.size()) - 1);
    Refresh(ed);
}

LRESULT OnSetFont(Edit& ed, HFONT font, BOOL redraw)
{
    ed.font = font;
    Layout(ed);
    ScrollCaretIntoView(ed);
    if (redraw)
        InvalidateRect(ed.hwnd, nullptr, TRUE);
    return 0;
}

LRESULT OnSetReadOnly(Edit& ed, WPARAM readOnly)
{
    DWORD style = Style(ed);
    style = readOnly ? (style | ES_READONLY) : (style & ~static_cast<DWORD>(ES_READONLY));
    SetWindowLongW(ed.hwnd, GWL_STYLE, static_cast<LONG>(style));
    InvalidateRect(ed.hwnd, nullptr, TRUE);
    return TRUE;
}

LRESULT OnLineScroll(Edit& ed, LPARAM lines)
{
    if (!IsMultiLine(ed))
        return FALSE;
    ed.firstLine = std::clamp<int>(ed.firstLine + static_cast<int>(lines), 0, static_cast<int>(ed.lines.size()) - 1);
    InvalidateRect(ed.hwnd, nullptr, TRUE);
    return TRUE;
}

LRESULT OnGetDlgCode(const Edit& ed)
{
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    if (IsMultiLine(ed))
        code |= DLGC_WANTALLKEYS;
    return code;
}

LRESULT Dispatch(Edit& ed, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hwnd = ed.hwnd;
    switch (message) {
    case WM_DESTROY:
        Edits().Remove(hwnd);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_PAINT:
    case WM_PRINTCLIENT:
        FollowInputContext(ed);
        PaintControl(ed.hwnd, reinterpret_cast<HDC>(wParam),
                     [&](HDC hdc, const RECT& area) { Draw(ed, hdc, area); });
        return 0;
    case WM_ERASEBKGND:
        return 1; // painting fills the background with the parent's brush
    case WM_SIZE:
        OnSize(ed);
        return 0;
    case WM_SETTEXT:
        return OnSetText(ed, reinterpret_cast<LPCWSTR>(lParam));
    case WM_GETTEXT:
        return OnGetText(ed, wParam, reinterpret_cast<LPWSTR>(lParam));
    case WM_GETTEXTLENGTH:
        return ed.buffer.Length();
    case WM_SETFONT:
        return OnSetFont(ed, reinterpret_cast<HFONT>(wParam), static_cast<BOOL>(lParam));
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(ed.font);
    case WM_SETFOCUS:
        OnFocus(ed, true);
        return 0;
    case WM_KILLFOCUS:
        OnFocus(ed, false);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(ed, wParam);
        return 0;
    case WM_CHAR:
        OnChar(ed, wParam);
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(ed, lParam);
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETDLGCODE:
        return OnGetDlgCode(ed);
    case WM_IME_STARTCOMPOSITION:
        OnStartComposition(ed);
        return 0;
    case WM_IME_COMPOSITION:
        OnComposition(ed, wParam, lParam);
        return 0;
    case WM_IME_ENDCOMPOSITION:
        OnEndComposition(ed);
        return 0;
    case EM_GETSEL:
        return OnGetSel(ed, reinterpret_cast<DWORD*>(wParam), reinterpret_cast<DWORD*>(lParam));
    case EM_SETSEL:
        return OnSetSel(ed, wParam, lParam);
    case EM_REPLACESEL:
        return OnReplaceSel(ed, reinterpret_cast<LPCWSTR>(lParam));
    case EM_LIMITTEXT:
        return OnLimitText(ed, wParam);
    case EM_GETLIMITTEXT:
        return ed.buffer.Limit();
    case EM_GETLINECOUNT:
        return static_cast<LRESULT>(ed.lines.size());
    case EM_LINEINDEX:
        return OnLineIndex(ed, wParam);
    case EM_LINEFROMCHAR:
        return OnLineFromChar(ed, wParam);
    case EM_LINELENGTH:
        return OnLineLength(ed, wParam);
    case EM_GETLINE:
        return OnGetLine(ed, wParam, reinterpret_cast<LPWSTR>(lParam));
    case EM_GETFIRSTVISIBLELINE:
        return IsMultiLine(ed) ? ed.firstLine : 0;
    case EM_LINESCROLL:
        return OnLineScroll(ed, lParam);
    case EM_SCROLLCARET:
        Refresh(ed);
        return TRUE;
    case EM_GETMODIFY:
        return ed.modified ? TRUE : FALSE;
    case EM_SETMODIFY:
        ed.modified = wParam != 0;
        return 0;
    case EM_SETREADONLY:
        return OnSetReadOnly(ed, wParam);
    case EM_SETPASSWORDCHAR:
        ed.passwordChar = static_cast<WCHAR>(wParam);
        Layout(ed);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case EM_GETPASSWORDCHAR:
        return ed.passwordChar;
    case EM_POSFROMCHAR:
        return OnPosFromChar(ed, wParam);
    case EM_CHARFROMPOS:
        return OnCharFromPos(ed, lParam);
    case EM_GETRECT:
        if (lParam != 0)
            *reinterpret_cast<RECT*>(lParam) = FormatRect(ed);
        return 0;
    case EM_CANUNDO:
    case EM_UNDO:
    case EM_EMPTYUNDOBUFFER:
        return FALSE;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        return OnCreate(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    Edit* ed = Edits().Find(hwnd);
    if (ed == nullptr)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return Dispatch(*ed, message, wParam, lParam);
}

} // namespace

void RegisterEditClass()
{
    WNDCLASSW wc{};
    wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
    wc.lpfnWndProc = EditProc;
    wc.lpszClassName = u"Edit";
    cehost::internal::RegisterSystemClass(wc, 0x81);
    cehost::imm::InputMethod::Instance().SetEndObserver(&OnInputMethodEnded);
}

} // namespace cehost::controls
