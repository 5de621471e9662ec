// Key sequences into a byte-limited LxEditCtrl with the Korean input method switching on and off: after every
// key the text's ANSI byte length stays within the limit (once a line break is in, its length in characters:
// see below), and no composition is drawn that neither the text
// nor the input context holds (with nothing selected and nothing composing, no highlight is on the edit).
#include "FuzzInput.h"

#include <cehost/sim.h>
#include <cehost/sim/imm.h>
#include <imm.h>
#include <windows.h>

#include "LxEditCtrl.h"

#include <cstdio>
#include <cstdlib>

#include "FuzzFail.h"

namespace {

class Edit : public LxEditCtrl {
public:
    HWND EditWindow() const { return m_hEditWnd; }
};

HWND Host() {
    static HWND host = [] {
        cehost::sim::SetVirtualTime(true);
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = u"EditFuzzHost";
        wc.hbrBackground = HBRUSH(GetStockObject(BLACK_BRUSH));
        RegisterClassW(&wc);
        return CreateWindowExW(0, u"EditFuzzHost", u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                               wc.hInstance, nullptr);
    }();
    return host;
}

// Screen pixels of the system highlight inside the window.
long HighlightPixels(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    const COLORREF c = GetSysColor(COLOR_HIGHLIGHT);
    const uint32_t wanted = 0xFF000000u | uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
    const SIZE screen = cehost::sim::GetScreenSize();
    const uint32_t* pixels = cehost::sim::ScreenPixels();
    long found = 0;
    for (int y = std::max(0L, r.top); y < std::min(LONG(screen.cy), r.bottom); ++y)
        for (int x = std::max(0L, r.left); x < std::min(LONG(screen.cx), r.right); ++x)
            found += (pixels[size_t(y) * screen.cx + x] | 0xFF000000u) == wanted;
    return found;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const BYTE kKeys[] = {'A', 'E', 'G', 'K', 'R', 'S', 'T', 'O', 'Q', 'Z', '1', '0', VK_SPACE, VK_BACK,
                                 VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_RETURN, VK_HANGUL, VK_HANGUL, VK_SHIFT};
    FuzzInput in(data, size);
    HWND host = Host();
    // Each input starts on a freshly erased host, so that no pixel of an earlier input's edit is counted.
    InvalidateRect(host, nullptr, TRUE);
    UpdateWindow(host);
    Edit edit;
    RECT rect = {10, 40, 230, 40 + in.Between(20, 120)};
    const unsigned long style = in.Byte() < 128 ? ES_MULTILINE : ES_AUTOHSCROLL;
    if (!edit.CreateEdit(host, GetModuleHandleW(nullptr), 7, &rect, style)) Fail("the edit could not be made");
    const unsigned int limit = unsigned(in.Between(1, 24));
    edit.SetLimitText(limit);
    edit.SetFocus();
    cehost::sim::RunUntilIdle();
    HWND hwnd = edit.EditWindow();
    for (int step = 0; step < 80 && !in.Empty(); ++step) {
        const BYTE vk = kKeys[in.Number(sizeof kKeys)];
        if (getenv("LX_FUZZ_TRACE")) std::fprintf(stderr, "key 0x%02X\n", vk);
        keybd_event(vk, 0, 0, 0);
        keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
        cehost::sim::RunUntilIdle();

        WCHAR text[1024] = {};
        edit.GetText(text);
        const int bytes = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr) - 1;
        if (getenv("LX_FUZZ_TRACE")) {
            std::fprintf(stderr, "  sel %u-%u text", edit.GetSelectStart(), edit.GetSelectFinish());
            for (const WCHAR* c = text; *c; ++c) std::fprintf(stderr, " %04X", unsigned(*c));
            std::fprintf(stderr, "\n");
        }
        // A line break is one character to the guard but two bytes (CR LF): typed with one byte left it takes the
        // text past the limit, and from there the guard's count, which stops at the limit and at a whole double-
        // byte character, may let more in. Only the platform's limit in characters holds then.
        const bool lineBreaks = wcschr(text, u'\r') != nullptr;
        if (lineBreaks ? wcslen(text) > limit : bytes > int(limit)) {
            std::fprintf(stderr, "after key %d (0x%02X): %d bytes in a limit of %u:", step, vk, bytes, limit);
            for (const WCHAR* c = text; *c; ++c) std::fprintf(stderr, " %04X", unsigned(*c));
            Fail("\nthe text outgrew the edit's limit");
        }
        HIMC context = ImmGetContext(hwnd);
        const LONG composing = ImmGetCompositionStringW(context, GCS_COMPSTR, nullptr, 0);
        ImmReleaseContext(hwnd, context);
        if (composing == 0 && edit.GetSelectStart() == edit.GetSelectFinish() && HighlightPixels(hwnd) > 0)
            Fail("a composition is drawn that neither the text nor the input context holds");
    }
    HIMC context = ImmGetContext(hwnd);
    ImmSetOpenStatus(context, FALSE);
    ImmReleaseContext(hwnd, context);
    edit.Destroy();
    cehost::sim::RunUntilIdle();
    return 0;
}
