// The rename dialog's word check: which new names it accepts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "browser/dialogs/RenameDialog.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/startup/KernelGlobals.h"

namespace {

void SetP(unsigned char* out, const std::string& s)
{
    out[0] = uint8_t(s.size());
    std::memcpy(out + 1, s.data(), s.size());
}

class RenameRules : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memcpy(local_, stlocalvar, sizeof local_);
        std::memcpy(global_, stglobglob, sizeof global_);
        script_ = scriptmanager;
        SetP(stlocalvar, "$");
        SetP(stglobglob, "<>");
    }
    void TearDown() override
    {
        std::memcpy(stlocalvar, local_, sizeof local_);
        std::memcpy(stglobglob, global_, sizeof global_);
        scriptmanager = script_;
    }
    unsigned char local_[256], global_[256];
    uint8_t script_ = 0;
};

TEST_F(RenameRules, AVariableNameHoldsOnePrefixAtMost)
{
    struct Case {
        int16_t kind;
        std::string name;
        uint8_t script;
        bool good;
    } cases[] = {
        {2, "", 0, false},  // empty: never
        {9, "", 1, false},
        {9, "Sum", 0, true},
        {9, "<>Sum", 0, true},
        {9, "$Rate", 0, true},
        {9, "<>$Rate", 0, false},  // two prefixes
        {9, "$<>Rate", 0, false},
        {9, "$$Rate", 0, false},
        {9, "<><>Sum", 0, false},
        {9, "<", 0, true},  // no whole prefix
        {9, "<>$Rate", 1, true},  // a two-byte script takes any name
        {2, "<>$Rate", 0, true},  // other kinds: any name
        {1, "$$", 0, true},
    };
    for (const Case& c : cases) {
        scriptmanager = c.script;
        unsigned char name[256];
        SetP(name, c.name);
        EXPECT_EQ(browser::GoodWord(c.kind, name), c.good) << c.kind << " \"" << c.name << "\" " << int(c.script);
    }
}

}  // namespace
