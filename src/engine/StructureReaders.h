#pragma once

namespace db {
class DataSource;
class Table;
}  // namespace db

// The two readers that turn the structure of a table into rows of the working tables: one Mapping row per target
// field in ZStrukt (with the options of a fresh mapping), one Source structure row per source field in QStrukt.
//
// Both expect their working table to be empty (the callers empty it exclusively first) and leave the rows in the
// table's own field order. Opening the working table and the table read are not guarded: their failures reach the
// caller as the engine's exception. A failure while the rows are written (or a table without fields) ends in an
// error box naming the table read; the rows posted before it stay, the row being filled is dropped.
namespace engine {

// The target is reached through its data source (dscZiel on tblZiel); the mapping table is tblZStrukt.
void ZielStrukturEinlesen(db::DataSource& dscZiel, db::Table& tblZStrukt);

// The source table itself (tblQuelle) into tblQStrukt. Also sets how a grid shows tblQStrukt: the Index column
// only when the source's first field is a key field (Feldname then 19 wide, else 24).
void QuellStrukturEinlesen(db::Table& tblQuelle, db::Table& tblQStrukt);

// Sets the option columns of the current Mapping row to those of a fresh mapping: FeldAkt and Ausrichtung_re on,
// the other flags off. The row must be in edit or insert state.
void SetFreshMappingFlags(db::Table& tblZStrukt);

}  // namespace engine
