#pragma once

#include "db/BatchMove.h"
#include "db/DataSource.h"
#include "engine/TextimportFixLen.h"
#include "db/Table.h"
#include "db/access/ADOSourceTable.h"
#include "db/access/AccessConnection.h"
#include "engine/ImportSetting.h"
#include "parser/Parser.h"
#include "platform/UserInterface.h"
#include "platform/ClickHandlers.h"
#include "wizard/ProgramContext.h"
#include "wizard/text/TextimportPage.h"

#include <QWidget>
#include <memory>
#include <optional>

class QAbstractButton;
class QPushButton;

namespace Ui {
class TfrmImport1;
}

namespace platform {
class TRegIniFile;
}

namespace engine {
struct ColumnBoundaryList;
}

namespace wizard {

class TfrmEinstellAEND;
class TfrmEinstellANZ;
class TfrmFormelEdt;
class TfrmGauge;
class TfrmInhaltAnz;
class TfrmQOptionen;
namespace mapping {
class FieldOptionsPanel;
class MappingGrids;
}  // namespace mapping

// A database alias as the window's database components use it: connecting asks the alias for its folder.
class TDatabase {
public:
    explicit TDatabase(const QString& databaseName) : DatabaseName(databaseName) {}
    const QString DatabaseName;
    // Raises db::EngineError when the alias is not set up or its folder is missing.
    void Open();
    void Close();
    bool Connected() const { return connected_; }
    // The alias's folder, ending in "/"; empty unless connected.
    QString Directory() const { return connected_ ? directory_ : QString(); }

private:
    bool connected_ = false;
    QString directory_;
};

// The main wizard window. Its creation handler runs in the constructor, its show handler every time it is shown,
// its destruction handler in the destructor; closing it ends the program's event loop.
class TfrmImport1 : public QWidget {
    Q_OBJECT

public:
    static inline const QString ProgrammTitel = QStringLiteral("Velmora Import 1.2");
    static inline const QString ProgrammVersion = QStringLiteral("1.2");
    // Organisation, application and key of the preferences (Software\Velmora\Import\1.0).
    static inline const QString RegOrganisation = QStringLiteral("Velmora");
    static inline const QString RegApplication = QStringLiteral("Import");
    static inline const QString RegKey = QStringLiteral("1.0");

    explicit TfrmImport1(ProgramContext& context, QWidget* parent = nullptr);
    ~TfrmImport1() override;

    ProgramContext& context() { return context_; }

    std::unique_ptr<Ui::TfrmImport1> ui;

    QString AktEinstellung;
    QString AdoQuellTabelle;
    QString FRArtikeldatei;
    QString FRKundendatei;
    QString WDAdressdatei;

    std::unique_ptr<platform::TRegIniFile> RegIniImport;

    db::Table tblQStrukt;
    db::Table tblZStrukt;
    db::Table tblImpList;
    db::Table tblQuelle;
    db::Table tblZiel;
    db::Table tblTempStrukt;
    db::DataSource dscQStrukt;
    db::DataSource dscZStrukt;
    db::DataSource dscImpList;
    db::DataSource dscQuelle;
    db::DataSource dscZiel;

    TDatabase dbsFR{QStringLiteral("FRDB")};
    TDatabase dbsWD{QStringLiteral("DuzEvod")};

    void FormCreate();
    void FormShow();
    void FormDestroy();

    // The command line: presets the source and target edits (see CommandLine.cpp).
    void ParameterAuswerten();
    // The checks of the source and target pages' file names.
    bool QuelldateiPruefen();
    bool ZieldateiPruefen();

    void btnAbbrechen1Click();
    void btnHilfe1Click();  // help of the active page
    void FormKeyDown(int key);
    // The help context of the active page; of the inner page on the text page.
    int ActivePageHelpContext() const;

    // ---- source, Access and target pages ----
    db::access::AccessConnection ADOConnection1;
    db::access::ADOSourceTable ADOSourceTable;
    platform::FileDialogRequest OpenDialog1;
    platform::FileDialogRequest sdSicherungskopie;

    // The viewer and the source format options, made after this window; the pages fill and show them.
    void setWindows(TfrmInhaltAnz* frmInhaltAnz, TfrmQOptionen* frmQOptionen);

    void btnWeiter2Click();
    void btnZurueck2Click();
    void btnInhaltAnz2Click();
    void btnQBrowseClick();
    void comQuelleChange();
    void btnQOptionen1Click();
    void ImportSeiteAdoEnter();
    void btnWeiterAdoClick();
    void bznZurueckAdoClick();
    void btnAccessInhaltAnsehenClick();

    void btnWeiter3Click();
    void btnWeiterIBClick();
    void ZielGDBWeiter() {}
    void btnZurueck3Click();
    void btnZBrowseClick();
    void btnSicherungskopieClick();
    void btnInhaltAnz3Click();
    void cbxZielLeerenClick();
    void comZielChange();
    void rbtFRArtikeldateiClick();
    void rbtFRKundendateiClick();
    void rbtWDAdressdateiClick();

private:
    void ConnectSourceAndTargetPages();
    void CloseViewers();
    // Whether a table opens for reading; a message names what is wrong when not.
    bool TableReadable(db::Table& table, int engineErrorText, int otherErrorText);

    TfrmInhaltAnz* frmInhaltAnz_ = nullptr;
    TfrmQOptionen* frmQOptionen_ = nullptr;
    // ---- end of source, Access and target pages ----

public:
    // ---- frame and start page ----
    // The settings manager and the settings viewer, made after this window; the program hands them over.
    TfrmEinstellAEND* frmEinstellAEND = nullptr;
    TfrmEinstellANZ* frmEinstellANZ = nullptr;
    // The formula editor, made after this window; the options panel's zoom buttons open it.
    TfrmFormelEdt* frmFormelEdt = nullptr;
    // The parser the formula editor's preview shares with the program.
    parser::TParser Parser1;

    void InfoAnzeigen();  // the about box, modal
    void ImpEinstEinlesen();

    void btnHilfe3Click();
    void btnHilfe4Click();
    void btnHilfe5Click();
    void btnHilfe6Click();
    // F1 on a control of a page, as the window's key preview hands it on.
    void rbtNeueImportKeyDown(int key);
    void edtQuelleKeyDown(int key);
    void edtZielKeyDown(int key);
    void btnHilfe1txtKeyDown(int key);
    void btnHilfe4KeyDown(int key);
    void btnHilfe5KeyDown(int key);
    void btnHilfe6KeyDown(int key);

    void rbtNeueImportClick();
    void rbtVorhEinst_oAEClick();
    void rbtVorhEinst_mAEClick();
    void comVorh_EinstellgCloseUp();
    void btnDetailsClick();
    void btnWeiter1Click();
    void btnInfoClick();  // the hidden Info buttons of the pages

    // The hidden Info button of a page (pages 2 to 6 and the three text pages), nullptr for the others.
    QPushButton* InfoButtonOf(QWidget* page) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectFrameAndStartPage();

    // ---- end of frame and start page ----

public:
    // ---- mapping page ----
    // The automatic mapping of a new setting, the carrying over of a changed setting's mapping and the key column
    // of the mapping grid; called by the target page for table sources and by the text pages for text sources.
    void AutoZuordnung();
    void ZuordnungenUebernehmen();
    void IndexSpalteEinstellen();

    // The process decimal separator from the moment the mapping page is entered; while the page is in use the
    // options panel takes numbers with ",". DecimalSeparatorWiederherstellen puts it back (leaving forward).
    QChar DecimalSeparatorAlt;
    void DecimalSeparatorWiederherstellen();

    void ImportSeite4Enter();
    bool ZurueckBestaetigen();
    void btnZurueck4Click();
    void btnInhaltAnz4Click();
    void btnZuordnenClick();
    void btnAufhebenClick();
    void btnAlleAufhebenClick();
    void dbgStruktZielKeyUp(int key);
    // The options panel of the current mapping row.
    void btnOptionenClick();
    void ZielfeldOptionenAnzeigen();
    void tblZStruktAfterScroll();
    mapping::FieldOptionsPanel& Optionen() { return *optionen_; }

private:
    void ConnectMappingPage();
    // Hides the options panel and shows the hint in its place.
    void OptionenSchliessen(bool disableButton);
    void ZuordnungsSchalterSetzen();
    // Children of this window.
    mapping::FieldOptionsPanel* optionen_ = nullptr;
    mapping::MappingGrids* mappingGrids_ = nullptr;
    bool decimalSeparatorHeld_ = false;
    // ---- end of mapping page ----

public:
    // ---- text layout pages ----
    // The separators and qualifier, the column boundaries and the column being renamed, as the pages last left them.
    engine::SeparatorSet Separators;
    engine::ColumnBoundaryList FixTrenn;
    int AktSpalte = 0;
    // The staging table of the text readings, what the last reading staged for the sizing, and the mover that
    // fills the source table.
    db::Table tblZSP;
    engine::StagedRecords StagedText;
    db::BatchMove BMV;

    // The text pages' controls and values for their page logic.
    TextImportControls textControls();

    void btnWeiter1txtClick();
    void btnZurueck1txtClick();
    void comDelimiterChange();
    void cbxSemicClick();
    void stgQuellDatFixClick(int column);
    bool stgQuellDatFixMouseDown(Qt::MouseButton button, int column);
    void stgQuellDatFixDblClick(int column);
    bool stgQuellDatFixDragOver(int column);
    void stgQuellDatFixDragDrop(int column);
    void stgQuellDatFixTopLeftChanged();
    void cbxRasterClick();
    void btnErsteClick();
    void btnLinksClick();
    void btnRechtsClick();
    void btnLetzteClick();
    void stgQuellDatVarClick(int column);
    void stgQuellDatVarKeyDown(int key);
    bool SpaltennameSpeichern();

private:
    void ConnectTextPages();
    // A stored setting's text layout into the pages: the layout, the separators and qualifier or the column
    // boundaries, whether the first line holds the names, the column names. Used unchanged, the file is then read
    // into the source table at once (false when that did not happen; it has been said why).
    void TextlayoutLaden(const engine::ImportSetting& setting);
    bool TextquelleLaden();
    // The sheet of the column grid shown for the layout chosen.
    void TXTVariabelZeigen(bool fixedWidth);
    // Leaving the text page for another page of the wizard.
    void TextseiteVerlassen(QWidget* page);
    // Names checked, the file read into the source table, its structure read and mapped; false when anything
    // stopped the road (nothing half made is left then).
    bool TextdateiEinlesen();
    // The file read by the layout the controls show into the staging table and sized into the source table;
    // false when anything stopped it (nothing half made is left then).
    bool TextquelleAnlegen();
    // Stores the typed name and selects another column for renaming; nothing moves when the name is refused.
    void MoveToColumn(int column);
    // The column headers of the stored setting over those a preview gave, when the preview has as many columns.
    void GespeicherteSpaltennamen();
    // Whether the layout the controls show is the stored setting's, for the file it was stored for.
    bool LayoutGespeichert() const;
    bool textPreviewHeld_ = false;
    // The source file whose layout came from a stored setting (the first sheet's guesses leave it as stored), and
    // the column names stored with it.
    QString storedLayoutSource_;
    QStringList storedColNames_;
    // ---- end of text layout pages ----

public:
    // ---- mode and finish pages, stored settings ----
    // The progress window, made after this window; the program hands it over. The run, the check of the mapping,
    // the long loops of the mapping page and the text readings show it (none: no window, and nobody is asked).
    TfrmGauge* frmGauge = nullptr;

    // The check made on leaving the mapping page; it sets up the mode page for the key the mapping has.
    bool ZuordnungenPruefen();
    void btnWeiter4Click();

    // The mode page.
    bool ImportmodusPruefen();
    bool StartwertPruefen(const QString& Startwert);
    void IndexfeldAnzeigen();
    void rbtEndeAnhaengenClick();
    void rbtAktualisierenClick();
    void rbtIgnorierenClick();
    void rbtUmbenennenClick();
    void rbtSelfIncClick();
    void rbtKeinImportClick();
    void edtStartwertEnter();
    void btnWeiter5Click();
    void btnZurueck5Click();
    void cbxAktMarkClick();
    void cbxNichtAktMarkClick();
    void cbxNeueMarkClick();
    void comNeueMarkExit();

    // The finish page and the run it starts.
    bool ImpEinstSpeichern();
    void btnFertigstellenClick();
    void TabellenAnzeigen();
    void btnZurueck6Click();
    void btnBemerkungClick();
    void btnBemerkSpeichernClick();
    void btnBemerkVerwerfenClick();
    // The import mode the mode page's choices stand for (1 to 5); nothing when none applies.
    std::optional<int> GewaehlterImportmodus() const;

    // A stored setting into the pages: used unchanged (true when loaded; the mode or finish page is shown) or to
    // be changed (the wizard walks on from the source or target page). The structure checks say whether the stored
    // mapping still fits the target.
    bool VorhEinstLaden_oAE();
    void VorhEinstLaden_mAE();
    bool ZielStrukturPruefen();
    bool ZielStrukturPruefenText();
    void MeldungStrukturGeaendert();

private:
    void ConnectModeAndFinishPages();
    // Source and target of a stored setting checked and taken into the pages (both loaders); false when one of
    // them was missing (it has been reported).
    bool DateienPruefen(const engine::ImportSetting& setting, bool unchanged, bool source, bool target);
    // The separators and the short date format from a stored row.
    void FormateSetzen(const engine::ImportSetting& setting);
    // The mode page's radios from a stored Importmodus; the page to show for an unchanged use (nullptr: stay).
    QWidget* ImportmodusSetzen(std::optional<int> mode, bool unchanged);
    bool ZielStrukturPruefen(bool textSource);
    // ImportEinstellungLaden, with damaged setting files reported and the mapping table made afresh.
    bool EinstellungLaden();
    // The stored Access table exported afresh into Temp as the source table; false after a message.
    bool AccessQuelleExportieren(const QString& table);
    // The settings manager's re-choice boxes: whether the person chooses the source or the target anew (false
    // while there is no manager).
    bool QuelleNeuWaehlen() const;
    bool ZielNeuWaehlen() const;
    // ---- end of mode and finish pages, stored settings ----

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool IsOwnTable(const QString& fileName);
    // A name typed or given for a source or target names an existing file; the message when not (emptyText when
    // nothing is named).
    bool FileNamed(const QString& name, int emptyText) const;

    ProgramContext& context_;
    bool destroyed_ = false;
};

// The help context a page, a sheet or a help button carries.
int HelpContextOf(const QWidget* widget);
void SetHelpContext(QWidget* widget, int helpContext);

// Check boxes and radio buttons are set from code as the platform sets them: the click handler runs only on a real
// change of state.
using platform::SetChecked;

}  // namespace wizard
