// The chunk library: what the writer lays down byte for byte, the rules it
// refuses, and how the reader walks good, damaged, nested and byte-reversed
// files.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "forms/iff/Iff.h"
#include "kernel/startup/KernelGlobals.h"
#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "tests/forms/IffBytes.h"

namespace {

using namespace ifftest;
using platform::FourCC;

constexpr IFFP kLayo = IFFP(FourCC("LAYO"));

// A writer over a fresh handle.
struct Writer {
    platform::Handle h = platform::NewHandle(0);
    IOFile* io = MemoryOpen(h, 0);
    _GroupContext top;
    ~Writer() { platform::DisposeHandle(h); }
    int32_t Written() const { return io->logicalEnd; }
};

TEST(IffWriter, AGroupOfUnknownSizeIsPatchedAndTheHandleTrimmed)
{
    Writer w;
    ASSERT_EQ(OpenWIFF(w.io, &w.top, kSizeUnknown), IFF_OKAY);
    _GroupContext form;
    ASSERT_EQ(StartWGroup(&w.top, ID_FORM, kSizeUnknown, kLayo, &form), IFF_OKAY);
    // The first write grows the handle once, by what it needs and 4000.
    EXPECT_EQ(platform::GetHandleSize(w.h), 8 + 4000);
    ASSERT_EQ(PutCk(&form, IFFP(FourCC("ABCD")), 3, "xyz"), IFF_OKAY);
    EXPECT_EQ(platform::GetHandleSize(w.h), 8 + 4000);
    ASSERT_EQ(EndWGroup(&form), IFF_OKAY);
    ASSERT_EQ(FClose(w.io), 0);
    const Bytes want = B().Id("FORM").L(0x10).Id("LAYO").Id("ABCD").L(3).Raw("xyz").U8(0).b;
    EXPECT_EQ(BytesOf(w.h), want);
    EXPECT_EQ(platform::GetHandleSize(w.h), 24);
}

TEST(IffWriter, BrokenRulesAreRefusedWithNothingWritten)
{
    const IFFP abcd = IFFP(FourCC("ABCD"));
    using Step = std::function<IFFP(Writer&, _GroupContext*)>;
    // Each case: what is set up (the top level open, or a FORM open in it),
    // then the step refused.
    struct Case {
        const char* what;
        int setUp;  // 0 nothing, 1 top level, 2 a FORM, 3 a FORM with a chunk open
        Step step;
    };
    const std::vector<Case> cases = {
        {"odd limit", 0, [](Writer& w, _GroupContext*) { return OpenWIFF(w.io, &w.top, 101); }},
        {"unknown size in PutCk", 2, [&](Writer&, _GroupContext* f) { return PutCk(f, abcd, kSizeUnknown, "x"); }},
        {"a second header", 3, [&](Writer&, _GroupContext* f) { return PutCkHdr(f, abcd, 2); }},
        {"a chunk on top", 1, [&](Writer& w, _GroupContext*) { return PutCkHdr(&w.top, abcd, 2); }},
        {"id 0", 2, [](Writer&, _GroupContext* f) { return PutCkHdr(f, 0, 2); }},
        {"negative size", 2, [&](Writer&, _GroupContext* f) { return PutCkHdr(f, abcd, -2); }},
        {"bytes without a chunk", 2, [](Writer&, _GroupContext* f) { return IFFWriteBytes(f, "ab", 2); }},
        {"negative count", 3, [](Writer&, _GroupContext* f) { return IFFWriteBytes(f, "ab", -1); }},
        {"an end without a chunk", 2, [](Writer&, _GroupContext* f) { return PutCkEnd(f); }},
        {"closing over an open chunk", 3, [](Writer&, _GroupContext* f) { return CloseWGroup(f); }},
    };
    for (const Case& c : cases) {
        Writer w;
        _GroupContext form;
        IFFP setUp = IFF_OKAY;
        if (c.setUp >= 1) setUp |= OpenWIFF(w.io, &w.top, kSizeUnknown);
        if (c.setUp >= 2) setUp |= StartWGroup(&w.top, ID_FORM, kSizeUnknown, kLayo, &form);
        if (c.setUp >= 3) setUp |= PutCkHdr(&form, abcd, kSizeUnknown);
        ASSERT_EQ(setUp, IFF_OKAY) << c.what;
        const int32_t before = w.Written();
        EXPECT_EQ(c.step(w, &form), CLIENT_ERROR) << c.what;
        EXPECT_EQ(w.Written(), before) << c.what;
        FClose(w.io);
    }

    // Known sizes and limits bound what may be written.
    Writer w;
    ASSERT_EQ(OpenWIFF(w.io, &w.top, 16), IFF_OKAY);
    EXPECT_EQ(PutCkHdr(&w.top, ID_FORM, 10), CLIENT_ERROR);
    _GroupContext form;
    ASSERT_EQ(StartWGroup(&w.top, ID_FORM, 8, kLayo, &form), IFF_OKAY);
    EXPECT_EQ(PutCkHdr(&form, abcd, 2), CLIENT_ERROR);  // 8 + 2 past the group's 4 left
    ASSERT_EQ(PutCkHdr(&form, abcd, 0), CLIENT_ERROR);
    FClose(w.io);
    Writer v;
    ASSERT_EQ(OpenWIFF(v.io, &v.top, kSizeUnknown), IFF_OKAY);
    ASSERT_EQ(StartWGroup(&v.top, ID_FORM, kSizeUnknown, kLayo, &form), IFF_OKAY);
    ASSERT_EQ(PutCkHdr(&form, abcd, 4), IFF_OKAY);
    EXPECT_EQ(IFFWriteBytes(&form, "abcde", 5), CLIENT_ERROR);
    ASSERT_EQ(IFFWriteBytes(&form, "ab", 2), IFF_OKAY);
    EXPECT_EQ(PutCkEnd(&form), CLIENT_ERROR);  // 2 of the 4 announced
    FClose(v.io);
}

// A whole chunk in one write is laid down as header, data and pad would be
// one by one; refused or failed, it leaves the group and the target as they were.
TEST(IffWriter, AFramedChunkIsWrittenWholeOrNotAtAll)
{
    struct Case {
        const char* what;
        std::string data;
        int32_t groupSize;  // of the FORM: kSizeUnknown or a limit
        bool chunkOpen, targetFull;
        IFFP result;
    };
    const Case cases[] = {
        {"even", "wxyz", kSizeUnknown, false, false, IFF_OKAY},
        {"odd, padded", "xyz", kSizeUnknown, false, false, IFF_OKAY},
        {"past the group", "xyz", 4 + 8 + 2, false, false, CLIENT_ERROR},
        {"another chunk open", "xy", kSizeUnknown, true, false, CLIENT_ERROR},
        {"the target cannot grow", "xy", kSizeUnknown, false, true, DOS_ERROR},
    };
    for (const Case& c : cases) {
        Writer w;
        _GroupContext form;
        ASSERT_EQ(OpenWIFF(w.io, &w.top, kSizeUnknown), IFF_OKAY);
        ASSERT_EQ(StartWGroup(&w.top, ID_FORM, c.groupSize, kLayo, &form), IFF_OKAY);
        if (c.chunkOpen) PutCkHdr(&form, IFFP(FourCC("OPEN")), kSizeUnknown);
        const std::vector<uint8_t> fill(c.targetFull ? size_t(w.io->physicalEnd - w.Written()) : 0, 0);
        if (c.targetFull) FWrite(w.io, fill.data(), int32_t(fill.size()));  // the room left
        const _GroupContext before = form;
        const int32_t written = w.Written();
        uint8_t framed[8 + 4 + 1];
        std::memset(framed, 0xEE, sizeof framed);
        std::memcpy(framed + 8, c.data.data(), c.data.size());
        const int32_t size = int32_t(c.data.size());
        {
            platform::ScopedFault fault(platform::FaultKind::Allocation, 0, -1);
            EXPECT_EQ(PutCkFramed(&form, IFFP(FourCC("ABCD")), size, framed), c.result) << c.what;
        }
        EXPECT_EQ(form.ckId, before.ckId) << c.what;
        if (c.result != IFF_OKAY) {
            EXPECT_EQ(form.position, before.position) << c.what;
            EXPECT_EQ(w.Written(), written) << c.what;
            FClose(w.io);
            continue;
        }
        ASSERT_EQ(EndWGroup(&form), IFF_OKAY) << c.what;
        ASSERT_EQ(FClose(w.io), 0);
        B want = B().Id("FORM").L(uint32_t(12 + size + (size & 1))).Id("LAYO").Id("ABCD").L(uint32_t(size)).Raw(c.data);
        EXPECT_EQ(BytesOf(w.h), (size & 1 ? want.U8(0) : want).b) << c.what;
    }
}

// --- reading -------------------------------------------------------------------

// Records the chunks of every group it meets, nested groups through the
// frame, each chunk read as `read` says.
struct Recorder {
    _ClientFrame frame{GetList, GetProp, Form, GetList};
    std::vector<std::string> seen;
    std::function<IFFP(_GroupContext*)> read;
    static Recorder* current;

    static IFFP Form(_GroupContext* parent)
    {
        _GroupContext group;
        IFFP result = OpenRGroup(parent, &group);
        if (result != IFF_OKAY) return result;
        current->seen.push_back("FORM " + platform::FourCCText(uint32_t(parent->subtype)));
        do {
            result = GetF1ChunkHdr(&group);
            if (result > 0) {
                current->seen.push_back(platform::FourCCText(uint32_t(result)));
                result = current->read ? current->read(&group) : IFF_OKAY;
            }
        } while (result >= IFF_OKAY);
        CloseRGroup(&group);
        return result == END_MARK ? IFF_OKAY : result;
    }

    IFFP Run(const Bytes& bytes)
    {
        current = this;
        platform::Handle h = HandleOf(bytes);
        IOFile* io = MemoryOpen(h, 0);
        const IFFP result = ReadIFF(io, &frame);
        FClose(io);
        platform::DisposeHandle(h);
        return result;
    }
};
Recorder* Recorder::current = nullptr;

Bytes Form(const Bytes& contents) { return B().Group("FORM", "LAYO", contents).b; }

TEST(IffReader, FilesThatAreNotChunkFilesOrAreDamaged)
{
    struct Case {
        const char* what;
        Bytes bytes;
        IFFP result;
    };
    const std::vector<Case> cases = {
        {"empty", {}, NOT_IFF},
        {"seven bytes", B().Id("FORM").W(0).U8(0).b, NOT_IFF},
        {"not a group", B().Id("ABCD").L(0).b, NOT_IFF},
        {"PROP on top", B().Group("PROP", "LAYO", {}).b, NOT_IFF},
        {"group past the file", B().Id("FORM").L(6).Id("LAYO").b, BAD_IFF},
        {"empty form", Form({}), IFF_OKAY},
        {"chunk past its group", B().Id("FORM").L(16).Id("LAYO").Id("ABCD").L(5).L(0).b, BAD_IFF},
        {"a header cut short", B().Id("FORM").L(10).Id("LAYO").L(0).W(0).b, BAD_IFF},
        {"odd group", B().Id("FORM").L(5).Id("LAYO").U8(0).b, BAD_IFF},
        {"PROP after a FORM in a LIST",
         B().Group("LIST", "LAYO", B().Raw(Form({})).Group("PROP", "LAYO", {}).b).b, BAD_IFF},
        {"PROP in a CAT", B().Group("CAT ", "LAYO", B().Group("PROP", "LAYO", {}).b).b, BAD_IFF},
        {"PROP leading a LIST", B().Group("LIST", "LAYO", B().Group("PROP", "LAYO", {}).Raw(Form({})).b).b,
         IFF_OKAY},
    };
    for (const Case& c : cases) {
        Recorder r;
        EXPECT_EQ(r.Run(c.bytes), c.result) << c.what;
    }
}

TEST(IffReader, AnEmptyGroupEndsAtOnceAndADamagedSizeIsCutToWhatRemains)
{
    _GroupContext top, group;
    // A size past the group, also the largest one under a negative id.
    for (const auto& [id, size] : {std::pair<uint32_t, uint32_t>{FourCC("ABCD"), 100}, {0x80000000u, 0x7FFFFFFFu}}) {
        platform::Handle h = HandleOf(B().Id("FORM").L(16).Id("LAYO").L(id).L(size).L(0).b);
        IOFile* io = MemoryOpen(h, 0);
        ASSERT_EQ(OpenRIFF(io, &top, nullptr), IFF_OKAY);
        ASSERT_EQ(GetChunkHdr(&top), ID_FORM);
        EXPECT_EQ(top.subtype, kLayo);
        ASSERT_EQ(OpenRGroup(&top, &group), IFF_OKAY);
        EXPECT_EQ(GetChunkHdr(&group), BAD_IFF) << size;
        EXPECT_EQ(group.ckSize, 4) << size;
        // The damaged chunk is skipped whole: nothing beyond the group.
        EXPECT_EQ(GetChunkHdr(&group), END_MARK) << size;
        EXPECT_EQ(group.position, 24) << size;
        FClose(io);
        platform::DisposeHandle(h);
    }

    platform::Handle h = HandleOf(Form({}));
    IOFile* io = MemoryOpen(h, 0);
    ASSERT_EQ(OpenRIFF(io, &top, nullptr), IFF_OKAY);
    ASSERT_EQ(GetChunkHdr(&top), ID_FORM);
    ASSERT_EQ(OpenRGroup(&top, &group), IFF_OKAY);
    EXPECT_EQ(GetChunkHdr(&group), END_MARK);
    FClose(io);
    platform::DisposeHandle(h);
}

TEST(IffReader, ReadsBeyondTheChunkAreShortAndReadNothing)
{
    Recorder r;
    std::vector<IFFP> results;
    uint8_t buffer[4] = {9, 9, 9, 9};
    r.read = [&](_GroupContext* c) {
        results.push_back(IFFReadBytes(c, buffer, 4));  // 6 bytes: fits
        const int32_t before = c->bytesSoFar;
        results.push_back(IFFReadLongs(c, buffer, 4));  // 2 left
        results.push_back(c->bytesSoFar - before);
        results.push_back(IFFReadBytes(c, buffer, -1));
        results.push_back(IFFReadBytes(c, buffer, 0));
        return IFF_OKAY;
    };
    ASSERT_EQ(r.Run(Form(B().Chunk("ABCD", {1, 2, 3, 4, 5, 6}).b)), IFF_OKAY);
    EXPECT_EQ(results, (std::vector<IFFP>{IFF_OKAY, SHORT_CHUNK, 0, CLIENT_ERROR, IFF_OKAY}));
    EXPECT_EQ(buffer[0], 1);
    EXPECT_EQ(buffer[3], 4);
}

TEST(IffReader, OddChunksArePaddedAndPaddedStringsStayEven)
{
    Recorder r;
    std::vector<std::string> texts;
    r.read = [&](_GroupContext* c) {
        unsigned char s[256];
        const IFFP result = IFFReadPaddedPString(c, s);
        texts.push_back(std::string(reinterpret_cast<char*>(s + 1), s[0]) + "/" + std::to_string(c->bytesSoFar));
        return result;
    };
    // "ab" takes 4 bytes with its pad; "abc" exactly 4.
    const Bytes form = Form(B().Chunk("ODD1", B().P("ab").U8(0).U8(7).b).Chunk("EVEN", B().P("abc").b).b);
    ASSERT_EQ(r.Run(form), IFF_OKAY);
    EXPECT_EQ(r.seen, (std::vector<std::string>{"FORM LAYO", "ODD1", "EVEN"}));
    EXPECT_EQ(texts, (std::vector<std::string>{"ab/4", "abc/4"}));
}

TEST(IffReader, AReversedFileTurnsWordsAndLongsButNotBytes)
{
    Recorder r;
    uint8_t words[4], longs[4], bytes[4];
    r.read = [&](_GroupContext* c) {
        IFFP result = IFFReadWords(c, words, 4);
        if (result == IFF_OKAY) result = IFFReadLongs(c, longs, 4);
        if (result == IFF_OKAY) result = IFFReadBytes(c, bytes, 4);
        return result;
    };
    const Bytes data = {1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4};
    const Bytes file = Little().Group("FORM", "LAYO", Little().Chunk("ABCD", data).b).b;
    EXPECT_EQ(file[0], 'M');
    ASSERT_EQ(r.Run(file), IFF_OKAY);
    EXPECT_EQ(r.seen, (std::vector<std::string>{"FORM LAYO", "ABCD"}));
    EXPECT_EQ(Bytes(words, words + 4), (Bytes{2, 1, 4, 3}));
    EXPECT_EQ(Bytes(longs, longs + 4), (Bytes{4, 3, 2, 1}));
    EXPECT_EQ(Bytes(bytes, bytes + 4), (Bytes{1, 2, 3, 4}));
}

Bytes Nested(int depth)
{
    Bytes inner;
    for (int i = 0; i < depth; ++i) inner = Form(inner);
    return inner;
}

TEST(IffReader, NestingDeeperThanSixtyFourGroupsIsDamage)
{
    for (const auto& [depth, result] : std::vector<std::pair<int, IFFP>>{{64, IFF_OKAY}, {65, BAD_IFF}, {5000, BAD_IFF}}) {
        Recorder r;
        EXPECT_EQ(r.Run(Nested(depth)), result) << depth;
    }
}

TEST(IffTarget, SeeksClampAndReadsStopAtTheLogicalEnd)
{
    platform::Handle h = HandleOf({1, 2, 3, 4, 5});
    IOFile* io = MemoryOpen(h, 1);
    ASSERT_NE(io, nullptr);
    EXPECT_EQ(FileLength(io), 4);
    EXPECT_EQ(FSeek(io, 5, kSeekFromStart), -39);
    EXPECT_EQ(io->mark, 4);
    EXPECT_EQ(dosErr, -39);
    EXPECT_EQ(FSeek(io, -1, kSeekFromStart), -40);
    EXPECT_EQ(io->mark, 0);
    EXPECT_EQ(dosErr, -39);  // the first error stays
    uint8_t b[8] = {};
    EXPECT_EQ(FSeek(io, -2, kSeekFromEnd), 0);
    EXPECT_EQ(FRead(io, b, 8), 2);
    EXPECT_EQ(b[0], 4);
    EXPECT_EQ(FClose(io), 0);
    EXPECT_EQ(platform::GetHandleSize(h), 5);
    EXPECT_EQ(MemoryOpen(h, 6), nullptr);

    IOFile file;
    file.fileRef = 3;
    EXPECT_EQ(FRead(&file, b, 1), DOS_ERROR);
    platform::DisposeHandle(h);
}

TEST(IffTarget, AWritePastTheRoomGrowsByAsMuchAgainOrWhatMemoryAllows)
{
    // 8 bytes written first leave room for 4008; the next write needs 4108.
    const struct {
        int64_t free;  // memory left for the second growth
        int16_t result;
        int32_t room;  // the handle's size after the second write
    } cases[] = {{1 << 30, 0, 4108 + 4008}, {4108, 0, 4108 + 4008}, {4107, 0, 4108 + 4000},
                 {4100, 0, 4108 + 4000}, {4099, platform::memFullErr, 4008}};
    const std::vector<uint8_t> bytes(4100, 2);
    for (const auto& c : cases) {
        const int64_t budget = platform::MemoryBudget();
        platform::Handle h = platform::NewHandle(0);
        IOFile* io = MemoryOpen(h, 0);
        ASSERT_EQ(FWrite(io, bytes.data(), 8), 0);
        platform::SetMemoryBudget(platform::MemoryInUse() + c.free);
        EXPECT_EQ(FWrite(io, bytes.data(), 4100), c.result) << c.free;
        platform::SetMemoryBudget(budget);
        EXPECT_EQ(platform::GetHandleSize(h), c.room) << c.free;
        EXPECT_EQ(FileLength(io), c.result == 0 ? 4108 : 8) << c.free;
        FClose(io);
        platform::DisposeHandle(h);
    }
}

TEST(IffTarget, FontSizesShrinkByAQuarterOnlyWhenAsked)
{
    const int16_t small = mysmalsize, message = mymesssize, big = mybigsize;
    mysmalsize = 9, mymesssize = 10, mybigsize = 13;
    AdjusteFontForPlatform(0);
    EXPECT_EQ(std::vector<int16_t>({mysmalsize, mymesssize, mybigsize}), (std::vector<int16_t>{9, 10, 13}));
    AdjusteFontForPlatform(1);
    EXPECT_EQ(std::vector<int16_t>({mysmalsize, mymesssize, mybigsize}), (std::vector<int16_t>{6, 7, 9}));
    mysmalsize = small, mymesssize = message, mybigsize = big;
}

}  // namespace
