#include "wizard/frmEinstellANZ.h"

#include "platform/WindowTexts.h"

namespace wizard {

TfrmEinstellANZ::TfrmEinstellANZ(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmEinstellANZ"));
    setWindowTitle(QStringLiteral("Vorhandene Importeinstellung ohne Änderung übernehmen"));
    resize(462, 390);
    platform::TranslateWindow(this);
}

}  // namespace wizard
