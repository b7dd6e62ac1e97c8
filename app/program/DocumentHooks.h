// Hands the application the document functions of the design layer.
#pragma once

void InstallDocumentHooks();
