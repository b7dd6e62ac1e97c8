#include <gtest/gtest.h>

#include <string>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/core/FourCC.h"
#include "platform/events/Events.h"
#include "platform/events/InputState.h"
#include "platform/core/Memory.h"
#include "platform/screen/Screen.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/VPoint.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/foundation/intl/VIntlManagerRoot.h"
#include "toolbox/foundation/startup/InitVToolBox.h"
#include "toolbox/foundation/system/ToolboxResources.h"
#include "toolbox/foundation/system/VSystem.h"

using platform::FourCC;

namespace {

uint32_t Code(uint8_t a, uint8_t b, uint8_t c, uint8_t d)
{
    return (uint32_t(a) << 24) | (uint32_t(b) << 16) | (uint32_t(c) << 8) | d;
}

VStr<255> Text(const char* s)
{
    VStr<255> t;
    t.FromCString(reinterpret_cast<const uint8_t*>(s), kCharSetMac);
    return t;
}

// 'FMAP' resources served to the system object in place of the toolbox
// resource file.
std::vector<std::vector<uint8_t>> gFmaps;

void InstallFmaps()
{
    ToolboxResources access;
    access.listIDs = [](platform::ResType type) {
        std::vector<int16_t> ids;
        if (type == FourCC("FMAP"))
            for (size_t i = 0; i < gFmaps.size(); ++i) ids.push_back(int16_t(128 + i));
        return ids;
    };
    access.getResource = [](platform::ResType, int16_t id) -> platform::Handle {
        const auto& bytes = gFmaps.at(size_t(id - 128));
        platform::Handle h = platform::NewHandle(platform::Size(bytes.size()));
        if (h && !bytes.empty()) std::copy(bytes.begin(), bytes.end(), *h);
        return h;
    };
    access.releaseResource = [](platform::Handle h) { platform::DisposeHandle(h); };
    SetToolboxResources(access);
}

void PutRecord(std::vector<uint8_t>& r, const char* kind, const char* mac, const char* win, uint8_t flags)
{
    for (const char* p : {kind, mac, win})
        for (int i = 0; i < 4; ++i) r.push_back(uint8_t(p[i]));
    r.push_back(flags);
    r.push_back(0);
}

class SystemKinds : public ::testing::Test {
protected:
    void SetUp() override
    {
        gFmaps.clear();
        InstallFmaps();
    }
    void TearDown() override { SetToolboxResources({}); }
};

TEST(SystemWinKinds, ExtensionsAndNormalisation)
{
    EXPECT_EQ(VSystem::GetWinKindFromExtension(Text("page.html")), FourCC("HTML"));
    EXPECT_EQ(VSystem::GetWinKindFromExtension(Text("a.tar.gz")), Code('G', 'Z', 0, 0));
    EXPECT_EQ(VSystem::GetWinKindFromExtension(Text("x.jpeg2")), FourCC("JPEG"));
    EXPECT_EQ(VSystem::GetWinKindFromExtension(Text("README")), 0u);
    EXPECT_EQ(VSystem::GetWinKindFromExtension(Text("a.b.longext")), 0u);
    EXPECT_EQ(VSystem::GetWinKindFromExtension(Text(".c")), Code('C', 0, 0, 0));

    uint32_t w = FourCC("txt ");
    VSystem::AdjustWinKind(w);
    EXPECT_EQ(w, Code('T', 'X', 'T', 0));
    w = FourCC(".htm");
    VSystem::AdjustWinKind(w);
    EXPECT_EQ(w, Code('H', 'T', 'M', 0));
    w = Code('M', 'P', '3', 0);
    VSystem::AdjustWinKind(w);
    EXPECT_EQ(w, Code('M', 'P', '3', 0));
}

TEST_F(SystemKinds, TableFromFmapResources)
{
    std::vector<uint8_t> fmap = {0, 3};
    PutRecord(fmap, "HTML", "TEXT", "htm ", 0);
    PutRecord(fmap, "BASE", "BASE", "4DB ", 0x80);
    PutRecord(fmap, "BAS2", "BASE", "4DC ", 0);
    gFmaps.push_back(fmap);
    // A count that runs past the resource: only whole records are read.
    std::vector<uint8_t> damaged = {0x7F, 0xFF};
    PutRecord(damaged, "JPEG", "JPEG", "jpg ", 0);
    PutRecord(damaged, "GIFF", "GIFF", "gif ", 0);
    damaged.pop_back();  // the second record lacks its last byte
    gFmaps.push_back(damaged);

    VSystem sys;
    sys.BuildKindList();
    EXPECT_EQ(sys.CountKinds(), 5);
    EXPECT_TRUE(sys.IsValidFileKind(kAnyFileKind));
    EXPECT_TRUE(sys.IsValidFileKind(FourCC("JPEG")));
    EXPECT_FALSE(sys.IsValidFileKind(FourCC("GIFF")));
    EXPECT_EQ(sys.GetWinKindFromVirtualKind(FourCC("HTML")), Code('H', 'T', 'M', 0));
    EXPECT_EQ(sys.GetMacKindFromVirtualKind(kAnyFileKind), kAnyFileKind);
    EXPECT_EQ(sys.GetMacKindFromVirtualKind(FourCC("NONE")), 0u);
    EXPECT_EQ(sys.GetVirtualKindFromWinKind(Code('J', 'P', 'G', 0)), FourCC("JPEG"));
    EXPECT_TRUE(sys.IsTemplateFileKind(FourCC("BASE")));
    EXPECT_FALSE(sys.IsTemplateFileKind(kAnyFileKind));

    // The template flag picks between rows of the same Mac type.
    EXPECT_EQ(sys.GetVirtualKindFromMacKind(FourCC("BASE"), true, nullptr), FourCC("BASE"));
    EXPECT_EQ(sys.GetVirtualKindFromMacKind(FourCC("BASE"), false, nullptr), FourCC("BAS2"));
    // 'TEXT' with a name goes by the extension.
    VStr<255> page = Text("index.htm");
    EXPECT_EQ(sys.GetVirtualKindFromMacKind(FourCC("TEXT"), false, &page), FourCC("HTML"));
    VStr<255> note = Text("note.txt");
    EXPECT_EQ(sys.GetVirtualKindFromMacKind(FourCC("TEXT"), false, &note), FourCC("TEXT"));
}

TEST_F(SystemKinds, AddedAndTemporaryKinds)
{
    VSystem sys;
    sys.BuildKindList();
    EXPECT_EQ(sys.CountKinds(), 1) << "only the terminating row";
    EXPECT_TRUE(sys.IsValidFileKind(kAnyFileKind));
    EXPECT_FALSE(sys.IsValidFileKind(FourCC("TEXT")));

    const int32_t row = sys.AddFileKind(FourCC("BASA"), FourCC(".REA"), FourCC("BASA"));
    EXPECT_EQ(sys.GetWinKindFromVirtualKind(FourCC("BASA")), Code('R', 'E', 'A', 0));
    EXPECT_EQ(sys.AddFileKind(FourCC("BASA"), FourCC(".REA"), FourCC("BASA")), row);
    EXPECT_EQ(sys.CountKinds(), 2);

    const uint32_t temp = sys.AddTemporaryMacKind(FourCC("ABCD"));
    EXPECT_EQ(temp, Code(0x08, '3', 0, 0));
    EXPECT_EQ(sys.GetMacKindFromVirtualKind(temp), FourCC("ABCD"));
    const uint32_t tempWin = sys.AddTemporaryWinKind(FourCC("xyz "));
    EXPECT_EQ(sys.GetVirtualKindFromWinKind(Code('X', 'Y', 'Z', 0)), tempWin);
    EXPECT_EQ(sys.GetWinKindFromVirtualKind(FourCC("NONE")), 0u);
    EXPECT_EQ(sys.RemoveTemporaryFileKind(temp), 0);
    EXPECT_EQ(sys.RemoveTemporaryFileKind(temp), -1);
    EXPECT_FALSE(sys.IsValidFileKind(temp));
    // The kind after the removed one keeps its row.
    EXPECT_TRUE(sys.IsValidFileKind(tempWin));
    EXPECT_EQ(sys.GetVirtualKindFromWinKind(Code('X', 'Y', 'Z', 0)), tempWin);
}

TEST_F(SystemKinds, TemporaryKindsStayDistinctPastAThousandRows)
{
    VSystem sys;
    std::vector<uint32_t> made;
    for (int i = 0; i < 1100; ++i) made.push_back(sys.AddTemporaryMacKind(Code('M', 0, uint8_t(i >> 8), uint8_t(i))));
    std::vector<uint32_t> sorted = made;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::unique(sorted.begin(), sorted.end()), sorted.end());
    for (uint32_t k : made) EXPECT_NE(k, 0u);
    EXPECT_EQ(sys.GetMacKindFromVirtualKind(made[1050]), Code('M', 0, uint8_t(1050 >> 8), uint8_t(1050)));
    EXPECT_EQ(made[149], Code(0x08, '1', '5', '0')) << "three digits below a thousand";
}

TEST(SystemClicks, CountsNearQuickClicks)
{
    VSystem sys;
    const uint32_t t = 100000;
    auto clic = [](int32_t h, int32_t v, uint32_t ticks, bool up = false) {
        VClic c(h, v);
        c.SetTicks(ticks);
        c.SetUp(up);
        return c;
    };
    EXPECT_EQ(sys.RegisterClic(clic(10, 10, t)), 1);
    EXPECT_EQ(sys.RegisterClic(clic(12, 11, t + 5)), 2);
    EXPECT_EQ(sys.RegisterClic(clic(12, 11, t + 5)), 2) << "the same click registered again";
    EXPECT_EQ(sys.RegisterClic(clic(13, 12, t + 10, true)), 0) << "button up";
    EXPECT_EQ(sys.RegisterClic(clic(13, 12, t + 10)), 3);
    EXPECT_EQ(sys.RegisterClic(clic(16, 12, t + 12)), 1) << "3 pixels away";
    EXPECT_EQ(sys.RegisterClic(clic(16, 12, t + 12 + VSystem::GetDblClicTicks())), 1) << "too late";
}

TEST(SystemClicks, AClickFromAnEventTakesItsPlaceButtonAndKeys)
{
    platform::ResetEventManager();
    VSystem sys;
    VSystem* const saved = gSystem;
    gSystem = &sys;
    platform::EventRecord e{};
    e.what = platform::mouseDown;
    e.where = platform::Point{30, 20};
    e.when = 77;
    VClic c(e, nullptr);
    EXPECT_TRUE(c.IsFromEvent());
    int32_t x = 0, y = 0;
    c.GetPos(x, y);
    EXPECT_EQ(x, 20);
    EXPECT_EQ(y, 30);
    EXPECT_EQ(c.GetTicks(), 77u);
    EXPECT_EQ(c.Register(), 1);

    // Each event starts afresh: no count, its own wheel, button and keys.
    e.what = platform::kMouseWheelEvent;
    e.message = uint16_t(-3);
    c.FromEvent(e, nullptr);
    EXPECT_EQ(c.GetCount(), 0);
    EXPECT_EQ(c.GetWheelDelta(), -3);
    e.what = platform::mouseDown;
    e.modifiers = platform::controlKey;
    c.FromEvent(e, nullptr);
    EXPECT_EQ(c.GetWheelDelta(), 0);
    EXPECT_FALSE(c.IsUp());
    EXPECT_TRUE(c.IsRight());
    e.what = platform::mouseUp;
    e.modifiers = 0;
    c.FromEvent(e, nullptr);
    EXPECT_TRUE(c.IsUp());
    EXPECT_FALSE(c.IsRight());

    // A click made now is where the mouse is.
    platform::InputButton(false, platform::Point{44, 55}, 0);
    platform::FlushEvents(platform::everyEvent, 0);
    VClic now;
    now.GetPos(x, y);
    EXPECT_EQ(x, 55);
    EXPECT_EQ(y, 44);
    EXPECT_FALSE(now.IsRight());
    EXPECT_FALSE(now.IsFromEvent());
    // With the control key held it is a right click.
    platform::InputModifiers(platform::controlKey);
    EXPECT_TRUE(VClic().IsRight());
    platform::InputModifiers(0);
    gSystem = saved;
    platform::ResetEventManager();
}

TEST(SystemStartup, BuildsTheKindAndFontLists)
{
    ASSERT_EQ(gSystem, nullptr);
    SetFontFamilyLister(nullptr);
    SetFontNameProc(nullptr);
    // The upper layers' steps run once each, in order.
    static std::string steps;
    steps.clear();
    VToolBoxLayerSteps layers;
    layers.makeCursor = [] { steps += 'c'; };
    layers.makeScrap = [] { steps += 's'; };
    layers.initPainter = [] { steps += 'p'; };
    layers.initMenus = [] { steps += 'm'; };
    layers.initTextEditors = [] { steps += 't'; };
    layers.initFileDialogs = [] { steps += 'f'; };
    layers.initMovies = [] { steps += 'v'; };
    layers.initDrawTextBox = [] { steps += 'd'; };
    SetToolBoxLayerSteps(layers);
    ASSERT_TRUE(InitVToolBox(nullptr, 0x409));
    SetToolBoxLayerSteps({});
    EXPECT_EQ(steps, "cspmtfvd");
    EXPECT_EQ(ToolBoxStartupError(), nullptr);
    ASSERT_NE(gSystem, nullptr);
    EXPECT_EQ(gSystem->CountKinds(), 1) << "the terminating row";
    EXPECT_EQ(gSystem->GetFontList().GetCount(), 11);
    ASSERT_NE(VIntlManagerRoot::sIntlManagerRoot, nullptr);
    EXPECT_FALSE(VIntlManagerRoot::sIntlManagerRoot->IsSystemDoubleByte()) << "the one script is Roman";
    delete gTip;
    gTip = nullptr;
    delete gEngine;
    gEngine = nullptr;
    delete gSystem;
    gSystem = nullptr;
    VIntlManagerRoot::Reset();
}

TEST(SystemRandom, StaysBelowTheMaximum)
{
    bool sawMin = false;
    for (int i = 0; i < 10000; ++i) {
        const int16_t r = VSystem::Random(1, 6);
        ASSERT_GE(r, 1);
        ASSERT_LT(r, 6);
        sawMin |= r == 1;
    }
    EXPECT_TRUE(sawMin);
    // Wide spans stay inside their bounds as well.
    for (int i = 0; i < 10000; ++i) {
        const int16_t r = VSystem::Random(-30000, 30000);
        ASSERT_GE(r, -30000);
        ASSERT_LT(r, 30000);
    }
}

// A held button is watched for two ticks of the clock in use; a clock that
// moves only when told to must still let the watch end.
TEST(SystemMouse, AHeldButtonIsWatchedBrieflyEvenOnAVirtualClock)
{
    platform::ResetEventManager();
    platform::VirtualClock clock(1000);
    platform::SetClock(&clock);
    VSystem sys;
    EXPECT_FALSE(sys.GetMouseButton(true)) << "button up";
    platform::InputButton(true, platform::Point{10, 10}, 0);
    platform::FlushEvents(platform::everyEvent, 0);
    EXPECT_TRUE(sys.GetMouseButton(true));
    EXPECT_TRUE(sys.GetLeftButton(true));
    EXPECT_FALSE(sys.GetRightButton(true)) << "no control key";
    EXPECT_GE(clock.Ticks() - 1000, 2u) << "the watch waited on the clock";
    platform::InputButton(false, platform::Point{10, 10}, 0);
    platform::FlushEvents(platform::everyEvent, 0);
    EXPECT_FALSE(sys.GetMouseButton(true));

    // With the control key the button is the right one, held or not.
    platform::InputButton(true, platform::Point{10, 10}, platform::controlKey);
    platform::FlushEvents(platform::everyEvent, 0);
    EXPECT_FALSE(sys.GetLeftButton(false));
    EXPECT_TRUE(sys.GetRightButton(false));
    platform::InputButton(false, platform::Point{10, 10}, 0);
    platform::FlushEvents(platform::everyEvent, 0);

    // Down again after a release still waiting in the queue: that click
    // has ended, the button is not held still.
    platform::InputButton(true, platform::Point{10, 10}, 0);
    platform::InputButton(false, platform::Point{10, 10}, 0);
    platform::InputButton(true, platform::Point{10, 10}, 0);
    EXPECT_FALSE(sys.GetMouseButton(true));
    platform::FlushEvents(platform::everyEvent, 0);
    platform::SetClock(nullptr);
    platform::ResetEventManager();
}

TEST(SystemIntl, PunctuationFromItl0OrDefaults)
{
    VSystem sys;
    sys.ReadIntlSettings({});
    EXPECT_EQ(sys.GetTimeSeparator(), u':');
    EXPECT_EQ(sys.GetDecimalSeparator(), u'.');
    EXPECT_EQ(sys.GetDateSeparator(), u'/');
    EXPECT_EQ(sys.GetMorningSuffix().GetLength(), 3);

    uint8_t itl[32] = {};
    itl[0] = ',';
    itl[1] = '.';
    itl[7] = 1;
    itl[9] = '.';
    itl[10] = 0;
    std::memcpy(itl + 12, "am\0\0", 4);
    std::memcpy(itl + 16, " pm\0", 4);
    itl[20] = 'h';
    sys.ReadIntlSettings({itl, int32_t(sizeof itl)});
    EXPECT_EQ(sys.GetDecimalSeparator(), u',');
    EXPECT_EQ(sys.GetTimeSeparator(), u'h');
    EXPECT_EQ(sys.GetDateOrder(), 1);
    EXPECT_FALSE(sys.GetTimeCycleNot0());
    EXPECT_TRUE(sys.GetTimeCycleNot1());
    EXPECT_EQ(sys.GetMorningSuffix().GetLength(), 3) << "a blank is put before";
    EXPECT_EQ(sys.GetEveningSuffix().GetLength(), 3) << "already begins with a blank";

    // A four-character suffix gets its blank too.
    std::memcpy(itl + 12, "a.m.", 4);
    sys.ReadIntlSettings({itl, int32_t(sizeof itl)});
    EXPECT_EQ(sys.GetMorningSuffix().GetCFString(), u" a.m.");
    itl[10] = 1;  // the other time cycle
    sys.ReadIntlSettings({itl, int32_t(sizeof itl)});
    EXPECT_TRUE(sys.GetTimeCycleNot0());
    EXPECT_FALSE(sys.GetTimeCycleNot1());

    // A short resource is not read past its end.
    sys.ReadIntlSettings({itl, 12});
    EXPECT_EQ(sys.GetTimeSeparator(), u':');
}

TEST(SystemDate, WeekdayCountsFromSunday)
{
    // 2000-01-02 13:14:15 was a Sunday.
    platform::VirtualClock clock;
    clock.SetSeconds(platform::VirtualClock::kDefaultSeconds + 86400 + 13 * 3600 + 14 * 60 + 15);
    platform::SetClock(&clock);
    int16_t date[8];
    VSystem::GetCurrentDateTime(date);
    platform::SetClock(nullptr);
    const int16_t expected[8] = {2000, 1, 2, 0, 13, 14, 15, 0};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(date[i], expected[i]) << "field " << i;
    EXPECT_EQ(VSystem::GetVersion(), kSystemVersion);
}

}  // namespace

namespace {

// Families as the drawing layer would list them, in no particular order.
void ListFamilies(void (*visit)(const FontFamilyVisit&, void*), void* context)
{
    struct Family {
        const char* qd;
        const char* ats;
        int16_t number;
    };
    const Family families[] = {
        {"\x05Times", "\x09Times ATS", 20}, {"\x07%Hidden", "\x01x", 900}, {"\x07" "courier", "\x01" "c", 22},
        {"\x07" "Courier", "\x01" "C", 23}, {"\x05" "Arial", "\x09" "Arial ATS", 30}, {"\x04.Sys", "\x01s", 901},
    };
    for (const Family& f : families) {
        FontFamilyVisit v{reinterpret_cast<const unsigned char*>(f.qd), reinterpret_cast<const unsigned char*>(f.ats),
                          f.number};
        visit(v, context);
    }
}

TEST(SystemFonts, NamesAreSortedWithTheirNumbersAndFoldedLoosely)
{
    SetFontFamilyLister(ListFamilies);
    VSystem sys;
    sys.BuildFontList();
    const VArrayString& names = sys.GetFontList();
    ASSERT_EQ(names.GetCount(), 3) << "courier and Courier count once";
    VStr<255> text;
    names.GetVString(1)->ToString(text);
    EXPECT_EQ(text.GetLength(), 5) << "Arial first";
    sys.GetATSFontList().GetVString(1)->ToString(text);
    EXPECT_EQ(text.GetLength(), 9) << "its ATS name follows it";
    EXPECT_EQ(sys.MacGetFontNum(Text("Times")), 20);
    EXPECT_EQ(sys.MacGetFontNum(Text("Arial")), 30);
    sys.BuildFontList();
    EXPECT_EQ(names.GetCount(), 3) << "building again starts afresh";
    sys.MacGetFontName(20, text);
    EXPECT_EQ(text.GetLength(), 5);
    sys.MacGetFontName(900, text);
    sys.MacGetFontName(901, text);
    EXPECT_EQ(text.GetLength(), 0) << "hidden families keep no name";
    SetFontFamilyLister(nullptr);
}

TEST(SystemFonts, ThePlatformsFamiliesAreListedByDefault)
{
    SetFontFamilyLister(nullptr);
    SetFontNameProc(nullptr);
    VSystem sys;
    sys.BuildFontList();
    const VArrayString& names = sys.GetFontList();
    ASSERT_EQ(names.GetCount(), 11) << "every visible family, the menu glyphs hidden";
    VStr<255> first, last;
    names.GetVString(1)->ToString(first);
    names.GetVString(names.GetCount())->ToString(last);
    EXPECT_EQ(first.GetLength(), 5) << "Arial";
    EXPECT_EQ(last.GetLength(), 15) << "Times New Roman";
    VStr<255> ats;
    sys.GetATSFontList().GetVString(1)->ToString(ats);
    EXPECT_EQ(ats.GetCFString(), u"Liberation Sans") << "it draws Arial";
    EXPECT_EQ(sys.MacGetFontNum(Text("Geneva")), 3);
    EXPECT_EQ(sys.MacGetFontNum(Text("geneva")), 3) << "names are found regardless of case";
    EXPECT_EQ(sys.MacGetFontNum(Text("%Menu")), 1100) << "hidden families are found by the platform";
    VStr<255> name;
    sys.MacGetFontName(1, name);
    EXPECT_EQ(name.GetLength(), 6) << "the application font is Geneva";
    sys.MacGetFontName(0, name);
    EXPECT_EQ(name.GetLength(), 13) << "Lucida Grande";
}

}  // namespace

// The system object makes its text-services document plain (flag 0) and
// gives it back when it goes.
TEST(SystemStartup, TheTextServicesDocumentLivesWithTheSystem)
{
    static std::vector<int32_t> made;
    static int32_t disposed = 0;
    static char doc = 0;
    VTextServicesDocMakers makers;
    makers.make = [](uint8_t flag) { return made.push_back(flag), reinterpret_cast<VTSMTEDoc*>(&doc); };
    makers.dispose = [](VTSMTEDoc*) { ++disposed; };
    SetTextServicesDocMakers(makers);
    {
        VSystem sys;
        EXPECT_EQ(made, std::vector<int32_t>{0});
        EXPECT_EQ(disposed, 0);
    }
    EXPECT_EQ(disposed, 1);
    SetTextServicesDocMakers({});
}

// A point off the screen has no screen: its width and height are 0; the
// last pixel is still on it.
TEST(SystemScreen, APointOffTheScreenHasNoScreenSize)
{
    const platform::Rect r = platform::ScreenBounds();
    const int32_t width = r.right - r.left, height = r.bottom - r.top;
    ASSERT_GT(width, 0);
    const struct {
        int32_t x, y;
        bool on;
    } rows[] = {{r.left, r.top, true},          {r.right - 1, r.bottom - 1, true}, {r.right, r.top, false},
                {r.left, r.bottom, false},      {r.left - 1, r.top, false},        {r.left, r.top - 1, false}};
    for (const auto& p : rows) {
        const VPoint point(p.x, p.y);
        EXPECT_EQ(VSystem::GetScreenWidth(&point), p.on ? width : 0) << p.x << "," << p.y;
        EXPECT_EQ(VSystem::GetScreenHeight(&point), p.on ? height : 0) << p.x << "," << p.y;
    }
    EXPECT_EQ(VSystem::GetScreenHeight(nullptr), height);
}
