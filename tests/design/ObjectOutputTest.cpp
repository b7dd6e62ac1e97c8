// An object printed and exported in the frame every kind shares: export
// lines and their indents, the older format's callers, the lists of users
// and used objects with hidden ones left out, the first failed write
// ending the object, and printed lines placed for either script direction
// and kept on the page however deep the group.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/appl/Preferences.h"
#include "app/documents/Documentation.h"
#include "design/links/XRef.h"
#include "platform/core/Faults.h"
#include "platform/core/FourCC.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "platform/files/WholeFile.h"
#include "platform/text/ScriptManager.h"
#include "tests/design/DesignFixture.h"

using namespace platform;

namespace designtest {
namespace {

class ObjectOutput : public apptest::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ResetDesignGlobals();
        UseAppResources(std::string(kDesignResources) + "'STR#' 1009 { \"Objects\" \"Uses\" \"Used by\" }\n");
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
    void TearDown() override
    {
        ClearAllFaults();
        SetSysDirection(0);
        DisposeTypeList(doc_.fTypeList);
        doc_.fTypeList = nullptr;
        ResetDesignGlobals();
        AppFixture::TearDown();
    }
    TObjQz* Make(int16_t kind, const std::string& name, int16_t id)
    {
        return NewObj_Id(&doc_, kind, PName(name), id, true);
    }
    // What `write` puts into a new file.
    // With `diskFullAfter` set, the disk fills after that many writes.
    std::string Written(const std::function<int16_t(int16_t)>& write, int16_t* result = nullptr,
                        int diskFullAfter = -1, bool* filled = nullptr)
    {
        FSSpec file;
        FSMakeFSSpec(folder_ / ("out" + std::to_string(++files_) + ".txt"), &file);
        EXPECT_EQ(FSpCreate(file, FourCC("MACA"), FourCC("TEXT")), noErr);
        int16_t ref = 0;
        EXPECT_EQ(FSpOpenDF(file, fsRdWrPerm, &ref), noErr);
        if (diskFullAfter >= 0) InjectFault(FaultKind::DiskFull, diskFullAfter);
        const int16_t r = write(ref);
        if (filled) *filled = diskFullAfter >= 0 && !IsFaultArmed(FaultKind::DiskFull);
        ClearFault(FaultKind::DiskFull);
        if (result) *result = r;
        FSClose(ref);
        std::vector<uint8_t> bytes;
        ReadWholeFile(file.path, &bytes);
        return std::string(bytes.begin(), bytes.end());
    }
    TMainDoc doc_;
    int files_ = 0;
};

TEST_F(ObjectOutput, ExportLinesAndTheOlderFormatsCallers)
{
    TObjQz* m = Make(2, "Alpha", 1);
    for (const auto& [indent, expect] : {std::pair{0, "x\n"}, std::pair{7, "x\n"}, std::pair{8, " x\n"},
                                         std::pair{20, "  x\n"}, std::pair{-8, "x\n"}})
        EXPECT_EQ(Written([&, indent = indent](int16_t f) { return m->SaveNewLine(PName("x"), int16_t(indent), f); }),
                  expect)
            << indent;
    EXPECT_EQ(Written([&](int16_t f) { return m->SaveOldFormat(f); }), "Alpha\t0\t\n");
    // Callers of old types 3 (project method) and 4 (object method), one
    // hidden and one whose kind has no old type.
    TObjQz* form = NewOwnedObj(&doc_, 25, PName("Card"), 2);
    ASSERT_NE(form, nullptr);
    TObjQz* hidden = Make(2, "Hidden", 3);
    TObjQz* cmd = Make(3, "Cmd", 4);
    for (TObjQz* user : {Make(2, "Beta", 5), form, hidden, cmd}) XRef(user, m);
    hidden->SetFlag(kFlagHidden, true);
    unsigned char formName[256];
    form->GetStructName(formName);
    EXPECT_EQ(Written([&](int16_t f) { return m->SaveOldFormat(f); }),
              "Alpha\t2\tBeta\t3\t" + P(formName) + "\t4\t\n");
    XDelRef(form, m);
    form->Dispose();
}

// The export frame: a line end, the heading, two line ends, then the
// users and the used objects that are not hidden.
TEST_F(ObjectOutput, ExportFrameListsVisibleUsersAndStopsAtTheFirstFailure)
{
    TObjQz* m = Make(2, "Alpha", 1);
    TObjQz* hidden = Make(2, "Hidden", 3);
    XRef(Make(2, "Beta", 2), m);
    XRef(hidden, m);
    XRef(m, Make(2, "Gamma", 4));
    hidden->SetFlag(kFlagHidden, true);
    unsigned char heading[256], info[256];
    m->GetFullName(heading);
    m->GetMoreInfo(info, false);
    const std::string head = "\n" + P(heading) + P(info) + "\n\n";
    OutPutParmRec o;
    o.callers = o.uses = 1;
    const std::string all = head + "\tUsed by\n\t\tMethod Beta\n\n\tUses\n\t\tMethod Gamma\n\n";
    EXPECT_EQ(Written([&](int16_t f) { return m->Save(f, &o); }), all);
    o.callers = 0;
    EXPECT_EQ(Written([&](int16_t f) { return m->Save(f, &o); }), head + "\tUses\n\t\tMethod Gamma\n\n");
    // A disk that fills at any write: the object ends there with the error.
    o.callers = 1;
    for (int after = 0;; ++after) {
        int16_t result = 0;
        bool filled = false;
        const std::string got = Written([&](int16_t f) { return m->Save(f, &o); }, &result, after, &filled);
        if (!filled) {
            EXPECT_EQ(got, all);
            break;
        }
        ASSERT_NE(result, 0) << "write " << after;
        EXPECT_EQ(got, all.substr(0, got.size())) << "nothing after the failure";
        ASSERT_LT(after, 100);
    }
}

class PrintedOutput : public ObjectOutput {
protected:
    // Prints into a page world; the pixels.
    std::vector<uint32_t> Page(const std::function<void()>& draw)
    {
        const Rect page{0, 0, 300, 400};
        GWorldPtr world = nullptr;
        EXPECT_EQ(NewGWorld(&world, 32, &page, nullptr, nullptr, 0), noErr);
        CGrafPtr saved;
        GDHandle device;
        GetGWorld(&saved, &device);
        SetGWorld(world, nullptr);
        EraseRect(&page);
        P_PageRect = page;
        P_CrtHeight = 0;
        DropHeldHeadings();
        draw();
        PlaceHeldHeadings(nullptr, 0);  // as the printed list ends
        SetGWorld(saved, device);
        const Surface s = MakeSurface(reinterpret_cast<const BitMap*>(*GetGWorldPixMap(world)));
        std::vector<uint32_t> pixels;
        for (int v = 0; v < 300; ++v)
            for (int h = 0; h < 400; ++h) pixels.push_back(s.ReadRGB(h, v) & 0xFFFFFF);
        DisposeGWorld(world);
        return pixels;
    }
    // The reference: `text` drawn at (h, line `n` below the top) in the face.
    static void Line(const std::string& text, int16_t h, int n, StyleField face)
    {
        TextFont(GetResFont(2));
        TextSize(GetResSize(2));
        TextFace(face);
        FontInfo info{};
        GetFontInfo(&info);
        MoveTo(h, int16_t(n * (info.ascent + info.descent + info.leading) + info.ascent));
        DrawText(text.data(), 0, int16_t(text.size()));
    }
};

// Users: the list's heading in italics at 20, each shown user's name at
// 40, then an empty line; right to left, each line ends 30 points before
// the page's right edge.
TEST_F(PrintedOutput, ListsOfUsersPrintTheShownOnesInEitherDirection)
{
    TObjQz* m = Make(13, "Alpha", 1);  // a kind with nothing of its own to print
    TObjQz* hidden = Make(2, "Hidden", 3);
    XRef(hidden, m);
    hidden->SetFlag(kFlagHidden, true);
    XRef(Make(2, "Beta", 4), m);
    unsigned char heading[256], info[256];
    m->GetFullName(heading);
    m->GetMoreInfo(info, true);
    const std::string head = P(heading) + P(info);
    OutPutParmRec o;
    o.callers = 1;
    for (int16_t direction : {0, -1}) {
        SetSysDirection(direction);
        const std::vector<uint32_t> printed = Page([&] { EXPECT_EQ(m->Print(&o), 0); });
        const std::vector<uint32_t> expected = Page([&] {
            auto at = [&](const std::string& t, int16_t indent, StyleField face) {
                TextFace(face);
                const int16_t width = TextWidth(t.data(), 0, int16_t(t.size()));
                return int16_t(direction == -1 ? 400 - (indent + width + 30) : indent + 30);
            };
            TextFont(GetResFont(2));
            TextSize(GetResSize(2));
            Line(head, at(head, 0, bold), 0, bold);
            Line("Used by", at("Used by", 20, italic), 2, italic);
            Line("Method Beta", at("Method Beta", 40, normal), 3, normal);
        });
        size_t differ = 0;
        while (differ < printed.size() && printed[differ] == expected[differ]) ++differ;
        EXPECT_EQ(differ, printed.size()) << "direction " << direction << ": first difference at ("
                                          << differ % 400 << ", " << differ / 400 << ")";
    }
}

// A group or a package printed with its sub-objects: a line for each
// member the list shows, then an empty line that turns no page even at
// the bottom.
TEST_F(PrintedOutput, HoldersPrintTheirShownMembersThenAnEmptyLine)
{
    struct CountingDoc : TMainDoc {
        int breaks = 0;
        void BreakPage() override { ++breaks; }
    } counting;
    auto* g = static_cast<TGroupObjQz*>(Make(23, "G", 1));
    TObjQz* package = Make(7, "P", 1);
    for (int16_t id = 10; id < 18; id += 4) {
        TObjQz* holder = id == 10 ? g : package;
        std::vector<TObjQz*> members;
        for (int16_t k = 0; k < 4; ++k) members.push_back(Make(2, "m" + std::to_string(id + k), int16_t(id + k)));
        for (TObjQz* m : members) ASSERT_EQ(holder == g ? m->AddGroup(g, false) : AddObjList(&package->members, m), 0);
        members[2]->SetFlag(kFlagHidden, true);
        members[3]->SetFlag(kFlagInTrash, true);
        holder->owner = &counting;
        OutPutParmRec o;
        int16_t heights[2] = {}, line = 0;
        for (uint8_t closed : {0, 1}) {
            o.rowClosed = closed;
            Page([&] {
                EXPECT_EQ(holder->Print(&o), 0);
                PlaceHeldHeadings(&counting, 0);
                heights[closed] = P_CrtHeight;
                FontInfo info{};  // the printing's font
                GetFontInfo(&info);
                line = int16_t(info.ascent + info.descent + info.leading);
            });
        }
        EXPECT_EQ(heights[1] - heights[0], 3 * line) << P(holder->name);
        Page([&] {
            P_CrtHeight = int16_t(P_PageRect.bottom - 30 - heights[1]);
            holder->Print(&o);
        });
        EXPECT_EQ(counting.breaks, 0) << P(holder->name);
        holder->owner = &doc_;
    }
    // A table without sub-objects prints whether or not they are asked for.
    TObjQz* table = Make(1, "T", 6);
    for (uint8_t closed : {0, 1}) {
        OutPutParmRec o;
        o.rowClosed = closed;
        Page([&] { EXPECT_EQ(table->Print(&o), 0); });
    }
}

// However deep the group, a lined line starts at most half the page in.
TEST_F(PrintedOutput, DeepGroupsStopIndentingAtHalfThePage)
{
    TObjQz* m = Make(2, "Alpha", 1);
    // The rule at indent + 20; 20 more per level up to half the page.
    for (const auto& [level, left] : {std::pair{0, 30}, std::pair{3, 90}, std::pair{9, 210}, std::pair{60, 220}}) {
        m->level = uint8_t(level);
        int16_t first = -1;
        const std::vector<uint32_t> page = Page([&] { m->PrintLinedNewLine(PName("Deep"), 10); });
        for (int h = 0; h < 400 && first < 0; ++h)
            for (int v = 0; v < 20; ++v)
                if (page[size_t(v * 400 + h)] != 0xFFFFFF) {
                    first = int16_t(h);
                    break;
                }
        EXPECT_EQ(first, left) << "level " << level;
    }
    // Right to left the rule stands as far from the right edge.
    SetSysDirection(-1);
    for (const auto& [level, right] : {std::pair{0, 370}, std::pair{3, 310}}) {
        m->level = uint8_t(level);
        int16_t last = -1;
        const std::vector<uint32_t> page = Page([&] { m->PrintLinedNewLine(PName("Deep"), 10); });
        for (int h = 399; h >= 0 && last < 0; --h)
            for (int v = 0; v < 20; ++v)
                if (page[size_t(v * 400 + h)] != 0xFFFFFF) {
                    last = int16_t(h);
                    break;
                }
        EXPECT_EQ(last, right) << "level " << level;
    }
}

// Near the page's bottom an empty line turns no page (a list would end on
// a blank one); a line of text does, just past the limit and not before.
TEST_F(PrintedOutput, OnlyLinesOfTextTurnThePage)
{
    struct CountingDoc : TMainDoc {
        int breaks = 0;
        void BreakPage() override { ++breaks; }
    } counting;
    TObjQz* m = Make(2, "Alpha", 1);
    m->owner = &counting;
    const unsigned char empty[1] = {0}, x[2] = {1, 'x'};
    struct Case {
        const unsigned char* text;
        int below;  // the current height's distance above the bottom less 30 less one line
        int breaks;
    } cases[] = {{empty, 0, 0}, {empty, -5, 0}, {x, 1, 0}, {x, 0, 1}, {x, -5, 1}};
    // Keeping lines together breaks when they would reach the limit, not before.
    for (const auto& [below, breaks] : {std::pair{0, 1}, std::pair{1, 0}}) {
        counting.breaks = 0;
        Page([&, below = below, breaks = breaks] {
            FontInfo info{};
            GetFontInfo(&info);
            const int line = info.ascent + info.descent + info.leading;
            P_CrtHeight = int16_t(P_PageRect.bottom - 30 - 3 * line - below);
            EXPECT_EQ(m->BreakIf(3), breaks == 1);
        });
        EXPECT_EQ(counting.breaks, breaks) << below;
    }
    for (const Case& c : cases) {
        counting.breaks = 0;
        Page([&] {
            FontInfo info{};
            GetFontInfo(&info);
            const int line = info.ascent + info.descent + info.leading;
            P_CrtHeight = int16_t(P_PageRect.bottom - 30 - line - c.below);
            m->PrintNewLine(c.text, 0);
        });
        EXPECT_EQ(counting.breaks, c.breaks) << c.text[0] << " " << c.below;
    }
    m->owner = &doc_;
}

}  // namespace
}  // namespace designtest
