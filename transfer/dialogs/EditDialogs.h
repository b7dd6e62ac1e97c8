// The small dialogs a record's Edit opens: the rename dialog (600) and the
// link dialog (601) shared by tables, fields, forms and menu bars. Both
// show the common items: 3 the source's full name after its prefix, 4
// what the code means.
//
// Link dialog items: 1 OK, 2 Cancel, 5 the object chosen (STR# 1018 item
// 8 and its full name), 8 a framed caption naming where the objects come
// from, 9 the destination objects (a long list kept in G2_LongListHdl,
// rows 16 pixels high drawn as pick-list rows). The chosen object starts
// as the record's destination, else the list's first; a click on a row
// chooses its object, a click below the rows chooses none.
#pragma once

#include <cstdint>

#include "app/longlist/LongList.h"
#include "platform/dialogs/Dialogs.h"

class TConflict;
class TRConflict;
struct C_ListRec;
class TMainDoc;
class TObjQz;

namespace transfer {

constexpr int16_t kNameDialog = 600;
constexpr int16_t kNameChoiceItem = 5;
constexpr int16_t kNewNameItem = 6;

constexpr int16_t kLinkDialog = 601;
enum : int16_t { kLinkChosenItem = 5, kLinkCaptionItem = 8, kLinkListItem = 9 };

// The list of the open link dialog.
extern LongListHandle G2_LongListHdl;

// Whether the destination already holds an object of the source's kind
// under `name` (a form: in the table its table record links to).
bool NameTaken(const TConflict* record, TMainDoc* dest, const unsigned char* name);
// The record's new name, when taken, becomes the first free "name_n" (n
// from 2) within its kind's length: the name its copy would get. For the
// records of `list` (and their sub-lists) whose choice is 1 (rename).
void FreeNewName(TRConflict* record, TMainDoc* dest);
void FreeNewNames(C_ListRec* list, TMainDoc* dest);

// Builders of item 9: every table and subtable of `doc`; the fields of
// `table` (up to the next table, subtables and their fields left out);
// the forms of `table`; every menu bar of `doc`. *chosen becomes the
// first row's object when it is not listed; its row is selected. *list is
// null when it cannot be made.
void SetFileList(platform::DialogRef dialog, TMainDoc* doc, TObjQz** chosen, LongListHandle* list);
void SetCritList(platform::DialogRef dialog, TObjQz* table, TObjQz** chosen, LongListHandle* list);
void SetFormList(platform::DialogRef dialog, TObjQz* table, TObjQz** chosen, LongListHandle* list);
void SetMBarList(platform::DialogRef dialog, TMainDoc* doc, TObjQz** chosen, LongListHandle* list);

// The link dialogs' event filter: Return and Enter press OK; a click in
// item 9 activates the list and goes to it (item 9); the dialog's update
// is drawn whole.
platform::Boolean ListFilter(platform::DialogRef dialog, platform::EventRecord* event, platform::DialogItemIndex* item);

// The object the open link dialog has chosen (null for none).
TObjQz* LinkChosen();

}  // namespace transfer
