#pragma once

#include <QString>
#include <functional>

namespace engine {

// What is program-wide for the engine, in one object instead of globals: made once in main (tests and benchmarks
// make their own with a program folder of their own) and handed by reference to every routine that needs it.
// Whatever belongs to one run or one reading (the formula values, the message pacing) lives with that run instead.
class EngineContext {
public:
    // An empty folder means the folder of the running program (a QCoreApplication must exist then).
    explicit EngineContext(const QString& programFolder = QString());

    // The program folder, with its trailing separator: where the program file, the working tables, the setting
    // files and the Temp folder lie.
    const QString& ProgramFolder() const { return programFolder_; }
    // Program folder + "Temp/".
    QString TempFolder() const;

    // The settings manager's routine that deletes the setting at tblImpList's cursor (its files and its row). The
    // wizard sets it once; ImportEinstellungLaden raises std::logic_error when it needs it and none is set.
    std::function<void()> ImportEinstellungLoeschen;

private:
    QString programFolder_;
};

}  // namespace engine
