// The whole road of a separated text file into a keyed Paradox target and into a dBase target, as a user takes it:
// the file read, the sized source table in Temp, import mode 1 with every column mapped. Side by side in one run:
// the sqlite3 command-line tool importing the same file into a table with an INTEGER PRIMARY KEY and into one
// without a key (skipped with a note when sqlite3 is not installed), and shapelib writing the same records into a
// dBase file.
//
// Figures printed: seconds and microseconds per record of every road at 100,000 and 1,000,000 lines, the text
// road's share, the ratio to sqlite3, the peak resident memory of each road of ours against the file's size plus
// 128 MB, and the time per record at 1,000,000 against that at 100,000; with --with_10m also our roads at
// 10,000,000 lines: time per record and peak memory against those at 100,000. The files lie in a temporary folder
// (TMPDIR) that is removed at the end.
#include "db/DataSource.h"
#include "db/Field.h"
#include "db/Table.h"
#include "db/BatchMove.h"
#include "db/paradox/ParadoxTable.h"
#include "engine/EngineContext.h"
#include "engine/ImportSetting.h"
#include "engine/Importlauf.h"
#include "engine/TextReadProgress.h"
#include "engine/Textimport.h"
#include "engine/WorkingTables.h"
#include "parser/Parser.h"
#include "rtl/FormatSettings.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <shapefil.h>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int Columns = 10;
// The target's text fields: room for the longest value of their column and a few characters more, as a target
// made for such a file has them (the records of a Paradox target are held in memory until the run's flush, so
// their size is part of the run's peak).
constexpr int TextWidths[Columns] = {0, 20, 20, 10, 10, 10, 10, 20, 10, 10};

QTemporaryDir& workDir()
{
    static QTemporaryDir dir;
    return dir;
}

// The resident peak since the last reset, in MB; the reset makes each road's peak its own.
void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

double peakMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

// One line of the customer file: ten columns, about 110 bytes, Windows-1252: quoted names holding the separator and
// umlauts, numbers, dates, plain text. The first column counts the lines and is the key.
int writeLine(char* out, std::size_t room, int i)
{
    return std::snprintf(out, room,
                         "%d;\"M\xfcller; S\xf6hne %d\";\"Hauptstra\xdf""e %d\";%d;\"K\xf6ln-S\xfc""d\";%d,%02d;"
                         "%d.%d.2023;\"Gr\xfc\xdf""e; \xd6l; \xc4pfel\";DE%08d;ok\r\n",
                         i, i % 977, i % 131, 50000 + i % 40000, i % 10000, i % 100, 1 + i % 28, 1 + i % 12,
                         static_cast<int>(static_cast<long long>(i) * 7919 % 100000000));
}

QString separatedFile(int lines)
{
    const QString path = workDir().filePath(QStringLiteral("kunden%1.txt").arg(lines));
    if (QFile::exists(path))
        return path;
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    char line[256];
    for (int i = 0; i < lines; ++i)
        std::fwrite(line, 1, static_cast<std::size_t>(writeLine(line, sizeof line, i)), file);
    std::fclose(file);
    return path;
}

double fileMegabytes(const QString& path)
{
    return static_cast<double>(QFileInfo(path).size()) / (1024.0 * 1024.0);
}

db::FieldDefList targetFields()
{
    db::FieldDefList fields{{QStringLiteral("Nr"), db::FieldType::ftInteger, 0, 0, false}};
    for (int c = 2; c <= Columns; ++c)
        fields.push_back({QStringLiteral("Text%1").arg(c), db::FieldType::ftString, TextWidths[c - 1], 0, false});
    return fields;
}

// A program folder with the working tables, the mapping of every source column onto the target field of its
// place, and an empty target.
struct World {
    QTemporaryDir dir{workDir().filePath(QStringLiteral("world-XXXXXX"))};
    engine::EngineContext context{dir.path()};
    db::Table tblZSP, tblQuelle, tblZiel, tblZStrukt;
    engine::StagedRecords staged;
    db::BatchMove BMV;
    db::DataSource dscZiel;
    parser::TParser Parser1;
    engine::ImportRun run{tblQuelle, dscZiel, Parser1, {}, {}, nullptr, {}, {}};

    explicit World(bool dbase)
    {
        Parser1.setDecimalSeparatorSource([] { return rtl::formatSettings().DecimalSeparator.toLatin1(); });
        const QString zstrukt = dir.filePath(QStringLiteral("ZStrukt.DB"));
        db::paradox::create(zstrukt, engine::ZStruktFields(), 0);
        tblZStrukt.setTableName(zstrukt);
        if (dbase) {
            tblZiel.setTableName(dir.filePath(QStringLiteral("Ziel.dbf")));
            for (const db::FieldDef& f : targetFields())
                tblZiel.FieldDefs().Add(f);
            tblZiel.CreateTable();
        } else {
            db::paradox::create(dir.filePath(QStringLiteral("Ziel.db")), targetFields(), 1);
            tblZiel.setTableName(dir.filePath(QStringLiteral("Ziel.db")));
        }
        dscZiel.setDataSet(&tblZiel);
        tblZiel.Open();
        tblZStrukt.Open();
        for (int i = 0; i < tblZiel.FieldCount(); ++i) {
            db::Field* field = tblZiel.Fields(i);
            const int typ = static_cast<int>(field->DataType());
            tblZStrukt.Append();
            const auto set = [&](const char* column, const QVariant& value) {
                tblZStrukt.FieldByName(QLatin1String(column))->setAsVariant(value);
            };
            set("Index", field->IsIndexField() ? "X" : "");
            set("Feldname", field->FieldName());
            set("Laenge", engine::LaengeText(*field));
            set("Typbezeichnung", engine::Typbezeichnung(typ, engine::TypeNameTable::ZStrukt));
            set("Typ", typ);
            set("Zuordnung", QStringLiteral("FELD_%1").arg(i + 1));
            set("FeldAkt", true);
            for (const char* flag : {"Ausrichtung_re", "BedGleich", "BedKleiner", "BedGroesser", "BedLeer",
                                     "Ausrichtung_li", "Ueberl_abschneid_li", "Ueberl_abschneid_re"})
                set(flag, false);
            tblZStrukt.Post();
        }
        run.setting.Mapping = engine::ReadMapping(tblZStrukt);
        tblZStrukt.Close();
        tblZiel.Close();
    }
    ~World()
    {
        tblQuelle.Close();
        tblZiel.Close();
    }
};

struct RoadFigures {
    double seconds = 0;
    double textSeconds = 0;
    double peakMB = 0;
};

// (road name, lines) -> figures
std::map<std::pair<std::string, int>, RoadFigures>& figures()
{
    static std::map<std::pair<std::string, int>, RoadFigures> f;
    return f;
}

template <class Work>
double timed(Work&& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_Road(benchmark::State& state)
{
    const int lines = static_cast<int>(state.range(0));
    const bool dbase = state.range(1) != 0;
    const QString path = separatedFile(lines);
    for (auto _ : state) {
        World world(dbase);
        resetPeak();
        RoadFigures f;
        f.textSeconds = timed([&] {
            engine::TextReadProgress silent;
            QStringList headers;
            for (int c = 1; c <= Columns; ++c)
                headers << QStringLiteral("FELD_%1").arg(c);
            engine::CreateStagingTable(world.tblZSP, world.staged, engine::StagingTablePath(world.context), headers);
            engine::ReadSeparatedFile(path, world.tblZSP, world.staged, {QStringLiteral(";"), QChar(u'"'), false, false},
                                      silent);
            engine::DefineFieldSizes(world.tblZSP, world.staged, world.tblQuelle,
                                     engine::SourceTablePath(world.context, path), world.BMV, silent);
        });
        const double runSeconds = timed([&] {
            engine::Importlauf(world.run, 1);
            world.tblZiel.Close();
        });
        f.seconds = f.textSeconds + runSeconds;
        f.peakMB = peakMegabytes();
        if (world.run.counts.AnzHinzu != lines || world.run.counts.AnzFehler != 0)
            state.SkipWithError("the run did not add every line without failure");
        figures()[{dbase ? "ours_dbase" : "ours_paradox", lines}] = f;
        state.SetIterationTime(f.seconds);
        state.counters["us/record"] = f.seconds * 1e6 / lines;
        state.counters["text_share"] = f.textSeconds / f.seconds;
        state.counters["peak_MB"] = f.peakMB;
        state.counters["file_MB"] = fileMegabytes(path);
    }
}

void BM_Sqlite(benchmark::State& state)
{
    const int lines = static_cast<int>(state.range(0));
    const bool key = state.range(1) != 0;
    const QString sqlite = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (sqlite.isEmpty()) {
        state.SkipWithError("sqlite3 is not installed: no comparison (apt-get install sqlite3)");
        for (auto _ : state) {
        }
        return;
    }
    const QString path = separatedFile(lines);
    for (auto _ : state) {
        const QString database = workDir().filePath(QStringLiteral("import.sqlite"));
        QFile::remove(database);
        QString columns = key ? QStringLiteral("a INTEGER PRIMARY KEY") : QStringLiteral("a");
        for (int c = 2; c <= Columns; ++c)
            columns += QStringLiteral(", c%1").arg(c);
        const QString script = QStringLiteral("CREATE TABLE t(%1);\n.mode csv\n.separator ;\n.import '%2' t\n")
                                   .arg(columns, path);
        QProcess process;
        const double seconds = timed([&] {
            process.start(sqlite, {database});
            process.write(script.toUtf8());
            process.closeWriteChannel();
            process.waitForFinished(-1);
        });
        if (process.exitCode() != 0)
            state.SkipWithError(process.readAllStandardError().constData());
        QFile::remove(database);
        figures()[{key ? "sqlite3_key" : "sqlite3_no_key", lines}] = {seconds, 0, 0};
        state.SetIterationTime(seconds);
        state.counters["us/record"] = seconds * 1e6 / lines;
    }
}

// shapelib writing the records of the dBase road (the same fields, the values as the file holds them, prepared in
// memory before the clock starts).
void BM_Shapelib(benchmark::State& state)
{
    const int lines = static_cast<int>(state.range(0));
    std::vector<std::string> values;
    values.reserve(static_cast<std::size_t>(lines) * Columns);
    {
        // The values as the text road cuts them: the quotes go, the separators inside them stay.
        char line[256];
        for (int i = 0; i < lines; ++i) {
            const int n = writeLine(line, sizeof line, i) - 2;
            std::string value;
            bool quoted = false;
            for (int p = 0; p < n; ++p) {
                if (line[p] == '"') {
                    quoted = !quoted;
                } else if (line[p] == ';' && !quoted) {
                    values.push_back(value);
                    value.clear();
                } else {
                    value += line[p];
                }
            }
            values.push_back(value);
        }
    }
    for (auto _ : state) {
        const QString base = workDir().filePath(QStringLiteral("shapelib"));
        const double seconds = timed([&] {
            DBFHandle dbf = DBFCreate(QFile::encodeName(base).constData());
            DBFAddField(dbf, "NR", FTInteger, 11, 0);
            for (int c = 2; c <= Columns; ++c)
                DBFAddField(dbf, QStringLiteral("TEXT%1").arg(c).toLatin1().constData(), FTString, TextWidths[c - 1], 0);
            for (int i = 0; i < lines; ++i) {
                const std::string* record = values.data() + static_cast<std::size_t>(i) * Columns;
                DBFWriteIntegerAttribute(dbf, i, 0, std::stoi(record[0]));
                for (int c = 1; c < Columns; ++c)
                    DBFWriteStringAttribute(dbf, i, c, record[c].c_str());
            }
            DBFClose(dbf);
        });
        QFile::remove(base + QStringLiteral(".dbf"));
        figures()[{"shapelib", lines}] = {seconds, 0, 0};
        state.SetIterationTime(seconds);
        state.counters["us/record"] = seconds * 1e6 / lines;
    }
}

// 10,000,000 lines (about 1.1 GB of text) only when asked for with --with_10m: our two roads, to show whether the
// time per record and the peak memory stay flat (the peers' figures at that size say nothing about ours).
bool with10m = false;

std::vector<int> roadLines()
{
    std::vector<int> lines{100'000, 1'000'000};
    if (with10m)
        lines.push_back(10'000'000);
    return lines;
}

void registerAll()
{
    for (int lines : roadLines()) {
        for (int dbase : {0, 1})
            benchmark::RegisterBenchmark(dbase ? "ours_dbase" : "ours_paradox", BM_Road)
                ->Args({lines, dbase})->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
        if (lines > 1'000'000)
            continue;
        for (int key : {1, 0})
            benchmark::RegisterBenchmark(key ? "sqlite3_key" : "sqlite3_no_key", BM_Sqlite)
                ->Args({lines, key})->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
    }
    // Last: it holds every value in memory, which says nothing of our roads' peaks measured before.
    for (int lines : {100'000, 1'000'000})
        benchmark::RegisterBenchmark("shapelib", BM_Shapelib)->Arg(lines)->Iterations(1)->UseManualTime()
            ->Unit(benchmark::kMillisecond);
}

void printSummary()
{
    auto& f = figures();
    const auto seconds = [&](const char* name, int lines) {
        const auto it = f.find({name, lines});
        return it == f.end() ? 0.0 : it->second.seconds;
    };
    const auto peak = [&](const char* name, int lines) {
        const auto it = f.find({name, lines});
        return it == f.end() ? 0.0 : it->second.peakMB;
    };
    std::printf("\n%-16s %10s %10s %10s %10s %12s %12s\n", "road", "s 100k", "s 1M", "us/rec 1M", "1M/100k",
                "peak MB 1M", "file+128 MB");
    const double budget = fileMegabytes(separatedFile(1'000'000)) + 128;
    for (const char* name : {"ours_paradox", "ours_dbase", "sqlite3_key", "sqlite3_no_key", "shapelib"}) {
        const double small = seconds(name, 100'000);
        const double large = seconds(name, 1'000'000);
        std::printf("%-16s %10.2f %10.2f %10.2f %10.2f %12.0f %12.0f\n", name, small, large, large * 1e6 / 1e6,
                    small > 0 ? (large / 1e6) / (small / 1e5) : 0, peak(name, 1'000'000), budget);
    }
    for (int lines : {100'000, 1'000'000}) {
        const double ours = seconds("ours_paradox", lines);
        const auto text = f.find({"ours_paradox", lines});
        if (ours <= 0)
            continue;
        std::printf("%7d lines: Paradox road / sqlite3 with key %.2f, / sqlite3 without key %.2f, text road %.0f %%;"
                    " dBase road / shapelib %.2f\n",
                    lines, seconds("sqlite3_key", lines) > 0 ? ours / seconds("sqlite3_key", lines) : 0,
                    seconds("sqlite3_no_key", lines) > 0 ? ours / seconds("sqlite3_no_key", lines) : 0,
                    text->second.textSeconds / ours * 100,
                    seconds("shapelib", lines) > 0 ? seconds("ours_dbase", lines) / seconds("shapelib", lines) : 0);
    }
    if (with10m) {
        for (const char* name : {"ours_paradox", "ours_dbase"}) {
            const double small = seconds(name, 100'000);
            const double large = seconds(name, 10'000'000);
            if (small <= 0 || large <= 0)
                continue;
            std::printf(
                "%-16s 10M lines: %.2f s, us/record %.2f, / that at 100k %.2f (at most 1.2); peak %.0f MB, "
                "%+.0f MB against 100k (at most +128)\n",
                name, large, large * 1e6 / 1e7, (large / 1e7) / (small / 1e5), peak(name, 10'000'000),
                peak(name, 10'000'000) - peak(name, 100'000));
        }
    }
    if (QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty())
        std::printf("sqlite3 is not installed: the comparison with it was skipped.\n");
}

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--with_10m") {
            with10m = true;
            for (int j = i; j + 1 < argc; ++j)
                argv[j] = argv[j + 1];
            --argc;
            break;
        }
    }
    QCoreApplication app(argc, argv);
    registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    return 0;
}
