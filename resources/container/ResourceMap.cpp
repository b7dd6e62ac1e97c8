#include "resources/container/ResourceMap.h"

#include "platform/core/Endian.h"
#include "resources/container/ContainerLayout.h"
#include "resources/container/FileOrder.h"

namespace container {

using namespace platform;

OSErr ResourceMap::Decode(const uint8_t* bytes, uint32_t length, int32_t swapFlag, uint32_t openTime)
{
    Clear();
    std::vector<uint8_t> copy(bytes, bytes + length);
    uint8_t* p = copy.data();
    const uint8_t* end = p + length;
    if (length < 2) return -2;
    MapWordsToHost(p, 2, swapFlag);
    int16_t typeCount = ReadBES16(p);
    p += 2;
    if (typeCount < 0) return -2;
    std::vector<TypeList> types;
    types.reserve(size_t(typeCount));
    for (int16_t t = 0; t < typeCount; ++t) {
        if (end - p < int64_t(kTypeListHeaderSize)) return -2;
        TypeListHeaderToHost(p, swapFlag);
        int16_t count = ReadBES16(p);
        TypeList list;
        list.type = ReadBE32(p + 2);
        p += kTypeListHeaderSize;
        if (count < 0 || end - p < int64_t(count) * kMapRecordSize) return -2;
        list.records.resize(size_t(count));
        for (MapRecord& rec : list.records) {
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
        WriteBE16(p, uint16_t(list.records.size()));
        WriteBE32(p + 2, list.type);
        TypeListHeaderToFile(p, swapFlag);
        p += kTypeListHeaderSize;
        for (const MapRecord& rec : list.records) {
            WriteBE32(p, 0);
            WriteBE32(p + 4, rec.offset);
            WriteBE32(p + 8, rec.length);
            WriteBE16(p + 12, uint16_t(rec.attributes & kAttrStoredMask));
            WriteBE16(p + 14, uint16_t(rec.id));
            WriteBE32(p + 16, rec.stamp);
            MapRecordToFile(p, swapFlag);
            p += kMapRecordSize;
        }
    }
    return out;
}

uint32_t ResourceMap::CalcMapLen() const
{
    uint64_t length = 2;
    for (const TypeList& list : types_) length += kTypeListHeaderSize + uint64_t(kMapRecordSize) * list.records.size();
    return uint32_t(length);
}

void ResourceMap::Clear()
{
    types_.clear();
    changed = false;
    indexesValid_ = false;
}

void ResourceMap::BuildIndexes() const
{
    lastListOfType_.clear();
    byHandle_.clear();
    firstOfId_.assign(types_.size(), {});
    for (size_t t = 0; t < types_.size(); ++t) {
        lastListOfType_[types_[t].type] = int32_t(t);
        auto& ids = firstOfId_[t];
        const auto& records = types_[t].records;
        for (size_t r = 0; r < records.size(); ++r) {
            ids.emplace(records[r].id, int32_t(r));
            if (records[r].contents) byHandle_.emplace(records[r].contents, std::make_pair(int32_t(t), int32_t(r)));
        }
    }
    indexesValid_ = true;
}

void ResourceMap::SetContents(int32_t t, int32_t r, Handle h)
{
    MapRecord& rec = Edit(t, r);
    if (indexesValid_) {
        if (rec.contents) byHandle_.erase(rec.contents);
        if (h) byHandle_[h] = {t, r};
    }
    rec.contents = h;
}

bool ResourceMap::FindID(ResType type, int16_t id, bool includeEnciphered, int32_t* t, int32_t* r) const
{
    if (!indexesValid_) BuildIndexes();
    auto list = lastListOfType_.find(type);
    if (list == lastListOfType_.end()) return false;
    auto first = firstOfId_[size_t(list->second)].find(id);
    if (first == firstOfId_[size_t(list->second)].end()) return false;
    const auto& records = types_[size_t(list->second)].records;
    for (size_t i = size_t(first->second); i < records.size(); ++i) {
        if (records[i].id != id) continue;
        if (!includeEnciphered && (records[i].attributes & kAttrEnciphered)) continue;
        *t = list->second;
        *r = int32_t(i);
        return true;
    }
    return false;
}

bool ResourceMap::FindRes(Handle h, int32_t* t, int32_t* r) const
{
    if (!h) return false;
    if (!indexesValid_) BuildIndexes();
    auto found = byHandle_.find(h);
    if (found == byHandle_.end()) return false;
    *t = found->second.first;
    *r = found->second.second;
    return true;
}

int32_t ResourceMap::FindType(ResType type) const
{
    for (size_t t = 0; t < types_.size(); ++t)
        if (types_[t].type == type) return int32_t(t);
    return -1;
}

void ResourceMap::Add(ResType type, const MapRecord& record, int32_t* t, int32_t* r)
{
    if (!indexesValid_) BuildIndexes();
    auto list = lastListOfType_.find(type);
    int32_t ti;
    if (list == lastListOfType_.end()) {
        ti = int32_t(types_.size());
        types_.push_back(TypeList{type, {}});
        lastListOfType_[type] = ti;
        firstOfId_.emplace_back();
    } else {
        ti = list->second;
    }
    auto& records = types_[size_t(ti)].records;
    int32_t ri = int32_t(records.size());
    records.push_back(record);
    firstOfId_[size_t(ti)].emplace(record.id, ri);
    if (record.contents) byHandle_[record.contents] = {ti, ri};
    *t = ti;
    *r = ri;
}

void ResourceMap::Remove(int32_t t, int32_t r)
{
    auto& records = types_[size_t(t)].records;
    records.erase(records.begin() + r);
    if (records.empty()) types_.erase(types_.begin() + t);
    indexesValid_ = false;
}

}  // namespace container
