// The names of a container's resources, held as the names table stores
// them: lists of entries by type, in the order the types were first named,
// each entry an id and a name of up to 31 characters, the newest entry of a
// list first. Looking up, naming and dropping a name take constant time;
// the stored form is made whole when it is written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <list>
#include <unordered_map>
#include <vector>

#include "platform/core/MacTypes.h"

namespace container {

class NameTable {
public:
    // Takes the stored form: a u32 count of lists, then per list its type,
    // a u32 count and 34-byte entries (i16 id, then a 32-byte Pascal
    // string). A table cut short keeps what fits; longer names are cut to
    // 31 characters. When it throws the table is empty.
    void Read(const uint8_t* bytes, size_t size);
    std::vector<uint8_t> Write() const;
    void Clear();

    // The name of (type, id), its length byte first; null when it has none.
    // Of two entries of one id the first counts.
    const uint8_t* Find(platform::ResType type, int16_t id) const;
    // Names (type, id): the entry Find sees takes the name; else a new
    // entry goes first in the type's last list, or in a new list at the
    // end. When it throws the table is as it was.
    void Set(platform::ResType type, int16_t id, const unsigned char* name);
    // Drops every entry of (type, id), or of the type when id is null; the
    // lists stay, empty or not. False when there was none to drop.
    bool Remove(platform::ResType type, const int16_t* id);

private:
    struct Entry {
        int16_t id = 0;
        uint8_t name[32] = {};
    };
    struct List {
        platform::ResType type = 0;
        std::list<Entry> entries;
    };
    struct Where {
        size_t list = 0;
        std::list<Entry>::iterator entry;
    };
    static uint64_t Key(platform::ResType type, int16_t id) { return uint64_t(type) << 16 | uint16_t(id); }

    std::deque<List> lists_;
    // (type, id) -> its first entry; type -> its last list.
    std::unordered_map<uint64_t, Where> first_;
    std::unordered_map<platform::ResType, size_t> lastList_;
    // Some (type, id) has more than one entry (a table written elsewhere):
    // dropping it then looks through the type's lists.
    bool repeated_ = false;
};

}  // namespace container
