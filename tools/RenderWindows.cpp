// Renders the program's windows with sample data into PNG files, for looking at a change before it is called done:
//     RenderWindows <output folder>
// Runs on the offscreen platform; the sample tables live in a temporary folder.
#include "db/DataSource.h"
#include "db/Table.h"
#include "engine/WorkingTables.h"
#include "platform/DataControls.h"
#include "rtl/FormatSettings.h"
#include "ui_frmInhaltAnz.h"
#include "ui_frmQOptionen.h"
#include "wizard/frmInhaltAnz.h"
#include "wizard/frmQOptionen.h"

#include <QApplication>
#include <QDate>
#include <QAbstractItemView>
#include <QDir>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <cstdio>
#include <exception>

namespace {

db::FieldDef field(const char* name, db::FieldType type, int size = 0)
{
    db::FieldDef def;
    def.name = QLatin1String(name);
    def.type = type;
    def.size = size;
    return def;
}

void makeTable(db::Table& table, const QString& path, int records)
{
    table.setTableName(path);
    table.FieldDefs().assign({field("Nr", db::FieldType::ftInteger), field("Name", db::FieldType::ftString, 30),
                              field("Ort", db::FieldType::ftString, 25), field("Umsatz", db::FieldType::ftFloat),
                              field("Kunde seit", db::FieldType::ftDate)},
                             1);
    table.CreateTable();
    table.Open();
    const char* names[] = {"Müller GmbH", "Schulze & Söhne", "Weiß KG", "Bäckerei Huber", "Fischer AG"};
    const char* places[] = {"Köln", "München", "Düsseldorf", "Straße am Ring", "Görlitz"};
    for (int i = 1; i <= records; ++i) {
        table.Append();
        table.Fields(0)->setAsInteger(i);
        table.Fields(1)->setAsString(QString::fromUtf8(names[i % 5]));
        table.Fields(2)->setAsString(QString::fromUtf8(places[i % 7 % 5]));
        table.Fields(3)->setAsFloat(i * 113.25);
        table.Fields(4)->setAsDateTime(QDateTime(QDate(1998, 1, 1).addDays(i * 3), QTime()));
        table.Post();
    }
    table.First();
}

bool save(QWidget& window, const QDir& out, const QString& name)
{
    const QString path = out.filePath(name + QStringLiteral(".png"));
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: RenderWindows <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    QTemporaryDir data;
    bool ok = true;
    try {
        rtl::formatSettings().ThousandSeparator = u'.';
        rtl::formatSettings().DecimalSeparator = u',';
        db::Table quelle, ziel;
        makeTable(quelle, QDir(data.path()).filePath(QStringLiteral("Kunden.DB")), 1234);
        makeTable(ziel, QDir(data.path()).filePath(QStringLiteral("Adressen.DB")), 12);
        db::DataSource dscQuelle, dscZiel;
        dscQuelle.setDataSet(&quelle);
        dscZiel.setDataSet(&ziel);

        wizard::TfrmInhaltAnz viewer;
        viewer.setQuelleDataSource(&dscQuelle);
        viewer.setZielDataSource(&dscZiel);
        viewer.setFilterDialog([](db::Table&) {});
        viewer.ui->TabSheet1->setWindowTitle(QString());
        viewer.ui->PageControl1->setTabText(0, QStringLiteral("Quelldatenbank: Kunden.DB"));
        viewer.ui->PageControl1->setTabText(1, QStringLiteral("Zieldatenbank: Adressen.DB"));
        viewer.ui->stbInhaltQuelle->setSimpleText(wizard::DatensaetzeText(quelle.RecordCount()));
        viewer.ui->stbInhaltZiel->setSimplePanel(false);
        viewer.ui->stbInhaltZiel->setPanelText(0, wizard::DatensaetzeText(ziel.RecordCount()));
        viewer.ui->stbInhaltZiel->setPanelText(1, QStringLiteral("Datenbankinhalt wird vor dem Importlauf gelöscht!"));
        viewer.ui->retEditor->setPlainText(
            QStringLiteral("Nr;Name;Ort;Umsatz\n1;Müller GmbH;Köln;113,25\n2;Schulze & Söhne;München;226,50\n"));
        viewer.ui->stbInhaltText->setSimpleText(QStringLiteral("3 Zeilen"));
        viewer.show();
        ok &= save(viewer, out, QStringLiteral("frmInhaltAnz-Quelle"));
        QKeyEvent ctrlEnd(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
        QApplication::sendEvent(viewer.ui->dbgInhaltQuellDB, &ctrlEnd);
        ok &= save(viewer, out, QStringLiteral("frmInhaltAnz-Quelle-Ende"));
        viewer.setActiveSheet(viewer.ui->TabSheet2);
        ok &= save(viewer, out, QStringLiteral("frmInhaltAnz-Ziel"));
        viewer.setActiveSheet(viewer.ui->TabSheet3);
        ok &= save(viewer, out, QStringLiteral("frmInhaltAnz-Text"));
        viewer.hide();

        // The settings list of the start page, dropped down.
        db::Table tblImpList;
        tblImpList.setTableName(QDir(data.path()).filePath(engine::ImpListFileName));
        tblImpList.FieldDefs().assign(engine::ImpListFields(), engine::ImpListKeyFieldCount);
        tblImpList.CreateTable();
        tblImpList.Open();
        for (int i = 1; i <= 12; ++i) {
            tblImpList.Append();
            tblImpList.FieldByName(QStringLiteral("Bezeichnung"))->setAsString(QStringLiteral("Kunden %1").arg(i));
            tblImpList.FieldByName(QStringLiteral("Quelldatei"))
                ->setAsString(QStringLiteral("C:\\Daten\\Kunden%1.txt").arg(i));
            tblImpList.FieldByName(QStringLiteral("Zieldatei"))->setAsString(QStringLiteral("C:\\FR\\KUNDEN.DB"));
            tblImpList.Post();
        }
        db::DataSource dscImpList;
        dscImpList.setDataSet(&tblImpList);
        QWidget page;
        page.resize(300, 60);
        platform::TDBLookupComboBox comVorh_Einstellg(&page);
        comVorh_Einstellg.setGeometry(10, 10, 200, comVorh_Einstellg.sizeHint().height());
        comVorh_Einstellg.setListSource(&dscImpList);
        comVorh_Einstellg.setKeyField(QStringLiteral("Bezeichnung"));
        comVorh_Einstellg.setListField(QStringLiteral("Bezeichnung;QuellDatei;ZielDatei"));
        comVorh_Einstellg.setDropDownRows(10);
        comVorh_Einstellg.setKeyValue(QStringLiteral("Kunden 3"));
        page.show();
        ok &= save(page, out, QStringLiteral("comVorh_Einstellg"));
        comVorh_Einstellg.showPopup();
        ok &= save(*comVorh_Einstellg.view()->window(), out, QStringLiteral("comVorh_Einstellg-offen"));
        comVorh_Einstellg.hidePopup();

        wizard::TfrmQOptionen options;
        options.show();
        ok &= save(options, out, QStringLiteral("frmQOptionen"));
        options.hide();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return ok ? 0 : 1;
}
