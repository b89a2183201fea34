#pragma once

#include <QObject>
#include <cstdint>
#include <deque>
#include <functional>

namespace kvt {

// What the table shows of a move, played one step after another. A step
// that takes time (a card flight, a clip) holds back the steps behind it
// until it says it is done; nothing waits in an event loop of its own, so the
// window paints and answers meanwhile. A step given while nothing is held
// back runs at once.
class ShowQueue : public QObject {
    Q_OBJECT

public:
    using Done = std::function<void()>;
    using LastingStep = std::function<void(Done done)>;

    explicit ShowQueue(QObject* parent = nullptr) : QObject(parent) {}

    void Now(std::function<void()> step);
    // `step` calls `done` once, at once or later; the steps behind it wait for it.
    void Lasting(LastingStep step);

    bool Playing() const { return held_ || !steps_.empty(); }

    // Runs each time the last step has been played.
    void SetOnIdle(std::function<void()> idle) { on_idle_ = std::move(idle); }

    // Drops every step not yet played and forgets the one under way (the
    // window is closing).
    void Clear();

private:
    void Play();

    std::deque<LastingStep> steps_;
    std::function<void()> on_idle_;
    std::uint64_t generation_ = 0;  // of the step under way; a done of another one is ignored
    bool held_ = false;
    bool playing_ = false;
};

}  // namespace kvt
