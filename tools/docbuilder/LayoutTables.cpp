// Tables, their fields and subtables, forms and form objects.
#include "tools/docbuilder/LayoutBuilder.h"

#include <map>
#include <set>

#include "kernel/fields/FieldTypes.h"

namespace docbuilder::layout {

Builder::FieldPath Builder::Resolve(const std::vector<std::string>& path, int line, const char* what)
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

int Builder::TableNumber(const TableSpec* t) const
{
    for (size_t i = 0; i < d_.tables.size(); ++i)
        if (&d_.tables[i] == t) return int(i + 1);
    return -1;
}

void Builder::Relations(const TableSpec& t)
{
    for (const FieldSpec& f : t.fields) {
        if (f.subtable) Relations(*f.subtable);
        if (f.relation.empty()) continue;
        FieldPath p = Resolve(f.relation, f.src.line, "the relation");
        if (p.field->subtable) Refuse(f.src.line, "a relation names a field, not a subtable");
        relationTargets_.insert(p.field);
    }
}

void Builder::Tables()
{
    for (const TableSpec& t : d_.tables) Relations(t);
    std::vector<int16_t> ids;
    ByteWriter names;
    for (const TableSpec& t : d_.tables) {
        ids.push_back(Id(&t));
        names.FixedPString(t.name, 32);
    }
    int16_t designGroup = 0;
    if (!d_.designGroup.empty()) {
        for (size_t i = 0; i < d_.userGroups.size() && !designGroup; ++i)
            if (d_.userGroups[i].name == d_.designGroup) designGroup = int16_t(i + 1);
        if (!designGroup) Refuse(d_.designGroupLine, "the design group names a missing user group '" + d_.designGroup + "'");
    }
    Add(false, FourCC("PRQz"), 0, "", ParameterRecord(d_.level, ids, order_, designGroup, d_.defaultUser), 1);
    Bytes wnqz = names.Take();
    if (wnqz.empty()) wnqz = {0, 0};
    Add(false, FourCC("WNQz"), 0, "", std::move(wnqz), 1);
    for (size_t i = 0; i < d_.tables.size(); ++i) Table(d_.tables[i], int16_t(i + 1), "", int(i));
}

void Builder::Table(const TableSpec& t, int16_t number, const std::string& owner, int place)
{
    const int16_t id = Id(&t);
    const Ref self = TableRef(t, owner);
    const std::string qualified = owner.empty() ? t.name : owner + "." + t.name;
    Object(self);
    ByteWriter w(order_);
    w.U16(uint16_t(t.fields.size()));
    w.U16(t.method ? uint16_t(Id(&*t.method)) : 0);
    w.U16(t.forms.empty() ? 0xFFFF : uint16_t(id));
    w.U16(uint16_t(number));
    bool marked = false;
    for (const FieldSpec& f : t.fields) marked = marked || fieldtype::MarksTableHeader(f.type);
    w.U8(marked ? 1 : 0);
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
            // The type word: the type in its high byte.
            w.U16(7 << 8), w.U16(0), w.Zeros(4);
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
        w.U16(uint16_t(f.type << 8)), w.U16(uint16_t(f.length)), w.U16(0), w.U16(0);
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
        Doc(docType, fieldNumber, f.doc, f.docState, f.docRuns, f.src.line);
    }
    Add(false, FourCC("FIQz"), id, "", w.Take(), t.src.line);
    Doc(FourCC("FIHE"), id, t.doc, t.docState, t.docRuns, t.src.line);
    if (t.method) {
        const Ref m{26, Id(&*t.method), "", qualified};
        Object(m);
        Link(self, m);
        Method(*t.method, m);
    }
    if (!t.forms.empty()) Forms(t, id, qualified);
}

std::string Builder::QualifiedOwner(const FieldPath& p) const
{
    std::string s = p.top->name;
    const TableSpec* in = p.top;
    for (size_t i = 0; i + 1 < p.numbers.size(); ++i) {
        in = in->fields[size_t(p.numbers[i] - 1)].subtable.get();
        s += "." + in->name;
    }
    return s;
}

void Builder::Forms(const TableSpec& t, int16_t tfqzId, const std::string& qualified)
{
    ByteWriter w(order_);
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
            Method(*f.method, m);
        }
        if ((f.iff || d_.formsIff) && !f.flat) {
            Add(false, FourCC("FOQz"), formId, "", IffFormBytes(f, t, form, formQualified), f.src.line);
        } else {
            FormContext context;
            context.table = &t;
            context.tableNumber = int16_t(TableNumber(&t));
            if (f.chunkOnlyLine)
                Refuse(f.chunkOnlyLine, "this is written in a form stored as a chunk file ('form NAME iff')");
            if (f.oneList && f.pageLine) Refuse(f.pageLine, "a flat form of one list ('flat list') has no pages");
            for (const FormItemSpec& it : f.items) FormItem(it, form, formQualified, context);
            // How many objects each page holds, for the readers to check.
            std::map<int16_t, size_t> counts{{1, 0}};
            for (const FormRecord& r : context.records) ++counts[r.page];
            for (const auto& [page, n] : counts)
                out_.manifest.push_back("objects\t" + formQualified + "\t" + std::to_string(page) + "\t" +
                                        std::to_string(n));
            Add(false, FourCC("FOQz"), formId, "", FlatForm(context.records, order_, f.oneList), f.src.line);
        }
        Doc(FourCC("FOHE"), formId, f.doc, f.docState, f.docRuns, f.src.line);
    }
    Add(false, FourCC("TFQz"), tfqzId, "", w.Take(), t.src.line);
}

void Builder::FormItem(const FormItemSpec& it, const Ref& form, const std::string& formQualified, FormContext& context)
{
    FormRecord r;
    r.kind = it.kind;
    r.text = it.text;
    r.name = it.name;
    r.interprocess = it.interprocess;
    r.objectKind = it.objectKind;
    r.balloon = it.balloon;
    r.tableNumber = context.tableNumber;
    r.page = it.page < 1 ? 1 : it.page;
    if (it.kind == FormItemSpec::Field) {
        const TableSpec& t = *context.table;
        for (size_t k = 0; k < t.fields.size(); ++k)
            if (t.fields[k].name == it.name && !t.fields[k].subtable) r.fieldNumber = int16_t(k + 1);
        if (!r.fieldNumber) Refuse(it.src.line, "the form names a missing field '" + it.name + "'");
        Link(form, {28, r.fieldNumber, it.name, t.name});
    }
    if (it.kind == FormItemSpec::Variable) {
        if (it.name.size() > 11) Refuse(it.src.line, "a form variable's name holds at most 11 characters");
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
        Method(*it.method, m);
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

}  // namespace docbuilder::layout
