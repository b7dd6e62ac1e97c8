// A structure's general documentation ('QzHE' 0 in its store): reading,
// writing, locking, printing and export, with the page furniture that the
// printed object lists share.
#include "app/documents/Documentation.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/documents/DocHooks.h"
#include "app/documents/DocSupport.h"
#include "app/documents/MainDoc.h"
#include "app/dialogs/Messages.h"
#include "app/appl/Preferences.h"
#include "app/appl/TAppl.h"
#include "app/appl/Utilities.h"
#include "platform/core/Clock.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/files/Forks.h"
#include "platform/files/TextFiles.h"
#include "platform/resfiles/Resources.h"
#include "platform/text/IntlSettings.h"
#include "resources/ResourceApi.h"

using namespace platform;

int16_t P_CrtHeight = 0;
int16_t P_PageTop = 0;
int16_t P_NoPage = 0;
MyPrintContextRecord* P_Context = nullptr;
Rect P_PageRect{0, 0, 0, 0};

namespace {

struct HeldLine {
    int16_t height;
    std::function<void(int16_t)> draw;
};

std::vector<HeldLine>& Held()
{
    static std::vector<HeldLine> held;
    return held;
}

}  // namespace

void HoldHeadingLine(int16_t height, std::function<void(int16_t top)> draw)
{
    Held().push_back(HeldLine{height, std::move(draw)});
}

int32_t HeldHeadingsHeight()
{
    int32_t held = 0;
    for (const HeldLine& line : Held()) held += line.height;
    return held;
}

void PlaceHeldHeadings(TMainDoc* doc, int32_t height)
{
    std::vector<HeldLine> lines;
    lines.swap(Held());
    const size_t count = lines.size();
    if (count == 0) return;
    const int32_t bottom = P_PageRect.bottom - 30, room = bottom - P_PageTop;
    // From each line on: what must stand on its page with the lines after
    // it (`rest`), and with it alone (`alone`: a heading and the first
    // thing drawn below it). With nothing under them, the empty lines after
    // the last heading need no room and that heading fits as a line does:
    // ending above the margin.
    struct Need {
        int32_t rest, alone;
    };
    std::vector<Need> needs(count);
    int32_t rest = height > 0 ? height : 0, toInk = height > 0 ? height : 1;
    bool inkBelow = height > 0;
    for (size_t i = count; i-- > 0;) {
        const HeldLine& line = lines[i];
        if (line.draw) {
            needs[i].alone = line.height + toInk;
            rest = (inkBelow ? rest : 1) + line.height;
            toInk = line.height;
            inkBelow = true;
        } else if (inkBelow) {
            rest += line.height;
            toInk += line.height;
        }
        needs[i].rest = rest;
    }
    // Lines that fit on a page together stay together. A longer run (the
    // headings of objects that print nothing more, one after another) is
    // laid out line by line, each heading with the first thing below it,
    // until what is left fits on a page.
    for (size_t i = 0; i < count;) {
        const bool together = needs[i].rest <= room;
        const int32_t need = together ? needs[i].rest : std::min(needs[i].alone, room);
        if (need > 0 && P_CrtHeight > P_PageTop && P_CrtHeight + need > bottom && doc) doc->BreakPage();
        for (const size_t end = together ? count : i + 1; i < end; ++i) {
            if (lines[i].draw) lines[i].draw(P_CrtHeight);
            P_CrtHeight = int16_t(P_CrtHeight + lines[i].height);
        }
    }
}

void DropHeldHeadings() { Held().clear(); }

namespace {

const ResType kQzHE = FourCC("QzHE");
constexpr uint32_t kDocLayout = 0x00010000;

std::string DateNow(DateForm form)
{
    uint32_t now = 0;
    GetDateTime(&now);
    const CivilDay c = MacSecondsToDay(now);
    return DateText(c.day, c.month, c.year, form);
}

std::string TimeNow()
{
    uint32_t now = 0;
    GetDateTime(&now);
    const uint32_t s = now % 86400;
    char text[16];
    std::snprintf(text, sizeof text, "%u:%02u", unsigned(s / 3600), unsigned(s / 60 % 60));
    return text;
}

int16_t LineHeight()
{
    FontInfo info{};
    GetFontInfo(&info);
    return int16_t(info.ascent + info.descent + info.leading);
}

void DrawIn(const std::string& text, const Rect& box, int16_t just)
{
    TETextBox(text.data(), int32_t(text.size()), &box, just);
}

std::string PText(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

// The part of a text record that fits below `top` in `height`, from line
// `*line` on: drawn, `*line` advanced past it; answers the height drawn.
int16_t PrintLines(TEHandle te, int16_t top, int16_t height, int32_t* line)
{
    TERec& rec = **te;
    if (*line >= rec.nLines || height <= 0) return 0;
    // A page break put a new page's port in place of the one the record
    // was made on.
    GetPort(&rec.inPort);
    const int32_t above = *line == 0 ? 0 : TEGetHeight(*line, 1, te);
    OffsetRect(&rec.destRect, 0, int16_t(top - above - rec.destRect.top));
    TECalText(te);
    int32_t last = *line;
    while (last < rec.nLines && TEGetHeight(last + 1, *line + 1, te) <= height) ++last;
    if (last == *line) return 0;
    const int16_t used = int16_t(TEGetHeight(last, *line + 1, te));
    rec.viewRect = Rect{top, rec.destRect.left, int16_t(top + used), rec.destRect.right};
    TEUpdate(&rec.viewRect, te);
    *line = last;
    return used;
}

}  // namespace

bool ReadPlainDocBody(const uint8_t* bytes, size_t size, std::string* text)
{
    text->clear();
    if (!bytes || size < 8) return false;
    const uint32_t length = ReadBE32(bytes + 4);
    if (length > size - 8 || length > uint32_t(kTEMaxLength)) return false;
    text->assign(reinterpret_cast<const char*>(bytes + 8), length);
    return true;
}

Handle MakePlainDocBody(const std::string& text)
{
    const size_t padded = (text.size() + 1) & ~size_t(1);
    Handle h = NewHandleClear(Size(4 + 4 + padded + 8));
    if (!h) return nullptr;
    auto* p = reinterpret_cast<uint8_t*>(*h);
    WriteBE32(p, kDocLayout);
    WriteBE32(p + 4, uint32_t(text.size()));
    std::memcpy(p + 8, text.data(), text.size());
    return h;
}

int16_t TMainDoc::WriteDoc(TEHandle text)
{
    SetWasModif();
    UseDocStore(this);
    Handle doc = xget1res(kQzHE, 0);
    const bool added = doc == nullptr;
    int16_t err = 0;
    if (DocHooks().styleHteToRes) {
        if (!doc) doc = NewHandleClear(4);
        if (!doc) return memFullErr;
        err = DocHooks().styleHteToRes(doc, text);
    } else {
        // Without the styled body, the text alone.
        Handle plain = MakePlainDocBody(std::string(*(**text).hText, size_t((**text).teLength)));
        if (!plain) return memFullErr;
        if (doc) {
            SetHandleSize(doc, GetHandleSize(plain));
            if (MemError() == noErr) std::memcpy(*doc, *plain, size_t(GetHandleSize(plain)));
            else err = memFullErr;
            DisposeHandle(plain);
        } else {
            doc = plain;
        }
    }
    if (err == 0 && GetHandleSize(doc) >= 4) WriteBE32(reinterpret_cast<uint8_t*>(*doc), kDocLayout);
    if (err == 0) {
        if (added) {
            if (!xaddres(doc, kQzHE, 0)) {
                DisposeHandle(doc);
                return reserr ? reserr : int16_t(memFullErr);
            }
        }
        xwriteres(doc);
        err = reserr;
    } else if (added) {
        DisposeHandle(doc);
    }
    if (err == 0 && !fRemote) {
        updateres(fResFile);
        err = reserr;
    }
    return err;
}

int16_t TMainDoc::ReadDoc(TEHandle text, int16_t* state, bool* newText)
{
    UseDocStore(this);
    Handle doc = xget1res(kQzHE, 0);
    // An old-layout body reads as no documentation and stays as it is.
    if (doc && (!*doc || GetHandleSize(doc) < 4 || ReadBE32(reinterpret_cast<uint8_t*>(*doc)) < kDocLayout))
        doc = nullptr;
    if (doc) {
        if (DocHooks().styleResToHte) {
            DocHooks().styleResToHte(doc, text);
        } else {
            std::string plain;
            ReadPlainDocBody(reinterpret_cast<const uint8_t*>(*doc), size_t(GetHandleSize(doc)), &plain);
            TESetText(plain.data(), int32_t(plain.size()), text);
        }
        TECalText(text);
        if (*state < 0 || *state > 2) *state = 0;
        *newText = false;
        return 0;
    }
    TESetText("", 0, text);
    TECalText(text);
    *newText = true;
    *state = 2;
    return 0;
}

Handle TMainDoc::LockDoc(bool* lockedByOther)
{
    UseDocStore(this);
    *lockedByOther = false;
    return xgetreslock(kQzHE, 0, lockedByOther, true);
}

void TMainDoc::UnLockDoc()
{
    if (!fRemote) return;
    UseDocStore(this);
    unloadres(kQzHE, 0);
}

int16_t TMainDoc::SaveHeader(int16_t refNum, bool raw)
{
    Str255 first, vers{};
    MyGetIndString(first, 1000, 1);
    {
        const int16_t saved = CurResFile();
        if (G_MainResFile > 0) UseResFile(G_MainResFile);
        Handle h = Get1Resource(FourCC("vers"), 1);
        if (h && *h && GetHandleSize(h) > 6) {
            const auto* p = reinterpret_cast<const uint8_t*>(*h);
            const size_t n = std::min<size_t>(p[6], size_t(GetHandleSize(h)) - 7);
            vers[0] = uint8_t(n);
            std::memcpy(vers + 1, p + 7, n);
        }
        UseResFile(saved);
    }
    const std::string line1 = PText(first) + PText(vers) + " ";
    const std::string line2 = PText(fName) + "\t" + TimeNow() + "\t" + DateNow(shortDate);
    for (const std::string& line : {line1, line2}) {
        OSErr err = noErr;
        if (raw) {
            const std::string out = line + "\r";
            int64_t n = int64_t(out.size());
            err = FSWriteText(refNum, &n, out.data());
        } else {
            int32_t n = int32_t(line.size());
            err = MyFSWrite(refNum, &n, line.data());
            if (err == noErr) err = WriteEOL(refNum);
        }
        if (err != noErr) return err;
    }
    return 0;
}

void TMainDoc::PrintHeader()
{
    TextFont(GetResFont(2));
    TextSize(GetResSize(2));
    TextFace(bold);
    const int16_t line = LineHeight();
    const Rect box{P_PageRect.top, int16_t(P_PageRect.left + 30), int16_t(P_PageRect.top + line), P_PageRect.right};
    DrawIn(PText(fName), box, teCenter);
    PenSize(1, 1);
    MoveTo(P_PageRect.left, int16_t(box.bottom + 10));
    LineTo(P_PageRect.right, int16_t(box.bottom + 10));
    P_CrtHeight = P_PageTop = int16_t(box.bottom + 20);
}

void TMainDoc::PrintFooter()
{
    TextFont(GetResFont(2));
    TextSize(GetResSize(2));
    TextFace(normal);
    const int16_t line = LineHeight();
    const int16_t top = int16_t(P_PageRect.bottom - line - 10);
    const Rect box{top, P_PageRect.left, int16_t(top + line), P_PageRect.right};
    DrawIn(DateNow(longDate), box, teFlushLeft);
    Str255 page;
    MyGetIndString(page, 1013, 7);
    DrawIn(PText(page) + " " + std::to_string(P_NoPage), box, teFlushRight);
    MoveTo(P_PageRect.left, int16_t(top - 10));
    LineTo(P_PageRect.right, int16_t(top - 10));
}

void TMainDoc::BreakPage()
{
    GrafPtr port = nullptr;
    GetPort(&port);
    const int16_t size = GetPortTextSize(port);
    const int16_t font = GetPortTextFont(port);
    const StyleField face = GetPortTextFace(port);
    PrintFooter();
    PrClosePage(P_Context);
    PrOpenPage(P_Context, nullptr);
    if (CGrafPtr page = GetPrintContextPort(P_Context)) SetPort(page);
    P_CrtHeight = 0;
    ++P_NoPage;
    PrintHeader();
    GetPort(&port);
    TextSize(size);
    TextFont(font);
    TextFace(face);
}

int16_t TMainDoc::PrintDoc()
{
    const Rect huge{0, 0, 32767, 32767};
    TEHandle te = G_MachineType >= 4 ? TEStyleNew(&huge, &huge) : TENew(&huge, &huge);
    if (!te) return memFullErr;
    int16_t state = 0;
    bool newText = false;
    ReadDoc(te, &state, &newText);
    const int16_t line = LineHeight();
    const int16_t bottom = int16_t(P_PageRect.bottom - 30);
    if (P_CrtHeight + 5 * line >= bottom) BreakPage();
    Rect dest = P_PageRect;
    dest.left = int16_t(dest.left + 60);
    dest.right = int16_t(dest.right - 30);
    (**te).destRect = dest;
    (**te).viewRect = dest;
    TECalText(te);
    // An empty documentation prints nothing, not even its rule.
    int32_t first = (**te).teLength > 0 ? 0 : (**te).nLines;
    bool freshPage = false;
    while (first < (**te).nLines) {
        const int16_t printed = PrintLines(te, P_CrtHeight, int16_t(bottom - P_CrtHeight), &first);
        if (printed == 0) {
            // A line taller than a whole page ends the printing rather than
            // turning pages for ever.
            if (freshPage) break;
            BreakPage();
            freshPage = true;
            continue;
        }
        freshPage = false;
        const int16_t x = int16_t(P_PageRect.left + 50);
        MoveTo(x, P_CrtHeight);
        LineTo(x, int16_t(P_CrtHeight + printed));
        P_CrtHeight = int16_t(P_CrtHeight + printed);
        if (first < (**te).nLines) {
            BreakPage();
            freshPage = true;
        }
    }
    P_CrtHeight = int16_t(P_CrtHeight + line);
    TEDispose(te);
    return 0;
}

int16_t TMainDoc::SaveDoc(int16_t refNum)
{
    const Rect huge{0, 0, 32767, 32767};
    TEHandle te = TENew(&huge, &huge);
    if (!te) return memFullErr;
    int16_t state = 0;
    bool newText = false;
    ReadDoc(te, &state, &newText);
    OSErr err = WriteEOL(refNum);
    if (err == noErr) {
        int32_t n = (**te).teLength;
        err = MyFSWrite(refNum, &n, *(**te).hText);
    }
    if (err == noErr) err = WriteEOL(refNum);
    TEDispose(te);
    return err;
}
