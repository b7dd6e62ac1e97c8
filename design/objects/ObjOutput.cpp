// Printing and export of an object in the frame every kind shares: the
// heading, the kind's own contents (SaveObj, PrintObj of the kinds), the
// documentation and the lists of what it uses and of what uses it; the
// older export's line of callers. The documentation's own operations are
// in design/documentation/.
#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "app/appl/Preferences.h"
#include "app/appl/Utilities.h"
#include "app/dialogs/Messages.h"
#include "app/documents/DocSupport.h"
#include "app/documents/Documentation.h"
#include "app/documents/MainDoc.h"
#include "design/links/XRef.h"
#include "design/objects/ObjQz.h"
#include "design/objects/ObjText.h"
#include "design/objects/OutputSupport.h"
#include "platform/core/Errors.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/text/ScriptManager.h"
#include "resources/ResourceApi.h"

using namespace platform;

int16_t TObjQz::DoReplace(const unsigned char* newName, bool flag, ObjListHdl list, TObjQz** out, bool flag2)
{
    (void)newName, (void)flag, (void)flag2;
    FreeObjList(list);
    if (out) *out = nullptr;
    return 0;
}

namespace {

FontInfo Metrics()
{
    FontInfo info{};
    GetFontInfo(&info);
    return info;
}

int16_t LineOf(const FontInfo& info) { return int16_t(info.ascent + info.descent + info.leading); }

bool RightToLeft() { return GetSysDirection() == -1; }

OSErr WriteBytes(int16_t file, const void* bytes, int32_t count)
{
    if (count <= 0) return noErr;
    int32_t n = count;
    const OSErr err = MyFSWrite(file, &n, bytes);
    return err == noErr && n != count ? OSErr(ioErr) : err;
}

OSErr WriteP(int16_t file, const unsigned char* text) { return WriteBytes(file, text + 1, text[0]); }

// Lines of text, each a tab-indented list entry: the heading of the list,
// then every object of it that is not hidden.
OSErr SaveList(int16_t file, ObjListHdl list, int16_t heading)
{
    unsigned char text[256];
    MyGetIndString(text, 1009, heading);
    OSErr err = WriteTAB(file);
    if (!err) err = WriteP(file, text);
    if (!err) err = WriteEOL(file);
    for (int32_t i = 0; !err && i < list->Size(); ++i) {
        TObjQz* obj = list->At(i);
        if (!obj || obj->TstFlag(kFlagHidden)) continue;
        obj->GetFullName(text);
        err = WriteTAB(file);
        if (!err) err = WriteTAB(file);
        if (!err) err = WriteP(file, text);
        if (!err) err = WriteEOL(file);
    }
    if (!err) err = WriteEOL(file);
    return err;
}

// Whether a list of links (as shown) is printed or exported under its
// heading: when it names anything. Whether an empty list was ever made
// depends on the object's history (a read makes none where nothing links,
// a change may leave one empty): the output is the same either way.
bool Headed(ObjListHdl links) { return links && links->Size() > 0; }

}  // namespace

bool TObjQz::BreakIf(int16_t lines)
{
    const int16_t line = LineOf(Metrics());
    // The lines waiting above are placed first, kept with these: only
    // counted in, a run of them taller than a page would turn a page at
    // every object and never fit.
    PlaceHeldHeadings(owner, int32_t(lines) * line);
    if (P_CrtHeight + int32_t(lines) * line < P_PageRect.bottom - 30) return false;
    if (owner) owner->BreakPage();
    return true;
}

void TObjQz::GetHeading(unsigned char* out)
{
    unsigned char info[256];
    GetFullName(out);
    GetMoreInfo(info, false);
    PAppend(out, info);
}

int16_t TObjQz::PageWide() { return int16_t(P_PageRect.right - P_PageRect.left); }

int16_t TObjQz::SaveNewLine(const unsigned char* text, int16_t indent, int16_t file)
{
    const std::string spaces(size_t(std::max(0, indent / 8)), ' ');
    OSErr err = WriteBytes(file, spaces.data(), int32_t(spaces.size()));
    if (!err) err = WriteP(file, text);
    if (!err) err = WriteEOL(file);
    return err;
}

namespace {

// The line as printed, and where it begins: a tab (a declaration's,
// between name and type) shows as a space, as the text editors show it.
int16_t Shown(const unsigned char* text, int16_t indent, int16_t pageWide, unsigned char* shown)
{
    std::memcpy(shown, text, size_t(text[0]) + 1);
    std::replace(shown + 1, shown + 1 + shown[0], uint8_t('\t'), uint8_t(' '));
    return RightToLeft() ? int16_t(pageWide - (indent + StringWidth(shown) + 30)) : int16_t(indent + 30);
}

}  // namespace

void TObjQz::PrintHeading(const unsigned char* text, int16_t indent)
{
    if (text[0] == 0) return;
    unsigned char shown[256];
    const int16_t x = Shown(text, indent, PageWide(), shown);
    const FontInfo info = Metrics();
    GrafPtr port = nullptr;
    GetPort(&port);
    const int16_t font = GetPortTextFont(port), size = GetPortTextSize(port);
    const StyleField face = GetPortTextFace(port);
    const std::string line(shown, shown + 1 + shown[0]);
    HoldHeadingLine(LineOf(info), [x, font, size, face, ascent = info.ascent, line](int16_t top) {
        GrafPtr page = nullptr;
        GetPort(&page);
        const int16_t pageFont = GetPortTextFont(page), pageSize = GetPortTextSize(page);
        const StyleField pageFace = GetPortTextFace(page);
        TextFont(font);
        TextSize(size);
        TextFace(face);
        MoveTo(x, int16_t(top + ascent));
        DrawString(reinterpret_cast<const unsigned char*>(line.data()));
        TextFont(pageFont);
        TextSize(pageSize);
        TextFace(pageFace);
    });
}

void TObjQz::PrintLine(const unsigned char* text, int16_t indent)
{
    // An empty line turns no page: the list would end on a blank one.
    if (text[0] == 0) return;
    unsigned char shown[256];
    const int16_t x = Shown(text, indent, PageWide(), shown);
    const FontInfo info = Metrics();
    // A line fits when it ends above the bottom margin.
    PlaceHeldHeadings(owner, LineOf(info) + 1);
    if (P_PageRect.bottom - 30 <= P_CrtHeight + LineOf(info) && owner) owner->BreakPage();
    MoveTo(x, int16_t(P_CrtHeight + info.ascent));
    DrawString(shown);
}

void TObjQz::PrintNewLine(const unsigned char* text, int16_t indent)
{
    // An empty line under a heading waiting to be drawn waits with it.
    if (text[0] == 0 && HeldHeadingsHeight() > 0) {
        HoldHeadingLine(LineOf(Metrics()), nullptr);
        return;
    }
    PrintLine(text, indent);
    P_CrtHeight = int16_t(P_CrtHeight + LineOf(Metrics()));
}

void TObjQz::PrintLinedNewLine(const unsigned char* text, int16_t indent)
{
    // Deep groups stop indenting at half the page: the text stays on it.
    const int32_t deeper = int32_t(indent) + 20 * int32_t(GetLevel());
    indent = int16_t(std::min<int32_t>(deeper, std::max<int32_t>(indent, PageWide() / 2)));
    PrintLine(text, indent);
    const int16_t line = LineOf(Metrics());
    const int16_t x = RightToLeft() ? int16_t(PageWide() - (indent + 20)) : int16_t(indent + 20);
    PenNormal();
    MoveTo(x, P_CrtHeight);
    LineTo(x, int16_t(P_CrtHeight + line - 1));
    P_CrtHeight = int16_t(P_CrtHeight + line);
}

int16_t TObjQz::PrintObj(OutPutParmRec* options)
{
    (void)options;
    unsigned char heading[256];
    GetHeading(heading);
    UsePrintStyle(bold);
    PrintHeading(heading, 0);
    TextFace(normal);
    const unsigned char empty[1] = {0};
    PrintNewLine(empty, 0);
    return 0;
}

int16_t TObjQz::Print(OutPutParmRec* options)
{
    const OutPutParmRec none{};
    const OutPutParmRec& o = options ? *options : none;
    if (owner) UseDocStore(owner);
    UsePrintStyle(normal);
    int16_t err = PrintObj(options);
    if (!err && o.documentation && TstFlag(kFlagHasDoc)) err = PrintDoc();
    const unsigned char empty[1] = {0};
    for (const auto& [wanted, links, heading] : {std::tuple{o.callers, usedBy, int16_t(3)},
                                                 std::tuple{o.uses, uses, int16_t(2)}}) {
        if (err || !wanted) continue;
        const ShownLinks shown(links);
        ObjListHdl list = shown.get();
        if (!Headed(list)) continue;
        unsigned char text[256];
        MyGetIndString(text, 1009, heading);
        TextFace(italic);
        PrintHeading(text, 20);
        TextFace(normal);
        for (int32_t i = 0; i < list->Size(); ++i) {
            TObjQz* obj = list->At(i);
            if (!obj || obj->TstFlag(kFlagHidden)) continue;
            obj->GetFullName(text);
            PrintNewLine(text, 40);
        }
        PrintNewLine(empty, 0);
    }
    return err;
}

int16_t TObjQz::Save(int16_t file, OutPutParmRec* options)
{
    const OutPutParmRec none{};
    const OutPutParmRec& o = options ? *options : none;
    unsigned char heading[256];
    GetHeading(heading);
    // Every write is checked: the first failure ends the object.
    OSErr err = WriteEOL(file);
    if (!err) err = WriteP(file, heading);
    if (!err) err = WriteEOL(file);
    if (!err) err = WriteEOL(file);
    if (!err && o.contents && !TstFlag(kFlagCiphered)) err = SaveObj(file);
    if (!err && o.documentation && TstFlag(kFlagHasDoc)) err = SaveDoc(file);
    if (!err && o.callers)
        if (const ShownLinks shown(usedBy); Headed(shown.get())) err = SaveList(file, shown.get(), 3);
    if (!err && o.uses)
        if (const ShownLinks shown(uses); Headed(shown.get())) err = SaveList(file, shown.get(), 2);
    return err;
}

int16_t TObjQz::SaveOldFormat(int16_t file)
{
    unsigned char text[256];
    GetStructName(text);
    auto field = [&](const unsigned char* p) {
        OSErr e = WriteP(file, p);
        return e ? e : WriteTAB(file);
    };
    auto number = [](int32_t n, unsigned char* out) {
        const std::string digits = std::to_string(n);
        out[0] = uint8_t(digits.size());
        std::memcpy(out + 1, digits.data(), digits.size());
    };
    std::vector<TObjQz*> callers;
    const ShownLinks shown(usedBy);
    for (int32_t i = 0; shown.get() && i < shown.get()->Size(); ++i) {
        TObjQz* obj = shown.get()->At(i);
        if (obj && !obj->TstFlag(kFlagHidden) && obj->GetOldTypeNum() != 0) callers.push_back(obj);
    }
    OSErr err = field(text);
    unsigned char count[16];
    number(int32_t(callers.size()), count);
    if (!err) err = field(count);
    for (size_t i = 0; !err && i < callers.size(); ++i) {
        callers[i]->GetStructName(text);
        err = field(text);
        number(callers[i]->GetOldTypeNum(), count);
        if (!err) err = field(count);
    }
    if (!err) err = WriteEOL(file);
    return err;
}

