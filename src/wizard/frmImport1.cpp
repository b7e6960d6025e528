#include "wizard/frmImport1.h"

#include "db/Aliases.h"
#include "db/FileNames.h"
#include "engine/BriskoRoutines.h"
#include "engine/WorkingTables.h"
#include "platform/ClickHandlers.h"
#include "platform/ErrorReport.h"
#include "platform/RegIniFile.h"
#include "platform/UserInterface.h"
#include "platform/WindowTexts.h"
#include "rtl/FormatSettings.h"
#include "texts/Texts.h"
#include "ui_frmImport1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QShortcut>
#include <QShowEvent>

namespace wizard {

namespace {

constexpr const char* kHelpContextProperty = "HelpContext";

const QString kRegistrierung = QStringLiteral("Registrierung");
const QString kImportMain = QStringLiteral("ImportMain");

// A path as the user's file names are compared here: absolute, cleaned, upper case.
QString ComparablePath(const QString& name)
{
    return QDir::cleanPath(QFileInfo(name).absoluteFilePath()).toUpper();
}

}  // namespace

void TDatabase::Open()
{
    directory_ = db::Aliases::folder(DatabaseName);
    connected_ = true;
}

void TDatabase::Close()
{
    connected_ = false;
    directory_.clear();
}

int HelpContextOf(const QWidget* widget)
{
    return widget ? widget->property(kHelpContextProperty).toInt() : 0;
}

void SetHelpContext(QWidget* widget, int helpContext)
{
    widget->setProperty(kHelpContextProperty, helpContext);
}

TfrmImport1::TfrmImport1(ProgramContext& context, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TfrmImport1>()), context_(context)
{
    ui->setupUi(this);
    setProperty(platform::kUntranslatedCaption, true);
    platform::TranslateWindow(this);

    for (auto [page, helpContext] : {std::pair{ui->ImportSeite1, 1}, {ui->ImportSeite2, 2}, {ui->ImportSeite3, 3},
                                     {ui->ImportSeite4, 4}, {ui->ImportSeite5, 5}, {ui->ImportSeite6, 6},
                                     {ui->TXTDatensatzlaenge, 11}, {ui->TXTFix, 12}, {ui->TXTVariabel, 13}})
        SetHelpContext(page, helpContext);
    for (auto [button, helpContext] : {std::pair{ui->btnHilfe1, 1}, {ui->btnHilfe2, 2}, {ui->btnHilfe3, 3},
                                       {ui->btnHilfe4, 4}, {ui->btnHilfe5, 5}, {ui->btnHilfe6, 6}})
        SetHelpContext(button, helpContext);

    dscQStrukt.setDataSet(&tblQStrukt);
    dscZStrukt.setDataSet(&tblZStrukt);
    dscImpList.setDataSet(&tblImpList);
    dscQuelle.setDataSet(&tblQuelle);
    dscZiel.setDataSet(&tblZiel);
    // The working tables belong to this program alone while it runs; the source is read without others writing.
    tblQStrukt.setExclusive(true);
    tblZStrukt.setExclusive(true);
    tblImpList.setExclusive(true);
    tblQuelle.setExclusive(true);

    for (QAbstractButton* cancel : {ui->btnAbbrechen1, ui->btnAbbrechen2, ui->btnAbbrechen3, ui->btnAbbrechen4,
                                    ui->btnAbbrechen5, ui->btnAbbrechen6, ui->btnAbbrechen1txt, ui->Button1})
        connect(cancel, &QAbstractButton::clicked, this, &TfrmImport1::btnAbbrechen1Click);
    for (QAbstractButton* help : {ui->btnHilfe1, ui->btnHilfe2, ui->Button2, ui->btnHilfe1txt})
        connect(help, &QAbstractButton::clicked, this, &TfrmImport1::btnHilfe1Click);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setContext(Qt::WindowShortcut);
    connect(f1, &QShortcut::activated, this, [this] { FormKeyDown(Qt::Key_F1); });
    ConnectFrameAndStartPage();
    ConnectSourceAndTargetPages();
    ConnectMappingPage();
    ConnectTextPages();
    ConnectModeAndFinishPages();

    FormCreate();
}

TfrmImport1::~TfrmImport1()
{
    try {
        FormDestroy();
    } catch (...) {
        platform::ReportException();
    }
    // The members go before the widget itself, whose end still closes the window and moves the focus: no handler
    // that reaches them may run then, neither a control's nor the application's.
    QObject::disconnect(qApp, nullptr, this, nullptr);
    for (QObject* child : findChildren<QObject*>())
        child->blockSignals(true);
}

void TfrmImport1::FormCreate()
{
    if (windowTitle() != ProgrammTitel)
        setWindowTitle(ProgrammTitel);

    RegIniImport = std::make_unique<platform::TRegIniFile>(RegOrganisation, RegApplication, RegKey);
    RegIniImport->WriteString(kRegistrierung, QStringLiteral("Installation"),
                              QDir::toNativeSeparators(context_.programFile));
    RegIniImport->WriteString(kRegistrierung, QStringLiteral("Version"), ProgrammVersion);

    tblQStrukt.Close();
    tblZStrukt.Close();
    tblImpList.Close();
    tblQStrukt.setTableName(context_.programFolder + engine::QStruktFileName);
    tblZStrukt.setTableName(context_.programFolder + engine::ZStruktFileName);
    tblImpList.setTableName(context_.programFolder + engine::ImpListFileName);

    context_.helpFile = context_.programFolder + QStringLiteral("Import.HLP");

    try {
        dbsFR.Open();
        if (dbsFR.Connected()) {
            FRArtikeldatei = dbsFR.Directory() + QStringLiteral("Artikel.DB");
            FRKundendatei = dbsFR.Directory() + QStringLiteral("Kunden.DB");
            ui->comQuelle->addItem(texts::Text(64920));
            ui->comQuelle->addItem(texts::Text(64921));
        }
    } catch (const std::exception&) {
        // A product that is not installed only leaves its quick choices out.
    }
    dbsFR.Close();

    AdoQuellTabelle.clear();

    try {
        dbsWD.Open();
        if (dbsWD.Connected()) {
            WDAdressdatei = dbsWD.Directory() + QStringLiteral("Kunden.DB");
            ui->comQuelle->addItem(texts::Text(64922));
        }
    } catch (const std::exception&) {
    }
    dbsWD.Close();

    ui->comQuelle->setVisible(ui->comQuelle->count() > 0);
    ui->comZiel->setVisible(!ui->comQuelle->isHidden());
    ui->comZiel->clear();
    for (int i = 0; i < ui->comQuelle->count(); ++i)
        ui->comZiel->addItem(ui->comQuelle->itemText(i));
}

void TfrmImport1::FormShow()
{
    // The user never sees tabs: the pages are stacked and change only by program.
    ui->PageControl1->setCurrentWidget(ui->ImportSeite1);
    ui->PageControl1->setFocus();

    rtl::formatSettings().ShortDateFormat = QStringLiteral("DD/MM/YYYY");

    SetChecked(ui->rbtNeueImport, RegIniImport->ReadBool(kImportMain, QStringLiteral("rbtNeueImport"), false));
    if (!ui->rbtVorhEinst_oAE->isHidden() || !ui->rbtVorhEinst_mAE->isHidden()) {
        SetChecked(ui->rbtVorhEinst_oAE,
                   RegIniImport->ReadBool(kImportMain, QStringLiteral("rbtVorhEinst_oAE"), false));
        SetChecked(ui->rbtVorhEinst_mAE,
                   RegIniImport->ReadBool(kImportMain, QStringLiteral("rbtVorhEinst_mAE"), false));
    }

    if (context_.arguments.isEmpty()) {
        ui->edtQuelle->setText(RegIniImport->ReadString(kImportMain, QStringLiteral("edtQuelle"), QString()));
        ui->edtZiel->setText(RegIniImport->ReadString(kImportMain, QStringLiteral("edtZiel"), QString()));
    } else {
        ParameterAuswerten();
    }

    tblImpList.Open();
    if (tblImpList.RecordCount() == 0) {
        for (QWidget* w : std::initializer_list<QWidget*>{ui->rbtVorhEinst_oAE, ui->rbtVorhEinst_mAE,
                                                          ui->gbxAktEinstellung, ui->lblWeitere,
                                                          ui->comVorh_Einstellg, ui->btnDetails})
            w->hide();
        ui->rbtImpEinlesen->show();
    } else {
        tblImpList.First();
        AktEinstellung = RegIniImport->ReadString(kImportMain, QStringLiteral("edtAktEinstellung"), QString());
        if (AktEinstellung.isEmpty() || !tblImpList.FindKey(AktEinstellung)) {
            AktEinstellung.clear();
        } else {
            ui->edtAktEinstellung->setText(AktEinstellung);
            ui->comVorh_Einstellg->setKeyValue(AktEinstellung);
        }
    }

    SetChecked(ui->rbtVorhEinst_mAE, !AktEinstellung.isEmpty());
    const bool noChoice =
        !ui->rbtNeueImport->isChecked() && !ui->rbtVorhEinst_oAE->isChecked() && !ui->rbtVorhEinst_mAE->isChecked();
    if (noChoice || (!ui->rbtNeueImport->isChecked() && AktEinstellung.isEmpty()))
        SetChecked(ui->rbtNeueImport, true);
}

void TfrmImport1::FormDestroy()
{
    if (destroyed_)
        return;
    destroyed_ = true;

    engine::EmptyTableExclusive(tblZStrukt);
    engine::EmptyTableExclusive(tblQStrukt);

    RegIniImport->WriteBool(kImportMain, QStringLiteral("rbtNeueImport"), ui->rbtNeueImport->isChecked());
    RegIniImport->WriteBool(kImportMain, QStringLiteral("rbtVorhEinst_oAE"), ui->rbtVorhEinst_oAE->isChecked());
    RegIniImport->WriteBool(kImportMain, QStringLiteral("rbtVorhEinst_mAE"), ui->rbtVorhEinst_mAE->isChecked());
    RegIniImport->WriteString(kImportMain, QStringLiteral("edtAktEinstellung"), AktEinstellung);
    RegIniImport->WriteString(kImportMain, QStringLiteral("edtQuelle"), ui->edtQuelle->text());
    RegIniImport->WriteString(kImportMain, QStringLiteral("edtZiel"), ui->edtZiel->text());
    if (!RegIniImport->UpdateFile())
        platform::MessageBox(platform::MessageType::Warning, RegIniImport->errorText());

    tblQuelle.Close();
    tblZiel.Close();

    try {
        engine::DeleteFiles(context_.programFolder + engine::TempFolderName + QStringLiteral("/*.*"));
    } catch (...) {
        tblQStrukt.Close();
        tblZStrukt.Close();
        tblImpList.Close();
        throw;
    }
    tblQStrukt.Close();
    tblZStrukt.Close();
    tblImpList.Close();
}

void TfrmImport1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window coming back from the task bar is no new show.
    if (!event->spontaneous())
        FormShow();
}

void TfrmImport1::closeEvent(QCloseEvent* event)
{
    event->accept();
    QCoreApplication::quit();
}

void TfrmImport1::btnAbbrechen1Click()
{
    platform::MessageRequest request;
    request.type = platform::MessageType::Confirmation;
    request.caption = platform::applicationTitle();
    request.text = texts::Text(64944);
    request.buttons = platform::Buttons::YesNo;
    if (platform::MessageBox(request) == platform::Button::Yes)
        close();
}

int TfrmImport1::ActivePageHelpContext() const
{
    QWidget* page = ui->PageControl1->currentWidget();
    if (page == ui->ImportSeite1txt)
        page = ui->tpcTXT->currentWidget();
    return HelpContextOf(page);
}

void TfrmImport1::btnHilfe1Click()
{
    platform::ShowHelp(ActivePageHelpContext());
}

void TfrmImport1::FormKeyDown(int key)
{
    if (key != Qt::Key_F1)
        return;
    // The window sees the key first. A control of a page answers F1 with its page's help; one key opens one topic,
    // so the page's handler takes it where it has one.
    const std::pair<QWidget*, void (TfrmImport1::*)(int)> pages[] = {
        {ui->ImportSeite1, &TfrmImport1::rbtNeueImportKeyDown}, {ui->ImportSeite2, &TfrmImport1::edtQuelleKeyDown},
        {ui->ImportSeiteAdo, &TfrmImport1::edtQuelleKeyDown},   {ui->ImportSeite3, &TfrmImport1::edtZielKeyDown},
        {ui->ImportSeite1txt, &TfrmImport1::btnHilfe1txtKeyDown}, {ui->ImportSeite4, &TfrmImport1::btnHilfe4KeyDown},
        {ui->ImportSeite5, &TfrmImport1::btnHilfe5KeyDown},     {ui->ImportSeite6, &TfrmImport1::btnHilfe6KeyDown},
    };
    QWidget* focus = QApplication::focusWidget();
    for (auto [page, handler] : pages) {
        if (focus && focus != page && page->isAncestorOf(focus) && page == ui->PageControl1->currentWidget()) {
            (this->*handler)(key);
            return;
        }
    }
    platform::ShowHelp(ActivePageHelpContext());
}

bool TfrmImport1::IsOwnTable(const QString& fileName)
{
    const QString name = ComparablePath(fileName);
    for (const db::Table* own : {&tblQStrukt, &tblZStrukt, &tblImpList})
        if (name == ComparablePath(own->TableName()))
            return true;

    // The stored settings' copies of the mapping table. The list's current row is kept by its name.
    const bool wasOpen = tblImpList.Active();
    if (!wasOpen)
        tblImpList.Open();
    const QString current = tblImpList.RecordCount() > 0
                                ? tblImpList.FieldByName(QStringLiteral("Bezeichnung"))->AsString()
                                : QString();
    bool found = false;
    for (tblImpList.First(); !tblImpList.Eof() && !found; tblImpList.Next()) {
        for (const char* column : {"TableName", "VorDefTableName"}) {
            const QString base = tblImpList.FieldByName(QLatin1String(column))->AsString();
            if (!base.isEmpty() && name == ComparablePath(context_.programFolder + base + QStringLiteral(".DB")))
                found = true;
        }
    }
    if (!current.isEmpty())
        tblImpList.FindKey(current);
    if (!wasOpen)
        tblImpList.Close();
    return found;
}

bool TfrmImport1::FileNamed(const QString& name, int emptyText) const
{
    if (name.isEmpty() && context_.arguments.isEmpty()) {
        platform::ErrorBox(texts::Text(emptyText));
        return false;
    }
    // The folder part is what stands before the last separator: a bare name has none, whatever lies in the
    // current folder.
    const qsizetype separator = QDir::fromNativeSeparators(name).lastIndexOf(u'/');
    if (separator < 0 || !QFileInfo(name).absoluteDir().exists()) {
        platform::ErrorBox(texts::Text(64968));
        return false;
    }
    // Table files are named without regard to case, as where they come from.
    if (!QFileInfo(db::findFileIgnoringCase(name)).isFile()) {
        platform::ErrorBox(texts::Text(64969));
        return false;
    }
    return true;
}

bool TfrmImport1::QuelldateiPruefen()
{
    const QString name = ui->edtQuelle->text();
    if (!FileNamed(name, 64966))
        return false;
    const QFileInfo file(name);
    const QString extension = QLatin1Char('.') + file.suffix().toUpper();
    if (extension == u".ZIP" || extension == u".ARJ") {
        if (platform::MessageBox(platform::MessageType::Warning, texts::Format(texts::Text(64970), {file.fileName()}),
                                 platform::Buttons::YesNo) == platform::Button::No)
            return false;
    }
    if (IsOwnTable(name)) {
        platform::Beep();
        platform::ErrorBox(texts::Text(64971));
        ui->edtQuelle->clear();
        return false;
    }
    return true;
}

bool TfrmImport1::ZieldateiPruefen()
{
    const QString name = ui->edtZiel->text();
    if (!FileNamed(name, 64967))
        return false;
    if (name.compare(ui->edtQuelle->text(), Qt::CaseInsensitive) == 0) {
        platform::ErrorBox(texts::Text(64972));
        ui->edtZiel->clear();
        return false;
    }
    if (IsOwnTable(name)) {
        platform::Beep();
        platform::ErrorBox(texts::Text(64971));
        ui->edtZiel->clear();
        return false;
    }
    return true;
}

}  // namespace wizard
