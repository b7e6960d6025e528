// A run started from the finish page of the real main window (offscreen, progress window shown) next to the
// engine's own run on the same data and mode: 100,000 source records with twelve fields, appended (mode 2, no key there
// yet) into a keyed Paradox target. Prints both times and their ratio: what the windows add to a run.
//
// Then a separated text file of 1,000,000 lines from the last text sheet (Weiter there: reading, sizing, the source's
// structure, the automatic mapping) through the mapping, mode and finish pages and the run, next to the engine's
// whole text road on the same file (staging table, reading, sizing, run) as road_bench takes it: every column
// mapped, into a keyed Paradox target, in the mode the mode page offers for a mapped key (2, no key there yet; the
// engine's road also in mode 1, as road_bench runs it). The engine's road runs once more with the very mapping the
// pages ran with: the options their defaults fill in (a right-aligned key, lengths) cost per record whoever runs them,
// so only that ratio tells what the windows themselves add. Prints the times and the ratios.

#include "db/DataSource.h"
#include "db/Field.h"
#include "db/Table.h"
#include "db/paradox/ParadoxTable.h"
#include "engine/ImportSetting.h"
#include "engine/Importlauf.h"
#include "engine/TextReadProgress.h"
#include "engine/Textimport.h"
#include "engine/WorkingTables.h"
#include "db/BatchMove.h"
#include "parser/Parser.h"
#include "platform/ScriptedUi.h"
#include "rtl/FormatSettings.h"
#include "../support/BenchData.h"
#include "ui_frmImport1.h"
#include "wizard/ImportProgram.h"
#include "wizard/frmGauge.h"
#include "wizard/frmImport1.h"
#include "wizard/text/TextFileView.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>

using db::FieldType;

namespace {

// FINISH_BENCH_RECORDS / FINISH_BENCH_LINES shrink the data for a profiler's run (instruction counts).
int countFromEnvironment(const char* name, int fallback)
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue(name, &ok);
    return ok && n > 0 ? n : fallback;
}

const int kRecords = countFromEnvironment("FINISH_BENCH_RECORDS", 100'000);

using bench::recordFields;

// The folders of the program and of the person's files, the source written once.
struct World {
    QTemporaryDir dir;
    QString program() const { return dir.path() + "/program/"; }
    QString source() const { return dir.path() + "/Quelle.db"; }
    QString target() const { return dir.path() + "/Ziel.db"; }

    World()
    {
        QDir().mkpath(program());
        const QDir built(QStringLiteral(IMPORT_PROGRAM_DIR));
        for (const QString& name : built.entryList({"*.DB", "*.MB", "*.PX"}, QDir::Files))
            QFile::copy(built.filePath(name), program() + name);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path() + "/config");
        db::paradox::create(source(), recordFields(), 0);
        db::Table table;
        table.setTableName(source());
        table.Open();
        for (int i = 0; i < kRecords; ++i) {
            table.Append();
            table.Fields(0)->setAsInteger(i + 1);
            table.Fields(1)->setAsString(QStringLiteral("Name %1").arg(i));
            table.Fields(2)->setAsString(QStringLiteral("Vorname %1").arg(i % 97));
            table.Fields(3)->setAsString(QStringLiteral("Ort %1").arg(i % 1013));
            table.Fields(4)->setAsString(QString::number(10000 + i % 89999));
            table.Fields(5)->setAsString(QStringLiteral("Strasse %1").arg(i % 5003));
            table.Fields(6)->setAsFloat(i % 100 + 0.25);
            table.Fields(7)->setAsFloat(i % 1000 / 7.0);
            table.Fields(8)->setAsFloat(i / 3.0);
            table.Fields(9)->setAsVariant(QDate(2000, 1, 1).addDays(i % 9000));
            table.Fields(10)->setAsInteger(i % 50);
            table.Fields(11)->setAsString(QStringLiteral("Notiz %1").arg(i));
            table.Post();
        }
        table.Close();
        freshTarget();
    }
    void freshTarget() const
    {
        for (const char* ext : {".db", ".px", ".DB", ".PX"})
            QFile::remove(dir.path() + "/Ziel" + ext);
        db::paradox::create(target(), recordFields(), 1);
    }
};

World& world()
{
    static World w;
    return w;
}

std::map<std::string, double> seconds;

template <class Run>
double timed(Run&& run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The program walked once to its finish page: source and target chosen, every field mapped, existing keys ignored.
struct Wizard {
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed{ui};
    wizard::ProgramContext context = wizard::ProgramContext::forFolder(world().program());
    wizard::ImportProgram program{context};
    wizard::TfrmImport1* form = nullptr;

    Wizard()
    {
        program.Start(0);
        form = program.frmImport1();
        Ui::TfrmImport1& w = *form->ui;
        w.btnWeiter1->click();
        w.edtQuelle->setText(world().source());
        w.btnWeiter2->click();
        w.edtZiel->setText(world().target());
        w.btnWeiter3->click();
        db::Table& z = form->tblZStrukt;
        for (z.First(); !z.Eof(); z.Next()) {
            z.Edit();
            z.FieldByName("Zuordnung")->setAsString(z.FieldByName("Feldname")->AsString());
            z.Post();
        }
        form->btnWeiter4Click();
        w.rbtIgnorieren->click();
        w.btnWeiter5->click();
        w.rbtTabNichtAnz->click();
    }
};

std::unique_ptr<Wizard> wizardInstance;

Wizard& wizardWindow()
{
    if (!wizardInstance)
        wizardInstance = std::make_unique<Wizard>();
    return *wizardInstance;
}

int targetRecords()
{
    db::Table table;
    table.setTableName(world().target());
    table.Open();
    const int count = table.RecordCount();
    table.Close();
    return count;
}

void BM_FinishPage(benchmark::State& state)
{
    Wizard& w = wizardWindow();
    for (auto _ : state) {
        // The person closes the progress window of the run before.
        w.program.frmGauge()->Close();
        w.form->tblZiel.Close();
        world().freshTarget();
        w.form->ui->ImportSeite6->setEnabled(true);
        w.ui.answer(platform::Button::No);  // run without storing the setting
        const double s = timed([&] { w.form->ui->btnFertigstellen->click(); });
        state.SetIterationTime(s);
        seconds["finish page"] = seconds.count("finish page") ? std::min(seconds["finish page"], s) : s;
        w.form->tblZiel.Close();
        if (targetRecords() != kRecords)
            state.SkipWithError("the finish page did not import every record");
    }
}

void BM_EngineRun(benchmark::State& state)
{
    // The same mapping the finish page ran, taken from the wizard's mapping table.
    const std::vector<engine::MappingRow> mapping = engine::ReadMapping(wizardWindow().form->tblZStrukt);
    wizardWindow().form->tblZiel.Close();
    wizardWindow().form->tblQuelle.Close();
    for (auto _ : state) {
        world().freshTarget();
        db::Table tblQuelle;
        db::Table tblZiel;
        db::DataSource dscZiel;
        parser::TParser parser;
        tblQuelle.setTableName(world().source());
        tblZiel.setTableName(world().target());
        dscZiel.setDataSet(&tblZiel);
        engine::ImportRun run{tblQuelle, dscZiel, parser, {}, {}, nullptr, {}, {}};
        run.setting.Mapping = mapping;
        const double s = timed([&] { engine::Importlauf(run, 2); });
        state.SetIterationTime(s);
        seconds["engine run"] = seconds.count("engine run") ? std::min(seconds["engine run"], s) : s;
        tblZiel.Close();
        tblQuelle.Close();
        if (targetRecords() != kRecords)
            state.SkipWithError("the engine did not import every record");
    }
}

// ---- the text road ----

const int kTextLines = countFromEnvironment("FINISH_BENCH_LINES", 1'000'000);
constexpr int kTextColumns = 10;
constexpr int kTextWidths[kTextColumns] = {0, 20, 20, 10, 10, 10, 10, 20, 10, 10};

// A program folder of its own, the file of road_bench's lines, and a keyed target whose fields carry the names the
// page gives the columns of a file without names, so that the automatic mapping pairs every one.
struct TextWorld {
    QTemporaryDir dir;
    QString program() const { return dir.path() + "/program/"; }
    QString file() const { return dir.path() + "/kunden.txt"; }
    QString target() const { return dir.path() + "/ZielText.db"; }

    TextWorld()
    {
        QDir().mkpath(program());
        const QDir built(QStringLiteral(IMPORT_PROGRAM_DIR));
        for (const QString& name : built.entryList({"*.DB", "*.MB", "*.PX"}, QDir::Files))
            QFile::copy(built.filePath(name), program() + name);
        std::FILE* out = std::fopen(QFile::encodeName(file()).constData(), "wb");
        char line[256];
        for (int i = 0; i < kTextLines; ++i) {
            const int n = std::snprintf(
                line, sizeof line,
                "%d;\"M\xfcller; S\xf6hne %d\";\"Hauptstra\xdf""e %d\";%d;\"K\xf6ln-S\xfc""d\";%d,%02d;"
                "%d.%d.2023;\"Gr\xfc\xdf""e; \xd6l; \xc4pfel\";DE%08lld;ok\r\n",
                i, i % 977, i % 131, 50000 + i % 40000, i % 10000, i % 100, 1 + i % 28, 1 + i % 12,
                // Wide enough for the product: an int would overflow past 271,000 lines.
                static_cast<long long>(i) * 7919 % 100000000);
            if (n <= 0 || n >= static_cast<int>(sizeof line))
                break;
            std::fwrite(line, 1, static_cast<std::size_t>(n), out);
        }
        std::fclose(out);
    }
    void freshTarget() const
    {
        for (const char* ext : {".db", ".px", ".DB", ".PX"})
            QFile::remove(dir.path() + "/ZielText" + ext);
        db::FieldDefList fields{{QStringLiteral("FELD_1"), FieldType::ftInteger, 0, 0, false}};
        for (int c = 2; c <= kTextColumns; ++c)
            fields.push_back({QStringLiteral("FELD_%1").arg(c), FieldType::ftString, kTextWidths[c - 1], 0, false});
        db::paradox::create(target(), fields, 1);
    }
    int targetRecords() const
    {
        db::Table table;
        table.setTableName(target());
        table.Open();
        const int count = table.RecordCount();
        table.Close();
        return count;
    }
};

TextWorld& textWorld()
{
    static TextWorld w;
    return w;
}

// The mapping the pages ran with, options and all (the automatic mapping and the options page fill in defaults such
// as a right-aligned key); taken before the program closes, as closing empties its mapping table.
std::vector<engine::MappingRow> pagesMapping;

void best(const char* what, double s)
{
    seconds[what] = seconds.count(what) ? std::min(seconds[what], s) : s;
}

void BM_TextFromLastSheet(benchmark::State& state)
{
    TextWorld& tw = textWorld();
    for (auto _ : state) {
        tw.freshTarget();
        platform::ScriptedUi ui;
        platform::ScopedUserInterface installed{ui};
        wizard::ProgramContext context = wizard::ProgramContext::forFolder(tw.program());
        wizard::ImportProgram program{context};
        program.Start(0);
        wizard::TfrmImport1* form = program.frmImport1();
        Ui::TfrmImport1& w = *form->ui;
        // The walk to the last sheet, not measured: source, target, separated values, the preview.
        w.btnWeiter1->click();
        w.edtQuelle->setText(tw.file());
        w.btnWeiter2->click();
        w.edtZiel->setText(tw.target());
        w.btnWeiter3->click();
        w.rgrDatsatzlaenge0->click();
        w.btnWeiter1txt->click();
        if (w.tpcTXT->currentWidget() != w.TXTVariabel) {
            state.SkipWithError("the walk did not reach the last text sheet");
            break;
        }
        const double reading = timed([&] { w.btnWeiter1txt->click(); });
        double s = reading;
        if (w.PageControl1->currentWidget() != w.ImportSeite4) {
            state.SkipWithError(("the reading did not reach the mapping page: " + ui.messageTexts().join(" | "))
                                    .toStdString()
                                    .c_str());
            break;
        }
        s += timed([&] {
            form->btnWeiter4Click();
            w.rbtIgnorieren->click();
            w.btnWeiter5->click();
            w.rbtTabNichtAnz->click();
            ui.answer(platform::Button::No);  // run without storing the setting
            w.btnFertigstellen->click();
        });
        state.SetIterationTime(s);
        best("text pages", s);
        state.counters["reading s"] = reading;
        state.counters["run s"] = s - reading;
        if (!form->tblZStrukt.Active())
            form->tblZStrukt.Open();
        pagesMapping = engine::ReadMapping(form->tblZStrukt);
        form->tblZiel.Close();
        form->tblQuelle.Close();
        if (tw.targetRecords() != kTextLines)
            state.SkipWithError("the finish page did not import every line");
    }
}

void BM_TextEngineRoad(benchmark::State& state, int mode, bool withPagesMapping)
{
    TextWorld& tw = textWorld();
    const QString name = QStringLiteral("engine road mode %1%2").arg(mode).arg(withPagesMapping ? " pages' mapping" : "");
    for (auto _ : state) {
        tw.freshTarget();
        QTemporaryDir program;
        engine::EngineContext context{program.path()};
        QDir().mkpath(context.TempFolder());
        db::Table tblZSP, tblQuelle, tblZiel;
        engine::StagedRecords staged;
        db::BatchMove BMV;
        db::DataSource dscZiel;
        parser::TParser parser;
        parser.setDecimalSeparatorSource([] { return rtl::formatSettings().DecimalSeparator.toLatin1(); });
        tblZiel.setTableName(tw.target());
        dscZiel.setDataSet(&tblZiel);
        engine::ImportRun run{tblQuelle, dscZiel, parser, {}, {}, nullptr, {}, {}};
        // The same mapping as the pages when their road has been measured.
        if (withPagesMapping)
            run.setting.Mapping = pagesMapping;
        if (run.setting.Mapping.empty()) {
            // Every column onto the target field of its name, as the page's automatic mapping pairs them.
            db::Table zstrukt;
            zstrukt.setTableName(program.path() + "/ZStrukt.DB");
            db::paradox::create(zstrukt.TableName(), engine::ZStruktFields(), 0);
            zstrukt.Open();
            tblZiel.Open();
            for (int i = 0; i < tblZiel.FieldCount(); ++i) {
                const db::Field* field = tblZiel.Fields(i);
                zstrukt.Append();
                zstrukt.FieldByName("Index")->setAsString(field->IsIndexField() ? "X" : "");
                zstrukt.FieldByName("Feldname")->setAsString(field->FieldName());
                zstrukt.FieldByName("Typ")->setAsInteger(static_cast<int>(field->DataType()));
                zstrukt.FieldByName("Zuordnung")->setAsString(field->FieldName());
                zstrukt.FieldByName("FeldAkt")->setAsVariant(true);
                zstrukt.Post();
            }
            tblZiel.Close();
            run.setting.Mapping = engine::ReadMapping(zstrukt);
            zstrukt.Close();
        }
        double reading = 0;
        const double s = timed([&] {
            const auto start = std::chrono::steady_clock::now();
            engine::TextReadProgress silent;
            QStringList headers;
            for (int c = 1; c <= kTextColumns; ++c)
                headers << QStringLiteral("FELD_%1").arg(c);
            engine::CreateStagingTable(tblZSP, staged, engine::StagingTablePath(context), headers);
            engine::ReadSeparatedFile(tw.file(), tblZSP, staged, {QStringLiteral(";"), QChar(u'"'), false, false},
                                      silent);
            engine::DefineFieldSizes(tblZSP, staged, tblQuelle, engine::SourceTablePath(context, tw.file()), BMV,
                                     silent);
            reading = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            engine::Importlauf(run, mode);
            tblZiel.Close();
        });
        state.SetIterationTime(s);
        best(name.toUtf8().constData(), s);
        state.counters["reading s"] = reading;
        state.counters["run s"] = s - reading;
        tblQuelle.Close();
        if (tw.targetRecords() != kTextLines)
            state.SkipWithError("the engine's road did not import every line");
    }
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::RegisterBenchmark("finish_page_mode2_keyed_paradox_100k", BM_FinishPage)
        ->Iterations(5)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("engine_run_mode2_keyed_paradox_100k", BM_EngineRun)
        ->Iterations(5)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("text_1M_from_last_sheet_through_finish_page", BM_TextFromLastSheet)
        ->Iterations(2)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("text_1M_engine_road_mode2_pages_mapping", BM_TextEngineRoad, 2, true)
        ->Iterations(2)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("text_1M_engine_road_mode2", BM_TextEngineRoad, 2, false)
        ->Iterations(2)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("text_1M_engine_road_mode1", BM_TextEngineRoad, 1, false)
        ->Iterations(2)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (seconds.count("finish page") && seconds.count("engine run"))
        std::printf("\nbest of 5: finish page %.3f s, engine run %.3f s, ratio %.2f (goal at most 1.2)\n",
                    seconds["finish page"], seconds["engine run"], seconds["finish page"] / seconds["engine run"]);
    if (seconds.count("text pages") && seconds.count("engine road mode 2"))
        std::printf("best of 2, 1,000,000 lines: text pages to the run's end %.3f s, engine road mode 2 %.3f s, "
                    "ratio %.2f (goal at most 1.2)\n",
                    seconds["text pages"], seconds["engine road mode 2"],
                    seconds["text pages"] / seconds["engine road mode 2"]);
    if (seconds.count("text pages") && seconds.count("engine road mode 2 pages' mapping"))
        std::printf("  against the engine's road with the mapping the pages ran with (its defaulted options): engine "
                    "%.3f s, ratio %.2f: what the windows add\n",
                    seconds["engine road mode 2 pages' mapping"],
                    seconds["text pages"] / seconds["engine road mode 2 pages' mapping"]);
    if (seconds.count("text pages") && seconds.count("engine road mode 1"))
        std::printf("  against road_bench's road as it runs (mode 1): engine %.3f s, ratio %.2f\n",
                    seconds["engine road mode 1"], seconds["text pages"] / seconds["engine road mode 1"]);
    std::fflush(stdout);
    wizardInstance.reset();
    return 0;
}
