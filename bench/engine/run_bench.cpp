// The import run of every mode on a large Paradox source with twelve mapped fields, a third of them with an option
// (alignment, rounding, a conditional default, numeric formulas), next to the yardstick: appending the same final
// records straight through the table engine. Prints records per second, the ratio to the yardstick, the time per
// record at 100,000 against 10,000 records, and the peak memory of the process.
//
// The run goes without a window, as the engine's runs can: nobody watches, so what is measured is the run's own
// work, its counting and its pacing of message rounds included.

#include "db/DataSource.h"
#include "db/Field.h"
#include "db/Table.h"
#include "db/paradox/ParadoxTable.h"
#include "engine/Importlauf.h"
#include "engine/WorkingTables.h"
#include "parser/Parser.h"
#include "rtl/FormatSettings.h"
#include "../support/BenchData.h"

#include <QCoreApplication>
#include <QDate>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <sys/resource.h>
#include <vector>

using db::FieldType;

namespace {

using bench::recordFields;

// Key of source record i: from keyBase on.
void fillSource(db::Table& table, int count, int keyBase)
{
    table.Open();
    for (int i = 0; i < count; ++i) {
        table.Append();
        table.Fields(0)->setAsInteger(keyBase + i);
        table.Fields(1)->setAsString(QStringLiteral("Name %1").arg(i));
        table.Fields(2)->setAsString(QStringLiteral("Vorname %1").arg(i % 97));
        table.Fields(3)->setAsString(QStringLiteral("Ort %1").arg(i % 1013));
        table.Fields(4)->setAsString(QString::number(10000 + i % 89999));
        table.Fields(5)->setAsString(QStringLiteral("Strasse %1").arg(i % 5003));
        table.Fields(6)->setAsFloat(i % 100 + 0.25);
        table.Fields(7)->setAsFloat(i % 1000 / 7.0);
        table.Fields(8)->setAsFloat(i / 3.0);
        // A date without a time of day: a local date and time would look up the time zone for every record.
        table.Fields(9)->setAsVariant(QDate(2000, 1, 1).addDays(i % 9000));
        table.Fields(10)->setAsInteger(i % 50);
        table.Fields(11)->setAsString(i % 10 == 0 ? QStringLiteral("-") : QStringLiteral("Notiz %1").arg(i));
        table.Post();
    }
    table.Close();
}

// One run's world: a program folder with the working tables, the source, the target and the run's values.
struct World {
    QTemporaryDir dir;
    db::Table tblQuelle;
    db::Table tblZiel;
    db::Table tblZStrukt;
    db::Table tblImpList;
    db::DataSource dscZiel;
    parser::TParser Parser1;
    engine::ImportRun run{tblQuelle, dscZiel, Parser1, {}, {}, nullptr, {}, {}};

    QString path(const char* name) const { return dir.path() + QLatin1Char('/') + QLatin1String(name); }

    // targetKeys: records the target holds before the run, with keys from targetKeyBase on.
    World(int records, bool dbase, int targetRecords, int targetKeyBase)
    {
        db::paradox::create(path("ZStrukt.DB"), engine::ZStruktFields(), 0);
        db::paradox::create(path("ImpList.DB"), engine::ImpListFields(), engine::ImpListKeyFieldCount);
        tblZStrukt.setTableName(path("ZStrukt.DB"));
        tblImpList.setTableName(path("ImpList.DB"));
        tblImpList.Open();
        Parser1.setDecimalSeparatorSource([] { return rtl::formatSettings().DecimalSeparator.toLatin1(); });

        db::paradox::create(path("Quelle.db"), recordFields(), 0);
        tblQuelle.setTableName(path("Quelle.db"));
        fillSource(tblQuelle, records, 1);

        if (dbase) {
            tblZiel.setTableName(path("Ziel.dbf"));
            for (const db::FieldDef& f : recordFields())
                tblZiel.FieldDefs().Add(f);
            tblZiel.CreateTable();
        } else {
            db::paradox::create(path("Ziel.db"), recordFields(), 1);
            tblZiel.setTableName(path("Ziel.db"));
        }
        if (targetRecords > 0)
            fillSource(tblZiel, targetRecords, targetKeyBase);
        dscZiel.setDataSet(&tblZiel);
        mapAll();
        run.setting.Mapping = engine::ReadMapping(tblZStrukt);
        tblZStrukt.Close();
        tblQuelle.Open();
    }

    ~World()
    {
        tblQuelle.Close();
        tblZiel.Close();
        tblZStrukt.Close();
        tblImpList.Close();
    }

    void mapAll()
    {
        tblZiel.Open();
        tblZStrukt.Open();
        for (int i = 0; i < tblZiel.FieldCount(); ++i) {
            db::Field* field = tblZiel.Fields(i);
            const int typ = static_cast<int>(field->DataType());
            tblZStrukt.Append();
            auto set = [&](const char* column, const QVariant& value) {
                tblZStrukt.FieldByName(QLatin1String(column))->setAsVariant(value);
            };
            set("Index", field->IsIndexField() ? "X" : "");
            set("Feldname", field->FieldName());
            set("Laenge", engine::LaengeText(*field));
            set("Typbezeichnung", engine::Typbezeichnung(typ, engine::TypeNameTable::ZStrukt));
            set("Typ", typ);
            set("Zuordnung", field->FieldName());
            set("FeldAkt", true);
            set("Ausrichtung_re", true);  // a fresh mapping aligns digits right (Plz, Nr)
            for (const char* flag : {"BedGleich", "BedKleiner", "BedGroesser", "BedLeer", "Ausrichtung_li",
                                     "Ueberl_abschneid_li", "Ueberl_abschneid_re"})
                set(flag, false);
            // A dBase target keeps its field names in capitals.
            const auto is = [&](const char* name) {
                return field->FieldName().compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
            };
            if (is("Menge"))
                set("Formel_num", "#Menge * 1.16");
            if (is("Preis")) {
                set("Formel_num", "(#Preis + #Menge) / 2");
                set("Runden", 2);
            }
            if (is("Betrag"))
                set("Runden", 1);
            if (is("Notiz")) {
                set("Vorgabewert_alph", "leer");
                set("Quellwert_alph", "-");
            }
            tblZStrukt.Post();
        }
        tblZStrukt.Close();
        tblZiel.Close();
    }
};

long peakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Seconds per benchmark name and record count, for the summary.
std::map<std::string, std::map<int, double>>& timings()
{
    static std::map<std::string, std::map<int, double>> t;
    return t;
}

void report(benchmark::State& state, const std::string& name, int records, double seconds)
{
    timings()[name][records] = seconds;
    state.SetIterationTime(seconds);
    state.counters["records/s"] = records / seconds;
    state.counters["peak_MiB"] = peakKiB() / 1024.0;
}

template <class Run>
double timed(Run&& run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct ModeSetup {
    const char* name;
    int mode;
    bool dbase;
    int targetRecords;  // as a multiple of the source's records (0 or 1)
    int targetKeyBase;  // 1: the same keys as the source; else disjoint keys
};

const ModeSetup modes[] = {
    {"mode1_paradox", 1, false, 0, 1},
    {"mode1_dbase", 1, true, 0, 1},
    {"mode2_paradox_full_target", 2, false, 1, 10'000'000},
    {"mode3_paradox_full_target", 3, false, 1, 1},
    {"mode4_paradox", 4, false, 0, 1},
    {"mode5_paradox_full_target", 5, false, 1, 1},
};

void BM_Mode(benchmark::State& state)
{
    const ModeSetup& m = modes[state.range(0)];
    const int records = static_cast<int>(state.range(1));
    for (auto _ : state) {
        World world(records, m.dbase, m.targetRecords * records, m.targetKeyBase);
        world.run.Startwert = QStringLiteral("50000000");
        const double seconds = timed([&] { engine::Importlauf(world.run, m.mode); });
        if (world.run.counts.AnzFehler != 0)
            state.SkipWithError("the run counted failures");
        report(state, m.name, records, seconds);
    }
}

// The yardstick: the records a mode-1 run produced, appended straight through the engine into a fresh keyed
// Paradox table (and closed, so that they reach the files as the run's do).
void BM_Yardstick(benchmark::State& state)
{
    const int records = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::vector<db::Record> finalRecords;
        QTemporaryDir dir;
        {
            World world(records, false, 0, 1);
            engine::ImportlaufEndeAnhaengen(world.run);
            world.tblZiel.Open();
            for (int i = 0; i < world.tblZiel.RecordCount(); ++i)
                finalRecords.push_back(world.tblZiel.recordAt(i));
        }
        const QString path = dir.path() + "/Direkt.db";
        db::paradox::create(path, recordFields(), 1);
        db::Table table;
        table.setTableName(path);
        const double seconds = timed([&] {
            table.Open();
            for (const db::Record& record : finalRecords) {
                table.Append();
                for (int f = 0; f < static_cast<int>(record.size()); ++f)
                    table.Fields(f)->setAsVariant(record[static_cast<std::size_t>(f)]);
                table.Post();
            }
            table.Close();
        });
        report(state, "yardstick", records, seconds);
    }
}

void registerAll()
{
    for (int records : {10'000, 100'000}) {
        benchmark::RegisterBenchmark("yardstick", BM_Yardstick)->Arg(records)->Iterations(1)->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        for (int i = 0; i < static_cast<int>(std::size(modes)); ++i) {
            benchmark::RegisterBenchmark(modes[i].name, BM_Mode)
                ->Args({i, records})
                ->Iterations(1)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
        }
    }
}

void printSummary()
{
    auto& t = timings();
    std::printf("\n%-28s %12s %12s %14s %16s\n", "run", "rec/s 10k", "rec/s 100k", "x yardstick", "100k/10k per rec");
    for (const auto& [name, bySize] : t) {
        const double t10 = bySize.count(10'000) ? bySize.at(10'000) : 0;
        const double t100 = bySize.count(100'000) ? bySize.at(100'000) : 0;
        const double yard = t.count("yardstick") && t["yardstick"].count(100'000) ? t["yardstick"][100'000] : 0;
        std::printf("%-28s %12.0f %12.0f %14.2f %16.2f\n", name.c_str(), t10 > 0 ? 10'000 / t10 : 0,
                    t100 > 0 ? 100'000 / t100 : 0, yard > 0 ? t100 / yard : 0,
                    t10 > 0 ? (t100 / 100'000) / (t10 / 10'000) : 0);
    }
    if (t.count("mode1_paradox") && t["mode1_paradox"].count(100'000)) {
        const double m1 = t["mode1_paradox"][100'000];
        for (const char* name : {"mode2_paradox_full_target", "mode5_paradox_full_target"}) {
            if (t.count(name) && t[name].count(100'000))
                std::printf("%s / mode 1 at 100k: %.2f\n", name, t[name][100'000] / m1);
        }
    }
    std::printf("peak memory of the process: %.1f MiB\n", peakKiB() / 1024.0);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    return 0;
}
