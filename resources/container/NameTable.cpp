#include "resources/container/NameTable.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "platform/core/Endian.h"

namespace container {

using namespace platform;

namespace {

constexpr size_t kEntrySize = 34;
constexpr uint8_t kMaxNameLength = 31;

}  // namespace

void NameTable::Clear()
{
    lists_.clear();
    first_.clear();
    lastList_.clear();
    repeated_ = false;
}

void NameTable::Read(const uint8_t* bytes, size_t size)
{
    Clear();
    if (size < 4) return;
    try {
        const uint8_t* p = bytes + 4;
        const uint8_t* end = bytes + size;
        const uint32_t count = ReadBE32(bytes);
        for (uint32_t l = 0; l < count && end - p >= 8; ++l) {
            const size_t index = lists_.size();
            List& list = lists_.emplace_back();
            list.type = ReadBE32(p);
            lastList_[list.type] = index;
            const uint32_t n = ReadBE32(p + 4);
            p += 8;
            for (uint32_t e = 0; e < n && size_t(end - p) >= kEntrySize; ++e, p += kEntrySize) {
                Entry& entry = list.entries.emplace_back();
                entry.id = ReadBES16(p);
                std::memcpy(entry.name, p + 2, sizeof entry.name);
                entry.name[0] = std::min(entry.name[0], kMaxNameLength);
                if (!first_.emplace(Key(list.type, entry.id), Where{index, std::prev(list.entries.end())}).second)
                    repeated_ = true;
            }
        }
    } catch (...) {
        Clear();
        throw;
    }
}

std::vector<uint8_t> NameTable::Write() const
{
    size_t total = 4;
    for (const List& list : lists_) total += 8 + kEntrySize * list.entries.size();
    std::vector<uint8_t> out(total);
    uint8_t* p = out.data();
    WriteBE32(p, uint32_t(lists_.size()));
    p += 4;
    for (const List& list : lists_) {
        WriteBE32(p, list.type);
        WriteBE32(p + 4, uint32_t(list.entries.size()));
        p += 8;
        for (const Entry& entry : list.entries) {
            WriteBE16(p, uint16_t(entry.id));
            std::memcpy(p + 2, entry.name, sizeof entry.name);
            p += kEntrySize;
        }
    }
    return out;
}

const uint8_t* NameTable::Find(ResType type, int16_t id) const
{
    const auto found = first_.find(Key(type, id));
    return found == first_.end() ? nullptr : found->second.entry->name;
}

void NameTable::Set(ResType type, int16_t id, const unsigned char* name)
{
    Entry named;
    named.id = id;
    named.name[0] = name ? std::min(name[0], kMaxNameLength) : 0;
    if (named.name[0]) std::memcpy(named.name + 1, name + 1, named.name[0]);
    const auto found = first_.find(Key(type, id));
    if (found != first_.end()) {
        std::memcpy(found->second.entry->name, named.name, sizeof named.name);
        return;
    }
    const auto last = lastList_.find(type);
    const bool newList = last == lastList_.end();
    const size_t index = newList ? lists_.size() : last->second;
    if (newList) {
        lists_.push_back(List{type, {}});
        try {
            lastList_.emplace(type, index);
        } catch (...) {
            lists_.pop_back();
            throw;
        }
    }
    std::list<Entry>& entries = lists_[index].entries;
    try {
        entries.push_front(named);
        try {
            first_.emplace(Key(type, id), Where{index, entries.begin()});
        } catch (...) {
            entries.pop_front();
            throw;
        }
    } catch (...) {
        if (newList) {
            lastList_.erase(type);
            lists_.pop_back();
        }
        throw;
    }
}

bool NameTable::Remove(ResType type, const int16_t* id)
{
    if (id && !repeated_) {
        const auto found = first_.find(Key(type, *id));
        if (found == first_.end()) return false;
        lists_[found->second.list].entries.erase(found->second.entry);
        first_.erase(found);
        return true;
    }
    bool removed = false;
    for (List& list : lists_) {
        if (list.type != type) continue;
        for (auto entry = list.entries.begin(); entry != list.entries.end();) {
            if (id && entry->id != *id) {
                ++entry;
                continue;
            }
            first_.erase(Key(type, entry->id));
            entry = list.entries.erase(entry);
            removed = true;
        }
    }
    return removed;
}

}  // namespace container
