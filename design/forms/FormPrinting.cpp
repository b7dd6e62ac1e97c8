// A form printed: its heading, then, with details, every page's preview
// 30 points from the left, scaled down to fit the printable page and
// started on a new page when it does not fit below what is printed; the
// heading stays on the page of the first.
#include "design/forms/FormPrinting.h"

#include <algorithm>
#include <vector>

#include "app/documents/Documentation.h"
#include "app/documents/MainDoc.h"
#include "design/forms/FormDrawingSetup.h"
#include "design/forms/FormModelUse.h"
#include "design/objects/OutputOptions.h"
#include "design/objects/OutputSupport.h"
#include "platform/drawing/Rects.h"
#include "platform/pictures/Pictures.h"
#include "resources/ResourceApi.h"

namespace {

constexpr int16_t kMargin = 30;

// `frame` scaled down, both sides alike, to at most width x height.
platform::Rect FitWithin(const platform::Rect& frame, int32_t width, int32_t height)
{
    const int32_t w = frame.right - frame.left, h = frame.bottom - frame.top;
    int32_t outW = w, outH = h;
    if (w > width || h > height) {
        // The smaller ratio, compared without rounding: width / w < height / h.
        if (int64_t(width) * h < int64_t(height) * w) outW = width, outH = int32_t(int64_t(h) * width / w);
        else outH = height, outW = int32_t(int64_t(w) * height / h);
    }
    return platform::Rect{0, 0, int16_t(std::max<int32_t>(outH, 0)), int16_t(std::max<int32_t>(outW, 0))};
}

}  // namespace

platform::Rect PlaceFormPreview(const platform::Rect& page, int16_t current, int16_t topOfNewPage,
                                const platform::Rect& frame, bool* newPage)
{
    const int32_t pageWidth = page.right - page.left - kMargin;
    const int32_t bottom = page.bottom - kMargin;
    platform::Rect r = FitWithin(frame, pageWidth, page.bottom - page.top - kMargin);
    *newPage = current + (r.bottom - r.top) > bottom;
    const int16_t top = *newPage ? topOfNewPage : current;
    // What a new page's header takes is taken from the picture too: it
    // never runs past the bottom margin.
    if (top + (r.bottom - r.top) > bottom) r = FitWithin(r, pageWidth, std::max<int32_t>(bottom - top, 0));
    platform::OffsetRect(&r, kMargin, top);
    return r;
}

int16_t TLayoutObjQz::PrintObj(OutPutParmRec* options)
{
    const FormPreviewProc preview = GetFormPreviewProc();
    if (!options || !options->contents || TstFlag(kFlagCiphered) || !preview || !owner)
        return TObjQz::PrintObj(options);
    // Each page drawn as the preview pane draws it.
    FormDrawingSetup drawing(owner);
    std::vector<platform::Handle> pictures;
    // A form, or a page, that cannot be read or drawn fails the print as it
    // fails the preview: never printed as its heading alone.
    const bool drawn = WithFormModel(this, [&](LayoutEditor& model) {
        for (int32_t p = 1; p <= model.LastPage(); ++p) {
            const platform::Handle picture = preview(&model, p, false, true);
            if (!picture) return false;
            pictures.push_back(picture);
        }
        return true;
    });
    if (!drawn) {
        for (const platform::Handle picture : pictures) platform::KillPicture(picture);
        return kFormNotDrawn;
    }
    std::vector<platform::Rect> frames(pictures.size());
    for (size_t i = 0; i < pictures.size(); ++i) platform::QDGetPictureBounds(pictures[i], &frames[i]);
    const int16_t err = TObjQz::PrintObj(options);
    // The heading stays on the page of the first drawing, which is made
    // smaller where a page cannot hold both.
    if (!pictures.empty()) {
        bool newPage = false;
        const platform::Rect first = PlaceFormPreview(P_PageRect, P_PageTop, P_PageTop, frames[0], &newPage);
        PlaceHeldHeadings(owner, first.bottom - first.top);
    }
    for (size_t i = 0; i < pictures.size(); ++i) {
        bool newPage = false;
        platform::Rect r = PlaceFormPreview(P_PageRect, P_CrtHeight, P_CrtHeight, frames[i], &newPage);
        if (newPage && i > 0) {
            owner->BreakPage();
            r = PlaceFormPreview(P_PageRect, P_CrtHeight, P_CrtHeight, frames[i], &newPage);
        }
        platform::DrawPicture(pictures[i], &r);
        P_CrtHeight = r.bottom;
        platform::KillPicture(pictures[i]);
    }
    const unsigned char empty[1] = {0};
    PrintNewLine(empty, 0);
    return err;
}
