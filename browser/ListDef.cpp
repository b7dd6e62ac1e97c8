// The rows of the main list: a disclosure triangle, the kind's colour icon
// indented by the group depth, and the text naming the object by kind and
// owners. Unused objects are red, documented ones underlined.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/dialogs/Messages.h"
#include "app/appl/Preferences.h"
#include "browser/Panes.h"
#include "design/objects/ObjKinds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/icons/Icons.h"

using namespace platform;

namespace browser {

namespace {

void Add(unsigned char* text, const unsigned char* more)
{
    const int n = std::min<int>(255 - text[0], more[0]);
    std::memcpy(text + 1 + text[0], more + 1, size_t(n));
    text[0] = uint8_t(text[0] + n);
}

void AddStr(unsigned char* text, int16_t list, int16_t index)
{
    unsigned char s[256];
    MyGetIndString(s, list, index);
    Add(text, s);
}

void AddName(unsigned char* text, TObjQz* obj)
{
    unsigned char s[256];
    obj->GetName(s);
    Add(text, s);
}

void AddChars(unsigned char* text, const std::string& more)
{
    unsigned char s[256];
    s[0] = uint8_t(std::min<size_t>(255, more.size()));
    std::memcpy(s + 1, more.data(), s[0]);
    Add(text, s);
}

// A table's or field's qualified name: "[Table]" or "[Table]Sub.Field".
void GetStructCellName(TObjQz* obj, unsigned char* out)
{
    out[0] = 0;
    TObjQz* owner = obj->GetOwnerObj();
    if (!owner) {
        AddStr(out, 104, 2);
        AddName(out, obj);
        AddStr(out, 104, 3);
        return;
    }
    unsigned char tail[256] = {0};
    AddName(tail, obj);
    for (TObjQz* o = owner; o; o = o->GetOwnerObj()) {
        unsigned char part[256] = {0};
        if (o->GetOwnerObj()) {
            AddName(part, o);
            AddStr(part, 104, 6);
        } else {
            AddStr(part, 104, 2);
            AddName(part, o);
            AddStr(part, 104, 3);
        }
        Add(part, tail);
        std::memcpy(tail, part, size_t(part[0]) + 1);
    }
    std::memcpy(out, tail, size_t(tail[0]) + 1);
}

void TableOrNone(TObjQz* table, unsigned char* out)
{
    if (table) {
        unsigned char s[256];
        GetStructCellName(table, s);
        Add(out, s);
    } else {
        AddStr(out, 1024, 3);
    }
}

// Label, space, owner table, separator and form name (form methods, forms).
void GetOwStructCell(TObjQz* form, unsigned char* out)
{
    if (!form) {
        AddStr(out, 1024, 3);
        return;
    }
    TableOrNone(form->GetOwnerObj(), out);
    AddStr(out, 1019, 2);
    AddName(out, form);
}

void GetScriptCell(TObjQz* method, unsigned char* out)
{
    TObjQz* form = method->GetOwnerObj();
    if (form && form->kind == 24) {
        GetOwStructCell(form, out);
    } else {
        AddStr(out, 1024, 3);
    }
    AddStr(out, 1019, 1);
    AddName(out, method);
}

void LabelAndName(TObjQz* obj, int16_t label, unsigned char* out)
{
    AddStr(out, 1012, label);
    AddChars(out, " ");
    AddName(out, obj);
}

// The owner description of a local variable's method.
void MethodPath(TObjQz* method, unsigned char* out)
{
    switch (method->kind) {
    case 25: GetScriptCell(method, out); break;
    case 26: TableOrNone(method->GetOwnerObj(), out); break;
    case 27: GetOwStructCell(method->GetOwnerObj(), out); break;
    default: AddName(out, method); break;
    }
}

bool ShowsId(int16_t kind)
{
    switch (kind) {
    case 1: case 2: case 4: case 5: case 6: case 7: case 8: case 10: case 11: case 12: case 16: case 18:
    case 23: case 24: case 25: case 26: case 27: case 29: case 30: return true;
    default: return false;
    }
}

// Text right of the icon, `left` its left edge.
Rect TextRect(const Rect& cell, TObjQz* obj)
{
    const uint8_t level = obj ? obj->GetLevel() : 0;
    Rect r = cell;
    r.left = int16_t(cell.left + 32 + 16 * level);
    return r;
}

void DoDraw(const Rect& r, TObjQz* obj, const unsigned char* prefix, const unsigned char* text, bool red)
{
    unsigned char full[256] = {0};
    DisplayText(obj, text, full);
    TextFont(GetResFont(0));
    TextSize(GetResSize(0));
    const StyleField under = obj->TstFlag(kFlagHasDoc) ? StyleField(underline) : StyleField(0);
    MoveTo(int16_t(r.left + 4), int16_t(r.top + 12));
    if (prefix[0]) {
        TextFace(StyleField(italic | under));
        ForeColor(blackColor);
        DrawString(prefix);
    }
    TextFace(under);
    if (red) {
        const RGBColor redColour{0xFFFF, 0, 0};
        RGBForeColor(&redColour);
    } else {
        ForeColor(blackColor);
    }
    DrawString(full);
}

void DrawCell(LongListHandle list, const Rect* cell, bool selected, int32_t row)
{
    EraseRect(cell);
    auto* obj = static_cast<TObjQz*>(LongLRowObject(row, list));
    if (!obj) return;
    if (obj->Openable()) {
        const Rect tri{cell->top, cell->left, cell->bottom, int16_t(cell->left + 16)};
        DrawSmallIcon(128, IsOpenCell(row, list) ? 2 : 4, &tri);
    }
    const uint8_t level = obj->GetLevel();
    const Rect icon{cell->top, int16_t(cell->left + 16 + 16 * level), int16_t(cell->top + 16),
                    int16_t(cell->left + 32 + 16 * level)};
    if (CIconHandle h = GetCIcon(obj->GetIconID())) {
        PlotCIcon(&icon, h);
        DisposeCIcon(h);
    }
    const Rect textRect = TextRect(*cell, obj);
    unsigned char prefix[256] = {0}, text[256] = {0};
    RowText(obj, prefix, text);
    DoDraw(textRect, obj, prefix, text, !obj->Used());
    if (selected) {
        LMSetHiliteMode(0);
        InvertRect(&textRect);
    }
    TextFace(0);
    ForeColor(blackColor);
}

}  // namespace

void DisplayText(TObjQz* obj, const unsigned char* text, unsigned char* full)
{
    full[0] = 0;
    Add(full, text);
    if (G_ShowID && ShowsId(obj->kind)) AddChars(full, " (" + std::to_string(obj->id) + ")");
    if (obj->kind == 23 || obj->GetRType() == 33) {
        int32_t n = 0;
        if (auto* g = dynamic_cast<TGroupObjQz*>(obj))
            n = obj->TstFlag(kFlagInComponent) ? g->GetVisibleItems() : (obj->members ? obj->members->Size() : 0);
        AddChars(full, " (");
        if (n == 0) {
            AddStr(full, 1029, 10);
        } else {
            AddChars(full, std::to_string(n));
            AddStr(full, 1029, n == 1 ? 8 : 9);
        }
        AddChars(full, ")");
    }
}

void RowText(TObjQz* obj, unsigned char* prefix, unsigned char* text)
{
    prefix[0] = text[0] = 0;
    switch (obj->kind) {
    case 1:
    case 28: GetStructCellName(obj, text); break;
    case 26: TableOrNone(obj->GetOwnerObj(), text); break;
    case 30: LabelAndName(obj, 10, text); break;
    case 24:
        AddStr(text, 1012, 24);
        AddChars(text, " ");
        GetOwStructCell(obj, text);
        break;
    case 25:
        AddStr(text, 1012, 25);
        AddChars(text, " ");
        GetScriptCell(obj, text);
        break;
    case 27:
        AddStr(text, 1012, 27);
        AddChars(text, " ");
        GetOwStructCell(obj->GetOwnerObj(), text);
        break;
    case 9:
        if (auto* v = dynamic_cast<TVarObjQz*>(obj); v && v->method) {
            MethodPath(v->method, prefix);
            if (prefix[0]) AddStr(prefix, 1019, 3);
        }
        AddName(text, obj);
        break;
    default: LabelAndName(obj, obj->kind, text); break;
    }
}

void ListProcIdProc(int16_t message, bool selected, const Rect* cell, int32_t row, int32_t, LongListHandle list)
{
    if (!list || !cell) return;
    RGBColor back;
    SetWhiteBackGround(&back);
    if (message == kLongLDrawMsg) {
        DrawCell(list, cell, selected, row);
    } else if (message == kLongLHiliteMsg) {
        const Rect r = TextRect(*cell, static_cast<TObjQz*>(LongLRowObject(row, list)));
        LMSetHiliteMode(0);
        InvertRect(&r);
    }
    ResetWhiteBackGround(&back);
}

}  // namespace browser
