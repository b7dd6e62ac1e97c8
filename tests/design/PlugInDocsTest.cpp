// A plug-in's documentation and lock: the bundle table says where the
// text lives, a new entry takes the first free id, and a package is
// locked by its id, its file or its bundle.
#include <cstring>

#include "app/documents/DocHooks.h"
#include "platform/core/Memory.h"
#include "platform/files/WholeFile.h"
#include "platform/textedit/TextEdit.h"
#include "tests/design/PlugInFixture.h"

namespace designtest {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

class PlugInDocs : public PlugInFixture {
protected:
    void SetUp() override
    {
        PlugInFixture::SetUp();
        InstallPlainHooks();
        platform::Rect r{0, 0, 100, 100};
        te_ = platform::TENew(&r, &r);
    }
    // Plain bodies: the handle is the text.
    static void InstallPlainHooks()
    {
        DocHooks().plainHteToRes = [](platform::Handle doc, platform::TEHandle te) -> int16_t {
            platform::SetHandleSize(doc, (**te).teLength);
            std::memcpy(*doc, *(**te).hText, size_t((**te).teLength));
            return 0;
        };
        DocHooks().plainResToHte = [](platform::Handle doc, platform::TEHandle te) -> int16_t {
            platform::TESetText(*doc, platform::GetHandleSize(doc), te);
            return 0;
        };
    }
    void TearDown() override
    {
        platform::TEDispose(te_);
        ResetDocHooks();
        PlugInFixture::TearDown();
    }
    // The routine (kind 8) of the companion, read as the document does.
    TExtObjQz* Routine(const std::vector<Res>& companion)
    {
        Companion(companion);
        EXPECT_EQ(ReadPlugInRoutines(&doc_), 0);
        return List(8)->Size() ? static_cast<TExtObjQz*>(List(8)->At(0)) : nullptr;
    }
    int16_t Write(TExtObjQz* obj, const std::string& text)
    {
        platform::TESetText(text.data(), int32_t(text.size()), te_);
        return obj->WriteDoc(te_, 2);
    }
    static Bytes Stored(const char* type, int16_t id)
    {
        platform::Handle h = platform::Get1Resource(restest::Code(type), id);
        return h ? Bytes(*h, *h + platform::GetHandleSize(h)) : Bytes{};
    }
    Bytes CompanionBytes()
    {
        Bytes b;
        platform::ReadWholeFile((Folder() / "doc.RSR").string(), &b);
        return b;
    }

    platform::TEHandle te_ = nullptr;
};

TEST_F(PlugInDocs, TheBundleTableSaysWhereTheTextGoes)
{
    // An entry for id 20: the text replaces 'QzTE' 20; nothing else moves.
    TExtObjQz* r = Routine({{"QzEX", 20, {0, 0}, "R"},
                            {"QBND", 20, Table({{"STR#", 1, 300}, {"QzTE", 1, 20}})},
                            {"QzTE", 20, Text("old")}});
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(r->TstFlag(kFlagHasDoc));
    EXPECT_EQ(r->GetDocId(), 20);
    EXPECT_EQ(Write(r, "new text"), 0);
    EXPECT_EQ(Stored("QzTE", 20), Text("new text"));
    EXPECT_EQ(Stored("QBND", 20), Table({{"STR#", 1, 300}, {"QzTE", 1, 20}}));
    EXPECT_FALSE(doc_.fCompilerDirty);
    platform::TESetText("", 0, te_);
    int32_t state = 5;
    EXPECT_EQ(r->ReadDoc(te_, &state, nullptr), 0);
    EXPECT_EQ(state, 0);
    EXPECT_EQ(std::string(*(**te_).hText, size_t((**te_).teLength)), "new text");

    // Deleting: the matching entry goes.
    EXPECT_EQ(r->DelDoc(), 0);
    EXPECT_EQ(Stored("QzTE", 20), Bytes{});
    EXPECT_EQ(Stored("QBND", 20), Table({{"STR#", 1, 300}}));
    EXPECT_FALSE(r->TstFlag(kFlagHasDoc));
    EXPECT_TRUE(doc_.fCompilerDirty);
}

TEST_F(PlugInDocs, ANewEntryTakesTheFirstFreeId)
{
    // Id 5 is another routine's text: the new entry and its text take 6.
    TExtObjQz* r = Routine({{"QzEX", 5, {0, 0}, "R"}, {"QzTE", 5, Text("other")}});
    ASSERT_NE(r, nullptr);
    EXPECT_FALSE(r->TstFlag(kFlagHasDoc));
    EXPECT_EQ(r->GetDocId(), -1);
    EXPECT_EQ(Write(r, "mine"), 0);
    EXPECT_EQ(Stored("QBND", 5), Table({{"QzTE", 1, 6}}));
    EXPECT_EQ(Stored("QzTE", 6), Text("mine"));
    EXPECT_EQ(Stored("QzTE", 5), Text("other"));
    EXPECT_TRUE(r->TstFlag(kFlagHasDoc));
    EXPECT_TRUE(doc_.fCompilerDirty);
    // Writing again keeps the entry.
    doc_.fCompilerDirty = false;
    EXPECT_EQ(Write(r, "again"), 0);
    EXPECT_EQ(Stored("QBND", 5), Table({{"QzTE", 1, 6}}));
    EXPECT_FALSE(doc_.fCompilerDirty);
    // Deleting: the text goes; the entry, not the object's id, only loses
    // one from its count.
    EXPECT_EQ(r->DelDoc(), 0);
    EXPECT_EQ(Stored("QzTE", 6), Bytes{});
    EXPECT_EQ(Stored("QzTE", 5), Text("other"));
    EXPECT_EQ(Stored("QBND", 5), Table({{"QzTE", 0, 6}}));
    EXPECT_TRUE(doc_.fCompilerDirty);
}

TEST_F(PlugInDocs, DeletingLowersTheCountsOfEarlierEntries)
{
    TExtObjQz* r = Routine({{"QzEX", 20, {0, 0}, "R"},
                            {"QBND", 20, Table({{"QzTE", 2, 7}, {"STR#", 1, 300}, {"QzTE", 1, 20}, {"QzTE", 1, 21}})},
                            {"QzTE", 7, Text("first")}});
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->GetDocId(), 7);
    EXPECT_EQ(r->DelDoc(), 0);
    EXPECT_EQ(Stored("QzTE", 7), Bytes{});
    EXPECT_EQ(Stored("QBND", 20), Table({{"QzTE", 1, 7}, {"STR#", 1, 300}, {"QzTE", 1, 21}}));
}

TEST_F(PlugInDocs, NoFreeIdOrADamagedTableChangesNothing)
{
    struct Case {
        const char* what;
        int16_t id;
        std::vector<Res> more;
        int16_t result;
        int16_t entry;  // the new entry's id
    } cases[] = {
        {"the last id free", 32766, {{"QzTE", 32766, {1}}}, 0, 32767},
        {"the last id itself", 32767, {}, 0, 32767},
        {"every id up to the last taken", 32766, {{"QzTE", 32766, {1}}, {"QzTE", 32767, {1}}}, 1023, 0},
        {"a table claiming an entry it lacks", 40, {{"QBND", 40, {0, 2, 'S', 'T', 'R', '#', 0, 1, 0, 1}}}, 1003, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FreshLists();
        if (doc_.fRsrFile > 0) platform::CloseResFile(doc_.fRsrFile);
        doc_.fCompilerDirty = false;
        TExtObjQz* r = Routine(std::vector<Res>{{"QzEX", c.id, {0, 0}, "R"}} + c.more);
        ASSERT_NE(r, nullptr);
        const Bytes before = CompanionBytes();
        EXPECT_EQ(Write(r, "text"), c.result);
        if (c.result != 0) {
            EXPECT_EQ(CompanionBytes(), before);
            EXPECT_FALSE(doc_.fCompilerDirty);
            continue;
        }
        EXPECT_EQ(Stored("QBND", c.id), Table({{"QzTE", 1, c.entry}}));
        EXPECT_EQ(Stored("QzTE", c.entry), Text("text"));
    }
}

// Without the text conversions the program installs, a text is neither
// read nor written (-4); a plug-in whose file is no longer open has no
// text, and writing one tells the file is missing; a stray text under id
// -1 is no text of an object whose table names none.
TEST_F(PlugInDocs, NoConversionNoFileOrNoEntryMeansNoText)
{
    TExtObjQz* r = Routine({{"QzEX", 20, {0, 0}, "R"},
                            {"QBND", 20, Table({{"QzTE", 1, 20}})},
                            {"QzTE", 20, Text("old")}});
    ASSERT_NE(r, nullptr);
    DocHooks().plainResToHte = nullptr;
    DocHooks().plainHteToRes = nullptr;
    EXPECT_EQ(r->ReadDoc(te_, nullptr, nullptr), -4);
    EXPECT_EQ(Write(r, "new"), -4);
    EXPECT_EQ(Stored("QzTE", 20), Text("old"));
    ResetDocHooks();
    InstallPlainHooks();
    platform::CloseResFile(doc_.fRsrFile);
    doc_.fRsrFile = -1;
    EXPECT_EQ(r->GetDocId(), -1);
    platform::TESetText("kept", 4, te_);
    EXPECT_EQ(r->ReadDoc(te_, nullptr, nullptr), 0);
    EXPECT_EQ(std::string(*(**te_).hText, size_t((**te_).teLength)), "kept");
    EXPECT_EQ(Write(r, "new"), platform::resFNotFound);
    EXPECT_EQ(r->DelDoc(), 0);
    EXPECT_EQ(r->DelDocBundle(), 0);

    FreshLists();
    TExtObjQz* stray = Routine({{"QzEX", 5, {0, 0}, "R"}, {"QzTE", -1, Text("stray")}});
    ASSERT_NE(stray, nullptr);
    EXPECT_EQ(stray->GetDocId(), -1);
    EXPECT_FALSE(stray->TstFlag(kFlagHasDoc));
}

TEST_F(PlugInDocs, PackagesAreLockedByIdFileOrBundle)
{
    Companion({{"QzPX", 14000, {0, 0}, "Low"},
               {"QBNX", 14000, Table({{"STR#", 1, 300}})},
               {"QzPX", 15010, {0, 0}, "Marked"},
               {"QBNX", 15010, Table({{"STR#", 1, 300}, {"LOK!", -1, 0}})},
               {"QzPX", 15011, {0, 0}, "Plain"},
               {"QBNX", 15011, Table({{"STR#", 1, 300}, {"LOK!", 1, 0}})},
               {"QzPX", 15012, {0, 0}, "Damaged"},
               {"QBNX", 15012, {0, 3, 'L', 'O', 'K', '!', 0xFF, 0xFF, 0, 0}},
               {"QzPX", 15013, {0, 0}, "Unbundled"},
               {"STR#", 300, Strings({"A"})}});
    PlugInFile("Tools.rsrc", Identity(6) + Bundle("Folder", 20000, 400, {"A"}));
    ASSERT_EQ(ReadPlugInPackages(&doc_), 0);
    const std::pair<const char*, bool> expected[] = {{"_Low", true},      {"_Marked", true},    {"_Plain", false},
                                                     {"_Damaged", false}, {"_Unbundled", false}, {"_Folder", true}};
    for (const auto& [name, locked] : expected) {
        auto* p = static_cast<TPackagesObjQz*>(PackageObj(name));
        ASSERT_NE(p, nullptr) << name;
        EXPECT_EQ(p->LockedPackage(), locked) << name;
    }
    // A package that lost its file is locked, whatever its bundle says.
    ASSERT_EQ(doc_.fOtherFile, -1);
    auto* plain = static_cast<TPackagesObjQz*>(PackageObj("_Plain"));
    plain->SetPlugInFile(-1);
    EXPECT_TRUE(plain->LockedPackage());
}

TEST_F(PlugInDocs, ACompanionOfMoreThan2500ResourcesRefusesTheCollection)
{
    for (const auto& [total, result] : {std::pair{2500, 0}, std::pair{2501, 1008}}) {
        SCOPED_TRACE(total);
        FreshLists();
        if (doc_.fRsrFile > 0) platform::CloseResFile(doc_.fRsrFile);
        std::vector<Res> companion = {{"QzEX", 1, {0, 0}, "R"}};
        for (int16_t id = 1; id < total; ++id) companion.push_back({"FILL", id, {}});
        TExtObjQz* r = Routine(companion);
        ASSERT_NE(r, nullptr);
        ObjListHdl list = nullptr;
        ASSERT_EQ(NewObjList(&list, 10), 0);
        EXPECT_EQ(r->SelfAddObjList(&list, 0), result);
        FreeObjList(list);
    }
}

}  // namespace
}  // namespace designtest
