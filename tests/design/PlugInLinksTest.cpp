// What plug-ins link: a package its routine lists, a method the routines
// it calls and, through their parameter lists, what their literal
// parameters name.
#include "design/plugins/PlugInDiscovery.h"
#include "design/plugins/PlugInFiles.h"
#include "design/text/MethodText.h"
#include "tests/design/ParseFixture.h"
#include "tests/design/PlugInFixture.h"

namespace designtest {
namespace {

class PlugInLinks : public ParseFixture {
protected:
    void SetUp() override
    {
        ParseFixture::SetUp();
        ResetPlugInFiles();
        const std::filesystem::path place = std::filesystem::path(folder_.path()) / "ext";
        std::filesystem::create_directories(place / "Plugins");
        setenv("QZ_EXTENSIONS_DIR", place.c_str(), 1);
        restest::WriteResFile((place / "Plugins" / "Kit.rsrc").string(),
                              Bundle("Kit", 20000, 400, {"Beep(&S)"}) +
                                  std::vector<Res>{{"EPRM", 20000, {0, 1, 0, 1, 0, 1, 0, 1, 0, 8}}});
        const std::string companion = (std::filesystem::path(folder_.path()) / "doc.RSR").string();
        restest::WriteResFile(companion, {{"QzPX", 15010, {0, 0}, "Invoicing"},
                                          {"QBNX", 15010, designtest::Table({{"STR#", 1, 300}, {"STR#", 1, 301}, {"PICT", 1, 5}, {"STR#", 1, 302}})},
                                          {"STR#", 300, Strings({"Format_Amount(&R;&S):S", "Round_Cents(&R):R"}), "Invoicing routines"},
                                          {"STR#", 301, Strings({})},
                                          {"STR#", 302, Strings({}), "Thirty-three letters long, or more"},
                                          // Routine 1: parameter 2 names a style sheet (stored 2).
                                          {"EPRM", 15010, {0, 1, 0, 1, 0, 1, 0, 2, 0, 2}}});
        doc_.fRsrFile = platform::OpenResFile(companion, platform::fsRdPerm, platform::ResFileFork::Data);
        ASSERT_GT(doc_.fRsrFile, 0);
        ASSERT_EQ(ReadPlugInPackages(&doc_), 0);
        platform::UseResFile(doc_.fRsrFile);
    }
    void TearDown() override
    {
        ParseFixture::TearDown();
        ResetPlugInFiles();
        unsetenv("QZ_EXTENSIONS_DIR");
    }
    TObjQz* Method(int16_t id, const std::vector<docbuilder::Bytes>& lines)
    {
        TObjQz* m = Make(2, "M" + std::to_string(id), id);
        AddStored(platform::FourCC("CCQz"), id, docbuilder::MethodBlob(lines));
        return m;
    }
};

TEST_F(PlugInLinks, PackagesLinkTheStringListsOfTheirBundle)
{
    TObjQz* package = SearchObj_Name(&doc_, 7, PName("_Invoicing"));
    ASSERT_NE(package, nullptr);
    EXPECT_EQ(package->Parse(), 0);
    EXPECT_EQ(Uses(package), (std::vector<std::string>{"11:Invoicing routines", "11:List 301", "11:Thirty-three letters long, or mo"}))
        << "an unnamed list is called by its id; names cut to 32 characters";
    EXPECT_EQ(package->uses->At(0)->id, 300);
    EXPECT_EQ(platform::CurResFile(), doc_.fRsrFile);
    // A routine's bundle is the table of its own id: none here.
    EXPECT_EQ(package->members->At(0)->Parse(), 0);
    EXPECT_EQ(package->members->At(0)->uses, nullptr);
}

TEST_F(PlugInLinks, CallsLinkTheRoutineAndWhatItsParametersName)
{
    TObjQz* standard = Make(19, "Standard", 3);
    TObjQz* m2 = Make(2, "M2", 2);
    TObjQz* call = Method(1, {Line({Tok(22, 15010, "", 0, 1), Tok(4), Tok(2, 0, "Standard"), Tok(6), Tok(2, 0, "Standard"),
                                    Tok(5), Tok(2, 0, "M2")}),
                              // Routine 2 has no parameter list; the folder's Beep names a method.
                              Line({Tok(22, 15010, "", 0, 2), Tok(4), Tok(2, 0, "Standard"), Tok(5)}),
                              Line({Tok(22, 20000, "", 0, 1), Tok(4), Tok(2, 0, "M2"), Tok(5)})});
    EXPECT_EQ(call->Parse(), 0);
    EXPECT_EQ(Uses(call), (std::vector<std::string>{"7:Format_Amount", "19:Standard", "7:Round_Cents", "7:Beep", "2:M2"}));
    EXPECT_EQ(call->uses->At(0)->GetOwnerObj(), SearchObj_Name(&doc_, 7, PName("_Invoicing")));
    EXPECT_EQ(call->uses->At(3)->GetOwnerObj(), SearchObj_Name(&doc_, 7, PName("_Kit")));
    EXPECT_TRUE(Linked(call, standard));
    EXPECT_TRUE(Linked(call, m2));
    EXPECT_EQ(standard->usedBy->Size(), 1);
    // The text names the folder's routine from its own file too.
    std::vector<std::string> text;
    ASSERT_EQ(WalkProcText(nullptr, 1, call, [&](const ProcTextLine& l) { return text.push_back(l.Text()), true; }), 0);
    ASSERT_EQ(text.size(), 3u);
    EXPECT_EQ(text[2].substr(0, 5), "Beep ");
    EXPECT_EQ(platform::CurResFile(), doc_.fRsrFile);
}

}  // namespace
}  // namespace designtest
