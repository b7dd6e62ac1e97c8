#include "tools/rescompile/ByteWriter.h"
#include "tools/rescompile/Layouts.h"

namespace rescompile {

namespace {

bool AtClose(SourceReader& in) { return in.Peek().kind == TokenKind::Close; }

}  // namespace

std::vector<uint8_t> CompileRaw(SourceReader& in, int16_t)
{
    ByteWriter out;
    while (!AtClose(in)) out.Append(in.Hex("the resource's data"));
    return std::move(out.bytes());
}

std::vector<uint8_t> CompileStr(SourceReader& in, int16_t)
{
    ByteWriter out;
    out.PString(in.String(255, "the string"));
    return std::move(out.bytes());
}

std::vector<uint8_t> CompileStrList(SourceReader& in, int16_t)
{
    ByteWriter items;
    uint32_t count = 0;
    while (!AtClose(in)) {
        if (count == 0x7FFF) in.Fail("a string list holds at most 32767 strings");
        items.PString(in.String(255, "a list item"));
        ++count;
    }
    ByteWriter out;
    out.U16(count);
    out.Append(items.bytes());
    return std::move(out.bytes());
}

// id N, proc N, title "text" [disabled], then items:
//   item "text" [key "K"] [icon N] [mark N] [style N] [submenu N] [disabled]
//   separator
std::vector<uint8_t> CompileMenu(SourceReader& in, int16_t id)
{
    int32_t menuId = id;
    int32_t proc = 0;
    std::string title;
    bool titleSeen = false;
    uint32_t enableFlags = 0xFFFFFFFF;
    ByteWriter items;
    int itemCount = 0;
    while (!AtClose(in)) {
        if (in.Accept("id")) {
            menuId = in.Integer(-32768, 32767, "the menu id");
        } else if (in.Accept("proc")) {
            proc = in.Integer(-32768, 32767, "the menu definition id");
        } else if (in.Accept("title")) {
            title = in.String(255, "the menu title");
            titleSeen = true;
            if (in.Accept("disabled")) enableFlags &= ~1u;
        } else if (in.Accept("separator")) {
            ++itemCount;
            items.PString("-");
            items.Zero(4);
            if (itemCount < 32) enableFlags &= ~(1u << itemCount);
        } else if (in.Accept("item")) {
            ++itemCount;
            std::string text = in.String(255, "the item text");
            if (text.empty()) in.Fail("a menu item needs text");
            uint32_t icon = 0, key = 0, mark = 0, style = 0;
            bool disabled = false;
            while (true) {
                if (in.Accept("key")) key = uint8_t(in.Char("the command key")[0]);
                else if (in.Accept("icon")) icon = in.Integer(0, 255, "the item icon");
                else if (in.Accept("mark")) mark = in.Integer(0, 255, "the item mark");
                else if (in.Accept("style")) style = in.Integer(0, 127, "the item style");
                else if (in.Accept("submenu")) {
                    key = 0x1B;
                    mark = in.Integer(0, 255, "the submenu id");
                } else if (in.Accept("disabled")) disabled = true;
                else break;
            }
            items.PString(text);
            items.U8(icon);
            items.U8(key);
            items.U8(mark);
            items.U8(style);
            if (disabled && itemCount < 32) enableFlags &= ~(1u << itemCount);
        } else {
            in.Fail("expected id, proc, title, item or separator");
        }
    }
    if (!titleSeen) in.Fail("a menu needs a title");
    ByteWriter out;
    out.U16(uint32_t(menuId));
    out.U16(0);  // width and height: computed by the menu manager
    out.U16(0);
    out.U16(uint32_t(proc));
    out.U16(0);
    out.U32(enableFlags);
    out.PString(title);
    out.Append(items.bytes());
    out.U8(0);
    return std::move(out.bytes());
}

// version MAJOR MINOR BUG, stage development|alpha|beta|final, release N,
// region N, short "text", long "text".
std::vector<uint8_t> CompileVersion(SourceReader& in, int16_t)
{
    int32_t major = 0, minor = 0, bug = 0, release = 0, region = 0;
    uint32_t stage = 0x80;
    std::string shortText, longText;
    while (!AtClose(in)) {
        if (in.Accept("version")) {
            major = in.Integer(0, 99, "the major version");
            minor = in.Integer(0, 9, "the minor version");
            bug = in.Integer(0, 9, "the bug-fix version");
        } else if (in.Accept("stage")) {
            Token at = in.Peek();
            std::string s = in.Word("a stage");
            if (s == "development") stage = 0x20;
            else if (s == "alpha") stage = 0x40;
            else if (s == "beta") stage = 0x60;
            else if (s == "final") stage = 0x80;
            else in.Fail(at, "the stage is development, alpha, beta or final");
        } else if (in.Accept("release")) {
            release = in.Integer(0, 255, "the pre-release number");
        } else if (in.Accept("region")) {
            region = in.Integer(0, 65535, "the region code");
        } else if (in.Accept("short")) {
            shortText = in.String(255, "the short version");
        } else if (in.Accept("long")) {
            longText = in.String(255, "the long version");
        } else {
            in.Fail("expected version, stage, release, region, short or long");
        }
    }
    ByteWriter out;
    out.U8(uint32_t((major / 10) << 4 | (major % 10)));  // binary-coded decimal
    out.U8(uint32_t(minor << 4 | bug));
    out.U8(stage);
    out.U8(uint32_t(release));
    out.U16(uint32_t(region));
    out.PString(shortText);
    out.PString(longText);
    return std::move(out.bytes());
}

// The style table: a count, then 114-byte entries of a name (first 32
// bytes) and a style text (from byte 32), both length-prefixed.
//   style "name" "text"
std::vector<uint8_t> CompileStyleTable(SourceReader& in, int16_t)
{
    constexpr size_t kEntry = 114, kNameRoom = 32;
    ByteWriter entries;
    uint32_t count = 0;
    while (!AtClose(in)) {
        if (!in.Accept("style")) in.Fail("expected style \"name\" \"text\"");
        std::string name = in.String(kNameRoom - 1, "the style name");
        std::string text = in.String(kEntry - kNameRoom - 1, "the style text");
        size_t start = entries.size();
        entries.PString(name);
        entries.Zero(kNameRoom - (entries.size() - start));
        entries.PString(text);
        entries.Zero(kEntry - (entries.size() - start));
        if (++count > 0x7FFF) in.Fail("too many styles");
    }
    ByteWriter out;
    out.U16(count);
    out.Append(entries.bytes());
    return std::move(out.bytes());
}

}  // namespace rescompile
