#pragma once

#include <QString>
#include <QTemporaryDir>
#include <ostream>

// Readable texts in failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace testsupport {

// Folder of the read-only table files written by other programs.
QString fixturesDir();

// Path of one fixture below the fixtures folder, e.g. fixture("paradox/pdriver-db/CUSTOMER.DB").
QString fixture(const QString& relative);

// Copies every file of the fixture's table (all files sharing its base name, any case) into dir and returns the
// path of the copy of the named file. Tests write only to such copies.
QString copyTableTo(const QString& relativeFixture, const QString& dir);

}  // namespace testsupport
