#pragma once

#include <QByteArray>
#include <QString>

namespace db::access {

// What the first page of an Access database says about the file, read without the Access library so that a file
// the library cannot handle safely is turned away with a clear message before it is ever opened.
struct AccessHeader {
    enum class Version { Jet3, Jet4 };
    Version version = Version::Jet4;
    int pageSize = 4096;
    bool hasPassword = false;
};

// Checks the first page of the file at path. Raises EngineError (German message) when the file is missing or
// unreadable, is not an Access database, is a version this program cannot read (Access 2007 and later), is cut
// short, or carries a database password.
AccessHeader checkAccessHeader(const QString& path);

// The same checks on bytes already read: the file's first page (at least) and the file's full size.
AccessHeader inspectAccessHeader(const QByteArray& firstPage, qint64 fileSize, const QString& pathForMessages);

}  // namespace db::access
