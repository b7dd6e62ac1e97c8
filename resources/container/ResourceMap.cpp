#include "resources/container/ResourceMap.h"

#include <algorithm>
#include <new>

#include "platform/core/Endian.h"
#include "resources/container/ContainerLayout.h"
#include "resources/container/FileOrder.h"

namespace container {

using namespace platform;

OSErr ResourceMap::Decode(const uint8_t* bytes, uint32_t length, int32_t swapFlag, uint32_t openTime)
{
    ClearMap();
    std::vector<uint8_t> copy(bytes, bytes + length);
    uint8_t* p = copy.data();
    const uint8_t* end = p + length;
    if (length < 2) return -2;
    MapWordsToHost(p, 2, swapFlag);
    const uint16_t typeCount = ReadBE16(p);
    p += 2;
    std::vector<TypeList> types;
    types.reserve(size_t(typeCount));
    for (uint16_t t = 0; t < typeCount; ++t) {
        if (end - p < int64_t(kTypeListHeaderSize)) return -2;
        TypeListHeaderToHost(p, swapFlag);
        const uint16_t count = ReadBE16(p);
        TypeList list;
        list.type = ReadBE32(p + 2);
        p += kTypeListHeaderSize;
        if (end - p < int64_t(count) * kMapRecordSize) return -2;
        list.records.resize(size_t(count));
        for (MapRecord& rec : list.records) {
            rec.serial = list.nextSerial++;
            MapRecordToHost(p, swapFlag);
            rec.offset = ReadBE32(p + 4);
            rec.length = ReadBE32(p + 8);
            rec.attributes = uint16_t(ReadBE16(p + 12) & kAttrStoredMask);
            rec.id = ReadBES16(p + 14);
            rec.stamp = ReadBE32(p + 16);
            if (rec.stamp == kUnknownStamp) rec.stamp = openTime;
            p += kMapRecordSize;
        }
        types.push_back(std::move(list));
    }
    types_ = std::move(types);
    return noErr;
}

std::vector<uint8_t> ResourceMap::Encode(int32_t swapFlag) const
{
    std::vector<uint8_t> out(CalcMapLen(), 0);
    uint8_t* p = out.data();
    WriteBE16(p, uint16_t(types_.size()));
    MapWordsToFile(p, 2, swapFlag);
    p += 2;
    for (const TypeList& list : types_) {
        uint8_t* start = p;
        WriteBE16(p, uint16_t(list.records.size()));
        WriteBE32(p + 2, list.type);
        p += kTypeListHeaderSize;
        for (const MapRecord& rec : list.records) {
            WriteBE32(p, 0);
            WriteBE32(p + 4, rec.offset);
            WriteBE32(p + 8, rec.length);
            WriteBE16(p + 12, uint16_t(rec.attributes & kAttrStoredMask));
            WriteBE16(p + 14, uint16_t(rec.id));
            WriteBE32(p + 16, rec.stamp);
            p += kMapRecordSize;
        }
        TypeListToFile(start, int32_t(p - start), swapFlag);
    }
    return out;
}

uint32_t ResourceMap::CalcMapLen() const
{
    uint64_t length = 2;
    for (const TypeList& list : types_) length += kTypeListHeaderSize + uint64_t(kMapRecordSize) * list.records.size();
    return uint32_t(length);
}

void ResourceMap::ClearMap()
{
    types_.clear();
    changed = false;
    indexesValid_ = false;
}

// The indexes are a cache: when memory runs out while they are built or
// updated they are dropped, and look-ups walk the lists instead.
bool ResourceMap::IndexesReady() const
{
    if (indexesValid_) return true;
    try {
        lastListOfType_.clear();
        byHandle_.Clear();
        firstOfId_.assign(types_.size(), {});
        for (size_t t = 0; t < types_.size(); ++t) {
            lastListOfType_[types_[t].type] = int32_t(t);
            auto& ids = firstOfId_[t];
            for (const MapRecord& rec : types_[t].records) {
                IdRecords& held = ids.try_emplace(rec.id, IdRecords{rec.serial, 0}).first->second;
                ++held.count;
                if (rec.contents) byHandle_.Put(rec.contents, {int32_t(t), rec.serial});
            }
        }
        indexesValid_ = true;
    } catch (const std::bad_alloc&) {
        DropIndexes();
    }
    return indexesValid_;
}

void ResourceMap::DropIndexes() const noexcept
{
    indexesValid_ = false;
    lastListOfType_.clear();
    byHandle_.Clear();
    firstOfId_.clear();
}

int32_t ResourceMap::PlaceOf(int32_t t, uint32_t serial) const
{
    const auto& records = types_[size_t(t)].records;
    // Until a record of the list is removed, each stands at its serial.
    if (serial < records.size() && records[serial].serial == serial) return int32_t(serial);
    const auto at = std::lower_bound(records.begin(), records.end(), serial,
                                     [](const MapRecord& rec, uint32_t s) { return rec.serial < s; });
    return int32_t(at - records.begin());
}

void ResourceMap::SetContents(int32_t t, int32_t r, Handle h)
{
    MapRecord& rec = Edit(t, r);
    if (indexesValid_) {
        try {
            if (rec.contents) byHandle_.Remove(rec.contents);
            if (h) byHandle_.Put(h, {t, rec.serial});
        } catch (const std::bad_alloc&) {
            DropIndexes();
        }
    }
    rec.contents = h;
}

bool ResourceMap::FindID(ResType type, int16_t id, bool includeEnciphered, int32_t* t, int32_t* r) const
{
    auto matches = [&](const MapRecord& rec) {
        return rec.id == id && (includeEnciphered || !(rec.attributes & kAttrEnciphered));
    };
    if (!IndexesReady()) {
        for (size_t ti = types_.size(); ti-- > 0;) {
            if (types_[ti].type != type) continue;
            const auto& records = types_[ti].records;
            for (size_t i = 0; i < records.size(); ++i)
                if (matches(records[i])) {
                    *t = int32_t(ti);
                    *r = int32_t(i);
                    return true;
                }
            return false;
        }
        return false;
    }
    auto list = lastListOfType_.find(type);
    if (list == lastListOfType_.end()) return false;
    auto first = firstOfId_[size_t(list->second)].find(id);
    if (first == firstOfId_[size_t(list->second)].end()) return false;
    const auto& records = types_[size_t(list->second)].records;
    for (size_t i = size_t(PlaceOf(list->second, first->second.first)); i < records.size(); ++i) {
        if (!matches(records[i])) continue;
        *t = list->second;
        *r = int32_t(i);
        return true;
    }
    return false;
}

bool ResourceMap::FindRes(Handle h, int32_t* t, int32_t* r) const
{
    if (!h) return false;
    if (!IndexesReady()) {
        for (size_t ti = 0; ti < types_.size(); ++ti)
            for (size_t i = 0; i < types_[ti].records.size(); ++i)
                if (types_[ti].records[i].contents == h) {
                    *t = int32_t(ti);
                    *r = int32_t(i);
                    return true;
                }
        return false;
    }
    const Place* found = byHandle_.Find(h);
    if (!found) return false;
    *t = found->t;
    *r = PlaceOf(found->t, found->serial);
    return true;
}

bool ResourceMap::HoldsID(int32_t t, int16_t id) const
{
    if (IndexesReady()) return firstOfId_[size_t(t)].count(id) != 0;
    const auto& records = types_[size_t(t)].records;
    return std::any_of(records.begin(), records.end(), [&](const MapRecord& rec) { return rec.id == id; });
}

int32_t ResourceMap::FindType(ResType type) const
{
    for (size_t t = 0; t < types_.size(); ++t)
        if (types_[t].type == type) return int32_t(t);
    return -1;
}

void ResourceMap::Add(ResType type, const MapRecord& record, int32_t* t, int32_t* r)
{
    int32_t ti = -1;
    for (size_t i = types_.size(); i-- > 0;)
        if (types_[i].type == type) {
            ti = int32_t(i);
            break;
        }
    // A failure leaves the map as it was: a list made for the record goes
    // again (a record appended to a list that throws leaves it as it was).
    const bool made = ti < 0;
    if (made) {
        types_.reserve(types_.size() + 1);
        ti = int32_t(types_.size());
        types_.push_back(TypeList{type, {}, 0, true});
    }
    TypeList& list = types_[size_t(ti)];
    list.edited = true;
    auto& records = list.records;
    const int32_t ri = int32_t(records.size());
    try {
        records.push_back(record);
    } catch (...) {
        if (made) types_.pop_back();
        throw;
    }
    records.back().serial = list.nextSerial++;
    if (indexesValid_) {
        try {
            lastListOfType_[type] = ti;
            if (size_t(ti) == firstOfId_.size()) firstOfId_.emplace_back();
            ++firstOfId_[size_t(ti)].try_emplace(record.id, IdRecords{records.back().serial, 0}).first->second.count;
            if (record.contents) byHandle_.Put(record.contents, {ti, records.back().serial});
        } catch (const std::bad_alloc&) {
            DropIndexes();
        }
    }
    *t = ti;
    *r = ri;
}

void ResourceMap::Remove(int32_t t, int32_t r)
{
    auto& records = types_[size_t(t)].records;
    // The indexes name records by serial: only the removed one leaves them
    // (a list that empties goes, and the lists after it move: a remake).
    if (indexesValid_ && records.size() > 1) {
        const MapRecord& rec = records[size_t(r)];
        auto& ids = firstOfId_[size_t(t)];
        if (auto held = ids.find(rec.id); held != ids.end()) {
            if (--held->second.count <= 0) {
                ids.erase(held);
            } else if (held->second.first == rec.serial) {
                auto next = std::find_if(records.begin() + r + 1, records.end(),
                                         [&](const MapRecord& other) { return other.id == rec.id; });
                if (next != records.end()) held->second.first = next->serial;
            }
        }
        if (rec.contents) byHandle_.Remove(rec.contents);
    } else {
        indexesValid_ = false;
    }
    records.erase(records.begin() + r);
    if (records.empty()) types_.erase(types_.begin() + t);
}

}  // namespace container
