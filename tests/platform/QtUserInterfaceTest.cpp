#include "platform/QtUserInterface.h"

#include "platform/FileDialogFilter.h"

#include "DialogDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using platform::Button;
using platform::Buttons;
using platform::MessageType;

struct Shown {
    QString title;
    QString text;
    QStringList buttons;  // captions without "&"
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

Shown describe(QWidget* window)
{
    Shown shown;
    auto* box = qobject_cast<QMessageBox*>(window);
    if (!box)
        return shown;
    shown.title = box->windowTitle();
    shown.text = box->text();
    shown.icon = box->icon();
    for (QAbstractButton* b : box->buttons()) {
        QString caption = b->text();
        shown.buttons += caption.remove(u'&');
    }
    shown.buttons.sort();
    return shown;
}

// What a person types into the dialog's name field (selectFile() leaves a focused field alone).
void typeFileName(QFileDialog* dialog, const QString& name)
{
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(name);
}

TEST(QtUserInterface, MessageBoxesShowGermanButtonsAndReturnThePressedOne)
{
    struct Case {
        const char* name;
        MessageType type;
        Buttons buttons;
        QString press;  // a button caption, or "Escape"
        Button expected;
        QString title;
        QStringList captions;
        QMessageBox::Icon icon;
    };
    const Case cases[] = {
        {"error OK", MessageType::Error, Buttons::Ok, QStringLiteral("OK"), Button::Ok, QStringLiteral("Fehler"),
         {QStringLiteral("OK")}, QMessageBox::Critical},
        {"error OK Cancel", MessageType::Error, Buttons::OkCancel, QStringLiteral("Abbrechen"), Button::Cancel,
         QStringLiteral("Fehler"), {QStringLiteral("Abbrechen"), QStringLiteral("OK")}, QMessageBox::Critical},
        {"confirmation No", MessageType::Confirmation, Buttons::YesNo, QStringLiteral("Nein"), Button::No,
         QStringLiteral("Bestätigen"), {QStringLiteral("Ja"), QStringLiteral("Nein")}, QMessageBox::Question},
        {"confirmation Yes", MessageType::Confirmation, Buttons::YesNoCancel, QStringLiteral("Ja"), Button::Yes,
         QStringLiteral("Bestätigen"), {QStringLiteral("Abbrechen"), QStringLiteral("Ja"), QStringLiteral("Nein")},
         QMessageBox::Question},
        {"yes to all", MessageType::Error, Buttons::YesNoCancelYesToAll, QStringLiteral("Ja, alle"),
         Button::YesToAll, QStringLiteral("Fehler"),
         {QStringLiteral("Abbrechen"), QStringLiteral("Ja"), QStringLiteral("Ja, alle"), QStringLiteral("Nein")},
         QMessageBox::Critical},
        {"escape on Yes/No answers No", MessageType::Warning, Buttons::YesNo, QStringLiteral("Escape"), Button::No,
         QStringLiteral("Warnung"), {QStringLiteral("Ja"), QStringLiteral("Nein")}, QMessageBox::Warning},
        {"escape with Cancel answers Cancel", MessageType::Error, Buttons::YesNoCancelYesToAll,
         QStringLiteral("Escape"), Button::Cancel, QStringLiteral("Fehler"),
         {QStringLiteral("Abbrechen"), QStringLiteral("Ja"), QStringLiteral("Ja, alle"), QStringLiteral("Nein")},
         QMessageBox::Critical},
        {"escape on OK answers OK", MessageType::Information, Buttons::Ok, QStringLiteral("Escape"), Button::Ok,
         QStringLiteral("Information"), {QStringLiteral("OK")}, QMessageBox::Information},
    };
    platform::QtUserInterface ui;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Shown shown;
        dialogdriver::onNextModal([&](QWidget* window) {
            shown = describe(window);
            if (c.press == QLatin1String("Escape")) {
                QTest::keyClick(window, Qt::Key_Escape);
            } else if (QAbstractButton* b = dialogdriver::buttonWithCaption(window, c.press)) {
                QTest::mouseClick(b, Qt::LeftButton);
            }
        });
        const Button pressed =
            ui.showMessage({c.type, QStringLiteral("Zeile 1\r\nZeile <b>2</b>"), QString(), c.buttons, 0});
        ASSERT_FALSE(dialogdriver::deadlineHit());
        EXPECT_EQ(pressed, c.expected);
        EXPECT_EQ(shown.title, c.title);
        EXPECT_EQ(shown.buttons, c.captions);
        EXPECT_EQ(shown.icon, c.icon);
        EXPECT_EQ(shown.text, QStringLiteral("Zeile 1\nZeile <b>2</b>"));
    }
}

TEST(QtUserInterface, HelpShowsItsContextAndKeepsTheQuestion)
{
    platform::QtUserInterface ui;
    std::vector<int> helpShown;
    ui.setHelpHandler([&](int context) { helpShown.push_back(context); });
    QStringList captions;
    dialogdriver::onNextModal([&](QWidget* window) {
        captions = describe(window).buttons;
        QTest::mouseClick(dialogdriver::buttonWithCaption(window, QStringLiteral("Hilfe")), Qt::LeftButton);
        dialogdriver::onNextModal([&](QWidget* again) {
            QTest::mouseClick(dialogdriver::buttonWithCaption(again, QStringLiteral("OK")), Qt::LeftButton);
        });
    });
    const Button pressed =
        ui.showMessage({MessageType::Error, QStringLiteral("Startwert"), QStringLiteral("Titel"), Buttons::OkHelp, 17});
    ASSERT_FALSE(dialogdriver::deadlineHit());
    EXPECT_EQ(pressed, Button::Ok);
    EXPECT_EQ(helpShown, std::vector<int>{17});
    EXPECT_EQ(captions, QStringList({QStringLiteral("Hilfe"), QStringLiteral("OK")}));
}

TEST(QtUserInterface, PlainMessageCarriesTheApplicationTitle)
{
    platform::QtUserInterface ui;
    QApplication::setApplicationDisplayName(QStringLiteral("Import Test"));
    QString title;
    dialogdriver::onNextModal([&](QWidget* window) {
        title = window->windowTitle();
        QTest::keyClick(window, Qt::Key_Return);
    });
    EXPECT_EQ(ui.showMessage({MessageType::Plain, QStringLiteral("Hallo"), QString(), Buttons::Ok, 0}), Button::Ok);
    EXPECT_EQ(title, QStringLiteral("Import Test"));
    QApplication::setApplicationDisplayName(QString());
}

TEST(QtUserInterface, FileDialogsReturnTheChosenPathOrNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile(dir.filePath(QStringLiteral("KUNDEN.DB"))).open(QIODevice::WriteOnly);

    platform::QtUserInterface ui;
    platform::FileDialogRequest request;
    request.title = QStringLiteral("Zieldatenbank auswählen");
    request.filter = QStringLiteral("Alle Dateien (*.*)          |*.*|Paradox (*.db)              |*.db");
    request.filterIndex = 2;
    request.initialDir = dir.path();
    request.options = platform::PathMustExist | platform::FileMustExist;

    struct Seen {
        QString title;
        QStringList filters;
        QString selectedFilter;
        QString directory;
        bool existingOnly = false;
    } seen;
    dialogdriver::onNextModal([&](QWidget* window) {
        auto* dialog = qobject_cast<QFileDialog*>(window);
        ASSERT_NE(dialog, nullptr);
        seen = {dialog->windowTitle(), dialog->nameFilters(), dialog->selectedNameFilter(),
                dialog->directory().absolutePath(), dialog->fileMode() == QFileDialog::ExistingFile};
        dialog->selectFile(QStringLiteral("KUNDEN.DB"));
        typeFileName(dialog, QStringLiteral("KUNDEN.DB"));
        static_cast<QDialog*>(dialog)->accept();
    });
    EXPECT_EQ(ui.fileDialog(platform::FileDialogKind::Open, request), dir.filePath(QStringLiteral("KUNDEN.DB")));
    EXPECT_EQ(seen.title, request.title);
    EXPECT_EQ(seen.filters, platform::qtNameFilters(request.filter));
    // The dialog shows the descriptions alone; the second entry was asked for.
    EXPECT_EQ(seen.selectedFilter, QStringLiteral("Paradox (*.db)"));
    EXPECT_EQ(seen.directory, QDir(dir.path()).absolutePath());
    EXPECT_TRUE(seen.existingOnly);

    dialogdriver::onNextModal([](QWidget* window) { qobject_cast<QDialog*>(window)->reject(); });
    EXPECT_TRUE(ui.fileDialog(platform::FileDialogKind::Save, request).isEmpty());
    ASSERT_FALSE(dialogdriver::deadlineHit());
}

TEST(QtUserInterface, SaveDialogRefusesAFolderThatDoesNotExist)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    platform::QtUserInterface ui;
    platform::FileDialogRequest request;
    request.initialDir = dir.path();
    request.options = platform::PathMustExist;
    int shown = 0;
    const QString missing = dir.filePath(QStringLiteral("fehlt/Kopie.DB"));
    const QString good = dir.filePath(QStringLiteral("Kopie.DB"));
    std::function<void(QWidget*)> answer = [&](QWidget* window) {
        auto* dialog = qobject_cast<QFileDialog*>(window);
        ++shown;
        if (shown == 1) {
            dialogdriver::onNextModal(answer);
            typeFileName(dialog, missing);
        } else {
            typeFileName(dialog, good);
        }
        static_cast<QDialog*>(dialog)->accept();
    };
    dialogdriver::onNextModal(answer);
    EXPECT_EQ(ui.fileDialog(platform::FileDialogKind::Save, request), good);
    EXPECT_EQ(shown, 2);
}

TEST(QtUserInterface, InputBoxGivesTheTextOrNothing)
{
    platform::QtUserInterface ui;
    struct Case {
        const char* name;
        bool accept;
        std::optional<QString> expected;
    };
    const Case cases[] = {
        {"OK", true, QStringLiteral("Kopie von Artikel")},
        {"Cancel", false, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString title, label, start;
        dialogdriver::onNextModal([&](QWidget* window) {
            auto* dialog = qobject_cast<QInputDialog*>(window);
            ASSERT_NE(dialog, nullptr);
            title = dialog->windowTitle();
            label = dialog->labelText();
            start = dialog->textValue();
            dialog->setTextValue(QStringLiteral("Kopie von Artikel"));
            if (c.accept)
                static_cast<QDialog*>(dialog)->accept();
            else
                dialog->reject();
        });
        EXPECT_EQ(ui.inputBox({QStringLiteral("Import umbenennen"), QStringLiteral("Neue Bezeichnung"),
                               QStringLiteral("Artikel")}),
                  c.expected);
        EXPECT_EQ(title, QStringLiteral("Import umbenennen"));
        EXPECT_EQ(label, QStringLiteral("Neue Bezeichnung"));
        EXPECT_EQ(start, QStringLiteral("Artikel"));
    }
}

}  // namespace
