#include "wizard/frmInhaltAnz.h"

#include "ui_frmInhaltAnz.h"

#include "db/Table.h"
#include "engine/BriskoRoutines.h"
#include "filter/DBFilterDialog.h"
#include "platform/LocUtils.h"
#include "platform/WindowTexts.h"
#include "texts/Texts.h"

#include <QAbstractButton>
#include <QEvent>
#include <QScreen>
#include <QStackedWidget>
#include <QTabBar>

namespace wizard {

QString DatensaetzeText(int count)
{
    return engine::IntToStrThousands(count) + texts::Text(65271);
}

TfrmInhaltAnz::TfrmInhaltAnz(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfrmInhaltAnz>())
{
    ui->setupUi(this);
    platform::TranslateWindow(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                   | Qt::WindowCloseButtonHint);
    // The tabs are 22 pixels high; the page control is reached by the mouse or by the pages, not by Tab.
    ui->PageControl1->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { height: 22px; }"));
    ui->PageControl1->tabBar()->setFocusPolicy(Qt::ClickFocus);
    ui->PageControl1->tabBar()->installEventFilter(this);
    ui->PageControl1->installEventFilter(this);
    ui->stbInhaltZiel->setPanels({{150, Qt::AlignHCenter}, {50, Qt::AlignLeft}});

    connect(ui->btnInhSchliessen, &QAbstractButton::clicked, this, &TfrmInhaltAnz::btnInhSchliessenClick);
    connect(ui->btnFilter, &QAbstractButton::clicked, this, &TfrmInhaltAnz::btnFilterClick);
    connect(ui->PageControl1, &QTabWidget::currentChanged, this, &TfrmInhaltAnz::PageControl1Change);

    PageControl1Change();
}

TfrmInhaltAnz::~TfrmInhaltAnz() = default;

void TfrmInhaltAnz::setQuelleDataSource(db::DataSource* source)
{
    ui->dbgInhaltQuellDB->setDataSource(source);
}

db::DataSource* TfrmInhaltAnz::QuelleDataSource() const
{
    return ui->dbgInhaltQuellDB->DataSource();
}

void TfrmInhaltAnz::setZielDataSource(db::DataSource* source)
{
    ui->dbgInhaltZielDB->setDataSource(source);
}

db::DataSource* TfrmInhaltAnz::ZielDataSource() const
{
    return ui->dbgInhaltZielDB->DataSource();
}

void TfrmInhaltAnz::setFilterDialog(FilterDialogRun run)
{
    filterDialog_ = std::move(run);
    PageControl1Change();
}

void TfrmInhaltAnz::useFilterDialog(const QString& filterFolder)
{
    FilterDialog_ = std::make_unique<filter::TDBFilterDialog>();
    FilterDialog_->FilterMode = filter::fmFilterDataset;
    FilterDialog_->FilterFolder = filterFolder;
    // The dialog works on the table the source grid shows: the source the run reads, or the copy of an Access
    // table made for it.
    setFilterDialog([dialog = FilterDialog_.get()](db::Table& table) {
        dialog->Caption =
            platform::WindowText(QStringLiteral("TfrmInhaltAnz.FilterDialog")).value_or(QStringLiteral("Quelldatei filtern"));
        dialog->Dataset = &table;
        dialog->Execute();
    });
}

void TfrmInhaltAnz::setWizard(QWidget* frmImport1, QStackedWidget* PageControl1)
{
    frmImport1_ = frmImport1;
    PageControl1_ = PageControl1;
}

void TfrmInhaltAnz::setSheetVisible(QWidget* sheet, bool visible)
{
    ui->PageControl1->setTabVisible(ui->PageControl1->indexOf(sheet), visible);
}

bool TfrmInhaltAnz::isSheetVisible(QWidget* sheet) const
{
    return ui->PageControl1->isTabVisible(ui->PageControl1->indexOf(sheet));
}

void TfrmInhaltAnz::setActiveSheet(QWidget* sheet)
{
    ui->PageControl1->setCurrentWidget(sheet);
}

void TfrmInhaltAnz::setSheetTitle(QWidget* sheet, const QString& title)
{
    ui->PageControl1->setTabText(ui->PageControl1->indexOf(sheet), title);
}

QWidget* TfrmInhaltAnz::activeSheet() const
{
    return ui->PageControl1->currentWidget();
}

void TfrmInhaltAnz::btnInhSchliessenClick()
{
    close();
}

void TfrmInhaltAnz::done(int result)
{
    // Every way of closing ends here: the close button and the system menu (through reject), Escape, close().
    if (isVisible())
        FormClose();
    QDialog::done(result);
}

void TfrmInhaltAnz::FormClose()
{
    setSheetVisible(ui->TabSheet1, true);
    setSheetVisible(ui->TabSheet2, true);
    if (!PageControl1_ || !frmImport1_)
        return;
    const QWidget* page = PageControl1_->currentWidget();
    const QString pageName = page ? page->objectName() : QString();
    // The pages disable their view button while the viewer is open.
    for (const auto& [name, button] : {std::pair{"ImportSeite2", "btnInhaltAnz2"},
                                       {"ImportSeite3", "btnInhaltAnz3"},
                                       {"ImportSeite4", "btnInhaltAnz4"}}) {
        if (pageName == QLatin1String(name)) {
            if (auto* b = frmImport1_->findChild<QAbstractButton*>(QLatin1String(button)))
                b->setEnabled(true);
        }
    }
    // After a run the viewer is the last thing the person looks at.
    if (pageName == QLatin1String("ImportSeite6"))
        QMetaObject::invokeMethod(frmImport1_.data(), &QWidget::close, Qt::QueuedConnection);
}

void TfrmInhaltAnz::btnFilterClick()
{
    db::DataSource* source = QuelleDataSource();
    db::Table* table = source ? source->DataSet() : nullptr;
    if (!filterDialog_ || !table)
        return;
    filterDialog_(*table);
    ui->stbInhaltQuelle->setSimpleText(DatensaetzeText(table->Active() ? table->RecordCount() : 0));
}

void TfrmInhaltAnz::PageControl1Change()
{
    ui->btnFilter->setVisible(filterDialog_ && ui->PageControl1->currentWidget() == ui->TabSheet1);
}

void TfrmInhaltAnz::showEvent(QShowEvent* event)
{
    if (!centred_) {
        centred_ = true;
        if (QScreen* screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}

bool TfrmInhaltAnz::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && (watched == ui->PageControl1 || watched == ui->PageControl1->tabBar()))
        PageControl1Change();
    return QDialog::eventFilter(watched, event);
}

void TfrmInhaltAnz::setZielStatus(const QString& count, bool emptied, bool afterRun)
{
    if (emptied) {
        ui->stbInhaltZiel->setSimplePanel(false);
        ui->stbInhaltZiel->setPanels({{150, Qt::AlignLeft}, {50, Qt::AlignLeft}});
        ui->stbInhaltZiel->setPanelText(0, count);
        ui->stbInhaltZiel->setPanelText(1, texts::Text(afterRun ? 65231 : 65218));
    } else {
        ui->stbInhaltZiel->setSimplePanel(true);
        ui->stbInhaltZiel->setSimpleText(count);
    }
}

}  // namespace wizard
