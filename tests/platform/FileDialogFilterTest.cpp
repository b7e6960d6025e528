#include "platform/FileDialogFilter.h"

#include "DialogDriver.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(FileDialogFilter, ClassicNotationBecomesQtNameFilters)
{
    struct Case {
        const char* name;
        QString filter;
        QStringList expected;
    };
    const Case cases[] = {
        {"padded descriptions, several masks",
         QStringLiteral("Alle Dateien (*.*)          |*.*|Paradox (*.db); dBase(*.dbf)|*.db; *.dbf"),
         {QStringLiteral("Alle Dateien (*.*) (*)"),
          QStringLiteral("Paradox (*.db); dBase(*.dbf) (*.[dD][bB] *.[dD][bB][fF])")}},
        {"blanks around the separator", QStringLiteral("Importeinstellungen | VorDef.DB"),
         {QStringLiteral("Importeinstellungen ([vV][oO][rR][dD][eE][fF].[dD][bB])")}},
        {"empty mask means every file", QStringLiteral("Alles|"), {QStringLiteral("Alles (*)")}},
        {"description without mask is dropped", QStringLiteral("Text (*.txt)|*.txt|Rest"),
         {QStringLiteral("Text (*.txt) (*.[tT][xX][tT])")}},
        {"no filter", QString(), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::qtNameFilters(c.filter), c.expected);
    }
}

// The patterns must find the same files as on a system whose file names ignore case.
TEST(FileDialogFilter, PatternsMatchFileNamesOfAnyCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"KUNDEN.DB", "kunden.mb", "Artikel.Db", "liste.dbf", "readme", "notiz.txt"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    struct Case {
        QString mask;
        QStringList expected;
    };
    const Case cases[] = {
        {QStringLiteral("*.db"), {QStringLiteral("Artikel.Db"), QStringLiteral("KUNDEN.DB")}},
        {QStringLiteral("*.DBF"), {QStringLiteral("liste.dbf")}},
        {QStringLiteral("*.*"),
         {QStringLiteral("Artikel.Db"), QStringLiteral("KUNDEN.DB"), QStringLiteral("kunden.mb"),
          QStringLiteral("liste.dbf"), QStringLiteral("notiz.txt"), QStringLiteral("readme")}},
        {QStringLiteral("Kunden.??"), {QStringLiteral("KUNDEN.DB"), QStringLiteral("kunden.mb")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask.toStdString());
        QDir d(dir.path());
        d.setSorting(QDir::Name | QDir::IgnoreCase);
        d.setFilter(QDir::Files);
        d.setNameFilters({platform::caseInsensitivePattern(c.mask)});
        EXPECT_EQ(d.entryList(), c.expected);
    }
}

}  // namespace
