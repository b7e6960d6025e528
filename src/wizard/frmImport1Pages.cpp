// The source page, the Access page and the target page of the main window: what the user names is checked here
// before anything of the user's files is touched, and the working tables are prepared for the pages that follow.
#include "db/EngineError.h"
#include "db/FileNames.h"
#include "db/access/IsolatedRun.h"
#include "engine/AccessTables.h"
#include "engine/BriskoRoutines.h"
#include "engine/SettingFiles.h"
#include "engine/StructureReaders.h"
#include "engine/TextScanner.h"
#include "engine/WorkingTables.h"
#include "platform/StatusBar.h"
#include "platform/UserInterface.h"
#include "texts/Texts.h"
#include "ui_frmImport1.h"
#include "wizard/PageSupport.h"
#include "wizard/finish/StoredSetting.h"
#include "ui_frmInhaltAnz.h"
#include "ui_frmQOptionen.h"
#include "wizard/frmImport1.h"
#include "wizard/frmInhaltAnz.h"
#include "wizard/frmQOptionen.h"
#include "wizard/text/TextFileView.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace wizard {

namespace {

// The viewer's filter belongs to the source it was made on: another source starts unfiltered, instead of failing
// to open on conditions about fields it may not have.
void SetSourceTableName(db::Table& table, const QString& name)
{
    if (table.TableName() != name) {
        table.setFiltered(false);
        table.setFilter(QString());
    }
    table.setTableName(name);
}

bool IsTableFile(const QString& fileName)
{
    const QString extension = UpperExtension(fileName);
    return extension == u".DB" || extension == u".DBF";
}

// While the Access library works in its child process the window keeps painting; clicks and keys wait, so that
// nothing can start a second read or leave the page meanwhile.
class PaintWhileWaiting {
public:
    PaintWhileWaiting()
        : previous_(db::access::setIsolationWaitHook(
              [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }))
    {
    }
    ~PaintWhileWaiting() { db::access::setIsolationWaitHook(std::move(previous_)); }
    PaintWhileWaiting(const PaintWhileWaiting&) = delete;
    PaintWhileWaiting& operator=(const PaintWhileWaiting&) = delete;

private:
    db::access::IsolationWaitHook previous_;
};

// The page's message for a table that cannot be used, with the engine's reason below it.
QString WithReason(int textId, const QString& reason)
{
    return reason.isEmpty() ? texts::Text(textId) : texts::Text(textId) + kCrLf + kCrLf + reason;
}

}  // namespace

void TfrmImport1::ConnectSourceAndTargetPages()
{
    using platform::ConnectClick;
    // The open dialog starts at the root of the file system until the user has chosen a file.
    OpenDialog1.initialDir = QDir::rootPath();
    OpenDialog1.options = platform::NoChangeDir | platform::PathMustExist | platform::FileMustExist;
    sdSicherungskopie = engine::SicherungskopieDialog();
    // A backup is written over an existing file only when the person said so in the dialog.
    sdSicherungskopie.options |= platform::OverwritePrompt;

    ADOSourceTable.setConnection(&ADOConnection1);

    connect(ui->btnWeiter2, &QAbstractButton::clicked, this, &TfrmImport1::btnWeiter2Click);
    connect(ui->btnZurueck2, &QAbstractButton::clicked, this, &TfrmImport1::btnZurueck2Click);
    connect(ui->btnInhaltAnz2, &QAbstractButton::clicked, this, &TfrmImport1::btnInhaltAnz2Click);
    connect(ui->btnQBrowse, &QAbstractButton::clicked, this, &TfrmImport1::btnQBrowseClick);
    connect(ui->btnQOptionen1, &QAbstractButton::clicked, this, &TfrmImport1::btnQOptionen1Click);
    connect(ui->comQuelle, &QComboBox::textActivated, this, &TfrmImport1::comQuelleChange);
    connect(ui->btnWeiterAdo, &QAbstractButton::clicked, this, &TfrmImport1::btnWeiterAdoClick);
    connect(ui->bznZurueckAdo, &QAbstractButton::clicked, this, &TfrmImport1::bznZurueckAdoClick);
    connect(ui->btnAccessInhaltAnsehen, &QAbstractButton::clicked, this, &TfrmImport1::btnAccessInhaltAnsehenClick);

    connect(ui->btnWeiter3, &QAbstractButton::clicked, this, &TfrmImport1::btnWeiter3Click);
    connect(ui->btnWeiterIB, &QAbstractButton::clicked, this, &TfrmImport1::btnWeiterIBClick);
    connect(ui->btnZurueck3, &QAbstractButton::clicked, this, &TfrmImport1::btnZurueck3Click);
    connect(ui->btnZBrowse, &QAbstractButton::clicked, this, &TfrmImport1::btnZBrowseClick);
    connect(ui->btnSicherungskopie, &QAbstractButton::clicked, this, &TfrmImport1::btnSicherungskopieClick);
    connect(ui->btnInhaltAnz3, &QAbstractButton::clicked, this, &TfrmImport1::btnInhaltAnz3Click);
    connect(ui->comZiel, &QComboBox::textActivated, this, &TfrmImport1::comZielChange);
    ConnectClick(ui->cbxZielLeeren, this, &TfrmImport1::cbxZielLeerenClick);
    ConnectClick(ui->rbtFRArtikeldatei, this, &TfrmImport1::rbtFRArtikeldateiClick);
    ConnectClick(ui->rbtFRKundendatei, this, &TfrmImport1::rbtFRKundendateiClick);
    ConnectClick(ui->rbtWDAdressdatei, this, &TfrmImport1::rbtWDAdressdateiClick);
}

void TfrmImport1::setWindows(TfrmInhaltAnz* frmInhaltAnz, TfrmQOptionen* frmQOptionen)
{
    frmInhaltAnz_ = frmInhaltAnz;
    frmQOptionen_ = frmQOptionen;
    if (frmInhaltAnz_) {
        frmInhaltAnz_->setWizard(this, ui->PageControl1);
        frmInhaltAnz_->dscAdo.setDataSet(&ADOSourceTable);
        frmInhaltAnz_->setZielDataSource(&dscZiel);
    }
    if (frmQOptionen_) {
        QOptionenWizard wizard;
        wizard.rbtVorhEinst_mAE = ui->rbtVorhEinst_mAE;
        wizard.tblImpList = &tblImpList;
        wizard.edtQuelle = ui->edtQuelle;
        wizard.PageControl1 = ui->PageControl1;
        wizard.ImportSeite1txt = ui->ImportSeite1txt;
        wizard.tpcTXT = ui->tpcTXT;
        wizard.TXTDatensatzlaenge = ui->TXTDatensatzlaenge;
        wizard.retQuellDat = ui->retQuellDat;
        wizard.btnQOptionen1 = ui->btnQOptionen1;
        wizard.btnQOptionen2 = ui->btnQOptionen2;
        wizard.frmInhaltAnz = frmInhaltAnz_;
        frmQOptionen_->setWizard(wizard);
    }
}

void TfrmImport1::CloseViewers()
{
    if (frmInhaltAnz_ && frmInhaltAnz_->isVisible())
        frmInhaltAnz_->close();
    if (frmQOptionen_ && frmQOptionen_->isVisible())
        frmQOptionen_->close();
}

bool TfrmImport1::TableReadable(db::Table& table, int engineErrorText, int otherErrorText)
{
    try {
        table.Open();
        return true;
    } catch (const db::EngineError& error) {
        table.Close();
        platform::ErrorBox(WithReason(engineErrorText, error.message()));
    } catch (const std::exception& error) {
        table.Close();
        platform::ErrorBox(WithReason(otherErrorText, QString::fromLocal8Bit(error.what())));
    }
    return false;
}

// ---- source page ----

void TfrmImport1::btnWeiter2Click()
{
    CloseViewers();
    if (!QuelldateiPruefen()) {
        ui->edtQuelle->setFocus();
        return;
    }
    const QString name = ui->edtQuelle->text();
    const QString extension = UpperExtension(name);
    if (!QFileInfo(db::findFileIgnoringCase(name)).isReadable()) {
        platform::ErrorBox(texts::Format(texts::Text(61310), {QDir::toNativeSeparators(name)}));
        ui->edtQuelle->setFocus();
        return;
    }
    if (IsTableFile(name)) {
        tblQuelle.Close();
        SetSourceTableName(tblQuelle, name);
        // A damaged table, one held by another program or a text file named .db is refused here, on this page.
        if (!TableReadable(tblQuelle, 64950, 64951)) {
            ui->edtQuelle->setFocus();
            return;
        }
        if (tblQuelle.RecordCount() == 0) {
            platform::MessageBox(platform::MessageType::Information, texts::Text(64948));
            tblQuelle.Close();
            return;
        }
    } else if (extension == u".MDB") {
        // The database is read before the page changes, so that a damaged one keeps the person here.
        try {
            ImportSeiteAdoEnter();
        } catch (const db::EngineError& error) {
            ADOConnection1.disconnect();
            platform::ErrorBox(WithReason(64950, error.message()));
            ui->edtQuelle->setFocus();
            return;
        }
        ui->PageControl1->setCurrentWidget(ui->ImportSeiteAdo);
        ui->lbxTables->setFocus();
        return;
    } else {
        tblQuelle.Close();
    }

    if (ui->rbtNeueImport->isChecked()) {
        ui->PageControl1->setCurrentWidget(ui->ImportSeite3);
    } else if (ui->rbtVorhEinst_mAE->isChecked()) {
        // A changed setting keeps its stored target unless the settings manager asks for a new one.
        if (ZielNeuWaehlen())
            ui->PageControl1->setCurrentWidget(ui->ImportSeite3);
        else
            ui->btnWeiter3->click();
    }
}

void TfrmImport1::btnZurueck2Click()
{
    CloseViewers();
    tblQuelle.Close();
    tblQuelle.setTableName(QString());
    ui->PageControl1->setFocus();
    ui->PageControl1->setCurrentWidget(ui->ImportSeite1);
}

void TfrmImport1::btnQBrowseClick()
{
    if (frmInhaltAnz_ && frmInhaltAnz_->isVisible())
        frmInhaltAnz_->close();
    const QString current = ui->edtQuelle->text();
    const QString demos = context().programFolder + QStringLiteral("Demos");
    if (!current.isEmpty())
        OpenDialog1.initialDir = QFileInfo(current).absolutePath();
    else if (QFileInfo(demos).isDir())
        OpenDialog1.initialDir = demos;
    OpenDialog1.title = texts::Text(65222);
    OpenDialog1.filter = QStringLiteral(
        "Alle Dateien (*.*)                  |*.*|"
        "Datenbanken (*.db); (*.dbf); (*.mdb)|*.db; *.dbf; *.mdb|"
        "Paradox (*.db)                      |*.db|"
        "dBase (*.dbf)                       |*.dbf|"
        "Access (*.mdb)                      |*.mdb|"
        "Text (*.txt)                        |*.txt|"
        "CSV Text (*.csv)                    |*.csv");
    OpenDialog1.filterIndex = 1;
    OpenDialog1.fileName.clear();
    const QString chosen = platform::OpenFileDialog(OpenDialog1);
    if (!chosen.isEmpty())
        ui->edtQuelle->setText(chosen);
}

void TfrmImport1::comQuelleChange()
{
    // The fixed German entries: under a language module with other texts no entry is recognised.
    const QString choice = ui->comQuelle->currentText().trimmed();
    if (choice == u"Artikel-Datei von Ferolin" || choice == u"Kunden-Datei von Ferolin") {
        try {
            dbsFR.Open();
        } catch (const db::EngineError& error) {
            platform::ErrorBox(error.message());
            return;
        }
        ui->edtQuelle->setText(dbsFR.Directory() + (choice.startsWith(u"Artikel") ? QStringLiteral("Artikel.DB")
                                                                                   : QStringLiteral("Kunden.DB")));
        dbsFR.Close();
    } else if (choice == u"Adress-Datei von Velmora-Wendamo") {
        ui->edtQuelle->setText(WDAdressdatei);
    }
}

void TfrmImport1::btnQOptionen1Click()
{
    if (!frmQOptionen_)
        return;
    frmQOptionen_->show();
    frmQOptionen_->raise();
    frmQOptionen_->activateWindow();
}

void TfrmImport1::btnInhaltAnz2Click()
{
    if (!QuelldateiPruefen() || !frmInhaltAnz_)
        return;
    const QString name = ui->edtQuelle->text();
    const QString fileName = QFileInfo(name).fileName();
    if (UpperExtension(name) == u".MDB") {
        platform::MessageBox(platform::MessageType::Information, texts::Text(64949));
        return;
    }
    Ui::TfrmInhaltAnz& viewer = *frmInhaltAnz_->ui;
    for (QWidget* sheet : {viewer.TabSheet1, viewer.TabSheet2, viewer.TabSheet3})
        frmInhaltAnz_->setSheetVisible(sheet, false);

    if (!IsTableFile(name)) {
        try {
            viewer.retEditor->loadFile(name, frmQOptionen_ && frmQOptionen_->ui->cbxDosToWin->isChecked());
        } catch (const engine::EInOutError& error) {
            platform::ErrorBox(error.message());
            return;
        }
        viewer.stbInhaltText->setSimpleText(engine::IntToStrThousands(viewer.retEditor->blockCount()) +
                                            u' ' + texts::Text(65278));
        frmInhaltAnz_->setSheetTitle(viewer.TabSheet3, texts::Text(65273) + QStringLiteral(": ") + fileName);
        frmInhaltAnz_->setSheetVisible(viewer.TabSheet3, true);
        frmInhaltAnz_->setActiveSheet(viewer.TabSheet3);
    } else {
        tblQuelle.Close();
        SetSourceTableName(tblQuelle, name);
        frmInhaltAnz_->setQuelleDataSource(&dscQuelle);
        if (!TableReadable(tblQuelle, 64950, 64951))
            return;
        viewer.stbInhaltQuelle->setSimpleText(DatensaetzeText(tblQuelle.RecordCount()));
        frmInhaltAnz_->setSheetTitle(viewer.TabSheet1, QStringLiteral("Quelldatei: ") + fileName);
        frmInhaltAnz_->setSheetVisible(viewer.TabSheet1, true);
        frmInhaltAnz_->setActiveSheet(viewer.TabSheet1);
    }
    frmInhaltAnz_->show();
    viewer.PageControl1->setFocus();
    ui->btnInhaltAnz2->setEnabled(false);
}

// ---- Access page ----

void TfrmImport1::ImportSeiteAdoEnter()
{
    const QString name = ui->edtQuelle->text();
    WaitCursor wait;
    PaintWhileWaiting painting;
    ADOConnection1.disconnect();
    ADOConnection1.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + name +
                                       QStringLiteral(";Persist Security Info=False"));
    ADOConnection1.connect();
    ui->Label12->setText(texts::Format(texts::Text(64925), {QFileInfo(name).fileName()}));

    std::vector<engine::AdoTableInfo> tables;
    engine::ListAdoTables(ADOConnection1, engine::AdoTableKind::Table, tables);
    ui->lbxTables->clear();
    for (const engine::AdoTableInfo& table : tables)
        ui->lbxTables->addItem(table.TableName);
    for (int i = 0; i < ui->lbxTables->count(); ++i) {
        if (ui->lbxTables->item(i)->text().compare(AdoQuellTabelle, Qt::CaseInsensitive) == 0) {
            ui->lbxTables->setCurrentRow(i);
            break;
        }
    }
}

void TfrmImport1::btnWeiterAdoClick()
{
    QListWidgetItem* selected = ui->lbxTables->currentItem();
    if (!selected || !selected->isSelected()) {
        platform::MessageBox(platform::MessageType::Information, texts::Text(65226));
        ui->lbxTables->setFocus();
        return;
    }
    const QString tempFolder = context().programFolder + engine::TempFolderName;
    if (!QDir().mkpath(tempFolder)) {
        platform::ErrorBox(texts::Format(texts::Text(61311), {QDir::toNativeSeparators(tempFolder)}));
        return;
    }
    AdoQuellTabelle = selected->text();
    // An Access table name may hold characters a file name must not (a slash would lead out of Temp, a star
    // would widen the clean-up below to other files): those become "_" in the copy's name only.
    QString copyName = AdoQuellTabelle;
    for (QChar& c : copyName)
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 0x20)
            c = u'_';
    if (copyName.startsWith(u'.'))
        copyName[0] = u'_';
    const QString targetFile = copyName + QStringLiteral(".db");
    const QString statement = QStringLiteral("SELECT * INTO [") + targetFile + QStringLiteral("] IN \"") +
                              QDir::toNativeSeparators(tempFolder) + QStringLiteral("\" \"Paradox 5.x;\" FROM ") +
                              AdoQuellTabelle;

    tblQuelle.Close();
    // The copy of an earlier pass goes with all its files: the new table is made afresh.
    const QString tempBase = tempFolder + u'/' + copyName;
    if (QFileInfo::exists(tempBase + QStringLiteral(".db")))
        engine::DeleteFiles(tempBase + QStringLiteral(".*"));

    int rows = 0;
    ui->lblBittewarten->show();
    {
        WaitCursor wait;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        try {
            PaintWhileWaiting painting;
            ADOConnection1.connect();
            rows = ADOConnection1.execute(statement);
            ADOConnection1.disconnect();
        } catch (const db::EngineError& error) {
            ADOConnection1.disconnect();
            ui->lblBittewarten->hide();
            platform::ErrorBox(WithReason(64950, error.message()));
            return;
        }
    }
    ui->lblBittewarten->hide();
    if (rows == 0) {
        platform::ShowMessage(texts::Format(texts::Text(64924), {AdoQuellTabelle}));
        return;
    }
    SetSourceTableName(tblQuelle, tempFolder + u'/' + targetFile);
    if (!TableReadable(tblQuelle, 64950, 64951))
        return;
    // A filter set in the viewer on this Access table holds for the copy the run reads.
    if (ADOSourceTable.TableName() == AdoQuellTabelle && ADOSourceTable.Filtered() &&
        !ADOSourceTable.Filter().isEmpty()) {
        try {
            tblQuelle.setFiltered(false);
            tblQuelle.setFilter(ADOSourceTable.Filter());
            tblQuelle.setFiltered(true);
        } catch (const db::EngineError& error) {
            tblQuelle.setFiltered(false);
            tblQuelle.setFilter(QString());
            platform::ErrorBox(texts::Format(texts::Text(61558), {error.message()}));
        }
    }
    ui->PageControl1->setCurrentWidget(ui->ImportSeite3);
}

void TfrmImport1::bznZurueckAdoClick()
{
    ui->PageControl1->setFocus();
    ui->PageControl1->setCurrentWidget(ui->ImportSeite2);
}

void TfrmImport1::btnAccessInhaltAnsehenClick()
{
    QListWidgetItem* selected = ui->lbxTables->currentItem();
    if (!selected || !selected->isSelected()) {
        platform::MessageBox(platform::MessageType::Information, texts::Text(64952));
        ui->lbxTables->setFocus();
        return;
    }
    if (!frmInhaltAnz_)
        return;
    AdoQuellTabelle = selected->text();
    Ui::TfrmInhaltAnz& viewer = *frmInhaltAnz_->ui;
    frmInhaltAnz_->setQuelleDataSource(&frmInhaltAnz_->dscAdo);
    ADOSourceTable.Close();
    // The viewer's filter belongs to the Access table it was made on.
    if (ADOSourceTable.TableName() != AdoQuellTabelle) {
        ADOSourceTable.setFiltered(false);
        ADOSourceTable.setFilter(QString());
    }
    ADOSourceTable.setTableName(AdoQuellTabelle);
    {
        WaitCursor wait;
        PaintWhileWaiting painting;
        try {
            ADOConnection1.connect();
            ADOSourceTable.Open();
        } catch (const db::EngineError& error) {
            ADOSourceTable.Close();
            platform::ErrorBox(WithReason(64950, error.message()));
            return;
        }
    }
    viewer.stbInhaltQuelle->setSimpleText(DatensaetzeText(ADOSourceTable.RecordCount()));
    frmInhaltAnz_->setSheetTitle(
        viewer.TabSheet1, texts::Text(65273) + QStringLiteral(": ") + QFileInfo(ui->edtQuelle->text()).fileName() +
                              QStringLiteral(", ") + texts::Text(65274) + QStringLiteral(": ") + AdoQuellTabelle);
    frmInhaltAnz_->setSheetVisible(viewer.TabSheet1, true);
    frmInhaltAnz_->setSheetVisible(viewer.TabSheet2, false);
    frmInhaltAnz_->setSheetVisible(viewer.TabSheet3, false);
    frmInhaltAnz_->setActiveSheet(viewer.TabSheet1);
    frmInhaltAnz_->show();
}

// ---- target page ----

void TfrmImport1::btnWeiter3Click()
{
    if (!ZieldateiPruefen()) {
        ui->edtZiel->setFocus();
        return;
    }
    const QString name = ui->edtZiel->text();
    if (UpperExtension(name) == u".GDB") {
        ZielGDBWeiter();
        return;
    }
    // The run writes into the target: one that cannot be written is refused before anything is prepared.
    if (!QFileInfo(db::findFileIgnoringCase(name)).isWritable()) {
        platform::ErrorBox(texts::Format(texts::Text(61312), {QDir::toNativeSeparators(name)}));
        ui->edtZiel->setFocus();
        return;
    }
    btnWeiterIBClick();
}

void TfrmImport1::btnWeiterIBClick()
{
    if (frmInhaltAnz_ && frmInhaltAnz_->isVisible())
        frmInhaltAnz_->close();
    tblZiel.Close();
    const QString source = ui->edtQuelle->text();
    if (UpperExtension(ui->edtZiel->text()) != u".GDB") {
        tblZiel.setTableName(ui->edtZiel->text());
        // A damaged target, or a text file named like a table, is refused here; the page stays.
        try {
            engine::ZieldateiExklusivPruefen(tblZiel);
        } catch (const db::EngineError& error) {
            tblZiel.Close();
            platform::ErrorBox(WithReason(65223, error.message()));
            ui->edtZiel->setFocus();
            return;
        }
        if (!tblZiel.CanModify()) {
            const QString reason = tblZiel.ReadOnlyReason();
            tblZiel.Close();
            platform::ErrorBox(texts::Format(texts::Text(61313), {QDir::toNativeSeparators(ui->edtZiel->text())}) +
                               (reason.isEmpty() ? QString() : kCrLf + kCrLf + reason));
            ui->edtZiel->setFocus();
            return;
        }
    }

    WaitCursor wait;
    if (!ui->cbxSicherungskopie->isHidden() && ui->cbxSicherungskopie->isChecked())
        engine::SicherungskopieErstellen({tblZiel, sdSicherungskopie});

    engine::EmptyTableExclusive(tblQStrukt);
    const bool tableSource = !IsTextSource(source);
    if (tableSource)
        engine::QuellStrukturEinlesen(tblQuelle, tblQStrukt);

    if (tblTempStrukt.Active())
        tblTempStrukt.Close();
    engine::ZuordnungTempKopieren(context().engine, tblZStrukt);

    engine::EmptyTableExclusive(tblZStrukt);
    engine::ZielStrukturEinlesen(dscZiel, tblZStrukt);
    if (tableSource) {
        if (ui->rbtNeueImport->isChecked())
            AutoZuordnung();
        else
            ZuordnungenUebernehmen();
    }

    tblZStrukt.Open();
    tblZiel.Open();

    if (tableSource) {
        IndexSpalteEinstellen();
        ui->PageControl1->setCurrentWidget(ui->ImportSeite4);
        return;
    }

    // The page shows the file through its line index, never as one text: a file of 100 MB stays a few MB here.
    try {
        ui->retQuellDat->loadFile(source, frmQOptionen_ && frmQOptionen_->ui->cbxDosToWin->isChecked());
    } catch (const engine::EInOutError& error) {
        platform::ErrorBox(error.message());
        return;
    }
    const qsizetype first = ui->retQuellDat->line(0).trimmed().size();
    const qsizetype second = ui->retQuellDat->line(1).trimmed().size();
    if (!ui->rgrDatsatzlaenge0->isChecked() && !ui->rgrDatsatzlaenge1->isChecked())
        SetChecked(first == second ? ui->rgrDatsatzlaenge1 : ui->rgrDatsatzlaenge0, true);
    ui->tpcTXT->setCurrentWidget(ui->TXTDatensatzlaenge);
    ui->PageControl1->setCurrentWidget(ui->ImportSeite1txt);
}

void TfrmImport1::btnZurueck3Click()
{
    if (frmInhaltAnz_ && frmInhaltAnz_->isVisible())
        frmInhaltAnz_->close();
    if (ui->rbtNeueImport->isChecked()) {
        tblZiel.Close();
        tblZiel.setTableName(QString());
        SetChecked(ui->cbxSicherungskopie, false);
        SetChecked(ui->cbxZielLeeren, false);
        ui->PageControl1->setCurrentWidget(ui->ImportSeite2);
    } else if (ui->rbtVorhEinst_mAE->isChecked()) {
        ui->PageControl1->setCurrentWidget(QuelleNeuWaehlen() ? ui->ImportSeite2 : ui->ImportSeite1);
    }
}

void TfrmImport1::btnZBrowseClick()
{
    if (frmInhaltAnz_ && frmInhaltAnz_->isVisible())
        frmInhaltAnz_->close();
    const QString target = ui->edtZiel->text();
    OpenDialog1.fileName.clear();
    if (!target.isEmpty() && QFileInfo(target).absoluteDir().exists())
        OpenDialog1.initialDir = QFileInfo(target).absolutePath();
    else
        OpenDialog1.initialDir = QFileInfo(ui->edtQuelle->text()).absolutePath();
    OpenDialog1.title = texts::Text(65203);
    OpenDialog1.filter = QStringLiteral("Alle Dateien (*.*)          |*.*|Paradox (*.db); dBase(*.dbf)|*.db; *.dbf|"
                                        "Paradox (*.db)              |*.db|dBase (*.dbf)               |*.dbf");
    OpenDialog1.filterIndex = 1;
    const QString chosen = platform::OpenFileDialog(OpenDialog1);
    if (!chosen.isEmpty())
        ui->edtZiel->setText(chosen);
}

void TfrmImport1::btnSicherungskopieClick()
{
    const QString name = ui->edtZiel->text();
    const QFileInfo file(name);
    if (name.isEmpty() || !file.absoluteDir().exists()) {
        platform::ErrorBox(texts::Text(64968));
        ui->edtZiel->setFocus();
        return;
    }
    if (!QFileInfo(db::findFileIgnoringCase(name)).isFile()) {
        platform::ErrorBox(texts::Text(64969));
        ui->edtZiel->setFocus();
        return;
    }
    SetChecked(ui->cbxSicherungskopie, true);
    tblZiel.setTableName(name);
    engine::SicherungskopieErstellen({tblZiel, sdSicherungskopie});
}

void TfrmImport1::btnInhaltAnz3Click()
{
    if (!ZieldateiPruefen() || !frmInhaltAnz_)
        return;
    Ui::TfrmInhaltAnz& viewer = *frmInhaltAnz_->ui;
    frmInhaltAnz_->setSheetTitle(viewer.TabSheet2,
                                 texts::Text(65276) + QStringLiteral(": ") + QFileInfo(ui->edtZiel->text()).fileName());
    for (QWidget* sheet : {viewer.TabSheet1, viewer.TabSheet2, viewer.TabSheet3})
        frmInhaltAnz_->setSheetVisible(sheet, false);
    frmInhaltAnz_->show();
    ui->btnInhaltAnz3->setEnabled(false);

    tblZiel.Close();
    tblZiel.setTableName(ui->edtZiel->text());
    if (!TableReadable(tblZiel, 65223, 65224))
        return;
    const QString count = DatensaetzeText(tblZiel.RecordCount());
    frmInhaltAnz_->setZielStatus(count, ui->cbxZielLeeren->isChecked());
    frmInhaltAnz_->setSheetVisible(viewer.TabSheet2, true);
    frmInhaltAnz_->setActiveSheet(viewer.TabSheet2);
    viewer.PageControl1->setFocus();
}

void TfrmImport1::cbxZielLeerenClick()
{
    QFont font = ui->lblZielLeeren->font();
    font.setBold(ui->cbxZielLeeren->isChecked());
    ui->lblZielLeeren->setFont(font);
}

void TfrmImport1::comZielChange()
{
    const QString choice = ui->comZiel->currentText().trimmed();
    if (choice == u"Artikel-Datei von Ferolin")
        ui->edtZiel->setText(FRArtikeldatei);
    else if (choice == u"Kunden-Datei von Ferolin")
        ui->edtZiel->setText(FRKundendatei);
    else if (choice == u"Adress-Datei von Velmora-Wendamo")
        ui->edtZiel->setText(WDAdressdatei);
}

void TfrmImport1::rbtFRArtikeldateiClick()
{
    ui->edtZiel->setText(FRArtikeldatei);
}

void TfrmImport1::rbtFRKundendateiClick()
{
    ui->edtZiel->setText(FRKundendatei);
}

void TfrmImport1::rbtWDAdressdateiClick()
{
    ui->edtZiel->setText(WDAdressdatei);
}

}  // namespace wizard
