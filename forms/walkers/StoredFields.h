// Where the names and texts that the rewriting walkers change lie in the
// stored chunks of a form (layouts in LayoutInfo.h, EditableIO.h,
// SaisieAtt.h and the object chunks): each is read from the chunk open in
// a context, before anything else of it is read, with its offset in the
// chunk's data. A field the chunk is too short to hold is absent (at -1);
// a length that passes the chunk is an error, as it is to the form reader.
#pragma once

#include <cstdint>

#include "forms/iff/Iff.h"

// A length-prefixed string of a chunk: where its length byte lies, how many
// bytes it takes (pad included) and its text.
struct StoredText {
    int32_t at = -1, size = 0;
    unsigned char text[256] = {};
    bool Present() const { return at >= 0; }
};

// "FLAG": the form text, the inherited form's table and name.
struct StoredFlag {
    StoredText formText;
    int16_t inheritedTable = 0;
    int32_t inheritedTableAt = -1;
    StoredText inheritedName;
};
IFFP ReadStoredFlag(_GroupContext* context, StoredFlag* out);

// "TEXT" and "GRPB": the text, its length a long at 17.
struct StoredStaticText {
    static constexpr int32_t kLengthAt = 17, kTextAt = 21;
    int32_t length = 0;
    const uint8_t* text = nullptr;  // where it lies in the image
};
IFFP ReadStoredStaticText(_GroupContext* context, StoredStaticText* out);

// "FILD" and "VAR ": the display format (padded) behind the 16 bytes both
// begin with; for "VAR " also the variable's name as kept (its room byte
// and that many bytes), its sub-type and its interprocess byte.
struct StoredEditable {
    int16_t objectMethodID = 0;
    StoredText format;
    int32_t nameRoomAt = -1;  // the room byte
    uint8_t room = 0;
    unsigned char varName[33] = {};  // empty when the room passes 32
    int32_t subType = 0;
    int32_t interprocessAt = -1;
    uint8_t interprocess = 0;
};
IFFP ReadStoredField(_GroupContext* context, StoredEditable* out);
IFFP ReadStoredVar(_GroupContext* context, StoredEditable* out);

// "MULT": the subform's table (negative: that table's number; positive: a
// subtable by field number), its list form and detail form names.
struct StoredSubform {
    int16_t table = 0;
    int32_t tableAt = -1;
    StoredText listForm, detailForm;
};
IFFP ReadStoredSubform(_GroupContext* context, StoredSubform* out);

// "SATT": the entry filter, and where the copy of its length after the
// byte 69 lies (-1 when the chunk stops before it).
struct StoredSatt {
    StoredText filter;
    int32_t lengthCopyAt = -1;
};
IFFP ReadStoredSatt(_GroupContext* context, StoredSatt* out);

// The display types whose format is a title the user reads: buttons,
// check boxes, radio buttons and 3D buttons.
bool HasTitle(int32_t subType);
