#include "platform/resfiles/Resources.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <random>

#include "platform/core/Endian.h"
#include "platform/core/Faults.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileOps.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "platform/files/Sidecar.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "tests/platform/core/FailingNew.h"
#include "tests/platform/files/TempFolder.h"

using namespace platform;
using platform::testing::TempFolder;

namespace {

using Bytes = std::vector<uint8_t>;

// A length-prefixed string that lives as long as the test statement.
struct P {
    explicit P(const std::string& s) : bytes(1, uint8_t(s.size())) { bytes.insert(bytes.end(), s.begin(), s.end()); }
    operator ConstStr255Param() const { return bytes.data(); }
    Bytes bytes;
};

Bytes StrList(std::initializer_list<std::string> items)
{
    Bytes b = {0, uint8_t(items.size())};
    for (const auto& s : items) {
        b.push_back(uint8_t(s.size()));
        b.insert(b.end(), s.begin(), s.end());
    }
    return b;
}

Bytes Pattern(size_t n, uint8_t seed)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = uint8_t(seed + i * 7);
    return b;
}

Bytes HandleBytes(Handle h) { return Bytes(*h, *h + GetHandleSize(h)); }

void Add(const Bytes& data, ResType type, int16_t id, const char* name = nullptr)
{
    Handle h = nullptr;
    ASSERT_EQ(PtrToHand(data.data(), &h, Size(data.size())), noErr);
    P named(name ? name : "");
    AddResource(h, type, id, name ? ConstStr255Param(named) : nullptr);
    ASSERT_EQ(ResError(), noErr);
}

// The authored resources of the fixture: one of each kind the program reads.
struct Authored {
    ResType type;
    int16_t id;
    const char* name;
    Bytes data;
};

std::vector<Authored> Fixture()
{
    return {
        {FourCC("STR#"), 128, "Messages", StrList({"one", "two", "three"})},
        {FourCC("MENU"), 128, nullptr, Pattern(40, 1)},
        {FourCC("DLOG"), 200, "Find", Pattern(21, 2)},
        {FourCC("DITL"), 200, nullptr, Pattern(66, 3)},
        {FourCC("ALRT"), 300, nullptr, Pattern(12, 4)},
        {FourCC("ICN#"), 128, "Document", Pattern(256, 5)},
        {FourCC("CURS"), 129, nullptr, Pattern(68, 6)},
        {FourCC("STR#"), 129, nullptr, StrList({})},
    };
}

class ResourceFiles : public ::testing::Test {
protected:
    // Files other tests keep open (the system file) would sit in the chain.
    void SetUp() override { ResetResourceManager(); }
    void TearDown() override
    {
        ResetResourceManager();
        CloseAllForks();
        ClearAllFaults();
    }

    FSSpec Spec(const std::string& name)
    {
        FSSpec fileSpec;
        FSMakeFSSpec(dir / name, &fileSpec);
        return fileSpec;
    }

    // A plain resource file made through the manager itself.
    FSSpec MakeFixture(const std::string& name, ResFileFork where = ResFileFork::Data)
    {
        FSSpec fileSpec = Spec(name);
        FSpCreateResFile(fileSpec, FourCC("Qz  "), FourCC("rsrc"), 0, where);
        EXPECT_EQ(ResError(), noErr);
        int16_t ref = FSpOpenResFile(fileSpec, fsRdWrPerm, where);
        EXPECT_GT(ref, 0);
        for (const auto& a : Fixture()) {
            Handle h = nullptr;
            PtrToHand(a.data.data(), &h, Size(a.data.size()));
            AddResource(h, a.type, a.id, a.name ? ConstStr255Param(P(a.name)) : nullptr);
            EXPECT_EQ(ResError(), noErr);
        }
        CloseResFile(ref);
        EXPECT_EQ(ResError(), noErr);
        return fileSpec;
    }

    TempFolder dir;
};

}  // namespace

TEST_F(ResourceFiles, AuthoredResourcesReadBackExactly)
{
    FSSpec fileSpec = MakeFixture("app.rsrc");
    int16_t ref = FSpOpenResFile(fileSpec, fsRdPerm, ResFileFork::Data);
    ASSERT_GT(ref, 0);
    EXPECT_EQ(CurResFile(), ref);

    for (const auto& a : Fixture()) {
        Handle h = GetResource(a.type, a.id);
        ASSERT_NE(h, nullptr) << FourCCText(a.type) << a.id;
        EXPECT_EQ(HandleBytes(h), a.data);
        EXPECT_TRUE(HGetState(h) & kHandleResourceBit);
        EXPECT_EQ(GetResource(a.type, a.id), h);  // the same handle every time
        EXPECT_EQ(HomeResFile(h), ref);
        EXPECT_EQ(GetResourceSizeOnDisk(h), int32_t(a.data.size()));
        Str255 name;
        int16_t id = 0;
        ResType type = 0;
        GetResInfo(h, &id, &type, name);
        EXPECT_EQ(id, a.id);
        EXPECT_EQ(type, a.type);
        EXPECT_EQ(std::string(name + 1, name + 1 + name[0]), a.name ? a.name : "");
    }
    Handle named = GetNamedResource(FourCC("DLOG"), P("Find"));
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(HandleBytes(named), Pattern(21, 2));
    EXPECT_EQ(GetNamedResource(FourCC("DLOG"), P("find")), nullptr);  // names match exactly
    EXPECT_EQ(ResError(), resNotFound);

    EXPECT_EQ(CountResources(FourCC("STR#")), 2);
    EXPECT_EQ(GetIndResource(FourCC("STR#"), 2), GetResource(FourCC("STR#"), 129));
    EXPECT_EQ(GetIndResource(FourCC("STR#"), 3), nullptr);
    EXPECT_EQ(CountTypes(), 7);
    ResType type = 0;
    GetIndType(&type, 1);
    EXPECT_EQ(type, FourCC("STR#"));
    EXPECT_EQ(Unique1ID(FourCC("STR#")), 130);

    Str255 text;
    const char* expected[] = {"one", "two", "three", ""};
    for (int16_t i = 1; i <= 4; ++i) {
        GetIndString(text, 128, i);
        EXPECT_EQ(std::string(text + 1, text + 1 + text[0]), expected[i - 1]);
    }
    GetIndString(text, 999, 1);
    EXPECT_EQ(text[0], 0);

    // A read-only file refuses every change.
    Handle h = GetResource(FourCC("MENU"), 128);
    ChangedResource(h);
    EXPECT_EQ(ResError(), wrPermErr);
    RemoveResource(h);
    EXPECT_EQ(ResError(), wrPermErr);
    Handle extra = NewHandle(4);
    AddResource(extra, FourCC("TEST"), 1, nullptr);
    EXPECT_EQ(ResError(), wrPermErr);
    DisposeHandle(extra);
}

TEST_F(ResourceFiles, ChangesKeepEveryOtherResourceByteForByte)
{
    FSSpec fileSpec = MakeFixture("prefs");
    int16_t ref = FSpOpenResFile(fileSpec, fsRdWrPerm, ResFileFork::Data);
    ASSERT_GT(ref, 0);

    Add(Bytes{1, 2, 3, 4}, FourCC("LONG"), 5);
    Handle menu = GetResource(FourCC("MENU"), 128);
    SetHandleSize(menu, 3);
    std::memcpy(*menu, "abc", 3);
    ChangedResource(menu);
    ASSERT_EQ(ResError(), noErr);
    EXPECT_EQ(GetResAttrs(menu) & resChanged, resChanged);
    ReleaseResource(menu);  // refused: it has changes
    EXPECT_EQ(ResError(), resAttrErr);
    RemoveResource(GetResource(FourCC("ALRT"), 300));
    ASSERT_EQ(ResError(), noErr);
    SetResInfo(GetResource(FourCC("CURS"), 129), 130, P("Hand"));
    ASSERT_EQ(ResError(), noErr);
    UpdateResFile(ref);
    ASSERT_EQ(ResError(), noErr);
    CloseResFile(ref);
    EXPECT_EQ(CurResFile(), -1);

    ref = FSpOpenResFile(fileSpec, fsRdPerm, ResFileFork::Data);
    ASSERT_GT(ref, 0);
    EXPECT_EQ(HandleBytes(GetResource(FourCC("LONG"), 5)), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(HandleBytes(GetResource(FourCC("MENU"), 128)), (Bytes{'a', 'b', 'c'}));
    EXPECT_EQ(GetResource(FourCC("ALRT"), 300), nullptr);
    EXPECT_EQ(HandleBytes(GetNamedResource(FourCC("CURS"), P("Hand"))), Pattern(68, 6));
    for (const auto& a : Fixture()) {
        if (a.type == FourCC("MENU") || a.type == FourCC("ALRT") || a.type == FourCC("CURS")) continue;
        Handle h = Get1Resource(a.type, a.id);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(HandleBytes(h), a.data);
    }
}

TEST_F(ResourceFiles, HandlesLoadDetachAndRelease)
{
    FSSpec fileSpec = MakeFixture("f");
    int16_t ref = FSpOpenResFile(fileSpec, fsRdWrPerm, ResFileFork::Data);
    ASSERT_GT(ref, 0);

    SetResLoad(false);
    Handle icon = GetResource(FourCC("ICN#"), 128);
    SetResLoad(true);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(GetHandleSize(icon), 0);
    EXPECT_EQ(GetResourceSizeOnDisk(icon), 256);
    LoadResource(icon);
    EXPECT_EQ(HandleBytes(icon), Pattern(256, 5));
    SetHandleSize(icon, 300);  // grown in memory only: the file still holds 256 bytes
    EXPECT_EQ(GetResourceSizeOnDisk(icon), 256);

    ReleaseResource(icon);
    EXPECT_EQ(ResError(), noErr);
    Handle again = GetResource(FourCC("ICN#"), 128);
    EXPECT_EQ(HandleBytes(again), Pattern(256, 5));

    DetachResource(again);
    EXPECT_EQ(ResError(), noErr);
    EXPECT_FALSE(HGetState(again) & kHandleResourceBit);
    EXPECT_EQ(HomeResFile(again), -1);
    EXPECT_EQ(ResError(), resNotFound);
    Handle fresh = GetResource(FourCC("ICN#"), 128);
    EXPECT_NE(fresh, again);
    DisposeHandle(again);

    Handle dlog = GetResource(FourCC("DLOG"), 200);
    SetResAttrs(dlog, resProtected);
    RemoveResource(dlog);
    EXPECT_EQ(ResError(), rmvResFailed);
    ChangedResource(dlog);
    EXPECT_EQ(ResError(), resAttrErr);
    SetResAttrs(dlog, 0);

    Handle plain = NewHandle(2);
    RemoveResource(plain);
    EXPECT_EQ(ResError(), rmvResFailed);
    AddResource(plain, FourCC("DLOG"), 200, nullptr);  // the id is taken
    EXPECT_EQ(ResError(), addResFailed);
    AddResource(plain, FourCC("DLOG"), 201, nullptr);
    EXPECT_EQ(ResError(), noErr);
    AddResource(plain, FourCC("DLOG"), 202, nullptr);  // already a resource
    EXPECT_EQ(ResError(), addResFailed);
    RemoveResource(plain);
    EXPECT_EQ(ResError(), noErr);
    DisposeHandle(plain);
    CloseResFile(ref);
    EXPECT_EQ(ResError(), noErr);

    Handle orphan = NewHandle(2);  // no resource file is current any more
    AddResource(orphan, FourCC("DLOG"), 203, nullptr);
    EXPECT_EQ(ResError(), addResFailed);
    DisposeHandle(orphan);
}

TEST_F(ResourceFiles, LookUpsWalkTheChainFromTheCurrentFile)
{
    FSSpec appSpec = MakeFixture("app");
    FSSpec docSpec = Spec("doc");
    FSpCreateResFile(docSpec, 0, 0);  // a new file: its resources are its bytes
    ASSERT_EQ(ResError(), noErr);

    int16_t app = FSpOpenResFile(appSpec, fsRdPerm, ResFileFork::Data);
    int16_t doc = FSpOpenResFile(docSpec, fsRdWrPerm);
    ASSERT_GT(doc, 0);
    EXPECT_NE(doc, app);
    EXPECT_EQ(CurResFile(), doc);
    EXPECT_EQ(FSpOpenResFile(appSpec, fsRdPerm, ResFileFork::Data), app);
    EXPECT_EQ(CurResFile(), doc);

    Add(StrList({"doc"}), FourCC("STR#"), 128);
    Str255 text;
    GetIndString(text, 128, 1);
    EXPECT_EQ(std::string(text + 1, text + 1 + text[0]), "doc");  // the nearer file wins
    EXPECT_NE(GetResource(FourCC("MENU"), 128), nullptr);       // falls back to the application
    EXPECT_NE(GetNamedResource(FourCC("DLOG"), P("Find")), nullptr);
    EXPECT_EQ(Get1NamedResource(FourCC("DLOG"), P("Find")), nullptr);
    EXPECT_EQ(Get1Resource(FourCC("MENU"), 128), nullptr);      // the document alone
    EXPECT_EQ(ResError(), resNotFound);
    EXPECT_EQ(CountResources(FourCC("STR#")), 3);
    EXPECT_EQ(Count1Resources(FourCC("STR#")), 1);
    EXPECT_EQ(Count1Types(), 1);
    EXPECT_EQ(CountTypes(), 7);
    EXPECT_EQ(UniqueID(FourCC("STR#")), 130);
    EXPECT_EQ(Unique1ID(FourCC("STR#")), 129);

    UseResFile(app);
    EXPECT_NE(GetResource(FourCC("STR#"), 128), nullptr);
    GetIndString(text, 128, 1);
    EXPECT_EQ(std::string(text + 1, text + 1 + text[0]), "one");
    UseResFile(999);
    EXPECT_EQ(ResError(), resFNotFound);
    EXPECT_EQ(CurResFile(), app);
    UseResFile(doc);

    CloseResFile(doc);
    ASSERT_EQ(ResError(), noErr);
    EXPECT_EQ(CurResFile(), app);
    CloseResFile(doc);
    EXPECT_EQ(ResError(), resFNotFound);

    // The document's resources went into the file itself, none to a sidecar.
    doc = FSpOpenResFile(docSpec, fsRdPerm);
    ASSERT_GT(doc, 0);
    EXPECT_NE(Get1Resource(FourCC("STR#"), 128), nullptr);
    CatInfo info;
    FSpGetCatInfo(docSpec, &info);
    EXPECT_EQ(info.rsrcSize, 0);
    EXPECT_GT(info.dataSize, 0);
}

// Asked for a file's resource fork, the calls find it in the sidecar when
// the sidecar has one, else in the file itself when its bytes are a
// resource file; new resources go into the file when it holds nothing else.
TEST_F(ResourceFiles, ResourceForksLiveInTheFileUnlessItHoldsOtherData)
{
    Bytes plain;
    {
        ResourceFileImage image;
        image.resources.push_back({FourCC("STR#"), 128, false, "", 0, StrList({"plain"})});
        ASSERT_EQ(BuildResourceFile(image, &plain), noErr);
    }
    Bytes forked;
    {
        ResourceFileImage image;
        image.resources.push_back({FourCC("STR#"), 128, false, "", 0, StrList({"sidecar"})});
        ASSERT_EQ(BuildResourceFile(image, &forked), noErr);
    }
    const Bytes text = {'t', 'e', 'x', 't', '\n'};
    Bytes overlapping = plain;
    WriteBE32(&overlapping[4], ReadBE32(&overlapping[0]));  // the map over the data
    struct Case {
        const char* name;
        Bytes data;            // the file's own bytes
        bool sidecarFork;      // a sidecar with a resource fork comes with it
        const char* found;     // the first string of 'STR#' 128 read, "" none
        bool takesNew;         // FSpCreateResFile puts a map into the file
    };
    const Case cases[] = {
        {"plain resource file copied without its sidecar", plain, false, "plain", false},
        {"resource fork in a sidecar", {}, true, "sidecar", false},
        {"sidecar beside a plain resource file", plain, true, "sidecar", false},
        {"text file", text, false, "", false},
        {"text file with a forked sidecar", text, true, "sidecar", false},
        {"empty file", {}, false, "", true},
        {"header whose map lies over the data", overlapping, false, "", false},
        {"file shorter than a header", Bytes(plain.begin(), plain.begin() + 15), false, "", false},
        {"map one byte past the end", Bytes(plain.begin(), plain.end() - 1), false, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FSSpec file = Spec(c.name);
        ASSERT_EQ(WriteFileAtomically(file.path, c.data.data(), c.data.size()), noErr);
        if (c.sidecarFork) {
            AppleDouble doc;
            doc.resourceFork = forked;
            ASSERT_EQ(WriteSidecar(file.path, doc), noErr);
        }
        const int16_t ref = FSpOpenResFile(file, fsRdPerm);
        Str255 first{};
        if (ref > 0) {
            GetIndString(first, 128, 1);
            CloseResFile(ref);
        }
        EXPECT_EQ(std::string(first + 1, first + 1 + first[0]), c.found);

        // New resources: into the file only when it held nothing.
        FSpCreateResFile(file, 0, 0);
        const bool holdsResources = *c.found != 0;
        EXPECT_EQ(ResError(), holdsResources ? dupFNErr : noErr);
        if (ResError() != noErr) continue;
        int16_t w = FSpOpenResFile(file, fsRdWrPerm);
        ASSERT_GT(w, 0);
        Add(StrList({"new"}), FourCC("STR#"), 300);
        CloseResFile(w);
        Bytes after;
        ASSERT_EQ(ReadWholeFile(file.path, &after), noErr);
        if (c.takesNew) EXPECT_NE(after, c.data);
        else EXPECT_EQ(after, c.data) << "the file's own data stays";
        w = FSpOpenResFile(file, fsRdPerm);
        ASSERT_GT(w, 0);
        GetIndString(first, 300, 1);
        EXPECT_EQ(std::string(first + 1, first + 1 + first[0]), "new");
        CloseResFile(w);
    }
}

TEST_F(ResourceFiles, OpeningAndCreatingReportErrors)
{
    EXPECT_EQ(FSpOpenResFile(Spec("missing"), fsRdPerm), -1);
    EXPECT_EQ(ResError(), fnfErr);
    FSSpec plain = Spec("plain.txt");
    FSpCreate(plain, 0, 0);
    EXPECT_EQ(FSpOpenResFile(plain, fsRdPerm), -1);
    EXPECT_EQ(ResError(), eofErr);

    FSSpec fileSpec = MakeFixture("f");
    FSpCreateResFile(fileSpec, 0, 0, 0, ResFileFork::Data);
    EXPECT_EQ(ResError(), dupFNErr);

    // A second writer is refused while the first holds the file.
    int16_t ref = FSpOpenResFile(fileSpec, fsRdWrPerm, ResFileFork::Data);
    ASSERT_GT(ref, 0);
    int16_t fork = 0;
    EXPECT_EQ(FSpOpenDF(fileSpec, fsRdWrPerm, &fork), opWrErr);

    // A failed update leaves the old file as it was.
    Bytes before;
    ReadWholeFile(fileSpec.path, &before);
    Add(Bytes(10, 1), FourCC("TEST"), 1);
    {
        ScopedFault full(FaultKind::DiskFull, 0);
        UpdateResFile(ref);
        EXPECT_EQ(ResError(), dskFulErr);
    }
    Bytes after;
    ReadWholeFile(fileSpec.path, &after);
    EXPECT_EQ(after, before);
    UpdateResFile(ref);
    EXPECT_EQ(ResError(), noErr);
    ReadWholeFile(fileSpec.path, &after);
    EXPECT_NE(after, before);
}

// Another program probing the file's lock the moment an update put the new
// file in place (as one does before it opens a document of the same name):
// the update lands and says so, and the file stays held, so that the
// probe finds it taken and later updates land too.
class ProbeOnRename : public FileOpObserver {
public:
    explicit ProbeOnRename(std::string path) : path_(std::move(path)) {}
    ~ProbeOnRename() override
    {
        if (fd_ >= 0) ::close(fd_);
    }
    // The new file takes the name by a swap with the old one.
    void Exchanged(const std::string& from, const std::string& to) override { Renamed(from, to); }
    void Renamed(const std::string&, const std::string& to) override
    {
        if (to != path_ || fd_ >= 0) return;
        fd_ = ::open(to.c_str(), O_RDONLY | O_CLOEXEC);
        took_ = fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
    }
    bool Took() const { return took_; }

private:
    std::string path_;
    int fd_ = -1;
    bool took_ = false;
};

TEST_F(ResourceFiles, AnUpdateProbedByAnotherProgramLandsAndLaterOnesToo)
{
    FSSpec fileSpec = MakeFixture("probed");
    const int16_t ref = FSpOpenResFile(fileSpec, fsRdWrPerm, ResFileFork::Data);
    ASSERT_GT(ref, 0);
    Add(Bytes{1, 2}, FourCC("TEST"), 1);
    {
        ProbeOnRename probe(fileSpec.path);
        SetFileOpObserver(&probe);
        UpdateResFile(ref);
        SetFileOpObserver(nullptr);
        EXPECT_EQ(ResError(), noErr);
        EXPECT_FALSE(probe.Took()) << "the new file was left unheld";
    }
    Add(Bytes{3}, FourCC("TEST"), 2);
    UpdateResFile(ref);
    EXPECT_EQ(ResError(), noErr);
    CloseResFile(ref);
    const int16_t again = FSpOpenResFile(fileSpec, fsRdPerm, ResFileFork::Data);
    ASSERT_GT(again, 0);
    Handle first = Get1Resource(FourCC("TEST"), 1), second = Get1Resource(FourCC("TEST"), 2);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(HandleBytes(first), (Bytes{1, 2}));
    EXPECT_EQ(HandleBytes(second), Bytes{3});
    CloseResFile(again);
}

// A file renamed while open is updated under its new name; none comes back
// under the old one.
TEST_F(ResourceFiles, AFileRenamedWhileOpenIsUpdatedWhereItNowIs)
{
    FSSpec fileSpec = MakeFixture("before");
    int16_t ref = FSpOpenResFile(fileSpec, fsRdWrPerm, ResFileFork::Data);
    ASSERT_GT(ref, 0);
    ASSERT_EQ(FSpRename(fileSpec, "after"), noErr);
    Add(Bytes{7}, FourCC("TEST"), 1);
    UpdateResFile(ref);
    ASSERT_EQ(ResError(), noErr);
    CloseResFile(ref);
    EXPECT_FALSE(FSpExists(fileSpec));
    ref = FSpOpenResFile(Spec("after"), fsRdPerm, ResFileFork::Data);
    ASSERT_GT(ref, 0);
    Handle h = Get1Resource(FourCC("TEST"), 1);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(HandleBytes(h), Bytes{7});
}

TEST_F(ResourceFiles, PermissionsIndexesAndUpdatesKeepTheirBounds)
{
    FSSpec fileSpec = MakeFixture("f");
    EXPECT_EQ(FSpOpenResFile(fileSpec, SInt8(fsCurPerm - 1), ResFileFork::Data), -1);
    EXPECT_EQ(ResError(), paramErr);
    EXPECT_EQ(FSpOpenResFile(fileSpec, SInt8(fsRdWrShPerm + 1), ResFileFork::Data), -1);
    EXPECT_EQ(OpenResFile(dir / "none/f", fsRdPerm), -1);
    EXPECT_NE(ResError(), noErr);

    // Whatever permission: read-write when it can, read-only while another
    // writer holds the file.
    int16_t writer = 0;
    ASSERT_EQ(FSpOpenDF(fileSpec, fsRdWrPerm, &writer), noErr);
    int16_t ref = FSpOpenResFile(fileSpec, fsCurPerm, ResFileFork::Data);
    ASSERT_GT(ref, 0);
    EXPECT_EQ(ResError(), noErr);
    Handle extra = NewHandle(2);
    AddResource(extra, FourCC("TEST"), 1, nullptr);
    EXPECT_EQ(ResError(), wrPermErr);
    DisposeHandle(extra);
    CloseResFile(ref);
    FSClose(writer);

    // Closing a file frees every handle it loaded.
    size_t handles = LiveHandleCount();
    ref = FSpOpenResFile(fileSpec, fsCurPerm, ResFileFork::Data);
    ASSERT_GT(ref, 0);
    EXPECT_EQ(Count1Resources(FourCC("STR#")), 2);
    EXPECT_EQ(Get1IndResource(FourCC("STR#"), 0), nullptr);
    EXPECT_EQ(ResError(), resNotFound);
    EXPECT_NE(Get1IndResource(FourCC("STR#"), 2), nullptr);
    EXPECT_EQ(Get1IndResource(FourCC("STR#"), 3), nullptr);
    Handle menu = Get1Resource(FourCC("MENU"), 128);
    ASSERT_NE(menu, nullptr);

    // An update settles every change: the marks go and the handle may be released.
    (*menu)[0] = 99;
    ChangedResource(menu);
    EXPECT_TRUE(GetResAttrs(menu) & resChanged);
    UpdateResFile(ref);
    ASSERT_EQ(ResError(), noErr);
    EXPECT_FALSE(GetResAttrs(menu) & resChanged);
    ReleaseResource(menu);
    EXPECT_EQ(ResError(), noErr);
    CloseResFile(ref);
    EXPECT_EQ(LiveHandleCount(), handles);
}

// Look-ups by id and by index answer from an index of the file that every
// add, removal and change of id must bring up to date: after each random
// step they answer as a list of the document's resources in file order,
// with the application's 'STR#' 128 and 129 below it.
TEST_F(ResourceFiles, LookUpsFollowAddsRemovalsAndNewIds)
{
    ASSERT_GT(FSpOpenResFile(MakeFixture("app"), fsRdPerm, ResFileFork::Data), 0);
    FSpCreateResFile(Spec("doc"), 0, 0);
    ASSERT_GT(FSpOpenResFile(Spec("doc"), fsRdWrPerm), 0);
    const ResType types[] = {FourCC("STR#"), FourCC("TEST")};
    std::vector<std::pair<ResType, int16_t>> model;
    std::mt19937 random(11);
    for (int step = 0; step < 300; ++step) {
        const ResType type = types[random() % 2];
        const auto id = int16_t(127 + random() % 6), other = int16_t(127 + random() % 6);
        const auto at = std::find(model.begin(), model.end(), std::make_pair(type, id));
        const bool otherFree = std::find(model.begin(), model.end(), std::make_pair(type, other)) == model.end();
        const bool absent = at == model.end(), removes = !absent && random() % 2;
        if (absent) Add(Bytes{uint8_t(step)}, type, id), model.emplace_back(type, id);
        else if (removes) RemoveResource(Get1Resource(type, id)), model.erase(at);
        else SetResInfo(Get1Resource(type, id), other, nullptr), at->second = otherFree ? other : id;
        EXPECT_EQ(ResError(), absent || removes || otherFree || other == id ? noErr : addResFailed);
        for (const ResType t : types) {
            std::vector<int16_t> ids;
            for (const auto& [mt, mid] : model)
                if (mt == t) ids.push_back(mid);
            ASSERT_EQ(Count1Resources(t), int16_t(ids.size()));
            for (size_t k = 0; k <= ids.size(); ++k) {
                int16_t got = 0;
                GetResInfo(Get1IndResource(t, int16_t(k + 1)), &got, nullptr, nullptr);
                ASSERT_EQ(got, k < ids.size() ? ids[k] : 0) << step;
            }
            int16_t unique = 128;
            for (int16_t i = 127; i < 133; ++i) {
                const bool held = std::count(ids.begin(), ids.end(), i) != 0;
                unique = unique == i && held ? unique + 1 : unique;
                ASSERT_EQ(Get1Resource(t, i) != nullptr, held) << step << " " << i;
                ASSERT_EQ(GetResource(t, i) != nullptr, held || (t == types[0] && (i == 128 || i == 129)));
            }
            ASSERT_EQ(Unique1ID(t), unique) << step;
        }
    }
}

TEST_F(ResourceFiles, DamagedFilesAreRefusedAndLeftUnchanged)
{
    FSSpec fileSpec = MakeFixture("f");
    Bytes good;
    ASSERT_EQ(ReadWholeFile(fileSpec.path, &good), noErr);
    uint32_t map = ReadBE32(&good[4]);

    std::mt19937 rng(7);
    for (int i = 0; i < 200; ++i) {
        Bytes bad = good;
        for (int k = 0, n = 1 + int(rng() % 3); k < n; ++k) {
            size_t at = rng() % 2 ? map + rng() % (bad.size() - map) : rng() % bad.size();
            bad[at] = uint8_t(rng());
        }
        if (rng() % 5 == 0) bad.resize(rng() % bad.size());
        ASSERT_EQ(WriteFileAtomically(fileSpec.path, bad.data(), bad.size()), noErr);
        int16_t ref = FSpOpenResFile(fileSpec, fsRdWrPerm, ResFileFork::Data);
        if (ref == -1) {
            EXPECT_TRUE(ResError() == mapReadErr || ResError() == eofErr) << ResError();
        } else {
            // Whatever opened is readable within its bounds.
            for (int16_t t = 1; t <= Count1Types(); ++t) {
                ResType type = 0;
                Get1IndType(&type, t);
                for (int16_t r = 1; r <= Count1Resources(type); ++r) Get1IndResource(type, r);
            }
            CloseResFile(ref);
        }
        Bytes now;
        ReadWholeFile(fileSpec.path, &now);
        EXPECT_EQ(now, bad);
    }
}

// Memory the standard library cannot find, at each of its allocations in
// turn while a file is opened, read, listed, added to and written: every
// call answers memFullErr instead of throwing, and a run that fails leaves
// the file on disk as it was.
TEST_F(ResourceFiles, AShortageOfStandardMemoryIsAResultNeverAnException)
{
    const FSSpec fileSpec = MakeFixture("short.rsrc");
    Bytes original;
    ASSERT_EQ(ReadWholeFile(fileSpec.path, &original), noErr);
    const ResType type = Fixture()[0].type;
    const int16_t id = Fixture()[0].id;
    int shortages = 0;
    for (int64_t after = 0;; ++after) {
        ASSERT_EQ(WriteFileAtomically(fileSpec.path, original.data(), original.size()), noErr);
        ResetResourceManager();
        OSErr err = noErr;
        ResType first = 0;
        testfaults::FailNthNew(after);
        const int16_t ref = FSpOpenResFile(fileSpec, fsRdWrPerm, ResFileFork::Data);
        if (ref == -1) err = ResError();
        if (!err && !Get1Resource(type, id)) err = ResError();
        if (!err) Get1IndType(&first, 1), err = ResError();
        Handle added = err ? nullptr : NewHandleClear(4);
        if (!err && !added) err = MemError();
        if (added) {
            AddResource(added, FourCC("ADDS"), 1, nullptr);
            if ((err = ResError()) != noErr) DisposeHandle(added);
        }
        const bool updating = !err;
        if (!err) UpdateResFile(ref), err = ResError();
        const bool fired = !testfaults::NewFailurePending();
        testfaults::StopFailingNew();
        if (ref != -1) CloseResFile(ref);
        if (err != noErr) {
            ++shortages;
            EXPECT_EQ(err, memFullErr) << after;
            Bytes now;
            ReadWholeFile(fileSpec.path, &now);
            if (now != original) {
                // Only a write may have got as far as replacing the file,
                // and then with the whole new one.
                EXPECT_TRUE(updating) << after;
                ResetResourceManager();
                const int16_t again = FSpOpenResFile(fileSpec, fsRdPerm, ResFileFork::Data);
                EXPECT_NE(Get1Resource(FourCC("ADDS"), 1), nullptr) << after;
                if (again != -1) CloseResFile(again);
            }
        } else {
            EXPECT_EQ(first, type) << after;
        }
        if (!fired) break;
    }
    EXPECT_GT(shortages, 0);
}

// The layout's offsets reach so far: 5,458 resources of one type fill the
// map, 255 names of 255 characters the name list, 15 resources of 1 MB the
// data. The add one past that is refused and changes nothing, and the file
// closes with everything before it.
TEST_F(ResourceFiles, AnAddPastWhatTheLayoutReachesIsRefusedAndTheRestWritten)
{
    const struct {
        const char* what;
        int fit;
        size_t size, nameLength;
    } cases[] = {{"reference lists", 5458, 0, 0}, {"names", 255, 0, 255}, {"data", 15, size_t(1) << 20, 0}};
    for (const auto& c : cases) {
        const FSSpec fileSpec = Spec(c.what);
        FSpCreateResFile(fileSpec, 0, 0, 0, ResFileFork::Data);
        const int16_t ref = FSpOpenResFile(fileSpec, fsRdWrPerm, ResFileFork::Data);
        ASSERT_GT(ref, 0);
        std::vector<ResourceImage> added;
        for (int i = 0; i <= c.fit; ++i) {
            const ResourceImage r{FourCC("TEST"), int16_t(i + 1), c.nameLength > 0,
                                  std::string(c.nameLength, char('a' + i % 26)), 0, Pattern(c.size, uint8_t(i))};
            Handle h = nullptr;
            ASSERT_EQ(PtrToHand(r.data.data(), &h, Size(r.data.size())), noErr);
            AddResource(h, r.type, r.id, r.hasName ? ConstStr255Param(P(r.name)) : nullptr);
            if (i < c.fit) {
                ASSERT_EQ(ResError(), noErr) << c.what << " " << i;
                added.push_back(r);
                continue;
            }
            EXPECT_EQ(ResError(), resFileFullErr) << c.what;
            EXPECT_EQ(HomeResFile(h), -1) << c.what;
            DisposeHandle(h);
        }
        EXPECT_EQ(Count1Resources(FourCC("TEST")), c.fit) << c.what;
        // So is a resource grown past the reach, until it is as it was.
        Handle first = Get1Resource(FourCC("TEST"), 1);
        SetHandleSize(first, Size(c.size + (size_t(1) << 20)));
        ChangedResource(first);
        EXPECT_EQ(ResError(), c.size ? resFileFullErr : noErr) << c.what;
        SetHandleSize(first, Size(c.size));
        ChangedResource(first);
        EXPECT_EQ(ResError(), noErr) << c.what;
        CloseResFile(ref);
        EXPECT_EQ(ResError(), noErr) << c.what;
        Bytes bytes;
        ResourceFileImage image;
        ASSERT_EQ(ReadWholeFile(fileSpec.path, &bytes), noErr);
        ASSERT_EQ(ParseResourceFile(bytes.data(), bytes.size(), &image), noErr) << c.what;
        ASSERT_EQ(image.resources.size(), added.size()) << c.what;
        for (size_t i = 0; i < added.size(); ++i) {
            const ResourceImage &got = image.resources[i], &want = added[i];
            ASSERT_TRUE(got.type == want.type && got.id == want.id && got.hasName == want.hasName &&
                        got.name == want.name && got.data == want.data)
                << c.what << " " << i;
        }
    }
}
