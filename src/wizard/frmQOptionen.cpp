#include "wizard/frmQOptionen.h"

#include "platform/WindowTexts.h"

namespace wizard {

TfrmQOptionen::TfrmQOptionen(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmQOptionen"));
    setWindowTitle(QStringLiteral("Allgemeine Einstellungen"));
    resize(300, 260);
    platform::TranslateWindow(this);
}

}  // namespace wizard
