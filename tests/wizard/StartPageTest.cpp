// The start page and the frame around the pages, driven through the real main window: what each choice leads to
// when the user presses Weiter, the list of stored settings, help by page, the Info buttons and the about box.
#include "ShellTestSupport.h"

#include "db/Field.h"
#include "db/TableModel.h"
#include "platform/LocUtils.h"
#include "platform/ScriptedUi.h"
#include "texts/Texts.h"
#include "ui_frmImport1.h"
#include "wizard/ImportProgram.h"
#include "wizard/frmEinstellAEND.h"
#include "wizard/frmEinstellANZ.h"
#include "wizard/frmImport1.h"
#include "wizard/frmSplashScreen.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using platform::ScriptedUi;
using wizard::ImportProgram;
using wizard::TfrmImport1;

// The program started in a folder of its own as a user starts it, its main window in front; dialogs are answered
// by the script. With stored settings, the list holds a text setting "Artikel" and a Paradox setting "Kunden".
struct StartedProgram {
    explicit StartedProgram(bool storedSettings, const QString& remembered = QString())
    {
        if (storedSettings) {
            db::Table list;
            list.setTableName(folders.programFolder() + QStringLiteral("ImpList.DB"));
            list.Open();
            for (const QStringList& row : {QStringList{"Artikel", "/daten/artikel.csv", "/daten/ARTIKEL.DB", "Text"},
                                           QStringList{"Kunden", "/daten/kunden.db", "/daten/KUNDEN.DB", "Paradox"}}) {
                list.Append();
                list.FieldByName(QStringLiteral("Bezeichnung"))->setAsString(row[0]);
                list.FieldByName(QStringLiteral("Quelldatei"))->setAsString(row[1]);
                list.FieldByName(QStringLiteral("Zieldatei"))->setAsString(row[2]);
                list.FieldByName(QStringLiteral("Quellformat"))->setAsString(row[3]);
                list.Post();
            }
            list.Close();
        }
        if (!remembered.isEmpty())
            folders.store("ImportMain/edtAktEinstellung", remembered);
        context = folders.context();
        program = std::make_unique<ImportProgram>(context);
        if (!program->Start(0))
            throw std::runtime_error("the program did not start");
        form = program->frmImport1();
        Settle();
    }

    // The main window in front with its controls laid out.
    void Settle() const
    {
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form));
        QApplication::processEvents();
    }

    ShellFolders folders;
    ScriptedUi ui;
    platform::ScopedUserInterface installed{ui};
    wizard::ProgramContext context;
    std::unique_ptr<ImportProgram> program;
    TfrmImport1* form = nullptr;
};

// Picks the setting from the drop-down list the way a user does: open it, click the row.
void ChooseSetting(TfrmImport1& form, const QString& name)
{
    auto* list = form.ui->comVorh_Einstellg;
    list->showPopup();
    auto* view = static_cast<QTableView*>(list->view());
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        const QModelIndex index = view->model()->index(row, list->modelColumn());
        if (index.data().toString() == name) {
            view->scrollTo(index);
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
            break;
        }
    }
    if (list->view()->isVisible())
        list->hidePopup();
    QApplication::processEvents();
}

TEST(StartPage, TheSettingsListShowsNameSourceAndTargetAndTheChoiceBecomesTheCurrentSetting)
{
    StartedProgram started(true, "Artikel");
    ScriptedUi& ui = started.ui;
    TfrmImport1& form = *started.form;

    auto* list = form.ui->comVorh_Einstellg;
    EXPECT_FALSE(list->isHidden());
    EXPECT_EQ(list->DropDownRows(), 10);
    EXPECT_EQ(list->currentText(), "Artikel");
    auto* view = static_cast<QTableView*>(list->view());
    auto* model = static_cast<db::TableModel*>(view->model());
    QStringList columns;
    for (int visual = 0; visual < model->columnCount(); ++visual) {
        const int column = view->horizontalHeader()->logicalIndex(visual);
        if (!view->isColumnHidden(column))
            columns << model->fieldAt(column)->FieldName();
    }
    EXPECT_EQ(columns.join(u';').toStdString(), "Bezeichnung;Quelldatei;Zieldatei");

    ChooseSetting(form, "Kunden");
    EXPECT_EQ(form.AktEinstellung, "Kunden");
    EXPECT_EQ(form.ui->edtAktEinstellung->text(), "Kunden");
    EXPECT_EQ(form.tblImpList.FieldByName("Bezeichnung")->AsString(), "Kunden");
    EXPECT_TRUE(ui.events().empty());
}

TEST(StartPage, WeiterDoesWhatTheChoiceSays)
{
    struct Case {
        const char* name;
        const char* choice;  // the radio button checked, empty: none
        QString current;     // AktEinstellung when Weiter is pressed
        QString page;        // the page shown afterwards
        QString message;     // the one message shown (its start)
        QString checkedAfterwards;
        int beeps;
    };
    // The settings of the list name no setting files: loading them reports that.
    const QString filesMissing = QStringLiteral("Die Importeinstellung \"Kunden\" verweist");
    const Case cases[] = {
        {"new import goes to the source page", "rbtNeueImport", "Kunden", "ImportSeite2", "", "rbtNeueImport", 0},
        {"stored setting without a current one asks for one", "rbtVorhEinst_oAE", "", "ImportSeite1",
         texts::Text(64946), "rbtVorhEinst_oAE", 0},
        {"change without a current one asks for one", "rbtVorhEinst_mAE", "", "ImportSeite1", texts::Text(64946),
         "rbtVorhEinst_mAE", 0},
        {"unchanged use, setting files missing: the page stays", "rbtVorhEinst_oAE", "Kunden", "ImportSeite1",
         filesMissing, "rbtVorhEinst_oAE", 0},
        {"change, setting files missing: the page stays", "rbtVorhEinst_mAE", "Kunden", "ImportSeite1", filesMissing,
         "rbtVorhEinst_mAE", 0},
        {"no choice: a beep", "", "Kunden", "ImportSeite1", "", "", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartedProgram started(true);
        ScriptedUi& ui = started.ui;
        TfrmImport1& form = *started.form;
        if (!c.message.isEmpty())
            ui.answer(platform::Button::Ok);

        for (QRadioButton* r : {form.ui->rbtNeueImport, form.ui->rbtVorhEinst_oAE, form.ui->rbtVorhEinst_mAE})
            platform::SetChecked(r, r->objectName() == QLatin1String(c.choice));
        // A stored-setting choice offers the list to choose from.
        if (!form.ui->comVorh_Einstellg->isHidden() && !c.current.isEmpty())
            ChooseSetting(form, c.current);
        else
            form.AktEinstellung = c.current;

        QTest::mouseClick(form.ui->btnWeiter1, Qt::LeftButton);

        EXPECT_EQ(form.ui->PageControl1->currentWidget()->objectName().toStdString(), c.page.toStdString());
        ASSERT_EQ(ui.messageTexts().size(), c.message.isEmpty() ? 0 : 1) << ui.messageTexts().join("|").toStdString();
        if (!c.message.isEmpty()) {
            EXPECT_TRUE(ui.messageTexts()[0].startsWith(c.message)) << ui.messageTexts()[0].toStdString();
        }
        QString checked;
        for (QRadioButton* r : {form.ui->rbtNeueImport, form.ui->rbtVorhEinst_oAE, form.ui->rbtVorhEinst_mAE})
            if (r->isChecked())
                checked = r->objectName();
        EXPECT_EQ(checked, c.checkedAfterwards);
        EXPECT_EQ(ui.beeps(), c.beeps);
    }
}

TEST(StartPage, TheChoicesShowTheirControlsAndTheirWindows)
{
    StartedProgram started(true);
    ScriptedUi& ui = started.ui;
    ImportProgram& program = *started.program;
    TfrmImport1& form = *started.form;
    const Ui::TfrmImport1& f = *form.ui;
    const std::vector<QWidget*> listControls{f.lblWeitere, f.comVorh_Einstellg, f.btnDetails, f.gbxAktEinstellung};
    auto listShown = [&] {
        int shown = 0;
        for (QWidget* w : listControls)
            shown += w->isHidden() ? 0 : 1;
        return shown;
    };
    ASSERT_TRUE(f.rbtNeueImport->isChecked());
    EXPECT_EQ(listShown(), 0);

    // The target page as a changed stored setting leaves it.
    f.btnSicherungskopie->hide();
    f.cbxSicherungskopie->show();
    f.cbxSicherungskopie->setChecked(true);
    f.cbxZielLeeren->setChecked(true);

    QTest::mouseClick(f.rbtVorhEinst_oAE, Qt::LeftButton, {}, QPoint(8, f.rbtVorhEinst_oAE->height() / 2));
    EXPECT_EQ(listShown(), 4);
    QTest::mouseClick(f.btnDetails, Qt::LeftButton);
    EXPECT_TRUE(program.frmEinstellANZ()->isVisible());
    EXPECT_FALSE(program.frmEinstellAEND()->isVisible());

    // The access key of the change choice, then its details: the settings manager.
    QTest::keyClick(&form, Qt::Key_N, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.rbtVorhEinst_mAE->isChecked(); }));
    QTest::mouseClick(f.btnDetails, Qt::LeftButton);
    EXPECT_TRUE(program.frmEinstellAEND()->isVisible());

    // A radio button takes clicks on its circle and its text.
    QTest::mouseClick(f.rbtNeueImport, Qt::LeftButton, {}, QPoint(8, f.rbtNeueImport->height() / 2));
    EXPECT_EQ(listShown(), 0);
    EXPECT_FALSE(program.frmEinstellANZ()->isVisible());
    EXPECT_FALSE(program.frmEinstellAEND()->isVisible());
    EXPECT_FALSE(f.btnSicherungskopie->isHidden());
    EXPECT_TRUE(f.cbxSicherungskopie->isHidden());
    EXPECT_FALSE(f.cbxSicherungskopie->isChecked());
    EXPECT_FALSE(f.cbxZielLeeren->isChecked());
    EXPECT_TRUE(f.rbtFreieZieldatei->isChecked());
    EXPECT_TRUE(ui.events().empty());
}

TEST(StartPage, ReadingSettingsFromDiskOffersTheStoredChoicesOnceTheListHasRows)
{
    for (const bool readsOne : {false, true}) {
        SCOPED_TRACE(readsOne ? "a setting read" : "nothing read");
        StartedProgram started(false);
        ScriptedUi& ui = started.ui;
        ImportProgram& program = *started.program;
        TfrmImport1& form = *started.form;
        // The manager reads the shipped predefined settings, or the person cancels its file dialog.
        QString vorDef;
        if (readsOne) {
            const QString demos = started.folders.path("disk/");
            QDir().mkpath(demos);
            for (const QString& name : QDir(IMPORT_PROGRAM_DIR "/Demos").entryList({"VorDef.*", "Demo*"}, QDir::Files))
                QFile::copy(IMPORT_PROGRAM_DIR "/Demos/" + name, demos + name);
            vorDef = demos + "VorDef.DB";
        }
        ui.answerFile(vorDef);
        ASSERT_FALSE(form.ui->rbtImpEinlesen->isHidden());
        QTest::mouseClick(form.ui->rbtImpEinlesen, Qt::LeftButton, {}, QPoint(8, form.ui->rbtImpEinlesen->height() / 2));
        QTest::mouseClick(form.ui->btnWeiter1, Qt::LeftButton);

        ASSERT_EQ(ui.fileDialogs().size(), 1u);
        EXPECT_FALSE(program.frmEinstellAEND()->isVisible());
        EXPECT_EQ(form.ui->rbtImpEinlesen->isHidden(), readsOne);
        EXPECT_EQ(form.ui->rbtImpEinlesen->isChecked(), !readsOne);
        EXPECT_EQ(form.ui->rbtVorhEinst_oAE->isHidden(), !readsOne);
        EXPECT_EQ(form.ui->rbtVorhEinst_mAE->isHidden(), !readsOne);
        EXPECT_EQ(form.ui->PageControl1->currentWidget(), form.ui->ImportSeite1);
        EXPECT_EQ(ui.events().size(), 1u);
        EXPECT_EQ(form.tblImpList.RecordCount(), readsOne ? 2 : 0);
    }
}

TEST(WizardFrame, F1OpensTheHelpOfThePageWhereTheFocusIs)
{
    StartedProgram started(false);
    ScriptedUi& ui = started.ui;
    TfrmImport1& form = *started.form;
    const Ui::TfrmImport1& f = *form.ui;

    struct Case {
        QWidget* page;
        QWidget* inner;  // the text page's sheet
        QWidget* focus;
        int context;
    };
    const Case cases[] = {
        {f.ImportSeite1, nullptr, f.rbtNeueImport, 1},    {f.ImportSeite2, nullptr, f.edtQuelle, 2},
        {f.ImportSeite3, nullptr, f.edtZiel, 3},          {f.ImportSeite1txt, f.TXTFix, f.cbxRaster, 12},
        {f.ImportSeite1txt, f.TXTVariabel, nullptr, 13},  {f.ImportSeite4, nullptr, f.btnHilfe4, 4},
        {f.ImportSeite5, nullptr, f.btnAbbrechen5, 5},    {f.ImportSeite6, nullptr, f.btnHilfe6, 6},
    };
    std::vector<int> expected;
    for (const Case& c : cases) {
        f.PageControl1->setCurrentWidget(c.page);
        if (c.inner)
            f.tpcTXT->setCurrentWidget(c.inner);
        if (c.focus)
            c.focus->setFocus();
        else
            f.PageControl1->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        expected.push_back(c.context);
    }
    // One key, one topic.
    EXPECT_EQ(ui.helpContexts(), expected);
    f.PageControl1->setCurrentWidget(f.ImportSeite3);
    QTest::mouseClick(f.btnHilfe3, Qt::LeftButton);
    f.PageControl1->setCurrentWidget(f.ImportSeiteAdo);
    QTest::mouseClick(f.Button2, Qt::LeftButton);
    // The Access page has no topic of its own.
    EXPECT_EQ(ui.helpContexts().back(), 0);
    EXPECT_EQ(ui.helpContexts().at(ui.helpContexts().size() - 2), 3);
}

// Closes the about box once it stands and remembers its version line.
void CloseAboutBoxWhenShown(QStringList& versionLines)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, &versionLines] {
        auto* about = qobject_cast<wizard::TfrmSplashScreen*>(QApplication::activeModalWidget());
        if (!about)
            return;
        poll->deleteLater();
        poll->stop();
        versionLines << about->lblVersion->text() + (about->btnOK->isVisible() ? "" : " without OK") +
                            (about->height() == 335 ? "" : " of another height") +
                            (about->focusWidget() == about->btnOK ? "" : " with the focus elsewhere");
        QTest::mouseClick(about->btnOK, Qt::LeftButton);
    });
    poll->start(10);
}

TEST(WizardFrame, ARightClickOnAPageBringsItsInfoButtonWhichShowsTheAboutBox)
{
    StartedProgram started(false);
    ScriptedUi& ui = started.ui;
    TfrmImport1& form = *started.form;
    const Ui::TfrmImport1& f = *form.ui;

    f.PageControl1->setCurrentWidget(f.ImportSeite3);
    ASSERT_TRUE(f.btnInfo3->isHidden());
    const QPoint free(f.ImportSeite3->width() / 2, f.ImportSeite3->height() - 60);
    ASSERT_EQ(f.ImportSeite3->childAt(free), nullptr);
    QTest::mouseClick(f.ImportSeite3, Qt::RightButton, {}, free);
    EXPECT_TRUE(f.btnInfo3->isVisible());
    EXPECT_EQ(f.btnInfo3->pos(), free);
    QTest::mouseClick(f.ImportSeite3, Qt::LeftButton, {}, QPoint(5, f.ImportSeite3->height() - 60));
    EXPECT_TRUE(f.btnInfo3->isHidden());

    f.PageControl1->setCurrentWidget(f.ImportSeite1txt);
    f.tpcTXT->setCurrentWidget(f.TXTFix);
    QTest::mouseClick(f.TXTFix, Qt::RightButton, {}, QPoint(3, 3));
    ASSERT_TRUE(f.btnInfo2TXT->isVisible());
    QStringList versionLines;
    CloseAboutBoxWhenShown(versionLines);
    QTest::mouseClick(f.btnInfo2TXT, Qt::LeftButton);
    EXPECT_TRUE(f.btnInfo2TXT->isHidden());

    f.PageControl1->setCurrentWidget(f.ImportSeite1);
    started.Settle();
    CloseAboutBoxWhenShown(versionLines);
    QTest::keyClick(&form, Qt::Key_F, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return versionLines.size() == 2; }));

    // Two boxes, each its own window with the same version line.
    const QString version = texts::Text(65251) + " 1.2 " + texts::Text(65252) + ' ';
    ASSERT_EQ(versionLines.size(), 2);
    EXPECT_TRUE(versionLines[0].startsWith(version)) << versionLines[0].toStdString();
    EXPECT_EQ(versionLines[0], versionLines[1]);
    EXPECT_EQ(form.findChildren<wizard::TfrmSplashScreen*>().size(), 2);
    EXPECT_TRUE(ui.events().empty());
}

TEST(WizardFrame, EveryCancelButtonAsksTheSameQuestion)
{
    StartedProgram started(false);
    ScriptedUi& ui = started.ui;
    TfrmImport1& form = *started.form;
    const Ui::TfrmImport1& f = *form.ui;
    const std::pair<QWidget*, QAbstractButton*> cancels[] = {
        {f.ImportSeite1, f.btnAbbrechen1}, {f.ImportSeite2, f.btnAbbrechen2},     {f.ImportSeiteAdo, f.Button1},
        {f.ImportSeite3, f.btnAbbrechen3}, {f.ImportSeite1txt, f.btnAbbrechen1txt}, {f.ImportSeite4, f.btnAbbrechen4},
        {f.ImportSeite5, f.btnAbbrechen5}, {f.ImportSeite6, f.btnAbbrechen6},
    };
    for (auto [page, cancel] : cancels) {
        SCOPED_TRACE(cancel->objectName().toStdString());
        ui.clearRecord();
        ui.answer(platform::Button::No);
        f.PageControl1->setCurrentWidget(page);
        QTest::mouseClick(cancel, Qt::LeftButton);
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages()[0].text, texts::Text(64944));
        EXPECT_EQ(ui.messages()[0].type, platform::MessageType::Confirmation);
        EXPECT_TRUE(form.isVisible());
    }
}

TEST(StartPage, AccessKeysAreUniqueAndTabGoesInReadingOrderInEveryLanguage)
{
    for (const QString language : {"DE", "EN", "CSY"}) {
        SCOPED_TRACE(language.toStdString());
        if (language != u"DE")
            platform::LocUtilsInstance().LoadResourceLibrary(QStringLiteral(IMPORT_PROGRAM_DIR "/Import.") +
                                                             language);
        {
            StartedProgram started(true);
            platform::SetChecked(started.form->ui->rbtVorhEinst_mAE, true);
            std::map<QChar, QStringList> owners;
            auto add = [&owners](QWidget* w, const QString& caption) {
                const qsizetype amp = caption.indexOf(u'&');
                if (w->isVisible() && amp >= 0 && amp + 1 < caption.size())
                    owners[caption[amp + 1].toLower()] << w->objectName();
            };
            for (QAbstractButton* b : started.form->ui->ImportSeite1->findChildren<QAbstractButton*>())
                add(b, b->text());
            for (QLabel* l : started.form->ui->ImportSeite1->findChildren<QLabel*>())
                add(l, l->text());
            for (const auto& [key, widgets] : owners)
                EXPECT_EQ(widgets.size(), 1) << QString(key).toStdString() << ": "
                                             << widgets.join(", ").toStdString();
            EXPECT_GE(owners.size(), 9u);
            // Tab goes in reading order.
            QStringList chain;
            QWidget* w = started.form->ui->rbtVorhEinst_mAE;
            for (int i = 0; i < 40 && chain.size() < 8; ++i, w = w->nextInFocusChain())
                if (w->isVisible() && (w->focusPolicy() & Qt::TabFocus))
                    chain << w->objectName();
            EXPECT_EQ(chain.join(' ').toStdString(), "rbtVorhEinst_mAE edtAktEinstellung comVorh_Einstellg btnDetails "
                                                     "btnInfoVisible btnHilfe1 btnAbbrechen1 btnWeiter1");
        }
        platform::LocUtilsInstance().ResetResourceLibrary();
    }
}

}  // namespace
