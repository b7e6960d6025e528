// The mapping page of the main window: source and target fields side by side, their assignment, the options of
// the current target field, and the way back.
#include "db/EngineError.h"
#include "engine/BriskoRoutines.h"
#include "engine/DBCheck.h"
#include "engine/ImportSetting.h"
#include "engine/MessagePacer.h"
#include "engine/WorkingTables.h"
#include "platform/StatusBar.h"
#include "platform/UserInterface.h"
#include "rtl/FormatSettings.h"
#include "texts/Texts.h"
#include "ui_frmImport1.h"
#include "wizard/PageSupport.h"
#include "wizard/finish/StoredSetting.h"
#include "ui_frmInhaltAnz.h"
#include "wizard/GridTitles.h"
#include "wizard/frmGauge.h"
#include "wizard/frmImport1.h"
#include "wizard/frmInhaltAnz.h"
#include "wizard/mapping/FieldOptionsPanel.h"
#include "wizard/mapping/MappingPage.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>

namespace wizard {

namespace {

// The progress window as the page's loops arrange it: small, cancel button only, one step per row. Window messages
// are let through at most every 15 ms, so that the loop costs what its rows cost, not what repainting does.
class MappingProgress {
public:
    MappingProgress(TfrmGauge* gauge, const QString& label, int rows) : gauge_(gauge)
    {
        if (!gauge_)
            return;
        gauge_->setHeight(120);
        gauge_->btnGaugeAbbrechen->move(120, gauge_->btnGaugeAbbrechen->y());
        gauge_->btnGaugeAbbrechen->setText(texts::Text(65268));
        gauge_->btnHilfe->hide();
        gauge_->Gauge1->setMinimum(0);
        gauge_->Gauge1->setMaximum(rows);
        gauge_->Label1->setText(label);
        gauge_->Show();
    }
    ~MappingProgress()
    {
        if (!gauge_)
            return;
        gauge_->Label1->setText(gauge_->Label1->text() + texts::Text(65279));
        gauge_->Close();
    }
    MappingProgress(const MappingProgress&) = delete;
    MappingProgress& operator=(const MappingProgress&) = delete;

    bool step(int recNo)
    {
        if (!gauge_)
            return true;
        gauge_->Gauge1->setValue(recNo);
        if (pacer_.roundDue())
            QCoreApplication::processEvents();
        return !gauge_->cancelled();
    }

private:
    TfrmGauge* gauge_;
    engine::MessagePacer pacer_;
};

db::FieldDisplay Shown(const char* name, const QString& label, int width,
                       std::optional<Qt::Alignment> alignment = std::nullopt)
{
    return {QString::fromLatin1(name), label, width, alignment, true, {}};
}

db::FieldDisplay Hidden(const QString& name)
{
    db::FieldDisplay display;
    display.fieldName = name;
    display.visible = false;
    return display;
}

}  // namespace

void TfrmImport1::ConnectMappingPage()
{
    // The grids' titles in the language in use; Typ and the options stay out of them. The type names are read
    // from the type codes, in the same language.
    std::vector<db::FieldDisplay> ziel = {
        Shown("Index", GridTitleText("ZStrukt.Index"), 4, Qt::AlignHCenter),
        Shown("Feldname", GridTitleText("ZStrukt.Feldname"), 16),
        Shown("Laenge", GridTitleText("ZStrukt.Laenge"), 5, Qt::AlignRight),
        Shown("Typbezeichnung", GridTitleText("ZStrukt.Typbezeichnung"), 10),
        Shown("Zuordnung", GridTitleText("ZStrukt.Zuordnung"), 16),
    };
    ziel[3].shownText = ShownTypeName(tblZStrukt, true);
    const db::FieldDefList columns = engine::ZStruktFields();
    for (std::size_t i = ziel.size(); i < columns.size(); ++i)
        ziel.push_back(Hidden(columns[i].name));
    tblZStrukt.setFieldDisplays(ziel);
    // The source reader shows or hides Index.
    std::vector<db::FieldDisplay> quelle = {
        Shown("Index", GridTitleText("QStrukt.Index"), 0),
        Shown("Feldname", GridTitleText("QStrukt.Feldname"), 19),
        Shown("Typbezeichnung", GridTitleText("QStrukt.Typbezeichnung"), 12),
        Hidden(QStringLiteral("Typ")),
        Shown("Laenge", GridTitleText("QStrukt.Laenge"), 5, Qt::AlignRight),
        Hidden(QStringLiteral("NKommaStellen")),
    };
    quelle[2].shownText = ShownTypeName(tblQStrukt, false);
    tblQStrukt.setFieldDisplays(quelle);

    // The target grid shows its five columns without scrolling, the assignment last; the source grid its names.
    const int charWidth = ui->dbgStruktZiel->fontMetrics().horizontalAdvance(u'0');
    ui->dbgStruktZiel->setMinimumWidth(charWidth * 46 + 60);
    ui->dbgStruktQuelle->setMinimumWidth(charWidth * 24);
    mappingGrids_ = new mapping::MappingGrids(ui->dbgStruktQuelle, ui->dbgStruktZiel, this);
    ui->dbgStruktQuelle->setDataSource(&dscQStrukt);
    ui->dbgStruktZiel->setDataSource(&dscZStrukt);
    optionen_ = new mapping::FieldOptionsPanel(*this);

    connect(mappingGrids_, &mapping::MappingGrids::assignRequested, this, &TfrmImport1::btnZuordnenClick);
    connect(mappingGrids_, &mapping::MappingGrids::targetKeyUp, this, &TfrmImport1::dbgStruktZielKeyUp);
    connect(ui->btnZuordnen, &QAbstractButton::clicked, this, &TfrmImport1::btnZuordnenClick);
    connect(ui->btnAufheben, &QAbstractButton::clicked, this, &TfrmImport1::btnAufhebenClick);
    connect(ui->btnAlleAufheben, &QAbstractButton::clicked, this, &TfrmImport1::btnAlleAufhebenClick);
    connect(ui->btnOptionen, &QAbstractButton::clicked, this, &TfrmImport1::btnOptionenClick);
    connect(ui->btnInhaltAnz4, &QAbstractButton::clicked, this, &TfrmImport1::btnInhaltAnz4Click);
    connect(ui->btnZurueck4, &QAbstractButton::clicked, this, &TfrmImport1::btnZurueck4Click);
    connect(ui->btnWeiter4, &QAbstractButton::clicked, this, &TfrmImport1::btnWeiter4Click);
    connect(&tblZStrukt, &db::Table::afterScroll, this, &TfrmImport1::tblZStruktAfterScroll);
    connect(ui->PageControl1, &QStackedWidget::currentChanged, this, [this] {
        if (ui->PageControl1->currentWidget() == ui->ImportSeite4)
            ImportSeite4Enter();
    });
}

// ---- mapping routines ----

void TfrmImport1::AutoZuordnung()
{
    if (!tblQuelle.Active()) {
        platform::ErrorBox(texts::Text(64953));
        return;
    }
    tblQStrukt.Open();
    int assignments = 0;
    {
        MappingProgress progress(frmGauge, texts::Text(64954), tblQStrukt.RecordCount());
        assignments = mapping::ZuordnenNachNameUndSchluessel(tblQuelle, tblQStrukt, tblZStrukt,
                                                             [&](int recNo) { return progress.step(recNo); });
    }
    if (assignments > 0)
        ZuordnungsSchalterSetzen();
}

void TfrmImport1::ZuordnungenUebernehmen()
{
    tblTempStrukt.Close();
    tblTempStrukt.setTableName(context().programFolder + engine::TempFolderName + QStringLiteral("/tmp.db"));
    tblTempStrukt.Open();
    mapping::ZuordnungenUebertragen(tblTempStrukt, tblZStrukt, tblQuelle);
    tblTempStrukt.Close();
    ZuordnungsSchalterSetzen();
}

void TfrmImport1::IndexSpalteEinstellen()
{
    mapping::IndexSpalteAnpassen(tblZStrukt);
    mappingGrids_->arrangeTargetColumns();
}

// The unassign buttons are offered while anything is assigned.
void TfrmImport1::ZuordnungsSchalterSetzen()
{
    bool any = false;
    for (const engine::MappingRow& row : engine::ReadMapping(tblZStrukt))
        any = any || row.isMapped();
    ui->btnAufheben->setEnabled(any);
    ui->btnAlleAufheben->setEnabled(any);
}

// ---- page handlers ----

void TfrmImport1::ImportSeite4Enter()
{
    // Entering the page again (back from a message, or after going back) keeps the separator held first.
    if (!decimalSeparatorHeld_) {
        DecimalSeparatorAlt = rtl::formatSettings().DecimalSeparator;
        decimalSeparatorHeld_ = true;
    }
    rtl::formatSettings().DecimalSeparator = u',';
    mappingGrids_->setAssignmentStyle(true);
}

void TfrmImport1::DecimalSeparatorWiederherstellen()
{
    if (!decimalSeparatorHeld_)
        return;
    rtl::formatSettings().DecimalSeparator = DecimalSeparatorAlt;
    decimalSeparatorHeld_ = false;
}

bool TfrmImport1::ZurueckBestaetigen()
{
    platform::MessageRequest request;
    request.type = platform::MessageType::Confirmation;
    request.caption = platform::applicationTitle();
    request.text = texts::Text(64923);
    request.buttons = platform::Buttons::YesNo;
    return platform::MessageBox(request) == platform::Button::Yes;
}

void TfrmImport1::btnZurueck4Click()
{
    if (frmInhaltAnz_ && frmInhaltAnz_->isVisible())
        frmInhaltAnz_->close();
    if (!ZurueckBestaetigen())
        return;
    tblZStrukt.CheckBrowseMode();
    tblQuelle.Close();
    tblZiel.Close();
    QWidget* page = ui->ImportSeite3;
    if (IsTextSource(ui->edtQuelle->text()))
        page = ui->ImportSeite1txt;
    else if (!ui->rbtNeueImport->isChecked() && !ZielNeuWaehlen())
        // A changed setting goes back as far as the settings manager said the files were to be chosen anew.
        page = QuelleNeuWaehlen() ? ui->ImportSeite2 : ui->ImportSeite1;
    ui->PageControl1->setCurrentWidget(page);
}

void TfrmImport1::btnInhaltAnz4Click()
{
    if (!frmInhaltAnz_ || frmInhaltAnz_->isVisible())
        return;
    Ui::TfrmInhaltAnz& viewer = *frmInhaltAnz_->ui;
    frmInhaltAnz_->setActiveSheet(viewer.TabSheet1);
    frmInhaltAnz_->setQuelleDataSource(&dscQuelle);
    frmInhaltAnz_->setSheetVisible(viewer.TabSheet1, true);
    frmInhaltAnz_->setSheetVisible(viewer.TabSheet2, true);
    frmInhaltAnz_->setSheetVisible(viewer.TabSheet3, false);
    frmInhaltAnz_->setSheetTitle(
        viewer.TabSheet1, texts::Text(65277) + QStringLiteral(": ") + QFileInfo(tblQuelle.TableName()).fileName());
    frmInhaltAnz_->setSheetTitle(viewer.TabSheet2,
                                 texts::Text(65276) + QStringLiteral(": ") + QFileInfo(tblZiel.TableName()).fileName());
    try {
        tblQuelle.Open();
        viewer.stbInhaltQuelle->setSimpleText(DatensaetzeText(tblQuelle.RecordCount()));
        tblZiel.Open();
    } catch (const db::EngineError& error) {
        platform::ErrorBox(texts::Text(65223) + kCrLf + kCrLf + error.message());
        return;
    }
    const QString count = DatensaetzeText(tblZiel.RecordCount());
    frmInhaltAnz_->setZielStatus(count, ui->cbxZielLeeren->isChecked());
    frmInhaltAnz_->show();
    viewer.PageControl1->setFocus();
}

void TfrmImport1::OptionenSchliessen(bool disableButton)
{
    ui->tpcOptionen->hide();
    ui->panZuordHint->show();
    ui->btnOptionen->setText(texts::Text(65270));
    if (disableButton)
        ui->btnOptionen->setEnabled(false);
}

void TfrmImport1::btnZuordnenClick()
{
    tblZiel.Open();
    tblQuelle.Open();
    tblQStrukt.Open();
    tblZStrukt.Open();
    if (tblQStrukt.IsEmpty() || tblZStrukt.IsEmpty())
        return;
    tblZStrukt.CheckBrowseMode();
    const QString quellFeld = tblQStrukt.FieldByName(QStringLiteral("Feldname"))->AsString();
    const bool quellSchluessel = !tblQStrukt.FieldByName(QStringLiteral("Index"))->AsString().isEmpty();
    const QString quellLaenge = tblQStrukt.FieldByName(QStringLiteral("Laenge"))->AsString();
    const bool zielSchluessel = !tblZStrukt.FieldByName(QStringLiteral("Index"))->AsString().isEmpty();
    const QString zielLaenge = tblZStrukt.FieldByName(QStringLiteral("Laenge"))->AsString();
    db::Field* typ = tblZStrukt.FieldByName(QStringLiteral("Typ"));
    const bool zaehler = !typ->IsNull() && typ->AsInteger() == mapping::CounterType;

    if (zaehler && (!zielSchluessel || ui->cbxZielLeeren->isChecked())) {
        const QString text = zielSchluessel ? texts::Text(65219) + kCrLf + texts::Text(64955) + kCrLf + kCrLf +
                                                  texts::Text(65220)
                                            : texts::Text(64956) + kCrLf + kCrLf + texts::Text(65220);
        platform::MessageBox(platform::MessageType::Information, text);
        OptionenSchliessen(true);
        return;
    }
    if (zielSchluessel) {
        if (!quellSchluessel) {
            bool eindeutig = false;
            {
                WaitCursor wait;
                eindeutig = engine::SchluesselfeldPruefen(tblQuelle, quellFeld);
            }
            if (!eindeutig) {
                platform::MessageBox(platform::MessageType::Information,
                                     texts::Format(texts::Text(64958), {quellFeld}));
                OptionenSchliessen(true);
                return;
            }
        }
        if (engine::IsNumeric(quellLaenge) && engine::IsNumeric(zielLaenge) &&
            zielLaenge.toLongLong() < quellLaenge.toLongLong())
            platform::MessageBox(platform::MessageType::Warning, texts::Text(64957));
    }

    tblZStrukt.Edit();
    tblZStrukt.FieldByName(QStringLiteral("Zuordnung"))->setAsString(quellFeld);
    tblZStrukt.Post();
    ZielfeldOptionenAnzeigen();
    // A field without options (the source is a blob, say) keeps the panel closed.
    if (ui->tpcOptionen->isHidden() && ui->btnOptionen->isEnabled()) {
        ui->tpcOptionen->show();
        ui->panZuordHint->hide();
        ui->btnOptionen->setText(texts::Text(65227));
    }
    ui->btnAufheben->setEnabled(true);
    ui->btnAlleAufheben->setEnabled(true);
}

void TfrmImport1::btnAufhebenClick()
{
    tblZStrukt.Open();
    if (tblZStrukt.IsEmpty())
        return;
    tblZStrukt.Edit();
    tblZStrukt.FieldByName(QStringLiteral("Zuordnung"))->Clear();
    tblZStrukt.Post();
    ZielfeldOptionenAnzeigen();
}

void TfrmImport1::dbgStruktZielKeyUp(int key)
{
    if ((key != Qt::Key_Backspace && key != Qt::Key_Delete) || !tblZStrukt.Active() || tblZStrukt.IsEmpty())
        return;
    if (tblZStrukt.State() == db::dsBrowse)
        tblZStrukt.Edit();
    tblZStrukt.FieldByName(QStringLiteral("Zuordnung"))->Clear();
}

void TfrmImport1::btnAlleAufhebenClick()
{
    platform::MessageRequest request;
    request.type = platform::MessageType::Confirmation;
    request.text = texts::Text(65229);
    request.buttons = platform::Buttons::YesNo;
    if (platform::MessageBox(request) != platform::Button::Yes)
        return;
    tblZStrukt.Open();
    {
        MappingProgress progress(frmGauge, texts::Text(65230), tblZStrukt.RecordCount());
        mapping::AlleZuordnungenAufheben(tblZStrukt, [&](int recNo) { return progress.step(recNo); });
    }
    // Cancelled half-way, the rows not reached keep their assignments: the buttons say what is left.
    ZuordnungsSchalterSetzen();
    OptionenSchliessen(false);
}

// ---- options panel ----

void TfrmImport1::btnOptionenClick()
{
    if (!ui->tpcOptionen->isHidden()) {
        OptionenSchliessen(false);
        return;
    }
    ui->tpcOptionen->show();
    ui->panZuordHint->hide();
    ui->btnOptionen->setText(texts::Text(65227));
    ZielfeldOptionenAnzeigen();
}

void TfrmImport1::ZielfeldOptionenAnzeigen()
{
    if (optionen_->Anzeigen() == mapping::OptionsSheet::Closed)
        OptionenSchliessen(true);
}

void TfrmImport1::tblZStruktAfterScroll()
{
    if (!tblZStrukt.ControlsDisabled() && ui->dbgStruktZiel->hasFocus())
        ZielfeldOptionenAnzeigen();
}

}  // namespace wizard
