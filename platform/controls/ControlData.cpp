// 'CNTL' templates, the data of the standard kinds and their best sizes.
#include <algorithm>
#include <cstring>
#include <new>

#include "platform/controls/ControlRecord.h"
#include "platform/controls/ControlTemplate.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Text.h"
#include "platform/resfiles/Resources.h"
#include "platform/text/SingleByteSets.h"
#include "platform/theme/Theme.h"

namespace platform {

bool ParseControlTemplate(const uint8_t* b, size_t size, ControlTemplate* out)
{
    constexpr size_t kFixed = 22;
    if (!b || !out || size < kFixed + 1) return false;
    const size_t titleLength = b[kFixed];
    if (size < kFixed + 1 + titleLength) return false;
    auto i16 = [&](size_t off) { return int16_t(ReadBE16(b + off)); };
    out->bounds = Rect{i16(0), i16(2), i16(4), i16(6)};
    out->value = i16(8);
    out->visible = b[10] != 0;
    out->max = i16(12);
    out->min = i16(14);
    out->procID = i16(16);
    out->refCon = int32_t(ReadBE32(b + 18));
    std::memcpy(out->title, b + kFixed, titleLength + 1);
    return true;
}

ControlRef GetNewControl(int16_t id, WindowRef window)
{
    Handle h = GetResource(FourCC("CNTL"), id);
    if (!h) return nullptr;
    ControlTemplate t;
    HLock(h);
    const bool ok = ParseControlTemplate(reinterpret_cast<const uint8_t*>(*h), size_t(GetHandleSize(h)), &t);
    HUnlock(h);
    if (!ok) {
        SetResError(resNotFound);
        return nullptr;
    }
    return NewControl(window, &t.bounds, t.title, t.visible, t.value, t.min, t.max, t.procID, uint32_t(t.refCon));
}

namespace {

template <typename T>
OSErr Put(void* buffer, Size bufferSize, Size* actual, const T& value)
{
    if (actual) *actual = Size(sizeof(T));
    if (!buffer) return noErr;
    if (bufferSize < Size(sizeof(T))) return paramErr;
    std::memcpy(buffer, &value, sizeof(T));
    return noErr;
}

template <typename T>
OSErr Take(const void* data, Size size, T* value)
{
    if (!data || size != Size(sizeof(T))) return paramErr;
    std::memcpy(value, data, sizeof(T));
    return noErr;
}

}  // namespace

OSErr SetControlData(ControlRef control, ControlPartCode, OSType tag, Size size, const void* data)
{
    if (!IsLiveControl(control)) return OSErr(errUnknownControl);
    ControlRecord& c = *control;
    try {
        if (tag == kControlStaticTextTextTag && DefinitionId(c.procID) == 18 && c.def == StandardControlDefinition(c.procID)) {
            if (size < 0 || (size > 0 && !data)) return paramErr;
            c.staticText.assign(static_cast<const char*>(data), size_t(size));
        } else if (tag == kControlProgressBarIndeterminateTag && DefinitionId(c.procID) == 5) {
            Boolean b = 0;
            if (OSErr e = Take(data, size, &b)) return e;
            c.indeterminate = b != 0;
        } else if ((tag == kControlPushButtonDefaultTag || tag == kControlPushButtonCancelTag) &&
                   c.def == StandardControlDefinition(c.procID) && DefinitionId(c.procID) == 0 &&
                   (Variation(c.procID) & 7) == 0) {
            Boolean b = 0;
            if (OSErr e = Take(data, size, &b)) return e;
            (tag == kControlPushButtonDefaultTag ? c.isDefault : c.isCancel) = b != 0;
        } else if (IsUserPane(c) && tag == kControlUserPaneDrawProcTag) {
            return Take(data, size, &c.paneDraw);
        } else if (IsUserPane(c) && tag == kControlUserPaneHitTestProcTag) {
            return Take(data, size, &c.paneHitTest);
        } else if (IsUserPane(c) && tag == kControlUserPaneTrackingProcTag) {
            return Take(data, size, &c.paneTracking);
        } else if (IsUserPane(c) && tag == kControlUserPaneIdleProcTag) {
            return Take(data, size, &c.paneIdle);
        } else if (IsUserPane(c) && tag == kControlUserPaneActivateProcTag) {
            return Take(data, size, &c.paneActivate);
        } else if (IsPopupButton(c) && tag == kControlPopupButtonMenuHandleTag) {
            MenuRef menu = nullptr;
            if (OSErr e = Take(data, size, &menu)) return e;
            SetControlPopupMenuHandle(control, menu);
            return noErr;
        } else if (IsPopupButton(c) && tag == kControlPopupButtonMenuIDTag) {
            int16_t id = 0;
            if (OSErr e = Take(data, size, &id)) return e;
            SetControlPopupMenuHandle(control, GetMenuHandle(MenuID(id)));
            return noErr;
        } else {
            return OSErr(errDataNotSupported);
        }
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
    Draw1Control(control);
    return noErr;
}

OSErr GetControlData(ControlRef control, ControlPartCode, OSType tag, Size bufferSize, void* buffer, Size* actualSize)
{
    if (!IsLiveControl(control)) return OSErr(errUnknownControl);
    const ControlRecord& c = *control;
    if (tag == kControlStaticTextTextTag && DefinitionId(c.procID) == 18 && c.def == StandardControlDefinition(c.procID)) {
        const Size n = Size(c.staticText.size());
        if (actualSize) *actualSize = n;
        if (buffer) std::memcpy(buffer, c.staticText.data(), size_t(std::clamp<Size>(bufferSize, 0, n)));
        return noErr;
    }
    if (tag == kControlProgressBarIndeterminateTag && DefinitionId(c.procID) == 5)
        return Put(buffer, bufferSize, actualSize, Boolean(c.indeterminate));
    if (tag == kControlPushButtonDefaultTag && DefinitionId(c.procID) == 0)
        return Put(buffer, bufferSize, actualSize, Boolean(c.isDefault));
    if (tag == kControlPushButtonCancelTag && DefinitionId(c.procID) == 0)
        return Put(buffer, bufferSize, actualSize, Boolean(c.isCancel));
    if (IsUserPane(c) && tag == kControlUserPaneDrawProcTag) return Put(buffer, bufferSize, actualSize, c.paneDraw);
    if (IsUserPane(c) && tag == kControlUserPaneHitTestProcTag)
        return Put(buffer, bufferSize, actualSize, c.paneHitTest);
    if (IsUserPane(c) && tag == kControlUserPaneTrackingProcTag)
        return Put(buffer, bufferSize, actualSize, c.paneTracking);
    if (IsUserPane(c) && tag == kControlUserPaneIdleProcTag) return Put(buffer, bufferSize, actualSize, c.paneIdle);
    if (IsUserPane(c) && tag == kControlUserPaneActivateProcTag)
        return Put(buffer, bufferSize, actualSize, c.paneActivate);
    if (IsPopupButton(c) && tag == kControlPopupButtonMenuHandleTag)
        return Put(buffer, bufferSize, actualSize, c.popupMenu);
    if (IsPopupButton(c) && tag == kControlPopupButtonMenuIDTag)
        return Put(buffer, bufferSize, actualSize, int16_t(c.popupMenu ? GetMenuID(c.popupMenu) : 0));
    return OSErr(errDataNotSupported);
}

MenuRef GetControlPopupMenuHandle(ControlRef control)
{
    return IsLiveControl(control) && IsPopupButton(*control) ? control->popupMenu : nullptr;
}

void SetControlPopupMenuHandle(ControlRef control, MenuRef menu)
{
    if (!IsLiveControl(control) || !IsPopupButton(*control)) return;
    if (control->ownsPopupMenu && control->popupMenu != menu) DisposeMenu(control->popupMenu);
    control->ownsPopupMenu = false;
    control->popupMenu = menu;
    control->min = 1;
    control->max = menu ? std::max<int32_t>(1, CountMenuItems(menu)) : 1;
    control->value = std::clamp(control->value, control->min, control->max);
    Draw1Control(control);
}

static OSErr BestRect(ControlRef control, Rect* best, int16_t* baseLineOffset);

OSErr GetBestControlRect(ControlRef control, Rect* best, int16_t* baseLineOffset)
{
    try {
        return BestRect(control, best, baseLineOffset);
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

static OSErr BestRect(ControlRef control, Rect* best, int16_t* baseLineOffset)
{
    if (!IsLiveControl(control) || !best) return OSErr(errUnknownControl);
    const ControlRecord& c = *control;
    *best = c.bounds;
    if (baseLineOffset) *baseLineOffset = 0;
    const int16_t def = DefinitionId(c.procID);
    if (c.def != StandardControlDefinition(c.procID) || (def != 0 && def != 25 && def != 63 && def != 18)) return noErr;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(c.owner);
    std::u16string text;
    const unsigned char* t = c.title;
    std::string bytes = def == 18 ? c.staticText : std::string(reinterpret_cast<const char*>(t + 1), t[0]);
    for (char ch : bytes) text.push_back(MacRomanToUnicode(uint8_t(ch)));
    Point size{0, 0};
    int16_t baseline = 0;
    GetThemeTextDimensions(text, kThemeSystemFont, kThemeStateActive, false, &size, &baseline);
    SetPort(saved);
    int32_t height = 0, width = size.h;
    const int kind = Variation(c.procID) & 7;
    if (def == 0 && kind == 0) {
        GetThemeMetric(kThemeMetricPushButtonHeight, &height);
        width = std::max<int32_t>(width + 24, 69);
    } else if (def == 0) {
        GetThemeMetric(kThemeMetricCheckBoxHeight, &height);
        width += 22;
    } else if (def == 18) {
        height = size.v;
    } else {
        GetThemeMetric(kThemeMetricPopupButtonHeight, &height);
        width += 40;
    }
    best->right = int16_t(best->left + width);
    best->bottom = int16_t(best->top + height);
    if (baseLineOffset) *baseLineOffset = int16_t(-baseline + (height - size.v) / 2);
    return noErr;
}

}  // namespace platform
