// The text layout pages of the main window: fixed or separated, the column marks, the separators and the column
// names, and the reading of the file into the source table.
#include "wizard/frmImport1.h"

#include "ui_frmImport1.h"

namespace wizard {

void TfrmImport1::ConnectTextPages() {}

}  // namespace wizard
