// Language modules: what loads, what is refused with which message, and that no damaged file can do harm.
#include "platform/LocUtils.h"
#include "platform/ScriptedUi.h"
#include "texts/Texts.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

using platform::ResourceModule;

// A resource file of format version 1 with the given top-level files, as rcc writes it.
QByteArray ResourceFile(const std::vector<std::pair<QString, QByteArray>>& files)
{
    QByteArray data, names, tree;
    auto be32 = [](QByteArray& to, quint32 v) { char b[4]; qToBigEndian(v, b); to.append(b, 4); };
    auto be16 = [](QByteArray& to, quint16 v) { char b[2]; qToBigEndian(v, b); to.append(b, 2); };
    // The root: a folder whose children are nodes 1..n.
    be32(tree, 0);
    be16(tree, 2);
    be32(tree, quint32(files.size()));
    be32(tree, 1);
    be16(names, 0);
    be32(names, 0);
    for (const auto& [name, content] : files) {
        be32(tree, quint32(names.size()));
        be16(names, quint16(name.size()));
        be32(names, 0);
        for (QChar c : name)
            be16(names, c.unicode());
        be16(tree, 0);
        be16(tree, 0);
        be16(tree, 0);
        be32(tree, quint32(data.size()));
        be32(data, quint32(content.size()));
        data += content;
    }
    QByteArray file("qres");
    be32(file, 1);
    const quint32 dataAt = 20, namesAt = dataAt + data.size(), treeAt = namesAt + names.size();
    be32(file, treeAt);
    be32(file, dataAt);
    be32(file, namesAt);
    return file + data + names + tree;
}

QByteArray Record(quint32 version)
{
    return platform::MakeSettingsRecord("LDLL", version, 9, "English", "English", 1);
}

QByteArray ShippedModule(const QString& extension)
{
    QFile file(QStringLiteral(IMPORT_PROGRAM_DIR "/Import.") + extension);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

TEST(LanguageModules, TheProgramsOwnRecordHasTheKnownLayout)
{
    const QByteArray* record = ResourceModule::program().resource("_QVT_EXESETTINGS");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->size(), 43);
    platform::TDLLInfoItem item;
    platform::ReadSettingsRecord(ResourceModule::program(), false, item);
    EXPECT_EQ(item.Version, 58u);
    EXPECT_EQ(item.LanguageId, 7);
    EXPECT_EQ(item.LanguageName, "German");
    EXPECT_EQ(item.NativeName, "Deutsch");
    EXPECT_EQ(item.ExtraValue, 1u);
}

TEST(LanguageModules, ModulesAreCheckedAndRefusedWithTheirOwnErrors)
{
    enum class Outcome { Loads, LoadError, InvalidFormat, OutOfVersion };
    const QByteArray record = Record(58);
    struct Case {
        const char* name;
        QByteArray file;
        Outcome outcome;
    };
    const Case cases[] = {
        {"shipped English module", ShippedModule("EN"), Outcome::Loads},
        {"record without extra value", ResourceFile({{"_QVT_LIBSETTINGS", record.left(record.size() - 5)}}),
         Outcome::Loads},
        {"version 59", ResourceFile({{"_QVT_LIBSETTINGS", Record(59)}}), Outcome::OutOfVersion},
        {"without the record", ResourceFile({{"Import.qm", QByteArray()}}), Outcome::LoadError},
        {"only other resources", ResourceFile({{"Anderes", "x"}}), Outcome::InvalidFormat},
        {"the program's magic", ResourceFile({{"_QVT_LIBSETTINGS", "QEXE" + record.mid(4)}}),
         Outcome::InvalidFormat},
        {"record cut in the name", ResourceFile({{"_QVT_LIBSETTINGS", record.left(14)}}), Outcome::InvalidFormat},
        {"version beyond 2^31", ResourceFile({{"_QVT_LIBSETTINGS", Record(0x80000000u + 58)}}),
         Outcome::InvalidFormat},
        {"cut in half", ShippedModule("CSY").left(ShippedModule("CSY").size() / 2), Outcome::LoadError},
        {"not a resource file", "MZ\x90\x00 this is no module", Outcome::LoadError},
        {"empty file", QByteArray(), Outcome::LoadError},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath("Import.EN");
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(c.file);
        out.close();
        platform::TQLocUtils loc;
        QString message;
        Outcome outcome = Outcome::Loads;
        try {
            loc.LoadResourceLibrary(path);
        } catch (const platform::ELULoadResLibError& e) {
            outcome = Outcome::LoadError;
            message = e.message();
        } catch (const platform::ELUInvalidResLibrary& e) {
            outcome = Outcome::InvalidFormat;
            message = e.message();
        } catch (const platform::ELUOutOfVersion& e) {
            outcome = Outcome::OutOfVersion;
            message = e.message();
        }
        EXPECT_EQ(int(outcome), int(c.outcome));
        switch (c.outcome) {
        case Outcome::Loads:
            EXPECT_FALSE(loc.CurrentModule().isProgram());
            break;
        case Outcome::LoadError:
            EXPECT_EQ(message, "Error loading resource file \"" + path + "\"");
            break;
        case Outcome::InvalidFormat:
            EXPECT_EQ(message, "Invalid resource file format");
            break;
        case Outcome::OutOfVersion:
            EXPECT_EQ(message, "The version of the resource file \"" + path +
                                   "\" is invalid. Please, update the file and try again");
            break;
        }
        if (c.outcome != Outcome::Loads) {
            EXPECT_TRUE(loc.CurrentModule().isProgram());
            EXPECT_EQ(texts::Text(64944), texts::GermanText(64944));
        }
    }
}

TEST(LanguageModules, ADamagedModuleIsRefusedOrReadNeverACrash)
{
    const QByteArray shipped = ShippedModule("CSY");
    QRandomGenerator random(20261207);
    int loaded = 0;
    for (int round = 0; round < 400; ++round) {
        QByteArray damaged = shipped;
        if (round % 2 == 0) {
            damaged.truncate(random.bounded(damaged.size()));
        } else {
            for (int flips = 0; flips < 8; ++flips)
                damaged[random.bounded(damaged.size())] = char(random.bounded(256));
        }
        auto module = ResourceModule::fromData(damaged, "Import.CSY");
        if (!module)
            continue;
        ++loaded;
        // What loaded is read as the program reads it; a broken record is refused by its own error.
        try {
            platform::SameSettingsVersion(*module);
        } catch (const platform::ELocUtilsError&) {
        }
        module->text("64944");
    }
    EXPECT_GT(loaded, 0);
}

TEST(LanguageModules, AModuleOfAnotherVersionInUseAtStartIsDroppedWithTheLocalizerError)
{
    QTemporaryDir dir;
    QFile out(dir.filePath("Import.EN"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(ResourceFile({{"_QVT_LIBSETTINGS", Record(59)}}));
    out.close();
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    ui.answer(platform::Button::Ok);
    platform::TQLocUtils loc;
    EXPECT_EQ(loc.LoadStartupModule(dir.filePath("Import"), "en_US"), dir.filePath("Import.EN"));
    loc.CheckResourceVersion();
    EXPECT_TRUE(loc.CurrentModule().isProgram());
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].caption, "Localizer error");
    EXPECT_EQ(ui.messages()[0].text,
              "The version of the resource file is invalid. Please, update the file and try again");
    EXPECT_EQ(ui.messages()[0].type, platform::MessageType::Error);
}

TEST(LanguageModules, TheStartChoosesTheModuleByTheUsersLanguage)
{
    struct Case {
        const char* locale;
        QString abbreviation;
        QString taken;  // extension of the module taken, with Import.EN and Import.CSY present
    };
    const Case cases[] = {
        {"de_DE", "DEU", ""},  {"en_US", "ENU", "EN"}, {"en_GB.UTF-8", "ENG", "EN"}, {"cs_CZ", "CSY", "CSY"},
        {"sk_SK", "SKY", ""},  {"C", "", ""},          {"fr", "FR", ""},              {"xx_YY", "XXY", ""},
    };
    QTemporaryDir dir;
    for (const char* extension : {"EN", "CSY"})
        QFile::copy(QStringLiteral(IMPORT_PROGRAM_DIR "/Import.") + extension, dir.filePath("Import.") + extension);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale);
        EXPECT_EQ(platform::LanguageAbbreviation(c.locale), c.abbreviation);
        platform::TQLocUtils loc;
        const QString taken = loc.LoadStartupModule(dir.filePath("Import"), c.locale);
        EXPECT_EQ(taken, c.taken.isEmpty() ? QString() : dir.filePath("Import.") + c.taken);
    }
}

}  // namespace
