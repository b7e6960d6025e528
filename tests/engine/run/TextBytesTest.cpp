#include "RunFixture.h"

#include "db/Field.h"
#include "engine/FieldPipeline.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <stdexcept>

using db::FieldType;

namespace {

// The target's files after a run: every file of the table's name, by extension.
using Files = std::map<QString, QByteArray>;

// One run of a mode over a keyless text source into a Paradox target, with options on the text rows.
struct BytesCase {
    const char* name;
    int mode;
    std::vector<Values> targetRecords;  // stored before the run
    Options options;                    // on every row but the key row, which align nothing else
    int bytesRows;                      // rows that pass their texts as bytes
    bool required = false;              // T1 must hold a value
    int targetCodePage = 0;             // 0: the one the engine makes, as the source's
};

// Source (code page 1252): the key as text, then texts of 12, 4 and 30 characters. Target: an integer key, then texts of 8, 6 and
// 10 characters, so that some values are cut and one source field is larger than its target field.
const db::FieldDefList sourceFields{def("K", FieldType::ftString, 6), def("Q1", FieldType::ftString, 12),
                                    def("Q2", FieldType::ftString, 4), def("Q3", FieldType::ftString, 30)};

db::FieldDefList targetFields(bool required)
{
    db::FieldDefList fields{def("Nr", FieldType::ftInteger), def("T1", FieldType::ftString, 8),
                            def("T2", FieldType::ftString, 6), def("T3", FieldType::ftString, 10)};
    fields[1].required = required;
    return fields;
}

// Values each path must treat alike: umlauts (bytes above 127), cuts, blanks alone, digits alone (aligned), digits
// between blanks (left alignment), control characters, a blank field, characters a target's code page may lack.
const std::vector<Values> sourceRecords{
    {"1", "M\u00fcller", "ab", "Gr\u00fc\u00dfe aus K\u00f6ln am Rhein"},
    {"2", "Hauptstra\u00dfe 12", "0042", "   "},
    {"3", " 12 ", "7", "12345678901234"},
    {"4", "\t9", QVariant(), "x"},
    {"5", QVariant(), "a b", "\u00c4pfel;\u00d6l"},
    {"6", "  lead", "trl ", "1"},
    {"7", "\x01z", "99", "  007  "},
    {"8", "5 \u20ac", "\u20ac", "\u00a7 \u00e9t\u00e9 \u00bd"},
};

class TextBytes : public RunFixture {
protected:
    struct Outcome {
        Files files;
        QString counters;
        QString error;
    };

    Outcome runCase(const BytesCase& c, bool asBytes)
    {
        TearDown();
        for (const QString& name : QDir(dir.path()).entryList({QStringLiteral("Ziel.*")}, QDir::Files))
            QFile::remove(path(name));
        SetUp();
        makeSource(sourceFields, sourceRecords);
        makeTarget(targetFields(c.required), 1, false, c.targetRecords);
        if (c.targetCodePage != 0)
            setCodePage(path(QStringLiteral("Ziel.db")), c.targetCodePage);
        addRow(QStringLiteral("Nr"), QStringLiteral("K"), {{"Ausrichtung_re", false}});
        Options options{{"Ausrichtung_re", false}};
        options.insert(options.end(), c.options.begin(), c.options.end());
        addRow(QStringLiteral("T1"), QStringLiteral("Q1"), options);
        addRow(QStringLiteral("T2"), QStringLiteral("Q2"), options);
        addRow(QStringLiteral("T3"), QStringLiteral("Q3"), options);
        run.textAsBytes = asBytes;
        run.Startwert = QStringLiteral("100");

        Outcome outcome;
        {
            // The rows that take the byte way, as the run binds them.
            readSetting();
            tblQuelle.Open();
            tblZiel.Open();
            int rows = 0;
            for (const engine::BoundMappingRow& row :
                 engine::BindMappingRows(run.setting.Mapping, tblQuelle, tblZiel, asBytes))
                rows += row.textAsBytes ? 1 : 0;
            EXPECT_EQ(rows, asBytes ? c.bytesRows : 0);
            tblQuelle.Close();
            tblZiel.Close();
        }
        try {
            runMode(c.mode);
        } catch (const std::exception& e) {
            outcome.error = QString::fromUtf8(e.what());
        }
        outcome.counters = counters();
        tblQuelle.Close();
        tblZiel.Close();
        for (const QString& name : QDir(dir.path()).entryList({QStringLiteral("Ziel.*")}, QDir::Files)) {
            QFile file(path(name));
            EXPECT_TRUE(file.open(QIODevice::ReadOnly));
            QByteArray content = file.readAll();
            // The table file holds the time it was written at.
            if (name.endsWith(QLatin1String(".db"), Qt::CaseInsensitive) && content.size() >= 0x64)
                content.replace(0x60, 4, QByteArray(4, '\0'));
            outcome.files[name.toUpper()] = content;
        }
        return outcome;
    }

    // The table's code page as its header names it.
    static void setCodePage(const QString& file, int codePage)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        uchar bytes[2];
        qToLittleEndian(static_cast<quint16>(codePage), bytes);
        ASSERT_TRUE(f.seek(0x6A));
        ASSERT_EQ(f.write(reinterpret_cast<const char*>(bytes), 2), 2);
    }
};

// Every mode and option set gives the same target files, counts and error by the byte way as by the general way;
// the byte way is taken where the options leave the copy alone to decide.
TEST_F(TextBytes, SameFilesAsTheGeneralWay)
{
    const std::vector<Values> half{{2, "alt", "alt", "alt"}, {4, "alt", QVariant(), "alt"}, {6, "", "x", "alt"}};
    const BytesCase cases[] = {
        {"mode 1, right alignment as a new mapping has it", 1, {}, {{"Ausrichtung_re", true}}, 0},
        {"mode 1, no alignment", 1, {}, {}, 3},
        {"mode 1, left alignment", 1, {}, {{"Ausrichtung_li", true}}, 0},
        {"mode 1, right alignment to a Laenge of no digits", 1, {}, {{"Ausrichtung_re", true}, {"Laenge", "x"}}, 3},
        {"mode 1, over-length cut: only the row whose source is not larger", 1, {},
         {{"Ueberl_abschneid_li", true}}, 1},
        {"mode 1, a text default", 1, {}, {{"Vorgabewert_alph", "leer"}, {"Quellwert_alph", "7"}}, 0},
        {"mode 1, a number default", 1, {}, {{"Vorgabewert_num", 5.0}}, 0},
        {"mode 1, a text formula", 1, {}, {{"Formel_alph", "\"<\" + #Q2"}}, 0},
        {"mode 1, a substring", 1, {}, {{"StringAuswahlBeg", 2}, {"StringAuswahlEnd", 3}}, 0},
        {"mode 1, a substring that is no substring", 1, {}, {{"StringAuswahlBeg", 2}, {"StringAuswahlEnd", 0}}, 3},
        {"mode 1, rounding", 1, {}, {{"Runden", 1}}, 0},
        {"mode 1, division", 1, {}, {{"Div", 2.0}}, 0},
        {"mode 1, division by zero is none", 1, {}, {{"Div", 0.0}, {"Mul", 0.0}}, 3},
        {"mode 1, a required field whose source is blank stops the run", 1, {}, {}, 3, true},
        {"mode 1, the target in code page 850", 1, {}, {}, 3, false, 850},
        {"mode 1, the target in code page 1252 as the source", 1, {}, {}, 3, false, 1252},
        {"mode 1, the target in a code page without a table here", 1, {}, {}, 0, false, 1251},
        {"mode 2, half the keys there", 2, half, {}, 3},
        {"mode 3, half the keys there", 3, half, {}, 3},
        {"mode 4", 4, {}, {}, 3},
        {"mode 5, half the keys there", 5, half, {}, 3},
        {"mode 5, a required field", 5, half, {}, 3, true},
    };
    for (const BytesCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome general = runCase(c, false);
        const Outcome bytes = runCase(c, true);
        EXPECT_FALSE(general.files.empty());
        EXPECT_EQ(bytes.counters, general.counters);
        EXPECT_EQ(bytes.error.toStdString(), general.error.toStdString());
        ASSERT_EQ(bytes.files.size(), general.files.size());
        for (const auto& [name, content] : general.files) {
            SCOPED_TRACE(name.toStdString());
            ASSERT_TRUE(bytes.files.count(name));
            const QByteArray& other = bytes.files.at(name);
            qsizetype at = 0;
            while (at < content.size() && at < other.size() && content[at] == other[at])
                ++at;
            EXPECT_EQ(other.size(), content.size());
            EXPECT_EQ(at, content.size()) << "first difference at byte " << at;
        }
    }
}

// A field put as bytes reads as its text before the record is posted, and a cancelled record keeps nothing of it.
TEST_F(TextBytes, ReadBeforePostAndCancel)
{
    makeSource(sourceFields, sourceRecords);
    makeTarget(targetFields(false), 1, false, {{1, "alt", "alt", "alt"}});
    tblQuelle.Open();
    tblZiel.Open();
    db::Field* source = tblQuelle.FieldByName("Q3");
    db::Field* target = tblZiel.FieldByName("T3");
    db::TextByteMap map{};
    ASSERT_TRUE(target->takesTextBytesOf(*source, map));
    EXPECT_FALSE(tblZiel.FieldByName("Nr")->takesTextBytesOf(*tblQuelle.FieldByName("K"), map));
    tblQuelle.First();
    QByteArrayView bytes;
    ASSERT_TRUE(source->textBytes(bytes));
    tblZiel.First();
    tblZiel.Edit();
    ASSERT_TRUE(target->setTextBytes(bytes, map));
    EXPECT_EQ(target->AsString(), QString::fromUtf8("Gr\u00fc\u00dfe aus "));
    tblZiel.Cancel();
    EXPECT_EQ(target->AsString(), QStringLiteral("alt"));
    tblZiel.Edit();
    ASSERT_TRUE(source->textBytes(bytes));
    ASSERT_TRUE(target->setTextBytes(bytes, map));
    tblZiel.Post();
    EXPECT_EQ(target->AsString(), QString::fromUtf8("Gr\u00fc\u00dfe aus "));
    // The euro sign has no byte in the target's code page: that text goes the general way, nothing is set.
    tblQuelle.Last();
    db::Field* euro = tblQuelle.FieldByName("Q2");
    ASSERT_TRUE(euro->textBytes(bytes));
    tblZiel.Edit();
    EXPECT_FALSE(tblZiel.FieldByName("T2")->setTextBytes(bytes, map));
    EXPECT_EQ(tblZiel.FieldByName("T2")->AsString(), QStringLiteral("alt"));
    tblZiel.Cancel();
    // A pending record has no bytes to give.
    tblZiel.Edit();
    EXPECT_FALSE(target->textBytes(bytes));
    tblZiel.Cancel();
}

}  // namespace
