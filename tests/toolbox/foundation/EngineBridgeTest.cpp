#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/VLong.h"
#include "toolbox/foundation/VMemoryMgr.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/foundation/VText.h"

namespace {

std::vector<int16_t> gSelectors;
bool gBlocksClean = true;
std::vector<int32_t> gTip;                 // the frame's rectangle, then the place
std::pair<std::string, std::string> gAsked;  // the prompt and the prefilled answer

std::string Name(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

// Records every selector and checks that the fields callers never set
// arrive zeroed.
void RecordingHost(int16_t selector, parm* block)
{
    gSelectors.push_back(selector);
    if (block->real288 != 0 && selector != kSelFormatReal) gBlocksClean = false;
    if (block->name10[0] != 0) gBlocksClean = false;
    if (selector == kSelCurrentTaskID) block->slot272.SetLong(77);
    if (selector == kSelEngineReset) {
        block->slot266.SetLong(int32_t(1u << 30));
        block->slot272.SetLong(int32_t((1u << 27) | (1u << 25)));
        block->slot276.SetLong(5);
        block->result304 = 3;
        std::memcpy(block->name10, "\x03one", 4);
        std::memcpy(block->text310, "\x03two", 4);
    }
    if (selector == kSelCreateTip) {
        const auto* rect = block->slot272.Ptr<const int16_t>();
        gTip = rect ? std::vector<int32_t>{rect[0], rect[1], rect[2], rect[3], block->slot280.Long(), block->slot284.Long()}
                    : std::vector<int32_t>{};
    }
    if (selector == kSelAsk) {
        gAsked = {Name(block->slot272.Ptr<const unsigned char>()), Name(block->slot276.Ptr<const unsigned char>())};
        auto* answer = block->slot276.Ptr<unsigned char>();
        std::memcpy(answer, "\x02" "42", 3);
        block->flag8 = 1;
    }
}

class EngineBridge : public ::testing::Test {
protected:
    void SetUp() override
    {
        gSelectors.clear();
        gBlocksClean = true;
        gCallQz = RecordingHost;
    }
    void TearDown() override { gCallQz = nullptr; }
};

TEST(EngineVarNames, PrefixDecidesTheScope)
{
    unsigned char out[256];
    EXPECT_EQ(SetVarName(out, reinterpret_cast<const unsigned char*>("\x05<>abc"), kVarDecideFromName), 2);
    EXPECT_EQ(Name(out), "abc");
    EXPECT_EQ(SetVarName(out, reinterpret_cast<const unsigned char*>("\x02$x"), kVarDecideFromName), 0);
    EXPECT_EQ(Name(out), "x");
    EXPECT_EQ(SetVarName(out, reinterpret_cast<const unsigned char*>("\x02\xD7y"), kVarDecideFromName), 2);
    EXPECT_EQ(Name(out), "y");
    // A prefix alone names the scope of an empty name.
    EXPECT_EQ(SetVarName(out, reinterpret_cast<const unsigned char*>("\x01\xD7"), kVarDecideFromName), 2);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(SetVarName(out, reinterpret_cast<const unsigned char*>("\x01$"), kVarDecideFromName), 0);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(SetVarName(out, reinterpret_cast<const unsigned char*>("\x01<"), kVarDecideFromName), 1);
    EXPECT_EQ(Name(out), "<");
    EXPECT_EQ(SetVarName(out, reinterpret_cast<const unsigned char*>("\x00"), kVarDecideFromName), 1);
    EXPECT_EQ(out[0], 0);
    // Another range keeps the name whole; the copy may overlap.
    unsigned char same[8] = "\x03$ab";
    EXPECT_EQ(SetVarName(same, same, kVarProcess), 1);
    EXPECT_EQ(Name(same), "$ab");
    EXPECT_EQ(SetVarName(same, same, kVarDecideFromName), 0);
    EXPECT_EQ(Name(same), "ab");
}

TEST_F(EngineBridge, OneSelectorCallsSendTheirSelectors)
{
    VEngine::GiveHand(3);
    EXPECT_EQ(gSelectors, std::vector<int16_t>(3, kSelGiveHandCounted));
    gSelectors.clear();
    VEngine::GiveHand(0);
    EXPECT_EQ(gSelectors, std::vector<int16_t>{kSelGiveHandOnce});

    gSelectors.clear();
    VEngine::PutTaskToSleep(30, 0);
    EXPECT_EQ(gSelectors, (std::vector<int16_t>{kSelCurrentTaskID, kSelPutTaskToSleep}));
    gSelectors.clear();
    VEngine::PutTaskToSleep(30, 4);
    EXPECT_EQ(gSelectors, std::vector<int16_t>{kSelPutTaskToSleep});

    VEngine::WNEDeTrap();
    VEngine::WNETaskReTrap();
    VEngine::GetCurrentLook();
    EXPECT_EQ(gSelectors.back(), kSelGetCurrentLook);
    EXPECT_TRUE(gBlocksClean);
}

TEST_F(EngineBridge, AskPrefillsAndTakesTheAcceptedAnswer)
{
    VLong value;
    value.FromLong(7);
    VStr<255> prompt;
    prompt.FromCString(reinterpret_cast<const uint8_t*>("How many?"), kCharSetMac);
    EXPECT_TRUE(VEngine::Ask(prompt, value, nullptr, nullptr, true));
    EXPECT_EQ(value.GetLong(), 42);
    EXPECT_EQ(gSelectors.back(), kSelAsk);
    EXPECT_EQ(gAsked, std::make_pair(std::string("How many?"), std::string("7")));
}

TEST_F(EngineBridge, ATipGoesWithItsFramesRectangleAndPlace)
{
    VStr<31> text;
    text.FromCString(reinterpret_cast<const uint8_t*>("tip"), kCharSetMac);
    alignas(16) char storage[64] = {};  // no frame procedure is installed to look inside
    const platform::Point where{5, 7};
    VEngine::CreateTip(text, *reinterpret_cast<const VFrame*>(storage), &where);
    EXPECT_EQ(gTip, (std::vector<int32_t>{0, 0, 0, 0, 7, 5}));
}

TEST_F(EngineBridge, ResetKeepsTheHostsFlagsAndNames)
{
    VEngine engine(RecordingHost);
    EXPECT_EQ(gCallQz, RecordingHost);
    EXPECT_TRUE(engine.GetFlag(0));
    EXPECT_FALSE(engine.GetFlag(1));
    EXPECT_TRUE(engine.GetFlag(2));
    EXPECT_FALSE(engine.GetFlag(3));
    EXPECT_TRUE(engine.GetFlag(4));
    EXPECT_EQ(engine.GetHostValue(), 5);
    EXPECT_EQ(engine.GetFirstName().GetLength(), 3);
    EXPECT_EQ(engine.GetSecondName().GetChar(1), u't');
    EXPECT_EQ(engine.GetDesignResFile(), nullptr) << "no makers installed";
}

TEST(EngineTextBlock, FillsMacTextCappedAt32000Bytes)
{
    TextBlock block;
    VText empty;
    VEngine::FillTextBlock(empty, block);
    ASSERT_NE(block.text, nullptr);
    EXPECT_EQ(block.length, 0);
    EXPECT_EQ(gMemory->GetHandleSize(block.text), 0);

    // A single character is text too.
    VText one;
    one.FromUniBlock(u"x", 0, 1);
    VEngine::FillTextBlock(one, block);
    EXPECT_EQ(block.length, 1);
    EXPECT_EQ((*block.text)[0], 'x');

    VText text;
    const std::u16string big(20000, u'\u00E9');
    text.FromUniBlock(big.data(), 0, int32_t(big.size()));
    VEngine::FillTextBlock(text, block);
    EXPECT_EQ(block.length, 20000);
    EXPECT_EQ(uint8_t((*block.text)[0]), 0x8E) << "Mac Roman e acute";

    const std::u16string huge(40000, u'a');
    text.FromUniBlock(huge.data(), 0, int32_t(huge.size()));
    VEngine::FillTextBlock(text, block);
    EXPECT_EQ(block.length, 31999) << "32000 bytes with the terminator";
    EXPECT_EQ(gMemory->GetHandleSize(block.text), 31999);
    gMemory->DisposeHandle(block.text);
}

}  // namespace
