#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace db {
class Table;
}

// Fixed-width text sources: the Column boundary list that holds where each field of a line ends, the lines of the
// character grid the user sets the marks on, the split preview and reading the whole file into the staging table.
// Headers, staging and sizing are those of the separated road (Textimport.h); the grids are the wizard's.
namespace engine {

struct TextReadResult;
class TextReadProgress;
class StagedRecords;

constexpr int BoundarySlotCount = 100;
// A free slot; as an unsigned 16-bit value 65535.
constexpr std::int16_t FreeSlot = -1;
constexpr int MaxBoundary = 32767;

using BoundarySlots = std::array<std::int16_t, BoundarySlotCount>;

// The Column boundary list. A slot holds a boundary b (1..32767): a field ends after character b of the line; on
// the character grid b is drawn at the left edge of column b. While a file is being split, free slots hold 0.
//
// The operations that search or append look at the slots below FixTrennAnzahl only. They rely on two invariants,
// which every routine here keeps: every boundary lies below FixTrennAnzahl, and the slot at FixTrennAnzahl (while
// below 100) is free.
struct ColumnBoundaryList {
    ColumnBoundaryList() { FixTrennPositionen.fill(FreeSlot); }

    BoundarySlots FixTrennPositionen;
    std::int32_t FixTrennAnzahl = 0;
    // The slot of the mark being dragged on the character grid; -1 when none.
    std::int32_t FixTrennDragIndex = -1;
};

// The first slot below the count holding Column; -1 when none.
int TrennposSuchen(const ColumnBoundaryList& list, int Column);
int TrennposSuchenAndere(const ColumnBoundaryList& list, int Column, int ExceptSlot);
// Adds a boundary unless it is there already. With 100 slots in use the free ones are compacted first; with 100
// boundaries nothing is added.
void TrennposHinzufuegen(ColumnBoundaryList& list, int Column);
// Frees the slot holding Column and returns it; -1 when none does.
int TrennposEntfernen(ColumnBoundaryList& list, int Column);
// Slots holding 0 (left by a split) become free.
void TrennposLeereMarkieren(ColumnBoundaryList& list);
// Free slots become 0.
void TrennposFreiAufNull(ColumnBoundaryList& list);
// Moves the slots 0..High that are not free to the front, in their order, frees the rest; returns how many.
int TrennposVerdichten(BoundarySlots& List, int High);
void TrennposTauschen(BoundarySlots& List, int High, int I, int J);
// Sorts the slots Lo..Hi ascending by their signed value (a free slot, -1, in front of everything).
void TrennposSortieren(BoundarySlots& List, int High, int Lo, int Hi);
// The first slot (of all 100) holding a boundary; -1 when none does.
int ErsteTrennpos(const ColumnBoundaryList& list);

// Readies the list for the marks the user sets next: everything that is no boundary becomes free and the
// boundaries move to the front, in their order, so that every boundary lies below the count and the slot at the
// count is free, whether the slots come from clicks, a stored setting or a split.
void PrepareMarking(ColumnBoundaryList& list);

// The character grid shows at most this many lines.
constexpr int CharacterGridLineCount = 20;
// The lines of the character grid: the page's text of the file without what ends it, cut at its line ends (CR LF,
// LF or CR), at most CharacterGridLineCount.
QStringList CharacterGridLines(const QString& text);

// ---- splitting ----

// Readies the list for cutting lines: free slots become 0, all 100 slots count and are sorted, so the zeros come
// first and the boundaries follow in ascending order. Returns the first slot holding a boundary, -1 when none.
int PrepareSplit(ColumnBoundaryList& list);
// Cuts a line at the boundaries of a prepared list from slot first on: n boundaries give n + 1 fields, each
// trimmed and, with dosToWin, converted from the DOS character set.
QStringList CutLine(const QString& line, const BoundarySlots& positions, int first, bool dosToWin);
// The first lines of the file, at most maxLines, each cut at the boundaries of a prepared list. Raises EInOutError
// when the file cannot be opened.
std::vector<QStringList> ReadFixedWidthPreview(const QString& path, const BoundarySlots& positions, int first,
                                               bool dosToWin, int maxLines);
// The staging table has fewer fields than the boundaries make columns: a column had no name, so its values would
// land under the next column's name and those of the last column nowhere. message() is the text that asks for a
// column name, for the page to show before it lets the person go on.
class EColumnWithoutName : public std::runtime_error {
public:
    EColumnWithoutName();
    const QString& message() const { return message_; }

private:
    QString message_;
};

// Appends every line of the file, cut at the boundaries of a prepared list, to the staging table (just created),
// its records left in staged for the sizing, and tells progress of the values it changed. Raises
// EColumnWithoutName before reading a line when the staging table lacks a field for a column, EInOutError when the
// file cannot be opened.
TextReadResult ReadFixedWidthFile(const QString& path, db::Table& staging, StagedRecords& staged,
                                  const BoundarySlots& positions, int first, bool firstLineHoldsNames, bool dosToWin,
                                  TextReadProgress& progress);

// ---- the stored form (setting column FixBreak) ----

// A stored boundary list that does not fit the list: a value beyond the signed 16-bit range or a 101st value.
class ERangeError : public std::runtime_error {
public:
    ERangeError() : std::runtime_error("Fehler bei Bereichsprüfung") {}
};

// All 100 slots from slot 0, each as its signed decimal value followed by ";".
QString FixBreakText(const ColumnBoundaryList& list);
// Fills the list from a stored text: each value other than 0 goes into the next slot from slot 0, the other slots
// are free, and the count covers the values read. Raises rtl::EConvertError for a value that is no number and
// ERangeError as above; the list is unchanged then.
void FixBreakLesen(const QString& text, ColumnBoundaryList& list);

}  // namespace engine
