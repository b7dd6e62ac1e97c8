// Copying a form image and moving its object methods: images written by
// hand, a mover that numbers the new methods from 100.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "forms/listbox/ListBox.h"
#include "forms/walkers/FormCopy.h"
#include "tests/design/ChunkFormBytes.h"
#include "tests/forms/ObjectChunkSupport.h"

namespace {

using namespace ifftest;

struct FakeMover {
    int16_t next = 100, missing = 0, failing = 0;
};
FakeMover gMover;

int16_t Move(TMainDoc*, TMainDoc*, int16_t id, int16_t* newId)
{
    *newId = 0;
    if (id == gMover.missing) return kFormScriptMissing;
    if (id == gMover.failing) return -34;
    *newId = gMover.next++;
    return 0;
}

// A "FILD" or "VAR ": the 16 bytes with `method`, an empty format.
Bytes Editable(int16_t method)
{
    B b;
    b.W(10).W(20).W(30).W(40).U8(1).U8(2).W(0).W(7).W(uint32_t(uint16_t(method))).U8(0).U8(0);
    return b.b;
}

Bytes Form(const std::vector<std::pair<const char*, Bytes>>& chunks)
{
    B inner;
    for (const auto& c : chunks) inner.Chunk(c.first, c.second);
    B form;
    form.Group("FORM", "LAYO", inner.b);
    return form.b;
}

struct Moved {
    int16_t result = 0;
    Bytes image;
    std::vector<int16_t> ids;
};

Moved RunMove(const Bytes& image)
{
    gMover.next = 100;
    Moved m;
    platform::Handle h = HandleOf(image);
    m.result = MoveIFFFormObject(h, nullptr, nullptr, Move, &m.ids);
    m.image = BytesOf(h);
    platform::DisposeHandle(h);
    return m;
}

Bytes Copied(const Bytes& image, int16_t* result)
{
    platform::Handle in = HandleOf(image), out = platform::NewHandle(3);
    *result = CopyIFFLayOut(in, out);
    Bytes b = BytesOf(out);
    platform::DisposeHandle(in);
    platform::DisposeHandle(out);
    return b;
}

// A list box with two columns; its own method and the columns' as given.
VLayoutGrid* ListBox(int16_t own, int16_t first, int16_t second)
{
    auto* g = new VLayoutGrid;
    std::memcpy(g->name, "\x05Lines", 6);
    g->SetVariableName(reinterpret_cast<const unsigned char*>("\x05lines"), 1);
    g->objectMethodID = own;
    for (int k = 1; k <= 2; ++k) {
        g->AddColumn();
        g->GetGridView().SetColumnVarName(k, reinterpret_cast<const unsigned char*>(k == 1 ? "\x02" "c1" : "\x02" "c2"), 1);
        g->SetColumnProc(k, k == 1 ? first : second);
    }
    return g;
}

int16_t MethodOf(const Bytes& chunk)
{
    return int16_t(platform::ReadBE16(chunk.data() + 14));
}
int16_t ColumnMethod(const Bytes& column) { return int16_t(platform::ReadBE16(column.data() + column.size() - 2)); }

TEST(FormCopy, FieldsAndVariablesTakeTheirMovedMethodsInPlace)
{
    gMover.missing = 13;
    gMover.failing = 0;
    struct Case {
        const char* what;
        std::vector<int16_t> methods;  // of FILD, VAR , VAR
        std::vector<int16_t> want;     // in the image after the move
        std::vector<int16_t> moved;
    };
    const Case cases[] = {
        {"no methods: nothing moves", {0, 0, 0}, {0, 0, 0}, {}},
        {"a field's method", {5, 0, 0}, {100, 0, 0}, {100}},
        {"two objects sharing 12 get a copy each", {0, 12, 12}, {0, 100, 101}, {100, 101}},
        {"a method the source lacks becomes 0", {13, 12, 0}, {0, 100, 0}, {100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes image = Form({{"TEXT", Bytes{0, 1, 'a', 0}}, {"FILD", Editable(c.methods[0])},
                                  {"VAR ", Editable(c.methods[1])}, {"VAR ", Editable(c.methods[2])}});
        int16_t copied = -1;
        EXPECT_EQ(Copied(image, &copied), image);
        EXPECT_EQ(copied, 0);
        const Moved m = RunMove(image);
        EXPECT_EQ(m.result, 0);
        EXPECT_EQ(m.ids, c.moved);
        const Bytes want = Form({{"TEXT", Bytes{0, 1, 'a', 0}}, {"FILD", Editable(c.want[0])},
                                 {"VAR ", Editable(c.want[1])}, {"VAR ", Editable(c.want[2])}});
        EXPECT_EQ(m.image, want);
    }
    gMover.missing = 0;
}

// In either byte order the new ids land where the old ones were; a file of
// the other byte order is copied as stored and patched in its own order.
TEST(FormCopy, BothByteOrdersTakeTheNewIdsInTheirOwnOrder)
{
    using designtest::ChunkForm;
    auto image = [](bool little, int16_t field, int16_t own, int16_t first, int16_t second) {
        return ChunkForm(little, [&](B& b) {
            designtest::FieldChunk(b, 1, 0, 0, field);
            designtest::ListBox(b, "lines", 1, own, {{"c1", "h1", first}, {"column2", "h2", second}});
        });
    };
    for (const bool little : {false, true}) {
        SCOPED_TRACE(little);
        const Bytes before = image(little, 5, 6, 0, 8);
        int16_t copied = -1;
        EXPECT_EQ(Copied(before, &copied), before);
        EXPECT_EQ(copied, 0);
        const Moved m = RunMove(before);
        EXPECT_EQ(m.result, 0);
        EXPECT_EQ(m.image, image(little, 100, 101, 0, 102));
    }
}

TEST(FormCopy, DamagedImagesAndFailingMoversAreRefused)
{
    Bytes shortField = Editable(5);
    shortField.resize(15);
    struct Case {
        const char* what;
        Bytes image;
        int16_t failing, want;
        bool copyRefused;  // the copy reads no field: only a broken group refuses it
    };
    const Case cases[] = {
        {"a FILD of 15 bytes", Form({{"FILD", shortField}}), 0, kFormWalkFailed, false},
        {"a chunk past the image", Bytes{'F', 'O', 'R', 'M', 0, 0, 0, 30, 'L', 'A', 'Y', 'O', 'V', 'A', 'R', ' ', 0, 0, 0, 18},
         0, kFormWalkFailed, true},
        {"the mover's error is the answer", Form({{"VAR ", Editable(5)}}), 5, -34, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gMover.failing = c.failing;
        const Moved m = RunMove(c.image);
        EXPECT_EQ(m.result, c.want);
        EXPECT_EQ(m.image, c.image);
        EXPECT_TRUE(m.ids.empty());
        int16_t copied = -1;
        EXPECT_EQ(Copied(c.image, &copied), c.copyRefused ? Bytes{} : c.image);
        EXPECT_EQ(copied, c.copyRefused ? kFormWalkFailed : 0);
    }
    gMover.failing = 0;
    // No output handle to copy into.
    platform::Handle in = HandleOf(Form({{"VAR ", Editable(5)}}));
    EXPECT_EQ(CopyIFFLayOut(in, nullptr), kFormWalkFailed);
    platform::DisposeHandle(in);
}

TEST(FormCopy, ListBoxesNameTheirMovedMethods)
{
    struct Case {
        const char* what;
        int16_t own, first, second;
        bool shortened;  // "GDTL" stored without its last four bytes
        std::vector<int16_t> want;  // own, first, second after the move
    };
    const Case cases[] = {
        {"no methods: not encoded again", 0, 0, 0, false, {0, 0, 0}},
        {"same length: patched in place", 4, 0, 6, false, {100, 0, 101}},
        {"longer when encoded again: the image is rewritten", 0, 7, 8, true, {0, 100, 101}},
        {"shorter chunk without methods stays as it was", 0, 0, 0, true, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<VLayoutGrid> g(ListBox(c.own, c.first, c.second));
        const Bytes written = Written(g.get());
        Bytes gdtl = ChunkData(written, "GDTL");
        if (c.shortened) gdtl.resize(gdtl.size() - 4);
        const Bytes image = Form({{"VAR ", Editable(0)}, {"GDTL", gdtl}, {"GCOL", ChunkData(written, "GCOL", 0)},
                                  {"GCOL", ChunkData(written, "GCOL", 1)}, {"TEXT", Bytes{0, 0}}});
        const Moved m = RunMove(image);
        ASSERT_EQ(m.result, 0);
        EXPECT_EQ(ChunkIds(m.image), (std::vector<std::string>{"VAR ", "GDTL", "GCOL", "GCOL", "TEXT"}));
        EXPECT_EQ(platform::ReadBE32(m.image.data() + 4), m.image.size() - 8);
        EXPECT_EQ(MethodOf(ChunkData(m.image, "GDTL")), c.want[0]);
        EXPECT_EQ(ColumnMethod(ChunkData(m.image, "GCOL", 0)), c.want[1]);
        EXPECT_EQ(ColumnMethod(ChunkData(m.image, "GCOL", 1)), c.want[2]);
        const bool moved = c.own || c.first || c.second;
        if (!moved) EXPECT_EQ(m.image, image);
        // Rewritten at its new length: the list box's four bytes more.
        EXPECT_EQ(m.image.size(), image.size() + (moved && c.shortened ? 4 : 0));
        // The copy encodes the list box anew.
        int16_t copied = -1;
        const Bytes copy = Copied(image, &copied);
        EXPECT_EQ(copied, 0);
        EXPECT_EQ(ChunkData(copy, "GDTL"), ChunkData(written, "GDTL"));
        EXPECT_EQ(copy.size(), image.size() + (c.shortened ? 4 : 0));
    }
}

}  // namespace
