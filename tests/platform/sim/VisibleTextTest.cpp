// The record of visible text: what covers a run and what leaves it, text that arrives with a blit, windows
// that take their text with them; and the parsing of key-script lines, `expect` and `dump` above all.
#include "GdiTestSupport.h"

#include <functional>
#include <tuple>

namespace {

// Where the runs showing `text` start, and in which window.
std::vector<std::tuple<LONG, LONG, HWND>> Runs(const std::u16string& text) {
    std::vector<std::tuple<LONG, LONG, HWND>> found;
    for (const auto& run : cehost::sim::VisibleText())
        if (run.text == text) found.emplace_back(run.rect.left, run.rect.top, run.hwnd);
    return found;
}

// A visible full-screen window, painted, with "Hello world" drawn through its DC at (10, 10) - (150, 30).
struct Screen {
    HWND hwnd = nullptr;
    HDC dc = nullptr;
    RECT text{10, 10, 150, 30};
    RECT shown{}; // where the run lies

    Screen() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.lpszClassName = u"VisibleTextTest";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        RegisterClassW(&wc);
        hwnd = CreateWindowExW(0, u"VisibleTextTest", u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr,
                               nullptr, nullptr, nullptr);
        cehost::sim::RunUntilIdle();
        dc = GetDC(hwnd);
        DrawTextW(dc, u"Hello world", -1, &text, DT_LEFT | DT_SINGLELINE);
        for (const auto& run : cehost::sim::VisibleText())
            if (run.text == u"Hello world") shown = run.rect;
    }
    ~Screen() {
        ReleaseDC(hwnd, dc);
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    void Fill(RECT r) { FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))); }
    // Fills the run's whole height between two fractions of its width.
    void FillPart(double from, double to) {
        const LONG w = shown.right - shown.left;
        Fill({shown.left + LONG(from * w), 0, shown.left + LONG(to * w), 40});
    }
};

TEST(VisibleText, WhatCoversARunAndWhatLeavesIt) {
    const auto blank = [](Screen& s) { BitBlt(s.dc, 0, 0, 200, 40, MemoryDc(200, 40), 0, 0, SRCCOPY); };
    const auto frame = [](Screen& s) {
        RECT r{5, 5, 160, 35};
        FrameRect(s.dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    };
    const auto overdraw = [](Screen& s) { DrawTextW(s.dc, u"Goodbye all", -1, &s.text, DT_LEFT | DT_SINGLELINE); };
    const std::tuple<const char*, std::function<void(Screen&)>, bool> cases[] = {
        {"nothing drawn after it", [](Screen&) {}, true},
        {"a fill over it", [](Screen& s) { s.Fill({0, 0, 200, 40}); }, false},
        {"a fill over a third of it", [](Screen& s) { s.FillPart(0, 0.33); }, true},
        {"fills over two thirds, piece by piece", [](Screen& s) { s.FillPart(0, .33), s.FillPart(.33, .67); }, false},
        {"the same third filled twice", [](Screen& s) { s.FillPart(0, 0.33), s.FillPart(0, 0.33); }, true},
        {"a frame around it", frame, true},
        {"an inverting blit (a caret)", [](Screen& s) { PatBlt(s.dc, 0, 0, 200, 40, DSTINVERT); }, true},
        {"a copying blit from a blank bitmap", blank, false},
        {"other text drawn over it", overdraw, false},
        {"a fill elsewhere", [](Screen& s) { s.Fill({0, 100, 240, 200}); }, true},
        {"its window hidden", [](Screen& s) { ShowWindow(s.hwnd, SW_HIDE); }, false},
        {"its window moved", [](Screen& s) { MoveWindow(s.hwnd, 0, 10, 240, 310, FALSE); }, false},
        {"its window destroyed", [](Screen& s) { DestroyWindow(s.hwnd); }, false},
    };
    for (const auto& [what, draw, stays] : cases) {
        Screen s;
        draw(s);
        EXPECT_EQ(stays, !Runs(u"Hello world").empty()) << what;
    }
}

TEST(VisibleText, ARunHoldsTheCharactersThatShowWhereTheyShow) {
    Screen s;
    EXPECT_EQ(Runs(u"Hello world"), (std::vector{std::tuple{s.text.left, s.text.top, s.hwnd}}));
    // Clipped by its rectangle: only the first word shows.
    SIZE hello{};
    GetTextExtentPoint32W(s.dc, u"Hello", 5, &hello);
    RECT narrow{10, 50, 10 + hello.cx + 2, 70};
    DrawTextW(s.dc, u"Hello there", -1, &narrow, DT_LEFT | DT_SINGLELINE);
    EXPECT_FALSE(Runs(u"Hello").empty());
    // Each line of a wrapped text is a run of its own; blank lines none.
    RECT wrapped{10, 100, 230, 200};
    DrawTextW(s.dc, u"first line\r\n\r\nsecond line", -1, &wrapped, DT_LEFT);
    EXPECT_FALSE(Runs(u"first line").empty());
    EXPECT_FALSE(Runs(u"second line").empty());
    // Text drawn off-screen arrives with the blit, at the blit's destination.
    MemoryDc memory(100, 20);
    ExtTextOutW(memory, 0, 0, 0, nullptr, u"Buffered 한글", 11, nullptr);
    BitBlt(s.dc, 50, 250, 100, 20, memory, 0, 0, SRCCOPY);
    EXPECT_EQ(Runs(u"Buffered 한글"), (std::vector{std::tuple{50L, 250L, s.hwnd}}));
    // A blit within the screen that covers its own source (scrolling up) moves the runs it copies.
    BitBlt(s.dc, 10, 230, 200, 40, s.dc, 10, 250, SRCCOPY);
    EXPECT_EQ(Runs(u"Buffered 한글"), (std::vector{std::tuple{50L, 230L, s.hwnd}}));
}

TEST(KeyScriptChecks, LinesAndTheirErrors) {
    using Step = cehost::sim::ScriptStep;
    using K = Step::Kind;
    using C = Step::Check;
    // What a line reads as: its kind, check, name, text, tolerance and input.
    using Read = std::tuple<K, C, std::string, std::string, long, bool>;
    // The notebook's scripts use the plain forms of text, no text, focus and screenshot checks.
    const std::pair<const char*, Read> good[] = {
        {"EXPECT Text \"say \\\"hi\\\" # not a comment\"  # a comment",
         {K::Expect, C::Text, "", "say \"hi\" # not a comment", 0, false}},
        {"expect title \"\"", {K::Expect, C::Title, "", "", 0, false}},
        {"expect focus \"First line\"", {K::Expect, C::Focus, "", "First line", 0, false}},
        {"expect screenshot 01-list.png tolerance 12", {K::Expect, C::Screenshot, "01-list", "", 12, false}},
        {"dump", {K::Dump, C::Text, "", "", 0, false}},
        {"dump tree", {K::Dump, C::Text, "tree.json", "", 0, false}},
        {"input keypad", {K::Input, C::Text, "", "", 0, true}},
        {"INPUT pc # back", {K::Input, C::Text, "", "", 0, false}},
    };
    for (const auto& [line, read] : good) {
        std::vector<Step> steps;
        std::string error;
        ASSERT_TRUE(cehost::sim::ParseKeyScript(line, steps, &error)) << line << ": " << error;
        ASSERT_EQ(1u, steps.size()) << line;
        const Step& step = steps[0];
        EXPECT_EQ(Read(step.kind, step.check, step.name, step.text, step.tolerance, step.keypad), read) << line;
    }
    // Every refusal names the line and what is wrong with it.
    const std::pair<const char*, const char*> bad[] = {
        {"press NOSUCHKEY", "line 2: unknown key 'NOSUCHKEY'"},
        {"jump 3", "line 2: unknown command 'jump'"},
        {"wait -5", "line 2: wait takes milliseconds"},
        {"tap 3", "line 2: tap takes X and Y"},
        {"screenshot ../escape", "line 2: a screenshot name is a plain file name"},
        {"type 한글", "line 2: cannot type '\xED' with keys (only PC keyboard characters)"},
        {"expect text \"open", "line 2: text without closing quote"},
        {"expect text unquoted", "line 2: expect text needs a text in double quotes"},
        {"expect text \"\"", "line 2: expect text needs a text that is not empty"},
        {"expect screenshot a tolerance many", "line 2: tolerance needs a number of pixels, not 'many'"},
        {"expect screenshot a tolerance -1", "line 2: tolerance needs a number of pixels, not '-1'"},
        {"expect screenshot ../a", "line 2: a screenshot name is a plain file name"},
        {"expect colour red", "line 2: expect takes text, no text, title, focus or screenshot"},
        {"expect title \"a\" \"b\"", "line 2: unexpected 'b' at the end of the line"},
        {"dump a/b", "line 2: a dump name is a plain file name"},
        {"input qwerty", "line 2: input takes keypad or pc"},
    };
    for (const auto& [line, message] : bad) {
        std::vector<cehost::sim::ScriptStep> steps;
        std::string error;
        EXPECT_FALSE(cehost::sim::ParseKeyScript(std::string("wait 1\n") + line, steps, &error)) << line;
        EXPECT_EQ(message, error);
        EXPECT_TRUE(steps.empty()) << line;
    }
}

} // namespace
