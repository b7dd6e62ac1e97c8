// Documents replaced, moved and created across a crash at every cut point
// of their file changes: once the name is opened again (or the creation
// tried again), it holds the old pair or the new pair whole, and no
// temporary is left beside it.
#include <cerrno>
#include <filesystem>
#include <set>

#include "tests/design/DocFilesFixture.h"
#include "tests/platform/files/FileCrashRecorder.h"

namespace doctest {
namespace {

using Files = std::map<std::string, Bytes>;

class DocumentCrash : public DocFiles {
protected:
    // The files of a pair at `folder` (data and companion, with their
    // sidecars), by name; missing ones are absent.
    static Files PairFiles(const Files& all, const std::string& folder, const std::string& data,
                           const std::string& companion)
    {
        Files out;
        for (const std::string& name : {data, companion, "._" + data, "._" + companion}) {
            const auto it = all.find(folder.empty() ? name : folder + "/" + name);
            if (it != all.end()) out[name] = it->second;
        }
        return out;
    }
    static Files FolderFiles(const std::filesystem::path& folder)
    {
        Files out;
        if (!std::filesystem::exists(folder)) return out;
        for (const auto& e : std::filesystem::directory_iterator(folder)) {
            Bytes b;
            platform::ReadWholeFile(e.path(), &b);
            out[e.path().filename()] = b;
        }
        return out;
    }
    static std::string Names(const Files& files)
    {
        std::string s;
        for (const auto& [name, bytes] : files) s += " " + name;
        return s;
    }

    // Whether the pair at `dest` in the rebuilt folder is the old one or
    // the new one after the name is opened, and nothing else is there.
    std::string CheckPair(const std::filesystem::path& folder, const std::string& data, uint8_t isStructure,
                          const Files& before, const Files& after)
    {
        const platform::FSSpec dest = Spec((folder / data).string());
        const Opened o = Open(dest, isStructure);
        Close(o);
        const Files now = FolderFiles(folder);
        if (now != before && now != after)
            return "the name holds neither pair:" + Names(now) + " (old:" + Names(before) + ", new:" + Names(after) + ")";
        if (!now.empty() && o.err != 0) return "the pair does not open (" + std::to_string(o.err) + ")";
        return "";
    }
};

TEST_F(DocumentCrash, MovingADocumentOverAnotherLeavesTheOldPairOrTheNew)
{
    const std::filesystem::path root = docs_ + "/session";
    for (const char* sub : {"from", "to"}) std::filesystem::create_directories(root / sub);
    // Data files and companions that differ, so that a mixed pair shows.
    const auto from = docbuilder::BuildDocument("library Src\nstrings New id 5\n  \"new\"\nlist Towns\n  item \"x\"\n", "s", (root / "from").string());
    const auto to = docbuilder::BuildDocument("library Old\nstrings Old id 7\n  \"old\"\n", "o", (root / "to").string());
    ASSERT_EQ(from.error, 0);
    ASSERT_EQ(to.error, 0);
    std::filesystem::remove(from.manifestPath);
    std::filesystem::remove(to.manifestPath);

    filecrash::Recorder recorder(root);
    ASSERT_EQ(CopyFile(Spec(from.dataPath), Spec(to.dataPath)), 0);
    recorder.Stop();
    const Files before = PairFiles(recorder.Before().Files(), "to", "Old.QTL", "Old.RSR");
    const Files after = PairFiles(recorder.After().Files(), "to", "Old.QTL", "Old.RSR");
    ASSERT_NE(before, after);
    const size_t failed = recorder.CheckEveryCut(docs_ + "/state", [&](const std::filesystem::path& state) {
        return CheckPair(state / "to", "Old.QTL", 0, before, after);
    });
    std::printf("[ crash    ] moving over a document: %zu crash states, %zu failed\n", recorder.StatesChecked(), failed);
    EXPECT_EQ(failed, 0u);
}

TEST_F(DocumentCrash, MovingADocumentToANewNameLeavesNothingOrTheNewPair)
{
    const std::filesystem::path root = docs_ + "/session";
    for (const char* sub : {"from", "to"}) std::filesystem::create_directories(root / sub);
    const auto from = docbuilder::BuildDocument("library Src\nstrings New id 5\n  \"new\"\nlist Towns\n  item \"x\"\n", "s", (root / "from").string());
    ASSERT_EQ(from.error, 0);
    std::filesystem::remove(from.manifestPath);

    filecrash::Recorder recorder(root);
    ASSERT_EQ(CopyFile(Spec(from.dataPath), Spec((root / "to/New.QTL").string())), 0);
    recorder.Stop();
    const Files after = PairFiles(recorder.After().Files(), "to", "New.QTL", "New.RSR");
    const size_t failed = recorder.CheckEveryCut(docs_ + "/state", [&](const std::filesystem::path& state) {
        return CheckPair(state / "to", "New.QTL", 0, {}, after);
    });
    std::printf("[ crash    ] moving to a new name: %zu crash states, %zu failed\n", recorder.StatesChecked(), failed);
    EXPECT_EQ(failed, 0u);
}

// A recorder that refuses the renames of one name, as a folder refuses
// to let this user replace another user's file.
class RefusingRecorder : public filecrash::Recorder {
public:
    RefusingRecorder(const std::filesystem::path& root, std::string refused)
        : Recorder(root), refused_(std::move(refused))
    {
    }
    int Refusal(const std::string& path) override { return path == refused_ ? EPERM : 0; }

private:
    std::string refused_;
};

// A move over a document refused half way (the companion replaced, the
// data file's rename refused) takes back what it did: cut anywhere, the
// name holds the old pair, or the new one that its journal finishes.
TEST_F(DocumentCrash, AMoveRefusedHalfWayLeavesTheOldPairOrTheNew)
{
    const std::filesystem::path root = docs_ + "/session", done = docs_ + "/done";
    for (const char* sub : {"from", "to"}) std::filesystem::create_directories(root / sub);
    const auto from = docbuilder::BuildDocument("library Src\nstrings New id 5\n  \"new\"\n", "s", (root / "from").string());
    const auto to = docbuilder::BuildDocument("library Old\nstrings Old id 7\n  \"old\"\n", "o", (root / "to").string());
    ASSERT_EQ(from.error, 0);
    ASSERT_EQ(to.error, 0);
    std::filesystem::remove(from.manifestPath);
    std::filesystem::remove(to.manifestPath);
    // The new pair, as a move that lands leaves it.
    std::filesystem::copy(root, done, std::filesystem::copy_options::recursive);
    ASSERT_EQ(CopyFile(Spec((done / "from/Src.QTL").string()), Spec((done / "to/Old.QTL").string())), 0);
    const Files after = FolderFiles(done / "to");

    RefusingRecorder recorder(root, (root / "to/Old.QTL").string());
    EXPECT_EQ(CopyFile(Spec(from.dataPath), Spec(to.dataPath)), platform::permErr);
    recorder.Stop();
    const Files before = PairFiles(recorder.Before().Files(), "to", "Old.QTL", "Old.RSR");
    ASSERT_EQ(FolderFiles(root / "to"), before) << "the refused move left the old pair alone";
    ASSERT_NE(before, after);
    const size_t failed = recorder.CheckEveryCut(docs_ + "/state", [&](const std::filesystem::path& state) {
        return CheckPair(state / "to", "Old.QTL", 0, before, after);
    });
    std::printf("[ crash    ] a move refused half way: %zu crash states, %zu failed\n", recorder.StatesChecked(), failed);
    EXPECT_EQ(failed, 0u);
}

// A creation cut anywhere leaves nothing at the name or the whole new
// document; tried again where it left nothing, it succeeds.
TEST_F(DocumentCrash, ACreationCutAnywhereLeavesNothingOrTheWholeDocument)
{
    for (const uint8_t isLibrary : {uint8_t(1), uint8_t(0)}) {
        SCOPED_TRACE(isLibrary ? "library" : "structure");
        const std::filesystem::path root = docs_ + "/session" + std::to_string(isLibrary);
        std::filesystem::create_directories(root);
        const std::string data = isLibrary ? "Made.QTL" : "Made.QzB";
        filecrash::Recorder recorder(root);
        ASSERT_EQ(CreateQzLib(Spec((root / data).string()), isLibrary), 0);
        recorder.Stop();
        const Files after = PairFiles(recorder.After().Files(), "", data, "Made.RSR");
        ASSERT_EQ(after.count(data), 1u);
        const size_t failed = recorder.CheckEveryCut(docs_ + "/state", [&](const std::filesystem::path& state) {
            std::string wrong = CheckPair(state, data, isLibrary ? 0 : 1, {}, after);
            if (!wrong.empty() || !FolderFiles(state).empty()) return wrong;
            const int16_t again = CreateQzLib(Spec((state / data).string()), isLibrary);
            if (again != 0) return "tried again, the creation fails with " + std::to_string(again);
            const Opened o = Open(Spec((state / data).string()), isLibrary ? 0 : 1);
            Close(o);
            return o.err == 0 ? std::string() : "created again, it does not open (" + std::to_string(o.err) + ")";
        });
        std::printf("[ crash    ] creating a %s: %zu crash states, %zu failed\n", isLibrary ? "library" : "structure",
                    recorder.StatesChecked(), failed);
        EXPECT_EQ(failed, 0u);
    }
}

}  // namespace
}  // namespace doctest
