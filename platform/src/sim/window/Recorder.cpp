// The session recorder of the simulator window: what reached the application, written back as a key script
// that replays headless to the same screens.
#include <cehost/sim/window.h>

namespace cehost::sim {

void SessionRecorder::KeyDown(BYTE vk) { m_events.push_back({Event::Kind::Down, vk, 0, {}}); }

void SessionRecorder::KeyUp(BYTE vk) { m_events.push_back({Event::Kind::Up, vk, 0, {}}); }

void SessionRecorder::ClockAdvanced(DWORD milliseconds) {
    if (milliseconds == 0) return;
    // Time that passes in several steps between two inputs is one pause.
    if (!m_events.empty() && m_events.back().kind == Event::Kind::Wait) {
        m_events.back().ms += milliseconds;
        return;
    }
    m_events.push_back({Event::Kind::Wait, 0, milliseconds, {}});
}

void SessionRecorder::Screenshot(const std::string& name) { m_events.push_back({Event::Kind::Shot, 0, 0, name}); }

std::string SessionRecorder::Script() const {
    constexpr size_t kKeysPerLine = 12;
    std::string out = "# Recorded in the simulator window.\n";
    std::vector<std::string> keys; // a run of folded keys waiting for its line
    auto flushKeys = [&] {
        for (size_t i = 0; i < keys.size(); i += kKeysPerLine) {
            out += "key";
            for (size_t k = i; k < keys.size() && k < i + kKeysPerLine; ++k) out += " " + keys[k];
            out += "\n";
        }
        keys.clear();
    };
    for (size_t i = 0; i < m_events.size(); ++i) {
        const Event& e = m_events[i];
        switch (e.kind) {
        case Event::Kind::Down:
            // The player's `key` is a down and, on the next turn, the up: the same thing the application saw.
            if (i + 1 < m_events.size() && m_events[i + 1].kind == Event::Kind::Up && m_events[i + 1].vk == e.vk) {
                keys.push_back(ScriptKeyName(e.vk));
                ++i;
                break;
            }
            flushKeys();
            out += "press " + ScriptKeyName(e.vk) + "\n";
            break;
        case Event::Kind::Up:
            flushKeys();
            out += "release " + ScriptKeyName(e.vk) + "\n";
            break;
        case Event::Kind::Wait:
            flushKeys();
            out += "wait " + std::to_string(e.ms) + "\n";
            break;
        case Event::Kind::Shot:
            flushKeys();
            out += "screenshot " + e.name + "\n";
            break;
        }
    }
    flushKeys();
    out += "quit\n";
    return out;
}

} // namespace cehost::sim
