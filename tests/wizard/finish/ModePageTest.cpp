// The start value check of the mode page, by key type: which values counting up would generate and what stops it.
#include "engine/ImportSetting.h"
#include "platform/ScriptedUi.h"
#include "rtl/FormatSettings.h"
#include "texts/Texts.h"
#include "wizard/finish/ModePage.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {

using platform::Button;

TEST(ModePage, TheStartValueMustCountUpWithinTheKeyAndPastEveryKeyThere)
{
    struct Case {
        const char* name;
        int typ;
        QString laenge;
        bool alignRight;
        QString start;
        int records;
        QVariantList existing;  // keys the target holds
        std::vector<Button> answers;
        bool passes;
        QString message;      // the one message shown, empty: none
        QVariantList looked;  // the values looked up, in order (checked when not empty)
    };
    const QString clash = texts::Text(65221) + "\r\n\r\n" + texts::Text(64939);
    const QString tooLong = texts::Format(texts::Text(64937), {texts::Text(65249)});
    const QString beyond = texts::Format(texts::Text(64942), {texts::Text(65249)});
    const Case cases[] = {
        {"text key K100 for 5 records finds K102",
         1,
         "8",
         false,
         "K100",
         5,
         {"K102"},
         {},
         false,
         clash,
         {"K100", "K101", "K102"}},
        {"text key K999 grows beyond 4 characters", 1, "4", false, "K999", 2, {}, {}, false, tooLong, {"K999"}},
        {"start value longer than the key", 1, "3", false, "K1000", 1, {}, {}, false, texts::Text(65189), {}},
        {"digits aligned right are padded with blanks", 1, "5", true, "7", 2, {}, {}, true, "", {"    7", "    8"}},
        {"text without digits counts from 0 after Yes",
         1,
         "10",
         false,
         "ABC",
         2,
         {},
         {Button::Yes},
         true,
         texts::Text(64938) + "ABC0, ABC1...ABC100",
         {"ABC0", "ABC1"}},
        {"text without digits, No",
         1,
         "10",
         false,
         "ABC",
         2,
         {},
         {Button::No},
         false,
         texts::Text(64938) + "ABC0, ABC1...ABC100",
         {}},
        {"small integer 32767 for 2 records leaves the range",
         2,
         "",
         false,
         "32767",
         2,
         {},
         {Button::Ok},
         false,
         beyond,
         {32767}},
        {"small integer -32768 is outside", 2, "", false, "-32768", 1, {}, {}, false, texts::Text(64941), {}},
        {"integer counts past existing keys", 3, "", false, "10", 3, {13}, {}, true, "", {10, 11, 12}},
        {"integer start on an existing key", 3, "", false, "10", 3, {11}, {}, false, clash, {10, 11}},
        {"float start 0 is refused", 6, "", false, "0", 1, {}, {}, false, texts::Text(64941), {}},
        {"BCD cannot be counted but lets the person go on",
         8,
         "",
         false,
         "1",
         1,
         {},
         {},
         true,
         texts::Format(texts::Text(64943), {"BCD"}),
         {}},
        {"date counts days",
         9,
         "",
         false,
         "30.12.2024",
         3,
         {QDate(2025, 1, 2)},
         {},
         true,
         "",
         {QDate(2024, 12, 30), QDate(2024, 12, 31), QDate(2025, 1, 1)}},
        {"not a date", 9, "", false, "morgen", 1, {}, {}, false, "Das Primärschlüsselfeld", {}},
        {"boolean cannot be counted",
         5,
         "",
         false,
         "1",
         1,
         {},
         {},
         true,
         texts::Format(texts::Text(64913), {"BCD"}),
         {}},
    };
    rtl::formatSettings().ShortDateFormat = "DD/MM/YYYY";
    rtl::formatSettings().DateSeparator = u'.';
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::ScriptedUi ui;
        platform::ScopedUserInterface installed(ui);
        for (Button b : c.answers)
            ui.answer(b);
        if (c.answers.empty() && !c.message.isEmpty())
            ui.answer(Button::Ok);
        engine::MappingRow key;
        key.Index = "X";
        key.Typ = c.typ;
        key.Laenge = c.laenge;
        key.Ausrichtung_re = c.alignRight;
        key.Typbezeichnung = "BCD";
        QVariantList looked;
        const bool passed = wizard::StartwertFuerSchluesselPruefen(key, c.start, c.records, [&](const QVariant& v) {
            looked << v;
            for (const QVariant& e : c.existing)
                if (e == v)
                    return true;
            return false;
        });
        EXPECT_EQ(passed, c.passes);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(ui.messageTexts().isEmpty()) << ui.messageTexts().join("|").toStdString();
        } else {
            ASSERT_FALSE(ui.messageTexts().isEmpty());
            EXPECT_TRUE(ui.messageTexts().first().startsWith(c.message)) << ui.messageTexts().first().toStdString();
        }
        if (!c.looked.isEmpty()) {
            ASSERT_EQ(looked.size(), c.looked.size());
            for (int i = 0; i < looked.size(); ++i)
                EXPECT_EQ(looked[i].toString(), c.looked[i].toString()) << i;
        }
    }
}

}  // namespace
