// The text layout pages of the main window: fixed or separated, the column marks, the separators and the column
// names, and the reading of the file into the source table.
#include "wizard/frmImport1.h"

#include "db/EngineError.h"
#include "engine/BriskoRoutines.h"
#include "engine/SettingFiles.h"
#include "engine/StructureReaders.h"
#include "engine/TextScanner.h"
#include "engine/WorkingTables.h"
#include "platform/UserInterface.h"
#include "texts/Texts.h"
#include "ui_frmImport1.h"
#include "wizard/PageSupport.h"
#include "ui_frmQOptionen.h"
#include "wizard/finish/StoredSetting.h"
#include "wizard/frmQOptionen.h"
#include "wizard/text/CharacterGrid.h"
#include "wizard/text/PreviewGrid.h"
#include "wizard/text/TextFileView.h"
#include "wizard/text/TextimportFixLenPage.h"

#include <QApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QScopedValueRollback>

namespace wizard {

namespace {

// Home and End of the column grid move between the columns to rename instead of the grid's own cell.
class KeyDownFilter : public QObject {
public:
    KeyDownFilter(QObject* parent, std::function<bool(int)> handler) : QObject(parent), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && handler_(static_cast<QKeyEvent*>(event)->key()))
            return true;
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool(int)> handler_;
};

void deleteTableIfThere(const QString& path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return;
    db::Table table;
    table.setTableName(path);
    try {
        table.DeleteTable();
    } catch (const db::EngineError&) {
        // A table another program holds stays; the next reading replaces it.
    }
}

}  // namespace

TextImportControls TfrmImport1::textControls()
{
    TextImportControls c;
    c.edtQuelle = ui->edtQuelle;
    c.retQuellDat = ui->retQuellDat;
    c.stgQuellDatVar = ui->stgQuellDatVar;
    c.stgQuellDatFix = ui->stgQuellDatFix;
    c.lblVorschauVorber = ui->lblVorschauVorber;
    c.cbxErsteZeile = ui->cbxErsteZeile;
    c.cbxKomma = ui->cbxKomma;
    c.cbxTab = ui->cbxTab;
    c.cbxSpace = ui->cbxSpace;
    c.cbxSemic = ui->cbxSemic;
    c.cbxAndere = ui->cbxAndere;
    c.edtAndere = ui->edtAndere;
    c.comDelimiter = ui->comDelimiter;
    c.rbtNeueImport = ui->rbtNeueImport;
    c.btnErste = ui->btnErste;
    c.btnLinks = ui->btnLinks;
    c.btnRechts = ui->btnRechts;
    c.btnLetzte = ui->btnLetzte;
    c.edtRenCols = ui->edtRenCols;
    c.cbxDosToWin = frmQOptionen_ ? frmQOptionen_->ui->cbxDosToWin : nullptr;
    c.tblImpList = &tblImpList;
    c.tblZSP = &tblZSP;
    c.staged = &StagedText;
    c.tblQuelle = &tblQuelle;
    c.BMV = &BMV;
    c.frmGauge = frmGauge;
    c.engine = &context().engine;
    c.separators = &Separators;
    c.boundaries = &FixTrenn;
    c.AktSpalte = &AktSpalte;
    return c;
}

void TfrmImport1::ConnectTextPages()
{
    using platform::ConnectClick;
    connect(ui->btnWeiter1txt, &QAbstractButton::clicked, this, &TfrmImport1::btnWeiter1txtClick);
    connect(ui->btnZurueck1txt, &QAbstractButton::clicked, this, &TfrmImport1::btnZurueck1txtClick);
    connect(ui->btnQOptionen2, &QAbstractButton::clicked, this, &TfrmImport1::btnQOptionen1Click);
    // Only the person's choice: the forward step sets the qualifier it found itself.
    connect(ui->comDelimiter, &QComboBox::activated, this, &TfrmImport1::comDelimiterChange);
    for (QAbstractButton* box : {static_cast<QAbstractButton*>(ui->cbxSemic), static_cast<QAbstractButton*>(ui->cbxSpace),
                                 static_cast<QAbstractButton*>(ui->cbxAndere), static_cast<QAbstractButton*>(ui->cbxKomma),
                                 static_cast<QAbstractButton*>(ui->cbxTab), static_cast<QAbstractButton*>(ui->cbxErsteZeile)})
        ConnectClick(box, this, &TfrmImport1::cbxSemicClick);
    connect(ui->edtAndere, &QLineEdit::textChanged, this, &TfrmImport1::cbxSemicClick);
    ConnectClick(ui->cbxRaster, this, &TfrmImport1::cbxRasterClick);
    connect(ui->btnErste, &QAbstractButton::clicked, this, &TfrmImport1::btnErsteClick);
    connect(ui->btnLinks, &QAbstractButton::clicked, this, &TfrmImport1::btnLinksClick);
    connect(ui->btnRechts, &QAbstractButton::clicked, this, &TfrmImport1::btnRechtsClick);
    connect(ui->btnLetzte, &QAbstractButton::clicked, this, &TfrmImport1::btnLetzteClick);
    connect(ui->stgQuellDatVar, &QTableWidget::cellClicked, this,
            [this](int, int column) { stgQuellDatVarClick(column); });
    connect(ui->stgQuellDatVar->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TfrmImport1::stgQuellDatVarClick);
    ui->stgQuellDatVar->installEventFilter(new KeyDownFilter(this, [this](int key) {
        if (key != Qt::Key_Home && key != Qt::Key_End)
            return false;
        stgQuellDatVarKeyDown(key);
        return true;
    }));

    CharacterGrid* grid = ui->stgQuellDatFix;
    grid->onClick = [this](int column) { stgQuellDatFixClick(column); };
    grid->onMouseDown = [this](Qt::MouseButton button, int column) { return stgQuellDatFixMouseDown(button, column); };
    grid->onDblClick = [this](int column) { stgQuellDatFixDblClick(column); };
    grid->onDragOver = [this](int column) { return stgQuellDatFixDragOver(column); };
    grid->onDragDrop = [this](int column) { stgQuellDatFixDragDrop(column); };
    connect(grid, &CharacterGrid::topLeftChanged, this, &TfrmImport1::stgQuellDatFixTopLeftChanged);
    grid->setShowGrid(false);

    // Controls without a caption of their own are named by what names them on screen, in the language shown (the
    // column buttons and the edit of another separator by their tool tips, which the window's naming reads).
    const auto withoutAccessKey = [](QString text) { return text.remove(QRegularExpression(QStringLiteral("&(?!&)"))); };
    ui->comDelimiter->setAccessibleName(ui->gbxDelimiter->title());
    // The file view is no input control the window's naming knows: its tool tip names it all the same.
    ui->retQuellDat->setAccessibleName(ui->retQuellDat->toolTip());
    ui->edtRenCols->setAccessibleName(withoutAccessKey(ui->gbxRenameCols->title()));
    ui->stgQuellDatVar->verticalHeader()->setMinimumSectionSize(0);
    ui->stgQuellDatVar->verticalHeader()->setDefaultSectionSize(ui->stgQuellDatVar->fontMetrics().height() + 6);
    ui->lblSpalte->hide();
    ui->lblSpaltennr->hide();
    ui->tpcTXT->setCurrentWidget(ui->TXTDatensatzlaenge);
}

// ---- the page's buttons ----

void TfrmImport1::btnWeiter1txtClick()
{
    if (frmQOptionen_ && frmQOptionen_->isVisible())
        frmQOptionen_->close();
    const TextImportControls c = textControls();
    QWidget* sheet = ui->tpcTXT->currentWidget();
    try {
        if (sheet == ui->TXTDatensatzlaenge) {
            if (ui->rgrDatsatzlaenge0->isChecked()) {
                // A stored setting's separators and qualifier stand as stored: a guess from the first line could
                // change the columns its mapping was made for.
                if (!LayoutGespeichert()) {
                    const QString qualifier = engine::TextbegrenzerErmitteln(ui->edtQuelle->text());
                    if (qualifier == u"\"")
                        ui->comDelimiter->setCurrentIndex(1);
                    else if (qualifier == u"'")
                        ui->comDelimiter->setCurrentIndex(2);
                    // The boxes the guess sets would each start a preview of their own.
                    const QScopedValueRollback hold(textPreviewHeld_, true);
                    SearchSeparators(c);
                }
                {
                    WaitCursor wait;
                    TrennzeichenVorschauZeigen(c);
                    GespeicherteSpaltennamen();
                }
                TXTVariabelZeigen(false);
            } else if (ui->rgrDatsatzlaenge1->isChecked()) {
                {
                    WaitCursor wait;
                    FixLenZeichenRasterFuellen(c);
                }
                ui->tpcTXT->setCurrentWidget(ui->TXTFix);
                TrennlinienAlleZeichnen(c);
            } else {
                platform::MessageBox(platform::MessageType::Information, texts::Text(64916));
            }
        } else if (sheet == ui->TXTFix) {
            FixLenVorschauAufteilen(c);
            GespeicherteSpaltennamen();
            TXTVariabelZeigen(true);
        } else if (SpaltennameSpeichern()) {
            TextdateiEinlesen();
        }
    } catch (const engine::EInOutError& error) {
        platform::ErrorBox(error.message());
    }
}

void TfrmImport1::TXTVariabelZeigen(bool fixedWidth)
{
    ui->gbxSeparator->setVisible(!fixedWidth);
    ui->gbxDelimiter->setVisible(!fixedWidth);
    ui->panHint->setVisible(fixedWidth);
    SetHelpContext(ui->TXTVariabel, fixedWidth ? HelpContextOf(ui->TXTFix) : 13);
    ui->tpcTXT->setCurrentWidget(ui->TXTVariabel);
}

void TfrmImport1::btnZurueck1txtClick()
{
    if (frmQOptionen_ && frmQOptionen_->isVisible())
        frmQOptionen_->close();
    QWidget* sheet = ui->tpcTXT->currentWidget();
    if (sheet == ui->TXTVariabel && ui->rgrDatsatzlaenge1->isChecked()) {
        engine::TrennposLeereMarkieren(FixTrenn);
        ui->tpcTXT->setCurrentWidget(ui->TXTFix);
        TrennlinienNeuZeichnen(textControls());
        return;
    }
    if (sheet != ui->TXTDatensatzlaenge) {
        ui->tpcTXT->setCurrentWidget(ui->TXTDatensatzlaenge);
        return;
    }
    // A new setting, or a changed one whose target is chosen anew, goes back to the target page; a changed one
    // otherwise as far back as the settings manager said the files were to be chosen.
    if (ui->rbtNeueImport->isChecked() || ZielNeuWaehlen()) {
        if (platform::MessageBox(platform::MessageType::Confirmation, texts::Text(64923), platform::Buttons::YesNo) !=
            platform::Button::Yes)
            return;
        TextseiteVerlassen(ui->ImportSeite3);
        return;
    }
    if (QuelleNeuWaehlen()) {
        TextseiteVerlassen(ui->ImportSeite2);
        return;
    }
    TextseiteVerlassen(ui->ImportSeite1);
    ui->PageControl1->setFocus();
}

void TfrmImport1::TextseiteVerlassen(QWidget* page)
{
    ui->tpcTXT->setCurrentWidget(ui->TXTDatensatzlaenge);
    ui->PageControl1->setCurrentWidget(page);
}

bool TfrmImport1::TextdateiEinlesen()
{
    if (!TextquelleAnlegen())
        return false;
    try {
        engine::EmptyTableExclusive(tblQStrukt);
        engine::QuellStrukturEinlesen(tblQuelle, tblQStrukt);
    } catch (const db::EngineError& error) {
        tblQuelle.Close();
        deleteTableIfThere(engine::SourceTablePath(context().engine, ui->edtQuelle->text()));
        platform::ErrorBox(texts::Format(texts::Text(61407), {error.message()}));
        return false;
    }
    if (ui->rbtNeueImport->isChecked())
        AutoZuordnung();
    else
        ZuordnungenUebernehmen();
    engine::DelNoExistQFields(tblQuelle, tblZStrukt);
    IndexSpalteEinstellen();
    if (tblZStrukt.Active())
        tblZStrukt.First();
    ui->PageControl1->setCurrentWidget(ui->ImportSeite4);
    return true;
}

bool TfrmImport1::TextquelleAnlegen()
{
    const TextImportControls c = textControls();
    if (!SpaltennamenPruefen(c))
        return false;
    const QString source = ui->edtQuelle->text();
    const QString sourceTable = engine::SourceTablePath(context().engine, source);
    const bool dosToWin = Checked(c.cbxDosToWin);
    // Nothing of a reading that did not finish may stay for the mapping page: no staging table, no staged
    // records, no source table (an older one would no longer be the file's).
    const auto discard = [&] {
        tblZSP.Close();
        deleteTableIfThere(engine::StagingTablePath(context().engine));
        StagedText.clear();
        tblQuelle.Close();
        deleteTableIfThere(sourceTable);
    };
    tblQuelle.Close();
    try {
        ZSPTabelleAnlegen(c);
    } catch (const db::EngineError& error) {
        // The staging table holds every column in a field of 255 characters; a table's records have a size limit.
        discard();
        platform::MessageBox(platform::MessageType::Error,
                             texts::Format(texts::Text(61408), {QString::number(grid::ColCount(ui->stgQuellDatVar)),
                                                                error.message()}),
                             platform::Buttons::OkHelp, 18);
        return false;
    }
    try {
        const bool complete = ui->rgrDatsatzlaenge1->isChecked() ? FixLenDateiEinlesen(c)
                                                                 : TrennzeichenDateiEinlesen(c, source, tblZSP, dosToWin);
        if (!complete) {
            discard();
            return false;
        }
        FeldgroessenDefinieren(c);
    } catch (const engine::EColumnWithoutName& error) {
        discard();
        platform::MessageBox(platform::MessageType::Information, error.message());
        ui->edtRenCols->setFocus();
        return false;
    } catch (const engine::EInOutError& error) {
        discard();
        platform::ErrorBox(texts::Format(texts::Text(61407), {error.message()}));
        return false;
    } catch (const db::EngineError& error) {
        discard();
        platform::ErrorBox(texts::Format(texts::Text(61407), {error.message()}));
        return false;
    }
    return true;
}

// ---- a stored setting's layout ----

void TfrmImport1::TextlayoutLaden(const engine::ImportSetting& setting)
{
    // Each box set would start a preview of its own; the loaders make the one the layout needs.
    const QScopedValueRollback hold(textPreviewHeld_, true);
    SetChecked(ui->cbxErsteZeile, setting.NamesInFirstLine);
    const bool fixed = setting.FixVar.value_or(0) == 1;
    SetChecked(fixed ? ui->rgrDatsatzlaenge1 : ui->rgrDatsatzlaenge0, true);
    if (fixed) {
        FixTrenn = engine::ColumnBoundaryList();
        // The loaders refuse a row whose boundaries cannot be read before anything reaches the pages.
        if (const std::optional<engine::BoundarySlots> boundaries = FixBreakSlots(setting.FixBreak))
            FixTrenn.FixTrennPositionen = *boundaries;
        engine::PrepareMarking(FixTrenn);
    } else {
        SetChecked(ui->cbxSemic, setting.Semic);
        SetChecked(ui->cbxKomma, setting.Komma);
        SetChecked(ui->cbxTab, setting.Tab);
        SetChecked(ui->cbxSpace, setting.Space);
        ui->edtAndere->setText(setting.Andere);
        SetChecked(ui->cbxAndere, !setting.Andere.isEmpty());
        ui->comDelimiter->setCurrentIndex(setting.Delimiter.value_or(0));
    }
    storedLayoutSource_ = ui->edtQuelle->text();
    storedColNames_ = setting.ColNames.split(u';');
    if (!storedColNames_.isEmpty() && storedColNames_.last().isEmpty())
        storedColNames_.removeLast();
}

bool TfrmImport1::LayoutGespeichert() const
{
    return !ui->rbtNeueImport->isChecked() && !storedLayoutSource_.isEmpty() &&
           ui->edtQuelle->text() == storedLayoutSource_;
}

void TfrmImport1::GespeicherteSpaltennamen()
{
    // Names the person gave stay the columns' names even where the first line names them otherwise: the stored
    // mapping was made for them.
    QTableWidget* g = ui->stgQuellDatVar;
    if (!LayoutGespeichert() || storedColNames_.size() != grid::ColCount(g))
        return;
    for (int column = 0; column < storedColNames_.size(); ++column) {
        grid::setCell(g, column, 0, storedColNames_[column]);
        grid::Widen(g, column, storedColNames_[column]);
    }
    ui->edtRenCols->setText(grid::Cell(g, AktSpalte, 0));
}

bool TfrmImport1::TextquelleLaden()
{
    const TextImportControls c = textControls();
    try {
        ui->retQuellDat->loadFile(ui->edtQuelle->text(), Checked(c.cbxDosToWin));
        if (ui->rgrDatsatzlaenge1->isChecked())
            FixLenVorschauAufteilen(c);
        else
            TrennzeichenVorschauZeigen(c);
    } catch (const engine::EInOutError& error) {
        platform::ErrorBox(error.message());
        return false;
    }
    GespeicherteSpaltennamen();
    return TextquelleAnlegen();
}

// ---- separators ----

void TfrmImport1::comDelimiterChange()
{
    TrennzeichenVorschauZeigen(textControls());
    GespeicherteSpaltennamen();
}

void TfrmImport1::cbxSemicClick()
{
    if (textPreviewHeld_)
        return;
    const TextImportControls c = textControls();
    try {
        if (ui->rgrDatsatzlaenge0->isChecked())
            TrennzeichenVorschauZeigen(c);
        else if (ui->rgrDatsatzlaenge1->isChecked())
            FixLenVorschauAufteilen(c);
        else
            return;
        GespeicherteSpaltennamen();
    } catch (const engine::EInOutError& error) {
        platform::ErrorBox(error.message());
    }
}

// ---- the marks on the character grid ----

void TfrmImport1::stgQuellDatFixClick(int column)
{
    TrennposKlick(textControls(), column);
    if (column < 0)
        return;
    ui->lblSpalte->show();
    ui->lblSpaltennr->show();
    ui->lblSpaltennr->setText(QString::number(column + 1));
}

bool TfrmImport1::stgQuellDatFixMouseDown(Qt::MouseButton button, int column)
{
    return TrennposMausGedrueckt(textControls(), button == Qt::LeftButton, column);
}

void TfrmImport1::stgQuellDatFixDblClick(int column)
{
    TrennposDoppelklick(textControls(), column);
}

bool TfrmImport1::stgQuellDatFixDragOver(int column)
{
    return TrennposZiehen(textControls(), column);
}

void TfrmImport1::stgQuellDatFixDragDrop(int column)
{
    TrennposAblegen(textControls(), column);
}

void TfrmImport1::stgQuellDatFixTopLeftChanged()
{
    TrennlinienAlleZeichnen(textControls());
}

void TfrmImport1::cbxRasterClick()
{
    const bool shown = ui->cbxRaster->isChecked();
    ui->cbxRaster->setText(texts::Text(shown ? 65201 : 65202));
    ui->stgQuellDatFix->setShowGrid(shown);
    TrennlinienAlleZeichnen(textControls());
}

// ---- naming the columns ----

bool TfrmImport1::SpaltennameSpeichern()
{
    return wizard::SpaltennameSpeichern(textControls());
}

void TfrmImport1::MoveToColumn(int column)
{
    if (!SpaltennameSpeichern())
        return;
    SpalteWaehlen(textControls(), column, true);
}

void TfrmImport1::btnErsteClick()
{
    MoveToColumn(0);
}

void TfrmImport1::btnLinksClick()
{
    MoveToColumn(AktSpalte - 1);
}

void TfrmImport1::btnRechtsClick()
{
    MoveToColumn(AktSpalte + 1);
}

void TfrmImport1::btnLetzteClick()
{
    MoveToColumn(grid::ColCount(ui->stgQuellDatVar) - 1);
}

void TfrmImport1::stgQuellDatVarClick(int column)
{
    // The click selects its column even when the typed name is refused; that name is dropped then.
    const TextImportControls c = textControls();
    wizard::SpaltennameSpeichern(c);
    SpalteWaehlen(c, column, false);
}

void TfrmImport1::stgQuellDatVarKeyDown(int key)
{
    if (key == Qt::Key_End)
        btnLetzteClick();
    else if (key == Qt::Key_Home)
        btnErsteClick();
}

}  // namespace wizard
