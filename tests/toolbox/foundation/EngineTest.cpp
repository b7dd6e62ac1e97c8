#include "toolbox/foundation/VEngine.h"

#include <gtest/gtest.h>

#include <cstring>

#include "toolbox/foundation/VStr.h"

namespace {

int16_t gSeenSelector;
std::string gSeenText;
int32_t gSeenValue;

void FakeHost(int16_t selector, parm* block)
{
    gSeenSelector = selector;
    gSeenText.assign(reinterpret_cast<const char*>(block->text310 + 1), block->text310[0]);
    gSeenValue = block->slot272.Long();
    block->result304 = 47100;
}

}  // namespace

TEST(Engine, EvalTimeAsksTheHostWithTheTextAndAZeroedBlock)
{
    VStr<255> text;
    text.FromCString(reinterpret_cast<const uint8_t*>("13:05"), kCharSetMac);
    EXPECT_EQ(VEngine::EvalTime(text), 0) << "no host: no time";
    gCallQz = FakeHost;
    EXPECT_EQ(VEngine::EvalTime(text), 47100);
    EXPECT_EQ(gSeenSelector, kSelEvalTime);
    EXPECT_EQ(gSeenText, "13:05");
    EXPECT_EQ(gSeenValue, 11);
    gCallQz = nullptr;
}
