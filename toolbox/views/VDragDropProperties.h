// What a frame may send and accept by drag and drop: margins widening the
// area that accepts drops, the kinds of content it accepts, and signature
// records (sends, receives, a name of at most 32 characters). Kept as one
// block of big-endian fields:
//   0 version (2), 2 left, 6 top, 10 right, 14 bottom margins (4 each),
//   18 allowed drop kinds (4), 22 capacity (2), 24 count (2),
//   26 records of 70 bytes: sends (1), receives (1), length (2), up to 32
//   UTF-16 units, 2 spare.
#pragma once

#include <cstdint>
#include <vector>

#include "toolbox/foundation/VObject.h"

class VString;
class VDragDropDragger;

// A bit set of the kinds of content a dragger carries and a frame accepts
// (1024: text); a drop needs one kind in common.
using DragContentKind = uint32_t;

class VDragDropProperties : public VObject {
public:
    static constexpr int32_t kHeaderSize = 26;
    static constexpr int32_t kRecordSize = 70;
    static constexpr int32_t kMaxSignature = 32;

    VDragDropProperties();

    void AddDropBit(DragContentKind kind);
    DragContentKind GetAllowedDrops() const;
    void SetMargins(int32_t left, int32_t top, int32_t right, int32_t bottom);
    void GetMargins(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom) const;
    // Adds the flags to the record of that signature (cut to 32
    // characters), or a new record; false when memory ran out.
    bool AddSignature(bool sends, bool receives, const VString& signature);
    bool CanAcceptDrop(VDragDropDragger* dragger) const;
    // Records that only receive go; the others stop receiving.
    void KillDropSignatures();

    int32_t CountSignatures() const;
    int32_t GetCapacity() const;
    // The record's flags and name (1-based); false outside.
    bool GetSignature(int32_t n, bool& sends, bool& receives, VString& name) const;
    int32_t GetSize() const { return int32_t(fBlock.size()); }
    const std::vector<uint8_t>& GetBlock() const { return fBlock; }

    // Properties read from another program's or window's bytes: false (and
    // nothing kept) when the block is damaged.
    bool FromBlock(const uint8_t* data, size_t size);

private:
    int32_t RecordOffset(int32_t n) const { return kHeaderSize + (n - 1) * kRecordSize; }
    // The 1-based record whose name equals the units; 0 when none.
    int32_t FindSignature(const std::vector<char16_t>& units) const;
    bool RecordSendsName(const std::vector<char16_t>& units) const;
    std::vector<char16_t> RecordName(int32_t n) const;

    std::vector<uint8_t> fBlock;
};
