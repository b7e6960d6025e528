#include "wizard/mapping/FieldOptionsPanel.h"

#include "db/EngineError.h"
#include "db/Table.h"
#include "engine/WorkingTables.h"
#include "platform/ClickHandlers.h"
#include "platform/DataControls.h"
#include "platform/UserInterface.h"
#include "rtl/Conversions.h"
#include "texts/Texts.h"
#include "ui_frmImport1.h"
#include "wizard/frmFormelEdt.h"
#include "wizard/frmImport1.h"

#include <QDateTime>
#include <QEvent>
#include <QLabel>
#include <QScopeGuard>

namespace wizard::mapping {

namespace {

// Opens the formula editor on a double click into a formula memo.
class DoubleClickToButton : public QObject {
public:
    DoubleClickToButton(QAbstractButton* button, QObject* parent) : QObject(parent), button_(button) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonDblClick) {
            button_->click();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QAbstractButton* button_;
};

void Enable(std::initializer_list<QWidget*> widgets, bool enabled)
{
    for (QWidget* widget : widgets)
        widget->setEnabled(enabled);
}

}  // namespace

FieldOptionsPanel::FieldOptionsPanel(TfrmImport1& form) : QObject(&form), form_(form)
{
    Ui::TfrmImport1& ui = *form_.ui;
    db::DataSource* source = &form_.dscZStrukt;
    const auto bind = [source](auto* control, const char* column) {
        control->setDataSource(source);
        control->setDataField(QLatin1String(column));
    };
    bind(ui.edtSS_Vorgabe_Wert, "Vorgabewert_alph");
    bind(ui.cbxSS_Vorgabe_Gleich, "BedGleich");
    bind(ui.cbxSS_Vorgabe_Leer, "BedLeer");
    bind(ui.edtSS_Vorgabe_Quelltxt, "Quellwert_alph");
    bind(ui.cbxSS_Abschneiden_li, "Ueberl_abschneid_li");
    bind(ui.cbxSS_Abschneiden_re, "Ueberl_abschneid_re");
    bind(ui.cbxSS_Ausrichtung_li, "Ausrichtung_li");
    bind(ui.cbxSS_Ausrichtung_re, "Ausrichtung_re");
    bind(ui.edtSS_AusschnittBegString, "StringAuswahlBeg");
    bind(ui.edtSS_AusschnittEndString, "StringAuswahlEnd");
    bind(ui.memSS_Formel, "Formel_alph");
    bind(ui.cbxSS_FAkt, "FeldAkt");

    bind(ui.edtSZ_Vorgabe_Wert, "Vorgabewert_num");
    bind(ui.cbxSZ_Vorgabe_Gleich, "BedGleich");
    bind(ui.cbxSZ_Vorgabe_Kleiner, "BedKleiner");
    bind(ui.cbxSZ_Vorgabe_Groesser, "BedGroesser");
    bind(ui.edtSZ_Vorgabe_Quelltxt, "Quellwert_alph");
    bind(ui.edtSZ_DivWert, "Div");
    bind(ui.edtSZ_MulWert, "Mul");
    bind(ui.memSZ_Formel, "Formel_num");
    bind(ui.edtSZ_Runden, "Runden");
    bind(ui.cbxSZ_FAkt, "FeldAkt");

    bind(ui.edtZS_Vorgabe_Wert, "Vorgabewert_alph");
    bind(ui.cbxZS_Vorgabe_Gleich, "BedGleich");
    bind(ui.cbxZS_Vorgabe_Kleiner, "BedKleiner");
    bind(ui.cbxZS_Vorgabe_Groesser, "BedGroesser");
    bind(ui.edtZS_Vorgabe_Quelltxt, "Quellwert_num");
    bind(ui.cbxZS_Abschneiden_li, "Ueberl_abschneid_li");
    bind(ui.cbxZS_Abschneiden_re, "Ueberl_abschneid_re");
    bind(ui.cbxZS_Ausrichtung_li, "Ausrichtung_li");
    bind(ui.cbxZS_Ausrichtung_re, "Ausrichtung_re");
    bind(ui.edtZS_DivWert, "Div");
    bind(ui.edtZS_MulWert, "Mul");
    bind(ui.cbxZS_FAkt, "FeldAkt");

    bind(ui.edtZZ_Vorgabe_Wert, "Vorgabewert_num");
    bind(ui.cbxZZ_Vorgabe_Gleich, "BedGleich");
    bind(ui.cbxZZ_Vorgabe_Kleiner, "BedKleiner");
    bind(ui.cbxZZ_Vorgabe_Groesser, "BedGroesser");
    bind(ui.edtZZ_Vorgabe_Quelltxt, "Quellwert_num");
    bind(ui.edtZZ_DivWert, "Div");
    bind(ui.edtZZ_MulWert, "Mul");
    bind(ui.memZZ_Formel, "Formel_num");
    bind(ui.edtZZ_Runden, "Runden");
    bind(ui.cbxZZ_Akt, "FeldAkt");

    // A screen reader names an edit by the label before it, or by the switch box it belongs to.
    for (auto [label, edit] : {std::pair<QLabel*, QWidget*>{ui.lblSS_Vorgabewert, ui.edtSS_Vorgabe_Wert},
                               {ui.lblZS_Vorgabewert, ui.edtZS_Vorgabe_Wert},
                               {ui.lblSS_Vorgabe, ui.edtSS_Vorgabe_Quelltxt},
                               {ui.lblSZ_Vorgabe, ui.edtSZ_Vorgabe_Quelltxt},
                               {ui.lblZS_Vorgabe, ui.edtZS_Vorgabe_Quelltxt},
                               {ui.lblZZ_Vorgabe, ui.edtZZ_Vorgabe_Quelltxt},
                               {ui.lblSS_Ausschnittbis, ui.edtSS_AusschnittEndString},
                               {ui.lblSZ_Stellen, ui.edtSZ_Runden},
                               {ui.lblZZ_Stellen, ui.edtZZ_Runden}})
        label->setBuddy(edit);
    for (auto [box, edit] : {std::pair<QAbstractButton*, QWidget*>{ui.cbxSZ_Vorgabe, ui.edtSZ_Vorgabe_Wert},
                             {ui.cbxZZ_Vorgabe, ui.edtZZ_Vorgabe_Wert},
                             {ui.cbxSS_Ausschnitt, ui.edtSS_AusschnittBegString},
                             {ui.cbxSZ_Div, ui.edtSZ_DivWert}, {ui.cbxSZ_Mul, ui.edtSZ_MulWert},
                             {ui.cbxZS_Div, ui.edtZS_DivWert}, {ui.cbxZS_Mul, ui.edtZS_MulWert},
                             {ui.cbxZZ_Div, ui.edtZZ_DivWert}, {ui.cbxZZ_Mul, ui.edtZZ_MulWert},
                             {ui.cbxSS_Formel, ui.memSS_Formel}, {ui.cbxSZ_Formel, ui.memSZ_Formel},
                             {ui.cbxZZ_Formel, ui.memZZ_Formel}})
        edit->setAccessibleName(box->text().remove(u'&').trimmed());

    connectSwitch(ui.cbxSS_Vorgabe, &FieldOptionsPanel::cbxSS_VorgabeClick);
    connectSwitch(ui.cbxSS_UEVorgabe, &FieldOptionsPanel::cbxSS_UEVorgabeClick);
    connectSwitch(ui.cbxZS_UEVorgabe, &FieldOptionsPanel::cbxZS_UEVorgabeClick);
    connectSwitch(ui.cbxSZ_Vorgabe, &FieldOptionsPanel::cbxSZ_VorgabeClick);
    connectSwitch(ui.cbxZS_Vorgabe, &FieldOptionsPanel::cbxZS_VorgabeClick);
    connectSwitch(ui.cbxZZ_Vorgabe, &FieldOptionsPanel::cbxZZ_VorgabeClick);
    for (auto [div, mul] : {std::pair{ui.cbxSZ_Div, ui.cbxSZ_Mul}, {ui.cbxZZ_Div, ui.cbxZZ_Mul},
                            {ui.cbxZS_Div, ui.cbxZS_Mul}}) {
        connectSwitch(div, [this, div, mul] { DivClick(div, mul); });
        connectSwitch(mul, [this, div, mul] { MulClick(div, mul); });
    }
    connectSwitch(ui.cbxSS_Formel, &FieldOptionsPanel::cbxSS_FormelClick);
    for (auto [formel, runden] : {std::pair{ui.cbxSZ_Formel, ui.cbxSZ_Runden}, {ui.cbxZZ_Formel, ui.cbxZZ_Runden}}) {
        connectSwitch(formel, [this, formel, runden] { FormelNumClick(formel, runden); });
        connectSwitch(runden, [this, runden] { RundenClick(runden); });
    }
    for (QCheckBox* box : {ui.cbxSS_Abschneiden, ui.cbxZS_Abschneiden})
        connectSwitch(box, [this, box] { AbschneidenClick(box); });
    connectSwitch(ui.cbxSS_Ausschnitt, &FieldOptionsPanel::cbxSS_AusschnittClick);

    // The data-aware boxes run their rules also when they follow the cursor: on rows the panel wrote they change
    // nothing, and a row written otherwise is corrected at once.
    const auto rule = [this](QAbstractButton* box, std::function<void()> handler) {
        platform::ConnectClick(box, this, [this, handler] {
            if (!refreshing_)
                handler();
        });
    };
    for (auto [box, other] : {std::pair<QAbstractButton*, const char*>{ui.cbxSS_Ausrichtung_li, "Ausrichtung_re"},
                              {ui.cbxZS_Ausrichtung_li, "Ausrichtung_re"},
                              {ui.cbxSS_Ausrichtung_re, "Ausrichtung_li"},
                              {ui.cbxZS_Ausrichtung_re, "Ausrichtung_li"},
                              {ui.cbxSS_Abschneiden_li, "Ueberl_abschneid_re"},
                              {ui.cbxZS_Abschneiden_li, "Ueberl_abschneid_re"},
                              {ui.cbxSS_Abschneiden_re, "Ueberl_abschneid_li"},
                              {ui.cbxZS_Abschneiden_re, "Ueberl_abschneid_li"}})
        rule(box, [this, box, other] { EinerVonZweienClick(box, other); });
    rule(ui.cbxSS_Vorgabe_Gleich, [this] { cbxSS_Vorgabe_GleichClick(); });
    rule(ui.cbxSS_Vorgabe_Leer, [this] { cbxSS_Vorgabe_LeerClick(); });
    const std::array<std::array<QAbstractButton*, 3>, 3> conditions = {{
        {ui.cbxSZ_Vorgabe_Gleich, ui.cbxSZ_Vorgabe_Kleiner, ui.cbxSZ_Vorgabe_Groesser},
        {ui.cbxZZ_Vorgabe_Gleich, ui.cbxZZ_Vorgabe_Kleiner, ui.cbxZZ_Vorgabe_Groesser},
        {ui.cbxZS_Vorgabe_Gleich, ui.cbxZS_Vorgabe_Kleiner, ui.cbxZS_Vorgabe_Groesser},
    }};
    const char* const columns[] = {"BedGleich", "BedKleiner", "BedGroesser"};
    for (const auto& sheet : conditions) {
        for (int i = 0; i < 3; ++i) {
            QAbstractButton* box = sheet[static_cast<std::size_t>(i)];
            QAbstractButton* other1 = sheet[static_cast<std::size_t>((i + 1) % 3)];
            QAbstractButton* other2 = sheet[static_cast<std::size_t>((i + 2) % 3)];
            const char* column = columns[i];
            rule(box, [this, box, other1, other2, column] { BedingungClick(box, other1, other2, column); });
        }
    }

    // The edits whose input may be refused remember what the row held when they were entered.
    for (QLineEdit* edit :
         std::initializer_list<QLineEdit*>{ui.edtSS_AusschnittBegString, ui.edtSS_Vorgabe_Wert, ui.edtZS_Vorgabe_Wert})
        edit->installEventFilter(this);
    for (platform::TDBEdit* edit : {ui.edtSS_Vorgabe_Wert, ui.edtZS_Vorgabe_Wert})
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] { VorgabeWertExit(edit); });
    connect(ui.edtSS_AusschnittBegString, &QLineEdit::editingFinished, this,
            &FieldOptionsPanel::edtSS_AusschnittBegStringExit);
    connect(ui.edtSS_AusschnittEndString, &QLineEdit::editingFinished, this,
            &FieldOptionsPanel::edtSS_AusschnittEndStringExit);
    for (QLineEdit* edit : {ui.edtSZ_DivWert, ui.edtZZ_DivWert, ui.edtZS_DivWert})
        connect(edit, &QLineEdit::editingFinished, this, [this] { FaktorExit("Div"); });
    for (QLineEdit* edit : {ui.edtSZ_MulWert, ui.edtZZ_MulWert, ui.edtZS_MulWert})
        connect(edit, &QLineEdit::editingFinished, this, [this] { FaktorExit("Mul"); });

    connect(ui.btnSS_Zoom, &QAbstractButton::clicked, this, [this] { ZoomClick(QStringLiteral("Formel_alph")); });
    connect(ui.btnSZ_Zoom, &QAbstractButton::clicked, this, [this] { ZoomClick(QStringLiteral("Formel_num")); });
    connect(ui.btnZZ_Zoom, &QAbstractButton::clicked, this, [this] { ZoomClick(QStringLiteral("Formel_num")); });
    for (auto [memo, button] : {std::pair<QPlainTextEdit*, QAbstractButton*>{ui.memSS_Formel, ui.btnSS_Zoom},
                                {ui.memSZ_Formel, ui.btnSZ_Zoom},
                                {ui.memZZ_Formel, ui.btnZZ_Zoom}})
        memo->viewport()->installEventFilter(new DoubleClickToButton(button, this));
}

void FieldOptionsPanel::connectSwitch(QCheckBox* box, void (FieldOptionsPanel::*rule)())
{
    connectSwitch(box, [this, rule] { (this->*rule)(); });
}

void FieldOptionsPanel::connectSwitch(QCheckBox* box, std::function<void()> rule)
{
    // While the panel is refreshed the boxes only show the row; the rules are a person's.
    platform::ConnectClick(box, this, [this, rule] {
        if (refreshing_)
            return;
        rule();
        ZustaendeSetzen();
    });
}

// ---- the current row ----

bool FieldOptionsPanel::Leer(const char* column)
{
    return form_.tblZStrukt.FieldByName(QLatin1String(column))->AsString().isEmpty();
}

bool FieldOptionsPanel::Gesetzt(const char* column)
{
    return !Leer(column);
}

bool FieldOptionsPanel::Wahr(const char* column)
{
    db::Field* field = form_.tblZStrukt.FieldByName(QLatin1String(column));
    return !field->IsNull() && field->AsBoolean();
}

void FieldOptionsPanel::Bearbeiten()
{
    if (form_.tblZStrukt.State() == db::dsBrowse)
        form_.tblZStrukt.Edit();
}

void FieldOptionsPanel::Loeschen(std::initializer_list<const char*> columns)
{
    db::Table& table = form_.tblZStrukt;
    for (const char* column : columns) {
        db::Field* field = table.FieldByName(QLatin1String(column));
        if (field->DataType() == db::FieldType::ftBoolean) {
            if (Wahr(column)) {
                Bearbeiten();
                field->setAsBoolean(false);
            }
        } else if (!field->IsNull()) {
            Bearbeiten();
            field->Clear();
        }
    }
}

void FieldOptionsPanel::Schalter(QCheckBox* box, bool checked)
{
    platform::SetChecked(box, checked);
}

// ---- the refresh ----

OptionsSheet FieldOptionsPanel::Anzeigen()
{
    Ui::TfrmImport1& ui = *form_.ui;
    db::Table& z = form_.tblZStrukt;
    if (!form_.tblQuelle.TableName().isEmpty())
        form_.tblQuelle.Open();
    if (!form_.tblZiel.TableName().isEmpty())
        form_.tblZiel.Open();
    if (!z.Active() || z.IsEmpty())
        return OptionsSheet::Unchanged;

    const QString zuordnung = z.FieldByName(QStringLiteral("Zuordnung"))->AsString();
    const QString feldname = z.FieldByName(QStringLiteral("Feldname"))->AsString();
    db::Field* typField = z.FieldByName(QStringLiteral("Typ"));
    const int typ = typField->IsNull() ? 0 : typField->AsInteger();
    mapped_ = !zuordnung.isEmpty();
    key_ = Gesetzt("Index");
    const db::Field* quellFeld = mapped_ && form_.tblQuelle.Active() ? form_.tblQuelle.FindField(zuordnung) : nullptr;
    const OptionsSheet sheet =
        SheetFor(mapped_, quellFeld ? static_cast<int>(quellFeld->DataType()) : -1, typ);
    if (sheet == OptionsSheet::Unchanged)
        return sheet;
    sheet_ = sheet;
    if (sheet == OptionsSheet::Closed)
        return sheet;

    const QString heading = texts::Text(65204) + QStringLiteral(" \"") + feldname + u'"';
    QWidget* page = nullptr;
    switch (sheet) {
    case OptionsSheet::String_String: page = ui.String_String; ui.lblSS_Optionen->setText(heading); break;
    case OptionsSheet::String_Zahl: page = ui.String_Zahl; ui.lblSZ_Optionen->setText(heading); break;
    case OptionsSheet::Zahl_String: page = ui.Zahl_String; ui.lblZS_Optionen->setText(heading); break;
    default: page = ui.Zahl_Zahl; ui.lblZZ_Optionen->setText(heading); break;
    }
    ui.tpcOptionen->setCurrentWidget(page);
    ui.btnOptionen->setEnabled(true);

    // A key row shows its values right-aligned unless it says otherwise.
    if (mapped_ && key_ && (sheet == OptionsSheet::String_String || sheet == OptionsSheet::Zahl_String) &&
        !Wahr("Ausrichtung_re") && !Wahr("Ausrichtung_li")) {
        Bearbeiten();
        z.FieldByName(QStringLiteral("Ausrichtung_re"))->setAsBoolean(true);
        z.FieldByName(QStringLiteral("Ausrichtung_li"))->setAsBoolean(false);
    }
    // A text target takes no more characters than it has, also as a default.
    const int laenge = typ == 1 ? z.FieldByName(QStringLiteral("Laenge"))->AsString().toInt() : 0;
    const int limit = laenge > 0 ? laenge : 80;
    overLength_ = false;
    if (mapped_ && sheet == OptionsSheet::String_String && typ != 16 && typ != 18 && !key_ && quellFeld) {
        const db::Field* zielFeld = form_.tblZiel.Active() ? form_.tblZiel.FindField(feldname) : nullptr;
        overLength_ = zielFeld && quellFeld->DataSize() > zielFeld->DataSize();
    }

    refreshing_ = true;
    const bool vorgabeAlph = Gesetzt("Vorgabewert_alph");
    // A default with a condition on the source value is the conditional default; alone it is the default on
    // over-length. On Zahl_String the comparison value or any comparison tells them apart.
    switch (sheet) {
    case OptionsSheet::String_String: {
        ui.edtSS_Vorgabe_Wert->setMaxLength(limit);
        const bool bedingt = Wahr("BedLeer") || Wahr("BedGleich");
        Schalter(ui.cbxSS_Abschneiden, Wahr("Ueberl_abschneid_li") || Wahr("Ueberl_abschneid_re"));
        Schalter(ui.cbxSS_Vorgabe, vorgabeAlph && (bedingt || !mapped_));
        Schalter(ui.cbxSS_UEVorgabe, vorgabeAlph && !bedingt && mapped_);
        Schalter(ui.cbxSS_Ausschnitt, Gesetzt("StringAuswahlBeg"));
        Schalter(ui.cbxSS_Formel, Gesetzt("Formel_alph"));
        break;
    }
    case OptionsSheet::String_Zahl:
        Schalter(ui.cbxSZ_Div, Gesetzt("Div"));
        Schalter(ui.cbxSZ_Mul, Gesetzt("Mul"));
        Schalter(ui.cbxSZ_Vorgabe, Gesetzt("Vorgabewert_num"));
        Schalter(ui.cbxSZ_Formel, Gesetzt("Formel_num"));
        Schalter(ui.cbxSZ_Runden, Gesetzt("Runden"));
        break;
    case OptionsSheet::Zahl_String: {
        ui.edtZS_Vorgabe_Wert->setMaxLength(limit);
        const bool bedingt = Gesetzt("Quellwert_num") || Wahr("BedGleich") || Wahr("BedKleiner") ||
                             Wahr("BedGroesser");
        Schalter(ui.cbxZS_Abschneiden, Wahr("Ueberl_abschneid_li") || Wahr("Ueberl_abschneid_re"));
        Schalter(ui.cbxZS_Vorgabe, vorgabeAlph && bedingt);
        Schalter(ui.cbxZS_UEVorgabe, vorgabeAlph && !bedingt);
        Schalter(ui.cbxZS_Div, Gesetzt("Div"));
        Schalter(ui.cbxZS_Mul, Gesetzt("Mul"));
        break;
    }
    default:
        Schalter(ui.cbxZZ_Div, Gesetzt("Div"));
        Schalter(ui.cbxZZ_Mul, Gesetzt("Mul"));
        Schalter(ui.cbxZZ_Vorgabe, Gesetzt("Vorgabewert_num"));
        Schalter(ui.cbxZZ_Formel, Gesetzt("Formel_num"));
        Schalter(ui.cbxZZ_Runden, Gesetzt("Runden"));
        break;
    }
    refreshing_ = false;
    ZustaendeSetzen();
    return sheet;
}

void FieldOptionsPanel::ZustaendeSetzen()
{
    Ui::TfrmImport1& ui = *form_.ui;
    const bool m = mapped_;
    switch (sheet_) {
    case OptionsSheet::String_String: {
        const bool vorgabe = ui.cbxSS_Vorgabe->isChecked();
        const bool ueVorgabe = ui.cbxSS_UEVorgabe->isChecked();
        ui.cbxSS_Vorgabe->setEnabled(!(m && ueVorgabe));
        Enable({ui.lblBeiUeberlaenge, ui.cbxSS_Abschneiden}, m && overLength_);
        ui.cbxSS_UEVorgabe->setEnabled(m && overLength_ && !vorgabe);
        Enable({ui.lblSS_Vorgabewert, ui.edtSS_Vorgabe_Wert}, vorgabe || ueVorgabe);
        Enable({ui.lblSS_Vorgabe, ui.cbxSS_Vorgabe_Gleich, ui.cbxSS_Vorgabe_Leer}, m && vorgabe);
        ui.edtSS_Vorgabe_Quelltxt->setEnabled(m && vorgabe && ui.cbxSS_Vorgabe_Gleich->isChecked());
        Enable({ui.cbxSS_Abschneiden_li, ui.cbxSS_Abschneiden_re},
               ui.cbxSS_Abschneiden->isChecked() && ui.cbxSS_Abschneiden->isEnabled());
        ui.cbxSS_Ausschnitt->setEnabled(m);
        Enable({ui.edtSS_AusschnittBegString, ui.lblSS_Ausschnittbis, ui.edtSS_AusschnittEndString,
                ui.lblSS_Ausschnittuebern},
               m && ui.cbxSS_Ausschnitt->isChecked());
        ui.memSS_Formel->setEnabled(ui.cbxSS_Formel->isChecked());
        break;
    }
    case OptionsSheet::String_Zahl: {
        const bool vorgabe = ui.cbxSZ_Vorgabe->isChecked() && !key_;
        ui.cbxSZ_Vorgabe->setEnabled(!key_);
        Enable({ui.edtSZ_Vorgabe_Wert, ui.lblSZ_Vorgabe, ui.cbxSZ_Vorgabe_Gleich, ui.cbxSZ_Vorgabe_Kleiner,
                ui.cbxSZ_Vorgabe_Groesser, ui.edtSZ_Vorgabe_Quelltxt},
               vorgabe);
        Enable({ui.cbxSZ_Div, ui.cbxSZ_Mul}, true);
        ui.edtSZ_DivWert->setEnabled(ui.cbxSZ_Div->isChecked());
        ui.edtSZ_MulWert->setEnabled(ui.cbxSZ_Mul->isChecked());
        const bool formel = ui.cbxSZ_Formel->isChecked();
        Enable({ui.memSZ_Formel, ui.cbxSZ_Runden}, formel);
        ui.edtSZ_Runden->setEnabled(formel && ui.cbxSZ_Runden->isChecked());
        break;
    }
    case OptionsSheet::Zahl_String: {
        const bool vorgabe = ui.cbxZS_Vorgabe->isChecked();
        const bool ueVorgabe = ui.cbxZS_UEVorgabe->isChecked();
        ui.cbxZS_Vorgabe->setEnabled(!key_ && !ueVorgabe);
        ui.cbxZS_UEVorgabe->setEnabled(!key_ && !vorgabe);
        Enable({ui.lblZS_Vorgabe, ui.cbxZS_Vorgabe_Gleich, ui.cbxZS_Vorgabe_Kleiner, ui.cbxZS_Vorgabe_Groesser,
                ui.edtZS_Vorgabe_Quelltxt},
               vorgabe && !key_);
        Enable({ui.lblZS_Vorgabewert, ui.edtZS_Vorgabe_Wert}, (vorgabe || ueVorgabe) && !key_);
        Enable({ui.cbxZS_Abschneiden_li, ui.cbxZS_Abschneiden_re}, ui.cbxZS_Abschneiden->isChecked());
        Enable({ui.cbxZS_Div, ui.cbxZS_Mul}, true);
        ui.edtZS_DivWert->setEnabled(ui.cbxZS_Div->isChecked());
        ui.edtZS_MulWert->setEnabled(ui.cbxZS_Mul->isChecked());
        break;
    }
    case OptionsSheet::Zahl_Zahl: {
        const bool vorgabe = ui.cbxZZ_Vorgabe->isChecked() && !key_;
        ui.cbxZZ_Vorgabe->setEnabled(!key_);
        ui.edtZZ_Vorgabe_Wert->setEnabled(vorgabe);
        Enable({ui.lblZZ_Vorgabe, ui.cbxZZ_Vorgabe_Gleich, ui.cbxZZ_Vorgabe_Kleiner, ui.cbxZZ_Vorgabe_Groesser,
                ui.edtZZ_Vorgabe_Quelltxt},
               m && vorgabe);
        Enable({ui.cbxZZ_Div, ui.cbxZZ_Mul}, m);
        ui.edtZZ_DivWert->setEnabled(m && ui.cbxZZ_Div->isChecked());
        ui.edtZZ_MulWert->setEnabled(m && ui.cbxZZ_Mul->isChecked());
        const bool formel = ui.cbxZZ_Formel->isChecked();
        ui.memZZ_Formel->setEnabled(formel);
        // A mapped number may be rounded as it is; a field without source only rounds what its formula gives.
        const bool runden = m || formel;
        Enable({ui.cbxZZ_Runden, ui.lblZZ_Stellen}, runden);
        ui.edtZZ_Runden->setEnabled(runden && ui.cbxZZ_Runden->isChecked());
        break;
    }
    default:
        break;
    }
}

// ---- click rules of the switch boxes ----

void FieldOptionsPanel::cbxSS_VorgabeClick()
{
    if (!form_.ui->cbxSS_Vorgabe->isChecked())
        Loeschen({"Vorgabewert_alph", "Quellwert_alph", "BedGleich", "BedLeer"});
}

void FieldOptionsPanel::cbxSS_UEVorgabeClick()
{
    if (!form_.ui->cbxSS_UEVorgabe->isChecked())
        Loeschen({"Vorgabewert_alph"});
}

void FieldOptionsPanel::cbxZS_UEVorgabeClick()
{
    if (!form_.ui->cbxZS_UEVorgabe->isChecked())
        Loeschen({"Vorgabewert_alph"});
}

void FieldOptionsPanel::cbxSZ_VorgabeClick()
{
    if (!form_.ui->cbxSZ_Vorgabe->isChecked())
        Loeschen({"Vorgabewert_num", "Quellwert_alph", "BedGleich", "BedKleiner", "BedGroesser"});
}

void FieldOptionsPanel::cbxZS_VorgabeClick()
{
    if (!form_.ui->cbxZS_Vorgabe->isChecked())
        Loeschen({"Vorgabewert_alph", "Quellwert_num", "BedGleich", "BedKleiner", "BedGroesser"});
}

void FieldOptionsPanel::cbxZZ_VorgabeClick()
{
    if (!form_.ui->cbxZZ_Vorgabe->isChecked())
        Loeschen({"Vorgabewert_num", "Quellwert_num", "BedGleich", "BedKleiner", "BedGroesser"});
}

// Dividing and multiplying exclude each other.
void FieldOptionsPanel::DivClick(QCheckBox* div, QCheckBox* mul)
{
    if (div->isChecked()) {
        platform::SetChecked(mul, false);
        Loeschen({"Mul"});
    } else {
        Loeschen({"Div"});
    }
}

void FieldOptionsPanel::MulClick(QCheckBox* div, QCheckBox* mul)
{
    if (mul->isChecked()) {
        platform::SetChecked(div, false);
        Loeschen({"Div"});
    } else {
        Loeschen({"Mul"});
    }
}

void FieldOptionsPanel::cbxSS_FormelClick()
{
    if (!form_.ui->cbxSS_Formel->isChecked())
        Loeschen({"Formel_alph"});
}

void FieldOptionsPanel::FormelNumClick(QCheckBox* formel, QCheckBox* runden)
{
    if (!formel->isChecked()) {
        Loeschen({"Formel_num"});
        platform::SetChecked(runden, false);
    }
}

void FieldOptionsPanel::RundenClick(QCheckBox* runden)
{
    if (!runden->isChecked())
        Loeschen({"Runden"});
}

void FieldOptionsPanel::AbschneidenClick(QCheckBox* abschneiden)
{
    if (!abschneiden->isChecked())
        Loeschen({"Ueberl_abschneid_li", "Ueberl_abschneid_re"});
}

void FieldOptionsPanel::cbxSS_AusschnittClick()
{
    if (!form_.ui->cbxSS_Ausschnitt->isChecked())
        Loeschen({"StringAuswahlBeg", "StringAuswahlEnd"});
}

// ---- rules of the data-aware controls ----

void FieldOptionsPanel::EinerVonZweienClick(QAbstractButton* box, const char* otherColumn)
{
    if (box->isChecked())
        Loeschen({otherColumn});
}

void FieldOptionsPanel::cbxSS_Vorgabe_GleichClick()
{
    if (form_.ui->cbxSS_Vorgabe_Gleich->isChecked())
        Loeschen({"BedLeer"});
    ZustaendeSetzen();
}

void FieldOptionsPanel::cbxSS_Vorgabe_LeerClick()
{
    if (form_.ui->cbxSS_Vorgabe_Leer->isChecked())
        Loeschen({"BedGleich", "Quellwert_alph"});
    ZustaendeSetzen();
}

// At most two of "=", "<" and ">": two make "<=", ">=" or "<>", three would be every value.
void FieldOptionsPanel::BedingungClick(QAbstractButton* box, QAbstractButton* other1, QAbstractButton* other2,
                                       const char* column)
{
    if (!box->isChecked() || !other1->isChecked() || !other2->isChecked())
        return;
    platform::Beep();
    Bearbeiten();
    form_.tblZStrukt.FieldByName(QLatin1String(column))->setAsBoolean(false);
    form_.tblZStrukt.Post();
}

bool FieldOptionsPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && !refusing_)
        Angenommen(static_cast<QLineEdit*>(watched));
    return QObject::eventFilter(watched, event);
}

void FieldOptionsPanel::Angenommen(QLineEdit* edit)
{
    auto* dbEdit = qobject_cast<platform::TDBEdit*>(edit);
    db::Field* field = dbEdit ? dbEdit->DataLink().Field() : nullptr;
    entered_ = edit;
    enteredValue_ = field ? QVariant(field->AsVariant()) : QVariant();
}

void FieldOptionsPanel::Zurueckweisen(QLineEdit* edit, const char* column, const QString& message)
{
    db::Table& z = form_.tblZStrukt;
    refusing_ = true;
    const auto done = qScopeGuard([this] { refusing_ = false; });
    platform::ErrorBox(message);
    Bearbeiten();
    z.FieldByName(QLatin1String(column))->setAsVariant(entered_ == edit ? enteredValue_ : QVariant());
    z.Post();
    edit->selectAll();
    edit->setFocus();
}

void FieldOptionsPanel::edtSS_AusschnittBegStringExit()
{
    db::Table& z = form_.tblZStrukt;
    bool ok = false;
    const int begin = form_.ui->edtSS_AusschnittBegString->text().trimmed().toInt(&ok);
    if (refusing_ || !ok || !z.Active())
        return;
    QLineEdit* edit = form_.ui->edtSS_AusschnittBegString;
    if (begin < 1) {
        Bearbeiten();
        z.FieldByName(QStringLiteral("StringAuswahlBeg"))->setAsInteger(1);
        z.Post();
        Angenommen(edit);
        return;
    }
    // A text source of a declared size has no character beyond it: the run would fail on every record there.
    const QString zuordnung = z.FieldByName(QStringLiteral("Zuordnung"))->AsString();
    const db::Field* quelle =
        zuordnung.isEmpty() || !form_.tblQuelle.Active() ? nullptr : form_.tblQuelle.FindField(zuordnung);
    if (!quelle || quelle->DataType() != db::FieldType::ftString || quelle->Size() <= 0 || begin <= quelle->Size()) {
        Angenommen(edit);
        return;
    }
    const QString size = QString::number(quelle->Size());
    Zurueckweisen(edit, "StringAuswahlBeg",
                  texts::Format(texts::Text(61380), {zuordnung, size, QString::number(begin), size}));
}

void FieldOptionsPanel::VorgabeWertExit(QLineEdit* edit)
{
    db::Table& z = form_.tblZStrukt;
    if (refusing_ || !z.Active() || z.IsEmpty())
        return;
    const QString wert = z.FieldByName(QStringLiteral("Vorgabewert_alph"))->AsString();
    db::Field* typField = z.FieldByName(QStringLiteral("Typ"));
    const int typ = typField->IsNull() ? 0 : typField->AsInteger();
    const auto type = static_cast<db::FieldType>(typ);
    if (wert.isEmpty() || (type != db::FieldType::ftBoolean && type != db::FieldType::ftDate &&
                           type != db::FieldType::ftTime && type != db::FieldType::ftDateTime)) {
        Angenommen(edit);
        return;
    }
    // The run writes the default into the target field as text, as this conversion does.
    const QString feldname = z.FieldByName(QStringLiteral("Feldname"))->AsString();
    const db::FieldDef def{feldname, type, 0, 0, false};
    try {
        db::Field::convert(def, wert);
        Angenommen(edit);
        return;
    } catch (const db::EngineError&) {
    }
    const QDateTime now = QDateTime::currentDateTime();
    QString beispiel;
    switch (type) {
    case db::FieldType::ftDate:
        beispiel = rtl::DateToStr(now.date());
        break;
    case db::FieldType::ftTime:
        beispiel = rtl::TimeToStr(now.time());
        break;
    case db::FieldType::ftDateTime:
        beispiel = rtl::DateTimeToStr(now);
        break;
    default:
        beispiel = QStringLiteral("True");
        break;
    }
    Zurueckweisen(
        edit, "Vorgabewert_alph",
        texts::Format(texts::Text(61381),
                      {wert, feldname, engine::ShownTypbezeichnung(typ, engine::TypeNameTable::ZStrukt), beispiel}));
}

void FieldOptionsPanel::edtSS_AusschnittEndStringExit()
{
    db::Table& z = form_.tblZStrukt;
    bool okEnd = false;
    bool okBegin = false;
    const int end = form_.ui->edtSS_AusschnittEndString->text().trimmed().toInt(&okEnd);
    const int begin = form_.ui->edtSS_AusschnittBegString->text().trimmed().toInt(&okBegin);
    if (!okEnd || !okBegin || end >= begin || !z.Active())
        return;
    platform::Beep();
    Bearbeiten();
    z.FieldByName(QStringLiteral("StringAuswahlEnd"))->setAsVariant(
        z.FieldByName(QStringLiteral("StringAuswahlBeg"))->AsVariant());
    z.Post();
}

// A divisor of 0 would fail every record of the run, and a factor of 0 would wipe the value: both are refused
// and set back to 1, which leaves the value as it is.
void FieldOptionsPanel::FaktorExit(const char* column)
{
    db::Table& z = form_.tblZStrukt;
    if (!z.Active())
        return;
    db::Field* field = z.FieldByName(QLatin1String(column));
    if (field->IsNull() || field->AsFloat() != 0.0)
        return;
    platform::Beep();
    Bearbeiten();
    field->setAsFloat(1.0);
    z.Post();
}

void FieldOptionsPanel::ZoomClick(const QString& formulaColumn)
{
    if (form_.frmFormelEdt)
        form_.frmFormelEdt->editFormula(formulaColumn);
}

}  // namespace wizard::mapping
