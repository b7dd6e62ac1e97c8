// What reading a document asks of each kind: tables with their fields,
// subtables, forms, table methods and field balloons; methods with their
// icons; menu bars, balloons, resources and styles with their directory
// records; and the resource types each kind keeps.
//
// 'FIQz' (a table definition): a 30-byte header (field count at 0, at most
// 511; table method id at 2; form table id at 4, -1 none), then 66-byte
// field entries: name at 0, type at 32 (7: subtable, whose 'FIQz' id is at
// 48), choice-list id at 46 (-1 none). 'TFQz' (a form table): count at 0,
// then 270-byte entries from 6: name at 0, form id at 32, menu bar number
// at 34, form method id at 40. Counts that claim more than the resource
// holds answer 1003 and nothing past the resource is read.
#include <algorithm>
#include <cstring>
#include <new>
#include <unordered_map>
#include <vector>

#include "app/documents/MainDoc.h"
#include "app/dialogs/Messages.h"
#include "design/objects/ObjText.h"
#include "design/reading/ModuleManager.h"
#include "design/reading/MoverReading.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/reading/ReadQzB.h"
#include "design/links/XRef.h"
#include "kernel/fields/FieldTypes.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

using platform::FourCC;
using platform::ReadBES16;

namespace {

constexpr int32_t kTableHeader = 30;
constexpr int32_t kFieldEntry = 66;
constexpr int32_t kMaxFields = 511;
constexpr int32_t kFormHeader = 6;
constexpr int32_t kFormEntry = 270;
// Deeper nesting than any real structure: a subtable naming one of its own
// owners would otherwise be read for ever.
constexpr int kMaxSubtableDepth = 32;

std::vector<uint8_t> Copy(platform::Handle h)
{
    const auto* p = reinterpret_cast<const uint8_t*>(*h);
    return std::vector<uint8_t>(p, p + platform::GetHandleSize(h));
}

// A stored name of a fixed field, cut to the field (length byte included).
void FieldName(const uint8_t* field, int32_t width, unsigned char* out)
{
    const uint8_t n = field[0] > width - 1 ? uint8_t(width - 1) : field[0];
    std::memcpy(out + 1, field + 1, n);
    out[0] = n;
}

int16_t StateOf(TMainDoc* doc, uint32_t type, int16_t id)
{
    return doc && doc->fModuleManager ? doc->fModuleManager->GetObjState(type, id) : 0;
}

int SubtableDepth(TObjQz* obj)
{
    int depth = 0;
    for (TObjQz* o = obj; o && depth <= kMaxSubtableDepth; o = o->GetOwnerObj()) ++depth;
    return depth;
}

// The subtable definitions read so far under the table being read. Each
// is read once: fields naming one definition again and again, level after
// level, would make the read grow as a power of the depth.
std::vector<int16_t>& SubtablesRead()
{
    static std::vector<int16_t> ids;
    return ids;
}

bool gMoverReading = false;

bool OwnsId(TObjQz* table, int16_t id)
{
    int depth = 0;
    for (TObjQz* o = table; o && depth <= kMaxSubtableDepth; o = o->GetOwnerObj(), ++depth)
        if (o->id == id) return true;
    return false;
}

}  // namespace

MoverReading::MoverReading() : saved_(gMoverReading) { gMoverReading = true; }
MoverReading::~MoverReading() { gMoverReading = saved_; }
bool MoverReading::Active() { return gMoverReading; }

int16_t ReadFieldBalloon(TFileObjQz* table, TObjQz* field, int16_t k)
{
    TMainDoc* doc = table->owner;
    const uint32_t balloonType = (uint32_t('F') << 24) | (uint32_t('i') << 16) | uint16_t(table->id);
    platform::Handle b = xget1res(balloonType, k);
    if (!b) return reserr == platform::memFullErr ? platform::memFullErr : 0;
    unloadres(balloonType, k);
    if (!table->balloons)
        if (const int16_t err = NewObjList(&table->balloons, 10)) return err;
    unsigned char structName[256];
    field->GetStructName(structName);
    TObjQz* balloon = NewListObj_Id(doc, &table->balloons, 30, structName, -1, true);
    if (!balloon) return platform::memFullErr;
    if (const int16_t err = XRef(field, balloon)) return err;
    uint8_t ref[6];
    platform::WriteBE32(ref, balloonType);
    platform::WriteBE16(ref + 4, uint16_t(k));
    const int16_t result = balloon->Read(ref);
    useres(doc->fResFile);
    return result;
}

int16_t MakeTableMethod(TFileObjQz* table)
{
    if (table->methodId == 0 || table->method) return 0;
    TObjQz* m = ConstructObjOfKind(26);
    if (!m) return platform::memFullErr;
    m->kind = 26;
    const unsigned char empty[1] = {0};
    m->init(table->owner, empty, table->methodId);
    static_cast<TGnlProcObjQz*>(m)->ownerObj = table;
    table->method = m;
    if (const int16_t err = m->Read(nullptr)) return err;
    if (const int16_t err = XRef(table, m)) return err;
    useres(table->owner->fResFile);
    return 0;
}

int16_t TFileObjQz::ReadMover(void* record)
{
    MoverReading reading;
    SetFlag(12, false);
    return Read(record);
}

uint32_t TFileObjQz::GetDocResType() { return FourCC("FIHE"); }
uint32_t TFileObjQz::GetOwnResType() { return FourCC("FIQz"); }
uint32_t TLayoutObjQz::GetDocResType() { return FourCC("FOHE"); }
uint32_t TLayoutObjQz::GetOwnResType() { return FourCC("FOQz"); }
uint32_t TGnlProcObjQz::GetDocResType() { return FourCC("CCHE"); }
uint32_t TGnlProcObjQz::GetOwnResType() { return FourCC("CCQz"); }
uint32_t TListObjQz::GetOwnResType() { return FourCC("List"); }
uint32_t TMBarObjQz::GetDocResType() { return FourCC("BAHE"); }
uint32_t TMBarObjQz::GetOwnResType() { return FourCC("BAQz"); }
uint32_t TMenuObjQz::GetDocResType() { return FourCC("MEHE"); }
uint32_t TMenuObjQz::GetOwnResType() { return FourCC("MENQ"); }
uint32_t TFieldBalloonObjQz::GetOwnResType() { return FourCC("HEQz"); }
uint32_t TStyleObjQz::GetOwnResType() { return FourCC("STQz"); }
uint32_t TPictObjQz::GetOwnResType() { return FourCC("PICT"); }
uint32_t TStyleSheetObjQz::GetOwnResType() { return FourCC("Stlx"); }

uint32_t TCritObjQz::GetDocResType()
{
    if (!ownerObj) return kNoResType;
    return (uint32_t('H') << 24) | (uint32_t('E') << 16) | uint16_t(ownerObj->id);
}

bool TNamedObjQz::EnableReplace()
{
    if (TstFlag(kFlagInComponent) || TstFlag(kFlagControlChar)) return false;
    if (owner && owner->fRemote) return false;
    return !TstFlag(kFlagDocOpen);
}

void TConstantObjQz::GetMoreInfo(unsigned char* out, bool flag)
{
    (void)flag;
    out[0] = 0;
    if (value[0] == 0) return;
    unsigned char part[256];
    MyGetIndString(part, 1024, 6), PAppend(out, part);
    MyGetIndString(part, 1024, 1), PAppend(out, part);
    MyGetIndString(part, 1024, 6), PAppend(out, part);
    PAppend(out, value);
}

void TConstantObjQz::SetConstantValue(const unsigned char* text) { CopyObjName(value, text); }

bool TPictObjQz::IsInDoc(TMainDoc* doc)
{
    return doc && SearchObj_Id(doc, 18, id) != nullptr;
}

int32_t TFileObjQz::CountCriteres()
{
    int32_t n = 0;
    for (int32_t i = 0; members && i < members->Size(); ++i) {
        TObjQz* m = members->At(i);
        if (m->kind == 29 && m != this)
            n += static_cast<TFileObjQz*>(m)->CountCriteres();
        else if (m->kind == 28)
            ++n;
    }
    return n;
}

int16_t TFileObjQz::Read(void* record)
{
    const bool mover = MoverReading::Active();
    if (!mover) ShowProgress(6);
    if (!owner) return kResourceMissing;
    if (kind == 1) SubtablesRead().clear();
    if (!members)
        if (const int16_t err = NewObjList(&members, 10)) return err;
    if (!forms)
        if (const int16_t err = NewObjList(&forms, 10)) return err;
    useres(owner->fResFile);
    if (owner->fModuleManager && !mover) SetModuleState(StateOf(owner, FourCC("FIQz"), id), false);

    platform::Handle h = xget1res(FourCC("FIQz"), id);
    if (!h) return reserr == platform::memFullErr ? platform::memFullErr : kResourceMissing;
    const std::vector<uint8_t> def = Copy(h);
    const int32_t size = int32_t(def.size());
    if (size < kTableHeader) return kResourceMissing;
    const int32_t count = ReadBES16(&def[0]);
    if (count < 0 || count > kMaxFields || kTableHeader + int64_t(count) * kFieldEntry > size) return kResourceMissing;
    methodId = ReadBES16(&def[2]);
    const int16_t formTable = ReadBES16(&def[4]);

    if (const int16_t err = MakeTableMethod(this)) return err;
    tableNumber = record ? *static_cast<const int16_t*>(record) : int16_t(-1);

    int16_t result = 0;
    if (formTable != -1 && !mover) {
        platform::Handle t = xget1res(FourCC("TFQz"), formTable);
        if (!t) return reserr == platform::memFullErr ? platform::memFullErr : kResourceMissing;
        const std::vector<uint8_t> tf = Copy(t);
        const int32_t n = tf.size() >= 2 ? ReadBES16(&tf[0]) : -1;
        if (n < 0 || kFormHeader + int64_t(n) * kFormEntry > int64_t(tf.size())) return kResourceMissing;
        for (int32_t i = 0; i < n && result == 0; ++i) {
            const uint8_t* e = &tf[size_t(kFormHeader + i * kFormEntry)];
            unsigned char formName[32];
            FieldName(e, 32, formName);
            TObjQz* form = NewListObj_Id(owner, &forms, 24, formName, ReadBES16(e + 32), false);
            if (!form) return platform::memFullErr;
            static_cast<TLayoutObjQz*>(form)->ownerObj = this;
            result = form->Read(const_cast<uint8_t*>(e));
            useres(owner->fResFile);
        }
    }

    for (int32_t k = 1; k <= count && result == 0; ++k) {
        const uint8_t* e = &def[size_t(kTableHeader + (k - 1) * kFieldEntry)];
        unsigned char fieldName[32];
        FieldName(e, 32, fieldName);
        TObjQz* field = nullptr;
        if (e[32] != fieldtype::kSubtable) {
            field = NewCritObj(owner, 28, fieldName, int16_t(k));
            if (!field) return platform::memFullErr;
            auto* crit = static_cast<TCritObjQz*>(field);
            crit->ownerObj = this;
            crit->fieldNumber = int16_t(k);
            if ((result = field->Read(const_cast<uint8_t*>(e))) != 0) break;
            field->SetDocFlag();
            useres(owner->fResFile);
            const int16_t listId = ReadBES16(e + 46);
            if (listId != -1 && !mover) {
                unsigned char listName[256];
                GetNameEnum(listId, listName);
                if (listName[0] != 0) {
                    TObjQz* list = GetObj_Name(owner, 4, listName, listId);
                    if (!list) return platform::memFullErr;
                    if ((result = XRef(field, list)) != 0 || (result = XRef(this, list)) != 0) break;
                }
            }
        } else {
            const int16_t subId = ReadBES16(e + 48);
            std::vector<int16_t>& read = SubtablesRead();
            if (OwnsId(this, subId) || SubtableDepth(this) >= kMaxSubtableDepth ||
                std::find(read.begin(), read.end(), subId) != read.end())
                return kResourceMissing;
            read.push_back(subId);
            field = NewCritObj(owner, 29, fieldName, subId);
            if (!field) return platform::memFullErr;
            auto* sub = static_cast<TFileObjQz*>(field);
            sub->ownerObj = this;
            sub->fieldNumber = int16_t(k);
            if (mover) sub->SetFlag(12, false);
            if ((result = field->Read(nullptr)) != 0) break;
            useres(owner->fResFile);
        }
        field->SetFlag(kFlagGrouped, true);
        field->SetFlag(kFlagGrouped2, true);
        field->level = uint8_t(level + 1);
        if ((result = AddObjList(&members, field)) != 0) break;

        result = ReadFieldBalloon(this, field, int16_t(k));
    }
    MajRefLevel();
    return result;
}

int16_t TCritObjQz::Read(void* record)
{
    if (owner) useres(owner->fResFile);
    const auto* e = static_cast<const uint8_t*>(record);
    typeWord = ReadBES16(e + 32);
    length = ReadBES16(e + 34);
    third = ReadBES16(e + 36);
    return 0;
}

int16_t TLayoutObjQz::Read(void* record)
{
    if (owner) useres(owner->fResFile);
    const auto* e = static_cast<const uint8_t*>(record);
    formResId = ReadBES16(e + 32);
    mbarNumber = ReadBES16(e + 34);
    formMethodId = ReadBES16(e + 40);
    if (owner && owner->fModuleManager) SetModuleState(StateOf(owner, FourCC("FOQz"), formResId), false);
    return 0;
}

int16_t TProcObjQz::Read(void* record)
{
    if (owner) {
        useres(owner->fResFile);
        if (owner->fModuleManager) SetModuleState(StateOf(owner, FourCC("CCQz"), id), false);
    }
    table = nullptr;
    // A database method has no record of its own: the plain method icon.
    const uint8_t bits = record ? static_cast<const uint8_t*>(record)[35] : 0;
    if ((bits & 0x04) && (bits & 0x02))
        iconId = 2078;
    else if (bits & 0x02)
        iconId = 2076;
    else if (bits & 0x08)
        iconId = 2042;
    else
        iconId = 2077;
    if (TstFlag(kFlagCiphered)) iconId = int16_t(iconId + 1000);
    return 0;
}

int16_t TGnlProcObjQz::Read(void* record)
{
    (void)record;
    if (owner) {
        useres(owner->fResFile);
        moduleState = StateOf(owner, FourCC("CCQz"), id);
    }
    TObjQz* o = ownerObj;
    if (o && o->kind == 24) o = o->GetOwnerObj();
    table = o && (o->kind == 1 || o->kind == 29) ? static_cast<TFileObjQz*>(o) : nullptr;
    return 0;
}

int16_t TMBarObjQz::Read(void* record)
{
    if (owner) useres(owner->fResFile);
    libaSlot = record ? *static_cast<const int16_t*>(record) : int16_t(0);
    return 0;
}

int16_t TFileBalloonObjQz::Read(void* record)
{
    const auto* r = static_cast<const uint8_t*>(record);
    textType = platform::ReadBE32(r);
    textId = ReadBES16(r + 4);
    return 0;
}

int16_t TResourceObjQz::Read(void* record)
{
    if (owner) useres(owner->fResFile);
    resType = platform::ReadBE32(record);
    return 0;
}

int16_t TStyleObjQz::Read(void* record)
{
    FieldName(static_cast<const uint8_t*>(record), 81, description);
    return 0;
}

namespace {

// Where each id first stands in the list directory last read, kept while
// the directory is the same block of the same size: every field with a
// choice list looks its list up, and a walk each time made reading the
// tables grow with fields times lists. A remembered place serves only when
// the entry there still has the id; any other id is walked for.
struct ListDirectoryPlaces {
    platform::Handle handle = nullptr;
    const char* bytes = nullptr;
    int32_t size = -1;
    std::unordered_map<int16_t, int32_t> first;
};

ListDirectoryPlaces gListPlaces;

const std::unordered_map<int16_t, int32_t>* PlacesIn(platform::Handle h, const uint8_t* p, int32_t size, int32_t count)
{
    ListDirectoryPlaces& k = gListPlaces;
    if (k.handle == h && k.bytes == *h && k.size == size) return &k.first;
    k.handle = nullptr;
    k.first.clear();
    try {
        for (int32_t i = 0; i < count && 6 + int64_t(i + 1) * 34 <= size; ++i)
            k.first.emplace(ReadBES16(p + 6 + i * 34 + 32), i);
    } catch (const std::bad_alloc&) {
        k.first.clear();
        return nullptr;
    }
    k.handle = h;
    k.bytes = *h;
    k.size = size;
    return &k.first;
}

}  // namespace

void GetNameEnum(int16_t id, unsigned char* out)
{
    out[0] = 0;
    platform::Handle h = xget1res(FourCC("LEQz"), 0);
    if (!h) return;
    const int32_t size = platform::GetHandleSize(h);
    const auto* p = reinterpret_cast<const uint8_t*>(*h);
    const int32_t count = size >= 2 ? ReadBES16(p) : 0;
    if (const auto* places = PlacesIn(h, p, size, count)) {
        const auto found = places->find(id);
        if (found != places->end()) {
            const uint8_t* e = p + 6 + found->second * 34;
            if (ReadBES16(e + 32) == id) {
                FieldName(e, 32, out);
                return;
            }
        }
    }
    for (int32_t i = 0; i < count && 6 + int64_t(i + 1) * 34 <= size; ++i) {
        const uint8_t* e = p + 6 + i * 34;
        if (ReadBES16(e + 32) == id) {
            FieldName(e, 32, out);
            return;
        }
    }
}

int32_t CountRes()
{
    int32_t n = 0;
    for (uint32_t type : {FourCC("CCQz"), FourCC("FIQz"), FourCC("FOQz"), FourCC("BAQz")}) n += compteres(type, true);
    return n;
}
