// The application of the simulator's run tests, headless and in the window. Its screen shows everything that
// happened to it: the selected row (Down), typed text, a bar that a 40 ms timer grows five steps at a time
// after Return, and a mark where the stylus last went down; F1 turns the display. RunApp runs it as the
// simulator's main() would, with the options given.
#pragma once

#include <windows.h>
#include <cehost/sim.h>

#include "FullScreenApp.h"
#include "GoldenImage.h"

#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

// A stylus message the application got: the message, the point and the keys.
using StylusMessage = std::tuple<UINT, int, int, WPARAM>;
struct AppState {
    int row = 0;
    std::u16string text;
    int ticks = 0;
    bool timerRunning = false;
    int winMainCalls = 0;
    std::u16string commandLine;
    std::vector<StylusMessage> stylus;
};
AppState g_app;

void Rotate() {
    DEVMODEW dm{};
    dm.dmSize = sizeof dm;
    dm.dmFields = DM_DISPLAYORIENTATION;
    dm.dmDisplayOrientation = cehost::sim::GetDisplayOrientation() == DMDO_0 ? DMDO_90 : DMDO_0;
    ChangeDisplaySettingsExW(nullptr, &dm, nullptr, 0, nullptr);
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    const auto fill = [hdc](RECT r, COLORREF colour) {
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(hdc, &r, brush);
        DeleteObject(brush);
    };
    fill(client, RGB(255, 255, 255));
    fill({0, g_app.row * 30, client.right, g_app.row * 30 + 30}, RGB(0, 0, 200));
    fill({0, 130, g_app.ticks * 8, 150}, RGB(220, 0, 0));
    for (const auto& [message, x, y, keys] : g_app.stylus)
        if (message == WM_LBUTTONDOWN) fill({x - 3, y - 3, x + 3, y + 3}, RGB(0, 160, 0));
    RECT textRect{4, 160, client.right, 190};
    DrawTextW(hdc, g_app.text.c_str(), -1, &textRect, DT_LEFT | DT_SINGLELINE);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK AppProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_DOWN) g_app.row = (g_app.row + 1) % 4;
        if (wParam == VK_RETURN && !g_app.timerRunning) g_app.timerRunning = SetTimer(hwnd, 1, 40, nullptr) != 0;
        if (wParam == VK_F1) Rotate();
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_CHAR:
        g_app.text += char16_t(wParam);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_TIMER:
        if (++g_app.ticks % 5 == 0) {
            KillTimer(hwnd, 1);
            g_app.timerRunning = false;
        }
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        g_app.stylus.push_back({message, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), wParam});
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_PAINT: Paint(hwnd); return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int WINAPI AppWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int show) {
    ++g_app.winMainCalls;
    g_app.commandLine = commandLine;
    return RunFullScreenApp(instance, u"SimWindowTestApp", AppProc, show);
}

// An empty folder for the files of the running test.
std::filesystem::path TestDir() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const auto dir = golden::OutputDir().parent_path() / (std::string(test->test_suite_name()) + "-" + test->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// A screenshot, its pixels 0x00RRGGBB row by row.
struct Image {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels.empty() ? 0xDEADBEEF : pixels[size_t(y) * width + x]; }
};

Image ReadShot(const std::filesystem::path& path) {
    Image image;
    EXPECT_TRUE(golden::ReadPng(path.string(), image.width, image.height, image.pixels)) << path;
    return image;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

// The test application takes the whole screen, its top rows included: it runs without the shell's strip.
int RunApp(std::vector<std::string> args) {
    args.insert(args.begin(), "--no-strip");
    args.insert(args.begin(), "app");
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    return cehost::sim::RunApplication(int(argv.size()), argv.data(), &AppWinMain);
}

} // namespace
