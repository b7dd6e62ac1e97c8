// The recent-documents list: its bytes in the preferences file, its order,
// its menu texts, reopening from the menu, and damaged or long entries.
#include <gtest/gtest.h>

#include <algorithm>

#include <filesystem>

#include "app/appl/Menus.h"
#include "app/documents/RecentList.h"
#include "platform/core/Endian.h"
#include "platform/text/Utf8.h"
#include "tests/app/MainDocFixture.h"

using namespace apptest;
using namespace platform;

namespace {

class RecentListTest : public MainDocFixture {
protected:
    std::vector<uint8_t> Stored() const
    {
        const int16_t saved = CurResFile();
        UseResFile(G_PrefResFile);
        Handle h = Get1Resource(FourCC("SP2#"), 0);
        std::vector<uint8_t> bytes;
        if (h) bytes.assign(*h, *h + GetHandleSize(h));
        UseResFile(saved);
        return bytes;
    }
    std::string Folder() const
    {
        std::string colon;
        FSpGetColonPath(FSSpec{folder_.path()}, &colon);
        colon = Utf8ToMacRomanString(colon);
        if (colon.back() != ':') colon += ':';
        return colon;
    }
    std::vector<std::string> Names() const
    {
        const std::vector<uint8_t> b = Stored();
        std::vector<std::string> names;
        OpenSpecialItem item;
        for (int16_t i = 0; OpenSpecialEntry(b.data(), b.size(), i, &item); ++i) names.push_back(item.name);
        return names;
    }
    std::string MenuText(int16_t index) const
    {
        unsigned char text[256];
        GetFuncItem(11, index, text);
        return P(text);
    }
};

void PutEntry(std::vector<uint8_t>* b, size_t i, const std::string& name, const std::string& path, uint32_t type)
{
    uint8_t* e = b->data() + 88 + i * 526;
    e[0] = uint8_t(name.size());
    std::memcpy(e + 1, name.data(), name.size());
    e[256] = uint8_t(path.size());
    std::memcpy(e + 257, path.data(), path.size());
    WriteBE32(e + 516, type);
}

TEST_F(RecentListTest, EachOpenPutsItsDocumentFirstInTheStoredList)
{
    ASSERT_EQ(appl_->OpenNamedDoc(MakeDocFile("a.QzB"), 0), 0);
    ASSERT_EQ(appl_->OpenNamedDoc(MakeDocFile("b.QzB", "BAS5"), 0), 0);
    std::vector<uint8_t> want(88 + 3 * 526, 0);
    want[84] = 1;
    want[87] = 2;
    PutEntry(&want, 0, "b.QzB", Folder(), FourCC("BAS5"));
    PutEntry(&want, 1, "a.QzB", Folder(), 0);
    EXPECT_EQ(Stored(), want);
    EXPECT_EQ(NbSFunc(11), 2);

    // A sixth document drops the oldest; reopening the third moves it first.
    for (const char* n : {"c.QzB", "d.QzB", "e.QzB", "f.QzB"}) ASSERT_EQ(appl_->OpenNamedDoc(MakeDocFile(n), 0), 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"f.QzB", "e.QzB", "d.QzB", "c.QzB", "b.QzB"}));
    EXPECT_EQ(Stored().size(), size_t(88 + 6 * 526));
    TDocument* d = appl_->GetNamedDoc(FSSpec{folder_ / "d.QzB"});
    ASSERT_NE(d, nullptr);
    d->Close();
    ASSERT_EQ(appl_->OpenNamedDoc(FSSpec{folder_ / "d.QzB"}, 0), 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"d.QzB", "f.QzB", "e.QzB", "c.QzB", "b.QzB"}));
    EXPECT_EQ(NbSFunc(11), 5);
}

TEST_F(RecentListTest, LongEntriesAreShortenedInTheMenuAndStillReopen)
{
    std::string text;
    const std::string path = "Disk:" + std::string(30, 'p') + ":" + std::string(13, 'q') + ":";  // 50 characters
    ASSERT_EQ(path.size(), 50u);
    OpenSpecialText(path, std::string(20, 'n'), &text);
    EXPECT_EQ(text, "Disk:" + std::string(30, 'p') + ":..:" + std::string(20, 'n'));
    OpenSpecialText("Disk:a:", "b", &text);
    EXPECT_EQ(text, "Disk:a:b");
    OpenSpecialText("Disk:", std::string(70, 'n'), &text);
    EXPECT_EQ(text, "..:" + std::string(70, 'n'));

    // A document in a folder whose path passes 64 characters opens again
    // from the menu: the list keeps the whole path.
    std::string deep = folder_.path() + "/folder";
    while (deep.size() < 120) deep += "/folder";
    std::filesystem::create_directories(deep);
    const std::string rel = deep.substr(folder_.path().size() + 1) + "/Deep.QzB";
    const FSSpec fileSpec = MakeDocFile(rel);
    ASSERT_EQ(appl_->OpenNamedDoc(fileSpec, 0), 0);
    const std::string shown = MenuText(1);
    EXPECT_NE(shown.find("..:Deep.QzB"), std::string::npos) << shown;
    TDocument* doc = appl_->GetNamedDoc(fileSpec);
    ASSERT_NE(doc, nullptr);
    doc->Close();
    ASSERT_EQ(DocCount(), 0);
    EXPECT_EQ(appl_->Dispatch_Func(11, 1), 0);
    ASSERT_EQ(DocCount(), 1);
    EXPECT_EQ(appl_->fDocList->fSpec.path, fileSpec.path);
}

// Names outside ASCII, outside Mac Roman or holding ':', in a folder
// outside ASCII, reopen from the menu: the document and the list hold them
// as the program does ('?' for a character Mac Roman lacks, ':' shown as
// '/'), and each is found again as its own file.
TEST_F(RecentListTest, NamesOfAnyCharactersReopen)
{
    const std::string folder = "F\xC3\xB6\xE2\x82\xAC";
    std::filesystem::create_directories(folder_ / folder);
    const struct {
        std::string file, shown;
    } names[] = {
        {"D\xC3\xA9mo \xE2\x82\xAC \xC3\x9F.QzB", "D\x8Emo \xDB \xA7.QzB"},
        {"\xE3\x83\x87\xE3\x83\xA2.QzB", "??.QzB"},
        {"\xC3\x9A\xC4\x8Dty.QzB", "\xF2?ty.QzB"},
        {"a:b.QzB", "a/b.QzB"},
    };
    for (const auto& n : names) {
        SCOPED_TRACE(n.shown);
        const FSSpec fileSpec = MakeDocFile(folder + "/" + n.file);
        ASSERT_EQ(appl_->OpenNamedDoc(fileSpec, 0), 0);
        EXPECT_EQ(P(appl_->fDocList->fName), n.shown);
        EXPECT_EQ(Names().front(), n.shown);
        appl_->fDocList->Close();
        ASSERT_EQ(DocCount(), 0);
        EXPECT_EQ(appl_->Dispatch_Func(11, 1), 0);
        ASSERT_EQ(DocCount(), 1);
        EXPECT_EQ(appl_->fDocList->fSpec.path, fileSpec.path);
        appl_->fDocList->Close();
    }
}

TEST_F(RecentListTest, DamagedListsAndOverlongPathsAreHandledSafely)
{
    // A path its field cannot hold is not stored.
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(AddToOpenSpecial(&bytes, std::string(256, 'x'), "a", 0));
    EXPECT_TRUE(bytes.empty());
    ASSERT_TRUE(AddToOpenSpecial(&bytes, "Disk:", "a", 0));
    EXPECT_EQ(OpenSpecialCount(bytes.data(), bytes.size()), 1);

    // A stored count beyond five or beyond the bytes counts what is there.
    std::vector<uint8_t> lying(88 + 2 * 526, 0);
    WriteBE16(lying.data() + 86, 200);
    EXPECT_EQ(OpenSpecialCount(lying.data(), lying.size()), 2);
    std::vector<uint8_t> many(88 + 8 * 526, 0);
    WriteBE16(many.data() + 86, 8);
    EXPECT_EQ(OpenSpecialCount(many.data(), many.size()), 5);
    EXPECT_EQ(OpenSpecialCount(many.data(), 87), 0);
    // Adding to a list that claims too much keeps five and the new first;
    // the fifth goes, kept nowhere past the count.
    many[88 + 4 * 526] = 1;
    many[88 + 4 * 526 + 1] = 'z';
    ASSERT_TRUE(AddToOpenSpecial(&many, "Disk:", "new", 0));
    EXPECT_EQ(OpenSpecialCount(many.data(), many.size()), 5);
    EXPECT_EQ(many.size(), size_t(88 + 6 * 526));
    EXPECT_EQ(std::count(many.begin() + 88 + 5 * 526, many.end(), 0), 526);
    OpenSpecialItem item;
    ASSERT_TRUE(OpenSpecialEntry(many.data(), many.size(), 0, &item));
    EXPECT_EQ(item.name, "new");

    // The menu shows only the entries really there.
    {
        const int16_t saved = CurResFile();
        UseResFile(G_PrefResFile);
        Handle h = nullptr;
        PtrToHand(lying.data(), &h, Size(lying.size()));
        const unsigned char empty[1] = {0};
        AddResource(h, FourCC("SP2#"), 0, empty);
        WriteResource(h);
        UseResFile(saved);
    }
    UpdateOpenSpecialMenu();
    EXPECT_EQ(NbSFunc(11), 2);
    // An entry naming nothing opens nothing and says so.
    ResetAlerts();
    appl_->Dispatch_Func(11, 1);
    EXPECT_EQ(DocCount(), 0);
}

}  // namespace
