#include "design/objects/OpenEditors.h"

#include <cstring>
#include <functional>
#include <new>
#include <utility>
#include <vector>

#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "app/windows/TMainWindow.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjList.h"
#include "design/objects/ObjQz.h"
#include "design/objects/ObjText.h"
#include "design/objects/VarObjQz.h"
#include "platform/core/Errors.h"

namespace {

constexpr int16_t kEditorOpenText = 94;  // 'STR#' 1002, before the object's full name
constexpr int16_t kInTheDocument = 125;  // 'STR#' 1002, before its document's name

// What holds `obj` and takes it along when it goes: a local variable's
// method, the table or form of anything bound to one.
TObjQz* Holder(TObjQz* obj)
{
    if (auto* var = dynamic_cast<TVarObjQz*>(obj); var && var->method) return var->method;
    return obj->GetOwnerObj();
}

// The object of an editor of `obj`'s document that shows it or something
// it holds; null when none.
TObjQz* EditedWithin(TObjQz* obj)
{
    if (!obj || !obj->owner) return nullptr;
    for (TWindow* w = obj->owner->fFirstWindow; w; w = w->fNextWindow) {
        if (!w->IsMember(4) && !w->IsMember(5)) continue;
        TObjQz* edited = static_cast<TEditWindow*>(w)->fObj;
        for (TObjQz* o = edited; o; o = Holder(o))
            if (o == obj) return edited;
    }
    return nullptr;
}

// What an editor's object is known by across a read: its kind, id and
// full name.
struct Identity {
    int16_t kind = 0, id = 0;
    unsigned char name[256] = {};

    explicit Identity(TObjQz* obj) : kind(obj->kind), id(obj->id) { obj->GetFullName(name); }
    bool Of(TObjQz* obj) const
    {
        if (obj->kind != kind || obj->id != id) return false;
        unsigned char full[256];
        obj->GetFullName(full);
        return std::memcmp(full, name, size_t(name[0]) + 1) == 0;
    }
};

// Every object of the document: those of its lists and those they own (a
// table's forms, method and field balloons, a form's methods, a method's
// locals).
void EachObject(TMainDoc* doc, const std::function<void(TObjQz*)>& visit)
{
    std::function<void(TObjQz*)> walk = [&](TObjQz* obj) {
        visit(obj);
        EachOwned(obj, walk);
    };
    if (!doc->fTypeList) return;
    for (ObjListHdl list : doc->fTypeList->lists)
        for (int32_t i = 0; list && i < list->Size(); ++i) walk(list->At(i));
}

}  // namespace

int16_t ReadAgainKeepingEditors(TMainDoc* doc)
{
    std::vector<std::pair<TEditWindow*, Identity>> kept;
    try {
        for (TWindow* w = doc->fFirstWindow; w; w = w->fNextWindow)
            if ((w->IsMember(4) || w->IsMember(5)) && static_cast<TEditWindow*>(w)->fObj) {
                auto* editor = static_cast<TEditWindow*>(w);
                kept.emplace_back(editor, Identity(editor->fObj));
            }
    } catch (const std::bad_alloc&) {
        // Without the notes the editors close first, as for any read.
        return doc->Reparse();
    }
    // Nothing here allocates: the editors are never left on freed objects.
    return doc->Reparse([&] {
        for (auto& [editor, identity] : kept) {
            const auto& wanted = identity;  // a lambda may not name a binding
            TObjQz* found = nullptr;
            EachObject(doc, [&](TObjQz* obj) {
                if (!found && wanted.Of(obj)) found = obj;
            });
            editor->fObj = found;
            if (found && editor->IsMember(5)) found->SetFlag(kFlagDocOpen, true);
        }
        for (auto& [editor, identity] : kept)
            if (!editor->fObj) editor->ObjectFreed();
    });
}

TEditWindow* OpenEditor(TDocument* doc, const TObjQz* obj, int16_t windowClass)
{
    for (TWindow* w = doc ? doc->fFirstWindow : nullptr; w; w = w->fNextWindow)
        if ((windowClass == 4 || windowClass == 5) && w->IsMember(windowClass) &&
            static_cast<TEditWindow*>(w)->fObj == obj)
            return static_cast<TEditWindow*>(w);
    return nullptr;
}

int16_t ShowEditorPane(TMainDoc* doc, TEditWindow* editor, const std::function<int16_t(TPlan**)>& makePane)
{
    int16_t err = -4;
    try {
        TPlan* pane = nullptr;
        if (makePane) err = makePane(&pane);
        if (err == 0 && !pane) err = platform::memFullErr;
        if (err == 0) {
            editor->AddPlane(pane);
            editor->Show();
            return 0;
        }
    } catch (const std::bad_alloc&) {
        err = platform::memFullErr;
    }
    doc->RemoveWindow(editor);
    editor->Dispose();
    return err;
}

bool RefusedForOpenEditor(TObjQz* obj)
{
    TObjQz* edited = EditedWithin(obj);
    if (!edited) return false;
    unsigned char text[256], name[256];
    MyGetIndString(text, 1002, kEditorOpenText);
    edited->GetFullName(name);
    PAppend(text, name);
    // Both documents of a drop may hold an object of that name.
    MyGetIndString(name, 1002, kInTheDocument);
    PAppend(text, name);
    PAppend(text, obj->owner->fName);
    XAlert(1000, text, kCautionAlert);
    return true;
}
