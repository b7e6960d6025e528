// The mode and finish pages of the main window, the run they start, and the loading of a stored setting into the
// pages.
#include "wizard/frmImport1.h"

#include "ui_frmImport1.h"

namespace wizard {

void TfrmImport1::ConnectModeAndFinishPages() {}

// Until the mode page exists nothing leaves the mapping page.
bool TfrmImport1::ZuordnungenPruefen() { return false; }

void TfrmImport1::btnWeiter4Click() {}

}  // namespace wizard
