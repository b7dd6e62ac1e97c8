// Crash consistency of saves. Every file operation of a session is
// recorded; the file is then rebuilt at every cut point under two models
// of a crash, and each rebuilt file must open with exactly the contents of
// the last commit before the cut or of the one after it, then take one
// more resource, commit and read it back whole.
//  Process crash: every operation before the cut reached the file.
//  Power loss: the operations up to the last flush before the cut, plus
//  none, all, or each single later one alone; the write in flight torn at
//  a 512-byte sector boundary (its first or its last sectors landed).
#include <cstdio>
#include <functional>
#include <map>
#include <string_view>
#include <unordered_set>

#include "resources/CPseudoResManager.h"
#include "resources/container/ContainerLayout.h"
#include "tests/resources/LittleEndianTwin.h"
#include "tests/resources/StoreIoRecorder.h"
#include "tests/resources/StoreTestSupport.h"

namespace storetest {
namespace {

constexpr ResType kTypeA = FourCC("CRSA");
constexpr ResType kTypeB = FourCC("CRSB");
constexpr ResType kExtra = FourCC("XTRA");
constexpr uint64_t kSector = 512;

// Every resource of a file: (type, id) -> (name, payload).
using Snapshot = std::map<std::pair<ResType, int16_t>, std::pair<Bytes, Bytes>>;

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
    Bytes EmptyFile()
    {
        int16_t ref = CreateFile("empty.qzb");
        EXPECT_NE(ref, 0);
        EXPECT_TRUE(closeres(ref, true));
        return ReadWholeFile(Path("empty.qzb"));
    }

    // 200 resources of two types and varied sizes, five of them named.
    Bytes BaseFile()
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
        return ReadWholeFile(Path("base.qzb"));
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

    bool SnapshotOf(const Bytes& file, Snapshot* out)
    {
        WriteWholeFile(Path("state.qzb"), file);
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
    void CheckSession(const Bytes& before, const std::function<void(int16_t)>& session)
    {
        WriteWholeFile(Path("session.qzb"), before);
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
        Bytes replay = before;
        for (const IoOp& op : ops) ApplyOp(replay, op);
        ASSERT_EQ(replay, ReadWholeFile(Path("session.qzb")));

        // The committed contents: before the session and after each commit.
        std::vector<Snapshot> snaps(1);
        ASSERT_TRUE(SnapshotOf(before, &snaps[0]));
        for (size_t end : checkpoints_) {
            Bytes image = before;
            for (size_t i = 0; i < end; ++i) ApplyOp(image, ops[i]);
            snaps.emplace_back();
            ASSERT_TRUE(SnapshotOf(image, &snaps.back()));
        }
        ASSERT_NE(snaps.front(), snaps.back()) << "the session changed nothing";

        seen_.clear();
        failures_ = 0;
        Bytes cur = before;
        size_t f = 0;  // first operation of the current stretch between flushes
        while (f <= ops.size()) {
            size_t e = f;
            while (e < ops.size() && ops[e].kind != IoOp::Flush) ++e;
            size_t k = 0;
            while (k < checkpoints_.size() && checkpoints_[k] <= e) ++k;
            const Bytes base = cur;
            Check(base, snaps, k, "power loss, nothing after the flush", f);
            for (size_t c = f; c < e; ++c) {
                const IoOp& op = ops[c];
                Bytes alone = base;
                ApplyOp(alone, op);
                Check(alone, snaps, k, "power loss, one operation alone", c);
                if (op.kind == IoOp::Write) {
                    // Tears at each sector boundary inside the write.
                    for (uint64_t b = (op.offset / kSector + 1) * kSector; b < op.offset + op.bytes.size(); b += kSector) {
                        const size_t split = size_t(b - op.offset);
                        IoOp first{IoOp::Write, op.offset, Bytes(op.bytes.begin(), op.bytes.begin() + int64_t(split))};
                        IoOp last{IoOp::Write, b, Bytes(op.bytes.begin() + int64_t(split), op.bytes.end())};
                        Bytes torn = cur;
                        ApplyOp(torn, first);
                        Check(torn, snaps, k, "torn write, first sectors", c);
                        torn = cur;
                        ApplyOp(torn, last);
                        Check(torn, snaps, k, "torn write, last sectors", c);
                    }
                }
                ApplyOp(cur, op);
                Check(cur, snaps, k, "process crash / all before the cut", c + 1);
            }
            f = e + 1;
        }
        EXPECT_EQ(failures_, 0u);
        io_ = nullptr;
    }

    // One rebuilt state: opens as commit k or k + 1, then takes one more.
    void Check(const Bytes& file, const std::vector<Snapshot>& snaps, size_t k, const char* model, size_t cut)
    {
        ++gStatesEnumerated;
        const size_t key = std::hash<std::string_view>{}(
            std::string_view(reinterpret_cast<const char*>(file.data()), file.size())) * 31 + k;
        if (!seen_.insert(key).second) return;
        ++gStatesChecked;
        auto fail = [&](const std::string& what) {
            if (++failures_ <= 5) ADD_FAILURE() << model << " at operation " << cut << ": " << what;
        };
        WriteWholeFile(Path("state.qzb"), file);
        int16_t ref = openres(Spec("state.qzb"), false);
        if (ref == 0) return fail("does not open (" + std::to_string(reserr) + ")");
        Snapshot got;
        const bool read = TakeSnapshot(&got);
        const bool known = read && (got == snaps[k] || (k + 1 < snaps.size() && got == snaps[k + 1]));
        const Bytes extra = Pattern(300, uint32_t(cut));
        const bool added = xaddres(MakeHandle(extra), kExtra, 1) && updateres(ref);
        closeres(ref, true);
        if (!known) return fail("contents are neither the last commit nor the next");
        if (!added) return fail("a resource more cannot be committed (" + std::to_string(reserr) + ")");
        ref = openres(Spec("state.qzb"), false);
        if (ref == 0) return fail("does not open after one more commit");
        if (Contents(xget1res(kExtra, 1)) != extra || compteres(kExtra, true) != 1) fail("the added resource is lost");
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
    const Bytes base = BaseFile();
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
    const Bytes base = BaseFile();
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
    const Bytes base = BaseFile();
    ASSERT_EQ(BE32(base, 16), 2u + 2 * 6 + 201 * 20 + 6);  // the names resource has a type of its own
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
    const Bytes base = BaseFile();
    ASSERT_LT(BE32(base, 4), container::kBytesPerPage);
    CheckSession(base, [](int16_t) {
        for (int16_t id = 0; id < 3; ++id)
            ASSERT_TRUE(xaddres(MakeHandle(Pattern(70000, uint32_t(id))), kTypeB, int16_t(2000 + id)));
    });
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

TEST_F(CrashConsistencyTest, MixedSessionOnALittleEndianFile)
{
    const Bytes twin = containertest::LittleEndianTwin(BaseFile());
    CheckSession(twin, [this](int16_t ref) {
        MixedChanges(0);
        Commit(ref);
        MixedChanges(5);
    });
}

}  // namespace
}  // namespace storetest
