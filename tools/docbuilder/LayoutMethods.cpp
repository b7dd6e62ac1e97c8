// Methods: token lines, their links, and the project and database method directories.
#include "tools/docbuilder/LayoutBuilder.h"

#include <algorithm>
#include <set>

namespace docbuilder::layout {

void Builder::Method(const MethodSpec& m, const Ref& self)
{
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
            case 13:
                // A parameter is the local variable of its number.
                link({9, self.id, t.number == -1 ? "" : std::to_string(t.number),
                      self.owner.empty() ? self.name : self.owner + "/" + self.name});
                break;
            case 11: {
                auto callee = methods_.find(t.text);
                if (callee == methods_.end()) Refuse(t.src.line, "the method calls a missing method '" + t.text + "'");
                link({2, Id(callee->second), t.text, ""});
                break;
            }
            case 22:
                if (auto routine = PlugInRoutine(int32_t(t.number), int32_t(t.number2))) link(*routine);
                break;
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
            Bytes b = TokenBytes(t, tableNumber, path, order_);
            tokens.insert(tokens.end(), b.begin(), b.end());
        }
        if (tokens.size() > 32000) Refuse(m.src.line, "a method line holds at most 32,000 token bytes");
        lines.push_back(std::move(tokens));
    }
    if (lines.size() > 32767) Refuse(m.src.line, "a method holds at most 32,767 lines");
    Add(false, FourCC("CCQz"), int16_t(self.id), "", MethodBlob(lines, order_), m.src.line);
    Doc(FourCC("CCHE"), int16_t(self.id), m.doc, m.docState, m.docRuns, m.src.line);
}

std::optional<Ref> Builder::PlugInRoutine(int32_t bundle, int32_t routine) const
{
    for (const PackageSpec& p : d_.packages) {
        if (Id(&p) != bundle || routine < 1 || routine > int32_t(p.routines.size())) continue;
        const std::string name = RoutineName(p.routines[size_t(routine - 1)]);
        // An older routine of that name comes first.
        auto older = routines_.find(name);
        if (older != routines_.end()) return Ref{8, Id(older->second), name, ""};
        return Ref{7, routine, name, "_" + p.name};
    }
    return std::nullopt;
}

void Builder::ProjectMethods()
{
    ByteWriter tpqz;
    for (const MethodSpec& m : d_.methods) {
        const Ref self{2, Id(&m), m.name, ""};
        Object(self);
        tpqz.Append(ProjectMethodRecord(m.name, Id(&m), m.attributes, order_));
    }
    for (const MethodSpec& m : d_.methods) Method(m, {2, Id(&m), m.name, ""});
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
            Method(m, self);
        }
        ByteWriter w(order_);
        for (int16_t id : dbpr) w.U16(uint16_t(id));
        Add(false, FourCC("DBPR"), 0, "", w.Take(), d_.dbMethods[0].src.line);
    }
}

}  // namespace docbuilder::layout
