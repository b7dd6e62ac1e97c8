#include "forms/walkers/StoredFields.h"

#include <cstring>

#include "forms/iff/ChunkFields.h"

namespace {

constexpr int32_t kSattFixed = 36;      // the lists, the two values, two bytes
constexpr uint8_t kMaxNameRoom = 32;
constexpr uint8_t kMaxSizeObjectName = 31;

// A length byte and its text at the read position; padded when asked.
bool Text(ChunkReader& r, StoredText* out, bool padded)
{
    const int32_t at = r.Context()->bytesSoFar;
    uint8_t length = 0;
    if (!r.U8(&length) || !r.Bytes(out->text + 1, length)) return false;
    if (padded && !r.Skip((length + 1) & 1)) return false;
    out->text[0] = length;
    out->at = at;
    out->size = r.Context()->bytesSoFar - at;
    return true;
}

// The 16 bytes fields and variables begin with, then the format.
bool EditableHead(ChunkReader& r, StoredEditable* out)
{
    return r.Skip(14) && r.S16(&out->objectMethodID) && Text(r, &out->format, true);
}

}  // namespace

IFFP ReadStoredFlag(_GroupContext* context, StoredFlag* out)
{
    ChunkReader r(context);
    // Fixed entry order, script flags, six words, three option bytes.
    if (!r.Has(1 + 4 + 12 + 3)) return r.Error();
    r.Skip(1 + 4 + 12 + 3);
    if (!r.Has(1)) return r.Error();
    // A size object name too long for its field ends what a reader takes.
    uint8_t sizeLength = 0;
    if (!r.U8(&sizeLength) || sizeLength > kMaxSizeObjectName || !r.Skip(sizeLength)) return r.Error();
    if (!r.Has(1) || !Text(r, &out->formText, false)) return r.Error();
    if (!r.Has(4) || !r.Skip(4)) return r.Error();
    out->inheritedTableAt = context->bytesSoFar;
    if (!r.Has(2) || !r.S16(&out->inheritedTable)) return r.Error();
    if (r.Has(1)) Text(r, &out->inheritedName, false);
    return r.Error();
}

IFFP ReadStoredStaticText(_GroupContext* context, StoredStaticText* out)
{
    ChunkReader r(context);
    if (!r.Skip(StoredStaticText::kLengthAt) || !r.S32(&out->length)) return r.Error();
    if (out->length < 0 || out->length > r.Left()) return BAD_FORM;
    IOFile* file = context->file;
    out->text = reinterpret_cast<const uint8_t*>(*file->handle) + file->base + file->mark;
    return r.Skip(out->length) ? IFF_OKAY : r.Error();
}

IFFP ReadStoredField(_GroupContext* context, StoredEditable* out)
{
    ChunkReader r(context);
    EditableHead(r, out);
    return r.Error();
}

IFFP ReadStoredVar(_GroupContext* context, StoredEditable* out)
{
    ChunkReader r(context);
    if (!EditableHead(r, out)) return r.Error();
    out->nameRoomAt = context->bytesSoFar;
    if (!r.U8(&out->room)) return r.Error();
    if (out->room <= kMaxNameRoom) {
        uint8_t stored[kMaxNameRoom];
        if (!r.Bytes(stored, out->room)) return r.Error();
        if (out->room > 0) {
            out->varName[0] = stored[0] < out->room ? stored[0] : uint8_t(out->room - 1);
            std::memcpy(out->varName + 1, stored + 1, out->varName[0]);
        }
    } else if (!r.Skip(out->room)) {
        return r.Error();
    }
    int32_t option = 0;
    if (!r.S32(&out->subType) || !r.S32(&option)) return r.Error();
    out->interprocessAt = context->bytesSoFar;
    r.U8(&out->interprocess);
    return r.Error();
}

IFFP ReadStoredSubform(_GroupContext* context, StoredSubform* out)
{
    ChunkReader r(context);
    StoredText name;
    if (!r.Skip(8) || !Text(r, &name, false) || !r.Skip(4 + 2 + 2)) return r.Error();
    out->tableAt = context->bytesSoFar;
    if (!r.S16(&out->table) ||
        !Text(r, &out->listForm, false) || !Text(r, &out->detailForm, false))
        return r.Error();
    return IFF_OKAY;
}

IFFP ReadStoredSatt(_GroupContext* context, StoredSatt* out)
{
    ChunkReader r(context);
    StoredText defaultText;
    if (!r.Skip(kSattFixed) || !Text(r, &defaultText, false) || !Text(r, &out->filter, false)) return r.Error();
    if (r.Has(2)) out->lengthCopyAt = context->bytesSoFar + 1;
    return IFF_OKAY;
}

bool HasTitle(int32_t subType) { return subType == 2 || subType == 3 || subType == 4 || subType == 28; }
