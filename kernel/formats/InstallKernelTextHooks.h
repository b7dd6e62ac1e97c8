// Connects the toolbox's text values to the kernel's number text and display
// formats (gKernelTextHooks). Start-up calls it once the kernel is up.
#pragma once

void InstallKernelTextHooks();
