// Item lists and resources for dialog tests.
#pragma once

#include <string>
#include <vector>

#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/drawing/QuickDrawTypes.h"

namespace platform::testing {

class ItemList {
public:
    ItemList& Add(uint8_t type, Rect box, const std::string& data)
    {
        const size_t at = items_.size();
        items_.resize(at + 14);
        WriteBE16(&items_[at + 4], uint16_t(box.top));
        WriteBE16(&items_[at + 6], uint16_t(box.left));
        WriteBE16(&items_[at + 8], uint16_t(box.bottom));
        WriteBE16(&items_[at + 10], uint16_t(box.right));
        items_[at + 12] = type;
        items_[at + 13] = uint8_t(data.size());
        items_.insert(items_.end(), data.begin(), data.end());
        if (data.size() & 1) items_.push_back(0);
        ++count_;
        return *this;
    }
    ItemList& AddId(uint8_t type, Rect box, int16_t id)
    {
        std::string data(2, '\0');
        WriteBE16(data.data(), uint16_t(id));
        return Add(type, box, data);
    }
    std::vector<uint8_t> Bytes() const
    {
        std::vector<uint8_t> b(2);
        WriteBE16(b.data(), uint16_t(count_ - 1));
        b.insert(b.end(), items_.begin(), items_.end());
        return b;
    }
    Handle NewItemHandle() const
    {
        const std::vector<uint8_t> b = Bytes();
        Handle h = NewHandle(Size(b.size()));
        BlockMoveData(b.data(), *h, Size(b.size()));
        return h;
    }

private:
    std::vector<uint8_t> items_;
    int count_ = 0;
};

inline std::vector<uint8_t> AlertBytes(Rect bounds, int16_t items, uint16_t stages)
{
    std::vector<uint8_t> b(12);
    WriteBE16(&b[0], uint16_t(bounds.top));
    WriteBE16(&b[2], uint16_t(bounds.left));
    WriteBE16(&b[4], uint16_t(bounds.bottom));
    WriteBE16(&b[6], uint16_t(bounds.right));
    WriteBE16(&b[8], uint16_t(items));
    WriteBE16(&b[10], stages);
    return b;
}

}  // namespace platform::testing
