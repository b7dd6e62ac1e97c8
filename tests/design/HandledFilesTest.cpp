// A document's files handled as on any desktop: moved, deleted, linked or
// named as other systems name them while the program works on them. The
// pair stays whole: a change lands in both files or in neither, a link
// stays a link, and what cannot be done is said.
#include <filesystem>
#include <functional>

#include "design/documents/DocumentPairs.h"
#include "platform/files/FileErrors.h"
#include "platform/files/TemporaryFile.h"
#include "resources/Companion.h"
#include "tests/design/DocFilesFixture.h"
#include "tests/platform/files/StopAt.h"

namespace doctest {
namespace {

namespace fs = std::filesystem;

class HandledFiles : public DocFiles {
protected:
    // The files of a folder by name, links as "-> target"; without the
    // temporary of a write under way, unless `temporaries`.
    std::map<std::string, Bytes> Folder(const std::string& folder, bool temporaries = true) const
    {
        std::map<std::string, Bytes> out;
        for (const auto& e : fs::directory_iterator(folder)) {
            const std::string name = e.path().filename();
            if (!temporaries && platform::IsTemporaryName(name)) continue;
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
    // companion (written at once) and to its store (committed); their
    // answers, and what the file service says of the file each refused.
    struct Change {
        int16_t companion = 0, store = 0;
        platform::FileRefusal companionRefused, storeRefused;
    };
    static Change ChangeBoth(const Opened& o)
    {
        Change c;
        platform::UseResFile(o.rsrFile);
        platform::AddResource(platform::NewHandle(4), FourCC("CHNG"), 1, nullptr);
        platform::UpdateResFile(o.rsrFile);
        c.companion = platform::ResError();
        platform::TakeFileRefusal(c.companion, &c.companionRefused);
        useres(o.container);
        const bool stored = xaddres(platform::NewHandle(4), FourCC("CHNG"), 1) && updateres(o.container);
        c.store = stored ? int16_t(0) : reserr;
        platform::TakeFileRefusal(c.store, &c.storeRefused);
        return c;
    }
};

TEST_F(HandledFiles, EachWayOfHandlingTheFilesKeepsThePairWhole)
{
    const std::string shared = docs_ + "/shared", work = docs_ + "/work";
    using Point = filecrash::StopPoint;
    // Another program's doing: before the change, or in the moment between
    // the companion's look and its new file taking the name.
    const Point before{}, atTheSwap{Point::Opened, "/._Demo.RSR."};
    struct Row {
        const char* what;
        // Arranges the files; answers the document to open.
        std::function<platform::FSSpec(HandledFiles&, const platform::FSSpec& demo)> arrange;
        // Done to the files while the document is open, at `at`.
        std::function<void(const platform::FSSpec& demo)> meanwhile;
        Point at;
        int16_t companionWrite, storeCommit;  // the change's answers
        const char* folder;                    // where the pair is afterwards
        bool changed;                          // whether both files hold the change
        // Where the refusal says the data file is now, in the folder
        // ("": not said).
        const char* now = "";
    };
    constexpr int16_t kMoved = platform::fileMovedErr;
    std::vector<Row> rows = {
        {"opened through links to both files",
         [&](HandledFiles&, const platform::FSSpec&) {
             fs::create_directories(work);
             for (const char* name : {"Demo.QzB", "Demo.RSR"}) fs::create_symlink(shared + "/" + name, work + "/" + name);
             return platform::FSSpec{work + "/Demo.QzB"};
         },
         nullptr, before, 0, 0, "shared", true},
        {"a companion named in lower case",
         [&](HandledFiles&, const platform::FSSpec&) {
             fs::rename(shared + "/Demo.RSR", shared + "/Demo.rsr");
             return platform::FSSpec{shared + "/Demo.QzB"};
         },
         nullptr, before, 0, 0, "shared", true},
        {"a name of 255 bytes",
         [&](HandledFiles&, const platform::FSSpec&) {
             const std::string stem = shared + "/" + std::string(251, 'n');
             fs::rename(shared + "/Demo.QzB", stem + ".QzB");
             fs::rename(shared + "/Demo.RSR", stem + ".RSR");
             return platform::FSSpec{stem + ".QzB"};
         },
         nullptr, before, 0, 0, "shared", true},
    };
    // The files moved or deleted by another program, before the change and
    // at the companion's swap: nothing is written, at the old names or the
    // new, and the refusal names the document. (Each other way another
    // program changes them is a row of the program's own table,
    // AnotherProgram in the transfer tests.)
    struct Way {
        const char* what;
        std::function<void(const platform::FSSpec& demo)> meanwhile;
        int16_t companionWrite, storeCommit;
        const char* folder;
        const char* now;
    };
    const Way kWays[] = {
        {"both files moved to another folder", [&](const platform::FSSpec&) { fs::rename(shared, work); }, kMoved,
         kMoved, "work", "work/Demo.QzB"},
        {"both files deleted",
         [&](const platform::FSSpec&) {
             fs::remove(shared + "/Demo.QzB");
             fs::remove(shared + "/Demo.RSR");
         },
         kMoved, kMoved, "shared", ""},
    };
    for (const Point& at : {before, atTheSwap})
        for (const Way& w : kWays)
            rows.push_back({w.what, nullptr, w.meanwhile, at, w.companionWrite, w.storeCommit, w.folder, false, w.now});
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.what) + (row.at.kind == Point::None ? "" : ", at the companion's swap"));
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
        // The files as the other program left them, its work files aside.
        std::map<std::string, Bytes> during;
        const auto meanwhile = [&] {
            if (row.meanwhile) row.meanwhile(demo);
            during = Folder(docs_ + "/" + row.folder, false);
        };
        filecrash::StopAt other(row.at, meanwhile);
        if (row.at.kind == Point::None) meanwhile();
        platform::SetFileOpObserver(&other);
        const Change change = ChangeBoth(o);
        platform::SetFileOpObserver(nullptr);
        EXPECT_EQ(change.companion, row.companionWrite);
        EXPECT_EQ(change.store, row.storeCommit);
        // Each refusal names the document, and where it is now.
        const std::string now = *row.now ? docs_ + "/" + row.now : "";
        for (const platform::FileRefusal* refused : {&change.companionRefused, &change.storeRefused}) {
            if (refused->code == 0) continue;
            EXPECT_EQ(refused->path, shared + "/Demo.QzB");
            EXPECT_EQ(refused->now, now);
        }
        Close(o);
        if (!row.changed) {
            // Neither file written, nor brought back where it was, nor a
            // file left.
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
