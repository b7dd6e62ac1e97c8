#include <gtest/gtest.h>

#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/system/VSystem.h"
#include "toolbox/views/TextEditors.h"
#include "toolbox/views/VDialQz.h"
#include "toolbox/views/VTSMTEDoc.h"

namespace {

TEST(VDialQz, FindsCommandsByNumberAndShortcutInListOrder)
{
    VDialQz dialog;
    auto* save = new VCommand(10, 'S');
    auto* other = new VCommand(11, 'O');
    auto* again = new VCommand(12, 'S');
    dialog.AddCommand(save);
    dialog.AddCommand(other);
    dialog.AddCommand(again);
    dialog.AddCommand(save);  // already there: not listed twice
    dialog.AddCommand(nullptr);

    EXPECT_EQ(dialog.FindShortcut('S'), save) << "the first in the list wins";
    EXPECT_EQ(dialog.FindShortcut('O'), other);
    EXPECT_EQ(dialog.FindShortcut('X'), nullptr);
    EXPECT_EQ(dialog.FindCommand(12), again);
    EXPECT_EQ(dialog.FindCommand(13), nullptr);
    EXPECT_EQ(dialog.GetCommandMgr().FindCommand(11), other);

    VIteratorOf<VCommand*>* it = dialog.NewCommandIterator();
    ASSERT_NE(it, nullptr);
    EXPECT_EQ(it->Next(), save) << "the cursor starts before the first";
    EXPECT_EQ(it->Next(), other);
    EXPECT_EQ(it->Next(), again);
    EXPECT_EQ(it->Next(), nullptr);
    delete it;
    it = dialog.NewCommandIterator();
    EXPECT_EQ(it->Previous(), again) << "from before the first, backwards wraps to the last";
    delete it;

    VDialQz empty;
    EXPECT_EQ(empty.FindShortcut(0), nullptr);
}

TEST(VDialQz, TheEngineRenewsItsDialogListOnReset)
{
    InstallDialQzList();
    {
        VEngine engine(nullptr);
        ASSERT_NE(gVDialQzList, nullptr);
        EXPECT_EQ(gVDialQzList->GetCount(), 0);
        auto* dialog = new VDialQz;
        dialog->AddCommand(new VCommand(1, 'Q'));
        gVDialQzList->Add(dialog);
        engine.Reset();  // the old list and its dialogs go
        ASSERT_NE(gVDialQzList, nullptr);
        EXPECT_EQ(gVDialQzList->GetCount(), 0);
        gVDialQzList->Add(new VDialQz);
    }
    EXPECT_EQ(gVDialQzList, nullptr) << "deleted with the engine, dialogs and all";
    SetDialQzListMakers({});
}

TEST(ViewsStartup, SystemObjectHoldsOneTextServicesDocument)
{
    InstallTextServicesDoc();
    const int32_t before = VTSMTEDoc::CountOpen();
    {
        VSystem system;
        ASSERT_NE(system.GetTextServicesDoc(), nullptr);
        EXPECT_EQ(system.GetTextServicesDoc()->GetFlag(), 0);
        EXPECT_EQ(VTSMTEDoc::CountOpen(), before + 1);
    }
    EXPECT_EQ(VTSMTEDoc::CountOpen(), before);
    SetTextServicesDocMakers({});
    VSystem bare;
    EXPECT_EQ(bare.GetTextServicesDoc(), nullptr);
}

TEST(ViewsStartup, TextBoxFramesAreMadeOnce)
{
    VFrameTextEdit::InitDrawTextBox();
    VFrameTextEdit* single = VFrameTextEdit::GetDrawTextBox(false);
    VFrameTextEdit* multi = VFrameTextEdit::GetDrawTextBox(true);
    ASSERT_NE(single, nullptr);
    ASSERT_NE(multi, nullptr);
    EXPECT_EQ(single->GetProperties() & (kEnteMultiline | kEnteTransparent | kEnteVAutoScroll),
              kEnteTransparent | kEnteVAutoScroll);
    EXPECT_EQ(multi->GetProperties() & (kEnteMultiline | kEnteTransparent | kEnteVAutoScroll),
              kEnteMultiline | kEnteTransparent | kEnteVAutoScroll);
    EXPECT_TRUE(multi->GetEditor()->GetProperty(kPropWordWrap));
    VFrameTextEdit::InitDrawTextBox();
    EXPECT_EQ(VFrameTextEdit::GetDrawTextBox(false), single);
    EXPECT_EQ(VFrameTextEdit::GetDrawTextBox(true), multi);
}

}  // namespace
