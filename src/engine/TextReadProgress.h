#pragma once

#include <QString>

namespace engine {

// What the person decides about a line the staging table cannot take (more values than it has fields).
enum class LineFaultAnswer {
    IgnoreLine,     // the record is dropped
    KeepFitted,     // the record keeps the values stored before the fault
    Stop,           // the reading ends; the record keeps the values stored before the fault
    IgnoreAll,      // the record is dropped, and every later faulty line without asking
};

// What a reading had to change to store the file's values.
struct TextReadResult {
    int cutValues = 0;           // values longer than their staging field, cut to it
    int replacedCharacters = 0;  // characters the staging table's code page cannot hold, stored as "?"
};

// What reading a text source tells the person watching, what it asks them, and how it learns of a cancel. The
// reading routines talk only to this, so that they run the same behind the progress window, in tests and in
// benchmarks. The silent base shows nothing, is never cancelled and asks nobody: a faulty line keeps the values
// that fitted, so that no record goes missing without anybody having chosen so.
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
    // A separated line the staging table could not take, as the file holds it.
    virtual LineFaultAnswer lineFaulty(const QString& /*line*/) { return LineFaultAnswer::KeepFitted; }
    // The reading stored values other than the file holds (cut, or with characters replaced); told once, at its
    // end, and only when it changed any.
    virtual void valuesChanged(const TextReadResult& /*changes*/) {}
    // Whole-line reading ends here; the other readings leave the window open for the sizing that follows.
    virtual void wholeLinesDone() {}

    virtual void sizingStarts() {}
    // Between the records of a sizing pass.
    virtual void sizingStep() {}
    virtual void sizingDone() {}
};

}  // namespace engine
