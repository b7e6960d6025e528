// The mapping page of the main window: source and target fields side by side, their assignment and the check
// made on leaving the page.
#include "wizard/frmImport1.h"

#include "ui_frmImport1.h"

namespace wizard {

void TfrmImport1::ConnectMappingPage() {}

void TfrmImport1::AutoZuordnung() {}

void TfrmImport1::ZuordnungenUebernehmen() {}

void TfrmImport1::IndexSpalteEinstellen() {}

}  // namespace wizard
