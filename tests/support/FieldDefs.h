#pragma once

#include "db/FieldType.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace testsupport {

// A field definition in one line, for tables the tests create.
inline db::FieldDef def(const QString& name, db::FieldType type, int size = 0, int precision = 0)
{
    db::FieldDef f;
    f.name = name;
    f.type = type;
    f.size = size;
    f.precision = precision;
    return f;
}

// The whole file, or nothing when it cannot be read.
inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace testsupport
