#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLString.hpp>

#include "kernel/collation/CollationGlobals.h"
#include "kernel/numtext/NumTextGlobals.h"
#include "kernel/formhooks/FormSession.h"
#include "kernel/handles/KernelHandles.h"
#include "kernel/startup/KernelGlobals.h"
#include "kernel/startup/LoginGlobals.h"
#include "kernel/store/StoreAccess.h"
#include "kernel/tasks/TaskRecords.h"
#include "kernel/startup/XmlPlatform.h"
#include "platform/core/Faults.h"
#include "platform/core/FourCC.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Recording.h"
#include "tests/kernel/AppResourceFile.h"
#include "tests/platform/files/TempFolder.h"

using namespace platform;
using kerneltest::OpenAppFile;
using platform::testing::TempFolder;

namespace {

class KernelStartupResources : public ::testing::Test {
protected:
    void SetUp() override { ResetResourceManager(); }
    void TearDown() override { ResetResourceManager(); }

    // Opens a file holding exactly these resources.
    void Open(const std::vector<ResourceImage>& resources)
    {
        ref = OpenAppFile(dir / ("app" + std::to_string(++files) + ".rsrc"), resources);
        ASSERT_NE(ref, -1);
    }

    TempFolder dir;
    int16_t ref = -1;
    int32_t files = 0;
};

TEST(XmlPlatform, StartsOnceAndAnswersAgain)
{
    ASSERT_TRUE(InitXmlPlatform());
    EXPECT_TRUE(InitXmlPlatform());
    EXPECT_TRUE(IsXmlPlatformReady());
    // The library works: its transcoder was made by the start.
    XMLCh* wide = xercesc::XMLString::transcode("abc");
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(xercesc::XMLString::stringLen(wide), 3u);
    xercesc::XMLString::release(&wide);
}

// Before anything is opened no container is current, no form option is on
// and no login waits; checked in a fresh copy of the test program.
TEST(KernelStartup, NothingIsOpenOrOnBeforeStartUp)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::_Exit(numresfalse == 0 && kernelOption == 0 && kernelOptionAfter[0] == 0 &&
                                   kernelOptionAfter[1] == 0 && showReadError == 0 && checkBadFieldErr == 0 &&
                                   gStartupUserName[0] == 0 && DefaultDBUser == 0
                               ? 0
                               : 1),
                ::testing::ExitedWithCode(0), "");
}

// A login given at start-up is forgotten whole by a reset.
TEST(KernelStartup, AResetForgetsTheLogin)
{
    std::memcpy(gStartupUserName, "\4Anna", 5);
    std::memcpy(gStartupPassword, "\3xyz", 4);
    DefaultDBUser = 3;
    gIsRuntime = DisableQzGroups = 1;
    ResetLoginGlobals();
    EXPECT_EQ(gStartupUserName[0], 0);
    EXPECT_EQ(gStartupPassword[0], 0);
    EXPECT_EQ(DefaultDBUser, 0);
    EXPECT_EQ(gIsRuntime + DisableQzGroups, 0);
}

TEST_F(KernelStartupResources, ConversionSettingsAreReadWithinTheirLengths)
{
    // Missing: defaults.
    Open({});
    std::memset(cvtStruct, 0xAA, sizeof cvtStruct);
    gUseSystemEncoding = 1;
    ReadConversionSettings();
    for (uint8_t b : cvtStruct) ASSERT_EQ(b, 0);
    EXPECT_EQ(gUseSystemEncoding, 0);

    // Short: what is there, zero after it; an empty 'ISLA' changes nothing.
    ResetResourceManager();
    Open({{FourCC("w2mT"), 128, false, "", 0, {'<', '>', 2}}, {FourCC("ISLA"), 128, false, "", 0, {}}});
    ReadConversionSettings();
    EXPECT_EQ(cvtStruct[0], '<');
    EXPECT_EQ(cvtStruct[1], '>');
    EXPECT_EQ(cvtStruct[2], 2);
    EXPECT_EQ(cvtStruct[3], 0);
    EXPECT_EQ(gUseSystemEncoding, 0);

    // Long: the first 60 bytes only.
    ResetResourceManager();
    std::vector<uint8_t> longer(200);
    for (size_t i = 0; i < longer.size(); ++i) longer[i] = uint8_t(i + 1);
    Open({{FourCC("w2mT"), 128, false, "", 0, longer}, {FourCC("ISLA"), 128, false, "", 0, {1}}});
    ReadConversionSettings();
    EXPECT_EQ(cvtStruct[0], 1);
    EXPECT_EQ(cvtStruct[kCvtStructSize - 1], kCvtStructSize);
    EXPECT_EQ(gUseSystemEncoding, 1);
}

TEST_F(KernelStartupResources, OnlyAOneByteScriptResourceTurnsTheScriptPathsOn)
{
    specialjapon = specialKoree = 1;
    Open({});
    InitScriptFlags();
    EXPECT_EQ(scriptmanager, 0) << "a Roman-only system";
    EXPECT_EQ(specialjapon, 0);
    EXPECT_EQ(specialKoree, 0);

    ResetResourceManager();
    Open({{FourCC("Scrp"), 128, false, "", 0, {1, 0}}});
    InitScriptFlags();
    EXPECT_EQ(scriptmanager, 0) << "two bytes: not an override";

    ResetResourceManager();
    Open({{FourCC("Scrp"), 128, false, "", 0, {}}});
    InitScriptFlags();
    EXPECT_EQ(scriptmanager, 0);

    ResetResourceManager();
    Open({{FourCC("Scrp"), 128, false, "", 0, {7}}});
    specialKoree = 1;
    InitScriptFlags();
    EXPECT_EQ(scriptmanager, 1);
    EXPECT_EQ(specialKoree, 1);
    EXPECT_EQ(specialjapon, 1) << "the Korean path is a variant of the Japanese one";

    ResetResourceManager();
    Open({{FourCC("Scrp"), 128, false, "", 0, {0}}});
    InitScriptFlags();
    EXPECT_EQ(scriptmanager, 0);
    EXPECT_EQ(specialjapon, 0);
    EXPECT_EQ(specialKoree, 0);
}

TEST_F(KernelStartupResources, TokensComeFromTheirOwnItems)
{
    std::vector<std::string> items, extra;
    for (int i = 1; i <= 39; ++i) items.push_back("t" + std::to_string(i));
    for (int i = 1; i <= 8; ++i) extra.push_back("x" + std::to_string(i));
    auto list = [](const std::vector<std::string>& texts) {
        std::vector<uint8_t> b = {0, uint8_t(texts.size())};
        for (const auto& t : texts) {
            b.push_back(uint8_t(t.size()));
            b.insert(b.end(), t.begin(), t.end());
        }
        return b;
    };
    Open({{FourCC("STR#"), 104, false, "", 0, list(items)}, {FourCC("STR#"), 404, false, "", 0, list(extra)}});
    LoadTokenStrings();
    auto text = [](const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p) + 1, p[0]); };
    const unsigned char* const fromMain[] = {
        stseparateur, stfileleft, stfileright, stdate, stguill, stsousfile, stleftpar, strightpar, starrayleft,
        starrayright, stcomment, stlocalvar, sterror, starray, stassigne, stplus, stmoins, stmultiplie, stdivise,
        stpower, stinf, stsup, stegal, stfourche, stdif, stet, stou, stinfegal, stsupegal, sthomothoriz,
        sthomotverti, nullptr, ststringleft, ststringright, stdivent, stmodulo, sttime, sttokenext, stglobglob};
    for (int i = 1; i <= 39; ++i)
        if (fromMain[i - 1]) {
            EXPECT_EQ(text(fromMain[i - 1]), "t" + std::to_string(i));
        }
    const unsigned char* const fromExtra[] = {stxor, stnot, stshiftright, stshiftleft, stbitset, stbitclear, stbittest,
                                              stpointeur};
    for (int i = 1; i <= 8; ++i) EXPECT_EQ(text(fromExtra[i - 1]), "x" + std::to_string(i));
}

TEST_F(KernelStartupResources, EachDigitSetHasItsOwnLayoutWord)
{
    std::vector<uint8_t> words(2 * kLayoWords, 0);
    words[2 * 16 + 1] = 0xB0;  // only the third set
    Open({{FourCC("INTQ"), 0, false, "", 0, words}});
    ResetNumTextGlobals();
    LoadLayout();
    EXPECT_EQ(digit1, '0');
    EXPECT_EQ(digit2, '0');
    EXPECT_EQ(digit3, 0xB0);
    // Zero sizes take their defaults; fonts stay 0, the system's.
    EXPECT_EQ(std::vector<int16_t>({myfont, mybigsize, mysmalsize, mymessfont, mymesssize}),
              std::vector<int16_t>({0, 12, 9, 0, 9}));
    // A digit of any set has its value; anything else has none.
    EXPECT_EQ(DigitValue(0xB7), 7);
    EXPECT_EQ(DigitValue('7'), 7);
    EXPECT_EQ(DigitValue('x'), -1);
    ResetNumTextGlobals();
    EXPECT_EQ(digit3, '0');
    EXPECT_EQ(DigitValue(0xB7), -1);
}

TEST(KernelStartup, ResetFillsPatternsAndTriangles)
{
    initall();
    ASSERT_TRUE(IsXmlPlatformReady());
    for (int16_t i = 0; i < kPatternTableSize; ++i) {
        Pattern p{};
        GetIndPattern(&p, sysPatListID, int16_t(i + 1));
        EXPECT_EQ(std::memcmp(p.pat, patterntable[i].pat, 8), 0) << "pattern " << i + 1;
    }
    ASSERT_NE(triangleleft, nullptr);
    ASSERT_NE(triangleup, nullptr);
    // Closed outlines: start, two corners, start again.
    ASSERT_EQ(PolyPointCount(triangleleft), 4);
    const Point* l = PolyPoints(triangleleft);
    EXPECT_EQ(l[0].h, 0);  EXPECT_EQ(l[0].v, 5);
    EXPECT_EQ(l[1].h, 5);  EXPECT_EQ(l[1].v, 0);
    EXPECT_EQ(l[2].h, 5);  EXPECT_EQ(l[2].v, 10);
    EXPECT_EQ(l[3].h, 0);  EXPECT_EQ(l[3].v, 5);
    const Rect lb = (*triangleleft)->polyBBox;
    EXPECT_EQ(lb.right - lb.left, 5);
    EXPECT_EQ(lb.bottom - lb.top, 10);
    ASSERT_EQ(PolyPointCount(triangleup), 4);
    const Point* u = PolyPoints(triangleup);
    EXPECT_EQ(u[2].h, 10);  EXPECT_EQ(u[2].v, 5);
    const Rect ub = (*triangleup)->polyBBox;
    EXPECT_EQ(ub.right - ub.left, 10);
    EXPECT_EQ(ub.bottom - ub.top, 5);
    EXPECT_EQ(GetQDGlobalsThePort(), nullptr) << "the caller's port is back";

    // The interface font's line heights and widest characters: the
    // application font at 12 and at 9.
    EXPECT_EQ(hch12, 15);
    EXPECT_EQ(lch12, 22);
    EXPECT_GT(hch9, 0);
    EXPECT_LT(hch9, hch12);
    EXPECT_LT(lch9, lch12);

    // A second reset makes them again without leaking the first.
    initall();
    EXPECT_EQ(PolyPointCount(triangleup), 4);
    ASSERT_NE(gRollBackArrayFile, nullptr);
    EXPECT_EQ(rectvide.right, 0);
}

}  // namespace

// Start-up fails, reporting no memory, whenever a block of the kernel's own
// could not be made, whichever allocation runs out.
TEST(KernelStartup, AnAllocationThatFailsFailsTheStartUp)
{
    ASSERT_TRUE(x_initQzGlobals());
    for (int32_t after = 0; after < 1000; ++after) {
        bool ok = false, fired = false;
        {
            platform::ScopedFault fault(platform::FaultKind::Allocation, after);
            ok = x_initQzGlobals();
            fired = !platform::IsFaultArmed(platform::FaultKind::Allocation);
        }
        const bool whole = safemem && safeerr && layo && tua && hLook && gRollBackArrayFile && triangleleft &&
                           triangleup;
        if (!whole) {
            EXPECT_FALSE(ok) << after;
            EXPECT_EQ(erreure, platform::memFullErr) << after;
        }
        if (!fired) break;
    }
    EXPECT_TRUE(x_initQzGlobals());
}
