#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>

class QTableView;

namespace db {
class Table;
}

namespace platform {
class TDBGrid;
}

// The mapping page's work on the working tables: which source field fills which target field, carried over from
// an earlier mapping or found by name and key, and how the two grids show it. Values and tables only; the page
// (frmImport1Mapping.cpp) adds the windows around it.
namespace wizard::mapping {

// What a Field type code counts as when the options of a mapping row are chosen.
enum class TypeClass { Text, Number, None };
TypeClass SourceTypeClass(int typeCode);
TypeClass TargetTypeClass(int typeCode);

// The sheet of the options panel a mapping row gets. Closed: the row has no options (the panel closes, its button
// is disabled). Unchanged: the panel stays as it is.
enum class OptionsSheet { Closed, Unchanged, String_String, String_Zahl, Zahl_String, Zahl_Zahl };
// sourceTypeCode is looked at for a mapped row only; -1 when the source has no field of the row's Zuordnung.
OptionsSheet SheetFor(bool mapped, int sourceTypeCode, int targetTypeCode);

// The type code of the automatically incremented counter.
constexpr int CounterType = 14;

// The current mapping row as one without a source field: every option cleared, the right alignment and the update
// of existing records on; posted.
void ZuordnungZuruecksetzen(db::Table& tblZStrukt);

// Called after each source row of a long loop with the row's number; false stops the loop.
using StepReport = std::function<bool(int recNo)>;

// The automatic mapping: a target row takes the source field of its name (any letter case, no counter) or, for a
// key row, the last source key field; a row naming a field the source lacks is reset first. Both working tables
// end on their first row. Gives the number of assignments made.
int ZuordnenNachNameUndSchluessel(db::Table& tblQuelle, db::Table& tblQStrukt, db::Table& tblZStrukt,
                                  const StepReport& step);

// Carries the options and assignments of an earlier mapping (tblTempStrukt, open) over to the rows of the same
// target field name in tblZStrukt; an assignment of a field the source no longer has is reset instead.
void ZuordnungenUebertragen(db::Table& tblTempStrukt, db::Table& tblZStrukt, db::Table& tblQuelle);

// Whether any mapping row is a key row; the Index column of the grids' table is shown exactly then, with the name
// columns narrower beside it. The table ends on its first row.
bool IndexSpalteAnpassen(db::Table& tblZStrukt);

// Clears the assignment of every row from the first (the options stay), reporting after each row.
void AlleZuordnungenAufheben(db::Table& tblZStrukt, const StepReport& step);

// The two grids of the page: the target grid shows its columns as Index, Feldname, Typ, Länge, Zuordnung, the
// assignment column in bold blue; a source row dragged onto a target row, or a double click in either grid,
// assigns; Delete or Backspace released in the target grid clears the assignment.
class MappingGrids : public QObject {
    Q_OBJECT
public:
    MappingGrids(platform::TDBGrid* source, platform::TDBGrid* target, QObject* parent);

    // Puts the target grid's columns in the page's order and sizes them to their display widths.
    void arrangeTargetColumns();
    // Drops a source row at a point of the target grid's viewport, as the mouse does at the end of a drag.
    void dropSourceRowAt(const QPoint& viewportPoint);
    // The style of the assignment column (set when the page is entered).
    void setAssignmentStyle(bool emphasised);

signals:
    void assignRequested();
    void targetKeyUp(int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class AssignmentDelegate;
    class Header;

    platform::TDBGrid* source_;
    platform::TDBGrid* target_;
    // The grids' viewports the filter watches, kept as they were when it was installed: while the window is taken
    // down a viewport can still send events after its grid is gone, so the filter never asks a grid for them.
    QObject* sourceViewport_ = nullptr;
    QObject* targetViewport_ = nullptr;
    AssignmentDelegate* delegate_;
    Header* header_;
    QPoint pressedAt_;
    bool pressed_ = false;
    bool emphasised_ = false;
};

}  // namespace wizard::mapping
