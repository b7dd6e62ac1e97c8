// A form in the preview pane: drawn in the structure's look with its
// inherited form behind it, page by page, as one of three display types;
// the drawing's set-up, which printing shares.
#include <algorithm>

#include "app/dialogs/Messages.h"
#include "design/forms/FormDrawingSetup.h"
#include "design/forms/FormModelUse.h"
#include "design/preview/PreviewFrame.h"
#include "forms/drawing/FormPreview.h"
#include "forms/drawing/ObjectDrawing.h"
#include "forms/drawing/StyleSheetsInUse.h"
#include "looks/FormLook.h"
#include "looks/LookManager.h"
#include "platform/pictures/Pictures.h"
#include "resources/ResourceApi.h"
#include "resources/caches/APictArray.h"

using namespace platform;

namespace {

constexpr int16_t kDisplayTypes = 3;

}  // namespace

// The table names are the structure's 'WNQz' 0.
FormDrawingSetup::FormDrawingSetup(TMainDoc* doc) : current_(doc), savedNames_(hwname)
{
    hwname = xget1res(FourCC("WNQz"), 0);
    SetDBVIProc(StructureLook(doc));
    CreateStyleSheet();
}

FormDrawingSetup::~FormDrawingSetup() { hwname = savedNames_; }

int16_t TLayoutObjQz::InitDisplay(Handle* display, const Rect& r, int16_t* width, int16_t* height, int16_t* pageMin,
                                  int16_t* pageMax, int16_t* page, bool flag)
{
    const int16_t type = int16_t(std::clamp<int32_t>(width ? *width : previewChoice, 0, kDisplayTypes - 1));
    const int16_t wanted = page ? *page : 1;
    TObjQz::InitDisplay(display, r, width, height, pageMin, pageMax, page, flag);
    previewChoice = type;
    if (TstFlag(kFlagCiphered)) return 0;
    FormDrawingSetup drawing(owner);
    Handle picture = nullptr;
    int16_t pages = 0, shown = 1;
    const bool built = WithFormModel(this, [&](LayoutEditor& model) {
        pages = model.LastPage();
        if (wanted != 1 && pages >= 1) model.GotoPage(std::clamp<int16_t>(wanted, 1, pages), 0);
        shown = std::max<int16_t>(model.CurrentPage(), 1);
        PurgeStaticPicts(0);
        picture = model.BuildPreview(type, nullptr);
        return picture != nullptr;
    });
    if (!built) {
        ErrMsg(kFormNotDrawn);
        return kFormNotDrawn;
    }
    Rect frame{};
    QDGetPictureBounds(picture, &frame);
    if (width) *width = int16_t(frame.right - frame.left);
    if (height) *height = int16_t(frame.bottom - frame.top);
    if (pages > 1) {
        if (pageMin) *pageMin = 1;
        if (pageMax) *pageMax = pages;
        if (page) *page = shown;
    }
    *display = NewPreview(Rect{0, 0, int16_t(frame.bottom - frame.top), int16_t(frame.right - frame.left)}, picture);
    return *display ? 0 : memFullErr;
}

int16_t TLayoutObjQz::DisplayPopUp(Point pt)
{
    previewChoice = int16_t(ChooseDisplayMode(pt, previewChoice, kDisplayTypes));
    return previewChoice;
}
