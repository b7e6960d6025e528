#include "wizard/frmGauge.h"

#include "engine/BriskoRoutines.h"
#include "rtl/FormatSettings.h"

#include "platform/ScriptedUi.h"
#include "texts/Texts.h"

#include <QLabel>
#include <QProgressBar>
#include <QMainWindow>
#include <QTest>
#include <gtest/gtest.h>

using wizard::TfrmGauge;

namespace {

class Gauge : public ::testing::Test {
protected:
    void SetUp() override
    {
        main.show();
        gauge.registerLockedWindow(&main);
        gauge.registerLockedWindow(&manager);  // never shown here
        gauge.btnGaugeAbbrechen->setText(texts::Text(65268));
    }
    void TearDown() override { gauge.Close(); }

    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed{ui};
    QMainWindow main;
    QWidget manager;
    TfrmGauge gauge;
};

}  // namespace

TEST_F(Gauge, ShowingResetsCountersLocksTheShownWindowsAndClosingUnlocksThem)
{
    gauge.lblSummeQuelle->setText("1.234");
    gauge.lblAnzHinzu->setText("17");
    gauge.btnGaugeAbbrechen->ModalResult = wizard::ModalResultCancel;
    gauge.Show();
    EXPECT_TRUE(gauge.isVisible());
    EXPECT_FALSE(main.isEnabled());
    EXPECT_TRUE(manager.isEnabled());  // not on screen, so left alone
    EXPECT_EQ(gauge.lblAnzHinzu->text(), "0");
    EXPECT_EQ(gauge.lblSummeQuelle->text(), "1.234");
    EXPECT_FALSE(gauge.cancelled());
    gauge.Close();
    EXPECT_TRUE(main.isEnabled());
}

TEST_F(Gauge, ShowingAnAlreadyVisibleWindowKeepsItsCounters)
{
    gauge.Show();
    gauge.lblAnzHinzu->setText("5");
    gauge.Show();
    EXPECT_EQ(gauge.lblAnzHinzu->text(), "5");
}

TEST_F(Gauge, CancelAskedAndAnsweredNoChangesNothing)
{
    gauge.Show();
    ui.answer(platform::Button::No);
    QTest::mouseClick(gauge.btnGaugeAbbrechen, Qt::LeftButton);
    EXPECT_TRUE(gauge.isVisible());
    EXPECT_FALSE(gauge.cancelled());
    ASSERT_EQ(ui.messages().size(), 1u);
    const platform::MessageRequest box = ui.messages()[0];
    EXPECT_EQ(box.type, platform::MessageType::Warning);
    EXPECT_EQ(box.buttons, platform::Buttons::YesNo);
    EXPECT_EQ(box.text, QString::fromUtf8("Die Operation ist nicht vollständig durchgeführt worden.\r\n"
                                          "Wenn Sie jetzt abbrechen kann sich das negativ auf den \r\n"
                                          "weiteren Ablauf des Programmes auswirken.\r\n\r\n"
                                          "Möchten Sie wirklich abbrechen?"));
}

TEST_F(Gauge, CancelConfirmedClosesTheWindowThenSetsTheFlag)
{
    gauge.Show();
    ui.answer(platform::Button::Yes);
    QTest::mouseClick(gauge.btnGaugeAbbrechen, Qt::LeftButton);
    EXPECT_FALSE(gauge.isVisible());
    EXPECT_TRUE(main.isEnabled());
    EXPECT_TRUE(gauge.cancelled());
}

TEST_F(Gauge, AfterAnOperationTheButtonClosesWithoutAsking)
{
    gauge.Show();
    gauge.btnGaugeAbbrechen->setText(texts::Text(65269));
    QTest::mouseClick(gauge.btnGaugeAbbrechen, Qt::LeftButton);
    EXPECT_FALSE(gauge.isVisible());
    EXPECT_FALSE(gauge.cancelled());
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(Gauge, HelpOnF1AndOnTheHelpButton)
{
    gauge.Show();
    gauge.btnHilfe->show();
    QTest::keyClick(gauge.lblAnzHinzu->window(), Qt::Key_F1);
    QTest::mouseClick(gauge.btnHilfe, Qt::LeftButton);
    EXPECT_EQ(ui.helpContexts(), (std::vector<int>{19, 19}));
}

TEST_F(Gauge, FlyingDocumentsCycleInElevenSteps)
{
    gauge.DataBase2->show();
    gauge.Database1->hide();
    gauge.AnimateTimer1Timer();  // phase 0: the full database is swapped back, the first document appears
    EXPECT_TRUE(gauge.Database1->isVisibleTo(&gauge));
    EXPECT_FALSE(gauge.DataBase2->isVisibleTo(&gauge));
    EXPECT_TRUE(gauge.Image(3)->isVisibleTo(&gauge));
    for (int step = 1; step <= 9; ++step) {
        gauge.AnimateTimer1Timer();
        EXPECT_FALSE(gauge.Image(step + 2)->isVisibleTo(&gauge)) << step;
        EXPECT_TRUE(gauge.Image(step + 3)->isVisibleTo(&gauge)) << step;
    }
    gauge.AnimateTimer1Timer();  // phase 10: the last document lands in the database
    EXPECT_FALSE(gauge.Image(12)->isVisibleTo(&gauge));
    EXPECT_FALSE(gauge.Database1->isVisibleTo(&gauge));
    EXPECT_TRUE(gauge.DataBase2->isVisibleTo(&gauge));
    EXPECT_EQ(gauge.animationPhase(), 0);
}

TEST_F(Gauge, RedMarkTurnsInSevenStepsAndASharedPhaseOutOfRangeOnlyResets)
{
    for (int k = 0; k < 7; ++k) {
        gauge.AnimateTimer2Timer();
        for (int j = 0; j < 7; ++j)
            EXPECT_EQ(gauge.RedImage(j)->isVisibleTo(&gauge), j == k) << k << " " << j;
    }
    EXPECT_EQ(gauge.animationPhase(), 0);
    // The first timer leaves the phase at 8; the red mark's next step changes no picture and starts over.
    for (int i = 0; i < 8; ++i)
        gauge.AnimateTimer1Timer();
    gauge.AnimateTimer2Timer();
    EXPECT_TRUE(gauge.RedImage(6)->isVisibleTo(&gauge));
    EXPECT_EQ(gauge.animationPhase(), 0);
}

TEST_F(Gauge, PicturesAreLoadedFromTheResourcesWhenShownAtTheirSize)
{
    gauge.Show();
    EXPECT_FALSE(gauge.ImgFolderFull->pixmap().isNull());
    EXPECT_EQ(gauge.ImgFolderFull->size(), gauge.ImgFolderFull->pixmap().size());
    EXPECT_FALSE(gauge.Image(7)->pixmap().isNull());
    EXPECT_FALSE(gauge.DataBase2->pixmap().isNull());
    EXPECT_FALSE(gauge.RedImage(6)->pixmap().isNull());
}

TEST_F(Gauge, ShowsWhatTheRunTellsItAndCountsFromZeroWhenShownAnew)
{
    rtl::FormatSettingsGuard guard;
    rtl::formatSettings().ThousandSeparator = u'.';
    engine::ImportRunObserver& observer = gauge;
    gauge.btnGaugeAbbrechen->setText(texts::Text(65269));  // left from an operation before
    gauge.btnHilfe->hide();
    observer.runStarts(texts::Text(65208), 2500);
    EXPECT_TRUE(gauge.isVisible());
    EXPECT_EQ(gauge.height(), 275);
    EXPECT_EQ(gauge.btnGaugeAbbrechen->x(), 60);
    EXPECT_EQ(gauge.btnGaugeAbbrechen->text(), texts::Text(65268));
    EXPECT_TRUE(gauge.btnHilfe->isVisibleTo(&gauge));
    EXPECT_EQ(gauge.Gauge1->maximum(), 2500);
    EXPECT_EQ(gauge.Label1->text(), texts::Text(65208));

    engine::ImportCounts counts;
    counts.AnzHinzu = 1000;
    counts.Ignor = 2;
    counts.Umben = 3;
    counts.AnzAkt = 4;
    counts.Summe = 1234567;
    counts.AnzFehler = 5;
    observer.counts(counts);
    observer.gaugePosition(1200);
    const QStringList shown{gauge.lblAnzHinzu->text(), gauge.lblIgnor->text(), gauge.lblUmben->text(),
                            gauge.lblAnzAkt->text(),   gauge.lblSumme->text(), gauge.lblAnzFehler->text()};
    EXPECT_EQ(shown, (QStringList{"1.000", "2", "3", "4", "1.234.567", "5"}));
    EXPECT_EQ(gauge.Gauge1->value(), 1200);

    // A second pass on the window still up keeps what it shows; its own texts replace the first's.
    observer.runStarts(texts::Text(64989), 2500);
    EXPECT_EQ(gauge.lblSumme->text(), "1.234.567");
    observer.runningText(texts::Text(64989) + texts::Text(65279));
    observer.closeOffered();
    EXPECT_EQ(gauge.Label1->text(), texts::Text(64989) + texts::Text(65279));
    EXPECT_EQ(gauge.btnGaugeAbbrechen->text(), texts::Text(65269));
    EXPECT_FALSE(observer.cancelled());

    observer.runAbandoned();
    EXPECT_FALSE(gauge.isVisible());
    EXPECT_TRUE(main.isEnabled());
    observer.runStarts(texts::Text(65208), 10);  // shown anew: counted from zero again
    EXPECT_EQ(gauge.lblSumme->text(), "0");
    EXPECT_EQ(gauge.lblAnzHinzu->text(), "0");
}
