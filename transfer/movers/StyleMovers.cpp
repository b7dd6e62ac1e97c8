// The movers of styles: rows of the style table 'STQz' 0 (a count, then
// 114-byte rows: a name in 32 bytes, the style text in 81, a pad byte).
// A style's id is its row.
#include <algorithm>
#include <cstring>
#include <vector>

#include "app/documents/MainDoc.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "transfer/driver/TransferSession.h"
#include "transfer/movers/MoverSupport.h"
#include "transfer/movers/Movers.h"

namespace transfer {

namespace {

const uint32_t kTable = platform::FourCC("STQz");
constexpr size_t kRowSize = 114, kNameRoom = 32, kTextAt = 32, kTextRoom = 81;
constexpr int64_t kStyleRoom = 10240;

struct StyleTable {
    std::vector<uint8_t> bytes{0, 0};
    int16_t Count() const { return platform::ReadBES16(bytes.data()); }
    uint8_t* Row(int16_t row) { return &bytes[2 + kRowSize * size_t(row - 1)]; }
};

// 1003 for a count past what the table holds.
int16_t LoadTable(TMainDoc* doc, StyleTable* table, bool* present)
{
    int16_t err = 0;
    platform::Handle h = CopyStoreRes(doc, kTable, 0, &err);
    *present = h != nullptr;
    if (!h) return err;
    const auto* p = reinterpret_cast<const uint8_t*>(*h);
    table->bytes.assign(p, p + platform::GetHandleSize(h));
    platform::DisposeHandle(h);
    if (table->bytes.size() < 2) table->bytes.assign(2, 0);
    const int16_t count = table->Count();
    return count < 0 || 2 + kRowSize * size_t(count) > table->bytes.size() ? kRecordMissing : 0;
}

int16_t StoreTable(TMainDoc* dest, const StyleTable& table)
{
    platform::Handle h = platform::NewHandle(platform::Size(table.bytes.size()));
    if (!h) return platform::memFullErr;
    std::memcpy(*h, table.bytes.data(), table.bytes.size());
    return ReplaceStoreRes(dest, h, kTable, 0);
}

void PutText(uint8_t* field, size_t room, const unsigned char* text)
{
    std::memset(field, 0, room);
    field[0] = uint8_t(std::min<size_t>(text[0], room - 1));
    std::memcpy(field + 1, text + 1, field[0]);
}

// The source's table, which must hold the style's row, and the
// destination's, after the room check.
int16_t LoadBoth(TMainDoc* source, TMainDoc* dest, TObjQz* obj, StyleTable* from, StyleTable* to)
{
    if (const int16_t err = RoomFor(dest, kStyleRoom)) return err;
    bool present = false;
    if (const int16_t err = LoadTable(source, from, &present)) return err;
    if (!present || obj->id < 1 || obj->id > from->Count()) return kRecordMissing;
    return LoadTable(dest, to, &present);
}

bool IsDeletedRow(const uint8_t* row) { return row[0] == 4 && std::memcmp(row + 1, "----", 4) == 0; }

}  // namespace

int16_t MoveResQzStyle(TMainDoc* source, TMainDoc* dest, TObjQz* obj, const unsigned char* name, int16_t* row)
{
    *row = 0;
    StyleTable from, to;
    if (const int16_t err = LoadBoth(source, dest, obj, &from, &to)) return err;
    int16_t at = 0;
    for (int32_t r = 1; r <= to.Count() && at == 0; ++r)
        if (IsDeletedRow(to.Row(r))) at = r;
    if (at == 0) {
        if (to.Count() == 32767) return kRecordMissing;
        at = int16_t(to.Count() + 1);
        to.bytes.resize(2 + kRowSize * size_t(to.Count()));
        to.bytes.resize(to.bytes.size() + kRowSize, 0);
        platform::WriteBE16(to.bytes.data(), uint16_t(at));
    } else if (TObjQz* deleted = SearchObj_Id(dest, 12, at); deleted && deleted->kind == 12) {
        // The deleted style's object leaves: nothing may point at it any more.
        RetireObj(deleted);
    }
    PutText(to.Row(at), kNameRoom, name);
    std::memcpy(to.Row(at) + kTextAt, from.Row(obj->id) + kTextAt, kTextRoom);
    if (const int16_t err = StoreTable(dest, to)) return err;
    *row = at;
    return 0;
}

int16_t MoveStyle(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName)
{
    *newObj = nullptr;
    unsigned char name[256];
    const unsigned char* given = newName && newName[0] ? newName : obj->name;
    std::memcpy(name, given, size_t(given[0]) + 1);
    name[0] = std::min<uint8_t>(name[0], uint8_t(kNameRoom - 1));
    int16_t row = 0;
    if (const int16_t err = MoveResQzStyle(source, dest, obj, name, &row)) return err;
    TObjQz* made = NewObj_Id(dest, 12, name, row, false);
    auto* style = dynamic_cast<TStyleObjQz*>(made);
    if (!style || made->id != row) return platform::memFullErr;
    std::memcpy(style->description, static_cast<TStyleObjQz*>(obj)->description, sizeof style->description);
    if (const int16_t err = CommitNoMap(dest)) return err;
    *newObj = made;
    return 0;
}

int16_t ReplaceStyle(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj)
{
    auto* target = dynamic_cast<TStyleObjQz*>(*destObj);
    if (!target) return kRecordMissing;
    StyleTable from, to;
    if (const int16_t err = LoadBoth(source, dest, obj, &from, &to)) return err;
    int16_t at = 0;
    for (int32_t r = 1; r <= to.Count() && at == 0; ++r) {
        const uint8_t* row = to.Row(r);
        if (row[0] == target->name[0] && std::memcmp(row + 1, target->name + 1, row[0]) == 0) at = r;
    }
    if (at == 0) return kRecordMissing;
    NoteReplacedObj(target);
    std::memcpy(to.Row(at) + kTextAt, from.Row(obj->id) + kTextAt, kTextRoom);
    if (const int16_t err = StoreTable(dest, to)) return err;
    std::memcpy(target->description, static_cast<TStyleObjQz*>(obj)->description, sizeof target->description);
    return CommitNoMap(dest);
}

}  // namespace transfer
