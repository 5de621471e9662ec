// cehost-test: runs key scripts against a host application, headless, each in a fresh state folder of its own
// (registry and record database), several at a time, and reports one line per script, a closing count and,
// on request, a JUnit XML report for CI.
//
//   cehost-test --app PATH [--goldens DIR] [--shots DIR] [--junit FILE] [--jobs N] [--time-limit MS]
//   SCRIPT...
//
// Exit code 0 when every script passed, 1 when one failed, 2 for bad usage.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Options {
    std::string app;
    std::string goldens;
    std::string shots = "cehost-test-out";
    std::string junit;
    unsigned jobs = 0;
    std::string timeLimit = "600000";
    std::vector<std::string> scripts;
};

struct Script {
    std::string path;
    std::string name;  // unique among the scripts of this run: its file name without .keys
    std::string shots; // its own screenshot folder
    std::string state; // its fresh state folder, removed after the run
    pid_t pid = 0;
    std::chrono::steady_clock::time_point start;
    double seconds = 0;
    bool done = false;
    bool passed = false;
    std::string failure; // first line that tells why
    std::string output;  // everything the application wrote
};

int Usage(const std::string& why) {
    if (!why.empty()) std::fprintf(stderr, "cehost-test: %s\n", why.c_str());
    std::fprintf(stderr,
                 "usage: cehost-test --app PATH [--goldens DIR] [--shots DIR] [--junit FILE] [--jobs N]\n"
                 "                   [--time-limit MS] SCRIPT...\n");
    return 2;
}

bool ParseArguments(int argc, char** argv, Options& o, std::string* why) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i], value;
        if (arg.rfind("--", 0) != 0) {
            o.scripts.push_back(arg);
            continue;
        }
        if (size_t eq = arg.find('='); eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
        } else if (arg != "--help" && arg != "-h") {
            if (i + 1 >= argc) {
                *why = arg + " needs a value";
                return false;
            }
            value = argv[++i];
        }
        if (arg == "--app") {
            o.app = value;
        } else if (arg == "--goldens") {
            o.goldens = value;
        } else if (arg == "--shots") {
            o.shots = value;
        } else if (arg == "--junit") {
            o.junit = value;
        } else if (arg == "--time-limit") {
            if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos) {
                *why = "--time-limit needs milliseconds, not '" + value + "'";
                return false;
            }
            o.timeLimit = value;
        } else if (arg == "--jobs") {
            char* end = nullptr;
            long n = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end || n < 1 || n > 256) {
                *why = "--jobs needs a number from 1 to 256, not '" + value + "'";
                return false;
            }
            o.jobs = unsigned(n);
        } else {
            *why = "unknown option " + arg;
            return false;
        }
    }
    if (o.app.empty())
        *why = "--app names the application to run";
    else if (o.scripts.empty())
        *why = "no key script to run";
    else if (access(o.app.c_str(), X_OK) != 0)
        *why = "cannot run " + o.app + ": " + std::strerror(errno);
    else if (!o.goldens.empty() && !fs::is_directory(o.goldens))
        *why = "the goldens folder " + o.goldens + " does not exist";
    for (const std::string& s : o.scripts)
        if (why->empty() && access(s.c_str(), R_OK) != 0) *why = "cannot read the key script " + s;
    return why->empty();
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Starts the application on one script: its own state folder, its own screenshot folder, its output in a log.
bool Start(const Options& o, Script& s, std::string* why) {
    std::error_code ec;
    fs::remove_all(s.shots, ec);
    fs::create_directories(s.shots, ec);
    if (ec) {
        *why = "cannot make " + s.shots + ": " + ec.message();
        return false;
    }
    std::string temp = (fs::temp_directory_path(ec) / "cehost-test.XXXXXX").string();
    if (!mkdtemp(temp.data())) {
        *why = std::string("cannot make a state folder: ") + std::strerror(errno);
        return false;
    }
    s.state = temp;
    const std::string log = s.state + "/output.log";
    std::vector<std::string> args = {o.app,     "--headless", "--script",     s.path,
                                     "--shots", s.shots,      "--time-limit", o.timeLimit};
    if (!o.goldens.empty()) args.insert(args.end(), {"--goldens", o.goldens});
    s.start = std::chrono::steady_clock::now();
    s.pid = fork();
    if (s.pid < 0) {
        *why = std::string("cannot start the application: ") + std::strerror(errno);
        return false;
    }
    if (s.pid == 0) {
        setenv("LXEDB_DIR", s.state.c_str(), 1);
        setenv("CEHOST_REGISTRY", (s.state + "/registry.db").c_str(), 1);
        setenv("XDG_STATE_HOME", s.state.c_str(), 1);
        setenv("CEHOST_HEADLESS", "1", 1);
        int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd >= 0) {
            dup2(fd, 1);
            dup2(fd, 2);
            close(fd);
        }
        int devnull = open("/dev/null", O_RDONLY);
        if (devnull >= 0) dup2(devnull, 0);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(o.app.c_str(), argv.data());
        std::fprintf(stderr, "cehost-test: cannot run %s: %s\n", o.app.c_str(), std::strerror(errno));
        _exit(127);
    }
    return true;
}

// The line of the output that says why the script failed: the script's own report (FILE: line N: ...) when
// there is one, else the last thing the application said, else how it ended.
std::string FirstFailure(const Script& s, int status) {
    std::istringstream lines(s.output);
    std::string line, last;
    while (std::getline(lines, line)) {
        if (line.find(": line ") != std::string::npos) return line;
        if (!line.empty()) last = line;
    }
    std::string ending = WIFSIGNALED(status)
                             ? "the application was killed by signal " + std::to_string(WTERMSIG(status))
                             : "exit code " + std::to_string(WEXITSTATUS(status));
    return last.empty() ? ending : last + " (" + ending + ")";
}

void Finish(Script& s, int status) {
    s.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - s.start).count();
    s.output = ReadFile(s.state + "/output.log");
    // The output stays with the screenshots, where a person looking into a failure finds it.
    std::ofstream(s.shots + "/output.log", std::ios::binary) << s.output;
    std::error_code ec;
    fs::remove_all(s.state, ec);
    s.passed = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!s.passed) s.failure = FirstFailure(s, status);
    s.done = true;
}

std::string Xml(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            // XML 1.0 has no place for other control characters.
            if (c < 0x20 && c != '\n' && c != '\t' && c != '\r')
                out += '?';
            else
                out += char(c);
        }
    }
    return out;
}

bool WriteJunit(const std::string& path, const std::vector<Script>& scripts, double seconds) {
    size_t failures = 0;
    for (const Script& s : scripts)
        failures += s.passed ? 0 : 1;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    char time[32];
    std::snprintf(time, sizeof time, "%.3f", seconds);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<testsuites tests=\"" << scripts.size() << "\" failures=\"" << failures << "\" time=\"" << time
        << "\">\n"
        << "  <testsuite name=\"cehost-test\" tests=\"" << scripts.size() << "\" failures=\"" << failures
        << "\" errors=\"0\" time=\"" << time << "\">\n";
    for (const Script& s : scripts) {
        std::snprintf(time, sizeof time, "%.3f", s.seconds);
        out << "    <testcase classname=\"" << Xml(fs::path(s.path).parent_path().string()) << "\" name=\""
            << Xml(s.name) << "\" file=\"" << Xml(s.path) << "\" time=\"" << time << "\"";
        if (s.passed) {
            out << "/>\n";
            continue;
        }
        out << ">\n      <failure message=\"" << Xml(s.failure) << "\">" << Xml(s.output) << "</failure>\n"
            << "    </testcase>\n";
    }
    out << "  </testsuite>\n</testsuites>\n";
    return bool(out.flush());
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    std::string why;
    for (int i = 1; i < argc; ++i)
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            Usage("");
            return 0;
        }
    if (!ParseArguments(argc, argv, o, &why)) return Usage(why);
    if (!o.jobs) o.jobs = std::max(1u, std::thread::hardware_concurrency());

    std::vector<Script> scripts(o.scripts.size());
    std::map<std::string, int> seen;
    for (size_t i = 0; i < scripts.size(); ++i) {
        Script& s = scripts[i];
        s.path = o.scripts[i];
        s.name = fs::path(s.path).stem().string();
        if (int n = seen[s.name]++) s.name += "-" + std::to_string(n + 1);
        s.shots = (fs::path(o.shots) / s.name).string();
    }

    const auto start = std::chrono::steady_clock::now();
    size_t next = 0, running = 0, reported = 0, passed = 0;
    std::map<pid_t, size_t> byPid;
    while (reported < scripts.size()) {
        while (running < o.jobs && next < scripts.size()) {
            Script& s = scripts[next++];
            if (!Start(o, s, &why)) {
                s.done = true;
                s.failure = why;
                continue;
            }
            byPid[s.pid] = next - 1;
            ++running;
        }
        if (running) {
            int status = 0;
            pid_t pid = waitpid(-1, &status, 0);
            if (pid < 0 && errno == EINTR) continue;
            auto it = byPid.find(pid);
            if (it == byPid.end()) continue;
            Finish(scripts[it->second], status);
            byPid.erase(it);
            --running;
        }
        // Lines come out in the order the scripts were given, each as soon as it and those before it are
        // done.
        for (; reported < scripts.size() && scripts[reported].done; ++reported) {
            const Script& s = scripts[reported];
            passed += s.passed;
            std::printf("%-6s %-32s %7.2f s%s%s\n", s.passed ? "passed" : "failed", s.name.c_str(), s.seconds,
                        s.passed ? "" : "  ", s.failure.c_str());
            std::fflush(stdout);
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%zu passed, %zu failed\n", passed, scripts.size() - passed);
    if (!o.junit.empty() && !WriteJunit(o.junit, scripts, seconds)) {
        std::fprintf(stderr, "cehost-test: cannot write the JUnit report %s\n", o.junit.c_str());
        return 2;
    }
    return passed == scripts.size() ? 0 : 1;
}
