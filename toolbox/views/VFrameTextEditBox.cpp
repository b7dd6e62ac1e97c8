// The text drawing used throughout the user interface: a string drawn in
// a rectangle through two shared hidden text-edit frames, aligned, placed
// vertically and cut with "..." when asked.
#include <algorithm>
#include <cstring>

#include "platform/drawing/Ports.h"
#include "platform/drawing/Text.h"
#include "platform/fonts/Fonts.h"
#include "toolbox/foundation/VIntlMgr.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/foundation/VText.h"
#include "toolbox/views/VFrameTextEdit.h"

using namespace platform;

VFrameTextEdit* VFrameTextEdit::sFrameTextEditSingle = nullptr;
VFrameTextEdit* VFrameTextEdit::sFrameTextEditMultiline = nullptr;
VFrameTextEdit* VFrameTextEdit::sFrameTextEdit = nullptr;

namespace {

struct BoxProperties {
    int16_t font = 0;
    int32_t size = 12;
    int32_t colour = 0;
    bool bold = false, italic = false, underline = false, fourth = false;
    bool multiline = false;
};

// What the text is drawn in: the painter's settings, or the current
// port's without one; the box takes several lines when it is taller than
// one and a half lines of that font.
BoxProperties _GetProperties(VPainter* painter, int32_t height, bool oneLine)
{
    BoxProperties p;
    int32_t lineHeight = 0;
    if (!painter) {
        GrafPtr port = nullptr;
        GetPort(&port);
        p.font = GetPortTextFont(port);
        p.size = GetPortTextSize(port);
        const StyleField face = GetPortTextFace(port);
        p.bold = face & 1;
        p.italic = face & 2;
        p.underline = face & 4;
        p.fourth = face & 8;
        RGBColor fore{};
        GetForeColor(&fore);
        p.colour = int32_t((fore.red / 257) | ((fore.green / 257) << 8) | ((fore.blue / 257) << 16));
        FontInfo info{};
        GetFontInfo(&info);
        lineHeight = info.ascent + info.descent + info.leading;
    } else {
        VStr<80> name;
        painter->GetFont(name);
        Str255 pascal{};
        name.ToPString(pascal, 255, kCharSetMac);
        GetFNum(pascal, &p.font);
        p.size = int32_t(painter->GetFontSize());
        p.colour = int32_t(painter->GetTextColor() & 0x00FFFFFF);
        p.bold = painter->GetFontBold();
        p.italic = painter->GetFontItalic();
        p.underline = painter->GetFontUnderline();
        p.fourth = painter->GetFontOutline();
        lineHeight = painter->GetFontHeight();
    }
    p.multiline = !oneLine && 2 * int64_t(height) > 3 * int64_t(lineHeight);
    return p;
}

}  // namespace

void VFrameTextEdit::InitDrawTextBox()
{
    if (sFrameTextEdit) return;
    const VRect empty(0, 0, 0, 0);
    const VPoint point(1, 1);
    sFrameTextEditSingle = new VFrameTextEdit(nullptr, 0x44, &empty, &point);
    sFrameTextEditMultiline = new VFrameTextEdit(nullptr, 0x80045, &empty, &point);
    sFrameTextEdit = sFrameTextEditMultiline;
}

void VFrameTextEdit::DisposeDrawTextBox()
{
    delete sFrameTextEditSingle;
    delete sFrameTextEditMultiline;
    sFrameTextEditSingle = sFrameTextEditMultiline = sFrameTextEdit = nullptr;
}

void VFrameTextEdit::DrawTextBox(VPainter* painter, const VString& text, AlignStyle hAlign, AlignStyle vAlign,
                                 const VRect& rect, bool ellipsis, bool printing, bool oneLine, VIntlMgr* intl, bool)
{
    if (!sFrameTextEdit) return;
    const BoxProperties p = _GetProperties(painter, rect.GetHeight(), oneLine);
    VFrameTextEdit* frame = p.multiline ? sFrameTextEditMultiline : sFrameTextEditSingle;
    sFrameTextEdit = frame;
    const ENTE_justification justification = hAlign == 0 ? 1 : hAlign == 1 ? 3 : hAlign == 2 ? 2 : 0;

    frame->SetProperty(kEnteMultiline, p.multiline);
    frame->SetProperty(kEnteWordWrap, p.multiline);
    const VIntlMgr* mgr = intl ? intl : gDefaultIntl;
    const bool rightToLeft = mgr && mgr->IsRightToLeft() && mgr->IsBidi();
    frame->SetProperty(kEnteRightToLeft, rightToLeft);

    VText shown(text);
    frame->SetText(shown);
    frame->SetPos(rect.GetLeft(), rect.GetTop(), kRedrawNone);
    frame->SetSize(rect.GetWidth(), rect.GetHeight(), kRedrawNone);
    frame->SetTextColor(p.colour, kEnteAllText);
    frame->SetFont(p.font, kEnteAllText);
    frame->SetFontSize(p.size, kEnteAllText);
    frame->SetBold(p.bold, kEnteAllText);
    frame->SetItalic(p.italic, kEnteAllText);
    frame->SetUnderLine(p.underline, kEnteAllText);
    frame->SetStrikeOut(p.fourth, kEnteAllText);
    frame->SetJustification(justification, kEnteAllText);

    int32_t width = 0, height = 0;
    if (ellipsis) {
        frame->GetTextBoxSize(width, height, &shown);
        if (width > rect.GetWidth()) {
            _GetElipsedText(shown, rect.GetWidth(), p.font);
            frame->SetText(shown);
            frame->GetTextBoxSize(width, height, &shown);
        }
    } else {
        frame->GetTextBoxSize(width, height, &shown);
    }

    VRect box(rect);
    if (!oneLine) {
        if (vAlign == 2)
            box.SetPos(rect.GetLeft(), rect.GetTop() + (rect.GetHeight() - height));
        else if (vAlign == 1)
            box.SetPos(rect.GetLeft(), rect.GetTop() + (rect.GetHeight() - height) / 2 + 1);
    } else {
        box = VRect(rect.GetLeft(), rect.GetTop() + rect.GetHeight() / 2 - height / 2 - 1, rect.GetWidth(), height);
        frame->SetPos(box.GetLeft(), box.GetTop(), kRedrawNone);
        frame->SetSize(box.GetWidth(), box.GetHeight(), kRedrawNone);
    }
    frame->Draw(painter, box, printing, nullptr);
}

void VFrameTextEdit::_GetElipsedText(VString& text, int32_t width, int16_t font)
{
    VFrameTextEdit* frame = sFrameTextEdit;
    if (!frame) return;
    if (font == kPasswordFontID) frame->SetFont(font, kEnteAllText);
    VText dots;
    dots.FromCString(reinterpret_cast<const uint8_t*>("..."), kCharSetMac);
    int32_t dotsWidth = 0, h = 0;
    frame->GetTextBoxSize(dotsWidth, h, &dots);
    const int32_t room = width - dotsWidth;

    const int32_t length = text.GetLength();
    std::u16string units(size_t(std::max(0, length)) * 2 + 1, u'\0');
    units.resize(size_t(std::max(0, text.ToUniBlock(units.data(), 0, int32_t(units.size())))));
    auto fits = [&](int32_t n) {
        VText prefix;
        prefix.FromUniBlock(units.data(), 0, n);
        int32_t w = 0, hh = 0;
        frame->GetTextBoxSize(w, hh, &prefix);
        return w <= room;
    };
    // The longest prefix that fits, in whole characters; none leaves "..."
    // alone, clipped by the box.
    int32_t lo = 0, hi = int32_t(units.size());
    while (lo < hi) {
        const int32_t probe = (lo + hi + 1) / 2;
        if (room >= 0 && fits(probe))
            lo = probe;
        else
            hi = probe - 1;
    }
    if (lo > 0 && lo < int32_t(units.size()) && units[size_t(lo)] >= 0xDC00 && units[size_t(lo)] <= 0xDFFF) --lo;
    units.resize(size_t(lo));
    units += u"...";
    text.FromUniBlock(units.data(), 0, int32_t(units.size()));
}
