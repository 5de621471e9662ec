// Host extensions of the registry: where its database file lives. By default the file is named by the
// environment variable CEHOST_REGISTRY, else it is registry.db in the per-user state folder
// ($XDG_STATE_HOME/cehost, else ~/.local/state/cehost).
#pragma once
#include <windows.h>

#include <string>

namespace cehost::sim {

// The per-user folder where host programs keep their state: $XDG_STATE_HOME when it is an absolute path,
// else ~/.local/state (the password entry's home when HOME is unset, /tmp as a last resort).
std::string UserStateFolder();

// Creates `folder` and every missing folder above it, each readable by its owner only. False when one of
// them can be neither made nor found.
bool MakeOwnerOnlyFolders(const std::string& folder);

} // namespace cehost::sim

// Uses `path` as the registry file from the next registry call on (NULL returns to the default). Open key
// handles are closed; the previous file is left as it is.
CEHOST_API void WINAPI CehostSetRegistryPath(const char* path);

// The file the registry uses (or will use on its next call). The text stays valid until the path changes.
CEHOST_API const char* WINAPI CehostGetRegistryPath(void);
