#include "looks/VIObj.h"

#include <algorithm>
#include <cstring>

#include "looks/VIHandler.h"

namespace {

// The box of a check box or radio button in every look.
constexpr int16_t kCheckBoxHeight = 16;

}  // namespace

int16_t WidgetOfKind(int16_t kind)
{
    switch (kind) {
    case 0: return kVIEditField;
    case 2: case 28: return kVIPushButton;
    case 3: return kVICheckBox;
    case 4: return kVIRadioButton;
    case 5: case 24: case 26: return kVIPopUp;
    case 6: case 23: return kVIScrollArea;
    case 12: return kVIThermometer;
    case 13: return kVIRuler;
    case 14: return kVIDial;
    case 16: return kVITabControl;
    case 18: return kVIGroupFrame;
    case 19: return kVIRaisedFrame;
    case 20: return kVISunkenFrame;
    case 21: case 25: return kVIComboBox;
    case 29: return kVISplitter;
    default: return kVIStaticText;
    }
}

void VIObj::SetQzObjectType(int16_t k, bool derive)
{
    kind = k;
    if (derive) widget = WidgetOfKind(k);
}

void VIObj::VIDraw(int16_t state, VI_Handler* h)
{
    VI_Handler* use = h ? h : handler ? handler : gVI;
    if (use) use->Draw(this, state, 0);
}

platform::Rect VIObj::VIGetBackgroundBounds(VI_Handler*) const
{
    platform::Rect r = rect;
    if ((widget == kVICheckBox || widget == kVIRadioButton) && r.bottom - r.top > kCheckBoxHeight) {
        r.top = int16_t(r.top + (r.bottom - r.top - kCheckBoxHeight) / 2);
        r.bottom = int16_t(r.top + kCheckBoxHeight);
    }
    return r;
}

void VIObj::SetRect(const platform::Rect& r)
{
    rect = r;
    inner = r;
    width = int16_t(r.right - r.left);
    height = int16_t(r.bottom - r.top);
}

void VIObj::SetTitle(const unsigned char* text)
{
    if (!text) {
        title[0] = 0;
        return;
    }
    std::memcpy(title, text, size_t(text[0]) + 1);
}
