// The application's state for one test: a resource file compiled from
// resource source text as the application's own, a preferences folder of
// the test's own, the stacks, and everything reset afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "app/appl/AppGlobals.h"
#include "app/appl/CommandStacks.h"
#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/appl/Preferences.h"
#include "app/appl/TAppl.h"
#include "kernel/prefs/UPrefs.h"
#include "platform/appleevents/AppleEvents.h"
#include "platform/core/Memory.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/events/DialogAnswers.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/files/WholeFile.h"
#include "platform/menus/Menus.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "platform/windows/Windows.h"
#include "tests/ScopedEnvironment.h"
#include "tests/platform/files/TempFolder.h"
#include "tools/rescompile/ResourceCompiler.h"

namespace apptest {

// The names, undo words and alerts every test application has.
inline const char* kBaseAlerts = R"(
'STR#' 1000 { "App" "" "" "" "" "Test Preferences" "Work" "Env Preferences" }
'STR#' 1003 { "u1" "Can't undo" "u3" "u4" "u5" "u6" "u7" "Undo eight" }
'STR#' 1019 { "" "" "" "@" }
'ALRT' 1000 { bounds 0 0 100 300 items 1000 stages 0x5555 }
'DITL' 1000 { button 70 200 90 280 "OK" static 10 60 60 280 "^0" }
'ALRT' 1003 { bounds 0 0 100 300 items 1003 stages 0x5555 }
'DITL' 1003 { button 70 200 90 280 "Save" button 70 20 90 110 "Don't save" button 70 120 90 190 "Cancel"
              static 10 60 60 280 "^0" }
)";

// Strings the tests read by index.
inline const std::string kBaseResources = std::string(kBaseAlerts) + R"(
'STR#' 1001 { "" "" "Save \"" "\"?" "Clipboard" }
'STR#' 1002 { "m1" "m2" "m3" "m4" "m5" "m6" "m7" "m8" "m9" "m10" "m11" "m12" "m13" "m14" "m15" "m16" "m17" "m18"
              "m19" "m20" "" "" "" "" "" "" "" "" "" "" "" "" "" "" "" "" "" "" "" "m40" }
)";

inline std::string P(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

inline void ToP(const std::string& s, unsigned char* p)
{
    p[0] = uint8_t(s.size());
    std::memcpy(p + 1, s.data(), s.size());
}

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::ResetResourceManager();
        platform::ResetMenuManager();
        platform::ResetWindowManager();
        platform::ResetAppleEvents();
        platform::ResetDialogManager();
        platform::ClearDialogAnswers();
        platform::ClearFileDialogAnswers();
        platform::SetMemoryBudget(int64_t(1) << 30);
        UPrefs::Reset();
        InitGlobals();
        ResetAlerts();
        ResetPreferences();
        prefsDir_ = folder_ / "prefs";
        std::filesystem::create_directories(prefsDir_);
        prefsEnvironment_.emplace("QZ_PREFERENCES_DIR", prefsDir_);
        CmdStackHdl = NewCmdStack();
        FuncStackHdl = NewFuncStack();
    }

    void TearDown() override
    {
        delete appl_;
        appl_ = nullptr;
        ApplDisposeAll();
        platform::ResetResourceManager();
        platform::ResetMenuManager();
        platform::ResetWindowManager();
        platform::ResetAppleEvents();
        UPrefs::Reset();
        ResetAlerts();
        platform::SetMemoryBudget(int64_t(1) << 30);
        prefsEnvironment_.reset();
    }

    // Compiles `source` (with the base strings) into the application's file.
    void UseAppResources(const std::string& source, bool withBase = true,
                         const std::vector<platform::ResourceImage>& raw = {})
    {
        platform::ResourceFileImage image;
        std::string error;
        ASSERT_TRUE(rescompile::CompileSource((withBase ? kBaseResources : std::string()) + source, "test.r",
                                              &image, &error))
            << error;
        image.resources.insert(image.resources.end(), raw.begin(), raw.end());
        std::vector<uint8_t> bytes;
        ASSERT_EQ(platform::BuildResourceFile(image, &bytes), platform::noErr);
        appPath_ = folder_ / "app.rsrc";
        ASSERT_EQ(platform::WriteFileAtomically(appPath_, bytes.data(), bytes.size()), platform::noErr);
        G_MainResFile = platform::OpenResFile(appPath_, platform::fsRdPerm, platform::ResFileFork::Data);
        ASSERT_GT(G_MainResFile, 0);
    }

    TAppl* MakeAppl(TAppl* appl = nullptr)
    {
        appl_ = appl ? appl : new TAppl;
        MyAppl = appl_;
        return appl_;
    }

    platform::testing::TempFolder folder_;
    std::string prefsDir_;
    std::optional<qztest::ScopedEnvironment> prefsEnvironment_;
    std::string appPath_;
    TAppl* appl_ = nullptr;
};

}  // namespace apptest
