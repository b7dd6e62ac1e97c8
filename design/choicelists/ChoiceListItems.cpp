#include "design/choicelists/ChoiceListItems.h"

#include <cstring>
#include <string>

#include "app/dialogs/Messages.h"
#include "design/objects/ObjQz.h"
#include "design/objects/ObjText.h"
#include "forms/lists/ChoiceLists.h"

namespace {

constexpr int16_t kPunctuation = 104;  // 'STR#' of the method punctuation
constexpr int16_t kLeftParenthesis = 7;
constexpr int16_t kRightParenthesis = 8;
constexpr int16_t kWindowTexts = 1001;
constexpr int16_t kIdLabel = 11;

}  // namespace

LoadedChoiceList::LoadedChoiceList(int16_t listId)
{
    initqlist(&list_, 0, 255);
    LoadList(listId, &list_, true);
}

LoadedChoiceList::~LoadedChoiceList() { deinitqlist(&list_); }

void ChoiceItemLabel(TMainDoc* doc, ItemHandle item, bool iconId, unsigned char* out)
{
    out[0] = uint8_t(ItemTextLength(item));
    std::memcpy(out + 1, ItemText(item) + 1, out[0]);
    const int32_t reference = (*item)->icon;
    unsigned char part[256], name[256];
    if (TObjQz* picture = GetPictObj(doc, reference)) {
        PAppendChar(out, ' ');
        MyGetIndString(part, kPunctuation, kLeftParenthesis);
        PAppend(out, part);
        picture->GetName(name);
        PAppend(out, name);
        MyGetIndString(part, kPunctuation, kRightParenthesis);
        PAppend(out, part);
    }
    if (!iconId || reference == 0) return;
    int16_t icon = 0;
    platform::Handle picture = nullptr;
    ListGetIcon(reference, &icon, &picture);
    if (icon == 0) return;
    PAppendChar(out, ' ');
    MyGetIndString(part, kWindowTexts, kIdLabel);
    PAppend(out, part);
    PAppendChar(out, ' ');
    PAppend(out, std::to_string(int16_t(reference & 0xFFFF)));
}
