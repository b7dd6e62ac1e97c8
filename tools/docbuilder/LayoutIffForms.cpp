// Forms stored as chunk files: their objects laid out page by page, and
// the links a reader records from them listed in the manifest: fields,
// variables, object methods, balloons, choice lists, styles, style sheets,
// pictures, string lists, subforms with their tables, the inherited form,
// and the references of static texts.
#include "tools/docbuilder/LayoutBuilder.h"

#include <algorithm>
#include <functional>

namespace docbuilder::layout {
namespace {

// The mark that makes a display format name a style (the application's
// list 1019, item 5).
constexpr char kStyleMark = char(0xA5);
constexpr uint8_t kInterprocessMark = 0xD7;
// A static text this short may be a ":ID,INDEX" reference.
constexpr size_t kStrRefLimit = 11;

bool AllDigits(const std::string& s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// ":" digits "," digits, anything after.
bool StrRef(const std::string& text, int16_t* list)
{
    if (text.size() < 4 || text[0] != ':') return false;
    const size_t comma = text.find(',');
    if (comma == std::string::npos || !AllDigits(text.substr(1, comma - 1)) || comma + 1 >= text.size() ||
        text[comma + 1] < '0' || text[comma + 1] > '9' || comma > 6)
        return false;
    *list = int16_t(std::stol(text.substr(1, comma - 1)));
    return std::stol(text.substr(1, comma - 1)) <= 32767;
}

// Part `n` (1 to 4) of a title cut at ";".
std::string TitlePart(const std::string& title, int n)
{
    size_t from = 0;
    for (int k = 1; k < n; ++k) {
        const size_t at = title.find(';', from);
        from = at == std::string::npos ? title.size() : at + 1;
    }
    const size_t at = title.find(';', from);
    return title.substr(from, at == std::string::npos ? std::string::npos : at - from);
}

}  // namespace

std::optional<Ref> Builder::FieldRef(const TableSpec& t, size_t index) const
{
    if (index >= t.fields.size()) return std::nullopt;
    const FieldSpec& f = t.fields[index];
    const TableSpec* top = nullptr;
    for (const TableSpec& x : d_.tables)
        if (&x == &t) top = &x;
    const std::string owner = top ? t.name : "";
    if (!top) return std::nullopt;  // fields of subtables are not named from forms here
    if (f.subtable) return TableRef(*f.subtable, owner);
    return Ref{28, int32_t(index + 1), f.name, owner};
}

std::optional<Ref> Builder::PictureRef(int32_t id) const
{
    for (const PictureSpec& p : d_.pictures)
        if (Id(&p) == id) return Ref{18, id, p.name, ""};
    return std::nullopt;
}

void Builder::IffTextLinks(const std::string& text, const Ref& form, const TableSpec& t, int line)
{
    if (text.size() < kStrRefLimit)
        if (int16_t list = 0; StrRef(text, &list)) Link(form, StringListRef(list, line));
    if (text.empty() || text[0] != '<') return;
    for (size_t at = 0; at < text.size();) {
        const size_t open = text.find('<', at);
        if (open == std::string::npos) break;
        int depth = 0;
        size_t close = open;
        for (; close < text.size(); ++close) {
            if (text[close] == '<') ++depth;
            else if (text[close] == '>' && --depth == 0) break;
        }
        if (close >= text.size()) break;
        const std::string ref = text.substr(open + 1, close - open - 1);
        at = close + 1;
        if (ref.empty()) continue;
        if (ref[0] != '?') {
            const auto first = uint8_t(ref[0]);
            const bool letter = (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z');
            if (ref.size() >= 32 || !(letter || first == '<' || first == '>' || first == kInterprocessMark || first == '$'))
                continue;
            const Ref variable{9, 1, ref, ""};
            if (madeByTokens_.insert(variable.Text()).second) Object(variable);
            Link(form, variable);
            continue;
        }
        std::string rest = ref.substr(1), table;
        const TableSpec* in = &t;
        if (!rest.empty() && rest[0] == '[') {
            const size_t end = rest.find(']');
            if (end == std::string::npos) continue;
            table = rest.substr(1, end - 1);
            rest = rest.substr(end + 1);
            if (table.empty() || table.size() >= 32) continue;
            in = nullptr;
            if (AllDigits(table)) {
                const long n = std::stol(table);
                if (n >= 1 && size_t(n) <= d_.tables.size()) in = &d_.tables[size_t(n - 1)];
            } else if (auto found = tables_.find(table); found != tables_.end()) {
                in = found->second;
            }
        }
        if (!in || rest.empty() || rest.size() >= 32) continue;
        std::optional<Ref> field;
        if (AllDigits(rest)) {
            const long n = std::stol(rest);
            if (n >= 1) field = FieldRef(*in, size_t(n - 1));
        } else {
            for (size_t k = 0; k < in->fields.size() && !field; ++k)
                if (in->fields[k].name == rest) field = FieldRef(*in, k);
        }
        if (field) Link(form, *field);
    }
}

void Builder::IffTitleLinks(const FormItemSpec& it, const Ref& form)
{
    const uint8_t kind = it.objectKind;
    if (kind == 2 || kind == 3 || kind == 4 || kind == 28) {
        if (int16_t list = 0; StrRef(it.text, &list)) Link(form, StringListRef(list, it.src.line));
        return;
    }
    if (kind == 11) {
        auto routine = routines_.find(it.text);
        auto package = packages_.find(it.text);
        if (routine != routines_.end()) Link(form, {8, Id(routine->second), it.text, ""});
        else if (package != packages_.end()) Link(form, {7, Id(package->second), "_" + it.text, ""});
        return;
    }
    if (kind != 17 && kind != 27 && (kind < 18 || kind > 20)) return;
    const std::string part = TitlePart(it.text, kind == 17 || kind == 27 ? 3 : 2);
    if (part.size() < 2 || part[0] != '?') return;
    size_t digits = 1;
    while (digits < part.size() && part[digits] >= '0' && part[digits] <= '9' && digits < 7) ++digits;
    if (digits == 1) return;
    if (auto picture = PictureRef(std::stoi(part.substr(1, digits - 1)))) Link(form, *picture);
}

void Builder::IffEditable(const FormItemSpec& it, const Ref& form, const std::string& formQualified,
                          const TableSpec& t, IffObject* o)
{
    std::optional<Ref> self;
    if (it.kind == FormItemSpec::Field) {
        for (size_t k = 0; k < t.fields.size() && !o->fieldNumber; ++k)
            if (t.fields[k].name == it.name && !t.fields[k].subtable) o->fieldNumber = int16_t(k + 1);
        if (!o->fieldNumber) Refuse(it.src.line, "the form names a missing field '" + it.name + "'");
        o->tableNumber = int16_t(TableNumber(&t));
        self = Ref{28, o->fieldNumber, it.name, t.name};
        Link(form, *self);
    } else {
        o->variable = it.name;
        o->interprocess = it.interprocess;
        o->subType = it.objectKind;
        o->format = it.text;
        o->bytes = it.bytes;
        self = Ref{9, it.interprocess ? 2 : 1, it.name, ""};
        if (madeByTokens_.insert(self->Text()).second) Object(*self);
        Link(form, *self);
        IffTitleLinks(it, form);
    }
    if (it.method) {
        o->methodId = Id(&*it.method);
        const std::string name = it.interprocess ? "<>" + it.name : it.name;
        const Ref m{25, o->methodId, name, formQualified};
        Object(m);
        Link(form, m);
        Method(*it.method, m);
    }
    if (!it.style.empty()) {
        int32_t number = 0;
        for (size_t i = 0; i < d_.styles.size() && !number; ++i)
            if (d_.styles[i].name == it.style) number = int32_t(i + 1);
        if (!number) Refuse(it.src.line, "the form names a missing style '" + it.style + "'");
        o->format = std::string(1, kStyleMark) + it.style;
        Link(form, {12, number, it.style, ""});
    }
    if (it.balloon) {
        const BalloonSpec* b = nullptr;
        for (const BalloonSpec& x : d_.balloons)
            if (Id(&x) == it.balloon) b = &x;
        if (!b) Refuse(it.src.line, "the form names a missing balloon " + std::to_string(it.balloon));
        o->tip = it.balloon;
        const Ref balloon{10, it.balloon, b->name, ""};
        Link(form, balloon);
        if (it.kind == FormItemSpec::Variable) Link(*self, balloon);
    }
    // The choice list, then the lists of required and excluded values.
    for (auto [name, id] : {std::pair{&it.list, &o->listId}, std::pair{&it.required, &o->requiredId},
                            std::pair{&it.excluded, &o->excludedId}}) {
        if (name->empty()) continue;
        auto l = lists_.find(*name);
        if (l == lists_.end()) Refuse(it.src.line, "the form names a missing choice list '" + *name + "'");
        *id = Id(l->second);
        const Ref list{4, *id, *name, ""};
        Link(form, list);
        Link(*self, list);
    }
    o->filter = it.filter;
    o->disabled = it.disabled;
}

void Builder::IffListBox(const FormItemSpec& it, const Ref& form, const std::string& formQualified, IffObject* o)
{
    o->listVariable = it.listVariable;
    o->interprocess = it.interprocess;
    // Each variable of the list box is a list box object among the
    // variables, and the method run for it an object method named after it.
    auto variable = [&](const std::string& name, bool interprocess, const std::optional<MethodSpec>& method) {
        const Ref self{21, interprocess ? 2 : 1, name, ""};
        if (madeByTokens_.insert(self.Text()).second) Object(self);
        Link(form, self);
        if (!method) return int16_t(0);
        const int16_t id = Id(&*method);
        const Ref m{25, id, interprocess ? "<>" + name : name, formQualified};
        Object(m);
        Link(form, m);
        Method(*method, m);
        return id;
    };
    o->methodId = variable(it.listVariable, it.interprocess, it.method);
    for (const ColumnSpec& c : it.listColumns) {
        IffColumn column;
        column.variable = c.variable;
        column.header = c.header;
        column.title = c.title;
        variable(c.header, false, std::nullopt);
        column.methodId = variable(c.variable, false, c.method);
        o->listColumns.push_back(std::move(column));
    }
}

IffObject Builder::IffItem(const FormItemSpec& it, const Ref& form, const std::string& formQualified, const TableSpec& t,
                           size_t* row)
{
    IffObject o;
    o.kind = it.kind;
    o.name = it.objectName;
    o.themes = it.themes;
    o.text = it.text;
    o.tiled = it.tiled;
    const int16_t top = int16_t(std::min<size_t>(10 + 26 * (*row)++, 32000));
    o.bounds = {top, 10, int16_t(top + 20), 210};
    switch (it.kind) {
    case FormItemSpec::Field:
    case FormItemSpec::Variable: IffEditable(it, form, formQualified, t, &o); break;
    case FormItemSpec::ListBox: IffListBox(it, form, formQualified, &o); break;
    case FormItemSpec::Text:
        if (!it.styleSheet.empty()) {
            auto s = styleSheets_.find(it.styleSheet);
            if (s == styleSheets_.end()) Refuse(it.src.line, "the text names a missing style sheet '" + it.styleSheet + "'");
            o.styleSheet = Id(s->second);
            Link(form, {19, o.styleSheet, it.styleSheet, ""});
        }
        IffTextLinks(it.text, form, t, it.src.line);
        break;
    case FormItemSpec::StaticPicture: {
        auto p = pictures_.find(it.name);
        if (p == pictures_.end()) Refuse(it.src.line, "the form names a missing picture '" + it.name + "'");
        o.pictureId = Id(p->second);
        o.pictureName = it.name;
        Link(form, {18, o.pictureId, it.name, ""});
        break;
    }
    case FormItemSpec::Subform: {
        auto found = tables_.find(it.name);
        if (found == tables_.end()) Refuse(it.src.line, "the subform names a missing table '" + it.name + "'");
        const TableSpec* table = found->second;
        o.subformTable = int16_t(-TableNumber(table));
        o.detail = it.detail;
        Link(form, {1, Id(table), table->name, ""});
        for (const std::string& name : {it.text, it.detail}) {
            if (name.empty()) continue;
            const FormSpec* f = nullptr;
            for (const FormSpec& x : table->forms)
                if (x.name == name) f = &x;
            if (!f) Refuse(it.src.line, "the subform names a missing form '" + name + "'");
            Link(form, {24, Id(f), f->name, table->name});
        }
        break;
    }
    case FormItemSpec::Group:
        for (const FormItemSpec& m : it.members) o.members.push_back(IffItem(m, form, formQualified, t, row));
        if (!o.members.empty()) {
            o.bounds[0] = o.members.front().bounds[0];
            o.bounds[2] = o.members.back().bounds[2];
        }
        break;
    case FormItemSpec::Matrix:
        o.rows = it.rows;
        o.columns = it.columns;
        break;
    case FormItemSpec::Chunk:
        o.chunkId = it.chunkId;
        o.bytes = it.bytes;
        break;
    default: break;
    }
    return o;
}

Bytes Builder::IffFormBytes(const FormSpec& f, const TableSpec& t, const Ref& form, const std::string& formQualified)
{
    IffFormLayout layout;
    layout.little = f.little || d_.littleEndian;
    layout.look = f.look;
    layout.sizeObject = f.sizeObject;
    layout.formText = f.formText;
    for (const auto& [number, name] : f.layers) layout.layers[size_t(number - 1)] = name;
    if (!f.inheritTable.empty()) {
        auto table = tables_.find(f.inheritTable);
        if (table == tables_.end()) Refuse(f.src.line, "the form inherits from a missing table '" + f.inheritTable + "'");
        const FormSpec* base = nullptr;
        for (const FormSpec& x : table->second->forms)
            if (x.name == f.inheritForm) base = &x;
        if (!base) Refuse(f.src.line, "the form inherits from a missing form '" + f.inheritForm + "'");
        layout.inheritTable = int16_t(TableNumber(table->second));
        layout.inheritName = f.inheritForm;
        Link(form, {1, Id(table->second), table->second->name, ""});
        Link(form, {24, Id(base), base->name, table->second->name});
    }
    // Objects without a page go to page 1; page 0 holds those of every page.
    int16_t last = 1;
    for (const FormItemSpec& it : f.items) last = std::max(last, it.page);
    layout.pages.resize(size_t(last) + 1);
    size_t row = 0;
    for (const FormItemSpec& it : f.items)
        layout.pages[size_t(it.page < 0 ? 1 : it.page)].push_back(IffItem(it, form, formQualified, t, &row));
    // How many objects each page holds, group members included, for the
    // readers of the form to check.
    std::function<size_t(const std::vector<IffObject>&)> count = [&](const std::vector<IffObject>& objects) {
        size_t n = 0;
        for (const IffObject& o : objects) n += (o.kind == FormItemSpec::Chunk ? 0 : 1) + count(o.members);
        return n;
    };
    for (size_t p = 0; p < layout.pages.size(); ++p)
        out_.manifest.push_back("objects\t" + formQualified + "\t" + std::to_string(p) + "\t" +
                                std::to_string(count(layout.pages[p])));
    return IffForm(layout);
}

}  // namespace docbuilder::layout
