// "generate N": N objects spread over the kinds in fixed proportions,
// named from their indexes and linked by a generator seeded from the
// description, so the same line gives the same document at any size.
#include <string>

#include "kernel/fields/FieldTypes.h"
#include "tools/docbuilder/Description.h"

namespace docbuilder {
namespace {

// The generator of the platform's Random: 16807 modulo 2^31 - 1.
class Generator {
public:
    explicit Generator(int32_t seed) : state_(uint32_t(seed) % 2147483647u)
    {
        if (state_ == 0) state_ = 1;
    }
    uint32_t Below(uint32_t n)
    {
        state_ = uint32_t((uint64_t(state_) * 16807u) % 2147483647u);
        return n ? state_ % n : 0;
    }

private:
    uint32_t state_;
};

enum Kind { kTable, kField, kForm, kProject, kTableMethod, kFormMethod, kObjectMethod, kList, kMenu, kMenuBar,
            kBalloon, kStrings, kStyle, kPicture, kStyleSheet, kGroup, kKinds };

// Shares out of 60.
constexpr int kWeights[kKinds] = {2, 24, 2, 12, 1, 1, 1, 2, 2, 1, 2, 2, 1, 2, 1, 4};

// Smooth weighted round robin: the same interleaving for every count.
std::vector<Kind> Pattern(int32_t count)
{
    std::vector<Kind> out;
    int current[kKinds] = {};
    int total = 0;
    for (int w : kWeights) total += w;
    out.push_back(kTable);
    current[kTable] -= total;
    while (int32_t(out.size()) < count) {
        int best = 0;
        for (int k = 0; k < kKinds; ++k) {
            current[k] += kWeights[k];
            if (current[k] > current[best]) best = k;
        }
        current[best] -= total;
        out.push_back(Kind(best));
    }
    out.resize(size_t(count));
    return out;
}

TokenSpec Token(uint8_t kind, const std::string& text = {}, int64_t number = 0)
{
    TokenSpec t;
    t.kind = kind;
    t.text = text;
    t.number = number;
    return t;
}

// What a form stored as a chunk file adds to a generated one, chosen from
// the form's index without the generator, so that the other kinds come out
// as they do without it: static texts naming a field and a variable, a
// group, and the style sheets, pictures and forms made so far.
void AddChunkFormObjects(DocumentSpec& doc, size_t t, FormSpec& f, size_t index, int line)
{
    auto item = [&](FormItemSpec::Kind kind) {
        FormItemSpec it;
        it.src.line = line;
        it.kind = kind;
        return it;
    };
    const TableSpec& table = doc.tables[t];
    FormItemSpec text = item(FormItemSpec::Text);
    if (!table.fields.empty() && !table.fields[0].subtable)
        text.text = index % 2 ? "<?[" + table.name + "]" + table.fields[0].name + ">"
                              : "<?[" + std::to_string(t + 1) + "]1> of <vTotal" + std::to_string(index % 7) + ">";
    else
        text.text = "<vTotal" + std::to_string(index % 7) + ">";
    if (!doc.styleSheets.empty()) text.styleSheet = doc.styleSheets[index % doc.styleSheets.size()].name;
    f.items.push_back(text);
    FormItemSpec group = item(FormItemSpec::Group);
    group.members.push_back(item(FormItemSpec::Rect));
    FormItemSpec label = item(FormItemSpec::Text);
    label.text = "Label " + std::to_string(index);
    label.themes = {int32_t(index % 5), 1};
    group.members.push_back(label);
    f.items.push_back(group);
    if (!doc.pictures.empty()) {
        FormItemSpec picture = item(FormItemSpec::StaticPicture);
        picture.name = doc.pictures[index % doc.pictures.size()].name;
        f.items.push_back(picture);
    }
    for (size_t other = 0; other < doc.tables.size(); ++other) {
        const size_t u = (t + 1 + other) % doc.tables.size();
        if (u == t || doc.tables[u].forms.empty()) continue;
        FormItemSpec sub = item(FormItemSpec::Subform);
        sub.name = doc.tables[u].name;
        sub.text = doc.tables[u].forms[index % doc.tables[u].forms.size()].name;
        f.items.push_back(sub);
        break;
    }
}

}  // namespace

void AddGeneratedObjects(DocumentSpec& doc, int32_t count, int line)
{
    Generator g(doc.seed);
    const std::string tag = "g" + std::to_string(line) + "_";
    std::vector<std::pair<size_t, size_t>> fields;  // table index, field index
    std::vector<size_t> methods;                     // project methods made here
    std::vector<size_t> tablesWithForms;
    size_t objectIndex = 0;
    auto name = [&](const char* what) { return tag + what + std::to_string(++objectIndex); };
    auto src = [&](Src& s) { s.line = line; };

    auto methodLines = [&](MethodSpec& m) {
        const uint32_t lines = 1 + g.Below(3);
        for (uint32_t i = 0; i < lines; ++i) {
            std::vector<TokenSpec> tokens;
            switch (g.Below(5)) {
            case 0:
                if (!methods.empty()) {
                    tokens.push_back(Token(11, doc.methods[methods[g.Below(uint32_t(methods.size()))]].name));
                    break;
                }
                [[fallthrough]];
            case 1:
                tokens.push_back(Token(1, {}, 1 + g.Below(900)));
                tokens.push_back(Token(4));
                tokens.push_back(Token(2, "text " + std::to_string(g.Below(1000))));
                tokens.push_back(Token(5));
                break;
            case 2:
                tokens.push_back(Token(9, "vCount" + std::to_string(g.Below(50))));
                tokens.push_back(Token(0, {}, 0));
                tokens.back().subkind = uint8_t(g.Below(25));
                tokens.push_back(Token(2, {}, g.Below(100000)));
                tokens.back().subkind = 9;
                break;
            case 3:
                if (!fields.empty()) {
                    auto [t, f] = fields[g.Below(uint32_t(fields.size()))];
                    TokenSpec ref = Token(3);
                    ref.path = {doc.tables[t].name, doc.tables[t].fields[f].name};
                    tokens.push_back(ref);
                    break;
                }
                [[fallthrough]];
            default: tokens.push_back(Token(23, "step " + std::to_string(i + 1))); break;
            }
            for (TokenSpec& t : tokens) t.src.line = line;
            m.lines.push_back(std::move(tokens));
        }
        m.src.line = line;
    };

    for (Kind kind : Pattern(count)) {
        // Kinds that need an object that is not there yet become the one
        // they need, so the count stays exact.
        if ((kind == kField || kind == kForm || kind == kTableMethod) && doc.tables.empty()) kind = kTable;
        if (kind == kTable && doc.tables.size() >= 255) kind = kField;
        if (kind == kField) {
            bool room = false;
            for (const TableSpec& t : doc.tables) room = room || t.fields.size() < 511;
            if (!room) kind = kProject;
        }
        if ((kind == kFormMethod || kind == kObjectMethod) && tablesWithForms.empty()) kind = kForm;
        if (kind == kForm && doc.tables.empty()) kind = kTable;
        if (kind == kTableMethod) {
            bool free = false;
            for (const TableSpec& t : doc.tables) free = free || !t.method;
            if (!free) kind = kProject;
        }
        if (kind == kFormMethod) {
            bool free = false;
            for (size_t t : tablesWithForms)
                for (const FormSpec& f : doc.tables[t].forms) free = free || !f.method;
            if (!free) kind = kObjectMethod;
        }
        if (kind == kMenuBar && doc.menus.empty()) kind = kMenu;
        if (kind == kGroup && methods.empty()) kind = kProject;

        switch (kind) {
        case kTable: {
            TableSpec t;
            src(t.src);
            t.name = name("Table");
            doc.tables.push_back(std::move(t));
            break;
        }
        case kField: {
            // Fields go to a random table that still has room.
            size_t t = g.Below(uint32_t(doc.tables.size()));
            for (size_t tries = 0; doc.tables[t].fields.size() >= 511 && tries < doc.tables.size(); ++tries)
                t = (t + 1) % doc.tables.size();
            FieldSpec f;
            src(f.src);
            f.name = name("Field");
            using namespace fieldtype;
            static const uint8_t kTypes[] = {kAlpha, kPicture, kText, kDate, kReal, kBoolean, kLongInteger, kTime};
            f.type = kTypes[g.Below(8)];
            if (f.type == kAlpha) f.length = int16_t(10 + g.Below(70));
            if (!doc.lists.empty() && g.Below(4) == 0) f.list = doc.lists[g.Below(uint32_t(doc.lists.size()))].name;
            if (!fields.empty() && g.Below(8) == 0) {
                auto [rt, rf] = fields[g.Below(uint32_t(fields.size()))];
                if (rt != t) f.relation = {doc.tables[rt].name, doc.tables[rt].fields[rf].name};
            }
            doc.tables[t].fields.push_back(std::move(f));
            fields.push_back({t, doc.tables[t].fields.size() - 1});
            break;
        }
        case kForm: {
            const size_t t = g.Below(uint32_t(doc.tables.size()));
            FormSpec f;
            src(f.src);
            f.name = name("Form");
            for (size_t i = 0; i < doc.tables[t].fields.size() && i < 3; ++i) {
                FormItemSpec it;
                src(it.src);
                it.kind = FormItemSpec::Field;
                it.name = doc.tables[t].fields[i].name;
                if (doc.tables[t].fields[i].subtable) continue;
                f.items.push_back(std::move(it));
            }
            FormItemSpec v;
            src(v.src);
            v.kind = FormItemSpec::Variable;
            v.name = "vCount" + std::to_string(g.Below(50));
            f.items.push_back(std::move(v));
            if (doc.formsIff) AddChunkFormObjects(doc, t, f, objectIndex, line);
            if (doc.tables[t].forms.empty()) tablesWithForms.push_back(t);
            doc.tables[t].forms.push_back(std::move(f));
            break;
        }
        case kTableMethod: {
            size_t t = g.Below(uint32_t(doc.tables.size()));
            while (doc.tables[t].method) t = (t + 1) % doc.tables.size();
            MethodSpec m;
            methodLines(m);
            doc.tables[t].method = std::move(m);
            ++objectIndex;
            break;
        }
        case kFormMethod: {
            size_t at = g.Below(uint32_t(tablesWithForms.size()));
            for (;; at = (at + 1) % tablesWithForms.size()) {
                bool done = false;
                for (FormSpec& f : doc.tables[tablesWithForms[at]].forms)
                    if (!f.method) {
                        MethodSpec m;
                        methodLines(m);
                        f.method = std::move(m);
                        done = true;
                        break;
                    }
                if (done) break;
            }
            ++objectIndex;
            break;
        }
        case kObjectMethod: {
            const size_t t = tablesWithForms[g.Below(uint32_t(tablesWithForms.size()))];
            FormSpec& f = doc.tables[t].forms[g.Below(uint32_t(doc.tables[t].forms.size()))];
            FormItemSpec v;
            src(v.src);
            v.kind = FormItemSpec::Variable;
            v.name = "vButton" + std::to_string(++objectIndex % 100000);
            v.name = v.name.substr(0, 11);
            MethodSpec m;
            methodLines(m);
            v.method = std::move(m);
            f.items.push_back(std::move(v));
            break;
        }
        case kProject: {
            MethodSpec m;
            m.name = name("Method");
            methodLines(m);
            m.attributes = uint16_t(g.Below(4) * 2);
            doc.methods.push_back(std::move(m));
            methods.push_back(doc.methods.size() - 1);
            break;
        }
        case kList: {
            ChoiceListSpec l;
            src(l.src);
            l.name = name("List");
            const uint32_t items = 1 + g.Below(5);
            for (uint32_t i = 0; i < items; ++i) {
                ListItemSpec it;
                src(it.src);
                it.text = "Item " + std::to_string(i + 1);
                it.number = int16_t(i + 1);
                l.items.push_back(std::move(it));
            }
            doc.lists.push_back(std::move(l));
            break;
        }
        case kMenu: {
            MenuSpec m;
            src(m.src);
            m.title = (tag + "M" + std::to_string(++objectIndex)).substr(0, 15);
            const uint32_t items = 1 + g.Below(4);
            for (uint32_t i = 0; i < items; ++i) {
                MenuItemSpec it;
                src(it.src);
                it.text = "Command " + std::to_string(i + 1);
                if (!methods.empty()) it.method = doc.methods[methods[g.Below(uint32_t(methods.size()))]].name;
                m.items.push_back(std::move(it));
            }
            doc.menus.push_back(std::move(m));
            break;
        }
        case kMenuBar: {
            MenuBarSpec b;
            src(b.src);
            b.name = name("Bar");
            const uint32_t menus = 1 + g.Below(3);
            for (uint32_t i = 0; i < menus; ++i) b.menus.push_back(doc.menus[g.Below(uint32_t(doc.menus.size()))].title);
            doc.menuBars.push_back(std::move(b));
            break;
        }
        case kBalloon: {
            BalloonSpec b;
            src(b.src);
            b.name = (tag + "H" + std::to_string(++objectIndex)).substr(0, 15);
            b.text = "Help text " + std::to_string(objectIndex);
            doc.balloons.push_back(std::move(b));
            break;
        }
        case kStrings: {
            StringListSpec s;
            src(s.src);
            s.name = name("Strings");
            const uint32_t n = 1 + g.Below(6);
            for (uint32_t i = 0; i < n; ++i) s.strings.push_back("String " + std::to_string(i + 1));
            doc.stringLists.push_back(std::move(s));
            break;
        }
        case kStyle: {
            StyleSpec s;
            src(s.src);
            s.name = name("Style");
            s.description = "Geneva 12";
            doc.styles.push_back(std::move(s));
            break;
        }
        case kPicture: {
            PictureSpec p;
            src(p.src);
            p.name = name("Picture");
            p.width = int16_t(16 + g.Below(100));
            p.height = int16_t(16 + g.Below(100));
            doc.pictures.push_back(std::move(p));
            break;
        }
        case kStyleSheet: {
            StyleSheetSpec s;
            src(s.src);
            s.name = name("Sheet");
            s.size = uint8_t(9 + g.Below(10));
            doc.styleSheets.push_back(std::move(s));
            break;
        }
        case kGroup: {
            GroupSpec gr;
            src(gr.src);
            gr.name = name("Group");
            const uint32_t n = 1 + g.Below(3);
            for (uint32_t i = 0; i < n && !methods.empty(); ++i) {
                // Each method joins one group at most: take it off the pool.
                const size_t at = g.Below(uint32_t(methods.size()));
                gr.members.push_back({{line}, "method", doc.methods[methods[at]].name});
                methods.erase(methods.begin() + std::ptrdiff_t(at));
            }
            doc.groups.push_back(std::move(gr));
            break;
        }
        case kKinds: break;
        }
    }
}

}  // namespace docbuilder
