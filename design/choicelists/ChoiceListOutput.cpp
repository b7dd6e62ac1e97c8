// A choice list searched, printed and exported: its items in order, each
// followed by its branch.
#include <algorithm>

#include "app/appl/Preferences.h"
#include "app/appl/Utilities.h"
#include "design/choicelists/ChoiceListItems.h"
#include "design/filters/ObjFilter.h"
#include "design/links/ParseSupport.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "platform/drawing/Ports.h"

using namespace platform;

namespace {

constexpr int16_t kPrintStyle = 2;
constexpr int16_t kItemsIndent = 20;
constexpr int16_t kBranchIndent = 30;
constexpr int16_t kKeepTogether = 3;

void PrintFont()
{
    TextFont(GetResFont(kPrintStyle));
    TextSize(GetResSize(kPrintStyle));
}

}  // namespace

bool TListObjQz::SearchItem(ItemHandle items, const unsigned char* text, int16_t how)
{
    for (ItemHandle item = items; item; item = (*item)->next) {
        unsigned char label[256];
        label[0] = uint8_t(ItemTextLength(item));
        std::copy(ItemText(item) + 1, ItemText(item) + 1 + label[0], label + 1);
        if (StringMatch(label, text, how)) return true;
        if (SearchItem((*item)->firstChild, text, how)) return true;
    }
    return false;
}

bool TListObjQz::SearchInList(int16_t listId, const unsigned char* text, int16_t how)
{
    LoadedChoiceList items(listId);
    return SearchItem(items.First(), text, how);
}

int16_t TListObjQz::SearchIn(const unsigned char* text, int16_t how)
{
    TObjQz::SearchIn(text, how);
    ParseResFile current(owner);
    return SearchInList(id, text, how) ? 1 : 0;
}

void TListObjQz::PrintItemRec(ItemHandle items, int16_t indent)
{
    for (ItemHandle item = items; item; item = (*item)->next) {
        unsigned char label[256];
        ChoiceItemLabel(owner, item, false, label);
        TextFace((*item)->face);
        PrintNewLine(label, indent);
        TextFace(normal);
        PrintItemRec((*item)->firstChild, int16_t(indent + kBranchIndent));
    }
}

void TListObjQz::PrintList(int16_t listId, int16_t indent)
{
    LoadedChoiceList items(listId);
    PrintItemRec(items.First(), indent);
}

int16_t TListObjQz::PrintObj(OutPutParmRec* options)
{
    const bool contents = options && options->contents && !TstFlag(kFlagCiphered);
    ParseResFile current(owner);
    PrintFont();
    if (contents) BreakIf(kKeepTogether);
    unsigned char heading[256];
    GetHeading(heading);
    TextFace(bold);
    PrintHeading(heading, 0);
    TextFace(normal);
    if (contents) PrintList(id, kItemsIndent);
    const unsigned char empty[1] = {0};
    PrintNewLine(empty, 0);
    return 0;
}

int16_t TListObjQz::SaveItemRec(ItemHandle items, int16_t indent, int16_t file)
{
    for (ItemHandle item = items; item; item = (*item)->next) {
        unsigned char label[256];
        ChoiceItemLabel(owner, item, false, label);
        if (const int16_t err = SaveNewLine(label, indent, file)) return err;
        if (const int16_t err = SaveItemRec((*item)->firstChild, int16_t(indent + kBranchIndent), file)) return err;
    }
    return 0;
}

int16_t TListObjQz::SaveObjList(int16_t listId, int16_t indent, int16_t file)
{
    LoadedChoiceList items(listId);
    return SaveItemRec(items.First(), indent, file);
}

int16_t TListObjQz::SaveObj(int16_t file)
{
    ParseResFile current(owner);
    PrintFont();
    if (const int16_t err = SaveObjList(id, kItemsIndent, file)) return err;
    return WriteEOL(file);
}
