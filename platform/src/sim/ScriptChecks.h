// The checking half of key scripts: `expect` lines that hold or stop the run, and `dump` lines that write the
// window tree and the visible text as JSON.
#pragma once

#include <cehost/sim.h>

#include <string>

namespace cehost::sim {

// Reads the arguments of `expect` or `dump` (VERB in upper case; REST is the line after the command word)
// into `step`. False with the reason in *why for anything malformed.
bool ParseCheckStep(const std::string& verb, const std::string& rest, ScriptStep& step, std::string* why);

// The window tree (class, identifier, text, rectangle, style, visible, enabled, focus) and every visible run
// of text with its rectangle, as a JSON document.
std::string ScreenJson();

class ScriptChecks {
public:
    ScriptChecks(std::string shotsDir, std::string goldensDir);

    // True when the expectation holds; otherwise false and *failure says what was expected and what was seen
    // (and names the files written for a screenshot that differs).
    bool Expect(const ScriptStep& step, std::string* failure);
    // Writes the dump of a `dump` line; false with the reason when the file cannot be written.
    bool Dump(const ScriptStep& step, std::string* error);
    // What a failed expectation leaves behind: failure-LINE.png and failure-LINE.json in the screenshot
    // folder.
    void SaveFailure(int line);

private:
    bool ExpectScreenshot(const ScriptStep& step, std::string* failure);
    std::string Shot(const std::string& file) const;

    std::string m_shotsDir;
    std::string m_goldensDir;
    int m_dumps = 0;
};

} // namespace cehost::sim
