// Users, the small kinds, groups and components, plug-ins, compilation state, raw resources and the companion.
#include "tools/docbuilder/LayoutBuilder.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <tuple>

namespace docbuilder::layout {

void Builder::Passwords()
{
    std::vector<UserRecord> users;
    for (const UserSpec& u : d_.users) {
        if (!u.method.empty() && !methods_.count(u.method)) Refuse(u.src.line, "the user names a missing method '" + u.method + "'");
        users.push_back({u.name, u.password, u.method, u.owner});
    }
    std::vector<GroupRecord> groups;
    for (const UserGroupSpec& g : d_.userGroups) {
        GroupRecord r{g.name, {}};
        for (const MemberSpec& m : g.members) {
            int16_t number = 0;
            if (m.kind == "user") {
                for (size_t i = 0; i < d_.users.size(); ++i)
                    if (d_.users[i].name == m.name) number = int16_t(i + 1);
            } else {
                for (size_t i = 0; i < d_.userGroups.size(); ++i)
                    if (d_.userGroups[i].name == m.name) number = int16_t(15000 + i + 1);
            }
            if (!number) Refuse(m.src.line, "the user group names a missing " + m.kind + " '" + m.name + "'");
            r.members.push_back(number);
        }
        groups.push_back(std::move(r));
    }
    if (users.size() > 14999 || groups.size() > 17767) Refuse(1, "too many users or groups");
    Add(false, FourCC("PAQz"), 0, "", PasswordTable(users, groups, d_.oldPasswords, order_), 1);
    Add(false, FourCC("PAQz"), 1, "", PasswordTable({}, {}, d_.oldPasswords, order_), 1);
}

void Builder::StringLists()
{
    for (const StringListSpec& s : d_.stringLists) {
        Object({11, Id(&s), s.name, ""});
        Add(true, FourCC("STR#"), Id(&s), s.name, StringList(s.strings), s.src.line);
    }
}

void Builder::Styles()
{
    if (d_.styles.empty()) return;
    ByteWriter w(order_);
    w.U16(uint16_t(d_.styles.size()));
    for (size_t i = 0; i < d_.styles.size(); ++i) {
        w.FixedPString(d_.styles[i].name, 32);
        w.FixedPString(d_.styles[i].description, 81);
        w.U8(0);
        Object({12, int32_t(i + 1), d_.styles[i].name, ""});
    }
    Add(false, FourCC("STQz"), 0, "", w.Take(), d_.styles[0].src.line);
}

void Builder::Pictures()
{
    if (d_.pictures.empty()) return;
    ByteWriter table(order_);
    table.U16(uint16_t(d_.pictures.size()));
    for (const PictureSpec& p : d_.pictures) {
        table.FixedPString(p.name, 32);
        table.U16(uint16_t(Id(&p)));
        Object({18, Id(&p), p.name, ""});
        Add(false, FourCC("PICT"), Id(&p), "", Picture(p.width, p.height, order_), p.src.line);
    }
    Add(false, FourCC("PIC#"), 128, "", table.Take(), d_.pictures[0].src.line);
}

void Builder::StyleSheets()
{
    if (d_.styleSheets.empty()) return;
    ByteWriter w(order_);
    w.U16(uint16_t(d_.styleSheets.size()));
    int16_t last = 0;
    for (const StyleSheetSpec& s : d_.styleSheets) last = std::max(last, Id(&s));
    w.U16(uint16_t(last));
    for (const StyleSheetSpec& s : d_.styleSheets) {
        w.FixedPString(s.name, 32);
        w.U16(uint16_t(Id(&s)));
        const int blocks = d_.oldStyleSheets ? 3 : 5;
        if (!d_.oldStyleSheets) w.U16(5);
        for (int b = 0; b < blocks; ++b) {
            w.FixedPString(s.font, 66);
            w.U8(s.size);
            w.U8(s.face);
        }
        Object({19, Id(&s), s.name, ""});
    }
    Add(false, d_.oldStyleSheets ? FourCC("Styl") : FourCC("Stlx"), 128, "", w.Take(), d_.styleSheets[0].src.line);
}

const TableSpec* Builder::FindTable(const std::string& name, int line)
{
    auto t = tables_.find(name);
    if (t == tables_.end()) Refuse(line, "the group names a missing table '" + name + "'");
    return t->second;
}

const FormSpec* Builder::FindForm(const TableSpec* t, const std::string& name, int line)
{
    for (const FormSpec& f : t->forms)
        if (f.name == name) return &f;
    Refuse(line, "the group names a missing form '" + name + "'");
}

std::vector<int16_t> Builder::MemberEntry(const MemberSpec& m, Ref* ref)
{
    const bool old = d_.oldMemberLists;
    auto split = [&](std::string* table, std::string* form) {
        const size_t dot = m.name.find('.');
        if (dot == std::string::npos) Refuse(m.src.line, "a " + m.kind + " member is written TABLE.FORM");
        *table = m.name.substr(0, dot);
        *form = m.name.substr(dot + 1);
    };
    static const std::pair<const char*, int> kSimple[] = {
        {"table", 1}, {"method", 2}, {"list", 4}, {"menubar", 5}, {"menu", 6}, {"package", 7}, {"routine", 8},
        {"balloon", 10}, {"strings", 11}, {"style", 12}, {"picture", 18}, {"stylesheet", 19}, {"group", 23},
        {"dbmethod", 16}};
    for (auto [word, kind] : kSimple) {
        if (m.kind != word) continue;
        int16_t id = 0;
        switch (kind) {
        case 1: id = Id(FindTable(m.name, m.src.line)); break;
        case 2: id = Named(methods_, m); break;
        case 4: id = Named(lists_, m); break;
        case 5: id = Named(menuBars_, m); break;
        case 6: id = Named(menus_, m); break;
        case 7: id = Named(packages_, m); break;
        case 8: id = Named(routines_, m); break;
        case 10: id = Named(balloons_, m); break;
        case 11: id = Named(strings_, m); break;
        case 12: {
            for (size_t i = 0; i < d_.styles.size(); ++i)
                if (d_.styles[i].name == m.name) id = int16_t(i + 1);
            if (!id) Refuse(m.src.line, "the group names a missing style '" + m.name + "'");
            break;
        }
        case 16: {
            for (const MethodSpec& x : d_.dbMethods)
                if (std::to_string(x.slot) == m.name) id = Id(&x);
            if (!id) Refuse(m.src.line, "the group names a missing database method slot '" + m.name + "'");
            break;
        }
        case 18: id = Named(pictures_, m); break;
        case 19: id = Named(styleSheets_, m); break;
        case 23: id = Named(groups_, m); break;
        }
        if (kind == 19 && old) Refuse(m.src.line, "older member lists cannot hold style sheets");
        *ref = {kind, id, kind == 7 ? "_" + m.name : m.name, ""};
        return {int16_t(kind), id};
    }
    std::string table, form;
    if (m.kind == "form") {
        split(&table, &form);
        const TableSpec* t = FindTable(table, m.src.line);
        const FormSpec* f = FindForm(t, form, m.src.line);
        *ref = {24, Id(f), form, table};
        return {24, Id(t), Id(f)};
    }
    if (m.kind == "tablemethod") {
        const TableSpec* t = FindTable(m.name, m.src.line);
        if (!t->method) Refuse(m.src.line, "the table '" + m.name + "' has no table method");
        *ref = {26, Id(&*t->method), "", m.name};
        if (old) return {25, Id(t), Id(&*t->method)};
        return {26, Id(t), Id(&*t->method)};
    }
    if (m.kind == "formmethod") {
        split(&table, &form);
        const TableSpec* t = FindTable(table, m.src.line);
        const FormSpec* f = FindForm(t, form, m.src.line);
        if (!f->method) Refuse(m.src.line, "the form '" + m.name + "' has no form method");
        *ref = {27, Id(&*f->method), form, table + "." + form};
        return {27, Id(t), Id(f), Id(&*f->method)};
    }
    Refuse(m.src.line, "a group cannot hold a " + m.kind);
}

Bytes Builder::MemberList(const std::vector<MemberSpec>& members, const Ref& self, ByteOrder order)
{
    ByteWriter w(order);
    if (!d_.oldMemberLists) w.U16(254);
    for (const MemberSpec& m : members) {
        Ref ref;
        for (int16_t word : MemberEntry(m, &ref)) w.U16(uint16_t(word));
        Member(self, ref);
    }
    w.U16(0xFFFF);
    return w.Take();
}

void Builder::Groups()
{
    const bool companion = d_.groupsInCompanion;
    for (const GroupSpec& g : d_.groups) {
        const Ref self{23, Id(&g), g.name, ""};
        Object(self);
        Add(companion, FourCC("#GRP"), Id(&g), g.name, MemberList(g.members, self, OrderIn(companion)), g.src.line);
    }
    for (const ComponentSpec& k : d_.components) {
        const Ref self{32, Id(&k), k.name, ""};
        Object(self);
        ComponentProperties p;
        std::copy(std::begin(k.date), std::end(k.date), p.date);
        p.versionNb = k.number;
        p.version = k.version;
        p.comments = k.comments;
        p.prefix = k.prefix;
        p.generated = k.generated;
        p.rename = k.rename;
        p.componentDocument = d_.library && k.generated;
        ByteWriter w(OrderIn(companion));
        if (!d_.oldMemberLists) w.U16(254);
        for (int f = 0; f < 3; ++f) {
            const GroupSpec& folder = k.folders[f];
            p.folders[f] = Id(&folder);
            w.U16(33), w.U16(uint16_t(Id(&folder)));
            const Ref folderRef{33, Id(&folder), folder.name, ""};
            Object(folderRef);
            Member(self, folderRef);
            Add(companion, FourCC("#GMO"), Id(&folder), folder.name,
                MemberList(folder.members, folderRef, OrderIn(companion)), folder.src.line);
        }
        w.U16(0xFFFF);
        Add(companion, FourCC("#MOD"), Id(&k), k.name, w.Take(), k.src.line);
        Add(false, FourCC("moQz"), Id(&k), k.name, ComponentRecord(p), k.src.line);
        if (!k.codes.empty()) Add(false, FourCC("cdQz"), Id(&k), "", NameCodeTable(k.codes, order_), k.src.line);
        if (k.installed) ModuleRecord(k);
    }
}

void Builder::Constants()
{
    for (const ConstantsSpec& k : d_.constants) Add(false, FourCC("QzK#"), Id(&k), k.name, StringList(k.items), k.src.line);
}

std::string Builder::RoutineName(const std::string& text)
{
    std::string s = text.substr(0, text.find('('));
    return s.substr(0, s.find(':'));
}

void Builder::Plugins()
{
    for (const PackageSpec& p : d_.packages) {
        const int16_t id = Id(&p), list = packageLists_.at(&p);
        const Ref self{7, id, "_" + p.name, ""};
        Object(self);
        Add(true, FourCC("QzPX"), id, p.name, {0, 0}, p.src.line);
        ByteWriter bundle;
        bundle.U16(1);
        bundle.U32(FourCC("STR#"));
        bundle.U16(1);
        bundle.U16(uint16_t(list));
        Add(true, FourCC("QBNX"), id, p.name, bundle.Take(), p.src.line);
        Add(true, FourCC("STR#"), list, p.name + " routines", StringList(p.routines), p.src.line);
        for (size_t j = 0; j < p.routines.size(); ++j) {
            const Ref routine{7, int32_t(j + 1), RoutineName(p.routines[j]), self.name};
            Object(routine);
            Member(self, routine);
        }
    }
    for (const RoutineSpec& r : d_.routines) {
        Object({8, Id(&r), r.name, ""});
        Add(true, FourCC("QzEX"), Id(&r), r.name, {0, 0}, r.src.line);
    }
    std::set<int32_t> eprmIds;
    for (const EprmSpec& e : d_.eprms) {
        if (!eprmIds.insert(e.id).second) Refuse(e.src.line, "a parameter list of id " + std::to_string(e.id) + " already exists");
        Add(true, FourCC("EPRM"), int16_t(e.id), "", EprmBytes(e), e.src.line);
    }
    PlugInFiles();
}

Bytes Builder::EprmBytes(const EprmSpec& e)
{
    ByteWriter w;
    w.U16(uint16_t(e.routines.size()));
    for (const EprmSpec::Routine& r : e.routines) {
        w.U16(uint16_t(r.number));
        w.U16(uint16_t(r.params.size()));
        for (const auto& [number, type] : r.params) {
            w.U16(uint16_t(number));
            w.U16(uint16_t(type));
        }
    }
    return w.Take();
}

void Builder::PlugInFiles()
{
    std::set<std::string> names;
    for (const PlugInFileSpec& f : d_.plugInFiles) {
        PlugInFileOut out;
        out.fileName = f.name + ".plugin";
        if (!names.insert(out.fileName).second) Refuse(f.src.line, "a plug-in file named '" + f.name + "' already exists");
        std::set<std::pair<uint32_t, int16_t>> held;
        auto add = [&](uint32_t type, int16_t id, const std::string& name, Bytes bytes, int line) {
            if (!held.insert({type, id}).second) Refuse(line, "the plug-in file holds this resource already");
            out.resources.push_back({true, type, id, name, std::move(bytes), line});
        };
        // The identity: a length-prefixed name, then the version.
        auto identity = [](const std::string& name, int16_t version) {
            ByteWriter w;
            w.U8(uint8_t(std::min<size_t>(name.size(), 255)));
            for (size_t i = 0; i < name.size() && i < 255; ++i) w.U8(uint8_t(name[i]));
            w.U16(uint16_t(version));
            return w.Take();
        };
        if (f.signature) {
            ByteWriter sg;
            sg.U16(uint16_t(*f.signature));
            add(FourCC("QzSG"), 0, "", sg.Take(), f.src.line);
            add(FourCC("QzID"), *f.signature, f.name, identity(f.name, f.version), f.src.line);
            for (const auto& [signature, version] : f.needs)
                add(FourCC("QzID"), signature, "", identity("", version), f.src.line);
        }
        IdSpace ids;
        for (const PackageSpec& p : f.packages) ids.Reserve(p.id);
        for (const PackageSpec& p : f.packages) {
            const int16_t id = ids.Give(p.id, p.src.line);
            ByteWriter bundle;
            bundle.U16(1);
            bundle.U32(FourCC("STR#"));
            bundle.U16(1);
            bundle.U16(uint16_t(id));
            add(FourCC("QBNX"), id, p.unnamed ? "" : p.name, bundle.Take(), p.src.line);
            add(FourCC("STR#"), id, p.name + " routines", StringList(p.routines), p.src.line);
            if (p.theme) add(FourCC("THM#"), id, "", StringList({*p.theme}), p.src.line);
        }
        for (const EprmSpec& e : f.eprms) add(FourCC("EPRM"), int16_t(e.id), "", EprmBytes(e), e.src.line);
        out_.plugInFiles.push_back(std::move(out));
    }
}

void Builder::Compiled()
{
    if (d_.compiled) Add(false, FourCC("VART"), 0, "", {0, 0, 0, 0}, 1);
    for (int32_t id : d_.compiledCode) Add(false, FourCC("MPPC"), int16_t(id), "", {0, 0, 0, 0}, 1);
    if (d_.dirty) {
        ByteWriter w(order_);
        w.U32(uint32_t(*d_.dirty));
        Add(false, FourCC("QzQz"), 2, "", w.Take(), 1);
    }
}

void Builder::Raws()
{
    for (const RawSpec& r : d_.raws) Add(r.companion, r.type, int16_t(r.id), r.name, r.bytes, r.src.line);
}

void Builder::Companion()
{
    Add(true, FourCC("INQz"), 0, "", {uint8_t(uint16_t(d_.version) >> 8), uint8_t(d_.version)}, 1);
    for (int32_t i = 1; i <= d_.fillers; ++i)
        Add(true, FourCC("FILL"), int16_t(i), "", {uint8_t(i >> 8), uint8_t(i)}, 1);
    static const uint32_t kNotListed[] = {FourCC("QzQz"), FourCC("#GRP"), FourCC("#GMO"), FourCC("#MOD"),
                                          FourCC("moQz"), FourCC("INQz")};
    for (const ResourceOut& r : out_.resources) {
        if (!r.companion || std::count(std::begin(kNotListed), std::end(kNotListed), r.type)) continue;
        Object({20, r.id, platform::FourCCText(r.type), ""});
    }
}

void Builder::CheckUnique()
{
    std::set<std::tuple<bool, uint32_t, int16_t>> seen;
    for (const ResourceOut& r : out_.resources)
        if (!seen.insert({r.companion, r.type, r.id}).second) {
            Refuse(r.line, "id " + std::to_string(r.id) + " of '" + platform::FourCCText(r.type) + "' is used twice");
        }
}

}  // namespace docbuilder::layout
