// The conflicts a destination's manifest lists for the objects of the
// description it is built against.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "kernel/byteswap/SwapTemplates.h"
#include "resources/ResourceApi.h"
#include "tests/platform/files/TempFolder.h"
#include "tools/docbuilder/DocBuilder.h"

namespace {

using platform::testing::TempFolder;

std::vector<std::string> Lines(const std::string& path, const std::string& what)
{
    std::ifstream in(path);
    std::vector<std::string> out;
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(what + "\t", 0) == 0) out.push_back(line.substr(what.size() + 1));
    return out;
}

class DocBuilderConflicts : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* source = std::getenv("QZ_TEST_SOURCE_DIR");
        ASSERT_NE(source, nullptr);
        std::ifstream in(std::string(source) + "/resources/ByteSwap.txt", std::ios::binary);
        const std::vector<uint8_t> text(std::istreambuf_iterator<char>(in), {});
        ASSERT_EQ(InitTokensFromText(text.data(), int32_t(text.size())), 0);
        initresman();
    }
    void TearDown() override
    {
        ResetResManager();
        ResetSwapTemplates();
    }
    void Write(const std::string& name, const std::string& text)
    {
        std::ofstream(folder_ / name) << text;
    }
    TempFolder folder_;
};

TEST_F(DocBuilderConflicts, EveryComparedKindGivesItsCodeAgainstTheOtherDescription)
{
    Write("From.qzdoc", R"(structure From
table Same
  field A alpha 10
  subtable S
    field X integer
table Changed
  field A alpha 10
table Alone
  field A alpha 10
method run
method Only
list Towns
balloon Help "Text"
strings Texts id 1000
  "a"
strings Other id 1001
  "b"
routine Print_Label id 5
menu File
style Heading "Geneva 10"
picture Logo id 200
picture Stamp id 300
stylesheet Standard
group Team
)");
    Write("To.qzdoc", R"(structure To
against From.qzdoc
table SAME
  field a alpha 10
  subtable s
    field x integer
table Changed
  field A text
method Run
list Towns
balloon Help "Other text"
strings Shop id 1000
  "c"
routine Print_Label id 7
menu File
style Heading "Times 12"
picture Brand id 200
picture Stamp id 301
stylesheet Standard
group Team
)");
    const docbuilder::BuildResult r = docbuilder::BuildDocumentFile(folder_ / "To.qzdoc", folder_.path());
    ASSERT_EQ(r.error, 0) << r.message;
    const std::vector<std::string> expected = {
        "1\t1\t1\tSame\t\t1\t1\tSAME\t",
        "2\t1\t3\tChanged\t\t1\t3\tChanged\t",  // subtables take table ids too
        "6\t2\t1\trun\t\t2\t1\tRun\t",
        "7\t4\t1\tTowns\t\t4\t1\tTowns\t",
        "8\t10\t1\tHelp\t\t10\t1\tHelp\t",
        "9\t11\t1000\tTexts\t\t11\t1000\tShop\t",
        "10\t8\t5\tPrint_Label\t\t8\t7\tPrint_Label\t",
        "15\t6\t1\tFile\t\t6\t1\tFile\t",
        "16\t12\t1\tHeading\t\t12\t1\tHeading\t",
        "19\t18\t200\tLogo\t\t18\t200\tBrand\t",
        "24\t18\t300\tStamp\t\t18\t301\tStamp\t",
        "20\t19\t1\tStandard\t\t19\t1\tStandard\t",
        "5\t23\t1\tTeam\t\t23\t1\tTeam\t",
    };
    EXPECT_EQ(Lines(r.manifestPath, "conflict"), expected);
}

TEST_F(DocBuilderConflicts, AMissingOrRefusedOtherDescriptionRefusesTheBuild)
{
    Write("To.qzdoc", "structure To\n\nagainst Nowhere.qzdoc\n");
    docbuilder::BuildResult r = docbuilder::BuildDocumentFile(folder_ / "To.qzdoc", folder_.path());
    EXPECT_EQ(r.error, docbuilder::kDescriptionRefused);
    EXPECT_EQ(r.message, "To.qzdoc:3: the description Nowhere.qzdoc could not be read");
    Write("Bad.qzdoc", "structure Bad\nfrobnicate\n");
    Write("To.qzdoc", "structure To\nagainst Bad.qzdoc\n");
    r = docbuilder::BuildDocumentFile(folder_ / "To.qzdoc", folder_.path());
    EXPECT_EQ(r.error, docbuilder::kDescriptionRefused);
    EXPECT_NE(r.message.find("Bad.qzdoc:2:"), std::string::npos) << r.message;
    EXPECT_FALSE(std::ifstream(folder_ / "To.QzB").good());
}

TEST_F(DocBuilderConflicts, TheDemosDestinationListsWhatTheDemoMeetsThere)
{
    const std::string manifest = std::string(QZ_BUILD_DIR) + "/demo/DemoTarget.QzB.manifest";
    const std::vector<std::string> expected = {
        "2\t1\t1\tCustomers\t\t1\t2\tCustomers\t",
        "1\t1\t4\tLines\t\t1\t1\tLines\t",
        "6\t2\t30\tLog_Event\t\t2\t30\tLog_Event\t",
        "9\t11\t15000\tInvoice_Texts\t\t11\t15000\tShop_Texts\t",
        "15\t6\t1\tFile\t\t6\t1\tFile\t",
        "16\t12\t1\tHeading\t\t12\t1\tHeading\t",
    };
    EXPECT_EQ(Lines(manifest, "conflict"), expected);
}

}  // namespace
