#include "support/FieldDefs.h"
#include "TestTables.h"

#include "MemoryStorage.h"

#include "db/DataSource.h"
#include "db/Field.h"
#include "db/TableModel.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace testdb;
using db::Table;
using db::TableModel;

namespace {

using testsupport::def;

const std::vector<std::pair<int, QString>> kAbc = {{1, "A"}, {2, "B"}, {3, "C"}};

// A table shown in a real table view through a data source, the model and the selection link.
struct Grid {
    explicit Grid(Table& table) : model(&source)
    {
        source.setDataSet(&table);
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        view.setModel(&model);
        link = std::make_unique<db::TableSelectionLink>(&model, view.selectionModel());
        view.resize(400, 300);
        view.show();
        QApplication::processEvents();
    }

    QString cell(int row, int column) const { return model.data(model.index(row, column)).toString(); }
    QStringList column(int column) const
    {
        QStringList result;
        for (int row = 0; row < model.rowCount(); ++row)
            result << cell(row, column);
        return result;
    }
    // The view's current row when it is also the one selected row; -1 without, -2 when they disagree.
    int selectedRow() const
    {
        const QModelIndexList rows = view.selectionModel()->selectedRows();
        const int current = view.currentIndex().row();
        if (rows.isEmpty() && current < 0)
            return -1;
        return rows.size() == 1 && rows.front().row() == current ? current : -2;
    }
    bool rowVisible(int row) const
    {
        return view.viewport()->rect().intersects(view.visualRect(model.index(row, 0)));
    }

    db::DataSource source;
    TableModel model;
    QTableView view;
    std::unique_ptr<db::TableSelectionLink> link;
};

// Runs the posted events and returns the code of the engine error they raised, or 0.
int deferredErrorCode()
{
    return engineErrorOf([] { QApplication::processEvents(); });
}

}  // namespace

TEST_P(StorageTest, ModelShowsTheVisibleFieldsWithLabelsAndWidths)
{
    auto table = makeTableWith(QStringLiteral("Cols"), {def("Nr", db::FieldType::ftInteger),
                                                        def("Name", db::FieldType::ftString, 20),
                                                        def("Ort", db::FieldType::ftString, 12)});
    for (const auto& [nr, name] : kAbc) {
        table->Append();
        table->Fields(0)->setAsInteger(nr);
        table->Fields(1)->setAsString(name);
        table->Fields(2)->setAsString(QStringLiteral("Ort ") + name);
        table->Post();
    }
    table->FieldByName("Ort")->setVisible(false);
    table->FieldByName("Name")->setDisplayLabel(QStringLiteral("Kunde"));
    table->FieldByName("Nr")->setDisplayWidth(4);
    Grid grid(*table);
    TableModel& model = grid.model;

    struct Header {
        QString label;
        int width;
        Qt::Alignment alignment;
    };
    const std::vector<Header> headers = {{"Nr", 4, Qt::AlignRight}, {"Kunde", 20, Qt::AlignLeft}};
    ASSERT_EQ(model.columnCount(), 2);
    for (int c = 0; c < 2; ++c) {
        SCOPED_TRACE(c);
        // dBase keeps field names in capitals
        EXPECT_EQ(model.headerData(c, Qt::Horizontal).toString().compare(headers[c].label, Qt::CaseInsensitive), 0);
        EXPECT_EQ(model.headerData(c, Qt::Horizontal, TableModel::DisplayWidthRole).toInt(), headers[c].width);
        const auto alignment = model.data(model.index(0, c), Qt::TextAlignmentRole).value<Qt::Alignment>();
        EXPECT_EQ(alignment & Qt::AlignHorizontal_Mask, headers[c].alignment);
    }
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(grid.column(0), QStringList({"1", "2", "3"}));
    EXPECT_EQ(grid.column(1), QStringList({"A", "B", "C"}));

    table->FieldByName("Ort")->setVisible(true);
    model.refresh();
    ASSERT_EQ(model.columnCount(), 3);
    EXPECT_EQ(grid.cell(2, 2), "Ort C");

    // Closed, or a switched-off data source: an empty grid; open again: all back.
    table->Close();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 0);
    table->Open();
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.columnCount(), 3);
    grid.source.setEnabled(false);
    EXPECT_EQ(model.rowCount(), 0);
    grid.source.setEnabled(true);
    EXPECT_EQ(grid.column(1), QStringList({"A", "B", "C"}));
}

TEST_P(StorageTest, SelectionFollowsTheCursorAndTheCursorTheSelection)
{
    std::vector<std::pair<int, QString>> rows;
    for (int nr = 1; nr <= 120; ++nr)
        rows.emplace_back(nr, QStringLiteral("N%1").arg(nr));
    auto table = makeTable(QStringLiteral("Sel"), false, rows);
    Grid grid(*table);
    EXPECT_EQ(grid.selectedRow(), 0);

    table->Next();
    table->Next();
    EXPECT_EQ(grid.selectedRow(), 2);
    EXPECT_EQ(grid.view.currentIndex().row(), 2);

    // The view scrolls with the cursor.
    table->Last();
    EXPECT_EQ(grid.selectedRow(), 119);
    EXPECT_TRUE(grid.rowVisible(119));
    EXPECT_FALSE(grid.rowVisible(0));
    table->First();
    EXPECT_TRUE(grid.rowVisible(0));

    grid.view.selectRow(4);
    EXPECT_EQ(current(*table), "N5");
    const QRect cell = grid.view.visualRect(grid.model.index(1, 1));
    QTest::mouseClick(grid.view.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(current(*table), "N2");
    EXPECT_EQ(grid.selectedRow(), 1);

    // While the table's controls are disabled the grid stays; afterwards it shows where the cursor is.
    table->DisableControls();
    table->setRecNo(50);
    table->Edit();
    table->FieldByName("Name")->setAsString(QStringLiteral("Z"));
    EXPECT_EQ(grid.selectedRow(), 1);
    EXPECT_EQ(grid.cell(1, 1), "N2");  // the row the grid still has as current shows its own record
    table->Post();
    table->EnableControls();
    EXPECT_EQ(grid.selectedRow(), 49);
    EXPECT_EQ(grid.cell(49, 1), "Z");
}

TEST_P(StorageTest, RowsAppearAndVanishWithTheTable)
{
    auto table = makeTable(QStringLiteral("Rows"), false, kAbc);
    Grid grid(*table);
    TableModel& model = grid.model;
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    table->Append();
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(inserted.count(), 1);  // a new row, not a new model: the view keeps its place
    EXPECT_EQ(grid.selectedRow(), 3);
    table->FieldByName("Nr")->setAsInteger(4);
    table->FieldByName("Name")->setAsString(QStringLiteral("X"));
    EXPECT_EQ(grid.cell(3, 1), "X");  // the pending record shows what was typed
    table->Post();
    EXPECT_EQ(grid.column(1), QStringList({"A", "B", "C", "X"}));
    EXPECT_EQ(grid.selectedRow(), 3);

    table->First();
    table->Next();
    table->Insert();
    EXPECT_EQ(model.rowCount(), 5);
    // Shown where it was started, also in a kind that will store it at the end.
    EXPECT_EQ(grid.selectedRow(), 1);
    EXPECT_EQ(grid.cell(1, 1), "");
    EXPECT_EQ(grid.cell(2, 1), "B");
    table->Cancel();
    EXPECT_EQ(grid.column(1), QStringList({"A", "B", "C", "X"}));
    EXPECT_EQ(grid.selectedRow(), 1);

    table->Last();
    table->Delete();
    EXPECT_EQ(grid.column(1), QStringList({"A", "B", "C"}));
    EXPECT_EQ(grid.selectedRow(), 2);
    EXPECT_EQ(resets.count(), 1);

    table->setFilter(QStringLiteral("Nr <> 2"));
    table->setFiltered(true);
    EXPECT_EQ(grid.column(1), QStringList({"A", "C"}));
    EXPECT_EQ(grid.selectedRow(), 0);
    table->Last();
    table->Edit();
    table->FieldByName("Nr")->setAsInteger(2);
    table->Post();  // out of the filter: the row goes
    EXPECT_EQ(grid.column(1), QStringList({"A"}));
    EXPECT_EQ(grid.selectedRow(), 0);
    table->setFiltered(false);
    EXPECT_EQ(model.rowCount(), 3);
}

TEST_P(StorageTest, EditingThroughTheModelWritesTheCurrentRecordAndPostsOnRowChange)
{
    const bool keyed = GetParam().keyed;
    auto table = makeTable(QStringLiteral("Edit"), keyed, kAbc);
    Grid grid(*table);
    TableModel& model = grid.model;
    ASSERT_TRUE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);

    EXPECT_TRUE(model.setData(model.index(1, 1), QStringLiteral("Q")));
    EXPECT_EQ(table->State(), db::dsEdit);
    EXPECT_EQ(table->RecNo(), 2);
    EXPECT_EQ(grid.selectedRow(), 1);
    EXPECT_EQ(grid.cell(1, 1), "Q");
    grid.view.selectRow(2);
    EXPECT_EQ(table->State(), db::dsBrowse);
    EXPECT_EQ(current(*table), "C");
    EXPECT_EQ(grid.column(1), QStringList({"A", "Q", "C"}));

    // An unchanged text does not start editing.
    EXPECT_TRUE(model.setData(model.index(0, 1), QStringLiteral("A")));
    EXPECT_EQ(table->State(), db::dsBrowse);
    EXPECT_EQ(grid.selectedRow(), 0);

    // A text the field refuses: setData fails and the error comes from the event loop.
    EXPECT_FALSE(model.setData(model.index(2, 0), QStringLiteral("drei")));
    EXPECT_EQ(deferredErrorCode(), db::ErrorCode::InvalidValue);
    table->Cancel();

    // A pending new record is posted when another row is chosen; the chosen record is the one the cursor ends on
    // although the post put a record before it.
    table->First();
    table->Insert();
    table->FieldByName("Nr")->setAsInteger(0);
    table->FieldByName("Name")->setAsString(QStringLiteral("N"));
    grid.view.selectRow(3);
    QApplication::processEvents();
    EXPECT_EQ(current(*table), "C");
    EXPECT_EQ(grid.selectedRow(), table->RecNo() - 1);
    EXPECT_EQ(model.rowCount(), 4);

    if (keyed) {
        // A post the table refuses keeps the cursor and the selection on the pending record.
        table->First();
        EXPECT_TRUE(model.setData(model.index(0, 0), QStringLiteral("3")));
        grid.view.selectRow(2);
        EXPECT_EQ(deferredErrorCode(), db::ErrorCode::KeyViolation);
        QApplication::processEvents();
        EXPECT_EQ(table->State(), db::dsEdit);
        EXPECT_EQ(grid.selectedRow(), 0);
        table->Cancel();
    }
}

TEST(TableModelSize, AGridOverManyRecordsReadsOnlyWhatItShows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Gross.MEM"));
    memoryFormat().create(path, {def("Nr", db::FieldType::ftInteger), def("Name", db::FieldType::ftString, 20)}, 0);
    auto data = memoryFormat().data(path);
    for (int nr = 0; nr < 100000; ++nr)
        data->rows.push_back({nr, QStringLiteral("N%1").arg(nr)});
    Table table;
    table.setFormat(&memoryFormat());
    table.setTableName(path);
    table.Open();
    Grid grid(table);
    EXPECT_EQ(grid.model.rowCount(), 100000);
    table.Last();
    QApplication::processEvents();
    EXPECT_TRUE(grid.rowVisible(99999));
    EXPECT_EQ(grid.cell(99998, 1), "N99998");
    EXPECT_LT(data->reads, 1000);
    memoryFormat().remove(path);
}

INSTANTIATE_TEST_SUITE_P(AllStorages, StorageTest, testing::ValuesIn(storageKinds()), kindName);
