#include "toolbox/views/VTextDropDownList.h"

#include "platform/events/Events.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VArrayString.h"
#include "toolbox/foundation/VIntlMgr.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/system/VSystem.h"
#include "toolbox/views/VDropDown.h"
#include "toolbox/views/VKeySwitch.h"
#include "toolbox/views/VViewScroller.h"

namespace {
constexpr PaintMethod kPaintListText = 3;
constexpr StdColor kListBackground = 27;
constexpr uint32_t kTypeAheadTicks = 15;
}  // namespace

VTextDropDownList::VTextDropDownList(VViewScroller* parent, VArrayValue* list, bool fontNames)
    : VScrolledView(parent), fList(list), fFontNames(fontNames)
{
    BindVirtualWidth(true);
    if (parent) {
        parent->SetUserFrame(this, false);
        parent->ShowHScrollBar(false, true);
    }
    ResetVSize(false);
}

int32_t VTextDropDownList::Count() const { return fList ? fList->GetCount() : 0; }

void VTextDropDownList::ResetVSize(bool makeCurrent)
{
    const int32_t n = Count();
    auto* scroller = dynamic_cast<VViewScroller*>(fParent);
    if (scroller) scroller->ShowVScrollBar(int64_t(n) * kLineHeight > fHeight, true);
    SetVirtualHeight(n * kLineHeight, false, kRedrawInval);
    if (makeCurrent && fList) MakeCurrentElement(fList->GetCurrent());
}

int32_t VTextDropDownList::AdjustVAmount(int32_t d)
{
    if (d > 0 && d <= kLineHeight) return kLineHeight;
    if (d < 0 && d >= -kLineHeight) return -kLineHeight;
    return d / kLineHeight * kLineHeight;
}

void VTextDropDownList::DrawListLine(VPainter* painter, bool fontNames, const VString& text, const VRect& rect,
                                     PaintStatus status, VFrame* frame)
{
    painter->SaveClip(false);
    painter->ClipVRect(rect, true);
    bool drawn = false;
    if (fontNames) {
        painter->SetFont(text);
        if (!painter->IsSymbolFont()) {
            frame->StandardPaint(painter, kPaintListText, status, &rect, &text);
            drawn = true;
        }
    }
    if (!drawn) {
        painter->SetStdFont(kStdFontViews);
        frame->StandardPaint(painter, kPaintListText, status, &rect, &text);
    }
    painter->RestoreClip();
}

void VTextDropDownList::DoPaint(VPainter* painter)
{
    painter->SetFillStdColor(kListBackground);
    painter->FillVRect(fVirtualX, fVirtualY, fWidth, fHeight);
    const int32_t n = Count();
    const int32_t current = fList ? fList->GetCurrent() : 0;
    for (int32_t i = 1; i <= n; ++i) {
        const int32_t top = (i - 1) * kLineHeight;
        if (top < fVirtualY - kLineHeight || top > fVirtualY + fHeight + kLineHeight) continue;
        VStr<255> text;
        ElementText(i, text);
        DrawListLine(painter, fFontNames, text, VRect(0, top, fWidth, kLineHeight),
                     i == current ? PaintStatus(kStatusPushed) : PaintStatus(0), this);
    }
}

void VTextDropDownList::RedrawLine(int32_t n)
{
    if (n < 1 || n > Count()) return;
    RedrawRect(0, (n - 1) * kLineHeight - fVirtualY, fWidth, kLineHeight, kRedrawNow);
}

void VTextDropDownList::DoCursorMove(VPoint& point)
{
    if (!fList) return;
    int32_t x = 0, y = 0;
    point.GetPos(x, y);
    if (y < 0) return;
    // Only a point on a line picks it: past the last line nothing changes.
    const int32_t line = y / kLineHeight + 1;
    if (line < 1 || line > Count()) return;
    const int32_t old = fList->GetCurrent();
    if (line == old) return;
    fList->SetCurrent(line);
    RedrawLine(old);
    RedrawLine(line);
}

void VTextDropDownList::SendToParent(int32_t command)
{
    // The list's owner is the drop-down: the window's command parent.
    if (fParent) fParent->DoCommand(this, command, 0);
}

bool VTextDropDownList::DoLeftMouse(VClic&)
{
    uint32_t lastStep = 0;
    bool first = true;
    while (platform::Button()) {
        int32_t x = 0, y = 0;
        GetMousePosition(x, y);
        const uint32_t now = VSystem::GetCurrentTicks();
        if (y < 0 || y >= fHeight) {
            if (first || now - lastStep >= 2) {
                const int32_t step = y < 0 ? -kLineHeight : kLineHeight;
                SetVirtualPos(fVirtualX, fVirtualY + step, true, kRedrawNow);
                lastStep = now;
                first = false;
            }
        } else {
            VPoint p(x + fVirtualX, y + fVirtualY);
            DoCursorMove(p);
        }
    }
    SendToParent(VDropDown::kListClosed);
    return true;
}

bool VTextDropDownList::DoLeftMouseUp(VClic&)
{
    SendToParent(VDropDown::kListClosed);
    return true;
}

void VTextDropDownList::MakeCurrentElement(int32_t n)
{
    if (!fList) return;
    const int32_t old = fList->GetCurrent();
    fList->SetCurrent(n);
    const int32_t top = (n - 1) * kLineHeight;
    if (n >= 1 && top < fVirtualY) {
        if (fParent) fParent->DoCommand(this, vcmd::kScrollV, top - fVirtualY);
    } else if (n >= 1 && top + kLineHeight > fVirtualY + fHeight) {
        if (fParent) fParent->DoCommand(this, vcmd::kScrollV, top + kLineHeight - fVirtualY - fHeight);
    } else {
        RedrawLine(old);
        RedrawLine(n);
    }
}

int32_t VTextDropDownList::FindFrom(const VIntlMgr& intl, const VString& pattern, int32_t start,
                                    int32_t method) const
{
    // The pattern ends in the wildcard: method 0 finds an element that
    // starts with the typed letters, method 2 the first one sorting at or
    // after them.
    const int32_t n = Count();
    for (int32_t i = start; i <= n; ++i) {
        VStr<255> text;
        ElementText(i, text);
        const int32_t c = intl.MatchVString(text, pattern, false);
        if (method == 0 ? c == 0 : c >= 0) return i;
    }
    return -1;
}

void VTextDropDownList::ElementText(int32_t i, VString& text) const
{
    text.Clear();
    if (auto* strings = dynamic_cast<VArrayString*>(fList)) {
        if (const VString* s = strings->GetVString(i)) text.FromVString(*s);
    } else if (fList) {
        fList->ToString(text, nullptr, i);
    }
}

int32_t VTextDropDownList::DoKey(VKeySwitch& key)
{
    if (!fParent || !fList) return 1;
    const int32_t n = Count();
    const int32_t current = fList->GetCurrent();
    const uint32_t now = VSystem::GetCurrentTicks();
    switch (key.GetKeyCode()) {
    case 138:
    case 139:
    case 140:
    case 141:
        DoScrollKey(key);
        fLastKeyTime = now;
        return 0;
    case 144: {
        const int32_t next = current < 1 ? n : current - 1;
        if (next >= 1 && next != current) {
            MakeCurrentElement(next);
            SendToParent(VDropDown::kCurrentChanged);
        }
        fLastKeyTime = now;
        return 0;
    }
    case 145: {
        const int32_t next = current < 1 ? 1 : current + 1;
        if (next <= n && next != current) {
            MakeCurrentElement(next);
            SendToParent(VDropDown::kCurrentChanged);
        }
        fLastKeyTime = now;
        return 0;
    }
    default:
        break;
    }
    const char16_t ch = key.GetChar();
    if (key.IsCommand() || key.GetKeyCode() == 9 || ch == 0 || ch == 13) {
        fTypeAhead.Clear();
        return 1;
    }
    if (now - fLastKeyTime >= kTypeAheadTicks) fTypeAhead.Clear();
    if (fTypeAhead.GetLength() < 254) fTypeAhead.AppendUniChar(ch);
    fLastKeyTime = now;
    VStr<255> pattern;
    pattern.FromVString(fTypeAhead);
    VIntlMgr* intl = gDefaultIntl ? gDefaultIntl : InitDefaultIntlManager();
    if (!intl) return 0;
    pattern.AppendUniChar(intl->GetWildcard());
    // An entry that starts with the typed letters, after the current one
    // and then wrapping round, wins over the nearest entry sorting after
    // them; only when none starts so is the nearest taken.
    int32_t found = -1;
    for (CompareMethod method : {CompareMethod(0), CompareMethod(2)}) {
        for (int32_t start : {current + 1, 1}) {
            if (start < 1 || start > n) continue;
            found = FindFrom(*intl, pattern, start, method);
            if (found >= 1) break;
        }
        if (found >= 1) break;
    }
    if (found >= 1 && found != current) {
        MakeCurrentElement(found);
        SendToParent(VDropDown::kCurrentChanged);
    }
    return 0;
}
