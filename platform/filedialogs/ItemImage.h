// Dialog items written as a 'DITL' image for NewDialog, for the dialogs the
// platform makes itself (published layout: the count less one, then per
// item a reserved long, the box, the type and the length-prefixed data,
// padded to even). Texts are Mac Roman.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

class ItemList {
public:
    void Add(const Rect& box, uint8_t type, const std::string& text)
    {
        size_t at = bytes_.size();
        bytes_.resize(at + 14);
        WriteBE16(&bytes_[at + 4], uint16_t(box.top));
        WriteBE16(&bytes_[at + 6], uint16_t(box.left));
        WriteBE16(&bytes_[at + 8], uint16_t(box.bottom));
        WriteBE16(&bytes_[at + 10], uint16_t(box.right));
        bytes_[at + 12] = type;
        bytes_[at + 13] = uint8_t(std::min<size_t>(text.size(), 255));
        bytes_.insert(bytes_.end(), text.begin(), text.begin() + bytes_[at + 13]);
        if (bytes_.size() & 1)
            bytes_.push_back(0);
        ++count_;
    }
    Handle Make() const
    {
        std::vector<uint8_t> all(2);
        WriteBE16(all.data(), uint16_t(count_ - 1));
        all.insert(all.end(), bytes_.begin(), bytes_.end());
        Handle h = nullptr;
        PtrToHand(all.data(), &h, Size(all.size()));
        return h;
    }

private:
    std::vector<uint8_t> bytes_;
    int16_t count_ = 0;
};

inline std::vector<uint8_t> PString(const std::string& s)
{
    std::vector<uint8_t> p(1 + std::min<size_t>(s.size(), 255));
    p[0] = uint8_t(p.size() - 1);
    std::memcpy(p.data() + 1, s.data(), p[0]);
    return p;
}

}  // namespace platform
