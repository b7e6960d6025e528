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
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

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
