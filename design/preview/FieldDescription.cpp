// A field described: its type, the field it is related to and its
// attributes, read from its entry in its table's 'FIQz'; shown in the
// preview, printed under its heading and exported.
#include <algorithm>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/links/ParseSupport.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "design/objects/OutputSupport.h"
#include "design/preview/PreviewFrame.h"
#include "kernel/fields/FieldTypes.h"
#include "platform/core/FourCC.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Text.h"
#include "resources/ResourceApi.h"

using namespace platform;

namespace {

constexpr size_t kHeaderSize = 30;
constexpr size_t kEntrySize = 66;
constexpr int16_t kLabels = 1007;      // 3 type, 4 attributes, 5 relation
constexpr int16_t kTypeNames = 1014;
constexpr int16_t kAttributeLines = 1015;

std::string IndString(int16_t list, int16_t index)
{
    unsigned char s[256];
    MyGetIndString(s, list, index);
    return PText(s);
}

// The attribute lines in their order: the bit, its line when set, its line
// when clear (0: none).
struct AttributeLine {
    uint8_t bit;
    int16_t set, clear;
};
constexpr AttributeLine kAttributes[] = {
    {0x20, 1, 0}, {0x04, 2, 3}, {0x08, 4, 5}, {0x80, 6, 0}, {0x40, 7, 0}, {0x10, 8, 0}, {0x01, 9, 0},
};

}  // namespace

void TCritObjQz::GetTypeString(const uint8_t* entry, unsigned char* out)
{
    std::string text = IndString(kLabels, 3);
    const uint8_t type = entry[32];
    if (const int16_t item = fieldtype::NameItem(type)) {
        text += " " + IndString(kTypeNames, item);
        if (type == fieldtype::kAlpha) text += " (" + std::to_string(int16_t(entry[34] << 8 | entry[35])) + ")";
    }
    PSet(out, text);
}

TCritObjQz::Description TCritObjQz::Describe()
{
    Description d;
    TObjQz* table = ownerObj;
    ParseResFile current(owner);
    Handle fiqz = table ? xget1res(FourCC("FIQz"), table->id) : nullptr;
    const ByteView view = ByteView::Of(fiqz);
    const size_t entry = kHeaderSize + size_t(std::max<int16_t>(fieldNumber, 1) - 1) * kEntrySize;
    if (fieldNumber < 1 || !view.Has(entry, kEntrySize)) {
        // A damaged or missing definition describes nothing.
        return d;
    }
    uint8_t bytes[kEntrySize];
    std::copy(view.data + entry, view.data + entry + kEntrySize, bytes);
    unsigned char text[256];
    GetTypeString(bytes, text);
    d.lines.push_back(PText(text));
    if (TObjQz* related = EntryRelatedField(table, view, entry)) {
        related->GetStructName(text);
        d.lines.push_back(IndString(kLabels, 5) + " " + PText(text));
    }
    d.heading = d.lines.size();
    d.lines.push_back(IndString(kLabels, 4));
    const uint8_t bits = bytes[48];
    for (const AttributeLine& a : kAttributes) {
        const int16_t item = (bits & a.bit) ? a.set : a.clear;
        if (item) d.lines.push_back(IndString(kAttributeLines, item));
    }
    return d;
}

int16_t TCritObjQz::InitDisplay(Handle* display, const Rect& r, int16_t* width, int16_t* height, int16_t* pageMin,
                                int16_t* pageMax, int16_t* page, bool flag)
{
    TObjQz::InitDisplay(display, r, width, height, pageMin, pageMax, page, flag);
    const Description d = Describe();
    // Each line in a box as wide as its text + 18, one line below the
    // other; a line more after the type and relation lines; the attributes
    // two lines right of and below the heading.
    struct Placed {
        std::string text;
        int16_t left, top;
        bool underlined;
    };
    std::vector<Placed> placed;
    int32_t right = 0, bottom = 0;
    {
        SavedFont saved;
        ApplicationFont(normal);
        const int16_t line = CurrentLine();
        int32_t left = 10, top = 10;
        for (size_t i = 0; i < d.lines.size(); ++i) {
            if (i == d.heading) top += line;
            if (i == d.heading + 1) left += 2 * line, top += line;
            placed.push_back({d.lines[i], int16_t(left), int16_t(std::min<int32_t>(top, 32000)), i == d.heading});
            ApplicationFont(i == d.heading ? underline : normal);
            right = std::max<int32_t>(right, left + Width(d.lines[i]) + 18);
            top += line;
        }
        bottom = top + line + 1;
    }
    *width = int16_t(std::min<int32_t>(right, 1024));
    *height = int16_t(std::min<int32_t>(bottom, 1024));
    return RecordPreview(display, r, *width, *height, [&placed] {
        FontInfo fi{};
        for (const Placed& p : placed) {
            ApplicationFont(p.underlined ? underline : normal);
            GetFontInfo(&fi);
            DrawAt(p.text, p.left, int16_t(p.top + fi.ascent));
        }
    });
}

int16_t TCritObjQz::PrintObj(OutPutParmRec* options)
{
    const bool details = options && options->contents && !TstFlag(kFlagCiphered);
    UsePrintStyle(bold);
    BreakIf(details ? 6 : 2);
    TObjQz::PrintObj(options);
    if (details) {
        const Description d = Describe();
        unsigned char text[256];
        for (size_t i = 0; i < d.lines.size(); ++i) {
            UsePrintStyle(i == d.heading ? underline : normal);
            PSet(text, d.lines[i]);
            if (i == d.heading) PrintHeading(text, 20);
            else PrintNewLine(text, i > d.heading ? 40 : 20);
        }
    }
    UsePrintStyle(normal);
    const unsigned char empty[1] = {0};
    PrintNewLine(empty, 0);
    return 0;
}

int16_t TCritObjQz::SaveObj(int16_t file)
{
    const Description d = Describe();
    unsigned char text[256];
    int16_t err = 0;
    for (size_t i = 0; !err && i < d.lines.size(); ++i) {
        PSet(text, d.lines[i]);
        err = SaveNewLine(text, 40, file);
    }
    return err;
}
