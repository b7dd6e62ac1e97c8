// The component dialog: the name, date, version, version number, prefix,
// comments and rename flag of a new component project (dialog 110), or
// those of an existing component (110 again for a project, 111 read-only
// for an installed component).
//
// Items: 1 OK, 2 Cancel, 3 name, 4 date, 5 version, 6 version number, 7
// prefix, 8 comments, 9 make from the selection, 10 make empty, 11 rename
// the private names with the prefix, 12 the prefix's label. OK is enabled
// exactly when the name is not empty, the number not 0, the date valid and,
// with the rename flag, the prefix not empty.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/dialogs/Dialogs.h"

class TMainDoc;
class TModuleObjQz;

namespace browser {

constexpr int16_t kModuleDialog = 110;
constexpr int16_t kModuleViewDialog = 111;
enum : int16_t {
    kModuleOK = 1,
    kModuleCancel = 2,
    kModuleName = 3,
    kModuleDate = 4,
    kModuleVersion = 5,
    kModuleNumber = 6,
    kModulePrefix = 7,
    kModuleComments = 8,
    kModuleFromSelection = 9,
    kModuleEmpty = 10,
    kModuleRename = 11,
    kModulePrefixLabel = 12,
};

constexpr uint8_t kModuleNameMax = 31;
constexpr uint8_t kModulePrefixMax = 4;
constexpr uint8_t kModuleCommentsMax = 253;
constexpr uint8_t kModuleNumberDigits = 6;

// The dialog's in-out record.
struct ModuleStruct {
    unsigned char name[32] = {};
    unsigned char date[81] = {};
    unsigned char version[256] = {};
    uint32_t versionNb = 0;
    unsigned char prefix[5] = {};
    unsigned char comments[256] = {};
    TMainDoc* doc = nullptr;              // for the name check
    TModuleObjQz* component = nullptr;    // the one edited; null for a new one
    uint8_t emptyComponent = 1;           // 1 empty, 0 from the selection
    uint8_t offerSelection = 0;           // items 9 and 10 shown
    uint8_t selectionUsable = 0;          // items 9 and 10 enabled
    uint8_t readOnly = 0;                 // an installed component: shown only
    uint8_t rename = 1;                   // item 11
};

// True on OK in an editable dialog, the fields copied back; false on
// Cancel, in read-only mode, or when the dialog cannot be made.
bool GetModule(ModuleStruct* record);

// False for a date whose day, month and year are all 0, else the kernel's
// check of the text.
bool x_datevalide(const unsigned char* date);
// Keeps only the digits 0 to 9, in place.
void RemoveAlpha(unsigned char* text);

platform::Boolean ModuleFilter(platform::DialogRef dialog, platform::EventRecord* event,
                               platform::DialogItemIndex* item);
void DrawModuleDial(platform::DialogRef dialog);

}  // namespace browser
