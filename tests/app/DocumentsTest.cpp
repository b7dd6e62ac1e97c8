// Documents: the new-window stagger, closing with the save question, the
// command chain's alerts, and the private clipboard.
#include <gtest/gtest.h>

#include "app/dialogs/Messages.h"
#include "app/documents/TClipBoard.h"
#include "app/windows/PaneHooks.h"
#include "app/windows/TClipWindow.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/events/DialogAnswers.h"
#include "platform/scrap/Scrap.h"
#include "platform/textedit/TextEdit.h"
#include "tests/app/DocFakes.h"
#include "toolbox/drawing/ScrapCalls.h"

using namespace apptest;
using namespace platform;

namespace {

using DocumentTest = DocFixture;

class FailingWindow : public TWindow {
public:
    int16_t ITWindow(const unsigned char*, const Rect&, bool, int16_t, TDocument*, int16_t) override { return 1; }
};

TEST_F(DocumentTest, NewWindowsStaggerAndWrapAndAClosedOneStepsBack)
{
    TestDoc* doc = NewDoc();
    Rect r{45, 15, 445, 615};
    auto* first = new TWindow;
    ASSERT_EQ(doc->NewTWindow(first, &r, reinterpret_cast<const unsigned char*>("\x01" "a"), true, 8), 0);
    EXPECT_EQ(r.left, 35);
    EXPECT_EQ(r.top, 67);
    EXPECT_EQ(doc->fFirstWindow, first);
    EXPECT_EQ(GetTWindow(FrontWindow()), first);

    // Past the right edge: back to left 15, the top kept.
    Rect wide{100, 700, 300, 1270};
    ASSERT_EQ(doc->NewTWindow(new TWindow, &wide, reinterpret_cast<const unsigned char*>("\x01" "b"), false, 8), 0);
    EXPECT_EQ(wide.left, 15);
    EXPECT_EQ(wide.top, 122);
    EXPECT_EQ(wide.right - wide.left, 570);
    EXPECT_EQ(doc->CountWindow(), 2);

    // A window that cannot be made: -108 and nothing added.
    Rect other{45, 15, 445, 615};
    EXPECT_EQ(doc->NewTWindow(new FailingWindow, &other, reinterpret_cast<const unsigned char*>("\x01" "c"), true, 8),
              -108);
    EXPECT_EQ(doc->CountWindow(), 2);
    EXPECT_EQ(other.left, 15);

    // A closed window moves the next place one step back, not past (15, 45).
    appl_->fDefaultRect = Rect{100, 100, 500, 700};
    first->Close();
    EXPECT_EQ(appl_->fDefaultRect.left, 80);
    EXPECT_EQ(appl_->fDefaultRect.top, 78);
    EXPECT_EQ(appl_->fDefaultRect.right, 680);
    appl_->fDefaultRect = Rect{50, 20, 450, 620};
    doc->fFirstWindow->Close();  // the last one: the document goes
    EXPECT_EQ(appl_->fDefaultRect.left, 15);
    EXPECT_EQ(appl_->fDefaultRect.top, 45);
    EXPECT_EQ(appl_->fDefaultRect.bottom, 445);
}

TEST_F(DocumentTest, OnlyADocumentsLastWindowClosesTheDocument)
{
    bool gone = false;
    TestDoc* doc = NewDoc("Base", &gone);
    TWindow* back = NewWindow(doc, "back");
    TWindow* front = NewWindow(doc, "front");
    ASSERT_EQ(GetTWindow(FrontWindow()), front);

    // The close box of the window behind closes that window alone.
    EXPECT_EQ(back->Do_Func(3), 0);
    EXPECT_FALSE(gone);
    EXPECT_EQ(doc->CountWindow(), 1);
    EXPECT_EQ(doc->fFirstWindow, front);

    TWindow* second = NewWindow(doc, "second");
    EXPECT_EQ(second->Do_Func(3), 0) << "the front one of two";
    EXPECT_FALSE(gone);
    EXPECT_EQ(doc->CountWindow(), 1);

    EXPECT_EQ(front->Do_Func(3), 0);
    EXPECT_TRUE(gone);
    EXPECT_EQ(appl_->fDocList, nullptr);
    EXPECT_EQ(FrontWindow(), nullptr);
    EXPECT_EQ(AlertCount(), 0) << "not modified: no question";
}

TEST_F(DocumentTest, TheSaveQuestionDecidesWhatAModifiedDocumentDoes)
{
    bool gone = false;
    TestDoc* doc = NewDoc("Base", &gone);
    NewWindow(doc);
    doc->fModified = true;

    PushDialogAnswer(3);  // Cancel
    EXPECT_EQ(doc->Close(), 1001);
    EXPECT_EQ(LastAlert().alertId, 1003);
    EXPECT_EQ(LastAlert().text, "Save \"Base\"?");
    EXPECT_FALSE(gone);
    EXPECT_EQ(doc->CountWindow(), 1);
    EXPECT_EQ(appl_->fDocList, doc);

    doc->writeResult = -34;
    PushDialogAnswer(1);  // Save, which fails
    EXPECT_EQ(doc->Close(), -34);
    EXPECT_FALSE(gone);
    EXPECT_EQ(doc->CountWindow(), 1);
    EXPECT_EQ(appl_->fDocList, doc);

    doc->writeResult = 0;
    PushDialogAnswer(1);
    EXPECT_EQ(doc->Close(), 0);
    EXPECT_TRUE(gone);
    EXPECT_EQ(appl_->fDocList, nullptr);

    gone = false;
    doc = NewDoc("Other", &gone);
    NewWindow(doc);
    doc->fModified = true;
    PushDialogAnswer(2);  // Don't save
    EXPECT_EQ(doc->Close(), 0);
    EXPECT_TRUE(gone);
}

TEST_F(DocumentTest, ACommandsErrorIsShownOnceAndUnhandledCommandsNever)
{
    TestDoc* doc = NewDoc();
    TWindow* window = NewWindow(doc);
    auto* pane = new FakePane(2);
    pane->onFunc = [](int16_t command) { return command == 60 ? int16_t(-43) : int16_t(-1); };
    window->AddPlane(pane);

    EXPECT_EQ(window->Do_Func(60), -43);
    EXPECT_EQ(AlertCount(), 1);
    EXPECT_EQ(LastAlert().text, "m5");
    // Passed on by the document: still one alert.
    EXPECT_EQ(doc->Do_Func(60), -43);
    EXPECT_EQ(AlertCount(), 2);

    EXPECT_EQ(doc->Do_Func(61), -1);
    EXPECT_EQ(window->Do_Func(61), -1);
    EXPECT_EQ(AlertCount(), 2);
    // A window without panes answers -1 to the list commands.
    window->RemovePlane(pane);
    pane->Dispose();
    for (int16_t c : {7, 10, 53}) EXPECT_EQ(window->Do_If_MyFunc(c), -1);
}

TEST_F(DocumentTest, SaveClearsTheModifiedFlagOnlyWhenTheWriteSucceeds)
{
    TestDoc* doc = NewDoc();
    doc->fModified = true;
    doc->writeResult = -34;
    EXPECT_EQ(doc->Do_If_MyFunc(18), -34);
    EXPECT_TRUE(doc->fModified);
    doc->writeResult = 0;
    EXPECT_EQ(doc->Do_If_MyFunc(18), 0);
    EXPECT_FALSE(doc->fModified);
    EXPECT_EQ(doc->Do_If_MyFunc(60), -1);

    // Active, it can be closed; a remote read is remembered as remote.
    DisableFunc(5);
    doc->MakeActive();
    EXPECT_TRUE(IsFuncEnabled(4));
    EXPECT_FALSE(IsFuncEnabled(5));
    doc->MakeInActive();
    EXPECT_FALSE(IsFuncEnabled(4));
    EXPECT_EQ(doc->TDocument::Read(FSSpec{folder_ / "Far.QzB"}, true, false), 0);
    EXPECT_TRUE(doc->fRemote);
}

class ClipBoardTest : public DocFixture {
protected:
    void SetUp() override
    {
        DocFixture::SetUp();
        ResetScrap();
        ResetScrapState();
        mySaveScrapState();
        appl_->fClipBoard = clip = NewClipBoard(appl_);
        ASSERT_NE(clip, nullptr);
    }
    void TearDown() override
    {
        ResetScrap();
        ResetScrapState();
        DocFixture::TearDown();
    }
    std::string Shown() const
    {
        TEHandle te = clip->Window()->fText;
        CharsHandle chars = TEGetText(te);
        return std::string(*chars, size_t((*te)->teLength));
    }
    void PutText(const std::string& text)
    {
        ScrapRef scrap = nullptr;
        ASSERT_EQ(ClearCurrentScrap(), noErr);
        ASSERT_EQ(GetCurrentScrap(&scrap), noErr);
        ASSERT_EQ(PutScrapFlavor(scrap, FourCC("TEXT"), 0, Size(text.size()), text.data()), noErr);
    }
    TClipBoard* clip = nullptr;
};

TEST_F(ClipBoardTest, TextAndPicturesFromTheSystemScrapAreShown)
{
    EXPECT_FALSE(clip->Visible());
    PutText("hello");
    appl_->ApplGetScrap();
    EXPECT_EQ(appl_->Do_Func(27), 0);
    EXPECT_TRUE(clip->Visible());
    EXPECT_EQ(Shown(), "hello");
    Str255 item;
    GetFuncItem(27, 1, item);
    EXPECT_EQ(P(item), "Hide Clipboard");

    // Going out, text goes straight from the text scrap and pictures not at all.
    ScrapRef scrap = nullptr;
    ASSERT_EQ(ClearCurrentScrap(), noErr);
    for (const OSType type : {FourCC("PICT"), FourCC("TEXT")}) {
        int32_t length = 99;
        EXPECT_EQ(clip->PutPrivateScrap(&length, type, nullptr), 0);
        EXPECT_EQ(length, 0);
        Size size = 0;
        GetCurrentScrap(&scrap);
        const bool text = GetScrapFlavorSize(scrap, FourCC("TEXT"), &size) == noErr;
        EXPECT_EQ(text ? size : -1, type == FourCC("TEXT") ? 5 : -1);
    }

    // A picture replaces the text.
    ASSERT_EQ(ClearCurrentScrap(), noErr);
    ASSERT_EQ(GetCurrentScrap(&scrap), noErr);
    ASSERT_EQ(PutScrapFlavor(scrap, FourCC("PICT"), 0, 4, "pict"), noErr);
    appl_->ApplGetScrap();
    ASSERT_NE(clip->Window()->fPicture, nullptr);
    EXPECT_EQ(std::string(*clip->Window()->fPicture, 4), "pict");
    EXPECT_EQ(Shown(), "");

    // Text too long for the text record: its beginning is shown.
    std::string big(40000, 'x');
    big[0] = 'a';
    PutText(big);
    appl_->ApplGetScrap();
    EXPECT_EQ(clip->Window()->fPicture, nullptr);
    EXPECT_EQ(Shown().size(), size_t(kClipTextMax));
    EXPECT_EQ(Shown()[0], 'a');

    // Other kinds change nothing.
    Handle h = NewHandle(3);
    clip->SetData(h, FourCC("snd "), 0, 3);
    DisposeHandle(h);
    EXPECT_EQ(Shown().size(), size_t(kClipTextMax));

    appl_->Do_Func(27);
    EXPECT_FALSE(clip->Visible());
    GetFuncItem(27, 1, item);
    EXPECT_EQ(P(item), "Show Clipboard");
}

TEST_F(ClipBoardTest, ClosingTheClipboardOnlyHidesIt)
{
    // The pane the design layer makes for it is in its window.
    PaneHooks().makeClipPlane = [](TWindow*, TPlan** pane) { return int16_t((*pane = new FakePane(9)) ? 0 : 1); };
    TClipBoard* made = NewClipBoard(appl_);
    PaneHooks() = AppPaneHooks();
    ASSERT_NE(made, nullptr);
    ASSERT_NE(made->Window()->fFirstPlane, nullptr);
    made->Dispose();
    clip->Show();
    TWindow* window = clip->Window();
    ASSERT_EQ(GetTWindow(FrontWindow()), window);
    EXPECT_EQ(window->Do_Func(3), 0);
    EXPECT_FALSE(clip->Visible());
    EXPECT_EQ(clip->Window(), window);
    clip->Show();
    EXPECT_EQ(clip->Do_Func(4), 0);
    EXPECT_FALSE(clip->Visible());
    EXPECT_TRUE(IsLiveWindow(window));
    // Activating its window never puts the clipboard in the document list.
    clip->Show();
    EventRecord activate{};
    activate.what = activateEvt;
    activate.modifiers = activeFlag;
    window->Activate(activate);
    EXPECT_EQ(appl_->fDocList, nullptr);
    EXPECT_FALSE(IsFuncEnabled(22));
    // Quitting with the clipboard in front hides it and ends cleanly.
    clip->Show();
    appl_->Do_Func(19);
    EXPECT_TRUE(appl_->fQuit);
    EXPECT_FALSE(clip->Visible());
}

}  // namespace
