// Converting a record in place by template.
#include <cstring>

#include "kernel/byteswap/SwapTemplates.h"
#include "platform/core/Endian.h"

uint8_t errSwap = 0;

namespace {

class SwapWalk {
public:
    SwapWalk(uint8_t* data, int32_t limit, bool toHost)
        : fData(data), fEnd(limit), fToHost(toHost)
    {
    }

    void Group(const TokenInv* group, const TokenInv* fields);
    bool Overrun() const { return fOverrun; }
    int64_t Position() const { return fPos; }

private:
    bool AtEnd() const { return fEnd >= 0 && fPos >= fEnd; }
    // False, marking the overrun, when n more bytes pass the limit.
    bool Fits(int64_t n)
    {
        if (fEnd >= 0 && fPos + n > fEnd) fOverrun = true;
        return !fOverrun;
    }
    void Skip(int64_t n)
    {
        if (Fits(n)) fPos += n;
    }
    void Values(TokenInv* e, int32_t width);
    void Repeat(const TokenInv* element, int32_t times);
    void Entry(TokenInv* e, const TokenInv* fields);

    uint8_t* fData;
    int64_t fEnd;
    bool fToHost;
    int64_t fPos = 0;
    bool fOverrun = false;
};

void SwapWalk::Values(TokenInv* e, int32_t width)
{
    for (int32_t i = 0; i < e->argument && !AtEnd(); ++i) {
        if (!Fits(width)) return;
        uint8_t* p = fData + fPos;
        // The recorded value is the host-order (big-endian) one.
        if (!fToHost) e->lastValue = width == 2 ? platform::ReadBES16(p) : platform::ReadBES32(p);
        platform::ReverseBytes(p, size_t(width));
        if (fToHost) e->lastValue = width == 2 ? platform::ReadBES16(p) : platform::ReadBES32(p);
        fPos += width;
    }
}

void SwapWalk::Repeat(const TokenInv* element, int32_t times)
{
    for (int32_t i = 0; i < times && !AtEnd(); ++i) {
        const int64_t before = fPos;
        Group(element, element);
        if (fOverrun || fPos == before) return;  // an empty element gives nothing more
    }
}

void SwapWalk::Entry(TokenInv* e, const TokenInv* fields)
{
    switch (e->kind) {
    case kSwapSkip: Skip(e->argument); break;
    case kSwapWords: Values(e, 2); break;
    case kSwapLongs: Values(e, 4); break;
    case kSwapPString:
        if (Fits(1)) Skip(1 + int64_t(fData[fPos]));
        break;
    case kSwapBytes: Skip(e->argument); break;
    case kSwapArrayOf: Repeat(e->element, fields->children[e->argument]->lastValue); break;
    case kSwapRepeat: Repeat(e->element, e->argument); break;
    case kSwapTemplate:
    case kSwapCase: Group(e, fields); break;
    case kSwapExt10: Skip(int64_t(e->argument) * 10); break;
    case kSwapSwitch: {
        const int32_t selector = fields->children[e->argument]->lastValue;
        for (int32_t i = 0; i < e->childCount; ++i) {
            if (e->children[i]->argument == selector) {
                Group(e->children[i], fields);
                break;
            }
        }
        break;
    }
    case kSwapAlign2: Skip((2 - fPos % 2) % 2); break;
    case kSwapAlign4: Skip((4 - fPos % 4) % 4); break;
    default: break;
    }
}

// Field references inside switches and cases read the template's own
// top-level fields, where the reader found them.
void SwapWalk::Group(const TokenInv* group, const TokenInv* fields)
{
    for (int32_t i = 0; i < group->childCount && !AtEnd(); ++i) {
        Entry(group->children[i], fields);
        if (fOverrun) return;
    }
}

int32_t Walk(int32_t number, void* data, int32_t swapFlag, int32_t* consumed, int32_t limit,
             bool toHost)
{
    errSwap = 0;
    if (consumed) *consumed = 0;
    if (number == 0 || swapFlag == 0 || !data) return 0;
    const TokenInv* templ = GetToken(number);
    if (!templ) return 0;
    SwapWalk walk(static_cast<uint8_t*>(data), limit, toHost);
    walk.Group(templ, templ);
    int64_t end = walk.Position();
    if (walk.Overrun()) {
        errSwap = 1;
        if (end > limit) end = limit;
    }
    if (consumed) *consumed = int32_t(end);
    return walk.Overrun() ? kSwapOverrunErr : 0;
}

}  // namespace

int32_t SwapBytes2(int32_t number, void* data, int32_t swapFlag, int32_t* consumed, int32_t limit)
{
    return Walk(number, data, swapFlag, consumed, limit, true);
}

int32_t SwapBytesEnvoi2(int32_t number, void* data, int32_t swapFlag, int32_t* consumed,
                        int32_t limit)
{
    return Walk(number, data, swapFlag, consumed, limit, false);
}
