#include "engine/StructureReaders.h"

#include "db/DataSource.h"
#include "db/EngineError.h"
#include "db/Field.h"
#include "db/Table.h"
#include "engine/WorkingTables.h"
#include "platform/UserInterface.h"
#include "texts/Texts.h"

#include <exception>

namespace engine {

namespace {

// Display widths of QStrukt's Feldname: narrower when the Index column stands beside it.
constexpr int FeldnameBreiteMitIndex = 19;
constexpr int FeldnameBreiteOhneIndex = 24;

// Raised inside the guarded loop for a table without fields, so that it ends in the same message as any other
// failure there.
class NoFields : public std::exception {
public:
    const char* what() const noexcept override { return "table without fields"; }
};

db::Table& targetOf(db::DataSource& source)
{
    db::Table* table = source.DataSet();
    if (!table) {
        throw db::EngineError(db::ErrorCode::InvalidState,
                              QStringLiteral("Der Datenquelle ist keine Tabelle zugeordnet."));
    }
    return *table;
}

void setText(db::Table& table, const char* column, const QString& value)
{
    table.FieldByName(QString::fromLatin1(column))->setAsString(value);
}

// Typ, Laenge and Typbezeichnung of one field; the type name depends on the table written to, since the two
// spell the integer types differently.
void writeTypeColumns(db::Table& table, const db::Field& field, TypeNameTable names)
{
    const int typ = static_cast<int>(field.DataType());
    table.FieldByName(QStringLiteral("Typ"))->setAsInteger(typ);
    setText(table, "Laenge", LaengeText(typ, field.DataSize()));
    setText(table, "Typbezeichnung", Typbezeichnung(typ, names));
}

// The rows written before a failure stay; the half-filled one would otherwise be posted by the next move.
void dropPendingRow(db::Table& table)
{
    try {
        if (table.State() == db::dsInsert || table.State() == db::dsEdit)
            table.Cancel();
    } catch (const std::exception&) {
        // The message about the failure follows; a second one about the cleanup would tell the user nothing new.
    }
}

void reportFailure(int textId, const QString& tableName)
{
    QString text = texts::Text(textId);
    text.replace(QStringLiteral("%s"), tableName);
    platform::ErrorBox(text);
}

}  // namespace

void SetFreshMappingFlags(db::Table& tblZStrukt)
{
    auto set = [&](const char* column, bool value) {
        tblZStrukt.FieldByName(QString::fromLatin1(column))->setAsBoolean(value);
    };
    set("FeldAkt", true);
    set("BedGleich", false);
    set("BedKleiner", false);
    set("BedGroesser", false);
    set("BedLeer", false);
    set("Ausrichtung_li", false);
    set("Ausrichtung_re", true);
    set("Ueberl_abschneid_li", false);
    set("Ueberl_abschneid_re", false);
}

void ZielStrukturEinlesen(db::DataSource& dscZiel, db::Table& tblZStrukt)
{
    tblZStrukt.Open();
    // On the empty table this starts a row that the first insert drops again, nothing being set in it.
    tblZStrukt.Edit();
    db::Table& ziel = targetOf(dscZiel);
    ziel.Open();
    try {
        const int count = ziel.FieldCount();
        if (count == 0)
            throw NoFields();
        // Every insert lands before the row inserted just before it, so walking the fields backwards leaves them
        // in the target's own order.
        for (int i = count - 1; i >= 0; --i) {
            const db::Field* field = ziel.Fields(i);
            tblZStrukt.Insert();
            setText(tblZStrukt, "Index", field->IsIndexField() ? QStringLiteral("X") : QString());
            setText(tblZStrukt, "Feldname", field->FieldName());
            writeTypeColumns(tblZStrukt, *field, TypeNameTable::ZStrukt);
            SetFreshMappingFlags(tblZStrukt);
        }
        tblZStrukt.Post();
    } catch (const std::exception&) {
        dropPendingRow(tblZStrukt);
        reportFailure(64987, ziel.TableName());
    }
}

void QuellStrukturEinlesen(db::Table& tblQuelle, db::Table& tblQStrukt)
{
    tblQStrukt.Open();
    tblQStrukt.Edit();
    tblQuelle.Open();
    try {
        const int count = tblQuelle.FieldCount();
        if (count == 0)
            throw NoFields();
        db::Field* indexColumn = tblQStrukt.FieldByName(QStringLiteral("Index"));
        db::Field* nameColumn = tblQStrukt.FieldByName(QStringLiteral("Feldname"));
        for (int i = count - 1; i >= 0; --i) {
            const db::Field* field = tblQuelle.Fields(i);
            tblQStrukt.Insert();
            // The fields are walked backwards, so the display the first field asks for is the one that stays.
            indexColumn->setVisible(false);
            nameColumn->setDisplayWidth(FeldnameBreiteOhneIndex);
            if (field->IsIndexField()) {
                indexColumn->setAsString(QStringLiteral("X"));
                indexColumn->setVisible(true);
                nameColumn->setDisplayWidth(FeldnameBreiteMitIndex);
            } else {
                indexColumn->setAsString(QString());
            }
            nameColumn->setAsString(field->FieldName());
            writeTypeColumns(tblQStrukt, *field, TypeNameTable::QStrukt);
        }
        tblQStrukt.Post();
    } catch (const std::exception&) {
        dropPendingRow(tblQStrukt);
        reportFailure(64988, tblQuelle.TableName());
    }
}

}  // namespace engine
