#pragma once

#include <QString>
#include <functional>

class QCheckBox;
class QLineEdit;

namespace db {
class DataSource;
class Table;
}  // namespace db

namespace parser {
class TParser;
}

// The import run: one driver per import mode walks the source table once, turns every source record into target
// records through the field pipeline (FieldPipeline.h) and counts what it did in the progress window.
//
// The counters live in the number labels of the progress window: a driver reads a label at its first count, keeps
// the number while it runs and writes it back at every message round, before a message box and at every way out,
// and the closing figures are computed from the labels.
//
// Every driver leaves the target durable when it returns, whichever way: the records it posted are in the files
// when it ends normally, is cancelled, or stops on an error it does not catch (that error is passed on). A record
// the engine refused to store is dropped, never left pending in the cursor.
namespace engine {

class TfrmGauge;

// What the drivers work on: the wizard's tables and controls, filled by the wizard with its own objects (tests and
// benchmarks with standalone ones).
struct ImportRunContext {
    db::Table& tblQuelle;
    db::DataSource& dscZiel;  // its DataSet is the target table tblZiel
    db::Table& tblZStrukt;
    db::Table& tblImpList;    // its current row is the setting being run (for Quelldatei)
    QLineEdit& edtStartwert;  // modes 3 and 4
    QCheckBox& cbxZielLeeren; // mode 2's running text and closing figures
    parser::TParser& Parser1;
    TfrmGauge& frmGauge;
    // The wizard's share of SchluesselZuordnungFehlt: empty edtImpSpeich, uncheck the mode page's choices and show
    // the mapping page. May be empty (nothing of the wizard to reset).
    std::function<void()> ZuordnungsseiteZeigen;
};

// Mode 1: every source record becomes a new target record, posted once per Mapping row.
void ImportlaufEndeAnhaengen(const ImportRunContext& run);
// The record loop of mode 1.
void EndeAnhaengenSchleife(const ImportRunContext& run);
// Mode 2 (and the second pass of mode 3): records whose key is not in the target are appended, the rest ignored.
void ImportlaufIgnorieren(const ImportRunContext& run);
// Mode 3, first pass: records whose key is in the target are appended under keys generated from the start value.
// False only when the key row has no source field (after SchluesselZuordnungFehlt).
bool ImportlaufUmbenennen(const ImportRunContext& run);
// Mode 4: every record is appended with its key fields counted up from the start value.
void ImportlaufSelfInc(const ImportRunContext& run);
// Mode 5: records whose key is in the target update it, the others are appended.
void ImportlaufAktualisieren(const ImportRunContext& run);

// Adds one to the progress window's failure counter.
void AnzFehlerErhoehen(const ImportRunContext& run);
// A key row without source field: tells the user, lets the wizard show the mapping page, closes the progress window.
void SchluesselZuordnungFehlt(const ImportRunContext& run);

// The key value generated for the n-th record from a start value, for a String key (A007 -> A7, A8, ...;
// ABC -> ABC0, ABC1, ...). Raises when the digit run, alone or with n added, leaves the 32-bit range.
QString GeneratedTextKey(const QString& startValue, int n);

}  // namespace engine
