// Leak checking for the window tests, when they are built with the address sanitizer. SDL's video drivers load
// system libraries (D-Bus, EGL, X extensions) and unload them again at shutdown; what those libraries keep for
// the life of the process is then reported as leaks from modules that no longer exist, which nothing here can
// free or even name. Memory errors are still caught here, and leaks in the simulator's headless code by the
// other test programs.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }
