#pragma once

#include <QString>
#include <cstdint>

namespace engine {

// What an import run counts, by outcome. The run owns its counts; whoever watches is told them.
struct ImportCounts {
    std::int32_t AnzHinzu = 0;   // records added
    std::int32_t Ignor = 0;      // records ignored
    std::int32_t Umben = 0;      // records imported under a new key
    std::int32_t AnzAkt = 0;     // records updated
    std::int32_t Summe = 0;      // records processed
    std::int32_t AnzFehler = 0;  // failed steps

    bool operator==(const ImportCounts&) const = default;
};

// Whoever watches an import run: the progress window in the program, nobody in benchmarks, a recorder in tests.
// The run tells it what to show and asks it whether the person cancelled; it decides nothing of the run. The
// silent base shows nothing and is never cancelled.
class ImportRunObserver {
public:
    virtual ~ImportRunObserver() = default;

    // A driver starts: its running text, the gauge from 0 to the source's record count.
    virtual void runStarts(const QString& runningText, int recordCount)
    {
        (void)runningText;
        (void)recordCount;
    }
    virtual void runningText(const QString& text) { (void)text; }
    // The counts as they stand: at message rounds, before every message box and on every way out of a driver.
    virtual void counts(const ImportCounts& counts) { (void)counts; }
    // The source record reached.
    virtual void gaugePosition(int position) { (void)position; }
    // Pending window messages are to be processed now (the run paces these rounds).
    virtual void messageRound() {}
    // Tested before every source record.
    virtual bool cancelled() const { return false; }
    // The run is over and its figures stand: what is left to the person is closing the window.
    virtual void closeOffered() {}
    // The run gave up before its end and sent the person elsewhere: the window goes.
    virtual void runAbandoned() {}
};

}  // namespace engine
