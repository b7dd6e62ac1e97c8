#include "tools/docbuilder/Conflicts.h"

#include <cctype>
#include <map>
#include <sstream>
#include <tuple>

namespace docbuilder {

namespace {

std::string Folded(const std::string& s)
{
    std::string out = s;
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The objects of a manifest without owner, by kind and folded name and by
// kind and id: their "KIND ID NAME OWNER" text.
class Objects {
public:
    explicit Objects(const LaidOut& out)
    {
        for (const std::string& line : out.manifest) {
            if (line.rfind("object\t", 0) != 0) continue;
            const std::string text = line.substr(7);
            std::stringstream in(text);
            std::string kind, id, name, owner;
            std::getline(in, kind, '\t');
            std::getline(in, id, '\t');
            std::getline(in, name, '\t');
            std::getline(in, owner, '\t');
            if (!owner.empty()) continue;
            byName_.emplace(std::make_pair(std::stoi(kind), Folded(name)), text);
            byId_.emplace(std::make_pair(std::stoi(kind), std::stoi(id)), text);
        }
    }
    const std::string* Named(int kind, const std::string& name) const
    {
        auto it = byName_.find({kind, Folded(name)});
        return it == byName_.end() ? nullptr : &it->second;
    }
    const std::string* WithId(int kind, int32_t id) const
    {
        auto it = byId_.find({kind, id});
        return it == byId_.end() ? nullptr : &it->second;
    }

private:
    std::map<std::pair<int, std::string>, std::string> byName_;
    std::map<std::pair<int, int32_t>, std::string> byId_;
};

int32_t IdOf(const std::string& text) { return std::stoi(text.substr(text.find('\t') + 1)); }

bool SameFields(const std::vector<FieldSpec>& a, const std::vector<FieldSpec>& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const bool subA = a[i].subtable != nullptr, subB = b[i].subtable != nullptr;
        if (Folded(a[i].name) != Folded(b[i].name) || subA != subB || (!subA && a[i].type != b[i].type)) return false;
        if (subA && !SameFields(a[i].subtable->fields, b[i].subtable->fields)) return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> ConflictLines(const DocumentSpec& source, const LaidOut& sourceOut, const DocumentSpec& dest,
                                       const LaidOut& destOut)
{
    const Objects from(sourceOut), to(destOut);
    std::vector<std::string> lines;
    auto add = [&](int code, const std::string* a, const std::string* b) {
        if (a && b) lines.push_back("conflict\t" + std::to_string(code) + "\t" + *a + "\t" + *b);
    };
    auto byName = [&](int kind, int code, const std::string& name) {
        add(code, from.Named(kind, name), to.Named(kind, name));
    };
    for (const TableSpec& t : source.tables) {
        for (const TableSpec& d : dest.tables)
            if (Folded(d.name) == Folded(t.name)) add(SameFields(t.fields, d.fields) ? 1 : 2, from.Named(1, t.name), to.Named(1, d.name));
    }
    for (const MethodSpec& m : source.methods) byName(2, 6, m.name);
    for (const ChoiceListSpec& l : source.lists) byName(4, 7, l.name);
    for (const BalloonSpec& b : source.balloons) byName(10, 8, b.name);
    for (const StringListSpec& s : source.stringLists)
        if (const std::string* a = from.Named(11, s.name)) add(9, a, to.WithId(11, IdOf(*a)));
    for (const RoutineSpec& r : source.routines) byName(8, 10, r.name);
    for (const MenuSpec& m : source.menus) byName(6, 15, m.title);
    for (const StyleSpec& s : source.styles) byName(12, 16, s.name);
    for (const PictureSpec& p : source.pictures) {
        const std::string* a = from.Named(18, p.name);
        if (!a) continue;
        if (const std::string* sameId = to.WithId(18, IdOf(*a)))
            add(19, a, sameId);
        else
            add(24, a, to.Named(18, p.name));
    }
    for (const StyleSheetSpec& s : source.styleSheets) byName(19, 20, s.name);
    for (const GroupSpec& g : source.groups) byName(23, 5, g.name);
    return lines;
}

}  // namespace docbuilder
