// The modal dialog that edits LayerBond, run by ConfigurationDlg.
#pragma once

namespace pelo {

// Runs the dialog with the host's window as parent and returns 0 once it has
// closed, whichever button closed it. Builds without a dialog manager have
// no dialog and return -1.
int RunConfigurationDialog(void* parentWindow);

}  // namespace pelo
