// The movers of forms (FormMovers.h); the form table's layout is in
// design/transfer/TableRecords.h.
#include "transfer/movers/FormMovers.h"

#include <cstring>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/transfer/TableRecords.h"
#include "forms/walkers/FormCopy.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "transfer/CurrentFiles.h"
#include "transfer/driver/TransferSession.h"
#include "transfer/movers/MoverSupport.h"
#include "transfer/movers/Movers.h"

namespace transfer {

namespace {

using namespace tables;
using platform::FourCC;

constexpr int16_t kUnreadable = 10001;
// A walk's failure as the user is told it: memory that ran out comes back
// as itself; any other failure is an image that does not read.
int16_t CauseOf(int16_t err) { return err == kUnreadable ? kNotAForm : err; }
static_assert(kFormScriptMissing == kRecordMissing, "the form walks pass over a missing method");
const uint32_t kImage = FourCC("FOQz"), kLook = FourCC("Look");
// Kept beside a form's image under its id.
const uint32_t kBeside[] = {FourCC("FON#"), FourCC("PSQz"), (uint32_t('f') << 24) | 1u};
constexpr int16_t kLookId = 128;

bool IsChunked(platform::Handle form)
{
    if (!form || platform::GetHandleSize(form) < 4) return false;
    return std::memcmp(*form, "FORM", 4) == 0 || std::memcmp(*form, "MROF", 4) == 0;
}

// The form's image made a chunk file by the source, which reads the older
// flat layouts (the paged one and the oldest, one list of records) through
// its own tables: their records name fields by the source's table numbers,
// which mean other tables (or none) in the destination. As a chunk file
// the copy's links are bound to the destination's counterparts, as any
// chunk file's are. A conversion that fails says its cause; an image the
// form model does not make a chunk file of is damaged.
int16_t AsChunkFile(TMainDoc* source, TLayoutObjQz* form, platform::Handle image)
{
    if (IsChunked(image)) return 0;
    UsingStore store(source->fResFile);
    const int16_t err = form->ConvertLayout(image);
    return err == 0 && !IsChunked(image) ? kNotAForm : err;
}

// A copy of the source form's image, with room for twice it in memory and
// on the destination's volume; a chunk file copied chunk by chunk.
int16_t CopyImage(TMainDoc* source, TMainDoc* dest, TLayoutObjQz* form, platform::Handle* out)
{
    *out = nullptr;
    int16_t err = 0;
    platform::Handle image = CopyStoreRes(source, kImage, form->formResId, &err);
    if (!image) return err ? err : kRecordMissing;
    // An image that cannot be read is not stored, and says why.
    if ((err = AsChunkFile(source, form, image)) != 0) {
        platform::DisposeHandle(image);
        return err;
    }
    const platform::Size size = platform::GetHandleSize(image);
    platform::Handle spare = platform::NewHandle(2 * size);
    if (!spare) err = platform::memFullErr;
    else platform::DisposeHandle(spare);
    if (err == 0) err = RoomFor(dest, 2 * int64_t(size));
    if (err == 0 && IsChunked(image) && CurrentFormObjectWalks().copyChunked) {
        platform::Handle copy = platform::NewHandle(0);
        err = copy ? CurrentFormObjectWalks().copyChunked(image, copy) : platform::memFullErr;
        platform::DisposeHandle(image);
        image = copy;
        // An image that cannot be copied is not stored.
        err = CauseOf(err);
    }
    if (err) {
        if (image) platform::DisposeHandle(image);
        return err;
    }
    *out = image;
    return 0;
}

// The form's row and number (1-based) in the form table of its table.
int16_t SourceRow(TMainDoc* source, TLayoutObjQz* form, std::vector<uint8_t>* table, int32_t* row)
{
    auto* owner = dynamic_cast<TFileObjQz*>(form->ownerObj);
    std::vector<uint8_t> def;
    int16_t err = 0;
    if (!owner || !StoreBytes(source, kDefinition, owner->id, &def, &err) || FieldCount(def) < 0)
        return err ? err : kRecordMissing;
    if (!StoreBytes(source, kFormTable, S16(def, kFormTableAt), table, &err) || FormCount(*table) < 0)
        return err ? err : kRecordMissing;
    for (int32_t r = 1; r <= FormCount(*table); ++r)
        if (S16(*table, FormRowAt(r) + kFormIdAt) == form->formResId) {
            *row = r;
            return 0;
        }
    return kRecordMissing;
}

// The destination table's form table (made, its id written into the
// definition, when it has none): its id and bytes.
int16_t DestFormTable(TMainDoc* dest, TFileObjQz* table, int16_t* id, std::vector<uint8_t>* bytes)
{
    std::vector<uint8_t> def;
    int16_t err = 0;
    if (!StoreBytes(dest, kDefinition, table->id, &def, &err) || FieldCount(def) < 0) return err ? err : kRecordMissing;
    *id = S16(def, kFormTableAt);
    if (*id != -1 && StoreBytes(dest, kFormTable, *id, bytes, &err) && FormCount(*bytes) >= 0) return 0;
    if (err) return err;
    if ((err = NewMappedStoreId(dest, kFormTable, *id, id)) != 0) return err;
    bytes->assign(kFormHeader, 0);
    Put16(def, kFormTableAt, *id);
    if ((err = PutStoreBytes(dest, kDefinition, table->id, def)) != 0) return err;
    // The table shows its definition's date and size as written.
    table->StampOwnResource();
    return 0;
}

// The source form's row in its form table and the destination table's
// form table, both read.
struct FormTables {
    std::vector<uint8_t> from, to;
    int32_t row = 0;
    int16_t toId = 0;
};
int16_t ReadFormTables(TMainDoc* source, TMainDoc* dest, TLayoutObjQz* form, TFileObjQz* table, FormTables* t)
{
    const int16_t err = SourceRow(source, form, &t->from, &t->row);
    return err ? err : DestFormTable(dest, table, &t->toId, &t->to);
}

int16_t CopyLook(TMainDoc* source, TMainDoc* dest)
{
    if (HasStoreRes(dest, kLook, kLookId) || !HasStoreRes(source, kLook, kLookId)) return 0;
    return CopyStoreResAs(source, dest, kLook, kLookId, kLookId);
}

// The resources kept beside the source's image `from` as those of the
// destination's image `to`: the source's, or none (the destination's
// own belonged to the image that was there).
int16_t CopyBeside(TMainDoc* source, TMainDoc* dest, int16_t from, int16_t to)
{
    for (uint32_t type : kBeside) {
        int16_t err = RemoveStoreRes(dest, type, to);
        if (err == 0 && HasStoreRes(source, type, from)) err = CopyStoreResAs(source, dest, type, from, to);
        if (err) return err;
    }
    return 0;
}

// A form method under a new id; 0 for none or a missing one.
int16_t MoveFormMethod(TMainDoc* source, TMainDoc* dest, int16_t id, int16_t* newId)
{
    *newId = 0;
    if (id == 0) return 0;
    const int16_t err = MoveResQzScript(source, dest, id, newId);
    return err == kRecordMissing ? 0 : err;
}

// The replaced form's own method `old` once the form's method is `now`: its
// code leaves (no other form names it) and the form's method object, when
// made, takes the new id. With no new method the object keeps its code.
int16_t RetireFormMethod(TMainDoc* dest, TLayoutObjQz* form, int16_t old, int16_t now)
{
    if (old == 0 || old == now) return 0;
    if (TObjQz* method = form->formMethod) {
        if (now == 0) return 0;
        NoteReplacedObj(method);
        method->id = now;
        NoteObjIdChanged();
    }
    int16_t err = RemoveStoreRes(dest, kCode, old);
    if (err == 0) err = RemoveStoreRes(dest, FourCC("PrTo"), old);
    return err;
}

}  // namespace

int16_t MoveFormObject(platform::Handle form, TMainDoc* source, TMainDoc* dest, std::vector<int16_t>* moved)
{
    if (!IsChunked(form)) return kNotAForm;
    const FormObjectWalk walk = CurrentFormObjectWalks().moveChunked;
    return walk ? walk(form, source, dest, &MoveResQzScript, moved) : 0;
}

int16_t MoveResQzLayOut(TMainDoc* source, TMainDoc* dest, TLayoutObjQz* form, int16_t* newId)
{
    *newId = 0;
    const int16_t id = form->formResId;
    platform::Handle image = nullptr;
    if (const int16_t err = CopyImage(source, dest, form, &image)) return err;
    std::vector<int16_t> moved;
    int16_t err = MoveFormObject(image, source, dest, &moved);
    if (err == 0) err = NewMappedStoreId(dest, kImage, id, newId);
    if (err) {
        platform::DisposeHandle(image);
        return CauseOf(err);
    }
    if ((err = AddStoreRes(dest, image, kImage, *newId)) != 0) return err;
    return CopyBeside(source, dest, id, *newId);
}

int16_t MoveLayOut(TMainDoc* source, TMainDoc* dest, TObjQz* form, TObjQz* destTable, TObjQz** newObj,
                   const unsigned char* newName)
{
    *newObj = nullptr;
    auto* f = dynamic_cast<TLayoutObjQz*>(form);
    auto* table = dynamic_cast<TFileObjQz*>(destTable);
    if (!f || !table) return kRecordMissing;
    // Noted before its definition may take a form table.
    NoteChangedTable(table);
    FormTables t;
    int16_t err = ReadFormTables(source, dest, f, table, &t);
    if (err) return err;
    std::vector<uint8_t>& from = t.from;
    std::vector<uint8_t>& to = t.to;
    const int32_t r = t.row;
    const int16_t tableId = t.toId;
    int16_t formId = 0, methodId = 0;
    if ((err = MoveResQzLayOut(source, dest, f, &formId)) != 0 ||
        (err = MoveFormMethod(source, dest, S16(from, FormRowAt(r) + kFormMethodAt), &methodId)) != 0)
        return err;
    unsigned char name[256];
    ChosenName(newName, form, kNameSize - 1, name);
    const int32_t count = FormCount(to);
    if (count >= INT16_MAX) return kRecordMissing;
    to.resize(FormRowAt(count + 1) + kFormRowSize);
    uint8_t* row = &to[FormRowAt(count + 1)];
    std::memcpy(row, &from[FormRowAt(r)], kFormRowSize);
    PutFixedName(row, kNameSize, name);
    Put16(to, FormRowAt(count + 1) + kFormIdAt, formId);
    Put16(to, FormRowAt(count + 1) + kFormMethodAt, methodId);
    Put16(to, 0, int16_t(count + 1));
    for (size_t mark : {kDefaultInputAt, kDefaultOutputAt})
        if (S16(from, mark) == r) Put16(to, mark, int16_t(count + 1));
    if ((err = PutStoreBytes(dest, kFormTable, tableId, to)) != 0 || (err = CopyLook(source, dest)) != 0) return err;
    if (!table->forms && (err = NewObjList(&table->forms, 10)) != 0) return err;
    auto* made = dynamic_cast<TLayoutObjQz*>(NewListObj_Id(dest, &table->forms, 24, name, formId, true));
    if (!made || made->id != formId) return platform::memFullErr;
    made->ownerObj = table;
    made->Read(&to[FormRowAt(count + 1)]);
    if ((err = CommitNoMap(dest)) != 0) return err;
    *newObj = made;
    return 0;
}

int16_t ReplaceLayOut(TMainDoc* source, TMainDoc* dest, TObjQz* form, TObjQz** destForm)
{
    auto* f = dynamic_cast<TLayoutObjQz*>(form);
    auto* target = dynamic_cast<TLayoutObjQz*>(*destForm);
    auto* table = target ? dynamic_cast<TFileObjQz*>(target->ownerObj) : nullptr;
    if (!f || !table) return kRecordMissing;
    FormTables t;
    int16_t err = ReadFormTables(source, dest, f, table, &t);
    if (err) return err;
    std::vector<uint8_t>& from = t.from;
    std::vector<uint8_t>& to = t.to;
    const int32_t r = t.row;
    const int16_t tableId = t.toId;
    int32_t at = 0;
    for (int32_t i = 1; i <= FormCount(to) && at == 0; ++i)
        if (S16(to, FormRowAt(i) + kFormIdAt) == target->formResId) at = i;
    if (at == 0) return kRecordMissing;
    platform::Handle image = nullptr;
    if ((err = CopyImage(source, dest, f, &image)) != 0) return err;
    std::vector<int16_t> moved;
    if ((err = MoveFormObject(image, source, dest, &moved)) != 0) {
        platform::DisposeHandle(image);
        return CauseOf(err);
    }
    NoteReplacedObj(target);
    if ((err = ReplaceStoreRes(dest, image, kImage, target->formResId)) != 0 ||
        (err = CopyBeside(source, dest, f->formResId, target->formResId)) != 0)
        return err;
    int16_t methodId = 0;
    if ((err = MoveFormMethod(source, dest, S16(from, FormRowAt(r) + kFormMethodAt), &methodId)) != 0 ||
        (err = RetireFormMethod(dest, target, S16(to, FormRowAt(at) + kFormMethodAt), methodId)) != 0)
        return err;
    // The row from the source's, but for its name and form id.
    uint8_t* row = &to[FormRowAt(at)];
    std::memcpy(row + kFormIdAt + 2, &from[FormRowAt(r) + kFormIdAt + 2], kFormRowSize - kFormIdAt - 2);
    Put16(to, FormRowAt(at) + kFormMethodAt, methodId);
    if ((err = PutStoreBytes(dest, kFormTable, tableId, to)) != 0 || (err = CopyLook(source, dest)) != 0) return err;
    target->Read(&to[FormRowAt(at)]);
    ClearDependencies(target);
    return CommitNoMap(dest);
}

}  // namespace transfer
