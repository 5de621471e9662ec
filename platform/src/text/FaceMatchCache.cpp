#include "text/FaceMatchCache.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include <cehost/sim/registry.h>

namespace cehost::text {

namespace {

constexpr const char* kHeader = "cehost face-match 1";

// What fontconfig reads besides its files: where they are, and the locale and program name it matches with.
constexpr const char* kWatchedEnvironment[] = {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT", "HOME",
                                              "XDG_CONFIG_HOME", "XDG_DATA_HOME", "FC_LANG", "LC_ALL",
                                              "LC_CTYPE", "LANG"};

std::string Environment() {
    std::string out;
    for (const char* name : kWatchedEnvironment) {
        const char* value = getenv(name);
        out += name;
        out += '=';
        out += value ? value : "\x01";
        out += '\x02';
    }
    out += program_invocation_short_name;
    return out;
}

// How a path looks now: modification time and size, or "-" when it is not there.
std::string Look(const std::string& path) {
    struct stat st{};
    if (stat(path.c_str(), &st) != 0) return "-";
    return std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec) + "/" +
           std::to_string(st.st_size);
}

bool Plain(const std::string& s) { return s.find_first_of("\t\n\r") == std::string::npos; }

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(line);
    while (std::getline(in, part, '\t')) parts.push_back(part);
    if (!line.empty() && line.back() == '\t') parts.emplace_back();
    return parts;
}

} // namespace

FaceMatchCache::FaceMatchCache(std::string file) : m_file(std::move(file)) {}

// File layout, one record a line, fields separated by tabs:
//   cehost face-match 1
//   env    <watched environment>
//   watch  <path> <look>
//   answer <key> 0                                      (no face)
//   answer <key> 1 <path> <index> <weight> <italic> <hangul>
// Any watched path that looks different, or another environment, makes the whole file stale.
void FaceMatchCache::Load() {
    m_loaded = true;
    if (m_file.empty()) return;
    std::ifstream in(m_file);
    std::string line;
    if (!std::getline(in, line) || line != kHeader) return;
    std::map<std::string, std::optional<FaceFile>> answers;
    bool envSeen = false;
    while (std::getline(in, line)) {
        std::vector<std::string> f = Split(line);
        if (f.size() == 2 && f[0] == "env") {
            if (f[1] != Environment()) return;
            envSeen = true;
        } else if (f.size() == 3 && f[0] == "watch") {
            if (Look(f[1]) != f[2]) return;
        } else if (f.size() == 3 && f[0] == "answer" && f[2] == "0") {
            answers[f[1]] = std::nullopt;
        } else if (f.size() == 8 && f[0] == "answer" && f[2] == "1") {
            FaceFile face;
            face.path = f[3];
            char* end = nullptr;
            face.index = int(std::strtol(f[4].c_str(), &end, 10));
            face.weight = int(std::strtol(f[5].c_str(), &end, 10));
            face.italic = f[6] == "1";
            face.hasHangul = f[7] == "1";
            answers[f[1]] = face;
        } else {
            return; // damaged: start over
        }
    }
    if (envSeen) m_answers = std::move(answers);
}

const std::optional<FaceFile>* FaceMatchCache::Find(const std::string& key) {
    if (!m_loaded) Load();
    auto it = m_answers.find(key);
    return it == m_answers.end() ? nullptr : &it->second;
}

void FaceMatchCache::Store(const std::string& key, const std::optional<FaceFile>& answer,
                           const std::vector<std::string>& watched) {
    if (!m_loaded) Load();
    if (!Plain(key) || (answer && !Plain(answer->path))) return;
    m_answers[key] = answer;
    if (m_file.empty()) return;
    std::set<std::string> paths;
    for (const std::string& p : watched)
        if (Plain(p)) paths.insert(p);
    for (const auto& [k, a] : m_answers)
        if (a) paths.insert(a->path);
    std::ostringstream out;
    out << kHeader << "\nenv\t" << Environment() << '\n';
    for (const std::string& p : paths) out << "watch\t" << p << '\t' << Look(p) << '\n';
    for (const auto& [k, a] : m_answers) {
        out << "answer\t" << k;
        if (a)
            out << "\t1\t" << a->path << '\t' << a->index << '\t' << a->weight << '\t' << int(a->italic) << '\t'
                << int(a->hasHangul) << '\n';
        else
            out << "\t0\n";
    }
    // Written beside and renamed over, so a program starting at the same time reads a whole file or none.
    size_t slash = m_file.rfind('/');
    if (slash != std::string::npos && slash > 0 && !cehost::sim::MakeOwnerOnlyFolders(m_file.substr(0, slash))) return;
    std::string temporary = m_file + "." + std::to_string(getpid());
    {
        std::ofstream file(temporary, std::ios::trunc);
        file << out.str();
        if (!file.flush()) {
            unlink(temporary.c_str());
            return;
        }
    }
    if (rename(temporary.c_str(), m_file.c_str()) != 0) unlink(temporary.c_str());
}

std::string DefaultFaceMatchCacheFile() {
    if (const char* set = getenv("CEHOST_FACE_CACHE")) return set;
    if (const char* xdg = getenv("XDG_CACHE_HOME"); xdg && *xdg == '/') return std::string(xdg) + "/cehost/face-match";
    if (const char* home = getenv("HOME"); home && *home == '/') return std::string(home) + "/.cache/cehost/face-match";
    return std::string();
}

} // namespace cehost::text
