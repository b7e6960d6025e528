#include "TextPage.h"
#include "support/TextSamples.h"

#include "platform/ScriptedUi.h"

#include <QImage>
#include <QScrollBar>
#include <gtest/gtest.h>
#include <set>

using namespace engine;
using namespace samples;
using namespace wizard;
using Rows = std::vector<QStringList>;

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
