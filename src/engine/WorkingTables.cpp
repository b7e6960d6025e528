#include "engine/WorkingTables.h"

#include "db/Field.h"
#include "engine/EngineContext.h"
#include "db/Table.h"
#include "texts/Texts.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

namespace engine {

using db::FieldDef;
using db::FieldType;

namespace {

FieldDef alpha(const char* name, int size)
{
    return {QString::fromLatin1(name), FieldType::ftString, size, 0, false};
}
FieldDef of(const char* name, FieldType type, int size = 0)
{
    return {QString::fromLatin1(name), type, size, 0, false};
}

}  // namespace

db::FieldDefList ZStruktFields()
{
    return {
        alpha("Index", 1),
        alpha("Feldname", 255),
        alpha("Laenge", 3),
        alpha("Typbezeichnung", 18),
        alpha("Zuordnung", 255),
        of("Typ", FieldType::ftSmallint),
        of("Div", FieldType::ftFloat),
        of("Mul", FieldType::ftFloat),
        alpha("Vorgabewert_alph", 80),
        of("Vorgabewert_num", FieldType::ftFloat),
        of("BedGleich", FieldType::ftBoolean),
        of("BedKleiner", FieldType::ftBoolean),
        of("BedGroesser", FieldType::ftBoolean),
        of("BedLeer", FieldType::ftBoolean),
        alpha("Quellwert_alph", 80),
        of("Quellwert_num", FieldType::ftFloat),
        of("Formel_alph", FieldType::ftMemo, 240),
        of("Formel_num", FieldType::ftMemo, 240),
        of("Runden", FieldType::ftSmallint),
        of("Ausrichtung_li", FieldType::ftBoolean),
        of("Ausrichtung_re", FieldType::ftBoolean),
        of("Ueberl_abschneid_li", FieldType::ftBoolean),
        of("Ueberl_abschneid_re", FieldType::ftBoolean),
        of("StringAuswahlBeg", FieldType::ftSmallint),
        of("StringAuswahlEnd", FieldType::ftSmallint),
        of("FeldAkt", FieldType::ftBoolean),
    };
}

db::FieldDefList QStruktFields()
{
    return {
        alpha("Index", 1),
        alpha("Feldname", 255),
        alpha("Typbezeichnung", 18),
        of("Typ", FieldType::ftSmallint),
        alpha("Laenge", 3),
        of("NKommaStellen", FieldType::ftSmallint),
    };
}

db::FieldDefList ImpListFields()
{
    return {
        alpha("Bezeichnung", 80),
        of("Bemerkung", FieldType::ftMemo, 1),
        alpha("Quellformat", 10),
        of("TableName", FieldType::ftAutoInc),
        alpha("VorDefTableName", 8),
        alpha("Quelldatei", 255),
        alpha("Zieldatei", 255),
        of("ZielLeeren", FieldType::ftBoolean),
        of("Sicherungskopie", FieldType::ftBoolean),
        of("LetzterImport", FieldType::ftDate),
        of("Importmodus", FieldType::ftSmallint),
        of("Marks", FieldType::ftSmallint),
        alpha("MarkFeld", 80),
        of("Semic", FieldType::ftBoolean),
        of("Komma", FieldType::ftBoolean),
        of("Tab", FieldType::ftBoolean),
        of("Space", FieldType::ftBoolean),
        alpha("Andere", 1),
        of("Delimiter", FieldType::ftSmallint),
        of("ColNames", FieldType::ftMemo, 1),
        of("FixBreak", FieldType::ftMemo, 1),
        of("FixVar", FieldType::ftSmallint),
        of("DosToWin", FieldType::ftBoolean),
        alpha("Decimal", 1),
        alpha("Tausend", 1),
        alpha("Zeit", 1),
        alpha("Datum", 1),
        alpha("TMJ", 10),
        of("NamesInFirstLine", FieldType::ftBoolean),
        of("Eigene", FieldType::ftBoolean),
    };
}

namespace {

// The program text that names a type code, or nothing for the two names without a number.
std::optional<int> typeNameText(int typeCode, TypeNameTable table)
{
    const bool z = table == TypeNameTable::ZStrukt;
    switch (typeCode) {
    case 1: return 65260;
    case 2: return z ? 65261 : 65216;
    case 3: return z ? 65262 : 65217;
    case 4: return 65263;
    case 5: return 65232;
    case 6: return 65233;
    case 7: return 65234;
    case 8: return 65235;
    case 9: return 65250;
    case 10: return 65236;
    case 11: return 65237;
    case 12: return 65238;
    case 13: return 65239;
    case 14: return 65240;
    case 15: return 65241;
    case 16: return 65242;
    case 17: return 65243;
    case 18: return 65244;
    case 19: return 65245;
    case 20: return 65246;
    // These two names have no number: a language module cannot replace them.
    case 21:
    case 22: return std::nullopt;
    default: return 65247;
    }
}

QString unnumberedTypeName(int typeCode)
{
    return typeCode == 21 ? QStringLiteral("typ. Binär") : QStringLiteral("Oracle TParam");
}

}  // namespace

QString Typbezeichnung(int typeCode, TypeNameTable table)
{
    const std::optional<int> id = typeNameText(typeCode, table);
    return id ? texts::GermanText(*id) : unnumberedTypeName(typeCode);
}

QString ShownTypbezeichnung(int typeCode, TypeNameTable table)
{
    const std::optional<int> id = typeNameText(typeCode, table);
    return id ? texts::Text(*id) : unnumberedTypeName(typeCode);
}

QString LaengeText(int typeCode, int dataSize)
{
    if (typeCode == 0 || typeCode == 16 || typeCode == 18 || typeCode < 0 || typeCode > 22)
        return QStringLiteral("-");
    if (typeCode == 1)
        return QString::number(dataSize - 1);
    return QString::number(dataSize);
}

QString LaengeText(const db::Field& field)
{
    return LaengeText(static_cast<int>(field.DataType()), field.DataSize());
}

bool IsSafeBaseName(const QString& baseName)
{
    if (baseName.trimmed().isEmpty() || baseName == u"." || baseName.contains(QStringLiteral("..")))
        return false;
    for (const QChar c : baseName) {
        if (c == u'/' || c == u'\\' || c == u'*' || c == u'?' || c == u':' || c.unicode() < 32)
            return false;
    }
    return true;
}

namespace {

db::FieldDisplay shown(const char* name, int width, const QString& label = QString(),
                       std::optional<Qt::Alignment> alignment = std::nullopt)
{
    return {QString::fromLatin1(name), label, width, alignment, true, {}};
}

db::FieldDisplay hidden(const QString& name)
{
    db::FieldDisplay display;
    display.fieldName = name;
    display.visible = false;
    return display;
}

const QString LaengeCaption = QStringLiteral("Länge");
const QString TypCaption = QStringLiteral("Typ");

std::vector<db::FieldDisplay> zStruktDisplay()
{
    std::vector<db::FieldDisplay> displays = {
        shown("Index", 4, QString(), Qt::AlignHCenter),
        shown("Feldname", 27),
        shown("Laenge", 5, LaengeCaption, Qt::AlignRight),
        shown("Typbezeichnung", 12, TypCaption),
    };
    // Typ and every option column after Zuordnung stay out of the grids.
    const db::FieldDefList fields = ZStruktFields();
    for (std::size_t i = 5; i < fields.size(); ++i)
        displays.push_back(hidden(fields[i].name));
    return displays;
}

std::vector<db::FieldDisplay> qStruktDisplay()
{
    return {
        shown("Feldname", 22),
        shown("Typbezeichnung", 12, TypCaption),
        hidden(QStringLiteral("Typ")),
        shown("Laenge", 5, LaengeCaption, Qt::AlignRight),
        hidden(QStringLiteral("NKommaStellen")),
    };
}

std::vector<db::FieldDisplay> impListDisplay()
{
    std::vector<db::FieldDisplay> displays;
    for (const db::FieldDef& field : ImpListFields()) {
        const bool inGrids = field.name == u"Bezeichnung" || field.name == u"Quellformat";
        const bool wide = field.name == u"Bezeichnung" || field.name == u"Quelldatei" || field.name == u"Zieldatei";
        db::FieldDisplay display;
        display.fieldName = field.name;
        display.width = wide ? 30 : 0;
        display.visible = inGrids;
        displays.push_back(display);
    }
    return displays;
}

}  // namespace

void PointWorkingTables(const EngineContext& engine, db::Table& tblZStrukt, db::Table& tblQStrukt,
                        db::Table& tblImpList)
{
    const QString& folder = engine.ProgramFolder();
    tblQStrukt.Close();
    tblZStrukt.Close();
    tblImpList.Close();
    tblQStrukt.setTableName(folder + QStruktFileName);
    tblZStrukt.setTableName(folder + ZStruktFileName);
    tblImpList.setTableName(folder + ImpListFileName);
    tblZStrukt.setFieldDisplays(zStruktDisplay());
    tblQStrukt.setFieldDisplays(qStruktDisplay());
    tblImpList.setFieldDisplays(impListDisplay());
}

QString BackupProposal(const QString& targetPath)
{
    const QFileInfo info(targetPath);
    const QString folder = info.path();
    return (folder.endsWith(u'/') ? folder : folder + u'/') + QStringLiteral("CP_") + info.fileName();
}

}  // namespace engine
