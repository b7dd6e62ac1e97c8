// A change of one commit whose commit fails puts back what it kept, as the
// store had it: enciphered, empty or missing.
#include "design/choicelists/OneCommit.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/core/Faults.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"
#include "tests/design/DesignFixture.h"

namespace designtest {
namespace {

constexpr platform::ResType kType = platform::FourCC("ONEC");

std::vector<uint8_t> Contents(platform::Handle h)
{
    if (!h || !*h) return {};
    const auto* p = reinterpret_cast<const uint8_t*>(*h);
    return std::vector<uint8_t>(p, p + platform::GetHandleSize(h));
}

class OneCommitTest : public DesignFixture {};

TEST_F(OneCommitTest, AFailedCommitPutsBackWhatItKept)
{
    OpenStore();
    AddStored(kType, 1, {1, 2, 3, 4});
    ASSERT_TRUE(hcrypteres(xget1res(kType, 1), true));
    AddStored(kType, 2, {});
    ASSERT_TRUE(updateres(doc_.fResFile));
    {
        OneCommit change(doc_.fResFile);
        for (int16_t id = 1; id <= 3; ++id) ASSERT_TRUE(change.Keep(kType, id)) << id;
        ASSERT_TRUE(rmveresbyid(kType, 1, true));
        ASSERT_TRUE(rmveresbyid(kType, 2, true));
        platform::Handle three = platform::NewHandle(2);
        ASSERT_TRUE(xaddres(three, kType, 3));
        ASSERT_TRUE(updateres(doc_.fResFile));
        platform::ScopedFault full(platform::FaultKind::DiskFull, 0, -1);
        EXPECT_NE(change.Commit(), 0);
    }
    const struct {
        int16_t id;
        bool present, enciphered;
        std::vector<uint8_t> contents;
    } cases[] = {
        {1, true, true, {1, 2, 3, 4}},
        {2, true, false, {}},
        {3, false, false, {}},
    };
    for (const auto& c : cases) {
        platform::Handle h = xget1res(kType, c.id);
        EXPECT_EQ(h != nullptr, c.present) << c.id;
        if (!h) continue;
        EXPECT_EQ(Contents(h), c.contents) << c.id;
        EXPECT_EQ(xiscryptedres(h), c.enciphered) << c.id;
    }
}

}  // namespace
}  // namespace designtest
