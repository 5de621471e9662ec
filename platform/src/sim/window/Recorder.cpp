// The session recorder of the simulator window: what reached the application, written back as a key script
// that replays headless to the same screens.
#include <cehost/sim/window.h>

namespace cehost::sim {

void SessionRecorder::KeyDown(BYTE vk) { m_events.push_back({Event::Kind::Down, vk, 0, {}}); }

void SessionRecorder::KeyUp(BYTE vk) { m_events.push_back({Event::Kind::Up, vk, 0, {}}); }

void SessionRecorder::StylusDown(int x, int y) { m_events.push_back({Event::Kind::StylusDown, 0, 0, {}, x, y}); }

void SessionRecorder::StylusMove(int x, int y) { m_events.push_back({Event::Kind::StylusMove, 0, 0, {}, x, y}); }

void SessionRecorder::StylusUp(int x, int y) { m_events.push_back({Event::Kind::StylusUp, 0, 0, {}, x, y}); }

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

void SessionRecorder::Input(bool keypad) { m_events.push_back({Event::Kind::Input, 0, 0, keypad ? "keypad" : "pc"}); }

std::string SessionRecorder::Script(size_t* strokesLeftOut) const {
    size_t leftOut = 0;
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
        case Event::Kind::Input:
            flushKeys();
            out += "input " + e.name + "\n";
            break;
        case Event::Kind::StylusDown: {
            flushKeys();
            const bool tap = i + 1 < m_events.size() && m_events[i + 1].kind == Event::Kind::StylusUp &&
                             m_events[i + 1].x == e.x && m_events[i + 1].y == e.y;
            if (tap) {
                // The player's `tap` is a down and, on the next turn, the up: what the application saw.
                out += "tap " + std::to_string(e.x) + " " + std::to_string(e.y) + "\n";
                ++i;
                break;
            }
            // A stroke cannot be written; keys typed during it still are, in their place.
            std::string to = "(still down at the end)";
            for (size_t k = i + 1; k < m_events.size(); ++k)
                if (m_events[k].kind == Event::Kind::StylusUp) {
                    to = "to " + std::to_string(m_events[k].x) + "," + std::to_string(m_events[k].y);
                    break;
                }
            out += "# left out: a stylus stroke from " + std::to_string(e.x) + "," + std::to_string(e.y) + " " + to +
                   " (key scripts only tap)\n";
            ++leftOut;
            break;
        }
        case Event::Kind::StylusMove:
        case Event::Kind::StylusUp: break; // the rest of a stroke that was left out
        }
    }
    flushKeys();
    out += "quit\n";
    if (strokesLeftOut) *strokesLeftOut = leftOut;
    return out;
}

} // namespace cehost::sim
