#include "db/EngineError.h"
#include "db/filter/Filter.h"
#include "rtl/FormatSettings.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <gtest/gtest.h>

using db::FieldType;
using db::Record;

namespace {

// One field of every kind a filter treats differently, and a field whose name holds a blank.
db::FieldDefList testFields()
{
    return {
        {"Name", FieldType::ftString, 20},      // 0
        {"Nr", FieldType::ftInteger},           // 1
        {"Preis", FieldType::ftCurrency},       // 2
        {"Eigene", FieldType::ftBoolean},       // 3
        {"Datum", FieldType::ftDate},           // 4
        {"Zeit", FieldType::ftTime},            // 5
        {"Stempel", FieldType::ftDateTime},     // 6
        {"Bild", FieldType::ftGraphic},         // 7
        {"Eigene Nr", FieldType::ftSmallint},   // 8
        {"Notiz", FieldType::ftMemo},           // 9
        {"Menge", FieldType::ftFloat},          // 10
    };
}

Record row(QVariant name, QVariant nr, QVariant preis, QVariant eigene, QVariant datum, QVariant zeit,
           QVariant stempel, QVariant eigeneNr, QVariant notiz, QVariant menge)
{
    return {name, nr, preis, eigene, datum, zeit, stempel, QVariant(), eigeneNr, notiz, menge};
}

// Records are named by their position: r0 ... r5. r5 has no values at all.
std::vector<Record> testRecords()
{
    const QVariant none;
    return {
        row("Meier", 1, 1.5, true, QDate(2024, 1, 31), QTime(8, 0), QDateTime(QDate(2024, 1, 31), QTime(8, 0)), 7,
            "Kunde seit 1990", 2.0),
        row("Müller", 2, 10.0, false, QDate(2024, 2, 1), QTime(12, 30), QDateTime(QDate(2024, 2, 1), QTime(23, 59)),
            8, "", 10.0),
        row("meier", 3, 0.1, true, QDate(2023, 12, 24), QTime(18, 15, 30), QDateTime(QDate(2024, 2, 2), QTime(0, 0)),
            9, none, 1.5),
        row("Schulz  ", 4, -2.25, false, QDate(2024, 3, 1), QTime(0, 0), none, 7, "Rückruf", 4.0),
        row("O'Brien", 5, 100.0, none, none, none, none, none, none, none),
        row(none, none, none, none, none, none, none, none, none, none),
    };
}

class FilterTest : public testing::Test {
protected:
    void SetUp() override
    {
        rtl::FormatSettings& fs = rtl::formatSettings();
        fs.DecimalSeparator = u',';
        fs.ThousandSeparator = u'.';
        fs.DateSeparator = u'.';
        fs.TimeSeparator = u':';
        fs.ShortDateFormat = QStringLiteral("DD/MM/YYYY");
        fs.LongTimeFormat = QStringLiteral("hh:nn:ss");
    }

    // The positions of the matching records, e.g. "0 2". Every record is also tested with only the fields the
    // expression says it uses (cursors leave the others undecoded), which must not change the answer.
    static std::string matching(const QString& text)
    {
        const db::filter::Expression e = db::filter::compile(text, testFields());
        std::string out;
        const std::vector<Record> records = testRecords();
        for (std::size_t i = 0; i < records.size(); ++i) {
            Record usedOnly(records[i].size());
            for (const int field : e.fieldsUsed())
                usedOnly[static_cast<std::size_t>(field)] = records[i][static_cast<std::size_t>(field)];
            const bool matches = e.matches(records[i]);
            EXPECT_EQ(e.matches(usedOnly), matches) << "record " << i << " with only the used fields";
            if (matches) {
                if (!out.empty())
                    out += ' ';
                out += std::to_string(i);
            }
        }
        return out;
    }

    rtl::FormatSettingsGuard settings_;
};

struct MatchCase {
    const char* name;
    const char* filter;
    const char* expected;  // positions of the matching records
};

void runCases(const std::vector<MatchCase>& cases, std::string (*matching)(const QString&))
{
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            EXPECT_EQ(matching(QString::fromUtf8(c.filter)), c.expected) << c.filter;
        } catch (const db::EngineError& e) {
            ADD_FAILURE() << c.filter << ": " << e.message().toStdString();
        }
    }
}

// Every form the filter dialog writes, and the two filters of the settings manager.
TEST_F(FilterTest, FormsTheDialogAndTheSettingsListWrite)
{
    runCases({
        {"gleich", "(Name = 'Meier')", "0"},
        {"ungleich skips the record without a name", "(Name <> 'Meier')", "1 2 3 4"},
        {"nicht größer", "(Nr <= '3')", "0 1 2"},
        {"nicht kleiner", "(Nr >= '3')", "2 3 4"},
        {"kleiner als", "(Nr < '3')", "0 1"},
        {"größer als", "(Nr > '3')", "3 4"},
        {"leer", "(Name IS NULL)", "5"},
        {"nicht leer, as the dialog's operator table writes it", "(Name NOT IS NULL)", "0 1 2 3 4"},
        {"IS NOT NULL", "(Nr IS NOT NULL)", "0 1 2 3 4"},
        {"in Liste, numbers", "(Nr IN (1,3, 5))", "0 2 4"},
        {"in Liste, bare and quoted words", "(Name IN (Meier, 'Schulz',Nobody))", "0 3"},
        {"zwischen", "(Nr  >= 2) AND (Nr <= 4)", "1 2 3"},
        {"rows joined by OR with two blanks", "(Name = 'Meier') OR  (Nr = '5')", "0 4"},
        {"rows joined by AND", "(Eigene = 'True') AND (Nr > '1')", "2"},
        {"own settings", "[Eigene]='True'", "0 2"},
        {"predefined settings: a record without a value is not unequal", "[Eigene]<>'True'", "1 3"},
        {"logical value in any case", "[Eigene]='fALSE'", "1 3"},
        {"keywords in lower case", "(Nr = 1) or (Nr = 2) and not (Nr = 2)", "0"},
        {"empty filter", "", "0 1 2 3 4 5"},
        {"blank filter", "  \t ", "0 1 2 3 4 5"},
    }, matching);
}

TEST_F(FilterTest, PrecedenceAndGrouping)
{
    runCases({
        {"AND binds tighter than OR", "Nr = 1 OR Nr = 2 AND Name = 'Meier'", "0"},
        {"brackets regroup", "(Nr = 1 OR Nr = 2) AND Name = 'Müller'", "1"},
        {"NOT binds tighter than AND", "NOT Nr = 1 AND Eigene = 'True'", "2"},
        {"NOT over a bracket", "NOT (Nr = 1 OR Nr = 2)", "2 3 4 5"},
        {"double NOT", "NOT NOT Nr = 3", "2"},
        {"nested brackets", "((((Nr = 4))))", "3"},
        {"OR is left to right", "Nr = 1 OR Nr = 2 OR Nr = 3", "0 1 2"},
    }, matching);
}

TEST_F(FilterTest, ValuesAreReadAsTheFieldsType)
{
    runCases({
        {"text compared case-sensitively", "Name = 'meier'", "2"},
        {"trailing blanks of the field do not count", "Name = 'Schulz'", "3"},
        {"trailing blanks of the value do not count", "Name = 'Schulz   '", "3"},
        {"leading blanks count", "Name = ' Schulz'", ""},
        {"text order is by character", "Name < 'N'", "0 1"},
        {"doubled quote", "Name = 'O''Brien'", "4"},
        {"double quotes", "Name = \"Müller\"", "1"},
        {"trailing star looks for a beginning", "Name = 'Mei*'", "0"},
        {"trailing star with <>", "Name <> 'M*'", "2 3 4"},
        {"star compared with < is a character", "Name < 'M*'", ""},
        {"memo field", "Notiz = 'Rückruf'", "3"},
        {"empty text asks for an empty field", "Notiz = ''", "1 2 4 5"},
        {"empty text with <>", "Notiz <> ''", "0 3"},
        {"= NULL", "Nr = NULL", "5"},
        {"<> NULL", "Name <> NULL", "0 1 2 3 4"},
        {"number with a point", "Preis = 1.5", "0"},
        {"number with the decimal comma", "Preis = 1,5", "0"},
        {"quoted number with the decimal comma", "Preis = '0,1'", "2"},
        {"negative number", "Preis < -2", "3"},
        {"integer field against a fraction", "Nr > 2.5", "2 3 4"},
        {"number in exponent form", "Preis >= 1E2", "4"},
        {"date as the settings write it", "Datum = '31.01.2024'", "0"},
        {"bare date", "Datum >= 01.02.2024", "1 3"},
        {"date range", "(Datum  >= 01.01.2024) AND (Datum <= 01.02.2024)", "0 1"},
        {"time", "Zeit > '12:00'", "1 2"},
        {"time with seconds", "Zeit = '18:15:30'", "2"},
        {"date and time", "Stempel > '01.02.2024 12:00'", "1 2"},
        {"date alone is midnight", "Stempel = '02.02.2024'", "2"},
        {"float list", "Menge IN ('1,5', 4)", "2 3"},
        {"value first", "3 < Nr", "3 4"},
        {"value first, text", "'Meier' = Name", "0"},
        {"two fields", "Menge > Preis", "0 2 3"},
        {"field name with a blank", "(Eigene Nr = 7)", "0 3"},
        {"field name with a blank in brackets", "[eigene nr] IN (8, 9)", "1 2"},
        {"field names without regard to case", "NAME = 'Meier' OR nr = 2", "0 1"},
        {"graphic field tested for a value", "Bild IS NULL", "0 1 2 3 4 5"},
    }, matching);
}

// A record without values fails every comparison; only the null tests and NOT see it.
TEST_F(FilterTest, FieldsWithoutValue)
{
    const db::FieldDefList fields = testFields();
    const Record empty(fields.size());
    const struct {
        const char* filter;
        bool expected;
    } cases[] = {
        {"Name = 'x'", false},   {"Name <> 'x'", false}, {"Name < 'x'", false},
        {"Name > ''", false},    {"Nr = 0", false},      {"Nr <> 0", false},
        {"Nr >= -1E300", false}, {"Eigene = 'False'", false}, {"Eigene <> 'True'", false},
        {"Datum < '01.01.2100'", false}, {"Zeit >= '00:00'", false}, {"Stempel <> '01.01.2000'", false},
        {"Nr IN (0)", false},    {"Nr NOT IN (0)", false}, {"Nr < Preis", false},
        {"Name IS NULL", true},  {"Nr IS NULL", true},   {"Eigene IS NULL", true},
        {"Datum IS NULL", true}, {"Nr IS NOT NULL", false}, {"NOT (Nr = 0)", true},
        {"Name = 'x*'", false},  {"Name <> 'x*'", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        EXPECT_EQ(db::filter::compile(QString::fromUtf8(c.filter), fields).matches(empty), c.expected);
    }
    // A record shorter than the field list (a field added after the record was read) has no value there.
    EXPECT_TRUE(db::filter::compile("Menge IS NULL", fields).matches(Record(2)));
}

struct ErrorCase {
    const char* name;
    const char* filter;
    int code;
    int position;       // 1-based character position the message names
    const char* quoted; // the part the message quotes, or "am Ende"
};

TEST_F(FilterTest, ErrorsPointAtTheOffendingPart)
{
    const ErrorCase cases[] = {
        {"unknown field", "Nmae = 'x'", db::ErrorCode::FieldNotFound, 1, "'Nmae'"},
        {"unknown field in brackets", "Nr = 1 AND [Eigen] = 'True'", db::ErrorCode::FieldNotFound, 12, "'[Eigen]'"},
        {"bare word where a value belongs", "(Name >= M)", db::ErrorCode::FieldNotFound, 10, "'M'"},
        {"keyword as field", "IN = 1", db::ErrorCode::FilterSyntax, 1, "'IN'"},
        {"value missing at the end", "Name = ", db::ErrorCode::FilterSyntax, 8, "am Ende"},
        {"closing bracket missing", "(Name = 'x'", db::ErrorCode::FilterSyntax, 12, "am Ende"},
        {"unclosed text", "Name = 'abc", db::ErrorCode::FilterSyntax, 8, "'abc"},
        {"unclosed field bracket", "[Eigene = 'True'", db::ErrorCode::FilterSyntax, 1, "'[Eigene = 'True''"},
        {"doubled operator", "Name == 'x'", db::ErrorCode::FilterSyntax, 7, "'='"},
        {"missing link", "Name = 'x' Nr = 1", db::ErrorCode::FilterSyntax, 12, "'Nr'"},
        {"dangling AND", "Name = 'x' AND", db::ErrorCode::FilterSyntax, 15, "am Ende"},
        {"stray closing bracket", "Nr = 1)", db::ErrorCode::FilterSyntax, 7, "')'"},
        {"not a logical value", "[Eigene]='ja'", db::ErrorCode::FilterSyntax, 10, "'ja'"},
        {"not a number", "Nr = 'abc'", db::ErrorCode::FilterSyntax, 6, "'abc'"},
        {"range with one value", "(Nr  >= 5) AND (Nr <= \" \")", db::ErrorCode::FilterSyntax, 23, "'\" \"'"},
        {"not a date", "Datum = '31.02.2024'", db::ErrorCode::FilterSyntax, 9, "'31.02.2024'"},
        {"not a time", "Zeit = '25:00'", db::ErrorCode::FilterSyntax, 8, "'25:00'"},
        {"comparison without field", "'a' = 'b'", db::ErrorCode::FilterSyntax, 1, "'a'"},
        {"graphic field compared", "Bild = 'x'", db::ErrorCode::FilterSyntax, 1, "'Bild'"},
        {"fields of different types", "Nr < Name", db::ErrorCode::FilterSyntax, 6, "'Name'"},
        {"IS without NULL", "Name IS 'x'", db::ErrorCode::FilterSyntax, 9, "'x'"},
        {"NOT without IS or IN", "Name NOT = 'x'", db::ErrorCode::FilterSyntax, 10, "'='"},
        {"IN without list", "Nr IN 1", db::ErrorCode::FilterSyntax, 7, "'1'"},
        {"IN list not closed", "Nr IN (1, 2", db::ErrorCode::FilterSyntax, 12, "am Ende"},
        {"IN list with a field", "Nr IN ([Nr])", db::ErrorCode::FilterSyntax, 8, "'[Nr]'"},
        {"empty IN list", "Nr IN ()", db::ErrorCode::FilterSyntax, 8, "')'"},
        {"NULL compared by order", "Nr < NULL", db::ErrorCode::FilterSyntax, 4, "'<'"},
        {"long part is cut", "Nmaeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeee = 1", db::ErrorCode::FieldNotFound, 1,
         "'Nmaeeeeeeeeeeeeeeeeeeeeeeeeeee...'"},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            db::filter::compile(QString::fromUtf8(c.filter), testFields());
            ADD_FAILURE() << "no error for " << c.filter;
        } catch (const db::EngineError& e) {
            EXPECT_EQ(e.code(), c.code) << e.message().toStdString();
            const QString where = QStringLiteral("an Position %1 ").arg(c.position);
            EXPECT_TRUE(e.message().contains(where)) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.quoted))) << e.message().toStdString();
        }
    }
}

TEST_F(FilterTest, DeepNestingIsRefusedNotCrashed)
{
    const QString deep = QString(100000, u'(') + QStringLiteral("Nr = 1") + QString(100000, u')');
    EXPECT_THROW(db::filter::compile(deep, testFields()), db::EngineError);
    const QString nots = QString(QStringLiteral("NOT ")).repeated(100000) + QStringLiteral("Nr = 1");
    EXPECT_THROW(db::filter::compile(nots, testFields()), db::EngineError);
}

// The decimal separator counts at the moment the filter is compiled, not when a record is tested.
TEST_F(FilterTest, SettingsAreReadAtCompileTime)
{
    rtl::formatSettings().DecimalSeparator = u'.';
    EXPECT_THROW(db::filter::compile("Preis = '1,5'", testFields()), db::EngineError);
    const db::filter::Expression e = db::filter::compile("Preis = '1.5'", testFields());
    rtl::formatSettings().DecimalSeparator = u',';
    EXPECT_TRUE(e.matches(testRecords()[0]));
    EXPECT_EQ(e.text(), QStringLiteral("Preis = '1.5'"));
    EXPECT_FALSE(e.isEmpty());
    EXPECT_TRUE(db::filter::compile(" ", testFields()).isEmpty());
    EXPECT_TRUE(db::filter::compile(" ", testFields()).fieldsUsed().empty());
    EXPECT_EQ(db::filter::compile("Menge > Preis OR Nr = 1 AND Menge IS NULL", testFields()).fieldsUsed(),
              (std::vector<int>{1, 2, 10}));
    EXPECT_TRUE(db::filter::Expression().matches(Record{}));
}

}  // namespace
