// Whole documents: after reading, the uses graph holds exactly the links
// the document builder lists for what it wrote, mirrored in used-by.
#include <algorithm>
#include <filesystem>
#include <set>

#include "design/links/ParseSupport.h"
#include "transfer/InstallTransfer.h"
#include "tests/design/ReadFixture.h"

namespace readtest {
namespace {

using Edge = std::pair<ManifestObject, ManifestObject>;

std::string Qualified(TObjQz* obj)
{
    std::string s;
    for (TObjQz* o = obj; o; o = o->GetOwnerObj()) s = s.empty() ? P(o->name) : P(o->name) + "." + s;
    return s;
}

class LinkGraph : public ReadFixture {
protected:
    // An object as the builder's manifest names it.
    ManifestObject Key(TObjQz* o)
    {
        ManifestObject m{o->kind, o->id, P(o->name), o->GetOwnerObj() ? Qualified(o->GetOwnerObj()) : ""};
        if (m.kind == 3 || m.kind == 16) m.name.clear();
        if (m.kind == 9) {
            // Variables are listed by their names without the prefix.
            for (const std::string prefix : {"<>", "$"})
                if (m.name.compare(0, prefix.size(), prefix) == 0) {
                    m.name.erase(0, prefix.size());
                    break;
                }
            if (TObjQz* method = static_cast<TVarObjQz*>(o)->method) {
                const ManifestObject mk = Key(method);
                m.owner = mk.owner.empty() ? mk.name : mk.owner + "/" + mk.name;
            }
        }
        return m;
    }

    // Every object of the document: the kind lists, and what tables, forms
    // and methods keep for themselves.
    std::vector<TObjQz*> AllObjects()
    {
        std::vector<TObjQz*> out;
        auto method = [&](TObjQz* m) {
            if (!m) return;
            out.push_back(m);
            ObjListHdl locals = static_cast<TGnlProcObjQz*>(m)->locals;
            for (int32_t i = 0; locals && i < locals->Size(); ++i) out.push_back(locals->At(i));
        };
        for (int16_t list = 1; list <= 23; ++list) {
            ObjListHdl l = doc_.fTypeList->lists[list - 1];
            for (int32_t i = 0; l && i < l->Size(); ++i) {
                TObjQz* o = l->At(i);
                if (o->kind == 2 || o->kind == 16) {
                    method(o);
                    continue;
                }
                out.push_back(o);
                if (o->kind != 1 && o->kind != 29) continue;
                auto* t = static_cast<TFileObjQz*>(o);
                method(t->method);
                for (int32_t b = 0; t->balloons && b < t->balloons->Size(); ++b) out.push_back(t->balloons->At(b));
                for (int32_t f = 0; t->forms && f < t->forms->Size(); ++f) {
                    auto* form = static_cast<TLayoutObjQz*>(t->forms->At(f));
                    out.push_back(form);
                    method(form->formMethod);
                    for (int32_t m = 0; form->objMethods && m < form->objMethods->Size(); ++m)
                        method(form->objMethods->At(m));
                }
            }
        }
        return out;
    }

    std::set<Edge> Graph()
    {
        std::set<Edge> edges;
        for (TObjQz* a : AllObjects()) {
            // A group's uses are its call list, kept by the group itself.
            if (a->kind == 23 || a->kind == 32 || a->kind == 33) continue;
            for (int32_t i = 0; a->uses && i < a->uses->Size(); ++i) {
                TObjQz* b = a->uses->At(i);
                EXPECT_TRUE(IsInList(b->usedBy, a)) << P(a->name) << " -> " << P(b->name);
                edges.insert({Key(a), Key(b)});
            }
        }
        return edges;
    }

    static std::set<Edge> Listed(const std::string& path)
    {
        std::set<Edge> edges;
        std::ifstream in(path);
        std::string line;
        while (std::getline(in, line)) {
            std::vector<std::string> f;
            std::stringstream s(line);
            std::string part;
            while (std::getline(s, part, '\t')) f.push_back(part);
            while (f.size() < 9) f.push_back("");
            if (f[0] != "link") continue;
            edges.insert({{int16_t(std::stoi(f[1])), int16_t(std::stoi(f[2])), f[3], f[4]},
                          {int16_t(std::stoi(f[5])), int16_t(std::stoi(f[6])), f[7], f[8]}});
        }
        return edges;
    }

    static std::vector<std::string> Difference(const std::set<Edge>& read, const std::set<Edge>& listed)
    {
        auto text = [](const Edge& e) {
            std::stringstream s;
            s << e.first << " -> " << e.second;
            return s.str();
        };
        std::vector<std::string> out;
        for (const Edge& e : read)
            if (!listed.count(e)) out.push_back("read only: " + text(e));
        for (const Edge& e : listed)
            if (!read.count(e)) out.push_back("listed only: " + text(e));
        return out;
    }
};

TEST_F(LinkGraph, BuilderDocumentsHoldExactlyTheirListedLinks)
{
    const auto r = Build("structure Big seed 11\ngenerate 1000\n");
    Open(r);
    ASSERT_EQ(Read(), 0);
    const std::set<Edge> listed = Listed(r.manifestPath);
    EXPECT_GT(listed.size(), 700u);
    const std::set<Edge> read = Graph();
    EXPECT_EQ(Difference(read, listed), std::vector<std::string>{});

    // Parsing again changes nothing.
    for (TObjQz* o : AllObjects()) EXPECT_EQ(o->Parse(), 0);
    EXPECT_EQ(Graph(), read);
}

// The builder writes the little-endian twin field by field; read through
// the store's conversion it gives the same objects, names, ids and links
// as the big-endian original: flat forms with their field links and
// object methods, subtables, groups and components included.
TEST_F(LinkGraph, BothByteOrdersReadTheSameObjectsAndLinks)
{
    std::vector<uint8_t> demo;
    ASSERT_EQ(platform::ReadWholeFile(std::string(QZ_SOURCE_DIR) + "/resources/demo/Demo.qzdoc", &demo), 0);
    const std::string descriptions[] = {std::string(demo.begin(), demo.end()), "structure Big seed 11\ngenerate 1000\n"};
    transfer::InstallModuleManager();  // the demo's installed component is enciphered
    for (const std::string& text : descriptions) {
        std::multiset<ManifestObject> objects[2];
        std::set<Edge> links[2];
        for (int little = 0; little < 2; ++little) {
            // At the end: generated names carry the line of their statement.
            const std::string order = little ? text + "order little\n" : text;
            const std::filesystem::path folder = folder_ / (little ? "little" : "big");
            std::filesystem::create_directories(folder);
            const auto r = docbuilder::BuildDocument(order, "test.qzdoc", folder.string());
            ASSERT_EQ(r.error, 0) << r.message;
            CloseDoc();
            ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
            Open(r);
            ASSERT_EQ(IsNatif(doc_.fResFile), !little);
            ASSERT_EQ(Read(), 0);
            for (TObjQz* o : AllObjects()) objects[little].insert(Key(o));
            links[little] = Graph();
        }
        EXPECT_GT(objects[0].size(), 40u);
        EXPECT_EQ(objects[1], objects[0]);
        EXPECT_EQ(Difference(links[1], links[0]), std::vector<std::string>{});
        // Flat forms' object methods and what they call are among them.
        EXPECT_TRUE(std::any_of(links[1].begin(), links[1].end(), [](const Edge& e) { return e.first.kind == 25; }));
        EXPECT_TRUE(std::any_of(links[1].begin(), links[1].end(),
                                [](const Edge& e) { return e.first.kind == 24 && e.second.kind == 28; }));
    }
}

TEST_F(LinkGraph, StopWhileParsingAnswers1001)
{
    const auto r = Build("structure Big seed 3\ngenerate 200\n");
    Open(r);
    ASSERT_EQ(Read(), 0);
    for (TObjQz* o : AllObjects()) o->SetFlag(kFlagParsed, false);
    WaitParamRec wait;
    SetWaitDialog(&wait, 1, nullptr, 0, 100, 260, 0);
    ASSERT_NE(wait.dialog, nullptr);
    wait.cancelled = 1;
    G_WaitParam = &wait;
    EXPECT_EQ(ParseObj(List(1)), kCancelledByUser);
    EXPECT_EQ(ParseObj(List(2)), kCancelledByUser);
    ReSetWaitDialog(&wait);
    G_WaitParam = nullptr;
}

}  // namespace
}  // namespace readtest
