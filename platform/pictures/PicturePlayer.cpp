#include "platform/pictures/PicturePlayer.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include <cstddef>

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Recording.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/fonts/Fonts.h"
#include "platform/pictures/JpegCodec.h"
#include "platform/pictures/PictCursor.h"
#include "platform/pictures/PictLayout.h"
#include "platform/pictures/PictPixels.h"
#include "platform/pictures/PictureSurvey.h"
#include "platform/pictures/Pictures.h"
#include "platform/pictures/PixPats.h"
#include "platform/pictures/StoredRegions.h"

namespace platform {

namespace {

enum class Step : uint8_t { Next, End, Damaged, NoMemory };

// The port settings a picture may change, put back when it is done.
struct SavedPort {
    PenState pen{};
    Pattern bkPat{}, fillPat{};
    RGBColor fore{}, back{}, hilite{}, opColor{};
    int32_t fgColor = 0, bkColor = 0;
    int16_t txFont = 0, txMode = 0, txSize = 0;
    Style txFace = 0;
    Fixed spExtra = 0, chExtra = 0;
    const PixPatTile* pixPats[3] = {nullptr, nullptr, nullptr};

    void Take(GrafPtr p)
    {
        GetPenState(&pen);
        bkPat = p->bkPat;
        fillPat = p->fillPat;
        fore = p->rgbFgColor;
        back = p->rgbBkColor;
        hilite = p->rgbHiliteColor;
        opColor = p->rgbOpColor;
        fgColor = p->fgColor;
        bkColor = p->bkColor;
        txFont = p->txFont;
        txMode = p->txMode;
        txSize = p->txSize;
        txFace = p->txFace;
        spExtra = p->spExtra;
        chExtra = p->chExtra;
        pixPats[0] = p->pnPixPat;
        pixPats[1] = p->bkPixPat;
        pixPats[2] = p->fillPixPat;
    }
    void Give(GrafPtr p) const
    {
        SetPenState(&pen);
        p->bkPat = bkPat;
        p->fillPat = fillPat;
        p->rgbFgColor = fore;
        p->rgbBkColor = back;
        p->rgbHiliteColor = hilite;
        p->rgbOpColor = opColor;
        p->fgColor = fgColor;
        p->bkColor = bkColor;
        p->txFont = txFont;
        p->txMode = txMode;
        p->txSize = txSize;
        p->txFace = txFace;
        p->spExtra = spExtra;
        p->chExtra = chExtra;
        p->pnPixPat = pixPats[0];
        p->bkPixPat = pixPats[1];
        p->fillPixPat = pixPats[2];
    }
};

// Regions made for the walk and freed with it.
struct OwnedRgn {
    RgnHandle h = NewRgn();
    ~OwnedRgn() { DisposeRgn(h); }
    OwnedRgn() = default;
    OwnedRgn(const OwnedRgn&) = delete;
    OwnedRgn& operator=(const OwnedRgn&) = delete;
};

// A walk of the picture: one that draws, leaving out the opcodes a survey
// found painted over, or one that surveys and draws nothing.
class Player {
public:
    Player(const uint8_t* bytes, size_t size, const Rect& dst, GrafPtr port, PictureSurvey* survey,
           std::vector<bool> hidden = {})
        : in_(bytes, size), port_(port), dst_(dst), survey_(survey), hidden_(std::move(hidden))
    {
    }

    OSErr Run();

private:
    bool Draws(const Sighting& s);
    bool Bottleneck(uint16_t family) const;
    bool PaintsOver(GrafVerb verb) const;
    Sighting ShapeSighting(uint16_t family, GrafVerb verb, const Rect32& box, int32_t a = 0, int32_t b = 0,
                           uint32_t serial = 0) const;
    void Walk(Step* step);
    Step Dispatch(uint16_t op);
    Step Reserved(uint16_t op);
    Step Shape(uint16_t op);
    Step Poly(GrafVerb verb, bool same);
    Step Rgn(GrafVerb verb, bool same);
    Step Bits(uint16_t op);
    Step PixPat(uint16_t op);
    Step Comment(bool isLong);
    Step Text(uint16_t op);
    Step QuickTime(uint32_t length);
    Step Header();

    bool ReadRegion(RgnHandle into);
    void ReadPattern(Pattern* pat)
    {
        if (const uint8_t* p = in_.Take(8))
            std::memcpy(pat->pat, p, 8);
    }
    void PlaceRegion(RgnHandle rgn);
    Point MapP(Point p) const;
    Rect MapR(const Rect& r) const;
    int16_t ScaleH(int32_t v) const;
    int16_t ScaleV(int32_t v) const;
    void DrawShape(uint16_t kind, GrafVerb verb, const Rect& r);

    PictCursor in_;
    GrafPtr port_;
    Rect dst_;
    Rect frame_{};
    bool v2_ = false;
    bool sawHeader_ = false;
    int32_t originH_ = 0, originV_ = 0;
    OwnedRgn baseClip_, pictClip_, work_, lastRgn_;
    Point pen_{0, 0};
    Point ovSize_{0, 0};
    Rect lastRect_{0, 0, 0, 0};
    int16_t lastStart_ = 0, lastArc_ = 0;
    std::vector<Point> lastPoly_;
    Point textLoc_{0, 0};
    Point numer_{1, 1}, denom_{1, 1};
    int16_t pictFont_ = 0;
    std::vector<std::pair<int16_t, std::vector<uint8_t>>> fontNames_;
    PixPatTile tiles_[3];
    PictureSurvey* survey_;
    std::vector<bool> hidden_;
    size_t drawing_ = 0;  // opcodes that may change pixels, met so far
    uint32_t polygons_ = 0, regions_ = 0;
};

// Every opcode that may change pixels asks first, in the same order in the
// survey and in the drawing: a survey notes it and draws nothing; the
// drawing leaves out what the survey found painted over.
bool Player::Draws(const Sighting& s)
{
    if (survey_) {
        survey_->Note(s);
        return false;
    }
    const size_t at = drawing_++;
    return at >= hidden_.size() || !hidden_[at];
}

// Whether the port has a drawing procedure for the shapes of the opcode
// family (opBitsRect: bit copies): it gets every one of them.
bool Player::Bottleneck(uint16_t family) const
{
    const QDProcs* p = port_->grafProcs;
    if (!p)
        return false;
    switch (family) {
    case opRect: return p->rectProc != nullptr;
    case opRRect: return p->rRectProc != nullptr;
    case opOval: return p->ovalProc != nullptr;
    case opArc: return p->arcProc != nullptr;
    case opPoly: return p->polyProc != nullptr;
    case opRgn: return p->rgnProc != nullptr;
    default: return p->bitsProc != nullptr;
    }
}

// Whether the verb puts the port's own colours in every pixel of the shape
// whatever they held: paint in a copy mode, erase and fill, with the pen
// shown and a pixel pattern that paints.
bool Player::PaintsOver(GrafVerb verb) const
{
    auto paints = [](const PixPatTile* t) { return !t || t->Paints(); };
    if (port_->pnVis < 0)
        return false;
    switch (verb) {
    case kPaint: return paints(port_->pnPixPat) && KindOf(port_->pnMode) == OpKind::Copy;
    case kErase: return paints(port_->bkPixPat);
    case kFill: return paints(port_->fillPixPat);
    default: return false;
    }
}

// A shape drawn with a verb changes only pixels of its bounds, but for an
// inversion (which also spends the highlight switch) and a polygon's frame
// (its pen hangs outside); one that goes to a drawing procedure may do
// anything.
Sighting Player::ShapeSighting(uint16_t family, GrafVerb verb, const Rect32& box, int32_t a, int32_t b,
                               uint32_t serial) const
{
    Sighting s;
    if (verb == kInvert || (family == opPoly && verb == kFrame) || Bottleneck(family))
        return s;
    s.reach = box;
    s.family = family == opRect ? uint16_t(0) : family;
    s.a = a, s.b = b, s.serial = serial;
    s.paintsOver = PaintsOver(verb);
    return s;
}

Point Player::MapP(Point p) const
{
    int64_t h = int64_t(p.h) - originH_, v = int64_t(p.v) - originV_;
    int64_t fw = int64_t(frame_.right) - frame_.left, fh = int64_t(frame_.bottom) - frame_.top;
    int64_t dw = int64_t(dst_.right) - dst_.left, dh = int64_t(dst_.bottom) - dst_.top;
    if (fw == dw && fh == dh) {
        h += dst_.left - frame_.left;
        v += dst_.top - frame_.top;
    } else {
        h = (h - frame_.left) * dw / fw + dst_.left;
        v = (v - frame_.top) * dh / fh + dst_.top;
    }
    return {ClampTo16(int32_t(std::clamp<int64_t>(v, -32768, 32767))),
            ClampTo16(int32_t(std::clamp<int64_t>(h, -32768, 32767)))};
}

Rect Player::MapR(const Rect& r) const
{
    Point tl = MapP({r.top, r.left}), br = MapP({r.bottom, r.right});
    return {tl.v, tl.h, br.v, br.h};
}

int16_t Player::ScaleH(int32_t v) const
{
    int64_t fw = int64_t(frame_.right) - frame_.left, dw = int64_t(dst_.right) - dst_.left;
    int64_t s = int64_t(v) * dw / fw;
    return ClampTo16(int32_t(v > 0 && s < 1 ? 1 : std::clamp<int64_t>(s, -32768, 32767)));
}

int16_t Player::ScaleV(int32_t v) const
{
    int64_t fh = int64_t(frame_.bottom) - frame_.top, dh = int64_t(dst_.bottom) - dst_.top;
    int64_t s = int64_t(v) * dh / fh;
    return ClampTo16(int32_t(v > 0 && s < 1 ? 1 : std::clamp<int64_t>(s, -32768, 32767)));
}

bool Player::ReadRegion(RgnHandle into)
{
    if (!in_.Need(2))
        return false;
    uint16_t size = ReadBE16(in_.here());
    const uint8_t* p = in_.Take(size);
    return p && ReadStoredRegion(p, size, into);
}

// From picture coordinates to the port's, where the walk draws.
void Player::PlaceRegion(RgnHandle rgn)
{
    OffsetRgn32(rgn, -originH_, -originV_);
    int32_t fw = frame_.right - frame_.left, fh = frame_.bottom - frame_.top;
    if (fw == dst_.right - dst_.left && fh == dst_.bottom - dst_.top)
        OffsetRgn32(rgn, dst_.left - frame_.left, dst_.top - frame_.top);
    else if (RanShort([&] { MapRgn(rgn, &frame_, &dst_); }))
        throw std::bad_alloc();  // unmapped, it would be drawn out of place
}

OSErr Player::Run()
{
    if (!baseClip_.h || !pictClip_.h || !work_.h || !lastRgn_.h)
        return memFullErr;
    if (!in_.Need(12))
        return codecBadDataErr;
    in_.Skip(2);
    frame_ = in_.R();
    if (frame_.right <= frame_.left || frame_.bottom <= frame_.top)
        return codecBadDataErr;
    const uint8_t* version = in_.here();
    if (version[0] == 0x11 && version[1] == 0x01) {
        in_.Skip(2);
    } else if (in_.Need(4) && ReadBE16(version) == opVersion && ReadBE16(version + 2) == kVersion2) {
        v2_ = true;
        in_.Skip(4);
    } else {
        return codecBadDataErr;
    }
    if (dst_.right <= dst_.left || dst_.bottom <= dst_.top)
        return noErr;

    // Nothing lands outside the destination or the port's own clip.
    GetClip(baseClip_.h);
    RectRgn(work_.h, &dst_);
    SectRgn(baseClip_.h, work_.h, baseClip_.h);
    RgnHandle savedClip = NewRgn();
    if (!savedClip)
        return memFullErr;
    GetClip(savedClip);
    SavedPort saved;
    saved.Take(port_);
    PenNormal();
    MoveTo(0, 0);
    GetQDGlobalsWhite(&port_->bkPat);
    GetQDGlobalsBlack(&port_->fillPat);
    ForeColor(blackColor);
    BackColor(whiteColor);
    port_->txFont = 0;
    port_->txFace = normal;
    port_->txMode = srcOr;
    port_->txSize = 0;
    port_->spExtra = 0;
    port_->chExtra = 0;
    port_->pnPixPat = port_->bkPixPat = port_->fillPixPat = nullptr;
    RGBColor standardHilite{0xB5B5, 0xD5D5, 0xFFFF};
    HiliteColor(&standardHilite);
    RGBColor halfWeight{0x8000, 0x8000, 0x8000};
    OpColor(&halfWeight);
    SetClip(baseClip_.h);

    Step step = Step::Next;
    try {
        if (survey_)
            survey_->Clip(baseClip_.h);
        Walk(&step);
    } catch (const std::bad_alloc&) {
        step = Step::NoMemory;  // the port's settings still come back below
    }
    SetClip(savedClip);
    DisposeRgn(savedClip);
    saved.Give(port_);
    switch (step) {
    case Step::Damaged: return codecBadDataErr;
    case Step::NoMemory: return memFullErr;
    default: return noErr;
    }
}

void Player::Walk(Step* result)
{
    Step& step = *result;
    while (step == Step::Next) {
        uint16_t op = 0;
        if (v2_) {
            in_.AlignWord();
            op = in_.U16();
        } else {
            op = in_.U8();
        }
        if (!in_.ok()) {
            step = Step::Damaged;  // cut short before its end
            break;
        }
        step = Dispatch(op);
        if (step == Step::Next && !in_.ok())
            step = Step::Damaged;
    }
}

Step Player::Dispatch(uint16_t op)
{
    GrafPtr p = port_;
    if (!v2_) {
        // Version 1 knows only the byte opcodes of the original set.
        bool known = op <= 0x11 || (op >= 0x20 && op <= 0x23) || (op >= 0x28 && op <= 0x2B) ||
                     (op >= 0x30 && op <= 0x8F && (op & 7) <= 4) || op == 0x90 || op == 0x91 || op == 0x98 ||
                     op == 0x99 || op == 0xA0 || op == 0xA1 || op == 0xFF;
        if (!known)
            return Step::Damaged;
    }
    switch (op) {
    case opNop: return Step::Next;
    case opClip:
        if (!ReadRegion(pictClip_.h))
            return Step::Damaged;
        PlaceRegion(pictClip_.h);
        SectRgn(pictClip_.h, baseClip_.h, work_.h);
        SetClip(work_.h);
        if (survey_)
            survey_->Clip(work_.h);
        return Step::Next;
    case opBkPat:
        ReadPattern(&p->bkPat);
        p->bkPixPat = nullptr;
        return Step::Next;
    case opTxFont:
        pictFont_ = in_.S16();
        p->txFont = pictFont_;
        return Step::Next;
    case opTxFace: p->txFace = in_.U8(); return Step::Next;
    case opTxMode: p->txMode = in_.S16(); return Step::Next;
    case opSpExtra: p->spExtra = Fixed(in_.U32()); return Step::Next;
    case opPnSize: {
        Point s = in_.P();
        PenSize(ScaleH(s.h), ScaleV(s.v));
        return Step::Next;
    }
    case opPnMode: PenMode(in_.S16()); return Step::Next;
    case opPnPat:
        ReadPattern(&p->pnPat);
        p->pnPixPat = nullptr;
        return Step::Next;
    case opFillPat:
        ReadPattern(&p->fillPat);
        p->fillPixPat = nullptr;
        return Step::Next;
    case opOvSize: ovSize_ = in_.P(); return Step::Next;
    case opOrigin:
        originH_ += in_.S16();
        originV_ += in_.S16();
        return Step::Next;
    case opTxSize: p->txSize = in_.S16(); return Step::Next;
    case opFgColor: ForeColor(int32_t(in_.U32())); return Step::Next;
    case opBkColor: BackColor(int32_t(in_.U32())); return Step::Next;
    case opTxRatio:
        numer_ = in_.P();
        denom_ = in_.P();
        return Step::Next;
    case opVersion:
        v2_ ? in_.Skip(2) : in_.Skip(1);
        return Step::Next;
    case opBkPixPat:
    case opPnPixPat:
    case opFillPixPat: return PixPat(op);
    case opPnLocHFrac:
        // The pen's fraction of a pixel, for text drawn with fractional
        // widths: the pen here stands on whole pixels, so nothing changes.
        in_.Skip(2);
        return Step::Next;
    case opChExtra:
        // Extra width of every character, a 4.12 fixed-point number.
        p->chExtra = Fixed(int32_t(in_.S16()) * 16);
        return Step::Next;
    case opRGBFgCol:
    case opRGBBkCol:
    case opHiliteColor:
    case opOpColor: {
        RGBColor c;
        c.red = in_.U16();
        c.green = in_.U16();
        c.blue = in_.U16();
        if (op == opRGBFgCol)
            RGBForeColor(&c);
        else if (op == opRGBBkCol)
            RGBBackColor(&c);
        else if (op == opHiliteColor)
            HiliteColor(&c);
        else
            OpColor(&c);
        return Step::Next;
    }
    case opHiliteMode:
        if (!survey_)
            LMSetHiliteMode(uint8_t(LMGetHiliteMode() & 0x7F));
        return Step::Next;
    case opDefHilite: {
        RGBColor standard{0xB5B5, 0xD5D5, 0xFFFF};
        HiliteColor(&standard);
        return Step::Next;
    }
    case opLine:
    case opLineFrom:
    case opShortLine:
    case opShortLineFrom: {
        Point from = pen_, to{};
        if (op == opLine || op == opShortLine)
            from = in_.P();
        if (op == opLine || op == opLineFrom) {
            to = in_.P();
        } else {
            int8_t dh = int8_t(in_.U8()), dv = int8_t(in_.U8());
            to = {ClampTo16(from.v + dv), ClampTo16(from.h + dh)};
        }
        if (!in_.ok())
            return Step::Damaged;
        Point a = MapP(from), b = MapP(to);
        if (Draws({})) {
            MoveTo(a.h, a.v);
            LineTo(b.h, b.v);
        }
        pen_ = to;
        return Step::Next;
    }
    case opLongText:
    case opDHText:
    case opDVText:
    case opDHDVText:
    case opFontName: return Text(op);
    case opBitsRect:
    case opBitsRgn:
    case opPackBitsRect:
    case opPackBitsRgn:
    case opDirectBitsRect:
    case opDirectBitsRgn: return Bits(op);
    case opShortComment: return Comment(false);
    case opLongComment: return Comment(true);
    case opEndPic: return Step::End;
    case opHeader: return Header();
    case opCompressedQuickTime: return QuickTime(in_.U32());
    default: break;
    }
    if (op >= 0x0030 && op <= 0x008F) {
        if ((op & 7) > 4)
            return Reserved(op);
        if (op >= opPoly && op < opRgn)
            return Poly(GrafVerb(op & 7), (op & 8) != 0);
        if (op >= opRgn)
            return Rgn(GrafVerb(op & 7), (op & 8) != 0);
        return Shape(op);
    }
    return Reserved(op);
}

// Opcodes kept for later use, and those that change nothing drawn here:
// skipped by their published data lengths. The line justification and
// glyph state (0x002D, 0x002E) start with the length of what follows, as
// the reserved ones do; the table's 10 and 8 bytes are that word and the
// 8 and 6 bytes it then counts.
Step Player::Reserved(uint16_t op)
{
    size_t skip = 0;
    if (op >= 0x0017 && op <= 0x0019) {
        skip = 0;
    } else if ((op >= 0x0024 && op <= 0x0027) || (op >= 0x002D && op <= 0x002F) || (op >= 0x0092 && op <= 0x0097) ||
               (op >= 0x009C && op <= 0x009F) || (op >= 0x00A2 && op <= 0x00AF)) {
        skip = in_.U16();
    } else if (op >= 0x0030 && op <= 0x008F) {
        // Shape slots 5 to 7: the data of their family.
        uint16_t base = op & 0xF8;
        if (op & 8)
            skip = (base == 0x0068) ? 4 : 0;
        else if (base == 0x0060)
            skip = 12;
        else if (base == 0x0070 || base == 0x0080)
            skip = in_.Need(2) ? size_t(ReadBE16(in_.here())) : 0;
        else
            skip = 8;
        if ((base == 0x0070 || base == 0x0080) && !(op & 8) && skip < 2)
            return Step::Damaged;
    } else if (op >= 0x00B0 && op <= 0x00CF) {
        skip = 0;
    } else if ((op >= 0x00D0 && op <= 0x00FE) || op >= 0x8100) {
        skip = in_.U32();
    } else if (op == 0x02FF) {
        skip = 2;
    } else if (op >= 0x0100 && op <= 0x7FFF) {
        skip = size_t(op >> 8) * 2;
    } else if (op >= 0x8000 && op <= 0x80FF) {
        skip = 0;
    } else {
        return Step::Damaged;
    }
    return in_.Skip(skip) ? Step::Next : Step::Damaged;
}

Step Player::Header()
{
    const uint8_t* h = in_.Take(24);
    if (!h)
        return Step::Damaged;
    if (!sawHeader_ && ReadBE16(h) == 0xFFFE) {
        // Coordinates of a picture with its resolution are those of its
        // source rectangle; the frame gives the size at 72 dpi.
        Rect src{int16_t(ReadBE16(h + 12)), int16_t(ReadBE16(h + 14)), int16_t(ReadBE16(h + 16)),
                 int16_t(ReadBE16(h + 18))};
        if (src.right > src.left && src.bottom > src.top)
            frame_ = src;
    }
    sawHeader_ = true;
    return Step::Next;
}

void Player::DrawShape(uint16_t kind, GrafVerb verb, const Rect& r)
{
    Rect m = MapR(r);
    int32_t a = 0, b = 0;
    if (kind == opRRect)
        a = ScaleH(ovSize_.h), b = ScaleV(ovSize_.v);
    else if (kind == opArc)
        a = lastStart_, b = lastArc_;
    if (!Draws(ShapeSighting(kind, verb, ToRect32(m), a, b)))
        return;
    Pattern fill = port_->fillPat;
    switch (kind) {
    case opRect:
        switch (verb) {
        case kFrame: FrameRect(&m); break;
        case kPaint: PaintRect(&m); break;
        case kErase: EraseRect(&m); break;
        case kInvert: InvertRect(&m); break;
        case kFill: FillRect(&m, &fill); break;
        }
        break;
    case opOval:
        switch (verb) {
        case kFrame: FrameOval(&m); break;
        case kPaint: PaintOval(&m); break;
        case kErase: EraseOval(&m); break;
        case kInvert: InvertOval(&m); break;
        case kFill: FillOval(&m, &fill); break;
        }
        break;
    case opRRect: {
        int16_t w = ScaleH(ovSize_.h), h = ScaleV(ovSize_.v);
        switch (verb) {
        case kFrame: FrameRoundRect(&m, w, h); break;
        case kPaint: PaintRoundRect(&m, w, h); break;
        case kErase: EraseRoundRect(&m, w, h); break;
        case kInvert: InvertRoundRect(&m, w, h); break;
        case kFill: FillRoundRect(&m, w, h, &fill); break;
        }
        break;
    }
    case opArc:
        switch (verb) {
        case kFrame: FrameArc(&m, lastStart_, lastArc_); break;
        case kPaint: PaintArc(&m, lastStart_, lastArc_); break;
        case kErase: EraseArc(&m, lastStart_, lastArc_); break;
        case kInvert: InvertArc(&m, lastStart_, lastArc_); break;
        case kFill: FillArc(&m, lastStart_, lastArc_, &fill); break;
        }
        break;
    }
}

Step Player::Shape(uint16_t op)
{
    const uint16_t kind = op & 0xF0;
    const bool same = (op & 8) != 0;
    if (!same)
        lastRect_ = in_.R();
    if (kind == opArc) {
        lastStart_ = in_.S16();
        lastArc_ = in_.S16();
    }
    if (!in_.ok())
        return Step::Damaged;
    DrawShape(kind, GrafVerb(op & 7), lastRect_);
    return Step::Next;
}

Step Player::Poly(GrafVerb verb, bool same)
{
    if (!same) {
        uint16_t size = in_.U16();
        if (!in_.ok() || size < 10 || (size - 10) % 4 != 0 || !in_.Need(size_t(size) - 2))
            return Step::Damaged;
        in_.Skip(8);  // the bounds follow from the points
        size_t n = (size - 10) / 4;
        lastPoly_.resize(n);
        for (size_t i = 0; i < n; ++i)
            lastPoly_[i] = in_.P();
        ++polygons_;
    }
    if (lastPoly_.empty())
        return Step::Next;
    // The polygon is built directly: drawing its lines would reach a
    // picture being recorded on the port.
    const size_t n = lastPoly_.size();
    auto poly = reinterpret_cast<PolyHandle>(NewHandle(Size(offsetof(Polygon, polyPoints) + n * sizeof(Point))));
    if (!poly)
        return Step::NoMemory;
    Point* pts = PolyPoints(poly);
    (*poly)->polySize = int16_t(10 + 4 * n);
    Rect box{32767, 32767, -32768, -32768};
    for (size_t i = 0; i < n; ++i) {
        pts[i] = MapP(lastPoly_[i]);
        box = {std::min(box.top, pts[i].v), std::min(box.left, pts[i].h), std::max(box.bottom, pts[i].v),
               std::max(box.right, pts[i].h)};
    }
    (*poly)->polyBBox = box;
    // A filled polygon's pixels lie within the box of its points.
    if (!Draws(ShapeSighting(opPoly, verb, ToRect32(box), originH_, originV_, polygons_))) {
        DisposeHandle(reinterpret_cast<Handle>(poly));
        return Step::Next;
    }
    switch (verb) {
    case kFrame: FramePoly(poly); break;
    case kPaint: PaintPoly(poly); break;
    case kErase: ErasePoly(poly); break;
    case kInvert: InvertPoly(poly); break;
    case kFill: {
        Pattern fill = port_->fillPat;
        FillPoly(poly, &fill);
        break;
    }
    }
    DisposeHandle(reinterpret_cast<Handle>(poly));
    return Step::Next;
}

Step Player::Rgn(GrafVerb verb, bool same)
{
    if (!same) {
        if (!ReadRegion(lastRgn_.h))
            return Step::Damaged;
        ++regions_;
    }
    OwnedRgn placed;
    if (!placed.h)
        return Step::NoMemory;
    CopyRgn(lastRgn_.h, placed.h);
    PlaceRegion(placed.h);
    if (!Draws(ShapeSighting(opRgn, verb, GetRegionBounds32(placed.h), originH_, originV_, regions_)))
        return Step::Next;
    switch (verb) {
    case kFrame: FrameRgn(placed.h); break;
    case kPaint: PaintRgn(placed.h); break;
    case kErase: EraseRgn(placed.h); break;
    case kInvert: InvertRgn(placed.h); break;
    case kFill: {
        Pattern fill = port_->fillPat;
        FillRgn(placed.h, &fill);
        break;
    }
    }
    return Step::Next;
}

Step Player::Bits(uint16_t op)
{
    const bool direct = op == opDirectBitsRect || op == opDirectBitsRgn;
    const bool withRgn = (op & 1) != 0;
    const bool packed = op != opBitsRect && op != opBitsRgn;
    PictPixMapHeader h;
    if (!ReadPictPixMapHeader(in_, direct, v2_, &h))
        return Step::Damaged;
    if (direct != (h.isPixMap && h.pixelSize >= 16))
        return Step::Damaged;
    if (h.isPixMap && !direct && !ReadPictColorTable(in_, &h))
        return Step::Damaged;
    Rect src = in_.R(), dst = in_.R();
    int16_t mode = in_.S16();
    OwnedRgn mask;
    if (!mask.h)
        return Step::NoMemory;
    if (withRgn) {
        if (!ReadRegion(mask.h))
            return Step::Damaged;
        PlaceRegion(mask.h);
    }
    if (!in_.ok())
        return Step::Damaged;
    // A survey needs the place of the pixels, not the pixels; the drawing
    // may find the runs of packed rows damaged and end there.
    PictPixels pixels;
    bool mayEnd = false;
    switch (survey_ ? SkipPictPixels(in_, h, packed, &mayEnd) : pixels.Read(in_, h, packed)) {
    case PixelReadResult::Damaged: return Step::Damaged;
    case PixelReadResult::NoMemory: return Step::NoMemory;
    case PixelReadResult::Ok: break;
    }
    Rect to = MapR(dst);
    Sighting within;
    within.mayEnd = mayEnd;
    if (!Bottleneck(opBitsRect))
        within.reach = ToRect32(to);
    if (Draws(within))
        CopyBits(pixels.bits(), GetPortBitMapForCopyBits(port_), &src, &to, mode, withRgn ? mask.h : nullptr);
    return Step::Next;
}

Step Player::PixPat(uint16_t op)
{
    const int which = op - opBkPixPat;  // background, pen, fill
    uint16_t type = in_.U16();
    Pattern old{};
    if (const uint8_t* p = in_.Take(8))
        std::memcpy(old.pat, p, 8);
    PixPatTile& tile = tiles_[which];
    const PixPatTile* use = nullptr;
    if (type == 1) {
        PictPixMapHeader h;
        if (!ReadPictPixMapHeader(in_, false, true, &h) || (h.pixelSize <= 8 && !ReadPictColorTable(in_, &h)))
            return Step::Damaged;
        PictPixels pixels;
        switch (pixels.Read(in_, h, true)) {
        case PixelReadResult::Damaged: return Step::Damaged;
        case PixelReadResult::NoMemory: return Step::NoMemory;
        case PixelReadResult::Ok: break;
        }
        Surface s = MakeSurface(pixels.bits());
        tile.width = pixels.width();
        tile.height = pixels.height();
        tile.pixels.resize(size_t(tile.width) * size_t(tile.height));
        for (int32_t y = 0; y < tile.height; ++y)
            for (int32_t x = 0; x < tile.width; ++x)
                tile.pixels[size_t(y) * size_t(tile.width) + size_t(x)] =
                    s.ReadRGB(s.bounds.left + x, s.bounds.top + y);
        use = &tile;
    } else if (type == 2) {
        // A colour to dither: here simply that colour.
        RGBColor c;
        c.red = in_.U16();
        c.green = in_.U16();
        c.blue = in_.U16();
        tile.width = tile.height = 1;
        tile.pixels.assign(1, PackRGB(c));
        use = &tile;
    } else if (type != 0) {
        return Step::Damaged;
    }
    if (!in_.ok())
        return Step::Damaged;
    switch (op) {
    case opBkPixPat:
        port_->bkPat = old;
        port_->bkPixPat = use;
        break;
    case opPnPixPat:
        port_->pnPat = old;
        port_->pnPixPat = use;
        break;
    default:
        port_->fillPat = old;
        port_->fillPixPat = use;
        break;
    }
    return Step::Next;
}

Step Player::Comment(bool isLong)
{
    int16_t kind = in_.S16();
    if (!isLong) {
        if (!in_.ok())
            return Step::Damaged;
        if (!survey_)
            PicComment(kind, 0, nullptr);
        return Step::Next;
    }
    uint16_t size = in_.U16();
    const uint8_t* data = in_.Take(size);
    if (!data)
        return Step::Damaged;
    if (survey_)
        return Step::Next;
    Handle h = nullptr;
    if (PtrToHand(data, &h, Size(size)) != noErr)
        return Step::NoMemory;
    PicComment(kind, int16_t(size), h);
    DisposeHandle(h);
    return Step::Next;
}

Step Player::Text(uint16_t op)
{
    if (op == opFontName) {
        uint16_t length = in_.U16();
        const uint8_t* data = in_.Take(length);
        if (!data || length < 3 || data[2] > length - 3)
            return Step::Damaged;
        int16_t id = int16_t(ReadBE16(data));
        std::vector<uint8_t> name(data + 2, data + 3 + data[2]);
        auto known = std::find_if(fontNames_.begin(), fontNames_.end(), [&](const auto& e) { return e.first == id; });
        if (known != fontNames_.end())
            known->second = std::move(name);
        else
            fontNames_.emplace_back(id, std::move(name));
        return Step::Next;
    }
    Point at = textLoc_;
    if (op == opLongText) {
        at = in_.P();
    } else {
        if (op != opDVText)
            at.h = ClampTo16(at.h + in_.U8());
        if (op != opDHText)
            at.v = ClampTo16(at.v + in_.U8());
    }
    uint8_t count = in_.U8();
    const uint8_t* text = in_.Take(count);
    if (!in_.ok())
        return Step::Damaged;
    textLoc_ = at;
    if (!count)
        return Step::Next;
    // The font by the name the picture gave its number, when it gave one.
    int16_t font = pictFont_;
    auto named = std::find_if(fontNames_.begin(), fontNames_.end(), [&](const auto& e) { return e.first == font; });
    if (named != fontNames_.end())
        GetFNum(named->second.data(), &font);
    port_->txFont = font;
    Point numer = numer_, denom = denom_;
    int32_t fw = frame_.right - frame_.left, fh = frame_.bottom - frame_.top;
    int32_t dw = dst_.right - dst_.left, dh = dst_.bottom - dst_.top;
    if (fw != dw || fh != dh) {
        // Scaled text: numer / denom carry the scale, kept within 16 bits.
        while (dw > 32767 || fw > 32767 || dh > 32767 || fh > 32767) {
            dw = std::max(dw / 2, 1), fw = std::max(fw / 2, 1), dh = std::max(dh / 2, 1), fh = std::max(fh / 2, 1);
        }
        numer = {int16_t(dh), int16_t(dw)};
        denom = {int16_t(fh), int16_t(fw)};
    }
    if (!Draws({}))
        return Step::Next;
    Point m = MapP(at);
    MoveTo(m.h, m.v);
    if (port_->grafProcs && port_->grafProcs->textProc)
        port_->grafProcs->textProc(count, text, numer, denom);
    else
        StdText(count, text, numer, denom);
    return Step::Next;
}

// Compressed images (the QuickTime form): JPEG is decoded; other codecs
// show as a grey box where the image would be.
Step Player::QuickTime(uint32_t length)
{
    const uint8_t* data = in_.Take(length);
    if (!data || length < 68)
        return Step::Damaged;
    PictCursor q(data, length);
    q.Skip(2);  // version
    int32_t matrix[9];
    for (int32_t& m : matrix)
        m = int32_t(q.U32());
    uint32_t matteSize = q.U32();
    q.Skip(8);  // matte rectangle
    int16_t mode = q.S16();
    Rect src = q.R();
    q.Skip(4);  // accuracy
    uint32_t maskSize = q.U32();
    if (!q.Skip(matteSize))
        return Step::Damaged;
    OwnedRgn mask;
    if (!mask.h)
        return Step::NoMemory;
    if (maskSize) {
        const uint8_t* m = q.Take(maskSize);
        if (!m || maskSize < 10 || ReadBE16(m) > maskSize || !ReadStoredRegion(m, ReadBE16(m), mask.h))
            return Step::Damaged;
        PlaceRegion(mask.h);
    }
    // Image description: size, codec, ..., width at 32, height at 34,
    // data size at 44.
    const uint8_t* desc = q.here();
    if (!q.Need(86))
        return Step::Damaged;
    uint32_t descSize = ReadBE32(desc), codec = ReadBE32(desc + 4);
    uint32_t dataSize = ReadBE32(desc + 44);
    if (descSize < 86 || !q.Skip(descSize))
        return Step::Damaged;
    const uint8_t* image = q.here();
    if (dataSize == 0 || dataSize > q.left())
        dataSize = uint32_t(q.left());
    // Where the source rectangle lands: the matrix's scale and move
    // (16.16 fixed point), in picture coordinates.
    auto fx = [](int64_t v, int32_t m) { return int64_t(v) * m / 65536; };
    Rect placed{ClampTo16(int32_t(fx(src.top, matrix[4]) + matrix[7] / 65536)),
                ClampTo16(int32_t(fx(src.left, matrix[0]) + matrix[6] / 65536)),
                ClampTo16(int32_t(fx(src.bottom, matrix[4]) + matrix[7] / 65536)),
                ClampTo16(int32_t(fx(src.right, matrix[0]) + matrix[6] / 65536))};
    Rect to = MapR(placed);
    // A survey does not decode the image: the drawing may find it damaged
    // and end there.
    Sighting within;
    if (!Bottleneck(opRect) && !Bottleneck(opBitsRect))
        within.reach = ToRect32(to);
    within.mayEnd = codec == FourCC("jpeg");
    const bool shows = Draws(within);
    if (survey_)
        return Step::Next;
    if (codec != FourCC("jpeg")) {
        if (!shows)
            return Step::Next;
        RGBColor grey{0x8080, 0x8080, 0x8080}, fore = port_->rgbFgColor;
        RGBForeColor(&grey);
        PaintRect(&to);
        RGBForeColor(&fore);
        return Step::Next;
    }
    PictPixels pixels;
    switch (DecodeJpeg(image, dataSize, &pixels)) {
    case ImageReadResult::Ok: break;
    case ImageReadResult::NoMemory: return Step::NoMemory;
    default: return Step::Damaged;
    }
    if (shows)
        CopyBits(pixels.bits(), GetPortBitMapForCopyBits(port_), &src, &to, mode & 0x3F,
                 maskSize ? mask.h : nullptr);
    return Step::Next;
}

// For each opcode that may change pixels, whether later ones paint over it;
// none when memory runs short for the look ahead: then all are drawn.
std::vector<bool> PaintedOver(const uint8_t* bytes, size_t size, const Rect& dstRect, GrafPtr port)
{
    try {
        PictureSurvey survey;
        if (Player(bytes, size, dstRect, port, &survey).Run() != memFullErr)
            return survey.Hidden();
    } catch (const std::bad_alloc&) {
    }
    return {};
}

}  // namespace

OSErr PlayPicture(const uint8_t* bytes, size_t size, const Rect& dstRect)
{
    GrafPtr port = GetQDGlobalsThePort();
    if (!port || !bytes)
        return paramErr;
    // Recordings get every opcode as it stands; drawing procedures every
    // one of their kind.
    std::vector<bool> hidden;
    if (!port->picSave && !IsRecordingRegion() && !IsRecordingPoly())
        hidden = PaintedOver(bytes, size, dstRect, port);
    return Player(bytes, size, dstRect, port, nullptr, std::move(hidden)).Run();
}

void DrawPicture(PicHandle picture, const Rect* dstRect)
{
    if (!picture || !*picture || !dstRect) {
        SetQDError(picture && !*picture ? nilHandleErr : paramErr);
        return;
    }
    // The picture stays put while comment procedures may allocate.
    int8_t state = HGetState(picture);
    HLock(picture);
    OSErr err = noErr;
    try {
        err = PlayPicture(reinterpret_cast<const uint8_t*>(*picture), size_t(GetHandleSize(picture)), *dstRect);
    } catch (const std::bad_alloc&) {
        err = memFullErr;
    }
    HSetState(picture, state);
    SetQDError(err);
}

}  // namespace platform
