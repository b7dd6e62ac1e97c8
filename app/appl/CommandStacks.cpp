#include "app/appl/CommandStacks.h"

#include <cstring>

#include "app/appl/AppGlobals.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"

using namespace platform;

namespace {

Handle NewStack()
{
    Handle h = NewHandleClear(kStackStartSize);
    if (h) WriteBE32(*h, 4);
    return h;
}

uint32_t Used(Handle h) { return ReadBE32(*h); }

OSErr Push(Handle h, const void* item, uint32_t n)
{
    if (!h || !*h) return memFullErr;
    const uint32_t used = Used(h);
    const uint32_t size = uint32_t(GetHandleSize(h));
    // The handle keeps its room once grown; growth is by the item's size.
    if (used + n > size) {
        SetHandleSize(h, Size(size + n));
        if (MemError() != noErr) return memFullErr;
    }
    std::memcpy(*h + used, item, n);
    WriteBE32(*h, used + n);
    return noErr;
}

// False when the stack holds fewer than n bytes (nothing changes then).
bool Pop(Handle h, void* item, uint32_t n)
{
    if (!h || !*h) return false;
    const uint32_t used = Used(h);
    if (used < 4 + n) return false;
    std::memcpy(item, *h + used - n, n);
    WriteBE32(*h, used - n);
    return true;
}

}  // namespace

Handle NewFuncStack() { return NewStack(); }
Handle NewCmdStack() { return NewStack(); }

OSErr PostFunc(int16_t command)
{
    uint8_t b[2];
    WriteBE16(b, uint16_t(command));
    return Push(FuncStackHdl, b, 2);
}

bool GetFunc(int16_t* command)
{
    uint8_t b[2];
    if (!Pop(FuncStackHdl, b, 2)) {
        *command = 0;
        return false;
    }
    *command = int16_t(ReadBE16(b));
    return true;
}

bool FuncPending() { return FuncStackHdl && *FuncStackHdl && Used(FuncStackHdl) >= 6; }

bool FuncPosted(int16_t command)
{
    if (!FuncStackHdl || !*FuncStackHdl) return false;
    const auto* p = reinterpret_cast<const uint8_t*>(*FuncStackHdl);
    for (uint32_t at = 4; at + 2 <= Used(FuncStackHdl); at += 2)
        if (int16_t(ReadBE16(p + at)) == command) return true;
    return false;
}

OSErr PushInteger(int16_t value)
{
    uint8_t b[2];
    WriteBE16(b, uint16_t(value));
    return Push(CmdStackHdl, b, 2);
}

bool PopInteger(int16_t* value)
{
    uint8_t b[2];
    if (!Pop(CmdStackHdl, b, 2)) {
        *value = 0;
        return true;
    }
    *value = int16_t(ReadBE16(b));
    return false;
}

OSErr PushLongInt(int32_t value)
{
    uint8_t b[4];
    WriteBE32(b, uint32_t(value));
    return Push(CmdStackHdl, b, 4);
}

bool PopLongInt(int32_t* value)
{
    uint8_t b[4];
    if (!Pop(CmdStackHdl, b, 4)) {
        *value = 0;
        return true;
    }
    *value = int32_t(ReadBE32(b));
    return false;
}

OSErr PushStr255(const unsigned char* text)
{
    unsigned char full[256] = {};
    std::memcpy(full, text, size_t(text[0]) + 1);
    return Push(CmdStackHdl, full, 256);
}

bool PopStr255(unsigned char* text)
{
    unsigned char full[256];
    if (!Pop(CmdStackHdl, full, 256)) return true;
    std::memcpy(text, full, 256);
    return false;
}

OSErr PushPtr(void* value) { return Push(CmdStackHdl, &value, sizeof value); }

bool PopPtr(void** value)
{
    if (!Pop(CmdStackHdl, value, sizeof *value)) {
        *value = nullptr;
        return true;
    }
    return false;
}

bool DropArguments(uint32_t bytes)
{
    if (!CmdStackHdl || !*CmdStackHdl) return false;
    const uint32_t used = Used(CmdStackHdl);
    if (used < 4 + bytes) return false;
    WriteBE32(*CmdStackHdl, used - bytes);
    return true;
}

uint32_t ArgumentBytes() { return CmdStackHdl && *CmdStackHdl ? Used(CmdStackHdl) - 4 : 0; }
