#include "db/Aliases.h"
#include "db/EngineError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace {

// Each case gets a configuration folder of its own inside the one the test runner set up, so that cases running
// side by side never see each other's alias file and no user's configuration is ever touched.
class AliasesTest : public testing::Test {
protected:
    void SetUp() override
    {
        // The test runner sets a configuration folder of its own; run by hand, a temporary one stands in.
        runnerConfig_ = qgetenv("XDG_CONFIG_HOME");
        const QString base = runnerConfig_.isEmpty() ? QDir::tempPath() : QString::fromLocal8Bit(runnerConfig_);
        config_.emplace(base + QStringLiteral("/aliases-XXXXXX"));
        ASSERT_TRUE(config_->isValid());
        qputenv("XDG_CONFIG_HOME", config_->path().toLocal8Bit());
        ASSERT_TRUE(data_.isValid());
    }

    void TearDown() override
    {
        if (runnerConfig_.isEmpty())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", runnerConfig_);
    }

    QString aliasDir() const { return config_->path() + QStringLiteral("/Velmora"); }

    void writeAliasFile(const QString& content)
    {
        ASSERT_TRUE(QDir().mkpath(aliasDir()));
        QFile file(aliasDir() + QStringLiteral("/Import-Aliases.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content.toUtf8());
    }

    QByteArray runnerConfig_;
    std::optional<QTemporaryDir> config_;
    QTemporaryDir data_;
};

TEST_F(AliasesTest, FileLivesInTheUsersConfigurationFolder)
{
    EXPECT_EQ(db::Aliases::configFile(), config_->path() + QStringLiteral("/Velmora/Import-Aliases.ini"));
}

TEST_F(AliasesTest, FoldersAreFound)
{
    const QString data = data_.path();
    ASSERT_TRUE(QDir(data).mkpath(QStringLiteral("Ferolin")));
    ASSERT_TRUE(QDir(data).mkpath(QStringLiteral("Müller, GmbH")));
    ASSERT_TRUE(QDir(data).mkpath(QStringLiteral("a,b")));
    ASSERT_TRUE(QDir().mkpath(aliasDir() + QStringLiteral("/relativ")));

    const struct {
        const char* name;
        QString value;      // as written in the file
        const char* alias;  // as asked for
        QString expected;
    } cases[] = {
        {"exact name", data + "/Ferolin", "FRDB", data + "/Ferolin/"},
        {"name in another case", data + "/Ferolin", "frdb", data + "/Ferolin/"},
        {"folder with trailing slash", data + "/Ferolin/", "FRDB", data + "/Ferolin/"},
        {"folder not clean", data + "/./Ferolin/../Ferolin", "FRDB", data + "/Ferolin/"},
        {"quoted folder with a comma", "\"" + data + "/Müller, GmbH\"", "FRDB", data + "/Müller, GmbH/"},
        {"unquoted comma", data + "/a,b", "FRDB", data + "/a,b/"},
        {"relative to the alias file", "relativ", "FRDB", aliasDir() + "/relativ/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeAliasFile("[Aliases]\nDuzEvod=" + data + "\nFRDB=" + c.value + "\n");
        try {
            EXPECT_EQ(db::Aliases::folder(QString::fromUtf8(c.alias)), c.expected);
            EXPECT_EQ(db::Aliases::folder(QStringLiteral("DuzEvod")), data + "/");
        } catch (const db::EngineError& e) {
            ADD_FAILURE() << e.message().toStdString();
        }
    }
}

TEST_F(AliasesTest, MissingAliasesAndFoldersAreErrors)
{
    const QString data = data_.path();
    const struct {
        const char* name;
        const char* content;  // nullptr: no alias file at all; %1 stands for an existing folder
        const char* expected; // part of the message
    } cases[] = {
        {"no alias file", nullptr, "Import-Aliases.ini fehlt"},
        {"alias not defined", "[Aliases]\nDuzEvod=%1\n", "'FRDB' ist nicht eingerichtet"},
        {"alias in another section", "[Sonstiges]\nFRDB=%1\n", "'FRDB' ist nicht eingerichtet"},
        {"folder does not exist", "[Aliases]\nFRDB=%1/fehlt\n", "/fehlt des Datenbank-Alias 'FRDB' existiert nicht"},
        {"folder is a file", "[Aliases]\nFRDB=%1/datei.txt\n", "/datei.txt des Datenbank-Alias 'FRDB' existiert nicht"},
        {"empty folder", "[Aliases]\nFRDB=\n", "kein Ordner angegeben"},
    };
    QFile file(data + "/datei.txt");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(aliasDir() + QStringLiteral("/Import-Aliases.ini"));
        if (c.content)
            writeAliasFile(QString::fromUtf8(c.content).arg(data));
        try {
            db::Aliases::folder(QStringLiteral("FRDB"));
            ADD_FAILURE() << "no error";
        } catch (const db::EngineError& e) {
            EXPECT_EQ(e.code(), db::ErrorCode::AliasNotFound);
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.expected))) << e.message().toStdString();
        }
    }
}

}  // namespace
