#pragma once

#include <QString>
#include <QStringList>

// Table files are named without regard to case, as on the platform they come from: Kunden.DB finds KUNDEN.MB and
// its companions. Every look-up of a table file by name goes through these two, so that all agree on which file a
// name means.
namespace db {

// Both see the same entries of a folder: files, hidden ones included, and what else a name can stand for on disk
// (links, pipes), so that a table's set is found, replaced and removed as a whole.

// The existing file whose name equals that of path without regard to case, in path's folder; path itself when it
// exists as given. Returns path unchanged when there is none.
QString findFileIgnoringCase(const QString& path);

// The files of folder whose name without its last extension is baseName without regard to
// case: a table's file set. Absolute paths, in name order.
QStringList filesOfBaseName(const QString& folder, const QString& baseName);

}  // namespace db
