#include "design/sql/SqlBuild.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "app/appl/AppGlobals.h"
#include "app/appl/TAppl.h"
#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/Messages.h"
#include "design/documents/CreateQzLib.h"
#include "design/documents/DocumentPairs.h"
#include "design/documents/OpenQzB.h"
#include "kernel/fields/FieldTypes.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/files/MacNames.h"
#include "resources/ResourceApi.h"

using platform::FourCC;
using platform::Handle;

namespace sql {
namespace {

constexpr int32_t kParamHeader = 78;   // 'PRQz': the table entries follow
constexpr int32_t kTableEntry = 14;
constexpr int32_t kNameSlot = 32;      // 'WNQz'
constexpr int32_t kTableHeader = 30;   // 'FIQz': the field entries follow
constexpr int32_t kFieldEntry = 66;
constexpr int16_t kSaveCancelled = 1001;
constexpr int16_t kOpenHere = 17;  // 'STR#' 1002: a document open at the chosen place
constexpr int16_t kWaitMessage = 13;
constexpr int16_t kWaitDialog = 281;
constexpr int32_t kWaitDelay = 60;

int16_t StoreError() { return reserr ? reserr : platform::ioErr; }

std::string Text(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

void ToP(const std::string& text, unsigned char* out)
{
    const size_t n = std::min<size_t>(text.size(), 255);
    out[0] = uint8_t(n);
    std::memcpy(out + 1, text.data(), n);
}

// A name of at most 31 characters in a 32-byte slot.
void PutName(uint8_t* slot, const std::string& name)
{
    std::memset(slot, 0, kNameSlot);
    const size_t n = std::min<size_t>(name.size(), kMaxName);
    slot[0] = uint8_t(n);
    std::memcpy(slot + 1, name.data(), n);
}

// The resource, grown to at least `size` bytes (the new ones zero).
Handle Grown(uint32_t type, int16_t id, int32_t size)
{
    Handle h = xget1res(type, id);
    if (!h) return nullptr;
    const int32_t old = platform::GetHandleSize(h);
    if (old < size) {
        platform::SetHandleSize(h, size);
        if (platform::GetHandleSize(h) != size) return nullptr;
        std::memset(*h + old, 0, size_t(size - old));
    }
    return h;
}

int16_t TableCount()
{
    Handle param = xget1res(FourCC("PRQz"), 0);
    return param && platform::GetHandleSize(param) >= 2 ? platform::ReadBES16(*param) : 0;
}

// The 'FIQz' id of table `number`, 0 when it has none.
int16_t DefinitionId(int16_t number)
{
    Handle param = xget1res(FourCC("PRQz"), 0);
    const int32_t at = kParamHeader + (number - 1) * kTableEntry;
    if (!param || number < 1 || platform::GetHandleSize(param) < at + 2) return 0;
    return platform::ReadBES16(*param + at);
}

// The 'FIQz' of table `number`, or null.
Handle TableDefinition(int16_t number)
{
    const int16_t id = DefinitionId(number);
    Handle def = id ? xget1res(FourCC("FIQz"), id) : nullptr;
    return def && platform::GetHandleSize(def) >= kTableHeader ? def : nullptr;
}

int16_t FieldCount(Handle def) { return platform::ReadBES16(*def); }

int16_t Written(Handle h) { return xwriteres(h) ? 0 : StoreError(); }

void DeleteBuilding(const platform::FSSpec& building)
{
    platform::FSpDelete(building);
    platform::FSSpec companion;
    if (CompanionSpec(building, &companion)) platform::FSpDelete(companion);
}

}  // namespace

uint8_t AttributesOf(uint16_t flags)
{
    uint8_t bits = 0;
    if (flags & 0x8000) bits |= 0x80 | 0x02;
    if (flags & 0x4000) bits |= 0x40;
    if (flags & 0x2000) bits |= 0x20;
    if (flags & 0x1000) bits |= 0x10;
    if (!(flags & 0x0800)) bits |= 0x08;
    if (!(flags & 0x0400)) bits |= 0x04;
    return bits;
}

int16_t _CreateQzBase(const std::string& scriptPath, int32_t tableCount, NewBase* base)
{
    unsigned char part[256], prompt[256], name[256];
    const std::string scriptName = scriptPath.substr(scriptPath.find_last_of('/') + 1);
    MyGetIndString(part, 1013, 17);
    ToP(scriptName + Text(part), name);
    MyGetIndString(part, 1013, 9);
    std::string text = Text(part) + scriptPath;
    MyGetIndString(part, 1013, 10);
    ToP(text + Text(part), prompt);
    for (;;) {
        if (MacPutFile(prompt, name, &base->target) != 0) return kSaveCancelled;
        // Never over a document the program holds.
        if (!MyAppl || !MyAppl->GetNamedDoc(base->target)) break;
        unsigned char refusal[256];
        MyGetIndString(refusal, 1002, kOpenHere);
        ToP(Text(refusal) + platform::FSpGetMacName(base->target), refusal);
        XAlert(1000, refusal, kStopAlert);
    }
    platform::FSSpec companion;
    if (!BuildingPair(base->target, &base->building, &companion)) return platform::bdNamErr;
    // What a killed building of the same name left goes first.
    if (const int16_t err = base->lock.Take(base->target)) return err;
    if (const int16_t err = FinishPair(base->target)) return err;
    if (const int16_t err = CreateQzLib(base->building, 0)) return err;
    unsigned char title[256];
    ToP(scriptPath, title);
    SetWaitDialog(&base->wait, kWaitMessage, title, 0, tableCount, kWaitDialog, kWaitDelay);
    base->waiting = true;
    CursInstall(1, 5, 60);
    return 0;
}

int16_t _OpenQzB(NewBase* base)
{
    unsigned char password[16] = {0};
    const int16_t err = OpenQzB(1, base->building, &base->rsrFile, &base->container, &base->other, password);
    if (err) return err;
    // A structure made here is not read before it is filled: accept it at
    // once so that its tables reach the disk as they are committed.
    return AcceptQzB(base->rsrFile, base->container);
}

int16_t _NewQzFile(NewBase* base, int16_t file, const std::string& name, int16_t left, int16_t top,
                   int16_t* tableNumber)
{
    useres(file);
    const int16_t count = TableCount();
    if (base && base->waiting) {
        base->wait.current = count;
        unsigned char text[256];
        ToP(name, text);
        WaitMess(&base->wait, text);
    }
    if (count >= kMaxTables) return kTooManyTables;
    const int16_t t = int16_t(count + 1);
    const int16_t formsId = uniqueresid(FourCC("TFQz"));
    if (!formsId) return StoreError();
    Handle forms = platform::NewHandleClear(6);
    if (!forms) return platform::memFullErr;
    if (!xaddres(forms, FourCC("TFQz"), formsId)) {
        platform::DisposeHandle(forms);
        return StoreError();
    }
    const int16_t defId = uniqueresid(FourCC("FIQz"));
    if (!defId) return StoreError();
    Handle def = platform::NewHandleClear(kTableHeader);
    if (!def) return platform::memFullErr;
    auto* d = reinterpret_cast<uint8_t*>(*def);
    platform::WriteBE16(d + 2, 0);                 // no table method
    platform::WriteBE16(d + 4, uint16_t(formsId));
    platform::WriteBE16(d + 6, uint16_t(t));
    platform::WriteBE16(d + 14, uint16_t(top));    // the box: top, left, bottom, right
    platform::WriteBE16(d + 16, uint16_t(left));
    platform::WriteBE16(d + 18, uint16_t(top + 100));
    platform::WriteBE16(d + 20, uint16_t(left + 50));
    if (!xaddres(def, FourCC("FIQz"), defId)) {
        platform::DisposeHandle(def);
        return StoreError();
    }
    Handle names = xget1res(FourCC("WNQz"), 0);
    if (!names) {
        names = platform::NewHandleClear(0);
        if (!names) return platform::memFullErr;
        if (!xaddres(names, FourCC("WNQz"), 0)) {
            platform::DisposeHandle(names);
            return StoreError();
        }
    }
    names = Grown(FourCC("WNQz"), 0, t * kNameSlot);
    if (!names) return platform::memFullErr;
    PutName(reinterpret_cast<uint8_t*>(*names) + (t - 1) * kNameSlot, name);
    if (const int16_t err = Written(names)) return err;
    Handle param = Grown(FourCC("PRQz"), 0, kParamHeader + t * kTableEntry);
    if (!param) return platform::memFullErr;
    auto* p = reinterpret_cast<uint8_t*>(*param);
    std::memset(p + kParamHeader + (t - 1) * kTableEntry, 0, kTableEntry);
    platform::WriteBE16(p + kParamHeader + (t - 1) * kTableEntry, uint16_t(defId));
    platform::WriteBE16(p, uint16_t(t));
    if (const int16_t err = Written(param)) return err;
    *tableNumber = t;
    return 0;
}

int16_t _NewCritere(int16_t file, int16_t tableNumber, const std::string& name, int32_t type, int16_t length,
                    uint16_t flags, int16_t* fieldNumber)
{
    useres(file);
    if (tableNumber < 1 || tableNumber > TableCount()) return kNoSuchTable;
    Handle def = TableDefinition(tableNumber);
    if (!def) return kNoSuchTable;
    const int16_t count = FieldCount(def);
    if (count >= kMaxFields) return kTooManyFields;
    const int32_t at = kTableHeader + count * kFieldEntry;
    def = Grown(FourCC("FIQz"), DefinitionId(tableNumber), at + kFieldEntry);
    if (!def) return platform::memFullErr;
    auto* e = reinterpret_cast<uint8_t*>(*def) + at;
    std::memset(e, 0, kFieldEntry);
    PutName(e, name);
    e[32] = uint8_t(type);
    platform::WriteBE16(e + 34, uint16_t(length));
    platform::WriteBE16(e + 44, 0xFFFF);
    platform::WriteBE16(e + 46, 0xFFFF);  // no choice list
    e[48] = AttributesOf(flags);
    e[49] = uint8_t(0x60 | (e[49] & 0x08));
    platform::WriteBE16(e + 60, 0x4000);
    auto* d = reinterpret_cast<uint8_t*>(*def);
    platform::WriteBE16(d, uint16_t(count + 1));
    if (fieldtype::MarksTableHeader(uint8_t(type))) d[8] = 1;
    if (const int16_t err = Written(def)) return err;
    *fieldNumber = int16_t(count + 1);
    return 0;
}

int16_t _DoQzLink(int16_t file, int16_t table, int16_t field, int16_t relatedTable, int16_t relatedField, int16_t flag)
{
    (void)flag;
    useres(file);
    const int16_t tables = TableCount();
    if (table < 1 || table > tables || relatedTable < 1 || relatedTable > tables) return kNoSuchTable;
    Handle from = TableDefinition(table);
    Handle to = TableDefinition(relatedTable);
    if (!from || !to) return kNoSuchTable;
    auto fits = [](Handle def, int16_t number) {
        return number >= 1 && number <= FieldCount(def) &&
               platform::GetHandleSize(def) >= kTableHeader + number * kFieldEntry;
    };
    if (!fits(from, field) || !fits(to, relatedField)) return kNoSuchField;
    auto* a = reinterpret_cast<uint8_t*>(*from) + kTableHeader + (field - 1) * kFieldEntry;
    platform::WriteBE16(a + 40, uint16_t(relatedTable));
    platform::WriteBE16(a + 42, uint16_t(relatedField));
    a[48] |= 0x82;
    auto* b = reinterpret_cast<uint8_t*>(*to) + kTableHeader + (relatedField - 1) * kFieldEntry;
    b[48] |= 0x82;
    if (const int16_t err = Written(from)) return err;
    if (to != from)
        if (const int16_t err = Written(to)) return err;
    return 0;
}

int16_t _CloseQzB(NewBase* base)
{
    int16_t err = 0;
    if (base->container != -1) {
        useres(base->container);
        if (!updateres(base->container)) err = StoreError();
    }
    CloseQzB(base->rsrFile, base->container, base->other, -1);
    base->rsrFile = base->container = base->other = -1;
    if (base->waiting) ReSetWaitDialog(&base->wait);
    base->waiting = false;
    CursRmve();
    return err;
}

int16_t CreateSQLBase(const Schema& schema, const std::string& scriptPath, platform::FSSpec* fileSpec)
{
    NewBase base;
    int16_t err = _CreateQzBase(scriptPath, int32_t(schema.tables.size()), &base);
    if (err) return err;
    err = _OpenQzB(&base);
    // The last link to each column that is only referenced.
    std::unordered_map<int64_t, const Link*> lastLinkTo;
    for (const Link& link : schema.links) lastLinkTo[(int64_t(link.toTable) << 32) | uint32_t(link.toColumn)] = &link;
    int16_t left = 10, top = 10;
    for (size_t t = 0; t < schema.tables.size() && err == 0; ++t) {
        const Table& table = schema.tables[t];
        int16_t number = 0;
        err = _NewQzFile(&base, base.container, table.name, left, top, &number);
        left = int16_t(left + 200);
        if (left > 800) {
            left = 10;
            top = int16_t(top + 150);
        }
        for (size_t c = 0; c < table.columns.size() && err == 0; ++c) {
            Column column = table.columns[c];
            // A column only referenced takes what refers to it (the last
            // link that does).
            const auto link = lastLinkTo.find((int64_t(t) << 32) | uint32_t(c));
            if (column.type == 0 && column.length == 0 && column.flags == 0 && link != lastLinkTo.end()) {
                const Column& from = schema.tables[size_t(link->second->fromTable)].columns[size_t(link->second->fromColumn)];
                column.type = from.type;
                column.length = from.length;
                column.flags = from.flags;
            }
            int16_t field = 0;
            err = _NewCritere(base.container, number, column.name, column.type, column.length, column.flags, &field);
        }
    }
    for (size_t i = 0; i < schema.links.size() && err == 0; ++i) {
        const Link& link = schema.links[i];
        err = _DoQzLink(base.container, int16_t(link.fromTable + 1), int16_t(link.fromColumn + 1),
                        int16_t(link.toTable + 1), int16_t(link.toColumn + 1), 0);
    }
    const int16_t closed = _CloseQzB(&base);

    if (err == 0) err = closed;
    // Only a whole structure replaces the chosen file.
    if (err == 0) err = PlaceBuilt(base.target);
    if (err) {
        DeleteBuilding(base.building);
        return err;
    }
    *fileSpec = base.target;
    return 0;
}

}  // namespace sql
