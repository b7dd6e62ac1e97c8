// The Search command of the object list pane (command 53, run by the
// window on its main list): the criteria dialog on the search-results
// record, then the rows narrowed or rebuilt from the whole document.
// The results stay flat: members are not put back under their groups,
// which would add rows the search did not find.
#include "app/appl/AppGlobals.h"
#include "app/dialogs/WaitDialog.h"
#include "app/documents/MainDoc.h"
#include "browser/Panes.h"
#include "browser/dialogs/SearchDialog.h"
#include "design/filters/CountObj.h"
#include "design/filters/ObjFilter.h"
#include "design/objects/DesignGlobals.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace browser {

namespace {

constexpr int16_t kSearchingMessage = 2;  // STR# 1011
constexpr int16_t kWaitDialog = 281;
constexpr int32_t kWaitDelay = 60;

}  // namespace

int16_t TRefPlane::Search()
{
    if (!G_SearchFilterHdl || !fList) return 0;
    uint8_t wholeDocument = 1;
    if (GetSearchFilter(G_SearchFilterHdl, &wholeDocument, true) != 1) return 0;
    TMainDoc* doc = Doc();
    WaitParamRec wait;
    const unsigned char none[1] = {0};
    SetWaitDialog(&wait, kSearchingMessage, doc ? doc->fName : none, 0, 0, kWaitDialog, kWaitDelay);
    SearchRows(G_SearchFilterHdl, wholeDocument == 0, &wait);
    ReSetWaitDialog(&wait);
    return 0;
}

void TRefPlane::SearchRows(Handle record, bool shownOnly, WaitParamRec* wait)
{
    fFilter = 0;
    const bool drawing = (fList->drawFlags & kLongLDrawOn) != 0;
    LongLDoDraw(false, fList);
    if (shownOnly) {
        wait->maximum = fList->rowCount;
        DoMoreFilter(record, fList, false);
        RazSelect(fList);
    } else {
        wait->maximum = Count_Obj(record, reinterpret_cast<TypeListRec*>(fSource));
        WaitParamRec* outer = G_WaitParam;
        G_WaitParam = wait;
        SetList(record, fSource);
        G_WaitParam = outer;
    }
    LongLDoDraw(drawing, fList);
    if (fWindow && fWindow->fWindow) InvalWindowRect(fWindow->fWindow, &fRect);
    SetDfltFilter(kSearchFilter);
    SelectObj(nullptr);
}

}  // namespace browser
