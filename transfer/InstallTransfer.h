// Start-up of the transfer layer: fills the design objects' transfer seam
// and the conflict rows of the long lists with this folder's records,
// choices and defaults, hands the list panes their copy and component
// commands, and gives every document read from then on the module manager
// of its components. The program calls it once, as it
// installs the browser's panes.
#pragma once

namespace transfer {

void InstallTransfer();
// The module-manager half alone: documents read from now on get the real
// manager (tests that read documents as the program does).
void InstallModuleManager();

}  // namespace transfer
