// What a screen reader finds in the program: every window the program makes and every page of it, reached the way
// the accessibility bus reaches them (Qt's accessible interfaces), in every language; and names that follow their
// texts when the program changes them.
#include "ShellTestSupport.h"

#include "engine/ImportRunObserver.h"
#include "platform/AccessibleNames.h"
#include "platform/ErrorReportWindow.h"
#include "platform/HelpViewer.h"
#include "platform/LocUtils.h"
#include "platform/ScriptedUi.h"
#include "texts/Texts.h"
#include "ui_frmImport1.h"
#include "ui_frmInhaltAnz.h"
#include "wizard/ImportProgram.h"
#include "wizard/frmGauge.h"
#include "wizard/frmImport1.h"
#include "wizard/frmInhaltAnz.h"
#include "wizard/frmSplashScreen.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QString NameOf(QWidget* widget)
{
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

QString CaptionOf(const QWidget* widget)
{
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    return {};
}

// Whether the bus says that label labels control (how Qt hands a combo box's label on, whose name is its value).
bool Labels(QLabel* label, QWidget* control)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(control);
    for (const auto& [other, relation] : iface->relations(QAccessible::Label))
        if (other->object() == label)
            return true;
    return false;
}

// What is wrong with the window as it is shown now, one line a fault.
QStringList FaultsOf(QWidget* window)
{
    QStringList faults;
    for (const platform::AccessibleNode& node : platform::AccessibleTree(window)) {
        auto* widget = qobject_cast<QWidget*>(node.object);
        if (node.invisible || !widget)
            continue;
        const QString where = window->objectName() + u'/' + widget->objectName() + u' ' +
                              platform::RoleName(node.role) + QStringLiteral(" \"") + node.name + u'"';
        if (widget == window && node.role != QAccessible::Window && node.role != QAccessible::Dialog)
            faults << where + QStringLiteral(": a window that is neither frame nor dialog");
        if (widget != window &&
            (node.role == QAccessible::Window || node.role == QAccessible::Dialog || node.role == QAccessible::Border))
            faults << where + QStringLiteral(": a part of a window heard as a window");
        if (!widget->objectName().isEmpty() && node.name == widget->objectName() &&
            platform::ReadText(CaptionOf(widget)) != node.name)
            faults << where + QStringLiteral(": heard by its object name");
        const QString read = platform::ReadName(widget);
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            if (QLabel* label = platform::BuddyLabelOf(combo); label && !Labels(label, combo))
                faults << where + QStringLiteral(": its label is not handed on");
        } else if (!read.isEmpty() && node.name.simplified() != read) {
            faults << where + QStringLiteral(": a person reads \"") + read + u'"';
        }
        if (QLabel* hint = platform::BuddyLabelOf(widget); hint && !CaptionOf(widget).isEmpty() &&
                                                           !qobject_cast<QLabel*>(widget) &&
                                                           node.description != platform::ReadText(hint->text()))
            faults << where + QStringLiteral(": described as \"") + node.description + u'"';
    }
    return faults;
}

// Makes page the one shown, and the pages that hold it too.
void BringForward(QWidget* page)
{
    for (QWidget* child = page; child && !child->isWindow(); child = child->parentWidget()) {
        auto* stack = qobject_cast<QStackedWidget*>(child->parentWidget());
        if (!stack)
            continue;
        if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget())) {
            tabs->setTabVisible(tabs->indexOf(child), true);
            tabs->setCurrentWidget(child);
        } else {
            stack->setCurrentWidget(child);
        }
    }
}

// The window shown, then each page of every page control in it in turn.
QStringList FaultsOfEveryPage(QWidget* window)
{
    window->show();
    QApplication::processEvents();
    QStringList faults = FaultsOf(window);
    for (QStackedWidget* stack : window->findChildren<QStackedWidget*>()) {
        for (int i = 0; i < stack->count(); ++i) {
            BringForward(stack->widget(i));
            QApplication::processEvents();
            faults << FaultsOf(window);
        }
    }
    window->hide();
    faults.removeDuplicates();
    return faults;
}

// The program as a person starts it, in one of its languages (the module in the current folder, switch on the
// command line).
struct Program {
    explicit Program(const QString& language)
    {
        QDir().mkpath(folders.path("work"));
        QDir::setCurrent(folders.path("work"));
        QStringList arguments;
        if (language != u"DE") {
            QFile::copy(QStringLiteral(IMPORT_PROGRAM_DIR "/Import.") + language,
                        folders.path("work/Import." + language));
            arguments << u'/' + language;
        }
        context = folders.context(arguments);
        program = std::make_unique<wizard::ImportProgram>(context);
        EXPECT_TRUE(program->Start(0));
        form = program->frmImport1();
        w = form->ui.get();
    }
    ~Program()
    {
        program.reset();
        platform::LocUtilsInstance().ResetResourceLibrary();
        QDir::setCurrent(previous);
    }
    // Runs check while the about box stands.
    void withAboutBox(const std::function<void(QWidget& about)>& check)
    {
        QTimer::singleShot(0, [check] {
            QWidget* about = QApplication::activeModalWidget();
            ASSERT_NE(about, nullptr);
            check(*about);
            about->close();
        });
        form->InfoAnzeigen();
    }

    const QString previous = QDir::currentPath();
    ShellFolders folders;
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed{ui};
    wizard::ProgramContext context;
    std::unique_ptr<wizard::ImportProgram> program;
    wizard::TfrmImport1* form = nullptr;
    Ui::TfrmImport1* w = nullptr;
};

TEST(Accessibility, EveryWindowAndPageIsReadAsAPersonReadsItInEveryLanguage)
{
    for (const QString language : {"DE", "EN", "CSY"}) {
        SCOPED_TRACE(language.toStdString());
        Program p(language);
        // Every window the program has made, and those it makes when asked for.
        std::vector<QWidget*> windows;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (!window->objectName().isEmpty() && !window->objectName().startsWith(u"qt_") &&
                window->windowType() != Qt::Popup && window->windowType() != Qt::ToolTip)
                windows.push_back(window);
        platform::ErrorReportWindow errorReport;
        errorReport.setReport({QStringLiteral("Die Datei KUNDEN.DB ist gesperrt."), QStringLiteral("db::EngineError"),
                               QStringLiteral("#0 db::Table::Open()")});
        platform::HelpViewer help;
        windows.push_back(&errorReport);
        windows.push_back(&help);
        EXPECT_GE(windows.size(), 10u);
        for (QWidget* window : windows) {
            SCOPED_TRACE(window->objectName().toStdString());
            EXPECT_EQ(FaultsOfEveryPage(window).join(u'\n').toStdString(), "");
        }
        p.withAboutBox([](QWidget& about) { EXPECT_EQ(FaultsOf(&about).join(u'\n').toStdString(), ""); });
        // What a person reads where Qt alone would read it otherwise.
        EXPECT_EQ(QAccessible::queryAccessibleInterface(p.form)->role(), QAccessible::Window);
        EXPECT_EQ(NameOf(p.w->edtZiel), platform::ReadText(p.w->lblZiel->text()));
        EXPECT_FALSE(NameOf(p.w->edtZiel).contains(u'\n'));
        if (language == u"DE") {
            EXPECT_TRUE(NameOf(p.w->edtQuelle).contains(" der Quelldatei ein, oder"))
                << NameOf(p.w->edtQuelle).toStdString();
        }
        EXPECT_EQ(NameOf(p.w->ImportSeite3), platform::ReadText(p.w->Label7->text()));
        // The text page's file view and grids have no label: they are heard by their tool tips, in the language.
        for (QWidget* unlabelled : {static_cast<QWidget*>(p.w->retQuellDat), static_cast<QWidget*>(p.w->stgQuellDatFix),
                                    static_cast<QWidget*>(p.w->stgQuellDatVar)}) {
            SCOPED_TRACE(unlabelled->objectName().toStdString());
            EXPECT_FALSE(unlabelled->toolTip().isEmpty());
            EXPECT_EQ(NameOf(unlabelled), unlabelled->toolTip());
        }
        if (language == u"EN") {
            EXPECT_EQ(NameOf(p.w->stgQuellDatVar), "Preview of the columns");
        }
        // Pages without a heading, and the quick choices beside the file names, are named by window texts of their
        // own: translated, and neither empty nor the object's name.
        for (QWidget* page : {p.w->ImportSeite4, p.w->TXTDatensatzlaenge, p.w->TXTFix, p.w->TXTVariabel}) {
            SCOPED_TRACE(page->objectName().toStdString());
            EXPECT_FALSE(NameOf(page).isEmpty());
            EXPECT_NE(NameOf(page), page->objectName());
        }
        if (language == u"EN") {
            EXPECT_EQ(NameOf(p.w->ImportSeite4), "Assign fields");
        }
        for (QComboBox* choice : {p.w->comQuelle, p.w->comZiel}) {
            SCOPED_TRACE(choice->objectName().toStdString());
            EXPECT_FALSE(choice->toolTip().isEmpty());
            EXPECT_EQ(choice->accessibleName(), choice->toolTip());
            // On this platform the bus hands a combo box's value on as its name: the tool tip comes as its description.
            EXPECT_EQ(QAccessible::queryAccessibleInterface(choice)->text(QAccessible::Description), choice->toolTip());
        }
        if (language == u"CSY") {
            EXPECT_NE(p.w->comQuelle->toolTip(), "Schnellauswahl der Quelldatei");
        }
        // The viewer's grids and text view fill their tabs: each is heard by its tab's title.
        wizard::TfrmInhaltAnz* viewer = p.program->frmInhaltAnz();
        QTabWidget* tabs = viewer->ui->PageControl1;
        for (QWidget* shown : {static_cast<QWidget*>(viewer->ui->dbgInhaltQuellDB),
                               static_cast<QWidget*>(viewer->ui->dbgInhaltZielDB),
                               static_cast<QWidget*>(viewer->ui->retEditor)}) {
            SCOPED_TRACE(shown->objectName().toStdString());
            QWidget* page = shown->parentWidget();
            while (tabs->indexOf(page) < 0)
                page = page->parentWidget();
            EXPECT_FALSE(tabs->tabText(tabs->indexOf(page)).isEmpty());
            EXPECT_EQ(NameOf(shown).toStdString(), platform::ReadText(tabs->tabText(tabs->indexOf(page))).toStdString());
        }
    }
}

TEST(Accessibility, NamesFollowTheirTextsWhenTheProgramChangesThem)
{
    struct Case {
        const char* name;
        std::function<void(Program&)> change;
        std::function<QWidget*(Program&)> control;
        std::function<QString(Program&)> read;  // what a person reads there afterwards
    };
    const QString database = QStringLiteral("Kunden.mdb");
    const std::vector<Case> cases = {
        {"Access page heading and the list it names",
         [database](Program& p) {
             p.w->PageControl1->setCurrentWidget(p.w->ImportSeiteAdo);
             p.w->Label12->setText(texts::Format(texts::Text(64925), {database}));
         },
         [](Program& p) { return p.w->ImportSeiteAdo; },
         [database](Program&) { return texts::Format(texts::Text(64925), {database}); }},
        {"the list under that heading",
         [database](Program& p) {
             p.w->PageControl1->setCurrentWidget(p.w->ImportSeiteAdo);
             p.w->Label12->setText(texts::Format(texts::Text(64925), {database}));
         },
         [](Program& p) { return p.w->lbxTables; },
         [database](Program&) { return texts::Format(texts::Text(64925), {database}); }},
        {"a viewer tab's caption",
         [](Program& p) {
             auto* tabs = p.program->frmInhaltAnz()->ui->PageControl1;
             p.program->frmInhaltAnz()->show();
             tabs->setTabText(tabs->indexOf(p.program->frmInhaltAnz()->ui->TabSheet1), "Quelldatei: KUNDEN.DB");
         },
         [](Program& p) { return p.program->frmInhaltAnz()->ui->TabSheet1; },
         [](Program&) { return QStringLiteral("Quelldatei: KUNDEN.DB"); }},
        {"the progress window's button once the run offers to close",
         [](Program& p) {
             wizard::TfrmGauge* gauge = p.program->frmGauge();
             gauge->Show();
             gauge->runStarts(QStringLiteral("Datensätze werden importiert"), 120);
             gauge->closeOffered();
         },
         [](Program& p) { return p.program->frmGauge()->btnGaugeAbbrechen; },
         [](Program&) { return platform::ReadText(texts::Text(65269)); }},
        {"the progress window's running text broken over lines, read as one sentence",
         [](Program& p) {
             wizard::TfrmGauge* gauge = p.program->frmGauge();
             gauge->runStarts(texts::Text(65209), 120);
             gauge->runningText(texts::Text(65209) + texts::Text(65279));
         },
         [](Program& p) -> QWidget* { return p.program->frmGauge()->Label1; },
         [](Program&) { return platform::ReadText(texts::Text(65209) + texts::Text(65279)); }},
        {"a running text on one line after one broken over lines, while the window's names are taken in anew",
         [](Program& p) {
             wizard::TfrmGauge* gauge = p.program->frmGauge();
             gauge->runStarts(texts::Text(65209), 120);
             QApplication::processEvents();
             gauge->runningText(texts::Text(65230));
             platform::NameAccessibly(gauge);
         },
         [](Program& p) -> QWidget* { return p.program->frmGauge()->Label1; },
         [](Program&) { return texts::Text(65230); }},
        {"the progress bar, named by the running text",
         [](Program& p) { p.program->frmGauge()->runStarts(texts::Text(65209), 120); },
         [](Program& p) -> QWidget* { return p.program->frmGauge()->Gauge1; },
         [](Program&) { return platform::ReadText(texts::Text(65209)); }},
        {"a viewer grid, named by its tab's caption",
         [](Program& p) {
             auto* tabs = p.program->frmInhaltAnz()->ui->PageControl1;
             p.program->frmInhaltAnz()->show();
             tabs->setTabText(tabs->indexOf(p.program->frmInhaltAnz()->ui->TabSheet2), "Zieldatei: ARTIKEL.DB");
             tabs->setCurrentWidget(p.program->frmInhaltAnz()->ui->TabSheet2);
         },
         [](Program& p) -> QWidget* { return p.program->frmInhaltAnz()->ui->dbgInhaltZielDB; },
         [](Program&) { return QStringLiteral("Zieldatei: ARTIKEL.DB"); }},
        {"the progress window's counter during the run",
         [](Program& p) {
             wizard::TfrmGauge* gauge = p.program->frmGauge();
             gauge->Show();
             gauge->runStarts(QStringLiteral("Datensätze werden importiert"), 120);
             engine::ImportCounts counts;
             counts.AnzHinzu = 117;
             counts.Summe = 120;
             gauge->counts(counts);
             gauge->messageRound();
         },
         [](Program& p) { return p.program->frmGauge()->lblAnzHinzu; },
         [](Program& p) { return p.program->frmGauge()->lblAnzHinzu->text(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Program p(QStringLiteral("DE"));
        QWidget* control = c.control(p);
        const QString before = NameOf(control);
        c.change(p);
        QApplication::processEvents();
        EXPECT_NE(NameOf(control), before);
        EXPECT_EQ(NameOf(control).toStdString(), c.read(p).toStdString());
        p.program->frmGauge()->Close();
    }
    // The about box: its name and its version line are set after the box is made.
    Program p(QStringLiteral("DE"));
    p.withAboutBox([](QWidget& about) {
        auto& box = static_cast<wizard::TfrmSplashScreen&>(about);
        EXPECT_EQ(NameOf(&box), wizard::TfrmImport1::ProgrammTitel);
        EXPECT_EQ(NameOf(box.lblProduktName), wizard::TfrmImport1::ProgrammTitel);
        EXPECT_TRUE(NameOf(box.lblVersion).startsWith(texts::Text(65251) + u' '))
            << NameOf(box.lblVersion).toStdString();
        EXPECT_EQ(QAccessible::queryAccessibleInterface(&box)->role(), QAccessible::Dialog);
    });
}

}  // namespace
