#include "wizard/ProgramContext.h"

#include <QCoreApplication>
#include <QDir>

namespace wizard {

ProgramContext ProgramContext::fromApplication()
{
    ProgramContext context;
    context.programFile = QCoreApplication::applicationFilePath();
    context.programFolder = QCoreApplication::applicationDirPath() + u'/';
    context.arguments = QCoreApplication::arguments().mid(1);
    context.engine = engine::EngineContext(context.programFolder);
    return context;
}

ProgramContext ProgramContext::forFolder(const QString& folder, const QStringList& arguments)
{
    ProgramContext context;
    context.programFolder = QDir(folder).absolutePath() + u'/';
    context.programFile = context.programFolder + QStringLiteral("Import");
    context.arguments = arguments;
    context.engine = engine::EngineContext(context.programFolder);
    return context;
}

}  // namespace wizard
