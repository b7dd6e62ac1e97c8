// The design layer's look-ups behind the link walkers of stored forms.
#pragma once

// Installs them; installing again changes nothing.
void InstallFormLinkLookups();
