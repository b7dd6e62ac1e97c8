// String lists ('STR#' of the structure's companion resource file) opened
// in their editor window.
#include <new>

#include "app/appl/AppGlobals.h"
#include "app/appl/TAppl.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "app/windows/PaneHooks.h"
#include "app/windows/TMainWindow.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "design/objects/OpenEditors.h"
#include "design/plugins/BundleLinks.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Rects.h"
#include "platform/resfiles/Resources.h"
#include "platform/resfiles/StringListBody.h"

using namespace platform;

namespace {

constexpr int16_t kFirstEditableList = 15000;
// The editor numbers its strings with 16 signed bits.
constexpr uint32_t kMostEditedStrings = 32767;
constexpr int16_t kErrorTexts = 1002, kTooManyToEdit = 147;

// The number of strings the list's 'STR#' declares.
uint32_t DeclaredStrings(TMainDoc* doc, int16_t id)
{
    const int16_t saved = CurResFile();
    UseResFile(doc->fRsrFile);
    Handle h = Get1Resource(FourCC("STR#"), id);
    UseResFile(saved);
    return h && *h ? StringListCount(reinterpret_cast<const uint8_t*>(*h), size_t(GetHandleSize(h))) : 0;
}

}  // namespace

bool TSTRObjQz::EnableEdit()
{
    if (TstFlag(kFlagCiphered) || id < kFirstEditableList || !owner || owner->fRsrFile < 0 ||
        !IsResFileOpen(owner->fRsrFile))
        return false;
    const int16_t saved = CurResFile();
    UseResFile(owner->fRsrFile);
    SetResLoad(false);
    Handle h = Get1Resource(FourCC("STR#"), id);
    SetResLoad(true);
    // A list of a plug-in's or package's bundle is the plug-in's own: its
    // routine names and texts are never rewritten here.
    const bool editable = h && !IsBundledStringList(id);
    UseResFile(saved);
    return editable;
}

void TSTRObjQz::Edit(TMainDoc* doc)
{
    if (!doc) return;
    if (TEditWindow* open = OpenEditor(doc, this, 4)) {
        open->SelectTWindow();
        return;
    }
    if (DeclaredStrings(doc, id) > kMostEditedStrings) {
        unsigned char text[256];
        MyGetIndString(text, kErrorTexts, kTooManyToEdit);
        XAlert(1000, text, kCautionAlert);
        return;
    }
    unsigned char title[256], full[256];
    title[0] = 0;
    PAppend(title, doc->fName);
    PAppendChar(title, ' ');
    GetFullName(full);
    PAppend(title, full);
    Rect r = MyAppl ? MyAppl->fDefaultRect : Rect{45, 15, 345, 415};
    if (r.bottom <= r.top) r = Rect{45, 15, 345, 415};
    r.right = int16_t(r.left + 400);
    const Rect placed = r;
    // A window that cannot be made is said; the front window keeps the keys.
    auto* editor = new (std::nothrow) TEditStrWindow;
    if (!editor) {
        ErrMsg(memFullErr);
        return;
    }
    editor->fObj = this;
    if (const int16_t err = doc->NewTWindow(editor, &r, title, false, 8); err != 0) {
        ErrMsg(err);
        return;
    }
    // The next window opens one step further, as after any new window.
    if (MyAppl) OffsetRect(&MyAppl->fDefaultRect, int16_t(r.left - placed.left), int16_t(r.top - placed.top));
    std::function<int16_t(TPlan**)> makePane;
    if (PaneHooks().makeStrPlane)
        makePane = [&](TPlan** pane) { return PaneHooks().makeStrPlane(editor, this, pane); };
    if (const int16_t err = ShowEditorPane(doc, editor, makePane); err != 0 && err != -4) ErrMsg(err);
}
