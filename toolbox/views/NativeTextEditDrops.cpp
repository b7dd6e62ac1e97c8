// Drops on the editor: the cursor, auto-scrolling near the edges, the
// drop caret, and handing the dropped text to the owner's callback.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/cursors/Cursors.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/events/Events.h"
#include "platform/events/InputState.h"
#include "platform/core/Memory.h"
#include "toolbox/foundation/VPoint.h"
#include "toolbox/views/NativeTextEditMac.h"
#include "toolbox/views/VDragScrap.h"
#include "toolbox/views/VDragger.h"

using namespace platform;

namespace {

constexpr int32_t kEdge = 10;

}  // namespace

NativeDropCallBack NativeTextEditMac::SetDropCallBack(NativeDropCallBack callback, void* data)
{
    NativeDropCallBack previous = fDropCallBack;
    fDropCallBack = callback;
    fDropData = data;
    return previous;
}

void NativeTextEditMac::_ChangeDropPos(int32_t offset)
{
    if (!fObject || !fWindow || offset == fDropCaret[0]) return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(GetWindowPort(fWindow));
    PenState pen{};
    GetPenState(&pen);
    RGBColor fore{};
    GetForeColor(&fore);
    const RGBColor black{0, 0, 0};
    RGBForeColor(&black);
    PenNormal();
    PenMode(patXor);
    int32_t lineWidth = 0, lineHeight = 0;
    GetLineMetrics(0, lineWidth, lineHeight);
    auto caret = [&](int32_t at) {
        int32_t x = 0, y = 0;
        GetPosFromCharOffset(at, x, y);
        x += fViewRect.left;
        y += fViewRect.top;
        MoveTo(int16_t(x), int16_t(y));
        LineTo(int16_t(x), int16_t(y + std::max(1, lineHeight) - 1));
    };
    if (fDropCaret[0] >= 0) caret(fDropCaret[0]);  // XOR: drawn again, it goes
    fDropCaret[0] = offset;
    fDropCaret[1] = lineHeight;
    if (offset >= 0) caret(offset);
    SetPenState(&pen);
    RGBForeColor(&fore);
    SetPort(saved);
}

void NativeTextEditMac::DoHiliteDrop(VDragDropDragger* dragger, const VPoint& point, DropHiliteAction action,
                                     DragDropInfo&)
{
    if (action == 1) {
        SetThemeCursor(kThemeArrowCursor);
        _ChangeDropPos(-1);
        return;
    }
    const bool other = dragger && (!fOwner || dragger->GetSource() != fOwner);
    SetThemeCursor(other || (CurrentInput().modifiers & optionKey) ? kThemeCopyArrowCursor : kThemeArrowCursor);
    if (!fObject) return;
    NativeNoRedrawMac noRedraw(this);
    int32_t px = 0, py = 0;
    point.GetPos(px, py);
    // Near an edge that scrolls, scroll while the button is held.
    uint32_t wait = 5;
    while (fWindow && Button()) {
        int32_t dx = 0, dy = 0;
        if ((fHScrollBar || fHAutoScroll) && px < fViewRect.left + kEdge) dx = px - (fViewRect.left + kEdge);
        if ((fHScrollBar || fHAutoScroll) && px >= fViewRect.right - kEdge) dx = px - (fViewRect.right - kEdge) + 1;
        if ((fVScrollBar || fVAutoScroll) && py < fViewRect.top + kEdge) dy = py - (fViewRect.top + kEdge);
        if ((fVScrollBar || fVAutoScroll) && py >= fViewRect.bottom - kEdge) dy = py - (fViewRect.bottom - kEdge) + 1;
        if (!dx && !dy) break;
        _ChangeDropPos(-1);
        int32_t v = dy, h = dx;
        TXNScroll(fObject, kTXNScrollUnitsInPixels, kTXNScrollUnitsInPixels, &v, &h);
        _ChangeDropPos(GetCharOffsetFromPos(px - fViewRect.left, py - fViewRect.top));
        if (!v && !h) break;  // the text ends there
        uint32_t ticks = 0;
        Delay(wait, &ticks);
        wait = std::max<uint32_t>(2, wait - 1);
        GrafPtr saved = nullptr;
        GetPort(&saved);
        SetPort(GetWindowPort(fWindow));
        Point mouse{};
        GetMouse(&mouse);
        SetPort(saved);
        px = mouse.h;
        py = mouse.v;
    }
    _ChangeDropPos(GetCharOffsetFromPos(px - fViewRect.left, py - fViewRect.top));
}

bool NativeTextEditMac::DoDrop(VDragDropDragger* dragger, const VPoint& point, DragDropInfo& info)
{
    if (!fObject || !dragger) return false;
    _ChangeDropPos(-1);
    fDropCaret[0] = fDropCaret[1] = -1;
    if (!fDropCallBack)
        return TXNDragReceiver(fObject, fFrameID, fWindow, dragger->GetDragRef(), false) == noErr;
    int32_t px = 0, py = 0;
    point.GetPos(px, py);
    const bool same = fOwner && dragger->GetSource() == fOwner;
    if (same) {
        int32_t start = 0, end = 0;
        GetSelection(start, end);
        const int32_t at = GetCharOffsetFromPos(px - fViewRect.left, py - fViewRect.top);
        if (at > start && at < end) return false;
        if (start != end && (at == start || at == end)) {
            // On the boundary: the side of it the point lies on decides.
            int32_t bx = 0, by = 0;
            GetPosFromCharOffset(at, bx, by);
            const int32_t x = px - fViewRect.left;
            int32_t lw = 0, lh = 0;
            GetLineMetrics(0, lw, lh);
            const bool closesLine = at == end && (py - fViewRect.top) >= by + std::max(1, lh);
            if (at == start && x >= bx) return false;
            if (at == end && (closesLine ? !info.extra[0] : x < bx)) return false;
        }
    }
    VDragScrap* scrap = dragger->GetScrap();
    NativeTypeText kind = kNativeTextUnicode;
    char** data = scrap ? scrap->GetData(kTXNUnicodeTextData) : nullptr;
    if (!data && scrap) {
        kind = kNativeTextMac;
        data = scrap->GetData(kTXNTextData);
    }
    if (!data) return false;
    const int32_t length = int32_t(GetHandleSize(data));
    std::vector<uint8_t> bytes(size_t(length) + 2, 0);
    if (length > 0) std::memcpy(bytes.data(), *data, size_t(length));
    DisposeHandle(data);
    fDropCallBack(this, bytes.data(), length, kind, point, same, info, fDropData);
    return true;
}
