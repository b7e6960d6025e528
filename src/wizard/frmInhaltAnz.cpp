#include "wizard/frmInhaltAnz.h"

#include "platform/WindowTexts.h"

namespace wizard {

TfrmInhaltAnz::TfrmInhaltAnz(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmInhaltAnz"));
    setWindowTitle(QStringLiteral("Inhalt ansehen"));
    resize(600, 400);
    platform::TranslateWindow(this);
}

}  // namespace wizard
