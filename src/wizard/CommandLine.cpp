// The command line: one or two files, or "/q" and "/z" with their files, preset the source and target pages;
// "/EN" and "/CSY" alone choose a language module (the main sequence switches it). Nothing here starts a run.
#include "platform/UserInterface.h"
#include "ui_frmImport1.h"
#include "wizard/PageSupport.h"
#include "wizard/frmImport1.h"

#include <QFileInfo>

namespace wizard {

namespace {

bool Exists(const QString& name)
{
    return QFileInfo(name).isFile();
}

// The messages name the file as it was given.
QString NotFound(const QString& subject, const QString& name)
{
    return QStringLiteral("Die per Parameter übergebene %1 \"%2\" existiert leider nicht.").arg(subject, name);
}

QString NotFoundThreeLines(const QString& subject, const QString& name, bool period)
{
    return QStringLiteral("Die per Parameter übergebene ") + subject + kCrLf + u'"' + name + u'"' + kCrLf +
           QStringLiteral("existiert leider nicht") + (period ? QStringLiteral(".") : QString());
}

}  // namespace

void TfrmImport1::ParameterAuswerten()
{
    const QStringList& p = context_.arguments;
    SetChecked(ui->rbtNeueImport, true);

    auto refuse = [](const QString& text) {
        platform::ErrorBox(text);
        return false;
    };
    // The options are compared as written: "/q" or "/Q", no other spelling.
    auto isQ = [](const QString& arg) { return arg == u"/q" || arg == u"/Q"; };
    auto isZ = [](const QString& arg) { return arg == u"/z" || arg == u"/Z"; };

    bool checks = true;  // false after any message: the page checks are then not run
    switch (p.size()) {
    case 1: {
        const QString upper = p[0].toUpper();
        if (upper == u"/EN" || upper == u"/CSY")
            return;
        if (Exists(p[0]))
            ui->edtQuelle->setText(p[0]);
        else
            checks = refuse(NotFound(QStringLiteral("Datei"), p[0]));
        break;
    }
    case 2:
        if (Exists(p[0]) && Exists(p[1])) {
            ui->edtQuelle->setText(p[0]);
            ui->edtZiel->setText(p[1]);
        } else if (isQ(p[0])) {
            if (Exists(p[1]))
                ui->edtQuelle->setText(p[1]);
            else
                checks = refuse(NotFound(QStringLiteral("Datei"), p[1]));
        } else if (isZ(p[0])) {
            if (Exists(p[1]))
                ui->edtZiel->setText(p[1]);
            else
                checks = refuse(NotFound(QStringLiteral("Zieldatei"), p[1]));
        } else {
            checks = refuse(QStringLiteral("Die übergebenen Parameter können weder als Quelldatei") + kCrLf +
                            QStringLiteral("noch als Zieldatei verwendet werden"));
        }
        break;
    case 3:
        if (p[0] == u"!" || p[0] == u"/!") {
            if (!Exists(p[1])) {
                checks = refuse(NotFound(QStringLiteral("Zieldatei"), p[1]));
                break;
            }
            ui->edtZiel->setText(p[1]);
            if (Exists(p[2]))
                ui->edtQuelle->setText(p[2]);
            else
                checks = refuse(NotFound(QStringLiteral("Quelldatei"), p[2]));
        }
        break;
    case 4:
        if (isQ(p[0]) && isZ(p[2])) {
            if (!Exists(p[1])) {
                checks = refuse(NotFoundThreeLines(QStringLiteral("Quelldatei"), p[1], true));
                break;
            }
            ui->edtQuelle->setText(p[1]);
            if (Exists(p[3]))
                ui->edtZiel->setText(p[3]);
            else
                checks = refuse(NotFoundThreeLines(QStringLiteral("Zieldatei"), p[3], true));
        } else if (isZ(p[0]) && isQ(p[2])) {
            if (Exists(p[3]))
                ui->edtQuelle->setText(p[3]);
            else
                checks = refuse(NotFoundThreeLines(QStringLiteral("Quelldatei"), p[3], false));
            // In this order the target is looked at even after the source was refused.
            if (Exists(p[1]))
                ui->edtZiel->setText(p[1]);
            else
                checks = refuse(NotFoundThreeLines(QStringLiteral("Zieldatei"), p[1], true));
        } else {
            checks = refuse(QStringLiteral("Die übergebenen Parameter sind ungültig."));
        }
        break;
    default:
        checks = refuse(QStringLiteral("Die übergebenen Parameter sind ungültig.") + kCrLf + kCrLf +
                        QStringLiteral("Hinweis: Möglicherweise haben Sie") + kCrLf +
                        QStringLiteral("zu viele Parameter eingegeben."));
        break;
    }

    if (!checks)
        return;
    if (!ui->edtQuelle->text().isEmpty())
        QuelldateiPruefen();
    if (!ui->edtZiel->text().isEmpty())
        ZieldateiPruefen();
}

}  // namespace wizard
