// The program's run with an older preferences file (run_old_preferences.sh)
// read back: the file the start-up upgraded, and the screenshot of the
// main list's filter pop-up, in which each filter the upgrade added must
// show as its name drawn in the menu font, found pixel for pixel against
// the text drawn here into an offscreen world. Skipped when not given a run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/files/WholeFile.h"
#include "platform/imports/PngCodec.h"
#include "platform/menus/MenuText.h"
#include "platform/resfiles/Resources.h"
#include "platform/theme/Theme.h"
#include "tests/browser/ScreenText.h"

using namespace platform;

namespace {

// The names of the filters of the file, by id.
std::map<int16_t, std::string> FilterNames(int16_t file)
{
    std::map<int16_t, std::string> names;
    UseResFile(file);
    for (int16_t i = 1; i <= Count1Resources(FourCC("FLT2")); ++i) {
        Handle h = Get1IndResource(FourCC("FLT2"), i);
        int16_t id = 0;
        ResType type = 0;
        unsigned char name[256];
        GetResInfo(h, &id, &type, name);
        names[id] = std::string(reinterpret_cast<const char*>(name + 1), name[0]);
    }
    return names;
}

}  // namespace

TEST(OldPreferencesRun, TheFileIsCurrentAndThePopUpOffersTheAddedFilters)
{
    const char* work = std::getenv("QZ_OLD_PREFERENCES_RUN");
    if (!work) GTEST_SKIP() << "checks the preferences file and the screenshot of the old preferences run";
    ResetResourceManager();
    const int16_t file =
        OpenResFile(std::string(work) + "/prefs/Qz Structure Browser Preferences", fsRdPerm, ResFileFork::Data);
    ASSERT_GT(file, 0);
    UseResFile(file);
    Handle vers = Get1Resource(FourCC("vers"), 1);
    ASSERT_TRUE(vers && GetHandleSize(vers) >= 4);
    EXPECT_EQ(ReadBE32(reinterpret_cast<const uint8_t*>(*vers)), 0x06008000u);
    // 128 keeps the old filter; the older standard filter and the four of
    // 6.0 follow in name order.
    const std::map<int16_t, std::string> expected = {{128, "Mine"},   {129, "Documented objects"}, {130, "Forms"},
                                                     {131, "Groups"}, {132, "Plug-ins"},            {133, "Unused objects"}};
    EXPECT_EQ(FilterNames(file), expected);
    Handle mine = Get1Resource(FourCC("FLT2"), 128);
    ASSERT_TRUE(mine && GetHandleSize(mine) == 21);
    EXPECT_EQ(std::vector<uint8_t>(*mine, *mine + 8), (std::vector<uint8_t>{0, 1, 0x00, 0x8F, 0xFE, 0x0C, 0, 0}));
    // The application's, the old one replaced: every kind of the main list
    // (24 pairs and the end), in today's numbering (forms stay 24).
    Handle oblk = Get1Resource(FourCC("Oblk"), 0);
    ASSERT_TRUE(oblk && GetHandleSize(oblk) == 49) << "the application's, the old one replaced";
    EXPECT_EQ(std::vector<uint8_t>(*oblk, *oblk + 4), (std::vector<uint8_t>{1, 0, 24, 0}));
    CloseResFile(file);

    std::vector<uint8_t> png;
    PictPixels shot;
    ASSERT_EQ(ReadWholeFile(std::string(work) + "/popup.png", &png), noErr);
    ASSERT_EQ(DecodePng(png.data(), png.size(), &shot), ImageReadResult::Ok);
    // The pop-up opens under the header's arrow, right of the main list.
    const Rect popUp{40, 290, 240, 620};
    for (const char* name : {"Documented objects", "Forms", "Groups", "Plug-ins", "Unused objects"}) {
        const bool shown = browsertest::ShowsMenuText(shot, popUp, name, ThemeMenuTextColor(kThemeMenuActive, false)) ||
                           browsertest::ShowsMenuText(shot, popUp, name, ThemeMenuTextColor(kThemeMenuDisabled, false));
        EXPECT_TRUE(shown) << name;
    }
    // "Mine" offers itself in no pane: it is not in the pop-up.
    EXPECT_FALSE(browsertest::ShowsMenuText(shot, popUp, "Mine", ThemeMenuTextColor(kThemeMenuActive, false)) ||
                 browsertest::ShowsMenuText(shot, popUp, "Mine", ThemeMenuTextColor(kThemeMenuDisabled, false)));
}
