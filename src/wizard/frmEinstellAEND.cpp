#include "wizard/frmEinstellAEND.h"

#include "platform/WindowTexts.h"
#include "texts/Texts.h"
#include "wizard/frmImport1.h"

namespace wizard {

TfrmEinstellAEND::TfrmEinstellAEND(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmEinstellAEND"));
    resize(552, 446);
    setProperty(platform::kUntranslatedCaption, true);
    platform::TranslateWindow(this);
    const QString caption = TfrmImport1::ProgrammTitel + QStringLiteral(" - ") + texts::Text(65259);
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

}  // namespace wizard
