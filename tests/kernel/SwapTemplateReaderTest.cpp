#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "kernel/byteswap/SwapTemplates.h"
#include "platform/core/Errors.h"
#include "platform/core/Faults.h"
#include "tests/kernel/SwapTestText.h"
#include "tests/platform/files/TempFolder.h"

namespace {

class SwapTemplateReader : public ::testing::Test {
protected:
    void TearDown() override { ResetSwapTemplates(); }
};

const unsigned char* P(const char* s)
{
    static unsigned char buf[256];
    buf[0] = uint8_t(std::strlen(s));
    std::memcpy(buf + 1, s, buf[0]);
    return buf;
}

}  // namespace

TEST_F(SwapTemplateReader, NumbersGrowTheTableAndALaterTemplateReplaces)
{
    ASSERT_EQ(swaptest::Load({"First 1", "word", "end", "Fifth 5", "long", "end", "Third 3", "word [2]",
                              "end", "Again 3", "long [3]", "end"}),
              0);
    EXPECT_EQ(SwapTemplateCount(), 5);
    EXPECT_EQ(GetToken(2), nullptr);
    EXPECT_EQ(GetToken(4), nullptr);
    EXPECT_EQ(GetToken(6), nullptr);
    EXPECT_EQ(GetToken(0), nullptr);
    ASSERT_NE(GetToken(3), nullptr);
    EXPECT_EQ(GetToken(3), FindToken(P("Again")));
    EXPECT_EQ(GetToken(3)->children[0]->argument, 3);
    EXPECT_EQ(FindToken(P("Third")), nullptr);
    EXPECT_EQ(FindToken(P("Fifth")), GetToken(5));
}

TEST_F(SwapTemplateReader, EveryLineEndParsesAndTheLastLineNeedsNone)
{
    for (const std::string eol : {"\r", "\n", "\r\n", "\n\r"}) {
        ASSERT_EQ(swaptest::Load({"T 1", "", "word", "long [2]", "end", "U 2", "word", "end"}, eol), 0) << eol.size();
        ASSERT_NE(GetToken(1), nullptr);
        EXPECT_EQ(GetToken(1)->childCount, 2);
        EXPECT_NE(GetToken(2), nullptr);
    }
    // The text after the last line end is a line; the file may end inside a template.
    const std::string text = "T 1\rword\rend\rU 2\rlong";
    ASSERT_EQ(InitTokensFromText(text.data(), int32_t(text.size())), 0);
    ASSERT_NE(GetToken(2), nullptr);
    EXPECT_EQ(GetToken(2)->childCount, 1);
    // Nothing after eof is read.
    ASSERT_EQ(swaptest::Load({"T 1", "word", "end", "eof", "U 2", "word", "end"}), 0);
    EXPECT_EQ(SwapTemplateCount(), 1);
}

TEST_F(SwapTemplateReader, EntryArguments)
{
    ASSERT_EQ(swaptest::Load({"Elem 1", "word", "end",
                              "Rec 2", "skip [3]", "word count", "long[2]", "pstring", "bytes 7",
                              "arrayof count Elem", "repeat 4 Elem", "ext10 [2]", "align2", "align4",
                              "switch count", "case -1", "word", "endcase", "case 2", "endcase", "endswitch",
                              "end"}),
              0);
    const TokenInv* t = GetToken(2);
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->childCount, 11);
    EXPECT_EQ(t->children[0]->kind, kSwapSkip);
    EXPECT_EQ(t->children[0]->argument, 3);
    EXPECT_EQ(t->children[1]->argument, 1);
    ASSERT_NE(t->children[1]->name, nullptr);
    EXPECT_EQ(t->children[2]->argument, 2);
    EXPECT_EQ(t->children[4]->argument, 7);
    EXPECT_EQ(t->children[5]->argument, 1);  // the position of "count"
    EXPECT_EQ(t->children[5]->element, GetToken(1));
    EXPECT_EQ(t->children[6]->argument, 4);
    EXPECT_EQ(t->children[7]->argument, 2);
    const TokenInv* sw = t->children[10];
    ASSERT_EQ(sw->childCount, 2);
    EXPECT_EQ(sw->children[0]->argument, -1);
    EXPECT_EQ(sw->children[0]->childCount, 1);
    EXPECT_EQ(sw->children[1]->childCount, 0);
}

TEST_F(SwapTemplateReader, ABadFileIsRefusedNamingTheLine)
{
    struct Case {
        std::vector<std::string> lines;
        int line;
    };
    const std::string longLine(256, 'x');
    std::vector<std::string> many{"T 1"};
    for (int i = 0; i < 61; ++i) many.push_back("word");
    const Case cases[] = {
        {{"T 1", "word", "end", "U 2", "bogus", "end"}, 5},
        {{"T 1", "arrayof n Missing", "end"}, 2},
        {{"E 1", "word", "end", "T 2", "arrayof n E", "end"}, 5},
        {{"E 1", "word", "end", "T 2", "skip n", "arrayof n E", "end"}, 6},
        {{"T 1", "repeat 2 T", "end"}, 2},
        {{"T 1", "word [x]", "end"}, 2},
        {{"T 1", "bytes -2", "end"}, 2},
        {{"T 0", "word", "end"}, 1},
        {{"T 1", "word", "end", "U 32768", "word", "end"}, 4},
        {{"T", "word", "end"}, 1},
        {{"word", "T 1", "end"}, 1},
        {{"T 1", "word v", "switch v", "word", "endswitch", "end"}, 4},
        {{"T 1", "case 1", "endcase", "end"}, 2},
        {{"T 1", "word v", "switch v", "case 1", "word"}, 5},
        {{"T 1", longLine, "end"}, 2},
        {many, 62},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(swaptest::Load(c.lines, "\n"), kBadSwapFileErr) << c.line;
        EXPECT_NE(SwapFileMessage().find("line " + std::to_string(c.line) + ":"), std::string::npos)
            << SwapFileMessage();
    }
    many.pop_back();
    EXPECT_EQ(swaptest::Load(many), 0);
    EXPECT_TRUE(SwapFileMessage().empty());

    // The most words a line can hold (128 in 255 characters) are read as
    // two are.
    std::string full = "T";
    for (int i = 0; i < 127; ++i) full += " 1";
    ASSERT_EQ(full.size(), 255u);
    const int16_t two = swaptest::Load({"T 1 1", "word", "end"}, "\n");
    const std::string twoMessage = SwapFileMessage();
    EXPECT_EQ(swaptest::Load({full, "word", "end"}, "\n"), two);
    EXPECT_EQ(SwapFileMessage(), twoMessage);
}

TEST_F(SwapTemplateReader, MemoryFailuresAreReported)
{
    // A first load makes what the process keeps for good, so that the
    // failures below fall on the load's own allocations in any test order.
    ASSERT_EQ(swaptest::Load({"E 1", "word n", "end"}), 0);
    ResetSwapTemplates();
    for (int after = 0; after < 12; ++after) {
        platform::ScopedFault fault(platform::FaultKind::Allocation, after);
        const int16_t err = swaptest::Load({"E 1", "word n", "end", "T 9", "word n", "arrayof n E", "end"});
        // Each failure is reported; a load that ran past it succeeds.
        EXPECT_EQ(err, platform::IsFaultArmed(platform::FaultKind::Allocation) ? 0 : platform::memFullErr) << after;
        ResetSwapTemplates();
    }
}

TEST_F(SwapTemplateReader, TheFileComesFromTheExtensionsFolder)
{
    const char* old = std::getenv("QZ_EXTENSIONS_DIR");
    const std::string saved = old ? old : "";
    platform::testing::TempFolder folder;

    setenv("QZ_EXTENSIONS_DIR", (folder / "missing").c_str(), 1);
    EXPECT_EQ(InitTokens(), -1);
    setenv("QZ_EXTENSIONS_DIR", folder.path().c_str(), 1);
    EXPECT_EQ(InitTokens(), -43);  // no file
    std::ofstream(folder / "ByteSwap.txt") << "Head 7\nlong\nend\n";
    EXPECT_EQ(InitTokens(), 0);
    EXPECT_NE(GetToken(7), nullptr);

    // The file we ship defines every template the store and the server requests use.
    setenv("QZ_EXTENSIONS_DIR", (std::string(std::getenv("QZ_TEST_SOURCE_DIR")) + "/resources").c_str(), 1);
    ASSERT_EQ(InitTokens(), 0) << SwapFileMessage();
    for (int n : {1, 2, 4, 39, 66, 95, 105, 138}) EXPECT_NE(GetToken(n), nullptr) << n;

    if (old)
        setenv("QZ_EXTENSIONS_DIR", saved.c_str(), 1);
    else
        unsetenv("QZ_EXTENSIONS_DIR");
}
