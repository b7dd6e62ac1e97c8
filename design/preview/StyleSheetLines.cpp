// Style sheets described by their platform styles (one line each for
// platforms 0, 2, 3 and 4), and pictures printed under their title.
#include <algorithm>
#include <string>
#include <vector>

#include "app/documents/Documentation.h"
#include "app/documents/MainDoc.h"
#include "app/dialogs/Messages.h"
#include "design/links/ParseSupport.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "design/objects/OutputSupport.h"
#include "design/preview/PreviewFrame.h"
#include "forms/stylesheets/StyleSheets.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Text.h"
#include "platform/fonts/Fonts.h"
#include "platform/menus/Menus.h"
#include "platform/pictures/Pictures.h"
#include "resources/ResourceApi.h"

using namespace platform;

namespace {

constexpr int16_t kPlatformLabels = 1026;  // item platform + 1
constexpr int16_t kFaceMenu = 102;         // 1 plain, 2-6 bold ... shadow
constexpr int16_t kShownPlatforms[] = {0, 2, 3, 4};

std::string FaceName(int16_t item)
{
    Str255 text{};
    if (MenuRef menu = GetMenuHandle(kFaceMenu)) GetMenuItemText(menu, MenuItemIndex(item), text);
    return PText(text);
}

// The style-sheet table of the current store in the 376-byte layout, as a
// handle of our own; null when it is missing or in neither layout.
Handle LoadStyleSheetTable()
{
    Handle stored = xget1res(FourCC("Stlx"), 128);
    if (!stored) stored = xget1res(FourCC("Styl"), 128);
    if (!stored || !*stored) return nullptr;
    Handle copy = stored;
    if (HandToHand(&copy) != noErr) return nullptr;
    Handle table = ConvertStyleSheet(copy);
    if (table != copy) DisposeHandle(copy);
    return table;
}

}  // namespace

void GetPlatformStyle(const uint8_t* entry, unsigned char* text, int16_t platform)
{
    const uint8_t* block = entry + 36 + kFontBlockSize * platform;
    MyGetIndString(text, kPlatformLabels, int16_t(platform + 1));
    unsigned char font[256];
    const int8_t length = int8_t(block[0]);
    if (length >= 0) {
        font[0] = uint8_t(std::min<int>(length, 63));
        std::copy(block + 1, block + 1 + font[0], font + 1);
    } else {
        // A built-in font by number.
        GetFontName(int16_t(-2 - length), font);
    }
    PAppend(text, font);
    PAppend(text, ", " + std::to_string(block[66]) + " pt, ");
    const uint8_t face = block[67];
    if (face == 0) {
        PAppend(text, FaceName(1));
        return;
    }
    std::string faces;
    int16_t item = 2;
    for (uint8_t bit : {1, 2, 4, 8, 16}) {
        if (face & bit) faces += (faces.empty() ? "" : " ") + FaceName(item);
        ++item;
    }
    PAppend(text, faces);
}

std::vector<std::string> TStyleSheetObjQz::StyleLines()
{
    std::vector<std::string> lines;
    Handle table = nullptr;
    {
        ParseResFile store(owner);
        table = LoadStyleSheetTable();
    }
    if (!table) return lines;
    const ByteView v = ByteView::Of(table);
    int16_t count = 0;
    v.S16(0, &count);
    for (int32_t i = 0; i < count; ++i) {
        const size_t at = size_t(kStyleSheetHeaderSize) + size_t(i) * kStyleSheetEntrySize;
        if (!v.Has(at, kStyleSheetEntrySize)) break;
        if (ReadBES16(v.data + at + 32) != id) continue;
        unsigned char text[256];
        for (int16_t which : kShownPlatforms) {
            GetPlatformStyle(v.data + at, text, which);
            lines.push_back(PText(text));
        }
        break;
    }
    DisposeHandle(table);
    return lines;
}

int16_t TStyleSheetObjQz::InitDisplay(Handle* display, const Rect& r, int16_t* width, int16_t* height,
                                      int16_t* pageMin, int16_t* pageMax, int16_t* page, bool flag)
{
    TObjQz::InitDisplay(display, r, width, height, pageMin, pageMax, page, flag);
    const std::vector<std::string> lines = StyleLines();
    int32_t widest = 0;
    int16_t line = 0;
    {
        SavedFont saved;
        ApplicationFont(normal);
        line = CurrentLine();
        for (const std::string& s : lines) widest = std::max<int32_t>(widest, Width(s) + 18);
    }
    *width = int16_t(std::min<int32_t>(10 + widest, 1024));
    *height = int16_t(std::min<int32_t>(20 + int32_t(lines.size()) * line, 1024));
    return RecordPreview(display, r, *width, *height, [&] {
        ApplicationFont(normal);
        FontInfo fi{};
        GetFontInfo(&fi);
        for (size_t i = 0; i < lines.size(); ++i) DrawAt(lines[i], 10, int16_t(10 + int32_t(i) * line + fi.ascent));
    });
}

int16_t TStyleSheetObjQz::SaveObj(int16_t file)
{
    int16_t err = 0;
    unsigned char text[256];
    for (const std::string& s : StyleLines()) {
        PSet(text, s);
        if ((err = SaveNewLine(text, 30, file)) != 0) break;
    }
    return err;
}

int16_t TStyleSheetObjQz::PrintObj(OutPutParmRec* options)
{
    const bool details = options && options->contents && !TstFlag(kFlagCiphered);
    UsePrintStyle(bold);
    if (details) BreakIf(3);
    unsigned char text[256];
    GetHeading(text);
    PrintHeading(text, 0);
    UsePrintStyle(normal);
    if (details) {
        for (const std::string& s : StyleLines()) {
            PSet(text, s);
            PrintNewLine(text, 20);
        }
    }
    const unsigned char empty[1] = {0};
    PrintNewLine(empty, 0);
    return 0;
}

int16_t TPictObjQz::PrintObj(OutPutParmRec* options)
{
    ParseResFile store(owner);
    Handle pict = nullptr;
    int32_t w = 0, h = 0;
    if (options && options->contents && !TstFlag(kFlagCiphered)) {
        pict = xget1res(FourCC("PICT"), id);
        Rect frame{};
        if (pict && *pict && GetHandleSize(pict) >= 10) QDGetPictureBounds(pict, &frame);
        w = frame.right - frame.left, h = frame.bottom - frame.top;
        // Scaled down, proportions kept, to the page's width less 30.
        const int32_t room = std::max(1, PageWide() - 30);
        if (w > room && h > 0) {
            h = std::max<int32_t>(1, h * room / w);
            w = room;
        }
    }
    const bool drawn = w > 0 && h > 0;
    unsigned char title[256];
    GetHeading(title);
    UsePrintStyle(bold);
    PrintHeading(title, 0);
    const int16_t line = CurrentLineHeight();
    UsePrintStyle(normal);
    if (drawn) {
        // The picture and the empty line after it go on its heading's page.
        PlaceHeldHeadings(owner, h + line);
        const Rect at{P_CrtHeight, 30, int16_t(std::min<int32_t>(P_CrtHeight + h, 32767)), int16_t(30 + w)};
        DrawPicture(pict, &at);
        P_CrtHeight = at.bottom;
    }
    const unsigned char empty[1] = {0};
    PrintNewLine(empty, 0);
    return 0;
}
