// The file kind table: virtual kinds, Mac file types and Windows extension
// codes, row for row.
#include <cstdio>

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "toolbox/foundation/VString.h"
#include "toolbox/foundation/system/ToolboxResources.h"
#include "toolbox/foundation/system/VSystem.h"

namespace {

constexpr uint32_t kTextKind = platform::FourCC("TEXT");
constexpr int32_t kFmapRecordSize = 14;

uint32_t ReadBE32(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

uint8_t ByteOf(uint32_t code, int32_t i) { return uint8_t(code >> (24 - 8 * i)); }

uint32_t FromBytes(const uint8_t b[4])
{
    return (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
}

// The low byte of the Unicode upper case of U+0000..U+00FF.
uint8_t UpperLowByte(uint8_t c)
{
    if (c >= 'a' && c <= 'z') return uint8_t(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return uint8_t(c - 32);
    if (c == 0xFF) return 0x78;  // U+0178
    if (c == 0xB5) return 0x9C;  // U+039C
    return c;
}

bool IsDigitOrUpper(uint8_t c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); }

}  // namespace

int32_t VSystem::FindRow(const VArrayLong& column, uint32_t value, int32_t from) const
{
    const int32_t count = column.GetCount();
    for (int32_t r = from < 1 ? 1 : from; r <= count; ++r)
        if (uint32_t(column.GetLong(r)) == value) return r;
    return 0;
}

void VSystem::AppendRow(uint32_t kind, uint32_t macKind, uint32_t winKind, bool templ)
{
    fVirtualKinds.AppendLong(int32_t(kind), 0);
    fMacKinds.AppendLong(int32_t(macKind), 0);
    fWinKinds.AppendLong(int32_t(winKind), 0);
    fTemplateFlags.AppendBoolean(templ ? 1 : 0, 0);
}

uint32_t VSystem::GetMacKindFromVirtualKind(uint32_t kind) const
{
    if (kind == kAnyFileKind) return kind;
    const int32_t r = FindRow(fVirtualKinds, kind);
    return r ? uint32_t(fMacKinds.GetLong(r)) : 0;
}

uint32_t VSystem::GetWinKindFromVirtualKind(uint32_t kind) const
{
    if (kind == kAnyFileKind) return kind;
    const int32_t r = FindRow(fVirtualKinds, kind);
    return r ? uint32_t(fWinKinds.GetLong(r)) : 0;
}

uint32_t VSystem::GetVirtualKindFromWinKind(uint32_t winKind) const
{
    if (winKind == kAnyFileKind) return winKind;
    const int32_t r = FindRow(fWinKinds, winKind);
    return r ? uint32_t(fVirtualKinds.GetLong(r)) : 0;
}

uint32_t VSystem::GetVirtualKindFromMacKind(uint32_t macKind, bool templ, const VString* name) const
{
    if (macKind == kAnyFileKind) return macKind;
    if (name && macKind == kTextKind) {
        const uint32_t w = GetWinKindFromExtension(*name);
        const int32_t r = w ? FindRow(fWinKinds, w) : 0;
        if (r && fTemplateFlags.GetBoolean(r) == templ) return uint32_t(fVirtualKinds.GetLong(r));
        return kTextKind;
    }
    int32_t r = FindRow(fMacKinds, macKind);
    if (r && fTemplateFlags.GetBoolean(r) != templ) r = FindRow(fMacKinds, macKind, r + 1);
    return r ? uint32_t(fVirtualKinds.GetLong(r)) : 0;
}

bool VSystem::IsValidFileKind(uint32_t kind) const { return FindRow(fVirtualKinds, kind) != 0; }

bool VSystem::IsTemplateFileKind(uint32_t kind) const
{
    if (kind == kAnyFileKind) return false;
    const int32_t r = FindRow(fVirtualKinds, kind);
    return r && fTemplateFlags.GetBoolean(r);
}

int32_t VSystem::AddFileKind(uint32_t kind, uint32_t winKind, uint32_t macKind)
{
    const int32_t r = FindRow(fVirtualKinds, kind);
    if (r) return r;
    AdjustWinKind(winKind);
    AppendRow(kind, macKind, winKind, false);
    return fVirtualKinds.GetCount();
}

// 0x08 and the decimal digits of the row count plus one. Three digits run
// out past 999 rows, and rows come and go: the next code that no row uses
// is taken, so that two kinds never share a code.
uint32_t VSystem::MakeTemporaryKind() const
{
    const int32_t first = fVirtualKinds.GetCount() + 1;
    for (int32_t m = first; m < first + 0x1000000; ++m) {
        uint8_t b[4] = {0x08, 0, 0, 0};
        if (m < 1000) {
            char digits[12];
            std::snprintf(digits, sizeof digits, "%d", int(m));
            for (int32_t i = 0; i < 3 && digits[i]; ++i) b[i + 1] = uint8_t(digits[i]);
        } else {
            b[1] = uint8_t(m >> 16);
            b[2] = uint8_t(m >> 8);
            b[3] = uint8_t(m);
        }
        const uint32_t kind = FromBytes(b);
        if (!FindRow(fVirtualKinds, kind) && !FindRow(fMacKinds, kind) && !FindRow(fWinKinds, kind)) return kind;
    }
    return 0;
}

uint32_t VSystem::AddTemporaryMacKind(uint32_t macKind)
{
    const uint32_t kind = MakeTemporaryKind();
    AppendRow(kind, macKind, kind, false);
    return kind;
}

uint32_t VSystem::AddTemporaryWinKind(uint32_t winKind)
{
    AdjustWinKind(winKind);
    const uint32_t kind = MakeTemporaryKind();
    AppendRow(kind, kind, winKind, false);
    return kind;
}

int32_t VSystem::RemoveTemporaryFileKind(uint32_t kind)
{
    const int32_t r = FindRow(fVirtualKinds, kind);
    if (!r) return -1;
    fVirtualKinds.Delete(r, 1);
    fMacKinds.Delete(r, 1);
    fWinKinds.Delete(r, 1);
    fTemplateFlags.Delete(r, 1);
    return 0;
}

void VSystem::AdjustWinKind(uint32_t& winKind)
{
    uint8_t b[4] = {ByteOf(winKind, 0), ByteOf(winKind, 1), ByteOf(winKind, 2), ByteOf(winKind, 3)};
    for (int32_t i = 3; i >= 0 && b[i] == ' '; --i) b[i] = 0;
    if (b[0] == '.') {
        b[0] = b[1];
        b[1] = b[2];
        b[2] = b[3];
        b[3] = 0;
    }
    bool plain = true;
    for (int32_t i = 0; i < 4 && b[i] != 0; ++i)
        if (!IsDigitOrUpper(b[i])) plain = false;
    if (!plain) {
        for (uint8_t& c : b) c = UpperLowByte(c);
    }
    winKind = FromBytes(b);
}

uint32_t VSystem::GetWinKindFromExtension(const VString& name)
{
    const int32_t length = name.GetLength();
    int32_t dot = 0;
    for (int32_t pos = length - 5; pos <= length - 1; ++pos)
        if (pos >= 1 && name.GetChar(pos) == u'.') {
            dot = pos;
            break;
        }
    if (dot == 0) return 0;
    uint8_t b[4] = {0, 0, 0, 0};
    for (int32_t i = 0; i < 4 && dot + 1 + i <= length; ++i) b[i] = uint8_t(name.GetChar(dot + 1 + i));
    uint32_t code = FromBytes(b);
    AdjustWinKind(code);
    return code;
}

void VSystem::BuildKindList()
{
    const platform::ResType fmap = platform::FourCC("FMAP");
    const std::vector<int16_t> ids = ToolboxResourceIDs(fmap);
    for (int16_t id : ids) {
        platform::Handle h = ToolboxGetResource(fmap, id);
        if (!h) continue;
        platform::HLock(h);
        const auto* p = reinterpret_cast<const uint8_t*>(*h);
        const int32_t size = int32_t(platform::GetHandleSize(h));
        // The count is believed only as far as the resource really holds
        // whole records.
        int32_t n = size >= 2 ? int16_t((p[0] << 8) | p[1]) : 0;
        if (n < 0) n = 0;
        if (n > (size - 2) / kFmapRecordSize) n = (size - 2) / kFmapRecordSize;
        for (int32_t i = 0; i < n; ++i) {
            const uint8_t* rec = p + 2 + kFmapRecordSize * i;
            uint32_t win = ReadBE32(rec + 8);
            AdjustWinKind(win);
            AppendRow(ReadBE32(rec), ReadBE32(rec + 4), win, (rec[12] & 0x80) != 0);
        }
        platform::HUnlock(h);
        ToolboxReleaseResource(h);
    }
    AppendRow(kAnyFileKind, kAnyFileKind, 0, false);
}
