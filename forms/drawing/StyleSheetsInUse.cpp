#include "forms/drawing/StyleSheetsInUse.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "forms/stylesheets/StyleSheets.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Text.h"
#include "platform/fonts/Fonts.h"
#include "platform/resfiles/Resources.h"
#include "resources/CPseudoResFile.h"
#include "resources/CPseudoResManager.h"
#include "resources/ResourceApi.h"
#include "toolbox/drawing/CompatFunctions.h"

using namespace platform;

Handle curStyles = nullptr;

namespace {

constexpr int16_t kTableId = 128;
constexpr int16_t kDefaultStyleSheet = 803;
constexpr int32_t kEntryNameAndId = 34;
constexpr int32_t kBlocksAt = 36;
constexpr int32_t kBlockNumber = 64, kBlockSize = 66, kBlockFace = 67;
constexpr int16_t kNoStyleFont = 1;

// The store the loaded table is that of: with another store current, its
// own table is loaded in its place (each structure's forms are drawn with
// its own style sheets).
int16_t gLoadedFrom = 0;

// The look-up cache: the last id asked and its entry.
int16_t gCachedId = -1;
int32_t gCachedIndex = -1;

void ForgetCache()
{
    gCachedId = -1;
    gCachedIndex = -1;
}

int32_t EntryCount(Handle table)
{
    if (!table || !*table || GetHandleSize(table) < kStyleSheetHeaderSize) return 0;
    const int32_t stored = ReadBE16(reinterpret_cast<const uint8_t*>(*table));
    const int32_t held = (GetHandleSize(table) - kStyleSheetHeaderSize) / kStyleSheetEntrySize;
    return std::min(stored, held);
}

uint8_t* Entry(Handle table, int32_t i)
{
    return reinterpret_cast<uint8_t*>(*table) + kStyleSheetHeaderSize + i * kStyleSheetEntrySize;
}

uint8_t* PlatformBlock(uint8_t* entry) { return entry + kBlocksAt + kPlatformFontBlock * kFontBlockSize; }

// A copy of the handle, or null.
Handle Copy(Handle h)
{
    if (!h || !*h) return nullptr;
    Handle copy = h;
    return HandToHand(&copy) == noErr ? copy : nullptr;
}

// A copy of a stored table in the current layout, or null.
Handle ConvertedCopy(Handle stored)
{
    if (!stored) return nullptr;
    Handle converted = ConvertStyleSheet(stored);
    Handle table = Copy(converted);
    if (converted && converted != stored) DisposeHandle(converted);
    return table;
}

// The companion file's 'Stlx' 128, when the file lies beside the store.
Handle CompanionTable()
{
    CPseudoResFile* store = g_resManager ? g_resManager->CurrentFile() : nullptr;
    if (!store) return nullptr;
    const std::string& path = store->Spec().path;
    const size_t slash = path.rfind('/');
    const FSSpec companion{(slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) +
                           kStyleSheetCompanion};
    const int16_t saved = CurResFile();
    const int16_t ref = myFSpOpenResFile(companion, fsRdPerm);
    if (ref == -1) return nullptr;
    Handle table = ConvertedCopy(Get1Resource(FourCC("Stlx"), kTableId));
    CloseResFile(ref);
    UseResFile(saved);
    return table;
}

// The structure's own table: 'Stlx' 128, else the older 'Styl' 128.
Handle StoredTable()
{
    Handle stored = xget1res(FourCC("Stlx"), kTableId);
    return ConvertedCopy(stored ? stored : xget1res(FourCC("Styl"), kTableId));
}

// One entry made from the application's default style sheet.
Handle DefaultTable()
{
    Handle stored = GetResource(FourCC("Styl"), kDefaultStyleSheet);
    if (!stored || !*stored || GetHandleSize(stored) < kStyleSheetEntrySize) return nullptr;
    Handle table = NewHandleClear(kStyleSheetHeaderSize + kStyleSheetEntrySize);
    if (!table) return nullptr;
    auto* to = reinterpret_cast<uint8_t*>(*table);
    WriteBE16(to, 1);
    std::memcpy(to + kStyleSheetHeaderSize, *stored, kStyleSheetEntrySize);
    WriteBE16(to + kStyleSheetHeaderSize + kEntryNameAndId, uint16_t(kFontBlockCount));
    return table;
}

}  // namespace

void InitStyleSheet(Handle table)
{
    const int32_t count = EntryCount(table);
    for (int32_t i = 0; i < count; ++i) {
        uint8_t* block = PlatformBlock(Entry(table, i));
        const int8_t length = int8_t(block[0]);
        int16_t font = 0;
        if (length < 0) {
            font = int16_t(-2 - length);
        } else {
            unsigned char name[64];
            name[0] = uint8_t(std::min<int>(length, 63));
            std::memcpy(name + 1, block + 1, name[0]);
            GetFNum(name, &font);
        }
        WriteBE16(block + kBlockNumber, uint16_t(font));
    }
}

void CreateStyleSheet()
{
    const int16_t store = xcurres();
    if (curStyles && store == gLoadedFrom) return;
    DisposeStyleSheets();
    gLoadedFrom = store;
    // Drawing a form writes nothing: the table it is drawn with stays here.
    curStyles = CompanionTable();
    if (!curStyles) curStyles = StoredTable();
    if (!curStyles) curStyles = DefaultTable();
    if (!curStyles) return;
    WriteBE16(reinterpret_cast<uint8_t*>(*curStyles) + 2, uint16_t(kStyleSheetEntrySize));
    InitStyleSheet(curStyles);
}

bool GetStyleInfo(int16_t id, int16_t* font, int16_t* size, int16_t* face)
{
    *font = kNoStyleFont;
    *size = 0;
    *face = 0;
    if (id == -1) {
        ForgetCache();
        return false;
    }
    const int32_t count = EntryCount(curStyles);
    int32_t index = -1;
    if (gCachedId == id && gCachedIndex >= 0 && gCachedIndex < count) {
        index = gCachedIndex;
    } else {
        for (int32_t i = 0; i < count; ++i)
            if (int16_t(ReadBE16(Entry(curStyles, i) + 32)) == id) index = i;
        if (index < 0) return false;
        gCachedId = id;
        gCachedIndex = index;
    }
    const uint8_t* block = PlatformBlock(Entry(curStyles, index));
    *font = int16_t(ReadBE16(block + kBlockNumber));
    *size = block[kBlockSize];
    *face = block[kBlockFace];
    return true;
}

void SetupStyle(int16_t id, int16_t extraFace)
{
    int16_t font = 0, size = 0, face = 0;
    GetStyleInfo(id, &font, &size, &face);
    TextFont(font);
    TextSize(size);
    TextFace(StyleField(face | extraFace));
}

int16_t StyleSheetLineHeight(int16_t id)
{
    int16_t styleFont = 0, styleSize = 0, styleFace = 0;
    if (id < 0 || !GetStyleInfo(id, &styleFont, &styleSize, &styleFace)) return -1;
    GrafPtr port = nullptr;
    GetPort(&port);
    CGrafPtr scratch = nullptr;
    if (!port || !IsValidPort(reinterpret_cast<CGrafPtr>(port))) {
        scratch = CreateNewPort();
        SetPort(reinterpret_cast<GrafPtr>(scratch));
    }
    GrafPtr current = nullptr;
    GetPort(&current);
    const auto cport = reinterpret_cast<CGrafPtr>(current);
    const int16_t font = GetPortTextFont(cport), size = GetPortTextSize(cport);
    const StyleField face = GetPortTextFace(cport);
    SetupStyle(id, 0);
    FontInfo fi{};
    GetFontInfo(&fi);
    TextFont(font);
    TextSize(size);
    TextFace(face);
    if (scratch) {
        SetPort(port);
        DisposePort(scratch);
    }
    return int16_t(fi.ascent + fi.descent + fi.leading);
}

void RestoreStyleSheet(Handle table)
{
    curStyles = table;
    gLoadedFrom = xcurres();
    ForgetCache();
}

void DisposeStyleSheets()
{
    if (curStyles) DisposeHandle(curStyles);
    curStyles = nullptr;
    ForgetCache();
}
