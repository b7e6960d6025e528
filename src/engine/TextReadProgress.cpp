#include "engine/TextReadProgress.h"

#include "engine/BriskoRoutines.h"
#include "wizard/frmGauge.h"
#include "texts/Texts.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

namespace engine {

namespace {

constexpr qint64 MessageIntervalMs = 15;

}  // namespace

bool GaugeTextProgress::roundDue()
{
    if (sinceRound_.isValid() && !sinceRound_.hasExpired(MessageIntervalMs))
        return false;
    sinceRound_.start();
    return true;
}

void GaugeTextProgress::showCount()
{
    if (unshown_ == 0)
        return;
    const int value = gauge_.Gauge1->value();
    const int maximum = gauge_.Gauge1->maximum();
    if (value < maximum)
        gauge_.Gauge1->setValue(maximum - value < unshown_ ? maximum : value + unshown_);
    gauge_.lblAnzGeles2->setText(IntToStrThousands(StrToIntThousands(gauge_.lblAnzGeles2->text()) + unshown_));
    unshown_ = 0;
}

void GaugeTextProgress::readingStarts()
{
    gauge_.setHeight(220);
    gauge_.btnGaugeAbbrechen->move(120, gauge_.btnGaugeAbbrechen->y());
    // The button may still say "&Schließen" from an import run; with that caption a click would only close the
    // window and the reading would go on unseen, so the reading always offers a real cancel.
    gauge_.btnGaugeAbbrechen->setText(texts::Text(65268));
    gauge_.btnHilfe->hide();
    gauge_.Label1->setText(texts::Text(65205));
    gauge_.Gauge1->setRange(0, maximum_);
    gauge_.Gauge1->setValue(0);
    gauge_.panImpLauf->hide();
    gauge_.lblAnzGeles->show();
    gauge_.lblAnzGeles2->show();
    gauge_.lblAnzGeles2->setText(QStringLiteral("0"));
    gauge_.Show();
    unshown_ = 0;
    QCoreApplication::processEvents();
    sinceRound_.start();
    gauge_.AnimateTimer1->start();
}

void GaugeTextProgress::recordRead()
{
    ++unshown_;
    if (!roundDue())
        return;
    showCount();
    QCoreApplication::processEvents();
}

bool GaugeTextProgress::cancelled()
{
    return gauge_.cancelled();
}

void GaugeTextProgress::showNow()
{
    showCount();
    QCoreApplication::processEvents();
}

void GaugeTextProgress::wholeLinesDone()
{
    gauge_.lblAnzGeles->hide();
    gauge_.lblAnzGeles2->hide();
    gauge_.Label1->setText(gauge_.Label1->text() + texts::Text(65279));
    gauge_.AnimateTimer1->stop();
    gauge_.Close();
    gauge_.panImpLauf->show();
}

void GaugeTextProgress::sizingStarts()
{
    gauge_.AnimateTimer1->stop();
    gauge_.ImgFolderFull->hide();
    gauge_.Database1->hide();
    gauge_.DataBase2->hide();
    for (QLabel* image : gauge_.FlyingImages)
        image->hide();
    gauge_.AnimateTimer2->start();
    QCoreApplication::processEvents();
    gauge_.lblAnzGeles->hide();
    gauge_.lblAnzGeles2->hide();
    gauge_.Label1->setText(texts::Text(65206));
}

void GaugeTextProgress::sizingStep()
{
    if (roundDue())
        QCoreApplication::processEvents();
}

void GaugeTextProgress::sizingDone()
{
    gauge_.Label1->setText(gauge_.Label1->text() + texts::Text(65279));
    gauge_.Close();
    for (QLabel* image : gauge_.RedImages)
        image->hide();
    gauge_.ImgFolderFull->show();
    gauge_.Database1->show();
    gauge_.DataBase2->show();
    gauge_.AnimateTimer2->stop();
    gauge_.panImpLauf->show();
}

}  // namespace engine
