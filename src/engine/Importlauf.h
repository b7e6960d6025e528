#pragma once

#include "engine/ImportRunObserver.h"
#include "engine/ImportSetting.h"

#include <QString>
#include <functional>

namespace db {
class DataSource;
class Table;
}  // namespace db

namespace parser {
class TParser;
}

// The import run: one driver per import mode walks the source table once, turns every source record into target
// records through the field pipeline (FieldPipeline.h) and counts what it did.
//
// The counts belong to the run (ImportRun::counts), which tells its observer how they stand at every message round,
// before every message box it or the pipeline shows, and at every way out; mode 2's closing figures are computed
// from them. The two passes of mode 3 are two drivers on one ImportRun, so the second counts on from the first.
//
// Every driver leaves the target durable when it returns, whichever way: the records it posted are in the files
// when it ends normally, is cancelled, or stops on an error it does not catch (that error is passed on). A record
// the engine refused to store is dropped, never left pending in the cursor.
//
// The German working names (Quelle, Ziel, ZStrukt, Anhaengen, Startwert, ...) are explained in WorkingTables.h.
namespace engine {

// What the drivers work on and with: the wizard's tables, the setting's values and the start value, and whoever
// watches. Tests and benchmarks fill it with standalone tables and no window.
struct ImportRun {
    db::Table& tblQuelle;
    db::DataSource& dscZiel;  // its DataSet is the target table tblZiel
    parser::TParser& Parser1;
    // The setting being run: its Mapping rows, ZielLeeren (mode 2's running text and closing figures) and
    // Quelldatei (where picture files named by the source are looked for).
    ImportSetting setting;
    QString Startwert;  // modes 3 and 4
    // Not owned; nullptr: nobody watches, nothing is cancelled.
    ImportRunObserver* observer = nullptr;
    // The wizard's share of SchluesselZuordnungFehlt: empty edtImpSpeich, uncheck the mode page's choices and show
    // the mapping page. May be empty (nothing of the wizard to reset).
    std::function<void()> ZuordnungsseiteZeigen;

    ImportCounts counts;
    // Texts between tables whose files hold them alike pass as their bytes where that stores what the general
    // way stores; false: every value goes the general way (tests compare the two).
    bool textAsBytes = true;
};

// Mode 1: every source record becomes a new target record, posted once per Mapping row.
void ImportlaufEndeAnhaengen(ImportRun& run);
// The record loop of mode 1.
void EndeAnhaengenSchleife(ImportRun& run);
// Mode 2 (and the second pass of mode 3): records whose key is not in the target are appended, the rest ignored.
void ImportlaufIgnorieren(ImportRun& run);
// Mode 3, first pass: records whose key is in the target are appended under keys generated from the start value.
// False only when the key row has no source field (after SchluesselZuordnungFehlt).
bool ImportlaufUmbenennen(ImportRun& run);
// Mode 4: every record is appended with its key fields counted up from the start value.
void ImportlaufSelfInc(ImportRun& run);
// Mode 5: records whose key is in the target update it, the others are appended.
void ImportlaufAktualisieren(ImportRun& run);

// The drivers of an import mode (1 to 5) in their order: mode 3 runs its second pass only after a first that did not
// give up. False where mode 3's first pass gave up; anything else but 1 to 5 raises std::invalid_argument.
bool Importlauf(ImportRun& run, int mode);

// A key row without source field: tells the user, lets the wizard show the mapping page, closes the progress window.
void SchluesselZuordnungFehlt(ImportRun& run);

// The key value generated for the n-th record from a start value, for a String key (A007 -> A7, A8, ...;
// ABC -> ABC0, ABC1, ...). Raises when the digit run, alone or with n added, leaves the 32-bit range.
QString GeneratedTextKey(const QString& startValue, int n);

}  // namespace engine
