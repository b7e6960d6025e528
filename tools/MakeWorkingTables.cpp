// Writes the program's empty working tables into the program folder. A table that is already there is left alone,
// so rebuilding the program never overwrites the settings a user stored.
#include "db/paradox/ParadoxTable.h"
#include "engine/WorkingTables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: MakeWorkingTables <program folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    struct Table {
        QString name;
        db::FieldDefList fields;
        int keyFields;
    };
    const Table tables[] = {
        {engine::ZStruktFileName, engine::ZStruktFields(), 0},
        {engine::QStruktFileName, engine::QStruktFields(), 0},
        {engine::ImpListFileName, engine::ImpListFields(), engine::ImpListKeyFieldCount},
    };
    try {
        for (const Table& table : tables) {
            const QString path = folder.filePath(table.name);
            if (QFileInfo::exists(path))
                continue;
            db::paradox::create(path, table.fields, table.keyFields);
            std::printf("created %s\n", qPrintable(path));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "MakeWorkingTables: %s\n", e.what());
        return 1;
    }
    return 0;
}
