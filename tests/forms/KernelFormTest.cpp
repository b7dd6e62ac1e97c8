// Stored forms loaded into kernel records: the paged flat layout bounded by
// the resource, chunk files through GetFormOld, chains of inherited forms
// (looping, and 2,000 deep on a small stack), finding forms by name, and
// the kernel's name and font adjustments.
#include <gtest/gtest.h>
#include <pthread.h>

#include <cstring>
#include <string>
#include <vector>

#include "forms/kernel/KernelForm.h"
#include "forms/kernel/KernelTexts.h"
#include "forms/layout/FormContainer.h"
#include "forms/layout/PageTable.h"
#include "forms/objects/EditableObjects.h"
#include "forms/objects/FormObjects.h"
#include "forms/objects/FormTables.h"
#include "forms/reader/FormReader.h"
#include "kernel/handles/KernelHandles.h"
#include "kernel/startup/KernelGlobals.h"
#include "kernel/store/StoreAccess.h"
#include "platform/drawing/TextRuns.h"
#include "tests/forms/IffBytes.h"
#include "tests/resources/StoreTestSupport.h"
#include "tools/docbuilder/FormLayout.h"
#include "tools/docbuilder/IffForm.h"

namespace {

using namespace objrec;
using docbuilder::IffObject;
using Kind = docbuilder::FormItemSpec::Kind;
constexpr uint32_t kFOQz = platform::FourCC("FOQz");

std::string Text(ObjHandle h, int32_t at)
{
    unsigned char t[256];
    RecText(h, at, t);
    return std::string(reinterpret_cast<const char*>(t) + 1, t[0]);
}

IffObject Rect(const std::string& name, int16_t top)
{
    IffObject o;
    o.kind = Kind::Rect;
    o.name = name;
    o.bounds = {top, 10, int16_t(top + 20), 100};
    return o;
}

// The kinds of a chain, from `first` to `last` (or its end).
std::vector<std::string> Names(ObjHandle first, ObjHandle last = nullptr)
{
    std::vector<std::string> out;
    for (ObjHandle h = first; h; h = h == last ? nullptr : ObjNext(h)) out.push_back(Text(h, kName));
    return out;
}

// A form list ('TFQz') naming forms by id.
std::vector<uint8_t> FormList(const std::vector<std::pair<std::string, int16_t>>& forms)
{
    std::vector<uint8_t> b(6, 0);
    b[0] = uint8_t(forms.size() >> 8), b[1] = uint8_t(forms.size());
    for (const auto& [name, id] : forms) {
        std::vector<uint8_t> e(270, 0);
        e[0] = uint8_t(name.size());
        std::memcpy(&e[1], name.data(), name.size());
        e[32] = uint8_t(id >> 8), e[33] = uint8_t(id);
        b.insert(b.end(), e.begin(), e.end());
    }
    return b;
}

platform::Handle gFormList = nullptr;

class KernelForm : public storetest::StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        ASSERT_GT(CreateFile("forms"), 0);
        formTableCount = 2;
        SetTableFormListProc([](int16_t table) { return table == 2 ? gFormList : nullptr; });
    }
    void TearDown() override
    {
        effform(&debutform);
        SetTableFormListProc(nullptr);
        formTableCount = 0;
        platformResourceMode = 0;
        if (gFormList) platform::DisposeHandle(gFormList);
        gFormList = nullptr;
        StoreTest::TearDown();
    }
    void Add(int16_t id, const storetest::Bytes& bytes) { ASSERT_TRUE(xaddres(storetest::MakeHandle(bytes), kFOQz, id)); }
    void Forms(const std::vector<std::pair<std::string, int16_t>>& forms)
    {
        gFormList = storetest::MakeHandle(FormList(forms));
    }
    // A chunk-file form of the given pages, inheriting `inherit` of table 2.
    void AddIff(int16_t id, const std::vector<std::vector<IffObject>>& pages, const std::string& inherit = "")
    {
        docbuilder::IffFormLayout f;
        f.pages = pages;
        if (!inherit.empty()) f.inheritTable = 2, f.inheritName = inherit;
        Add(id, docbuilder::IffForm(f));
    }
};

TEST_F(KernelForm, FlatFormsAreReadPageByPageWithinTheResource)
{
    using docbuilder::FormRecord;
    std::vector<FormRecord> records(3);
    records[0].kind = Kind::Rect, records[0].page = 1;
    records[1].kind = Kind::Oval, records[1].page = 2;
    records[2].kind = Kind::Line, records[2].page = 2;
    const storetest::Bytes flat = docbuilder::FlatForm(records);
    struct Case {
        const char* what;
        storetest::Bytes bytes;
        int16_t error;
        int16_t pages;
    };
    storetest::Bytes wrongTag = flat, noPages = {13, 0, 0, 0}, cut = flat;
    wrongTag[0] = 12;
    cut.resize(cut.size() - 3);  // the line's record passes the end
    const Case cases[] = {
        {"whole", flat, 0, 2},
        {"tag 12", wrongTag, kBadFormLayout, -1},
        {"record cut short", cut, kBadFormLayout, -1},
        {"no page", noPages, 0, 1},
        {"two bytes", {13, 0}, kBadFormLayout, -1},
    };
    for (int16_t i = 0; i < int16_t(std::size(cases)); ++i) {
        Add(int16_t(100 + i), cases[i].bytes);
        EXPECT_EQ(getform(int16_t(100 + i), nullptr, false), 0);
        EXPECT_EQ(erreure, cases[i].error) << cases[i].what;
        ASSERT_EQ(debutform != nullptr, cases[i].pages >= 0) << cases[i].what;
        if (debutform) {
            EXPECT_EQ(FormPageCount(debutform), cases[i].pages) << cases[i].what;
        }
    }
    getform(100, nullptr, false);
    ObjHandle first1 = nullptr, first2 = nullptr, last2 = nullptr;
    ASSERT_TRUE(FormPage(debutform, 1, &first1, nullptr));
    ASSERT_TRUE(FormPage(debutform, 2, &first2, &last2));
    EXPECT_EQ(ObjKind(first1), kRect);
    EXPECT_EQ(ObjNext(debutform), first1);
    EXPECT_EQ(ObjKind(first2), kOval);
    EXPECT_EQ(ObjKind(last2), kLine);
    EXPECT_EQ(getform(999, nullptr, false), 0);
    EXPECT_EQ(debutform, nullptr);
    EXPECT_NE(erreure, 0);
}

TEST_F(KernelForm, InheritedFormsComeInFrontOfPageZeroEachLoadedOnce)
{
    // Summary inherits Invoice, which inherits Summary back.
    Forms({{"Invoice", 1}, {"Summary", 2}});
    AddIff(1, {{Rect("InvoiceShared", 0)}, {Rect("InvoiceOwn", 30)}}, "Summary");
    AddIff(2, {{Rect("SummaryShared", 0)}, {Rect("SummaryOwn", 30)}}, "Invoice");
    VisitedForms visited;
    getform(2, &visited, true);
    ASSERT_NE(debutform, nullptr);
    EXPECT_EQ(visited, (VisitedForms{2, 1}));
    const unsigned char empty[] = {0};
    EXPECT_EQ(findleformat(empty, -1, gFormList), -1);
    EXPECT_EQ(findformat(nullptr, empty), 0);
    ObjHandle first = nullptr, last = nullptr;
    ASSERT_TRUE(FormPage(debutform, 0, &first, &last));
    EXPECT_EQ(Names(first, last), (std::vector<std::string>{"InvoiceShared", "InvoiceOwn", "SummaryShared"}));
    EXPECT_EQ(RecWord(first, kOriginTable), 2);
    EXPECT_EQ(RecWord(first, kOriginForm), 1);
    EXPECT_EQ(RecWord(last, kOriginForm), 0);
    ASSERT_TRUE(FormPage(debutform, 1, &first, &last));
    EXPECT_EQ(Names(first, last), (std::vector<std::string>{"SummaryOwn"}));
    // Without chaining the form is its own.
    getform(2, nullptr, false);
    ASSERT_TRUE(FormPage(debutform, 0, &first, &last));
    EXPECT_EQ(Names(first, last), (std::vector<std::string>{"SummaryShared"}));
}

void* LoadFirst(void*)
{
    getform(1, nullptr, true);
    return nullptr;
}

TEST_F(KernelForm, AChainOfTwoThousandFormsIsFollowedOnASmallStack)
{
    constexpr int16_t kForms = 2000;
    std::vector<std::pair<std::string, int16_t>> forms;
    for (int16_t id = 1; id <= kForms; ++id) forms.push_back({"F" + std::to_string(id), id});
    Forms(forms);
    for (int16_t id = 1; id <= kForms; ++id)
        AddIff(id, {{}, {Rect("R" + std::to_string(id), 0)}}, id < kForms ? "F" + std::to_string(id + 1) : "");
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 1 << 20);
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attr, LoadFirst, nullptr), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
    ASSERT_NE(debutform, nullptr);
    ObjHandle first = nullptr, last = nullptr;
    ASSERT_TRUE(FormPage(debutform, 0, &first, &last));
    const std::vector<std::string> names = Names(first, last);
    ASSERT_EQ(names.size(), size_t(kForms - 1));
    EXPECT_EQ(names.front(), "R2000");
    EXPECT_EQ(names.back(), "R2");
    EXPECT_EQ(RecWord(first, kOriginForm), 2000);
    EXPECT_EQ(RecWord(last, kOriginForm), 2);
}

// A chunk-file form whose "FLAG" holds `flag` and whose page 1 holds one
// rectangle.
storetest::Bytes WithFlag(const ifftest::Bytes& flag)
{
    ifftest::B inner;
    inner.Chunk("FLAG", flag).Chunk("PAG#", {0, 1});
    inner.Chunk("PAGE", {0, 0}).Chunk("RECT", ifftest::Bytes(36, 0)).Chunk("PAGE", {0, 1});
    return ifftest::B().Group("FORM", "LAYO", inner.b).b;
}

TEST_F(KernelForm, TheFormsFlagsTakeTheKernelsDefaultsAndItsLook)
{
    ifftest::B full;
    full.U8(0).L(0x11223344);
    for (int16_t v : {10, 400, 20, 300, 7, 8}) full.W(uint16_t(v));
    full.U8(2).U8(1).U8(0).P("Frame").P("Text").L(0x00010005).W(2).P("Card").L(8).L(1).L(2).U8(9);
    struct Case {
        const char* what;
        ifftest::Bytes flag;
        uint8_t platformMode;
        std::vector<int16_t> sizes;  // min height, max height, min width, max width, horizontal, vertical
        int16_t look;
    };
    const Case cases[] = {
        {"5 bytes", {0, 0, 0, 0, 1}, 0, {-5, 32767, -5, 32767, -5, -5}, 0},
        {"whole", full.b, 0, {10, 400, 20, 300, 7, 8}, 5},
        {"platform resources", full.b, 1, {10, 400, 20, 300, 7, 8}, 6},
    };
    for (const Case& c : cases) {
        platformResourceMode = c.platformMode;
        platform::Handle h = storetest::MakeHandle(WithFlag(c.flag));
        ObjHandle form = GetIFFForm(h);
        platform::DisposeHandle(h);
        ASSERT_NE(form, nullptr) << c.what;
        using namespace header;
        EXPECT_EQ(std::vector<int16_t>({RecWord(form, kMinHeight), RecWord(form, kMaxHeight), RecWord(form, kMinWidth),
                                        RecWord(form, kMaxWidth), RecWord(form, kHSize), RecWord(form, kVSize)}),
                  c.sizes)
            << c.what;
        EXPECT_EQ(RecWord(form, kLook), c.look) << c.what;
        ObjHandle rect = nullptr;
        FormPage(form, 1, &rect, nullptr);
        EXPECT_EQ(RecWord(rect, kLook), c.look) << c.what << ": the form's look for an object without one";
        if (c.look) {
            EXPECT_EQ(Text(form, header::kInheritedName) + Text(form, kName), "CardFrame") << c.what;
        }
        ClearObj(form);
    }
}

TEST_F(KernelForm, AGroupsScrollingListsShareTheTallestLineAndTheLowestGoesLast)
{
    auto list = [](int16_t top, int16_t size, int16_t width) {
        auto* v = new VarObject;
        v->subType = 6, v->fontSize = size, v->fontID = 0;
        const int16_t b[4] = {top, 0, int16_t(top + 10), width};
        std::memcpy(v->bounds, b, sizeof b);
        return v;
    };
    auto* group = new GroupObject;
    VarObject* small = list(50, 9, 80);
    VarObject* tall = list(10, 24, 120);
    VarObject* choice = list(0, 9, 10);
    choice->subType = 3;
    for (LayoutObject* m : {static_cast<LayoutObject*>(small), static_cast<LayoutObject*>(tall),
                            static_cast<LayoutObject*>(choice)})
        group->AddSubObject(m);
    platform::Handle pages = NewPageTable(1);
    SetPage(pages, 1, PageEntry{group, group});
    LayoutInfo info;
    info.Init();
    platform::Handle image = platform::NewHandle(0);
    ASSERT_TRUE(PackFormat(image, pages, info, nullptr));
    DestroyPages(pages);
    ObjHandle form = GetIFFForm(image);
    platform::DisposeHandle(image);
    ASSERT_NE(form, nullptr);
    ObjHandle g = nullptr;
    FormPage(form, 1, &g, nullptr);
    ASSERT_EQ(ObjKind(g), kGroup);
    std::vector<int16_t> tops;
    for (ObjHandle m = ObjLink(g); m; m = ObjNext(m)) tops.push_back(ObjBounds(m).top);
    EXPECT_EQ(tops, (std::vector<int16_t>{10, 0, 50}));
    ObjHandle lowest = ObjLink(g);
    while (ObjNext(lowest)) lowest = ObjNext(lowest);
    EXPECT_EQ(ObjFlags(lowest) & kLastOfChain, kLastOfChain);
    const platform::FontInfo big = platform::StyleFontInfo(platform::MakeTextStyle(0, 24, platform::Style(0), 0));
    for (ObjHandle m : {ObjLink(g), lowest}) {
        EXPECT_EQ(RecWord(m, variable::kLineHeight), big.ascent + big.descent + big.leading);
        EXPECT_EQ(RecWord(m, variable::kLineWidth), 120);
    }
    EXPECT_EQ(RecWord(ObjNext(ObjLink(g)), variable::kLineHeight), 0);
    EXPECT_EQ(RecHandle(ObjNext(ObjLink(g)), variable::kLeader), g);
    EXPECT_EQ(RecHandle(lowest, variable::kNextOfKind), ObjLink(g));
    ClearObj(form);
}

TEST(KernelTexts, InterprocessNamesTakeThePrefixAndPlatformFontsShrink)
{
    std::memcpy(stglobglob, "\x01\xD7", 2);
    for (const auto& [name, shown] : std::vector<std::pair<std::string, std::string>>{
             {"<>a", "\xD7"
                                 "a"}, {"<>", "<>"}, {"<", "<"}, {"a<>b", "a<>b"}, {"<>" + std::string(253, 'x'), std::string(1, '\xD7') + std::string(253, 'x')}}) {
        unsigned char t[256];
        t[0] = uint8_t(name.size());
        std::memcpy(t + 1, name.data(), name.size());
        ReformatSuperGlobal(t);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(t) + 1, t[0]), shown) << name;
    }
    stglobglob[0] = 0;
    struct Case {
        uint8_t mode;
        int16_t font, size, shown;
    };
    for (const Case& c : {Case{1, 1, 12, 10}, Case{1, 1, 11, 11}, Case{1, 2, 12, 12}, Case{0, 1, 12, 12}}) {
        platformResourceMode = c.mode;
        int16_t font = c.font, size = c.size;
        adjustefont(&font, &size);
        EXPECT_EQ(size, c.shown) << int(c.mode) << "/" << c.font << "/" << c.size;
    }
    platformResourceMode = 0;
}

}  // namespace
