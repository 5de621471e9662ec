// main() of host applications: everything happens in cehost::sim::RunApplication, which calls the
// application's WinMain. Kept alone in its object file so that nothing else pulls it in.
#include <cehost/sim/gdi.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

int main(int argc, char** argv) { return cehost::sim::RunApplication(argc, argv, &WinMain); }
