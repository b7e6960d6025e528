#include "TextPage.h"

#include "engine/PreviewGrid.h"
#include "platform/ScriptedUi.h"
#include "rtl/CodePages.h"
#include "rtl/Conversions.h"

#include <QImage>
#include <QScrollBar>
#include <gtest/gtest.h>
#include <set>

using namespace engine;
using Rows = std::vector<QStringList>;

namespace {

ColumnBoundaryList listOf(std::initializer_list<int> boundaries)
{
    ColumnBoundaryList list;
    for (int b : boundaries)
        TrennposHinzufuegen(list, b);
    return list;
}

std::set<int> boundariesOf(const ColumnBoundaryList& list)
{
    std::set<int> result;
    for (std::int16_t v : list.FixTrennPositionen)
        if (v >= 1)
            result.insert(v);
    return result;
}

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

class FixedWidthPage : public ::testing::Test {
protected:
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed{ui};
    TextPage page;
};

TEST_F(FixedWidthPage, CharacterGridShowsTwentyLinesOneColumnWiderThanTheFirst)
{
    QByteArray file = "  ABCDEFGH\r\n";  // blanks in front belong to the first field
    for (int i = 0; i < 30; ++i)
        file += "Zeile " + QByteArray::number(i) + "\r\n";
    page.setSource(file);
    FixLenZeichenRasterFuellen(page.controls);
    EXPECT_EQ(page.stgQuellDatFix.RowCount(), 20);
    EXPECT_EQ(page.stgQuellDatFix.ColCount(), 11);
    EXPECT_EQ(page.stgQuellDatFix.Cell(2, 0), "A");
    EXPECT_EQ(page.stgQuellDatFix.Cell(0, 1), "Z");
    EXPECT_EQ(page.stgQuellDatFix.Cell(7, 19), "8");  // "Zeile 18"
    EXPECT_EQ(page.stgQuellDatFix.columnWidth(3), 11);
}

TEST_F(FixedWidthPage, CharacterGridOfAHugeLineStopsAtTheLastPossibleBoundary)
{
    page.setSource(QByteArray(100000, 'x'));
    FixLenZeichenRasterFuellen(page.controls);
    EXPECT_EQ(page.stgQuellDatFix.ColCount(), CharacterGrid::MaxColumns);
    TrennposHinzufuegen(page.boundaries, CharacterGrid::MaxColumns - 1);
    EXPECT_EQ(TrennposSuchen(page.boundaries, 32767), 0);
}

// After a split the zeros stand in front of the boundaries; marks must stay movable and deletable either way back.
TEST_F(FixedWidthPage, BoundariesStayEditableAfterASplit)
{
    page.setSource("ABCDEFGHIJ\r\n");
    struct Road {
        const char* name;
        void (*back)(TextPage&);
    } const roads[] = {
        {"back from the column sheet", [](TextPage& p) { TrennposLeereMarkieren(p.boundaries); }},
        {"the grid filled anew", [](TextPage& p) { FixLenZeichenRasterFuellen(p.controls); }},
        {"loaded from a stored setting, then the grid",
         [](TextPage& p) {
             const QString stored = FixBreakText(p.boundaries);
             p.boundaries = ColumnBoundaryList();
             FixBreakLesen(stored, p.boundaries);
             PrepareSplit(p.boundaries);  // the loader's preview splits
             FixLenZeichenRasterFuellen(p.controls);
         }},
    };
    for (const Road& road : roads) {
        SCOPED_TRACE(road.name);
        page.boundaries = listOf({3, 7});
        FixLenZeichenRasterFuellen(page.controls);
        FixLenVorschauAufteilen(page.controls);
        road.back(page);
        ColumnBoundaryList& list = page.boundaries;
        // Every boundary lies below the count, and the slot at the count is free.
        for (int slot = list.FixTrennAnzahl; slot < BoundarySlotCount; ++slot)
            EXPECT_LT(list.FixTrennPositionen[static_cast<std::size_t>(slot)], 1) << slot;
        if (list.FixTrennAnzahl < BoundarySlotCount) {
            EXPECT_EQ(list.FixTrennPositionen[static_cast<std::size_t>(list.FixTrennAnzahl)], FreeSlot);
        }
        // Moved: the drag sets the slot's value.
        const int slot = TrennposSuchen(list, 3);
        ASSERT_GE(slot, 0);
        list.FixTrennPositionen[static_cast<std::size_t>(slot)] = 4;
        EXPECT_GE(TrennposEntfernen(list, 7), 0);
        TrennposHinzufuegen(list, 9);
        EXPECT_EQ(boundariesOf(list), (std::set<int>{4, 9}));
        EXPECT_GE(TrennposSuchen(list, 9), 0);
    }
}

TEST_F(FixedWidthPage, SplitPreview)
{
    struct Case {
        const char* name;
        QByteArray file;
        std::initializer_list<int> boundaries;
        bool namesInFirstLine;
        Rows rows;
    } const cases[] = {
        {"boundaries 3 and 7", "ABCDEFGHIJ\r\nABCD\r\n", {7, 3}, false,
         {{"FELD_1", "FELD_2", "FELD_3"}, {"ABC", "DEFG", "HIJ"}, {"ABC", "D", ""}}},
        {"names in the first line", "NR ORT\r\n1  Bonn\r\n", {3}, true, {{"NR", "ORT"}, {"1", "Bonn"}, {"", ""}}},
        {"no boundary: whole lines", "ABC DEF\r\nGHI\r\n", {}, false, {{"FELD_1"}, {"ABC DEF"}, {"GHI"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextPage p;
        p.setSource(c.file);
        p.boundaries = listOf(c.boundaries);
        p.cbxErsteZeile.setChecked(c.namesInFirstLine);
        FixLenVorschauAufteilen(p.controls);
        EXPECT_EQ(p.gridRows(), c.rows);
        EXPECT_FALSE(p.stgQuellDatVar.isHidden());
    }
}

TEST_F(FixedWidthPage, FileIntoTheSourceTable)
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
        TextPage p;
        const QByteArray file = c.dosToWin ? rtl::encode(QString::fromUtf8("Müller Straße\r\n"), rtl::CodePage::Oem850)
                                           : rtl::encode(QString::fromUtf8(c.file), rtl::CodePage::Windows1252);
        p.setSource(file);
        p.cbxDosToWin.setChecked(c.dosToWin);
        p.boundaries = listOf(c.boundaries);
        FixLenVorschauAufteilen(p.controls);
        importThroughStaging(p, true);
        const QString table = SourceTablePath(p.edtQuelle.text());
        EXPECT_EQ(TextPage::records(table), c.records);
        EXPECT_EQ(TextPage::fieldSizes(table), c.sizes);
    }
}

// A column left without a name would shift the values after it under the wrong names and lose the last column's:
// the reading refuses before it reads a line, whichever column it is.
TEST_F(FixedWidthPage, AColumnWithoutANameIsRefusedBeforeReading)
{
    for (int unnamed : {0, 1, 2}) {
        SCOPED_TRACE(unnamed);
        TextPage p;
        p.setSource("001Meier     Bonn\r\n002Schulz    Koeln\r\n");
        p.boundaries = listOf({3, 13});
        FixLenVorschauAufteilen(p.controls);
        grid::setCell(&p.stgQuellDatVar, unnamed, 0, QString());
        ZSPTabelleAnlegen(p.controls);
        try {
            FixLenDateiEinlesen(p.controls);
            ADD_FAILURE() << "read with a column without a name";
        } catch (const EColumnWithoutName& e) {
            EXPECT_EQ(e.message(), QString::fromUtf8("Bitte geben Sie eine Spaltenbezeichnung ein."));
        }
        EXPECT_TRUE(TextPage::records(StagingTablePath()).empty());
        EXPECT_FALSE(p.tblZSP.Active());
    }
}

namespace {

bool redAt(const QImage& image, int x)
{
    for (int y = 2; y < 30; ++y) {
        const QColor c = image.pixelColor(x, y);
        if (c.red() > 200 && c.green() < 60 && c.blue() < 60)
            return true;
    }
    return false;
}

}  // namespace

TEST_F(FixedWidthPage, MarksAreDrawnErasedAndMoveWithScrolling)
{
    page.setSource(QByteArray(200, 'x') + "\r\n" + QByteArray(200, 'y'));
    CharacterGrid& grid = page.stgQuellDatFix;
    grid.resize(300, 120);
    grid.show();
    FixLenZeichenRasterFuellen(page.controls);
    page.boundaries = listOf({3, 7});
    TrennlinienAlleZeichnen(page.controls);
    const int x3 = grid.markX(3);
    const int x7 = grid.markX(7);
    EXPECT_EQ(x7 - x3, 4 * CharacterGrid::ColumnWidth);
    QImage image = grid.viewport()->grab().toImage();
    EXPECT_TRUE(redAt(image, x3 - 1));
    EXPECT_TRUE(redAt(image, x7 - 1));
    EXPECT_FALSE(redAt(image, x3 + 5));

    // Erased in white, then removed: gone.
    TrennlinieZeichnen(page.controls, TrennposSuchen(page.boundaries, 7), clWhite);
    TrennposEntfernen(page.boundaries, 7);
    image = grid.viewport()->grab().toImage();
    EXPECT_FALSE(redAt(image, x7 - 1));
    EXPECT_TRUE(redAt(image, x3 - 1));

    // Scrolled two columns on: the mark moves with its column; scrolled beyond it: none shows.
    grid.horizontalScrollBar()->setValue(2);
    EXPECT_EQ(grid.markX(3), x3 - 2 * CharacterGrid::ColumnWidth);
    image = grid.viewport()->grab().toImage();
    EXPECT_TRUE(redAt(image, grid.markX(3) - 1));
    grid.horizontalScrollBar()->setValue(10);
    EXPECT_EQ(grid.markX(3), -1);
    image = grid.viewport()->grab().toImage();
    for (int x = 0; x < image.width(); ++x)
        ASSERT_FALSE(redAt(image, x)) << x;

    // The slots in use only: a slot beyond the count draws nothing.
    grid.horizontalScrollBar()->setValue(0);
    page.boundaries.FixTrennPositionen[50] = 20;
    TrennlinienNeuZeichnen(page.controls);
    EXPECT_EQ(grid.marks(), (std::set<int>{3}));
    TrennlinienAlleZeichnen(page.controls);
    EXPECT_EQ(grid.marks(), (std::set<int>{3, 20}));
}
