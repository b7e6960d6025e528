#include "AccessOracle.h"
#include "support/TestSupport.h"

#include "db/EngineError.h"
#include "db/access/AccessConnection.h"
#include "db/access/AccessHeader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace db::access;

namespace {

QString connectionStringFor(const QString& path)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path
           + QStringLiteral(";Persist Security Info=False");
}

QString copyInto(const QString& fixture, const QString& dir, const QString& name)
{
    const QString target = QDir(dir).filePath(name);
    QFile::copy(testsupport::fixture(fixture), target);
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    return target;
}

void patch(const QString& path, qint64 offset, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(offset);
    f.write(bytes);
}

int connectError(const QString& connectionString, QString* message = nullptr)
{
    AccessConnection connection;
    connection.setConnectionString(connectionString);
    try {
        connection.connect();
    } catch (const db::EngineError& e) {
        EXPECT_FALSE(connection.isConnected());
        EXPECT_FALSE(e.message().isEmpty());
        if (message)
            *message = e.message();
        return e.code();
    }
    EXPECT_TRUE(connection.isConnected());
    return 0;
}

}  // namespace

TEST(AccessConnection, ConnectionStrings)
{
    QTemporaryDir dir;
    const QString jet3 = testsupport::fixture(QStringLiteral("access/jackcess/testV1997.mdb"));
    QDir(dir.path()).mkdir(QStringLiteral("a;b"));
    const QString withSemicolon = copyInto(QStringLiteral("access/jackcess/testV1997.mdb"),
                                           dir.path() + QStringLiteral("/a;b"), QStringLiteral("x.mdb"));
    struct Case {
        const char* name;
        QString text;
        int code;
    };
    const Case cases[] = {
        {"as the wizard builds it", connectionStringFor(jet3), 0},
        {"keys in other case, no trailing part",
         QStringLiteral("provider=Microsoft.Jet.OLEDB.4.0;data source=") + jet3, 0},
        {"semicolon in the folder name", connectionStringFor(withSemicolon), 0},
        {"other provider", QStringLiteral("Provider=SQLOLEDB;Data Source=") + jet3, db::ErrorCode::NotSupported},
        {"no data source", QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False"),
         db::ErrorCode::InvalidValue},
        {"missing file", connectionStringFor(dir.path() + QStringLiteral("/none.mdb")), db::ErrorCode::IoError},
    };
    for (const Case& c : cases)
        EXPECT_EQ(connectError(c.text), c.code) << c.name;
}

// Files the library must never see, and the password-protected database: each is refused with its own code and a
// message naming the file.
TEST(AccessConnection, RefusedFiles)
{
    QTemporaryDir dir;
    const QString text = QDir(dir.path()).filePath(QStringLiteral("text.mdb"));
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(8192, 'x'));
    }
    const QString ace = copyInto(QStringLiteral("access/jackcess/testV1997.mdb"), dir.path(), QStringLiteral("ace.mdb"));
    patch(ace, 4, QByteArray("Standard ACE DB\0", 16));
    const QString future = copyInto(QStringLiteral("access/jackcess/testV1997.mdb"), dir.path(), QStringLiteral("v9.mdb"));
    patch(future, 0x14, QByteArray(1, char(9)));
    const QString cut = copyInto(QStringLiteral("access/jackcess/testV1997.mdb"), dir.path(), QStringLiteral("cut.mdb"));
    QFile::resize(cut, 50000);
    const QString tiny = copyInto(QStringLiteral("access/jackcess/testV1997.mdb"), dir.path(), QStringLiteral("tiny.mdb"));
    QFile::resize(tiny, 100);

    struct Case {
        const char* name;
        QString path;
        int code;
    };
    const Case cases[] = {
        {"password", testsupport::fixture(QStringLiteral("access/mdb-reader/V2000_with-password.mdb")),
         db::ErrorCode::PasswordProtected},
        {"not a database", text, db::ErrorCode::NotSupported},
        {"Access 2007 format", ace, db::ErrorCode::NotSupported},
        {"unknown version", future, db::ErrorCode::NotSupported},
        {"cut inside a page", cut, db::ErrorCode::CorruptFile},
        {"only a header fragment", tiny, db::ErrorCode::NotSupported},
    };
    for (const Case& c : cases) {
        QString message;
        EXPECT_EQ(connectError(connectionStringFor(c.path), &message), c.code) << c.name;
        EXPECT_TRUE(message.contains(QFileInfo(c.path).fileName())) << c.name << ": " << message.toStdString();
    }
}

TEST(AccessConnection, PasswordIsSeenOnlyWhereSet)
{
    for (const QString& fixture : accesstest::readableFixtures())
        EXPECT_NO_THROW(checkAccessHeader(testsupport::fixture(fixture))) << fixture.toStdString();
}

TEST(AccessConnection, SchemaNeedsAConnection)
{
    AccessConnection connection;
    connection.setConnectionString(connectionStringFor(testsupport::fixture(QStringLiteral("access/jackcess/testV1997.mdb"))));
    try {
        connection.openTablesSchema();
        FAIL() << "no error";
    } catch (const db::EngineError& e) {
        EXPECT_EQ(e.code(), db::ErrorCode::InvalidState);
    }
    connection.connect();
    EXPECT_THROW(connection.setConnectionString(QString()), db::EngineError);
    connection.disconnect();
    EXPECT_THROW(connection.openTablesSchema(), db::EngineError);
}

// The schema in catalog order with the kinds told apart by the catalog's flags.
TEST(AccessConnection, TablesSchema)
{
    AccessConnection connection;
    connection.setConnectionString(connectionStringFor(testsupport::fixture(QStringLiteral("access/jackcess/testV1997.mdb"))));
    connection.connect();
    RecordSet schema = connection.openTablesSchema();
    QStringList rows;
    for (schema.first(); !schema.eof(); schema.next())
        rows.append(schema.fieldByName(QStringLiteral("TABLE_NAME")) + u'=' + schema.fieldByName(QStringLiteral("TABLE_TYPE")));
    EXPECT_EQ(rows.join(u'|').toStdString(),
              "MSysObjects=SYSTEM TABLE|MSysACEs=SYSTEM TABLE|MSysQueries=SYSTEM TABLE|"
              "MSysRelationships=SYSTEM TABLE|MSysModules2=ACCESS TABLE|MSysModules=ACCESS TABLE|"
              "Table1=TABLE|Table2=TABLE|Table3=TABLE|Table4=TABLE");
}

TEST(AccessConnection, ParadoxFieldNames)
{
    struct Case {
        const char* name;
        QStringList access;
        QStringList paradox;
    };
    const Case cases[] = {
        {"short names stay", {QStringLiteral("Name"), QStringLiteral("Straße")},
         {QStringLiteral("Name"), QStringLiteral("Straße")}},
        {"cut to 25 characters", {QStringLiteral("PROJ_OPT_NEW_ARE_EFFORT_DRIVEN")}, {QStringLiteral("PROJ_OPT_NEW_ARE_EFFORT_D")}},
        {"cut names made unique",
         {QStringLiteral("PROJ_OPT_NEW_ARE_EFFORT_DRIVEN"), QStringLiteral("PROJ_OPT_NEW_ARE_EFFORT_DONE")},
         {QStringLiteral("PROJ_OPT_NEW_ARE_EFFORT_D"), QStringLiteral("PROJ_OPT_NEW_ARE_EFFORT_2")}},
        {"unique without regard to case", {QStringLiteral("Feld"), QStringLiteral("FELD")},
         {QStringLiteral("Feld"), QStringLiteral("FELD_2")}},
        {"characters Paradox refuses", {QStringLiteral("Preis (netto)"), QStringLiteral("a->b"), QStringLiteral("  x")},
         {QStringLiteral("Preis _netto_"), QStringLiteral("a_>b"), QStringLiteral("x")}},
        {"only a number sign", {QStringLiteral("#")}, {QStringLiteral("Nr")}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(paradoxFieldNames(c.access), c.paradox) << c.name;
}
