// Small services shared by the structure and library documents.
#pragma once

#include <cstdint>

class TMainDoc;

// Disables (or enables again) the menus of the bar after the first one.
void EnableBarMenus(bool enable);
// Makes the document's store container current.
void UseDocStore(const TMainDoc* doc);
// The browser window kind of new windows: the first word of 'PREF' 0 of the
// preferences, 128 without it.
int16_t PrefWindowKind();
// Appends `more` to the length-prefixed `text`, cut to 255 characters.
void AppendPString(unsigned char* text, const unsigned char* more);
