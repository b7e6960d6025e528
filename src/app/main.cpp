#include "engine/EngineContext.h"
#include "platform/ImportApplication.h"
#include "wizard/ImportProgram.h"
#include "wizard/ProgramContext.h"

#include <cstdio>

int main(int argc, char** argv)
{
    platform::ImportApplication app(argc, argv);
    platform::ImportApplication::setOrganizationName(QStringLiteral("Velmora"));
    platform::ImportApplication::setApplicationName(QStringLiteral("Import"));

    wizard::ProgramContext context = wizard::ProgramContext::fromApplication();
    wizard::ImportProgram program(context);
    // The start-up benchmark measures the way to the shown main window: no start screen hold, no event loop.
    const bool startupProbe = qEnvironmentVariableIsSet("IMPORT_STARTUP_PROBE");
    if (!program.Start(startupProbe ? 0 : 2000))
        return 1;
    if (startupProbe) {
        std::fputs("shown\n", stdout);
        std::fflush(stdout);
        return 0;
    }
    return program.Run();
}
