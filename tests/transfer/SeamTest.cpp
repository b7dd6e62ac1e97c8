// The design objects' transfer seam, empty and as the transfer layer fills
// it at start-up.
#include "app/longlist/LongListHooks.h"
#include "design/objects/ObjFactory.h"
#include "transfer/InstallTransfer.h"
#include "tests/transfer/TransferFixture.h"

namespace transfertest {
namespace {

class SeamTest : public TransferFixture {
protected:
    void TearDown() override
    {
        ResetLongListHooks();
        TransferFixture::TearDown();
    }
};

TEST_F(SeamTest, UntilInstalledNothingIsRecordedAndNoCodeHasChoices)
{
    UseChoices(C_Pm({{6, {{1, transfer::kChoiceShown}, {3, 0}}}}));
    C_ListHdl list = NewList();
    TObjQz obj;
    TConflict* out = reinterpret_cast<TConflict*>(1);
    EXPECT_EQ(::RecordConflict(&obj, nullptr, 6, 1, list, &out), 0);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(list->Size(), 0);
    EXPECT_EQ(::MaxChoix(6), 0);
    EXPECT_EQ(::C_Search(list, &obj), nullptr);
    TObjQz* made = &obj;
    EXPECT_EQ(::MoveProc(nullptr, nullptr, &obj, &made, nullptr), 0);
    EXPECT_EQ(made, nullptr);
    ConflictView view;
    EXPECT_FALSE(GetConflictView(nullptr, &view));

    transfer::InstallTransfer();
    apptest::ToP("Invoice", obj.name);
    ASSERT_EQ(::RecordConflict(&obj, nullptr, 6, 1, list, &out), 0);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(::C_Search(list, &obj), out);
    EXPECT_EQ(::C_SearchInChain(list, &obj), out);
    EXPECT_TRUE(::IsInC_List(list, &obj));
    EXPECT_EQ(::MaxChoix(6), 2);
    EXPECT_EQ(::ChooseNumber(6, 3), 2);
    EXPECT_EQ(::ChooseValue(6, 2), 3);
    TObjQz dest;
    ::SetConflictDest(out, &dest);
    ::SetConflictChoice(out, 3);
    ASSERT_TRUE(GetConflictView(out, &view));
    EXPECT_EQ(view.source, &obj);
    EXPECT_EQ(view.destination, &dest);
    EXPECT_EQ(view.code, 6);
    EXPECT_EQ(view.choice, 3);
    EXPECT_EQ(apptest::P(view.newName), "Invoice");
    EXPECT_EQ(::caution(), 0);

    // The conflict list's rows read and set the record's choices.
    const LongListHooks& rows = CurrentLongListHooks();
    int16_t code = 0, previous = 0, current = 0;
    bool second = false;
    ASSERT_TRUE(rows.getConflict(out, &code, &second, &previous, &current));
    EXPECT_EQ(code, 6);
    EXPECT_TRUE(second);
    EXPECT_EQ(current, 3);
    rows.setConflictChoices(out, 3, 1);
    EXPECT_EQ(out->fPrevChoice, 3);
    EXPECT_EQ(out->fChoice, 1);
    transfer::DisposeC_List(list);
}

}  // namespace
}  // namespace transfertest
