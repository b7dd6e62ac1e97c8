// A form as a design object: its stored data brought to a big-endian chunk
// file (and left alone when it does not read whole), deleted from its
// table in one commit, renamed, named, and checked against its table's
// component.
#include <algorithm>

#include "app/dialogs/Messages.h"
#include "design/forms/FormModelUse.h"
#include "design/forms/FormTable.h"
#include "design/links/TokenAccess.h"
#include "forms/kernel/KernelRecords.h"
#include "forms/layout/PageTable.h"
#include "forms/objects/LayoutObject.h"
#include "forms/reader/FlatLayout.h"
#include "forms/reader/FormReader.h"
#include "platform/core/Endian.h"
#include "platform/events/DialogAnswers.h"
#include "tests/design/ReadFixture.h"

namespace readtest {
namespace {

constexpr const char* kForms = R"(structure Forms
table Customers
  field Name alpha 40
  field Town alpha 30
  form Entry iff
    field Name
  form Listing
    field Name method 40
      command 41 ( field Customers.Name )
    page 2
    rect
    field Town
  form Card iff
    rect
table Lines
  field Product alpha 40
  form Line_Entry
    field Product method 42
      local Count op 7 int32 1
component Tools id 20 version "1.0" prefix "tl" comments "Tools"
  public
    form Customers.Card
    table Lines
    form Lines.Line_Entry
)";

const uint32_t kFOQz = FourCC("FOQz"), kTFQz = FourCC("TFQz"), kCCQz = FourCC("CCQz");

// "name:kind:top,left" for every object of every page, page by page.
std::vector<std::string> Described(platform::Handle pages)
{
    std::vector<std::string> out;
    for (int32_t p = 0; p <= LastPageIndex(pages); ++p) {
        PageEntry e;
        GetPage(pages, p, &e);
        for (LayoutObject* o = e.first; o; o = o->next)
            out.push_back(std::to_string(p) + " " + P(o->name) + ":" + std::to_string(o->GetObjectType()) + ":" +
                          std::to_string(o->bounds[0]) + "," + std::to_string(o->bounds[1]));
    }
    return out;
}

class FormObject : public ReadFixture {
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        built_ = Build(kForms);
        Open(built_);
        ASSERT_EQ(Read(), 0);
        UseQzRes(doc_.fResFile);
    }
    TLayoutObjQz* Form(const std::string& table, const std::string& name)
    {
        auto* t = static_cast<TFileObjQz*>(Find(1, table));
        for (int32_t i = 0; t && t->forms && i < t->forms->Size(); ++i)
            if (P(t->forms->At(i)->name) == name) return static_cast<TLayoutObjQz*>(t->forms->At(i));
        return nullptr;
    }
    std::vector<std::string> FormNames(const std::string& table)
    {
        std::vector<std::string> names;
        auto* t = static_cast<TFileObjQz*>(Find(1, table));
        for (int32_t i = 0; t->forms && i < t->forms->Size(); ++i) names.push_back(P(t->forms->At(i)->name));
        return names;
    }
    int16_t TableFormsId(const std::string& table) { return FormTableIdOf(Find(1, table)); }
    docbuilder::BuildResult built_;
};

TEST_F(FormObject, AFlatFormBecomesAChunkFileOfTheObjectsItHeld)
{
    TLayoutObjQz* listing = Form("Customers", "Listing");
    ASSERT_NE(listing, nullptr);
    Bytes flat = Stored(kFOQz, listing->formResId);
    ASSERT_EQ(flat[0], 13);
    std::vector<std::string> read;
    {
        DocTables tables(&doc_);
        // Default names count from 1 in each form read, as ReadLayout starts them.
        ResetObjIndex();
        platform::Handle pages = NewPageTable(2);
        char* at = reinterpret_cast<char*>(flat.data()) + 4;
        int32_t remaining = int32_t(flat.size()) - 4;
        for (int16_t p = 1; p <= 2; ++p) {
            LayoutObject* last = nullptr;
            LayoutObject* first = ReadLayoutData(&at, &remaining, nullptr, &last);
            SetPage(pages, p, PageEntry{first, last});
        }
        read = Described(pages);
        DestroyPages(pages);
    }
    ASSERT_EQ(read.size(), 3u);
    platform::Handle image = nullptr;
    platform::PtrToHand(flat.data(), &image, platform::Size(flat.size()));
    ASSERT_EQ(listing->ConvertLayout(image), 0);
    ASSERT_EQ(std::string(*image, 4), "FORM");
    CustomClientFrame frame;
    InitFormReadingFrame(&frame, nullptr);
    ASSERT_EQ(ReadFormImage(image, &frame), 0);
    EXPECT_EQ(Described(frame.pages), read);
    EXPECT_EQ(read[2], "2 Field2:1:36,10");
    DestroyPages(frame.pages);
    platform::DisposeHandle(image);
    // The resource itself was not written; scaling writes it, halved.
    EXPECT_EQ(Stored(kFOQz, listing->formResId), flat);
    ASSERT_EQ(listing->ScaleLayout(ScaleLayoutParmRec{50, 0}), 0);
    image = xget1res(kFOQz, listing->formResId);
    InitFormReadingFrame(&frame, nullptr);
    ASSERT_EQ(ReadFormImage(image, &frame), 0);
    // The builder lays the rows out from top 10, 26 apart, left 10.
    EXPECT_EQ(Described(frame.pages)[2], "2 Field2:1:18,5");
    DestroyPages(frame.pages);
}

TEST_F(FormObject, AFormThatDoesNotReadWholeStaysByteForByte)
{
    TLayoutObjQz* listing = Form("Customers", "Listing");
    Bytes flat = Stored(kFOQz, listing->formResId);
    // An empty handle is no form, though the stored one reads whole.
    platform::Handle empty = platform::NewHandle(0);
    EXPECT_EQ(listing->ConvertLayout(empty), 9001);
    EXPECT_EQ(platform::GetHandleSize(empty), 0);
    platform::DisposeHandle(empty);
    std::vector<Bytes> cases = {{13}, {13, 0}, {13, 0, 0}, Bytes(flat.begin(), flat.end() - 3)};
    for (const Bytes& stored : cases) {
        platform::Handle res = xget1res(kFOQz, listing->formResId);
        platform::SetHandleSize(res, platform::Size(stored.size()));
        std::copy(stored.begin(), stored.end(), reinterpret_cast<uint8_t*>(*res));
        EXPECT_EQ(listing->ConvertLayout(res), 9001) << stored.size() << " bytes";
        EXPECT_EQ(Stored(kFOQz, listing->formResId), stored) << stored.size() << " bytes";
    }
    // Each failure says its cause: damage, or memory short.
    EXPECT_EQ(listing->ScaleLayout(ScaleLayoutParmRec{50, 0}), 9001);
    {
        platform::Handle res = xget1res(kFOQz, listing->formResId);
        platform::ScopedFault memory(platform::FaultKind::Allocation, 0, -1);
        EXPECT_EQ(listing->ConvertLayout(res), -108);
    }
}

TEST_F(FormObject, DeletingAFormRemovesItsEntryDataAndMethodsFromTheDocument)
{
    const int16_t customers = TableFormsId("Customers"), lines = TableFormsId("Lines");
    // Both positions at the last form, and two bytes after the entries.
    platform::Handle stored = xget1res(kTFQz, customers);
    const Bytes held = Stored(kTFQz, customers);
    Bytes before(held);
    before[3] = 3, before[5] = 3;
    before.insert(before.end(), {0xAB, 0xCD});
    platform::SetHandleSize(stored, platform::Size(before.size()));
    std::copy(before.begin(), before.end(), reinterpret_cast<uint8_t*>(*stored));
    TLayoutObjQz* listing = Form("Customers", "Listing");
    const int16_t formId = listing->formResId;
    ASSERT_EQ(listing->objMethods ? listing->objMethods->Size() : 0, 1);
    const int16_t methodId = listing->objMethods->At(0)->id;
    const int32_t at = 6 + FindFormEntry(before, formId) * 270;
    listing->DeleteObj(true);
    Form("Lines", "Line_Entry")->DeleteObj(true);
    EXPECT_EQ(FormNames("Customers"), (std::vector<std::string>{"Card", "Entry"}));
    Reopen(built_);
    UseQzRes(doc_.fResFile);
    Bytes expected(before);
    expected.erase(expected.begin() + at, expected.begin() + at + 270);
    expected[1] = 2, expected[3] = 2, expected[5] = 2;
    EXPECT_EQ(Stored(kTFQz, customers), expected);
    EXPECT_TRUE(Stored(kFOQz, formId).empty());
    EXPECT_TRUE(Stored(kCCQz, methodId).empty());
    // The last form of a table: the header alone, count and positions 0.
    EXPECT_EQ(Stored(kTFQz, lines), (Bytes{0, 0, 0, 0, 0, 0}));
}

// The disk fails from one write of the deletion on, as a crash there would
// leave it, each write in turn until the deletion goes through: one that
// fails says so, keeps the form in its table and on disk whole (entry, data
// and methods); the one that goes through removes them all for good.
TEST_F(FormObject, ADeletionThatCannotBeCommittedLeavesTheFormWhole)
{
    int32_t failed = 0;
    for (int32_t write = 0;; ++write) {
        ASSERT_LT(write, 100);
        Reopen(built_);
        ASSERT_EQ(Read(), 0);
        UseQzRes(doc_.fResFile);
        const int16_t customers = TableFormsId("Customers");
        TLayoutObjQz* listing = Form("Customers", "Listing");
        ASSERT_NE(listing, nullptr);
        const int16_t formId = listing->formResId, methodId = listing->objMethods->At(0)->id;
        const Bytes table = Stored(kTFQz, customers), form = Stored(kFOQz, formId), method = Stored(kCCQz, methodId);
        const int32_t alerts = AlertCount();
        {
            platform::ScopedFault full(platform::FaultKind::DiskFull, write, -1);
            listing->DeleteObj(true);
        }
        const bool deleted = Form("Customers", "Listing") == nullptr;
        EXPECT_EQ(AlertCount() == alerts, deleted) << "write " << write;
        if (!deleted) {
            ++failed;
            EXPECT_EQ(Stored(kTFQz, customers), table) << "write " << write;
        }
        Reopen(built_);
        ASSERT_EQ(Read(), 0);
        UseQzRes(doc_.fResFile);
        EXPECT_EQ(Form("Customers", "Listing") == nullptr, deleted) << "write " << write;
        EXPECT_EQ(Stored(kTFQz, customers).size(), table.size() - (deleted ? 270 : 0)) << "write " << write;
        EXPECT_EQ(Stored(kFOQz, formId), deleted ? Bytes{} : form) << "write " << write;
        EXPECT_EQ(Stored(kCCQz, methodId), deleted ? Bytes{} : method) << "write " << write;
        if (deleted) break;
    }
    // The deletion writes before it is done: its first writes fail it.
    EXPECT_GE(failed, 2);
}

// A deletion that cannot keep a copy of what it removes does not go
// ahead: were its commit to fail, the store could not be put back.
TEST_F(FormObject, ADeletionThatCannotKeepACopyLeavesTheFormWhole)
{
    const int16_t customers = TableFormsId("Customers");
    TLayoutObjQz* listing = Form("Customers", "Listing");
    const int16_t formId = listing->formResId, methodId = listing->objMethods->At(0)->id;
    const Bytes table = Stored(kTFQz, customers), form = Stored(kFOQz, formId), method = Stored(kCCQz, methodId);
    // The method is read again for its copy, and memory runs out there.
    platform::Handle loaded = xget1res(kCCQz, methodId);
    ASSERT_TRUE(detachres(loaded));
    platform::DisposeHandle(loaded);
    {
        platform::ScopedFault full(platform::FaultKind::DiskFull, 0, -1);
        platform::ScopedFault memory(platform::FaultKind::Allocation, 0);
        listing->DeleteObj(true);
    }
    EXPECT_EQ(Form("Customers", "Listing"), listing);
    EXPECT_EQ(Stored(kTFQz, customers), table);
    EXPECT_EQ(Stored(kFOQz, formId), form);
    EXPECT_EQ(Stored(kCCQz, methodId), method);
}

// A form whose data is gone already still leaves its table for good.
TEST_F(FormObject, AFormWithoutItsDataIsDeletedFromItsTable)
{
    TLayoutObjQz* entry = Form("Customers", "Entry");
    ASSERT_TRUE(entry->objMethods == nullptr || entry->objMethods->Size() == 0);
    ASSERT_EQ(entry->formMethod, nullptr);
    const int16_t customers = TableFormsId("Customers");
    const size_t before = Stored(kTFQz, customers).size();
    ASSERT_TRUE(rmveresbyid(kFOQz, entry->formResId, true));
    entry->DeleteObj(true);
    Reopen(built_);
    ASSERT_EQ(Read(), 0);
    UseQzRes(doc_.fResFile);
    EXPECT_EQ(Stored(kTFQz, customers).size(), before - 270);
    EXPECT_EQ(Form("Customers", "Entry"), nullptr);
}

// A deleted form leaves no link behind in what it used.
TEST_F(FormObject, ADeletedFormIsNoLongerUsingAnything)
{
    TLayoutObjQz* listing = Form("Customers", "Listing");
    ASSERT_EQ(listing->Parse(), 0);
    std::vector<TObjQz*> used;
    // (Its own methods go with it.)
    for (int32_t i = 0; listing->uses && i < listing->uses->Size(); ++i)
        if (!IsInList(listing->objMethods, listing->uses->At(i))) used.push_back(listing->uses->At(i));
    ASSERT_FALSE(used.empty());
    listing->DeleteObj(true);
    for (TObjQz* u : used) EXPECT_FALSE(IsInList(u->usedBy, listing)) << P(u->name);
}

// A form goes to the trash and back with its form method and its
// objects' methods.
TEST_F(FormObject, AFormsMethodsFollowItToTheTrash)
{
    TLayoutObjQz* entry = Form("Customers", "Entry");
    TLayoutObjQz* listing = Form("Customers", "Listing");
    TObjQz* objectMethod = listing->objMethods->At(0);
    entry->formMethod = objectMethod;
    for (const bool on : {true, false}) {
        entry->SetTrashFlags(on);
        EXPECT_EQ(objectMethod->TstFlag(kFlagInTrash), on);
        EXPECT_EQ(entry->TstFlag(kFlagInTrash), on);
    }
    entry->formMethod = nullptr;
    listing->SetTrashFlags(true);
    EXPECT_TRUE(objectMethod->TstFlag(kFlagInTrash));
    listing->SetTrashFlags(false);
}

// A form joins a copy list once.
TEST_F(FormObject, AFormJoinsACopyListOnce)
{
    TLayoutObjQz* listing = Form("Customers", "Listing");
    ObjListHdl list = nullptr;
    ASSERT_EQ(NewObjList(&list, 4), 0);
    for (int pass = 0; pass < 2; ++pass) EXPECT_EQ(listing->SelfAddObjList(&list, 1), 0);
    ASSERT_EQ(list->Size(), 1);
    EXPECT_EQ(list->At(0), listing);
    FreeObjList(list);
}

// The field list a form model gets is a copy of its table's; the table's
// forms resource is named at offset 4 of it, -1 when it is too short.
TEST_F(FormObject, TheTablesFieldListIsCopiedAndNamesItsFormsResource)
{
    TObjQz* customers = Find(1, "Customers");
    EXPECT_EQ(FieldListCopy(nullptr), nullptr);
    platform::Handle copy = FieldListCopy(customers);
    ASSERT_NE(copy, nullptr);
    platform::Handle def = xget1res(FourCC("FIQz"), customers->id);
    EXPECT_NE(copy, def);
    EXPECT_EQ(Bytes(*copy, *copy + platform::GetHandleSize(copy)), Stored(FourCC("FIQz"), customers->id));
    platform::DisposeHandle(copy);
    EXPECT_EQ(FormTableIdOf(nullptr), -1);
    EXPECT_EQ(FormTableIdOf(customers), int16_t(platform::ReadBE16(*def + 4)));
    platform::SetHandleSize(def, 5);
    reinterpret_cast<uint8_t*>(*def)[4] = 0x12;
    EXPECT_EQ(FormTableIdOf(customers), -1);
}

TEST_F(FormObject, ARenamedFormIsStoredCutAndSortedAgain)
{
    TLayoutObjQz* entry = Form("Customers", "Entry");
    const std::string longName = "Zentry_" + std::string(33, 'x');
    unsigned char name[256];
    apptest::ToP(longName, name);
    TObjQz* renamed = nullptr;
    entry->DoReplace(name, true, nullptr, &renamed, false);
    EXPECT_EQ(renamed, entry);
    EXPECT_EQ(P(entry->name), longName.substr(0, 31));
    EXPECT_EQ(FormNames("Customers"), (std::vector<std::string>{"Card", "Listing", longName.substr(0, 31)}));
    Reopen(built_);
    ASSERT_EQ(Read(), 0);
    EXPECT_NE(Form("Customers", longName.substr(0, 31)), nullptr);
    unsigned char full[256];
    Form("Customers", "Card")->GetStructName(full);
    EXPECT_EQ(P(full), "[Customers]: Card");
}

TEST_F(FormObject, AFormBelongsToItsTablesComponent)
{
    struct Case {
        const char* table;
        const char* form;
        bool sameComponent;
    };
    for (const Case& c : {Case{"Customers", "Entry", true}, Case{"Customers", "Card", false},
                          Case{"Lines", "Line_Entry", true}}) {
        const int32_t alerts = AlertCount();
        EXPECT_EQ(Form(c.table, c.form)->CheckModuleProject(), c.sameComponent) << c.form;
        EXPECT_EQ(AlertCount(), alerts + (c.sameComponent ? 0 : 1)) << c.form;
    }
    EXPECT_EQ(LastAlert().alertId, 1000);
    EXPECT_EQ(LastAlert().text, "[Customers] and [Customers]: Card must belong to the same component.");
    // On a server's structure a form is neither renamed nor deleted.
    doc_.fRemote = true;
    EXPECT_FALSE(Form("Customers", "Entry")->EnableReplace() || Form("Customers", "Entry")->EnableDelete());
    doc_.fRemote = false;
}

TEST_F(FormObject, TheKernelLoadsAFormWithItsOwnTable)
{
    DocTables tables(&doc_);
    TLayoutObjQz* entry = Form("Customers", "Entry");
    int16_t err = -1;
    platform::Handle form = x_getform(entry->formResId, &err);
    EXPECT_EQ(err, 0);
    ASSERT_NE(form, nullptr);
    ObjHandle field = nullptr;
    FormPage(form, 1, &field, nullptr);
    ASSERT_EQ(ObjKind(field), objrec::kField);
    EXPECT_EQ(RecByte(field, objrec::field::kTable), 1);
    x_effform(&form);
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(x_getform(999, &err), nullptr);
    EXPECT_NE(err, 0);
}

}  // namespace
}  // namespace readtest
