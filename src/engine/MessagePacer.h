#pragma once

#include <QElapsedTimer>

namespace engine {

// Long loops let pending window messages through between their steps, but not more often than a person can
// notice: every message round repaints what the progress window shows, which costs many times what one record
// does. A click on the cancel button is therefore still seen within a few milliseconds.
class MessagePacer {
public:
    static constexpr qint64 IntervalMs = 15;

    // True when a round is due (always the first time); the next interval starts then.
    bool due()
    {
        if (since_.isValid() && !since_.hasExpired(IntervalMs))
            return false;
        since_.start();
        return true;
    }

    // The next round is due an interval from now.
    void restart() { since_.start(); }

private:
    QElapsedTimer since_;
};

}  // namespace engine
