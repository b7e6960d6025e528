// The stored columns that are texts of their own: the column boundaries, and what makes a stored row unusable.
#include "engine/ImportSetting.h"
#include "wizard/finish/StoredSetting.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

TEST(StoredSetting, ColumnBoundariesGoIntoTheirSlotsAndComeBackAsStored)
{
    struct Case {
        const char* name;
        QString stored;
        std::optional<std::vector<int>> boundaries;  // the first boundaries; the rest free; nothing: refused
    };
    QString hundredAndOne;
    for (int i = 1; i <= 101; ++i)
        hundredAndOne += QString::number(i) + u';';
    const Case cases[] = {
        {"zeros are left out, -1 is kept", "12;-1;0;30;", std::vector<int>{12, -1, 30}},
        {"nothing stored", "", std::vector<int>{}},
        {"beyond 16 bits", "12;40000;", std::nullopt},
        {"not a number", "12;x;", std::nullopt},
        {"a 101st value", hundredAndOne, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto boundaries = wizard::FixBreakSlots(c.stored);
        ASSERT_EQ(boundaries.has_value(), c.boundaries.has_value());
        if (!boundaries)
            continue;
        for (int i = 0; i < engine::BoundarySlotCount; ++i)
            EXPECT_EQ((*boundaries)[i], i < static_cast<int>(c.boundaries->size()) ? (*c.boundaries)[i] : engine::FreeSlot) << i;
    }
    engine::BoundarySlots boundaries;
    boundaries.fill(engine::FreeSlot);
    boundaries[98] = 5;
    boundaries[99] = 17;
    const QString text = wizard::FixBreakText(boundaries);
    EXPECT_EQ(text.count(u';'), 100);
    EXPECT_TRUE(text.startsWith("-1;-1;"));
    EXPECT_TRUE(text.endsWith("-1;5;17;"));
}

TEST(StoredSetting, ARowThatCannotBeLoadedSaysWhy)
{
    engine::ImportSetting good;
    good.Quelldatei = "/daten/kunden.csv";
    good.Decimal = ",";
    good.Tausend = ".";
    good.Zeit = ":";
    good.Datum = ".";
    good.TMJ = "DD.MM.YYYY";
    good.FixVar = 1;
    good.FixBreak = "8;20;";
    good.Importmodus = 2;
    struct Case {
        const char* name;
        std::function<void(engine::ImportSetting&)> spoil;
        bool usable;
    };
    const Case cases[] = {
        {"as stored by the program", [](engine::ImportSetting&) {}, true},
        {"decimal separator empty", [](engine::ImportSetting& s) { s.Decimal.clear(); }, false},
        {"two characters as date separator", [](engine::ImportSetting& s) { s.Datum = ".."; }, false},
        {"no date format", [](engine::ImportSetting& s) { s.TMJ.clear(); }, false},
        {"boundaries unreadable", [](engine::ImportSetting& s) { s.FixBreak = "8;a;"; }, false},
        {"boundaries of a separated source are not read",
         [](engine::ImportSetting& s) {
             s.FixVar = 0;
             s.FixBreak = "8;a;";
         },
         true},
        {"a mode of a newer version", [](engine::ImportSetting& s) { s.Importmodus = 6; }, false},
        {"no mode (store only)", [](engine::ImportSetting& s) { s.Importmodus.reset(); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        engine::ImportSetting setting = good;
        c.spoil(setting);
        EXPECT_EQ(wizard::StoredRowFault(setting).isEmpty(), c.usable) << wizard::StoredRowFault(setting).toStdString();
    }
}

}  // namespace
