#include "toolbox/foundation/VIcon.h"

#include <cstring>

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/drawing/PixMaps.h"
#include "toolbox/foundation/VIconResources.h"
#include "toolbox/foundation/VMemoryMgr.h"

using platform::BitMap;
using platform::PixMap;
using platform::ReadBE16;
using platform::ReadBES16;
using platform::ReadBES32;

namespace {

constexpr uint32_t kIconType = platform::FourCC("cicn");
// The stored records: pixel map, mask bitmap, icon bitmap, data handle.
constexpr int64_t kPixMapSize = 50;
constexpr int64_t kBitMapSize = 14;
constexpr int64_t kHeaderSize = kPixMapSize + 2 * kBitMapSize + 4;

// A bounded cursor over the resource's bytes.
class Reader {
public:
    Reader(const char* data, int32_t size) : fData(reinterpret_cast<const uint8_t*>(data)), fSize(size) {}
    // The next n bytes, or null when fewer remain.
    const uint8_t* Take(int64_t n)
    {
        if (!fData || n < 0 || n > fSize - fPos) return nullptr;
        const uint8_t* p = fData + fPos;
        fPos += n;
        return p;
    }

private:
    const uint8_t* fData;
    int64_t fSize;
    int64_t fPos = 0;
};

platform::Rect ReadRect(const uint8_t* p)
{
    return {ReadBES16(p), ReadBES16(p + 2), ReadBES16(p + 4), ReadBES16(p + 6)};
}

int32_t Width(const platform::Rect& r) { return int32_t(r.right) - r.left; }
int32_t Height(const platform::Rect& r) { return int32_t(r.bottom) - r.top; }

// A stored bitmap header: the bit count its rows need, or -1 when damaged.
int64_t BitMapBytes(const uint8_t* header, BitMap& out)
{
    out.baseAddr = nullptr;
    out.rowBytes = ReadBES16(header + 4);
    out.bounds = ReadRect(header + 6);
    const int32_t width = Width(out.bounds), height = Height(out.bounds);
    if (out.rowBytes < 0 || width < 0 || height < 0 || int64_t(out.rowBytes) * 8 < width) return -1;
    return int64_t(out.rowBytes) * height;
}

// A handle holding the header followed by `bytes` bytes of bits.
template <class Header>
char** NewMapHandle(const Header& header, const uint8_t* bits, int64_t bytes)
{
    char** h = gMemory->NewHandle(uint32_t(sizeof(Header) + size_t(bytes)), 0);
    if (!h) return nullptr;
    std::memcpy(*h, &header, sizeof(Header));
    if (bits && bytes > 0) std::memcpy(*h + sizeof(Header), bits, size_t(bytes));
    return h;
}

bool IsPixelSize(int16_t size)
{
    return size == 1 || size == 2 || size == 4 || size == 8 || size == 16 || size == 32;
}

}  // namespace

VIcon::VIcon(VPainter* painter, VResourceFile* file, int16_t id) : fResID(id)
{
    VIconResourceAccess* access = GetIconResourceAccess();
    if (!access) return;
    VResourceFile* from = file;
    char** h = from ? access->GetResource(from, kIconType, id) : nullptr;
    if (!h) {
        from = access->GetToolboxFile();
        h = from ? access->GetResource(from, kIconType, id) : nullptr;
    }
    if (!h) return;
    if (const char* data = access->LockResHandle(from, h)) BuildMacIcon(painter, data, gMemory->GetHandleSize(h));
    access->UnlockResHandle(from, h);
    access->ReleaseResource(from, h);
}

VIcon::VIcon(VPainter* painter, VResourceFile* file, const char* name) : fResID(-1)
{
    VIconResourceAccess* access = GetIconResourceAccess();
    if (!access || !name) return;
    VResourceFile* from = file;
    int16_t id = from ? access->GetResourceID(from, kIconType, name) : -1;
    if (id == -1) {
        from = access->GetToolboxFile();
        id = from ? access->GetResourceID(from, kIconType, name) : -1;
    }
    fResID = id;
    if (id == -1) return;
    char** h = access->GetResource(from, kIconType, id);
    if (!h) return;
    if (const char* data = access->LockResHandle(from, h)) BuildMacIcon(painter, data, gMemory->GetHandleSize(h));
    access->UnlockResHandle(from, h);
    access->ReleaseResource(from, h);
}

VIcon::~VIcon() { Dispose(); }

void VIcon::Dispose()
{
    if (fPixMap) {
        platform::DisposeCTable((*fPixMap)->pmTable);
        gMemory->DisposeHandle(reinterpret_cast<char**>(fPixMap));
    }
    if (fMask) gMemory->DisposeHandle(fMask);
    if (fBitmap) gMemory->DisposeHandle(fBitmap);
    fPixMap = nullptr;
    fMask = fBitmap = nullptr;
    SetBounds(0, 0, 0, 0);
}

bool VIcon::BuildMacIcon(VPainter*, const char* data, int32_t size)
{
    Dispose();
    Reader in(data, size);
    const uint8_t* header = in.Take(kHeaderSize);
    if (!header) return false;
    const uint8_t* pm = header;

    BitMap mask, icon;
    const int64_t maskBytes = BitMapBytes(header + kPixMapSize, mask);
    const int64_t iconBytes = BitMapBytes(header + kPixMapSize + kBitMapSize, icon);
    if (maskBytes < 0 || iconBytes < 0) return false;
    const uint8_t* maskBits = in.Take(maskBytes);
    const uint8_t* iconBits = in.Take(iconBytes);

    const uint8_t* table = maskBits && iconBits ? in.Take(8) : nullptr;
    if (!table) return false;
    const int16_t ctSize = ReadBES16(table + 6);
    if (ctSize < 0 || ctSize > 0x7FFE) return false;
    const uint8_t* entries = in.Take(8 * (int64_t(ctSize) + 1));
    if (!entries) return false;

    PixMap pix;
    pix.baseAddr = nullptr;
    const int32_t rowBytes = ReadBE16(pm + 4) & 0x7FFF;
    pix.bounds = ReadRect(pm + 6);
    pix.pmVersion = ReadBES16(pm + 14);
    pix.packType = ReadBES16(pm + 16);
    pix.packSize = ReadBES32(pm + 18);
    pix.hRes = ReadBES32(pm + 22);
    pix.vRes = ReadBES32(pm + 26);
    pix.pixelType = ReadBES16(pm + 30);
    pix.pixelSize = ReadBES16(pm + 32);
    pix.cmpCount = ReadBES16(pm + 34);
    pix.cmpSize = ReadBES16(pm + 36);
    pix.planeBytes = ReadBES32(pm + 38);
    const int32_t width = Width(pix.bounds), height = Height(pix.bounds);
    if (width < 0 || height < 0 || !IsPixelSize(pix.pixelSize) ||
        int64_t(rowBytes) * 8 < int64_t(width) * pix.pixelSize)
        return false;
    const uint8_t* pixels = in.Take(int64_t(rowBytes) * height);
    if (!pixels) return false;

    // 1-bit pixels are widened to one byte each, rows of an even length.
    const bool widen = pix.pixelSize == 1;
    const int32_t outRowBytes = widen ? (width + 1) & ~1 : rowBytes;
    if (widen) {
        if (outRowBytes > platform::kRowBytesMask) return false;
        pix.pixelSize = 8;
        pix.rowBytes = int16_t(outRowBytes | 0x8000);
    } else {
        pix.rowBytes = int16_t(ReadBE16(pm + 4));
    }

    platform::CTabHandle colors = platform::NewCTable(int16_t(ctSize + 1));
    if (!colors) return false;
    (*colors)->ctSeed = ReadBES32(table);
    (*colors)->ctFlags = ReadBES16(table + 4);
    platform::ColorSpec* fileSpec = platform::CTabEntries(colors);
    for (int32_t i = 0; i <= ctSize; ++i) {
        const uint8_t* e = entries + 8 * i;
        fileSpec[i] = {ReadBES16(e), {ReadBE16(e + 2), ReadBE16(e + 4), ReadBE16(e + 6)}};
    }
    pix.pmTable = colors;

    const int64_t outBytes = int64_t(outRowBytes) * height;
    char** pixHandle = NewMapHandle(pix, widen ? nullptr : pixels, outBytes);
    fMask = NewMapHandle(mask, maskBits, maskBytes);
    fBitmap = NewMapHandle(icon, iconBits, iconBytes);
    if (!pixHandle || !fMask || !fBitmap) {
        platform::DisposeCTable(colors);
        if (pixHandle) gMemory->DisposeHandle(pixHandle);
        Dispose();
        return false;
    }
    if (widen) {
        auto* out = reinterpret_cast<uint8_t*>(*pixHandle + sizeof(PixMap));
        for (int32_t y = 0; y < height; ++y) {
            const uint8_t* src = pixels + int64_t(y) * rowBytes;
            uint8_t* dst = out + int64_t(y) * outRowBytes;
            for (int32_t x = 0; x < outRowBytes; ++x) dst[x] = x < width ? (src[x >> 3] >> (7 - (x & 7))) & 1 : 0;
        }
    }
    fPixMap = reinterpret_cast<platform::PixMapHandle>(pixHandle);
    SetBounds(0, 0, width, height);
    return true;
}
