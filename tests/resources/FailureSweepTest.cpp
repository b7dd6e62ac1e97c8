// Every allocation and every file operation of opening, creating, reading
// all, adding, committing and closing is made to fail in turn. Each must
// give a clean error, leak nothing, leave the file as it was (or, at a
// commit, at the old or the new contents), and succeed when tried again
// without the fault.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>

#include "resources/CPseudoResManager.h"
#include "tests/platform/core/FailingNewDefinitions.h"
#include "tests/resources/StoreIoRecorder.h"
#include "tests/resources/StoreTestSupport.h"

namespace storetest {
namespace {

constexpr ResType kType = FourCC("SWEP");
constexpr ResType kAdded = FourCC("ADDD");

enum class Fault { PlatformAllocation, OperatorNew, DiskFull, IoError };
enum class Phase { Open, Create, ReadAll, Add, Commit, Close };

using Snapshot = std::map<std::pair<ResType, int16_t>, std::pair<Bytes, Bytes>>;

const char* Name(Phase p)
{
    const char* names[] = {"open", "create", "read all", "add", "commit", "close"};
    return names[int(p)];
}

class FailureSweepTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        int16_t ref = CreateFile("base.qzb");
        ASSERT_NE(ref, 0);
        for (int16_t id = 1; id <= 8; ++id)
            ASSERT_TRUE(xaddres(MakeHandle(Pattern(size_t(30 * id), uint32_t(id))), kType, id));
        const unsigned char name[] = "\x04" "base";
        ASSERT_TRUE(xsetresname(kType, 1, name, false));
        ASSERT_TRUE(closeres(ref, true));
        base_ = ReadWholeFile(Path("base.qzb"));
        ASSERT_TRUE(SnapshotOf(base_, &old_));

        // What the commit phases end with when nothing fails.
        WriteWholeFile(Path("doc.qzb"), base_);
        ref = openres(Spec("doc.qzb"), false);
        ASSERT_NE(ref, 0);
        MakeChanges();
        ASSERT_TRUE(closeres(ref, true));
        ASSERT_TRUE(SnapshotOf(ReadWholeFile(Path("doc.qzb")), &new_));
        ResetResManager();
    }

    static bool TakeSnapshot(Snapshot* out)
    {
        out->clear();
        for (int32_t t = 1; t <= comptetypes(); ++t) {
            const ResType type = xgetindtyp(t);
            for (int16_t i = 1; i <= compteres(type, true); ++i) {
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
        WriteWholeFile(Path("look.qzb"), file);
        const int16_t before = xcurres();
        int16_t ref = openres(Spec("look.qzb"), false);
        if (ref == 0) return false;
        const bool ok = TakeSnapshot(out);
        closeres(ref, false);
        if (before != 0) useres(before);
        return ok;
    }

    // One change of each kind, on the current file.
    static void MakeChanges()
    {
        ASSERT_TRUE(xaddres(MakeHandle(Pattern(300, 77)), kAdded, 1));
        Handle h = xget1res(kType, 2);
        ASSERT_NE(h, nullptr);
        (*h)[0] = char((*h)[0] ^ 0x55);
        ASSERT_TRUE(xwriteres(h));
        h = xget1res(kType, 3);
        platform::SetHandleSize(h, 500);
        ASSERT_TRUE(xwriteres(h));
        ASSERT_TRUE(rmveresbyid(kType, 4, true));
        const unsigned char name[] = "\x03" "new";
        ASSERT_TRUE(xsetresname(kType, 5, name, false));
    }

    void Arm(Fault f, int32_t n, StoreIoTable& io)
    {
        switch (f) {
        case Fault::PlatformAllocation: platform::InjectFault(platform::FaultKind::Allocation, n, 1); break;
        case Fault::OperatorNew: testfaults::FailNthNew(n); break;
        case Fault::DiskFull: io.FailWritesAfter(n, platform::dskFulErr, true); break;
        case Fault::IoError: io.FailWritesAfter(n, platform::ioErr, false); break;
        }
    }

    // Stops the fault; true when it happened.
    bool Disarm(Fault f, StoreIoTable& io)
    {
        bool fired = false;
        switch (f) {
        case Fault::PlatformAllocation:
            fired = !platform::IsFaultArmed(platform::FaultKind::Allocation);
            platform::ClearAllFaults();
            break;
        case Fault::OperatorNew:
            fired = !testfaults::NewFailurePending();
            testfaults::StopFailingNew();
            break;
        case Fault::DiskFull:
        case Fault::IoError:
            fired = io.Fired();
            io.FailWritesAfter(0, platform::noErr, false);
            break;
        }
        return fired;
    }

    // Reads every resource and name of the current file; allocates nothing
    // of its own, so that only the store meets the fault.
    static bool ReadAll()
    {
        for (int32_t t = 1; t <= comptetypes(); ++t) {
            const ResType type = xgetindtyp(t);
            for (int16_t i = 1; i <= compteres(type, true); ++i) {
                Handle h = xgetindres(type, i, true);
                if (!h) return false;
                int16_t id = 0;
                ResType got = 0;
                xgetresinfo(h, &id, &got);
                platform::Str255 name;
                if (!xgetresname(type, id, name, false)) return false;
            }
        }
        return reserr == 0;
    }

    // Fails the Nth operation of the phase for every N, until the phase
    // runs through without meeting the fault.
    void Sweep(Phase phase, Fault fault)
    {
        ResetResManager();
        for (int32_t n = 0;; ++n) {
            ASSERT_LT(n, 4000) << "the sweep does not end";
            const std::string at = std::string(Name(phase)) + ", operation " + std::to_string(n);
            std::filesystem::remove(Path("new.qzb"));
            WriteWholeFile(Path("doc.qzb"), base_);
            const size_t handles = platform::LiveHandleCount(), ptrs = platform::LivePtrCount();
            const int64_t inUse = platform::MemoryInUse();
            bool fired = false;
            const FSSpec doc = Spec("doc.qzb"), created = Spec("new.qzb");
            {
                StoreIoTable io;
                initresman();
                int16_t ref = 0;
                if (phase != Phase::Open && phase != Phase::Create) {
                    ref = openres(Spec("doc.qzb"), false);
                    ASSERT_NE(ref, 0);
                }
                if (phase == Phase::Commit || phase == Phase::Close) MakeChanges();
                Handle added = phase == Phase::Add ? MakeHandle(Pattern(200, 5)) : nullptr;

                Arm(fault, n, io);
                bool ok = false;
                switch (phase) {
                case Phase::Open: ok = (ref = openres(doc, false)) != 0; break;
                case Phase::Create: ok = (ref = createres(created, FourCC("QzBw"), FourCC("QzDB"))) != 0; break;
                case Phase::ReadAll: ok = ReadAll(); break;
                case Phase::Add: ok = xaddres(added, kAdded, 1); break;
                case Phase::Commit: ok = updateres(ref); break;
                case Phase::Close: ok = closeres(ref, true); break;
                }
                const int16_t err = reserr;
                fired = Disarm(fault, io);
                if (!ok) {
                    EXPECT_TRUE(fired) << at << ": failed on its own (" << err << ")";
                    EXPECT_NE(err, 0) << at << ": a failure reported as success";
                }
                if (phase == Phase::Close) ref = 0;

                // On disk: unchanged before a commit, old or new at one.
                const Bytes now = ReadWholeFile(Path("doc.qzb"));
                if (phase == Phase::Commit || phase == Phase::Close) {
                    Snapshot s;
                    EXPECT_TRUE(SnapshotOf(now, &s)) << at << ": the document does not open";
                    EXPECT_TRUE(s == old_ || s == new_) << at << ": the document is neither old nor new";
                } else if (phase != Phase::Create) {
                    Bytes masked = now;
                    if (masked.size() >= 24) std::copy(base_.begin() + 20, base_.begin() + 24, masked.begin() + 20);
                    EXPECT_EQ(masked, base_) << at << ": the document changed before a commit";
                }

                // Tried again without the fault, the phase succeeds.
                if (!ok) {
                    switch (phase) {
                    case Phase::Open: ref = openres(Spec("doc.qzb"), false); ok = ref != 0; break;
                    case Phase::Create: ref = CreateFile("new.qzb"); ok = ref != 0; break;
                    case Phase::ReadAll: ok = ReadAll(); break;
                    case Phase::Add: ok = xaddres(added, kAdded, 1); break;
                    case Phase::Commit: ok = updateres(ref); break;
                    case Phase::Close:
                        ref = openres(Spec("doc.qzb"), false);
                        ok = ref != 0 && closeres(ref, true);
                        ref = 0;
                        break;
                    }
                    EXPECT_TRUE(ok) << at << ": a retry without the fault fails (" << reserr << ")";
                }
                if (ref != 0) {
                    EXPECT_TRUE(closeres(ref, true)) << at << ": " << reserr;
                }

                Snapshot final;
                if (phase == Phase::Create) {
                    EXPECT_TRUE(SnapshotOf(ReadWholeFile(Path("new.qzb")), &final)) << at;
                    EXPECT_TRUE(final.empty()) << at;
                } else {
                    EXPECT_TRUE(SnapshotOf(ReadWholeFile(Path("doc.qzb")), &final)) << at;
                    const bool expected = phase == Phase::Commit  ? final == new_
                                          : phase == Phase::Close ? final == new_ || final == old_
                                          : phase == Phase::Add   ? final.size() == old_.size() + 1
                                                                  : final == old_;
                    EXPECT_TRUE(expected) << at << ": the document ends with the wrong contents";
                }
                ResetResManager();
            }
            EXPECT_EQ(platform::LiveHandleCount(), handles) << at << ": handles leaked";
            EXPECT_EQ(platform::LivePtrCount(), ptrs) << at << ": pointers leaked";
            EXPECT_EQ(platform::MemoryInUse(), inUse) << at;
            if (HasFailure() || !fired) break;
            ++faultsMet_;
        }
    }

    void SweepEveryPhase(Fault fault)
    {
        for (Phase phase : {Phase::Open, Phase::Create, Phase::ReadAll, Phase::Add, Phase::Commit, Phase::Close}) {
            const int32_t before = faultsMet_;
            Sweep(phase, fault);
            if (HasFailure()) return;
            std::printf("[ sweep    ] %s: %d faults met\n", Name(phase), faultsMet_ - before);
        }
        EXPECT_GT(faultsMet_, 0);
    }

    Bytes base_;
    Snapshot old_, new_;
    int32_t faultsMet_ = 0;
};

// The other entries, each with every standard allocation failing in turn:
// either they succeed or they answer -108 and the store reads as before.
TEST_F(FailureSweepTest, OtherEntriesAnswerMemoryFullAndChangeNothing)
{
    const unsigned char name[] = "\x06" "sweeps";
    const std::vector<std::pair<const char*, std::function<bool()>>> entries = {
        {"set name", [&] { return xsetresname(kType, 6, name, false); }},
        {"get name", [] { platform::Str255 n; return xgetresname(kType, 1, n, false); }},
        {"remove", [] { return rmveresbyid(kType, 7, true); }},
        {"remove by handle", [] { return rmveres(xget1res(kType, 8)); }},
        {"write back", [] { return xwriteres(xget1res(kType, 2)); }},
        {"encipher", [] { return hcrypteres(xget1res(kType, 3), false); }},
        {"unique id", [] { return uniqueresid(kType) > 0; }},
        {"id list", [] {
             VWordArray* list = g_resManager->GetResIDList(kType);
             delete list;
             return list != nullptr;
         }},
        {"name list", [] {
             Handle h = g_resManager->GetResNameList(kType);
             if (h) platform::DisposeHandle(h);
             return h != nullptr;
         }},
        {"resource list", [] {
             Handle h = g_resManager->CurrentFile()->GetResList();
             if (h) platform::DisposeHandle(h);
             return h != nullptr;
         }},
        {"bitmap check", [] { return g_resManager->CurrentFile()->HasGoodBitsTable(nullptr, nullptr); }},
        {"write without the map", [] { return updateresNoMap(xcurres()); }},
    };
    for (const auto& [what, call] : entries) {
        for (int32_t n = 0;; ++n) {
            ASSERT_LT(n, 1000);
            ResetResManager();
            WriteWholeFile(Path("doc.qzb"), base_);
            initresman();
            ASSERT_NE(openres(Spec("doc.qzb"), false), 0);
            Snapshot before;
            ASSERT_TRUE(TakeSnapshot(&before));
            testfaults::FailNthNew(n);
            const bool ok = call();
            const int16_t err = reserr;
            const bool fired = !testfaults::NewFailurePending();
            testfaults::StopFailingNew();
            if (!ok) {
                EXPECT_EQ(err, kResMemFull) << what << ", allocation " << n;
                Snapshot after;
                EXPECT_TRUE(TakeSnapshot(&after));
                EXPECT_TRUE(after == before) << what << ", allocation " << n << ": the store changed";
            }
            if (!fired || HasFailure()) break;
        }
        if (HasFailure()) return;
    }
    ResetResManager();
}

TEST_F(FailureSweepTest, EveryPlatformAllocationFailsInTurn) { SweepEveryPhase(Fault::PlatformAllocation); }
TEST_F(FailureSweepTest, EveryStandardAllocationFailsInTurn) { SweepEveryPhase(Fault::OperatorNew); }
TEST_F(FailureSweepTest, EveryFileOperationMeetsAFullDisk) { SweepEveryPhase(Fault::DiskFull); }
TEST_F(FailureSweepTest, EveryFileOperationFailsOnceWithAnIoError) { SweepEveryPhase(Fault::IoError); }

}  // namespace
}  // namespace storetest
