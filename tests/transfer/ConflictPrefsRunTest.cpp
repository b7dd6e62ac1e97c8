// The checker of the program's conflict preferences run
// (run_conflict_prefs.sh): the preferences file holds the pair the script
// chose, and the dialog on the screenshot is, pixel for pixel, the dialog
// drawn here in the state the script left it in (project methods shown,
// the method clash replacing). Skipped when not given a run.
#include <cstdlib>
#include <filesystem>

#include "app/longlist/LongListHooks.h"
#include "design/objects/TransferHooks.h"
#include "platform/core/Endian.h"
#include "platform/drawing/Modes.h"
#include "platform/files/WholeFile.h"
#include "platform/imports/PngCodec.h"
#include "platform/screen/Screen.h"
#include "platform/windows/Windows.h"
#include "tests/design/ReadFixture.h"
#include "transfer/InstallTransfer.h"
#include "transfer/conflicts/ConflictChoices.h"
#include "transfer/conflicts/ConflictPrefs.h"
#include "transfer/conflicts/Conflicts.h"
#include "transfer/dialogs/ConflictDialog.h"
#include "transfer/dialogs/ConflictRows.h"
#include "transfer/dialogs/ConflictTexts.h"

using namespace platform;

namespace transfertest {
namespace {

constexpr int16_t kMethodsFilter = 9;  // 'C_mn' 0's fifth type: project methods

using ConflictPrefsRun = readtest::ReadFixture;

TEST_F(ConflictPrefsRun, TheChosenPairIsSavedAndTheDialogShowsAsDrawnHere)
{
    const char* work = std::getenv("QZ_CONFLICT_RUN");
    if (!work) GTEST_SKIP() << "checks the conflict preferences run";

    // The saved defaults: one pair per code, the method clash replacing.
    bool found = false;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(work) + "/prefs")) {
        const int16_t file = OpenResFile(entry.path().string(), fsRdPerm, ResFileFork::Data);
        if (file <= 0) continue;
        if (Handle pairs = Get1Resource(FourCC("C_PR"), 0)) {
            found = true;
            ASSERT_EQ(GetHandleSize(pairs), 4 * 46);
            const auto* p = reinterpret_cast<const uint8_t*>(*pairs);
            for (int i = 0; i < 46; ++i)
                if (ReadBE16(p + 4 * i) == 6) {
                    EXPECT_EQ(ReadBE16(p + 4 * i + 2), 3);
                }
        }
        CloseResFile(file);
    }
    EXPECT_TRUE(found);

    std::vector<uint8_t> png;
    PictPixels shot;
    ASSERT_EQ(ReadWholeFile(std::string(work) + "/conflict_prefs.png", &png), noErr);
    ASSERT_EQ(DecodePng(png.data(), png.size(), &shot), ImageReadResult::Ok);

    transfer::InstallTransfer();
    G_C_Hide = true;
    transfer::G_TempBool = true;
    C_ListHdl list = nullptr;
    ASSERT_EQ(transfer::NewC_List(&list, transfer::kC_ListRoom), 0);
    ASSERT_EQ(transfer::MakeC_Pref(list), 0);
    for (int32_t i = 0; i < list->Size(); ++i)
        if (list->At(i)->fCode == 6) list->At(i)->fPrevChoice = 1, list->At(i)->fChoice = 3;
    unsigned char title[256];
    transfer::ListString(1001, 42, title);
    DialogRef d = transfer::OpenConflictDialog(title, list, nullptr, nullptr, nullptr, true);
    ASSERT_NE(d, nullptr);
    SetWRefCon(GetDialogWindow(d), kMethodsFilter);
    transfer::SetC_List(G_LongListHdl, list, nullptr, kMethodsFilter);
    transfer::C_DrawListBox(d, G_LongListHdl->rowCount);
    EXPECT_EQ(G_LongListHdl->rowCount, 3);

    const Surface composed = MakeSurface(reinterpret_cast<const BitMap*>(ComposeScreen()));
    Rect frame{};
    GetWindowBounds(GetDialogWindow(d), kWindowStructureRgn, &frame);
    int32_t differ = 0;
    for (int16_t v = frame.top; v < frame.bottom; ++v)
        for (int16_t h = frame.left; h < frame.right; ++h)
            if ((shot.RGBAt(h, v) & 0xFFFFFF) != (composed.ReadRGB(h, v) & 0xFFFFFF) && differ++ == 0)
                ADD_FAILURE() << "the dialog differs at (" << h - frame.left << ", " << v - frame.top << ")";
    EXPECT_EQ(differ, 0);
    transfer::CloseConflictDialog(d);
    transfer::DisposeC_List(list);
    transfer::G_TempBool = false;
    G_C_Hide = false;
    ResetLongListHooks();
    ResetTransferHooks();
}

}  // namespace
}  // namespace transfertest
