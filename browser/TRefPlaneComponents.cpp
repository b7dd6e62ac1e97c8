// The list pane's component commands: the selected rows go to the
// transfer layer's work, and the pane shows what it left.
#include <new>
#include <vector>

#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "browser/Panes.h"
#include "browser/TransferDrop.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjQz.h"
#include "design/objects/OpenEditors.h"
#include "platform/core/Errors.h"

namespace browser {

namespace {

// The objects of the selected rows, in row order; false when memory ran
// out (shown).
bool Selected(LongListHandle list, std::vector<TObjQz*>* out)
{
    try {
        for (int32_t row = 0; list && LongLGetSelect(true, &row, list); ++row)
            if (auto* obj = static_cast<TObjQz*>(LongLRowObject(row, list))) out->push_back(obj);
    } catch (const std::bad_alloc&) {
        ErrMsg(platform::memFullErr);
        return false;
    }
    return true;
}

}  // namespace

void TRefPlane::M_New()
{
    TMainDoc* doc = Doc();
    std::vector<TObjQz*> rows;
    if (!doc || !CurrentPaneTransferHooks().newComponent || !Selected(fList, &rows)) return;
    TObjQz* made = nullptr;
    CurrentPaneTransferHooks().newComponent(doc, rows.data(), int32_t(rows.size()), SelectionModulable(fList), &made);
    if (!made) return;
    // The component took the selection and what it uses out of their
    // groups: the document is read again as the store now holds it, the
    // editors open on what they show.
    unsigned char name[256];
    made->GetName(name);
    ReadAgainKeepingEditors(doc);
    SelectObj(SearchObj_Name(doc, 32, name));
}

void TRefPlane::M_Properties()
{
    TMainDoc* doc = Doc();
    std::vector<TObjQz*> rows;
    if (!doc || !CurrentPaneTransferHooks().componentProperties || !Selected(fList, &rows) || rows.empty()) return;
    // A new name sorts the component elsewhere.
    if (CurrentPaneTransferHooks().componentProperties(doc, rows.front()) == 0) doc->UpdateAll();
}

void TRefPlane::M_Generate()
{
    TMainDoc* doc = Doc();
    std::vector<TObjQz*> rows;
    if (!doc || !CurrentPaneTransferHooks().generateComponents || !Selected(fList, &rows)) return;
    CurrentPaneTransferHooks().generateComponents(doc, rows.data(), int32_t(rows.size()));
}

void TRefPlane::M_Delete()
{
    TMainDoc* doc = Doc();
    std::vector<TObjQz*> rows;
    if (!doc || !CurrentPaneTransferHooks().deleteComponents || !Selected(fList, &rows)) return;
    CurrentPaneTransferHooks().deleteComponents(doc, rows.data(), int32_t(rows.size()));
}

void TRefPlane::M_Install()
{
    TMainDoc* doc = Doc();
    if (!doc || !CurrentPaneTransferHooks().installComponent) return;
    CurrentPaneTransferHooks().installComponent(doc);
}

void TRefPlane::M_UnInstall()
{
    TMainDoc* doc = Doc();
    std::vector<TObjQz*> rows;
    if (!doc || !CurrentPaneTransferHooks().uninstallComponents || !Selected(fList, &rows)) return;
    CurrentPaneTransferHooks().uninstallComponents(doc, rows.data(), int32_t(rows.size()));
}

}  // namespace browser
