// The per-user state folder shared by the registry file and the record-database volumes.
#include <cehost/sim/registry.h>

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cehost::sim {

std::string UserStateFolder() {
    if (const char* xdg = getenv("XDG_STATE_HOME"); xdg && *xdg == '/') return xdg;
    if (const char* home = getenv("HOME"); home && *home) return std::string(home) + "/.local/state";
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return std::string(pw->pw_dir) + "/.local/state";
    return "/tmp/.local/state";
}

bool MakeOwnerOnlyFolders(const std::string& folder) {
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
    }
}

} // namespace cehost::sim
