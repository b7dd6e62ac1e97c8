#include "forms/kernel/KernelRecords.h"

#include <algorithm>
#include <cstring>

#include "kernel/handles/KernelHandles.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Rects.h"

namespace {

using namespace objrec;

// Every access stays inside the record: a field past a short record reads
// as 0 and is not written.
bool Holds(ObjHandle h, int32_t offset, int32_t size)
{
    return h && *h && offset >= 0 && int64_t(offset) + size <= int64_t(platform::GetHandleSize(h));
}


ObjHandle Make(int32_t size, int16_t kind)
{
    ObjHandle h = platform::NewHandleClear(size);
    if (!h) {
        erreure = platform::MemError() ? platform::MemError() : platform::memFullErr;
        return nullptr;
    }
    erreure = 0;
    SetRecWord(h, kKind, kind);
    return h;
}

void FreeHandleAt(ObjHandle h, int32_t offset)
{
    platform::Handle owned = RecHandle(h, offset);
    if (owned) platform::DisposeHandle(owned);
    SetRecHandle(h, offset, nullptr);
}

// Frees the records from `first` through `last` (or to the chain's end
// when `last` is not met), each with what it owns.
void FreeChain(ObjHandle first, ObjHandle last)
{
    for (ObjHandle h = first; h;) {
        const ObjHandle following = h == last ? nullptr : ObjNext(h);
        ClearObj(h);
        h = following;
    }
}

}  // namespace

// --- fields -----------------------------------------------------------------

ObjFields::ObjFields(ObjHandle h)
{
    if (!h || !*h) return;
    p_ = reinterpret_cast<uint8_t*>(*h);
    size_ = int32_t(platform::GetHandleSize(h));
}

int16_t ObjFields::Word(int32_t at) const { return Holds(at, 2) ? int16_t(platform::ReadBE16(p_ + at)) : 0; }

void ObjFields::SetWord(int32_t at, int16_t value)
{
    if (Holds(at, 2)) platform::WriteBE16(p_ + at, uint16_t(value));
}

int32_t ObjFields::Long(int32_t at) const { return Holds(at, 4) ? int32_t(platform::ReadBE32(p_ + at)) : 0; }

void ObjFields::SetLong(int32_t at, int32_t value)
{
    if (Holds(at, 4)) platform::WriteBE32(p_ + at, uint32_t(value));
}

uint8_t ObjFields::Byte(int32_t at) const { return Holds(at, 1) ? p_[at] : 0; }

void ObjFields::SetByte(int32_t at, uint8_t value)
{
    if (Holds(at, 1)) p_[at] = value;
}

platform::Handle ObjFields::Link(int32_t at) const
{
    platform::Handle value = nullptr;
    if (Holds(at, int32_t(sizeof value))) std::memcpy(&value, p_ + at, sizeof value);
    return value;
}

void ObjFields::SetLink(int32_t at, platform::Handle value)
{
    if (Holds(at, int32_t(sizeof value))) std::memcpy(p_ + at, &value, sizeof value);
}

void ObjFields::Text(int32_t at, unsigned char* out) const
{
    out[0] = 0;
    if (!Holds(at, 1)) return;
    const uint8_t n = uint8_t(std::min<int32_t>(p_[at], size_ - at - 1));
    std::memcpy(out + 1, p_ + at + 1, n);
    out[0] = n;
}

void ObjFields::SetText(int32_t at, const unsigned char* text, int32_t max)
{
    if (!Holds(at, max + 1)) return;
    const uint8_t n = uint8_t(std::min<int32_t>(text[0], max));
    std::memset(p_ + at, 0, size_t(max) + 1);
    p_[at] = n;
    std::memcpy(p_ + at + 1, text + 1, n);
}

void ObjFields::SetBytes(int32_t at, const uint8_t* bytes, int32_t count)
{
    if (Holds(at, count)) std::memcpy(p_ + at, bytes, size_t(count));
}

int16_t RecWord(ObjHandle h, int32_t offset) { return ObjFields(h).Word(offset); }
void SetRecWord(ObjHandle h, int32_t offset, int16_t value) { ObjFields(h).SetWord(offset, value); }
int32_t RecLong(ObjHandle h, int32_t offset) { return ObjFields(h).Long(offset); }
void SetRecLong(ObjHandle h, int32_t offset, int32_t value) { ObjFields(h).SetLong(offset, value); }
uint8_t RecByte(ObjHandle h, int32_t offset) { return ObjFields(h).Byte(offset); }
void SetRecByte(ObjHandle h, int32_t offset, uint8_t value) { ObjFields(h).SetByte(offset, value); }
platform::Handle RecHandle(ObjHandle h, int32_t offset) { return ObjFields(h).Link(offset); }
void SetRecHandle(ObjHandle h, int32_t offset, platform::Handle value) { ObjFields(h).SetLink(offset, value); }
void RecText(ObjHandle h, int32_t offset, unsigned char* out) { ObjFields(h).Text(offset, out); }
void SetRecText(ObjHandle h, int32_t offset, const unsigned char* text, int32_t max)
{
    ObjFields(h).SetText(offset, text, max);
}

platform::Rect ObjBounds(ObjHandle h)
{
    return platform::Rect{RecWord(h, kBounds), RecWord(h, kBounds + 2), RecWord(h, kBounds + 4),
                          RecWord(h, kBounds + 6)};
}

void SetObjBounds(ObjHandle h, const platform::Rect& r)
{
    SetRecWord(h, kBounds, r.top);
    SetRecWord(h, kBounds + 2, r.left);
    SetRecWord(h, kBounds + 4, r.bottom);
    SetRecWord(h, kBounds + 6, r.right);
}

// --- constructors -------------------------------------------------------------

void initNewObjHandle(ObjHandle h)
{
    if (!Holds(h, 0, kCommonSize)) return;
    SetObjNext(h, nullptr);
    SetObjLink(h, nullptr);
    SetRecWord(h, kKind, 0);
    SetObjBounds(h, platform::Rect{});
    SetObjFlags(h, uint16_t(ObjFlags(h) & 0x3F));
    SetRecWord(h, kOriginTable, 0);
    SetRecWord(h, kOriginForm, 0);
}

ObjHandle newsais() { return Make(field::kRecordSize, kField); }
ObjHandle newrect() { return Make(drawing::kSize, kRect); }

ObjHandle newetiq()
{
    ObjHandle h = newrect();
    SetRecWord(h, kKind, kRoundRect);
    return h;
}

ObjHandle newcerc() { return Make(drawing::kSize, kOval); }

ObjHandle newtexte()
{
    ObjHandle h = Make(text::kRecordSize, kText);
    SetRecByte(h, text::kHasFill, 1);
    return h;
}

ObjHandle newtrai() { return Make(drawing::kSize, kLine); }

ObjHandle newlien()
{
    ObjHandle h = Make(variable::kRecordSize, kVariable);
    SetRecWord(h, variable::kCurrentItem, -2);
    SetRecWord(h, variable::kShownList, -1);
    return h;
}

ObjHandle newpict() { return Make(picture::kRecordSize, kPicture); }
ObjHandle newmulti() { return Make(subform::kRecordSize, kSubform); }

ObjHandle newdebut(int16_t pageCount)
{
    const int32_t pages = std::max<int32_t>(pageCount, 0) + 1;
    ObjHandle h = Make(header::kFixedSize + pages * header::kPageEntry, kHeader);
    if (!h) return nullptr;
    SetRecLong(h, header::kScriptFlags, 0x1EBD3FFF);
    SetRecLong(h, header::kScriptFlags + 4, 0);
    SetRecByte(h, header::kFlag, 1);
    SetRecWord(h, header::kStyle1, -1);
    SetRecWord(h, header::kStyle2, -1);
    SetRecWord(h, header::kPageCount, int16_t(pages - 1));
    SetRecWord(h, header::kMaxHeight, 32767);
    SetRecWord(h, header::kMaxWidth, 32767);
    return h;
}

ObjHandle newgroup() { return Make(kGroupSize, kGroup); }
ObjHandle newgrille() { return Make(drawing::kMatrixSize, kMatrix); }
ObjHandle NewGroupObj() { return Make(text::kRecordSize, kGroupBox); }

// --- headers and pages ----------------------------------------------------------

int16_t FormPageCount(ObjHandle h)
{
    if (ObjKind(h) != kHeader) return 0;
    // The count never reaches past the table the record holds.
    const int32_t held = (int32_t(platform::GetHandleSize(h)) - header::kPages) / header::kPageEntry - 1;
    return int16_t(std::clamp<int32_t>(RecWord(h, header::kPageCount), 0, std::max(held, 0)));
}

bool FormPage(ObjHandle h, int32_t page, ObjHandle* first, ObjHandle* last)
{
    if (ObjKind(h) != kHeader || page < 0 || page > FormPageCount(h)) return false;
    const int32_t at = header::kPages + page * header::kPageEntry;
    if (!Holds(h, at, header::kPageEntry)) return false;
    if (first) *first = RecHandle(h, at);
    if (last) *last = RecHandle(h, at + 8);
    return true;
}

bool SetFormPage(ObjHandle h, int32_t page, ObjHandle first, ObjHandle last)
{
    if (ObjKind(h) != kHeader || page < 0 || page > FormPageCount(h)) return false;
    const int32_t at = header::kPages + page * header::kPageEntry;
    if (!Holds(h, at, header::kPageEntry)) return false;
    SetRecHandle(h, at, first);
    SetRecHandle(h, at + 8, last);
    return true;
}

ObjHandle GotoPage(ObjHandle form, int16_t page)
{
    if (!form || ObjKind(form) != kHeader) return form;
    ObjHandle first0 = nullptr, last0 = nullptr, first = nullptr, last = nullptr;
    if (!FormPage(form, 0, &first0, &last0)) return nullptr;
    if (page == 0) {
        if (last0) SetObjNext(last0, nullptr);
        return first0;
    }
    if (!FormPage(form, page, &first, &last)) return nullptr;
    if (!first0) return first;
    SetObjNext(last0, first);
    return first0;
}

bool IsDropDown(ObjHandle record)
{
    if (ObjKind(record) != kVariable || RecByte(record, variable::kSubType) != 26) return false;
    const int16_t look = RecWord(record, kLook);
    return look == 1 || look == 4 || look == 5;
}

// --- freeing ------------------------------------------------------------------

void ClearObj(ObjHandle h)
{
    if (!h || !*h) {
        if (h) platform::DisposeHandle(h);
        return;
    }
    switch (ObjKind(h)) {
    case kField: FreeHandleAt(h, field::kAttributes); break;
    case kVariable:
        FreeHandleAt(h, variable::kAttributes);
        FreeHandleAt(h, variable::kDefaultStyle);
        break;
    case kText:
    case kGroupBox: FreeHandleAt(h, text::kText); break;
    case kPicture: FreeHandleAt(h, picture::kPicture); break;
    case kGroup: FreeChain(ObjLink(h), nullptr); break;
    case kHeader: {
        // Page 0 may be joined to a page's chain (GotoPage): each chain is
        // freed up to its own last record.
        for (int32_t p = FormPageCount(h); p >= 0; --p) {
            ObjHandle first = nullptr, last = nullptr;
            if (FormPage(h, p, &first, &last)) FreeChain(first, last);
        }
        break;
    }
    default: break;
    }
    platform::DisposeHandle(h);
}

void effform(ObjHandle* form)
{
    if (!form) return;
    ObjHandle h = *form;
    *form = nullptr;
    // A header's next record is page 1's first: the pages free it.
    if (h && ObjKind(h) == kHeader) {
        ClearObj(h);
        return;
    }
    FreeChain(h, nullptr);
}

namespace {

constexpr int kMaxGroupDepth = 64;

ObjHandle RecordAt(ObjHandle first, platform::Point where, int depth)
{
    for (ObjHandle r = first; r; r = ObjNext(r)) {
        const platform::Rect bounds = ObjBounds(r);
        if (!platform::PtInRect(where, &bounds)) continue;
        if (ObjKind(r) != objrec::kGroup) return r;
        if (depth < kMaxGroupDepth)
            if (ObjHandle member = RecordAt(ObjLink(r), where, depth + 1)) return member;
    }
    return nullptr;
}

ObjHandle NthActive(ObjHandle first, ObjHandle last, int16_t* n, int depth)
{
    for (ObjHandle r = first; r; r = r == last ? nullptr : ObjNext(r)) {
        if (ObjKind(r) == objrec::kVariable && --*n == 0) return r;
        if (ObjKind(r) == objrec::kGroup && depth < kMaxGroupDepth)
            if (ObjHandle found = NthActive(ObjLink(r), nullptr, n, depth + 1)) return found;
    }
    return nullptr;
}

}  // namespace

ObjHandle FindObjAt(ObjHandle first, platform::Point where) { return RecordAt(first, where, 0); }

ObjHandle FindNthVariable(ObjHandle first, ObjHandle last, int16_t* n) { return NthActive(first, last, n, 0); }
