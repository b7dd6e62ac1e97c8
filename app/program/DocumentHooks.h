// Hands the application the document functions of the design layer.
#pragma once

void InstallDocumentHooks();
// The kernel's start-up makes the security manager (before ApplInitAll).
void InstallSecurityStart();
