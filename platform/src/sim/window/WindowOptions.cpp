// The simulator window's command-line options, taken out before the general options are parsed.
#include <cehost/sim/window.h>

#include <cstdlib>

namespace cehost::sim {

bool ExtractWindowOptions(int argc, const char* const* argv, WindowOptions& options, std::vector<std::string>& rest,
                          std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    rest.clear();
    bool passThrough = false;
    for (int i = 0; i < argc; ++i) {
        std::string arg = argv[i] ? argv[i] : "";
        if (i == 0 || passThrough || arg.rfind("--", 0) != 0) {
            rest.push_back(arg);
            continue;
        }
        if (arg == "--") passThrough = true;
        std::string name = arg, value;
        bool inlineValue = false;
        if (size_t eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            inlineValue = true;
        }
        if (name != "--zoom" && name != "--keymap" && name != "--record" && name != "--skin") {
            rest.push_back(arg);
            continue;
        }
        if (!inlineValue) {
            if (i + 1 >= argc || !argv[i + 1]) return fail(name + " needs a value");
            value = argv[++i];
        }
        if (name == "--zoom") {
            char* end = nullptr;
            long zoom = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || !end || *end || zoom < 1 || zoom > 16)
                return fail("--zoom needs a whole number from 1 to 16, not '" + value + "'");
            options.zoom = int(zoom);
        } else if (name == "--skin") {
            if (value != "keypad" && value != "none")
                return fail("--skin needs keypad or none, not '" + value + "'");
            options.keypadSkin = value == "keypad";
        } else if (value.empty()) {
            return fail(name + " needs a file");
        } else if (name == "--keymap") {
            options.keymap = value;
        } else {
            options.record = value;
        }
    }
    return true;
}

} // namespace cehost::sim
