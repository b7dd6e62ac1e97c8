// Object-method blobs and their operand tokens: the stored layout, damaged
// blobs and lines, every token kind through the writer and the reader, and
// the methods the document builder writes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "forms/calc/CalcBlob.h"
#include "forms/calc/Operands.h"
#include "kernel/handles/KernelHandles.h"
#include "kernel/helpers/HandleCopies.h"
#include "platform/core/Faults.h"
#include "tests/resources/StoreTestSupport.h"
#include "tools/docbuilder/DocBuilder.h"
#include "tools/docbuilder/Records.h"

using storetest::Bytes;
using storetest::Contents;
using storetest::MakeHandle;

namespace {

const uint32_t kCCQz = platform::FourCC("CCQz");

// A blob of the given rectangle, stored count and lines of token bytes,
// each line as the writer lays it out.
Bytes Blob(int16_t count, const std::vector<Bytes>& lines, std::vector<int16_t> rect = {1, 2, 3, 4})
{
    Bytes b;
    auto word = [&](int32_t v) { b.push_back(uint8_t(v >> 8)), b.push_back(uint8_t(v)); };
    for (int16_t v : rect) word(v);
    word(count);
    for (const Bytes& t : lines) {
        word(int32_t(t.size()) + 18);
        word(0), word(int32_t(t.size()));
        b.insert(b.end(), 12, 0);
        b.insert(b.end(), t.begin(), t.end());
        word(0);
    }
    return b;
}

Bytes Tokens(Handle record)
{
    const int32_t n = platform::ReadBE16(*record + 2);
    return Bytes(reinterpret_cast<uint8_t*>(*record) + 16, reinterpret_cast<uint8_t*>(*record) + 16 + n);
}

// A record holding the given token bytes.
Handle Record(const Bytes& tokens)
{
    Bytes r(16, 0);
    r[2] = uint8_t(tokens.size() >> 8), r[3] = uint8_t(tokens.size());
    r.insert(r.end(), tokens.begin(), tokens.end());
    return MakeHandle(r);
}

// Reads every token of a record: the kinds and the positions after each.
std::vector<std::pair<int, int>> Walk(Handle record)
{
    std::vector<std::pair<int, int>> out;
    int16_t pos = 0;
    for (int guard = 0; guard < 1000; ++guard) {
        champoper op;
        const int16_t before = pos;
        getchamp(record, &op, &pos);
        out.push_back({op.Kind(), pos});
        if (op.Kind() == kEndOfLineKind && pos == before) break;
    }
    return out;
}

void FreeRecords(Handle records, int16_t count)
{
    effcalc(&records, &count);
}

}  // namespace

TEST(CalcBlob, CountKeepsItsSignAndDamageGivesNoRecords)
{
    const Bytes two = Blob(-2, {{4, 0}, {1, 0, 0, 5, 8, 0}});
    Handle records = nullptr;
    int16_t count = 0;
    platform::Rect rect{};
    ASSERT_TRUE(LoadCalcFromPtr(two.data(), int32_t(two.size()), &records, &count, &rect));
    EXPECT_EQ(count, -2);
    EXPECT_EQ(erreure, 0);
    EXPECT_EQ(rect.top, 1);
    EXPECT_EQ(rect.right, 4);
    ASSERT_NE(CalcRecordAt(records, 1), nullptr);
    EXPECT_EQ(CalcRecordAt(records, 2), nullptr);
    EXPECT_EQ(Tokens(CalcRecordAt(records, 1)), (Bytes{1, 0, 0, 5, 8, 0}));
    FreeRecords(records, count);

    // A second record claiming more than remains: nothing, and -1.
    Bytes cut = two;
    cut[10 + 2 + 18 + 2] += 1;  // the second record's length
    EXPECT_FALSE(LoadCalcFromPtr(cut.data(), int32_t(cut.size()), &records, &count, nullptr));
    EXPECT_EQ(records, nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(erreure, kBadCalcBlob);

    // Lengths of 0, below the record header, or with the tokens past the
    // record; a count the bytes cannot hold; a blob cut anywhere.
    auto refused = [&](Bytes b) {
        Handle r = nullptr;
        int16_t c = 0;
        const bool ok = LoadCalcFromPtr(b.data(), int32_t(b.size()), &r, &c, nullptr);
        return !ok && !r && erreure == kBadCalcBlob;
    };
    Bytes zero = two;
    zero[10] = 0, zero[11] = 0;
    EXPECT_TRUE(refused(zero));
    Bytes shortRecord = Blob(1, {});
    shortRecord[11] = 15;
    EXPECT_TRUE(refused(shortRecord));
    Bytes tokensPast = two;
    tokensPast[10 + 2 + 3] = 5;  // 5 token bytes in a record of 20
    EXPECT_TRUE(refused(tokensPast));
    Bytes manyClaimed = Blob(30000, {{4, 0}});
    EXPECT_TRUE(refused(manyClaimed));
    for (size_t n = 0; n < two.size() - 2; ++n) EXPECT_TRUE(refused(Bytes(two.begin(), two.begin() + std::ptrdiff_t(n)))) << n;

    // A record accepted from 16 bytes up, its tokens inside its length.
    Bytes bare{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 16};
    bare.insert(bare.end(), 16, 0);
    ASSERT_TRUE(LoadCalcFromPtr(bare.data(), int32_t(bare.size()), &records, &count, nullptr));
    EXPECT_EQ(count, 1);
    FreeRecords(records, count);
    const Bytes none = Blob(0, {});
    ASSERT_TRUE(LoadCalcFromPtr(none.data(), int32_t(none.size()), &records, &count, nullptr));
    EXPECT_EQ(records, nullptr);
    EXPECT_EQ(erreure, 0);

    // Memory running out at any step: nothing read, nothing kept.
    for (int32_t after = 0;; ++after) {
        platform::ScopedFault fault(platform::FaultKind::Allocation, after);
        const bool ok = LoadCalcFromPtr(two.data(), int32_t(two.size()), &records, &count, nullptr);
        if (ok) {
            FreeRecords(records, count);
            break;
        }
        EXPECT_EQ(records, nullptr);
        EXPECT_EQ(erreure, platform::memFullErr);
    }
}

TEST(CalcBlob, WriterWritesLengthTokensPlus18AndTwoZeroBytes)
{
    Handle records = nullptr;
    int16_t count = 0;
    const Bytes blob = Blob(-2, {{4, 0, 5, 0}, {}});
    ASSERT_TRUE(LoadCalcFromPtr(blob.data(), int32_t(blob.size()), &records, &count, nullptr));
    // A record read with more bytes than its tokens is written at its tokens' size.
    Handle grown = CalcRecordAt(records, 1);
    platform::SetHandleSize(grown, 40);
    Handle out = platform::NewHandle(0);
    const platform::Rect rect{1, 2, 3, 4};
    ASSERT_TRUE(SaveCalcAsBlob(&rect, count, records, out));
    EXPECT_EQ(Contents(out), blob);
    // A damaged record in memory is refused and the blob left as it was.
    platform::WriteBE16(*grown + 2, 100);
    EXPECT_FALSE(SaveCalcAsBlob(&rect, count, records, out));
    EXPECT_EQ(Contents(out), blob);
    platform::DisposeHandle(out);
    FreeRecords(records, count);
}

TEST(Operands, EveryKindReadAndWrittenBackByteForByte)
{
    const Bytes comment = [] {
        Bytes t{23, 0, 0, 0, 81};
        t.insert(t.end(), 81, 'c');
        return t;
    }();
    const std::vector<Bytes> tokens = {
        {0, 0, 7, 0}, {1, 0, 1, 44}, {13, 0, 0xFF, 0xFF},
        {2, 0, 0, 0, 5, 'h', 'e', 'l', 'l', 'o'}, {2, 0, 0, 0, 2, 'h', 'i', 0},
        {2, 0, 1, 0, 0xC0, 0x00, 0xA0, 0, 0, 0, 0, 0, 0, 0},  // -2.5 as an extended real
        {2, 0, 4, 0, 0, 2, 0, 1, 0x07, 0xE8}, {2, 0, 9, 0, 0xFF, 0xFE, 0x1D, 0xC0}, {2, 0, 11, 0, 0, 0, 14, 16},
        {2, 0, 25, 0, 0, 0, 0, 2, 0x18, 0x71, 0x1A, 0}, {3, 0, 0, 3, 0, 2, 0, 2, 0, 5, 0, 6},
        {9, 0, 3, 'S', 'u', 'm'}, {11, 0, 2, 'M', '2', 0}, {26, 0, 1, 'i'}, {35, 0, 1, 'g'},
        {22, 0, 5, 2, 0x3A, 0xA2, 0, 2}, {36, 0, 5, 2, 0, 3, 0, 1}, comment, {27, 0, 0, 0, 1, 'x'},
        {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}, {12, 0}, {14, 0}, {21, 0}, {24, 0}, {25, 0}, {28, 0}, {34, 0}};
    Bytes all;
    for (const Bytes& t : tokens) all.insert(all.end(), t.begin(), t.end());
    Handle stored = Record(all);
    Handle written = NewCalcRecord();
    ASSERT_EQ(platform::GetHandleSize(written), kNewCalcRecordSize);
    int16_t pos = 0;
    for (const Bytes& t : tokens) {
        champoper op;
        const int16_t before = pos;
        getchamp(stored, &op, &pos);
        ASSERT_EQ(op.Kind(), t[0]);
        EXPECT_EQ(pos - before, int(t.size())) << int(t[0]);
        if (op.Kind() == kConstantKind && op.SubKind() == kRealSubKind) {
            EXPECT_EQ(op.Real(), -2.5);
        }
        ASSERT_EQ(putchamp(written, op), 0) << int(t[0]);
    }
    EXPECT_EQ(Tokens(written), all);
    // Operands that cannot be written write nothing.
    champoper bad = MakeOperand(10);
    EXPECT_EQ(putchamp(written, bad), -1);
    bad = MakeOperand(kConstantKind);
    bad.bytes[2] = 3;
    EXPECT_EQ(putchamp(written, bad), -1);
    EXPECT_EQ(Tokens(written), all);
    platform::DisposeHandle(stored);
    platform::DisposeHandle(written);
}

TEST(Operands, ReadingStaysInsideTheLine)
{
    // A text token claiming more characters than the line holds ends the line.
    Handle r = Record({4, 0, 9, 0, 40, 'a', 'b', 'c', 5, 0});
    EXPECT_EQ(Walk(r), (std::vector<std::pair<int, int>>{{4, 2}, {8, 10}, {8, 10}}));
    platform::DisposeHandle(r);
    // A field token whose depth passes the line, a negative depth, a
    // constant of an unknown sub-kind: each ends the line.
    for (const Bytes& tokens : {Bytes{3, 0, 0, 1, 0, 1, 0, 9, 0, 2}, Bytes{3, 0, 0, 1, 0, 1, 0xFF, 0xFF},
                                Bytes{2, 0, 7, 0, 0, 0, 0, 0}}) {
        r = Record(tokens);
        EXPECT_EQ(Walk(r), (std::vector<std::pair<int, int>>{{8, int(tokens.size())}, {8, int(tokens.size())}}));
        platform::DisposeHandle(r);
    }
    // An unknown kind reads as a two-byte end of line; the walk goes on.
    r = Record({10, 0, 200, 0, 5, 0});
    EXPECT_EQ(Walk(r), (std::vector<std::pair<int, int>>{{8, 2}, {8, 4}, {5, 6}, {8, 6}}));
    platform::DisposeHandle(r);
    // The token count is believed only inside the record's bytes.
    r = Record({5, 0, 6, 0});
    platform::WriteBE16(*r + 2, 500);
    EXPECT_EQ(Walk(r), (std::vector<std::pair<int, int>>{{5, 2}, {6, 4}, {8, 4}}));
    platform::DisposeHandle(r);
    // A name longer than the operand is cut to what it holds.
    Bytes longName{9, 0, 200};
    longName.insert(longName.end(), 200, 'n');
    longName.push_back(0);
    r = Record(longName);
    champoper op;
    int16_t pos = 0;
    getchamp(r, &op, &pos);
    EXPECT_EQ(op.Kind(), 9);
    EXPECT_EQ(op.Text(2)[0], kOperandSize - 3);
    EXPECT_EQ(pos, int16_t(longName.size()));
    platform::DisposeHandle(r);
}

class CalcStore : public storetest::StoreTest {};

TEST_F(CalcStore, PutcalcMakesANewIdForAMissingOneAndGetcalcReadsItBack)
{
    ASSERT_NE(CreateFile("calc.qzb"), 0);
    Handle records = platform::NewHandle(int32_t(sizeof(Handle)));
    Handle line = NewCalcRecord();
    champoper op = MakeOperand(1);
    op.SetWord(2, 41);
    ASSERT_EQ(putchamp(line, op), 0);
    std::memcpy(*records, &line, sizeof(Handle));
    const platform::Rect rect{10, 20, 30, 40};
    int16_t id = 0;
    putcalc(&id, records, 1, &rect);
    ASSERT_EQ(erreure, 0);
    ASSERT_NE(id, 0);
    int16_t other = 777;
    putcalc(&other, records, -1, nullptr);
    ASSERT_EQ(erreure, 0);
    EXPECT_NE(other, 777);
    EXPECT_NE(other, id);
    FreeRecords(records, 1);

    int16_t count = 0;
    platform::Rect back{};
    records = getcalc(id, &count, &back);
    ASSERT_NE(records, nullptr);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(back.left, 20);
    EXPECT_EQ(back.bottom, 30);
    EXPECT_EQ(Tokens(CalcRecordAt(records, 0)), (Bytes{1, 0, 0, 41}));
    FreeRecords(records, count);
    records = getcalc(other, &count, nullptr);
    EXPECT_EQ(count, -1);
    FreeRecords(records, count);

    // A method written over keeps its id.
    Handle empty = nullptr;
    int16_t same = id;
    putcalc(&same, empty, 0, nullptr);
    EXPECT_EQ(same, id);
    EXPECT_EQ(Contents(xget1res(kCCQz, id)), Blob(0, {}, {0, 0, 0, 0}));

    // Memory running out while writing is told as such, never as damage,
    // and leaves the stored method as it was.
    const Bytes stored = Contents(xget1res(kCCQz, id));
    records = getcalc(other, &count, nullptr);
    for (int32_t after = 0;; ++after) {
        platform::ScopedFault fault(platform::FaultKind::Allocation, after);
        int16_t kept = id;
        putcalc(&kept, records, count, nullptr);
        if (erreure == 0) break;
        EXPECT_EQ(erreure, platform::memFullErr) << after;
        EXPECT_EQ(Contents(xget1res(kCCQz, id)), stored) << after;
    }
    FreeRecords(records, count);

    EXPECT_EQ(getcalc(999, &count, nullptr), nullptr);
    EXPECT_EQ(erreure, kResNotFound);
    ASSERT_TRUE(xaddres(MakeHandle({0, 0, 0}), kCCQz, 998));
    EXPECT_EQ(getcalc(998, &count, nullptr), nullptr);
    EXPECT_EQ(erreure, kBadCalcBlob);
}

TEST_F(CalcStore, TheBuildersMethodsReadTokenForToken)
{
    platform::testing::TempFolder folder;
    const std::string description =
        "structure Calc\n"
        "table Lines\n"
        "  field Price real\n"
        "  subtable Parts\n"
        "    field Weight integer\n"
        "constants Limits id 3\n"
        "  Top 99\n"
        "method Helper id 7\n"
        "  op 1\n"
        "method Main id 8\n"
        "  comment \"totals\" var Sum op 7 real 0.21 local Rate op 7 long -5\n"
        "  command 200 ( \":1000,2\" , date 2024-03-01 , time 3600 , int64 9000000000 )\n"
        "  field Lines.Price op 0 field Lines.Parts.Weight call Helper ( param 1 ) ipvar Count\n"
        "  kw 14 const 3 1 plugin 15010 2 error \"unfinished\" end\n";
    const docbuilder::BuildResult built = docbuilder::BuildDocument(description, "calc.qzdoc", folder.path());
    ASSERT_EQ(built.error, 0) << built.message;
    platform::FSSpec fileSpec;
    platform::FSMakeFSSpec(built.dataPath, &fileSpec);
    ASSERT_NE(openres(fileSpec, false), 0);

    const Bytes stored = Contents(xget1res(kCCQz, 8));
    int16_t count = 0;
    Handle records = getcalc(8, &count, nullptr);
    ASSERT_NE(records, nullptr);
    ASSERT_EQ(count, 4);
    // Every token of every line is read whole, up to the line's end.
    int32_t tokens = 0;
    for (int32_t k = 0; k < count; ++k) {
        Handle line = CalcRecordAt(records, k);
        const auto walk = Walk(line);
        ASSERT_GE(walk.size(), 2u);
        EXPECT_EQ(walk.back().second, int(Tokens(line).size())) << k;
        tokens += int32_t(walk.size()) - 1;
    }
    EXPECT_EQ(tokens, 7 + 10 + 8 + 5);
    // The real literal arrives as a double; the field path as the builder writes it.
    champoper op;
    int16_t pos = 0;
    Handle second = CalcRecordAt(records, 0);
    for (int i = 0; i < 4; ++i) getchamp(second, &op, &pos);
    EXPECT_DOUBLE_EQ(op.Real(), 0.21);
    pos = 0;
    Handle fourth = CalcRecordAt(records, 2);
    for (int i = 0; i < 3; ++i) getchamp(fourth, &op, &pos);
    docbuilder::TokenSpec field;
    field.kind = kFieldKind;
    const Bytes written = docbuilder::TokenBytes(field, 1, {2, 1});  // Lines, Parts, Weight
    EXPECT_EQ(Bytes(op.bytes, op.bytes + written.size()), written);

    // Written back token by token into new lines, the same blob.
    Handle copy = platform::NewHandleClear(count * int32_t(sizeof(Handle)));
    for (int32_t k = 0; k < count; ++k) {
        Handle line = NewCalcRecord();
        pos = 0;
        for (;;) {
            const int16_t before = pos;
            getchamp(CalcRecordAt(records, k), &op, &pos);
            if (pos == before) break;
            ASSERT_EQ(putchamp(line, op), 0);
        }
        std::memcpy(*copy + k * int32_t(sizeof(Handle)), &line, sizeof(Handle));
    }
    Handle out = platform::NewHandle(0);
    ASSERT_TRUE(SaveCalcAsBlob(nullptr, count, copy, out));
    EXPECT_EQ(Contents(out), stored);
    platform::DisposeHandle(out);
    FreeRecords(copy, count);
    FreeRecords(records, count);
}
