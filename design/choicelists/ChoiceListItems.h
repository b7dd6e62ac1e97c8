// What the choice list's operations share: its items loaded for one
// operation, and the label an item is shown, printed and exported with.
#pragma once

#include <cstdint>

#include "forms/lists/ItemList.h"

class TMainDoc;

// The items of 'List' listId of the current container, loaded for one
// operation and disposed of with it. A missing list gives no items; a
// damaged one gives the items read before the damage.
class LoadedChoiceList {
public:
    explicit LoadedChoiceList(int16_t listId);
    ~LoadedChoiceList();
    LoadedChoiceList(const LoadedChoiceList&) = delete;
    LoadedChoiceList& operator=(const LoadedChoiceList&) = delete;

    ItemHandle First() const { return list_.first; }

private:
    itemlistrec list_{};
};

// An item's label: its text; then a space and the picture's name between
// the parenthesis strings when it shows a picture object of the document;
// with `iconId`, a space, the id label, a space and the id when it shows
// an icon. Cut to 255 characters.
void ChoiceItemLabel(TMainDoc* doc, ItemHandle item, bool iconId, unsigned char* out);
