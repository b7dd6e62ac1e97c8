// A change of one commit whose commit fails puts back what it kept, as the
// store had it: enciphered, named, empty or missing.
#include "design/choicelists/OneCommit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/core/Faults.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/CPseudoResFile.h"
#include "resources/CPseudoResManager.h"
#include "resources/ResourceApi.h"
#include "resources/container/ContainerLayout.h"
#include "tests/design/DesignFixture.h"
#include "tests/platform/core/FailingNew.h"

namespace designtest {
namespace {

constexpr platform::ResType kType = platform::FourCC("ONEC");

std::vector<uint8_t> Contents(platform::Handle h)
{
    if (!h || !*h) return {};
    const auto* p = reinterpret_cast<const uint8_t*>(*h);
    return std::vector<uint8_t>(p, p + platform::GetHandleSize(h));
}

class OneCommitTest : public DesignFixture {
protected:
    std::vector<uint8_t> FileBytes() const
    {
        std::ifstream in(folder_ / "doc.qzb", std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    void ReopenStore()
    {
        ASSERT_TRUE(closeres(doc_.fResFile, true));
        platform::FSSpec fileSpec;
        platform::FSMakeFSSpec(folder_ / "doc.qzb", &fileSpec);
        doc_.fResFile = openres(fileSpec, false);
        ASSERT_NE(doc_.fResFile, 0);
    }
};

// A failed commit puts back what the change kept, as the store had it:
// enciphered, named, empty or missing; a change that cannot be dropped
// (memory short) puts the copies back, which were made as they were kept.
// When a copy cannot go back either (the standard library's memory short,
// at each of its allocations in turn), that is said and no commit lands
// the change's remains. Either way the next change finds the store as its
// files are, and lands.
TEST_F(OneCommitTest, AFailedCommitPutsBackWhatItKept)
{
    OpenStore();
    AddStored(kType, 1, {1, 2, 3, 4});
    ASSERT_TRUE(hcrypteres(xget1res(kType, 1), true));
    ASSERT_TRUE(xsetresname(kType, 1, PName("Reports"), false));
    AddStored(kType, 2, {});
    ASSERT_TRUE(updateres(doc_.fResFile));
    // Every resource of the type: id, enciphered, name, bytes.
    const auto stored = [] {
        std::vector<std::string> out;
        for (int16_t id = 1; id <= 4; ++id) {
            platform::Handle h = xget1res(kType, id);
            if (!h) continue;
            unsigned char name[256] = {0};
            xgetresname(kType, id, name, false);
            const std::vector<uint8_t> bytes = Contents(h);
            out.push_back(std::to_string(id) + (xiscryptedres(h) ? " enciphered " : " plain ") + P(name) + " " +
                          std::string(bytes.begin(), bytes.end()));
        }
        return out;
    };
    const std::vector<std::string> before = stored();
    const struct {
        const char* what;
        bool memoryShort, newFailing;
    } rows[] = {
        {"disk full", false, false},
        {"disk full, memory short", true, false},
        {"disk full, memory short, then the standard library's", true, true},
    };
    for (const auto& row : rows) {
        bool said = false;
        for (int64_t after = 0;; ++after) {
            SCOPED_TRACE(testing::Message() << row.what << ", allocation " << after);
            int16_t err = 0;
            bool pending = false;
            {
                OneCommit change(doc_.fResFile);
                for (int16_t id = 1; id <= 3; ++id) ASSERT_TRUE(change.Keep(kType, id)) << id;
                ASSERT_TRUE(rmveresbyid(kType, 1, true));
                // Changed in place: a drop reads its bytes back, which
                // takes memory.
                platform::Handle two = xget1res(kType, 2);
                platform::SetHandleSize(two, 3);
                ASSERT_TRUE(xwriteres(two));
                platform::Handle three = platform::NewHandle(2);
                ASSERT_TRUE(xaddres(three, kType, 3));
                ASSERT_TRUE(hcrypteres(three, false));  // an enciphered newcomer goes too
                ASSERT_TRUE(updateres(doc_.fResFile));
                platform::ScopedFault full(platform::FaultKind::DiskFull, 0, -1);
                platform::ScopedFault memory(platform::FaultKind::Allocation, row.memoryShort ? 0 : 1000000, -1);
                if (row.newFailing) testfaults::FailNthNew(after);
                err = change.Commit();
                pending = testfaults::NewFailurePending();
                testfaults::StopFailingNew();
            }
            EXPECT_NE(err, 0);
            // What is not said is back: the store commits it as after any
            // failed commit. What is said is never committed.
            said = said || err == kResAdrift;
            EXPECT_EQ(updateres(doc_.fResFile), err != kResAdrift);
            if (err != kResAdrift) {
                EXPECT_EQ(stored(), before);
            }
            {
                OneCommit next(doc_.fResFile);
                EXPECT_EQ(stored(), before);
                ASSERT_TRUE(next.Keep(kType, 4));
                AddStored(kType, 4, {9});
                EXPECT_EQ(next.Commit(), 0);
            }
            const std::vector<std::string> held = stored();
            ReopenStore();
            EXPECT_EQ(stored(), held);
            ASSERT_TRUE(rmveresbyid(kType, 4, true));
            ASSERT_TRUE(updateres(doc_.fResFile));
            if (!row.newFailing || pending) break;
        }
        EXPECT_EQ(said, row.newFailing) << row.what;
    }
}

// A change inside another, given up, puts back what it kept itself: each
// enciphered resource under the key it had.
TEST_F(OneCommitTest, AChangeGivenUpInsideAnotherPutsBackEachKey)
{
    OpenStore();
    AddStored(kType, 1, {1, 2});
    AddStored(kType, 2, {3, 4});
    ASSERT_TRUE(hcrypteres(xget1res(kType, 1), true));
    ASSERT_TRUE(hcrypteres(xget1res(kType, 2), false));
    ASSERT_TRUE(updateres(doc_.fResFile));
    auto attributes = [&](int16_t id) -> uint16_t {
        platform::Handle h = xget1res(kType, id);
        CPseudoResFile* file = g_resManager->FindFile(doc_.fResFile);
        int32_t t = 0, r = 0;
        if (!h || !file || !file->FindRes(h, &t, &r)) return 0xFFFF;
        return file->GetIndResAttributes(kType, r, nullptr) & (container::kAttrEnciphered | container::kAttrKeyVariant);
    };
    const uint16_t variant = container::kAttrEnciphered | container::kAttrKeyVariant;
    ASSERT_EQ(attributes(1), variant);
    ASSERT_EQ(attributes(2), container::kAttrEnciphered);
    OneCommit outer(doc_.fResFile);
    {
        OneCommit inner(doc_.fResFile);
        ASSERT_TRUE(inner.Keep(kType, 1));
        ASSERT_TRUE(inner.Keep(kType, 2));
        ASSERT_TRUE(rmveresbyid(kType, 1, true));
        ASSERT_TRUE(rmveresbyid(kType, 2, true));
    }
    EXPECT_EQ(attributes(1), variant);
    EXPECT_EQ(attributes(2), container::kAttrEnciphered);
    EXPECT_EQ(Contents(xget1res(kType, 1)), (std::vector<uint8_t>{1, 2}));
    EXPECT_EQ(outer.Commit(), 0);
}

// A change whose commit fails on one write leaves the file byte for byte as
// its last commit left it; whether the disk fails once or from some write
// on, the store reads as before and the changes made after it (the disk
// back) are committed and found on reopening: the store is not left
// holding its commits.
TEST_F(OneCommitTest, AFailedCommitLeavesTheFileAsItWasAndLaterChangesLand)
{
    for (const int32_t failing : {1, -1}) {
        for (int32_t write = 0; write < 12; ++write) {
            SCOPED_TRACE(testing::Message() << "failing " << failing << " from write " << write);
            std::filesystem::remove(folder_ / "doc.qzb");
            OpenStore();
            AddStored(kType, 1, {1, 2, 3});
            AddStored(kType, 2, {4, 5});
            const std::vector<uint8_t> before = FileBytes();
            int16_t err = 0;
            {
                OneCommit change(doc_.fResFile);
                ASSERT_TRUE(change.Keep(kType, 1));
                ASSERT_TRUE(change.Keep(kType, 3));
                ASSERT_TRUE(rmveresbyid(kType, 1, true));
                AddStored(kType, 3, {6});
                platform::ScopedFault full(platform::FaultKind::DiskFull, write, failing);
                err = change.Commit();
            }
            if (err == 0) break;  // the commit is past the failing write
            // A disk that fails for good cannot even be put back: the file
            // then reads as before, and the next commit makes it so.
            if (failing == 1) { EXPECT_EQ(FileBytes(), before); }
            EXPECT_NE(xget1res(kType, 1), nullptr);
            EXPECT_EQ(xget1res(kType, 3), nullptr);
            AddStored(kType, 4, {7, 8});
            ReopenStore();
            for (const int16_t id : {1, 2, 4}) EXPECT_NE(xget1res(kType, id), nullptr) << id;
            EXPECT_EQ(xget1res(kType, 3), nullptr);
        }
    }
}

}  // namespace
}  // namespace designtest
