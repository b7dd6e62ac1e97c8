#include "platform/theme/ThemePaint.h"

#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"

namespace platform::theme {
namespace {

void Fore(uint32_t rgb)
{
    const RGBColor c{uint16_t(((rgb >> 16) & 0xFF) * 0x101), uint16_t(((rgb >> 8) & 0xFF) * 0x101),
                     uint16_t((rgb & 0xFF) * 0x101)};
    RGBForeColor(&c);
}

}  // namespace

PaintScope::PaintScope()
{
    GetPenState(&pen_);
    GetForeColor(&fore_);
    GetBackColor(&back_);
    PenNormal();
}

PaintScope::~PaintScope()
{
    SetPenState(&pen_);
    RGBForeColor(&fore_);
    RGBBackColor(&back_);
}

void Fill(const Rect& r, uint32_t rgb)
{
    Fore(rgb);
    PaintRect(&r);
}

void Frame(const Rect& r, uint32_t rgb)
{
    Fore(rgb);
    FrameRect(&r);
}

void FillRound(const Rect& r, int16_t oval, uint32_t rgb)
{
    Fore(rgb);
    PaintRoundRect(&r, oval, oval);
}

void FrameRound(const Rect& r, int16_t oval, uint32_t rgb)
{
    Fore(rgb);
    FrameRoundRect(&r, oval, oval);
}

void FillCircle(const Rect& r, uint32_t rgb)
{
    Fore(rgb);
    PaintOval(&r);
}

void FrameCircle(const Rect& r, uint32_t rgb)
{
    Fore(rgb);
    FrameOval(&r);
}

void Line(int16_t h1, int16_t v1, int16_t h2, int16_t v2, uint32_t rgb)
{
    Fore(rgb);
    MoveTo(h1, v1);
    LineTo(h2, v2);
}

void Triangle(const Rect& r, Direction d, int16_t size, uint32_t rgb)
{
    const int16_t ch = int16_t((r.left + r.right) / 2), cv = int16_t((r.top + r.bottom) / 2);
    const int16_t rows = int16_t((size + 1) / 2);
    for (int16_t i = 0; i < rows; ++i) {
        const int16_t half = int16_t(rows - 1 - i);
        switch (d) {
        case Direction::Down: Line(int16_t(ch - half), int16_t(cv - rows / 2 + i), int16_t(ch + half), int16_t(cv - rows / 2 + i), rgb); break;
        case Direction::Up: Line(int16_t(ch - half), int16_t(cv + rows / 2 - i), int16_t(ch + half), int16_t(cv + rows / 2 - i), rgb); break;
        case Direction::Right: Line(int16_t(ch - rows / 2 + i), int16_t(cv - half), int16_t(ch - rows / 2 + i), int16_t(cv + half), rgb); break;
        case Direction::Left: Line(int16_t(ch + rows / 2 - i), int16_t(cv - half), int16_t(ch + rows / 2 - i), int16_t(cv + half), rgb); break;
        }
    }
}

}  // namespace platform::theme
