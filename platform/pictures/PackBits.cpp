#include "platform/pictures/PackBits.h"

#include <cstring>

namespace platform {

namespace {

bool SameItem(const uint8_t* a, const uint8_t* b, size_t itemSize)
{
    return std::memcmp(a, b, itemSize) == 0;
}

}  // namespace

void PackBits(const uint8_t* src, size_t count, size_t itemSize, std::vector<uint8_t>* out)
{
    size_t i = 0;
    while (i < count) {
        // A run of three or more equal items is worth a repeat.
        size_t run = 1;
        while (i + run < count && run < 128 && SameItem(src + (i + run) * itemSize, src + i * itemSize, itemSize))
            ++run;
        if (run >= 3 || (run == 2 && i + run == count)) {
            out->push_back(uint8_t(257 - run));
            out->insert(out->end(), src + i * itemSize, src + (i + 1) * itemSize);
            i += run;
            continue;
        }
        // Literals up to the next run of three.
        size_t start = i, n = 0;
        while (i < count && n < 128) {
            if (i + 2 < count && SameItem(src + i * itemSize, src + (i + 1) * itemSize, itemSize) &&
                SameItem(src + i * itemSize, src + (i + 2) * itemSize, itemSize))
                break;
            ++i;
            ++n;
        }
        out->push_back(uint8_t(n - 1));
        out->insert(out->end(), src + start * itemSize, src + i * itemSize);
    }
}

bool UnpackBits(const uint8_t* src, size_t srcSize, size_t itemSize, uint8_t* out, size_t outSize)
{
    size_t in = 0, done = 0;
    while (done < outSize) {
        if (in >= srcSize)
            return false;
        uint8_t flag = src[in++];
        if (flag == 128)
            continue;
        if (flag < 128) {
            size_t bytes = (size_t(flag) + 1) * itemSize;
            if (bytes > srcSize - in || bytes > outSize - done)
                return false;
            std::memcpy(out + done, src + in, bytes);
            in += bytes;
            done += bytes;
        } else {
            size_t n = 257 - size_t(flag);
            if (itemSize > srcSize - in || n * itemSize > outSize - done)
                return false;
            // Most rows pack bytes (the planes of 32-bit pixels): one fill.
            if (itemSize == 1)
                std::memset(out + done, src[in], n);
            else
                for (size_t k = 0; k < n; ++k)
                    std::memcpy(out + done + k * itemSize, src + in, itemSize);
            in += itemSize;
            done += n * itemSize;
        }
    }
    return true;
}

}  // namespace platform
