#include "tools/docbuilder/Layout.h"

#include "tools/docbuilder/LayoutBuilder.h"

namespace docbuilder {
namespace layout {

void Refuse(int line, const std::string& message) { throw Refusal{line, message}; }

uint32_t DateSeconds(const int16_t date[3])
{
    // Days from 1904-01-01 to the date, civil calendar.
    auto days = [](int y, int m, int d) {
        y -= m <= 2;
        const int era = y / 400, yoe = y - era * 400;
        const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
        const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
        return era * 146097 + doe;
    };
    return uint32_t(days(date[2], date[1], date[0]) - days(1904, 1, 1)) * 86400u;
}

LaidOut Builder::Run()
{
    out_.dataName = d_.name + (d_.library ? ".QTL" : ".QzB");
    out_.companionName = d_.name + ".RSR";
    out_.creator = d_.library ? FourCC("QzA6") : FourCC("Qz06");
    out_.fileType = d_.library ? FourCC("QzLB") : FourCC("BAS5");
    out_.littleEndian = d_.littleEndian;
    out_.seconds = DateSeconds(d_.date);
    out_.declarations = d_.declarations;
    Reserve();
    Names();
    GiveIds();
    Tables();
    ProjectMethods();
    MenuBars();
    Lists();
    Balloons();
    Passwords();
    ByteWriter wvar(order_);
    wvar.U32(1);
    Add(false, FourCC("wvar"), -1, "", wvar.Take(), 0);
    StringLists();
    Styles();
    Pictures();
    StyleSheets();
    Groups();
    Constants();
    Plugins();
    Compiled();
    Raws();
    Companion();
    CheckUnique();
    return std::move(out_);
}

void Builder::ReserveTable(const TableSpec& t)
{
    fiqz_.Reserve(t.id);
    if (t.method) ccqz_.Reserve(t.method->id);
    for (const FieldSpec& f : t.fields)
        if (f.subtable) ReserveTable(*f.subtable);
    for (const FormSpec& f : t.forms) {
        foqz_.Reserve(f.id);
        if (f.method) ccqz_.Reserve(f.method->id);
        for (const FormItemSpec& it : f.items)
            if (it.method) ccqz_.Reserve(it.method->id);
    }
}

void Builder::Reserve()
{
    for (const TableSpec& t : d_.tables) ReserveTable(t);
    for (const MethodSpec& m : d_.methods) ccqz_.Reserve(m.id);
    for (const MethodSpec& m : d_.dbMethods) ccqz_.Reserve(m.id);
    for (const MenuBarSpec& b : d_.menuBars) baqz_.Reserve(b.id);
    for (const MenuSpec& m : d_.menus) menq_.Reserve(m.id);
    for (const ChoiceListSpec& l : d_.lists) list_.Reserve(l.id);
    for (const BalloonSpec& b : d_.balloons) heqz_.Reserve(b.id);
    for (const StringListSpec& s : d_.stringLists) str_.Reserve(s.id);
    for (const PictureSpec& p : d_.pictures) pict_.Reserve(p.id);
    for (const StyleSheetSpec& s : d_.styleSheets) stlx_.Reserve(s.id);
    for (const GroupSpec& g : d_.groups) grp_.Reserve(g.id);
    for (const ComponentSpec& k : d_.components) {
        grp_.Reserve(k.id);
        for (const GroupSpec& f : k.folders) grp_.Reserve(f.id);
    }
    for (const ConstantsSpec& k : d_.constants) qzk_.Reserve(k.id);
    for (const PackageSpec& p : d_.packages) qzpx_.Reserve(p.id);
    for (const RoutineSpec& r : d_.routines) qzex_.Reserve(r.id);
}

void Builder::Names()
{
    for (const TableSpec& t : d_.tables) Unique(tables_, t.name, &t, t.src.line, "table");
    if (d_.tables.size() > 255) Refuse(d_.tables[255].src.line, "a structure holds at most 255 tables");
    for (const MethodSpec& m : d_.methods) Unique(methods_, m.name, &m, m.src.line, "project method");
    for (const MenuBarSpec& b : d_.menuBars)
        if (!b.freeSlot) Unique(menuBars_, b.name, &b, b.src.line, "menu bar");
    for (const MenuSpec& m : d_.menus) Unique(menus_, m.title, &m, m.src.line, "menu");
    for (const ChoiceListSpec& l : d_.lists) Unique(lists_, l.name, &l, l.src.line, "choice list");
    for (const BalloonSpec& b : d_.balloons) Unique(balloons_, b.name, &b, b.src.line, "balloon");
    for (const StringListSpec& s : d_.stringLists) Unique(strings_, s.name, &s, s.src.line, "string list");
    for (const StyleSpec& s : d_.styles) Unique(styles_, s.name, &s, s.src.line, "style");
    for (const PictureSpec& p : d_.pictures) Unique(pictures_, p.name, &p, p.src.line, "picture");
    for (const StyleSheetSpec& s : d_.styleSheets) Unique(styleSheets_, s.name, &s, s.src.line, "style sheet");
    for (const GroupSpec& g : d_.groups) Unique(groups_, g.name, &g, g.src.line, "group");
    for (const PackageSpec& p : d_.packages) Unique(packages_, p.name, &p, p.src.line, "package");
    for (const RoutineSpec& r : d_.routines) Unique(routines_, r.name, &r, r.src.line, "plug-in routine");
    for (const UserSpec& u : d_.users) Unique(users_, u.name, &u, u.src.line, "user");
    for (const UserGroupSpec& g : d_.userGroups) Unique(userGroups_, g.name, &g, g.src.line, "user group");
    std::set<int> slots;
    for (const MethodSpec& m : d_.dbMethods)
        if (!slots.insert(m.slot).second) Refuse(m.src.line, "database method slot " + std::to_string(m.slot) + " is used twice");
}

void Builder::GiveTable(const TableSpec& t)
{
    ids_[&t] = fiqz_.Give(t.id, t.src.line);
    if (t.method) ids_[&*t.method] = ccqz_.Give(t.method->id, t.method->src.line);
    if (t.fields.size() > 511) Refuse(t.fields[511].src.line, "a table holds at most 511 fields");
    std::set<std::string> names;
    for (const FieldSpec& f : t.fields) {
        if (!names.insert(f.name).second) Refuse(f.src.line, "a field named '" + f.name + "' already exists in " + t.name);
        if (f.subtable) GiveTable(*f.subtable);
    }
    names.clear();
    for (const FormSpec& f : t.forms) {
        if (!names.insert(f.name).second) Refuse(f.src.line, "a form named '" + f.name + "' already exists in " + t.name);
        ids_[&f] = foqz_.Give(f.id, f.src.line);
        if (f.method) ids_[&*f.method] = ccqz_.Give(f.method->id, f.method->src.line);
        for (const FormItemSpec& it : f.items)
            if (it.method) ids_[&*it.method] = ccqz_.Give(it.method->id, it.src.line);
    }
}

void Builder::GiveIds()
{
    for (const TableSpec& t : d_.tables) GiveTable(t);
    for (const MethodSpec& m : d_.methods) ids_[&m] = ccqz_.Give(m.id, m.src.line);
    for (const MethodSpec& m : d_.dbMethods) ids_[&m] = ccqz_.Give(m.id, m.src.line);
    for (const MenuBarSpec& b : d_.menuBars) ids_[&b] = b.freeSlot ? int16_t(-1) : baqz_.Give(b.id, b.src.line);
    for (const MenuSpec& m : d_.menus) ids_[&m] = menq_.Give(m.id, m.src.line);
    for (const ChoiceListSpec& l : d_.lists) ids_[&l] = list_.Give(l.id, l.src.line);
    for (const BalloonSpec& b : d_.balloons) ids_[&b] = heqz_.Give(b.id, b.src.line);
    for (const StringListSpec& s : d_.stringLists) ids_[&s] = str_.Give(s.id, s.src.line);
    for (const PictureSpec& p : d_.pictures) ids_[&p] = pict_.Give(p.id, p.src.line);
    for (const StyleSheetSpec& s : d_.styleSheets) ids_[&s] = stlx_.Give(s.id, s.src.line);
    for (const GroupSpec& g : d_.groups) ids_[&g] = grp_.Give(g.id, g.src.line);
    for (const ComponentSpec& k : d_.components) {
        ids_[&k] = grp_.Give(k.id, k.src.line);
        for (const GroupSpec& f : k.folders) ids_[&f] = grp_.Give(f.id, f.src.line);
    }
    for (const ConstantsSpec& k : d_.constants) ids_[&k] = qzk_.Give(k.id, k.src.line);
    for (const PackageSpec& p : d_.packages) {
        ids_[&p] = qzpx_.Give(p.id, p.src.line);
        packageLists_[&p] = str_.Give(0, p.src.line);
    }
    for (const RoutineSpec& r : d_.routines) ids_[&r] = qzex_.Give(r.id, r.src.line);
}

void Builder::Add(bool companion, uint32_t type, int16_t id, const std::string& name, Bytes bytes, int line)
{
    out_.resources.push_back({companion, type, id, name, std::move(bytes), line});
}

void Builder::Doc(uint32_t type, int16_t id, const std::optional<std::string>& text, int16_t state,
                  const std::vector<DocRunSpec>& runs, int line)
{
    if (text) Add(false, type, id, "", Documentation(*text, state, order_, runs), line);
}

}  // namespace layout

std::optional<LaidOut> LayOut(const DocumentSpec& doc, BuildError* error)
{
    try {
        return layout::Builder(doc).Run();
    } catch (const layout::Refusal& r) {
        if (error) *error = {doc.fileName, r.line, r.message};
        return std::nullopt;
    }
}

}  // namespace docbuilder
