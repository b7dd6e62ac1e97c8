// A document's files handled as on any desktop: moved, deleted, linked or
// named as other systems name them while the program works on them. The
// pair stays whole: a change lands in both files or in neither, a link
// stays a link, and what cannot be done is said.
#include <filesystem>
#include <functional>

#include "design/documents/DocumentPairs.h"
#include "resources/Companion.h"
#include "tests/design/DocFilesFixture.h"

namespace doctest {
namespace {

namespace fs = std::filesystem;

class HandledFiles : public DocFiles {
protected:
    // The files of a folder by name, links as "-> target".
    std::map<std::string, Bytes> Folder(const std::string& folder) const
    {
        std::map<std::string, Bytes> out;
        for (const auto& e : fs::directory_iterator(folder)) {
            const std::string name = e.path().filename();
            if (e.is_symlink()) {
                const std::string to = "-> " + fs::read_symlink(e.path()).string();
                out[name] = Bytes(to.begin(), to.end());
            } else {
                out[name] = Read(platform::FSSpec{e.path()});
            }
        }
        return out;
    }
    // The open document's change of both files: a resource added to its
    // companion (written at once) and to its store (committed).
    static std::pair<int16_t, int16_t> ChangeBoth(const Opened& o)
    {
        platform::UseResFile(o.rsrFile);
        platform::AddResource(platform::NewHandle(4), FourCC("CHNG"), 1, nullptr);
        platform::UpdateResFile(o.rsrFile);
        const int16_t companion = platform::ResError();
        useres(o.container);
        const bool stored = xaddres(platform::NewHandle(4), FourCC("CHNG"), 1) && updateres(o.container);
        return {companion, stored ? int16_t(0) : reserr};
    }
};

TEST_F(HandledFiles, EachWayOfHandlingTheFilesKeepsThePairWhole)
{
    const std::string shared = docs_ + "/shared", work = docs_ + "/work";
    struct Row {
        const char* what;
        // Arranges the files; answers the document to open.
        std::function<platform::FSSpec(HandledFiles&, const platform::FSSpec& demo)> arrange;
        // Done to the files while the document is open.
        std::function<void(const platform::FSSpec& demo)> meanwhile;
        int16_t companionWrite, storeCommit;  // the change's answers
        const char* folder;                    // where the pair is afterwards
        bool changed;                          // whether both files hold the change
    };
    const Row rows[] = {
        {"both files moved to another folder", nullptr,
         [&](const platform::FSSpec&) { fs::rename(shared, work); }, platform::fnfErr, platform::fnfErr, "work",
         false},
        {"both files deleted", nullptr,
         [&](const platform::FSSpec&) {
             fs::remove(shared + "/Demo.QzB");
             fs::remove(shared + "/Demo.RSR");
         },
         platform::fnfErr, platform::fnfErr, "shared", false},
        {"opened through links to both files",
         [&](HandledFiles&, const platform::FSSpec&) {
             fs::create_directories(work);
             for (const char* name : {"Demo.QzB", "Demo.RSR"}) fs::create_symlink(shared + "/" + name, work + "/" + name);
             return platform::FSSpec{work + "/Demo.QzB"};
         },
         nullptr, 0, 0, "shared", true},
        {"a companion named in lower case",
         [&](HandledFiles&, const platform::FSSpec&) {
             fs::rename(shared + "/Demo.RSR", shared + "/Demo.rsr");
             return platform::FSSpec{shared + "/Demo.QzB"};
         },
         nullptr, 0, 0, "shared", true},
        {"a name of 255 bytes",
         [&](HandledFiles&, const platform::FSSpec&) {
             const std::string stem = shared + "/" + std::string(251, 'n');
             fs::rename(shared + "/Demo.QzB", stem + ".QzB");
             fs::rename(shared + "/Demo.RSR", stem + ".RSR");
             return platform::FSSpec{stem + ".QzB"};
         },
         nullptr, 0, 0, "shared", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        fs::remove_all(docs_);
        fs::create_directories(shared);
        const auto built = docbuilder::BuildDocument("structure Demo\ntable T\n  field F longint\n", "d.qzdoc", shared);
        ASSERT_EQ(built.error, 0);
        fs::remove(built.manifestPath);
        const platform::FSSpec demo{built.dataPath};
        const platform::FSSpec opened = row.arrange ? row.arrange(*this, demo) : demo;
        const std::map<std::string, Bytes> before = Folder(shared);
        ResetAlerts();
        const Opened o = Open(opened, 1);
        ASSERT_EQ(o.err, 0);
        EXPECT_EQ(AlertCount(), 0) << LastAlert().text;
        ASSERT_NE(o.rsrFile, -1) << "the companion is found";
        ASSERT_EQ(AcceptQzB(o.rsrFile, o.container), 0);
        if (row.meanwhile) row.meanwhile(demo);
        const std::map<std::string, Bytes> during = Folder(docs_ + "/" + row.folder);
        const auto [companion, store] = ChangeBoth(o);
        EXPECT_EQ(companion, row.companionWrite);
        EXPECT_EQ(store, row.storeCommit);
        Close(o);
        if (!row.changed) {
            // Neither file written, nor brought back where it was.
            EXPECT_EQ(Folder(docs_ + "/" + row.folder), during);
            if (std::string(row.folder) != "shared") {
                EXPECT_FALSE(fs::exists(shared));
            }
            continue;
        }
        // Written in place: the links stay links, the names stay as they were.
        std::map<std::string, Bytes> after = Folder(shared);
        EXPECT_EQ(after.size(), before.size());
        for (const auto& [name, bytes] : before) EXPECT_TRUE(after.count(name)) << name;
        if (fs::exists(work)) {
            for (const char* name : {"Demo.QzB", "Demo.RSR"}) EXPECT_TRUE(fs::is_symlink(work + "/" + name)) << name;
        }
        const Opened again = Open(opened, 1);
        ASSERT_EQ(again.err, 0);
        EXPECT_EQ(Resource(again.container, FourCC("CHNG"), 1).size(), 4u);
        platform::UseResFile(again.rsrFile);
        EXPECT_NE(platform::Get1Resource(FourCC("CHNG"), 1), nullptr) << "the companion's change";
        Close(again);
    }
}

// A new library saved beside a structure of the same name would take the
// structure's companion: refused, and the companion stays byte for byte.
// A document whose companion is missing opens, and says so.
TEST_F(HandledFiles, AnotherDocumentsCompanionIsNeitherTakenNorSilentlyMissing)
{
    const platform::FSSpec demo = Build("structure Demo\ntable T\n  field F longint\nstrings Kept id 7000\n  \"kept\"\n");
    fs::create_directories(docs_ + "/from");
    const auto src = docbuilder::BuildDocument("library Src\n", "s.qzdoc", docs_ + "/from");
    ASSERT_EQ(src.error, 0);
    platform::FSSpec companion;
    ASSERT_TRUE(CompanionSpec(demo, &companion));
    const Bytes kept = Read(companion), library = Read(platform::FSSpec{src.dataPath});
    EXPECT_EQ(CopyFile(platform::FSSpec{src.dataPath}, InFolder("Demo.QTL")), platform::dupFNErr);
    EXPECT_EQ(Read(companion), kept);
    EXPECT_FALSE(fs::exists(docs_ + "/Demo.QTL"));
    EXPECT_EQ(Read(platform::FSSpec{src.dataPath}), library);
    for (const auto& e : fs::directory_iterator(docs_))
        EXPECT_NE(e.path().filename().string().rfind(".qz.", 0), 0u) << e.path();

    fs::remove(companion.path);
    ResetAlerts();
    const Opened o = Open(demo, 1);
    EXPECT_EQ(o.err, 0);
    Close(o);
    EXPECT_EQ(AlertCount(), 1);
    EXPECT_TRUE(LastAlert().text.ends_with("Demo.RSR")) << LastAlert().text;
}

}  // namespace
}  // namespace doctest
