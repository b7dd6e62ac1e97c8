// An object's documentation resource read, written, deleted and refused
// when damaged, through the styled bodies, in documents made by the
// document builder; the structure's general documentation beside it.
#include <gtest/gtest.h>

#include "app/dialogs/Messages.h"
#include "design/documentation/GetTe.h"
#include "platform/core/Endian.h"
#include "tests/browser/EditorFixture.h"

using namespace platform;

namespace browsertest {
namespace {

using readtest::Bytes;

constexpr const char* kDescription =
    "structure Docs date 2024-03-01\n"
    "table Customers\n"
    "  field Name alpha 40\n"
    "    doc \"The full name.\" state 1\n"
    "  doc \"Everyone who buys from us.\" run 0 8 bold\n"
    "method Recalculate id 32\n"
    "  comment \"x\"\n"
    "  doc \"Recomputes a total.\" state 0 run 0 10 bold run 13 18 font Monaco size 14 italic\n"
    "method Bare id 33\n"
    "  comment \"y\"\n";

class ObjectDocumentation : public EditorFixture {
protected:
    TEHandle NewRecord()
    {
        const Rect r{0, 0, 200, 300};
        TEHandle te = TEStyleNew(&r, &r);
        records_.push_back(te);
        return te;
    }
    void TearDown() override
    {
        for (TEHandle te : records_) TEDispose(te);
        EditorFixture::TearDown();
    }
    std::vector<TEHandle> records_;
};

// Built with runs: the styles come back where the description put them.
TEST_F(ObjectDocumentation, BuiltRunsAreReadWithTheirStyles)
{
    Load(kDescription);
    TObjQz* method = Find(2, "Recalculate");
    TEHandle te = NewRecord();
    int32_t state = -1;
    bool added = true;
    ASSERT_EQ(method->ReadDoc(te, &state, &added), 0);
    EXPECT_EQ(Text(te), "Recomputes a total.");
    EXPECT_EQ(state, 0);
    EXPECT_FALSE(added);
    struct {
        int16_t at;
        Style face;
        int16_t font, size;
    } expect[] = {{0, bold, 1, 12}, {9, bold, 1, 12}, {10, normal, 1, 12}, {13, italic, 4, 14}, {17, italic, 4, 14},
                  {18, normal, 1, 12}};
    for (const auto& e : expect) {
        TETextStyle s{};
        TEGetStyle(e.at, &s, nullptr, nullptr, te);
        EXPECT_EQ(s.tsFace, e.face) << e.at;
        EXPECT_EQ(s.tsFont, e.font) << e.at;
        EXPECT_EQ(s.tsSize, e.size) << e.at;
    }
}

// No documentation yet: a 4-byte header with state 2 is added and kept;
// stored states outside 0..2 read as 0.
TEST_F(ObjectDocumentation, ReadingMissingDocumentationAddsAHeader)
{
    Load(kDescription);
    TObjQz* bare = Find(2, "Bare");
    TEHandle te = NewRecord();
    int32_t state = -1;
    bool added = false;
    ASSERT_EQ(bare->ReadDoc(te, &state, &added), 0);
    EXPECT_TRUE(added);
    EXPECT_EQ(state, 2);
    EXPECT_EQ(Text(te), "");
    EXPECT_EQ(Stored(FourCC("CCHE"), 33), (Bytes{0, 1, 0, 2}));
    Reopen(built_);
    EXPECT_EQ(Stored(FourCC("CCHE"), 33), (Bytes{0, 1, 0, 2})) << "committed";
    Bytes b = Stored(FourCC("CCHE"), 32);
    for (const auto& [stored, read] : {std::pair{7, 0}, std::pair{-1, 0}, std::pair{3, 0}, std::pair{1, 1}}) {
        CloseDoc();
        WriteBE16(b.data() + 2, uint16_t(stored));
        Replace(built_.dataPath, FourCC("CCHE"), 32, b);
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
        Open(built_);
        ASSERT_EQ(Read(), 0);
        ASSERT_EQ(Find(2, "Recalculate")->ReadDoc(NewRecord(), &state, &added), 0);
        EXPECT_EQ(state, read) << stored;
    }
}

// Written with a state: version 1 and the state in the first word; the
// object's flags follow; the structure's own is always state 0.
TEST_F(ObjectDocumentation, WrittenDocumentationCarriesItsState)
{
    Load(kDescription);
    TObjQz* bare = Find(2, "Bare");
    TEHandle te = NewRecord();
    TESetText("Blocks", 6, te);
    ASSERT_EQ(bare->WriteDoc(te, 1), 0);
    Bytes b = Stored(FourCC("CCHE"), 33);
    ASSERT_GE(b.size(), 16u);
    EXPECT_EQ(ReadBE32(b.data()), 0x00010001u);
    EXPECT_EQ(ReadBE32(b.data() + 4), 6u);
    bare->SetDocFlag();
    EXPECT_TRUE(bare->TstFlag(kFlagHasDoc));
    EXPECT_TRUE(bare->TstFlag(kFlagBlockOverride));
    EXPECT_TRUE(bare->TstFlag(kFlagBlocked));
    ASSERT_EQ(doc_.WriteDoc(te), 0);
    b = Stored(FourCC("QzHE"), 0);
    ASSERT_GE(b.size(), 16u);
    EXPECT_EQ(ReadBE32(b.data()), 0x00010000u);
    TEHandle back = NewRecord();
    int16_t state = -1;
    bool added = true;
    ASSERT_EQ(doc_.ReadDoc(back, &state, &added), 0);
    EXPECT_EQ(Text(back), "Blocks");
}

// A damaged body is refused, and stays stored with the flag set; deleting
// removes it.
TEST_F(ObjectDocumentation, DamagedDocumentationIsRefusedAndKept)
{
    const Bytes damaged = {0, 1, 0, 1, 0, 0, 0x7F, 0xFF, 'a', 'b'};
    built_ = Build(kDescription);
    Replace(built_.dataPath, FourCC("CCHE"), 32, damaged);
    Open(built_);
    ASSERT_EQ(Read(), 0);
    TObjQz* method = Find(2, "Recalculate");
    TEHandle te = NewRecord();
    int32_t state = -1;
    bool added = true;
    EXPECT_EQ(method->ReadDoc(te, &state, &added), browser::kDamagedDoc);
    EXPECT_EQ(Text(te), "");
    EXPECT_EQ(Stored(FourCC("CCHE"), 32), damaged);
    EXPECT_TRUE(method->TstFlag(kFlagHasDoc));
    // The editor says so once, shows nothing and, closed untouched, leaves
    // the stored bytes.
    ResetAlerts();
    TEditDocWindow* w = EditDoc(method);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(AlertCount(), 1);
    unsigned char message[256];
    MyGetIndString(message, 1002, 64);
    EXPECT_EQ(LastAlert().text, P(message));
    EXPECT_EQ(Text(DocPane(w)->fTE), "");
    ASSERT_EQ(w->Close(), 0);
    EXPECT_EQ(Stored(FourCC("CCHE"), 32), damaged);
    EXPECT_EQ(method->DelDoc(), 0);
    EXPECT_EQ(Stored(FourCC("CCHE"), 32), Bytes{});
    EXPECT_FALSE(method->TstFlag(kFlagHasDoc));
}

// A commit that fails leaves the disk as it was and the body whole in the
// document, never removed: the next commit (here the close) writes it.
TEST_F(ObjectDocumentation, AFailedCommitKeepsTheDocumentationWhole)
{
    Load(kDescription);
    TObjQz* method = Find(2, "Recalculate");
    const Bytes fileBefore = FileBytes(built_.dataPath);
    TEHandle te = NewRecord();
    TESetText("Kept", 4, te);
    {
        ScopedFault fault(FaultKind::DiskFull, 0, -1);
        EXPECT_NE(method->WriteDoc(te, 2), 0);
    }
    EXPECT_EQ(FileBytes(built_.dataPath), fileBefore);
    const Bytes body = Stored(FourCC("CCHE"), 32);
    ASSERT_GE(body.size(), 12u);
    EXPECT_EQ(std::string(body.begin() + 8, body.begin() + 12), "Kept");
    Reopen(built_);
    EXPECT_EQ(Stored(FourCC("CCHE"), 32), body);
}

// Documentation types, and what GetTe does with the others.
TEST_F(ObjectDocumentation, GetTeReadsDocumentationTypesOnly)
{
    for (uint32_t t : {FourCC("GRHE"), FourCC("CCHE"), FourCC("BAHE"), FourCC("QzHE"), FourCC("FOHE"), FourCC("FIHE"),
                       FourCC("MEHE"), FourCC("IHHE"), uint32_t(0x48450005)})
        EXPECT_TRUE(IsDocumentationType(t)) << std::hex << t;
    for (uint32_t t : {FourCC("CCQz"), FourCC("HFQz"), FourCC("TEXT"), FourCC("styl"), FourCC("STR#")})
        EXPECT_FALSE(IsDocumentationType(t)) << std::hex << t;
    Load(kDescription);
    TEHandle te = NewRecord();
    TESetText("as it was", 9, te);
    EXPECT_EQ(GetTe(te, doc_.fRsrFile, FourCC("CCQz"), 32), 0);
    EXPECT_EQ(Text(te), "as it was");
    // A header without text: the record takes the documentation's face.
    EXPECT_EQ(GetTe(te, doc_.fRsrFile, FourCC("CCHE"), 99), 0);
    TETextStyle s{};
    TEGetStyle(0, &s, nullptr, nullptr, te);
    EXPECT_EQ(s.tsFace, bold);
    EXPECT_EQ(s.tsSize, 9);
}

}  // namespace
}  // namespace browsertest
