// The form movers over the forms layer's seam: which walk an image goes
// to, a form's row, image and method copied into another table, and the
// forms layer's walks moving the object methods the copy names.
#include <cstring>
#include <set>

#include "design/transfer/TableRecords.h"
#include "forms/walkers/FormObjectWalks.h"
#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "tests/transfer/CopyFixture.h"
#include "transfer/driver/TransferSession.h"
#include "transfer/movers/FormMovers.h"

namespace transfertest {
namespace {

using namespace tables;

const char* kShop = R"(structure Shop
table Orders
  field Number longint
  form Entry iff
    field Number
    method
      comment "entry"
  form Plain iff
    field Number
)";

int gChunked = 0;

class FormSeamTest : public CopyFixture {
protected:
    void TearDown() override
    {
        ResetFormObjectWalks();
        CopyFixture::TearDown();
    }
};

// 'FORM' or 'MROF' goes to the chunk walk; anything else (shorter than a
// tag too, or a flat form, made a chunk file before any copy) is no form:
// 9001. Without walks a form is taken as it is, nothing moved.
TEST_F(FormSeamTest, AnImageGoesToItsWalkOrIsNoForm)
{
    struct Case {
        std::string bytes;
        int16_t result;
        int chunked;
    };
    const Case cases[] = {{"FORM\0\0\0\4", 0, 1}, {"MROF\4\0\0\0", 0, 1}, {"\x0d\1\2", 9001, 0}, {"FOR", 9001, 0},
                          {"\x0c", 9001, 0},        {"", 9001, 0},           {"form", 9001, 0}};
    for (const bool walks : {false, true}) {
        if (walks) {
            FormObjectWalks w;
            w.moveChunked = [](platform::Handle, TMainDoc*, TMainDoc*, FormScriptMover move, std::vector<int16_t>* moved) {
                ++gChunked;
                moved->push_back(7);
                return int16_t(move ? 0 : -1);
            };
            SetFormObjectWalks(w);
        } else {
            ResetFormObjectWalks();
        }
        for (const Case& c : cases) {
            gChunked = 0;
            platform::Handle h = nullptr;
            ASSERT_EQ(platform::PtrToHand(c.bytes.data(), &h, platform::Size(c.bytes.size())), 0);
            std::vector<int16_t> moved;
            EXPECT_EQ(transfer::MoveFormObject(h, &doc_, &dest_, &moved), c.result) << c.bytes << walks;
            EXPECT_EQ(gChunked, walks ? c.chunked : 0) << c.bytes;
            EXPECT_EQ(moved.size(), size_t(walks ? c.chunked : 0)) << c.bytes;
            platform::DisposeHandle(h);
        }
    }
}

// The source's row lands as the destination table's next one: new name,
// form id and form method id, every other byte as it was; the default
// input form mark follows its form; the image comes byte for byte; 'Look'
// 128 is brought when the destination has none.
TEST_F(FormSeamTest, AFormsRowImageAndMethodLandInTheTable)
{
    BuildPair(kShop, "structure Depot\ntable Stock\n  field Code longint\n  form Old iff\n    field Code\n");
    ASSERT_EQ(transfer::PutStoreBytes(&doc_, FourCC("Look"), 128, Bytes(8, 0x3C)), 0);
    ASSERT_EQ(transfer::CommitNoMap(&doc_), 0);
    auto* orders = dynamic_cast<TFileObjQz*>(Src(1, "Orders"));
    TObjQz* stock = Dst(1, "Stock");
    ASSERT_NE(orders, nullptr);
    ASSERT_NE(stock, nullptr);
    TLayoutObjQz* entry = nullptr;
    for (int32_t i = 0; orders->forms && i < orders->forms->Size(); ++i)
        if (readtest::P(orders->forms->At(i)->name) == "Entry") entry = dynamic_cast<TLayoutObjQz*>(orders->forms->At(i));
    ASSERT_NE(entry, nullptr);
    auto table = [](TMainDoc* doc, TObjQz* t) {
        const Bytes def = StoreRes(doc, FourCC("FIQz"), t->id);
        return StoreRes(doc, FourCC("TFQz"), S16(def, kFormTableAt));
    };
    const Bytes from = table(&doc_, orders);
    int32_t r = 0;
    for (int32_t i = 1; i <= FormCount(from); ++i)
        if (S16(from, FormRowAt(i) + kFormIdAt) == entry->formResId) r = i;
    ASSERT_GT(r, 0);
    // Entry is the source's default input form.
    Bytes marked = from;
    Put16(marked, kDefaultInputAt, int16_t(r));
    ASSERT_EQ(transfer::PutStoreBytes(&doc_, FourCC("TFQz"), S16(StoreRes(&doc_, FourCC("FIQz"), orders->id), kFormTableAt), marked), 0);
    ASSERT_EQ(transfer::CommitNoMap(&doc_), 0);
    ASSERT_TRUE(StoreRes(&dest_, FourCC("Look"), 128).empty());

    TObjQz* made = nullptr;
    const unsigned char newName[] = "\x06" "Intake";
    ASSERT_EQ(transfer::MoveLayOut(&doc_, &dest_, entry, stock, &made, newName), 0);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(readtest::P(made->name), "Intake");
    const Bytes to = table(&dest_, stock);
    ASSERT_EQ(FormCount(to), 2);
    const size_t row = FormRowAt(2), source = FormRowAt(r);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&to[row + 1]), to[row]), "Intake");
    const int16_t formId = S16(to, row + kFormIdAt), methodId = S16(to, row + kFormMethodAt);
    EXPECT_EQ(formId, dynamic_cast<TLayoutObjQz*>(made)->formResId);
    EXPECT_NE(methodId, 0);
    EXPECT_NE(S16(from, source + kFormMethodAt), 0);
    EXPECT_TRUE(std::equal(to.begin() + row + kFormIdAt + 2, to.begin() + row + kFormMethodAt,
                           from.begin() + source + kFormIdAt + 2));
    EXPECT_TRUE(std::equal(to.begin() + row + kFormMethodAt + 2, to.begin() + row + kFormRowSize,
                           from.begin() + source + kFormMethodAt + 2));
    EXPECT_EQ(S16(to, kDefaultInputAt), 2);
    EXPECT_EQ(StoreRes(&dest_, FourCC("FOQz"), formId), StoreRes(&doc_, FourCC("FOQz"), entry->formResId));
    const Bytes code = StoreRes(&doc_, FourCC("CCQz"), S16(from, source + kFormMethodAt));
    EXPECT_FALSE(code.empty());
    EXPECT_EQ(StoreRes(&dest_, FourCC("CCQz"), methodId), code);
    EXPECT_EQ(StoreRes(&dest_, FourCC("Look"), 128), Bytes(8, 0x3C));
}

// Replacing a destination form: it keeps its id, name and place; its image
// and the resources beside it become the source's (its own stale ones
// leave), its row takes every byte after the form id from the source's
// with a new form method; 'Look' 128 comes when missing. Each store write
// failing in turn inside a transfer leaves the destination byte for byte.
TEST_F(FormSeamTest, AReplacedFormTakesTheSourcesImageRowAndMethodWholeOrNotAtAll)
{
    const char* depot = "structure Depot\ntable Stock\n  field Code longint\n  form Old iff\n    field Code\n"
                        "    method\n      comment \"old\"\n  form Kept iff\n    field Code\n";
    BuildPair(kShop, depot);
    const uint32_t fonts = FourCC("FON#"), print = FourCC("PSQz"), look = FourCC("Look");
    auto formOf = [](TObjQz* table, const std::string& name) -> TLayoutObjQz* {
        auto* t = dynamic_cast<TFileObjQz*>(table);
        for (int32_t i = 0; t && t->forms && i < t->forms->Size(); ++i)
            if (readtest::P(t->forms->At(i)->name) == name) return dynamic_cast<TLayoutObjQz*>(t->forms->At(i));
        return nullptr;
    };
    auto tableOf = [](TMainDoc* doc, TObjQz* t) {
        return std::pair{StoreRes(doc, FourCC("TFQz"), S16(StoreRes(doc, FourCC("FIQz"), t->id), kFormTableAt)),
                         S16(StoreRes(doc, FourCC("FIQz"), t->id), kFormTableAt)};
    };
    TLayoutObjQz* entry = formOf(Src(1, "Orders"), "Entry");
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(transfer::PutStoreBytes(&doc_, fonts, entry->formResId, Bytes(6, 0x21)), 0);
    ASSERT_EQ(transfer::PutStoreBytes(&doc_, look, 128, Bytes(8, 0x3C)), 0);
    ASSERT_EQ(transfer::CommitNoMap(&doc_), 0);
    {
        TLayoutObjQz* old = formOf(Dst(1, "Stock"), "Old");
        ASSERT_NE(old, nullptr);
        ASSERT_EQ(transfer::PutStoreBytes(&dest_, print, old->formResId, Bytes(4, 0x77)), 0);
        ASSERT_EQ(transfer::CommitNoMap(&dest_), 0);
    }
    CloseDest();
    const auto pristine = DestFiles();
    const auto [from, fromId] = tableOf(&doc_, Src(1, "Orders"));
    int32_t r = 0;
    for (int32_t i = 1; i <= FormCount(from); ++i)
        if (S16(from, FormRowAt(i) + kFormIdAt) == entry->formResId) r = i;
    ASSERT_GT(r, 0);

    int32_t failed = 0;
    for (int32_t after = 0; after < 40; ++after) {
        OpenDest();
        TObjQz* target = formOf(Dst(1, "Stock"), "Old");
        ASSERT_NE(target, nullptr);
        const int16_t formId = dynamic_cast<TLayoutObjQz*>(target)->formResId;
        const auto [before, tableId] = tableOf(&dest_, Dst(1, "Stock"));
        int32_t at = 0;
        for (int32_t i = 1; i <= FormCount(before); ++i)
            if (S16(before, FormRowAt(i) + kFormIdAt) == formId) at = i;
        ASSERT_GT(at, 0);
        const int16_t oldMethod = S16(before, FormRowAt(at) + kFormMethodAt);
        transfer::TransferSession session;
        ASSERT_EQ(session.Begin(&dest_), 0);
        int16_t result = 0;
        {
            platform::ScopedFault fault(platform::FaultKind::DiskFull, after);
            result = transfer::ReplaceLayOut(&doc_, &dest_, entry, &target);
            if (result == 0) result = session.Commit();
        }
        if (result != 0) {
            session.RollBack();
            CloseDest();
            EXPECT_EQ(DestFiles(), pristine) << after;
            RestoreDest(pristine);
            ++failed;
            continue;
        }
        EXPECT_EQ(target, formOf(Dst(1, "Stock"), "Old"));
        EXPECT_EQ(dynamic_cast<TLayoutObjQz*>(target)->formResId, formId);
        const Bytes to = StoreRes(&dest_, FourCC("TFQz"), tableId);
        ASSERT_EQ(to.size(), before.size());
        const size_t row = FormRowAt(at), source = FormRowAt(r);
        EXPECT_TRUE(std::equal(to.begin() + row, to.begin() + row + kFormIdAt + 2, before.begin() + row));
        EXPECT_TRUE(std::equal(to.begin() + row + kFormIdAt + 2, to.begin() + row + kFormMethodAt,
                               from.begin() + source + kFormIdAt + 2));
        EXPECT_TRUE(std::equal(to.begin() + row + kFormMethodAt + 2, to.begin() + row + kFormRowSize,
                               from.begin() + source + kFormMethodAt + 2));
        const int16_t methodId = S16(to, row + kFormMethodAt);
        EXPECT_NE(methodId, oldMethod);
        EXPECT_NE(oldMethod, 0);
        EXPECT_EQ(StoreRes(&dest_, FourCC("CCQz"), oldMethod), Bytes{});
        EXPECT_EQ(StoreRes(&dest_, FourCC("CCQz"), methodId),
                  StoreRes(&doc_, FourCC("CCQz"), S16(from, source + kFormMethodAt)));
        EXPECT_EQ(StoreRes(&dest_, FourCC("FOQz"), formId), StoreRes(&doc_, FourCC("FOQz"), entry->formResId));
        EXPECT_EQ(StoreRes(&dest_, fonts, formId), Bytes(6, 0x21));
        EXPECT_EQ(StoreRes(&dest_, print, formId), Bytes{});
        EXPECT_EQ(StoreRes(&dest_, look, 128), Bytes(8, 0x3C));
        // The other form and rows as they were.
        for (int32_t i = 1; i <= FormCount(before); ++i) {
            if (i == at) continue;
            EXPECT_TRUE(std::equal(to.begin() + FormRowAt(i), to.begin() + FormRowAt(i) + kFormRowSize,
                                   before.begin() + FormRowAt(i)));
        }
        CloseDest();
        break;
    }
    EXPECT_GE(failed, 3);

    // A form whose method object was made (its links read): the object
    // names the new method.
    RestoreDest(pristine);
    OpenDest();
    {
        auto* target = formOf(Dst(1, "Stock"), "Old");
        ASSERT_EQ(target->Parse(), 0);
        ASSERT_NE(target->formMethod, nullptr);
        TObjQz* method = target->formMethod;
        TObjQz* replaced = target;
        ASSERT_EQ(transfer::ReplaceLayOut(&doc_, &dest_, entry, &replaced), 0);
        EXPECT_EQ(target->formMethod, method);
        EXPECT_EQ(method->id, target->formMethodId);
        EXPECT_EQ(StoreRes(&dest_, FourCC("CCQz"), method->id),
                  StoreRes(&doc_, FourCC("CCQz"), S16(from, FormRowAt(r) + kFormMethodAt)));
        CloseDest();
    }

    // Refused before anything is written: a form its table does not list
    // on either side, an image that is no form, or a chunk file whose
    // chunks do not read (said as a damaged form, not as memory).
    struct Refusal {
        const char* what;
        int16_t result;
    };
    for (const Refusal& c : {Refusal{"source row", transfer::kRecordMissing}, Refusal{"destination row", transfer::kRecordMissing},
                             Refusal{"no form", transfer::kNotAForm}, Refusal{"damaged", transfer::kNotAForm}}) {
        RestoreDest(pristine);
        OpenDest();
        TObjQz* target = formOf(Dst(1, "Stock"), "Old");
        const std::string what = c.what;
        auto* form = entry;
        const int16_t keep = entry->formResId;
        if (what == "source row") entry->formResId = 30000;
        if (what == "destination row") dynamic_cast<TLayoutObjQz*>(target)->formResId = 30000;
        if (what == "no form" || what == "damaged") {
            const Bytes image = what == "no form" ? Bytes{'f', 'o', 'r', 'm'}
                                                  : Bytes{'F', 'O', 'R', 'M', 0, 0, 0, 40, 'F', 'O', 'Q', 'z', 'T', 'E'};
            ASSERT_EQ(transfer::PutStoreBytes(&doc_, FourCC("FOQz"), 30001, image), 0);
            Bytes row = from;
            Put16(row, FormRowAt(r) + kFormIdAt, 30001);
            ASSERT_EQ(transfer::PutStoreBytes(&doc_, FourCC("TFQz"), fromId, row), 0);
            entry->formResId = 30001;
        }
        EXPECT_EQ(transfer::ReplaceLayOut(&doc_, &dest_, form, &target), c.result) << what;
        entry->formResId = keep;
        if (what == "no form" || what == "damaged") {
            ASSERT_EQ(transfer::PutStoreBytes(&doc_, FourCC("TFQz"), fromId, from), 0);
        }
        CloseDest();
        EXPECT_EQ(DestFiles(), pristine) << what;
    }
}

// The data of the nth chunk `id` anywhere in a form image.
Bytes ChunkIn(const Bytes& image, const char* id, int nth = 0)
{
    for (size_t at = 0; at + 8 <= image.size(); ++at)
        if (std::memcmp(&image[at], id, 4) == 0 && nth-- == 0) {
            const size_t size = platform::ReadBE32(&image[at + 4]);
            if (at + 8 + size <= image.size()) return Bytes(image.data() + at + 8, image.data() + at + 8 + size);
        }
    return {};
}

// With the forms layer's walks (installed with the transfer), the copied
// image names the destination's copies of its field's, variable's and
// list box column's object methods, each code as the source's.
TEST_F(FormSeamTest, ACopiedFormsObjectMethodsArriveUnderTheirNewIds)
{
    BuildPair(R"(structure Shop
table Orders
  field Number longint
  form Entry iff
    field Number method 40
      comment "number"
    variable vTotal method 41
      comment "total"
    listbox Lines var aLines
      column aCol method 42 header hCol "Title"
        comment "column"
)",
              "structure Depot\ntable Stock\n  field Code longint\n");
    ASSERT_NE(CurrentFormObjectWalks().moveChunked, nullptr);
    auto* orders = dynamic_cast<TFileObjQz*>(Src(1, "Orders"));
    TObjQz* stock = Dst(1, "Stock");
    ASSERT_NE(orders, nullptr);
    ASSERT_NE(stock, nullptr);
    ASSERT_TRUE(orders->forms && orders->forms->Size() == 1);
    auto* entry = dynamic_cast<TLayoutObjQz*>(orders->forms->At(0));
    TObjQz* made = nullptr;
    ASSERT_EQ(transfer::MoveLayOut(&doc_, &dest_, entry, stock, &made, nullptr), 0);
    const Bytes from = StoreRes(&doc_, FourCC("FOQz"), entry->formResId);
    const Bytes to = StoreRes(&dest_, FourCC("FOQz"), dynamic_cast<TLayoutObjQz*>(made)->formResId);
    ASSERT_EQ(to.size(), from.size());
    struct Object {
        const char* chunk;
        int16_t method;
        bool column;
    };
    std::set<int16_t> ids;
    for (const Object& o : {Object{"FILD", 40, false}, Object{"VAR ", 41, false}, Object{"GCOL", 42, true}}) {
        SCOPED_TRACE(o.chunk);
        const Bytes before = ChunkIn(from, o.chunk), after = ChunkIn(to, o.chunk);
        ASSERT_EQ(after.size(), before.size());
        const size_t at = o.column ? before.size() - 2 : 14;
        ASSERT_EQ(S16(before, at), o.method);
        const int16_t id = S16(after, at);
        ids.insert(id);
        EXPECT_EQ(StoreRes(&dest_, FourCC("CCQz"), id), StoreRes(&doc_, FourCC("CCQz"), o.method));
        EXPECT_FALSE(StoreRes(&dest_, FourCC("CCQz"), id).empty());
        // Every other byte of the chunk as it was.
        Bytes same = after;
        same[at] = before[at];
        same[at + 1] = before[at + 1];
        EXPECT_EQ(same, before);
    }
    EXPECT_EQ(ids.size(), 3u);
}

}  // namespace
}  // namespace transfertest
