#include "engine/BriskoRoutines.h"

#include "db/Field.h"
#include "db/FileLock.h"
#include "db/Table.h"
#include "db/paradox/ParadoxTable.h"

#include "platform/ScriptedUi.h"
#include "rtl/Conversions.h"
#include "rtl/FormatSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace engine;

namespace {

void writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList filesIn(const QString& dir)
{
    QStringList names = QDir(dir).entryList(QDir::Files, QDir::Name);
    return names;
}

class FileRoutines : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(src.isValid() && dst.isValid());
        writeFile(src.filePath("Kunden.DB"), "db");
        writeFile(src.filePath("KUNDEN.mb"), "mb");
        writeFile(src.filePath("Kunden.PX"), "px");
        writeFile(src.filePath("Kundenliste.txt"), "other");
        writeFile(src.filePath("Artikel.DB"), "art");
        QDir(src.path()).mkdir("Kunden.dir");  // a folder that matches the mask
    }
    QTemporaryDir src, dst;
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed{ui};
};

}  // namespace

TEST_F(FileRoutines, CopyFilesTakesEveryExtensionOfTheBaseNameWithoutRegardToCase)
{
    EXPECT_EQ(CopyFiles(src.path() + "/kunden.*", dst.path(), QString()), 3);
    EXPECT_EQ(filesIn(dst.path()), (QStringList{"KUNDEN.mb", "Kunden.DB", "Kunden.PX"}));
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(FileRoutines, CopyFilesUnderANewBaseNameKeepsEachExtension)
{
    EXPECT_EQ(CopyFiles(src.path() + "/Kunden.*", dst.path() + "/", "17"), 3);
    EXPECT_EQ(filesIn(dst.path()), (QStringList{"17.DB", "17.PX", "17.mb"}));
    EXPECT_EQ(readFile(dst.filePath("17.mb")), "mb");
}

TEST_F(FileRoutines, CopyFilesNeverCopiesAFolderAndCountsNothingForNoMatch)
{
    EXPECT_EQ(CopyFiles(src.path() + "/*.dir", dst.path(), QString()), 0);
    EXPECT_EQ(CopyFiles(src.path() + "/Nichts.*", dst.path(), QString()), 0);
    EXPECT_TRUE(filesIn(dst.path()).isEmpty());
    EXPECT_TRUE(QDir(dst.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(FileRoutines, CopyFilesRefusesMissingArgumentsAndMissingTargetFolder)
{
    ui.answer(platform::Button::Ok).answer(platform::Button::Ok).answer(platform::Button::Ok);
    EXPECT_EQ(CopyFiles(QString(), dst.path(), QString()), -1);
    EXPECT_EQ(CopyFiles(src.path() + "/*.*", QString(), QString()), -1);
    EXPECT_EQ(CopyFiles(src.path() + "/*.*", dst.path() + "/fehlt", QString()), -1);
    const QStringList texts = ui.messageTexts();
    ASSERT_EQ(texts.size(), 3);
    EXPECT_EQ(texts[0], "Quell- oder Zieldatei wurde nicht angegeben!");
    EXPECT_EQ(texts[2], "Zielpfad nicht vorhanden: " + dst.path() + "/fehlt");
    EXPECT_EQ(ui.messages()[0].type, platform::MessageType::Error);
}

TEST_F(FileRoutines, CopyFileToKeepsTheOldTargetWhenTheSourceCannotBeRead)
{
    writeFile(dst.filePath("Ziel.DB"), "keep me");
    ui.answer(platform::Button::Ok);
    EXPECT_NE(CopyFileTo(src.filePath("fehlt.DB"), dst.filePath("Ziel.DB")), 0);
    EXPECT_EQ(readFile(dst.filePath("Ziel.DB")), "keep me");
    EXPECT_EQ(ui.messageTexts().value(0), "Die Datei " + src.filePath("fehlt.DB") + "kann nicht geöffnet werden");
}

TEST_F(FileRoutines, CopyFileToReplacesAnExistingTargetWithTheWholeSource)
{
    QByteArray big(3 * 8192 + 17, 'x');  // more than one buffer, not a multiple of it
    big[8192] = 'y';
    writeFile(src.filePath("gross.bin"), big);
    writeFile(dst.filePath("gross.bin"), "old");
    EXPECT_EQ(CopyFileTo(src.filePath("gross.bin"), dst.filePath("gross.bin")), 0);
    EXPECT_EQ(readFile(dst.filePath("gross.bin")), big);
    EXPECT_EQ(filesIn(dst.path()), QStringList{"gross.bin"});  // no temporary file left behind
}

TEST_F(FileRoutines, DeleteFilesRemovesMatchingFilesOnly)
{
    EXPECT_EQ(DeleteFiles(src.path() + "/KUNDEN.*"), 3);
    EXPECT_EQ(filesIn(src.path()), (QStringList{"Artikel.DB", "Kundenliste.txt"}));
    EXPECT_TRUE(QFileInfo(src.filePath("Kunden.dir")).isDir());
    ui.answer(platform::Button::Ok);
    EXPECT_EQ(DeleteFiles(QString()), -1);
    EXPECT_EQ(ui.messageTexts().value(0), "Dateien wurden nicht angegeben!");
}

TEST_F(FileRoutines, StarDotStarAlsoMatchesNamesWithoutExtension)
{
    writeFile(src.filePath("ohneendung"), "x");
    EXPECT_EQ(DeleteFiles(src.path() + "/*.*"), 6);
    EXPECT_TRUE(filesIn(src.path()).isEmpty());
}

TEST(TextRoutines, DigitTestPaddingCuttingAndRanges)
{
    struct {
        const char* s;
        bool numeric;
    } const numerics[] = {{"", false}, {"12a", false}, {"-1", false}, {" 1", false}, {"007", true}, {"1,5", false}};
    for (const auto& c : numerics)
        EXPECT_EQ(IsNumeric(QString::fromUtf8(c.s)), c.numeric) << c.s;

    EXPECT_EQ(PadLeftTo("42", 5), "   42");
    EXPECT_EQ(PadLeftTo("sechs6", 5), "sechs6");
    EXPECT_EQ(CutToLength("ABCDEFG", 4), "DEFG");
    EXPECT_EQ(CutToLength("ABC", 4), "ABC");
    EXPECT_EQ(CopyRange("abcdef", 2, 4), "bcd");
    EXPECT_EQ(CopyRange("abc", 5, 9), "");
    EXPECT_EQ(CopyRange("abc", 3, 2), "");
    EXPECT_EQ(CopyRange("abc", 2, 9), "bc");
    EXPECT_EQ(IfThenStr(true, "a", "b"), "a");
    EXPECT_EQ(IntMax(-3, 2), 2);
    EXPECT_EQ(IntMin(-3, 2), -3);
}

TEST(TextRoutines, CountersWithThousandsSeparators)
{
    rtl::FormatSettingsGuard guard;
    rtl::formatSettings().ThousandSeparator = u'.';
    struct {
        std::int32_t value;
        const char* text;
    } const cases[] = {{1234567, "1.234.567"}, {999, "999"}, {-123456, "-123.456"}, {0, "0"},
                       {1000, "1.000"},        {-100, "-100"}, {INT32_MIN, "-2.147.483.648"}};
    for (const auto& c : cases) {
        EXPECT_EQ(IntToStrThousands(c.value), c.text);
        EXPECT_EQ(StrToIntThousands(c.text), c.value);
    }
    EXPECT_THROW(StrToIntThousands("1.2x"), rtl::EConvertError);
}

TEST(TextRoutines, RoundingHalvesAwayFromZeroUnderEitherDecimalSeparator)
{
    rtl::FormatSettingsGuard guard;
    for (const QChar sep : {QChar(u'.'), QChar(u',')}) {
        rtl::formatSettings().DecimalSeparator = sep;
        EXPECT_DOUBLE_EQ(RoundToDecimals(2, 2.345), 2.35);
        EXPECT_DOUBLE_EQ(RoundToDecimals(0, -2.5), -3.0);
        EXPECT_DOUBLE_EQ(RoundToDecimals(1, 0.05), 0.1);
        EXPECT_DOUBLE_EQ(RoundToDecimals(3, 1234.5), 1234.5);
    }
}

// Rounding works on the digits, the counters read their text without copying it: both must give exactly what the
// text round trip they stand for gives, or fail with its error.
TEST(TextRoutines, RoundingAndCountersAgreeWithTheirTextRoundTrip)
{
    rtl::FormatSettingsGuard guard;
    const auto viaText = [](int decimals, double value) {
        return rtl::StrToFloat(rtl::FormatFixed(value, decimals, 40));
    };
    const double edges[] = {0.0,     -0.0,    0.004,     -0.004,   0.005,   -0.005,  0.999,  9.995,    99.5,
                            2.345,   1e-20,   -1e-20,    1e15,     123456789012345.6,  4.35,   1.0 / 3,  2.0 / 3,
                            1e300,   -1e300,  5e-324,    0.5,      -2.5,    1234.5,  1e-5,   0.15,     1.005,
                            // Halfway between two fifteen-digit decimals, and a carry into a sixteenth digit.
                            100000000000000.5, 123456789012345.5, 123456789012346.5, 999999999999999.5,
                            1e-7,    9.999999999999995e-8, 1e14,  99999999999999.95, 1.0 / 7, 1000.0 / 7};
    std::uint64_t seed = 0x9E3779B97F4A7C15ull;
    std::vector<double> values(std::begin(edges), std::end(edges));
    for (int i = 0; i < 4000; ++i) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        const double mantissa = static_cast<double>(seed >> 11) / static_cast<double>(1ull << 53);
        const int exponent = static_cast<int>((seed >> 3) % 40) - 20;
        values.push_back((seed & 1 ? -1 : 1) * mantissa * std::pow(10.0, exponent));
    }
    for (const QChar sep : {QChar(u'.'), QChar(u',')}) {
        rtl::formatSettings().DecimalSeparator = sep;
        for (const double value : values) {
            for (const int decimals : {0, 1, 2, 3, 7, 15, 18, 19}) {
                const double expected = viaText(decimals, value);
                const double got = RoundToDecimals(static_cast<std::int8_t>(decimals), value);
                ASSERT_EQ(std::signbit(got), std::signbit(expected)) << value << " " << decimals;
                ASSERT_EQ(got, expected) << value << " " << decimals;
            }
        }
    }
    for (const QChar sep : {QChar(u'.'), QChar(u','), QChar(u'E'), QChar(u'5')}) {
        rtl::formatSettings().DecimalSeparator = sep;
        std::size_t answered = 0;
        for (const double value : values) {
            const std::optional<double> got = NumberThroughText(value);
            answered += got.has_value();
            double expected = 0;
            if (!rtl::TryStrToFloat(rtl::FloatToStr(value), expected)) {
                ASSERT_FALSE(got) << value;
            } else if (got) {
                ASSERT_EQ(std::signbit(*got), std::signbit(expected)) << value;
                ASSERT_EQ(*got, expected) << value;
            }
        }
        // Under the usual separators nearly every value is answered without its text.
        if (sep == u'.' || sep == u',') {
            EXPECT_GT(answered, values.size() - 10);
        }
    }
    rtl::formatSettings().DecimalSeparator = u',';
    EXPECT_FALSE(NumberThroughText(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(NumberThroughText(std::numeric_limits<double>::max()));

    EXPECT_THROW(RoundToDecimals(-1, 2.5), rtl::EConvertError);
    EXPECT_THROW(RoundToDecimals(2, std::numeric_limits<double>::max()), rtl::EConvertError);
    EXPECT_THROW(RoundToDecimals(2, std::numeric_limits<double>::quiet_NaN()), rtl::EConvertError);

    const struct {
        QChar separator;
        const char* text;
    } counters[] = {{u'.', ""},           {u'.', "-"},           {u'.', "+1.000"},         {u'.', " 12"},
                    {u'.', "12 "},        {u'.', "1..2"},        {u'.', "2.147.483.647"},  {u'.', "2.147.483.648"},
                    {u'.', "-2.147.483.648"}, {u'.', "-2.147.483.649"}, {u'.', "- 1"},     {u'.', "99999999999999"},
                    {u' ', "1 234 567"},  {u' ', " - 1 000"},    {u'-', "1-000"},          {u'.', "1.2x"}};
    for (const auto& c : counters) {
        rtl::formatSettings().ThousandSeparator = c.separator;
        QString plain = QString::fromUtf8(c.text);
        plain.remove(c.separator);
        std::int32_t expected = 0;
        if (rtl::TryStrToInt(plain, expected))
            EXPECT_EQ(StrToIntThousands(QString::fromUtf8(c.text)), expected) << c.text;
        else
            EXPECT_THROW(StrToIntThousands(QString::fromUtf8(c.text)), rtl::EConvertError) << c.text;
    }
}

TEST(TextRoutines, OemTextBecomesWindowsText)
{
    // "Müller" written under DOS code page 850 and read as 1252 shows 0x81 where the ü belongs.
    const QString dos = QStringLiteral("M") + QChar(0x0081) + QStringLiteral("ller");
    EXPECT_EQ(OemToAnsiStr(dos), QString::fromUtf8("Müller"));
    EXPECT_EQ(OemToAnsiStr(QString()), QString());
}

namespace {

// Another program holding a table: a child process with the table's lock, released when the pipe closes.
class HeldByAnotherProcess {
public:
    explicit HeldByAnotherProcess(const QString& path)
    {
        int ready[2], release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0)
            throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(release[1]);
            db::FileLock lock;
            lock.acquire(path, db::OpenMode::Shared);
            char c = 1;
            (void)!::write(ready[1], &c, 1);
            (void)!::read(release[0], &c, 1);  // returns when the parent closes its end
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        releaseFd_ = release[1];
        char c;
        (void)!::read(ready[0], &c, 1);
        ::close(ready[0]);
    }
    ~HeldByAnotherProcess()
    {
        ::close(releaseFd_);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }

private:
    pid_t pid_ = -1;
    int releaseFd_ = -1;
};

}  // namespace

TEST(EmptyTableExclusive, EmptiesATableNobodyElseHoldsAndLeavesItClosed)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Kunden.DB");
    db::paradox::create(path, {{"Name", db::FieldType::ftString, 20, 0, false}}, 0);
    db::Table table;
    table.setTableName(path);
    table.Open();
    table.Append();
    table.FieldByName("Name")->setAsString("Meier");
    table.Post();

    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    EXPECT_TRUE(EmptyTableExclusive(table));
    EXPECT_FALSE(table.Active());
    EXPECT_FALSE(table.Exclusive());
    table.Open();
    EXPECT_EQ(table.RecordCount(), 0);
}

TEST(EmptyTableExclusive, ATableAnotherProgramHoldsIsReportedAndLeftClosedAndWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Kunden.DB");
    db::paradox::create(path, {{"Name", db::FieldType::ftString, 20, 0, false}}, 0);
    {
        db::Table writer;
        writer.setTableName(path);
        writer.Open();
        writer.Append();
        writer.FieldByName("Name")->setAsString("Meier");
        writer.Post();
    }
    db::Table table;
    table.setTableName(path);
    table.Open();

    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    ui.answer(platform::Button::Ok);
    {
        HeldByAnotherProcess other(path);
        EXPECT_FALSE(EmptyTableExclusive(table));
    }
    EXPECT_FALSE(table.Active());
    EXPECT_TRUE(table.Exclusive());
    const QStringList texts = ui.messageTexts();
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts[0].startsWith("Leeren der Datenbank " + path + " ist fehlgeschlagen.\r\n"
                                    "Die Datenbank konnte nicht exclusiv geöffnet werden\r\n\r\n"
                                    "Mögliche Problemlösung:\r\n"))
        << texts[0].toStdString();
    table.setExclusive(false);
    table.Open();
    EXPECT_EQ(table.RecordCount(), 1);
}
