#include "platform/menus/MenuText.h"

#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/fonts/Fonts.h"

namespace platform::menus {
namespace {

// Measuring needs a port even when none is current: a private one.
CGrafPtr MeasurePort()
{
    static CGrafPtr port = CreateNewPort();
    return port;
}

// The port's text settings and colour, put back when done.
class TextScope {
public:
    explicit TextScope(GrafPtr port) : port_(port)
    {
        GetPort(&saved_);
        SetPort(port_);
        font_ = port_->txFont;
        face_ = port_->txFace;
        size_ = port_->txSize;
        mode_ = port_->txMode;
        GetForeColor(&fore_);
        TextFont(systemFont);
        TextSize(kMenuFontSize);
        TextFace(0);
        TextMode(srcOr);
    }
    ~TextScope()
    {
        TextFont(font_);
        TextFace(face_);
        TextSize(size_);
        TextMode(mode_);
        RGBForeColor(&fore_);
        SetPort(saved_);
    }
    TextScope(const TextScope&) = delete;
    TextScope& operator=(const TextScope&) = delete;

private:
    GrafPtr port_;
    GrafPtr saved_ = nullptr;
    int16_t font_ = 0;
    StyleField face_ = 0;
    int16_t size_ = 0;
    int16_t mode_ = 0;
    RGBColor fore_{};
};

int16_t Length(const std::string& s) { return int16_t(s.size() > 255 ? 255 : s.size()); }

}  // namespace

MenuFontMetrics MenuMetrics()
{
    TextScope scope(MeasurePort());
    FontInfo info{};
    GetFontInfo(&info);
    return MenuFontMetrics{info.ascent, info.descent, info.leading};
}

int16_t MenuTextWidth(const std::string& macRoman, uint8_t style)
{
    TextScope scope(MeasurePort());
    TextFace(style);
    return TextWidth(macRoman.data(), 0, Length(macRoman));
}

void DrawMenuText(const std::string& macRoman, uint8_t style, int16_t h, int16_t v, uint32_t rgb)
{
    GrafPtr port = GetQDGlobalsThePort();
    if (!port) return;
    TextScope scope(port);
    TextFace(style);
    const RGBColor c{uint16_t(((rgb >> 16) & 0xFF) * 0x101), uint16_t(((rgb >> 8) & 0xFF) * 0x101),
                     uint16_t((rgb & 0xFF) * 0x101)};
    RGBForeColor(&c);
    PenState pen;
    GetPenState(&pen);
    MoveTo(h, v);
    DrawText(macRoman.data(), 0, Length(macRoman));
    SetPenState(&pen);
}

}  // namespace platform::menus
