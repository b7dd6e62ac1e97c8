// Gives the kernel the store's C-style entries (called once at start-up,
// after initresman).
#pragma once

void InstallKernelStoreAccess();
