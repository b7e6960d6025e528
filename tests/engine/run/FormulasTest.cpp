#include "RunFixture.h"

#include "engine/Formulas.h"
#include "texts/Texts.h"

using db::FieldType;

namespace {

class Formulas : public RunFixture {
protected:
    void SetUp() override
    {
        RunFixture::SetUp();
        makeSource({def("Feld2", FieldType::ftString, 20), def("Feld3", FieldType::ftString, 20),
                    def("Name mit Blank", FieldType::ftString, 20), def("Vorname", FieldType::ftString, 20),
                    def("Nachname", FieldType::ftString, 20), def("A", FieldType::ftInteger),
                    def("B", FieldType::ftInteger), def("N", FieldType::ftFloat), def("T", FieldType::ftString, 20),
                    def("X", FieldType::ftString, 20)},
                   {{"Herr", "Meier", "Blank", "Hans", "Wurst", 5, 7, 1.5, "1.234,50", "abc"}});
        tblQuelle.Open();
        tblQuelle.First();
    }
};

struct FormulaCase {
    const char* formula;
    QString expected;
    QString message = {};  // the error box shown, if any
};

TEST_F(Formulas, TextFormulas)
{
    const FormulaCase cases[] = {
        {"\"Sehr geehrter \" + #Feld2 + \" \" + #Feld3", "Sehr geehrter Herr Meier"},
        {"#{Name mit Blank}", "Blank"},
        {"#Vorname+#Nachname", "HansWurst"},
        {"#Vorname #Nachname", "HansWurst"},
        {"\"a\" + #Fehlt + \"b\"", "", texts::Text(65053).replace("%s", "Fehlt")},
        {"  \t ", "", texts::Text(65052)},
        // A quotation mark right after a name opens the next literal.
        {"#Feld2\"!\"", "Herr!"},
        {"\"offen", "offen"},
        {"#N", "1,5"},
        // A stray closing brace ends the name as a closing brace does.
        {"#Feld2} + \" \" + #Feld3", "Herr Meier"},
        {"#Feld2}", "Herr"},
    };
    for (const FormulaCase& c : cases) {
        SCOPED_TRACE(c.formula);
        ui.clearRecord();
        if (!c.message.isEmpty())
            ui.answer(platform::Button::Ok);
        EXPECT_EQ(engine::FormelAlphBerechnen(tblQuelle, QString::fromUtf8(c.formula)), c.expected);
        EXPECT_EQ(ui.messageTexts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
    }
}

TEST_F(Formulas, NumericFormulasBecomeParserExpressions)
{
    auto noNumber = [](const QString& name, const QString& content) {
        QString text = texts::Text(65054);
        for (const QString& value : {name, content, QString(","), QString(".")})
            text.replace(text.indexOf("%s"), 2, value);
        return text;
    };
    const FormulaCase cases[] = {
        {"#A * 1.16", "5*1.16"},
        {"#A * #B", "5*7"},
        {"#A+#B", "5+7"},
        {"(#A)-2", "(5)-2"},
        {"2*#A", "2*5"},
        {"#{Name mit Blank}", "", noNumber("Name mit Blank", "Blank")},
        {"#N*2", "1.5*2"},          // a float with a decimal comma
        {"#T", "1234.5"},           // a text with thousands separators
        {"1,5 * #A", "1.5*5"},      // a comma typed in the formula
        {"MAX(#A,#B)", "MAX(5.7)"},  // two-argument functions cannot survive the comma rule
        {"2*#X", "2*", noNumber("X", "abc")},
        {"#Fehlt+1", "", texts::Text(65053).replace("%s", "Fehlt")},
        {"   ", "", texts::Text(65052)},
        {"#{A}*2", "5*2"},
        {"#A}*2", "5*2"},
    };
    for (const FormulaCase& c : cases) {
        SCOPED_TRACE(c.formula);
        ui.clearRecord();
        if (!c.message.isEmpty())
            ui.answer(platform::Button::Ok);
        const QString expression = engine::FormelNumAufbereiten(tblQuelle, QString::fromUtf8(c.formula));
        EXPECT_EQ(expression, c.expected);
        EXPECT_EQ(ui.messageTexts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
    }
}

TEST_F(Formulas, NumericFormulaValues)
{
    struct Case {
        const char* formula;
        double value;
    };
    for (const Case& c : {Case{"#A * 1.16", 5.8}, Case{"#A * #B", 35}, Case{"#T / 2", 617.25}}) {
        SCOPED_TRACE(c.formula);
        Parser1.setExpression(engine::FormelNumAufbereiten(tblQuelle, QString::fromUtf8(c.formula)).toStdString());
        EXPECT_DOUBLE_EQ(Parser1.Value(), c.value);
    }
}

}  // namespace
