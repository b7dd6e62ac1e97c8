// The map of a container in memory: one type list per resource type, each
// with its records in stored order. A record's contents handle is the
// loaded payload (null when not loaded). Look-ups by (type, id) and by
// handle go through indexes kept beside the lists; they name records by
// their serial, which grows along a list, so that a record removed leaves
// the indexes true without a remake and a look-up finds its record's place
// by a binary search.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <unordered_map>
#include <vector>

#include "platform/core/AddressTable.h"
#include "platform/core/MacTypes.h"

namespace container {

struct MapRecord {
    platform::Handle contents = nullptr;
    uint32_t offset = 0;
    uint32_t length = 0;
    uint16_t attributes = 0;
    int16_t id = 0;
    uint32_t stamp = 0;
    uint32_t serial = 0;  // in memory only: greater than every earlier record's of its list
};

struct TypeList {
    platform::ResType type = 0;
    // A removal moves the records on its shorter side.
    std::deque<MapRecord> records;
    uint32_t nextSerial = 0;
    // Whether a record of the list may be marked changed: set by whatever
    // can mark one (a read, an edit, an addition), cleared only once a
    // commit found none left. A commit looks at these lists alone.
    bool edited = true;
};

class ResourceMap {
public:
    // Reads the stored map. swapFlag -1: the map is little-endian.
    // Records are prepared for use: no contents, run-time attributes
    // cleared, unknown stamps replaced by openTime. -2 when damaged.
    platform::OSErr Decode(const uint8_t* bytes, uint32_t length, int32_t swapFlag, uint32_t openTime);
    // The stored form, in the file's byte order.
    std::vector<uint8_t> Encode(int32_t swapFlag) const;
    // 2 + the sum over types of 6 + 20 x count.
    uint32_t CalcMapLen() const;
    void ClearMap();

    int32_t TypeCount() const { return int32_t(types_.size()); }
    const TypeList& TypeAt(int32_t t) const { return types_[size_t(t)]; }
    const MapRecord& At(int32_t t, int32_t r) const { return types_[size_t(t)].records[size_t(r)]; }
    // Fields other than the contents handle may be changed through here.
    MapRecord& Edit(int32_t t, int32_t r)
    {
        types_[size_t(t)].edited = true;
        return types_[size_t(t)].records[size_t(r)];
    }
    // No record of any list is marked changed any more.
    void NoteNoneChanged()
    {
        for (TypeList& list : types_) list.edited = false;
    }
    void SetContents(int32_t t, int32_t r, platform::Handle h);

    // 0-based indices. FindID takes the last list of the type and its
    // first record of the id (enciphered records only when asked).
    bool FindID(platform::ResType type, int16_t id, bool includeEnciphered, int32_t* t, int32_t* r) const;
    bool FindRes(platform::Handle h, int32_t* t, int32_t* r) const;
    // The first list of the type, -1 when none.
    int32_t FindType(platform::ResType type) const;
    // Some record of list t has the id, whatever its attributes.
    bool HoldsID(int32_t t, int16_t id) const;

    // Appends a record to its type's list (a new list at the end when the
    // type is missing) and returns its indices. When it throws the map is
    // as it was.
    void Add(platform::ResType type, const MapRecord& record, int32_t* t, int32_t* r);
    // Removes a record; an emptied type list goes too.
    void Remove(int32_t t, int32_t r);

    bool changed = false;

private:
    // Builds the indexes when needed; false when they cannot be had.
    bool IndexesReady() const;
    void DropIndexes() const noexcept;
    // The place in list t of the record of that serial.
    int32_t PlaceOf(int32_t t, uint32_t serial) const;

    std::vector<TypeList> types_;
    mutable bool indexesValid_ = false;
    mutable std::unordered_map<platform::ResType, int32_t> lastListOfType_;
    // Per type list: id -> the first record with that id, and how many.
    struct IdRecords {
        uint32_t first = 0;
        int32_t count = 0;
    };
    mutable std::vector<std::unordered_map<int16_t, IdRecords>> firstOfId_;
    struct Place {
        int32_t t = 0;
        uint32_t serial = 0;
    };
    mutable platform::AddressTableOf<Place> byHandle_;
};

}  // namespace container
