#include "wizard/frmEinstellAEND.h"

#include "ui_frmEinstellAEND.h"
#include "ui_frmImport1.h"

#include "db/EngineError.h"
#include "db/Field.h"
#include "db/FileNames.h"
#include "engine/ImportSetting.h"
#include "engine/WorkingTables.h"
#include "platform/ClickHandlers.h"
#include "platform/WindowTexts.h"
#include "rtl/Conversions.h"
#include "texts/Texts.h"
#include "wizard/frmCopyFehler.h"
#include "wizard/frmGauge.h"
#include "wizard/frmImport1.h"
#include "wizard/frmQOptionen.h"
#include "wizard/settings/StoredSettings.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProgressBar>
#include <QScreen>

namespace wizard {

namespace {

constexpr int kHelpContext = 8;
constexpr int kNameLength = 80;  // Bezeichnung is A80
constexpr int kNameColumnWidth = 305;
const QString CrLf = QStringLiteral("\r\n");

QString withoutAccessKey(QString text)
{
    return text.remove(u'&');
}

bool existsIgnoringCase(const QString& path)
{
    return QFileInfo(db::findFileIgnoringCase(path)).isFile();
}

QString nameOf(db::Table& table)
{
    return table.FieldByName(QStringLiteral("Bezeichnung"))->AsString();
}

// A row of a VorDef.DB as read before any of it is written: its values, or what could be read of its name when
// the row cannot be read as a setting.
struct VorDefEntry {
    int recNo = 0;
    QString name;
    std::optional<engine::ImportSetting> setting;
};

}  // namespace

TfrmEinstellAEND::TfrmEinstellAEND(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfrmEinstellAEND>())
{
    setObjectName(QStringLiteral("frmEinstellAEND"));
    ui->setupUi(this);
    setObjectName(QStringLiteral("frmEinstellAEND"));
    // A single border without system buttons: the manager is left through its buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
    setProperty(platform::kUntranslatedCaption, true);
    platform::TranslateWindow(this);
    const QString caption = TfrmImport1::ProgrammTitel + QStringLiteral(" - ") + texts::Text(65259);
    if (windowTitle() != caption)
        setWindowTitle(caption);
    // Edits and the grid are named by the labels that name them.
    for (QLabel* label : findChildren<QLabel*>()) {
        if (label->buddy())
            label->buddy()->setAccessibleName(withoutAccessKey(label->text()));
    }
    ui->dbgEinstellungen->setAccessibleName(texts::Text(65259));
    // The list is chosen from, not written in: names change through Umbenennen only.
    ui->dbgEinstellungen->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui->dbgEinstellungen->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui->dbgEinstellungen->setSelectionMode(QAbstractItemView::SingleSelection);

    OpenDialog1.title = texts::Text(65210);
    OpenDialog1.options = platform::PathMustExist | platform::FileMustExist;

    connect(ui->btnHilfe, &QAbstractButton::clicked, this, &TfrmEinstellAEND::btnHilfeClick);
    connect(ui->btnOptionen, &QAbstractButton::clicked, this, &TfrmEinstellAEND::btnOptionenClick);
    connect(ui->btnAbbrechen, &QAbstractButton::clicked, this, &TfrmEinstellAEND::btnAbbrechenClick);
    connect(ui->btnImportStarten, &QAbstractButton::clicked, this, &TfrmEinstellAEND::btnImportStartenClick);
    connect(ui->btnLoeschen, &QAbstractButton::clicked, this, &TfrmEinstellAEND::btnLoeschenClick);
    connect(ui->btnKopierenNach, &QAbstractButton::clicked, this, &TfrmEinstellAEND::btnKopierenNachClick);
    connect(ui->btnUmbenennen, &QAbstractButton::clicked, this, &TfrmEinstellAEND::btnUmbenennenClick);
    connect(ui->btnVonDiskEinlesen, &QAbstractButton::clicked, this, &TfrmEinstellAEND::btnVonDiskEinlesenClick);
    for (QAbstractButton* item : std::initializer_list<QAbstractButton*>{
             ui->gbxAnzeigeImpEinst0, ui->gbxAnzeigeImpEinst1, ui->gbxAnzeigeImpEinst2})
        platform::ConnectClick(item, this, &TfrmEinstellAEND::gbxAnzeigeImpEinstClick);

    // Key preview: F1 anywhere; Backspace and Delete in the grid.
    for (QWidget* control : findChildren<QWidget*>())
        control->installEventFilter(this);
}

TfrmEinstellAEND::~TfrmEinstellAEND() = default;

void TfrmEinstellAEND::setWizard(TfrmImport1* wizard, TfrmGauge* gauge, TfrmCopyFehler* copyFehler,
                                 TfrmQOptionen* options)
{
    wizard_ = wizard;
    gauge_ = gauge;
    copyFehler_ = copyFehler;
    options_ = options;
    if (!wizard_)
        return;
    db::DataSource* source = &wizard_->dscImpList;
    ui->dbgEinstellungen->setDataSource(source);
    const std::pair<platform::FieldDataLink*, const char*> bound[] = {
        {&ui->dbedtBez->DataLink(), "Bezeichnung"},   {&ui->dbedtLetzImp->DataLink(), "LetzterImport"},
        {&ui->DBMemo1->DataLink(), "Bemerkung"},      {&ui->dbedtQuelle->DataLink(), "Quelldatei"},
        {&ui->dbedtZiel->DataLink(), "Zieldatei"},    {&ui->cbxSicherungskopie->DataLink(), "Sicherungskopie"},
        {&ui->cbxZielLeer->DataLink(), "ZielLeeren"}, {&ui->dbtIntTab->DataLink(), "TableName"},
    };
    for (const auto& [link, field] : bound) {
        link->setDataSource(source);
        link->setDataField(QLatin1String(field));
    }
    // The mode shown follows the row the person moves to.
    connect(&wizard_->tblImpList, &db::Table::afterScroll, this, [this] {
        if (isVisible())
            ImportmodusAnzeigen();
    });
}

db::Table* TfrmEinstellAEND::list() const
{
    return wizard_ ? &wizard_->tblImpList : nullptr;
}

QString TfrmEinstellAEND::programFolder() const
{
    return wizard_ ? wizard_->context().programFolder : QString();
}

void TfrmEinstellAEND::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        if (QScreen* screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
        FormShow();
    }
    QDialog::showEvent(event);
}

void TfrmEinstellAEND::FormShow()
{
    db::Table* t = list();
    if (!t)
        return;
    if (!t->Active())
        t->Open();
    t->FieldByName(QStringLiteral("Bezeichnung"))->setDisplayWidth(50);
    // The grid lists the name and the source format; every other column of the list stays out of grids.
    bool changed = false;
    for (int i = 0; i < t->FieldCount(); ++i) {
        db::Field* field = t->Fields(i);
        const bool shown = field->FieldName().compare(QStringLiteral("Bezeichnung"), Qt::CaseInsensitive) == 0 ||
                           field->FieldName().compare(QStringLiteral("Quellformat"), Qt::CaseInsensitive) == 0;
        changed = changed || field->Visible() != shown;
        field->setVisible(shown);
    }
    if (changed) {
        ui->dbgEinstellungen->setDataSource(nullptr);
        ui->dbgEinstellungen->setDataSource(&wizard_->dscImpList);
    }
    // The name column has its own width here, so that the source format stays in sight beside it.
    ui->dbgEinstellungen->setColumnWidth(0, kNameColumnWidth);
    // The buttons fit the view and the list as they are now, which may have changed while the manager was closed.
    gbxAnzeigeImpEinstClick();
}

void TfrmEinstellAEND::done(int result)
{
    // Every way of closing ends here.
    if (isVisible())
        FormClose();
    QDialog::done(result);
}

void TfrmEinstellAEND::FormClose()
{
    EinstellAENDKnoepfeFreigeben();
    db::Table* t = list();
    if (!t || !t->Active())
        return;
    // The remark and the two option boxes went into the row; it is stored now, not at the next move.
    try {
        t->CheckBrowseMode();
    } catch (const db::EngineError& error) {
        platform::ErrorBox(error.message());
        if (t->State() != db::dsBrowse)
            t->Cancel();
    }
    t->FieldByName(QStringLiteral("Bezeichnung"))->setDisplayWidth(30);
    t->setFiltered(false);
    if (AnzeigeIndex() != 2)
        setAnzeigeIndex(2);
    else
        gbxAnzeigeImpEinstClick();
    if (wizard_)
        wizard_->show();
}

void TfrmEinstellAEND::keyPressEvent(QKeyEvent* event)
{
    FormKeyDown(event->key());
    if (event->key() != Qt::Key_F1)
        QDialog::keyPressEvent(event);
}

bool TfrmEinstellAEND::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_F1) {
            FormKeyDown(key);
            return true;
        }
        if (watched == ui->dbgEinstellungen && (key == Qt::Key_Backspace || key == Qt::Key_Delete)) {
            dbgEinstellungenKeyDown(key);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmEinstellAEND::FormKeyDown(int key)
{
    if (key == Qt::Key_F1)
        ui->btnHilfe->click();
}

void TfrmEinstellAEND::dbgEinstellungenKeyDown(int key)
{
    if ((key == Qt::Key_Backspace || key == Qt::Key_Delete) && ui->btnLoeschen->isEnabled())
        ui->btnLoeschen->click();
}

void TfrmEinstellAEND::btnHilfeClick()
{
    platform::ShowHelp(kHelpContext);
}

void TfrmEinstellAEND::btnOptionenClick()
{
    if (options_ && !options_->isVisible())
        options_->show();
}

void TfrmEinstellAEND::btnAbbrechenClick()
{
    close();
    if (wizard_)
        wizard_->ui->PageControl1->setCurrentWidget(wizard_->ui->ImportSeite1);
}

// ---- views ----

int TfrmEinstellAEND::AnzeigeIndex() const
{
    if (ui->gbxAnzeigeImpEinst0->isChecked())
        return 0;
    if (ui->gbxAnzeigeImpEinst1->isChecked())
        return 1;
    return ui->gbxAnzeigeImpEinst2->isChecked() ? 2 : -1;
}

void TfrmEinstellAEND::setAnzeigeIndex(int index)
{
    QAbstractButton* items[] = {ui->gbxAnzeigeImpEinst0, ui->gbxAnzeigeImpEinst1, ui->gbxAnzeigeImpEinst2};
    if (index >= 0 && index < 3)
        platform::SetChecked(items[index], true);
}

void TfrmEinstellAEND::gbxAnzeigeImpEinstClick()
{
    switch (AnzeigeIndex()) {
    case 0:
        EigeneEinstellungenFiltern();
        break;
    case 1:
        VordefinierteEinstellungenFiltern();
        break;
    case 2:
        AlleEinstellungenAnzeigen();
        break;
    default:
        break;
    }
    ImportmodusAnzeigen();
}

void TfrmEinstellAEND::EigeneEinstellungenFiltern()
{
    filterView(QStringLiteral("[Eigene]='True'"));
}

void TfrmEinstellAEND::VordefinierteEinstellungenFiltern()
{
    filterView(QStringLiteral("[Eigene]<>'True'"));
}

void TfrmEinstellAEND::filterView(const QString& filter)
{
    db::Table* t = list();
    if (!t || !t->Active())
        return;
    t->setFilter(filter);
    t->setFiltered(true);
    const bool rows = t->RecordCount() > 0;
    for (QWidget* button : std::initializer_list<QWidget*>{ui->btnLoeschen, ui->btnKopierenNach, ui->btnImportStarten,
                                                           ui->btnUmbenennen, ui->btnOptionen})
        button->setEnabled(rows);
    if (rows) {
        ui->btnImportStarten->setText(texts::Text(65212));
        return;
    }
    t->setFiltered(false);
    if (t->RecordCount() == 0) {
        ui->btnImportStarten->setText(texts::Text(65269));
        ui->btnImportStarten->setEnabled(true);
    }
    t->setFiltered(true);
}

void TfrmEinstellAEND::AlleEinstellungenAnzeigen()
{
    db::Table* t = list();
    if (!t || !t->Active())
        return;
    t->setFiltered(false);
    const bool rows = t->RecordCount() > 0;
    for (QWidget* button :
         std::initializer_list<QWidget*>{ui->btnKopierenNach, ui->btnLoeschen, ui->btnUmbenennen, ui->btnOptionen})
        button->setEnabled(rows);
    ui->btnImportStarten->setEnabled(true);
    ui->btnImportStarten->setText(texts::Text(rows ? 65212 : 65269));
}

void TfrmEinstellAEND::EinstellAENDKnoepfeFreigeben()
{
    for (QWidget* button : std::initializer_list<QWidget*>{ui->btnVonDiskEinlesen, ui->btnKopierenNach, ui->btnLoeschen,
                                                           ui->btnUmbenennen})
        button->setEnabled(true);
}

void TfrmEinstellAEND::ImportmodusAnzeigen()
{
    db::Table* t = list();
    if (!t || !t->Active() || t->RecordCount() == 0) {
        ui->lblImportmodus->clear();
        return;
    }
    const db::Field* mode = t->FieldByName(QStringLiteral("Importmodus"));
    ui->lblImportmodus->setText(
        ImportmodusText(mode->IsNull() ? std::nullopt : std::optional<int>(mode->AsInteger())).value_or(QString()));
    const db::Field* eigene = t->FieldByName(QStringLiteral("Eigene"));
    const QString column =
        !eigene->IsNull() && eigene->AsBoolean() ? QStringLiteral("TableName") : QStringLiteral("VorDefTableName");
    if (ui->dbtIntTab->DataLink().DataField() != column)
        ui->dbtIntTab->setDataField(column);
}

// ---- start ----

void TfrmEinstellAEND::btnImportStartenClick()
{
    db::Table* t = list();
    if (!t || !t->Active()) {
        close();
        return;
    }
    const QString name = t->RecordCount() > 0 ? nameOf(*t) : QString();
    wizard_->AktEinstellung = name;
    close();
    Ui::TfrmImport1& w = *wizard_->ui;
    if (t->RecordCount() == 0) {
        w.PageControl1->setCurrentWidget(w.ImportSeite1);
        platform::SetChecked(w.rbtNeueImport, true);
        w.rbtVorhEinst_oAE->hide();
        w.rbtVorhEinst_mAE->hide();
        w.rbtImpEinlesen->show();
        return;
    }
    t->FindKey(name);
    w.edtAktEinstellung->setText(name);
    w.comVorh_Einstellg->setKeyValue(name);
    // The start page's Next loads the setting as the chosen start-page choice says.
    wizard_->btnWeiter1Click();
}

// ---- delete ----

void TfrmEinstellAEND::btnLoeschenClick()
{
    db::Table* t = list();
    if (!t || !t->Active() || t->RecordCount() == 0)
        return;
    const QString question = texts::Format(texts::Text(65006), {nameOf(*t)});
    if (platform::MessageBox(platform::MessageType::Confirmation, question, platform::Buttons::YesNo) ==
        platform::Button::Yes)
        ImportEinstellungLoeschen();
}

void TfrmEinstellAEND::ImportEinstellungLoeschen()
{
    db::Table* t = list();
    if (!t || !t->Active() || t->RecordCount() == 0)
        return;
    t->CheckBrowseMode();
    const QString name = nameOf(*t);
    const QString base = SettingBaseName(*t);
    // Files another row names as its own stay: deleting this setting must not take another's mapping with it.
    bool shared = false;
    for (const ListedSetting& other : AllSettings(*t)) {
        if (other.Bezeichnung != name && other.base.compare(base, Qt::CaseInsensitive) == 0)
            shared = true;
    }
    if (UsableBaseName(base) && !shared)
        DeleteSettingFiles(programFolder(), base);
    t->Delete();
    if (wizard_ && wizard_->AktEinstellung == name) {
        wizard_->AktEinstellung.clear();
        wizard_->ui->edtAktEinstellung->clear();
    }

    const bool viewFiltered = AnzeigeIndex() == 0 || AnzeigeIndex() == 1;
    t->setFiltered(false);
    if (t->RecordCount() == 0) {
        ui->lblImportmodus->clear();
        ui->btnLoeschen->setEnabled(false);
        ui->btnKopierenNach->setEnabled(false);
        ui->btnUmbenennen->setEnabled(false);
        ui->btnImportStarten->setText(texts::Text(65269));
        ui->btnImportStarten->setEnabled(true);
        return;
    }
    // The view "all" has no filter to put back on.
    if (viewFiltered)
        t->setFiltered(true);
    if (t->RecordCount() == 0 && AnzeigeIndex() == 0)
        setAnzeigeIndex(2);
    else if (t->RecordCount() == 0 && AnzeigeIndex() == 1)
        setAnzeigeIndex(0);
    else
        ImportmodusAnzeigen();
}

// ---- copy ----

void TfrmEinstellAEND::btnKopierenNachClick()
{
    db::Table* t = list();
    if (!t || !t->Active() || t->RecordCount() == 0)
        return;
    t->CheckBrowseMode();
    const QString folder = programFolder();
    const QString base = SettingBaseName(*t);
    const QString oldName = nameOf(*t);
    if (!UsableBaseName(base)) {
        platform::ErrorBox(texts::Format(texts::Text(61509), {oldName, base}));
        return;
    }
    if (!existsIgnoringCase(folder + base + QStringLiteral(".DB"))) {
        platform::ErrorBox(texts::Format(texts::Text(64979), {folder + base}));
        return;
    }
    engine::ImportSetting kept = engine::ReadImpListRow(*t);

    QString entered;
    QString name;
    bool overwrite = false;
    std::vector<ListedSetting> all;
    for (;;) {
        const std::optional<QString> answer = platform::InputBox(texts::Text(65195), texts::Text(65196), entered);
        if (!answer || answer->trimmed().isEmpty())
            return;
        name = answer->trimmed();
        if (name == oldName) {
            platform::ErrorBox(texts::Text(65197));
            entered.clear();
            continue;
        }
        if (name.size() > kNameLength) {
            platform::ErrorBox(texts::Text(61508));
            entered = name;
            continue;
        }
        all = AllSettings(*t);
        if (NameListed(all, name)) {
            const QString question = texts::Text(65198) + name + CrLf + CrLf + texts::Text(65199);
            if (platform::MessageBox(platform::MessageType::Warning, question, platform::Buttons::YesNo) !=
                platform::Button::Yes) {
                entered = name;
                continue;
            }
            overwrite = true;
        }
        break;
    }

    const bool filtered = t->Filtered();
    t->setFiltered(false);
    QString newBase;
    QString replacedBase;  // the overwritten setting's own files, when they had another base name
    try {
        if (overwrite) {
            t->FindKey(name);
            const QString targetBase = SettingBaseName(*t);
            const QString number = t->FieldByName(QStringLiteral("TableName"))->AsString();
            newBase = kept.Eigene ? number : QStringLiteral("_") + number;
            if (newBase.compare(targetBase, Qt::CaseInsensitive) != 0) {
                if (BaseNameTaken(folder, newBase, all, name)) {
                    platform::ErrorBox(texts::Format(texts::Text(61510), {newBase}));
                    t->setFiltered(filtered);
                    t->FindKey(oldName);
                    return;
                }
                replacedBase = targetBase;
            }
            // Every kept column but the name and the two base names.
            engine::ImportSetting values = kept;
            values.Bezeichnung = name;
            values.VorDefTableName = t->FieldByName(QStringLiteral("VorDefTableName"))->AsString();
            t->Edit();
            engine::WriteImpListRow(*t, values);
            if (!kept.Eigene)
                t->FieldByName(QStringLiteral("VorDefTableName"))->setAsString(newBase);
            t->Post();
        } else {
            engine::ImportSetting values = kept;
            values.Bezeichnung = name;
            t->Append();
            engine::WriteImpListRow(*t, values);
            t->Post();
            t->FindKey(name);
            const QString number = t->FieldByName(QStringLiteral("TableName"))->AsString();
            newBase = kept.Eigene ? number : QStringLiteral("_") + number;
            if (BaseNameTaken(folder, newBase, all, name)) {
                t->Delete();
                platform::ErrorBox(texts::Format(texts::Text(61510), {newBase}));
                t->setFiltered(filtered);
                t->FindKey(oldName);
                return;
            }
            if (!kept.Eigene) {
                t->Edit();
                t->FieldByName(QStringLiteral("VorDefTableName"))->setAsString(newBase);
                t->Post();
            }
        }
    } catch (const db::EngineError& error) {
        if (t->State() != db::dsBrowse)
            t->Cancel();
        t->setFiltered(filtered);
        t->FindKey(oldName);
        platform::ErrorBox(error.message() + CrLf + texts::Text(65168));
        return;
    }

    if (!CopySettingFiles(folder, base, folder, newBase)) {
        platform::ErrorBox(texts::Text(65168));
        // The row just written goes with whatever of its files there are: no setting without its mapping.
        ImportEinstellungLoeschen();
        t->setFiltered(filtered);
        t->FindKey(oldName);
        ImportmodusAnzeigen();
        return;
    }
    if (!replacedBase.isEmpty() && UsableBaseName(replacedBase)) {
        bool stillNamed = false;
        for (const ListedSetting& other : all) {
            if (other.Bezeichnung != name && other.base.compare(replacedBase, Qt::CaseInsensitive) == 0)
                stillNamed = true;
        }
        if (!stillNamed)
            DeleteSettingFiles(folder, replacedBase);
    }
    t->setFiltered(filtered);
    if (!t->FindKey(name))
        t->FindKey(oldName);
    ImportmodusAnzeigen();
}

// ---- rename ----

void TfrmEinstellAEND::btnUmbenennenClick()
{
    db::Table* t = list();
    if (!t || !t->Active() || t->RecordCount() == 0)
        return;
    t->CheckBrowseMode();
    const QString oldName = nameOf(*t);
    QString entered = oldName;
    for (;;) {
        const std::optional<QString> answer = platform::InputBox(texts::Text(65169), texts::Text(65196), entered);
        if (!answer)
            return;
        const QString name = answer->trimmed();
        if (name.isEmpty() || name == oldName)
            return;
        if (name.size() > kNameLength) {
            platform::ErrorBox(texts::Text(61508));
            entered = name;
            continue;
        }
        if (NameListed(AllSettings(*t), name)) {
            platform::ErrorBox(texts::Format(texts::Text(65170), {name}));
            t->FindKey(oldName);
            entered = name;
            continue;
        }
        try {
            t->Edit();
            t->FieldByName(QStringLiteral("Bezeichnung"))->setAsString(name);
            t->Post();
        } catch (const db::EngineError& error) {
            if (t->State() != db::dsBrowse)
                t->Cancel();
            platform::ErrorBox(error.message());
            return;
        }
        if (wizard_ && wizard_->AktEinstellung == oldName) {
            wizard_->AktEinstellung = name;
            wizard_->ui->edtAktEinstellung->setText(name);
        }
        t->FindKey(name);
        ImportmodusAnzeigen();
        return;
    }
}

// ---- read predefined settings ----

void TfrmEinstellAEND::btnVonDiskEinlesenClick()
{
    if (!wizard_)
        return;
    OpenDialog1.filter = texts::Text(65259) + QStringLiteral(" | VorDef.DB");
    OpenDialog1.initialDir = VorDefStartFolder(programFolder());
    OpenDialog1.title = texts::Text(65210);
    const QString file = platform::OpenFileDialog(OpenDialog1);
    if (file.isEmpty())
        return;
    readVorDef(file);
}

void TfrmEinstellAEND::note(const QString& text, int& notes)
{
    ++notes;
    if (copyFehler_)
        copyFehler_->AddNote(text);
}

void TfrmEinstellAEND::readVorDefRow(const engine::ImportSetting& row, const QString& diskName, int recNo,
                                     const QString& sourceFolder, int& notes)
{
    db::Table& t = *list();
    const QString folder = programFolder();
    engine::ImportSetting s = row;
    const QString base = s.Eigene ? (s.TableName ? QString::number(*s.TableName) : QString()) : s.VorDefTableName;
    if (s.Bezeichnung.trimmed().isEmpty()) {
        note(texts::Text(61502) + CrLf, notes);
        return;
    }
    if (!UsableBaseName(base)) {
        note(texts::Format(texts::Text(61500), {s.Bezeichnung, base}) + CrLf, notes);
        return;
    }
    if (!existsIgnoringCase(sourceFolder + base + QStringLiteral(".DB")) ||
        !existsIgnoringCase(sourceFolder + base + QStringLiteral(".MB"))) {
        note(texts::Format(texts::Text(61501), {s.Bezeichnung, base}) + CrLf, notes);
        return;
    }
    QString name = s.Bezeichnung;
    if (name.size() > kNameLength) {
        const QString cut = name.left(kNameLength);
        note(texts::Format(texts::Text(61503), {name, cut}) + CrLf, notes);
        name = cut;
    }
    const std::vector<ListedSetting> all = AllSettings(t);
    if (NameListed(all, name)) {
        const QString stamp =
            texts::Text(65253) + QStringLiteral(": ") + rtl::DateTimeToStr(QDateTime::currentDateTime());
        QString newName = (stamp + u' ' + name).left(kNameLength);
        for (int n = 2; NameListed(all, newName); ++n)
            newName = (stamp + QStringLiteral(" (%1) ").arg(n) + name).left(kNameLength);
        note(texts::Text(65007) + name + texts::Text(64976) + texts::Text(64977) + newName + QStringLiteral("\".") +
                 CrLf,
             notes);
        // The list on the disk learns the new name too; a disk that cannot be written keeps the old one.
        try {
            const bool found =
                tblVorDef.IndexFieldCount() > 0 ? tblVorDef.FindKey(diskName) : (tblVorDef.setRecNo(recNo), true);
            if (found) {
                tblVorDef.Edit();
                tblVorDef.FieldByName(QStringLiteral("Bezeichnung"))->setAsString(newName);
                tblVorDef.Post();
            }
        } catch (const std::exception&) {
            if (tblVorDef.Active() && tblVorDef.State() != db::dsBrowse)
                tblVorDef.Cancel();
        }
        name = newName;
    }
    s.Bezeichnung = name;

    try {
        t.Append();
        engine::WriteImpListRow(t, s);
        if (s.TableName)
            t.FieldByName(QStringLiteral("TableName"))->setAsInteger(*s.TableName);
        t.Post();
        t.FindKey(name);
    } catch (const std::exception&) {
        if (t.State() != db::dsBrowse)
            t.Cancel();
        note(texts::Text(65193) + texts::Format(texts::Text(65194), {name}) + CrLf, notes);
        return;
    }
    // An own setting keeps its number when the list has it free, else the engine gives it a new one; its files
    // follow the number it got. A predefined one keeps its base name unless files or another setting have it.
    const QString number = t.FieldByName(QStringLiteral("TableName"))->AsString();
    QString newBase = s.Eigene ? number : base;
    if (!s.Eigene && BaseNameTaken(folder, newBase, all, name))
        newBase = QStringLiteral("_") + number;
    if (BaseNameTaken(folder, newBase, all, name)) {
        t.Delete();
        note(texts::Format(texts::Text(61504), {name}) + CrLf, notes);
        return;
    }
    // From here on the files under newBase are this setting's alone.
    try {
        if (!s.Eigene && newBase != s.VorDefTableName) {
            t.Edit();
            t.FieldByName(QStringLiteral("VorDefTableName"))->setAsString(newBase);
            t.Post();
        }
        if (!CopySettingFiles(sourceFolder, base, folder, newBase)) {
            t.Delete();
            note(texts::Format(texts::Text(61505), {name}) + CrLf, notes);
        }
    } catch (const std::exception&) {
        if (t.State() != db::dsBrowse)
            t.Cancel();
        if (t.RecordCount() > 0 && nameOf(t) == name)
            t.Delete();
        DeleteSettingFiles(folder, newBase);
        note(texts::Format(texts::Text(61505), {name}) + CrLf, notes);
    }
}

void TfrmEinstellAEND::readVorDef(const QString& fileName)
{
    db::Table& t = *list();
    const QString folder = programFolder();
    const QFileInfo chosen(fileName);
    // The program's own tables are no list of settings to read, and reading one would copy it over itself.
    for (const QString& own : {engine::ImpListFileName, engine::ZStruktFileName, engine::QStruktFileName}) {
        const QFileInfo table(db::findFileIgnoringCase(folder + own));
        if (table.exists() && table.canonicalFilePath() == chosen.canonicalFilePath()) {
            platform::Beep();
            platform::ErrorBox(texts::Text(64971));
            return;
        }
    }

    tblVorDef.Close();
    tblVorDef.setTableName(fileName);
    try {
        tblVorDef.Open();
    } catch (const db::EngineError& error) {
        platform::ErrorBox(texts::Format(texts::Text(61506), {fileName, error.message()}));
        return;
    }
    for (const char* column : {"Bezeichnung", "Eigene", "TableName", "VorDefTableName"}) {
        if (!tblVorDef.FindField(QLatin1String(column))) {
            tblVorDef.Close();
            platform::ErrorBox(texts::Format(texts::Text(61507), {fileName, QLatin1String(column)}));
            return;
        }
    }

    // Every row is read before anything is written, so that a row renamed below (which moves in a keyed table)
    // is neither read twice nor skipped.
    std::vector<VorDefEntry> entries;
    int recNo = 0;
    for (tblVorDef.First(); !tblVorDef.Eof(); tblVorDef.Next()) {
        VorDefEntry entry;
        entry.recNo = ++recNo;
        try {
            entry.name = nameOf(tblVorDef);
            entry.setting = engine::ReadImpListRow(tblVorDef);
        } catch (const std::exception&) {
            entry.setting.reset();
        }
        entries.push_back(std::move(entry));
    }

    if (!t.Active())
        t.Open();
    t.CheckBrowseMode();
    if (gauge_) {
        gauge_->setHeight(120);
        gauge_->btnGaugeAbbrechen->move(120, gauge_->btnGaugeAbbrechen->y());
        gauge_->btnGaugeAbbrechen->setText(texts::Text(65268));
        gauge_->btnHilfe->hide();
        gauge_->Gauge1->setMinimum(0);
        gauge_->Gauge1->setMaximum(int(entries.size()));
        gauge_->Gauge1->setValue(0);
        gauge_->Label1->setText(texts::Text(65211));
        gauge_->Show();
    }
    QCoreApplication::processEvents();

    const QString sourceFolder = chosen.absolutePath() + u'/';
    const bool filtered = t.Filtered();
    // Rows hidden by the view are written and found like the others while the read runs.
    t.setFiltered(false);
    int notes = 0;
    for (const VorDefEntry& entry : entries) {
        if (gauge_ && gauge_->cancelled())
            break;
        if (gauge_)
            gauge_->gaugePosition(entry.recNo);
        if (!entry.setting) {
            note(texts::Text(65193) + texts::Format(texts::Text(65194), {entry.name}) + CrLf, notes);
            continue;
        }
        try {
            readVorDefRow(*entry.setting, entry.name, entry.recNo, sourceFolder, notes);
        } catch (const std::exception&) {
            // Whatever went wrong with this row, the next one is read all the same.
            if (t.State() != db::dsBrowse)
                t.Cancel();
            note(texts::Text(65193) + texts::Format(texts::Text(65194), {entry.setting->Bezeichnung}) + CrLf, notes);
        }
    }
    t.setFiltered(filtered);
    tblVorDef.Close();

    if (gauge_) {
        gauge_->Label1->setText(gauge_->Label1->text() + texts::Text(65279));
        gauge_->Close();
    }
    if (notes > 0 && platform::MessageBox(platform::MessageType::Confirmation, texts::Text(64978),
                                          platform::Buttons::YesNo) == platform::Button::Yes) {
        if (copyFehler_)
            copyFehler_->show();
    }
    if (t.RecordCount() > 0) {
        if (AnzeigeIndex() != 1)
            setAnzeigeIndex(1);
        else
            gbxAnzeigeImpEinstClick();
        ui->btnLoeschen->setEnabled(true);
        ui->btnKopierenNach->setEnabled(true);
        ui->btnImportStarten->setText(texts::Text(65212));
    }
}

}  // namespace wizard
