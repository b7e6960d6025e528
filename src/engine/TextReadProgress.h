#pragma once

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
    // Whole-line reading ends here; the other readings leave the window open for the sizing that follows.
    virtual void wholeLinesDone() {}

    virtual void sizingStarts() {}
    // Between the records of a sizing pass.
    virtual void sizingStep() {}
    virtual void sizingDone() {}
};

// The progress window's arrangements for text sources: the reading layout (height 220, cancel button at 120, no
// help button, the running text "Textdatei wird eingelesen...", the line counter, the flying documents) and the
// sizing layout (the turning red mark). Every record processes pending window messages, so that the window stays
// responsive and its cancel button works.
class GaugeTextProgress : public TextReadProgress {
public:
    // gaugeMaximum: the bar's end, the line count of the file as the page shows it.
    GaugeTextProgress(TfrmGauge& gauge, int gaugeMaximum) : gauge_(gauge), maximum_(gaugeMaximum) {}

    void readingStarts() override;
    void recordRead() override;
    bool cancelled() override;
    void wholeLinesDone() override;
    void sizingStarts() override;
    void sizingStep() override;
    void sizingDone() override;

private:
    TfrmGauge& gauge_;
    int maximum_;
};

}  // namespace engine
