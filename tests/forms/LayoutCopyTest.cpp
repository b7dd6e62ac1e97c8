// Copying a page's objects to the clipboard: the 'OBJS' chunk file with
// each object's chunks and carried methods, the picture beside it, the
// source record and its token, the copy restriction, and a failed copy
// leaving the clipboard as it was.
#include <gtest/gtest.h>

#include <memory>

#include <cstring>
#include <string>
#include <vector>

#include "forms/layout/PageTable.h"
#include "forms/listbox/ListBox.h"
#include "forms/layout/SaisieAtt.h"
#include "forms/model/LayoutEditor.h"
#include "forms/model/ScrapSource.h"
#include "forms/objects/EditableObjects.h"
#include "forms/objects/FormModelHooks.h"
#include "forms/objects/FormObjects.h"
#include "platform/core/Endian.h"
#include "platform/core/Faults.h"
#include "platform/dialogs/DialogRecord.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/events/DialogAnswers.h"
#include "platform/resfiles/Resources.h"
#include "platform/drawing/GWorlds.h"
#include "platform/scrap/Scrap.h"
#include "platform/textedit/TextEdit.h"
#include "resources/ResTypes.h"
#include "resources/ResourceApi.h"
#include "tests/forms/ObjectChunkSupport.h"
#include "tests/resources/StoreTestSupport.h"
#include "toolbox/drawing/ScrapCalls.h"
#include "toolbox/drawing/VScrap.h"

namespace {

using ifftest::Bytes;
constexpr uint32_t kOBQz = platform::FourCC("OBQz"), kPICT = platform::FourCC("PICT"),
                   kObLQ = platform::FourCC("ObLQ"), kTEXT = platform::FourCC("TEXT");

Bytes Flavour(uint32_t kind)
{
    platform::Handle h = platform::NewHandle(0);
    const int32_t size = myGetScrap(h, kind);
    Bytes b = size > 0 ? ifftest::BytesOf(h) : Bytes{};
    platform::DisposeHandle(h);
    return b;
}

std::string Ids(const Bytes& form)
{
    std::string ids;
    for (const std::string& id : ifftest::ChunkIds(form)) ids += (ids.empty() ? "" : " ") + id;
    return ids;
}

// A caller's clipboard: what was put, in order.
class NotedScrap : public VScrap {
public:
    int32_t CountAvailableKinds() override { return int32_t(kinds.size()); }
    bool IsKindAvailable(uint32_t) override { return false; }
    char** GetData(uint32_t) override { return nullptr; }
    int32_t GetDataSize(uint32_t) override { return 0; }
    bool PutData(uint32_t kind, const void* data, int32_t size) override
    {
        kinds.push_back(kind);
        data_.emplace_back(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
        return true;
    }
    std::vector<uint32_t> kinds;
    std::vector<Bytes> data_;
};

// The preview stand-in: the names of the objects drawn, as picture bytes.
Bytes gPreviewAsked;
platform::Handle NamesOfSelected(LayoutEditor* model, int16_t page, bool selectedOnly, bool background)
{
    Bytes b = {uint8_t(page + 2), uint8_t(selectedOnly), uint8_t(background)};
    for (LayoutObject* o = model->fFirst; o; o = o->next)
        if (o->selected) b.insert(b.end(), o->name + 1, o->name + 1 + o->name[0]);
    gPreviewAsked = b;
    return ifftest::HandleOf(b);
}

template <class T>
T* Placed(LayoutEditor* model, const char* name, uint8_t selected = 0)
{
    T* o = new T(model);
    const int16_t b[4] = {10, 20, 30, 120};
    std::memcpy(o->bounds, b, sizeof b);
    o->name[0] = uint8_t(std::strlen(name));
    std::memcpy(o->name + 1, name, o->name[0]);
    o->selected = selected;
    return o;
}

class LayoutCopy : public storetest::StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        InstallFormModelHooks();
        platform::ResetScrap();
        ResetScrapState();
        file_ = CreateFile("forms");
        ASSERT_GT(file_, 0);
        SetScrapRunNumber(0x5A17);
        model_ = std::make_unique<LayoutEditor>(int16_t(701), 0, file_);
        model_->fPages = NewPageTable(1);
        model_->fCurrentPage = 1;
    }
    void TearDown() override
    {
        model_.reset();
        SetFormPreviewProc(nullptr);
        platform::ClearDialogAnswers();
        platform::SetScriptedAnswerObserver(nullptr);
        platform::ResetScrap();
        ResetFormModelHooks();
        StoreTest::TearDown();
    }
    // A rectangle with a theme and a field with entry attributes; each has
    // properties of its own, written before it.
    FieldObject* RectAndField(uint8_t rectSelected, uint8_t fieldSelected)
    {
        auto* rect = Placed<RectObject>(model_.get(), "R", rectSelected);
        rect->themes.Append(7);
        auto* field = Placed<FieldObject>(model_.get(), "F", fieldSelected);
        field->entryAttributes = platform::NewHandleClear(kSaisieAttSize);
        model_->InsertObject(rect, kAfterLastObject);
        model_->InsertObject(field, kAfterLastObject);
        return field;
    }
    void PutText(const char* text)
    {
        myZeroScrap();
        myPutScrap(int32_t(std::strlen(text)), kTEXT, const_cast<char*>(text));
    }
    int16_t file_ = 0;
    std::unique_ptr<LayoutEditor> model_;
};

TEST_F(LayoutCopy, APageGoesToTheClipboardAsObjectsPictureAndSource)
{
    RectAndField(0, 1);
    SetFormPreviewProc(NamesOfSelected);
    struct Case {
        const char* what;
        bool all;
        std::string ids;
        Bytes picture;
    };
    const Case cases[] = {
        {"every object", true, "Vers DRAW FONT DRAW RECT Thm# FONT SATT FILD", {1, 1, 0, 'R', 'F'}},
        {"the selection", false, "Vers DRAW FONT DRAW FONT SATT FILD", {1, 1, 0, 'F'}},
    };
    for (const Case& c : cases) {
        PutText("before");
        ASSERT_TRUE(model_->DoCopy(c.all, nullptr, nullptr)) << c.what;
        EXPECT_EQ(model_->fCopyError, 0);
        const Bytes objects = Flavour(kOBQz);
        ASSERT_GE(objects.size(), 12u) << c.what;
        EXPECT_EQ(std::string(objects.begin(), objects.begin() + 4), "FORM");
        EXPECT_EQ(platform::ReadBE32(objects.data() + 4), objects.size() - 8) << c.what;
        EXPECT_EQ(std::string(objects.begin() + 8, objects.begin() + 12), "OBJS");
        EXPECT_EQ(Ids(objects), c.ids) << c.what;
        EXPECT_EQ(ifftest::ChunkData(objects, "Vers"), (Bytes{0, 3}));
        EXPECT_EQ(ifftest::ChunkData(objects, "DRAW").size(), 32u);
        EXPECT_EQ(ifftest::ChunkData(objects, "FONT").size(), 12u);
        EXPECT_EQ(Flavour(kPICT), c.picture) << c.what;
        EXPECT_EQ(Flavour(kObLQ), (Bytes{0, 1, 0x5A, 0x17, 0, uint8_t(file_), 0, 0, 0, 0, 0, 0, 0, 0, 0x02, 0xBD}));
        EXPECT_EQ(Flavour(kTEXT), Bytes{}) << "the clipboard is emptied first";
    }
    // The selection the picture was drawn with is given back.
    EXPECT_EQ(model_->fFirst->selected, 0);
    EXPECT_EQ(model_->fFirst->next->selected, 1);
    // The rectangle's chunk is the one the form stores.
    model_->DoCopy(true, nullptr, nullptr);
    EXPECT_EQ(ifftest::ChunkData(Flavour(kOBQz), "RECT"), ifftest::ChunkData(ifftest::Written(model_->fFirst), "RECT"));
}

TEST_F(LayoutCopy, ACallersClipboardAndRecordAreUsedAsGiven)
{
    RectAndField(1, 0);
    SetFormPreviewProc(NamesOfSelected);
    PutText("kept");
    NotedScrap scrap;
    const uint8_t record[16] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(model_->DoCopy(false, &scrap, record));
    EXPECT_EQ(scrap.kinds, (std::vector<uint32_t>{kOBQz, kObLQ})) << "no picture on a caller's clipboard";
    EXPECT_EQ(scrap.data_[1], Bytes(record, record + 16));
    EXPECT_EQ(Ids(scrap.data_[0]), "Vers DRAW FONT DRAW RECT Thm#");
    EXPECT_EQ(Flavour(kTEXT), (Bytes{'k', 'e', 'p', 't'})) << "the system clipboard is not touched";
    // Without a preview proc the system clipboard gets no picture.
    SetFormPreviewProc(nullptr);
    ASSERT_TRUE(model_->DoCopy(false, nullptr, nullptr));
    EXPECT_EQ(Flavour(kPICT), Bytes{});
    EXPECT_EQ(Ids(Flavour(kOBQz)), "Vers DRAW FONT DRAW RECT Thm#");
}

TEST_F(LayoutCopy, ACopiedFieldCarriesItsMethodAndAMissingOneStopsTheCopy)
{
    FieldObject* field = RectAndField(0, 1);
    const Bytes method = {0, 12, 0xCA, 0xFE, 1};
    ASSERT_TRUE(xaddres(ifftest::HandleOf(method), platform::FourCC("CCQz"), 12));
    field->objectMethodID = 12;
    const int16_t other = CreateFile("other");  // current now: the method is read from the form's file
    ASSERT_EQ(xcurres(), other);
    ASSERT_TRUE(model_->DoCopy(false, nullptr, nullptr));
    const Bytes objects = Flavour(kOBQz);
    EXPECT_EQ(Ids(objects), "Vers DRAW FONT DRAW FONT SATT FILD CCQz");
    EXPECT_EQ(ifftest::ChunkData(objects, "CCQz"), method);
    EXPECT_EQ(xcurres(), other);

    PutText("kept");
    field->objectMethodID = 13;
    EXPECT_FALSE(model_->DoCopy(false, nullptr, nullptr));
    EXPECT_EQ(model_->fCopyError, kResNotFound) << "the store's error";
    EXPECT_EQ(Flavour(kTEXT), (Bytes{'k', 'e', 'p', 't'}));
    EXPECT_EQ(Flavour(kOBQz), Bytes{});
}

std::string gAlert;
void NoteAlert(platform::DialogRef d)
{
    unsigned char text[256] = {0};
    platform::GetIndString(text, 809, 2);
    gAlert += platform::ExpandParams("^0") == std::string(reinterpret_cast<char*>(text) + 1, text[0]) ? "809/2;" : "other;";
    (void)d;
}

TEST_F(LayoutCopy, TheCopyRestrictionRefusesObjectsThatCarryMethods)
{
    const int16_t app = platform::OpenResFile(QZ_APP_RESOURCES, platform::fsRdPerm, platform::ResFileFork::Data);
    ASSERT_NE(app, -1);
    FieldObject* field = RectAndField(1, 1);
    model_->fCopyRestriction = 1;
    auto* group = Placed<GroupObject>(model_.get(), "G", 1);
    auto* member = Placed<VarObject>(model_.get(), "V");
    group->AddSubObject(member);
    model_->InsertObject(group, kAfterLastObject);
    platform::SetScriptedAnswerObserver(NoteAlert);
    struct Case {
        const char* what;
        int16_t fieldMethod, memberMethod;
        bool copied;
    };
    const Case cases[] = {
        {"no method", 0, 0, true},
        {"a selected field's method", 12, 0, false},
        {"a grouped variable's method", 0, 4, false},
    };
    for (const Case& c : cases) {
        gAlert.clear();
        field->objectMethodID = c.fieldMethod;
        member->objectMethodID = c.memberMethod;
        PutText("kept");
        platform::PushDialogAnswer(1);
        EXPECT_EQ(model_->DoCopy(false, nullptr, nullptr), c.copied) << c.what;
        EXPECT_EQ(gAlert, c.copied ? "" : "809/2;") << c.what;
        EXPECT_EQ(Flavour(kTEXT), (c.copied ? Bytes{} : Bytes{'k', 'e', 'p', 't'})) << c.what;
        EXPECT_EQ(model_->fCopyError, c.copied ? 0 : kCopyRefused) << c.what;
        platform::ClearDialogAnswers();
    }
    platform::CloseResFile(app);
}

TEST_F(LayoutCopy, AFailedChunkWriteGivesMinus36AndPutsNothing)
{
    RectAndField(1, 1);
    SetFormPreviewProc(NamesOfSelected);
    // Each allocation of the copy fails in turn until the copy goes through.
    int32_t after = 0;
    for (;; ++after) {
        PutText("kept");
        bool copied;
        {
            platform::ScopedFault fault(platform::FaultKind::Allocation, after);
            copied = model_->DoCopy(true, nullptr, nullptr);
            if (!platform::IsFaultArmed(platform::FaultKind::Allocation) && copied) break;
        }
        ASSERT_FALSE(copied) << after;
        EXPECT_TRUE(model_->fCopyError == -36 || model_->fCopyError == platform::memFullErr) << after;
        EXPECT_EQ(Flavour(kTEXT), (Bytes{'k', 'e', 'p', 't'})) << after;
        EXPECT_EQ(Flavour(kOBQz), Bytes{}) << after;
        EXPECT_EQ(Flavour(kObLQ), Bytes{}) << after;
    }
    EXPECT_GT(after, 1);
    EXPECT_EQ(Ids(Flavour(kOBQz)), "Vers DRAW FONT DRAW RECT Thm# FONT SATT FILD");
}

TEST_F(LayoutCopy, AnActiveTextEditorOfTheFormTakesTheCopy)
{
    RectAndField(1, 1);
    platform::GWorldPtr world = nullptr;
    const platform::Rect bounds{0, 0, 100, 200};
    ASSERT_EQ(platform::NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0), platform::noErr);
    platform::SetGWorld(world, nullptr);
    platform::TEHandle te = platform::TENew(&bounds, &bounds);
    platform::TESetText("Hello there", 11, te);
    platform::TESetSelect(0, 5, te);
    model_->fTextEditor = te;
    for (const uint8_t active : {1, 0}) {
        PutText("kept");
        model_->fTextEditorActive = active;
        ASSERT_TRUE(model_->DoCopy(false, nullptr, nullptr)) << int(active);
        EXPECT_EQ(Flavour(kTEXT), active ? (Bytes{'H', 'e', 'l', 'l', 'o'}) : Bytes{}) << int(active);
        EXPECT_EQ(Flavour(kOBQz).empty(), active == 1) << int(active);
    }
    model_->fTextEditor = nullptr;
    platform::TEDispose(te);
    platform::SetGWorld(nullptr, nullptr);
    platform::DisposeGWorld(world);
}

uint64_t Fnv1a(const Bytes& b)
{
    uint64_t h = 0xCBF29CE484222325ull;
    for (uint8_t c : b) h = (h ^ c) * 0x100000001B3ull;
    return h;
}

const unsigned char* Pascal(const std::string& s, unsigned char* out)
{
    out[0] = uint8_t(s.size());
    std::memcpy(out + 1, s.data(), s.size());
    return out;
}

// Objects of each kind, the second of a kind (k = 1) told apart in what
// puts a property chunk before it, a pad after it, or makes a chunk outgrow
// the writer's run (a long text) or be handed over (a list box's names).
template <class T>
LayoutObject* Drawn(LayoutEditor* m, int k)
{
    auto* o = Placed<T>(m, k ? "Shape" : "Sh");
    o->foreColor = k ? 0xFF0000 : 0;
    o->penWidth = int16_t(k + 1);
    o->themes.Append(7);
    o->themes.Append(k + 9);
    return o;
}

template <class T>
LayoutObject* Entry(LayoutEditor* m, int k)
{
    auto* o = Placed<T>(m, k ? "Amount" : "Qty");
    o->fontSize = int16_t(10 + k);
    o->foreColor = k ? 0x00FF00 : 0;
    std::memcpy(o->format, k ? "\x03###" : "\x04#.##", 5);
    if (k) o->entryAttributes = platform::NewHandleClear(kSaisieAttSize);
    o->themes.Append(k + 3);
    return o;
}

LayoutObject* Matrix(LayoutEditor* m, int k)
{
    auto* o = Placed<MatrixObject>(m, "M");
    o->rowCount = int16_t(3 + k);
    o->columnCount = 2;
    o->backColor = k;
    return o;
}

LayoutObject* Text(LayoutEditor* m, int k)
{
    auto* o = Placed<TextObject>(m, "Label");
    o->fontSize = int16_t(9 + 3 * k);
    unsigned char p[256];
    o->SetText(Pascal(k ? std::string(255, 'x') : "Hello", p));
    return o;
}

LayoutObject* Grouped(LayoutEditor* m, int k)
{
    auto* g = Placed<GroupObject>(m, "G");
    g->AddSubObject(Drawn<RectObject>(m, k));
    g->AddSubObject(Entry<VarObject>(m, 1 - k));
    return g;
}

LayoutObject* ListBox(LayoutEditor* m, int k)
{
    auto* g = Placed<VLayoutGrid>(m, "Lines");
    unsigned char p[256];
    g->SetVariableName(Pascal(k ? "alLines" : "alRows", p), 1);
    for (int c = 1; c <= 1 + k; ++c) {
        g->AddColumn();
        g->GetGridView().SetColumnVarName(c, Pascal("col" + std::to_string(c), p), 1);
        g->GetGridView().SetColHeaderVarName(c, Pascal("head" + std::to_string(c), p), 1);
        g->GetGridView().GetColumnHeader(c)->SetTitle(Pascal("Title " + std::to_string(c), p));
    }
    return g;
}

// The image is pinned to the bytes the copy first wrote for the page.
TEST_F(LayoutCopy, APageOfEveryKindIsCopiedToTheSameBytes)
{
    using Maker = LayoutObject* (*)(LayoutEditor*, int);
    const Maker kinds[] = {Drawn<RectObject>, Drawn<OvalObject>, Matrix,           Text,           Entry<FieldObject>,
                           Grouped,           ListBox,           Entry<VarObject>, Drawn<LineObject>};
    for (int k = 0; k < 2; ++k)
        for (Maker make : kinds) model_->InsertObject(make(model_.get(), k), kAfterLastObject);
    NotedScrap scrap;
    ASSERT_TRUE(model_->DoCopy(true, &scrap, nullptr));
    const Bytes& image = scrap.data_.at(0);
    EXPECT_EQ(Ids(image),
              "Vers DRAW FONT DRAW RECT Thm# OVAL Thm# DRAW GRID FONT TEXT DRAW FONT FILD Thm# GRUP FORM DRAW FONT "
              "GDTL GCOL FONT VAR  Thm# LINE Thm# DRAW RECT Thm# OVAL Thm# DRAW GRID FONT TEXT DRAW FONT SATT FILD "
              "Thm# GRUP FORM FONT GDTL GCOL GCOL DRAW FONT SATT VAR  Thm# DRAW LINE Thm#");
    EXPECT_EQ(image.size(), 2900u);
    EXPECT_EQ(Fnv1a(image), 0xF4CD8B3832C6178Bull);
}

TEST(ScrapSource, ARecordNamesAnOpenFileOfThisRunOnly)
{
    ResetResManager();
    initresman();
    storetest::LoadStoreTemplates();
    platform::testing::TempFolder dir;
    platform::FSSpec fileSpec;
    platform::FSMakeFSSpec(dir / "source", &fileSpec);
    const int16_t file = createres(fileSpec, platform::FourCC("QzBw"), platform::FourCC("QzDB"));
    ASSERT_GT(file, 0);
    SetScrapRunNumber(0x1234);
    uint8_t record[kSourceRecordSize];
    MakeSourceRecord(file, 701, record);
    auto with = [&](int at, uint8_t value) {
        Bytes b(record, record + kSourceRecordSize);
        b[size_t(at)] = value;
        return b;
    };
    struct Case {
        const char* what;
        Bytes bytes;
        int16_t file, form;
    };
    const Case cases[] = {
        {"this run's record", Bytes(record, record + 16), file, 701},
        {"another run", with(2, 0x13), 0, 0},
        {"version 2", with(1, 2), 0, 0},
        {"another file number", with(5, uint8_t(file + 1)), 0, 0},
        {"15 bytes", Bytes(record, record + 15), 0, 0},
        {"17 bytes", [&] { Bytes b(record, record + 16); b.push_back(0); return b; }(), 0, 0},
        {"empty", {}, 0, 0},
    };
    for (const Case& c : cases) {
        int16_t form = -1;
        EXPECT_EQ(SourceRecordFile(c.bytes.data(), int32_t(c.bytes.size()), &form), c.file) << c.what;
        EXPECT_EQ(form, c.form) << c.what;
    }
    closeres(file, false);
    EXPECT_EQ(SourceRecordFile(record, kSourceRecordSize, nullptr), 0) << "a closed file";
    SetScrapRunNumber(0);
    EXPECT_NE(ScrapRunNumber(), 0);
    ResetResManager();
}

}  // namespace
