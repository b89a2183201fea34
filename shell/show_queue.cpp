#include "shell/show_queue.h"

#include <utility>

namespace kvt {

void ShowQueue::Now(std::function<void()> step) {
    Lasting([step = std::move(step)](const Done& done) {
        step();
        done();
    });
}

void ShowQueue::Lasting(LastingStep step) {
    steps_.push_back(std::move(step));
    Play();
}

void ShowQueue::Clear() {
    steps_.clear();
    held_ = false;
    ++generation_;
}

void ShowQueue::Play() {
    // A step that adds steps or ends at once is played by the loop below,
    // not by a call nested in it.
    if (playing_) return;
    playing_ = true;
    while (!held_ && !steps_.empty()) {
        LastingStep step = std::move(steps_.front());
        steps_.pop_front();
        held_ = true;
        const std::uint64_t generation = ++generation_;
        step([this, generation] {
            // Only the step under way can end itself, and only once.
            if (generation != generation_ || !held_) return;
            held_ = false;
            Play();
        });
    }
    playing_ = false;
    if (!Playing() && on_idle_) on_idle_();
}

}  // namespace kvt
