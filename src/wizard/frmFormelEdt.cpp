#include "wizard/frmFormelEdt.h"

#include "platform/WindowTexts.h"

namespace wizard {

TfrmFormelEdt::TfrmFormelEdt(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFormelEdt"));
    setWindowTitle(QStringLiteral("Formeleditor"));
    resize(400, 206);
    platform::TranslateWindow(this);
}

void TfrmFormelEdt::editFormula(const QString&) {}

}  // namespace wizard
