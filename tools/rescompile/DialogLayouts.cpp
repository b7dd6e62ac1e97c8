#include "tools/rescompile/ByteWriter.h"
#include "tools/rescompile/Layouts.h"

namespace rescompile {

namespace {

struct Bounds {
    int32_t top = 0, left = 0, bottom = 0, right = 0;
};

Bounds ReadBounds(SourceReader& in)
{
    Token at = in.Peek();
    Bounds b;
    b.top = in.Integer(-32768, 32767, "the top");
    b.left = in.Integer(-32768, 32767, "the left");
    b.bottom = in.Integer(-32768, 32767, "the bottom");
    b.right = in.Integer(-32768, 32767, "the right");
    if (b.bottom < b.top || b.right < b.left) in.Fail(at, "the rectangle is top, left, bottom, right");
    return b;
}

void WriteBounds(ByteWriter& out, const Bounds& b)
{
    out.U16(uint32_t(b.top));
    out.U16(uint32_t(b.left));
    out.U16(uint32_t(b.bottom));
    out.U16(uint32_t(b.right));
}

bool AtClose(SourceReader& in) { return in.Peek().kind == TokenKind::Close; }

}  // namespace

// bounds T L B R, proc N (default 1, a modal box), visible|invisible,
// goaway, refcon N, items N (default: this id), title "text", position N.
std::vector<uint8_t> CompileDialog(SourceReader& in, int16_t id)
{
    Bounds bounds;
    bool boundsSeen = false, visible = true, goAway = false;
    int32_t proc = 1, refCon = 0, items = id, position = 0;
    std::string title;
    while (!AtClose(in)) {
        if (in.Accept("bounds")) {
            bounds = ReadBounds(in);
            boundsSeen = true;
        } else if (in.Accept("proc")) proc = in.Integer(-32768, 32767, "the window definition id");
        else if (in.Accept("visible")) visible = true;
        else if (in.Accept("invisible")) visible = false;
        else if (in.Accept("goaway")) goAway = true;
        else if (in.Accept("refcon")) refCon = in.Integer(INT32_MIN, UINT32_MAX, "the reference constant");
        else if (in.Accept("items")) items = in.Integer(-32768, 32767, "the item list id");
        else if (in.Accept("title")) title = in.String(255, "the title");
        else if (in.Accept("position")) position = in.Integer(0, 65535, "the position");
        else in.Fail("expected bounds, proc, visible, invisible, goaway, refcon, items, title or position");
    }
    if (!boundsSeen) in.Fail("a dialog needs its bounds");
    ByteWriter out;
    WriteBounds(out, bounds);
    out.U16(uint32_t(proc));
    out.U8(visible);
    out.U8(0);
    out.U8(goAway);
    out.U8(0);
    out.U32(uint32_t(refCon));
    out.U16(uint32_t(items));
    out.PString(title);
    out.AlignEven();
    out.U16(uint32_t(position));
    return std::move(out.bytes());
}

// bounds T L B R, items N (default: this id), stages N (four 4-bit stages,
// default 0x5555), position N.
std::vector<uint8_t> CompileAlert(SourceReader& in, int16_t id)
{
    Bounds bounds;
    bool boundsSeen = false;
    int32_t items = id, stages = 0x5555, position = 0;
    while (!AtClose(in)) {
        if (in.Accept("bounds")) {
            bounds = ReadBounds(in);
            boundsSeen = true;
        } else if (in.Accept("items")) items = in.Integer(-32768, 32767, "the item list id");
        else if (in.Accept("stages")) stages = in.Integer(0, 65535, "the stages");
        else if (in.Accept("position")) position = in.Integer(0, 65535, "the position");
        else in.Fail("expected bounds, items, stages or position");
    }
    if (!boundsSeen) in.Fail("an alert needs its bounds");
    ByteWriter out;
    WriteBounds(out, bounds);
    out.U16(uint32_t(items));
    out.U16(uint32_t(stages));
    out.U16(uint32_t(position));
    return std::move(out.bytes());
}

// One item per line:
//   button|checkbox|radio|static|edit T L B R "text" [disabled]
//   control|icon|picture T L B R ID [disabled]
//   user T L B R [disabled]
std::vector<uint8_t> CompileItemList(SourceReader& in, int16_t)
{
    ByteWriter items;
    int32_t count = 0;
    while (!AtClose(in)) {
        Token at = in.Peek();
        std::string kind = in.Word("an item kind");
        uint32_t type = 0;
        enum { Text, Id, None } data = Text;
        if (kind == "button") type = 4;
        else if (kind == "checkbox") type = 5;
        else if (kind == "radio") type = 6;
        else if (kind == "static") type = 8;
        else if (kind == "edit") type = 16;
        else if (kind == "control") type = 7, data = Id;
        else if (kind == "icon") type = 32, data = Id;
        else if (kind == "picture") type = 64, data = Id;
        else if (kind == "user") type = 0, data = None;
        else in.Fail(at, "unknown item kind '" + kind + "'");
        Bounds bounds = ReadBounds(in);
        std::string text;
        int32_t resId = 0;
        if (data == Text) text = in.String(255, "the item text");
        if (data == Id) resId = in.Integer(-32768, 32767, "the resource id");
        if (in.Accept("disabled")) type |= 0x80;
        items.U32(0);  // handle or procedure, filled in at run time
        WriteBounds(items, bounds);
        items.U8(type);
        if (data == Text) {
            items.PString(text);
            items.AlignEven();
        } else if (data == Id) {
            items.U8(2);
            items.U16(uint32_t(resId));
        } else {
            items.U8(0);
        }
        if (++count > 0x7FFF) in.Fail("too many items");
    }
    ByteWriter out;
    out.U16(uint32_t(count - 1));
    out.Append(items.bytes());
    return std::move(out.bytes());
}

}  // namespace rescompile
