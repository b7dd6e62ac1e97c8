// Direct pixel maps with more than 8 bits a component are clamped to 8
// before a picture is drawn or handed to the scrap. The component size
// (cmpSize) of the pixel map behind opcode 0x009A or 0x009B at offset o
// stands at o + 38: opcode 2, base address 4, rowBytes 2, bounds 8,
// pmVersion 2, packType 2, packSize 4, hRes 4, vRes 4, pixelType 2,
// pixelSize 2, cmpCount 2.
#include "kernel/helpers/KernelPictures.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "toolbox/drawing/VImageParser.h"
#include "toolbox/foundation/VPtrStream.h"

using namespace platform;

namespace {

constexpr int64_t kCmpSizeOffset = 38;
constexpr int16_t kMaxCmpSize = 8;

// Clamps the component size of the map at o; true when it changed.
bool ClampAt(uint8_t* bytes, int64_t size, int64_t o)
{
    if (o <= 0 || o + kCmpSizeOffset + 2 > size) return false;
    if (ReadBES16(bytes + o + kCmpSizeOffset) <= kMaxCmpSize) return false;
    WriteBE16(bytes + o + kCmpSizeOffset, kMaxCmpSize);
    return true;
}

// Keeps a handle locked for the scope and puts its state back.
class LockedHandle {
public:
    explicit LockedHandle(Handle h) : fHandle(h), fState(HGetState(h)) { HLock(h); }
    ~LockedHandle() { HSetState(fHandle, fState); }
    LockedHandle(const LockedHandle&) = delete;
    LockedHandle& operator=(const LockedHandle&) = delete;
    uint8_t* bytes() const { return reinterpret_cast<uint8_t*>(*fHandle); }
    int64_t size() const { return GetHandleSize(fHandle); }

private:
    Handle fHandle;
    int8_t fState;
};

}  // namespace

bool RepairPicture(Handle picture)
{
    if (!picture || !*picture) return false;
    LockedHandle locked(picture);
    const int64_t size = locked.size();
    VPtrStream stream(reinterpret_cast<char*>(locked.bytes()), int32_t(size));
    VPictParser parser(stream, false);
    if (parser.StartParsing() != 0) return false;
    bool changed = false;
    for (uint16_t opcode : {uint16_t(0x009A), uint16_t(0x009B)}) {
        if (stream.SetPos(0) != 0) break;
        for (int32_t o = parser.FindOpcodeOffset(opcode); o >= 0; o = parser.FindOpcodeOffset(opcode))
            changed |= ClampAt(locked.bytes(), size, o);
    }
    parser.StopParsing();
    return changed;
}

void FastRepairPicture(Handle picture)
{
    if (!picture || !*picture) return;
    LockedHandle locked(picture);
    const uint8_t* p0 = locked.bytes();
    const int64_t size = locked.size();
    if (size <= 100 || ReadBE16(p0 + 12) != 0x02FF || ReadBE16(p0 + 40) != 0x0001) return;
    int64_t p = 42 + int64_t(ReadBE16(p0 + 42));
    if (p + 2 > size) return;
    if (ReadBE16(p0 + p) == 0x0001) {
        if (p + 4 > size) return;
        p = p + 2 + ReadBE16(p0 + p + 2);
        if (p + 2 > size) return;
    }
    if (ReadBE16(p0 + p) == 0x009A) ClampAt(locked.bytes(), size, p);
}

void InstallPictureRepair()
{
    KernelPictureHooks hooks;
    hooks.repairForDrawing = FastRepairPicture;
    SetKernelPictureHooks(hooks);
}
