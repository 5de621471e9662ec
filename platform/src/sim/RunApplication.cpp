// The simulator's run of a host application: options, screen size, the application's WinMain and, headless,
// the key script played from the idle handler of the application's own message loop (the window plays it
// from its own idle turns).
#include "sim/ScriptPlayer.h"
#include "sim/window/SimWindow.h"

#include <cehost/sim.h>
#include <cehost/sim/stats.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace cehost::sim {

namespace {

std::u16string CommandLine(const std::vector<std::string>& arguments) {
    std::string joined;
    for (const std::string& a : arguments) {
        if (!joined.empty()) joined += ' ';
        bool quote = a.empty() || a.find_first_of(" \t\"") != std::string::npos;
        if (!quote) {
            joined += a;
            continue;
        }
        joined += '"';
        for (char c : a) {
            if (c == '"') joined += '\\';
            joined += c;
        }
        joined += '"';
    }
    std::u16string wide;
    for (size_t i = 0; i < joined.size();) {
        unsigned char c = static_cast<unsigned char>(joined[i]);
        size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t cp = len == 1 ? c : c & (0xFF >> (len + 1));
        for (size_t k = 1; k < len && i + k < joined.size(); ++k) cp = cp << 6 | (joined[i + k] & 0x3F);
        i += len;
        if (cp >= 0x10000) {
            wide += char16_t(0xD800 + ((cp - 0x10000) >> 10));
            wide += char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            wide += char16_t(cp);
        }
    }
    return wide;
}

void Usage(const char* program, FILE* out) {
    std::fprintf(out,
                 "usage: %s [--screen WxH] [--shots DIR] [--script FILE] [--goldens DIR] [--time-limit MS]\n"
                 "       [--headless] [--no-strip] [--input keypad|pc] [--zoom N] [--skin keypad|none]\n"
                 "       [--keymap FILE] [--record FILE] [--stats FILE] [--help] [--] [arguments...]\n",
                 program);
}

// What the device has around the application before it starts: the shell's strip and the text input.
void StartDevice(const SimOptions& options) {
    if (options.strip) ShowIndicatorStrip(true);
    SetKeypadInput(options.keypadInput);
}

// --help or -h before "--" asks for the usage; after "--" they belong to the application.
bool AsksForHelp(int argc, const char* const* argv) {
    for (int i = 1; i < argc && argv[i]; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") return false;
        if (arg == "--help" || arg == "-h") return true;
    }
    return false;
}

void OnWatchdog(int) {
    static const char message[] = "cehost: the run took too long in real time and was stopped\n";
    [[maybe_unused]] ssize_t n = write(2, message, sizeof message - 1);
    _exit(3);
}

} // namespace

int RunApplication(int argc, const char* const* argv, WinMainProc winMain) {
    const char* program = argc > 0 && argv[0] ? argv[0] : "app";
    if (AsksForHelp(argc, argv)) {
        Usage(program, stdout);
        return 0;
    }
    // --stats wraps the whole run: it is taken out here and the rest runs as it would without it.
    std::string statsFile, statsError;
    std::vector<std::string> withoutStats;
    if (!ExtractStatsOption(argc, argv, statsFile, withoutStats, &statsError)) {
        std::fprintf(stderr, "%s: %s\n", program, statsError.c_str());
        Usage(program, stderr);
        return 2;
    }
    if (!statsFile.empty()) {
        std::vector<const char*> inner;
        for (const std::string& a : withoutStats) inner.push_back(a.c_str());
        RunStatistics stats;
        int code = RunApplication(int(inner.size()), inner.data(), winMain);
        if (!stats.Write(statsFile, code, &statsError)) {
            std::fprintf(stderr, "%s: %s\n", program, statsError.c_str());
            if (code == 0) code = 2;
        }
        return code;
    }
    SimOptions options;
    WindowOptions window;
    std::vector<std::string> rest;
    std::string error;
    bool parsed = ExtractWindowOptions(argc, argv, window, rest, &error);
    if (parsed) {
        std::vector<const char*> restArgv;
        for (const std::string& a : rest) restArgv.push_back(a.c_str());
        parsed = ParseSimOptions(int(restArgv.size()), restArgv.data(), options, &error);
    }
    if (parsed && options.headless && !window.record.empty()) {
        error = "--record records what is typed in the window; leave out --headless";
        parsed = false;
    }
    if (!parsed) {
        std::fprintf(stderr, "%s: %s\n", program, error.c_str());
        Usage(program, stderr);
        return 2;
    }
    if (!options.headless) {
        std::string why;
        if (!WindowAvailable(&why)) {
            // Headless is what is left, and without a key script a headless run has nothing to play.
            std::fprintf(stderr, "%s: %s, so the run falls back to headless, which needs --headless --script FILE\n",
                         program, why.c_str());
            return 2;
        }
    }
    std::vector<ScriptStep> steps;
    if (!options.script.empty()) {
        std::ifstream in(options.script);
        if (!in) {
            std::fprintf(stderr, "%s: cannot read the key script %s\n", program, options.script.c_str());
            return 2;
        }
        std::stringstream text;
        text << in.rdbuf();
        if (!ParseKeyScript(text.str(), steps, &error)) {
            std::fprintf(stderr, "%s: %s: %s\n", program, options.script.c_str(), error.c_str());
            return 2;
        }
    }
    std::error_code ec;
    // Golden screenshots lie beside the script unless a folder is named; a named folder must be there.
    if (options.goldensDir.empty()) {
        options.goldensDir = std::filesystem::path(options.script).parent_path().string();
        if (options.goldensDir.empty()) options.goldensDir = ".";
    } else if (!std::filesystem::is_directory(options.goldensDir, ec)) {
        std::fprintf(stderr, "%s: the goldens folder %s does not exist\n", program,
                     options.goldensDir.c_str());
        return 2;
    }
    std::filesystem::create_directories(options.shotsDir, ec);
    if (ec) {
        std::fprintf(stderr, "%s: cannot create the screenshot folder %s: %s\n", program, options.shotsDir.c_str(),
                     ec.message().c_str());
        return 2;
    }

    std::u16string commandLine = CommandLine(options.arguments);
    if (!options.headless) return RunInWindow(options, window, std::move(steps), commandLine, winMain, program);

    SetVirtualTime(true);
    SetDisplaySize(options.screenWidth, options.screenHeight);
    StartDevice(options);
    ScriptOutput output;
    ScriptPlayer player(std::move(steps), options, output, ScriptPlayer::AtEnd::Quit);
    SetIdleHandler([&player] { return player.OnIdle(); });
    if (options.timeLimitMs) {
        // Virtual time cannot pass while the application never idles; real time guards that case.
        std::signal(SIGALRM, OnWatchdog);
        alarm(unsigned(options.timeLimitMs / 1000 + 60));
    }

    int result = winMain(GetModuleHandleW(nullptr), nullptr, commandLine.data(), SW_SHOW);

    alarm(0);
    SetIdleHandler(nullptr);
    return player.ExitCode(result);
}

} // namespace cehost::sim
