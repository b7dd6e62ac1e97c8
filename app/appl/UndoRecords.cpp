#include "app/appl/UndoRecords.h"

#include <cstring>

#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/menus/Menus.h"

using namespace platform;

namespace {

constexpr uint32_t kHeaderSize = 12;

// The header's place, or null when the handle cannot hold it.
uint8_t* Header(Handle undo)
{
    if (!undo || !*undo || GetHandleSize(undo) < Size(kHeaderSize)) return nullptr;
    const uint32_t offset = ReadBE32(*undo);
    if (uint64_t(offset) + kHeaderSize > uint64_t(GetHandleSize(undo))) return nullptr;
    return reinterpret_cast<uint8_t*>(*undo) + offset;
}

uint32_t ArgumentLength(Handle undo)
{
    const uint8_t* h = Header(undo);
    if (!h) return 0;
    const uint32_t length = ReadBE32(h + 8);
    const uint32_t room = uint32_t(GetHandleSize(undo)) - ReadBE32(*undo) - kHeaderSize;
    return length < room ? length : room;
}

OSErr PushBytes(Handle undo, const void* bytes, uint32_t n)
{
    if (!Header(undo)) return paramErr;
    const uint32_t length = ArgumentLength(undo);
    const uint32_t end = ReadBE32(*undo) + kHeaderSize + length;
    if (uint64_t(end) + n > uint64_t(GetHandleSize(undo))) {
        SetHandleSize(undo, Size(end + n));
        if (MemError() != noErr) return memFullErr;
    }
    std::memcpy(*undo + end, bytes, n);
    WriteBE32(Header(undo) + 8, length + n);
    return noErr;
}

// The n bytes that end `*position` bytes before the end; false past them.
bool ReadBytes(Handle undo, int32_t* position, void* bytes, uint32_t n)
{
    const uint32_t length = ArgumentLength(undo);
    const int32_t pos = *position;
    *position += int32_t(n);
    if (pos < 0 || uint64_t(pos) + n > length) return false;
    std::memcpy(bytes, Header(undo) + kHeaderSize + (length - uint32_t(pos) - n), n);
    return true;
}

}  // namespace

Handle InitUndoHdl(int16_t textIndex, int16_t actionCode)
{
    Handle undo = NewHandleClear(kHeaderSize);
    if (!undo) return nullptr;
    NewUndo(undo, textIndex, actionCode);
    return undo;
}

void NewUndo(Handle undo, int16_t textIndex, int16_t actionCode)
{
    uint8_t* h = Header(undo);
    if (!h) return;
    WriteBE16(h + 4, uint16_t(textIndex));
    WriteBE16(h + 6, uint16_t(actionCode));
    WriteBE32(h + 8, 0);
    SetUndoMenu(undo);
}

void SetUndo(Handle undo, int16_t textIndex, int16_t actionCode)
{
    uint8_t* h = Header(undo);
    if (!h) return;
    WriteBE16(h + 4, uint16_t(textIndex));
    WriteBE16(h + 6, uint16_t(actionCode));
    SetUndoMenu(undo);
}

int16_t UndoTxtNum(Handle undo)
{
    const uint8_t* h = Header(undo);
    return h ? int16_t(ReadBE16(h + 4)) : kNothingToUndo;
}

int16_t UndoCode(Handle undo)
{
    const uint8_t* h = Header(undo);
    return h ? int16_t(ReadBE16(h + 6)) : 0;
}

OSErr PushUndoLongInt(Handle undo, int32_t value)
{
    uint8_t b[4];
    WriteBE32(b, uint32_t(value));
    return PushBytes(undo, b, 4);
}

int32_t GetUndoLongInt(Handle undo, int32_t* position)
{
    uint8_t b[4];
    return ReadBytes(undo, position, b, 4) ? int32_t(ReadBE32(b)) : 0;
}

OSErr PushUndoPtr(Handle undo, void* value) { return PushBytes(undo, &value, sizeof value); }

void* GetUndoPtr(Handle undo, int32_t* position)
{
    void* value = nullptr;
    return ReadBytes(undo, position, &value, sizeof value) ? value : nullptr;
}

void SetUndoMenu(Handle undo)
{
    const int16_t index = undo ? UndoTxtNum(undo) : kNothingToUndo;
    MenuRef menu = nullptr;
    int16_t item = 0;
    GetMItem(kUndoCommand, 1, &menu, &item);
    if (menu && item > 0) {
        Str255 text;
        MyGetIndString(text, 1003, index);
        SetMenuItemText(menu, MenuItemIndex(item), text);
    }
    if (index == kNothingToUndo) DisableFunc(kUndoCommand);
    else EnableFunc(kUndoCommand);
}
