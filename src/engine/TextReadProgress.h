#pragma once

#include <QElapsedTimer>

namespace engine {

class TfrmGauge;

// What reading a text source tells the person watching, and how it learns of a cancel. The reading routines talk
// only to this, so that they run the same behind the progress window, in tests and in benchmarks. The silent base
// shows nothing and is never cancelled.
class TextReadProgress {
public:
    virtual ~TextReadProgress() = default;

    // Reading the file starts (separated, fixed-width or whole lines).
    virtual void readingStarts() {}
    // One record (or line) has been read.
    virtual void recordRead() {}
    // Tested before each record.
    virtual bool cancelled() { return false; }
    // What the window shows is brought up to date: before a question about a line, and when the reading ends.
    virtual void showNow() {}
    // Whole-line reading ends here; the other readings leave the window open for the sizing that follows.
    virtual void wholeLinesDone() {}

    virtual void sizingStarts() {}
    // Between the records of a sizing pass.
    virtual void sizingStep() {}
    virtual void sizingDone() {}
};

// The progress window's arrangements for text sources: the reading layout (height 220, cancel button at 120, no
// help button, the running text "Textdatei wird eingelesen...", the line counter, the flying documents) and the
// sizing layout (the turning red mark). Every record counts; pending window messages are processed between the
// records so that the window stays responsive and its cancel button works, but not more often than a person can
// notice: every message round repaints the counter, which costs many times what reading a record does. The counter
// and the bar move at the pace of the message rounds and show the exact count whenever the reading asks a question
// or ends.
class GaugeTextProgress : public TextReadProgress {
public:
    // gaugeMaximum: the bar's end, the line count of the file as the page shows it.
    GaugeTextProgress(TfrmGauge& gauge, int gaugeMaximum) : gauge_(gauge), maximum_(gaugeMaximum) {}

    void readingStarts() override;
    void recordRead() override;
    bool cancelled() override;
    void showNow() override;
    void wholeLinesDone() override;
    void sizingStarts() override;
    void sizingStep() override;
    void sizingDone() override;

private:
    // True when a message round is due; starts the next interval then.
    bool roundDue();
    void showCount();

    TfrmGauge& gauge_;
    int maximum_;
    int unshown_ = 0;  // records read but not yet on the counter and the bar
    QElapsedTimer sinceRound_;
};

}  // namespace engine
