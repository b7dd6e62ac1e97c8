// Forms and choice lists copied on their own into another document: what
// they meet there, the copy by their record's choice, and the copy's links
// bound to the destination's objects.
#include <algorithm>
#include <cstring>

#include "forms/lists/ChoiceLists.h"
#include "forms/lists/ItemList.h"
#include "platform/core/Faults.h"
#include "tests/transfer/CopyFixture.h"
#include "transfer/conflicts/ConflictList.h"
#include "transfer/conflicts/ConflictRecording.h"
#include "transfer/conflicts/Conflicts.h"

namespace transfertest {
namespace {

const char* kShop = R"(structure Shop
menu M id 1
  item "Go" method Go
menubar A
  menu M
menubar B
  menu M
picture Logo id 5 size 8 8
picture Gone id 6 size 8 8
list Towns
  item "A" number 1 picture Logo
  item "B" number 2 picture Gone
  item "C" number 3 icon 2044
  item "R"
    item "D" number 4 picture Logo
method Go id 30
  comment "go"
table Orders
  field Number longint
  field Total real
  form Entry menubar -2 iff
    field Total
    text "<?[Orders]Total> of <?[1]1>"
    variable bGo kind 1 method 41
      call Go
)";

// The destination: a bar B unlike the source's, a table Orders of its own.
const char* kDepot = "structure Depot\nmenu M id 1\n  item \"Go\"\nmenubar B\n  menu M\ntable Orders\n  field Other alpha 10\n";

class FormListCopyTest : public CopyFixture {
protected:
    // The icon references of 'List' id of the destination, depth first.
    std::vector<int32_t> Icons(int16_t id)
    {
        const int16_t saved = xcurres();
        useres(dest_.fResFile);
        itemlistrec items{};
        initqlist(&items, 0, 255);
        std::vector<int32_t> icons;
        EXPECT_EQ(LoadList(id, &items, true), 0);
        std::vector<ItemHandle> pending;
        if (items.first) pending.push_back(items.first);
        while (!pending.empty()) {
            ItemHandle item = pending.back();
            pending.pop_back();
            icons.push_back((*item)->icon);
            if ((*item)->next) pending.push_back((*item)->next);
            if ((*item)->firstChild) pending.push_back((*item)->firstChild);
        }
        deinitqlist(&items);
        useres(saved);
        return icons;
    }
};

// Directly a namesake gives 7; indirectly 0 using it (choice 4), else 119;
// a list already recorded is not recorded again.
TEST_F(FormListCopyTest, AChoiceListMeetsItsNamesake)
{
    struct Case {
        bool namesake, direct;
        int16_t code, choice;
    };
    for (const Case c : {Case{true, true, 7, transfer::Cc_Dflt(7)}, Case{false, true, -1, 0}, Case{true, false, 0, 4},
                         Case{false, false, 119, transfer::Cc_Dflt(119)}}) {
        SCOPED_TRACE(std::to_string(c.namesake) + std::to_string(c.direct));
        BuildPair(kShop, c.namesake ? "structure Depot\nlist Towns\n  item \"X\" number 1\n" : "structure Depot\n");
        Conflicts conflicts;
        TObjQz* towns = Src(4, "Towns");
        NoObjects none;
        ASSERT_EQ(c.direct ? towns->Dir_Conflicts(&dest_, conflicts.list, none.list) : towns->Indir_Conflicts(&dest_, conflicts.list, none.list), 0);
        TConflict* record = transfer::C_Search(conflicts.list, towns);
        if (c.code < 0) {
            EXPECT_EQ(record, nullptr);
        } else {
            ASSERT_NE(record, nullptr);
            EXPECT_EQ(record->fCode, c.code);
            EXPECT_EQ(record->fChoice, c.choice);
            EXPECT_EQ(record->fDest, c.namesake ? Dst(4, "Towns") : nullptr);
            ASSERT_EQ(towns->Indir_Conflicts(&dest_, conflicts.list, none.list), 0);
            EXPECT_EQ(conflicts.list->Size(), 1);
        }
        ClosePair();
    }
}

// After the copy an item's picture of the structure names the counterpart
// (low half) or becomes -1; icons of the program are left; the list is
// saved and linked to the counterpart only.
TEST_F(FormListCopyTest, ACopiedListsItemsNameTheDestinationsPictures)
{
    BuildPair(kShop, "structure Depot\npicture Seal id 9 size 8 8\n");
    Conflicts conflicts;
    TObjQz* towns = Src(4, "Towns");
    TObjQz* made = nullptr;
    ASSERT_EQ(towns->Move(&dest_, conflicts.list, &made), 0);
    ASSERT_NE(made, nullptr);
    ASSERT_EQ(transfer::RecordC_Ref(Src(18, "Logo"), Dst(18, "Seal"), conflicts.list), 0);
    const auto unlinked = DestFiles();
    ASSERT_EQ(made->Parse_Link(towns, conflicts.list), 0);
    const int32_t seal = int32_t((2u << 16) | 9u);
    EXPECT_EQ(Icons(made->id), (std::vector<int32_t>{seal, -1, 2044, 0, seal}));
    // The linked list is committed at once, not when the document closes.
    EXPECT_NE(DestFiles().first, unlinked.first);
    EXPECT_EQ(Uses(made), (std::set<std::string>{"18:Seal"}));
    ReopenDest();
    EXPECT_EQ(Icons(Dst(4, "Towns")->id), (std::vector<int32_t>{seal, -1, 2044, 0, seal}));
}

// A form dropped on its own comes with its table, its object method and
// the menu bar it names; its texts, fields and bar number name what the
// destination has.
TEST_F(FormListCopyTest, AFormDroppedAloneNamesTheDestinationsObjects)
{
    BuildPair(kShop, kDepot);
    TLayoutObjQz* entry = FormOf(&doc_, "Orders", "Entry");
    ASSERT_NE(entry, nullptr);
    platform::PushDialogAnswer(1);
    ASSERT_EQ(Drop({entry}, 1), 0);
    platform::ClearDialogAnswers();
    ReopenDest();
    // The destination's own Orders was not written over: the copy lands in
    // a table of its own, whatever it is named.
    TLayoutObjQz* copy = nullptr;
    ObjListHdl tables = GetObjListe(dest_.fTypeList, 1);
    for (int32_t i = 0; tables && i < tables->Size() && !copy; ++i)
        if (tables->At(i)->kind == 1 && readtest::P(tables->At(i)->name) != "Orders")
            copy = FormOf(&dest_, readtest::P(tables->At(i)->name), "Entry");
    ASSERT_NE(copy, nullptr);
    // Bar B is not B of the destination (its menu's item calls no
    // method there): it came as B_2, whose slot the number names, its sign
    // kept.
    EXPECT_EQ(Uses(copy), (std::set<std::string>{"25:bGo", "28:Number", "28:Total", "5:B_2", "9:bGo"}));
    auto* bar = dynamic_cast<TMBarObjQz*>(Dst(5, "B_2"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(copy->mbarNumber, -bar->libaSlot);
    EXPECT_EQ(bar->libaSlot, 2);
    // The text names the destination's table.
    const Bytes image = StoreRes(&dest_, FourCC("FOQz"), copy->formResId);
    const std::string table = readtest::P(copy->ownerObj->name);
    const std::string text = "<?[" + table + "]Total> of <?[" + std::to_string(static_cast<TFileObjQz*>(copy->ownerObj)->tableNumber) + "]1>";
    EXPECT_NE(std::search(image.begin(), image.end(), text.begin(), text.end()), image.end()) << text;
    // Its object method moved under a new id there and follows Go's copy.
    ASSERT_NE(copy->objMethods, nullptr);
    ASSERT_EQ(copy->objMethods->Size(), 1);
    EXPECT_EQ(Uses(copy->objMethods->At(0)), (std::set<std::string>{"2:Go"}));
    for (int32_t i = 0; i < copy->uses->Size(); ++i) EXPECT_EQ(copy->uses->At(i)->owner, &dest_);
}

// The record of the form's table must name a destination table; a form in
// a component is not copied during a component update; memory for three
// times the image is needed: no file changes in any of these.
TEST_F(FormListCopyTest, AFormThatCannotBeCopiedLeavesTheDestination)
{
    BuildPair(kShop, "structure Depot\ntable Stock\n  field Code longint\n");
    TLayoutObjQz* entry = FormOf(&doc_, "Orders", "Entry");
    ASSERT_NE(entry, nullptr);
    const auto before = DestFiles();
    struct Case {
        const char* what;
        bool tableRecord, tableDest, inComponent, noMemory;
        int16_t result;
    };
    const Case cases[] = {
        {"no record of the table", false, false, false, false, 1005},
        {"a record without destination", true, false, false, false, 1012},
        {"a component's form in normal work", true, true, true, false, 0},
        {"no memory for three images", true, true, false, true, -108},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Conflicts conflicts;
        TConflict* record = nullptr;
        if (c.tableRecord) {
            ASSERT_EQ(transfer::RecordConflict(entry->ownerObj, c.tableDest ? Dst(1, "Stock") : nullptr, 0, 9,
                                               conflicts.list, &record), 0);
        }
        const int16_t savedUpdate = G_ModuleUpdate;
        if (c.inComponent) G_ModuleUpdate = 4;
        entry->SetFlag(kFlagInComponent, c.inComponent);
        TObjQz* made = nullptr;
        if (c.noMemory) platform::InjectFault(platform::FaultKind::Allocation, 0, -1);
        EXPECT_EQ(entry->Move(&dest_, conflicts.list, &made), c.result);
        platform::ClearAllFaults();
        G_ModuleUpdate = savedUpdate;
        entry->SetFlag(kFlagInComponent, false);
        EXPECT_EQ(made, nullptr);
        EXPECT_EQ(DestFiles(), before);
    }
}

// Resolution 3 writes the source form over the destination's form, which
// keeps its id and name and loses its own methods; when the destination's
// form may not be replaced (an installed component's, outside an update)
// the resolution becomes 4 and nothing changes.
TEST_F(FormListCopyTest, AReplacedFormIsWrittenOverOrUsedAsItIs)
{
    for (const bool replaceable : {true, false}) {
        SCOPED_TRACE(replaceable ? "replaceable" : "installed");
        BuildPair(kShop, "structure Depot\ntable Stock\n  field Code longint\n  form Old iff\n    field Code\n"
                         "    variable bOld kind 1 method 45\n      comment \"old\"\n");
        TLayoutObjQz* entry = FormOf(&doc_, "Orders", "Entry");
        TLayoutObjQz* old = FormOf(&dest_, "Stock", "Old");
        ASSERT_NE(entry, nullptr);
        ASSERT_NE(old, nullptr);
        ASSERT_EQ(old->Parse(), 0);
        ASSERT_NE(old->objMethods, nullptr);
        const int16_t oldId = old->formResId;
        const Bytes oldImage = StoreRes(&dest_, FourCC("FOQz"), oldId);
        Conflicts conflicts;
        TConflict* tableRecord = nullptr;
        TConflict* formRecord = nullptr;
        ASSERT_EQ(transfer::RecordConflict(entry->ownerObj, Dst(1, "Stock"), 0, 9, conflicts.list, &tableRecord), 0);
        ASSERT_EQ(transfer::RecordConflict(entry, old, 3, 3, conflicts.list, &formRecord), 0);
        const int16_t savedUpdate = G_ModuleUpdate;
        if (!replaceable) {
            G_ModuleUpdate = 1;
            old->moduleState = 1;
        }
        TObjQz* made = nullptr;
        EXPECT_EQ(entry->Move(&dest_, conflicts.list, &made), 0);
        G_ModuleUpdate = savedUpdate;
        if (replaceable) {
            EXPECT_EQ(made, old);
            EXPECT_EQ(formRecord->fDest, old);
            EXPECT_EQ(old->formResId, oldId);
            EXPECT_EQ(readtest::P(old->name), "Old");
            EXPECT_NE(StoreRes(&dest_, FourCC("FOQz"), oldId), oldImage);
            EXPECT_EQ(old->objMethods ? old->objMethods->Size() : 0, 0);
        } else {
            EXPECT_EQ(made, nullptr);
            EXPECT_EQ(formRecord->fChoice, 4);
            EXPECT_EQ(StoreRes(&dest_, FourCC("FOQz"), oldId), oldImage);
        }
        ClosePair();
    }
}

// Every store write failing in turn while the form is dropped alone (its
// table, its method and its bar along, its image linked again): each run
// that fails leaves both files of the destination byte for byte; the run
// that lands holds the form.
TEST_F(FormListCopyTest, EveryFailingWriteOfAFormsDropLeavesTheDestinationAsItWas)
{
    BuildPair(kShop, kDepot);
    CloseDest();
    const auto pristine = DestFiles();
    int32_t failed = 0;
    for (int32_t after = 0; after < 400; ++after) {
        OpenDest();
        platform::PushDialogAnswer(1);
        platform::InjectFault(platform::FaultKind::DiskFull, after);
        const int16_t result = Drop({FormOf(&doc_, "Orders", "Entry")}, 1);
        const bool fired = !platform::IsFaultArmed(platform::FaultKind::DiskFull);
        platform::ClearAllFaults();
        platform::ClearDialogAnswers();
        if (result == 0) {
            // Landed (a failed write the store took again, or none): whole.
            ReopenDest();
            EXPECT_NE(FormOf(&dest_, "Orders_2", "Entry"), nullptr) << after;
            CloseDest();
            RestoreDest(pristine);
            if (!fired) break;
            continue;
        }
        CloseDest();
        ++failed;
        EXPECT_EQ(DestFiles(), pristine) << after << ": " << result;
    }
    EXPECT_GT(failed, 3);
}

}  // namespace
}  // namespace transfertest
