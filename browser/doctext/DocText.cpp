#include "browser/doctext/DocText.h"

#include <cstring>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/textedit/StyleLayouts.h"

using namespace platform;

namespace browser {

namespace {

size_t Even(size_t n) { return (n + 1) & ~size_t(1); }

bool StylesMove(TEHandle te) { return G_MachineType >= 4 && TEGetStyleHandle(te) && TEGetStyleTableHandle(te); }

// Copies `size` bytes into `h`, sized to them.
bool Fill(Handle h, const uint8_t* bytes, size_t size)
{
    SetHandleSize(h, Size(size));
    if (MemError() != noErr) return false;
    if (size) std::memcpy(*h, bytes, size);
    return true;
}

// The checked blocks of `doc` into the record.
int16_t Load(Handle doc, TEHandle te, bool padded)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(*doc);
    const size_t size = size_t(GetHandleSize(doc));
    DocBodyBlocks b;
    if (!LocateDocBody(bytes, size, padded, &b)) return kDamagedDoc;
    // The record keeps its length in 16 bits.
    if (b.textLength > size_t(kTEMaxLength)) return kDamagedDoc;
    const bool styled = StylesMove(te) && b.styleLength >= kStyleRecordFixedSize;
    if (styled) {
        std::vector<StyleRun> runs;
        std::vector<StyleSlot> slots;
        if (!ReadStoredStyles(bytes + b.styleAt, b.styleLength, bytes + b.tableAt, b.tableLength,
                              int32_t(b.textLength), &runs, &slots, nullptr))
            return kDamagedDoc;
    }
    // The text first: the record takes it with one run of its style at the
    // start, which a body without styles keeps.
    HLock(doc);
    TESetText(bytes + b.textAt, int32_t(b.textLength), te);
    OSErr err = TEGetLastError() == memFullErr ? memFullErr : noErr;
    if (err == noErr && styled) {
        // The table before the record: a record left over from a failure
        // half-way still indexes inside a table at least as long.
        if (!Fill(TEGetStyleTableHandle(te), bytes + b.tableAt, b.tableLength) ||
            !Fill(TEGetStyleHandle(te), bytes + b.styleAt, b.styleLength))
            err = memFullErr;
    }
    HUnlock(doc);
    TECalText(te);
    return err;
}

}  // namespace

bool LocateDocBody(const uint8_t* bytes, size_t size, bool padded, DocBodyBlocks* out)
{
    auto round = [padded](size_t n) { return padded ? Even(n) : n; };
    if (!bytes || size < 8) return false;
    DocBodyBlocks b;
    b.textAt = 8;
    b.textLength = ReadBE32(bytes + 4);
    if (b.textLength > size - b.textAt) return false;
    size_t at = b.textAt + round(b.textLength);
    if (at > size || size - at < 4) return false;
    b.styleLength = ReadBE32(bytes + at);
    b.styleAt = at + 4;
    if (b.styleLength > size - b.styleAt) return false;
    at = b.styleAt + round(b.styleLength);
    if (at > size || size - at < 4) return false;
    b.tableLength = ReadBE32(bytes + at);
    b.tableAt = at + 4;
    if (b.tableLength > size - b.tableAt) return false;
    *out = b;
    return true;
}

int16_t StyleResToHte(Handle doc, TEHandle te)
{
    if (!doc || !*doc || !te || GetHandleSize(doc) <= 4) return 0;
    const int16_t version = ReadBES16(*doc);
    if (version == 0) return OldStyleResToHte(doc, te);
    // Other versions are not ours to read: the record shows what it held.
    if (version != 1) return 0;
    return Load(doc, te, true);
}

int16_t OldStyleResToHte(Handle doc, TEHandle te)
{
    if (!doc || !*doc || !te || GetHandleSize(doc) <= 4) return 0;
    if (ReadBE32(*doc) >= 0x10000) return 0;
    return Load(doc, te, false);
}

int16_t StyleHteToRes(Handle doc, TEHandle te)
{
    if (!doc || !te || !*te) return paramErr;
    const TERec& r = **te;
    const size_t held = r.hText ? size_t(GetHandleSize(r.hText)) : 0;
    const size_t t = r.teLength < 0 ? 0 : std::min(size_t(r.teLength), held);
    Handle style = StylesMove(te) ? TEGetStyleHandle(te) : nullptr;
    Handle table = style ? TEGetStyleTableHandle(te) : nullptr;
    const size_t s = style ? size_t(GetHandleSize(style)) : 0;
    const size_t l = table ? size_t(GetHandleSize(table)) : 0;
    const size_t total = 16 + Even(t) + Even(s) + l;
    // The header the caller wrote stays; the rest is ours.
    uint8_t header[4] = {0, 0, 0, 0};
    const size_t had = size_t(GetHandleSize(doc));
    if (*doc && had >= 4) std::memcpy(header, *doc, 4);
    SetHandleSize(doc, Size(total));
    if (MemError() != noErr) return memFullErr;
    auto* p = reinterpret_cast<uint8_t*>(*doc);
    std::memset(p, 0, total);
    std::memcpy(p, header, 4);
    WriteBE32(p + 4, uint32_t(t));
    if (t) std::memcpy(p + 8, *r.hText, t);
    size_t at = 8 + Even(t);
    WriteBE32(p + at, uint32_t(s));
    if (s) std::memcpy(p + at + 4, *style, s);
    at += 4 + Even(s);
    WriteBE32(p + at, uint32_t(l));
    if (l) std::memcpy(p + at + 4, *table, l);
    return 0;
}

int16_t ResToHte(Handle doc, TEHandle te)
{
    if (!doc || !te) return 0;
    HLock(doc);
    TESetText(*doc, int32_t(GetHandleSize(doc)), te);
    HUnlock(doc);
    const OSErr err = TEGetLastError() == memFullErr ? memFullErr : noErr;
    TECalText(te);
    return err;
}

int16_t HteToRes(Handle doc, TEHandle te)
{
    if (!doc || !te || !*te) return paramErr;
    const TERec& r = **te;
    const size_t held = r.hText ? size_t(GetHandleSize(r.hText)) : 0;
    const size_t t = r.teLength < 0 ? 0 : std::min(size_t(r.teLength), held);
    SetHandleSize(doc, Size(t));
    if (MemError() != noErr) return memFullErr;
    if (t) std::memcpy(*doc, *r.hText, t);
    return 0;
}

}  // namespace browser
