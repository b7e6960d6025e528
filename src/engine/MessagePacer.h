#pragma once

#include <QElapsedTimer>

namespace engine {

// When a long loop lets the window process its messages. Every record counts, but a message round repaints what
// changed, which costs many times what reading or writing a record does, and nobody sees a counter move faster
// than every 15 ms: so a round is held at most that often. A click on the cancel button is still seen within a few
// milliseconds.
class MessagePacer {
public:
    static constexpr qint64 IntervalMs = 15;

    // True when a round is due (always the first time); the next interval starts then.
    bool roundDue()
    {
        if (since_.isValid() && !since_.hasExpired(IntervalMs))
            return false;
        since_.start();
        return true;
    }
    // A round was just held without asking (the window was shown): the next interval starts now.
    void roundHeld() { since_.start(); }

private:
    QElapsedTimer since_;
};

}  // namespace engine
