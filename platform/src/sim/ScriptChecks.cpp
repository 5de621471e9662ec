// `expect` and `dump` in key scripts:
//
//   expect text "TEXT"                   TEXT lies within one run of visible text
//   expect no text "TEXT"                ... in none
//   expect title "TEXT"                  the foreground window's text is TEXT
//   expect focus WHAT                    the focused window's class name, decimal identifier or text is WHAT
//   expect screenshot NAME [tolerance N] the screen equals NAME.png in the goldens folder, but for N pixels
//   dump [NAME]                          NAME.json (dump-001.json, ...) in the screenshot folder
//
// Texts are UTF-8 in double quotes, with \" and \\ inside. The visible text is the record GDI keeps of what
// text calls drew and nothing covered since (cehost::sim::VisibleText).
#include "sim/ScriptChecks.h"

#include "crt/codepage.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace cehost::sim {

namespace {

struct Token {
    std::string text;
    bool quoted = false;
};

// Splits the arguments into words and quoted texts; a word starting with '#' ends the line.
bool Tokenize(const std::string& rest, std::vector<Token>& tokens, std::string* why) {
    size_t i = 0;
    while (i < rest.size()) {
        if (std::isspace(static_cast<unsigned char>(rest[i]))) {
            ++i;
            continue;
        }
        Token token;
        if (rest[i] == '"') {
            token.quoted = true;
            bool closed = false;
            for (++i; i < rest.size(); ++i) {
                if (rest[i] == '"') {
                    closed = true;
                    ++i;
                    break;
                }
                if (rest[i] == '\\' && i + 1 < rest.size() && (rest[i + 1] == '"' || rest[i + 1] == '\\'))
                    ++i;
                token.text += rest[i];
            }
            if (!closed) {
                *why = "text without closing quote";
                return false;
            }
        } else {
            if (rest[i] == '#') break;
            while (i < rest.size() && !std::isspace(static_cast<unsigned char>(rest[i])))
                token.text += rest[i++];
        }
        tokens.push_back(std::move(token));
    }
    return true;
}

std::string Upper(std::string s) {
    for (char& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::u16string Wide(const std::string& utf8) {
    std::u16string out(utf8.size(), u'\0');
    crt::Conversion c =
        crt::DecodeToWide(crt::CodePage::Utf8, utf8.data(), utf8.size(), out.data(), out.size(), true);
    out.resize(c.length);
    return out;
}

bool ValidUtf8(const std::string& s) {
    return !crt::DecodeToWide(crt::CodePage::Utf8, s.data(), s.size(), nullptr, 0, true).invalid;
}

std::string Narrow(const std::u16string& s) {
    return crt::WideToUtf8String(s.data(), s.size());
}

std::string Quote(const std::string& s) {
    return "\"" + s + "\"";
}

// A plain file name with `suffix` added unless it is there; empty when the name could leave the folder.
std::string PlainName(const std::string& name, const std::string& suffix) {
    if (name.empty() || name.find('/') != std::string::npos || name.find("..") != std::string::npos)
        return "";
    if (name.size() >= suffix.size() && Upper(name.substr(name.size() - suffix.size())) == Upper(suffix))
        return name;
    return name + suffix;
}

// Class names compare as Windows compares them: without regard to the case of ASCII letters.
bool SameIgnoringAsciiCase(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return false;
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

std::u16string WindowText(HWND hwnd) {
    WCHAR text[1024] = {};
    int n = GetWindowTextW(hwnd, text, 1024);
    return std::u16string(text, text + (n > 0 ? n : 0));
}

std::u16string ClassName(HWND hwnd) {
    WCHAR name[256] = {};
    int n = GetClassNameW(hwnd, name, 256);
    return std::u16string(name, name + (n > 0 ? n : 0));
}

// ---- JSON -------------------------------------------------------------------------------------------------

std::string JsonString(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            out += buffer;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

std::string JsonRect(const RECT& r) {
    return "[" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) +
           ", " + std::to_string(r.bottom) + "]";
}

std::string HandleNumber(HWND hwnd) {
    return std::to_string(reinterpret_cast<uintptr_t>(hwnd));
}

void JsonWindow(HWND hwnd, HWND focus, const std::string& indent, std::string& out) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    char style[16];
    std::snprintf(style, sizeof style, "0x%08lx",
                  static_cast<unsigned long>(GetWindowLongW(hwnd, GWL_STYLE)));
    out += indent + "{\"handle\": " + HandleNumber(hwnd) +
           ", \"class\": " + JsonString(Narrow(ClassName(hwnd))) +
           ", \"id\": " + std::to_string(GetDlgCtrlID(hwnd)) +
           ", \"text\": " + JsonString(Narrow(WindowText(hwnd))) + ", \"rect\": " + JsonRect(rect) +
           ", \"style\": \"" + style + "\", \"visible\": " + (IsWindowVisible(hwnd) ? "true" : "false") +
           ", \"enabled\": " + (IsWindowEnabled(hwnd) ? "true" : "false") +
           ", \"focus\": " + (hwnd == focus ? "true" : "false") + ", \"children\": [";
    HWND child = GetWindow(hwnd, GW_CHILD);
    if (child) out += "\n";
    for (; child; child = GetWindow(child, GW_HWNDNEXT)) {
        JsonWindow(child, focus, indent + "  ", out);
        out += GetWindow(child, GW_HWNDNEXT) ? ",\n" : "\n" + indent;
    }
    out += "]}";
}

} // namespace

bool ParseCheckStep(const std::string& verb, const std::string& rest, ScriptStep& step, std::string* why) {
    std::vector<Token> tokens;
    if (!Tokenize(rest, tokens, why)) return false;
    auto fail = [&](const std::string& message) {
        *why = message;
        return false;
    };
    auto extra = [&](size_t from) {
        return from < tokens.size() ? fail("unexpected '" + tokens[from].text + "' at the end of the line")
                                    : true;
    };
    if (verb == "DUMP") {
        step.kind = ScriptStep::Kind::Dump;
        if (tokens.empty()) return true;
        step.name = PlainName(tokens[0].text, ".json");
        if (step.name.empty()) return fail("a dump name is a plain file name");
        return extra(1);
    }
    step.kind = ScriptStep::Kind::Expect;
    const std::string what = tokens.empty() || tokens[0].quoted ? "" : Upper(tokens[0].text);
    size_t at = 1;
    auto quotedText = [&](const std::string& form, bool mayBeEmpty) {
        if (at >= tokens.size() || !tokens[at].quoted) return fail(form + " needs a text in double quotes");
        if (!mayBeEmpty && tokens[at].text.empty()) return fail(form + " needs a text that is not empty");
        if (!ValidUtf8(tokens[at].text)) return fail(form + ": the text is not valid UTF-8");
        step.text = tokens[at++].text;
        return extra(at);
    };
    if (what == "TEXT") {
        step.check = ScriptStep::Check::Text;
        return quotedText("expect text", false);
    }
    if (what == "NO") {
        if (tokens.size() < 2 || Upper(tokens[1].text) != "TEXT" || tokens[1].quoted)
            return fail("expect no takes text \"TEXT\"");
        step.check = ScriptStep::Check::NoText;
        at = 2;
        return quotedText("expect no text", false);
    }
    if (what == "TITLE") {
        step.check = ScriptStep::Check::Title;
        return quotedText("expect title", true);
    }
    if (what == "FOCUS") {
        step.check = ScriptStep::Check::Focus;
        if (tokens.size() < 2) return fail("expect focus needs a class name, an identifier or a text");
        if (!ValidUtf8(tokens[1].text)) return fail("expect focus: the text is not valid UTF-8");
        step.text = tokens[1].text;
        return extra(2);
    }
    if (what == "SCREENSHOT") {
        step.check = ScriptStep::Check::Screenshot;
        if (tokens.size() < 2) return fail("expect screenshot needs a name");
        std::string name = PlainName(tokens[1].text, ".png");
        if (name.empty()) return fail("a screenshot name is a plain file name");
        step.name = name.substr(0, name.size() - 4);
        if (tokens.size() == 2) return true;
        if (Upper(tokens[2].text) != "TOLERANCE" || tokens[2].quoted)
            return fail("unexpected '" + tokens[2].text + "' after the screenshot name (tolerance N?)");
        if (tokens.size() < 4) return fail("tolerance needs a number of pixels");
        const std::string& n = tokens[3].text;
        char* end = nullptr;
        long value = std::strtol(n.c_str(), &end, 10);
        if (n.empty() || !std::isdigit(static_cast<unsigned char>(n[0])) || *end)
            return fail("tolerance needs a number of pixels, not '" + n + "'");
        step.tolerance = value;
        return extra(4);
    }
    return fail("expect takes text, no text, title, focus or screenshot");
}

std::string ScreenJson() {
    const SIZE screen = GetScreenSize();
    const HWND focus = GetFocus();
    std::string out = "{\n  \"screen\": {\"width\": " + std::to_string(screen.cx) +
                      ", \"height\": " + std::to_string(screen.cy) +
                      "},\n  \"foreground\": " + HandleNumber(GetForegroundWindow()) +
                      ",\n  \"focus\": " + HandleNumber(focus) + ",\n  \"windows\": [";
    HWND top = GetWindow(GetDesktopWindow(), GW_CHILD);
    if (top) out += "\n";
    for (; top; top = GetWindow(top, GW_HWNDNEXT)) {
        JsonWindow(top, focus, "    ", out);
        out += GetWindow(top, GW_HWNDNEXT) ? ",\n" : "\n  ";
    }
    out += "],\n  \"text\": [";
    const std::vector<TextRun> runs = VisibleText();
    for (size_t i = 0; i < runs.size(); ++i) {
        out += i ? ",\n" : "\n";
        out += "    {\"text\": " + JsonString(Narrow(runs[i].text)) +
               ", \"rect\": " + JsonRect(runs[i].rect) + ", \"window\": " + HandleNumber(runs[i].hwnd) + "}";
    }
    out += runs.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

ScriptChecks::ScriptChecks(std::string shotsDir, std::string goldensDir)
    : m_shotsDir(std::move(shotsDir)), m_goldensDir(std::move(goldensDir)) {}

std::string ScriptChecks::Shot(const std::string& file) const {
    return (std::filesystem::path(m_shotsDir) / file).string();
}

bool ScriptChecks::Expect(const ScriptStep& step, std::string* failure) {
    using Check = ScriptStep::Check;
    const std::u16string wanted = Wide(step.text);
    switch (step.check) {
    case Check::Text:
    case Check::NoText: {
        const std::vector<TextRun> runs = VisibleText();
        const TextRun* found = nullptr;
        for (const TextRun& run : runs)
            if (run.text.find(wanted) != std::u16string::npos) {
                found = &run;
                break;
            }
        if (step.check == Check::NoText) {
            if (!found) return true;
            *failure = "expected no text " + Quote(step.text) + " on the screen; it shows in " +
                       Quote(Narrow(found->text));
            return false;
        }
        if (found) return true;
        std::string visible;
        for (const TextRun& run : runs)
            visible += (visible.empty() ? "" : ", ") + Quote(Narrow(run.text));
        *failure = "expected text " + Quote(step.text) +
                   " on the screen; visible: " + (visible.empty() ? "no text" : visible);
        return false;
    }
    case Check::Title: {
        const HWND foreground = GetForegroundWindow();
        if (!foreground) {
            *failure = "expected title " + Quote(step.text) + "; no window is in the foreground";
            return false;
        }
        const std::u16string title = WindowText(foreground);
        if (title == wanted) return true;
        *failure = "expected title " + Quote(step.text) + "; the title is " + Quote(Narrow(title));
        return false;
    }
    case Check::Focus: {
        const HWND focus = GetFocus();
        if (!focus) {
            *failure = "expected focus " + step.text + "; no window has the focus";
            return false;
        }
        const std::u16string className = ClassName(focus), text = WindowText(focus);
        const int id = GetDlgCtrlID(focus);
        if (SameIgnoringAsciiCase(className, wanted) || text == wanted || step.text == std::to_string(id))
            return true;
        *failure = "expected focus " + step.text + "; the focus is on class " + Quote(Narrow(className)) +
                   ", id " + std::to_string(id) + ", text " + Quote(Narrow(text));
        return false;
    }
    case Check::Screenshot:
        return ExpectScreenshot(step, failure);
    }
    return true;
}

bool ScriptChecks::ExpectScreenshot(const ScriptStep& step, std::string* failure) {
    const std::string golden = (std::filesystem::path(m_goldensDir) / (step.name + ".png")).string();
    const std::string actual = Shot(step.name + ".actual.png"), diff = Shot(step.name + ".diff.png");
    const SIZE size = GetScreenSize();
    const uint32_t* screen = ScreenPixels();
    auto saveActual = [&] {
        std::string error;
        return SaveScreenshot(actual, &error) ? actual
                                              : "(" + actual + " could not be written: " + error + ")";
    };
    if (!std::filesystem::exists(golden)) {
        *failure = "expected screenshot " + step.name + "; there is no golden " + golden +
                   "; the screen is in " + saveActual();
        return false;
    }
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    std::string error;
    if (!ReadPng(golden, &width, &height, &pixels, &error)) {
        *failure = "expected screenshot " + step.name + "; " + error + "; the screen is in " + saveActual();
        return false;
    }
    if (width != size.cx || height != size.cy) {
        *failure = "expected screenshot " + step.name + "; the screen is " + std::to_string(size.cx) + "x" +
                   std::to_string(size.cy) + ", the golden " + std::to_string(width) + "x" +
                   std::to_string(height) + "; the screen is in " + saveActual();
        return false;
    }
    // Differing pixels red on a dimmed copy of the screen, so a person sees where they lie.
    std::vector<uint32_t> marked(pixels.size());
    long differing = 0;
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t s = screen[i];
        if (((s ^ pixels[i]) & 0xFFFFFFu) != 0) {
            ++differing;
            marked[i] = 0xFFFF0000u;
        } else {
            const uint32_t r = (s >> 16 & 0xFF) / 3 + 170, g = (s >> 8 & 0xFF) / 3 + 170,
                           b = (s & 0xFF) / 3 + 170;
            marked[i] = 0xFF000000u | r << 16 | g << 8 | b;
        }
    }
    if (differing <= step.tolerance) {
        // Leftovers of an earlier failing run would only mislead.
        std::error_code ec;
        std::filesystem::remove(actual, ec);
        std::filesystem::remove(diff, ec);
        return true;
    }
    const std::string actualPath = saveActual();
    std::string diffPath = diff;
    if (!SavePixelsPng(diff, width, height, marked.data(), &error))
        diffPath = "(" + diff + ": " + error + ")";
    *failure = "expected screenshot " + step.name + "; " + std::to_string(differing) +
               " pixels differ from " + golden + " (at most " + std::to_string(step.tolerance) +
               " may); see " + diffPath + " and " + actualPath;
    return false;
}

bool ScriptChecks::Dump(const ScriptStep& step, std::string* error) {
    std::string name = step.name;
    if (name.empty()) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "dump-%03d.json", ++m_dumps);
        name = buffer;
    }
    const std::string path = Shot(name);
    const std::string temp = path + ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << ScreenJson();
        if (!out.flush()) {
            *error = "cannot write " + path;
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        *error = "cannot write " + path;
        return false;
    }
    return true;
}

void ScriptChecks::SaveFailure(int line) {
    const std::string base = "failure-" + std::to_string(line);
    SaveScreenshot(Shot(base + ".png"));
    ScriptStep step;
    step.name = base + ".json";
    std::string ignored;
    Dump(step, &ignored);
}

} // namespace cehost::sim
