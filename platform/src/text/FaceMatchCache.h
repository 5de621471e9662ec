// Face matching answers kept across runs. Asking fontconfig for a face makes it read and parse its whole XML
// configuration first, which costs more than everything else a host program does before its first frame; the
// answers only change when that configuration or the installed fonts change. So each answer is written to a
// small file together with the modification times and sizes of every configuration file and font folder that
// fontconfig read (and the environment that points it at them); a later run whose watched paths all still look
// the same takes the answers from the file without starting fontconfig at all.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace cehost::text {

struct FaceFile {
    std::string path;
    int index = 0;
    int weight = 80; // fontconfig weight of the file (regular)
    bool italic = false;
    bool hasHangul = false;
};

class FaceMatchCache {
public:
    // `file` empty: nothing is read or written, every lookup misses.
    explicit FaceMatchCache(std::string file);

    // The remembered answer (a face, or none) for `key`; nullptr when it is not known or the file is stale.
    const std::optional<FaceFile>* Find(const std::string& key);

    // Remembers `answer` and rewrites the file, watching `watched` (configuration files, font folders, face
    // files) from now on. Failing to write only costs the next run its start-up time.
    void Store(const std::string& key, const std::optional<FaceFile>& answer, const std::vector<std::string>& watched);

private:
    void Load();
    std::string m_file;
    bool m_loaded = false;
    std::map<std::string, std::optional<FaceFile>> m_answers;
};

// $XDG_CACHE_HOME/cehost/face-match (or ~/.cache/...); CEHOST_FACE_CACHE overrides it, and an empty value
// turns the file off.
std::string DefaultFaceMatchCacheFile();

} // namespace cehost::text
