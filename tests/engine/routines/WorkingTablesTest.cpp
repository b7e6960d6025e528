#include "engine/EngineContext.h"
#include "engine/WorkingTables.h"

#include "db/Field.h"
#include "db/DataSource.h"
#include "db/Table.h"
#include "db/TableModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace engine;

namespace {

struct Shipped {
    QString file;
    db::FieldDefList expected;
    int keyFields;
};

}  // namespace

// The build writes the working tables into the program folder; they must hold exactly the columns the program
// reads and writes, with the key on ImpList only.
TEST(WorkingTables, ShippedTablesHaveTheirColumnsTypesSizesAndKeys)
{
    const Shipped tables[] = {
        {ZStruktFileName, ZStruktFields(), 0},
        {QStruktFileName, QStruktFields(), 0},
        {ImpListFileName, ImpListFields(), ImpListKeyFieldCount},
    };
    for (const Shipped& t : tables) {
        SCOPED_TRACE(t.file.toStdString());
        db::Table table;
        table.setTableName(QDir(QStringLiteral(IMPORT_PROGRAM_DIR)).filePath(t.file));
        ASSERT_NO_THROW(table.Open());
        ASSERT_EQ(table.FieldCount(), static_cast<int>(t.expected.size()));
        EXPECT_EQ(table.IndexFieldCount(), t.keyFields);
        for (int i = 0; i < table.FieldCount(); ++i) {
            const db::Field* f = table.Fields(i);
            const db::FieldDef& want = t.expected[static_cast<std::size_t>(i)];
            EXPECT_EQ(f->FieldName(), want.name);
            EXPECT_EQ(f->DataType(), want.type) << want.name.toStdString();
            if (want.type == db::FieldType::ftString || want.type == db::FieldType::ftMemo) {
                EXPECT_EQ(f->Size(), want.size) << want.name.toStdString();
            }
        }
    }
}

// What the wizard's grids show of the working tables: captions, widths, alignment and the hidden columns, declared
// where the tables are pointed at the program folder and kept when the routines close and open them again.
TEST(WorkingTables, GridsShowTheDeclaredColumns)
{
    QTemporaryDir program;
    for (const QString& file : {ZStruktFileName, QStruktFileName, ImpListFileName}) {
        for (const QString& extension : {QStringLiteral(".DB"), QStringLiteral(".MB")}) {
            const QString name = QFileInfo(file).completeBaseName() + extension;
            const QString shipped = QDir(QStringLiteral(IMPORT_PROGRAM_DIR)).filePath(name);
            if (QFileInfo::exists(shipped)) {
                ASSERT_TRUE(QFile::copy(shipped, QDir(program.path()).filePath(name)));
            }
        }
    }
    const EngineContext context(program.path());
    db::Table tblZStrukt, tblQStrukt, tblImpList;
    PointWorkingTables(context, tblZStrukt, tblQStrukt, tblImpList);

    struct Column {
        QString caption;
        int width;
        Qt::Alignment alignment;
    };
    const QString typ = QStringLiteral("Typ");
    const QString laenge = QString::fromUtf8("Länge");
    const struct Case {
        const char* name;
        db::Table* table;
        std::vector<Column> columns;
    } cases[] = {
        {"ZStrukt", &tblZStrukt,
         {{"Index", 4, Qt::AlignHCenter}, {"Feldname", 27, Qt::AlignLeft}, {laenge, 5, Qt::AlignRight},
          {typ, 12, Qt::AlignLeft}, {"Zuordnung", 255, Qt::AlignLeft}}},
        {"QStrukt", &tblQStrukt,
         {{"Index", 1, Qt::AlignLeft}, {"Feldname", 22, Qt::AlignLeft}, {typ, 12, Qt::AlignLeft},
          {laenge, 5, Qt::AlignRight}}},
        {"ImpList", &tblImpList, {{"Bezeichnung", 30, Qt::AlignLeft}, {"Quellformat", 10, Qt::AlignLeft}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db::DataSource source;
        source.setDataSet(c.table);
        db::TableModel model(&source);
        // Opened, closed and opened again, as the routines that fill the tables do.
        for (int round = 0; round < 2; ++round) {
            c.table->Open();
            ASSERT_EQ(model.columnCount(), static_cast<int>(c.columns.size()));
            for (int i = 0; i < model.columnCount(); ++i) {
                SCOPED_TRACE(i);
                const Column& want = c.columns[static_cast<std::size_t>(i)];
                EXPECT_EQ(model.headerData(i, Qt::Horizontal).toString(), want.caption);
                EXPECT_EQ(model.headerData(i, Qt::Horizontal, db::TableModel::DisplayWidthRole).toInt(), want.width);
                const auto alignment = model.headerData(i, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>();
                EXPECT_EQ(alignment & Qt::AlignHorizontal_Mask, want.alignment);
            }
            c.table->Close();
        }
    }
}

TEST(WorkingTables, TypeNamesAndLengthsPerTypeCode)
{
    struct Case {
        int code;
        int dataSize;
        const char* zName;
        const char* qName;
        const char* laenge;
    } const cases[] = {
        {0, 0, "unbekannt", "unbekannt", "-"},
        {1, 41, "Zeichen", "Zeichen", "40"},
        {2, 2, "Ganzzahl, kurz", "Ganzzahl kurz", "2"},
        {3, 4, "Ganzzahl, lang", "Ganzzahl lang", "4"},
        {8, 34, "BCD", "BCD", "34"},
        {9, 4, "Datum", "Datum", "4"},
        {13, 12, "var. Byte(bin)", "var. Byte(bin)", "12"},
        {16, 0, "Memo", "Memo", "-"},
        {17, 0, "BitMap", "BitMap", "0"},
        {18, 0, "format. Memo", "format. Memo", "-"},
        {21, 0, "typ. Binär", "typ. Binär", "0"},
        {22, 0, "Oracle TParam", "Oracle TParam", "0"},
        {23, 8, "unbekannt", "unbekannt", "-"},
        {40, 8, "unbekannt", "unbekannt", "-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(Typbezeichnung(c.code, TypeNameTable::ZStrukt), QString::fromUtf8(c.zName));
        EXPECT_EQ(Typbezeichnung(c.code, TypeNameTable::QStrukt), QString::fromUtf8(c.qName));
        EXPECT_EQ(LaengeText(c.code, c.dataSize), QString::fromUtf8(c.laenge));
    }
}

TEST(WorkingTables, SettingBaseNamesNeverLeaveTheProgramFolder)
{
    for (const char* good : {"7", "12", "_15", "KUNDEN1", "a.b"})
        EXPECT_TRUE(IsSafeBaseName(QString::fromUtf8(good))) << good;
    for (const char* bad : {"", " ", "..", "../7", "7/..", "/etc/passwd", "sub/7", "..\\7", "*", "7?", "C:7"})
        EXPECT_FALSE(IsSafeBaseName(QString::fromUtf8(bad))) << bad;
}

TEST(WorkingTables, BackupProposalPutsCpInFrontOfTheFileName)
{
    EXPECT_EQ(BackupProposal("/daten/Kunden.DB"), "/daten/CP_Kunden.DB");
    EXPECT_EQ(BackupProposal("/Kunden.dbf"), "/CP_Kunden.dbf");
}

TEST(WorkingTables, TempFolderLiesInTheProgramFolder)
{
    const EngineContext context("/prog/import");
    EXPECT_EQ(context.ProgramFolder(), "/prog/import/");
    EXPECT_EQ(context.TempFolder(), "/prog/import/Temp/");
}
