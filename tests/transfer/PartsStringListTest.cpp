// String lists copied into the demo's second structure Parts alongside the
// package whose routine list a copy also places there: whatever the order
// of the drops, every string list of Parts read again holds the strings of
// the demo's list of its name, the package's routine list is there once,
// named by the package's bundle, and the copied form Summary names the
// list Invoice_Texts where it landed.
#include <map>
#include <set>
#include <vector>

#include "design/plugins/BundleTable.h"
#include "platform/resfiles/Resources.h"
#include "tests/transfer/DemoConflictsFixture.h"
#include "transfer/driver/MoveDropped.h"

namespace transfertest {
namespace {

using Strings = std::vector<std::vector<uint8_t>>;

class PartsStringLists : public DemoConflicts {
protected:
    void SetUp() override
    {
        DemoConflicts::SetUp();
        ReopenParts(true);
    }
    void TearDown() override
    {
        platform::ClearDialogAnswers();
        DemoConflicts::TearDown();
    }
    // Parts read again, or a fresh copy of the build's when `fresh`.
    void ReopenParts(bool fresh)
    {
        if (target_.fTypeList) DisposeTypeList(target_.fTypeList);
        target_.fTypeList = nullptr;
        CloseQzB(target_.fRsrFile, target_.fResFile, -1, -1);
        OpenTarget(fresh ? CopyBuilt("Parts") : std::string(folder_ / "Parts.QzB"));
    }
    static Strings ListStrings(TMainDoc* doc, int16_t id)
    {
        Strings out;
        const int16_t saved = platform::CurResFile();
        platform::UseResFile(doc->fRsrFile);
        EXPECT_TRUE(ReadStringList(platform::Get1Resource(platform::FourCC("STR#"), id), &out)) << id;
        platform::UseResFile(saved);
        return out;
    }
    static TObjQz* FormNamed(TMainDoc* doc, const std::string& name)
    {
        ObjListHdl tables = GetObjListe(doc->fTypeList, 1);
        for (int32_t i = 0; tables && i < tables->Size(); ++i) {
            auto* t = dynamic_cast<TFileObjQz*>(tables->At(i));
            for (int32_t f = 0; t && t->forms && f < t->forms->Size(); ++f)
                if (readtest::P(t->forms->At(f)->name) == name) return t->forms->At(f);
        }
        return nullptr;
    }
};

TEST_F(PartsStringLists, EveryListReadAgainHoldsTheDemosListOfItsName)
{
    struct Case {
        const char* what;
        // One drop each: "form" Summary, the "package", or the package
        // with its routine list ("package+list").
        std::vector<std::string> drops;
        bool keepsId;  // Invoice_Texts keeps the demo's id 15000
    };
    const Case cases[] = {
        {"the form alone, bringing the package", {"form"}, true},
        {"the package first, then the form", {"package", "form"}, false},
        {"the form, then the package again", {"form", "package"}, true},
        {"the package with its routine list, then the form", {"package+list", "form"}, false},
        {"the form, then the package with its list", {"form", "package+list"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ReopenParts(true);
        for (const std::string& drop : c.drops) {
            TObjQz* rows[2] = {drop == "form" ? FormNamed(&doc_, "Summary") : In(&doc_, 7, "_Invoicing_Tools"),
                               In(&doc_, 11, "Invoicing_Tools routines")};
            ASSERT_NE(rows[0], nullptr) << drop;
            ASSERT_NE(rows[1], nullptr);
            const int16_t count = drop == "package+list" ? 2 : 1;
            platform::PushDialogAnswer(1);
            ASSERT_EQ(transfer::MoveDropped(&doc_, &target_, rows, count, 1), 0) << drop;
            platform::ClearDialogAnswers();
        }
        ReopenParts(false);

        std::map<std::string, int16_t> lists;
        std::map<std::string, int32_t> named;
        ObjListHdl all = GetObjListe(target_.fTypeList, 11);
        for (int32_t i = 0; all && i < all->Size(); ++i) {
            TObjQz* list = all->At(i);
            TObjQz* source = In(&doc_, 11, readtest::P(list->name));
            ASSERT_NE(source, nullptr) << "a list named " << readtest::P(list->name) << " under " << list->id;
            EXPECT_EQ(ListStrings(&target_, list->id), ListStrings(&doc_, source->id)) << readtest::P(list->name);
            lists[readtest::P(list->name)] = list->id;
            ++named[readtest::P(list->name)];
        }
        EXPECT_EQ(named["Invoicing_Tools routines"], 1);
        // The package copied names its routine list.
        TObjQz* package = In(&target_, 7, "_Invoicing_Tools");
        ASSERT_NE(package, nullptr);
        ASSERT_EQ(package->Parse(), 0);
        std::set<int16_t> bundled;
        for (int32_t i = 0; package->uses && i < package->uses->Size(); ++i)
            if (package->uses->At(i)->kind == 11) bundled.insert(package->uses->At(i)->id);
        EXPECT_EQ(bundled, std::set<int16_t>{lists["Invoicing_Tools routines"]});
        ASSERT_TRUE(lists.count("Invoice_Texts"));
        EXPECT_EQ(lists["Invoice_Texts"] == 15000, c.keepsId) << lists["Invoice_Texts"];

        // The copied form's string list reference names Invoice_Texts.
        TObjQz* copy = FormNamed(&target_, "Summary");
        ASSERT_NE(copy, nullptr);
        ASSERT_EQ(copy->Parse(), 0);
        std::set<int16_t> referenced;
        for (int32_t i = 0; copy->uses && i < copy->uses->Size(); ++i)
            if (copy->uses->At(i)->kind == 11) referenced.insert(copy->uses->At(i)->id);
        EXPECT_EQ(referenced, std::set<int16_t>{lists["Invoice_Texts"]});
    }
}

}  // namespace
}  // namespace transfertest
