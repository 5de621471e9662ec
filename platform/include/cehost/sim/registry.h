// Host extensions of the registry: where its database file lives. By default the file is named by the
// environment variable CEHOST_REGISTRY, else it is registry.db in the per-user state folder
// ($XDG_STATE_HOME/cehost, else ~/.local/state/cehost).
#pragma once
#include <windows.h>

// Uses `path` as the registry file from the next registry call on (NULL returns to the default). Open key
// handles are closed; the previous file is left as it is.
CEHOST_API void WINAPI CehostSetRegistryPath(const char* path);

// The file the registry uses (or will use on its next call). The text stays valid until the path changes.
CEHOST_API const char* WINAPI CehostGetRegistryPath(void);
