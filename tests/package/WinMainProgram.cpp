// A host application in one file, compiled with `pkg-config --cflags --libs lxlibrary-main`: the simulator's
// main() from the static library runs this WinMain, headless, with the key script it is given.
#include <windows.h>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int nCmdShow) {
    HWND label = CreateWindowW(u"static", u"pkg-config", WS_VISIBLE | SS_CENTER, 0, 0, 240, 320, nullptr, nullptr,
                               hInstance, nullptr);
    if (!label) return 2;
    ShowWindow(label, nCmdShow);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
    return int(msg.wParam);
}
