// Pictures, library pictures, groups and subforms.
#include <algorithm>

#include "forms/drawing/DrawingPorts.h"
#include "forms/drawing/ObjectDrawing.h"
#include "forms/drawing/PictureDrawing.h"
#include "forms/drawing/StaticPictures.h"
#include "forms/objects/FormObjects.h"
#include "kernel/helpers/ResourceStrings.h"
#include "looks/LookServices.h"
#include "looks/VIHandler.h"
#include "looks/VIObj.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/pictures/Pictures.h"

using namespace platform;

namespace {

constexpr int16_t kFormTexts = 679;
constexpr int16_t kMissingPictureItem = 1;
constexpr int16_t kCrossArm = 4;  // a cross of 9 pixels
constexpr int16_t kMissingInset = 4;
constexpr int16_t kMissingFont = 1, kMissingSize = 9;
constexpr uint8_t kVerticalBar = 0x02, kHorizontalBar = 0x04;


}  // namespace

void ImageObject::DrawImage(Handle pict, const Rect& r, bool white)
{
    ClipSection clip(r);
    if (white && !imageOption1) EraseWhite(r);
    if (!pict || !*pict) {
        if (lookStyle != 0) return;
        // No picture: a grey cross on the top-left corner and a frame.
        const RGBColor grey{0x8080, 0x8080, 0x8080}, black{0, 0, 0};
        PenNormal();
        RGBForeColor(&grey);
        MoveTo(int16_t(r.left - kCrossArm), r.top);
        LineTo(int16_t(r.left + kCrossArm), r.top);
        MoveTo(r.left, int16_t(r.top - kCrossArm));
        LineTo(r.left, int16_t(r.top + kCrossArm));
        RGBForeColor(&black);
        FrameRect(&r);
        return;
    }
    Rect frame{};
    QDGetPictureBounds(pict, &frame);
    const int16_t w = int16_t(frame.right - frame.left), h = int16_t(frame.bottom - frame.top);
    if (imageOption2 == 2 && !DrawingToPrintPort()) {
        DrawReplicatedPicture(pict, r, imageOption1 != 0, false);
        return;
    }
    Rect to = r;
    if (imageOption2 == 1) {
        to.left = int16_t((r.left + r.right - w) >> 1);
        to.top = int16_t((r.top + r.bottom - h) >> 1);
        to.right = int16_t(to.left + w);
        to.bottom = int16_t(to.top + h);
    }
    DrawPictureTransparent(pict, to, imageOption1 != 0, false);
}

void ImageObject::DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv)
{
    const Rect r = ObjectRect(this, editor, dh, dv);
    SetupDrawing();
    DrawImage(xAccessPict(), r, true);
    xReleasePict();
    RestoreDrawing();
}

Handle LibraryImageObject::xAccessPict()
{
    if (!accessedPicture) accessedPicture = AccessStaticPictByID(pictID, pictName);
    return accessedPicture;
}

void LibraryImageObject::xReleasePict()
{
    if (!accessedPicture) return;
    ReleaseStaticPictByID(pictID, accessedPicture);
    accessedPicture = nullptr;
}

void LibraryImageObject::DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv)
{
    const Rect r = ObjectRect(this, editor, dh, dv);
    SetupDrawing();
    Handle pict = xAccessPict();
    if (pict) {
        DrawImage(pict, r, true);
    } else {
        ClipSection clip(r);
        EraseWhite(r);
        unsigned char text[256];
        gs(text, kFormTexts, kMissingPictureItem);
        TextFont(kMissingFont);
        TextSize(kMissingSize);
        TextFace(normal);
        ForeColor(redColor);
        FontInfo fi{};
        GetFontInfo(&fi);
        MoveTo(int16_t(r.left + kMissingInset), int16_t(r.top + kMissingInset + fi.ascent));
        DrawString(text);
        ForeColor(blackColor);
        PenNormal();
        FrameRect(&r);
    }
    xReleasePict();
    RestoreDrawing();
}

void GroupObject::DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv)
{
    if (lookStyle == 0) return;
    Rect r = ObjectRect(this, editor, dh, dv);
    r.top = int16_t(r.top + 1), r.left = int16_t(r.left + 1), r.bottom = int16_t(r.bottom - 1);
    SetupDrawing();
    VIObj context;
    InitVIParms(&context, kVIGroupFrame, r);
    context.SetQzObjectType(18, false);
    JumpObjVIProc(&context);
    RestoreDrawing();
}

void SubFormObject::DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv)
{
    const Rect r = ObjectRect(this, editor, dh, dv);
    SetupDrawing();
    {
        ClipSection clip(r);
        BuildPicture();
        if (preview && *preview) {
            Rect frame{};
            QDGetPictureBounds(preview, &frame);
            OffsetRect(&frame, int16_t(r.left - frame.left), int16_t(r.top - frame.top));
            DrawPicture(preview, &frame);
        } else if (lookStyle == 0) {
            PenNormal();
            FrameRect(&r);
        }
    }
    const uint8_t first = uint8_t(subformFlags >> 8);
    const bool vertical = (first & kVerticalBar) != 0, horizontal = (first & kHorizontalBar) != 0;
    FakeScrollBars(r, vertical, horizontal, GetVIProc());
    if (lookStyle != 0) {
        const int16_t bar = GetScrollBarSize();
        Rect whole = r;
        if (vertical) whole.right = int16_t(whole.right + bar);
        if (horizontal) whole.bottom = int16_t(whole.bottom + bar);
        VIObj context;
        InitVIParms(&context, kVISubform, whole);
        context.SetQzObjectType(6, false);
        JumpObjVIProc(&context);
    }
    RestoreDrawing();
}
