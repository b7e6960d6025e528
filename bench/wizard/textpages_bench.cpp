// The text layout pages on a separated file of about 100 MB (1,000,000 lines, Windows-1252 with umlauts), offscreen:
//   - the target page's step to the first sheet (the file view indexes the file, the first two lines choose the
//     layout, the sheet is painted) next to one reading pass of the engine's line reader over the same file;
//   - the peak memory of a process that takes that step, next to one that shows an empty view, and next to the way
//     the page took it before (the whole file as one text in a plain text editor); and of the whole program walked
//     from its start page through the source and target pages to the separated preview, next to the program
//     merely started;
//   - a page of scrolling the file view at the file's end, a scroll of the character grid and a mark moved on it,
//     each repainted;
//   - the reading from the last sheet to the mapping page through the page's routines next to the engine's own
//     text road (staging table, reading, sizing) on the same file.
//
// The figures after the table of runs are the goals.

#include "db/BatchMove.h"
#include "db/Table.h"
#include "engine/EngineContext.h"
#include "engine/TextReadProgress.h"
#include "engine/TextScanner.h"
#include "engine/Textimport.h"
#include "db/Field.h"
#include "platform/ScriptedUi.h"
#include "rtl/CodePages.h"
#include "../support/BenchData.h"
#include "ui_frmImport1.h"
#include "wizard/ImportProgram.h"
#include "wizard/frmImport1.h"
#include "wizard/text/CharacterGrid.h"
#include "wizard/text/TextFileView.h"
#include "wizard/text/TextimportFixLenPage.h"
#include "wizard/text/TextimportPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kLines = 1000000;
constexpr int kRounds = 3;

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString filePath()
{
    return QDir(folder().path()).filePath(QStringLiteral("kunden.csv"));
}

void makeFile()
{
    QFile file(filePath());
    file.open(QIODevice::WriteOnly);
    // The names quoted, so that the page finds the qualifier in the first line as it does in a file like this.
    QString text = QStringLiteral("\"Nr\";\"Name\";\"Strasse\";\"PLZ\";\"Ort\";\"Umsatz\";\"Datum\";\"Bemerkung\";"
                                  "\"Land\";\"Status\"\r\n");
    bench::writeSeparatedLines(file, text, kLines);
}

std::map<std::string, double> seconds;
std::map<std::string, double> megabytes;

double since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One reading pass: every line of the file as the reader gives it.
void readOnce(const QString& path)
{
    engine::TextLineReader reader(path);
    QString line;
    qint64 characters = 0;
    while (reader.readLine(line))
        characters += line.size();
    benchmark::DoNotOptimize(characters);
}

// What the target page's step does with a text source: the view of the file, the layout guess from the first two
// lines, the sheet painted.
void takeStep(wizard::TextFileView& view, const QString& path)
{
    view.loadFile(path, false);
    benchmark::DoNotOptimize(view.line(0).trimmed().size() == view.line(1).trimmed().size());
    view.show();
    benchmark::DoNotOptimize(view.grab());
}

// The step as the page took it before: the whole file as one text in a plain text editor.
void takeStepAsBefore(QPlainTextEdit& editor, const QString& path)
{
    editor.setPlainText(engine::ReadTextFile(path));
    editor.show();
    benchmark::DoNotOptimize(editor.grab());
}

// The whole program in a folder of its own, started; with walk, taken from the start page to the text page's
// separated preview of the file, as a person would.
void runProgram(const QString& file, bool walk)
{
    QTemporaryDir root;
    const QString program = root.path() + QStringLiteral("/program/");
    QDir().mkpath(program);
    const QDir built(QStringLiteral(IMPORT_PROGRAM_DIR));
    for (const QString& name : built.entryList({"*.DB", "*.MB", "*.PX"}, QDir::Files))
        QFile::copy(built.filePath(name), program + name);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, root.path() + QStringLiteral("/config"));
    // The target: a small Paradox table of customers.
    const QString target = root.path() + QStringLiteral("/KUNDEN.DB");
    {
        db::Table table;
        table.setTableName(target);
        db::FieldDef name;
        name.name = QStringLiteral("Name");
        name.type = db::FieldType::ftString;
        name.size = 40;
        table.FieldDefs().assign({name}, 0);
        table.CreateTable();
    }
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    wizard::ProgramContext context = wizard::ProgramContext::forFolder(program);
    wizard::ImportProgram started(context);
    started.Start(0);
    wizard::TfrmImport1& form = *started.frmImport1();
    if (walk) {
        form.btnWeiter1Click();
        form.ui->edtQuelle->setText(file);
        form.btnWeiter2Click();
        form.ui->edtZiel->setText(target);
        form.btnWeiter3Click();
        if (form.ui->PageControl1->currentWidget() != form.ui->ImportSeite1txt)
            std::fprintf(stderr, "the walk did not reach the text page: %s\n", qPrintable(ui.messageTexts().join(" | ")));
        wizard::SetChecked(form.ui->rgrDatsatzlaenge0, true);
        form.btnWeiter1txtClick();
        benchmark::DoNotOptimize(form.grab());
    }
    form.tblZiel.Close();
    started.Finish();
}

void BM_ReadingPass(benchmark::State& state)
{
    for (auto _ : state) {
        double best = 1e9;
        for (int round = 0; round < kRounds; ++round) {
            const auto start = std::chrono::steady_clock::now();
            readOnce(filePath());
            best = std::min(best, since(start));
        }
        seconds["reading pass"] = best;
        state.SetIterationTime(best);
    }
}

void BM_Step(benchmark::State& state)
{
    for (auto _ : state) {
        double best = 1e9;
        for (int round = 0; round < kRounds; ++round) {
            wizard::TextFileView view;
            view.resize(560, 220);
            const auto start = std::chrono::steady_clock::now();
            takeStep(view, filePath());
            best = std::min(best, since(start));
        }
        seconds["step"] = best;
        state.SetIterationTime(best);
    }
}

// Scrolling and moving a mark, each with the repaint it causes, averaged over many.
void BM_Scrolling(benchmark::State& state)
{
    for (auto _ : state) {
        wizard::TextFileView view;
        view.resize(560, 220);
        view.loadFile(filePath(), false);
        view.show();
        QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
        if (view.firstVisibleLine() + view.visibleLineCount() < view.blockCount())
            std::fprintf(stderr, "Ctrl+End left the view at line %d\n", view.firstVisibleLine());
        constexpr int kMoves = 200;
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kMoves; ++i) {
            QTest::keyClick(&view, i % 2 ? Qt::Key_PageDown : Qt::Key_PageUp);
            benchmark::DoNotOptimize(view.viewport()->grab());
        }
        seconds["view page"] = since(start) / kMoves;

        wizard::CharacterGrid grid;
        grid.resize(560, 200);
        grid.setContent(view.lines(0, 20), 120);
        grid.show();
        start = std::chrono::steady_clock::now();
        for (int i = 0; i < kMoves; ++i) {
            grid.horizontalScrollBar()->setValue(i % 2 ? 40 : 0);
            benchmark::DoNotOptimize(grid.viewport()->grab());
        }
        seconds["grid scroll"] = since(start) / kMoves;
        start = std::chrono::steady_clock::now();
        for (int i = 0; i < kMoves; ++i) {
            grid.setMarks({5, 10 + i % 30, 50});
            benchmark::DoNotOptimize(grid.viewport()->grab());
        }
        seconds["mark move"] = since(start) / kMoves;
        state.SetIterationTime(seconds["view page"]);
        state.counters["grid scroll ms"] = seconds["grid scroll"] * 1000;
        state.counters["mark move ms"] = seconds["mark move"] * 1000;
    }
}

// The page's controls, standalone, for its reading routines.
struct Page {
    QLineEdit edtQuelle;
    wizard::TextFileView retQuellDat;
    QTableWidget stgQuellDatVar;
    wizard::CharacterGrid stgQuellDatFix;
    QLabel lblVorschauVorber;
    QCheckBox cbxErsteZeile, cbxKomma, cbxTab, cbxSpace, cbxSemic, cbxAndere, cbxDosToWin;
    QLineEdit edtAndere, edtRenCols;
    QComboBox comDelimiter;
    QRadioButton rbtNeueImport;
    QPushButton btnErste, btnLinks, btnRechts, btnLetzte;
    db::Table tblImpList, tblZSP, tblQuelle;
    engine::StagedRecords staged;
    db::BatchMove BMV;
    engine::SeparatorSet separators;
    engine::ColumnBoundaryList boundaries;
    int AktSpalte = 0;
    engine::EngineContext context{folder().path() + QStringLiteral("/program")};
    wizard::TextImportControls c;

    Page()
    {
        comDelimiter.addItems({QStringLiteral("(keine)"), QStringLiteral("\""), QStringLiteral("'")});
        comDelimiter.setCurrentIndex(1);
        cbxSemic.setChecked(true);
        cbxErsteZeile.setChecked(true);
        rbtNeueImport.setChecked(true);
        edtQuelle.setText(filePath());
        retQuellDat.loadFile(filePath());
        c.edtQuelle = &edtQuelle;
        c.retQuellDat = &retQuellDat;
        c.stgQuellDatVar = &stgQuellDatVar;
        c.stgQuellDatFix = &stgQuellDatFix;
        c.lblVorschauVorber = &lblVorschauVorber;
        c.cbxErsteZeile = &cbxErsteZeile;
        c.cbxKomma = &cbxKomma;
        c.cbxTab = &cbxTab;
        c.cbxSpace = &cbxSpace;
        c.cbxSemic = &cbxSemic;
        c.cbxAndere = &cbxAndere;
        c.edtAndere = &edtAndere;
        c.comDelimiter = &comDelimiter;
        c.rbtNeueImport = &rbtNeueImport;
        c.btnErste = &btnErste;
        c.btnLinks = &btnLinks;
        c.btnRechts = &btnRechts;
        c.btnLetzte = &btnLetzte;
        c.edtRenCols = &edtRenCols;
        c.cbxDosToWin = &cbxDosToWin;
        c.tblImpList = &tblImpList;
        c.tblZSP = &tblZSP;
        c.staged = &staged;
        c.tblQuelle = &tblQuelle;
        c.BMV = &BMV;
        c.engine = &context;
        c.separators = &separators;
        c.boundaries = &boundaries;
        c.AktSpalte = &AktSpalte;
    }
};

// One reading from the last sheet into the source table, through the page's routines or the engine's own.
double readIntoSourceTable(bool throughPage, int& records)
{
    Page page;
    // The preview fills the headers from the first line, as the sheet shows them.
    wizard::TrennzeichenVorschauZeigen(page.c);
    const QStringList headers = wizard::GridHeaders(&page.stgQuellDatVar);
    const auto start = std::chrono::steady_clock::now();
    if (throughPage) {
        if (!wizard::SpaltennamenPruefen(page.c))
            std::fprintf(stderr, "the headers were refused\n");
        wizard::ZSPTabelleAnlegen(page.c);
        wizard::TrennzeichenDateiEinlesen(page.c, filePath(), page.tblZSP, false);
        wizard::FeldgroessenDefinieren(page.c);
    } else {
        engine::TextReadProgress progress;
        engine::CreateStagingTable(page.tblZSP, page.staged, engine::StagingTablePath(page.context), headers);
        engine::SeparatedReading reading;
        reading.separators = QStringLiteral(";");
        reading.qualifier = u'"';
        reading.firstLineHoldsNames = true;
        engine::ReadSeparatedFile(filePath(), page.tblZSP, page.staged, reading, progress);
        engine::DefineFieldSizes(page.tblZSP, page.staged, page.tblQuelle,
                                 engine::SourceTablePath(page.context, filePath()), page.BMV, progress);
    }
    const double time = since(start);
    page.tblQuelle.Open();
    records = page.tblQuelle.RecordCount();
    page.tblQuelle.Close();
    return time;
}

// The two roads in turns, each the best of its rounds: a busy machine stretches single runs.
void BM_Reading(benchmark::State& state)
{
    for (auto _ : state) {
        double engineBest = 1e9;
        double pageBest = 1e9;
        int records = 0;
        for (int round = 0; round < kRounds; ++round) {
            engineBest = std::min(engineBest, readIntoSourceTable(false, records));
            pageBest = std::min(pageBest, readIntoSourceTable(true, records));
        }
        seconds["reading engine"] = engineBest;
        seconds["reading page"] = pageBest;
        state.SetIterationTime(pageBest);
        state.counters["engine ms"] = engineBest * 1000;
        state.counters["records"] = records;
    }
}

// Peak resident memory of a process that does one thing: this program started afresh.
void BM_PeakMemory(benchmark::State& state, const std::string& mode)
{
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const std::string path = filePath().toStdString();
        const pid_t child = fork();
        if (child == 0) {
            execl("/proc/self/exe", "textpages_bench", mode.c_str(), path.c_str(), nullptr);
            _exit(127);
        }
        int status = 0;
        struct rusage usage {};
        wait4(child, &status, 0, &usage);
        const double mb = double(usage.ru_maxrss) / 1024;
        // A child that did not finish measured only part of its work.
        megabytes[mode] = WIFEXITED(status) && WEXITSTATUS(status) == 0 ? mb : -1;
        if (megabytes[mode] < 0)
            state.SkipWithError("the measuring process did not finish");
        state.SetIterationTime(since(start));
        state.counters["peak MB"] = mb;
    }
}

using bench::verdict;

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // A measuring child: one thing done.
    if (argc == 3 && std::string(argv[1]).rfind("--measure-", 0) == 0) {
        const std::string mode = argv[1];
        const QString path = QString::fromLocal8Bit(argv[2]);
        if (mode == "--measure-program") {
            runProgram(path, true);
        } else if (mode == "--measure-program-start") {
            runProgram(path, false);
        } else if (mode == "--measure-step") {
            wizard::TextFileView view;
            view.resize(560, 220);
            takeStep(view, path);
        } else if (mode == "--measure-before") {
            QPlainTextEdit editor;
            editor.resize(560, 220);
            takeStepAsBefore(editor, path);
        } else {
            wizard::TextFileView view;
            view.resize(560, 220);
            view.show();
            benchmark::DoNotOptimize(view.grab());
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    const bool before = argc > 1 && std::string(argv[1]) == "--with-before";
    folder();
    makeFile();
    const double fileMB = double(QFileInfo(filePath()).size()) / (1024 * 1024);
    const auto once = [](benchmark::internal::Benchmark* b) {
        b->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
    };
    once(benchmark::RegisterBenchmark("reading-pass", BM_ReadingPass));
    once(benchmark::RegisterBenchmark("step-to-first-sheet", BM_Step));
    once(benchmark::RegisterBenchmark("memory/empty-view", BM_PeakMemory, std::string("--measure-empty")));
    once(benchmark::RegisterBenchmark("memory/step", BM_PeakMemory, std::string("--measure-step")));
    if (before)
        once(benchmark::RegisterBenchmark("memory/step-as-before", BM_PeakMemory, std::string("--measure-before")));
    once(benchmark::RegisterBenchmark("memory/program-started", BM_PeakMemory, std::string("--measure-program-start")));
    once(benchmark::RegisterBenchmark("memory/program-to-preview", BM_PeakMemory, std::string("--measure-program")));
    once(benchmark::RegisterBenchmark("scrolling", BM_Scrolling));
    once(benchmark::RegisterBenchmark("reading/page-and-engine", BM_Reading));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const auto s = [](const std::string& key) { return seconds.count(key) ? seconds[key] : 0.0; };
    const auto m = [](const std::string& key) { return megabytes.count(key) ? megabytes[key] : 0.0; };
    const auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
    std::printf("\nFile: %.1f MB, %d lines\n", fileMB, kLines + 1);
    std::printf("Reading pass %.0f ms; step to the first sheet %.0f ms\n", s("reading pass") * 1000, s("step") * 1000);
    std::printf("Peak memory: empty view %.1f MB, step %.1f MB", m("--measure-empty"), m("--measure-step"));
    if (before)
        std::printf(", step as before (one text in a plain editor) %.1f MB", m("--measure-before"));
    std::printf("\nPeak memory of the program: started %.1f MB, walked to the separated preview %.1f MB",
                m("--measure-program-start"), m("--measure-program"));
    std::printf("\nView page scroll %.2f ms, grid scroll %.2f ms, mark move %.2f ms\n", s("view page") * 1000,
                s("grid scroll") * 1000, s("mark move") * 1000);
    std::printf("Reading to the source table: engine %.0f ms, page %.0f ms\n", s("reading engine") * 1000,
                s("reading page") * 1000);
    verdict("step to the first sheet / one reading pass", ratio(s("step"), s("reading pass")), "<=", 3);
    verdict("step's peak memory above the empty view's, MB", m("--measure-step") - m("--measure-empty"), "<=",
            fileMB + 64);
    verdict("program walked to the preview, above the program started, MB",
            m("--measure-program") - m("--measure-program-start"), "<=", fileMB + 64);
    verdict("view page scroll with repaint, ms", s("view page") * 1000, "<=", 16);
    verdict("grid scroll with repaint, ms", s("grid scroll") * 1000, "<=", 16);
    verdict("mark move with repaint, ms", s("mark move") * 1000, "<=", 16);
    verdict("reading through the page / the engine's own road", ratio(s("reading page"), s("reading engine")), "<=",
            1.2);
    return 0;
}
