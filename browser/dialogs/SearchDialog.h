// The search criteria dialog (264): which kinds, which subject compared
// with which operator and text, whether the inner text is searched too,
// and three tri-state criteria (documented, without users, blocked). The
// Search command runs it on the search-results record; the filter dialog
// on a stored filter. OK rewrites the record's first term (see
// design/filters/FilterRecord.h); Cancel leaves it as it was.
//
// Items: 1 OK, 2 Cancel, 3 the frame over the kind list (a click checks
// every row, with Option none), 4 the operator pop-up, 5 the scope
// pop-up (search only), 6 the kind list, 7 the text, 9 a separator, 10
// the mode's title, 11 all kinds, 12 no kind, 13 also search inside, 16
// the search's note, 18 documented, 19 without users, 20 blocked (0 the
// state cleared, 1 set, 2 not tested), 21 the subject pop-up.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/lists/Lists.h"

namespace browser {

constexpr int16_t kSearchDialog = 264;
enum : int16_t {
    kSearchOK = 1,
    kSearchCancel = 2,
    kKindHeader = 3,
    kOperatorPopUp = 4,
    kScopePopUp = 5,
    kKindList = 6,
    kCriterionText = 7,
    kSeparator = 9,
    kModeTitle = 10,
    kAllKinds = 11,
    kNoKind = 12,
    kSearchInside = 13,
    kModeNote = 16,
    kDocumentedBox = 18,
    kUnusedBox = 19,
    kBlockedBox = 20,
    kSubjectPopUp = 21,
};

// The longest name text the dialog takes.
constexpr uint8_t kLongestNameText = 32;

// Kept between calls: the subject (1 to 3), the operator (1-based), the
// mode, and the kind list while the dialog is open. The scope the user
// last chose (search only) is the program's G_SearchWhere.
extern int16_t G_SearchWhat;
extern int16_t G_SearchWhatValue;
extern bool G_IsSearch;
extern platform::ListHandle G_2ListHdl;

// 1 when confirmed (the record rewritten; *scopeOut 1 for the whole
// document, 0 for the rows shown), 0 when cancelled or the dialog cannot
// be made (the record and *scopeOut as they were). Leaves Select All
// disabled and the caller's port current.
int16_t GetSearchFilter(platform::Handle record, uint8_t* scopeOut, bool isSearch);

// The dialog's event filter and drawing (the criteria dialog's only).
platform::Boolean SearchFilter(platform::DialogRef dialog, platform::EventRecord* event,
                               platform::DialogItemIndex* item);
void DrawSearchDialog(platform::DialogRef dialog);
// Checks every row of the kind list, or none.
void SearchFilter_DlogCmd(bool check);
// The kind list's click loop: the drag that checks or unchecks rows.
platform::Boolean SearchClickLoop();
// A click in a kind list (local point): the rows dragged over take the
// inverse of the first one's check.
void ClickKindList(platform::ListHandle list, platform::Point local, uint16_t modifiers);
// One pop-up box: the item's frame and the text of the current choice.
void GetSearchFilter_SetPopBox(platform::DialogRef dialog, int16_t item);

// The kind list's cell: name, kind, checked (259 bytes).
constexpr int32_t kKindCellKind = 256;
constexpr int32_t kKindCellChecked = 258;
constexpr int32_t kKindCellLength = 259;
// A row per kind of the main list's order with a name in STR# 1008,
// checked as `checked` says. Answers the rows made.
int16_t AddKindRows(platform::ListHandle list, bool (*checked)(int16_t kind, void* context), void* context);

}  // namespace browser
