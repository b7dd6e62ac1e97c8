// The object list pane's filters, selection and object commands.
#include <algorithm>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/BusyCursor.h"
#include "app/documents/MainDoc.h"
#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/appl/Preferences.h"
#include "browser/Panes.h"
#include "design/filters/ObjFilter.h"
#include "design/links/XRef.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/OpenEditors.h"
#include "design/rename/ProjectMethods.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Shapes.h"
#include "platform/resfiles/Resources.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace browser {

bool G_Pop = false;
bool G_ObjInGroup = false;

namespace {

bool IsPseudo(int16_t id) { return id == kSearchFilter || id == kTitledFilter || id == kNarrowedFilter; }

void FilterName(Handle h, unsigned char* out, int16_t limit)
{
    out[0] = 0;
    if (!h) return;
    int16_t id = 0;
    ResType type = 0;
    Str255 name;
    name[0] = 0;
    GetResInfo(h, &id, &type, name);
    out[0] = uint8_t(std::min<int>(name[0], limit));
    std::memcpy(out + 1, name + 1, out[0]);
}

// Objects disposed together with `obj`: a table's method, forms and
// balloons, a form's methods, a method's locals.
void CollectOwned(TObjQz* obj, std::vector<TObjQz*>* out)
{
    auto addList = [&](ObjListHdl list) {
        if (!list) return;
        for (int32_t i = 0; i < list->Size(); ++i) {
            out->push_back(list->At(i));
            CollectOwned(list->At(i), out);
        }
    };
    if (auto* table = dynamic_cast<TFileObjQz*>(obj)) {
        if (table->method) {
            out->push_back(table->method);
            CollectOwned(table->method, out);
        }
        addList(table->forms);
        addList(table->balloons);
    } else if (auto* form = dynamic_cast<TLayoutObjQz*>(obj)) {
        if (form->formMethod) {
            out->push_back(form->formMethod);
            CollectOwned(form->formMethod, out);
        }
        addList(form->objMethods);
    } else if (auto* method = dynamic_cast<TGnlProcObjQz*>(obj)) {
        addList(method->locals);
    }
}

// A field or subtable somewhere below `table`.
bool IsFieldBelow(TObjQz* obj, TObjQz* table)
{
    for (TObjQz* o = obj->GetOwnerObj(); o; o = o->GetOwnerObj())
        if (o == table) return true;
    return false;
}

}  // namespace

Handle TRefPlane::CurrentRecord() const
{
    if (IsPseudo(fFilter)) return nullptr;
    return ::GetFilter(fFilter);
}

void TRefPlane::AddMenuFilter(int16_t id)
{
    if (!fFilterMenu) return;
    const Size size = GetHandleSize(fFilterMenu);
    // A menu that cannot grow keeps the entries it has.
    SetHandleSize(fFilterMenu, size + 2);
    if (MemError() != noErr || GetHandleSize(fFilterMenu) != size + 2) return;
    std::memcpy(*fFilterMenu + size, &id, 2);
    ++fMenuCount;
}

void TRefPlane::SetDfltFilter(int16_t id)
{
    if (fFilter >= 0) fPrevFilter = fFilter;
    fFilter = id;
    if (IsPseudo(id)) {
        MyGetIndString(fFilterTitle, 1004, id == kSearchFilter ? 23 : id == kTitledFilter ? 24 : 25);
    } else if (Handle record = ::GetFilter(id)) {
        FilterName(record, fFilterTitle, 80);
        SetList(record, fSource);
    }
    if (fList) {
        fList->lastClick = -1;
        if (fList->vScroll && fWindow && fWindow->fWindow) {
            Rect bar{};
            GetControlBounds(fList->vScroll, &bar);
            InvalWindowRect(fWindow->fWindow, &bar);
        }
    }
    FollowSelection();
}

void TRefPlane::MoreFilter(int16_t id, bool exclude)
{
    const int16_t old = fFilter;
    fFilter = id;
    Handle record = ::GetFilter(id);
    if (record) FilterName(record, fFilterTitle, 15);
    FilterList(record, exclude);
    if (exclude) {
        fFilter = old;
        SetDfltFilter(kNarrowedFilter);
    }
}

void TRefPlane::FilterList(Handle filter, bool exclude)
{
    if (!filter || !fList) return;
    const bool drawing = (fList->drawFlags & kLongLDrawOn) != 0;
    LongLDoDraw(false, fList);
    DoMoreFilter(filter, fList, exclude);
    LongLDoDraw(drawing, fList);
    InitDraw();
    EraseRect(&fList->rView);
    RestoreDraw();
    RazSelect(fList);
    if (fWindow && fWindow->fWindow) InvalWindowRect(fWindow->fWindow, &fRect);
}

int16_t TRefPlane::Do_Func(int16_t command)
{
    int16_t result = -1;
    {
        // A command's changes of the graph are one: the groups' summaries
        // they touch are remade once, when it ends (a pane or filter
        // reading them meanwhile has them remade first).
        LinkChanges together;
        result = RunCommand(command);
    }
    // Whatever the command did to the rows or their selection.
    if (result != -1) FollowSelection();
    return result;
}

int16_t TRefPlane::RunCommand(int16_t command)
{
    switch (command) {
    case 25: DeleteObj(); return 0;
    case 26: SelectAll(); return 0;
    case 50: return TxtToStr();
    case 51: return Replace();
    case 52: Edit(); return 0;
    case 55: SeltoList(); return 0;
    case 56: EditDoc(); return 0;
    case 57:
        DelDoc();
        DisableFunc(57);
        return 0;
    case 58: Prefix(); return 0;
    case 59: Sel_Replace(); return 0;
    case 70: MakeGroup(); return 0;
    case 71: NewGroup(); return 0;
    case 72: FullGroup(); return 0;
    case 73: UnGroup(); return 0;
    case 75: ScaleLayout(); return 0;
    case 76: return ReplaceTxt();
    case 77: return StrToTxt();
    case 78: return ReplaceCmd();
    case 110: M_New(); return 0;
    case 111: M_Properties(); return 0;
    case 112: M_Generate(); return 0;
    case 113: M_Delete(); return 0;
    case 114: M_Install(); return 0;
    case 115: M_UnInstall(); return 0;
    default: return -1;
    }
}

void TRefPlane::ShowObject(TObjQz* obj)
{
    if (!fList || !obj) return;
    if (LongLAddRow(1, 0, fList) != 0) return;
    LongLSetCell(&obj, kObjectRowLength, 0, fList);
}

void TRefPlane::SelectObj(TObjQz* obj)
{
    // Without an object no row stays highlighted; an object without a row
    // leaves them as they are.
    if (!obj) DoSelect(-1, 0, fList, false, -1);
    if (obj && fList) {
        SelectPlane();
        if (fFilter > 0 && !ObjFilter(CurrentRecord(), obj)) SetDfltFilter(kDefaultFilter);
        if ((obj->kind == 28 || obj->kind == 29) && obj->GetOwnerObj()) SwitchOpen(obj->GetOwnerObj());
        if (const int32_t row = GetCellData(obj, fList); row >= 0) {
            // Every other selected row is drawn plain again as it loses the
            // selection; the object's row is highlighted once.
            DoSelect(row, 0, fList, true, row);
            LongLAutoScroll(fList);
        }
    }
    FollowSelection();
}

void TRefPlane::SwitchOpen(TObjQz* table)
{
    if (!fList || !table) return;
    Handle record = CurrentRecord();
    if (table->kind == 29 && table->GetOwnerObj()) SwitchOpen(table->GetOwnerObj());
    const int32_t row = GetCellData(table, fList);
    if (row < 0 || table->TstFlag(2)) return;
    SetOpenCell(row, fList, true);
    auto* below = static_cast<TObjQz*>(LongLRowObject(row + 1, fList));
    if (below && (below->kind == 28 || below->kind == 29) && below->GetOwnerObj() == table) return;
    if (!table->members) return;
    int32_t at = row + 1;
    for (int32_t i = 0; i < table->members->Size(); ++i) {
        TObjQz* member = table->members->At(i);
        if (!ObjFilter(record, member)) continue;
        if (LongLAddRow(1, at, fList) != at) break;
        LongLSetCell(&member, kObjectRowLength, at, fList);
        ++at;
    }
}

void TRefPlane::SwitchList(TObjQz* group, int32_t row)
{
    if (!fList || !group || row < 0 || row >= fList->rowCount) return;
    Handle record = CurrentRecord();
    if (IsOpenCell(row, fList)) {
        auto* below = static_cast<TObjQz*>(LongLRowObject(row + 1, fList));
        const bool owned = below && (group->kind == 1 || group->kind == 29 ? below->GetOwnerObj() == group
                                                                            : below->parent == group);
        if (owned || !group->members) return;
        int32_t at = row + 1;
        for (int32_t i = 0; i < group->members->Size(); ++i) {
            TObjQz* member = group->members->At(i);
            if (!ObjFilter(record, member)) continue;
            if (LongLAddRow(1, at, fList) != at) break;
            LongLSetCell(&member, kObjectRowLength, at, fList);
            ++at;
        }
        return;
    }
    const uint8_t level = group->GetLevel();
    int32_t end = row + 1;
    while (end < fList->rowCount) {
        auto* below = static_cast<TObjQz*>(LongLRowObject(end, fList));
        const bool field = below && (below->kind == 28 || below->kind == 29);
        const bool deeper = below && (field ? below->GetOwnerObj() == group || IsFieldBelow(below, group)
                                            : group->kind != 1 && group->kind != 29 && below->GetLevel() > level);
        if (!deeper) break;
        SetOpenCell(end, fList, false);
        ++end;
    }
    if (end > row + 1) LongLDelRow(end - row - 1, row + 1, fList);
}

void TRefPlane::Edit()
{
    // As the menu item: a list that may not be written opens no editor.
    if (TObjQz* obj = CurrentObject(); obj && obj->EnableEdit()) obj->Edit(Doc());
}

void TRefPlane::EditDoc()
{
    if (TObjQz* obj = CurrentObject()) obj->EditDoc(Doc());
}

void TRefPlane::DelDoc()
{
    unsigned char text[256];
    MyGetIndString(text, 1002, 34);
    if (XAlert(1002, text, 2) == 1) {
        std::vector<TObjQz*> chosen;
        for (int32_t row = 0; LongLGetSelect(true, &row, fList); ++row)
            chosen.push_back(static_cast<TObjQz*>(LongLRowObject(row, fList)));
        // The first failure ends the command and is said (a documentation
        // another user edits is said by DelDoc itself).
        for (TObjQz* obj : chosen) {
            if (!obj || !obj->TstFlag(kFlagHasDoc) || !obj->EnableDocDel()) continue;
            const int16_t err = obj->DelDoc();
            if (err && err != kDocLockedErr) ErrMsg(err);
            if (err) break;
        }
    }
    if (TMainDoc* doc = Doc()) doc->UpdateList();
}

void TRefPlane::DeleteObj()
{
    if (!fList || !LongLSel(fList)) return;
    unsigned char text[256];
    if (LongLMultSel(fList)) {
        MyGetIndString(text, 1002, 35);
    } else {
        int32_t row = 0;
        LongLGetSelect(true, &row, fList);
        MyGetIndString(text, 1002, 36);
        if (auto* obj = static_cast<TObjQz*>(LongLRowObject(row, fList))) {
            unsigned char name[256], tail[256];
            obj->GetFullName(name);
            MyGetIndString(tail, 1024, 5);
            const int n = std::min<int>(255 - text[0], name[0]);
            std::memcpy(text + 1 + text[0], name + 1, size_t(n));
            text[0] = uint8_t(text[0] + n);
            const int m = std::min<int>(255 - text[0], tail[0]);
            std::memcpy(text + 1 + text[0], tail + 1, size_t(m));
            text[0] = uint8_t(text[0] + m);
        }
    }
    // The selection is taken first: deleting one object can dispose of
    // others (a form's methods), which are then not asked anything.
    std::vector<TObjQz*> chosen;
    for (int32_t row = 0; LongLGetSelect(true, &row, fList); ++row)
        if (auto* obj = static_cast<TObjQz*>(LongLRowObject(row, fList))) chosen.push_back(obj);
    for (TObjQz* obj : chosen)
        if (obj->EnableDelete() && RefusedForOpenEditor(obj)) return;
    if (XAlert(1002, text, 2) != 1) return;
    std::unordered_set<TObjQz*> gone;
    TMainDoc* doc = Doc();
    MethodRecordsLeaveTogether records;
    CursInstall();
    for (TObjQz* obj : chosen) {
        if (gone.count(obj) || !obj->EnableDelete()) continue;
        std::vector<TObjQz*> owned;
        CollectOwned(obj, &owned);
        for (TObjQz* o : owned) {
            gone.insert(o);
            if (doc) doc->DelObjMsg(o);
            else DelObjMsg(o);
        }
        gone.insert(obj);
        if (!doc) DelObjMsg(obj);
        obj->ListRemove();
        obj->DeleteObj(true);
    }
    CursRmve();
    if (doc) doc->UpdateAll();
}

void TRefPlane::SeltoList()
{
    if (!fList) return;
    LongLDoDraw(false, fList);
    const int16_t err = LongLSeltoList(fList);
    MajGroupList(fList);
    LongLDoDraw(true, fList);
    if (err != 0) ErrMsg(err);
    SetDfltFilter(kNarrowedFilter);
    if (fWindow && fWindow->fWindow) InvalWindowRect(fWindow->fWindow, &fRect);
}

void TRefPlane::SetGroupFunc(TObjQz* group, int16_t mode, bool enable)
{
    if (ReadOnly()) {
        for (int16_t c : {70, 72, 73}) DisableFunc(c);
        return;
    }
    if (mode == 1) {
        for (int16_t c : {70, 72}) enable ? EnableFunc(c) : DisableFunc(c);
        const bool single = LongLSel(fList) && !LongLMultSel(fList);
        if (!(single && SelectionGroupable(fList))) DisableFunc(73);
        return;
    }
    if (mode == 2 && group) {
        const bool members = group->members && group->members->Size() > 0;
        StringFunc(73, members ? 7 : 8);
        DisableFunc(70);
        DisableFunc(72);
        enable && group->GetRType() == 23 ? EnableFunc(73) : DisableFunc(73);
    }
}

}  // namespace browser
