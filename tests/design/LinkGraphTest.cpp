// Whole documents: after reading, the uses graph holds exactly the links
// the document builder lists for what it wrote, mirrored in used-by.
#include <algorithm>
#include <filesystem>
#include <set>

#include "design/links/ParseSupport.h"
#include "platform/files/Sidecar.h"
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

// Forms stored as chunk files, in either byte order, give the same: the
// walker of stored forms records what the builder lists.
TEST_F(LinkGraph, ChunkFileFormsHoldExactlyTheirListedLinks)
{
    for (const char* order : {"big", "little"}) {
        SCOPED_TRACE(order);
        const auto r = Build(std::string("structure Big seed 11 order ") + order + "\nforms iff\ngenerate 1000\n");
        if (!doc_.fTypeList) {
            ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
        }
        Open(r);
        ASSERT_EQ(Read(), 0);
        const std::set<Edge> listed = Listed(r.manifestPath);
        EXPECT_GT(listed.size(), 800u);
        const std::set<Edge> read = Graph();
        EXPECT_EQ(Difference(read, listed), std::vector<std::string>{});
        // Links only stored chunk forms hold: subform tables, static
        // pictures, style sheets.
        std::set<int16_t> kinds;
        for (const Edge& e : read)
            if (e.first.kind == 24) kinds.insert(e.second.kind);
        for (int16_t kind : {1, 18, 19}) EXPECT_TRUE(kinds.count(kind)) << kind;
        CloseDoc();
    }
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

// The demo's two visible files copied as any tool copies files, without
// their sidecars, read with every object and link of the original; so does
// a copy whose companion keeps its resources in a sidecar fork.
TEST_F(LinkGraph, CopiesOfTheVisibleFilesReadWithEveryLink)
{
    const docbuilder::BuildResult r =
        docbuilder::BuildDocumentFile(std::string(QZ_SOURCE_DIR) + "/resources/demo/Demo.qzdoc", folder_.path());
    ASSERT_EQ(r.error, 0) << r.message;
    platform::AppleDouble sidecar;
    bool present = false;
    ASSERT_EQ(platform::ReadSidecar(r.companionPath, &sidecar, &present), 0);
    EXPECT_FALSE(sidecar.resourceFork) << "the companion keeps its resources itself";
    transfer::InstallModuleManager();  // the demo's installed component is enciphered
    Open(r);
    ASSERT_EQ(Read(), 0);
    const std::set<Edge> original = Graph();
    std::multiset<ManifestObject> objects;
    for (TObjQz* o : AllObjects()) objects.insert(Key(o));
    EXPECT_GT(original.size(), 30u);
    CloseDoc();

    const Bytes companion = FileBytes(r.companionPath);
    ASSERT_FALSE(companion.empty());
    struct Copy {
        const char* folder;
        bool sidecarFork;  // the companion's resources in "._Demo.RSR", the file empty
    };
    for (const Copy& c : {Copy{"copied", false}, Copy{"forked", true}}) {
        SCOPED_TRACE(c.folder);
        const std::filesystem::path to = folder_ / c.folder;
        std::filesystem::create_directories(to);
        std::filesystem::copy_file(r.dataPath, to / "Demo.QzB");
        if (c.sidecarFork) {
            ASSERT_EQ(platform::WriteFileAtomically(to / "Demo.RSR", nullptr, 0), 0);
            platform::AppleDouble sidecar;
            sidecar.resourceFork = companion;
            ASSERT_EQ(platform::WriteSidecar(to / "Demo.RSR", sidecar), 0);
        } else {
            std::filesystem::copy_file(r.companionPath, to / "Demo.RSR");
        }
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
        Open(to / "Demo.QzB");
        ASSERT_NE(doc_.fRsrFile, -1);
        ASSERT_EQ(Read(), 0);
        EXPECT_EQ(Difference(Graph(), original), std::vector<std::string>{});
        std::multiset<ManifestObject> read;
        for (TObjQz* o : AllObjects()) read.insert(Key(o));
        EXPECT_EQ(read, objects);
        CloseDoc();
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
