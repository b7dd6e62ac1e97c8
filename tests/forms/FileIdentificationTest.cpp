// File identification: signatures and versions of two resource files
// decide whether they go together.
#include "forms/identity/FileIdentification.h"

#include <gtest/gtest.h>

#include "platform/resfiles/Resources.h"
#include "tests/platform/core/FailingNew.h"
#include "tests/platform/core/FailingNewDefinitions.h"
#include "tests/platform/files/TempFolder.h"
#include "tests/platform/resfiles/ResFileWriter.h"

namespace {

using restest::IdRecord;
using restest::Res;

std::vector<uint8_t> Word(int16_t v) { return {uint8_t(uint16_t(v) >> 8), uint8_t(v)}; }

// A file of signature `sig` and version `version` that needs version
// `needs` of signature `other` (no record when `needs` is 0); with `sig`
// 0, no 'QzSG' at all.
std::vector<Res> File(int16_t sig, int16_t version, int16_t other, int16_t needs)
{
    std::vector<Res> r;
    if (sig != 0) r.push_back({"QzSG", 0, Word(sig)});
    if (sig != 0 && version != 0) r.push_back({"QzID", sig, IdRecord("Self", version)});
    if (needs != 0) r.push_back({"QzID", other, IdRecord("Other", needs)});
    return r;
}

class FileIdentification : public ::testing::Test {
protected:
    void SetUp() override { platform::ResetResourceManager(); }
    void TearDown() override { platform::ResetResourceManager(); }
    int16_t Open(const std::vector<Res>& resources)
    {
        const std::string path = folder_.path() + "/f" + std::to_string(++count_) + ".rsrc";
        restest::WriteResFile(path, resources);
        return platform::OpenResFile(path, platform::fsRdPerm, platform::ResFileFork::Data);
    }
    platform::testing::TempFolder folder_;
    int count_ = 0;
};

TEST_F(FileIdentification, VersionsDecide)
{
    struct Case {
        const char* what;
        std::vector<Res> first, second;
        int16_t result;
    } cases[] = {
        {"each satisfies the other", File(1, 6, 2, 4), File(2, 4, 1, 6), 0},
        {"first needs exactly what the second is", File(1, 6, 2, 5), File(2, 5, 1, 0), 0},
        {"first needs a newer second", File(1, 6, 2, 5), File(2, 4, 1, 6), -2},
        {"second needs a newer first", File(1, 6, 2, 4), File(2, 4, 1, 7), -3},
        {"second needs exactly the first", File(1, 6, 2, 4), File(2, 4, 1, 6), 0},
        {"same signature", File(1, 6, 2, 4), File(1, 6, 2, 4), -1},
        {"first knows nothing of the second", File(1, 6, 2, 0), File(2, 4, 1, 6), -1},
        {"second knows nothing of the first", File(1, 6, 2, 4), File(2, 4, 1, 0), 0},
        {"first without signature", File(0, 0, 0, 0), File(2, 4, 1, 6), -4},
        {"first without its own version", File(1, 0, 2, 4), File(2, 4, 1, 6), -4},
        {"second without signature", File(1, 6, 2, 4), File(0, 0, 0, 0), -5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform::ResetResourceManager();
        const int16_t first = Open(c.first), second = Open(c.second);
        ASSERT_GT(first, 0);
        ASSERT_GT(second, 0);
        EXPECT_EQ(checkVersions(first, second), c.result);
        EXPECT_EQ(platform::CurResFile(), second);  // kept as it was
        // Memory running short reading either file is told as such, never
        // as files that do not go together.
        int shortages = 0;
        for (int64_t after = 0;; ++after) {
            platform::ResetResourceManager();
            const int16_t one = Open(c.first), two = Open(c.second);
            testfaults::FailNthNew(after);
            const int16_t answer = checkVersions(one, two);
            const bool fired = !testfaults::NewFailurePending();
            testfaults::StopFailingNew();
            if (answer != c.result) {
                EXPECT_EQ(answer, platform::memFullErr) << after;
            }
            shortages += answer == platform::memFullErr;
            if (!fired) break;
        }
        // A first file without a signature is refused before anything is made.
        if (c.result != -4) {
            EXPECT_GT(shortages, 0);
        }
    }
}

TEST_F(FileIdentification, ARecordCutInsideItsNameIsMissing)
{
    // Name length 5: the record needs 1 + 5 + 2 = 8 bytes.
    const std::vector<uint8_t> whole = IdRecord("Tools", 3);
    for (const auto& [keep, result, version] : {std::tuple{8, 0, 3}, {7, -192, 0}, {6, -192, 0}, {0, -192, 0}}) {
        SCOPED_TRACE(keep);
        platform::ResetResourceManager();
        const int16_t f = Open({{"QzSG", 0, Word(9)}, {"QzID", 9, std::vector<uint8_t>(whole.begin(), whole.begin() + keep)}});
        int16_t signature = 0, own = 0;
        EXPECT_EQ(cQzIdentify(f, &signature, &own), result);
        EXPECT_EQ(signature, 9);
        EXPECT_EQ(own, version);
    }
    // A signature of one byte is missing too; file 0 is none.
    const int16_t f = Open({{"QzSG", 0, {1}}});
    int16_t value = 0;
    EXPECT_EQ(getIDFromResFile(f, platform::FourCC("QzSG"), 0, &value), -192);
    EXPECT_EQ(getIDFromResFile(0, platform::FourCC("QzSG"), 0, &value), platform::resFNotFound);
}

}  // namespace
