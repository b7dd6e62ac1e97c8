#include "browser/CellDrawers.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/appl/AppGlobals.h"
#include "app/appl/Preferences.h"
#include "app/appl/Utilities.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/dialogs/Messages.h"
#include "browser/Panes.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/icons/Icons.h"

using namespace platform;

namespace browser {

namespace {

void AddStr(unsigned char* text, int16_t list, int16_t index)
{
    unsigned char s[256];
    MyGetIndString(s, list, index);
    PAppend(text, s);
}

void AddName(unsigned char* text, TObjQz* obj)
{
    unsigned char s[256];
    obj->GetName(s);
    PAppend(text, s);
}

void TableOrNone(TObjQz* table, unsigned char* out)
{
    if (table) {
        unsigned char s[256];
        GetStructCellName(table, s);
        PAppend(out, s);
    } else {
        AddStr(out, 1024, 3);
    }
}

// The kind's name (STR# 1012 item `label`), a space and the object's name.
void LabelAndName(TObjQz* obj, int16_t label, unsigned char* out)
{
    AddStr(out, 1012, label);
    PAppendChar(out, ' ');
    AddName(out, obj);
}

void LabelAnd(int16_t label, unsigned char* out)
{
    AddStr(out, 1012, label);
    PAppendChar(out, ' ');
}

// The owner description of a local variable's method.
void MethodPath(TObjQz* method, unsigned char* out)
{
    unsigned char part[256] = {0};
    switch (method->kind) {
    case 25: GetScriptCell(method, part); break;
    case 26: TableOrNone(method->GetOwnerObj(), part); break;
    case 27: GetOwStructCell(method->GetOwnerObj(), part); break;
    default: GetProcCell(method, part); break;
    }
    PAppend(out, part);
}

bool ShowsId(int16_t kind)
{
    switch (kind) {
    case 1: case 2: case 4: case 5: case 6: case 7: case 8: case 10: case 11: case 12: case 16: case 18:
    case 23: case 24: case 25: case 26: case 27: case 29: case 30: return true;
    default: return false;
    }
}

// The startup method is not shown as unused in the pick lists.
bool IsStartupMethod(TObjQz* obj)
{
    unsigned char startup[256], name[256];
    MyGetIndString(startup, 1007, 6);
    obj->GetName(name);
    if (startup[0] != name[0]) return false;
    for (int i = 1; i <= name[0]; ++i) {
        uint8_t x = name[i], y = startup[i];
        if (x >= 'a' && x <= 'z') x = uint8_t(x - 32);
        if (y >= 'a' && y <= 'z') y = uint8_t(y - 32);
        if (x != y) return false;
    }
    return true;
}

void Label(const CellPen& pen, TObjQz* obj, const unsigned char* prefix, const unsigned char* text, bool unusedRed)
{
    StyleField style = 0;
    if (unusedRed && !obj->Used()) style = NilFace();
    else ForeColor(blackColor);
    DoDraw(pen, obj, prefix, text, GetResFont(0), GetResSize(0), style);
    ForeColor(blackColor);
}

// The text of each family (see RowText).
void FileText(TObjQz* obj, unsigned char*, unsigned char* text) { GetStructCellName(obj, text); }
void FileProcText(TObjQz* obj, unsigned char*, unsigned char* text) { TableOrNone(obj->GetOwnerObj(), text); }
void StructText(TObjQz* obj, unsigned char*, unsigned char* text)
{
    LabelAnd(24, text);
    GetOwStructCell(obj, text);
}
void ScriptText(TObjQz* obj, unsigned char*, unsigned char* text)
{
    LabelAnd(25, text);
    GetScriptCell(obj, text);
}
void OwStructText(TObjQz* obj, unsigned char*, unsigned char* text)
{
    LabelAnd(27, text);
    GetOwStructCell(obj->GetOwnerObj(), text);
}
void VarText(TObjQz* obj, unsigned char* prefix, unsigned char* text)
{
    if (auto* v = dynamic_cast<TVarObjQz*>(obj); v && v->method) {
        MethodPath(v->method, prefix);
        if (prefix[0]) AddStr(prefix, 1019, 3);
    }
    AddName(text, obj);
}
void ProcText(TObjQz* obj, unsigned char*, unsigned char* text)
{
    LabelAnd(obj->kind, text);
    unsigned char name[256] = {0};
    GetProcCell(obj, name);
    PAppend(text, name);
}

// Kinds 7, 8, 10, 11 and 30 (named as field balloons) and every other.
void RefGnlText(TObjQz* obj, unsigned char*, unsigned char* text) { LabelAndName(obj, obj->kind == 30 ? 10 : obj->kind, text); }
void GnlText(TObjQz* obj, unsigned char*, unsigned char* text) { LabelAndName(obj, obj->kind, text); }

// A family of kinds: how its label reads and which drawer draws it.
struct Family {
    void (*text)(TObjQz* obj, unsigned char* prefix, unsigned char* text);
    void (*draw)(const CellPen& pen, TObjQz* obj);
};

Family FamilyOf(int16_t kind)
{
    switch (kind) {
    case 1:
    case 28: return {FileText, DrawFileCell};
    case 2: return {ProcText, DrawProcCell};
    case 7:
    case 8:
    case 10:
    case 11:
    case 30: return {RefGnlText, DrawRefGnlCell};
    case 9: return {VarText, DrawVarCell};
    case 24: return {StructText, DrawStructCell};
    case 25: return {ScriptText, DrawScriptCell};
    case 26: return {FileProcText, DrawFileProcCell};
    case 27: return {OwStructText, DrawOwStructCell};
    default: return {GnlText, DrawGnlCell};
    }
}

// The family's label drawn; unused objects red unless `startup` spares
// the startup method.
void DrawFamily(const CellPen& pen, TObjQz* obj, bool spareStartup = false)
{
    unsigned char prefix[256] = {0}, text[256] = {0};
    FamilyOf(obj->kind).text(obj, prefix, text);
    Label(pen, obj, prefix, text, !(spareStartup && IsStartupMethod(obj)));
}

}  // namespace

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
        PAppend(part, tail);
        std::memcpy(tail, part, size_t(part[0]) + 1);
    }
    std::memcpy(out, tail, size_t(tail[0]) + 1);
}

void GetProcCell(TObjQz* method, unsigned char* out)
{
    out[0] = 0;
    AddName(out, method);
}

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
    if (form && form->kind == 24) GetOwStructCell(form, out);
    else AddStr(out, 1024, 3);
    AddStr(out, 1019, 1);
    AddName(out, method);
}

void DoSpace(unsigned char* text)
{
    text[0] = 1;
    text[1] = ' ';
}

void DoNull(unsigned char* text) { text[0] = 0; }

StyleField NilFace()
{
    const RGBColor red{0xFFFF, 0, 0};
    RGBForeColor(&red);
    return 0;
}

void DoDraw(const CellPen& pen, TObjQz* obj, const unsigned char* prefix, const unsigned char* text, int16_t font,
            int16_t size, StyleField style)
{
    unsigned char full[256] = {0};
    if (pen.mainList) DisplayText(obj, text, full);
    else std::memcpy(full, text, size_t(text[0]) + 1);
    TextFont(font);
    TextSize(size);
    const StyleField under = pen.mainList && obj->TstFlag(kFlagHasDoc) ? StyleField(underline) : StyleField(0);
    const Rect& r = pen.rect;
    RgnHandle savedClip = nullptr;
    const bool rightToLeft = MyGetTESysJust() == -1;
    if (rightToLeft) {
        if ((savedClip = NewRgn())) SectClip(&r, savedClip);
        TextFace(StyleField(italic | under));
        const int16_t prefixWidth = prefix[0] ? StringWidth(prefix) : 0;
        TextFace(StyleField(style | under));
        MoveTo(int16_t(r.right - 4 - prefixWidth - StringWidth(full)), int16_t(r.top + 12));
    } else {
        MoveTo(int16_t(r.left + 4), int16_t(r.top + 12));
    }
    if (prefix[0]) {
        RGBColor colour{};
        GetForeColor(&colour);
        TextFace(StyleField(italic | under));
        ForeColor(blackColor);
        DrawString(prefix);
        RGBForeColor(&colour);
    }
    TextFace(StyleField(style | under));
    DrawString(full);
    if (savedClip) {
        SetClip(savedClip);
        DisposeRgn(savedClip);
    }
}

void DrawProcCell(const CellPen& pen, TObjQz* obj) { DrawFamily(pen, obj, !pen.mainList); }
void DrawFileCell(const CellPen& pen, TObjQz* obj) { DrawFamily(pen, obj); }
void DrawFileProcCell(const CellPen& pen, TObjQz* obj) { DrawFamily(pen, obj); }
void DrawScriptCell(const CellPen& pen, TObjQz* obj) { DrawFamily(pen, obj); }
void DrawStructCell(const CellPen& pen, TObjQz* obj) { DrawFamily(pen, obj); }
void DrawOwStructCell(const CellPen& pen, TObjQz* obj) { DrawFamily(pen, obj); }
void DrawVarCell(const CellPen& pen, TObjQz* obj) { DrawFamily(pen, obj); }
void DrawRefGnlCell(const CellPen& pen, TObjQz* obj) { DrawFamily(pen, obj); }
void DrawGnlCell(const CellPen& pen, TObjQz* obj) { DrawFamily(pen, obj); }

void DrawCellLabel(const CellPen& pen, TObjQz* obj) { FamilyOf(obj->kind).draw(pen, obj); }

void RowText(TObjQz* obj, unsigned char* prefix, unsigned char* text)
{
    DoNull(prefix);
    DoNull(text);
    FamilyOf(obj->kind).text(obj, prefix, text);
}

void DisplayText(TObjQz* obj, const unsigned char* text, unsigned char* full)
{
    full[0] = 0;
    PAppend(full, text);
    if (G_ShowID && ShowsId(obj->kind)) PAppend(full, " (" + std::to_string(obj->id) + ")");
    if (obj->kind == 23 || obj->GetRType() == 33) {
        int32_t n = 0;
        if (auto* g = dynamic_cast<TGroupObjQz*>(obj))
            n = obj->TstFlag(kFlagInComponent) ? g->GetVisibleItems() : (obj->members ? obj->members->Size() : 0);
        PAppend(full, std::string(" ("));
        if (n == 0) {
            AddStr(full, 1029, 10);
        } else {
            PAppend(full, std::to_string(n));
            AddStr(full, 1029, n == 1 ? 8 : 9);
        }
        PAppendChar(full, ')');
    }
}

void MyPlotIcon(const Rect* r, int16_t iconId, bool)
{
    if (CIconHandle h = GetCIcon(iconId)) {
        PlotCIcon(r, h);
        DisposeCIcon(h);
    }
}

void MyDrawSwitchIcn(int32_t row, LongListHandle list, TObjQz* obj, const Rect* r)
{
    if (!obj || !obj->Openable()) return;
    const Rect triangle{r->top, r->left, r->bottom, int16_t(r->left + 16)};
    DrawSmallIcon(128, IsOpenCell(row, list) ? 2 : 4, &triangle);
}

}  // namespace browser
