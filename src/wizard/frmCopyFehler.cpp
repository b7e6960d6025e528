#include "wizard/frmCopyFehler.h"

#include "platform/WindowTexts.h"

namespace wizard {

TfrmCopyFehler::TfrmCopyFehler(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCopyFehler"));
    setWindowTitle(QStringLiteral("Zusammenfassung Importeinstellung einlesen"));
    resize(520, 344);
    platform::TranslateWindow(this);
}

}  // namespace wizard
