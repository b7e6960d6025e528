// The mode and finish pages of the main window, the run they start, and the loading of a stored setting into the
// pages.
#include "db/EngineError.h"
#include "db/Field.h"
#include "db/FileNames.h"
#include "db/paradox/ParadoxTable.h"
#include "engine/BriskoRoutines.h"
#include "engine/Importlauf.h"
#include "engine/SettingFiles.h"
#include "engine/WorkingTables.h"
#include "platform/ClickHandlers.h"
#include "platform/StatusBar.h"
#include "platform/UserInterface.h"
#include "rtl/FormatSettings.h"
#include "texts/Texts.h"
#include "ui_frmEinstellAEND.h"
#include "ui_frmImport1.h"
#include "ui_frmInhaltAnz.h"
#include "ui_frmQOptionen.h"
#include "wizard/PageSupport.h"
#include "wizard/finish/ModePage.h"
#include "wizard/finish/StoredSetting.h"
#include "wizard/frmEinstellAEND.h"
#include "wizard/frmGauge.h"
#include "wizard/frmImport1.h"
#include "wizard/frmInhaltAnz.h"
#include "wizard/frmQOptionen.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTableWidget>
#include <optional>

namespace wizard {

namespace {

void SetEnabled(std::initializer_list<QWidget*> widgets, bool enabled)
{
    for (QWidget* w : widgets)
        if (w)
            w->setEnabled(enabled);
}

bool FileExists(const QString& name)
{
    return !name.isEmpty() && QFileInfo(db::findFileIgnoringCase(name)).isFile();
}

// A setting's row gone bad, said once in the words the person knows: the setting's name and what is wrong.
void ReportDamagedSetting(const QString& name, const QString& fault)
{
    platform::ErrorBox(texts::Format(texts::Text(61450), {name}) + kCrLf + kCrLf + fault);
}

// While a run reads the source, its data source lets go of the table and takes it again on every way out: the
// table tells whoever listens of every record the run moves to, for grids nobody sees during the run.
class SourceLetGo {
public:
    explicit SourceLetGo(db::DataSource& source) : source_(source), table_(source.DataSet())
    {
        source_.setDataSet(nullptr);
    }
    SourceLetGo(const SourceLetGo&) = delete;
    SourceLetGo& operator=(const SourceLetGo&) = delete;
    ~SourceLetGo() { source_.setDataSet(table_); }

private:
    db::DataSource& source_;
    db::Table* table_;
};

}  // namespace

void TfrmImport1::ConnectModeAndFinishPages()
{
    using platform::ConnectClick;
    ConnectClick(ui->rbtEndeAnhaengen, this, &TfrmImport1::rbtEndeAnhaengenClick);
    ConnectClick(ui->rbtAktualisieren, this, &TfrmImport1::rbtAktualisierenClick);
    ConnectClick(ui->rbtIgnorieren, this, &TfrmImport1::rbtIgnorierenClick);
    ConnectClick(ui->rbtUmbenennen, this, &TfrmImport1::rbtUmbenennenClick);
    ConnectClick(ui->rbtSelfInc, this, &TfrmImport1::rbtSelfIncClick);
    ConnectClick(ui->rbtKeinImport, this, &TfrmImport1::rbtKeinImportClick);
    ConnectClick(ui->cbxAktMark, this, &TfrmImport1::cbxAktMarkClick);
    ConnectClick(ui->cbxNichtAktMark, this, &TfrmImport1::cbxNichtAktMarkClick);
    ConnectClick(ui->cbxNeueMark, this, &TfrmImport1::cbxNeueMarkClick);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (now == ui->edtStartwert)
            edtStartwertEnter();
        if (old == ui->comNeueMark)
            comNeueMarkExit();
    });
    connect(ui->btnInhaltAnz5, &QAbstractButton::clicked, this, &TfrmImport1::btnInhaltAnz3Click);
    connect(ui->btnWeiter5, &QAbstractButton::clicked, this, &TfrmImport1::btnWeiter5Click);
    connect(ui->btnZurueck5, &QAbstractButton::clicked, this, &TfrmImport1::btnZurueck5Click);

    connect(ui->btnFertigstellen, &QAbstractButton::clicked, this, &TfrmImport1::btnFertigstellenClick);
    connect(ui->btnZurueck6, &QAbstractButton::clicked, this, &TfrmImport1::btnZurueck6Click);
    connect(ui->btnBemerkung, &QAbstractButton::clicked, this, &TfrmImport1::btnBemerkungClick);
    connect(ui->btnBemerkSpeichern, &QAbstractButton::clicked, this, &TfrmImport1::btnBemerkSpeichernClick);
    connect(ui->btnBemerkVerwerfen, &QAbstractButton::clicked, this, &TfrmImport1::btnBemerkVerwerfenClick);
    SetChecked(ui->rbtTabAnz, true);

    // The marking options are there but never offered.
    for (QWidget* w : std::initializer_list<QWidget*>{ui->cbxNeueMark, ui->comNeueMark, ui->cbxAktMark, ui->comAktMark,
                                                      ui->cbxNichtAktMark, ui->comNichtAktMark, ui->lblNeueMark,
                                                      ui->lblAktMark, ui->lblNichtAktMark, ui->DBEdit1})
        w->setFocusPolicy(Qt::NoFocus);
}

bool TfrmImport1::QuelleNeuWaehlen() const
{
    return frmEinstellAEND && frmEinstellAEND->ui->cbxQuelleAusw->isChecked();
}

bool TfrmImport1::ZielNeuWaehlen() const
{
    return frmEinstellAEND && frmEinstellAEND->ui->cbxZielAusw->isChecked();
}

// ---- leaving the mapping page ----

bool TfrmImport1::ZuordnungenPruefen()
{
    tblZStrukt.Open();
    tblZiel.Open();
    if (frmGauge) {
        frmGauge->setHeight(120);
        frmGauge->btnGaugeAbbrechen->move(120, frmGauge->btnGaugeAbbrechen->y());
        frmGauge->btnGaugeAbbrechen->setText(texts::Text(65268));
        frmGauge->btnHilfe->hide();
        frmGauge->Gauge1->setMinimum(0);
        frmGauge->Gauge1->setMaximum(tblZStrukt.RecordCount());
        frmGauge->Label1->setText(texts::Text(65200));
        frmGauge->Show();
        QCoreApplication::processEvents();
    }
    auto closeGauge = [this] {
        if (frmGauge)
            frmGauge->Close();
    };

    const std::vector<engine::MappingRow> rows = engine::ReadMapping(tblZStrukt);
    QStringList missing;
    bool anyFilled = false;
    int keyRow = -1;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const engine::MappingRow& row = rows[i];
        const bool filled = !row.Zuordnung.isEmpty() || !row.Formel_alph.isEmpty() || !row.Formel_num.isEmpty() ||
                            !row.Vorgabewert_alph.isEmpty() || row.Vorgabewert_num.has_value();
        anyFilled = anyFilled || filled;
        const db::Field* field = tblZiel.FindField(row.Feldname);
        if (field && field->Required() && !filled)
            missing << row.Feldname;
        if (row.isKeyRow())
            keyRow = i;
    }
    auto backToMapping = [this] {
        tblZStrukt.First();
        ui->PageControl1->setCurrentWidget(ui->ImportSeite4);
        ui->btnZuordnen->setFocus();
    };
    if (!missing.isEmpty()) {
        closeGauge();
        backToMapping();
        platform::ErrorBox(texts::Text(64933) + missing.join(QStringLiteral(", ")));
        return false;
    }
    if (!anyFilled) {
        platform::Beep();
        closeGauge();
        backToMapping();
        platform::ErrorBox(texts::Text(64932));
        return false;
    }

    // The mode page offers what the key allows; see the situations below.
    Ui::TfrmImport1& f = *ui;
    auto off = [](QAbstractButton* b) {
        SetChecked(b, false);
        b->setEnabled(false);
    };
    if (keyRow < 0) {
        SetEnabled({f.rbtEndeAnhaengen, f.lblEndeAnhaengen}, true);
        off(f.rbtIgnorieren);
        off(f.rbtUmbenennen);
        off(f.rbtSelfInc);
        f.rbtAktualisieren->setEnabled(false);
        SetChecked(f.rbtEndeAnhaengen, true);
        f.gbxImportmodus->hide();
        f.lblAktualisieren->show();
        f.lblAktualisieren->setEnabled(false);
        f.lblAktNichtMoeglich->hide();
        SetEnabled({f.lblStartwert, f.edtStartwert}, false);
    } else {
        tblZStrukt.setRecNo(keyRow + 1);
        const engine::MappingRow& key = rows[keyRow];
        const bool counter = key.Typ == 14;
        const bool assigned = key.isMapped();
        const bool emptied = f.cbxZielLeeren->isChecked();
        if (counter && assigned) {
            f.rbtIgnorieren->setEnabled(true);
            off(f.rbtUmbenennen);
            off(f.rbtSelfInc);
            f.rbtAktualisieren->setEnabled(true);
        } else if (counter || (emptied && assigned)) {
            off(f.rbtUmbenennen);
            off(f.rbtSelfInc);
            f.rbtAktualisieren->setEnabled(false);
            if (counter) {
                off(f.rbtIgnorieren);
            } else {
                SetChecked(f.rbtIgnorieren, true);
                f.rbtIgnorieren->setEnabled(false);
            }
            SetChecked(f.rbtEndeAnhaengen, true);
        } else if (assigned) {
            f.rbtIgnorieren->setEnabled(true);
            f.rbtUmbenennen->setEnabled(true);
            off(f.rbtSelfInc);
            f.rbtAktualisieren->setEnabled(true);
        } else {
            off(f.rbtIgnorieren);
            off(f.rbtUmbenennen);
            f.rbtAktualisieren->setEnabled(false);
            f.rbtSelfInc->setEnabled(true);
            SetChecked(f.rbtSelfInc, true);
            SetChecked(f.rbtEndeAnhaengen, true);
        }
        f.gbxImportmodus->setVisible(!counter && !assigned);
        const bool updatePossible = f.rbtAktualisieren->isEnabled();
        f.lblAktNichtMoeglich->setVisible(!counter && emptied);
        f.lblAktualisieren->setVisible(counter || !emptied);
        f.lblAktualisieren->setEnabled(updatePossible);
        if (counter || assigned)
            SetEnabled({f.lblStartwert, f.edtStartwert}, false);
        // Updating cannot stay chosen where the key no longer allows it.
        if (!updatePossible && f.rbtAktualisieren->isChecked())
            SetChecked(f.rbtEndeAnhaengen, true);
    }
    closeGauge();
    return true;
}

void TfrmImport1::btnWeiter4Click()
{
    DecimalSeparatorWiederherstellen();
    CloseViewers();
    if (!ZuordnungenPruefen())
        return;
    Ui::TfrmImport1& f = *ui;
    if (!f.rbtNeueImport->isChecked()) {
        if (f.rbtIgnorieren->isEnabled() || f.rbtUmbenennen->isEnabled() || f.rbtSelfInc->isEnabled())
            f.gbxImportmodus->show();
        if (f.rbtUmbenennen->isChecked() || f.rbtSelfInc->isChecked()) {
            f.gbxImportmodus->show();
            SetEnabled({f.lblStartwert, f.lblIndexfeld, f.edtStartwert}, true);
        }
    }
    f.lblQuelldatei->setText(QDir::toNativeSeparators(tblQuelle.TableName()));
    f.PageControl1->setFocus();
    f.PageControl1->setCurrentWidget(f.ImportSeite5);
}

// ---- mode page ----

void TfrmImport1::rbtEndeAnhaengenClick()
{
    ui->gbxImportmodus->setVisible(ui->rbtIgnorieren->isEnabled() || ui->rbtUmbenennen->isEnabled() ||
                                   ui->rbtSelfInc->isEnabled());
}

void TfrmImport1::rbtAktualisierenClick()
{
    ui->gbxImportmodus->hide();
    for (QAbstractButton* b :
         {static_cast<QAbstractButton*>(ui->rbtIgnorieren), static_cast<QAbstractButton*>(ui->rbtUmbenennen),
          static_cast<QAbstractButton*>(ui->rbtSelfInc)})
        SetChecked(b, false);
    SetEnabled({ui->lblStartwert, ui->edtStartwert}, false);
    ui->lblIndexfeld->hide();
    ui->btnInhaltAnz5->hide();
    ui->edtStartwert->clear();
}

void TfrmImport1::rbtSelfIncClick()
{
    SetChecked(ui->rbtEndeAnhaengen, true);
    SetEnabled({ui->lblStartwert, ui->edtStartwert}, true);
    IndexfeldAnzeigen();
    if (ui->PageControl1->currentWidget() == ui->ImportSeite5)
        ui->edtStartwert->setFocus();
}

void TfrmImport1::rbtUmbenennenClick()
{
    rbtSelfIncClick();
}

void TfrmImport1::rbtIgnorierenClick()
{
    SetChecked(ui->rbtEndeAnhaengen, true);
    ui->btnInhaltAnz5->hide();
    SetEnabled({ui->lblStartwert, ui->edtStartwert}, false);
    ui->lblIndexfeld->clear();
}

void TfrmImport1::rbtKeinImportClick()
{
    SetChecked(ui->rbtAktualisieren, false);
    SetChecked(ui->rbtEndeAnhaengen, false);
}

void TfrmImport1::edtStartwertEnter()
{
    ui->btnInhaltAnz5->show();
}

void TfrmImport1::cbxAktMarkClick()
{
    const bool ticked = ui->cbxAktMark->isChecked();
    if (ticked)
        SetChecked(ui->cbxNichtAktMark, false);
    else
        ui->comAktMark->setCurrentIndex(-1);
    SetEnabled({ui->lblAktMark, ui->comAktMark}, ticked);
}

void TfrmImport1::cbxNichtAktMarkClick()
{
    const bool ticked = ui->cbxNichtAktMark->isChecked();
    if (ticked)
        SetChecked(ui->cbxAktMark, false);
    else
        ui->comNichtAktMark->setCurrentIndex(-1);
    SetEnabled({ui->lblNichtAktMark, ui->comNichtAktMark}, ticked);
}

void TfrmImport1::cbxNeueMarkClick()
{
    SetEnabled({ui->lblNeueMark, ui->comNeueMark}, ui->cbxNeueMark->isChecked());
}

void TfrmImport1::comNeueMarkExit()
{
    ui->DBEdit1->setProperty("DataField", ui->comNeueMark->currentText());
}

void TfrmImport1::IndexfeldAnzeigen()
{
    tblZStrukt.Open();
    const std::vector<engine::MappingRow> rows = engine::ReadMapping(tblZStrukt);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].isKeyRow()) {
            tblZStrukt.setRecNo(static_cast<int>(i) + 1);
            ui->lblIndexfeld->setText(u'"' + rows[i].Feldname + u'"');
            ui->lblIndexfeld->show();
            return;
        }
    }
}

void TfrmImport1::btnZurueck5Click()
{
    if (ui->rbtVorhEinst_oAE->isChecked()) {
        ui->PageControl1->setFocus();
        ui->PageControl1->setCurrentWidget(ui->ImportSeite1);
        return;
    }
    if (tblZStrukt.Active())
        tblZStrukt.First();
    ui->PageControl1->setCurrentWidget(ui->ImportSeite4);
}

void TfrmImport1::btnWeiter5Click()
{
    if (!ImportmodusPruefen())
        return;
    if (StartwertPruefen(ui->edtStartwert->text()))
        ui->PageControl1->setCurrentWidget(ui->ImportSeite6);
    else
        ui->edtStartwert->setFocus();
}

bool TfrmImport1::ImportmodusPruefen()
{
    const Ui::TfrmImport1& f = *ui;
    if (f.rbtKeinImport->isChecked())
        return true;
    if (!f.rbtEndeAnhaengen->isChecked() && !f.rbtAktualisieren->isChecked()) {
        platform::Beep();
        platform::MessageBox(platform::MessageType::Information, texts::Text(64934));
        return false;
    }
    if (f.rbtEndeAnhaengen->isChecked() && f.rbtUmbenennen->isEnabled() && f.rbtIgnorieren->isEnabled() &&
        !f.rbtUmbenennen->isChecked() && !f.rbtIgnorieren->isChecked()) {
        platform::MessageBox(platform::MessageType::Information, texts::Text(64935));
        return false;
    }
    return true;
}

bool TfrmImport1::StartwertPruefen(const QString& Startwert)
{
    if (ui->rbtKeinImport->isChecked() || !ui->rbtSelfInc->isChecked() || ui->cbxZielLeeren->isChecked())
        return true;
    if (Startwert.isEmpty()) {
        platform::MessageBox(platform::MessageType::Information, texts::Text(64936));
        return false;
    }
    tblZStrukt.Open();
    const std::vector<engine::MappingRow> rows = engine::ReadMapping(tblZStrukt);
    const auto key = std::find_if(rows.begin(), rows.end(), [](const engine::MappingRow& r) { return r.isKeyRow(); });
    if (key == rows.end())
        return true;
    tblQuelle.Open();
    tblQuelle.First();
    tblZiel.Open();
    return StartwertFuerSchluesselPruefen(*key, Startwert, tblQuelle.RecordCount(), [this](const QVariant& value) {
        return engine::TabelleFindKey(dscZiel, value);
    });
}

std::optional<int> TfrmImport1::GewaehlterImportmodus() const
{
    const Ui::TfrmImport1& f = *ui;
    std::optional<int> mode;
    if (f.rbtEndeAnhaengen->isChecked() && !f.rbtIgnorieren->isChecked() && !f.rbtUmbenennen->isChecked() &&
        !f.rbtSelfInc->isChecked())
        mode = 1;
    if (f.rbtIgnorieren->isChecked())
        mode = 2;
    if (f.rbtUmbenennen->isChecked())
        mode = 3;
    if (f.rbtSelfInc->isChecked())
        mode = 4;
    if (f.rbtAktualisieren->isChecked())
        mode = 5;
    return mode;
}

// ---- finish page ----

bool TfrmImport1::ImpEinstSpeichern()
{
    Ui::TfrmImport1& f = *ui;
    const QString name = f.edtImpSpeich->text();
    if (!f.edtImpSpeich->isEnabled() || name.isEmpty()) {
        switch (platform::MessageBox(platform::MessageType::Confirmation, texts::Text(64959),
                                     platform::Buttons::YesNoCancel)) {
        case platform::Button::Yes:
            if (f.edtImpSpeich->isEnabled())
                f.edtImpSpeich->setFocus();
            return false;
        case platform::Button::No:
            return true;
        default:
            return false;
        }
    }
    // A longer name would be cut by the table and could then name another setting, which would be overwritten.
    tblImpList.Open();
    const int maxLength = tblImpList.FieldByName(QStringLiteral("Bezeichnung"))->Size();
    if (name.size() > maxLength) {
        platform::ErrorBox(texts::Format(texts::Text(61451), {QString::number(maxLength)}));
        f.edtImpSpeich->setFocus();
        return false;
    }

    AktEinstellung = name;
    const bool overwrite = tblImpList.FindKey(AktEinstellung);
    engine::ImportSetting setting;
    std::optional<engine::ImportSetting> former;
    if (overwrite) {
        setting = engine::ReadImpListRow(tblImpList);
        former = setting;
    }
    const QString source = f.edtQuelle->text();
    setting.Bezeichnung = AktEinstellung;
    setting.Bemerkung = f.edtBemerkung->toPlainText();
    if (const QString format = QuellformatOf(source); !format.isEmpty())
        setting.Quellformat = format;
    setting.Quelldatei = source;
    setting.Zieldatei = f.edtZiel->text();
    setting.ZielLeeren = f.cbxZielLeeren->isChecked();
    setting.Sicherungskopie = f.cbxSicherungskopie->isChecked();
    setting.MarkFeld = AdoQuellTabelle;
    if (IsTextSource(source)) {
        setting.ColNames.clear();
        for (int c = 0; c < f.stgQuellDatVar->columnCount(); ++c) {
            const QTableWidgetItem* header = f.stgQuellDatVar->horizontalHeaderItem(c);
            setting.ColNames += (header ? header->text() : QString()) + u';';
        }
        setting.NamesInFirstLine = f.cbxErsteZeile->isChecked();
        const bool fixed = f.rgrDatsatzlaenge1->isChecked();
        setting.FixVar = fixed ? 1 : 0;
        setting.Semic = !fixed && f.cbxSemic->isChecked();
        setting.Komma = !fixed && f.cbxKomma->isChecked();
        setting.Tab = !fixed && f.cbxTab->isChecked();
        setting.Space = !fixed && f.cbxSpace->isChecked();
        setting.Andere.clear();
        if (!fixed && f.cbxAndere->isChecked())
            setting.Andere = f.edtAndere->text();
        if (!fixed)
            setting.Delimiter = f.comDelimiter->currentIndex();
        else {
            // The split before the reading left the free slots as zeros in front: stored, they are free slots
            // after the boundaries.
            engine::ColumnBoundaryList boundaries = FixTrenn;
            engine::PrepareMarking(boundaries);
            setting.FixBreak = FixBreakText(boundaries.FixTrennPositionen);
        }
    }
    setting.LetzterImport = QDate::currentDate();
    if (const std::optional<int> mode = GewaehlterImportmodus())
        setting.Importmodus = mode;
    setting.Eigene = true;
    setting.DosToWin = frmQOptionen_ && frmQOptionen_->ui->cbxDosToWin->isChecked();
    const rtl::FormatSettings& formats = rtl::formatSettings();
    setting.Decimal = formats.DecimalSeparator;
    setting.Tausend = formats.ThousandSeparator;
    setting.Zeit = formats.TimeSeparator;
    setting.Datum = formats.DateSeparator;
    setting.TMJ = formats.ShortDateFormat;

    if (overwrite)
        tblImpList.Edit();
    else
        tblImpList.Append();
    engine::WriteImpListRow(tblImpList, setting);
    tblImpList.Post();
    tblImpList.FlushBuffers();

    const QString folder = context_.programFolder;
    const QString mask = QFileInfo(tblZStrukt.TableName()).completeBaseName() + QStringLiteral(".*");
    const QString tableName = tblImpList.FieldByName(QStringLiteral("TableName"))->AsString();
    tblZStrukt.Close();
    const int copied = engine::CopyFiles(folder + mask, folder, tableName);
    if (copied > 0) {
        platform::MessageBox(platform::MessageType::Information, texts::Format(texts::Text(64928), {name}));
    } else {
        platform::ErrorBox(texts::Format(texts::Text(64929), {name}) + kCrLf + texts::Text(65272) +
                           QStringLiteral(": ") + folder + mask + kCrLf + texts::Text(65275) + QStringLiteral(": ") +
                           folder + tableName);
        // Nothing was copied, so an overwritten setting's files are still its own: its row goes back as it was
        // instead of going altogether.
        if (tblImpList.FindKey(AktEinstellung)) {
            if (former) {
                tblImpList.Edit();
                engine::WriteImpListRow(tblImpList, *former);
                tblImpList.Post();
            } else {
                tblImpList.Delete();
            }
            tblImpList.FlushBuffers();
        }
    }
    tblZStrukt.Open();
    return true;
}

void TfrmImport1::btnFertigstellenClick()
{
    if (!ImpEinstSpeichern())
        return;
    Ui::TfrmImport1& f = *ui;
    f.ImportSeite6->setEnabled(false);

    if (f.rbtVorhEinst_oAE->isChecked() || f.rbtVorhEinst_mAE->isChecked()) {
        tblImpList.Open();
        if (tblImpList.FindKey(AktEinstellung)) {
            tblImpList.Edit();
            tblImpList.FieldByName(QStringLiteral("LetzterImport"))->setAsVariant(QDate::currentDate());
            tblImpList.Post();
        }
        tblImpList.Close();
    }
    if (f.rbtKeinImport->isChecked()) {
        close();
        return;
    }
    if (f.cbxZielLeeren->isChecked())
        engine::EmptyTableExclusive(tblZiel);

    tblQuelle.Open();
    if (frmGauge)
        frmGauge->lblSummeQuelle->setText(engine::IntToStrThousands(tblQuelle.RecordCount()));
    tblQuelle.Close();

    tblZStrukt.Open();
    engine::ImportRun run{tblQuelle, dscZiel, Parser1, {}, f.edtStartwert->text(), frmGauge, {}, {}};
    run.setting.Mapping = engine::ReadMapping(tblZStrukt);
    run.setting.ZielLeeren = f.cbxZielLeeren->isChecked();
    run.setting.Quelldatei = f.edtQuelle->text();
    run.ZuordnungsseiteZeigen = [this] {
        ui->edtImpSpeich->clear();
        for (QAbstractButton* b : ui->ImportSeite5->findChildren<QRadioButton*>())
            SetChecked(b, false);
        ui->ImportSeite6->setEnabled(true);
        ui->PageControl1->setCurrentWidget(ui->ImportSeite4);
    };

    std::optional<SourceLetGo> sourceLetGo(std::in_place, dscQuelle);
    try {
        if (f.rbtEndeAnhaengen->isChecked() && !f.rbtIgnorieren->isChecked() && !f.rbtUmbenennen->isChecked() &&
            !f.rbtSelfInc->isChecked())
            engine::ImportlaufEndeAnhaengen(run);
        if (f.rbtIgnorieren->isChecked())
            engine::ImportlaufIgnorieren(run);
        if (f.rbtUmbenennen->isChecked()) {
            // A first pass the person cancelled is no failure of the start value: the second pass just does
            // not run.
            const bool renamed = engine::ImportlaufUmbenennen(run);
            const bool cancelled = frmGauge && frmGauge->cancelled();
            if (!renamed && !cancelled) {
                platform::Beep();
                if (frmGauge)
                    frmGauge->Close();
                sourceLetGo.reset();
                platform::ErrorBox(texts::Text(64930));
                f.ImportSeite6->setEnabled(true);
                f.PageControl1->setCurrentWidget(f.ImportSeite5);
                f.edtStartwert->setFocus();
                return;
            }
            if (renamed)
                engine::ImportlaufIgnorieren(run);
        }
        if (f.rbtSelfInc->isChecked())
            engine::ImportlaufSelfInc(run);
        if (f.rbtAktualisieren->isChecked())
            engine::ImportlaufAktualisieren(run);
    } catch (const std::exception& error) {
        // The run made durable what it could; the person learns why it stopped and what the target holds now,
        // as far as the target can tell.
        if (frmGauge)
            frmGauge->runAbandoned();
        const QString reason = dynamic_cast<const db::EngineError*>(&error)
                                   ? static_cast<const db::EngineError&>(error).message()
                                   : QString::fromLocal8Bit(error.what());
        QString text = texts::Format(texts::Text(61452), {engine::IntToStrThousands(run.counts.Summe)});
        try {
            tblZiel.Close();
            tblZiel.Open();
            text += kCrLf + texts::Format(texts::Text(61453), {engine::IntToStrThousands(tblZiel.RecordCount())});
        } catch (const std::exception&) {
            // The target cannot be read back now either: the reason below says why.
        }
        sourceLetGo.reset();
        platform::ErrorBox(text + kCrLf + kCrLf + reason);
        return;
    }
    sourceLetGo.reset();
    if (f.rbtTabAnz->isChecked())
        TabellenAnzeigen();
    if (frmGauge)
        frmGauge->btnGaugeAbbrechen->setText(texts::Text(65269));
}

void TfrmImport1::TabellenAnzeigen()
{
    if (!frmInhaltAnz_)
        return;
    Ui::TfrmInhaltAnz& viewer = *frmInhaltAnz_->ui;
    frmInhaltAnz_->setQuelleDataSource(&dscQuelle);
    tblQuelle.Open();
    frmInhaltAnz_->setActiveSheet(viewer.TabSheet2);
    frmInhaltAnz_->setSheetVisible(viewer.TabSheet1, true);
    frmInhaltAnz_->setSheetVisible(viewer.TabSheet2, true);
    frmInhaltAnz_->setSheetVisible(viewer.TabSheet3, false);
    frmInhaltAnz_->setSheetTitle(
        viewer.TabSheet1, texts::Text(65277) + QStringLiteral(": ") + QFileInfo(tblQuelle.TableName()).fileName());
    frmInhaltAnz_->setSheetTitle(viewer.TabSheet2,
                                 texts::Text(65276) + QStringLiteral(": ") + QFileInfo(tblZiel.TableName()).fileName());
    viewer.stbInhaltQuelle->setSimplePanel(true);
    viewer.stbInhaltQuelle->setSimpleText(DatensaetzeText(tblQuelle.RecordCount()));
    tblZiel.Open();
    frmInhaltAnz_->setZielStatus(DatensaetzeText(tblZiel.RecordCount()), ui->cbxZielLeeren->isChecked(), true);
    frmInhaltAnz_->show();
}

void TfrmImport1::btnZurueck6Click()
{
    Ui::TfrmImport1& f = *ui;
    if (f.rbtNeueImport->isChecked()) {
        f.edtImpSpeich->clear();
        f.PageControl1->setCurrentWidget(f.ImportSeite5);
    }
    if (f.rbtVorhEinst_oAE->isChecked()) {
        tblQuelle.Close();
        tblQuelle.setTableName(QString());
        tblZiel.Close();
        tblZiel.setTableName(QString());
        f.PageControl1->setCurrentWidget(f.ImportSeite1);
        tblImpList.Open();
    }
    if (f.rbtVorhEinst_mAE->isChecked())
        f.PageControl1->setCurrentWidget(f.ImportSeite5);
}

void TfrmImport1::btnBemerkungClick()
{
    Ui::TfrmImport1& f = *ui;
    if (f.edtImpSpeich->text().isEmpty()) {
        platform::MessageBox(platform::MessageType::Information, texts::Text(64914));
        f.edtImpSpeich->setFocus();
        return;
    }
    f.btnBemerkung->hide();
    for (QWidget* w :
         std::initializer_list<QWidget*>{f.lblBemerkung, f.btnBemerkSpeichern, f.btnBemerkVerwerfen, f.edtBemerkung})
        w->show();
    f.edtBemerkung->setFocus();
}

void TfrmImport1::btnBemerkSpeichernClick()
{
    Ui::TfrmImport1& f = *ui;
    platform::MessageBox(platform::MessageType::Information, texts::Text(65225));
    for (QWidget* w :
         std::initializer_list<QWidget*>{f.lblBemerkung, f.edtBemerkung, f.btnBemerkSpeichern, f.btnBemerkVerwerfen})
        w->hide();
    f.btnBemerkung->show();
}

void TfrmImport1::btnBemerkVerwerfenClick()
{
    Ui::TfrmImport1& f = *ui;
    if (platform::MessageBox(platform::MessageType::Confirmation, texts::Text(64915), platform::Buttons::YesNo) ==
        platform::Button::Yes) {
        f.edtBemerkung->clear();
        for (QWidget* w : std::initializer_list<QWidget*>{f.lblBemerkung, f.edtBemerkung, f.btnBemerkSpeichern,
                                                          f.btnBemerkVerwerfen})
            w->hide();
        f.btnBemerkung->show();
    } else {
        f.edtBemerkung->setFocus();
    }
}

// ---- stored settings ----

bool TfrmImport1::DateienPruefen(const engine::ImportSetting& setting, bool unchanged, bool source, bool target)
{
    bool allFound = true;
    struct Check {
        bool wanted;
        const QString& stored;
        QLineEdit* edit;
        db::Table& table;
        int emptyText;
        QAbstractButton* box;
    };
    const Check checks[] = {
        {source, setting.Quelldatei, ui->edtQuelle, tblQuelle, 64963,
         frmEinstellAEND ? frmEinstellAEND->ui->cbxQuelleAusw : nullptr},
        {target, setting.Zieldatei, ui->edtZiel, tblZiel, 64964,
         frmEinstellAEND ? frmEinstellAEND->ui->cbxZielAusw : nullptr},
    };
    for (const Check& c : checks) {
        if (!c.wanted)
            continue;
        auto choose = [&] {
            if (c.box)
                SetChecked(c.box, true);
        };
        if (c.stored.isEmpty()) {
            platform::ErrorBox(texts::Text(c.emptyText) +
                               (unchanged && c.emptyText == 64963 ? QStringLiteral(".") : QString()));
            choose();
            allFound = false;
            continue;
        }
        QString found;
        if (FileExists(c.stored))
            found = c.stored;
        else if (const QString demo = context_.programFolder + QStringLiteral("Demos/") + c.stored; FileExists(demo))
            found = demo;
        else if (const QString demoByName = context_.programFolder + QStringLiteral("Demos/") +
                                            QFileInfo(QDir::fromNativeSeparators(c.stored)).fileName();
                 FileExists(demoByName))
            // A setting stored on another machine names its Demos file under that machine's folder.
            found = demoByName;
        if (found.isEmpty()) {
            platform::ErrorBox(texts::Text(c.emptyText) + kCrLf + texts::Text(64965) + kCrLf + kCrLf +
                               QDir::toNativeSeparators(c.stored));
            choose();
            allFound = false;
            continue;
        }
        c.edit->setText(found);
        c.table.Close();
        c.table.setTableName(found);
        if (c.emptyText == 64963) {
            ui->btnInhaltAnz2->setEnabled(true);
            if (unchanged)
                ui->lblQuelldatei->setText(QDir::toNativeSeparators(found));
        }
    }
    return allFound;
}

void TfrmImport1::FormateSetzen(const engine::ImportSetting& setting)
{
    rtl::FormatSettings& formats = rtl::formatSettings();
    formats.DecimalSeparator = setting.Decimal.at(0);
    formats.ThousandSeparator = setting.Tausend.at(0);
    formats.TimeSeparator = setting.Zeit.at(0);
    formats.DateSeparator = setting.Datum.at(0);
    formats.ShortDateFormat = setting.TMJ;
}

QWidget* TfrmImport1::ImportmodusSetzen(std::optional<int> mode, bool unchanged)
{
    Ui::TfrmImport1& f = *ui;
    if (!mode)
        return nullptr;
    auto enable = [](std::initializer_list<QAbstractButton*> buttons, bool on) {
        for (QAbstractButton* b : buttons)
            b->setEnabled(on);
    };
    QAbstractButton* group[] = {f.rbtIgnorieren, f.rbtUmbenennen, f.rbtSelfInc};
    switch (*mode) {
    case 1:
        for (QAbstractButton* b : group)
            SetChecked(b, false);
        enable({f.rbtIgnorieren, f.rbtUmbenennen, f.rbtSelfInc}, false);
        SetChecked(f.rbtEndeAnhaengen, true);
        return f.ImportSeite6;
    case 2:
        SetChecked(f.rbtEndeAnhaengen, true);
        SetChecked(f.rbtIgnorieren, true);
        return f.ImportSeite6;
    case 3:
    case 4:
        f.rbtAktualisieren->setEnabled(true);
        enable({f.rbtIgnorieren, f.rbtUmbenennen, f.rbtSelfInc}, true);
        SetChecked(f.rbtEndeAnhaengen, true);
        SetChecked(*mode == 3 ? f.rbtUmbenennen : f.rbtSelfInc, true);
        if (unchanged) {
            enable({*mode == 3 ? f.rbtSelfInc : f.rbtUmbenennen, f.rbtIgnorieren, f.rbtAktualisieren}, false);
            f.gbxImportmodus->show();
        }
        return f.ImportSeite5;
    case 5:
        f.rbtAktualisieren->setEnabled(true);
        SetChecked(f.rbtAktualisieren, true);
        return f.ImportSeite6;
    default:
        return nullptr;
    }
}

bool TfrmImport1::EinstellungLaden()
{
    try {
        return engine::ImportEinstellungLaden(context_.engine, tblImpList, tblZStrukt, AktEinstellung);
    } catch (const db::EngineError& error) {
        // The setting's files are no readable table. The mapping table they were copied over is made afresh,
        // so that the next import finds it as the program left it.
        ReportDamagedSetting(AktEinstellung, error.message());
        tblZStrukt.Close();
        const QString path = tblZStrukt.TableName();
        engine::DeleteFiles(QFileInfo(path).absolutePath() + u'/' + QFileInfo(path).completeBaseName() +
                            QStringLiteral(".*"));
        db::paradox::create(path, engine::ZStruktFields(), 0);
        return false;
    }
}

bool TfrmImport1::AccessQuelleExportieren(const QString& table)
{
    // The Access table is exported again, so that the run reads the database as it is today.
    Ui::TfrmImport1& f = *ui;
    AdoQuellTabelle = table;
    QWidget* page = f.PageControl1->currentWidget();
    try {
        ImportSeiteAdoEnter();
    } catch (const db::EngineError& error) {
        platform::ErrorBox(texts::Text(64950) + kCrLf + kCrLf + error.message());
        return false;
    }
    const auto found = f.lbxTables->findItems(AdoQuellTabelle, Qt::MatchFixedString);
    if (found.isEmpty()) {
        platform::ShowMessage(texts::Format(texts::Text(64924), {AdoQuellTabelle}));
        return false;
    }
    f.lbxTables->setCurrentItem(found.first());
    btnWeiterAdoClick();
    f.PageControl1->setCurrentWidget(page);
    return tblQuelle.Active();
}

bool TfrmImport1::VorhEinstLaden_oAE()
{
    Ui::TfrmImport1& f = *ui;
    tblImpList.Open();
    tblImpList.FindKey(AktEinstellung);
    if (!EinstellungLaden())
        return false;
    const engine::ImportSetting setting = engine::ReadImpListRow(tblImpList);
    if (const QString fault = StoredRowFault(setting); !fault.isEmpty()) {
        ReportDamagedSetting(setting.Bezeichnung, fault);
        return false;
    }
    // Used unchanged, a setting whose files are missing could only fail at the run: the person changes it
    // instead, where the pages ask for the files.
    if (!DateienPruefen(setting, true, true, true))
        return false;
    if (setting.Sicherungskopie && FileExists(f.edtZiel->text()))
        engine::SicherungskopieErstellen({tblZiel, sdSicherungskopie});
    FormateSetzen(setting);

    const QString source = f.edtQuelle->text();
    if (IsTextSource(source)) {
        tblQuelle.Close();
        tblQuelle.setTableName(QString());
        if (frmQOptionen_)
            SetChecked(frmQOptionen_->ui->cbxDosToWin, setting.DosToWin);
        TextlayoutLaden(setting);
        // Without the file read into the source table there is nothing to run from: the start page stays, as
        // after a load that failed.
        if (!TextquelleLaden())
            return false;
    } else if (QuellformatOf(source) == u"Access" && FileExists(source)) {
        if (!AccessQuelleExportieren(setting.MarkFeld))
            return false;
        f.lblQuelldatei->setText(QDir::toNativeSeparators(tblQuelle.TableName()));
    }
    if (FileExists(f.edtZiel->text())) {
        try {
            engine::ZieldateiExklusivPruefen(tblZiel);
        } catch (const db::EngineError& error) {
            tblZiel.Close();
            platform::ErrorBox(texts::Text(65223) + kCrLf + kCrLf + error.message());
            return false;
        }
    }

    SetChecked(f.cbxZielLeeren, setting.ZielLeeren);
    if (QWidget* page = ImportmodusSetzen(setting.Importmodus, true)) {
        if (page == f.ImportSeite5) {
            IndexfeldAnzeigen();
            SetEnabled({f.lblStartwert, f.edtStartwert}, true);
        }
        f.PageControl1->setCurrentWidget(page);
        if (page == f.ImportSeite5)
            f.edtStartwert->setFocus();
    }
    f.edtImpSpeich->setText(setting.Bezeichnung);
    SetEnabled({f.lblImporteinst, f.lblImpSpeich, f.edtImpSpeich, f.btnBemerkung}, false);
    return true;
}

void TfrmImport1::VorhEinstLaden_mAE()
{
    Ui::TfrmImport1& f = *ui;
    SetEnabled({ui->btnAufheben, ui->btnAlleAufheben, f.lblImporteinst,
                f.lblImpSpeich, f.edtImpSpeich, f.btnBemerkung},
               true);
    tblImpList.Open();
    tblImpList.FindKey(AktEinstellung);
    if (!EinstellungLaden())
        return;
    tblImpList.Open();
    tblImpList.FindKey(AktEinstellung);
    const engine::ImportSetting setting = engine::ReadImpListRow(tblImpList);
    if (const QString fault = StoredRowFault(setting); !fault.isEmpty()) {
        ReportDamagedSetting(setting.Bezeichnung, fault);
        return;
    }
    ImportmodusSetzen(setting.Importmodus, false);
    if (frmQOptionen_)
        SetChecked(frmQOptionen_->ui->cbxDosToWin, setting.DosToWin);
    FormateSetzen(setting);
    AdoQuellTabelle = setting.MarkFeld;
    DateienPruefen(setting, false, true, false);
    const QString source = f.edtQuelle->text();
    if (IsTextSource(source) && FileExists(source)) {
        tblQuelle.Close();
        tblQuelle.setTableName(QString());
        TextlayoutLaden(setting);
    }
    // The target page reads the source's structure: an Access source must be its exported table by then.
    bool accessReady = true;
    if (QuellformatOf(source) == u"Access" && FileExists(source))
        accessReady = AccessQuelleExportieren(setting.MarkFeld);
    DateienPruefen(setting, false, false, true);
    f.btnSicherungskopie->hide();
    f.cbxSicherungskopie->show();
    SetChecked(f.cbxSicherungskopie, setting.Sicherungskopie);
    SetChecked(f.cbxZielLeeren, setting.ZielLeeren);
    f.edtImpSpeich->setText(setting.Bezeichnung);
    // The finish page stores the remark it holds: the stored one stays unless the person changes it.
    f.edtBemerkung->setPlainText(setting.Bemerkung);

    if (QuelleNeuWaehlen() || !accessReady)
        f.PageControl1->setCurrentWidget(f.ImportSeite2);
    else if (ZielNeuWaehlen())
        f.btnWeiter2->click();
    else
        f.btnWeiter3->click();
}

void TfrmImport1::MeldungStrukturGeaendert()
{
    platform::MessageBox(platform::MessageType::Warning, texts::Text(64945));
}

bool TfrmImport1::ZielStrukturPruefen()
{
    return ZielStrukturPruefen(false);
}

bool TfrmImport1::ZielStrukturPruefenText()
{
    return ZielStrukturPruefen(true);
}

bool TfrmImport1::ZielStrukturPruefen(bool textSource)
{
    tblZStrukt.Open();
    try {
        tblZiel.Open();
    } catch (const db::EngineError& error) {
        platform::ErrorBox(texts::Text(65223) + kCrLf + kCrLf + error.message());
        return false;
    }
    const QString extension = QFileInfo(ui->edtQuelle->text()).suffix().toUpper();
    const bool checkSource = textSource || extension == u"DBF" || extension == u"DB";
    if (checkSource && !tblQuelle.TableName().isEmpty())
        tblQuelle.Open();
    const bool sourceOpen = checkSource && tblQuelle.Active();

    std::vector<engine::MappingRow> rows = engine::ReadMapping(tblZStrukt);
    bool stale = false;
    for (engine::MappingRow& row : rows) {
        if (!tblZiel.FindField(row.Feldname)) {
            MeldungStrukturGeaendert();
            return false;
        }
        if (sourceOpen && row.isMapped() && !tblQuelle.FindField(row.Zuordnung)) {
            row.Zuordnung.clear();
            stale = true;
        }
    }
    if (stale)
        engine::WriteMapping(tblZStrukt, rows);
    for (int i = tblZiel.FieldCount() - 1; i >= 0; --i) {
        const db::Field* field = tblZiel.Fields(i);
        const QString name = field->FieldName().toUpper();
        bool seen = false;
        for (const engine::MappingRow& row : rows) {
            if (row.Feldname.toUpper() != name)
                continue;
            seen = true;
            if (row.isKeyRow() != field->IsIndexField() || row.Typ != static_cast<int>(field->DataType())) {
                MeldungStrukturGeaendert();
                return false;
            }
        }
        if (!seen) {
            MeldungStrukturGeaendert();
            return false;
        }
    }
    return true;
}

}  // namespace wizard
