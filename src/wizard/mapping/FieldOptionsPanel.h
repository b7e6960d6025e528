#pragma once

#include "wizard/mapping/MappingPage.h"

#include <QObject>
#include <QVariant>

class QAbstractButton;
class QCheckBox;
class QLineEdit;
class QWidget;

namespace platform {
class TDBCheckBox;
class TDBEdit;
}  // namespace platform

namespace wizard {
class TfrmImport1;
}

namespace wizard::mapping {

// The options panel of the mapping page: one sheet for the current mapping row, chosen by the classes of its
// source and target field types. The data-aware controls edit the row's columns; the switch boxes are derived from
// the columns whenever the panel is refreshed, and a person's click on one clears the columns it stands for when it
// is unticked.
//
// What the panel shows is what the row holds: a refresh sets every switch box of the sheet from the row and never
// changes the row (but for the alignment a key row gets when it has none), and which controls take input follows
// from the row and the boxes alone, whatever was shown before.
class FieldOptionsPanel : public QObject {
    Q_OBJECT
public:
    explicit FieldOptionsPanel(TfrmImport1& form);

    // Chooses the sheet of the current row and sets its boxes; Closed closes the panel (through the page).
    OptionsSheet Anzeigen();
    OptionsSheet sheet() const { return sheet_; }

    // The click rules of the switch boxes, as a person's click runs them.
    void cbxSS_VorgabeClick();
    void cbxSS_UEVorgabeClick();
    void cbxZS_UEVorgabeClick();
    void cbxSZ_VorgabeClick();
    void cbxZS_VorgabeClick();
    void cbxZZ_VorgabeClick();
    void DivClick(QCheckBox* div, QCheckBox* mul);
    void MulClick(QCheckBox* div, QCheckBox* mul);
    void cbxSS_FormelClick();
    void FormelNumClick(QCheckBox* formel, QCheckBox* runden);
    void RundenClick(QCheckBox* runden);
    void AbschneidenClick(QCheckBox* abschneiden);
    void cbxSS_AusschnittClick();
    // The rules of the data-aware boxes and edits.
    void EinerVonZweienClick(QAbstractButton* box, const char* otherColumn);
    void cbxSS_Vorgabe_GleichClick();
    void cbxSS_Vorgabe_LeerClick();
    void BedingungClick(QAbstractButton* box, QAbstractButton* other1, QAbstractButton* other2, const char* column);
    void edtSS_AusschnittBegStringExit();
    void edtSS_AusschnittEndStringExit();
    // A default a date, time, date-time or logical target cannot take is refused with a message.
    void VorgabeWertExit(QLineEdit* edit);
    void FaktorExit(const char* column);
    void ZoomClick(const QString& formulaColumn);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Refuses what the edit holds with message: the column gets back the value it had when the edit was entered,
    // and the edit keeps the focus.
    void Zurueckweisen(QLineEdit* edit, const char* column, const QString& message);
    // What the edit's column holds now is what a later refusal goes back to.
    void Angenommen(QLineEdit* edit);
    bool Leer(const char* column);
    bool Gesetzt(const char* column);
    bool Wahr(const char* column);
    void Bearbeiten();
    void Loeschen(std::initializer_list<const char*> columns);
    // The enabled state of every dependent control of the sheet shown, from the row and the boxes.
    void ZustaendeSetzen();
    void Schalter(QCheckBox* box, bool checked);
    void connectSwitch(QCheckBox* box, void (FieldOptionsPanel::*rule)());
    void connectSwitch(QCheckBox* box, std::function<void()> rule);

    TfrmImport1& form_;
    OptionsSheet sheet_ = OptionsSheet::Unchanged;
    bool mapped_ = false;
    bool key_ = false;
    bool overLength_ = false;  // the source value can be longer than the target field takes
    bool refreshing_ = false;
    bool refusing_ = false;         // a refusal's message is up: the edit losing the focus to it is no new exit
    QLineEdit* entered_ = nullptr;  // the checked edit last entered or left with a value taken, and that value
    QVariant enteredValue_;
};

}  // namespace wizard::mapping
