// Lets the toolbox geometry find icons in resource files.
#pragma once

// Installs the access that reads icons through VResourceFile and gResFile;
// start-up calls it once. Calling it again changes nothing.
void InstallIconResourceAccess();
