#include "platform/cursors/Cursors.h"

#include <cstring>
#include <map>
#include <new>
#include <vector>

#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/cursors/CursorShapes.h"
#include "platform/fonts/SystemResFile.h"
#include "platform/resfiles/Resources.h"
#include "platform/screen/Screen.h"

namespace platform {
namespace {

struct CursorState {
    int32_t level = 0;
    std::map<int16_t, std::vector<CursHandle>> loaded;
};

CursorState& State()
{
    static auto* state = new CursorState;
    return *state;
}

void Show(const Cursor& c, const uint32_t (*pixels)[16])
{
    ScreenCursor s{};
    std::memcpy(s.data, c.data, sizeof s.data);
    std::memcpy(s.mask, c.mask, sizeof s.mask);
    s.hotSpot = c.hotSpot;
    if (pixels) {
        s.hasColor = true;
        std::memcpy(s.color, pixels, sizeof s.color);
    }
    SetScreenCursor(s);
}

void StoreCursor(const Cursor& c, uint8_t* out)
{
    for (int i = 0; i < 16; ++i) {
        WriteBE16(out + 2 * i, c.data[i]);
        WriteBE16(out + 32 + 2 * i, c.mask[i]);
    }
    WriteBE16(out + 64, uint16_t(c.hotSpot.v));
    WriteBE16(out + 66, uint16_t(c.hotSpot.h));
}

}  // namespace

bool ReadCursorResource(const uint8_t* bytes, size_t size, Cursor* cursor)
{
    if (!bytes || size < 68) return false;
    Cursor c{};
    for (int i = 0; i < 16; ++i) {
        c.data[i] = ReadBE16(bytes + 2 * i);
        c.mask[i] = ReadBE16(bytes + 32 + 2 * i);
    }
    c.hotSpot.v = int16_t(ReadBE16(bytes + 64));
    c.hotSpot.h = int16_t(ReadBE16(bytes + 66));
    *cursor = c;
    return true;
}

// The colour form: a 96-byte header holding the one-bit shape, with offsets
// (from the resource's start) of the pixel map record and its pixels; the
// map's colour table is at its own offset.
bool ReadColorCursorResource(const uint8_t* bytes, size_t size, CCrsr* cursor)
{
    if (!bytes || size < 96) return false;
    CCrsr c{};
    if (!ReadCursorResource(bytes + 20, size - 20, &c.bw)) return false;
    const uint32_t mapAt = ReadBE32(bytes + 2), dataAt = ReadBE32(bytes + 6);
    if (mapAt > size || size - mapAt < 50) return false;
    const uint8_t* map = bytes + mapAt;
    const uint16_t rowBytes = ReadBE16(map + 4) & 0x3FFF;
    const int16_t top = int16_t(ReadBE16(map + 6)), left = int16_t(ReadBE16(map + 8));
    const int16_t bottom = int16_t(ReadBE16(map + 10)), right = int16_t(ReadBE16(map + 12));
    const uint16_t depth = ReadBE16(map + 32);
    const uint32_t tableAt = ReadBE32(map + 42);
    if (depth != 1 && depth != 2 && depth != 4 && depth != 8) return false;
    if (bottom - top != 16 || right - left != 16 || rowBytes < 2 * depth) return false;
    if (dataAt > size || size - dataAt < size_t(rowBytes) * 16) return false;
    if (tableAt > size || size - tableAt < 8) return false;
    const uint8_t* table = bytes + tableAt;
    const uint32_t entries = uint32_t(ReadBE16(table + 6)) + 1;
    if (entries > 256 || (size - tableAt - 8) / 8 < entries) return false;
    uint32_t colors[256] = {};
    for (uint32_t i = 0; i < entries; ++i) {
        const uint8_t* e = table + 8 + 8 * i;
        // Device tables number entries by position; others give the value.
        const uint32_t index = (ReadBE16(table + 4) & 0x8000) ? i : (ReadBE16(e) & 0xFF);
        colors[index] = (uint32_t(e[2]) << 16) | (uint32_t(e[4]) << 8) | e[6];
    }
    for (int r = 0; r < 16; ++r) {
        const uint8_t* row = bytes + dataAt + size_t(r) * rowBytes;
        for (int col = 0; col < 16; ++col) {
            const uint32_t bit = uint32_t(col) * depth;
            const uint32_t value = (row[bit / 8] >> (8 - depth - bit % 8)) & ((1u << depth) - 1);
            c.pixels[r][col] = colors[value];
        }
    }
    *cursor = c;
    return true;
}

const uint8_t* SystemCursorResource(int16_t id)
{
    static uint8_t stored[4][68];
    static const bool made = [] {
        for (int16_t i = 1; i <= 4; ++i) StoreCursor(SystemCursorShape(i), stored[i - 1]);
        return true;
    }();
    (void)made;
    return (id >= 1 && id <= 4) ? stored[id - 1] : nullptr;
}

const Cursor& GetQDGlobalsArrow()
{
    static const Cursor arrow = [] {
        Cursor c{};
        ThemeCursorShape(kThemeArrowCursor, 0, &c);
        return c;
    }();
    return arrow;
}

void InitCursor()
{
    State().level = 0;
    SetCursor(&GetQDGlobalsArrow());
    SetScreenCursorVisible(true);
}

void SetCursor(const Cursor* cursor)
{
    if (cursor) Show(*cursor, nullptr);
}

CursHandle GetCursor(int16_t id)
{
    Cursor c{};
    Handle res = GetResource(FourCC("CURS"), id);
    bool ok = false;
    if (res && *res) ok = ReadCursorResource(reinterpret_cast<const uint8_t*>(*res), size_t(GetHandleSize(res)), &c);
    if (!ok && SystemCursorResource(id) && SystemResFileRef() == -1 && OpenSystemResFile() == noErr) {
        // The system's own cursors live in the system file: open it once.
        res = GetResource(FourCC("CURS"), id);
        if (res && *res) ok = ReadCursorResource(reinterpret_cast<const uint8_t*>(*res), size_t(GetHandleSize(res)), &c);
    }
    if (!ok) return nullptr;
    // Handles given out stay valid for good: the same shape answers the
    // same handle, and another file's cursor of that id a new one.
    auto& known = State().loaded[id];
    for (CursHandle h : known)
        if (IsValidHandle(reinterpret_cast<Handle>(h)) && std::memcmp(*h, &c, sizeof c) == 0) return h;
    Handle h = NewHandle(Size(sizeof(Cursor)));
    if (!h) return nullptr;
    std::memcpy(*h, &c, sizeof c);
    auto ch = reinterpret_cast<CursHandle>(h);
    try {
        known.push_back(ch);
    } catch (const std::bad_alloc&) {
        DisposeHandle(h);
        return nullptr;
    }
    return ch;
}

void HideCursor()
{
    --State().level;
    SetScreenCursorVisible(State().level >= 0);
}

void ShowCursor()
{
    if (State().level < 0) ++State().level;
    SetScreenCursorVisible(State().level >= 0);
}

void ObscureCursor() { ObscureScreenCursor(); }

int32_t CursorLevel() { return State().level; }

CCrsrHandle GetCCursor(int16_t id)
{
    Handle res = GetResource(FourCC("crsr"), id);
    if (!res || !*res) return nullptr;
    CCrsr c{};
    if (!ReadColorCursorResource(reinterpret_cast<const uint8_t*>(*res), size_t(GetHandleSize(res)), &c)) return nullptr;
    Handle h = NewHandle(Size(sizeof(CCrsr)));
    if (!h) return nullptr;
    std::memcpy(*h, &c, sizeof c);
    return reinterpret_cast<CCrsrHandle>(h);
}

void SetCCursor(CCrsrHandle cursor)
{
    if (cursor && *cursor) Show((*cursor)->bw, (*cursor)->pixels);
}

void DisposeCCursor(CCrsrHandle cursor) { DisposeHandle(reinterpret_cast<Handle>(cursor)); }

OSStatus SetThemeCursor(ThemeCursor cursor)
{
    Cursor c{};
    if (!ThemeCursorShape(cursor, 0, &c)) return themeBadCursorIndexErr;
    SetCursor(&c);
    return noErr;
}

OSStatus SetAnimatedThemeCursor(ThemeCursor cursor, uint32_t step)
{
    switch (cursor) {
    case kThemeWatchCursor: case kThemeSpinningCursor: case kThemeCountingUpHandCursor:
    case kThemeCountingDownHandCursor: case kThemeCountingUpAndDownHandCursor: break;
    default: return themeBadCursorIndexErr;
    }
    Cursor c{};
    ThemeCursorShape(cursor, step, &c);
    SetCursor(&c);
    return noErr;
}

}  // namespace platform
