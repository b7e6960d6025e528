#include "platform/ImportApplication.h"
#include "wizard/ImportProgram.h"
#include "wizard/ProgramContext.h"

int main(int argc, char** argv)
{
    platform::ImportApplication app(argc, argv);
    platform::ImportApplication::setOrganizationName(QStringLiteral("Velmora"));
    platform::ImportApplication::setApplicationName(QStringLiteral("Import"));

    wizard::ProgramContext context = wizard::ProgramContext::fromApplication();
    wizard::ImportProgram program(context);
    if (!program.Start())
        return 1;
    return program.Run();
}
