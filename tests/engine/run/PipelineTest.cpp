#include "RunFixture.h"

#include "db/EngineError.h"
#include "db/Field.h"
#include "engine/FieldPipeline.h"
#include "rtl/Conversions.h"
#include "rtl/FormatSettings.h"
#include "texts/Texts.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QImage>

using db::FieldType;

namespace {

// One target field "Z" fed from a source whose first field is "Q".
struct FieldCase {
    const char* name;
    db::FieldDefList source;
    Values sourceValues;
    db::FieldDef target;
    Options options;      // Zuordnung is "Q" unless given here
    QVariant expected;    // the target's value afterwards; invalid: blank
    int failures;
    std::vector<int> messages = {};  // program texts shown, each answered with OK
};

class Pipeline : public RunFixture {
protected:
    // Runs the row's routine once on a new target record and returns the target field's value.
    QVariant runCase(const FieldCase& c)
    {
        makeSource(c.source, {c.sourceValues});
        makeTarget({c.target}, 0);
        Options options = c.options;
        bool hasZuordnung = false;
        for (const auto& [column, value] : options)
            hasZuordnung = hasZuordnung || QByteArray(column) == "Zuordnung";
        if (!hasZuordnung)
            options.insert(options.begin(), {"Zuordnung", "Q"});
        addRow(c.target.name, QString(), options);
        for (std::size_t i = 0; i < c.messages.size(); ++i)
            ui.answer(platform::Button::Ok);

        tblQuelle.Open();
        tblQuelle.First();
        tblZiel.Open();
        tblZStrukt.Open();
        readSetting();
        const std::vector<engine::BoundMappingRow> rows =
            engine::BindMappingRows(run.setting.Mapping, tblQuelle, tblZiel);
        const engine::PipelineContext context{Parser1, tblQuelle, run.setting.QuelldateiOrdner(),
                                              run.counts.AnzFehler};
        tblZiel.Append();
        if (rows.at(0).isMapped())
            engine::FeldUebertragen(context, rows.at(0));
        else
            engine::FeldOhneZuordnung(context, rows.at(0));
        return tblZiel.FieldByName(c.target.name)->AsVariant();
    }

    void check(const FieldCase& c)
    {
        SCOPED_TRACE(c.name);
        const QVariant value = runCase(c);
        EXPECT_EQ(value, c.expected) << value.toString().toStdString();
        EXPECT_EQ(failures(), c.failures);
        // Texts with places compare up to their first place.
        QStringList expectedTexts;
        for (int id : c.messages)
            expectedTexts << texts::Text(id).section(QStringLiteral("%s"), 0, 0);
        QStringList shown = ui.messageTexts();
        for (qsizetype i = 0; i < shown.size() && i < expectedTexts.size(); ++i)
            shown[i] = shown[i].left(expectedTexts[i].size());
        EXPECT_EQ(shown, expectedTexts);
    }
};

const db::FieldDefList text20{def("Q", FieldType::ftString, 20)};
const db::FieldDefList text30{def("Q", FieldType::ftString, 30)};
const db::FieldDefList float1{def("Q", FieldType::ftFloat)};

// A number source is copied and aligned by its text, which the pipeline may leave unwritten: the outcome must be
// the text's all the same.
TEST_F(Pipeline, NumberSourcesAsTheirText)
{
    const db::FieldDef zFloat = def("Z", FieldType::ftFloat);
    const db::FieldDef zText6 = def("Z", FieldType::ftString, 6);
    const db::FieldDefList int1{def("Q", FieldType::ftInteger)};
    const FieldCase cases[] = {
        {"a whole number is digits", int1, {42}, zText6, {}, "    42", 0},
        {"a negative number is not", int1, {-5}, zText6, {}, "-5", 0},
        {"a whole float is digits", float1, {42.0}, zText6, {}, "    42", 0},
        {"a float with places is not", float1, {4.5}, zText6, {}, "4,5", 0},
        {"a float reaches a number field at 15 digits", float1, {0.1 + 0.2}, zFloat, {}, 0.3, 0},
        {"a float of 15 digits that round to a whole number", float1, {41.9999999999999996}, zText6, {}, "    42", 0},
        {"a whole number into a float field", int1, {7}, zFloat, {}, 7.0, 0},
        {"a blank number fails the copy", float1, {QVariant()}, zFloat, {}, QVariant(), 1},
    };
    for (const FieldCase& c : cases) {
        TearDown();
        SetUp();
        check(c);
        ui.clearRecord();
    }
}

// Right alignment of a date source and of a whole-number target is decided without writing their texts; the
// outcome must be the texts' all the same.
TEST_F(Pipeline, RightAlignmentWithoutTheText)
{
    struct Case {
        const char* dateFormat;
        FieldCase field;
    };
    const db::FieldDefList date1{def("Q", FieldType::ftDate)};
    const db::FieldDef zText12 = def("Z", FieldType::ftString, 12);
    const Values day{QDate(2003, 2, 1)};
    const Case cases[] = {
        {"DD.MM.YYYY", {"a date with separators is no digits", date1, day, zText12, {}, "01.02.2003", 0}},
        {"YYYYMMDD", {"a date of digits alone is aligned", date1, day, zText12, {}, "    20030201", 0}},
        {"YYYY'x'MMDD", {"a quoted letter is no digit", date1, day, zText12, {}, "2003x0201", 0}},
        {"DD.MM.YYYY", {"a whole number takes its own value again", text20, {"42"}, def("Z", FieldType::ftInteger),
                        {{"Laenge", "6"}}, 42, 0}},
        {"DD.MM.YYYY", {"a blank whole number fails the alignment", text20, {"99999"}, def("Z", FieldType::ftSmallint),
                        {{"Laenge", "6"}}, QVariant(), 2}},
        {"DD.MM.YYYY", {"a float takes the value of its text", text20, {"1"}, def("Z", FieldType::ftFloat),
                        {{"Div", 3.0}, {"Laenge", "6"}}, 0.333333333333333, 0}},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        rtl::formatSettings().ShortDateFormat = QString::fromUtf8(c.dateFormat);
        check(c.field);
        ui.clearRecord();
    }
}

TEST_F(Pipeline, StepsOfAMappedField)
{
    const db::FieldDef zFloat = def("Z", FieldType::ftFloat);
    const db::FieldDef zText6 = def("Z", FieldType::ftString, 6);
    const FieldCase cases[] = {
        {"thousands removed before the float", text20, {"1.234,56"}, zFloat, {}, 1234.56, 0},
        {"empty text into a number fails the copy", text20, {""}, zFloat, {}, QVariant(), 1},
        {"empty text fails copy and division", text20, {""}, zFloat, {{"Div", 100.0}}, QVariant(), 2},
        {"Div and Mul of 0 are skipped", float1, {50.0}, zFloat, {{"Div", 0.0}, {"Mul", 0.0}}, 50.0, 0},
        {"division alone", float1, {50.0}, zFloat, {{"Div", 100.0}}, 0.5, 0},
        {"Mul starts from the source, not from the quotient", float1, {50.0}, zFloat,
         {{"Div", 100.0}, {"Mul", 3.0}}, 150.0, 0},
        {"digits right-aligned to the width", text20, {"42"}, zText6, {}, "    42", 0},
        {"a leading blank is no digit", text20, {" 42"}, zText6, {}, " 42", 0},
        {"a decimal point is no digit", text20, {"4.2"}, zText6, {}, "4.2", 0},
        {"left alignment replaces the default written before", text20, {"  42  "}, def("Z", FieldType::ftString, 10),
         {{"Ausrichtung_li", true}, {"Vorgabewert_alph", "X"}, {"Quellwert_alph", "  42  "}}, "42", 0},
        {"substring", text20, {"ABCDEFG"}, def("Z", FieldType::ftString, 10),
         {{"StringAuswahlBeg", 3}, {"StringAuswahlEnd", 5}}, "CDE", 0},
        {"substring past the end counts every position", text20, {"AB"}, def("Z", FieldType::ftString, 10),
         {{"StringAuswahlBeg", 3}, {"StringAuswahlEnd", 5}}, QVariant(), 3},
        {"substring with end before begin", text20, {"ABCDEFG"}, def("Z", FieldType::ftString, 10),
         {{"StringAuswahlBeg", 5}, {"StringAuswahlEnd", 3}}, QVariant(), 0},
        {"the copy already keeps the first characters", text30, {"ABCDEFGHIJKLMNO"}, def("Z", FieldType::ftString, 10),
         {{"Ueberl_abschneid_li", true}}, "ABCDEFGHIJ", 0},
        {"the cut keeps the last Laenge characters", text30, {"ABCDEFGH"}, def("Z", FieldType::ftString, 20),
         {{"Ueberl_abschneid_li", true}, {"Laenge", "5"}}, "DEFGH", 0},
        {"rounding", float1, {3.14159}, zFloat, {{"Runden", 1}}, 3.1, 0},
        {"rounding letters fails and keeps them", text20, {"abc"}, def("Z", FieldType::ftString, 10),
         {{"Runden", 1}}, "abc", 1},
        {"numeric formula then rounding", float1, {10.0}, zFloat, {{"Formel_num", "#Q * 1.16"}, {"Runden", 0}}, 12.0, 0},
        {"a numeric formula rounds twice", float1, {10.0}, zFloat, {{"Formel_num", "#Q * 1.16"}, {"Runden", 200}},
         11.6, 2},
        {"a parser error is counted once and keeps the copy", float1, {10.0}, zFloat, {{"Formel_num", "#Q*"}}, 10.0,
         1},
        {"an Integer target drops thousands separators", text20, {"1.234"}, def("Z", FieldType::ftInteger), {}, 1234, 0},
        {"a Smallint target takes the text as it stands", text20, {"1.234"}, def("Z", FieldType::ftSmallint), {},
         QVariant(), 1},
        {"a blank numeric formula writes 0", float1, {10.0}, zFloat, {{"Formel_num", "   "}}, 0.0, 0, {65052}},
        {"a text formula naming a missing field writes nothing", text20, {"a"}, def("Z", FieldType::ftString, 20),
         {{"Formel_alph", "\"x\" + #Fehlt"}}, QVariant(), 0, {65053}},
        {"a numeric formula naming a missing field writes 0", float1, {10.0}, zFloat,
         {{"Formel_num", "#Q + #Fehlt"}}, 0.0, 0, {65053}},
        {"a field that is no number leaves a broken expression", text20, {"abc"}, def("Z", FieldType::ftString, 20),
         {{"Formel_num", "2*#Q"}}, "abc", 1, {65054}},
        {"unmapped: the formula wins over the default", text20, {"abc"}, def("Z", FieldType::ftString, 20),
         {{"Zuordnung", ""}, {"Vorgabewert_alph", "X"}, {"Formel_alph", "#Q"}}, "abc", 0},
        {"unmapped: numeric default", text20, {"abc"}, zFloat, {{"Zuordnung", ""}, {"Vorgabewert_num", 5.0}}, 5.0, 0},
        {"unmapped: a default the target refuses", text20, {"abc"}, zFloat, {{"Zuordnung", ""}, {"Vorgabewert_alph", "x"}},
         QVariant(), 1},
    };
    for (const FieldCase& c : cases) {
        TearDown();
        SetUp();
        check(c);
        ui.clearRecord();
    }
}

TEST_F(Pipeline, DefaultsAndTheirConditions)
{
    const db::FieldDef zInt = def("Z", FieldType::ftInteger);
    const db::FieldDef zText = def("Z", FieldType::ftString, 10);
    const Options failingLessOrEqual{{"Quellwert_num", 100.0}, {"BedKleiner", true}, {"BedGleich", true},
                                     {"Vorgabewert_alph", "P"}};
    // Right alignment off: it would pad whatever the defaults wrote, since the source is digits.
    const Options greaterThanZero{
        {"Quellwert_num", 0.0}, {"BedGroesser", true}, {"Vorgabewert_alph", "P"}, {"Ausrichtung_re", false}};
    const FieldCase cases[] = {
        {"text equal to the condition", text20, {"X"}, def("Z", FieldType::ftString, 20),
         {{"Quellwert_alph", "X"}, {"Vorgabewert_alph", "Y"}}, "Y", 0},
        {"text equality is exact", text20, {"x"}, def("Z", FieldType::ftString, 20),
         {{"Quellwert_alph", "X"}, {"Vorgabewert_alph", "Y"}}, "x", 0},
        {"longer than the width", text20, {"ABCDEF"}, def("Z", FieldType::ftString, 5), {{"Vorgabewert_alph", "Y"}}, "Y",
         0},
        {"as long as the width", text20, {"ABCDE"}, def("Z", FieldType::ftString, 5), {{"Vorgabewert_alph", "Y"}},
         "ABCDE", 0},
        {"a memo is never too long", text20, {"ABCDEF"}, def("Z", FieldType::ftMemo, 10), {{"Vorgabewert_alph", "Y"}},
         "ABCDEF", 0},
        {"less: tests 2 and 4 write twice", float1, {99.0}, zInt, failingLessOrEqual, 99, 2},
        {"equal: tests 1 and 4 write twice", float1, {100.0}, zInt, failingLessOrEqual, 100, 2},
        {"greater is not ticked", float1, {101.0}, zInt, failingLessOrEqual, 101, 0},
        {"number to number, 99", float1, {99.0}, def("Z", FieldType::ftFloat),
         {{"Quellwert_num", 100.0}, {"BedKleiner", true}, {"BedGleich", true}, {"Vorgabewert_num", 0.0}}, 0.0, 0},
        {"number to text, 5 > 0", float1, {5.0}, zText, greaterThanZero, "P", 0},
        {"number to text, -5", float1, {-5.0}, zText, greaterThanZero, "-5", 0},
        {"number to text, 0", float1, {0.0}, zText, greaterThanZero, "0", 0},
        {"text to number, equal", text20, {"M"}, def("Z", FieldType::ftFloat),
         {{"Quellwert_alph", "M"}, {"BedGleich", true}, {"Vorgabewert_num", 1.0}}, 1.0, 1},
        {"numeric default on over-length", text20, {"123456789"}, def("Z", FieldType::ftFloat),
         {{"Vorgabewert_num", 7.0}}, 7.0, 0},
        {"both defaults: the numeric one is written last", float1, {5.0}, zText,
         {{"Quellwert_num", 0.0}, {"BedGroesser", true}, {"Vorgabewert_alph", "P"}, {"Vorgabewert_num", 9.0},
          {"Ausrichtung_re", false}},
         "9", 0},
        {"less and greater: tests 3 and 6", float1, {5.0}, zInt,
         {{"Quellwert_num", 0.0}, {"BedKleiner", true}, {"BedGroesser", true}, {"Vorgabewert_alph", "P"}}, 5, 2},
        {"less and greater on the value itself", float1, {0.0}, zInt,
         {{"Quellwert_num", 0.0}, {"BedKleiner", true}, {"BedGroesser", true}, {"Vorgabewert_alph", "P"}}, 0, 0},
    };
    for (const FieldCase& c : cases) {
        TearDown();
        SetUp();
        check(c);
    }
}

TEST_F(Pipeline, ATextThatIsNoNumberComparedWithANumberEndsTheField)
{
    FieldCase c{"", text20, {"abc"}, def("Z", FieldType::ftString, 10),
                {{"Quellwert_num", 1.0}, {"BedGleich", true}, {"Vorgabewert_alph", "Y"}}, QVariant(), 0};
    EXPECT_THROW(runCase(c), rtl::EConvertError);
    EXPECT_EQ(failures(), 0);
}

TEST_F(Pipeline, AMappingToAMissingSourceFieldEndsTheField)
{
    FieldCase c{"", text20, {"abc"}, def("Z", FieldType::ftString, 10), {{"Zuordnung", "Weg"}}, QVariant(), 0};
    EXPECT_THROW(runCase(c), db::EngineError);
    EXPECT_EQ(failures(), 1);  // the copy step counted before the tests of the later steps raised
}

QByteArray pngOf(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

TEST_F(Pipeline, PictureFilesBecomeBitmapsInGraphicFields)
{
    QTemporaryDir current;
    const QString savedCurrent = QDir::currentPath();
    QDir::setCurrent(current.path());
    auto write = [](const QString& file, const QByteArray& bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write(current.path() + "/beide.png", pngOf(3, 2));

    struct Case {
        const char* file;
        QSize size;  // invalid: the field is blank
        int failures;
    };
    const Case cases[] = {
        {"beide.png", {3, 2}, 0},       // the current folder first
        {"quelle_nur.png", {7, 6}, 0},  // then beside the setting's source
        {"fehlt.png", {}, 0},
        {"", {}, 0},
        {"kaputt.png", {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TearDown();
        SetUp();
        write(path("beide.png"), pngOf(5, 4));
        write(path("quelle_nur.png"), pngOf(7, 6));
        write(path("kaputt.png"), "no picture");
        const QVariant value =
            runCase({"", text20, {QString::fromUtf8(c.file)}, def("Z", FieldType::ftGraphic, 10), {}, {}, 0});
        EXPECT_EQ(failures(), c.failures);
        if (!c.size.isValid()) {
            EXPECT_FALSE(value.isValid());
            continue;
        }
        const QByteArray bytes = value.toByteArray();
        EXPECT_TRUE(bytes.startsWith("BM"));
        EXPECT_EQ(QImage::fromData(bytes, "BMP").size(), c.size);
    }
    QDir::setCurrent(savedCurrent);
}

}  // namespace
