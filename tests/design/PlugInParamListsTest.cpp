// The parameter lists of plug-in routines: stored types become object
// kinds exactly once, and a list that does not fit its counts is refused.
#include <gtest/gtest.h>

#include <filesystem>

#include "design/plugins/ParamLists.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "tests/platform/files/TempFolder.h"
#include "tests/platform/resfiles/ResFileWriter.h"

namespace {

using Bytes = std::vector<uint8_t>;
using platform::FourCC;

class ParamLists : public ::testing::Test {
protected:
    void SetUp() override { platform::ResetResourceManager(); }
    void TearDown() override { platform::ResetResourceManager(); }

    // A resource file holding 'EPRM' 1 with these bytes, current.
    void Store(const Bytes& bytes)
    {
        const std::string path = folder_.path() + "/p" + std::to_string(++files_) + ".rsrc";
        restest::WriteResFile(path, {{"EPRM", 1, bytes}});
        ASSERT_GT(platform::OpenResFile(path, platform::fsRdPerm, platform::ResFileFork::Data), 0);
    }
    static Bytes Of(platform::Handle h)
    {
        const auto* p = reinterpret_cast<const uint8_t*>(*h);
        return Bytes(p, p + platform::GetHandleSize(h));
    }

    platform::testing::TempFolder folder_;
    int files_ = 0;
};

TEST_F(ParamLists, EveryStoredTypeBecomesItsKindOnce)
{
    // Routine 7 with the fifteen stored types of the table, 1 and 9 (which
    // stay), and routine 2 with a type that is also a kind (19).
    const int16_t stored[] = {2, 3, 8, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 1, 9};
    const int16_t kinds[] = {19, 8, 2, 3, 20, 22, 21, 11, 23, 24, 25, 12, 13, 14, 15, 1, 9};
    Bytes list = {0, 2, 0, 7, 0, 17};
    for (size_t i = 0; i < std::size(stored); ++i) list.insert(list.end(), {0, uint8_t(i + 1), 0, uint8_t(stored[i])});
    list.insert(list.end(), {0, 2, 0, 1, 0, 5, 0, 19, 0xAB});  // a trailing byte is kept
    Store(list);
    platform::Handle converted = GetEPRM(1);
    ASSERT_NE(converted, nullptr);
    Bytes expected = list;
    for (size_t i = 0; i < std::size(kinds); ++i) expected[6 + 4 * i + 3] = uint8_t(kinds[i]);
    expected[6 + 4 * 17 + 4 + 3] = 12;
    EXPECT_EQ(Of(converted), expected);
    const auto params = RoutineParamKinds(converted, 7);
    ASSERT_EQ(params.size(), 17u);
    EXPECT_EQ(params[0], (std::pair<int16_t, int16_t>{1, 19}));
    EXPECT_EQ(params[16], (std::pair<int16_t, int16_t>{17, 9}));
    EXPECT_EQ(RoutineParamKinds(converted, 2), (std::vector<std::pair<int16_t, int16_t>>{{5, 12}}));
    EXPECT_TRUE(RoutineParamKinds(converted, 3).empty());
    platform::DisposeHandle(converted);
    // The stored resource is as it was.
    platform::Handle kept = platform::Get1Resource(FourCC("EPRM"), 1);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(Of(kept), list);
}

TEST_F(ParamLists, AListThatDoesNotFitItsCountsIsRefused)
{
    struct Case {
        const char* what;
        Bytes bytes;
        bool read;
    } cases[] = {
        {"no routine", {0, 0}, true},
        {"one record, exact fit", {0, 1, 0, 1, 0, 1, 0, 1, 0, 3}, true},
        {"an entry cut short", {0, 1, 0, 1, 0, 1, 0, 1, 0}, false},
        {"one entry more than held", {0, 1, 0, 1, 0, 2, 0, 1, 0, 3}, false},
        {"a record head cut short", {0, 1, 0, 1, 0}, false},
        {"two records, one held", {0, 2, 0, 1, 0, 0}, false},
        {"negative routine count", {0xFF, 0xFF}, false},
        {"negative parameter count", {0, 1, 0, 1, 0xFF, 0xFF}, false},
        {"one byte", {0}, false},
        {"empty", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform::ResetResourceManager();
        Store(c.bytes);
        platform::Handle converted = GetEPRM(1);
        EXPECT_EQ(converted != nullptr, c.read);
        if (converted) platform::DisposeHandle(converted);
    }
    EXPECT_EQ(GetEPRM(2), nullptr);  // missing
}

}  // namespace
