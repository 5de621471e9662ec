// Key scripts and key-map files are typed by people, so any text must give either steps or an error that
// names a line; a key map that refuses a file must stay as it was.
#include <cehost/sim.h>
#include <cehost/sim/window.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzFail.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    std::vector<cehost::sim::ScriptStep> steps;
    std::string error;
    if (cehost::sim::ParseKeyScript(text, steps, &error)) {
        for (const cehost::sim::ScriptStep& step : steps)
            if (step.line < 1) Fail("a script step without its line");
    } else if (error.find("line ") == std::string::npos) {
        Fail("a refused key script without the line at fault");
    }

    cehost::sim::KeyMap map = cehost::sim::KeyMap::Default();
    const size_t before = map.Size();
    error.clear();
    if (!map.Parse(text, &error)) {
        if (error.empty()) Fail("a refused key map without a reason");
        if (map.Size() != before) Fail("a refused key map changed the bindings");
    }
    return 0;
}
