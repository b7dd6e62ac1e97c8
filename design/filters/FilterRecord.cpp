#include "design/filters/FilterRecord.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/core/BitOps.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"

using namespace platform;

namespace filterrec {

namespace {

int32_t SizeOf(Handle record) { return record && *record ? int32_t(GetHandleSize(record)) : 0; }

const uint8_t* Bytes(Handle record) { return reinterpret_cast<const uint8_t*>(*record); }

}  // namespace

int32_t FirstTermEnd(Handle record)
{
    const int32_t size = SizeOf(record);
    if (size <= kTextAt || ReadBES16(Bytes(record)) < 1) return 0;
    const int32_t text = 1 + Bytes(record)[kTextAt];
    const int32_t end = kTextAt + text + (text & 1);
    // A last term may lack its pad byte: the text itself must fit.
    return kTextAt + text <= size ? std::min(end, size) : 0;
}

void ReadFirstTerm(Handle record, FirstTerm* term)
{
    *term = FirstTerm{};
    const int32_t size = SizeOf(record);
    const int32_t flags = std::clamp<int32_t>(size - kFlagsAt, 0, kFlagBytes);
    if (flags > 0) std::memcpy(term->flags, Bytes(record) + kFlagsAt, size_t(flags));
    if (FirstTermEnd(record) == 0) return;
    const uint8_t* p = Bytes(record);
    term->whole = true;
    term->subject = uint8_t(std::clamp<int>(p[kSubjectAt] + 1, kNameSubject, kNumberSubject));
    term->op = uint8_t(p[kOperatorAt] + 1);
    std::memcpy(term->text, p + kTextAt, size_t(p[kTextAt]) + 1);
}

OSErr WriteFirstTerm(Handle record, const FirstTerm& term)
{
    if (!record) return memFullErr;
    const int32_t oldEnd = FirstTermEnd(record);
    const int32_t size = SizeOf(record);
    const uint8_t length = term.text[0];
    std::vector<uint8_t> rest;
    int16_t count = 1;
    uint8_t kept[2] = {0, 0};
    if (oldEnd > 0) {
        count = ReadBES16(Bytes(record));
        std::memcpy(kept, Bytes(record) + 10, 2);
        // Past a lone term lies at most its pad: nothing to keep.
        if (count > 1) rest.assign(Bytes(record) + oldEnd, Bytes(record) + size);
    }
    // One term: 14 + L. Further terms start at an even offset.
    const int32_t text = 1 + length;
    const int32_t end = rest.empty() ? kTextAt + 2 + length : kTextAt + text + (text & 1);
    const int32_t newSize = end + int32_t(rest.size());
    SetHandleSize(record, newSize);
    if (MemError() != noErr || SizeOf(record) != newSize) return memFullErr;
    auto* p = reinterpret_cast<uint8_t*>(*record);
    std::memset(p, 0, size_t(end));
    WriteBE16(p, uint16_t(count));
    std::memcpy(p + kFlagsAt, term.flags, kFlagBytes);
    p[kSubjectAt] = uint8_t(term.subject - 1);
    p[kOperatorAt] = uint8_t(term.op - 1);
    std::memcpy(p + 10, kept, 2);
    std::memcpy(p + kTextAt, term.text, size_t(length) + 1);
    if (!rest.empty()) std::memcpy(p + end, rest.data(), rest.size());
    return noErr;
}

OSErr MakeWhole(Handle record)
{
    if (FirstTermEnd(record) > 0) return noErr;
    FirstTerm term;
    ReadFirstTerm(record, &term);
    return WriteFirstTerm(record, term);
}

bool TstFlag(Handle record, int16_t n)
{
    if (n < 0 || n >= 8 * kFlagBytes || SizeOf(record) < kFlagsAt + n / 8 + 1) return false;
    return BitTst(Bytes(record) + kFlagsAt, n);
}

void PutFlag(Handle record, int16_t n, bool on)
{
    if (n < 0 || n >= 8 * kFlagBytes || SizeOf(record) < kFlagsAt + n / 8 + 1) return;
    uint8_t* flags = reinterpret_cast<uint8_t*>(*record) + kFlagsAt;
    on ? BitSet(flags, n) : BitClr(flags, n);
}

void ApplySaveRules(Handle record)
{
    const bool tables = TstFlag(record, 1);
    PutFlag(record, 28, tables);
    PutFlag(record, 29, tables);
    PutFlag(record, 30, TstFlag(record, 10));
}

}  // namespace filterrec
