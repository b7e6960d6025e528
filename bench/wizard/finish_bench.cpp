// A run started from the finish page of the real main window (offscreen, progress window shown) next to the
// engine's own run on the same data and mode: 100,000 source records with twelve fields, appended (mode 2, no key there
// yet) into a keyed Paradox target. Prints both times and their ratio: what the windows add to a run.

#include "db/DataSource.h"
#include "db/Field.h"
#include "db/Table.h"
#include "db/paradox/ParadoxTable.h"
#include "engine/ImportSetting.h"
#include "engine/Importlauf.h"
#include "parser/Parser.h"
#include "platform/ScriptedUi.h"
#include "rtl/FormatSettings.h"
#include "ui_frmImport1.h"
#include "wizard/ImportProgram.h"
#include "wizard/frmGauge.h"
#include "wizard/frmImport1.h"

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

constexpr int kRecords = 100'000;

db::FieldDef def(const char* name, FieldType type, int size = 0)
{
    return {QString::fromUtf8(name), type, size, 0, false};
}

const db::FieldDefList& recordFields()
{
    static const db::FieldDefList fields{
        def("Nr", FieldType::ftInteger),         def("Name", FieldType::ftString, 30),
        def("Vorname", FieldType::ftString, 20), def("Ort", FieldType::ftString, 25),
        def("Plz", FieldType::ftString, 5),      def("Strasse", FieldType::ftString, 30),
        def("Menge", FieldType::ftFloat),        def("Preis", FieldType::ftFloat),
        def("Betrag", FieldType::ftFloat),       def("Datum", FieldType::ftDate),
        def("Anzahl", FieldType::ftInteger),     def("Notiz", FieldType::ftString, 40),
    };
    return fields;
}

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
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (seconds.count("finish page") && seconds.count("engine run"))
        std::printf("\nbest of 5: finish page %.3f s, engine run %.3f s, ratio %.2f (goal at most 1.2)\n",
                    seconds["finish page"], seconds["engine run"], seconds["finish page"] / seconds["engine run"]);
    std::fflush(stdout);
    wizardInstance.reset();
    return 0;
}
