// Start-up of the transfer layer: fills the design objects' transfer seam
// and the conflict rows of the long lists with this folder's records,
// choices and defaults. The program calls it once, as it installs the
// browser's panes.
#pragma once

namespace transfer {

void InstallTransfer();

}  // namespace transfer
