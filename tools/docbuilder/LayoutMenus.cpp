// Menu bars, menus, choice lists and help balloons.
#include "tools/docbuilder/LayoutBuilder.h"

#include <cstdlib>

namespace docbuilder::layout {

void Builder::MenuBars()
{
    ByteWriter liba(order_);
    liba.U16(uint16_t(d_.menuBars.size()));
    for (const MenuBarSpec& b : d_.menuBars) {
        const int16_t id = Id(&b);
        liba.U16(uint16_t(id));
        if (b.freeSlot) continue;
        const Ref self{5, id, b.name, ""};
        Object(self);
        // The menu count, 6 bytes, then a 6-byte entry per menu whose id
        // ends it: menu k's id sits at 6k + 6.
        ByteWriter bar(order_);
        bar.U16(uint16_t(b.menus.size()));
        bar.Zeros(6);
        for (size_t k = 1; k <= b.menus.size(); ++k) {
            const std::string& title = b.menus[k - 1];
            auto m = menus_.find(title);
            if (m == menus_.end()) Refuse(b.src.line, "the menu bar names a missing menu '" + title + "'");
            const int16_t menuId = Id(m->second);
            bar.Zeros(4);
            bar.U16(uint16_t(menuId));
            Link(self, {6, menuId, title, ""});
            // The bar links what its menus' titles and items name.
            const MenuSpec& menuSpec = *m->second;
            int16_t list = 0, index = 0;
            if (ParseStringRef(menuSpec.title, &list, &index)) Link(self, StringListRef(list, menuSpec.src.line));
            // A menu's own links are recorded when a bar holding it is read.
            const Ref menu{6, menuId, title, ""};
            for (const MenuItemSpec& it : menuSpec.items) {
                if (auto target = methods_.find(it.method); !it.method.empty() && target != methods_.end()) {
                    Link(menu, {2, Id(target->second), it.method, ""});
                    Link(self, {2, Id(target->second), it.method, ""});
                }
                if (auto p = pictures_.find(it.picture); !it.picture.empty() && p != pictures_.end()) {
                    Link(menu, {18, Id(p->second), it.picture, ""});
                    Link(self, {18, Id(p->second), it.picture, ""});
                }
                if (ParseStringRef(it.text, &list, &index)) Link(self, StringListRef(list, it.src.line));
            }
        }
        Add(false, FourCC("BAQz"), id, b.name, bar.Take(), b.src.line);
        Doc(FourCC("BAHE"), id, b.doc, b.docState, b.docRuns, b.src.line);
    }
    Add(false, FourCC("LIBA"), 0, "", liba.Take(), 1);
    for (const MenuSpec& m : d_.menus) {
        const int16_t id = Id(&m);
        const Ref self{6, id, m.title, ""};
        Object(self);
        ByteWriter w(order_);
        w.U16(uint16_t(m.items.size()));
        w.FixedPString(m.title, 16);
        w.Zeros(6);
        for (const MenuItemSpec& it : m.items) {
            w.FixedPString(it.text, 32);
            w.FixedPString(it.method, 32);
            if (!it.method.empty()) {
                auto target = methods_.find(it.method);
                if (target == methods_.end()) Refuse(it.src.line, "the item names a missing method '" + it.method + "'");
            }
            w.U8(it.flags);
            w.Zeros(3);
            w.U8(uint8_t(it.key));
            w.Zeros(13);
            int32_t picture = -1;
            if (!it.picture.empty()) {
                auto p = pictures_.find(it.picture);
                if (p == pictures_.end()) Refuse(it.src.line, "the item names a missing picture '" + it.picture + "'");
                picture = Id(p->second);
            }
            w.U32(uint32_t(picture));
            // A string list named by an item is the bar's link, checked here.
            int16_t list = 0, index = 0;
            if (ParseStringRef(it.text, &list, &index)) StringListRef(list, it.src.line);
        }
        if (int16_t list = 0, index = 0; ParseStringRef(m.title, &list, &index)) StringListRef(list, m.src.line);
        Add(false, FourCC("MENQ"), id, "", w.Take(), m.src.line);
        Doc(FourCC("MEHE"), id, m.doc, m.docState, m.docRuns, m.src.line);
    }
}

bool Builder::ParseStringRef(const std::string& text, int16_t* list, int16_t* index)
{
    if (text.size() < 4 || text[0] != ':') return false;
    const size_t comma = text.find(',');
    if (comma == std::string::npos || comma + 1 >= text.size()) return false;
    if (list) *list = int16_t(std::atoi(text.substr(1, comma - 1).c_str()));
    if (index) *index = int16_t(std::atoi(text.substr(comma + 1).c_str()));
    return true;
}

Ref Builder::StringListRef(int16_t id, int line)
{
    for (const StringListSpec& s : d_.stringLists)
        if (Id(&s) == id) return {11, id, s.name, ""};
    Refuse(line, "the text refers to a missing string list " + std::to_string(id));
}

ListItemOut Builder::ListItem(const ListItemSpec& it, const Ref& list)
{
    ListItemOut o;
    o.text = it.text;
    o.number = it.number;
    o.face = it.face;
    if (!it.picture.empty()) {
        auto p = pictures_.find(it.picture);
        if (p == pictures_.end()) Refuse(it.src.line, "the item names a missing picture '" + it.picture + "'");
        o.picture = int32_t((2u << 16) | uint16_t(Id(p->second)));
        Link(list, {18, Id(p->second), it.picture, ""});
    }
    if (it.icon) o.picture = it.icon;  // high word 0: an icon family
    for (const ListItemSpec& c : it.children) o.children.push_back(ListItem(c, list));
    return o;
}

void Builder::Lists()
{
    ByteWriter leqz(order_);
    leqz.U16(uint16_t(d_.lists.size()));
    leqz.U32(0);
    for (const ChoiceListSpec& l : d_.lists) {
        const int16_t id = Id(&l);
        leqz.FixedPString(l.name, 32);
        leqz.U16(uint16_t(id));
        const Ref self{4, id, l.name, ""};
        Object(self);
        if (l.old) {
            ByteWriter e(order_);
            e.U16(uint16_t(l.items.size()));
            e.U16(0);
            for (const ListItemSpec& it : l.items) {
                e.FixedPString(it.text, 32);
                e.U16(0);
            }
            Add(false, FourCC("ENQz"), id, l.name, e.Take(), l.src.line);
        } else {
            std::vector<ListItemOut> items;
            for (const ListItemSpec& it : l.items) items.push_back(ListItem(it, self));
            Add(false, FourCC("List"), id, l.name, ChoiceList(items), l.src.line);
        }
    }
    while (leqz.Size() < 50) leqz.U8(0);
    Add(false, FourCC("LEQz"), 0, "", leqz.Take(), 1);
}

void Builder::Balloons()
{
    ByteWriter lihe(order_);
    for (const BalloonSpec& b : d_.balloons) {
        const int16_t id = Id(&b);
        lihe.FixedPString(b.name, 16);
        lihe.U16(uint16_t(id));
        Object({10, id, b.name, ""});
        Bytes text{0};
        text.insert(text.end(), b.text.begin(), b.text.end());
        Add(false, FourCC("HEQz"), id, "", std::move(text), b.src.line);
    }
    Bytes bytes = lihe.Take();
    if (bytes.empty()) bytes = {0, 0};
    Add(false, FourCC("LiHe"), 0, "", std::move(bytes), 1);
}

}  // namespace docbuilder::layout
