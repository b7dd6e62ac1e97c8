// Choice lists as design objects: searched to their deepest items, deleted
// and renamed in the directory in one commit (or not at all, whatever
// write fails), previewed against the texts and icons drawn by platform
// calls, printed and exported line by line.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/Preferences.h"
#include "app/dialogs/Messages.h"
#include "app/documents/Documentation.h"
#include "forms/lists/ItemDrawing.h"
#include "platform/core/Endian.h"
#include "platform/core/Faults.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/files/Forks.h"
#include "platform/files/WholeFile.h"
#include "platform/icons/Icons.h"
#include "platform/pictures/Pictures.h"
#include "tests/design/DesignFixture.h"
#include "tests/design/ReadFixture.h"
#include "tests/forms/DrawnPage.h"

using namespace platform;

namespace readtest {
namespace {

using designtest::PName;

constexpr const char* kLists = R"(structure Lists
list First id 1
  item "One"
list Towns id 2
  item "Amsterdam" number 1
  item "Berlin" icon 2044
  item "Regions" face 1
    item "North"
      item "Harbour" picture Logo
list Empty id 3
picture Logo id 5 size 16 8
)";

const uint32_t kLEQz = FourCC("LEQz");
const uint32_t kListType = FourCC("List");

// A user whose own resource holds the name it refers to: renaming rewrites
// it and commits, as a method's text does.
class NamingUser : public TObjQz {
public:
    uint32_t GetOwnResType() override { return FourCC("TEXT"); }
    void XRefReplace(TObjQz*, const unsigned char* newName, bool) override
    {
        Handle h = nullptr;
        PtrToHand(newName, &h, newName[0] + 1);
        if (!xaddres(h, GetOwnResType(), id)) DisposeHandle(h);
        updateres(owner->fResFile);
    }
};

class ChoiceListObjects : public ReadFixture {
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        Fresh();
    }
    // The lists built afresh, opened and read.
    void Fresh()
    {
        CloseDoc();
        built_ = Build(kLists);
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
        Open(built_);
        ASSERT_EQ(Read(), 0);
    }
    TListObjQz* ListNamed(const std::string& name) { return dynamic_cast<TListObjQz*>(Find(4, name)); }
    // The directory's entries as "name:id".
    static std::vector<std::string> Entries()
    {
        const Bytes dir = Stored(kLEQz, 0);
        std::vector<std::string> out;
        for (int k = 0; k < int16_t(ReadBE16(dir.data())); ++k) {
            const uint8_t* e = &dir[size_t(6 + 34 * k)];
            out.push_back(std::string(reinterpret_cast<const char*>(e + 1), e[0]) + ":" +
                          std::to_string(int16_t(ReadBE16(e + 32))));
        }
        return out;
    }
    docbuilder::BuildResult built_;
};

using Strings = std::vector<std::string>;

}  // namespace

TEST_F(ChoiceListObjects, SearchReachesTheDeepestItemsAndAnEmptyListFindsNothing)
{
    struct Case {
        const char* list;
        const char* pattern;
        int16_t mode;
        int16_t found;
    };
    for (const Case& c : {Case{"Towns", "Harbour", 1, 1}, Case{"Towns", "Harbou", 1, 0}, Case{"Towns", "Harb", 4, 1},
                          Case{"Towns", "Regions", 1, 1}, Case{"Towns", "One", 1, 0}, Case{"First", "One", 1, 1},
                          Case{"Empty", "One", 1, 0}})
        EXPECT_EQ(ListNamed(c.list)->SearchIn(PName(c.pattern), c.mode), c.found) << c.list << " " << c.pattern;
    // Without the rename dialog a list stays itself.
    TObjQz* out = nullptr;
    EXPECT_EQ(ListNamed("First")->Replace(&out), 0);
    EXPECT_EQ(out, ListNamed("First"));
}

TEST_F(ChoiceListObjects, DeletingTheMiddleListShortensTheDirectoryAndRenamesStayOnTheirOwnEntry)
{
    const Bytes dir = Stored(kLEQz, 0);
    const size_t before = dir.size();
    // A disk that fails at once: the list stays, and so does the disk.
    const int32_t alerts = AlertCount();
    {
        ScopedFault full(FaultKind::DiskFull, 0, -1);
        ListNamed("Towns")->DeleteObj(true);
    }
    EXPECT_EQ(AlertCount(), alerts + 1);
    ASSERT_NE(ListNamed("Towns"), nullptr);
    EXPECT_EQ(Stored(kLEQz, 0), dir);
    EXPECT_FALSE(Stored(kListType, 2).empty());
    Fresh();
    ListNamed("Towns")->DeleteObj(true);
    EXPECT_EQ(Entries(), (Strings{"First:1", "Empty:3"}));
    EXPECT_EQ(Stored(kLEQz, 0).size(), before - 34);
    EXPECT_TRUE(Stored(kListType, 2).empty());
    EXPECT_EQ(ListNamed("Towns"), nullptr);
    // The list after it moved up; renaming it names its own entry.
    ListNamed("Empty")->DoReplace(PName(std::string(40, 'e')), true, nullptr, nullptr, false);
    EXPECT_EQ(Entries(), (Strings{"First:1", std::string(31, 'e') + ":3"}));
    EXPECT_NE(ListNamed(std::string(31, 'e')), nullptr);
    // A short name leaves the rest of its room zero; a list without an
    // entry of its own leaves the directory as it is.
    ListNamed("First")->DoReplace(PName("F"), true, nullptr, nullptr, false);
    const Bytes renamed = Stored(kLEQz, 0);
    EXPECT_EQ(std::count(renamed.begin() + 8, renamed.begin() + 38, 0), 30);
    NewObj_Id(&doc_, 4, PName("Loose"), 9, false)->DeleteObj(true);
    EXPECT_EQ(Stored(kLEQz, 0), renamed);
    EXPECT_EQ(Entries(), (Strings{"F:1", std::string(31, 'e') + ":3"}));
    // Both landed on disk.
    Reopen(built_);
    EXPECT_EQ(Entries(), (Strings{"F:1", std::string(31, 'e') + ":3"}));
    EXPECT_TRUE(Stored(kListType, 2).empty());
}

TEST_F(ChoiceListObjects, ARenameLandsWholeOrNotAtAllWhicheverWriteFails)
{
    // The directory's entries and the user's text as the disk has them now.
    auto onDisk = [&] {
        const std::string copy = folder_ / "copy.QzB";
        const Bytes bytes = FileBytes(built_.dataPath);
        EXPECT_EQ(WriteFileAtomically(copy, bytes.data(), bytes.size()), noErr);
        FSSpec fileSpec;
        FSMakeFSSpec(copy, &fileSpec);
        const int16_t f = openres(fileSpec, true);
        EXPECT_GT(f, 0);
        Strings seen = Entries();
        const Bytes text = Stored(FourCC("TEXT"), 9);
        seen.push_back(text.empty() ? "" : P(text.data()));
        closeres(f, false);
        useres(doc_.fResFile);
        return seen;
    };
    const Strings before{"First:1", "Towns:2", "Empty:3", "Towns"}, after{"First:1", "Cities:2", "Empty:3", "Cities"};
    NamingUser* user = new NamingUser;
    user->init(&doc_, PName("User"), 9);
    user->XRefReplace(nullptr, PName("Towns"), false);
    // The disk fails from one write on, as a crash there would leave it.
    for (int write = 0;; ++write) {
        ASSERT_LT(write, 200);
        ASSERT_EQ(onDisk(), before);
        ObjListHdl users = nullptr;
        ASSERT_EQ(AddObjList(&users, user), 0);
        const int32_t alerts = AlertCount();
        {
            ScopedFault full(FaultKind::DiskFull, write, -1);
            ListNamed("Towns")->DoReplace(PName("Cities"), true, users, nullptr, false);
        }
        // The disk holds every change or none, as the object's name says;
        // a failure is shown.
        const bool renamed = ListNamed("Cities") != nullptr;
        EXPECT_EQ(onDisk(), renamed ? after : before) << "write " << write;
        EXPECT_EQ(AlertCount() == alerts, renamed) << "write " << write;
        if (renamed) break;
        Fresh();
        user->XRefReplace(nullptr, PName("Towns"), false);
    }
    delete user;
}

TEST_F(ChoiceListObjects, ThePreviewDrawsTheNameAndEachLevelTwoLinesFurtherRight)
{
    TListObjQz* towns = ListNamed("Towns");
    const Rect page{0, 0, 200, 300};
    drawntest::Page world(300, 200);
    Handle display = nullptr;
    int16_t width = 0, height = 0, a = 0, b = 0, c = 0;
    // Whatever size the port was left at, the preview takes its own.
    TextSize(int16_t(MyApplSize + 6));
    ASSERT_EQ(towns->InitDisplay(&display, page, &width, &height, &a, &b, &c, false), 0);
    const std::vector<uint32_t> drawn = world.Drawn([&] {
        TextSize(int16_t(MyApplSize + 6));
        towns->Display(display, page);
    });

    // The reference, in the application font.
    TextFont(MyApplFont);
    TextSize(MyApplSize);
    FontInfo fi{};
    GetFontInfo(&fi);
    const int16_t line = int16_t(fi.ascent + fi.descent + fi.leading);
    CIconHandle icon = GetCIcon(2044);
    ASSERT_NE(icon, nullptr);
    const Rect ib = (*icon)->iconPMap.bounds;
    DisposeCIcon(icon);
    Handle logo = xget1res(FourCC("PICT"), 5);
    ASSERT_NE(logo, nullptr);
    Rect lb{};
    QDGetPictureBounds(logo, &lb);
    // Each line: its text, how many levels in, its face, and what shows
    // below it (an icon family, or the picture Logo).
    struct Line {
        std::string text;
        int level;
        StyleField face;
        char below;
    };
    int32_t widest = 0, v = 10;
    const std::vector<uint32_t> expected = world.Drawn([&] {
        for (const Line& l : {Line{"Towns", -1, underline, 0}, Line{"Amsterdam", 0, normal, 0},
                              Line{"Berlin ID 2044", 0, normal, 'i'}, Line{"Regions", 0, bold, 0},
                              Line{"North", 1, normal, 0}, Line{"Harbour (Logo)", 2, normal, 'p'}}) {
            const int16_t h = int16_t(10 + 2 * line * (l.level + 1));
            TextFace(l.face);
            MoveTo(h, int16_t(v + fi.ascent));
            DrawText(l.text.data(), 0, int16_t(l.text.size()));
            widest = std::max<int32_t>(widest, h + TextWidth(l.text.data(), 0, int16_t(l.text.size())) + 18);
            TextFace(normal);
            v += line;
            const Rect b = l.below == 'i' ? ib : lb;
            const Rect at{int16_t(v), h, int16_t(v + b.bottom - b.top), int16_t(h + b.right - b.left)};
            if (l.below == 'i') PlotIconID(&at, kAlignNone, kTransformNone, 2044);
            if (l.below == 'p') DrawPicture(logo, &at);
            if (l.below) v += b.bottom - b.top;
        }
    });
    EXPECT_EQ(world.Differ(drawn, expected), "");
    EXPECT_EQ(width, widest);
    EXPECT_EQ(height, v);
    int16_t right = 0, bottom = 0;
    towns->SizeDisplay(display, page, &right, &bottom);
    EXPECT_EQ(right, width);
    EXPECT_EQ(bottom, height);

    // An enciphered list shows nothing.
    towns->SetFlag(kFlagCiphered, true);
    const std::vector<uint32_t> blank = world.Drawn([&] { towns->Display(display, page); });
    EXPECT_EQ(std::count(blank.begin(), blank.end(), 0xFFFFFFu), ptrdiff_t(blank.size()));
    towns->DisposeDisplay(&display);
    // And covers nothing.
    ASSERT_EQ(towns->InitDisplay(&display, page, &width, &height, &a, &b, &c, false), 0);
    EXPECT_EQ(std::tuple(width, height), std::tuple(int16_t(0), int16_t(0)));
    towns->DisposeDisplay(&display);
}

TEST_F(ChoiceListObjects, PrintingPutsEachItemOnItsLineWithBranchesFurtherIn)
{
    TListObjQz* towns = ListNamed("Towns");
    drawntest::Page world(300, 200);
    auto pixels = [&](const std::function<void()>& draw) {
        P_PageRect = Rect{0, 0, 200, 300};
        P_CrtHeight = 0;
        return world.Drawn(draw);
    };
    OutPutParmRec options;
    options.contents = 1;
    const auto printed = pixels([&] { EXPECT_EQ(towns->PrintObj(&options), 0); });
    unsigned char heading[256], info[256];
    towns->GetFullName(heading);
    towns->GetMoreInfo(info, true);
    const auto expected = pixels([&] {
        TextFont(GetResFont(2));
        TextSize(GetResSize(2));
        FontInfo fi{};
        GetFontInfo(&fi);
        int n = 0;
        for (const auto& [text, h, face] :
             {std::tuple{P(heading) + P(info), 30, bold}, std::tuple{std::string("Amsterdam"), 50, normal},
              std::tuple{std::string("Berlin"), 50, normal}, std::tuple{std::string("Regions"), 50, bold},
              std::tuple{std::string("North"), 80, normal}, std::tuple{std::string("Harbour (Logo)"), 110, normal}}) {
            TextFace(face);
            MoveTo(int16_t(h), int16_t(n++ * (fi.ascent + fi.descent + fi.leading) + fi.ascent));
            DrawText(text.data(), 0, int16_t(text.size()));
        }
        TextFace(normal);
    });
    EXPECT_EQ(world.Differ(printed, expected), "");
}

TEST_F(ChoiceListObjects, ExportWritesEachItemOnItsLineAndReportsAFullDisk)
{
    TListObjQz* towns = ListNamed("Towns");
    const std::string all = "  Amsterdam\n  Berlin\n  Regions\n      North\n          Harbour (Logo)\n\n";
    for (int after = 0;; ++after) {
        FSSpec fileSpec;
        FSMakeFSSpec(folder_ / ("out" + std::to_string(after) + ".txt"), &fileSpec);
        ASSERT_EQ(FSpCreate(fileSpec, FourCC("MACA"), FourCC("TEXT")), noErr);
        int16_t ref = 0;
        ASSERT_EQ(FSpOpenDF(fileSpec, fsRdWrPerm, &ref), noErr);
        InjectFault(FaultKind::DiskFull, after);
        const int16_t result = towns->SaveObj(ref);
        const bool fired = !IsFaultArmed(FaultKind::DiskFull);
        ClearFault(FaultKind::DiskFull);
        FSClose(ref);
        const Bytes bytes = FileBytes(fileSpec.path);
        const std::string got(bytes.begin(), bytes.end());
        if (!fired) {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(got, all);
            break;
        }
        EXPECT_NE(result, 0) << "write " << after;
        EXPECT_EQ(got, all.substr(0, got.size())) << "write " << after;
        ASSERT_LT(after, 50);
    }
}

}  // namespace readtest
