// The main list of a browser window: its links to the other panes, the
// commands that follow its selection and its clicks.
#include "app/appl/AppGlobals.h"
#include "app/documents/MainDoc.h"
#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/windows/PaneHooks.h"
#include "app/appl/Preferences.h"
#include "app/windows/TMainWindow.h"
#include "browser/CallPanes.h"
#include "design/objects/ObjQz.h"
#include "design/objects/ObjKinds.h"
#include "platform/drawing/Rects.h"
#include "platform/events/InputState.h"

using namespace platform;

namespace browser {

int16_t TLstPlane::ITPlane(const Rect& rect, TWindow* window, TypeListRec* typeList, const uint8_t* record,
                           int32_t length)
{
    if (const int16_t err = TRefPlane::ITPlane(rect, window, typeList, record, length); err != 0) return err;
    fSource = reinterpret_cast<Handle>(typeList);
    MyGetIndString(fTitle, 1009, 1);
    if (fTitle[0] > 15) fTitle[0] = 15;
    fPreview = fUses = fUsedBy = nullptr;
    fPreviewNumber = fListNumber = fUsesNumber = fUsedByNumber = 0;
    return 0;
}

void TLstPlane::SetLinks(int16_t usesNumber, ::TPlan* uses, int16_t usedByNumber, ::TPlan* usedBy,
                         int16_t previewNumber, ::TPlan* preview)
{
    fUsesNumber = usesNumber;
    fUses = usesNumber ? nullptr : uses;
    fUsedByNumber = usedByNumber;
    fUsedBy = usedByNumber ? nullptr : usedBy;
    fPreviewNumber = previewNumber;
    fPreview = previewNumber ? nullptr : preview;
}

void TLstPlane::RazAll(Handle list, bool reset)
{
    fSource = list;
    if (!reset) return;
    // The objects are going: no row may name one afterwards, kept rows and
    // search results included, whatever the filter lets through.
    if (fList) {
        LongLDelRow(fList->rowCount, 0, fList);
        fList->lastClick = -1;
    }
    // The rows come back through the filter last chosen (kept or found
    // rows give way to the one before them): a window of groups stays one.
    const int16_t chosen = fFilter >= 0 ? fFilter : fPrevFilter;
    SetDfltFilter(::GetFilter(chosen) ? chosen : int16_t(kDefaultFilter));
}

void TLstPlane::EmptyLinked()
{
    fShown = nullptr;
    if (fUsedBy) fUsedBy->SetList(nullptr, nullptr);
    if (fUses) fUses->SetList(nullptr, nullptr);
}

void TLstPlane::FillLinked(TObjQz* obj)
{
    fShown = obj;
    TMainDoc* doc = Doc();
    auto* window = fWindow && fWindow->IsMember(3) ? static_cast<TRefWindow*>(fWindow) : nullptr;
    for (::TPlan* pane : {fUsedBy, fUses})
        if (auto* call = dynamic_cast<TCallPlane*>(pane)) call->SetGoodFilter();
    auto fill = [&](::TPlan* pane, bool callers) {
        if (!pane) return;
        const int16_t id = pane->GetFilter();
        Handle filter = PaneHooks().filterRecord ? PaneHooks().filterRecord(id) : ::GetFilter(id);
        Handle links = nullptr;
        if (callers || !obj->TstFlag(9)) links = reinterpret_cast<Handle>(callers ? obj->usedBy : obj->uses);
        pane->SetList(filter, links);
    };
    if (fUsedByNumber && doc && window) doc->SetCallingList(window, obj, fUsedByNumber);
    else fill(fUsedBy, true);
    if (fUsesNumber && doc && window) doc->SetCalledList(window, obj, fUsesNumber);
    else fill(fUses, false);
}

void TLstPlane::FollowSelection()
{
    TObjQz* obj = CurrentObject();
    if (obj != fShown) {
        if (obj) FillLinked(obj);
        else EmptyLinked();
    }
    if (!fWindow || fWindow->fFirstPlane != this) return;
    DisableMenu();
    EnableMenu();
    LongLSel(fList) ? EnableFunc(55) : DisableFunc(55);
}

void TLstPlane::SelectObj(TObjQz* obj)
{
    // Asked for anew, the panes are given the links anew, whatever they
    // showed.
    EmptyLinked();
    TRefPlane::SelectObj(obj);
}

void TLstPlane::DelObjMsg(TObjQz* obj)
{
    TRefPlane::DelObjMsg(obj);
    // The panes let go of a going object's links at once; the command that
    // deletes it brings them in line with the rows when it ends.
    if (obj && obj == fShown) EmptyLinked();
}

void TLstPlane::ShowObject(TObjQz* obj)
{
    TRefPlane::ShowObject(obj);
    for (int32_t row : {0, 3, 2, 1}) SwitchCellState(row);
    FollowSelection();
}

void TLstPlane::UpdateAll()
{
    // The rows are the document's objects as they are now, whatever an
    // earlier command left the list holding.
    if (TMainDoc* doc = Doc()) fSource = reinterpret_cast<Handle>(doc->fTypeList);
    TObjQz* current = CurrentObject();
    TRefPlane::UpdateAll();
    // The current object stays current where it still has a row.
    if (const int32_t row = current ? GetCellData(current, fList) : -1; row >= 0) DoSelect(row, 0, fList, true, row);
    FollowSelection();
}

void TLstPlane::SelectPlane()
{
    DisableMenu();
    TRefPlane::SelectPlane();
    EnableMenu();
}

void TLstPlane::DeSelectPlane()
{
    TRefPlane::DeSelectPlane();
    DisableMenu();
}

bool TLstPlane::Click(Point where, int16_t clicks)
{
    if (!TRefPlane::Click(where, clicks)) {
        EnableMenu();
        return false;
    }
    if (fBarHit) return true;
    const uint16_t modifiers = CurrentInput().modifiers;
    Rect list{}, header{}, popUp{};
    GetBox(&list, &header, &popUp);
    if (PtInRect(where, &header) && (modifiers & controlKey)) SeltoList();
    TMainDoc* doc = Doc();
    auto* window = fWindow && fWindow->IsMember(3) ? static_cast<TRefWindow*>(fWindow) : nullptr;
    if (TObjQz* obj = fRowClick ? CurrentObject() : nullptr) {
        TObjQz* owner = obj->GetOwnerObj() ? obj->GetOwnerObj() : obj->parent;
        // Control selects the owner, Option the object itself, in the
        // window the list shows them in.
        TObjQz* chosen = (modifiers & controlKey) && owner ? owner : (modifiers & optionKey) ? obj : nullptr;
        if (fDoubleClick) ShowInPreview(obj);
        else if (chosen && doc && window) doc->SelectObj(window, chosen, fListNumber);
    }
    // Whatever the click did: a row chosen, rows dropped, a triangle, a
    // filter.
    FollowSelection();
    return true;
}

void TLstPlane::DisableMenu()
{
    for (int16_t c : {50, 77, 51, 52, 56, 25, 57, 58, 59}) DisableFunc(c);
    SetGroupFunc(nullptr, 1, false);
    for (int16_t c : {73, 71, 70, 72, 75, 76, 78, 110, 113, 111, 112, 114, 115}) DisableFunc(c);
}

void TLstPlane::EnableMenu()
{
    if (G_LowMem) return;
    if (TObjQz* obj = CurrentObject()) {
        if (obj->EnableReplace()) EnableFunc(51);
        if (obj->EnableEdit()) EnableFunc(52);
        if (obj->EnableDegroup()) SetGroupFunc(obj, 2, true);
        obj->EnableDocEdit() ? EnableFunc(56) : DisableFunc(56);
        obj->EnableDelete() ? EnableFunc(25) : DisableFunc(25);
    }
    SelectionDoc(fList) ? EnableFunc(57) : DisableFunc(57);
    if (SelectionPrefixable(fList)) {
        EnableFunc(58);
        EnableFunc(59);
    }
    if (SelectionGroupable(fList)) SetGroupFunc(nullptr, 1, true);
    SelectionX_able(fList) ? EnableFunc(25) : DisableFunc(25);
    if (ReadOnly()) return;
    Selection_Proc(fList) ? EnableFunc(78) : DisableFunc(78);
    Selection_Layout(fList) ? EnableFunc(75) : DisableFunc(75);
    Selection_TxtReplace(fList) ? EnableFunc(76) : DisableFunc(76);
    EnableFunc(50);
    Selection_StrList(fList) ? EnableFunc(77) : DisableFunc(77);
    EnableFunc(71);
    EnableFunc(110);
    TMainDoc* doc = Doc();
    (doc ? doc->IsDataBase() : true) ? EnableFunc(114) : DisableFunc(114);
    DisableFunc(111);
    if (Selection_ModuleProject(fList)) {
        if (LongLSel(fList) && !LongLMultSel(fList)) EnableFunc(111);
        EnableFunc(112);
        EnableFunc(113);
    } else {
        DisableFunc(112);
        DisableFunc(113);
    }
    if (Selection_Module(fList)) {
        EnableFunc(111);
        EnableFunc(115);
    } else {
        DisableFunc(115);
    }
}

}  // namespace browser
