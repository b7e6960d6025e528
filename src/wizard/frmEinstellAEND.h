#pragma once

#include "db/Table.h"
#include "platform/UserInterface.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmEinstellAEND;
}

namespace engine {
struct ImportSetting;
}

namespace wizard {

class TfrmCopyFehler;
class TfrmGauge;
class TfrmImport1;
class TfrmQOptionen;

// The settings manager: starts the wizard with a stored setting, deletes, copies and renames settings, reads
// predefined settings from a VorDef.DB, and shows a setting's files, options and mode. It works on the wizard's
// settings list (tblImpList through dscImpList) and on the setting files in the program folder; edits of the
// remark and the two option boxes go straight into the current row.
//
// Made once at start-up and shown and closed as often as needed; closing it always returns to the view of all
// settings. Without a wizard (setWizard) its controls show nothing and its buttons do nothing.
class TfrmEinstellAEND : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEinstellAEND(QWidget* parent = nullptr);
    ~TfrmEinstellAEND() override;

    std::unique_ptr<Ui::TfrmEinstellAEND> ui;
    platform::FileDialogRequest OpenDialog1;
    // The VorDef.DB being read.
    db::Table tblVorDef;

    // The wizard whose list the manager works on, and the windows it uses (any but the wizard may be null).
    void setWizard(TfrmImport1* wizard, TfrmGauge* gauge, TfrmCopyFehler* copyFehler, TfrmQOptionen* options);

    void FormShow();
    void FormClose();
    void FormKeyDown(int key);
    void dbgEinstellungenKeyDown(int key);
    void btnHilfeClick();
    void btnOptionenClick();
    void btnAbbrechenClick();
    void gbxAnzeigeImpEinstClick();
    void btnImportStartenClick();
    void btnLoeschenClick();
    void btnKopierenNachClick();
    void btnUmbenennenClick();
    void btnVonDiskEinlesenClick();

    // Deletes the current setting: its files (unless another setting shares them) and its row; then the view.
    void ImportEinstellungLoeschen();
    void ImportmodusAnzeigen();
    void EinstellAENDKnoepfeFreigeben();
    void EigeneEinstellungenFiltern();
    void VordefinierteEinstellungenFiltern();
    void AlleEinstellungenAnzeigen();

    // The chosen view: 0 own, 1 predefined, 2 all.
    int AnzeigeIndex() const;
    // Chooses a view the way a click does (its handler runs on a change).
    void setAnzeigeIndex(int index);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    db::Table* list() const;
    QString programFolder() const;
    void filterView(const QString& filter);
    void readVorDef(const QString& fileName);
    // One row of the VorDef.DB (diskName and recNo find it there again) into the list, with its files.
    void readVorDefRow(const engine::ImportSetting& row, const QString& diskName, int recNo,
                       const QString& sourceFolder, int& notes);
    void note(const QString& text, int& notes);

    TfrmImport1* wizard_ = nullptr;
    TfrmGauge* gauge_ = nullptr;
    TfrmCopyFehler* copyFehler_ = nullptr;
    TfrmQOptionen* options_ = nullptr;
};

}  // namespace wizard
