#include "engine/EngineContext.h"

#include "engine/WorkingTables.h"

#include <QCoreApplication>

namespace engine {

EngineContext::EngineContext(const QString& programFolder)
    : programFolder_(programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder)
{
    if (!programFolder_.endsWith(u'/'))
        programFolder_ += u'/';
}

QString EngineContext::TempFolder() const
{
    return programFolder_ + TempFolderName + u'/';
}

}  // namespace engine
