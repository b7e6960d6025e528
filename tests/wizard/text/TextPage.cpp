#include "TextPage.h"

#include "engine/TextScanner.h"
#include "engine/WorkingTables.h"
#include "wizard/text/PreviewGrid.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TextPage::TextPage()
{
    comDelimiter.addItems({QStringLiteral("(keine)"), QStringLiteral("\""), QStringLiteral("'")});
    rbtNeueImport.setAutoExclusive(false);  // alone here, without the page's other start choices
    rbtNeueImport.setChecked(true);
    cbxSemic.setChecked(true);
    controls.edtQuelle = &edtQuelle;
    controls.retQuellDat = &retQuellDat;
    controls.stgQuellDatVar = &stgQuellDatVar;
    controls.stgQuellDatFix = &stgQuellDatFix;
    controls.lblVorschauVorber = &lblVorschauVorber;
    controls.cbxErsteZeile = &cbxErsteZeile;
    controls.cbxKomma = &cbxKomma;
    controls.cbxTab = &cbxTab;
    controls.cbxSpace = &cbxSpace;
    controls.cbxSemic = &cbxSemic;
    controls.cbxAndere = &cbxAndere;
    controls.edtAndere = &edtAndere;
    controls.comDelimiter = &comDelimiter;
    controls.rbtNeueImport = &rbtNeueImport;
    controls.btnErste = &btnErste;
    controls.btnLinks = &btnLinks;
    controls.btnRechts = &btnRechts;
    controls.btnLetzte = &btnLetzte;
    controls.edtRenCols = &edtRenCols;
    controls.cbxDosToWin = &cbxDosToWin;
    controls.tblImpList = &tblImpList;
    controls.tblZSP = &tblZSP;
    controls.staged = &staged;
    controls.tblQuelle = &tblQuelle;
    controls.BMV = &BMV;
    controls.separators = &separators;
    controls.boundaries = &boundaries;
    controls.AktSpalte = &AktSpalte;
    controls.engine = &context;
}

TextPage::~TextPage()
{
    tblZSP.Close();
    tblQuelle.Close();
    tblImpList.Close();
}

QString TextPage::setSource(const QByteArray& bytes, const QString& fileName)
{
    const QString path = QDir(sources.path()).filePath(fileName);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    retQuellDat.loadFile(path);
    edtQuelle.setText(path);
    return path;
}

std::vector<QStringList> TextPage::gridRows() const
{
    std::vector<QStringList> rows;
    for (int r = 0; r < wizard::grid::RowCount(&stgQuellDatVar); ++r) {
        QStringList cells;
        for (int c = 0; c < wizard::grid::ColCount(&stgQuellDatVar); ++c)
            cells << wizard::grid::Cell(&stgQuellDatVar, c, r);
        rows.push_back(cells);
    }
    return rows;
}

QStringList TextPage::headers() const
{
    return gridRows().at(0);
}

void TextPage::useStoredSetting(const QString& colNames)
{
    rbtNeueImport.setChecked(false);
    tblImpList.setTableName(QDir(program.path()).filePath(engine::ImpListFileName));
    tblImpList.FieldDefs().assign(engine::ImpListFields(), engine::ImpListKeyFieldCount);
    tblImpList.CreateTable();
    tblImpList.Open();
    tblImpList.Append();
    tblImpList.FieldByName(QStringLiteral("Bezeichnung"))->setAsString(QStringLiteral("Kunden"));
    tblImpList.FieldByName(QStringLiteral("ColNames"))->setAsString(colNames);
    tblImpList.Post();
}

void importThroughStaging(TextPage& page, bool fixedWidth)
{
    wizard::ZSPTabelleAnlegen(page.controls);
    if (fixedWidth)
        wizard::FixLenDateiEinlesen(page.controls);
    else
        wizard::TrennzeichenDateiEinlesen(page.controls, page.edtQuelle.text(), page.tblZSP, page.cbxDosToWin.isChecked());
    wizard::FeldgroessenDefinieren(page.controls);
}
