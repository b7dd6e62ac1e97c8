// The compiler's declaration file read beside a structure: positions
// recorded just after each name, blocks read strictly in order, damaged
// and missing files leaving the structure read as it is.
#include <fstream>
#include <map>

#include "design/text/DeclarationFile.h"
#include "platform/files/FileSpec.h"
#include "tests/design/MethodTextFixture.h"

namespace readtest {
namespace {

const char* kStructure = R"(structure T
method A
  var Sum op 7 long 1 ; ipvar Count op 7 long 2 ; local Rate op 7 long 3
method B
  comment "b"
)";

const std::string kFile =
    "Decl\r\r"
    "<>Count\tLongint\r\rTotal 1\r\r\r"
    "Sum\tLongint\r\rTotal 1\r\r\r"
    "\t(Method) A\r\r$Rate\tLongint\r\r\r"
    "\rMethod\tA(Longint)\rMethod\tB:Longint\r";

class DeclarationFile : public MethodTextFixture {
protected:
    // Builds the structure with `file` as its declaration file and reads it.
    void ReadWith(const std::string& file, bool text = true)
    {
        std::string description = kStructure;
        description += "declarations \"";
        for (char c : file) {
            if (c == '\r' || c == '\n') description += "\\r";
            else if (c == '\t') description += "\\t";
            else if (c == '"') description += "\\\"";
            else description += c;
        }
        description += "\"\n";
        built_ = Build(description);
        // The bytes as given, whatever their line ends.
        std::ofstream(built_.dataPath + ".decl.txt", std::ios::binary | std::ios::trunc) << file;
        if (!text) {
            platform::FSSpec spec;
            platform::FSMakeFSSpec(built_.dataPath + ".decl.txt", &spec);
            platform::FInfo info;
            platform::FSpGetFInfo(spec, &info);
            info.fdType = FourCC("BINA");
            platform::FSpSetFInfo(spec, info);
        }
        Open(built_);
        ASSERT_EQ(Read(), 0);
    }
    // The recorded positions by name (-1: none).
    std::map<std::string, int32_t> Positions()
    {
        auto* a = Method("A");
        TObjQz* rate = SearchListObj_Name(a->locals, PName("$Rate"));
        return {{"Count", static_cast<TVarObjQz*>(Find(9, "<>Count"))->declPos},
                {"Sum", static_cast<TVarObjQz*>(Find(9, "Sum"))->declPos},
                {"$Rate", rate ? static_cast<TVarObjQz*>(rate)->declPos : -2},
                {"A", static_cast<TProcObjQz*>(a)->declPos},
                {"B", static_cast<TProcObjQz*>(Method("B"))->declPos}};
    }
    struct PName {
        explicit PName(const std::string& s) { apptest::ToP(s, bytes); }
        operator const unsigned char*() const { return bytes; }
        unsigned char bytes[256];
    };
};

// The offset just after `name` where it is followed by `next`.
int32_t After(const std::string& file, const std::string& name, char next)
{
    const size_t at = file.find(name + next);
    return at == std::string::npos ? -1 : int32_t(at + name.size());
}

TEST_F(DeclarationFile, PositionsFollowEachName)
{
    auto with = [](std::string text, const std::string& from, const std::string& to) {
        return text.replace(text.find(from), from.size(), to);
    };
    auto endedBy = [](const std::string& text, const std::string& end) {
        std::string out;
        for (char c : text) out += c == '\r' ? end : std::string(1, c);
        return out;
    };
    // Which of Count, Sum, $Rate, A and B are recorded.
    const std::pair<std::string, const char*> cases[] = {
        {kFile, "11111"},
        {kFile.substr(0, kFile.size() - 1), "11111"},                   // no final return
        {with(kFile, "B:", "B\t"), "11110"},                           // a method followed by a tab
        {with(kFile, "\t(Method)", "(Method)"), "11000"},              // a local line without its tab
        {with(kFile, "Sum\t", "Missing\tReal\rSum\t"), "11111"},       // a variable the structure lacks
        {with(kFile, "Sum\t", std::string(300, 'S') + "\tReal\rSum\t"), "11111"},  // a name cut at 255
        {with(kFile, "(Method) A", "(Method) Z"), "11011"},             // an owner nobody has
        {kFile.substr(0, 12), "00000"},                                  // cut inside the variables
        {endedBy(kFile, "\n"), "11111"},                                // lines ended by LF
        {endedBy(kFile, "\r\n"), "11111"},                              // and by CR LF
    };
    for (const auto& [file, recorded] : cases) {
        SCOPED_TRACE(recorded);
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
        ReadWith(file);
        EXPECT_NE(doc_.fDataFile, -1);
        const char* sum = file.find('\n') == std::string::npos ? "\rSum" : "\nSum";
        const std::pair<const char*, char> after[] = {{"<>Count", '\t'}, {sum, '\t'}, {"$Rate", '\t'}, {"\tA", '('}, {"\tB", ':'}};
        const char* names[] = {"Count", "Sum", "$Rate", "A", "B"};
        std::map<std::string, int32_t> expected;
        for (size_t i = 0; i < 5; ++i)
            expected[names[i]] = recorded[i] == '1' ? After(file, after[i].first, after[i].second) : -1;
        EXPECT_EQ(Positions(), expected);
        // The information line ends where the declaration's line does.
        if (recorded[3] == '1') {
            unsigned char info[256];
            Method("A")->GetMoreInfo(info, false);
            EXPECT_EQ(P(info).substr(0, 9), "(Longint)");
            EXPECT_EQ(P(info).find_first_of("\r\n"), std::string::npos);
        }
    }
}

TEST_F(DeclarationFile, AnEmptyOrForeignFileRecordsNothing)
{
    const std::map<std::string, int32_t> none{{"Count", -1}, {"Sum", -1}, {"$Rate", -1}, {"A", -1}, {"B", -1}};
    ReadWith("");
    EXPECT_NE(doc_.fDataFile, -1) << "kept open as the data file";
    EXPECT_EQ(Positions(), none);
    CloseDoc();
    ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    ReadWith(kFile, false);
    EXPECT_EQ(Positions(), none);
    CloseDoc();
    // Without a file the structure reads as ever.
    ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    built_ = Build(kStructure);
    Open(built_);
    ASSERT_EQ(Read(), 0);
    EXPECT_EQ(doc_.fDataFile, -1);
    EXPECT_EQ(Positions(), none);
}

TEST_F(DeclarationFile, TheDemosDeclarationsShowInTheInformationLines)
{
    ASSERT_TRUE(ReadDemo());
    const Bytes bytes = FileBytes(built_.dataPath + ".decl.txt");
    const std::string file(bytes.begin(), bytes.end());
    EXPECT_EQ(static_cast<TVarObjQz*>(Find(9, "<>Log_Count"))->declPos, After(file, "<>Log_Count", '\t'));
    EXPECT_EQ(static_cast<TVarObjQz*>(Find(9, "Sum"))->declPos, After(file, "\rSum", '\t'));
    auto* addTax = static_cast<TProcObjQz*>(Method("Add_Tax"));
    EXPECT_EQ(addTax->declPos, After(file, "\tAdd_Tax", '('));
    EXPECT_EQ(static_cast<TProcObjQz*>(Method("Log_Event"))->declPos, After(file, "\tLog_Event", '('));
    EXPECT_EQ(static_cast<TProcObjQz*>(Method("Recalculate"))->declPos, -1);
    unsigned char info[256];
    addTax->GetMoreInfo(info, false);
    EXPECT_EQ(P(info).substr(0, 16), "(Real;Real):Real");
}

TEST_F(DeclarationFile, OwnersAreFoundByTheirMarkers)
{
    ASSERT_TRUE(ReadDemo());
    auto* customers = static_cast<TFileObjQz*>(Find(1, "Customers"));
    auto* entry = static_cast<TLayoutObjQz*>(SearchListObj_Name(customers->forms, PName("Entry")));
    auto* listing = static_cast<TLayoutObjQz*>(SearchListObj_Name(customers->forms, PName("Listing")));
    ASSERT_TRUE(entry && listing && listing->objMethods && listing->objMethods->Size() == 1);
    TObjQz* objectMethod = listing->objMethods->At(0);
    const std::string objectName = P(objectMethod->name);
    struct Case {
        std::string text;
        TObjQz* owner;
    };
    const Case cases[] = {
        {"(Method) Recalculate", Method("Recalculate")},
        {"(Table Method) Customers", customers->method},
        {"(Form Method) Customers:Entry", entry->formMethod},
        {"(Object Method) Customers:Listing:" + objectName, objectMethod},
        {"(Method)  Recalculate", nullptr},
        {"(Method)Recalculate", nullptr},
        {"(Form Method) Customers:Missing", nullptr},
        {"(Script) Recalculate", nullptr},
        {"Recalculate", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        unsigned char text[256];
        apptest::ToP(c.text, text);
        EXPECT_EQ(NumCalc(&doc_, text), c.owner) << c.text;
    }
    unsigned char table[256], form[256], object[256], full[256];
    apptest::ToP("A:B:" + std::string(40, 'c'), full);
    GetScriptNames(full, table, form, object);
    EXPECT_EQ(std::tuple(P(table), P(form), P(object)), std::tuple("A", "B", std::string(32, 'c')));
}

}  // namespace
}  // namespace readtest
