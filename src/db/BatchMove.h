#pragma once

namespace db {

class Table;

// batAppend: every record of the source is added to the destination.
enum TBatchMode { batAppend };

// Moves the records of one table into another in one go.
//
// Append mode takes every record the source shows (its filter applies), from the first, and appends it to the
// destination; the fields are matched by position, source field i into destination field i, and every value is
// converted the way a field write converts it (a text is cut to a shorter text field, a text becomes a number, a
// number or a logical value becomes a text, ...). Destination fields beyond the source's stay blank, source fields
// beyond the destination's are left out, and an auto-increment field is numbered by the destination itself.
//
// A table that is closed is opened for the move and closed again afterwards. Neither cursor is moved by the
// reading; a pending record of either table is finished first. Where the stored values carry over as they are (text
// into text of the same code page), the records go from storage to storage below the cursors: the destination's
// cursors then follow the new records as they follow any other writer's, and its controls hear of them once, when
// the move ends, as they do after the move through the cursor. The first record that cannot be converted or
// stored (a key violation, a value a field refuses) ends the move with its EngineError; the records moved before
// it stay, and MovedCount says how many they are. A destination that cannot hold them all (Table::CheckRoomFor)
// is refused before the first record.
class BatchMove {
public:
    void setSource(Table* source) { source_ = source; }
    Table* Source() const { return source_; }
    void setDestination(Table* destination) { destination_ = destination; }
    Table* Destination() const { return destination_; }
    void setMode(TBatchMode mode) { mode_ = mode; }
    TBatchMode Mode() const { return mode_; }

    void Execute();
    // Records written to the destination by the last Execute.
    int MovedCount() const { return movedCount_; }

private:
    // Copies the stored records storage to storage where the destination's storage can take them as they are
    // stored (see TableStorage::copiesFrom); false, with nothing moved, where it cannot.
    bool copyStored(int fieldCount);
    // Appends every record through the destination cursor, field by field.
    void moveFieldByField(int fieldCount);

    Table* source_ = nullptr;
    Table* destination_ = nullptr;
    TBatchMode mode_ = batAppend;
    int movedCount_ = 0;
};

}  // namespace db
