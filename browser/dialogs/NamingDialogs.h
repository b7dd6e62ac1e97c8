// The small naming dialogs of the object lists: the name of a new group
// (275), a prefix for the selected objects' names (278), a text replaced
// inside those names (279), a text replaced in the objects' texts (282);
// and the scaling of the selected forms (130).
// Items: 1 OK, 2 Cancel, 3 the (first) text, 4 the replacement.
#pragma once

#include <cstdint>

#include "app/longlist/LongList.h"
#include "platform/core/MacTypes.h"
#include "platform/dialogs/Dialogs.h"

class TMainDoc;
class TObjQz;
struct ScaleLayoutParmRec;

namespace browser {

constexpr int16_t kGroupNameDialog = 275;
constexpr int16_t kPrefixDialog = 278;
constexpr int16_t kSelReplaceDialog = 279;
constexpr int16_t kTxtReplaceDialog = 282;
enum : int16_t { kNamingOK = 1, kNamingCancel = 2, kNamingText = 3, kNamingReplacement = 4 };

constexpr int16_t kScaleDialog = 130;
enum : int16_t { kScaleEnlarge = 6, kScaleReduce = 7, kScaleTyped = 8, kScaleNumber = 9, kScaleTexts = 11 };
constexpr int16_t kScaleCancelled = 1001;

// The longest group name, prefix and name part the dialogs take.
constexpr uint8_t kLongestGroupName = 32;
constexpr uint8_t kLongestNamePart = 31;

// A name no group of `doc` has; true on OK.
bool GetGroupName(TMainDoc* doc, unsigned char* name);
// A prefix for the selected rows' objects; the question 'STR#' 1002 item
// 33 is asked once when a name would grow past its kind's maximum.
bool GetPrefix(unsigned char* prefix, LongListHandle selection);
void GetPrefix_DrawPrefixDialog(platform::DialogRef dialog);
// A text and its replacement inside the selected rows' names; neither may
// begin with a variable prefix.
bool GetSel_Replace(unsigned char* find, unsigned char* replacement, LongListHandle selection);
void GetSel_Replace_DrawSel_ReplaceDialog(platform::DialogRef dialog);
// A text and its replacement; true on OK.
bool GetTxt_Replace(unsigned char* find, unsigned char* replacement);

// The scale and the texts' flag for the selected forms: 134 % (enlarge),
// 75 % (reduce, the choice at start) or the number typed (1 to 32767;
// another text beeps and keeps the dialog). 0, or kScaleCancelled.
int16_t GetScaleLayoutParm(ScaleLayoutParmRec* params);

// The name an object of the selection takes: `prefix` in front of its
// name, or the first `find` of its name replaced (false when the name does
// not hold it). A variable's prefix stays in front and is not counted by
// TooLong.
void PrefixedName(TObjQz* obj, const unsigned char* prefix, unsigned char* out);
bool ReplacedName(TObjQz* obj, const unsigned char* find, const unsigned char* replacement, unsigned char* out);
// Longer than the object's kind allows.
bool TooLong(TObjQz* obj, const unsigned char* name);
// The name cut to what the object's kind keeps (its maximum, a variable's
// prefix not counted), as the rename will store it.
void CutToRoom(TObjQz* obj, unsigned char* name);
// Nothing is left of the name once a variable's prefix is set aside.
bool EmptyBehindMarker(TObjQz* obj, const unsigned char* name);

}  // namespace browser
