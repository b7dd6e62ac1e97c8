// The layout's builder: one pass over a read description that gives ids,
// resolves names, checks the limits and lays out every resource and the
// manifest. Its aspects are in the Layout*.cpp files; a refusal is thrown
// as a Refusal and turned into a result by LayOut.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/core/FourCC.h"
#include "tools/docbuilder/FormLayout.h"
#include "tools/docbuilder/IffForm.h"
#include "tools/docbuilder/Layout.h"
#include "tools/docbuilder/Records.h"

namespace docbuilder::layout {

using platform::FourCC;

struct Refusal {
    int line;
    std::string message;
};

[[noreturn]] void Refuse(int line, const std::string& message);

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

// Seconds from 1904-01-01 to the date (day, month, year).
uint32_t DateSeconds(const int16_t date[3]);

class Builder {
public:
    explicit Builder(const DocumentSpec& d) : d_(d), order_(d.littleEndian ? ByteOrder::Little : ByteOrder::Big) {}

    LaidOut Run();

private:
    // --- ids ------------------------------------------------------------

    // The object methods of form items, group members and list box columns
    // included, each with its line.
    static void ForEachItemMethod(const std::vector<FormItemSpec>& items,
                                  const std::function<void(const MethodSpec&, int)>& each);
    void ReserveTable(const TableSpec& t);
    void Reserve();

    template <class Map, class T>
    void Unique(Map& map, const std::string& name, const T* object, int line, const char* what)
    {
        if (!map.emplace(name, object).second) Refuse(line, std::string("a ") + what + " named '" + name + "' already exists");
    }

    void Names();
    void GiveTable(const TableSpec& t);
    void GiveIds();

    int16_t Id(const void* object) const { return ids_.at(object); }

    // --- output -----------------------------------------------------------

    void Add(bool companion, uint32_t type, int16_t id, const std::string& name, Bytes bytes, int line);
    void Object(const Ref& r) { out_.manifest.push_back("object\t" + r.Text()); }
    void Link(const Ref& from, const Ref& to) { out_.manifest.push_back("link\t" + from.Text() + "\t" + to.Text()); }
    void Member(const Ref& group, const Ref& member) { out_.manifest.push_back("member\t" + group.Text() + "\t" + member.Text()); }
    void Doc(uint32_t type, int16_t id, const std::optional<std::string>& text, int16_t state,
             const std::vector<DocRunSpec>& runs, int line);

    // --- tables -----------------------------------------------------------

    struct FieldPath {
        const TableSpec* top = nullptr;
        int16_t tableNumber = 0;
        std::vector<int16_t> numbers;  // from the top table down; the last is the field's own
        const FieldSpec* field = nullptr;
        const TableSpec* owner = nullptr;
    };
    FieldPath Resolve(const std::vector<std::string>& path, int line, const char* what);
    int TableNumber(const TableSpec* t) const;

    Ref TableRef(const TableSpec& t, const std::string& owner) const { return {owner.empty() ? 1 : 29, Id(&t), t.name, owner}; }

    void Relations(const TableSpec& t);
    void Tables();
    void Table(const TableSpec& t, int16_t number, const std::string& owner, int place);
    std::string QualifiedOwner(const FieldPath& p) const;
    Ref TopRef(const FieldPath& p) const { return {1, Id(p.top), p.top->name, ""}; }

    void Forms(const TableSpec& t, int16_t tfqzId, const std::string& qualified);
    void FormItem(const FormItemSpec& it, const Ref& form, const std::string& formQualified, FormContext& context);

    // --- forms stored as chunk files (LayoutIffForms.cpp) ------------------

    Bytes IffFormBytes(const FormSpec& f, const TableSpec& t, const Ref& form, const std::string& formQualified);
    IffObject IffItem(const FormItemSpec& it, const Ref& form, const std::string& formQualified, const TableSpec& t,
                      size_t* row);
    void IffEditable(const FormItemSpec& it, const Ref& form, const std::string& formQualified, const TableSpec& t,
                     IffObject* o);
    void IffListBox(const FormItemSpec& it, const Ref& form, const std::string& formQualified, IffObject* o);
    void IffTextLinks(const std::string& text, const Ref& form, const TableSpec& t, int line);
    void IffTitleLinks(const FormItemSpec& it, const Ref& form);
    std::optional<Ref> FieldRef(const TableSpec& t, size_t index) const;
    std::optional<Ref> PictureRef(int32_t id) const;

    // --- methods ----------------------------------------------------------

    void Method(const MethodSpec& m, const Ref& self);
    void ProjectMethods();

    // --- menus ------------------------------------------------------------

    void MenuBars();
    static bool ParseStringRef(const std::string& text, int16_t* list, int16_t* index);
    Ref StringListRef(int16_t id, int line);

    // --- lists, balloons --------------------------------------------------

    ListItemOut ListItem(const ListItemSpec& it, const Ref& list);
    void Lists();
    void Balloons();

    // --- users ------------------------------------------------------------

    void Passwords();

    // --- small kinds --------------------------------------------------------

    void StringLists();
    void Styles();
    void Pictures();
    void StyleSheets();

    // --- groups and components ----------------------------------------------

    const TableSpec* FindTable(const std::string& name, int line);
    const FormSpec* FindForm(const TableSpec* t, const std::string& name, int line);

    template <class Map>
    int16_t Named(Map& map, const MemberSpec& m)
    {
        auto it = map.find(m.name);
        if (it == map.end()) Refuse(m.src.line, "the group names a missing " + m.kind + " '" + m.name + "'");
        return Id(it->second);
    }

    // The words of one member entry and the manifest's name of the member.
    std::vector<int16_t> MemberEntry(const MemberSpec& m, Ref* ref);
    Bytes MemberList(const std::vector<MemberSpec>& members, const Ref& self, ByteOrder order);
    void Groups();
    // An installed component's 'MODQ' and 'MAPQ'; its protected and private
    // members' resources marked for encipherment (LayoutModules.cpp).
    void ModuleRecord(const ComponentSpec& k);

    // --- constants, plug-ins, compilation, raw ------------------------------

    void Constants();
    static std::string RoutineName(const std::string& text);
    void Plugins();
    static Bytes EprmBytes(const EprmSpec& e);
    // The plug-in files beside the document.
    void PlugInFiles();
    // The routine a plug-in call names, as the reader links it.
    std::optional<Ref> PlugInRoutine(int32_t bundle, int32_t routine) const;
    void Compiled();
    void Raws();
    void Companion();
    void CheckUnique();
    const DocumentSpec& d_;
    // The container's order; the companion is a platform resource file,
    // big-endian whatever the container.
    const ByteOrder order_;
    ByteOrder OrderIn(bool companion) const { return companion ? ByteOrder::Big : order_; }
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

}  // namespace docbuilder::layout
