#pragma once

#include <QString>

namespace db {

// Database aliases: names under which the engine finds the folder of another product's tables. They are kept in
// the engine's own alias file, an INI file in the user's configuration folder (on Linux
// "$XDG_CONFIG_HOME/Velmora/Import-Aliases.ini", by default "~/.config/Velmora/Import-Aliases.ini"):
//
//   [Aliases]
//   FRDB=/srv/ferolin/daten
//   DuzEvod=/srv/wendamo
//
// Alias names are matched without regard to case. A relative folder is taken from the alias file's own folder; a
// folder whose name holds a comma must be written in double quotes (the INI format reads an unquoted comma as a
// list separator).
class Aliases {
public:
    // Full path of the alias file (whether it exists or not).
    static QString configFile();

    // The alias's folder, absolute and ending in "/", so that a file name can be appended directly. A missing
    // alias file, an alias that is not defined, and an alias whose folder does not exist raise EngineError with
    // ErrorCode::AliasNotFound.
    static QString folder(const QString& alias);
};

}  // namespace db
