#include "MemoryStorage.h"
#include "TestTables.h"

#include "db/Field.h"
#include "rtl/FormatSettings.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testdb;
using db::Field;
using db::FieldType;

namespace {

// Field conversions do not depend on the storage, so they run on the in-memory kind with one field per type.
class FieldTest : public testing::Test {
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

        table_.setFormat(&memoryFormat());
        table_.setTableName(dir_.filePath(QStringLiteral("Fields.MEM")));
        db::FieldDefs& defs = table_.FieldDefs();
        defs.Add("S", FieldType::ftString, 5);
        defs.Add("M", FieldType::ftMemo, 10);
        defs.Add("I", FieldType::ftInteger);
        defs.Add("SI", FieldType::ftSmallint);
        defs.Add("W", FieldType::ftWord);
        defs.Add("F", FieldType::ftFloat);
        defs.Add("C", FieldType::ftCurrency);
        defs.Add("B", FieldType::ftBoolean);
        defs.Add("D", FieldType::ftDate);
        defs.Add("T", FieldType::ftTime);
        defs.Add("DT", FieldType::ftDateTime);
        defs.Add("BY", FieldType::ftBytes, 4);
        table_.CreateTable();
        table_.Open();
        table_.Append();
    }

    Field& f(const char* name) { return *table_.FieldByName(QString::fromLatin1(name)); }

    rtl::FormatSettingsGuard settings_;
    QTemporaryDir dir_;
    db::Table table_;
};

struct WriteCase {
    const char* name;
    const char* field;
    std::function<void(Field&)> write;
    QString expected;  // AsString afterwards; "" means blank
    int code = 0;      // EngineError code expected instead
};

}  // namespace

TEST_F(FieldTest, WritesConvertLikeTheOriginalFieldClasses)
{
    auto text = [](QString s) { return [s](Field& fl) { fl.setAsString(s); }; };
    auto flt = [](double d) { return [d](Field& fl) { fl.setAsFloat(d); }; };
    auto var = [](QVariant v) { return [v](Field& fl) { fl.setAsVariant(v); }; };
    const int bad = db::ErrorCode::InvalidValue;
    const QString longMemo(300, u'x');

    const std::vector<WriteCase> cases = {
        {"too long text is cut to the size", "S", text("abcdefgh"), "abcde"},
        {"a memo is not cut", "M", text(longMemo), longMemo},
        {"empty text blanks a text field", "S", text(""), ""},
        {"integer with leading blanks", "I", text("  42"), "42"},
        {"empty text clears an integer", "I", text(""), ""},
        {"letters in an integer", "I", text("12a"), "", bad},
        {"decimal in an integer", "I", text("12,5"), "", bad},
        {"integer beyond 32 bits", "I", text("99999999999"), "", bad},
        {"smallint at its limit", "SI", text("32767"), "32767"},
        {"smallint beyond its range", "SI", text("40000"), "", bad},
        {"negative word", "W", text("-1"), "", bad},
        {"word at its limit", "W", text("65535"), "65535"},
        {"float with the decimal comma", "F", text("1234,5"), "1234,5"},
        {"float with a thousands separator", "F", text("1.234,5"), "", bad},
        {"float from letters", "F", text("abc"), "", bad},
        {"empty text clears a float", "F", text(""), ""},
        {"currency", "C", text("12,25"), "12,25"},
        {"logical True", "B", text("True"), "True"},
        {"logical false in lower case", "B", text("false"), "False"},
        {"logical T", "B", text("T"), "True"},
        {"logical f", "B", text("f"), "False"},
        {"logical leading part", "B", text("tRu"), "True"},
        {"logical Ja is refused", "B", text("Ja"), "", bad},
        {"logical Yes is refused", "B", text("Yes"), "", bad},
        {"logical 1 is refused", "B", text("1"), "", bad},
        {"empty text clears a logical", "B", text(""), ""},
        {"date", "D", text("24.12.2023"), "24.12.2023"},
        {"impossible date", "D", text("31.02.2023"), "", bad},
        {"empty text clears a date", "D", text(""), ""},
        {"time", "T", text("13:45:10"), "13:45:10"},
        {"date and time", "DT", text("24.12.2023 13:45:10"), "24.12.2023 13:45:10"},
        {"float into integer rounds half to even (down)", "I", flt(2.5), "2"},
        {"float into integer rounds half to even (up)", "I", flt(3.5), "4"},
        {"negative half into integer", "I", flt(-2.5), "-2"},
        {"float beyond smallint", "SI", flt(1e6), "", bad},
        {"float into text uses the decimal comma", "S", flt(1.5), "1,5"},
        {"float into a short text is cut", "S", flt(123456.5), "12345"},
        {"float as date number", "D", flt(2.0), "01.01.1900"},
        {"integer into text", "S", [](Field& fl) { fl.setAsInteger(42); }, "42"},
        {"integer into a logical", "B", [](Field& fl) { fl.setAsInteger(1); }, "", bad},
        {"integer into a date", "D", [](Field& fl) { fl.setAsInteger(1); }, "", bad},
        {"boolean into text", "S", [](Field& fl) { fl.setAsBoolean(true); }, "T"},
        {"boolean into a logical", "B", [](Field& fl) { fl.setAsBoolean(false); }, "False"},
        {"boolean into an integer", "I", [](Field& fl) { fl.setAsBoolean(true); }, "", bad},
        {"date-time into a date keeps the day", "D",
         [](Field& fl) { fl.setAsDateTime(QDateTime(QDate(2023, 12, 24), QTime(13, 0))); }, "24.12.2023"},
        {"date-time into a float", "F", [](Field& fl) { fl.setAsDateTime(QDateTime::currentDateTime()); }, "", bad},
        {"variant number into text", "S", var(1.5), "1,5"},
        {"variant boolean into text", "S", var(true), "True"},
        {"variant text into integer", "I", var(QStringLiteral("17")), "17"},
        {"variant empty text into integer", "I", var(QString()), ""},
        {"variant float into integer", "I", var(2.5), "2"},
        {"variant zero into a logical", "B", var(0.0), "False"},
        {"variant one into a logical", "B", var(1), "True"},
        {"variant date", "D", var(QDate(2023, 12, 24)), "24.12.2023"},
        {"variant date into a float", "F", var(QDate(1899, 12, 31)), "1"},
        {"variant date into text", "S", var(QDate(2023, 12, 24)), "24.12"},
        {"variant blank", "I", var(QVariant()), ""},
        {"bytes are cut to the size", "BY", var(QByteArray("abcdef")), "abcd"},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        Field& field = f(c.field);
        field.setAsString(QString());  // start blank
        if (c.code != 0) {
            try {
                c.write(field);
                ADD_FAILURE() << "no error raised";
            } catch (const db::EngineError& e) {
                EXPECT_EQ(e.code(), c.code);
                EXPECT_TRUE(e.message().contains(field.FieldName())) << e.message().toStdString();
            }
            EXPECT_TRUE(field.IsNull());  // a refused write leaves the field as it was
            continue;
        }
        c.write(field);
        EXPECT_EQ(field.AsString(), c.expected);
        EXPECT_EQ(field.IsNull(), c.expected.isEmpty());
    }
}

TEST_F(FieldTest, RefusedTextIsNamedInTheMessage)
{
    for (const char* name : {"I", "F", "B", "D"}) {
        SCOPED_TRACE(name);
        try {
            f(name).setAsString(QStringLiteral("12x!"));
            ADD_FAILURE() << "no error raised";
        } catch (const db::EngineError& e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("'12x!'"))) << e.message().toStdString();
        }
    }
}

TEST_F(FieldTest, ReadsConvertLikeTheOriginalFieldClasses)
{
    struct ReadCase {
        const char* name;
        const char* field;
        QVariant stored;
        std::function<QVariant(Field&)> read;
        QVariant expected;  // invalid: an EngineError is expected
    };
    auto asInt = [](Field& fl) { return QVariant(fl.AsInteger()); };
    auto asFloat = [](Field& fl) { return QVariant(fl.AsFloat()); };
    auto asBool = [](Field& fl) { return QVariant(fl.AsBoolean()); };
    auto asDateTime = [](Field& fl) { return QVariant(fl.AsDateTime()); };
    const std::vector<ReadCase> cases = {
        {"text Yes reads true", "S", QStringLiteral("Yes"), asBool, true},
        {"text no reads false", "S", QStringLiteral("no"), asBool, false},
        {"blank text reads false", "S", QVariant(), asBool, false},
        {"text number as integer", "S", QStringLiteral("42"), asInt, 42},
        {"text letters as integer", "S", QStringLiteral("x"), asInt, QVariant()},
        // A blank text is no number, as StrToInt('') and StrToFloat('') are none.
        {"blank text as integer", "S", QVariant(), asInt, QVariant()},
        {"blank text as float", "S", QVariant(), asFloat, QVariant()},
        {"blank memo as float", "M", QVariant(), asFloat, QVariant()},
        {"text as date-time", "S", QStringLiteral("01.01.2000"), asDateTime, QVariant()},
        {"blank text as date-time", "S", QVariant(), asDateTime, QVariant()},
        {"blank float reads 0", "F", QVariant(), asFloat, 0.0},
        {"blank date reads no date-time", "D", QVariant(), asDateTime, QDateTime()},
        {"text with decimal comma as float", "S", QStringLiteral("1,5"), asFloat, 1.5},
        {"float as integer rounds half to even", "F", 2.5, asInt, 2},
        {"blank integer reads 0", "I", QVariant(), asInt, 0},
        {"date as float", "D", QDate(1900, 1, 1), asFloat, 2.0},
        {"logical as integer", "B", true, asInt, QVariant()},
        {"date as boolean", "D", QDate(1900, 1, 1), asBool, QVariant()},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        Field& field = f(c.field);
        field.setAsVariant(c.stored);
        if (!c.expected.isValid()) {
            EXPECT_EQ(engineErrorOf([&] { c.read(field); }), db::ErrorCode::InvalidValue);
            continue;
        }
        EXPECT_EQ(c.read(field), c.expected);
    }
    f("F").setAsFloat(1234.5);
    EXPECT_EQ(f("F").AsString(), "1234,5");
    rtl::formatSettings().DecimalSeparator = u'.';
    EXPECT_EQ(f("F").AsString(), "1234.5");  // read under the settings in force at the moment
}

TEST_F(FieldTest, DataSizePerType)
{
    const std::vector<std::pair<db::FieldDef, int>> cases = {
        {{"a", FieldType::ftString, 10}, 11},   {{"b", FieldType::ftSmallint}, 2},
        {{"c", FieldType::ftInteger}, 4},       {{"d", FieldType::ftWord}, 2},
        {{"e", FieldType::ftBoolean}, 2},       {{"f", FieldType::ftFloat}, 8},
        {{"g", FieldType::ftCurrency}, 8},      {{"h", FieldType::ftBCD, 4}, 34},
        {{"i", FieldType::ftDate}, 4},          {{"j", FieldType::ftTime}, 4},
        {{"k", FieldType::ftDateTime}, 8},      {{"l", FieldType::ftBytes, 6}, 6},
        {{"m", FieldType::ftVarBytes, 6}, 8},   {{"n", FieldType::ftAutoInc}, 4},
        {{"o", FieldType::ftBlob, 10}, 0},      {{"p", FieldType::ftMemo, 240}, 0},
        {{"q", FieldType::ftGraphic, 10}, 0},   {{"r", FieldType::ftFmtMemo, 10}, 0},
        {{"s", FieldType::ftParadoxOle, 10}, 0}, {{"t", FieldType::ftDBaseOle, 10}, 0},
        {{"u", FieldType::ftTypedBinary, 10}, 0},
    };
    for (const auto& [def, size] : cases) {
        SCOPED_TRACE(def.name.toStdString());
        const Field field(&table_, 0, def, false);
        EXPECT_EQ(field.DataSize(), size);
    }
}
