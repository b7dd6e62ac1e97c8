// Crash consistency of saves. Every file operation of a session is
// recorded; the file is then rebuilt at every cut point under two models
// of a crash, and each rebuilt file must open with exactly the contents of
// the last commit before the cut or of the one after it, then take two
// more sessions (a resource added, one removed, commit, reopen) and keep
// every other resource.
//  Process crash: every operation before the cut reached the file.
//  Power loss: the operations up to the last flush before the cut, plus
//  none, all, or each single later one alone; the write in flight torn at
//  a 512-byte sector boundary (its first or its last sectors landed). A
//  write longer than 16 sectors is torn near its ends only: its middle is
//  payload, and a tear there leaves a state like those near the ends.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string_view>
#include <type_traits>
#include <unordered_set>
#include <vector>

#include "resources/CPseudoResManager.h"
#include "resources/container/ContainerLayout.h"
#include "tools/docbuilder/LittleEndianTwin.h"
#include "tests/resources/StoreIoRecorder.h"
#include "tests/resources/StoreTestSupport.h"

namespace storetest {
namespace {

constexpr ResType kTypeA = FourCC("CRSA");
constexpr ResType kTypeB = FourCC("CRSB");
constexpr ResType kExtra = FourCC("XTRA");
constexpr ResType kNames = FourCC("NAM#");
constexpr uint64_t kSector = 512;
// A long write is torn at this many sector boundaries from each of its ends.
constexpr uint64_t kTornNearEnds = 8;

// Every resource of a file: (type, id) -> (name, payload).
using Snapshot = std::map<std::pair<ResType, int16_t>, std::pair<Bytes, Bytes>>;

// A file image held in memory.
struct MemoryImage {
    Bytes bytes;

    void Apply(const IoOp& op) { ApplyOp(bytes, op); }
    void WriteTo(const std::string& path) const { WriteWholeFile(path, bytes); }
    size_t Key() const
    {
        return std::hash<std::string_view>{}(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
};

// A large, mostly empty file image: the operations that make the untouched
// file (shared) and those applied since, written out as a sparse file.
struct SparseImage {
    std::shared_ptr<const std::vector<IoOp>> base;
    std::vector<IoOp> applied;

    void Apply(const IoOp& op) { applied.push_back(op); }
    void WriteTo(const std::string& path) const
    {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ASSERT_GE(fd, 0);
        for (const auto* list : {base.get(), &applied})
            for (const IoOp& op : *list) {
                if (op.kind == IoOp::SetSize) {
                    ASSERT_EQ(::ftruncate(fd, off_t(op.offset)), 0);
                } else if (op.kind == IoOp::Write) {
                    ASSERT_EQ(::pwrite(fd, op.bytes.data(), op.bytes.size(), off_t(op.offset)), ssize_t(op.bytes.size()));
                }
            }
        ::close(fd);
    }
    size_t Key() const
    {
        size_t key = applied.size();
        for (const IoOp& op : applied)
            key = key * 1000003u ^ std::hash<std::string_view>{}(std::string_view(
                                        reinterpret_cast<const char*>(op.bytes.data()), op.bytes.size())) ^ op.offset;
        return key;
    }
};

size_t gStatesChecked = 0;
size_t gStatesEnumerated = 0;

size_t PayloadSize(int16_t id) { return size_t(16 + (id * 37) % 500); }

class CrashConsistencyTest : public StoreTest {
protected:
    static void TearDownTestSuite()
    {
        std::printf("[ crash    ] %zu distinct crash states checked (%zu enumerated)\n", gStatesChecked,
                    gStatesEnumerated);
    }

    // An empty committed container.
    MemoryImage EmptyFile()
    {
        int16_t ref = CreateFile("empty.qzb");
        EXPECT_NE(ref, 0);
        EXPECT_TRUE(closeres(ref, true));
        return MemoryImage{ReadWholeFile(Path("empty.qzb"))};
    }

    // 200 resources of two types and varied sizes, five of them named.
    MemoryImage BaseFile()
    {
        int16_t ref = CreateFile("base.qzb");
        EXPECT_NE(ref, 0);
        for (int16_t id = 1; id <= 200; ++id)
            EXPECT_TRUE(xaddres(MakeHandle(Pattern(PayloadSize(id), uint32_t(id))), id % 2 ? kTypeA : kTypeB, id));
        for (int16_t id = 10; id <= 50; id += 10) {
            const unsigned char name[] = "\x04" "base";
            EXPECT_TRUE(xsetresname(id % 2 ? kTypeA : kTypeB, id, name, false));
        }
        EXPECT_TRUE(closeres(ref, true));
        return MemoryImage{ReadWholeFile(Path("base.qzb"))};
    }

    static ResType TypeOf(int16_t id) { return id % 2 ? kTypeA : kTypeB; }

    // Reads every resource of the current file; false when one cannot be read.
    static bool TakeSnapshot(Snapshot* out)
    {
        out->clear();
        const int32_t types = comptetypes();
        for (int32_t t = 1; t <= types; ++t) {
            const ResType type = xgetindtyp(t);
            const int16_t count = compteres(type, true);
            for (int16_t i = 1; i <= count; ++i) {
                Handle h = xgetindres(type, i, true);
                if (!h) return false;
                int16_t id = 0;
                ResType got = 0;
                xgetresinfo(h, &id, &got);
                platform::Str255 name;
                xgetresname(type, id, name, false);
                (*out)[{type, id}] = {Bytes(name, name + 1 + name[0]), Contents(h)};
            }
        }
        return true;
    }

    template <class Image>
    bool SnapshotOf(const Image& file, Snapshot* out)
    {
        file.WriteTo(Path("state.qzb"));
        int16_t ref = openres(Spec("state.qzb"), false);
        if (ref == 0) return false;
        const bool ok = TakeSnapshot(out);
        closeres(ref, false);
        return ok;
    }

    // Commits inside a session and notes where the commit ended.
    void Commit(int16_t ref)
    {
        ASSERT_TRUE(updateres(ref)) << reserr;
        checkpoints_.push_back(io_->OpCount());
    }

    // Runs a session on a copy of `before`, then checks every crash state.
    template <class Image>
    void CheckSession(const Image& before, const std::function<void(int16_t)>& session)
    {
        before.WriteTo(Path("session.qzb"));
        StoreIoTable io;
        io_ = &io;
        checkpoints_.clear();
        io.Record(true);
        int16_t ref = openres(Spec("session.qzb"), false);
        ASSERT_NE(ref, 0) << reserr;
        session(ref);
        ASSERT_TRUE(closeres(ref, true)) << reserr;
        checkpoints_.push_back(io.OpCount());
        io.Record(false);
        const std::vector<IoOp> ops = io.Ops();

        // The recording is faithful: replayed, it gives the file on disk.
        if constexpr (std::is_same_v<Image, MemoryImage>) {
            Image replay = before;
            for (const IoOp& op : ops) replay.Apply(op);
            ASSERT_EQ(replay.bytes, ReadWholeFile(Path("session.qzb")));
        }

        // The committed contents: before the session and after each commit.
        std::vector<Snapshot> snaps(1);
        ASSERT_TRUE(SnapshotOf(before, &snaps[0]));
        for (size_t end : checkpoints_) {
            Image image = before;
            for (size_t i = 0; i < end; ++i) image.Apply(ops[i]);
            snaps.emplace_back();
            ASSERT_TRUE(SnapshotOf(image, &snaps.back()));
        }
        ASSERT_NE(snaps.front(), snaps.back()) << "the session changed nothing";

        seen_.clear();
        failures_ = 0;
        Image cur = before;
        size_t f = 0;  // first operation of the current stretch between flushes
        while (f <= ops.size()) {
            size_t e = f;
            while (e < ops.size() && ops[e].kind != IoOp::Flush) ++e;
            size_t k = 0;
            while (k < checkpoints_.size() && checkpoints_[k] <= e) ++k;
            const Image base = cur;
            Check(base, snaps, k, "power loss, nothing after the flush", f);
            for (size_t c = f; c < e; ++c) {
                const IoOp& op = ops[c];
                Image alone = base;
                alone.Apply(op);
                Check(alone, snaps, k, "power loss, one operation alone", c);
                if (op.kind == IoOp::Write) {
                    // Tears at each sector boundary inside the write, or
                    // at the first and last few of a long one.
                    const uint64_t firstCut = (op.offset / kSector + 1) * kSector;
                    const uint64_t lastCut = (op.offset + op.bytes.size() - 1) / kSector * kSector;
                    for (uint64_t b = firstCut; b <= lastCut; b += kSector) {
                        if (b == firstCut + kTornNearEnds * kSector && b + kTornNearEnds * kSector <= lastCut)
                            b = lastCut - (kTornNearEnds - 1) * kSector;
                        const size_t split = size_t(b - op.offset);
                        IoOp first{IoOp::Write, op.offset, Bytes(op.bytes.begin(), op.bytes.begin() + int64_t(split))};
                        IoOp last{IoOp::Write, b, Bytes(op.bytes.begin() + int64_t(split), op.bytes.end())};
                        Image torn = cur;
                        torn.Apply(first);
                        Check(torn, snaps, k, "torn write, first sectors", c);
                        torn = cur;
                        torn.Apply(last);
                        Check(torn, snaps, k, "torn write, last sectors", c);
                    }
                }
                cur.Apply(op);
                Check(cur, snaps, k, "process crash / all before the cut", c + 1);
            }
            f = e + 1;
        }
        EXPECT_EQ(failures_, 0u);
        io_ = nullptr;
    }

    // One rebuilt state: opens as commit k or k + 1, then takes two more
    // sessions, each adding a resource and removing an unnamed one, that
    // keep every other resource.
    template <class Image>
    void Check(const Image& file, const std::vector<Snapshot>& snaps, size_t k, const char* model, size_t cut)
    {
        ++gStatesEnumerated;
        if (!seen_.insert(file.Key() * 31 + k).second) return;
        ++gStatesChecked;
        auto fail = [&](const std::string& what) {
            if (++failures_ <= 5) ADD_FAILURE() << model << " at operation " << cut << ": " << what;
        };
        file.WriteTo(Path("state.qzb"));
        int16_t ref = openres(Spec("state.qzb"), false);
        if (ref == 0) return fail("does not open (" + std::to_string(reserr) + ")");
        Snapshot expected;
        const bool read = TakeSnapshot(&expected);
        if (!read || (expected != snaps[k] && (k + 1 == snaps.size() || expected != snaps[k + 1]))) {
            closeres(ref, false);
            return fail("contents are neither the last commit nor the next");
        }
        for (int16_t session = 1; session <= 2; ++session) {
            const std::string which = "session " + std::to_string(session) + " after the crash ";
            const Bytes extra = Pattern(size_t(300 * session), uint32_t(cut * 2 + size_t(session)));
            bool done = xaddres(MakeHandle(extra), kExtra, session);
            expected[{kExtra, session}] = {Bytes{0}, extra};
            // The first unnamed resource goes, then the last.
            std::vector<std::pair<ResType, int16_t>> unnamed;
            for (const auto& [key, value] : expected)
                if (key.first != kNames && key.first != kExtra && value.first == Bytes{0}) unnamed.push_back(key);
            if (!unnamed.empty()) {
                const auto key = session == 1 ? unnamed.front() : unnamed.back();
                done = done && rmveresbyid(key.first, key.second, true);
                expected.erase(key);
            }
            done = done && updateres(ref);
            const int16_t err = reserr;
            closeres(ref, true);
            if (!done) return fail(which + "cannot be committed (" + std::to_string(err) + ")");
            ref = openres(Spec("state.qzb"), false);
            if (ref == 0) return fail(which + "leaves a file that does not open (" + std::to_string(reserr) + ")");
            Snapshot got;
            if (!TakeSnapshot(&got) || got != expected) {
                closeres(ref, false);
                return fail(which + "loses or changes resources");
            }
        }
        closeres(ref, false);
    }

    // Changes of every kind, numbered so that sessions differ.
    void MixedChanges(int16_t base)
    {
        for (int16_t id = 0; id < 4; ++id)
            ASSERT_TRUE(xaddres(MakeHandle(Pattern(size_t(100 + 90 * id), uint32_t(base + id))), kTypeA, int16_t(300 + base + id)));
        for (int16_t id = int16_t(60 + base); id < 63 + base; ++id) {
            Handle h = xget1res(TypeOf(id), id);
            ASSERT_NE(h, nullptr);
            (*h)[0] = char((*h)[0] ^ 0x5A);
            ASSERT_TRUE(xwriteres(h));
        }
        for (int16_t id = int16_t(70 + base); id < 73 + base; ++id) {
            Handle h = xget1res(TypeOf(id), id);
            platform::SetHandleSize(h, platform::GetHandleSize(h) + 200);
            ASSERT_TRUE(xwriteres(h));
        }
        for (int16_t id = int16_t(80 + base); id < 83 + base; ++id) ASSERT_TRUE(rmveresbyid(TypeOf(id), id, true));
        const unsigned char name[] = "\x05" "mixed";
        ASSERT_TRUE(xsetresname(TypeOf(int16_t(90 + base)), int16_t(90 + base), name, false));
        ASSERT_TRUE(xsetresname(TypeOf(10), 10, name, false));
        ASSERT_TRUE(hcrypteres(xget1res(TypeOf(int16_t(95 + base)), int16_t(95 + base)), true));
        const Bytes now = Pattern(150, uint32_t(base));
        ASSERT_TRUE(g_resManager->AddResNow(now.data(), 150, kTypeB, int16_t(400 + base), 1000));
    }

    StoreIoTable* io_ = nullptr;
    std::vector<size_t> checkpoints_;
    std::unordered_set<size_t> seen_;
    size_t failures_ = 0;
};

TEST_F(CrashConsistencyTest, AddingTwoHundredResourcesToAnEmptyFile)
{
    CheckSession(EmptyFile(), [](int16_t) {
        for (int16_t id = 1; id <= 200; ++id)
            ASSERT_TRUE(xaddres(MakeHandle(Pattern(PayloadSize(id), uint32_t(id))), TypeOf(id), id));
    });
}

TEST_F(CrashConsistencyTest, RewritingResourcesThatKeepOrGrowTheirSize)
{
    const MemoryImage base = BaseFile();
    CheckSession(base, [](int16_t) {
        for (int16_t id = 20; id < 40; ++id) {
            Handle h = xget1res(TypeOf(id), id);
            ASSERT_NE(h, nullptr);
            for (int32_t i = 0; i < platform::GetHandleSize(h); ++i) (*h)[i] = char(~(*h)[i]);
            ASSERT_TRUE(xwriteres(h));
        }
    });
    CheckSession(base, [](int16_t) {
        for (int16_t id = 100; id < 120; ++id) {
            Handle h = xget1res(TypeOf(id), id);
            ASSERT_NE(h, nullptr);
            platform::SetHandleSize(h, platform::GetHandleSize(h) + 300);
            ASSERT_TRUE(xwriteres(h));
        }
    });
}

TEST_F(CrashConsistencyTest, RemovingAndRenaming)
{
    const MemoryImage base = BaseFile();
    CheckSession(base, [](int16_t) {
        for (int16_t id = 120; id < 140; ++id) ASSERT_TRUE(rmveresbyid(TypeOf(id), id, true));
    });
    CheckSession(base, [](int16_t) {
        const unsigned char name[] = "\x07" "renamed";
        for (int16_t id = 28; id <= 32; ++id) ASSERT_TRUE(xsetresname(TypeOf(id), id, name, false));
    });
}

// 200 records in two types make a map of 4014 bytes in a 4 KiB area.
TEST_F(CrashConsistencyTest, GrowingTheMapInsideAndPastItsArea)
{
    const MemoryImage base = BaseFile();
    ASSERT_EQ(BE32(base.bytes, 16), 2u + 2 * 6 + 201 * 20 + 6);  // the names resource has a type of its own
    CheckSession(base, [](int16_t) {
        ASSERT_TRUE(xaddres(MakeHandle(Pattern(40, 1)), kTypeA, 1001));
        ASSERT_TRUE(xaddres(MakeHandle(Pattern(40, 2)), kTypeA, 1002));
    });
    CheckSession(base, [](int16_t) {
        for (int16_t id = 1001; id <= 1005; ++id) ASSERT_TRUE(xaddres(MakeHandle(Pattern(40, uint32_t(id))), kTypeB, id));
    });
}

TEST_F(CrashConsistencyTest, GrowingPastTheFirstBitmapPage)
{
    const MemoryImage base = BaseFile();
    ASSERT_LT(BE32(base.bytes, 4), container::kBytesPerPage);
    CheckSession(base, [](int16_t) {
        for (int16_t id = 0; id < 3; ++id)
            ASSERT_TRUE(xaddres(MakeHandle(Pattern(70000, uint32_t(id))), kTypeB, int16_t(2000 + id)));
    });
}

// 101 resources of 2,300 bytes nearly fill the first bitmap page, and their
// map is given room to grow up to the logical end; one commit adds
// resources of 3,000 bytes past one, two and three more pages.
TEST_F(CrashConsistencyTest, GrowingPastOneTwoAndThreeMoreBitmapPages)
{
    int16_t ref = CreateFile("full.qzb");
    ASSERT_NE(ref, 0);
    for (int16_t id = 1; id <= 101; ++id) ASSERT_TRUE(xaddres(MakeHandle(Pattern(2300, uint32_t(id))), kTypeA, id));
    const unsigned char name[] = "\x04" "full";
    ASSERT_TRUE(xsetresname(kTypeA, 50, name, false));
    ASSERT_TRUE(closeres(ref, true));
    const MemoryImage full{ReadWholeFile(Path("full.qzb"))};
    ASSERT_EQ(container::PagesFor(BE32(full.bytes, 4)), 1u);
    for (const auto& [added, pages] : {std::pair{40, 2u}, {100, 3u}, {180, 4u}}) {
        CheckSession(full, [added = added](int16_t) {
            for (int16_t id = 0; id < added; ++id)
                ASSERT_TRUE(xaddres(MakeHandle(Pattern(3000, uint32_t(id))), kTypeB, int16_t(500 + id)));
        });
        EXPECT_EQ(container::PagesFor(BE32(ReadWholeFile(Path("session.qzb")), 4)), pages);
    }
}

// A file spanning 1022 full bitmap pages, held sparse: the first resource
// added needs a page more, and at that commit the page table leaves its
// first area for a larger one.
TEST_F(CrashConsistencyTest, MovingThePageTable)
{
    using namespace container;
    constexpr uint32_t kPages = kPageTableMoveAt - 1;
    auto base = std::make_shared<std::vector<IoOp>>();
    auto put = [&](uint64_t at, Bytes bytes) { base->push_back(IoOp{IoOp::Write, at, std::move(bytes)}); };
    Bytes header(64, 0);
    platform::WriteBE32(&header[0], kMagicNew);
    platform::WriteBE32(&header[4], kPages * kBytesPerPage);
    platform::WriteBE32(&header[8], kNewMapOffset);
    platform::WriteBE32(&header[12], kFirstPageTableOffset);
    platform::WriteBE32(&header[16], kEmptyMapLength);
    platform::WriteBE32(&header[24], kFlagsMarker);
    put(0, header);
    Bytes table(4 * kPages);
    for (uint32_t p = 0; p < kPages; ++p) platform::WriteBE32(&table[4 * p], p == 0 ? kNewPageZeroOffset : p * kBytesPerPage);
    put(kFirstPageTableOffset, table);
    put(kNewMapOffset, Bytes(kMapAreaStep, 0));
    for (uint32_t p = 0; p < kPages; ++p) put(p == 0 ? kNewPageZeroOffset : p * kBytesPerPage, Bytes(kPageBytes, 0xFF));

    CheckSession(SparseImage{base, {}}, [](int16_t) {
        ASSERT_TRUE(xaddres(MakeHandle(Pattern(100, 1)), kTypeA, 1));
        ASSERT_TRUE(xaddres(MakeHandle(Pattern(700, 2)), kTypeB, 2));
    });
    // The table did move.
    Bytes head(16);
    std::ifstream in(Path("session.qzb"), std::ios::binary);
    in.read(reinterpret_cast<char*>(head.data()), 16);
    EXPECT_NE(BE32(head, 12), kFirstPageTableOffset);
}

TEST_F(CrashConsistencyTest, OneCommitOfEveryKind)
{
    CheckSession(BaseFile(), [this](int16_t ref) {
        MixedChanges(0);
        ASSERT_TRUE(updateresNoMap(ref));
        Handle h = xget1res(kTypeA, 3);
        platform::SetHandleSize(h, 30);
        ASSERT_TRUE(xwriteres(h));
    });
}

TEST_F(CrashConsistencyTest, TwoCommitsInOneSession)
{
    CheckSession(BaseFile(), [this](int16_t ref) {
        MixedChanges(0);
        Commit(ref);
        MixedChanges(5);
    });
}

// Twenty commits in one session, each adding resources and a name: the map
// and the names table are written where the commit before last had them,
// and move to new places only when they outgrow those.
TEST_F(CrashConsistencyTest, TwentyCommitsThatReuseTheirSpace)
{
    const MemoryImage base = BaseFile();
    CheckSession(base, [this](int16_t ref) {
        for (int16_t c = 0; c < 20; ++c) {
            for (int16_t k = 0; k < 4; ++k)
                ASSERT_TRUE(xaddres(MakeHandle(Pattern(24, uint32_t(c * 4 + k))), kTypeA, int16_t(700 + c * 4 + k)));
            const unsigned char name[] = "\x06" "commit";
            ASSERT_TRUE(xsetresname(kTypeA, int16_t(700 + c * 4), name, false));
            if (c + 1 < 20) Commit(ref);
        }
    });
    // Appended each time, twenty maps of about 5 KiB alone would add 100 KiB.
    const Bytes after = ReadWholeFile(Path("session.qzb"));
    EXPECT_LT(BE32(after, 4) - BE32(base.bytes, 4), 40u * 1024);
}

TEST_F(CrashConsistencyTest, MixedSessionOnALittleEndianFile)
{
    const MemoryImage twin{docbuilder::LittleEndianTwin(BaseFile().bytes)};
    CheckSession(twin, [this](int16_t ref) {
        MixedChanges(0);
        Commit(ref);
        MixedChanges(5);
    });
}

}  // namespace
}  // namespace storetest
