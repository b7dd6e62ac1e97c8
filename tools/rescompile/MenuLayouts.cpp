// The application's own menu resources: the menu bar 'MMBR' and its items
// 'MITM', in the layouts the menu builder reads.
#include <cctype>

#include "tools/rescompile/ByteWriter.h"
#include "tools/rescompile/Layouts.h"

namespace rescompile {

namespace {

bool AtClose(SourceReader& in) { return in.Peek().kind == TokenKind::Close; }

// A length-prefixed string padded to an even length.
void EvenString(ByteWriter& out, const std::string& text)
{
    out.PString(text);
    out.AlignEven();
}

}  // namespace

// One `menu ID "Title" items N N ...` per menu.
std::vector<uint8_t> CompileMenuBar(SourceReader& in, int16_t)
{
    ByteWriter menus;
    uint32_t count = 0;
    while (!AtClose(in)) {
        if (!in.Accept("menu")) in.Fail("expected menu");
        ByteWriter one;
        one.U16(uint32_t(in.Integer(-32768, 32767, "the menu id")));
        EvenString(one, in.String(255, "the menu title"));
        std::vector<int32_t> ids;
        if (in.Accept("items"))
            while (in.Peek().kind == TokenKind::Word && !in.Peek().text.empty() &&
                   (std::isdigit(uint8_t(in.Peek().text[0])) || in.Peek().text[0] == '-'))
                ids.push_back(in.Integer(-32768, 32767, "an item id"));
        one.U16(uint32_t(ids.size()));
        for (int32_t id : ids) one.U16(uint32_t(id));
        menus.Append(one.bytes());
        ++count;
    }
    ByteWriter out;
    out.U16(0);
    out.U16(count);
    out.Append(menus.bytes());
    return std::move(out.bytes());
}

// text "…" [second "…"] command N [key "K"] [mark N] [icon N] [extra N]
// [style N] [kind single|group|submenu|member] [checkgroup] [disabled]
// [subitems N N ...]
std::vector<uint8_t> CompileMenuItem(SourceReader& in, int16_t)
{
    std::string text, second;
    int32_t command = 0, key = 0, mark = 0, icon = 0, extra = 0, style = 0, kind = 0;
    bool checkGroup = false, disabled = false, commandSeen = false;
    std::vector<int32_t> subItems;
    while (!AtClose(in)) {
        if (in.Accept("text")) text = in.String(255, "the item text");
        else if (in.Accept("second")) second = in.String(255, "the second text");
        else if (in.Accept("command")) {
            command = in.Integer(-128, 127, "the command number");
            commandSeen = true;
        } else if (in.Accept("key")) key = uint8_t(in.Char("the command key")[0]);
        else if (in.Accept("mark")) mark = in.Integer(0, 255, "the mark character");
        else if (in.Accept("icon")) icon = in.Integer(-128, 127, "the icon number");
        else if (in.Accept("extra")) extra = in.Integer(-128, 127, "the extra value");
        else if (in.Accept("style")) style = in.Integer(0, 127, "the style");
        else if (in.Accept("checkgroup")) checkGroup = true;
        else if (in.Accept("disabled")) disabled = true;
        else if (in.Accept("kind")) {
            const std::string word = in.Word("the item kind");
            if (word == "single") kind = 0;
            else if (word == "group") kind = 1;
            else if (word == "submenu") kind = 2;
            else if (word == "member") kind = 3;
            else in.Fail("the kind is single, group, submenu or member");
        } else if (in.Accept("subitems")) {
            while (in.Peek().kind == TokenKind::Word && !in.Peek().text.empty() &&
                   std::isdigit(uint8_t(in.Peek().text[0])))
                subItems.push_back(in.Integer(-32768, 32767, "a sub-item id"));
        } else {
            in.Fail("expected text, second, command, key, mark, icon, extra, style, kind, checkgroup, "
                    "disabled or subitems");
        }
    }
    if (!commandSeen) in.Fail("a menu item needs its command number");
    ByteWriter out;
    EvenString(out, text);
    EvenString(out, second);
    out.U8(uint32_t(extra));
    out.U8(uint32_t(key));
    out.U8(uint32_t(mark));
    out.U8(uint32_t(icon));
    out.U8(uint32_t(command));
    out.U8(disabled ? 0 : 1);
    out.U8(0);
    out.U8(uint32_t(kind));
    out.U8(checkGroup ? 1 : 0);
    out.U8(0);
    out.U8(uint32_t(style));
    out.U8(0);
    out.U16(uint32_t(subItems.size()));
    for (int32_t id : subItems) out.U16(uint32_t(id));
    return std::move(out.bytes());
}

}  // namespace rescompile
