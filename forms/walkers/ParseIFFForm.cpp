// Recording the links of a stored form, and rewriting them while the form
// is copied into another document. One set of handlers serves both walks:
// each reads only what names another object and finds it in the source
// form's document; a copy maps it to the destination's counterpart
// (FormDestHooks.h) and writes the chunk again with the counterpart's id,
// number or name, every other byte as stored. A missing object is never an
// error; a read error ends the walk.
#include "forms/walkers/ParseIFFForm.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "forms/iff/ChunkFields.h"
#include "forms/layout/FormContainer.h"
#include "forms/layout/FormProperties.h"
#include "forms/layout/SaisieAtt.h"
#include "forms/listbox/ListBox.h"
#include "forms/walkers/ChunkRewrite.h"
#include "forms/walkers/EditableIO.h"
#include "forms/walkers/FormDestHooks.h"
#include "forms/walkers/FormLinkHooks.h"
#include "forms/walkers/LinkTexts.h"
#include "forms/walkers/RewriteSupport.h"
#include "forms/walkers/StoredFields.h"
#include "forms/walkers/StoredListBox.h"
#include "kernel/startup/KernelGlobals.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"

namespace {

constexpr int16_t kMemFull = platform::memFullErr;
constexpr int16_t kTableKind = 1, kChoiceListKind = 4, kPlugInKind = 8, kBalloonKind = 10, kStyleKind = 12,
                  kPictureKind = 18, kStyleSheetKind = 19, kSubtableKind = 29;
// A static text this short may be a ":ID,INDEX" reference.
constexpr int32_t kStrRefLimit = 11;
// Where the help tip's id lies in the 16 bytes fields and variables begin
// with, and where their display format begins.
constexpr int32_t kTipAt = 12, kFormatAt = 16;
// The choice lists of a "SATT": the list, the byte saying it is set, the
// required and the excluded list.
constexpr int32_t kSattChoiceAt = 0, kSattSetAt = 2, kSattRequiredAt = 4, kSattExcludedAt = 8;

struct ParseState {
    bool outOfMemory = false;
    // A copy: every object found is replaced by its counterpart.
    bool mapping = false;
    unsigned char styleMark[256] = {};
    // The last "SATT" as stored, written before the chunk that takes it.
    bool sattHeld = false;
    std::string sattBytes;
};

ParseState* StateOf(_GroupContext* c) { return static_cast<ParseState*>(WalkerFrameOf(c)->state); }

const FormLinkHooks& H() { return GetFormLinkHooks(); }
const FormDestHooks& D() { return GetFormDestHooks(); }

// Links and objects made go to the target; look-ups search the source.
TLayoutObjQz* Target(_GroupContext* c) { return WalkerFrameOf(c)->target; }
TLayoutObjQz* Source(_GroupContext* c) { return WalkerFrameOf(c)->source; }
bool Mapping(_GroupContext* c) { return StateOf(c)->mapping; }

std::string Word(int32_t value)
{
    std::string bytes(2, '\0');
    platform::WriteBE16(reinterpret_cast<uint8_t*>(bytes.data()), uint16_t(value));
    return bytes;
}

std::string PString(const unsigned char* text) { return std::string(reinterpret_cast<const char*>(text + 1), text[0]); }

void ToPString(const std::string& text, unsigned char* out)
{
    out[0] = uint8_t(std::min<size_t>(text.size(), 255));
    std::memcpy(out + 1, text.data(), out[0]);
}

// The chunk a handler reads, and the changes a copy makes to it, in any
// order; written when the handler ends. A chunk takes few changes: they
// are kept in place, sorted when written.
class LinkedChunk {
public:
    explicit LinkedChunk(_GroupContext* c) : c_(c), writing_(WalkOutput(c) != nullptr)
    {
        if (writing_) taken_ = TakeStoredChunk(c, &chunk_);
    }
    void Replace(int32_t at, int32_t length, std::string bytes)
    {
        if (!writing_ || at < 0) return;
        for (int32_t i = 0; i < count_; ++i)
            if (edits_[i].at == at) {
                edits_[i] = {at, length, std::move(bytes)};
                return;
            }
        if (count_ == kMaxEdits) {
            overflow_ = true;
            return;
        }
        edits_[count_++] = {at, length, std::move(bytes)};
    }
    // The handler's result; the chunk written after it when all went well.
    IFFP Finish(IFFP result)
    {
        if (result != IFF_OKAY || !writing_) return result;
        if (!taken_ || overflow_) return BAD_IFF;
        std::sort(edits_, edits_ + count_, [](const Edit& a, const Edit& b) { return a.at < b.at; });
        ChunkEdit edit(chunk_);
        for (int32_t i = 0; i < count_; ++i)
            if (!edit.Replace(edits_[i].at, edits_[i].length, std::move(edits_[i].bytes))) return BAD_FORM;
        return edit.Write(WalkOutput(c_));
    }

private:
    static constexpr int32_t kMaxEdits = 8;
    struct Edit {
        int32_t at = 0, length = 0;
        std::string bytes;
    };
    _GroupContext* c_;
    bool writing_, taken_ = false, overflow_ = false;
    StoredChunk chunk_;
    Edit edits_[kMaxEdits];
    int32_t count_ = 0;
};

// Records from -> to (the target form when `from` is null); a failure
// (memory) ends the walk.
IFFP LinkFrom(_GroupContext* c, TObjQz* from, bool fromForm, TObjQz* to)
{
    if ((!from && !fromForm) || !to || !H().link) return IFF_OKAY;
    const int16_t err = H().link(Target(c), from, to);
    if (err == 0) return IFF_OKAY;
    StateOf(c)->outOfMemory = true;
    return err;
}

IFFP Link(_GroupContext* c, TObjQz* to) { return LinkFrom(c, nullptr, true, to); }
IFFP Link(_GroupContext* c, TObjQz* from, TObjQz* to) { return LinkFrom(c, from, false, to); }

IFFP OutOfMemory(_GroupContext* c)
{
    StateOf(c)->outOfMemory = true;
    return kMemFull;
}

// The counterparts of a source object: itself when nothing is copied.
TObjQz* Dest(_GroupContext* c, TObjQz* obj)
{
    if (!obj || !Mapping(c)) return obj;
    WalkerFrame* f = WalkerFrameOf(c);
    return D().destObj ? D().destObj(f->conflicts, f->source, f->target, obj) : nullptr;
}

TObjQz* DestForm(_GroupContext* c, TObjQz* form)
{
    if (!form || !Mapping(c)) return form;
    WalkerFrame* f = WalkerFrameOf(c);
    return D().destForm ? D().destForm(f->conflicts, f->source, f->target, form) : nullptr;
}

// A field or subtable's counterpart with the numbers naming it there.
TObjQz* DestRub(_GroupContext* c, TObjQz* obj, int16_t* tableNumber, int16_t* fieldNumber)
{
    *tableNumber = *fieldNumber = 0;
    if (!obj || !Mapping(c)) return obj;
    WalkerFrame* f = WalkerFrameOf(c);
    return D().destRub ? D().destRub(f->conflicts, f->source, f->target, obj, tableNumber, fieldNumber) : nullptr;
}

int16_t IdOf(TObjQz* obj) { return H().idOf ? H().idOf(obj) : 0; }
int16_t KindOf(TObjQz* obj) { return H().kindOf ? H().kindOf(obj) : 0; }
int16_t TableNumberOf(TObjQz* table) { return H().tableNumberOf ? H().tableNumberOf(table) : 0; }

void NameOf(TObjQz* obj, unsigned char* name)
{
    name[0] = 0;
    if (obj && H().nameOf) H().nameOf(obj, name);
}

TObjQz* ById(_GroupContext* c, int16_t kind, int16_t id) { return H().byId ? H().byId(Source(c), kind, id) : nullptr; }

TObjQz* ByName(_GroupContext* c, int16_t kind, const unsigned char* name)
{
    return H().byName && name[0] ? H().byName(Source(c), kind, name) : nullptr;
}

TObjQz* FormNamed(TObjQz* table, const unsigned char* name)
{
    return table && H().formNamed && name[0] ? H().formNamed(table, name) : nullptr;
}

TObjQz* TableNumbered(_GroupContext* c, int32_t number)
{
    return H().tableNumbered && number > 0 && number <= 32767 ? H().tableNumbered(Source(c), int16_t(number)) : nullptr;
}

// The counterpart of the object of `kind` and `id`, linked; its id in the
// chunk at `at` (when given), else `missing` (when not the id itself).
IFFP IdLink(_GroupContext* c, LinkedChunk& chunk, int16_t kind, int16_t id, int32_t at, bool clearMissing,
            TObjQz* alsoFrom = nullptr, TObjQz** found = nullptr)
{
    TObjQz* dest = Dest(c, ById(c, kind, id));
    if (found) *found = dest;
    if (!dest) {
        if (clearMissing) chunk.Replace(at, 2, Word(-1));
        return IFF_OKAY;
    }
    chunk.Replace(at, 2, Word(IdOf(dest)));
    const IFFP result = Link(c, dest);
    return result != IFF_OKAY ? result : Link(c, alsoFrom, dest);
}

// The style named by a format or entry filter that begins with the mark.
IFFP StyleLink(_GroupContext* c, const unsigned char* text, TObjQz* alsoFrom = nullptr)
{
    unsigned char name[256];
    if (!StyleNameOf(text, StateOf(c)->styleMark, name)) return IFF_OKAY;
    TObjQz* style = Dest(c, ByName(c, kStyleKind, name));
    const IFFP result = Link(c, style);
    return result != IFF_OKAY ? result : Link(c, alsoFrom, style);
}

// A ":ID,INDEX" text linked to its string list; *rewritten is the text
// naming the counterpart (false when the text is no such reference or the
// list has none).
IFFP StringListLink(_GroupContext* c, const unsigned char* text, unsigned char* rewritten, bool* changed)
{
    *changed = false;
    int16_t listId = 0, index = 0;
    if (!ParseStrRef(text, &listId, &index) || !H().stringList) return IFF_OKAY;
    TObjQz* list = Dest(c, H().stringList(Source(c), listId));
    if (!list) return IFF_OKAY;
    ToPString(":" + std::to_string(IdOf(list)) + "," + std::to_string(index), rewritten);
    *changed = true;
    return Link(c, list);
}

// The pending entry attributes, taken by the field or variable that
// follows them; a copy writes them just before that chunk.
struct PendingSatt {
    explicit PendingSatt(_GroupContext* c) : record(WalkerFrameOf(c)->pendingSatt)
    {
        WalkerFrameOf(c)->pendingSatt = nullptr;
        ParseState* s = StateOf(c);
        held = s->sattHeld;
        bytes.swap(s->sattBytes);
        s->sattHeld = false;
    }
    ~PendingSatt()
    {
        if (record) platform::DisposeHandle(record);
    }
    PendingSatt(const PendingSatt&) = delete;
    PendingSatt& operator=(const PendingSatt&) = delete;
    platform::Handle record;
    bool held = false;
    std::string bytes;
    std::map<int32_t, int16_t> newIds;  // list offsets rewritten
};

IFFP WritePendingSatt(_GroupContext* c, const PendingSatt& satt)
{
    _GroupContext* output = WalkOutput(c);
    if (!output || !satt.held) return IFF_OKAY;
    StoredChunk chunk;
    chunk.id = IFFP(platform::FourCC("SATT"));
    chunk.data = reinterpret_cast<const uint8_t*>(satt.bytes.data());
    chunk.size = int32_t(satt.bytes.size());
    ChunkEdit edit(chunk);
    for (const auto& [at, id] : satt.newIds)
        if (!edit.Replace(at, 2, Word(id))) return BAD_FORM;
    return edit.Write(output);
}

// The choice lists and the style of entry attributes, from the form and
// from the object they belong to; their counterparts' ids noted.
IFFP SattLinks(_GroupContext* c, PendingSatt& satt, TObjQz* object)
{
    platform::Handle record = satt.record;
    if (!record) return IFF_OKAY;
    IFFP result = IFF_OKAY;
    const bool choiceSet = SattByte(record, kSattSetAt) != 0;
    for (int32_t offset : {kSattChoiceAt, kSattRequiredAt, kSattExcludedAt}) {
        if (offset == kSattChoiceAt && !choiceSet) continue;
        const int16_t id = SattWord(record, offset);
        if (id == -1) continue;
        TObjQz* list = Dest(c, ById(c, kChoiceListKind, id));
        if (!list) continue;
        satt.newIds[offset] = IdOf(list);
        if ((result = Link(c, list)) != IFF_OKAY || (result = Link(c, object, list)) != IFF_OKAY) return result;
    }
    unsigned char filter[256];
    SattText(record, saisieatt::kEntryFilter, filter);
    return StyleLink(c, filter);
}

// An object method of the target form named after `name`.
IFFP MethodLink(_GroupContext* c, const unsigned char* name, bool interprocess, int16_t methodId, TObjQz* alsoFrom)
{
    if (methodId == 0 || !H().objectMethod) return IFF_OKAY;
    TObjQz* method = H().objectMethod(Target(c), name, interprocess, methodId);
    if (!method) return OutOfMemory(c);
    const IFFP result = Link(c, method);
    return result != IFF_OKAY ? result : Link(c, alsoFrom, method);
}

// The digits of a reference as a number, 0 past 32767 (a reference of
// up to 31 digits names no table or field).
int32_t ReferenceNumber(const std::string& digits)
{
    int32_t n = 0;
    for (char d : digits) {
        n = n * 10 + (d - '0');
        if (n > 32767) return 0;
    }
    return n;
}

// A "<...>" reference of a static text linked, and as the copy writes it
// (an empty text removes it).
IFFP StaticRefLink(_GroupContext* c, const StaticRef& ref, const std::string& stored, std::string* out)
{
    *out = stored;
    unsigned char name[256];
    if (ref.kind == StaticRef::Variable) {
        if (!H().variable) return IFF_OKAY;
        ToPString(ref.name, name);
        // A variable is named, not copied: the copy's is the one of that
        // name in its own document, made there as a read of it makes it.
        TObjQz* variable = H().variable(Target(c), name, false);
        return variable ? Link(c, variable) : OutOfMemory(c);
    }
    TObjQz* table = nullptr;
    if (!ref.hasTable) table = H().ownTable ? H().ownTable(Source(c)) : nullptr;
    else if (ref.tableIsNumber) table = TableNumbered(c, ReferenceNumber(ref.table));
    else if (H().tableNamed) {
        ToPString(ref.table, name);
        table = H().tableNamed(Source(c), name);
    }
    if (!table) {
        *out = "<?>";
        return IFF_OKAY;
    }
    TObjQz* field = nullptr;
    if (ref.fieldIsNumber) {
        const int32_t n = ReferenceNumber(ref.field);
        if (H().fieldNumbered && n > 0) field = H().fieldNumbered(Source(c), table, int16_t(n));
    } else if (H().fieldNamed) {
        ToPString(ref.field, name);
        field = H().fieldNamed(Source(c), table, name);
    }
    int16_t tableNumber = 0, fieldNumber = 0;
    TObjQz* dest = DestRub(c, field, &tableNumber, &fieldNumber);
    if (!dest) {
        out->clear();
        return IFF_OKAY;
    }
    if (Mapping(c)) {
        unsigned char destName[256];
        std::string tablePart = std::to_string(tableNumber), fieldPart = std::to_string(fieldNumber);
        if (ref.hasTable && !ref.tableIsNumber && H().ownerOf) {
            NameOf(H().ownerOf(dest), destName);
            tablePart = PString(destName);
        }
        if (!ref.fieldIsNumber) {
            NameOf(dest, destName);
            fieldPart = PString(destName);
        }
        *out = "<?[" + tablePart + "]" + fieldPart + ">";
    }
    return Link(c, dest);
}

// The text of a static text with its references linked and, for a copy,
// rewritten.
IFFP StaticTextLinks(_GroupContext* c, const uint8_t* text, int32_t length, std::string* out, bool* changed)
{
    *changed = false;
    if (length == 0 || text[0] != '<') return IFF_OKAY;
    int32_t at = 0;
    std::string literal, written;
    StaticRef ref;
    IFFP result = IFF_OKAY;
    while (result == IFF_OKAY) {
        const int32_t from = at;
        const bool found = GetStaticRef(text, length, &at, &literal, &ref);
        out->append(literal);
        if (!found) break;
        const int32_t refStart = from + int32_t(literal.size());
        const std::string stored(reinterpret_cast<const char*>(text + refStart), size_t(at - refStart));
        if (ref.kind == StaticRef::None) {
            out->append(stored);
            continue;
        }
        result = StaticRefLink(c, ref, stored, &written);
        out->append(written);
        if (written != stored) *changed = true;
    }
    return result;
}

// A picture button's title with its picture part (part 3 of types 17 and
// 27, part 2 of 18 to 20) linked; for types 17 and 27 a copy gives the
// part the picture's id in the destination.
IFFP TitlePictureLink(_GroupContext* c, int32_t subType, const unsigned char* title, unsigned char* rewritten,
                      bool* changed)
{
    *changed = false;
    const bool renumbered = subType == 17 || subType == 27;
    unsigned char part[256];
    TitlePart(title, renumbered ? 3 : 2, part);
    const bool marked = part[0] >= 1 && part[1] == '?';
    int32_t number = 0, i = marked ? 2 : 1;
    while (i <= part[0] && part[i] >= '0' && part[i] <= '9' && number <= 32767) number = number * 10 + (part[i++] - '0');
    const bool numbered = i > (marked ? 2 : 1) && number <= 32767;
    int16_t newId = 0;
    if (marked && numbered) {
        TObjQz* picture = Dest(c, ById(c, kPictureKind, int16_t(number)));
        if (const IFFP err = Link(c, picture)) return err;
        if (!picture || !renumbered || !Mapping(c)) return IFF_OKAY;
        newId = IdOf(picture);
    } else if (renumbered && numbered && Mapping(c) && D().movePicture && WalkOutput(c)) {
        if (const int16_t err = D().movePicture(Source(c), Target(c), int16_t(number), &newId)) return err;
    } else {
        return IFF_OKAY;
    }
    std::string parts[4];
    for (int32_t n = 1; n <= 4; ++n) {
        unsigned char p[256];
        TitlePart(title, n, p);
        parts[n - 1] = PString(p);
    }
    parts[2] = (marked ? "?" : "") + std::to_string(newId);
    const std::string sep = PString(stseparateur);
    const std::string joined = parts[0] + sep + parts[1] + sep + parts[2] + sep + parts[3];
    if (joined.size() > 255) return IFF_OKAY;
    ToPString(joined, rewritten);
    *changed = true;
    return IFF_OKAY;
}

}  // namespace

IFFP ParseLinkFlagObject(_GroupContext* c)
{
    LinkedChunk chunk(c);
    StoredFlag flag;
    if (const IFFP err = ReadStoredFlag(c, &flag)) return err;
    if (flag.inheritedTable == 0) return chunk.Finish(IFF_OKAY);
    TObjQz* table = TableNumbered(c, flag.inheritedTable);
    TObjQz* destTable = Dest(c, table);
    if (!destTable) return chunk.Finish(IFF_OKAY);
    chunk.Replace(flag.inheritedTableAt, 2, Word(TableNumberOf(destTable)));
    IFFP result = Link(c, destTable);
    TObjQz* form = flag.inheritedName.Present() ? DestForm(c, FormNamed(table, flag.inheritedName.text)) : nullptr;
    if (result == IFF_OKAY && form) {
        unsigned char name[256];
        NameOf(form, name);
        chunk.Replace(flag.inheritedName.at, flag.inheritedName.size, PStrBytes(name));
        result = Link(c, form);
    }
    return chunk.Finish(result);
}

IFFP ParseLinkFontProp(_GroupContext* c)
{
    LinkedChunk chunk(c);
    FontSpecs font;
    if (const IFFP err = ReadFontProperties(&font, c)) return err;
    // A chunk of the older 8 bytes names no style sheet; a copy writes it
    // whole, with none.
    if (c->ckSize == 8) chunk.Replace(8, 0, Word(-1) + Word(0));
    if (c->ckSize < 10 || font.styleSheet == -1) return chunk.Finish(IFF_OKAY);
    return chunk.Finish(IdLink(c, chunk, kStyleSheetKind, font.styleSheet, 8, true));
}

IFFP ParseLinkStaticPict(_GroupContext* c)
{
    LinkedChunk chunk(c);
    ChunkReader r(c);
    int16_t pictureId = 0;
    if (!r.Skip(8) || !r.S16(&pictureId)) return r.Error();
    return chunk.Finish(IdLink(c, chunk, kPictureKind, pictureId, 8, false));
}

IFFP ParseLinkTextObject(_GroupContext* c)
{
    LinkedChunk chunk(c);
    StoredStaticText stored;
    if (const IFFP err = ReadStoredStaticText(c, &stored)) return err;
    const int32_t length = stored.length;
    IFFP result = IFF_OKAY;
    std::string text;
    bool changed = false;
    if (length < kStrRefLimit) {
        unsigned char p[kStrRefLimit + 1], rewritten[256];
        p[0] = uint8_t(length);
        std::memcpy(p + 1, stored.text, size_t(length));
        result = StringListLink(c, p, rewritten, &changed);
        if (changed) text = PString(rewritten);
    }
    // Only a text that begins with "<" is looked into.
    if (result == IFF_OKAY && !changed) result = StaticTextLinks(c, stored.text, length, &text, &changed);
    if (result == IFF_OKAY && changed) {
        std::string longLength(4, '\0');
        platform::WriteBE32(reinterpret_cast<uint8_t*>(longLength.data()), uint32_t(text.size()));
        chunk.Replace(StoredStaticText::kLengthAt, 4, longLength);
        chunk.Replace(StoredStaticText::kTextAt, length, text);
    }
    return chunk.Finish(result);
}

IFFP ParseLinkMultObject(_GroupContext* c)
{
    LinkedChunk chunk(c);
    StoredSubform subform;
    if (const IFFP err = ReadStoredSubform(c, &subform)) return err;
    const int16_t table = subform.table;
    TObjQz* found = nullptr;
    if (table < 0) found = TableNumbered(c, -int32_t(table));
    else if (table > 0 && H().subtableNumbered) found = H().subtableNumbered(Source(c), table);
    if (!found) return chunk.Finish(IFF_OKAY);
    TObjQz* dest = nullptr;
    if (table < 0) {
        dest = Dest(c, found);
        if (dest) chunk.Replace(subform.tableAt, 2, Word(-int32_t(TableNumberOf(dest))));
    } else {
        int16_t tableNumber = 0, fieldNumber = 0;
        dest = DestRub(c, found, &tableNumber, &fieldNumber);
        if (dest && Mapping(c) && KindOf(dest) != kTableKind && KindOf(dest) != kSubtableKind) dest = nullptr;
        if (dest) chunk.Replace(subform.tableAt, 2, Word(fieldNumber));
    }
    if (!dest) {
        chunk.Replace(subform.tableAt, 2, Word(0));
        return chunk.Finish(IFF_OKAY);
    }
    IFFP result = Link(c, dest);
    for (const StoredText* name : {&subform.listForm, &subform.detailForm}) {
        if (result != IFF_OKAY || !name->text[0]) continue;
        TObjQz* form = DestForm(c, FormNamed(found, name->text));
        if (form) result = Link(c, form);
        else chunk.Replace(name->at, name->size, std::string(1, '\0'));
    }
    return chunk.Finish(result);
}

IFFP ParseLinkFieldObject(_GroupContext* c)
{
    LinkedChunk chunk(c);
    PendingSatt satt(c);
    EditableIOStruct io;
    if (const IFFP err = ReadEditableIO(c, &io)) return err;
    ChunkReader r(c);
    const int32_t numbersAt = c->bytesSoFar;
    int16_t fieldNumber = 0, tableNumber = 0;
    if (!r.S16(&fieldNumber) || !r.S16(&tableNumber)) return r.Error();
    TObjQz* source = H().field ? H().field(Source(c), tableNumber, fieldNumber) : nullptr;
    int16_t destTable = 0, destField = 0;
    TObjQz* field = DestRub(c, source, &destTable, &destField);
    IFFP result = IFF_OKAY;
    if (!field) {
        chunk.Replace(numbersAt, 4, Word(0) + Word(0));
        satt.newIds.clear();
    } else {
        chunk.Replace(numbersAt, 2, Word(destField));
        if (tableNumber != 0 && destTable > 0) chunk.Replace(numbersAt + 2, 2, Word(destTable));
        result = Link(c, field);
        if (result == IFF_OKAY && io.objectMethodID != 0) {
            unsigned char name[256];
            NameOf(field, name);
            result = MethodLink(c, name, false, io.objectMethodID, nullptr);
        }
        if (result == IFF_OKAY) result = StyleLink(c, io.format);
        if (result == IFF_OKAY && io.tipKind != 0) result = IdLink(c, chunk, kBalloonKind, io.tipKind, kTipAt, false);
        if (result == IFF_OKAY) result = SattLinks(c, satt, field);
    }
    if (result == IFF_OKAY) result = WritePendingSatt(c, satt);
    return chunk.Finish(result);
}

IFFP ParseLinkVarObject(_GroupContext* c)
{
    LinkedChunk chunk(c);
    PendingSatt satt(c);
    EditableIOStruct io;
    if (const IFFP err = ReadEditableIO(c, &io)) return err;
    ChunkReader r(c);
    uint8_t room = 0;
    unsigned char name[33] = {0};
    if (!r.U8(&room)) return r.Error();
    if (room <= 32) {
        unsigned char stored[32];
        if (!r.Bytes(stored, room)) return r.Error();
        if (room > 0) {
            name[0] = stored[0] < room ? stored[0] : uint8_t(room - 1);
            std::memcpy(name + 1, stored + 1, name[0]);
        }
    } else if (!r.Skip(room)) {
        return r.Error();
    }
    int32_t subType = 0, option = 0;
    uint8_t bytes[6];
    int16_t word1 = 0, word2 = 0;
    if (!r.S32(&subType) || !r.S32(&option) || !r.Bytes(bytes, 6) || !r.S16(&word1) || !r.S16(&word2))
        return r.Error();
    const bool interprocess = bytes[0] != 0;

    IFFP result = IFF_OKAY;
    TObjQz* area = nullptr;
    if (subType == 11) {
        area = Dest(c, ByName(c, kPlugInKind, io.format));
        if (area) {
            result = Link(c, area);
            if (result == IFF_OKAY && H().ownerOf) result = Link(c, H().ownerOf(area));
        } else if (H().package && io.format[0]) {
            area = Dest(c, H().package(Source(c), io.format));
            result = Link(c, area);
        }
    }
    TObjQz* variable = nullptr;
    if (result == IFF_OKAY && name[0] && H().variable) {
        variable = H().variable(Target(c), name, interprocess);
        result = variable ? Link(c, variable) : OutOfMemory(c);
    }
    if (result == IFF_OKAY) {
        unsigned char title[256];
        bool changed = false;
        switch (subType) {
        case 2: case 3: case 4: case 28: result = StringListLink(c, io.format, title, &changed); break;
        case 17: case 27: case 18: case 19: case 20: result = TitlePictureLink(c, subType, io.format, title, &changed); break;
        default: break;
        }
        if (changed) chunk.Replace(kFormatAt, PaddedPStrSize(io.format[0]), PaddedPStrBytes(title));
    }
    if (result == IFF_OKAY) result = MethodLink(c, name, interprocess, io.objectMethodID, area);
    if (result == IFF_OKAY) result = StyleLink(c, io.format);
    if (result == IFF_OKAY && io.tipKind != 0) result = IdLink(c, chunk, kBalloonKind, io.tipKind, kTipAt, false, variable);
    if (result == IFF_OKAY) result = SattLinks(c, satt, variable);
    if (result == IFF_OKAY) result = WritePendingSatt(c, satt);
    return chunk.Finish(result);
}

IFFP ListBoxRefVarMethod(_GroupContext* c, VLayoutGrid* grid)
{
    // One variable of the list box with the method that runs for it.
    auto variable = [c](const std::u16string& text, int16_t range, int16_t methodId) -> IFFP {
        unsigned char name[256];
        NameFromU16(text, name, 31);
        if (name[0] == 0) return IFF_OKAY;
        const bool interprocess = range == kInterprocessRange;
        if (H().listBoxVariable) {
            TObjQz* listBox = H().listBoxVariable(Target(c), name, interprocess);
            if (!listBox) return OutOfMemory(c);
            if (const IFFP err = Link(c, listBox)) return err;
        }
        return MethodLink(c, name, interprocess, methodId, nullptr);
    };
    IFFP result = variable(grid->variable, grid->range, grid->objectMethodID);
    VGridView& view = grid->GetGridView();
    for (int32_t k = 1; result == IFF_OKAY && k <= grid->GetGridColumnCount(); ++k) {
        result = variable(view.GetColumnHeader(k)->variable, view.GetColHeaderVarRange(k), 0);
        if (result == IFF_OKAY) result = variable(view.GetColumn(k)->variable, view.GetColumnVarRange(k), grid->GetColumnProc(k));
    }
    return result;
}

// The string lists the column titles name (":ID,INDEX", as text-to-list
// conversion leaves them), each title naming the counterpart in a copy.
IFFP ColumnTitleLinks(_GroupContext* c, StoredListBox* stored)
{
    VGridView& view = stored->Grid().GetGridView();
    IFFP result = IFF_OKAY;
    for (int32_t k = 1; result == IFF_OKAY && stored->Readable() && k <= stored->Grid().GetGridColumnCount(); ++k) {
        VGridHeader* header = view.GetColumnHeader(k);
        unsigned char title[256], rewritten[256];
        bool changed = false;
        if (!TitleAsStr255(header, title)) continue;
        result = StringListLink(c, title, rewritten, &changed);
        if (changed) header->SetTitle(rewritten);
    }
    return result;
}

IFFP ParseLinkListboxObject(_GroupContext* c)
{
    StoredListBox stored;
    IFFP result = stored.Read(c);
    if (result == IFF_OKAY) result = ListBoxRefVarMethod(c, &stored.Grid());
    if (result == IFF_OKAY) result = ColumnTitleLinks(c, &stored);
    // The other list box references are not remapped.
    if (result == IFF_OKAY) result = stored.Write(WalkOutput(c));
    return result;
}

IFFP ReadSattLinks(_GroupContext* c)
{
    StoredChunk raw;
    const bool writing = WalkOutput(c) != nullptr;
    if (writing && !TakeStoredChunk(c, &raw)) return BAD_IFF;
    IFFP result = IFF_OKAY;
    platform::Handle record = ReadSattObject(c, &result);
    if (!record && result == kMemFull) return OutOfMemory(c);
    if (!record) return result;
    WalkerFrame* frame = WalkerFrameOf(c);
    if (frame->pendingSatt) platform::DisposeHandle(frame->pendingSatt);
    frame->pendingSatt = record;
    ParseState* s = StateOf(c);
    s->sattHeld = writing;
    if (writing) s->sattBytes.assign(reinterpret_cast<const char*>(raw.data), size_t(raw.size));
    return IFF_OKAY;
}

namespace {

int16_t RunLinkWalker(platform::Handle form, WalkerFrame* frame, ParseState* state, platform::Handle output)
{
    frame->state = state;
    GetStyleMark(state->styleMark);
    if (output) CopyEveryChunk(frame);
    frame->flag = ParseLinkFlagObject;
    frame->text = ParseLinkTextObject;
    frame->var = ParseLinkVarObject;
    frame->field = ParseLinkFieldObject;
    frame->mult = ParseLinkMultObject;
    frame->satt = ReadSattLinks;
    frame->font = ParseLinkFontProp;
    frame->staticPict = ParseLinkStaticPict;
    frame->listBox = ParseLinkListboxObject;
    const int16_t result = RunFormWalker(form, frame, output);
    return result != 0 && state->outOfMemory ? kMemFull : result;
}

}  // namespace

int16_t ParseIFFForm(platform::Handle form, TLayoutObjQz* formObject)
{
    WalkerFrame frame;
    ParseState state;
    frame.target = frame.source = formObject;
    return RunLinkWalker(form, &frame, &state, nullptr);
}

int16_t ParseLinkIFFForm(platform::Handle source, platform::Handle dest, TLayoutObjQz* target,
                         TLayoutObjQz* sourceForm, C_ListRec* conflicts)
{
    if (!dest) return kFormWalkFailed;
    WalkerFrame frame;
    ParseState state;
    state.mapping = true;
    frame.target = target;
    frame.source = sourceForm;
    frame.conflicts = conflicts;
    return RunLinkWalker(source, &frame, &state, dest);
}
