// The container of a stored form: the chunks PackFormat writes, byte for
// byte and in order, and what the readers make of chunks written by hand,
// older and damaged ones included.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "forms/iff/ChunkFields.h"
#include "forms/layout/FormContainer.h"
#include "forms/layout/PageTable.h"
#include "forms/layout/SaisieAtt.h"
#include "forms/layout/VStringChunks.h"
#include "platform/core/Endian.h"
#include "platform/resfiles/Resources.h"
#include "tests/forms/IffBytes.h"
#include "tests/kernel/AppResourceFile.h"
#include "tests/platform/files/TempFolder.h"
#include "toolbox/foundation/VStr.h"

namespace {

using namespace ifftest;
using platform::FourCC;

struct Chunk {
    std::string id;
    Bytes data;
};

// The chunks of a FORM 'LAYO', read by an independent walk.
std::vector<Chunk> ChunksOf(const Bytes& file)
{
    std::vector<Chunk> out;
    if (file.size() < 12 || platform::ReadBE32(file.data()) != FourCC("FORM")) return out;
    const size_t end = 8 + platform::ReadBE32(file.data() + 4);
    for (size_t at = 12; at + 8 <= end && end <= file.size();) {
        const uint32_t size = platform::ReadBE32(file.data() + at + 4);
        out.push_back({platform::FourCCText(platform::ReadBE32(file.data() + at)),
                       Bytes(file.begin() + long(at + 8), file.begin() + long(at + 8 + size))});
        at += 8 + size + (size & 1);
    }
    return out;
}

class FormContainer : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::ResetResourceManager();
        std::vector<std::string> items(87, "");
        items.push_back("Plan ^0");
        std::vector<uint8_t> list = {0, uint8_t(items.size())};
        for (const std::string& s : items) {
            list.push_back(uint8_t(s.size()));
            list.insert(list.end(), s.begin(), s.end());
        }
        ASSERT_NE(kerneltest::OpenAppFile(dir_.path() + "/app.rsrc", {{FourCC("STR#"), 374, false, "", 0, list}}), -1);
    }
    void TearDown() override { platform::ResetResourceManager(); }

    // Reads the container chunks of `file` into a fresh frame.
    IFFP Read(const Bytes& file, CustomClientFrame* frame, int32_t* counters)
    {
        InitReadingFrame(frame);
        static CustomClientFrame* current;
        static int32_t* names;
        current = frame;
        names = counters;
        frame->client.getForm = [](_GroupContext* parent) -> IFFP {
            _GroupContext group;
            IFFP result = OpenRGroup(parent, &group);
            while (result == IFF_OKAY) {
                result = GetF1ChunkHdr(&group);
                bool handled = false;
                if (result > 0) result = ReadContainerChunk(current, &group, names, &handled);
            }
            CloseRGroup(&group);
            return result == END_MARK ? IFF_OKAY : result;
        };
        platform::Handle h = HandleOf(file);
        IOFile* io = MemoryOpen(h, 0);
        const IFFP result = ReadIFF(io, &frame->client);
        FClose(io);
        platform::DisposeHandle(h);
        if (frame->pages) platform::DisposeHandle(frame->pages);
        frame->pages = nullptr;
        return result;
    }

    platform::testing::TempFolder dir_;
};

Bytes Packed(int16_t lastPage, const LayoutInfo& info, const int32_t* counters)
{
    platform::Handle pages = NewPageTable(lastPage);
    platform::Handle h = platform::NewHandle(3);
    EXPECT_TRUE(PackFormat(h, pages, info, counters));
    Bytes b = BytesOf(h);
    platform::DisposeHandle(h);
    platform::DisposeHandle(pages);
    return b;
}

TEST_F(FormContainer, PackFormatWritesTheContainerChunksInOrder)
{
    LayoutInfo info;
    info.Init();
    int32_t counters[kNamingCounters] = {};
    counters[2] = 7;
    const std::vector<Chunk> chunks = ChunksOf(Packed(1, info, counters));
    std::vector<std::string> ids;
    for (const Chunk& c : chunks) ids.push_back(c.id);
    EXPECT_EQ(ids, (std::vector<std::string>{"Vers", "KhPr", "Layr", "Nam#", "DRAW", "FONT", "FLAG", "PAG#", "PAGE",
                                             "PAGE"}));
    ASSERT_EQ(chunks.size(), 10u);
    EXPECT_EQ(chunks[0].data, (Bytes{0, 3, 0, 0, 0, 0}));
    EXPECT_EQ(chunks[1].data, (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
    B layers;
    layers.W(10).U8(0);
    for (int i = 1; i <= 10; ++i) layers.U8(1).U8(1).P("Plan " + std::to_string(i));
    EXPECT_EQ(chunks[2].data, layers.b);
    EXPECT_EQ(chunks[3].data.size(), 84u);
    EXPECT_EQ(platform::ReadBE32(chunks[3].data.data() + 8), 7u);
    EXPECT_EQ(chunks[4].data.size(), 32u);
    EXPECT_EQ(chunks[5].data.size(), 12u);
    EXPECT_EQ(platform::ReadBE16(chunks[5].data.data() + 8), 0xFFFF);  // no style sheet
    EXPECT_EQ(chunks[7].data, (Bytes{0, 1}));
    EXPECT_EQ(chunks[8].data, (Bytes{0, 0}));
    EXPECT_EQ(chunks[9].data, (Bytes{0, 1}));

    const std::vector<Chunk> two = ChunksOf(Packed(2, info, counters));
    ASSERT_EQ(two.size(), 11u);
    EXPECT_EQ(two[7].data, (Bytes{0, 2}));
    EXPECT_EQ(two[10].data, (Bytes{0, 2}));
}

TEST_F(FormContainer, EveryPropertyComesBackFromWhatPackFormatWrote)
{
    LayoutInfo info;
    info.Init();
    info.scriptFlags[0] = 0x01020304, info.scriptFlags[1] = 0x05060708;
    const int16_t limits[4] = {10, 400, 20, 600};
    std::copy(limits, limits + 4, info.sizeLimits);
    info.hSize = -5, info.vSize = 9;
    info.fixedEntryOrder = 1;
    info.optionA = 0, info.optionB = 0, info.optionC = 1, info.optionD = 1;
    const std::string size = "\x04Size", text = "\x05Hello", base = "\x07Invoice";
    std::copy(size.begin(), size.end(), info.sizeObjectName);
    std::copy(text.begin(), text.end(), info.formText);
    std::copy(base.begin(), base.end(), info.inheritedName);
    info.look = 4, info.versionLong = 0x11223344, info.inheritedTable = 2;
    for (int i = 0; i < 6; ++i) info.khpr[i] = uint16_t(i + 1);
    info.currentLayer = 3, info.layerFlag1[4] = 0, info.layerFlag2[5] = 0, info.lastByte = 9;
    int32_t counters[kNamingCounters];
    for (int i = 0; i < kNamingCounters; ++i) counters[i] = i * 3;

    const Bytes file = Packed(0, info, counters);
    EXPECT_EQ(ChunksOf(file)[1].data, (Bytes{0, 2, 0, 1, 0, 3, 0, 4, 0, 5, 0, 6}));
    CustomClientFrame frame;
    int32_t read[kNamingCounters] = {};
    ASSERT_EQ(Read(file, &frame, read), IFF_OKAY);
    const LayoutInfo& got = frame.layoutInfo;
    EXPECT_EQ(frame.formVersion, 3);
    EXPECT_EQ(std::vector<uint32_t>(got.scriptFlags, got.scriptFlags + 2), (std::vector<uint32_t>{0x01020304, 0x05060708}));
    EXPECT_EQ(std::vector<int16_t>(got.sizeLimits, got.sizeLimits + 4), std::vector<int16_t>(limits, limits + 4));
    EXPECT_EQ(got.hSize, -5);
    EXPECT_EQ(got.vSize, 9);
    EXPECT_EQ(got.fixedEntryOrder, 1);
    EXPECT_EQ(std::vector<int>({got.optionA, got.optionB, got.optionC, got.optionD}), (std::vector<int>{0, 0, 1, 1}));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(got.sizeObjectName), 5), size);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(got.formText), 6), text);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(got.inheritedName), 8), base);
    EXPECT_EQ(got.look, 4u);
    EXPECT_EQ(got.versionLong, 0x11223344u);
    EXPECT_EQ(got.inheritedTable, 2);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(got.khpr[i], i + 1);
    EXPECT_EQ(got.currentLayer, 3);
    EXPECT_EQ(got.layerFlag1[4], 0);
    EXPECT_EQ(got.layerFlag2[5], 0);
    EXPECT_EQ(got.layerFlag1[5], 1);
    EXPECT_EQ(got.lastByte, 9);
    EXPECT_EQ(std::vector<int32_t>(read, read + kNamingCounters), std::vector<int32_t>(counters, counters + kNamingCounters));
}

TEST_F(FormContainer, LayersAreNamedFromTheApplicationsFormat)
{
    LayoutInfo info;
    info.Init();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(info.layerNames[2])), "\x06Plan 3");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(info.layerNames[9])), "\x07Plan 10");
}

// A form holding one chunk, written by hand.
Bytes FormWith(const char* id, const Bytes& data, const Bytes& before = {})
{
    return B().Group("FORM", "LAYO", B().Raw(before).Chunk(id, data).b).b;
}

Bytes Flag(const std::function<void(B&)>& tail)
{
    B b;
    b.U8(0).L(0xFFFFFFFF);
    tail(b);
    return b.b;
}

TEST_F(FormContainer, OlderShorterAndDamagedFlagChunks)
{
    auto sizes = [](B& b) { b.W(1).W(2).W(3).W(4).W(5).W(6); };
    struct Case {
        const char* what;
        Bytes flag;
        std::function<void(const LayoutInfo&)> check;
    };
    const std::vector<Case> cases = {
        {"5 bytes", Flag([](B&) {}),
         [](const LayoutInfo& i) {
             EXPECT_EQ(std::vector<int16_t>(i.sizeLimits, i.sizeLimits + 4), (std::vector<int16_t>{0, 32767, 0, 32767}));
             EXPECT_EQ(i.hSize + i.vSize + i.optionA + i.optionB + i.optionC + i.optionD, 0);
             EXPECT_EQ(i.sizeObjectName[0] + i.formText[0], 0);
         }},
        {"mode 0", Flag([&](B& b) { sizes(b); b.U8(0).U8(0).U8(0); }),
         [](const LayoutInfo& i) {
             EXPECT_EQ(std::vector<int>({i.optionA, i.optionD, i.optionB, i.optionC}), (std::vector<int>{0, 0, 1, 1}));
             EXPECT_EQ(i.sizeLimits[3], 4);
         }},
        {"mode 1", Flag([&](B& b) { sizes(b); b.U8(1).U8(0).U8(0); }),
         [](const LayoutInfo& i) {
             EXPECT_EQ(std::vector<int>({i.optionA, i.optionD, i.optionB, i.optionC}), (std::vector<int>{0, 1, 0, 0}));
         }},
        {"mode 2", Flag([&](B& b) { sizes(b); b.U8(2).U8(1).U8(0); }),
         [](const LayoutInfo& i) { EXPECT_EQ(std::vector<int>({i.optionA, i.optionD, i.optionB}), (std::vector<int>{1, 1, 1})); }},
        {"size object name of 40", Flag([&](B& b) { sizes(b); b.U8(2).U8(1).U8(1).U8(40).Zeros(40).L(7); }),
         [](const LayoutInfo& i) {
             EXPECT_EQ(i.sizeObjectName[0], 0);
             EXPECT_EQ(i.look, 0u);
         }},
        {"names longer than their fields",
         Flag([&](B& b) {
             sizes(b);
             b.U8(2).U8(1).U8(1).P("S").P(std::string(40, 't')).L(7).W(3).P(std::string(35, 'n')).L(8).L(1).L(2).U8(5);
         }),
         [](const LayoutInfo& i) {
             EXPECT_EQ(i.formText[0], 32);
             EXPECT_EQ(i.look, 7u);
             EXPECT_EQ(i.inheritedTable, 3);
             EXPECT_EQ(i.inheritedName[0], 31);
             EXPECT_EQ(i.scriptFlags[1], 2u);
             EXPECT_EQ(i.lastByte, 5);
         }},
        {"a script block of 300 bytes",
         Flag([&](B& b) { sizes(b); b.U8(2).U8(1).U8(1).P("").P("").L(0).W(0).P("").L(300).L(0x10).L(0x20).Zeros(292).U8(6); }),
         [](const LayoutInfo& i) {
             EXPECT_EQ(i.scriptFlags[0], 0x10u);
             EXPECT_EQ(i.scriptFlags[1], 0x20u);
             EXPECT_EQ(i.lastByte, 6);
         }},
        {"a script block past the chunk",
         Flag([&](B& b) { sizes(b); b.U8(2).U8(1).U8(1).P("").P("").L(0).W(0).P("").L(300).L(0x10); }),
         [](const LayoutInfo& i) {
             EXPECT_EQ(i.scriptFlags[0], 0x10u);
             EXPECT_EQ(i.lastByte, 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CustomClientFrame frame;
        ASSERT_EQ(Read(FormWith("FLAG", c.flag, B().Chunk("Vers", {0, 3}).b), &frame, nullptr), IFF_OKAY);
        c.check(frame.layoutInfo);
    }
}

TEST_F(FormContainer, VersionsAndOlderPropertyChunks)
{
    CustomClientFrame frame;
    const Bytes block = Flag([](B& b) {
        b.W(0).W(0).W(0).W(0).W(0).W(0).U8(2).U8(1).U8(1).P("").P("").L(0).W(0).P("").L(8).L(0xFFFFFFFF).L(0xFFFFFFFF);
    });
    // Version 1 masks the script flags with the defaults; version 2 keeps them.
    ASSERT_EQ(Read(FormWith("FLAG", block, B().Chunk("Vers", {0, 1}).b), &frame, nullptr), IFF_OKAY);
    EXPECT_EQ(frame.layoutInfo.scriptFlags[0], 0x1EBD27FFu);
    EXPECT_EQ(frame.layoutInfo.scriptFlags[1], 0xFFFFF9C0u);
    EXPECT_EQ(frame.layoutInfo.versionLong, 0u);
    ASSERT_EQ(Read(FormWith("FLAG", block, B().Chunk("Vers", {0, 2, 0, 0, 0, 9}).b), &frame, nullptr), IFF_OKAY);
    EXPECT_EQ(frame.layoutInfo.scriptFlags[1], 0xFFFFFFFFu);
    EXPECT_EQ(frame.layoutInfo.versionLong, 9u);

    ASSERT_EQ(Read(FormWith("FONT", B().W(3).W(10).W(1).W(2).b, B().Chunk("FONT", B().W(1).W(1).W(1).W(1).W(5).W(9).b).b),
                   &frame, nullptr),
              IFF_OKAY);
    EXPECT_EQ(frame.curFont.font, 3);
    EXPECT_EQ(frame.curFont.styleSheet, -1);
    EXPECT_EQ(frame.curFont.styleSheetHeight, 9);

    const Bytes patterns(16, 0xAA);
    ASSERT_EQ(Read(FormWith("DRAW", B().Raw(patterns).W(2).W(3).W(0).W(0).U8(1).U8(0).U8(1).b), &frame, nullptr), IFF_OKAY);
    EXPECT_EQ(frame.curDrawing.penWidth, 2);
    EXPECT_EQ(frame.curDrawing.foreColor, 0x000000u);
    EXPECT_EQ(frame.curDrawing.backColor, 0xFFFFFFu);
    EXPECT_EQ(frame.curDrawing.hairline, 1);
    ASSERT_EQ(Read(FormWith("DRAW", B().Raw(patterns).W(1).W(1).L(0xFFFF00FF).L(0x123456).U8(0).U8(0).U8(0).U8(0).b),
                   &frame, nullptr),
              IFF_OKAY);
    EXPECT_EQ(frame.curDrawing.foreColor, 0x00FFFFFFu);
    EXPECT_EQ(frame.curDrawing.backColor, 0x123456u);

    B layers;
    layers.W(10).U8(12);
    for (int i = 0; i < 10; ++i) layers.U8(0).U8(1).P(std::string(40, 'x'));
    ASSERT_EQ(Read(FormWith("Layr", layers.b), &frame, nullptr), IFF_OKAY);
    EXPECT_EQ(frame.layoutInfo.currentLayer, 0);
    EXPECT_EQ(frame.layoutInfo.layerNames[9][0], 31);
    EXPECT_EQ(frame.layoutInfo.layerFlag2[9], 0);

    int32_t counters[kNamingCounters];
    std::fill(counters, counters + kNamingCounters, -1);
    B names;
    for (int i = 0; i < 10; ++i) names.L(uint32_t(i + 1));
    ASSERT_EQ(Read(FormWith("Nam#", names.b), &frame, counters), IFF_OKAY);
    EXPECT_EQ(counters[9], 10);
    EXPECT_EQ(counters[10], -1);
}

TEST_F(FormContainer, PageChunksOutOfTurn)
{
    CustomClientFrame frame;
    EXPECT_EQ(Read(FormWith("PAG#", {0xFF, 0xFF}), &frame, nullptr), BAD_FORM);
    EXPECT_EQ(Read(FormWith("PAGE", {0, 0}), &frame, nullptr), BAD_FORM);
    const Bytes extra = B().Group("FORM", "LAYO", B().Chunk("PAG#", {0, 0}).Chunk("PAGE", {0, 0}).Chunk("PAGE", {0, 1}).b).b;
    EXPECT_EQ(Read(extra, &frame, nullptr), IFF_OKAY);
}

TEST_F(FormContainer, ToolboxStringsAreCountedUnitsAndATerminator)
{
    platform::Handle h = platform::NewHandle(0);
    IOFile* io = MemoryOpen(h, 0);
    _GroupContext top, form;
    OpenWIFF(io, &top, kSizeUnknown);
    StartWGroup(&top, ID_FORM, kSizeUnknown, formchunk::LAYO, &form);
    VStr<40> ab, empty;
    ab.FromCString(reinterpret_cast<const uint8_t*>("ab"));
    PutCkHdr(&form, IFFP(FourCC("STRS")), kSizeUnknown);
    ASSERT_EQ(WriteVStringToIFF(&form, ab), IFF_OKAY);
    ASSERT_EQ(WriteVStringToIFF(&form, empty), IFF_OKAY);
    PutCkEnd(&form);
    EndWGroup(&form);
    FClose(io);
    const std::vector<Chunk> chunks = ChunksOf(BytesOf(h));
    platform::DisposeHandle(h);
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0].data, (Bytes{0, 0, 0, 2, 0, 0x61, 0, 0x62, 0, 0, 0, 0, 0, 0}));

    // Read back in both byte orders, and a count that passes the chunk.
    static std::vector<std::string> texts;
    static std::vector<IFFP> results;
    texts.clear(), results.clear();
    _ClientFrame frame{GetList, GetProp, [](_GroupContext* parent) -> IFFP {
                           _GroupContext group;
                           OpenRGroup(parent, &group);
                           GetChunkHdr(&group);
                           for (int i = 0; i < 2; ++i) {
                               VStr<40> s;
                               results.push_back(ReadVStringFromIFF(&group, s));
                               char16_t units[40] = {};
                               s.ToUniBlock(units, 0, 40);
                               texts.push_back(std::string(units, units + s.GetLength()));
                           }
                           CloseRGroup(&group);
                           return IFF_OKAY;
                       },
                       SkipGroup};
    for (bool little : {false, true}) {
        B data = little ? Little() : B();
        data.L(2).W('a').W('b').W(0).L(3).W('x');
        B file = little ? Little() : B();
        file.Group("FORM", "LAYO", (little ? Little() : B()).Chunk("STRS", data.b).b);
        h = HandleOf(file.b);
        io = MemoryOpen(h, 0);
        ReadIFF(io, &frame);
        FClose(io);
        platform::DisposeHandle(h);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"ab", "", "ab", ""}));
    EXPECT_EQ(results, (std::vector<IFFP>{IFF_OKAY, SHORT_CHUNK, IFF_OKAY, SHORT_CHUNK}));
}

TEST_F(FormContainer, PropertiesAreWrittenAgainOnlyWhenTheyChange)
{
    platform::Handle h = platform::NewHandle(0);
    IOFile* io = MemoryOpen(h, 0);
    _GroupContext top, form;
    FormWriteFrame writer;
    OpenWIFF(io, &top, kSizeUnknown);
    top.clientFrame = &writer.client;
    StartWGroup(&top, ID_FORM, kSizeUnknown, formchunk::LAYO, &form);
    DrawingSpecs d;
    FontSpecs f;
    FillCurProps(&d, &f);
    SaveDrawingProperties(false, d, &form);   // written: nothing before
    SaveDrawingProperties(false, d, &form);   // same
    d.pad = 1;
    SaveDrawingProperties(false, d, &form);   // the pad byte counts
    SaveFontProperties(false, 3, 12, 0, 0, -1, 0, &form);
    SaveFontProperties(false, 3, 12, 0, 0, -1, 0, &form);  // same
    SaveFontProperties(false, 4, 12, 0, 0, -1, 0, &form);  // font, no style sheet
    SaveFontProperties(false, 4, 12, 0, 0, 2, 15, &form);  // style sheet
    SaveFontProperties(false, 5, 9, 0, 0, 2, 15, &form);   // font and size under a style sheet: same
    SaveFontProperties(false, 5, 9, 1, 0, 2, 15, &form);   // face
    SaveFontProperties(true, 5, 9, 1, 0, 2, 15, &form);    // forced
    EndWGroup(&form);
    FClose(io);
    std::vector<std::string> ids;
    for (const Chunk& c : ChunksOf(BytesOf(h))) ids.push_back(c.id);
    EXPECT_EQ(ids, (std::vector<std::string>{"DRAW", "DRAW", "FONT", "FONT", "FONT", "FONT", "FONT"}));
    platform::DisposeHandle(h);
}

}  // namespace

namespace {

using namespace ifftest;

// Entry attributes read whatever lengths their chunk claims: the texts cut
// to their fields, the length the chunk repeats for the filter never more
// than the filter kept, the real bounds converted from 80 bits.
TEST(EntryAttributes, TheRecordKeepsItsFieldsWhateverTheLengthsSay)
{
    struct Case {
        const char* what;
        size_t text, filter;
        uint8_t repeated;
        size_t keptText, keptFilter;
    };
    const std::vector<Case> cases = {
        {"fits", 3, 2, 2, 3, 2},
        {"at the fields' size", 31, 255, 255, 31, 255},
        {"a default text past its field", 200, 40, 40, 31, 40},
        {"a repeated length above the filter", 1, 5, 9, 1, 5},
    };
    for (const Case& c : cases) {
        B data;
        data.W(5).U8(1).U8(0).W(6).W(0).W(7);
        data.U8(1).U8(0).Raw(Bytes{0x40, 0x02, 0xA0, 0, 0, 0, 0, 0, 0, 0});  // 10 as an 80-bit real
        data.U8(0).U8(0).Zeros(10).U8(1).U8(0).P(std::string(c.text, 't')).P(std::string(c.filter, 'f'));
        data.U8(4).U8(c.repeated);
        static platform::Handle record;
        static IFFP result;
        _ClientFrame frame{GetList, GetProp, [](_GroupContext* parent) -> IFFP {
                               _GroupContext group;
                               OpenRGroup(parent, &group);
                               GetChunkHdr(&group);
                               record = ReadSattObject(&group, &result);
                               CloseRGroup(&group);
                               return IFF_OKAY;
                           },
                           SkipGroup};
        platform::Handle h = HandleOf(B().Group("FORM", "LAYO", B().Chunk("SATT", data.b).b).b);
        IOFile* io = MemoryOpen(h, 0);
        ReadIFF(io, &frame);
        FClose(io);
        platform::DisposeHandle(h);
        ASSERT_NE(record, nullptr) << c.what;
        unsigned char text[256];
        SattText(record, saisieatt::kDefaultText, text);
        EXPECT_EQ(text[0], c.keptText) << c.what;
        SattText(record, saisieatt::kEntryFilter, text);
        EXPECT_EQ(text[0], c.keptFilter) << c.what;
        EXPECT_EQ(SattByte(record, saisieatt::kEntryFilter), c.keptFilter) << c.what;
        EXPECT_EQ(SattByte(record, saisieatt::kBeforeFilter), 4) << c.what;
        EXPECT_EQ(SattWord(record, saisieatt::kExcludedList), 7) << c.what;
        EXPECT_EQ(platform::ReadBE64(reinterpret_cast<uint8_t*>(*record) + saisieatt::kMinValue), 0x4024000000000000u);
        platform::DisposeHandle(record);
    }
}

}  // namespace
