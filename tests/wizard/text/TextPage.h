#pragma once

#include "db/BatchMove.h"
#include "db/Table.h"
#include "engine/EngineContext.h"
#include "engine/Textimport.h"
#include "engine/TextimportFixLen.h"
#include "wizard/text/CharacterGrid.h"
#include "wizard/text/GaugeTextProgress.h"
#include "wizard/text/TextimportFixLenPage.h"
#include "wizard/text/TextFileView.h"
#include "wizard/text/TextimportPage.h"

#include <QByteArray>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTableWidget>
#include <QTemporaryDir>
#include <vector>

// The controls of the text pages as standalone widgets, wired into the struct the page logic takes, with a
// program folder of its own (so Temp lies in a temporary folder).
class TextPage {
public:
    TextPage();
    ~TextPage();

    // Writes bytes as the source file (name inside the program folder's sibling folder), loads the page's view of it
    // and puts its name into edtQuelle.
    QString setSource(const QByteArray& bytes, const QString& fileName = QStringLiteral("kunden.txt"));

    // Rows of the column grid: each row's cells, row 0 being the headers.
    std::vector<QStringList> gridRows() const;
    QStringList headers() const;

    // A settings list with one row whose ColNames is given, as the current row of tblImpList.
    void useStoredSetting(const QString& colNames);

    QTemporaryDir program;
    QTemporaryDir sources;
    engine::EngineContext context{program.path()};

    QLineEdit edtQuelle;
    wizard::TextFileView retQuellDat;
    QTableWidget stgQuellDatVar;
    wizard::CharacterGrid stgQuellDatFix;
    QLabel lblVorschauVorber;
    QCheckBox cbxErsteZeile, cbxKomma, cbxTab, cbxSpace, cbxSemic, cbxAndere, cbxDosToWin;
    QLineEdit edtAndere;
    QComboBox comDelimiter;
    QRadioButton rbtNeueImport;
    QPushButton btnErste, btnLinks, btnRechts, btnLetzte;
    QLineEdit edtRenCols;
    db::Table tblImpList, tblZSP, tblQuelle;
    engine::StagedRecords staged;
    db::BatchMove BMV;
    engine::SeparatorSet separators;
    engine::ColumnBoundaryList boundaries;
    int AktSpalte = -1;
    wizard::TextImportControls controls;
};

// The whole road of the page's Weiter on the column sheet, without the structure reader: staging table from the
// headers, the file read, the source table sized. Separated unless fixedWidth.
void importThroughStaging(TextPage& page, bool fixedWidth = false);
