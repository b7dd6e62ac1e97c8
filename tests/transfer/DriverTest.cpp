// The transfer driver end to end on small documents: what a drop copies,
// how the copies' calls follow the conflict choices, when the wait dialog
// shows, and that a refused or failing transfer leaves the destination's
// files and lists exactly as they were.
#include "platform/dialogs/Dialogs.h"
#include "platform/windows/Windows.h"
#include "tests/transfer/CopyFixture.h"
#include "transfer/driver/TransferSession.h"
#include "transfer/movers/Movers.h"

namespace transfertest {
namespace {

const char* kShop = R"(structure Shop
table Orders
  field Number longint
method Log_Event id 30
  comment "shop log"
method Tax id 31
  var Rate op 7 real 0.2
method Total id 32
  call Tax ; call Log_Event ( "Total" )
)";

const char* kTarget = R"(structure Target
table Lines
  field Quantity integer
method Log_Event id 30
  command 2 ( param 1 )
method Open_Shop id 31
  call Log_Event ( "Open" )
)";

class DriverTest : public CopyFixture {
protected:
    void SetUp() override
    {
        CopyFixture::SetUp();
        BuildPair(kShop, kTarget);
    }
    // The transfer's defaults with `code` given `choice`.
    void Defaults(int16_t code, int16_t choice)
    {
        transfer::G_Filters = transfer::NewFilters();
        ASSERT_EQ(transfer::MakeCc_Dflt(transfer::G_Filters), 0);
        reinterpret_cast<int16_t*>(*transfer::G_Filters)[code - 1] = choice;
    }
    int16_t Move(std::vector<TObjQz*> objects, bool install = false)
    {
        ObjListHdl list = nullptr;
        EXPECT_EQ(NewObjList(&list, 30), 0);
        for (TObjQz* obj : objects) EXPECT_EQ(obj->SelfAddObjList(&list, 0), 0);
        const int16_t result = transfer::DoMove(&doc_, &dest_, &list, install, install, nullptr);
        FreeObjList(list);
        return result;
    }
};

TEST_F(DriverTest, ACopyRenamedByItsConflictIsCalledByItsNewName)
{
    // Log_Event meets the destination's: copied under a free name (the
    // default choice), which the copied Total then calls.
    platform::PushDialogAnswer(1);
    ASSERT_EQ(Drop({Src(2, "Total")}, 1), 0);
    TObjQz* total = Dst(2, "Total");
    ASSERT_NE(total, nullptr);
    ASSERT_NE(Dst(2, "Log_Event_2"), nullptr);
    EXPECT_EQ(CallsOf(&dest_, total->id), (std::vector<std::string>{"Tax", "Log_Event_2"}));
    EXPECT_EQ(Uses(total), (std::set<std::string>{"2:Log_Event_2", "2:Tax"}));
    EXPECT_EQ(Uses(Dst(2, "Tax")), (std::set<std::string>{"9:Rate"}));
    // The destination's own method is untouched, and reading the saved
    // files gives the same objects and links.
    EXPECT_EQ(CallsOf(&dest_, Dst(2, "Open_Shop")->id), (std::vector<std::string>{"Log_Event"}));
    ReopenDest();
    EXPECT_EQ(Uses(Dst(2, "Total")), (std::set<std::string>{"2:Log_Event_2", "2:Tax"}));
}

TEST_F(DriverTest, UsingTheDestinationsObjectSkipsItsLinksAndRetargetsTheCallers)
{
    Defaults(6, 4);
    platform::PushDialogAnswer(1);
    const auto before = StoreRes(&dest_, FourCC("CCQz"), 30);
    ASSERT_EQ(Move({Src(2, "Total"), Src(2, "Tax"), Src(2, "Log_Event")}), 0);
    EXPECT_EQ(Dst(2, "Log_Event_2"), nullptr);
    EXPECT_EQ(StoreRes(&dest_, FourCC("CCQz"), 30), before);
    TObjQz* total = Dst(2, "Total");
    ASSERT_NE(total, nullptr);
    EXPECT_TRUE(IsInList(total->uses, Dst(2, "Log_Event")));
    EXPECT_EQ(CallsOf(&dest_, total->id), (std::vector<std::string>{"Tax", "Log_Event"}));
}

TEST_F(DriverTest, AConflictWithALockedObjectStopsEverythingOutsideAnInstall)
{
    CloseDest();
    const auto files = DestFiles();
    OpenDest();
    Dst(2, "Log_Event")->SetFlag(kFlagInComponent, true);
    EXPECT_EQ(Drop({Src(2, "Total")}, 1), kCancelledByUser);
    EXPECT_EQ(LastAlert().alertId, transfer::kLockedAlert);
    EXPECT_EQ(LastAlert().text.substr(0, 9), "Log_Event");
    EXPECT_EQ(Dst(2, "Total"), nullptr);
    CloseDest();
    EXPECT_EQ(DestFiles(), files);
}

TEST_F(DriverTest, AnInstallSkipsTheLockCheck)
{
    // The driver alone: the component rules would refuse a replacement
    // outside any module.
    transfer::SetModuleConflictsHook(nullptr);
    Dst(2, "Log_Event")->SetFlag(kFlagInComponent, true);
    Defaults(6, 1);
    EXPECT_EQ(Move({Src(2, "Log_Event")}, true), 0);
    EXPECT_EQ(AlertCount(), 0);
    EXPECT_NE(Dst(2, "Log_Event_2"), nullptr);
}

// A drop of rows that are not copied (an installed component's method, a
// variable) copies nothing and says why, kind by kind.
TEST_F(DriverTest, ADropOfNothingMovableCopiesNothingAndSaysWhy)
{
    TObjQz* locked = Src(2, "Tax");
    locked->SetFlag(kFlagInComponent, true);
    TObjQz* variable = Src(9, "Rate");
    CloseDest();
    const auto files = DestFiles();
    OpenDest();
    const int32_t methods = GetObjListe(dest_.fTypeList, 2)->Size();
    ASSERT_NE(variable, nullptr);
    EXPECT_EQ(Drop({locked, variable}, 1), 0);
    EXPECT_EQ(AlertCount(), 1);
    EXPECT_EQ(LastAlert().text, "Nothing was copied. Project method: belongs to an installed component, which brings "
                                "it when it is installed. Variable: comes with the object that holds or uses it; drag "
                                "that object instead.");
    EXPECT_EQ(GetObjListe(dest_.fTypeList, 2)->Size(), methods);
    CloseDest();
    EXPECT_EQ(DestFiles(), files);
}

// Memory running out for the table of the user's default choices: the
// drop is refused and says so, rather than copying by no defaults at all.
TEST_F(DriverTest, ADropWithoutItsDefaultsCopiesNothingAndSaysSo)
{
    CloseDest();
    const auto files = DestFiles();
    OpenDest();
    platform::InjectFault(platform::FaultKind::Allocation, 0);
    const int16_t result = Drop({Src(2, "Total")}, 1);
    platform::ClearFault(platform::FaultKind::Allocation);
    EXPECT_EQ(result, platform::memFullErr);
    EXPECT_EQ(AlertCount(), 1);
    EXPECT_EQ(Dst(2, "Total"), nullptr);
    CloseDest();
    EXPECT_EQ(DestFiles(), files);
}

// Every store write of the transfer's one commit fails in turn: each run
// shows the error and leaves the destination's files, lists and links as
// before, whether Log_Event is the destination's own (4) or replaced (3).
TEST_F(DriverTest, EveryFailingWriteLeavesTheDestinationAsItWas)
{
    CloseDest();
    const auto pristine = DestFiles();
    for (const int16_t choice : {4, 3}) {
        int32_t failed = 0;
        for (int32_t after = 0; after < 100; ++after) {
            OpenDest();
            const int32_t methods = GetObjListe(dest_.fTypeList, 2)->Size();
            const std::set<std::string> openShop = Uses(Dst(2, "Open_Shop")), logEvent = Uses(Dst(2, "Log_Event"));
            ResetAlerts();
            platform::PushDialogAnswer(1);
            Defaults(6, choice);
            platform::InjectFault(platform::FaultKind::DiskFull, after);
            const int16_t result = Move({Src(2, "Total"), Src(2, "Tax"), Src(2, "Log_Event")});
            platform::ClearFault(platform::FaultKind::DiskFull);
            platform::ClearDialogAnswers();
            if (result == 0) {
                EXPECT_NE(Dst(2, "Total"), nullptr);
                CloseDest();
                RestoreDest(pristine);
                break;
            }
            ++failed;
            EXPECT_EQ(result, platform::dskFulErr) << choice << " " << after;
            EXPECT_EQ(AlertCount(), 1) << choice << " " << after;
            EXPECT_EQ(GetObjListe(dest_.fTypeList, 2)->Size(), methods) << choice << " " << after;
            EXPECT_EQ(Dst(2, "Total"), nullptr) << choice << " " << after;
            EXPECT_EQ(Uses(Dst(2, "Open_Shop")), openShop) << choice << " " << after;
            EXPECT_EQ(Uses(Dst(2, "Log_Event")), logEvent) << choice << " " << after;
            CloseDest();
            EXPECT_EQ(DestFiles(), pristine) << choice << " " << after;
            RestoreDest(pristine);
        }
        EXPECT_GE(failed, 4) << choice;
    }
}

// An object a mover retired comes back, when the transfer is rolled back,
// into the list that held it: a list box among the variables, a local
// variable among its method's locals; and every list has its order back,
// the commands the links sorted by id among them.
TEST_F(DriverTest, ARollBackPutsRetiredObjectsBackWhereTheyWereHeld)
{
    ClosePair();
    BuildPair(kShop, R"(structure Target
table Lines
  field Quantity integer
  form Entry iff
    listbox Rows var alRows
      column alQuantity header hQuantity "Quantity"
method Count id 31
  local Seen op 7 int32 1 ; local Kept op 7 int32 2
method Find id 32
  command 2 ; command 3
)");
    auto names = [](ObjListHdl list) {
        std::vector<std::string> out;
        for (int32_t i = 0; list && i < list->Size(); ++i)
            out.push_back(std::to_string(list->At(i)->kind) + ":" + readtest::P(list->At(i)->name));
        return out;
    };
    auto all = [&] {
        std::vector<std::vector<std::string>> lists;
        for (ObjListHdl list : dest_.fTypeList->lists) lists.push_back(names(list));
        return lists;
    };
    // As the program opens it: the commands by name (ORDER BY, 3, before QUERY, 2).
    ObjListHdl commands = GetObjListe(dest_.fTypeList, 3);
    ShellStrictSort(commands);
    ASSERT_EQ(names(commands), (std::vector<std::string>{"3:ORDER BY", "3:QUERY"}));
    auto* count = dynamic_cast<TGnlProcObjQz*>(Dst(2, "Count"));
    ASSERT_NE(count, nullptr);
    ObjListHdl variables = GetObjListe(dest_.fTypeList, 9);
    const std::vector<std::vector<std::string>> held = all();
    const std::vector<std::string> locals = names(count->locals);
    ASSERT_EQ(locals, (std::vector<std::string>{"9:$Kept", "9:$Seen"}));
    TObjQz* listBox = nullptr;
    for (int32_t i = 0; i < variables->Size(); ++i)
        if (variables->At(i)->kind == 21 && readtest::P(variables->At(i)->name) == "alRows") listBox = variables->At(i);
    ASSERT_NE(listBox, nullptr);
    transfer::TransferSession session;
    ASSERT_EQ(session.Begin(&dest_), 0);
    transfer::RetireObj(listBox);
    transfer::RetireObj(count->locals->At(1));
    Shell_IdSort(commands);
    session.RollBack();
    EXPECT_EQ(all(), held);
    EXPECT_EQ(names(count->locals), locals);
}

// What the wait dialog showed while the objects moved.
struct Seen {
    bool shown = false;
    int32_t maximum = 0;
    std::string title;
};

// The wait dialog comes for 20 objects (21 entries), not for 19.
class WaitDialogTest : public CopyFixture {
protected:
    static inline Seen seen_;
    static int16_t Spy(TMainDoc* s, TMainDoc* d, TObjQz* o, TObjQz** n, const unsigned char* name)
    {
        if (G_WaitParam && G_WaitParam->dialog) {
            seen_.shown = true;
            seen_.maximum = G_WaitParam->maximum;
            platform::Str255 title;
            platform::GetWTitle(platform::GetDialogWindow(G_WaitParam->dialog), title);
            seen_.title = readtest::P(title);
        }
        return transfer::MoveProc(s, d, o, n, name);
    }
};

TEST_F(WaitDialogTest, ComesFromTwentyObjects)
{
    std::string source = "structure Many\ntable T\n  field F longint\n";
    for (int i = 1; i <= 20; ++i) source += "method M" + std::to_string(100 + i) + "\n  comment \"m\"\n";
    BuildPair(source, kTarget);
    CloseDest();
    const auto pristine = DestFiles();
    OpenDest();
    TransferHooks hooks = CurrentTransferHooks();
    hooks.moveProc = Spy;
    SetTransferHooks(hooks);
    for (const auto& [count, shown, maximum] : {std::tuple{19, false, 0}, std::tuple{20, true, 42}}) {
        seen_ = Seen{};
        std::vector<TObjQz*> rows;
        ObjListHdl methods = GetObjListe(doc_.fTypeList, 2);
        for (int32_t i = 0; i < count; ++i) rows.push_back(methods->At(i));
        ASSERT_EQ(Drop(rows), 0);
        EXPECT_EQ(seen_.shown, shown) << count;
        EXPECT_EQ(seen_.maximum, maximum) << count;
        if (shown) {
            EXPECT_EQ(seen_.title, "Copy from Many.QzB to Target.QzB");
        }
        CloseDest();
        RestoreDest(pristine);
        OpenDest();
    }
}

}  // namespace
}  // namespace transfertest
