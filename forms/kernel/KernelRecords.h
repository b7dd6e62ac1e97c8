// The kernel's form records (`obj`): a form as a chain of plain records in
// handles, the model the kernel resolves, draws and clicks forms with. A
// record is made cleared by its constructor; numbers are kept big-endian
// and read through the accessors below, links (handles) in the machine's
// own order. Records never leave memory.
//
// Every record, 70 bytes:
//   off size
//    0   8   next record of its chain (handle)
//    8   8   link: a group's first member
//   16   2   kind (1 field, 2 rectangle, 3 rounded rectangle, 4 oval,
//            5 text, 6 line, 9 variable, 10 picture, 11 subform, 17 form
//            header, 18 group, 19 matrix, 20 group box, 21 library picture)
//   18   2   flags: bit 6 the object's flag C, bit 7 the last of its chain
//   20   8   bounds: top, left, bottom, right
//   28  32   name (a header: the size object's name)
//   60   1   option byte           61  1  flag byte (flag A)
//   62   2   look style            64  2  look (0 with style 0: none)
//   66   2   origin table          68  2  origin form: set on the records
//                                         an inherited form brought
//
// The kinds' own fields follow, from 70, as the namespaces below give them.
// A form header (kind 17) ends with its page table: per page p = 0 to the
// page count, the first and the last record of its chain (2 handles). Page
// 0 holds the records shown on every page, the inherited ones in front;
// page 1's first record is also the header's next record.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"

namespace objrec {
constexpr int32_t kNext = 0, kLink = 8, kKind = 16, kFlags = 18, kBounds = 20, kName = 28;
constexpr int32_t kOption = 60, kFlagByte = 61, kLookStyle = 62, kLook = 64;
constexpr int32_t kOriginTable = 66, kOriginForm = 68, kCommonSize = 70;
constexpr uint16_t kFlagC = 1 << 6, kLastOfChain = 1 << 7;
constexpr int32_t kNameMax = 31;

constexpr int16_t kField = 1, kRect = 2, kRoundRect = 3, kOval = 4, kText = 5, kLine = 6, kVariable = 9,
                  kPicture = 10, kSubform = 11, kHeader = 17, kGroup = 18, kMatrix = 19, kGroupBox = 20,
                  kLibraryPicture = 21;

// Rectangles, rounded rectangles, ovals, lines (102) and matrices (106).
namespace drawing {
constexpr int32_t kPenWidth = 70, kPenHeight = 72, kLaserWidth = 74;
constexpr int32_t kFill = 75;  // has a fill pattern; a line: its direction flag
constexpr int32_t kFillPattern = 76, kPenPattern = 84, kFore = 92, kBack = 96;
constexpr int32_t kRows = 100, kColumns = 102;
constexpr int32_t kSize = 102, kMatrixSize = 106;
}  // namespace drawing

// Static texts (kind 5) and group boxes (kind 20), 104.
namespace text {
constexpr int32_t kFillPattern = 70, kHasFill = 78, kFore = 80, kBack = 84, kJust = 88;
constexpr int32_t kFont = 90, kSize = 92, kFace = 94, kText = 96;
constexpr int32_t kRecordSize = 104;
}  // namespace text

// Pictures (10) and library pictures (21), 112.
namespace picture {
constexpr int32_t kPicture = 70;                // the picture (kind 10)
constexpr int32_t kPictId = 70, kPictName = 72;  // kind 21
constexpr int32_t kOption1 = 104, kOption2 = 105, kOption3 = 106;
constexpr int32_t kRecordSize = 112;
}  // namespace picture

// Subforms (11), 146.
namespace subform {
constexpr int32_t kFlags = 70, kTable = 72, kValue1 = 74, kValue2 = 75, kOption = 76;
constexpr int32_t kFormName1 = 78, kFormName2 = 110;
constexpr int32_t kRecordSize = 146;
}  // namespace subform

// Fields (1), 398, grown for a long format.
namespace field {
constexpr int32_t kFont = 70, kSize = 72, kFace = 74, kJust = 76, kFieldNumber = 78, kTable = 80;
constexpr int32_t kEntryOption = 81, kDisplayOption = 82;
constexpr int32_t kPlainEdit = 83;  // 1: edit option 2 without scroll bars
constexpr int32_t kFore = 84, kBack = 88, kEditOption1 = 92, kMethod = 96;
constexpr int32_t kTipKind = 98, kTipId1 = 100, kTipId2 = 102;
constexpr int32_t kAttributes = 104;  // the entry attributes (handle, owned)
constexpr int32_t kScriptFlags = 112, kFlag1 = 120, kFlag2 = 121;
constexpr int32_t kEditOption3 = 122, kEditOption4 = 123, kFieldOption2 = 124;
constexpr int32_t kFormat = 126;
constexpr int32_t kRecordSize = 398;
}  // namespace field

// Variables (9), 474, grown for a long format.
namespace variable {
constexpr int32_t kName = 70;  // the name, then one more byte of its storage (0)
constexpr int32_t kEntryOption = 103, kFont = 104, kSize = 106, kFace = 108, kJust = 110;
constexpr int32_t kPlainEdit = 112, kSubType = 113, kVarOption = 114;
constexpr int32_t kDisplayed = 115;  // 0 only for a plain display of sub-type 0 or 1
constexpr int32_t kEditOption1 = 116, kFore = 120, kBack = 124, kMethod = 128;
constexpr int32_t kWord1 = 130, kWord2 = 132;
constexpr int32_t kAttributes = 134, kDefaultStyle = 142;  // handles, owned
constexpr int32_t kByte3 = 150, kSplitter = 151, kInterprocess = 152, kScroll = 153;
constexpr int32_t kScriptFlags = 154, kTipKind = 162, kTipId1 = 164, kTipId2 = 166;
constexpr int32_t kFlag1 = 168, kFlag2 = 169, kOptionSlot = 170, kEditOption3 = 171, kEditOption4 = 172;
constexpr int32_t kLastOption = 173;
// The item drawn (-2: none) and the choice list shown (-1: none).
constexpr int32_t kCurrentItem = 174, kShownList = 176;
// Set in groups read from chunk files: sub-types 3, 9 and 20 point to the
// group's first record; those of sub-type 6 are chained to each other and
// share one line height and width.
constexpr int32_t kLeader = 178, kNextOfKind = 186, kLineHeight = 194, kLineWidth = 196;
constexpr int32_t kFormat = 198;
constexpr int32_t kRecordSize = 474;
}  // namespace variable

// Form headers (17): 176, then 16 bytes per page.
namespace header {
constexpr int32_t kScriptFlags = 70;  // two longs
constexpr int32_t kFlag = 78, kStyle1 = 80, kStyle2 = 82, kPageCount = 84;
constexpr int32_t kMinHeight = 86, kMinWidth = 88, kMaxHeight = 90, kMaxWidth = 92;
constexpr int32_t kOptionB = 94, kOptionC = 95, kOptionA = 96, kOptionD = 97, kLastByte = 98;
constexpr int32_t kHSize = 100, kVSize = 102, kInheritedTable = 104, kInheritedName = 106;
constexpr int32_t kFormText = 138, kFormTextMax = 32;
constexpr int32_t kPages = 176, kPageEntry = 16;
constexpr int32_t kFixedSize = 176;
}  // namespace header

constexpr int32_t kGroupSize = 76;
}  // namespace objrec

using ObjHandle = platform::Handle;

// --- constructors: a cleared record of the kind (null with erreure set when
// memory is short) ------------------------------------------------------
ObjHandle newsais();
ObjHandle newrect();
ObjHandle newetiq();   // a rounded rectangle: a rectangle record of kind 3
ObjHandle newcerc();
ObjHandle newtexte();  // its fill flag set
ObjHandle newtrai();
ObjHandle newlien();   // current item -2, shown list -1
ObjHandle newpict();
ObjHandle newmulti();
// A header for pages 0 to pageCount (a negative count counts as 0): script
// flags 0x1EBD3FFF and 0, its flag 1, both styles -1, size limits 0, 0,
// 32767, 32767.
ObjHandle newdebut(int16_t pageCount);
ObjHandle newgroup();
ObjHandle newgrille();
ObjHandle NewGroupObj();
// Clears both links, the kind, the bounds and the origin, and keeps the
// low 6 bits of the flags word.
void initNewObjHandle(ObjHandle h);

// --- fields of any record --------------------------------------------------
// The fields of one record, its size taken once, for code that reads or
// fills many of them in a row; valid until the record is resized. A field
// past the record reads as 0 and is not written.
class ObjFields {
public:
    explicit ObjFields(ObjHandle h);
    int16_t Word(int32_t offset) const;
    void SetWord(int32_t offset, int16_t value);
    int32_t Long(int32_t offset) const;
    void SetLong(int32_t offset, int32_t value);
    uint8_t Byte(int32_t offset) const;
    void SetByte(int32_t offset, uint8_t value);
    platform::Handle Link(int32_t offset) const;
    void SetLink(int32_t offset, platform::Handle value);
    // A length-prefixed text of at most `max` characters.
    void Text(int32_t offset, unsigned char* out) const;
    void SetText(int32_t offset, const unsigned char* text, int32_t max);
    void SetBytes(int32_t offset, const uint8_t* bytes, int32_t count);

private:
    bool Holds(int32_t offset, int32_t count) const
    {
        return offset >= 0 && count >= 0 && int64_t(offset) + count <= size_;
    }
    uint8_t* p_ = nullptr;
    int32_t size_ = 0;
};

int16_t RecWord(ObjHandle h, int32_t offset);
void SetRecWord(ObjHandle h, int32_t offset, int16_t value);
int32_t RecLong(ObjHandle h, int32_t offset);
void SetRecLong(ObjHandle h, int32_t offset, int32_t value);
uint8_t RecByte(ObjHandle h, int32_t offset);
void SetRecByte(ObjHandle h, int32_t offset, uint8_t value);
platform::Handle RecHandle(ObjHandle h, int32_t offset);
void SetRecHandle(ObjHandle h, int32_t offset, platform::Handle value);
// A length-prefixed text of at most `max` characters at the offset.
void RecText(ObjHandle h, int32_t offset, unsigned char* out);
void SetRecText(ObjHandle h, int32_t offset, const unsigned char* text, int32_t max);

inline ObjHandle ObjNext(ObjHandle h) { return RecHandle(h, objrec::kNext); }
inline void SetObjNext(ObjHandle h, ObjHandle next) { SetRecHandle(h, objrec::kNext, next); }
inline ObjHandle ObjLink(ObjHandle h) { return RecHandle(h, objrec::kLink); }
inline void SetObjLink(ObjHandle h, ObjHandle link) { SetRecHandle(h, objrec::kLink, link); }
inline int16_t ObjKind(ObjHandle h) { return RecWord(h, objrec::kKind); }
inline uint16_t ObjFlags(ObjHandle h) { return uint16_t(RecWord(h, objrec::kFlags)); }
inline void SetObjFlags(ObjHandle h, uint16_t flags) { SetRecWord(h, objrec::kFlags, int16_t(flags)); }
platform::Rect ObjBounds(ObjHandle h);
void SetObjBounds(ObjHandle h, const platform::Rect& r);

// --- form headers ---------------------------------------------------------
int16_t FormPageCount(ObjHandle header);
// False outside 0..page count.
bool FormPage(ObjHandle header, int32_t page, ObjHandle* first, ObjHandle* last);
bool SetFormPage(ObjHandle header, int32_t page, ObjHandle first, ObjHandle last);
// The first record of the page's chain: for a header and a page other
// than 0, page 0's chain is joined in front of the page's (page 0's last
// record then leads to the page's first) and page 0's first record is
// answered; page 0 cuts that join. Any other record is answered as it is.
ObjHandle GotoPage(ObjHandle form, int16_t page);

// The record under `where` in the chain from `first` (a group: the member
// under it, groups nested at most 64 deep), null for none.
ObjHandle FindObjAt(ObjHandle first, platform::Point where);
// The n-th variable record (from 1) of the chain from `first` to `last`
// (null: its end) and of its groups; *n counts down the ones passed.
ObjHandle FindNthVariable(ObjHandle first, ObjHandle last, int16_t* n);

// True for a variable record of sub-type 26 drawn as a drop-down list:
// looks 1, 4 and 5 (the others draw it as a combo box).
bool IsDropDown(ObjHandle record);

// Frees the record, what it owns (entry attributes, default style, text,
// picture) and, for a group, its members; a header frees every page's
// chain. The chain after the record is left alone.
void ClearObj(ObjHandle h);
// Frees a chain of records (a header with its pages) and clears *form.
void effform(ObjHandle* form);
