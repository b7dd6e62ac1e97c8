// Drops on a text-edit frame and the drag image of its selected text.
#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/theme/Theme.h"
#include "toolbox/foundation/VPoint.h"
#include "toolbox/foundation/VText.h"
#include "toolbox/views/VDragger.h"
#include "toolbox/views/VFrameTextEdit.h"

using namespace platform;

int32_t VFrameTextEdit::myNativeTextEditDropCallBack(NativeTextEditMac* editor, const uint8_t* bytes,
                                                     int32_t length, NativeTypeText kind, const VPoint& point,
                                                     bool same, DragDropInfo& info, void* data)
{
    auto* frame = static_cast<VFrameTextEdit*>(data);
    if (!frame || !editor) return 0;
    VFrameTextEditDropInfo drop;
    drop.fBytes = new (std::nothrow) uint8_t[size_t(std::max(0, length)) + 2]();
    if (!drop.fBytes) return 0;
    if (length > 0 && bytes) std::memcpy(drop.fBytes, bytes, size_t(length));
    drop.fLength = std::max(0, length);
    drop.fKind = kind;
    drop.fSameEditor = same;
    std::memcpy(drop.fInfo, info.extra, sizeof drop.fInfo);
    Rect view{};
    editor->GetViewRect(view);
    int32_t x = 0, y = 0;
    point.GetPos(x, y);
    drop.fOffset = editor->GetCharOffsetFromPos(x - view.left, y - view.top);
    return frame->fDropHandler ? frame->fDropHandler(frame, drop, frame->fDropHandlerData) : 0;
}

void VFrameTextEdit::DropData(const VText& text, int32_t offset, bool moved, bool, bool fromOther, bool)
{
    std::u16string units(size_t(std::max(0, text.GetLength())), u'\0');
    units.resize(size_t(std::max(0, text.ToUniBlock(units.data(), 0, int32_t(units.size())))));
    // A single-line field takes what stands before the first return or
    // line feed, as a paste does.
    if (!fEditor->GetProperty(kPropMultiline)) units.resize(std::min(units.size(), units.find_first_of(u"\r\n")));
    int32_t start = 0, end = 0;
    fEditor->GetSelection(start, end);
    if (moved && !fromOther) {
        // Moved within the field: the place the user saw, once the
        // selection has left.
        fEditor->SetUnicode(u"", 0, true);
        if (offset >= end) offset -= end - start;
        else if (offset > start) offset = start;
    }
    offset = std::clamp(offset, 0, fEditor->GetTextLen(3));
    fEditor->Select(offset, offset);
    fEditor->SetUnicode(units.data(), int32_t(units.size()), true);
    fEditor->Select(offset, offset + int32_t(units.size()));
    fChanged = true;
}

bool VFrameTextEdit::CanAcceptDrop(VDragDropDragger*, const VPoint&)
{
    return fEditor->GetProperty(kPropDragDrop) && fEditor->GetVisible() && fEditor->GetProperty(kPropEnable);
}

void VFrameTextEdit::DoHiliteDrop(VDragDropDragger* dragger, const VPoint& p, DropHiliteAction action,
                                  DragDropInfo& info)
{
    int32_t x = 0, y = 0;
    p.GetPos(x, y);
    fEditor->DoHiliteDrop(dragger, VPoint(x + fWindowX, y + fWindowY), action, info);
}

void VFrameTextEdit::DoDrop(VDragDropDragger* dragger, const VPoint& p, DragDropInfo& info)
{
    int32_t x = 0, y = 0;
    p.GetPos(x, y);
    if (fEditor->DoDrop(dragger, VPoint(x + fWindowX, y + fWindowY), info) && !fEditor->GetDropCallBackData())
        fChanged = true;
}

GWorldPtr VFrameTextEdit::BuildImageForDrag()
{
    int32_t start = 0, end = 0;
    fEditor->GetSelection(start, end);
    if (start == end) return nullptr;
    int32_t barWidth = 16;
    if (GetThemeMetric(kThemeMetricScrollBarWidth, &barWidth) != noErr || barWidth <= 0) barWidth = 16;
    const int32_t width = std::max(1, fWidth - (fEditor->GetProperty(kPropVScrollBar) ? barWidth : 0));
    const int32_t height = std::max(1, fHeight - (fEditor->GetProperty(kPropHScrollBar) ? barWidth : 0));
    // How far the text is scrolled.
    int32_t x0 = 0, y0 = 0, xv = 0, yv = 0;
    fEditor->GetPosFromCharOffset(0, x0, y0);
    fEditor->GetPosFromCharOffset(fEditor->GetFirstVisibleCharOffset(), xv, yv);
    const int32_t scrollX = x0 - xv, scrollY = y0 - yv;
    int32_t lineWidth = 0, lineHeight = 0;
    fEditor->GetLineMetrics(0, lineWidth, lineHeight);

    const Rect bounds{0, 0, int16_t(std::min(height, 0x7FFF)), int16_t(std::min(width, 0x7FFF))};
    GWorldPtr world = nullptr;
    if (NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0) != noErr || !world) return nullptr;
    CGrafPtr savedPort = nullptr;
    GDHandle savedDevice = nullptr;
    GetGWorld(&savedPort, &savedDevice);
    SetGWorld(world, nullptr);
    const RGBColor white{0xFFFF, 0xFFFF, 0xFFFF};
    RGBBackColor(&white);
    EraseRect(&bounds);

    // Only the selected characters show.
    RgnHandle clip = NewRgn(), one = NewRgn(), image = NewRgn();
    for (int32_t i = start; i < end; ++i) {
        int32_t x = 0, y = 0, nx = 0, ny = 0;
        fEditor->GetPosFromCharOffset(i, x, y);
        fEditor->GetPosFromCharOffset(i + 1, nx, ny);
        const int32_t right = ny == y ? nx : width;
        const Rect r{int16_t(std::clamp(y, -32000, 32000)), int16_t(std::clamp(x, -32000, 32000)),
                     int16_t(std::clamp(y + std::max(1, lineHeight), -32000, 32000)),
                     int16_t(std::clamp(right, -32000, 32000))};
        RectRgn(one, &r);
        UnionRgn(clip, one, clip);
    }
    RectRgn(image, &bounds);
    SectRgn(clip, image, clip);
    const Rect box{int16_t(scrollY), int16_t(scrollX), int16_t(scrollY + height), int16_t(scrollX + width)};
    SetClip(clip);
    fEditor->Draw(world, box, nullptr, nullptr, false);
    DisposeRgn(clip);
    DisposeRgn(one);
    DisposeRgn(image);
    SetGWorld(savedPort, savedDevice);
    return world;
}
