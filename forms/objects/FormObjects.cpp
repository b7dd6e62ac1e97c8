// Construction, copies, destruction and the setters of the objects that
// are not editable.
#include "forms/objects/FormObjects.h"

#include <algorithm>
#include <cstring>

#include "forms/objects/FormModelHooks.h"
#include "forms/objects/ObjectIterators.h"
#include "forms/objects/ObjectWriting.h"
#include "forms/reader/FormReader.h"
#include "platform/core/Memory.h"
#include "platform/drawing/TextRuns.h"

int16_t formTableCount = 0;

namespace {

// An owned handle copied, or null.
platform::Handle Copied(platform::Handle h)
{
    if (!h) return nullptr;
    platform::Handle copy = h;
    return platform::HandToHand(&copy) == 0 ? copy : nullptr;
}

}  // namespace

// --- drawings ---------------------------------------------------------------

bool DrawingObject::GetFillPat(uint8_t pattern[8])
{
    std::memcpy(pattern, fillPattern, 8);
    return hasFillPattern != 0;
}

void DrawingObject::SetFillPat(const uint8_t pattern[8], bool use)
{
    std::memcpy(fillPattern, pattern, 8);
    hasFillPattern = use;
}

void DrawingObject::SetPenPat(const uint8_t pattern[8], bool use)
{
    std::memcpy(penPattern, pattern, 8);
    hasPenPattern = use;
}

void DrawingObject::SetPenWidth(int16_t width, int16_t height)
{
    penWidth = width;
    penHeight = height;
}

LayoutObject* RectObject::Duplicate() { return new RectObject(*this); }
LayoutObject* RoundRectObject::Duplicate() { return new RoundRectObject(*this); }
LayoutObject* OvalObject::Duplicate() { return new OvalObject(*this); }
LayoutObject* LineObject::Duplicate() { return new LineObject(*this); }

MatrixObject::MatrixObject() { rowCount = columnCount = 2; }
MatrixObject::MatrixObject(LayoutEditor* editor) : DrawingObject(editor) { rowCount = columnCount = 2; }
LayoutObject* MatrixObject::Duplicate() { return new MatrixObject(*this); }

// --- texts ------------------------------------------------------------------

TextObject::TextObject() { styleSheet = -1; }
TextObject::TextObject(LayoutEditor* editor) : LayoutObject(editor) { styleSheet = -1; }

TextObject::TextObject(const TextObject& other)
    : LayoutObject(other),
      hasFillPattern(other.hasFillPattern),
      fontID(other.fontID),
      fontSize(other.fontSize),
      justification(other.justification),
      face(other.face),
      styleSheet(other.styleSheet),
      styleSheetHeight(other.styleSheetHeight),
      text(Copied(other.text)),
      frameMark(other.frameMark)
{
    std::memcpy(fillPattern, other.fillPattern, 8);
}

TextObject::~TextObject()
{
    if (text) platform::DisposeHandle(text);
}

LayoutObject* TextObject::Duplicate() { return new TextObject(*this); }
LayoutObject* GroupBoxObj::Duplicate() { return new GroupBoxObj(*this); }

bool TextObject::GetFillPat(uint8_t pattern[8])
{
    std::memcpy(pattern, fillPattern, 8);
    return hasFillPattern != 0;
}

void TextObject::SetFillPat(const uint8_t pattern[8], bool use)
{
    std::memcpy(fillPattern, pattern, 8);
    hasFillPattern = use;
}

void TextObject::ScaleObj(int16_t percent, uint8_t flag)
{
    LayoutObject::ScaleObj(percent, flag);
    if (styleSheet == -1) fontSize = int16_t(std::clamp<int32_t>(int32_t(fontSize) * percent / 100, 1, 32767));
}

platform::FontInfo TextObject::FontMetrics() const
{
    return platform::StyleFontInfo(platform::MakeTextStyle(fontID, fontSize, platform::Style(face), 0));
}

int16_t TextObject::GetBaseLine()
{
    const platform::FontInfo info = FontMetrics();
    return int16_t(std::clamp<int32_t>(int32_t(bounds[0]) + info.ascent + info.leading, -32768, 32767));
}

void TextObject::GetFontHeight(int16_t* ascent, int16_t* height)
{
    const platform::FontInfo info = FontMetrics();
    *ascent = info.ascent;
    *height = int16_t(info.ascent + info.descent + info.leading);
    if (styleSheet == -1) return;
    const int16_t sheet = GetStyleSheetHeight(styleSheet);
    if (sheet >= 0) *height = styleSheetHeight = sheet;
}

void TextObject::SetText(char** h, int16_t flag)
{
    if (text && text != h) platform::DisposeHandle(text);
    text = flag ? Copied(h) : h;
}

void TextObject::SetText(const unsigned char* p)
{
    platform::Handle h = nullptr;
    if (platform::PtrToHand(p + 1, &h, p[0]) != 0) return;
    SetText(h, 0);
}

// --- pictures ---------------------------------------------------------------

ImageObject::ImageObject(const ImageObject& other)
    : LayoutObject(other),
      picture(Copied(other.picture)),
      imageOption1(other.imageOption1),
      imageOption2(other.imageOption2),
      imageOption3(other.imageOption3)
{
}

ImageObject::~ImageObject()
{
    if (picture) platform::DisposeHandle(picture);
}

LayoutObject* ImageObject::Duplicate() { return new ImageObject(*this); }
LayoutObject* LibraryImageObject::Duplicate() { return new LibraryImageObject(*this); }

void ImageObject::SetPict(platform::Handle p)
{
    if (picture && picture != p) platform::DisposeHandle(picture);
    picture = p;
}

void ImageObject::ScaleObj(int16_t percent, uint8_t flag) { LayoutObject::ScaleObj(percent, flag); }

void LibraryImageObject::SetPictName(const unsigned char* n)
{
    pictName[0] = std::min<uint8_t>(n[0], 31);
    std::memcpy(pictName + 1, n + 1, pictName[0]);
}

// --- groups -----------------------------------------------------------------

GroupObject::GroupObject(const GroupObject& other) : LayoutObject(other)
{
    for (LayoutObject* m = other.firstChild; m; m = m->next)
        if (LayoutObject* copy = m->Duplicate()) AddSubObject(copy);
    // Each copy took a name free in the form, but two copies may have taken
    // the same one: they are kept apart from each other too.
    if (editor)
        for (LayoutObjectIterator it(firstChild, false, true, false); it.Current(); it.SetNext())
            AcceptObjectName(it.Current()->name, it.Current(), editor, firstChild);
}

GroupObject::~GroupObject()
{
    for (LayoutObject* m = firstChild; m;) {
        LayoutObject* following = m->next;
        delete m;
        m = following;
    }
}

LayoutObject* GroupObject::Duplicate() { return new GroupObject(*this); }

void GroupObject::ScaleObj(int16_t percent, uint8_t flag)
{
    LayoutObject::ScaleObj(percent, flag);
    for (LayoutObject* m = firstChild; m; m = m->next) m->ScaleObj(percent, flag);
}

void GroupObject::SetFace(int16_t v)
{
    for (LayoutObject* m = firstChild; m; m = m->next) m->SetFace(v);
}
void GroupObject::SetFont(int16_t v)
{
    for (LayoutObject* m = firstChild; m; m = m->next) m->SetFont(v);
}
void GroupObject::SetSize(int16_t v)
{
    for (LayoutObject* m = firstChild; m; m = m->next) m->SetSize(v);
}
void GroupObject::SetJust(int16_t v)
{
    for (LayoutObject* m = firstChild; m; m = m->next) m->SetJust(v);
}
void GroupObject::SetStyleSheet(int16_t v)
{
    for (LayoutObject* m = firstChild; m; m = m->next) m->SetStyleSheet(v);
}
void GroupObject::SetFillPat(const uint8_t pattern[8], bool use)
{
    for (LayoutObject* m = firstChild; m; m = m->next) m->SetFillPat(pattern, use);
}
void GroupObject::SetPenPat(const uint8_t pattern[8], bool use)
{
    for (LayoutObject* m = firstChild; m; m = m->next) m->SetPenPat(pattern, use);
}
void GroupObject::SetPenWidth(int16_t width, int16_t height)
{
    for (LayoutObject* m = firstChild; m; m = m->next) m->SetPenWidth(width, height);
}
void GroupObject::SetColors(int32_t fore, int32_t back)
{
    LayoutObject::SetColors(fore, back);
    for (LayoutObject* m = firstChild; m; m = m->next) m->SetColors(fore, back);
}

// --- subforms ---------------------------------------------------------------

SubFormObject::SubFormObject(const SubFormObject& other)
    : LayoutObject(other),
      preview(Copied(other.preview)),
      subformFlags(other.subformFlags),
      subformTable(other.subformTable),
      autoSize(other.autoSize),
      subformValue1(other.subformValue1),
      subformValue2(other.subformValue2),
      subformOption(other.subformOption)
{
    std::memcpy(formName1, other.formName1, sizeof formName1);
    std::memcpy(formName2, other.formName2, sizeof formName2);
}

SubFormObject::~SubFormObject()
{
    if (preview) platform::DisposeHandle(preview);
}

LayoutObject* SubFormObject::Duplicate() { return new SubFormObject(*this); }

platform::Rect SubFormObject::GetFullBounds()
{
    platform::Rect r = LayoutObject::GetFullBounds();
    r.right = int16_t(std::min<int32_t>(r.right + 16, 32767));
    return r;
}

void SubFormObject::AutoResize()
{
    if (!autoSize) return;
    int16_t width = int16_t(bounds[3] - bounds[1]), height = int16_t(bounds[2] - bounds[0]);
    BestSize(&width, &height);
    bounds[3] = int16_t(bounds[1] + width);
    bounds[2] = int16_t(bounds[0] + height);
}

int16_t SubFormObject::SubformTableNumber()
{
    if (subformTable > 0) return ModelTableOfList(editor, subformTable);
    if (subformTable < 0 && -int32_t(subformTable) <= formTableCount) return int16_t(-subformTable);
    return 0;
}

void SubFormObject::BuildPicture()
{
    if (preview || subformTable == 0) return;
    // A table number the lists do not hold shows nothing.
    const int16_t table = SubformTableNumber();
    if (table == 0) return;
    const unsigned char* form = formName2[0] ? formName2 : formName1;
    preview = ModelSubformPicture(editor, table, form, LayoutObject::GetFullBounds());
}

void SubFormObject::Read_formatt_old(uint8_t o)
{
    uint8_t first = uint8_t((o & 0xE0) | 0x02);
    if (o & 0x08) {
        first |= 0x18;
        const bool values = (o & 0x10) != 0;
        subformValue1 = values ? 12 : 0;
        subformValue2 = values ? 14 : 0;
        subformOption = 0;
    } else if (o & 0x04) {
        subformValue1 = (o & 0x10) ? 30 : 0;
        subformValue2 = 0;
        subformOption = 1;
    } else {
        subformValue1 = subformValue2 = 0;
        subformOption = 0;
    }
    subformFlags = uint16_t(first << 8);
}
