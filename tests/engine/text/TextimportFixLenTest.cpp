#include "TextRoad.h"
#include "support/TextSamples.h"

#include "rtl/CodePages.h"
#include "rtl/Conversions.h"

#include <gtest/gtest.h>
#include <set>

using namespace engine;
using namespace samples;
using Rows = std::vector<QStringList>;

namespace {

QString repeated(const char* piece, int times)
{
    QString text;
    for (int i = 0; i < times; ++i)
        text += QString::fromUtf8(piece);
    return text;
}

}  // namespace

TEST(ColumnBoundaryList, AddingAndRemoving)
{
    ColumnBoundaryList list = listOf({3, 7});
    TrennposHinzufuegen(list, 3);  // there already
    EXPECT_EQ(list.FixTrennAnzahl, 2);
    EXPECT_EQ(TrennposSuchen(list, 7), 1);
    EXPECT_EQ(TrennposSuchenAndere(list, 7, 1), -1);
    EXPECT_EQ(TrennposEntfernen(list, 5), -1);
    EXPECT_EQ(TrennposEntfernen(list, 3), 0);
    EXPECT_EQ(list.FixTrennPositionen[0], FreeSlot);
    EXPECT_EQ(TrennposSuchen(list, 3), -1);
    EXPECT_EQ(ErsteTrennpos(list), 1);
}

TEST(ColumnBoundaryList, AHundredSlots)
{
    ColumnBoundaryList full;
    for (int b = 1; b <= 100; ++b)
        TrennposHinzufuegen(full, b);
    EXPECT_EQ(full.FixTrennAnzahl, 100);
    TrennposHinzufuegen(full, 200);  // no slot left
    EXPECT_EQ(TrennposSuchen(full, 200), -1);

    // Slots freed in the middle of a full list: the next boundary compacts it first.
    TrennposEntfernen(full, 10);
    TrennposEntfernen(full, 50);
    TrennposHinzufuegen(full, 200);
    EXPECT_EQ(full.FixTrennAnzahl, 99);
    EXPECT_EQ(full.FixTrennPositionen[98], 200);
    EXPECT_EQ(full.FixTrennPositionen[99], FreeSlot);
    EXPECT_EQ(full.FixTrennPositionen[9], 11);  // order kept
    EXPECT_EQ(TrennposSuchen(full, 200), 98);
}

TEST(ColumnBoundaryList, SortingIsSignedAndCompactingKeepsOrder)
{
    BoundarySlots positions;
    positions.fill(FreeSlot);
    const std::int16_t values[] = {30, 0, 7, -1, 12, 3, 0};
    std::copy(std::begin(values), std::end(values), positions.begin());
    BoundarySlots compacted = positions;
    EXPECT_EQ(TrennposVerdichten(compacted, 99), 6);
    EXPECT_EQ((std::vector<int>(compacted.begin(), compacted.begin() + 7)), (std::vector<int>{30, 0, 7, 12, 3, 0, -1}));
    TrennposSortieren(positions, 99, 0, 6);
    EXPECT_EQ((std::vector<int>(positions.begin(), positions.begin() + 7)), (std::vector<int>{-1, 0, 0, 3, 7, 12, 30}));
}

TEST(FixedWidth, CuttingALine)
{
    struct Case {
        const char* name;
        std::initializer_list<int> boundaries;
        QString line;
        QStringList fields;
    } const cases[] = {
        {"boundaries 3 and 7", {3, 7}, "ABCDEFGHIJ", {"ABC", "DEFG", "HIJ"}},
        {"the same entered as 7 then 3", {7, 3}, "ABCDEFGHIJ", {"ABC", "DEFG", "HIJ"}},
        {"a line shorter than a boundary", {3, 7}, "ABCD", {"ABC", "D", ""}},
        {"an empty line", {3, 7}, "", {"", "", ""}},
        {"fields are trimmed", {5}, "  AB  CD", {"AB", "CD"}},
        {"a boundary at the end of the line", {4}, "ABCD", {"ABCD", ""}},
        {"a hundred boundaries give 101 fields", {}, repeated("x", 101), QStringList(101, "x")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ColumnBoundaryList list = listOf(c.boundaries);
        if (c.boundaries.size() == 0) {
            for (int b = 1; b <= 100; ++b)
                TrennposHinzufuegen(list, b);
        }
        const int first = PrepareSplit(list);
        EXPECT_EQ(CutLine(c.line, list.FixTrennPositionen, first, false), c.fields);
    }
}

TEST(FixedWidth, StoredFormBeforeAndAfterASplit)
{
    ColumnBoundaryList list = listOf({3, 7});
    const QString before = FixBreakText(list);
    EXPECT_EQ(before, "3;7;" + repeated("-1;", 98));
    PrepareSplit(list);
    const QString after = FixBreakText(list);
    EXPECT_EQ(after, repeated("0;", 98) + "3;7;");
    for (const QString& stored : {before, after}) {
        ColumnBoundaryList loaded;
        FixBreakLesen(stored, loaded);
        EXPECT_EQ(boundariesOf(loaded), (std::set<int>{3, 7}));
        EXPECT_EQ(TrennposSuchen(loaded, 3), 0);
        EXPECT_EQ(TrennposSuchen(loaded, 7), 1);
    }
}

TEST(FixedWidth, LoadingTheStoredForm)
{
    ColumnBoundaryList list;
    FixBreakLesen("12;-1;0;30;", list);
    EXPECT_EQ((std::vector<int>(list.FixTrennPositionen.begin(), list.FixTrennPositionen.begin() + 4)),
              (std::vector<int>{12, -1, 30, -1}));
    EXPECT_EQ(list.FixTrennAnzahl, 3);

    const ColumnBoundaryList kept = listOf({5});
    struct Bad {
        const char* name;
        QString text;
        bool range;
    } const bad[] = {
        {"no number", "12;x;", false},
        {"an empty value", "12;;", false},
        {"beyond 16 bits", "40000;", true},
        {"a 101st value", repeated("5;", 101), true},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.name);
        ColumnBoundaryList target = kept;
        if (b.range) {
            EXPECT_THROW(FixBreakLesen(b.text, target), ERangeError);
        } else {
            EXPECT_THROW(FixBreakLesen(b.text, target), rtl::EConvertError);
        }
        EXPECT_EQ(target.FixTrennPositionen, kept.FixTrennPositionen);
    }
}

TEST(FixedWidth, FileIntoTheSourceTable)
{
    struct Case {
        const char* name;
        QByteArray file;
        std::initializer_list<int> boundaries;
        bool dosToWin;
        Rows records;
        std::vector<int> sizes;
    } const cases[] = {
        {"cut, trimmed, empty lines too", "001Meier     Bonn\r\n\r\n002Schulz    Köln  \r\n", {3, 13}, false,
         {{"001", "Meier", "Bonn"}, {"", "", ""}, {"002", "Schulz", QString::fromUtf8("K\xc3\xb6ln")}}, {3, 6, 4}},
        {"umlauts of a DOS file", "", {6}, true, {{QString::fromUtf8("Müller"), QString::fromUtf8("Straße")}}, {6, 6}},
        {"no boundary: whole lines", "eins\r\nzwei drei\r\n", {}, false, {{"eins"}, {"zwei drei"}}, {9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextRoad road;
        const QByteArray file = c.dosToWin ? rtl::encode(QString::fromUtf8("Müller Straße\r\n"), rtl::CodePage::Oem850)
                                           : rtl::encode(QString::fromUtf8(c.file), rtl::CodePage::Windows1252);
        const QString path = road.source(file);
        road.importFixedWidth(path, listOf(c.boundaries), c.dosToWin);
        const QString table = road.sourceTable(path);
        EXPECT_EQ(TextRoad::records(table), c.records);
        EXPECT_EQ(TextRoad::fieldSizes(table), c.sizes);
    }
}

// A column left without a name would shift the values after it under the wrong names and lose the last column's:
// the reading refuses before it reads a line, whichever column it is.
TEST(FixedWidth, AColumnWithoutANameIsRefusedBeforeReading)
{
    for (int unnamed : {0, 1, 2}) {
        SCOPED_TRACE(unnamed);
        TextRoad road;
        const QString path = road.source("001Meier     Bonn\r\n002Schulz    Koeln\r\n");
        ColumnBoundaryList boundaries = listOf({3, 13});
        const int first = PrepareSplit(boundaries);
        QStringList headers = ColumnHeaders(3, true, QString());
        headers[unnamed].clear();
        CreateStagingTable(road.tblZSP, road.staged, road.stagingTable(), headers);
        TextReadProgress silent;
        try {
            ReadFixedWidthFile(path, road.tblZSP, road.staged, boundaries.FixTrennPositionen, first, false, false,
                               silent);
            ADD_FAILURE() << "read with a column without a name";
        } catch (const EColumnWithoutName& e) {
            EXPECT_EQ(e.message(), QString::fromUtf8("Bitte geben Sie eine Spaltenbezeichnung ein."));
        }
        EXPECT_TRUE(TextRoad::records(road.stagingTable()).empty());
        EXPECT_FALSE(road.tblZSP.Active());
    }
}
