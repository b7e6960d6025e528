#pragma once

#include "engine/MessagePacer.h"
#include "engine/TextReadProgress.h"
#include "wizard/frmGauge.h"

namespace wizard {

// The text reading as the person at the text pages meets it without a progress window: a faulty line is asked
// about in a box (text 64962) with the buttons Yes (ignore it), No (keep what fitted), Cancel (stop) and Yes to
// all (ignore it and every later one); values the reading had to change are told in one box at its end.
class AskingTextProgress : public engine::TextReadProgress {
public:
    engine::LineFaultAnswer lineFaulty(const QString& line) override;
    void valuesChanged(const engine::TextReadResult& changes) override;
};

// The progress window's arrangements for text sources: the reading layout (height 220, cancel button at 120, no
// help button, the running text "Textdatei wird eingelesen...", the line counter, the flying documents) and the
// sizing layout (the turning red mark). Every record counts; pending window messages are processed between the
// records so that the window stays responsive and its cancel button works, but at the pace of the message rounds:
// every round repaints the counter. The counter and the bar show the exact count whenever the reading asks a
// question or ends.
class GaugeTextProgress : public AskingTextProgress {
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
    void showCount();

    TfrmGauge& gauge_;
    int maximum_;
    int unshown_ = 0;  // records read but not yet on the counter and the bar
    engine::MessagePacer pacer_;
};

}  // namespace wizard
