#pragma once

#include "engine/EngineContext.h"

#include <QString>
#include <QStringList>

namespace wizard {

// What the whole program shares and main() finds out once: where the program lies and how it was started. Made
// in main() and handed to the windows; a test makes its own with a program folder of its own.
struct ProgramContext {
    QString programFile;    // full path of the program file
    QString programFolder;  // its folder, ending in "/": the working tables, Import.HLP, the modules, Temp/
    QStringList arguments;  // the command-line arguments after the program name
    QString Sprache;        // language chosen on the command line: empty, "EN" or "CSY"
    QString helpFile;       // the help file, set when the main window is created
    engine::EngineContext engine;  // the engine's share: the same program folder, the settings delete routine

    // The running program's file and arguments.
    static ProgramContext fromApplication();
    // A context for a program folder of one's own (tests, tools); the program file is "Import" inside it.
    static ProgramContext forFolder(const QString& folder, const QStringList& arguments = {});
};

}  // namespace wizard
