// Command-line options of host applications run in the simulator.
#include <cehost/sim/gdi.h>

#include <cstdlib>

namespace cehost::sim {

bool ParseSimOptions(int argc, const char* const* argv, SimOptions& options, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    bool passThrough = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i] ? argv[i] : "";
        if (passThrough || arg.rfind("--", 0) != 0) {
            options.arguments.push_back(arg);
            continue;
        }
        if (arg == "--") {
            passThrough = true;
            continue;
        }
        std::string name = arg, value;
        bool inlineValue = false;
        if (size_t eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            inlineValue = true;
        }
        auto takeValue = [&]() -> bool {
            if (inlineValue) return true;
            if (i + 1 >= argc) return false;
            value = argv[++i];
            return true;
        };
        if (name == "--headless") {
            if (inlineValue) return fail("--headless takes no value");
            options.headless = true;
        } else if (name == "--screen") {
            if (!takeValue()) return fail("--screen needs WIDTHxHEIGHT");
            char* end = nullptr;
            long w = std::strtol(value.c_str(), &end, 10);
            if (!end || (*end != 'x' && *end != 'X')) return fail("--screen needs WIDTHxHEIGHT, not '" + value + "'");
            char* end2 = nullptr;
            long h = std::strtol(end + 1, &end2, 10);
            if (!end2 || *end2 || w < 1 || h < 1 || w > 8192 || h > 8192)
                return fail("--screen needs WIDTHxHEIGHT between 1 and 8192, not '" + value + "'");
            options.screenWidth = int(w);
            options.screenHeight = int(h);
        } else if (name == "--script") {
            if (!takeValue() || value.empty()) return fail("--script needs a file");
            options.script = value;
        } else if (name == "--shots") {
            if (!takeValue() || value.empty()) return fail("--shots needs a folder");
            options.shotsDir = value;
        } else if (name == "--no-strip") {
            if (inlineValue) return fail("--no-strip takes no value");
            options.strip = false;
        } else if (name == "--input") {
            if (!takeValue() || (value != "keypad" && value != "pc"))
                return fail("--input needs keypad or pc, not '" + value + "'");
            options.keypadInput = value == "keypad";
        } else if (name == "--time-limit") {
            if (!takeValue()) return fail("--time-limit needs milliseconds");
            char* end = nullptr;
            long ms = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || !end || *end || ms < 0) return fail("--time-limit needs milliseconds, not '" + value + "'");
            options.timeLimitMs = DWORD(ms);
        } else if (name == "--goldens") {
            if (!takeValue() || value.empty()) return fail("--goldens needs a folder");
            options.goldensDir = value;
        } else {
            return fail("unknown option " + name);
        }
    }
    return true;
}

} // namespace cehost::sim
