// The main list's rows: every object of the document kind after kind, the
// members of the rows that were open, and the opening and closing of rows.
#include <unordered_set>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/BusyCursor.h"
#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/dialogs/WaitDialog.h"
#include "browser/Panes.h"
#include "design/objects/DesignGlobals.h"
#include "design/filters/ObjFilter.h"
#include "design/objects/ObjKinds.h"
#include "platform/core/Memory.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace browser {

TypeNum::TypeNum()
{
    static const int16_t order[] = {0, 1, 24, 2, 16, 26, 27, 25, 7, 8, 3, 4, 5, 6, 9, 10, 11, 12, 19, 13, 14, 15, 18, 17, 23, -1};
    for (int i = 0; i < 29; ++i) kinds[i] = i < 26 ? order[i] : -1;
}

int16_t TypeNum::Next()
{
    if (index > 25) return -1;
    const int16_t k = kinds[index];
    if (k != -1 && index < 28) ++index;
    return k;
}

namespace {

// What the row builders share during one rebuild.
struct RowContext {
    bool noFilter = false;
    bool drawing = true;
    int32_t next = 0;
    LongListHandle list = nullptr;
    Handle record = nullptr;
    // The record's bytes, held still for the rebuild: read once, not once
    // an object.
    const uint8_t* bytes = nullptr;
    int32_t size = 0;
    bool flat = false;       // search results: no members, no open rows
    bool stopped = false;    // Stop, or the memory reserve gone
    bool noRoom = false;     // a row could not be added
    bool grown = false;
};

// The objects whose rows were open before the rebuild (a set: each row
// asks once).
const std::unordered_set<TObjQz*>* G_OpenObjList = nullptr;

bool IsInOpenList(TObjQz* obj) { return G_OpenObjList && G_OpenObjList->count(obj) != 0; }

bool Poll(RowContext* c)
{
    if (c->stopped || c->noRoom) return false;
    if (G_WaitParam) {
        ++G_WaitParam->current;
        if (ChkWait(G_WaitParam)) c->stopped = true;
    }
    if (!GromMemHdl) c->stopped = true;
    return !c->stopped;
}

bool PlaceRow(RowContext* c, TObjQz* obj)
{
    if (c->next >= c->list->rowCount) {
        if (LongLAddRow(50, c->list->rowCount, c->list) < 0) {
            c->noRoom = true;
            return false;
        }
        // The first batch shows as it fills; later ones are drawn at the end.
        LongLDoDraw(!c->grown && c->drawing, c->list);
        c->grown = true;
    }
    LongLSetCell(&obj, kObjectRowLength, c->next, c->list);
    ++c->next;
    return true;
}

void SetLowList(RowContext* c, TObjQz* obj);

void AddCellList(RowContext* c, TObjQz* obj)
{
    if (!obj || !Poll(c)) return;
    if (!ObjFilter(c->noFilter ? nullptr : c->bytes, c->size, obj)) return;
    if (obj->TstFlag(kFlagInTrash)) return;
    if (c->flat) {
        PlaceRow(c, obj);
        return;
    }
    if (obj->TstFlag(kFlagGrouped)) return;
    if (!PlaceRow(c, obj)) return;
    SetLowList(c, obj);
}

void SetLowList(RowContext* c, TObjQz* obj)
{
    if (!IsInOpenList(obj)) return;
    SetOpenCell(c->next - 1, c->list, true);
    Handle filter = c->record;
    if (c->noFilter) filter = nullptr;
    else if (filter && GetHandleSize(filter) >= 6) {
        const uint32_t mask = uint32_t(uint8_t((*filter)[2])) << 24 | uint32_t(uint8_t((*filter)[3])) << 16 |
                              uint32_t(uint8_t((*filter)[4])) << 8;
        if (mask == 0x00080000) filter = nullptr;
    }
    ObjListHdl members = obj->members;
    if (!members) return;
    for (int32_t i = 0; i < members->Size(); ++i) {
        TObjQz* m = members->At(i);
        if (!Poll(c)) return;
        if (!ObjFilter(filter, m) || m->TstFlag(kFlagInTrash)) continue;
        if (!PlaceRow(c, m)) return;
        SetLowList(c, m);
    }
}

// The objects lie apart in memory: each is asked for a few places ahead,
// so that their loads overlap rather than follow one another.
constexpr int32_t kLookAhead = 16;

void Add_List(RowContext* c, ObjListHdl list)
{
    if (!list) return;
    const int32_t n = list->Size();
    for (int32_t i = 0; i < n && !c->stopped && !c->noRoom; ++i) {
        if (i + kLookAhead < n) {
            const char* ahead = reinterpret_cast<const char*>(list->At(i + kLookAhead));
            __builtin_prefetch(ahead);
            __builtin_prefetch(ahead + 64);
            __builtin_prefetch(ahead + 128);
        }
        AddCellList(c, list->At(i));
    }
}

// A method's local variables.
void Add_LocalVar(RowContext* c, TObjQz* method)
{
    if (auto* m = dynamic_cast<TGnlProcObjQz*>(method)) Add_List(c, m->locals);
}

// Every table and subtable (the table list holds fields too).
template <typename F>
void EachTable(TypeListRec* types, F f)
{
    ObjListHdl tables = GetObjListe(types, 1);
    if (!tables) return;
    for (int32_t i = 0; i < tables->Size(); ++i)
        if (auto* t = dynamic_cast<TFileObjQz*>(tables->At(i))) f(t);
}

template <typename F>
void EachForm(TypeListRec* types, F f)
{
    EachTable(types, [&](TFileObjQz* t) {
        if (!t->forms) return;
        for (int32_t i = 0; i < t->forms->Size(); ++i)
            if (auto* form = dynamic_cast<TLayoutObjQz*>(t->forms->At(i))) f(form);
    });
}

// The local variables of every project, database, table, form and object
// method.
void Add_ProcVars(RowContext* c, TypeListRec* types)
{
    if (ObjListHdl procs = GetObjListe(types, 2))
        for (int32_t i = 0; i < procs->Size(); ++i) Add_LocalVar(c, procs->At(i));
    if (ObjListHdl db = GetObjListe(types, 16))
        for (int32_t i = 0; i < db->Size(); ++i) Add_LocalVar(c, db->At(i));
    EachTable(types, [&](TFileObjQz* t) { Add_LocalVar(c, t->method); });
    EachForm(types, [&](TLayoutObjQz* f) {
        Add_LocalVar(c, f->formMethod);
        if (f->objMethods)
            for (int32_t i = 0; i < f->objMethods->Size(); ++i) Add_LocalVar(c, f->objMethods->At(i));
    });
}

void Add_FileBalloon(RowContext* c, TypeListRec* types)
{
    EachTable(types, [&](TFileObjQz* t) { Add_List(c, t->balloons); });
}

void Add_Layout(RowContext* c, TypeListRec* types)
{
    EachTable(types, [&](TFileObjQz* t) { Add_List(c, t->forms); });
}

void Add_Scripts(RowContext* c, TypeListRec* types)
{
    EachForm(types, [&](TLayoutObjQz* f) { Add_List(c, f->objMethods); });
}

void Add_FileProc(RowContext* c, TypeListRec* types)
{
    EachTable(types, [&](TFileObjQz* t) {
        if (t->method) AddCellList(c, t->method);
    });
}

void Add_LayOutProc(RowContext* c, TypeListRec* types)
{
    EachForm(types, [&](TLayoutObjQz* f) {
        if (f->formMethod) AddCellList(c, f->formMethod);
    });
}

void AddKind(RowContext* c, TypeListRec* types, int16_t kind)
{
    switch (kind) {
    case 1: {
        // Tables only: fields and subtables appear below their table.
        ObjListHdl tables = GetObjListe(types, 1);
        if (!tables) return;
        for (int32_t i = 0; i < tables->Size() && !c->stopped && !c->noRoom; ++i)
            if (tables->At(i)->kind == 1) AddCellList(c, tables->At(i));
        return;
    }
    case 9:
        Add_List(c, GetObjListe(types, 9));
        Add_ProcVars(c, types);
        return;
    case 10:
        Add_List(c, GetObjListe(types, 10));
        Add_FileBalloon(c, types);
        return;
    case 23:
        if (G_Pop) G_ObjInGroup = true;
        Add_List(c, GetObjListe(types, 23));
        G_Pop = G_ObjInGroup = false;
        return;
    case 24: Add_Layout(c, types); return;
    case 25: Add_Scripts(c, types); return;
    case 26: Add_FileProc(c, types); return;
    case 27: Add_LayOutProc(c, types); return;
    default: Add_List(c, GetObjListe(types, kind)); return;
    }
}

}  // namespace

void TLstPlane::SetList(Handle filter, Handle source)
{
    for (int16_t c : {51, 52, 56, 25, 57}) DisableFunc(c);
    CursInstall();
    RowContext c;
    c.noFilter = fFilter == kDefaultFilter;
    c.record = filter;
    c.flat = filter && filter == G_SearchFilterHdl;
    fSource = source;
    if (!fList) {
        CursRmve();
        return;
    }
    c.list = fList;
    c.drawing = (fList->drawFlags & kLongLDrawOn) != 0;
    std::unordered_set<TObjQz*> open;
    for (int32_t row = 0; LongLGetOpen(true, &row, fList); ++row)
        if (TObjQz* obj = static_cast<TObjQz*>(LongLRowObject(row, fList))) open.insert(obj);
    if (c.flat) open.clear();
    G_OpenObjList = &open;
    const int8_t lockState = filter ? HGetState(filter) : 0;
    static const uint8_t kEmptyRecord = 0;  // an emptied record lets nothing through
    if (filter) {
        HLock(filter);
        c.bytes = *filter ? reinterpret_cast<const uint8_t*>(*filter) : &kEmptyRecord;
        c.size = *filter ? int32_t(GetHandleSize(filter)) : 0;
    }
    LongLDoDraw(false, fList);
    LongLDelRow(fList->rowCount, 0, fList);
    auto* types = reinterpret_cast<TypeListRec*>(source);
    if (types) {
        const uint32_t kinds = filter ? GetOrFlags(filter) : 0xFFFFFFFFu;
        TypeNum order;
        for (int16_t kind = order.Next(); kind != -1 && !c.stopped && !c.noRoom; kind = order.Next()) {
            if (!(kinds & (0x80000000u >> kind))) continue;
            if (!Poll(&c)) break;
            AddKind(&c, types, kind);
        }
    }
    G_OpenObjList = nullptr;
    if (filter) HSetState(filter, lockState);
    CursRmve();
    if (fList->rowCount > c.next) LongLDelRow(fList->rowCount - c.next, c.next, fList);
    LongLDoDraw(c.drawing, fList);
    // Part of the rows under the filter's title would claim what is not so.
    fCutShort = c.stopped || c.noRoom;
    if (fCutShort) MyGetIndString(fFilterTitle, 1004, 25);
    if (c.noRoom) ErrMsg(memFullErr);
    ShowNewRows();
}

void TLstPlane::ShowNewRows()
{
    UpdateList();
    Rect list{}, header{}, popUp{};
    GetBox(&list, &header, &popUp);
    if (fWindow && fWindow->fWindow) {
        InvalWindowRect(fWindow->fWindow, &header);
        InvalWindowRect(fWindow->fWindow, &popUp);
    }
    DisableMenu();
    EnableMenu();
}

void TLstPlane::SwitchCellState(int32_t row)
{
    if (!fList || row < 0 || row >= fList->rowCount) return;
    TObjQz* obj = static_cast<TObjQz*>(LongLRowObject(row, fList));
    if (!obj) return;
    const bool open = !IsOpenCell(row, fList);
    SetOpenCell(row, fList, open);
    if (obj->members)
        for (int32_t i = 0; i < obj->members->Size(); ++i) obj->members->At(i)->SetFlag(kFlagGrouped2, !open);
    if (fWindow && fWindow->fWindow) InvalWindowRect(fWindow->fWindow, &fRect);
    const bool drawing = (fList->drawFlags & kLongLDrawOn) != 0;
    LongLDoDraw(false, fList);
    if (obj->kind == 1 || obj->kind == 29) {
        if (open) SwitchOpen(obj);
        else SwitchList(obj, row);
    } else {
        SwitchList(obj, row);
    }
    LongLDoDraw(drawing || true, fList);
    if (fList->vScroll) {
        SetLongCtlMax(fList->vScroll, MaxCtlValue(fList));
        SetLongCtlValue(fList->vScroll, fList->longValue);
    }
}

}  // namespace browser
