#include "toolbox/views/VDragDropProperties.h"

#include <algorithm>
#include <new>

#include "platform/core/Endian.h"
#include "toolbox/foundation/VString.h"
#include "toolbox/foundation/VUniString.h"
#include "toolbox/views/VDragger.h"

namespace {

// The block is big-endian; callers keep every offset inside it.
uint16_t Get16(const std::vector<uint8_t>& b, size_t at) { return platform::ReadBE16(b.data() + at); }
uint32_t Get32(const std::vector<uint8_t>& b, size_t at) { return platform::ReadBE32(b.data() + at); }
void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) { platform::WriteBE16(b.data() + at, v); }
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) { platform::WriteBE32(b.data() + at, v); }

constexpr size_t kVersion = 0, kLeft = 2, kTop = 6, kRight = 10, kBottom = 14, kAllowed = 18, kCapacity = 22,
                 kCount = 24;

std::vector<char16_t> UnitsOf(const VString& s)
{
    std::vector<char16_t> units;
    const int32_t n = std::min<int32_t>(s.GetLength(), VDragDropProperties::kMaxSignature);
    for (int32_t i = 1; i <= n; ++i) units.push_back(s.GetChar(i));
    return units;
}

}  // namespace

VDragDropProperties::VDragDropProperties() : fBlock(kHeaderSize + kRecordSize, 0)
{
    Put16(fBlock, kVersion, 1);
    Put16(fBlock, kCapacity, 1);
}

void VDragDropProperties::AddDropBit(DragContentKind kind) { Put32(fBlock, kAllowed, GetAllowedDrops() | kind); }

DragContentKind VDragDropProperties::GetAllowedDrops() const { return Get32(fBlock, kAllowed); }

void VDragDropProperties::SetMargins(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    Put32(fBlock, kLeft, uint32_t(left));
    Put32(fBlock, kTop, uint32_t(top));
    Put32(fBlock, kRight, uint32_t(right));
    Put32(fBlock, kBottom, uint32_t(bottom));
}

void VDragDropProperties::GetMargins(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom) const
{
    left = int32_t(Get32(fBlock, kLeft));
    top = int32_t(Get32(fBlock, kTop));
    right = int32_t(Get32(fBlock, kRight));
    bottom = int32_t(Get32(fBlock, kBottom));
}

int32_t VDragDropProperties::CountSignatures() const { return Get16(fBlock, kCount); }

int32_t VDragDropProperties::GetCapacity() const { return Get16(fBlock, kCapacity); }

std::vector<char16_t> VDragDropProperties::RecordName(int32_t n) const
{
    const size_t at = size_t(RecordOffset(n));
    const int32_t length = std::min<int32_t>(Get16(fBlock, at + 2), kMaxSignature);
    std::vector<char16_t> units;
    for (int32_t i = 0; i < length; ++i) units.push_back(char16_t(Get16(fBlock, at + 4 + size_t(i) * 2)));
    return units;
}

int32_t VDragDropProperties::FindSignature(const std::vector<char16_t>& units) const
{
    for (int32_t n = 1; n <= CountSignatures(); ++n)
        if (RecordName(n) == units) return n;
    return 0;
}

bool VDragDropProperties::AddSignature(bool sends, bool receives, const VString& signature)
{
    // Cut before comparing: records hold at most 32 characters, so a
    // longer name compared whole would never find its own record.
    const std::vector<char16_t> units = UnitsOf(signature);
    int32_t n = FindSignature(units);
    if (n == 0) {
        const int32_t count = CountSignatures();
        if (count >= 0xFFFF) return false;
        if (count + 1 > GetCapacity()) {
            try {
                std::vector<uint8_t> grown(fBlock);
                grown.resize(size_t(kHeaderSize + (count + 1) * kRecordSize), 0);
                fBlock.swap(grown);
            } catch (const std::bad_alloc&) {
                return false;
            }
            Put16(fBlock, kCapacity, uint16_t(count + 1));
        }
        n = count + 1;
        const size_t at = size_t(RecordOffset(n));
        std::fill(fBlock.begin() + std::ptrdiff_t(at), fBlock.begin() + std::ptrdiff_t(at + kRecordSize), 0);
        Put16(fBlock, at + 2, uint16_t(units.size()));
        for (size_t i = 0; i < units.size(); ++i) Put16(fBlock, at + 4 + i * 2, units[i]);
        Put16(fBlock, kCount, uint16_t(n));
    }
    const size_t at = size_t(RecordOffset(n));
    if (sends) fBlock[at] = 1;
    if (receives) fBlock[at + 1] = 1;
    return true;
}

bool VDragDropProperties::GetSignature(int32_t n, bool& sends, bool& receives, VString& name) const
{
    if (n < 1 || n > CountSignatures()) return false;
    const size_t at = size_t(RecordOffset(n));
    sends = fBlock[at] != 0;
    receives = fBlock[at + 1] != 0;
    const std::vector<char16_t> units = RecordName(n);
    name.FromUniBlock(units.data(), 0, int32_t(units.size()));
    return true;
}

bool VDragDropProperties::RecordSendsName(const std::vector<char16_t>& units) const
{
    const int32_t n = FindSignature(units);
    return n > 0 && fBlock[size_t(RecordOffset(n))] != 0;
}

bool VDragDropProperties::CanAcceptDrop(VDragDropDragger* dragger) const
{
    if (!dragger) return false;
    const VDragDropProperties* source = dragger->GetOwnProperties();
    if (!source && dragger->GetSource()) source = dragger->GetSource()->GetDragDropProperties();
    if ((GetAllowedDrops() & dragger->GetContentKinds()) == 0) return false;
    if (!source) return false;
    for (int32_t n = 1; n <= CountSignatures(); ++n) {
        if (fBlock[size_t(RecordOffset(n)) + 1] == 0) continue;
        if (source->RecordSendsName(RecordName(n))) return true;
    }
    return false;
}

void VDragDropProperties::KillDropSignatures()
{
    int32_t n = 1;
    while (n <= CountSignatures()) {
        const size_t at = size_t(RecordOffset(n));
        if (fBlock[at] == 0 && fBlock[at + 1] != 0) {
            const int32_t count = CountSignatures();
            const size_t end = size_t(RecordOffset(count + 1));
            std::copy(fBlock.begin() + std::ptrdiff_t(at + kRecordSize), fBlock.begin() + std::ptrdiff_t(end),
                      fBlock.begin() + std::ptrdiff_t(at));
            std::fill(fBlock.begin() + std::ptrdiff_t(end - kRecordSize), fBlock.begin() + std::ptrdiff_t(end), 0);
            Put16(fBlock, kCount, uint16_t(count - 1));
            continue;
        }
        fBlock[at + 1] = 0;
        ++n;
    }
}

bool VDragDropProperties::FromBlock(const uint8_t* data, size_t size)
{
    if (!data || size < size_t(kHeaderSize)) return false;
    std::vector<uint8_t> block(data, data + size);
    if (Get16(block, kVersion) != 1) return false;
    const uint32_t capacity = Get16(block, kCapacity);
    const uint32_t count = Get16(block, kCount);
    if (capacity < 1 || count > capacity) return false;
    if (size != size_t(kHeaderSize) + size_t(capacity) * kRecordSize) return false;
    for (uint32_t n = 1; n <= count; ++n) {
        const size_t at = size_t(kHeaderSize) + (n - 1) * kRecordSize;
        if (Get16(block, at + 2) > kMaxSignature) return false;
    }
    fBlock.swap(block);
    return true;
}
