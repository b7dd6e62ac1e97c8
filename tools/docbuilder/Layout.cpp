#include "tools/docbuilder/Layout.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "platform/core/Clock.h"
#include "platform/core/FourCC.h"
#include "tools/docbuilder/FormLayout.h"
#include "tools/docbuilder/Records.h"

namespace docbuilder {
namespace {

using platform::FourCC;

struct Refusal {
    int line;
    std::string message;
};

[[noreturn]] void Refuse(int line, const std::string& message) { throw Refusal{line, message}; }

// Ids of one resource type: explicit ones stand, the others take the
// lowest free id from 1 up.
class IdSpace {
public:
    void Reserve(int32_t id)
    {
        if (id) taken_.insert(id);
    }
    int16_t Give(int32_t explicitId, int line)
    {
        if (explicitId) return int16_t(explicitId);
        while (taken_.count(next_)) ++next_;
        if (next_ > 32767) Refuse(line, "no ids are left for this kind (at most 32,767)");
        taken_.insert(next_);
        return int16_t(next_);
    }

private:
    std::set<int32_t> taken_;
    int32_t next_ = 1;
};

// An object as the manifest names it.
struct Ref {
    int kind = 0;
    int32_t id = 0;
    std::string name, owner;
    std::string Text() const { return std::to_string(kind) + "\t" + std::to_string(id) + "\t" + name + "\t" + owner; }
};

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

class Builder {
public:
    explicit Builder(const DocumentSpec& d) : d_(d) {}

    LaidOut Run()
    {
        out_.dataName = d_.name + (d_.library ? ".QTL" : ".QzB");
        out_.companionName = d_.name + ".RSR";
        out_.creator = d_.library ? FourCC("QzA6") : FourCC("Qz06");
        out_.fileType = d_.library ? FourCC("QzLB") : FourCC("BAS5");
        out_.littleEndian = d_.littleEndian;
        out_.seconds = DateSeconds(d_.date);
        Reserve();
        Names();
        GiveIds();
        Tables();
        ProjectMethods();
        MenuBars();
        Lists();
        Balloons();
        Passwords();
        Add(false, FourCC("wvar"), -1, "", {0, 0, 0, 1}, 0);
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

private:
    // --- ids ------------------------------------------------------------

    void ReserveTable(const TableSpec& t)
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

    void Reserve()
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

    template <class Map, class T>
    void Unique(Map& map, const std::string& name, const T* object, int line, const char* what)
    {
        if (!map.emplace(name, object).second) Refuse(line, std::string("a ") + what + " named '" + name + "' already exists");
    }

    void Names()
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

    void GiveTable(const TableSpec& t)
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

    void GiveIds()
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

    int16_t Id(const void* object) const { return ids_.at(object); }

    // --- output -----------------------------------------------------------

    void Add(bool companion, uint32_t type, int16_t id, const std::string& name, Bytes bytes, int line)
    {
        out_.resources.push_back({companion, type, id, name, std::move(bytes), line});
    }
    void Object(const Ref& r) { out_.manifest.push_back("object\t" + r.Text()); }
    void Link(const Ref& from, const Ref& to) { out_.manifest.push_back("link\t" + from.Text() + "\t" + to.Text()); }
    void Member(const Ref& group, const Ref& member) { out_.manifest.push_back("member\t" + group.Text() + "\t" + member.Text()); }
    void Doc(uint32_t type, int16_t id, const std::optional<std::string>& text, int16_t state, int line)
    {
        if (text) Add(false, type, id, "", Documentation(*text, state), line);
    }

    // --- tables -----------------------------------------------------------

    struct FieldPath {
        const TableSpec* top = nullptr;
        int16_t tableNumber = 0;
        std::vector<int16_t> numbers;  // from the top table down; the last is the field's own
        const FieldSpec* field = nullptr;
        const TableSpec* owner = nullptr;
    };

    FieldPath Resolve(const std::vector<std::string>& path, int line, const char* what)
    {
        FieldPath p;
        auto t = tables_.find(path[0]);
        if (t == tables_.end()) Refuse(line, std::string(what) + " names a missing table '" + path[0] + "'");
        p.top = p.owner = t->second;
        p.tableNumber = int16_t(TableNumber(t->second));
        const TableSpec* in = t->second;
        for (size_t i = 1; i < path.size(); ++i) {
            const FieldSpec* found = nullptr;
            int16_t number = 0;
            for (size_t k = 0; k < in->fields.size(); ++k)
                if (in->fields[k].name == path[i]) {
                    found = &in->fields[k];
                    number = int16_t(k + 1);
                }
            if (!found) Refuse(line, std::string(what) + " names a missing field '" + path[i] + "'");
            p.numbers.push_back(number);
            if (i + 1 < path.size()) {
                if (!found->subtable) Refuse(line, std::string(what) + ": '" + path[i] + "' is not a subtable");
                in = found->subtable.get();
            } else {
                p.field = found;
                p.owner = in;
            }
        }
        return p;
    }

    int TableNumber(const TableSpec* t) const
    {
        for (size_t i = 0; i < d_.tables.size(); ++i)
            if (&d_.tables[i] == t) return int(i + 1);
        return -1;
    }

    Ref TableRef(const TableSpec& t, const std::string& owner) const { return {owner.empty() ? 1 : 29, Id(&t), t.name, owner}; }

    void Relations(const TableSpec& t)
    {
        for (const FieldSpec& f : t.fields) {
            if (f.subtable) Relations(*f.subtable);
            if (f.relation.empty()) continue;
            FieldPath p = Resolve(f.relation, f.src.line, "the relation");
            if (p.field->subtable) Refuse(f.src.line, "a relation names a field, not a subtable");
            relationTargets_.insert(p.field);
        }
    }

    void Tables()
    {
        for (const TableSpec& t : d_.tables) Relations(t);
        std::vector<int16_t> ids;
        ByteWriter names;
        for (const TableSpec& t : d_.tables) {
            ids.push_back(Id(&t));
            names.FixedPString(t.name, 32);
        }
        Add(false, FourCC("PRQz"), 0, "", ParameterRecord(d_.level, ids), 1);
        Bytes wnqz = names.Take();
        if (wnqz.empty()) wnqz = {0, 0};
        Add(false, FourCC("WNQz"), 0, "", std::move(wnqz), 1);
        for (size_t i = 0; i < d_.tables.size(); ++i) Table(d_.tables[i], int16_t(i + 1), "", int(i));
    }

    void Table(const TableSpec& t, int16_t number, const std::string& owner, int place)
    {
        const int16_t id = Id(&t);
        const Ref self = TableRef(t, owner);
        const std::string qualified = owner.empty() ? t.name : owner + "." + t.name;
        Object(self);
        ByteWriter w;
        w.U16(uint16_t(t.fields.size()));
        w.U16(t.method ? uint16_t(Id(&*t.method)) : 0);
        w.U16(t.forms.empty() ? 0xFFFF : uint16_t(id));
        w.U16(uint16_t(number));
        bool numeric = false;
        for (const FieldSpec& f : t.fields) numeric = numeric || f.type == 2 || f.type == 3;
        w.U8(numeric ? 1 : 0);
        w.Zeros(5);
        if (owner.empty()) {
            const int16_t x = int16_t(20 + 80 * (place % 10)), y = int16_t(20 + 130 * (place / 10));
            w.U16(uint16_t(y)), w.U16(uint16_t(x)), w.U16(uint16_t(y + 100)), w.U16(uint16_t(x + 50));
        } else {
            w.Zeros(8);
        }
        w.Zeros(8);
        for (size_t k = 0; k < t.fields.size(); ++k) {
            const FieldSpec& f = t.fields[k];
            const int16_t fieldNumber = int16_t(k + 1);
            w.FixedPString(f.name, 32);
            if (f.subtable) {
                w.U8(7), w.U8(0), w.U16(0), w.Zeros(4);
                w.U16(0), w.U16(0), w.U16(0xFFFF), w.U16(0xFFFF);
                w.U16(uint16_t(Id(f.subtable.get())));
                w.U16(0);
                w.Zeros(8);
                w.U16(0x4000), w.U16(0), w.U16(0);
                Table(*f.subtable, -1, qualified, 0);
                Member(self, TableRef(*f.subtable, qualified));
                continue;
            }
            const Ref fieldRef{28, fieldNumber, f.name, qualified};
            Object(fieldRef);
            Member(self, fieldRef);
            uint8_t attributes = f.attributes;
            FieldPath rel;
            if (!f.relation.empty()) {
                rel = Resolve(f.relation, f.src.line, "the relation");
                attributes |= 0x82;
                Link(self, {28, rel.numbers.back(), rel.field->name, QualifiedOwner(rel)});
                Link(self, TopRef(rel));
                Link(fieldRef, {28, rel.numbers.back(), rel.field->name, QualifiedOwner(rel)});
            }
            if (relationTargets_.count(&f)) attributes |= 0x82;
            int16_t listId = -1;
            if (!f.list.empty()) {
                auto l = lists_.find(f.list);
                if (l == lists_.end()) Refuse(f.src.line, "the field names a missing choice list '" + f.list + "'");
                listId = Id(l->second);
                const Ref listRef{4, listId, f.list, ""};
                Link(fieldRef, listRef);
                Link(self, listRef);
            }
            w.U8(f.type), w.U8(0), w.U16(uint16_t(f.length)), w.U16(0), w.U16(0);
            w.U16(rel.field ? uint16_t(rel.tableNumber) : 0);
            w.U16(rel.field ? uint16_t(rel.numbers.back()) : 0);
            w.U16(0xFFFF);
            w.U16(uint16_t(listId));
            w.U8(attributes), w.U8(0x60);
            const size_t depth = rel.field ? rel.numbers.size() - 1 : 0;
            if (depth > 4) Refuse(f.src.line, "a relation reaches at most four subtable levels down");
            w.U16(uint16_t(depth));
            for (size_t i = 0; i < 4; ++i) w.U16(i < depth ? uint16_t(rel.numbers[i]) : 0);
            w.U16(0x4000), w.U16(0), w.U16(0);
            if (f.balloon) {
                const uint32_t type = (uint32_t('F') << 24) | (uint32_t('i') << 16) | uint16_t(id);
                Bytes text{0};
                text.insert(text.end(), f.balloon->begin(), f.balloon->end());
                Add(false, type, fieldNumber, "", std::move(text), f.src.line);
                const Ref balloon{30, -1, f.name, qualified};
                Object(balloon);
                Link(fieldRef, balloon);
            }
            const uint32_t docType = (uint32_t('H') << 24) | (uint32_t('E') << 16) | uint16_t(id);
            Doc(docType, fieldNumber, f.doc, f.docState, f.src.line);
        }
        Add(false, FourCC("FIQz"), id, "", w.Take(), t.src.line);
        Doc(FourCC("FIHE"), id, t.doc, t.docState, t.src.line);
        if (t.method) {
            const Ref m{26, Id(&*t.method), "", qualified};
            Object(m);
            Link(self, m);
            Method(*t.method, m, &t);
        }
        if (!t.forms.empty()) Forms(t, id, qualified);
    }

    std::string QualifiedOwner(const FieldPath& p) const
    {
        std::string s = p.top->name;
        const TableSpec* in = p.top;
        for (size_t i = 0; i + 1 < p.numbers.size(); ++i) {
            in = in->fields[size_t(p.numbers[i] - 1)].subtable.get();
            s += "." + in->name;
        }
        return s;
    }
    Ref TopRef(const FieldPath& p) const { return {1, Id(p.top), p.top->name, ""}; }

    void Forms(const TableSpec& t, int16_t tfqzId, const std::string& qualified)
    {
        ByteWriter w;
        w.U16(uint16_t(t.forms.size()));
        w.U16(0), w.U16(0);
        for (const FormSpec& f : t.forms) {
            const int16_t formId = Id(&f);
            const Ref form{24, formId, f.name, qualified};
            const std::string formQualified = qualified + "." + f.name;
            Object(form);
            const size_t at = w.Size();
            w.FixedPString(f.name, 32);
            w.U16(uint16_t(formId));
            w.U16(uint16_t(f.menubar));
            w.Zeros(4);
            w.U16(f.method ? uint16_t(Id(&*f.method)) : 0);
            w.Zeros(270 - (w.Size() - at));
            if (f.menubar) {
                const size_t slot = size_t(f.menubar < 0 ? -f.menubar : f.menubar);
                if (slot > d_.menuBars.size()) Refuse(f.src.line, "the form names menu bar " + std::to_string(slot) + ", which does not exist");
                const MenuBarSpec& b = d_.menuBars[slot - 1];
                if (b.freeSlot) Refuse(f.src.line, "the form names menu bar slot " + std::to_string(slot) + ", which is free");
                Link(form, {5, Id(&b), b.name, ""});
            }
            if (f.method) {
                const Ref m{27, Id(&*f.method), f.name, formQualified};
                Object(m);
                Link(form, m);
                Method(*f.method, m, &t);
            }
            FormContext context;
            context.table = &t;
            context.tableNumber = int16_t(TableNumber(&t));
            for (const FormItemSpec& it : f.items) FormItem(it, form, formQualified, context);
            Add(false, FourCC("FOQz"), formId, "", FlatForm(context.records), f.src.line);
            Doc(FourCC("FOHE"), formId, f.doc, f.docState, f.src.line);
        }
        Add(false, FourCC("TFQz"), tfqzId, "", w.Take(), t.src.line);
    }

    void FormItem(const FormItemSpec& it, const Ref& form, const std::string& formQualified, FormContext& context)
    {
        FormRecord r;
        r.kind = it.kind;
        r.text = it.text;
        r.name = it.name;
        r.interprocess = it.interprocess;
        r.objectKind = it.objectKind;
        r.balloon = it.balloon;
        r.tableNumber = context.tableNumber;
        if (it.kind == FormItemSpec::Field) {
            const TableSpec& t = *context.table;
            for (size_t k = 0; k < t.fields.size(); ++k)
                if (t.fields[k].name == it.name && !t.fields[k].subtable) r.fieldNumber = int16_t(k + 1);
            if (!r.fieldNumber) Refuse(it.src.line, "the form names a missing field '" + it.name + "'");
            Link(form, {28, r.fieldNumber, it.name, t.name});
        }
        if (it.kind == FormItemSpec::Variable) {
            const Ref variable{9, it.interprocess ? 2 : 1, it.name, ""};
            if (madeByTokens_.insert(variable.Text()).second) Object(variable);
            Link(form, variable);
        }
        if (it.balloon) {
            const BalloonSpec* b = nullptr;
            for (const BalloonSpec& x : d_.balloons)
                if (Id(&x) == it.balloon) b = &x;
            if (!b) Refuse(it.src.line, "the form names a missing balloon " + std::to_string(it.balloon));
            Link(form, {10, it.balloon, b->name, ""});
        }
        if (!it.list.empty()) {
            auto l = lists_.find(it.list);
            if (l == lists_.end()) Refuse(it.src.line, "the form names a missing choice list '" + it.list + "'");
            r.listId = Id(l->second);
            Link(form, {4, r.listId, it.list, ""});
        }
        if (it.method) {
            r.methodId = Id(&*it.method);
            const Ref m{25, r.methodId, it.name, formQualified};
            Object(m);
            Link(form, m);
            Method(*it.method, m, context.table);
        }
        if (it.kind == FormItemSpec::Subform) {
            auto t = tables_.find(it.name);
            if (t == tables_.end()) Refuse(it.src.line, "the subform names a missing table '" + it.name + "'");
            const FormSpec* found = nullptr;
            for (const FormSpec& f : t->second->forms)
                if (f.name == it.text) found = &f;
            if (!found) Refuse(it.src.line, "the subform names a missing form '" + it.text + "'");
            r.subformTable = int16_t(TableNumber(t->second));
            Link(form, {24, Id(found), found->name, t->second->name});
        }
        context.records.push_back(std::move(r));
    }

    // --- methods ----------------------------------------------------------

    void Method(const MethodSpec& m, const Ref& self, const TableSpec* defaultTable)
    {
        (void)defaultTable;
        std::vector<Bytes> lines;
        std::set<std::string> linked;
        // Commands, variables and constants exist only through the methods
        // that name them: the first mention makes the object.
        auto link = [&](const Ref& to) {
            if ((to.kind == 3 || to.kind == 9 || to.kind == 17) && madeByTokens_.insert(to.Text()).second) Object(to);
            if (linked.insert(to.Text()).second) Link(self, to);
        };
        for (const auto& line : m.lines) {
            Bytes tokens;
            for (const TokenSpec& t : line) {
                int16_t tableNumber = 0;
                std::vector<int16_t> path;
                switch (t.kind) {
                case 1: link({3, int32_t(t.number), "", ""}); break;
                case 3: {
                    FieldPath p = Resolve(t.path, t.src.line, "the field reference");
                    tableNumber = p.tableNumber;
                    path = p.numbers;
                    link({p.field->subtable ? 29 : 28, p.field->subtable ? Id(p.field->subtable.get()) : p.numbers.back(),
                          p.field->name, QualifiedOwner(p)});
                    break;
                }
                case 9: link({9, 1, t.text, ""}); break;
                case 35: link({9, 2, t.text, ""}); break;
                case 26: link({9, self.id, t.text, self.owner.empty() ? self.name : self.owner + "/" + self.name}); break;
                case 11: {
                    auto callee = methods_.find(t.text);
                    if (callee == methods_.end()) Refuse(t.src.line, "the method calls a missing method '" + t.text + "'");
                    link({2, Id(callee->second), t.text, ""});
                    break;
                }
                case 36: {
                    const ConstantsSpec* k = nullptr;
                    for (const ConstantsSpec& x : d_.constants)
                        if (Id(&x) == t.number) k = &x;
                    if (!k || t.number2 > int64_t(k->items.size()))
                        Refuse(t.src.line, "the constant names a missing entry of constant list " + std::to_string(t.number));
                    const std::string& item = k->items[size_t(t.number2 - 1)];
                    link({17, 0, item.substr(0, item.find(':')), ""});
                    break;
                }
                default: break;
                }
                Bytes b = TokenBytes(t, tableNumber, path);
                tokens.insert(tokens.end(), b.begin(), b.end());
            }
            if (tokens.size() > 32000) Refuse(m.src.line, "a method line holds at most 32,000 token bytes");
            lines.push_back(std::move(tokens));
        }
        if (lines.size() > 32767) Refuse(m.src.line, "a method holds at most 32,767 lines");
        Add(false, FourCC("CCQz"), int16_t(self.id), "", MethodBlob(lines), m.src.line);
        Doc(FourCC("CCHE"), int16_t(self.id), m.doc, m.docState, m.src.line);
    }

    void ProjectMethods()
    {
        ByteWriter tpqz;
        for (const MethodSpec& m : d_.methods) {
            const Ref self{2, Id(&m), m.name, ""};
            Object(self);
            tpqz.Append(ProjectMethodRecord(m.name, Id(&m), m.attributes));
        }
        for (const MethodSpec& m : d_.methods) Method(m, {2, Id(&m), m.name, ""}, nullptr);
        Bytes bytes = tpqz.Take();
        if (bytes.empty()) bytes = {0, 0};
        Add(false, FourCC("TPQz"), 0, "", std::move(bytes), 1);
        if (!d_.dbMethods.empty()) {
            int16_t slots = 0;
            for (const MethodSpec& m : d_.dbMethods) slots = std::max<int16_t>(slots, int16_t(m.slot + 1));
            std::vector<int16_t> dbpr(size_t(slots), 0);
            for (const MethodSpec& m : d_.dbMethods) {
                dbpr[size_t(m.slot)] = Id(&m);
                const Ref self{16, Id(&m), "", ""};
                Object(self);
                Method(m, self, nullptr);
            }
            ByteWriter w;
            for (int16_t id : dbpr) w.U16(uint16_t(id));
            Add(false, FourCC("DBPR"), 0, "", w.Take(), d_.dbMethods[0].src.line);
        }
    }

    // --- menus ------------------------------------------------------------

    void MenuBars()
    {
        ByteWriter liba;
        liba.U16(uint16_t(d_.menuBars.size()));
        for (const MenuBarSpec& b : d_.menuBars) {
            const int16_t id = Id(&b);
            liba.U16(uint16_t(id));
            if (b.freeSlot) continue;
            const Ref self{5, id, b.name, ""};
            Object(self);
            // Menu k's id sits at 6k + 6, consecutive menus 6 bytes apart.
            Bytes bar(6 * b.menus.size() + 8, 0);
            bar[0] = uint8_t(b.menus.size() >> 8);
            bar[1] = uint8_t(b.menus.size());
            for (size_t k = 1; k <= b.menus.size(); ++k) {
                const std::string& title = b.menus[k - 1];
                auto m = menus_.find(title);
                if (m == menus_.end()) Refuse(b.src.line, "the menu bar names a missing menu '" + title + "'");
                const int16_t menuId = Id(m->second);
                bar[6 * k + 6] = uint8_t(uint16_t(menuId) >> 8);
                bar[6 * k + 7] = uint8_t(menuId);
                Link(self, {6, menuId, title, ""});
            }
            Add(false, FourCC("BAQz"), id, b.name, std::move(bar), b.src.line);
            Doc(FourCC("BAHE"), id, b.doc, b.docState, b.src.line);
        }
        Add(false, FourCC("LIBA"), 0, "", liba.Take(), 1);
        for (const MenuSpec& m : d_.menus) {
            const int16_t id = Id(&m);
            const Ref self{6, id, m.title, ""};
            Object(self);
            ByteWriter w;
            w.U16(uint16_t(m.items.size()));
            w.FixedPString(m.title, 16);
            w.Zeros(6);
            for (const MenuItemSpec& it : m.items) {
                w.FixedPString(it.text, 32);
                w.FixedPString(it.method, 32);
                if (!it.method.empty()) {
                    auto target = methods_.find(it.method);
                    if (target == methods_.end()) Refuse(it.src.line, "the item names a missing method '" + it.method + "'");
                    Link(self, {2, Id(target->second), it.method, ""});
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
                    Link(self, {18, picture, it.picture, ""});
                }
                w.U32(uint32_t(picture));
                int16_t list = 0, index = 0;
                if (ParseStringRef(it.text, &list, &index)) Link(self, StringListRef(list, it.src.line));
            }
            if (ParseStringRef(m.title, nullptr, nullptr)) {
                int16_t list = 0, index = 0;
                ParseStringRef(m.title, &list, &index);
                Link(self, StringListRef(list, m.src.line));
            }
            Add(false, FourCC("MENQ"), id, "", w.Take(), m.src.line);
            Doc(FourCC("MEHE"), id, m.doc, m.docState, m.src.line);
        }
    }

    static bool ParseStringRef(const std::string& text, int16_t* list, int16_t* index)
    {
        if (text.size() < 4 || text[0] != ':') return false;
        const size_t comma = text.find(',');
        if (comma == std::string::npos || comma + 1 >= text.size()) return false;
        if (list) *list = int16_t(std::atoi(text.substr(1, comma - 1).c_str()));
        if (index) *index = int16_t(std::atoi(text.substr(comma + 1).c_str()));
        return true;
    }

    Ref StringListRef(int16_t id, int line)
    {
        for (const StringListSpec& s : d_.stringLists)
            if (Id(&s) == id) return {11, id, s.name, ""};
        Refuse(line, "the text refers to a missing string list " + std::to_string(id));
    }

    // --- lists, balloons --------------------------------------------------

    ListItemOut ListItem(const ListItemSpec& it, const Ref& list)
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
        for (const ListItemSpec& c : it.children) o.children.push_back(ListItem(c, list));
        return o;
    }

    void Lists()
    {
        ByteWriter leqz;
        leqz.U16(uint16_t(d_.lists.size()));
        leqz.U32(0);
        for (const ChoiceListSpec& l : d_.lists) {
            const int16_t id = Id(&l);
            leqz.FixedPString(l.name, 32);
            leqz.U16(uint16_t(id));
            const Ref self{4, id, l.name, ""};
            Object(self);
            if (l.old) {
                ByteWriter e;
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

    void Balloons()
    {
        ByteWriter lihe;
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

    // --- users ------------------------------------------------------------

    void Passwords()
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
        Add(false, FourCC("PAQz"), 0, "", PasswordTable(users, groups, d_.oldPasswords), 1);
        Add(false, FourCC("PAQz"), 1, "", PasswordTable({}, {}, d_.oldPasswords), 1);
    }

    // --- small kinds --------------------------------------------------------

    void StringLists()
    {
        for (const StringListSpec& s : d_.stringLists) {
            Object({11, Id(&s), s.name, ""});
            Add(true, FourCC("STR#"), Id(&s), s.name, StringList(s.strings), s.src.line);
        }
    }

    void Styles()
    {
        if (d_.styles.empty()) return;
        ByteWriter w;
        w.U16(uint16_t(d_.styles.size()));
        for (size_t i = 0; i < d_.styles.size(); ++i) {
            w.FixedPString(d_.styles[i].name, 32);
            w.FixedPString(d_.styles[i].description, 81);
            w.U8(0);
            Object({12, int32_t(i + 1), d_.styles[i].name, ""});
        }
        Add(false, FourCC("STQz"), 0, "", w.Take(), d_.styles[0].src.line);
    }

    void Pictures()
    {
        if (d_.pictures.empty()) return;
        ByteWriter table;
        table.U16(uint16_t(d_.pictures.size()));
        for (const PictureSpec& p : d_.pictures) {
            table.FixedPString(p.name, 32);
            table.U16(uint16_t(Id(&p)));
            Object({18, Id(&p), p.name, ""});
            Add(false, FourCC("PICT"), Id(&p), "", Picture(p.width, p.height), p.src.line);
        }
        Add(false, FourCC("PIC#"), 128, "", table.Take(), d_.pictures[0].src.line);
    }

    void StyleSheets()
    {
        if (d_.styleSheets.empty()) return;
        ByteWriter w;
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

    // --- groups and components ----------------------------------------------

    const TableSpec* FindTable(const std::string& name, int line)
    {
        auto t = tables_.find(name);
        if (t == tables_.end()) Refuse(line, "the group names a missing table '" + name + "'");
        return t->second;
    }
    const FormSpec* FindForm(const TableSpec* t, const std::string& name, int line)
    {
        for (const FormSpec& f : t->forms)
            if (f.name == name) return &f;
        Refuse(line, "the group names a missing form '" + name + "'");
    }

    template <class Map>
    int16_t Named(Map& map, const MemberSpec& m)
    {
        auto it = map.find(m.name);
        if (it == map.end()) Refuse(m.src.line, "the group names a missing " + m.kind + " '" + m.name + "'");
        return Id(it->second);
    }

    // The words of one member entry and the manifest's name of the member.
    std::vector<int16_t> MemberEntry(const MemberSpec& m, Ref* ref)
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

    Bytes MemberList(const std::vector<MemberSpec>& members, const Ref& self)
    {
        ByteWriter w;
        if (!d_.oldMemberLists) w.U16(254);
        for (const MemberSpec& m : members) {
            Ref ref;
            for (int16_t word : MemberEntry(m, &ref)) w.U16(uint16_t(word));
            Member(self, ref);
        }
        w.U16(0xFFFF);
        return w.Take();
    }

    void Groups()
    {
        const bool companion = d_.groupsInCompanion;
        for (const GroupSpec& g : d_.groups) {
            const Ref self{23, Id(&g), g.name, ""};
            Object(self);
            Add(companion, FourCC("#GRP"), Id(&g), g.name, MemberList(g.members, self), g.src.line);
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
            p.componentDocument = d_.library && k.generated;
            ByteWriter w;
            if (!d_.oldMemberLists) w.U16(254);
            for (int f = 0; f < 3; ++f) {
                const GroupSpec& folder = k.folders[f];
                p.folders[f] = Id(&folder);
                w.U16(33), w.U16(uint16_t(Id(&folder)));
                const Ref folderRef{33, Id(&folder), folder.name, ""};
                Object(folderRef);
                Member(self, folderRef);
                Add(companion, FourCC("#GMO"), Id(&folder), folder.name, MemberList(folder.members, folderRef), folder.src.line);
            }
            w.U16(0xFFFF);
            Add(companion, FourCC("#MOD"), Id(&k), k.name, w.Take(), k.src.line);
            Add(false, FourCC("moQz"), Id(&k), k.name, ComponentRecord(p), k.src.line);
            if (!k.codes.empty()) Add(false, FourCC("cdQz"), Id(&k), "", NameCodeTable(k.codes), k.src.line);
        }
    }

    // --- constants, plug-ins, compilation, raw ------------------------------

    void Constants()
    {
        for (const ConstantsSpec& k : d_.constants) Add(false, FourCC("QzK#"), Id(&k), k.name, StringList(k.items), k.src.line);
    }

    static std::string RoutineName(const std::string& text)
    {
        std::string s = text.substr(0, text.find('('));
        return s.substr(0, s.find(':'));
    }

    void Plugins()
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
    }

    void Compiled()
    {
        if (d_.compiled) Add(false, FourCC("VART"), 0, "", {0, 0, 0, 0}, 1);
        for (int32_t id : d_.compiledCode) Add(false, FourCC("MPPC"), int16_t(id), "", {0, 0, 0, 0}, 1);
        if (d_.dirty) {
            const uint32_t v = uint32_t(*d_.dirty);
            Add(false, FourCC("QzQz"), 2, "", {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}, 1);
        }
    }

    void Raws()
    {
        for (const RawSpec& r : d_.raws) Add(r.companion, r.type, int16_t(r.id), r.name, r.bytes, r.src.line);
    }

    void Companion()
    {
        Add(true, FourCC("INQz"), 0, "", {uint8_t(uint16_t(d_.version) >> 8), uint8_t(d_.version)}, 1);
        for (int32_t i = 1; i <= d_.fillers; ++i)
            Add(true, FourCC("FILL"), int16_t(i), "", {uint8_t(i >> 8), uint8_t(i)}, 1);
        static const uint32_t kNotListed[] = {FourCC("QzQz"), FourCC("#GRP"), FourCC("#GMO"), FourCC("#MOD"),
                                              FourCC("moQz"), FourCC("INQz")};
        for (const ResourceOut& r : out_.resources) {
            if (!r.companion || std::count(std::begin(kNotListed), std::end(kNotListed), r.type)) continue;
            const char type[5] = {char(r.type >> 24), char(r.type >> 16), char(r.type >> 8), char(r.type), 0};
            Object({20, r.id, type, ""});
        }
    }

    void CheckUnique()
    {
        std::set<std::tuple<bool, uint32_t, int16_t>> seen;
        for (const ResourceOut& r : out_.resources)
            if (!seen.insert({r.companion, r.type, r.id}).second) {
                const char type[5] = {char(r.type >> 24), char(r.type >> 16), char(r.type >> 8), char(r.type), 0};
                Refuse(r.line, std::string("id ") + std::to_string(r.id) + " of '" + type + "' is used twice");
            }
    }

    const DocumentSpec& d_;
    LaidOut out_;
    std::map<const void*, int16_t> ids_;
    std::map<const PackageSpec*, int16_t> packageLists_;
    IdSpace fiqz_, ccqz_, foqz_, baqz_, menq_, list_, heqz_, str_, pict_, stlx_, grp_, qzk_, qzpx_, qzex_;
    std::map<std::string, const TableSpec*> tables_;
    std::map<std::string, const MethodSpec*> methods_;
    std::map<std::string, const MenuBarSpec*> menuBars_;
    std::map<std::string, const MenuSpec*> menus_;
    std::map<std::string, const ChoiceListSpec*> lists_;
    std::map<std::string, const BalloonSpec*> balloons_;
    std::map<std::string, const StringListSpec*> strings_;
    std::map<std::string, const StyleSpec*> styles_;
    std::map<std::string, const PictureSpec*> pictures_;
    std::map<std::string, const StyleSheetSpec*> styleSheets_;
    std::map<std::string, const GroupSpec*> groups_;
    std::map<std::string, const PackageSpec*> packages_;
    std::map<std::string, const RoutineSpec*> routines_;
    std::map<std::string, const UserSpec*> users_;
    std::map<std::string, const UserGroupSpec*> userGroups_;
    std::set<const FieldSpec*> relationTargets_;
    std::set<std::string> madeByTokens_;
};

}  // namespace

std::optional<LaidOut> LayOut(const DocumentSpec& doc, BuildError* error)
{
    try {
        return Builder(doc).Run();
    } catch (const Refusal& r) {
        if (error) *error = {doc.fileName, r.line, r.message};
        return std::nullopt;
    }
}

}  // namespace docbuilder
