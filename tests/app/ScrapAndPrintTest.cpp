// The private clipboard's exchange with the system scrap, and page set-up
// on the application's print record.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "app/appl/Menus.h"
#include "app/appl/TAppl.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/scrap/Scrap.h"
#include "app/appl/CommandStacks.h"
#include "platform/events/Events.h"
#include "tests/app/AppFixture.h"
#include "tests/app/Fakes.h"
#include "tests/platform/events/HeadlessFixture.h"
#include "toolbox/drawing/PrintEmulation.h"
#include "toolbox/drawing/ScrapCalls.h"

using namespace apptest;
using namespace platform;

namespace {

// A clipboard document that records what it is given and answers a fixed
// text for its own data.
class RecordingClip : public TDocument {
public:
    int16_t GetPrivateScrap(Handle data, uint32_t type, int32_t, int32_t size) override
    {
        got.emplace_back(type, std::string(*data, size_t(size)));
        return 0;
    }
    int16_t PutPrivateScrap(int32_t* length, uint32_t type, Handle data) override
    {
        asked.push_back(type);
        *length = 0;
        if (type == FourCC("PICT") && !picture.empty()) {
            SetHandleSize(data, Size(picture.size()));
            std::memcpy(*data, picture.data(), picture.size());
            *length = int32_t(picture.size());
        }
        return 0;
    }
    std::vector<std::pair<uint32_t, std::string>> got;
    std::vector<uint32_t> asked;
    std::string picture;
};

void PutFlavour(uint32_t type, const std::string& bytes, bool clear = true)
{
    ScrapRef scrap = nullptr;
    if (clear) {
        ASSERT_EQ(ClearCurrentScrap(), noErr);
    }
    ASSERT_EQ(GetCurrentScrap(&scrap), noErr);
    ASSERT_EQ(PutScrapFlavor(scrap, type, 0, Size(bytes.size()), bytes.data()), noErr);
}

std::string ScrapText(uint32_t type)
{
    Handle h = NewHandle(0);
    const int32_t size = myGetScrap(h, type);
    std::string text = size > 0 ? std::string(*h, size_t(size)) : std::string();
    DisposeHandle(h);
    return text;
}

class ScrapAndPrint : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ResetScrap();
        ResetScrapState();
        ResetPrintEmulation();
        ClearFileDialogAnswers();
        UseAppResources(R"(
'MMBR' 129 { menu 130 "File" items 9 }
'MITM' 9 { text "Page Setup..." command 9 }
'STR#' 1006 { "Undo" "Redo" "Cut" }
)");
        MakeAppl();
        appl_->fClipBoard = clip = new RecordingClip;
        appl_->SetMenus();
        mySaveScrapState();
    }
    void TearDown() override
    {
        if (appl_ && appl_->fPrintRecord) DisposePrintRecord(appl_->fPrintRecord);
        ClearFileDialogAnswers();
        ResetPrintEmulation();
        ResetScrap();
        ResetScrapState();
        AppFixture::TearDown();
    }
    RecordingClip* clip = nullptr;
};

TEST_F(ScrapAndPrint, TheSystemScrapIsTakenOnceWhenItChangesFirstFlavourFirst)
{
    appl_->ApplGetScrap();
    EXPECT_TRUE(clip->got.empty()) << "unchanged since it was recorded";

    PutFlavour(FourCC("PICT"), "pict");
    PutFlavour(FourCC("TEXT"), "hello", false);
    appl_->ApplGetScrap();
    ASSERT_EQ(clip->got.size(), 1u);
    EXPECT_EQ(clip->got[0].first, FourCC("TEXT")) << "text before pictures";
    EXPECT_EQ(clip->got[0].second, "hello");
    appl_->ApplGetScrap();
    EXPECT_EQ(clip->got.size(), 1u) << "the state was recorded again";

    PutFlavour(FourCC("PICT"), "pict");
    appl_->ApplGetScrap();
    ASSERT_EQ(clip->got.size(), 2u);
    EXPECT_EQ(clip->got[1], std::make_pair(FourCC("PICT"), std::string("pict")));

    // Without a clipboard document the change is only recorded.
    appl_->fClipBoard = nullptr;
    PutFlavour(FourCC("TEXT"), "lost");
    appl_->ApplGetScrap();
    appl_->fClipBoard = clip;
    appl_->ApplGetScrap();
    EXPECT_EQ(clip->got.size(), 2u);

    // An empty flavour is passed over; without memory nothing is taken.
    PutFlavour(FourCC("XXXX"), "");
    PutFlavour(FourCC("TEXT"), "after", false);
    appl_->ApplGetScrap();
    ASSERT_EQ(clip->got.size(), 3u);
    EXPECT_EQ(clip->got[2], std::make_pair(FourCC("TEXT"), std::string("after")));
    PutFlavour(FourCC("TEXT"), "tight");
    SetMemoryBudget(MemoryInUse());
    appl_->ApplGetScrap();
    SetMemoryBudget(int64_t(1) << 30);
    EXPECT_EQ(clip->got.size(), 3u);
}

TEST_F(ScrapAndPrint, ThePrivateClipboardGoesOutOnlyWhenItChanged)
{
    PutFlavour(FourCC("TEXT"), "old");
    mySaveScrapState();
    clip->picture = "PICTDATA";
    appl_->ApplPutScrap();
    EXPECT_TRUE(clip->asked.empty());
    EXPECT_EQ(ScrapText(FourCC("TEXT")), "old");

    appl_->fScrapChanged = true;
    appl_->ApplPutScrap();
    EXPECT_FALSE(appl_->fScrapChanged);
    EXPECT_EQ(clip->asked, (std::vector<uint32_t>{FourCC("XXXX"), FourCC("TEXT"), FourCC("PICT")}));
    EXPECT_EQ(ScrapText(FourCC("PICT")), "PICTDATA");
    for (uint32_t type : {FourCC("XXXX"), FourCC("TEXT")})
        EXPECT_LT(myGetScrap(nullptr, type), 0) << "the system scrap was cleared first, no empty flavour put";
    // Our own put is not taken back as a change of another program.
    appl_->ApplGetScrap();
    EXPECT_TRUE(clip->got.empty());
}

// Switching to another program hands it the clipboard and shows the front
// window inactive.
TEST_F(ScrapAndPrint, ASuspendPutsTheClipboardOutAndDeactivatesTheFrontWindow)
{
    struct Window : FakeWindow {
        void MakeActive() override { log.push_back(true); }
        void MakeInActive() override { log.push_back(false); }
        void Idle(const EventRecord&) override
        {
            if (std::exchange(suspended, true)) return;
            PostEvent(osEvt, uint32_t(suspendResumeMessage) << 24);
            PostFunc(19);
        }
        std::vector<bool> log;
        bool suspended = false;
    } window;
    appl_->fScrapChanged = true;
    clip->picture = "PICTDATA";
    platform::testing::HeadlessRun run(Script().Wait(100));
    appl_->Run();
    EXPECT_EQ(ScrapText(FourCC("PICT")), "PICTDATA");
    ASSERT_FALSE(window.log.empty());
    EXPECT_FALSE(window.log.back());
}

TEST_F(ScrapAndPrint, PageSetUpRunsOnTheRecordMadeAtStartUp)
{
    MakePrintRecord(appl_);
    ASSERT_NE(appl_->fPrintRecord, nullptr);
    EXPECT_EQ(GetPrintSession(), nullptr) << "the printing layer is closed again";
    Rect page{};
    GetPrintRecordPageRect(appl_->fPrintRecord, &page);
    EXPECT_GT(page.right - page.left, 0) << "filled with the defaults";

    FileDialogAnswer answer;
    ASSERT_TRUE(ParseFileDialogAnswer("choose", &answer));
    PushFileDialogAnswer(answer);
    appl_->Commande(130 << 16 | 1);
    EXPECT_FALSE(HasFileDialogAnswer()) << "the page set-up dialog ran";
    EXPECT_EQ(GetPrintSession(), nullptr);

    // Without a record the command runs no dialog.
    DisposePrintRecord(appl_->fPrintRecord);
    PushFileDialogAnswer(answer);
    EXPECT_EQ(appl_->Do_Func(9), 0);
    EXPECT_TRUE(HasFileDialogAnswer());
}

}  // namespace
