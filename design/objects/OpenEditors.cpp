#include "design/objects/OpenEditors.h"

#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "app/windows/TMainWindow.h"
#include "design/objects/ObjQz.h"
#include "design/objects/ObjText.h"
#include "design/objects/VarObjQz.h"

namespace {

constexpr int16_t kEditorOpenText = 94;  // 'STR#' 1002, before the object's full name
constexpr int16_t kInTheDocument = 114;  // 'STR#' 1002, before its document's name

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

}  // namespace

TEditWindow* OpenEditor(TDocument* doc, const TObjQz* obj, int16_t windowClass)
{
    for (TWindow* w = doc ? doc->fFirstWindow : nullptr; w; w = w->fNextWindow)
        if ((windowClass == 4 || windowClass == 5) && w->IsMember(windowClass) &&
            static_cast<TEditWindow*>(w)->fObj == obj)
            return static_cast<TEditWindow*>(w);
    return nullptr;
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
