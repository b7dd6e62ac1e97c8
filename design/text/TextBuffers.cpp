#include "design/text/TextBuffers.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "app/appl/Preferences.h"
#include "app/documents/Documentation.h"
#include "app/documents/MainDoc.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/text/ScriptManager.h"
#include "platform/textedit/StyleLayouts.h"

using namespace platform;

namespace {

TextBufferRec* Rec(tText buffer)
{
    if (!buffer || !*buffer || GetHandleSize(buffer) < Size(sizeof(TextBufferRec))) return nullptr;
    return reinterpret_cast<TextBufferRec*>(*buffer);
}

TextRun* Runs(tText buffer) { return reinterpret_cast<TextRun*>(*buffer + sizeof(TextBufferRec)); }

}  // namespace

tText NewText()
{
    Handle text = NewHandle(kTextStep);
    if (!text) return nullptr;
    tText buffer = NewHandleClear(Size(sizeof(TextBufferRec) + sizeof(TextRun) * kRunStep));
    if (!buffer) {
        DisposeHandle(text);
        return nullptr;
    }
    TextBufferRec* rec = new (*buffer) TextBufferRec{};
    rec->textCapacity = kTextStep;
    rec->runCapacity = kRunStep;
    rec->text = text;
    return buffer;
}

void DeleteText(tText buffer)
{
    if (!buffer) return;
    if (TextBufferRec* rec = Rec(buffer); rec && rec->text) DisposeHandle(rec->text);
    DisposeHandle(buffer);
}

const TextBufferRec* TextOf(tText buffer) { return Rec(buffer); }
const TextRun* TextRunsOf(tText buffer) { return Rec(buffer) ? Runs(buffer) : nullptr; }
const uint8_t* TextBytesOf(tText buffer)
{
    const TextBufferRec* rec = Rec(buffer);
    return rec && rec->text ? reinterpret_cast<const uint8_t*>(*rec->text) : nullptr;
}

bool TextAppend(const void* bytes, int32_t count, tText buffer)
{
    TextBufferRec* rec = Rec(buffer);
    if (!rec || !rec->text || count < 0) return false;
    if (count == 0) return true;
    const int32_t length = rec->length + count;
    if (length >= kTextLimit) return false;
    if (length > rec->textCapacity) {
        const int32_t capacity = length + kTextStep;
        SetHandleSize(rec->text, capacity);
        if (MemError() != noErr) return false;
        rec->textCapacity = capacity;
    }
    std::memcpy(*rec->text + rec->length, bytes, size_t(count));
    rec->length = int16_t(length);
    return true;
}

bool TextSetStyle(int32_t style, tText buffer)
{
    TextBufferRec* rec = Rec(buffer);
    if (!rec) return false;
    if (rec->runCount > 0 && Runs(buffer)[rec->runCount - 1].style == style) return true;
    if (rec->runCount + 1 >= kRunLimit) return false;
    if (rec->runCount >= rec->runCapacity) {
        const int32_t capacity = rec->runCapacity + kRunStep;
        SetHandleSize(buffer, Size(sizeof(TextBufferRec) + sizeof(TextRun) * size_t(capacity)));
        if (MemError() != noErr) return false;
        rec = Rec(buffer);  // the handle may have moved
        rec->runCapacity = capacity;
    }
    Runs(buffer)[rec->runCount] = TextRun{rec->length, style};
    ++rec->runCount;
    return true;
}

void TextCutBack(tText buffer, int16_t length, int16_t runCount)
{
    TextBufferRec* rec = Rec(buffer);
    if (!rec) return;
    rec->length = std::clamp<int16_t>(length, 0, rec->length);
    rec->runCount = std::clamp<int16_t>(runCount, 0, rec->runCount);
}

void TextTohTE(tText buffer, TEHandle te, const TETextStyle* styles)
{
    const TextBufferRec* rec = Rec(buffer);
    if (!rec || !te) return;
    const int32_t length = rec->length;
    // The text goes into the record's own handle; the record takes it, with
    // the styles written below, in the one recalculation at the end.
    Handle text = (**te).hText;
    if (!text) return;
    SetHandleSize(text, length);
    if (GetHandleSize(text) != length) return;
    if (length > 0) std::memcpy(*text, *rec->text, size_t(length));
    (**te).teLength = int16_t(length);
    (**te).selStart = (**te).selEnd = 0;
    Handle record = TEGetStyleHandle(te);
    Handle table = TEGetStyleTableHandle(te);
    if (!styles || !record || !table || length == 0) {
        TECalText(te);
        return;
    }
    // The record's runs rise strictly from 0 inside the text: a run that a
    // later one starts at the same place gives way, one that repeats the
    // style before it adds nothing, and text before the first run takes
    // style 0.
    std::vector<TextRun> runs;
    const TextRun* from = Runs(buffer);
    for (int32_t i = 0; i < rec->runCount; ++i) {
        TextRun r = from[i];
        if (r.start >= length) break;
        if (r.style < 0 || r.style >= kMethodStyleCount) r.style = 0;
        if (!runs.empty() && runs.back().start == r.start) runs.pop_back();
        if (!runs.empty() && runs.back().style == r.style) continue;
        runs.push_back(r);
    }
    if (runs.empty() || runs.front().start > 0) runs.insert(runs.begin(), TextRun{0, 0});

    std::vector<uint8_t> bytes(kStyleRecordFixedSize + kStyleRunSize * (runs.size() + 1), 0);
    WriteBE16(bytes.data(), uint16_t(runs.size()));
    WriteBE16(bytes.data() + 2, uint16_t(kMethodStyleCount));
    uint8_t* p = bytes.data() + kStyleRecordFixedSize;
    int32_t uses[kMethodStyleCount] = {};
    for (const TextRun& r : runs) {
        WriteBE16(p, uint16_t(r.start));
        WriteBE16(p + 2, uint16_t(r.style));
        ++uses[r.style];
        p += kStyleRunSize;
    }
    WriteBE16(p, uint16_t(length + 1));
    std::vector<uint8_t> entries(kStyleTableEntrySize * kMethodStyleCount, 0);
    for (int32_t i = 0; i < kMethodStyleCount; ++i) {
        uint8_t* e = entries.data() + kStyleTableEntrySize * size_t(i);
        // Heights and ascents are measured by the record itself.
        WriteBE16(e, uint16_t(uses[i]));
        WriteBE16(e + 6, uint16_t(styles[i].tsFont));
        e[8] = styles[i].tsFace;
        WriteBE16(e + 10, uint16_t(styles[i].tsSize));
        WriteBE16(e + 12, styles[i].tsColor.red);
        WriteBE16(e + 14, styles[i].tsColor.green);
        WriteBE16(e + 16, styles[i].tsColor.blue);
    }
    SetHandleSize(record, Size(bytes.size()));
    SetHandleSize(table, Size(entries.size()));
    if (GetHandleSize(record) == Size(bytes.size()) && GetHandleSize(table) == Size(entries.size())) {
        std::memcpy(*record, bytes.data(), bytes.size());
        std::memcpy(*table, entries.data(), entries.size());
    }
    TECalText(te);
}

int16_t MethodStyleSetting(int32_t entry)
{
    static constexpr int16_t kSettings[kMethodStyleCount] = {0, 3, 10, 12, 11, 9, 8, 7, 4, 5, 6, 1, 13, 2};
    return entry >= 0 && entry < kMethodStyleCount ? kSettings[entry] : 0;
}

void MyTEInitStyles(TETextStyle* styles, int16_t font, int16_t size)
{
    for (int32_t i = 0; i < kMethodStyleCount; ++i) {
        AppTextStyle s;
        s.font = font;
        s.size = size;
        s.face = 0;
        s.color = RGBColor{0, 0, 0};
        MyGetTextStyle(MethodStyleSetting(i), &s);
        styles[i] = TETextStyle{s.font, s.face, s.size, s.color};
    }
}

void TextPrint(TEHandle te, int16_t top, int16_t height, int32_t* firstLine, int16_t* printed)
{
    *printed = 0;
    if (!te || !*te) return;
    TERec& rec = **te;
    // A page break may have put another page's port in place of the one the
    // record was made on.
    GrafPtr port = nullptr;
    GetPort(&port);
    rec.inPort = port;
    const int32_t above = *firstLine <= 0 ? 0 : TEGetHeight(*firstLine, 1, te);
    OffsetRect(&rec.destRect, 0, int16_t(top - above - rec.destRect.top));
    TECalText(te);
    if (*firstLine < 0 || *firstLine >= rec.nLines || height <= 0) return;
    int32_t last = *firstLine;
    while (last < rec.nLines && TEGetHeight(last + 1, *firstLine + 1, te) < height) ++last;
    if (last == *firstLine) return;
    const int16_t used = int16_t(TEGetHeight(last, *firstLine + 1, te));
    rec.viewRect = Rect{top, rec.destRect.left, int16_t(top + used), rec.destRect.right};
    TEUpdate(&rec.viewRect, te);
    *firstLine = last;
    *printed = used;
}

void PrintTextPages(TEHandle te, TMainDoc* doc)
{
    TERec& rec = **te;
    rec.destRect = P_PageRect;
    rec.destRect.left = int16_t(rec.destRect.left + 60);
    rec.viewRect = rec.destRect;
    TECalText(te);
    const int16_t bottom = int16_t(P_PageRect.bottom - 30);
    const bool rule = GetSysDirection() != -1;
    // An empty text prints nothing, not even its rule.
    int32_t first = (**te).teLength > 0 ? 0 : (**te).nLines;
    // Its first line goes on the page of its heading (a line fits when it
    // ends above the bottom margin).
    if (first < (**te).nLines) PlaceHeldHeadings(doc, TEGetHeight(1, 1, te) + 1);
    bool freshPage = false;
    while (first < (**te).nLines) {
        int16_t printed = 0;
        TextPrint(te, P_CrtHeight, int16_t(bottom - P_CrtHeight), &first, &printed);
        if (printed == 0) {
            // A line taller than a whole page ends the printing rather than
            // turning pages for ever.
            if (freshPage || !doc) break;
            doc->BreakPage();
            freshPage = true;
            continue;
        }
        freshPage = false;
        if (rule) {
            const int16_t x = int16_t(P_PageRect.left + 50);
            MoveTo(x, P_CrtHeight);
            LineTo(x, int16_t(P_CrtHeight + printed - 1));
        }
        P_CrtHeight = int16_t(P_CrtHeight + printed);
        if (first < (**te).nLines && doc) {
            doc->BreakPage();
            freshPage = true;
        }
    }
}
