// A shared library that learns its module handle through its process-attach entry, as a DLL does.
#include <windows.h>

namespace {
HINSTANCE g_module = nullptr;
int g_attachCount = 0;
} // namespace

BOOL APIENTRY DllMain(HANDLE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = static_cast<HINSTANCE>(module);
        ++g_attachCount;
    }
    return TRUE;
}
#ifdef CEHOST_DLL_ENTRY
CEHOST_DLL_ENTRY(DllMain)
#endif

extern "C" HINSTANCE TestModuleHandle() { return g_module; }
extern "C" int TestModuleAttachCount() { return g_attachCount; }
