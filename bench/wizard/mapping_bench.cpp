// The mapping page on a source and a target of 255 fields each, offscreen: moving the target grid from row to row
// (the options panel refreshed, both grids painted), and the automatic mapping next to opening the page (the target
// page's forward step, which reads both structures and maps them).
//
// The figures after the table of runs are the goals:
//   - one move, panel and grids painted, within a screen refresh (16 ms);
//   - the automatic mapping below 10 % of the time to open the page.

#include "db/Table.h"
#include "ui_frmImport1.h"
#include "wizard/ProgramContext.h"
#include "wizard/frmImport1.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int kFields = 255;

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

std::map<std::string, double> milliseconds;

// 255 fields of the kinds a mapping meets, the first one the key; the target has the same names in other letter
// case, so that every row is mapped.
QString makeTable(const QString& name, bool upper)
{
    const QString path = QDir(folder().path()).filePath(name);
    db::Table table;
    table.setTableName(path);
    db::FieldDefList fields;
    const db::FieldType kinds[] = {db::FieldType::ftString, db::FieldType::ftFloat, db::FieldType::ftInteger,
                                   db::FieldType::ftDate};
    for (int i = 0; i < kFields; ++i) {
        QString fieldName = QStringLiteral("Feld%1").arg(i);
        if (upper)
            fieldName = fieldName.toUpper();
        const db::FieldType kind = i == 0 ? db::FieldType::ftInteger : kinds[i % 4];
        fields.push_back({fieldName, kind, kind == db::FieldType::ftString ? 20 : 0, 0, false});
    }
    table.FieldDefs().assign(fields, 1);
    table.CreateTable();
    return path;
}

// The main window on the mapping page of a new setting.
struct Page {
    wizard::ProgramContext context;
    std::unique_ptr<wizard::TfrmImport1> form;
    double openMs = 0;

    Page()
    {
        const QString program = folder().path() + QStringLiteral("/program/");
        QDir().mkpath(program);
        const QDir built(QStringLiteral(IMPORT_PROGRAM_DIR));
        for (const QString& file : built.entryList({"*.DB", "*.MB", "*.PX"}, QDir::Files)) {
            QFile::remove(program + file);
            QFile::copy(built.filePath(file), program + file);
        }
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder().path() + QStringLiteral("/config"));
        context = wizard::ProgramContext::forFolder(program);
        form = std::make_unique<wizard::TfrmImport1>(context);
        form->resize(900, 700);
        form->show();
        QApplication::processEvents();
        Ui::TfrmImport1& ui = *form->ui;
        wizard::SetChecked(ui.rbtNeueImport, true);
        const QString source = QDir(folder().path()).filePath(QStringLiteral("Quelle.DB"));
        const QString target = QDir(folder().path()).filePath(QStringLiteral("Ziel.DB"));
        form->tblQuelle.Close();
        form->tblQuelle.setTableName(source);
        form->tblQuelle.Open();
        ui.edtQuelle->setText(source);
        ui.edtZiel->setText(target);
        QElapsedTimer timer;
        timer.start();
        form->btnWeiter3Click();
        QApplication::processEvents();
        openMs = timer.nsecsElapsed() / 1e6;
    }
};

void BM_OpenPage(benchmark::State& state)
{
    for (auto _ : state) {
        Page page;
        state.SetIterationTime(page.openMs / 1000);
        milliseconds["open"] = page.openMs;
    }
}

void BM_AutoZuordnung(benchmark::State& state)
{
    Page page;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        page.form->AutoZuordnung();
        const double ms = timer.nsecsElapsed() / 1e6;
        state.SetIterationTime(ms / 1000);
        milliseconds["auto"] = ms;
    }
}

void BM_MoveRow(benchmark::State& state)
{
    Page page;
    Ui::TfrmImport1& ui = *page.form->ui;
    page.form->btnOptionenClick();
    page.form->activateWindow();
    (void)QTest::qWaitForWindowActive(page.form.get());
    ui.dbgStruktZiel->setFocus();
    QApplication::processEvents();
    double total = 0;
    int moves = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        // Down to the last row and back to the first, key by key, each move painted before the next.
        const bool down = (moves / (kFields - 1)) % 2 == 0;
        QTest::keyClick(ui.dbgStruktZiel, down ? Qt::Key_Down : Qt::Key_Up);
        ui.dbgStruktZiel->viewport()->repaint();
        ui.dbgStruktQuelle->viewport()->repaint();
        ui.tpcOptionen->repaint();
        const double ms = timer.nsecsElapsed() / 1e6;
        state.SetIterationTime(ms / 1000);
        total += ms;
        ++moves;
    }
    milliseconds["move"] = total / std::max(1, moves);
    // What the moves ended on, to be sure the panel followed them.
    const QLabel* heading = ui.tpcOptionen->currentWidget()->findChild<QLabel*>();
    std::printf("after %d moves: row %d, panel %s\n", moves, page.form->tblZStrukt.RecNo(),
                heading ? qPrintable(heading->text()) : "-");
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    makeTable(QStringLiteral("Quelle.DB"), false);
    makeTable(QStringLiteral("Ziel.DB"), true);
    benchmark::RegisterBenchmark("mapping/open-page/255x255", BM_OpenPage)
        ->Iterations(3)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("mapping/auto/255x255", BM_AutoZuordnung)
        ->Iterations(3)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("mapping/move-row/255", BM_MoveRow)
        ->Iterations(500)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const double open = milliseconds["open"];
    const double automatic = milliseconds["auto"];
    std::printf("\nMoving one row (panel and both grids painted): %.2f ms (goal: 16 ms)\n", milliseconds["move"]);
    std::printf("Opening the page: %.1f ms; the automatic mapping: %.1f ms = %.1f %% of it (goal: below 10 %%)\n", open,
                automatic, open > 0 ? automatic / open * 100 : 0.0);
    return 0;
}
