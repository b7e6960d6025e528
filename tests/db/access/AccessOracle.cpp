#include "AccessOracle.h"

#include "support/TestSupport.h"

#include <QDateTime>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace accesstest {

namespace {

QByteArray runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("MDBICONV"));
    env.remove(QStringLiteral("MDB_JET3_CHARSET"));
    env.remove(QStringLiteral("MDBOPTS"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed: " << process.readAllStandardError().toStdString();
        return {};
    }
    return process.readAllStandardOutput();
}

// CSV as mdb-export writes it: comma separated, text in double quotes with doubled quotes inside, line breaks
// possible inside quotes.
std::vector<QStringList> parseCsv(const QString& text)
{
    std::vector<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    bool any = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                    cell += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                cell += c;
            }
            continue;
        }
        if (c == u'"') {
            quoted = true;
            any = true;
        } else if (c == u',') {
            row.append(cell);
            cell.clear();
            any = true;
        } else if (c == u'\n') {
            row.append(cell);
            rows.push_back(row);
            row.clear();
            cell.clear();
            any = false;
        } else {
            cell += c;
            any = true;
        }
    }
    if (any) {
        row.append(cell);
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

std::vector<QStringList> exportWithMdbTools(const QString& database, const QString& table)
{
    const QString format = QStringLiteral("%Y-%m-%d %H:%M:%S");
    const QByteArray out = runTool(QStringLiteral("mdb-export"),
                                   {QStringLiteral("-H"), QStringLiteral("-b"), QStringLiteral("hex"),
                                    QStringLiteral("-D"), format, QStringLiteral("-T"), format, database, table});
    return parseCsv(QString::fromUtf8(out));
}

QStringList tablesWithMdbTools(const QString& database)
{
    const QByteArray out = runTool(QStringLiteral("mdb-tables"), {QStringLiteral("-1"), database});
    return QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts);
}

QString asMdbExportText(const QVariant& value, int accessType)
{
    namespace T = db::access::AccessType;
    if (!value.isValid())
        return {};
    switch (accessType) {
    case T::Boolean:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case T::Currency:
        return QString::number(value.toDouble(), 'f', 4);
    case T::Single:
        return QString::asprintf("%.8g", value.toDouble());
    case T::Double:
        return QString::asprintf("%.16g", value.toDouble());
    case T::DateTime: {
        // mdb-export rounds the time to whole seconds.
        const QDateTime t = value.toDateTime().addMSecs(500);
        return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    case T::Binary:
    case T::Ole:
        return QString::fromLatin1(value.toByteArray().toHex().toUpper());
    default:
        return value.toString();
    }
}

bool sameAsMdbExport(const QVariant& value, int accessType, const QString& printed)
{
    namespace T = db::access::AccessType;
    if (accessType == T::DateTime && printed == QStringLiteral("1900-01-00 00:00:00"))
        return value.toDateTime() < QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
    if (accessType == T::ReplicationId) {
        QString text = QString::fromLatin1(QByteArray::fromHex(printed.toLatin1()));
        return value.toString().remove(u'-') == text.remove(u'-');
    }
    return asMdbExportText(value, accessType) == printed;
}

QStringList readableFixtures()
{
    return {QStringLiteral("access/jackcess/testV1997.mdb"),          QStringLiteral("access/jackcess/test2V1997.mdb"),
            QStringLiteral("access/jackcess/overflowTestV1997.mdb"),  QStringLiteral("access/jackcess/testIndexCodesV1997.mdb"),
            QStringLiteral("access/jackcess/indexTestV1997.mdb"),     QStringLiteral("access/jackcess/test2V2000.mdb"),
            QStringLiteral("access/jackcess/fixedNumericTestV2000.mdb"), QStringLiteral("access/jackcess/fixedTextTestV2000.mdb"),
            QStringLiteral("access/jackcess/delColTestV2000.mdb"),    QStringLiteral("access/jackcess/testUnicodeCompV2003.mdb")};
}

}  // namespace accesstest
