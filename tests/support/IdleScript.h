// Scripted input through the idle handler: each step runs when the queue has gone idle, so a modal loop (a
// dialog, a pop-up menu) that waits there is driven from inside.
#pragma once

#include <cehost/sim.h>

#include <functional>
#include <vector>

namespace lxtest {

// Runs each step when the queue has gone idle, one step per idle moment.
class IdleScript {
public:
    explicit IdleScript(std::vector<std::function<void()>> steps) : steps_(std::move(steps)) {
        cehost::sim::SetIdleHandler([this] {
            if (next_ >= steps_.size()) return false;
            steps_[next_++]();
            return true;
        });
    }
    ~IdleScript() { cehost::sim::SetIdleHandler({}); }
    bool Finished() const { return next_ == steps_.size(); }

private:
    std::vector<std::function<void()>> steps_;
    size_t next_ = 0;
};

} // namespace lxtest
