// Copying a form image and moving its object methods: images written by
// hand, a mover that numbers the new methods from 100.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/walkers/FormCopy.h"
#include "tests/design/ChunkFormBytes.h"
#include "tests/forms/IffBytes.h"

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

using designtest::ChunkForm;

// Object method ids of a form: a field, two variables, a list box and its
// two columns.
struct Ids {
    int16_t field, var1, var2, listBox, column1, column2;
};

// The form of those ids; its "GDTL" without its last four bytes when
// `shortened` (an older list box, longer when encoded again).
Bytes Image(const Ids& i, bool shortened, bool little)
{
    return ChunkForm(little, [&](B& b) {
        b.Chunk("TEXT", Bytes{0, 1, 'a', 0});
        designtest::FieldChunk(b, 1, 0, 0, i.field);
        designtest::VarChunk(b, "v1", false, 0, "", 0, i.var1);
        designtest::VarChunk(b, "v2", false, 0, "", 0, i.var2);
        designtest::Chunk(b, "GDTL", [&](B& d) {
            designtest::Editable(d, 0, i.listBox, "");
            d.L(0).W(0).P("LB");
            designtest::VStr(d, "lines").W(1).W(2);
            if (!shortened) d.L(0);
        });
        for (const auto& [name, method] : {std::pair{"c1", i.column1}, std::pair{"column2", i.column2}})
            designtest::Chunk(b, "GCOL", [&, name = name, method = method](B& d) {
                designtest::VStr(designtest::VStr(designtest::VStr(d, name).W(1), "h").W(1), "Title").W(uint16_t(method));
            });
    });
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

TEST(FormCopy, EachObjectTakesItsMovedMethodInPlaceOrInTheImageWrittenAnew)
{
    struct Case {
        const char* what;
        Ids before, after;
        std::vector<int16_t> moved;
        bool shortened = false;
        int16_t missing = 0;
    };
    const Case cases[] = {
        {"no methods: byte for byte", {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {}},
        {"an older list box without methods stays", {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {}, true},
        {"two objects sharing 12 get a copy each", {0, 12, 12, 0, 0, 0}, {0, 100, 101, 0, 0, 0}, {100, 101}},
        {"a method the source lacks becomes 0", {13, 12, 0, 0, 0, 0}, {0, 100, 0, 0, 0, 0}, {100}, false, 13},
        {"a list box encoded at its length: in place", {5, 0, 0, 6, 0, 8}, {100, 0, 0, 101, 0, 102}, {100, 101, 102}},
        {"encoded longer: the image written anew", {0, 0, 0, 0, 7, 8}, {0, 0, 0, 0, 100, 101}, {100, 101}, true},
    };
    for (const bool little : {false, true})
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (little ? ", other byte order" : ""));
            gMover.missing = c.missing;
            const Bytes image = Image(c.before, c.shortened, little);
            const Moved m = RunMove(image);
            EXPECT_EQ(m.result, 0);
            EXPECT_EQ(m.ids, c.moved);
            // The other byte order is patched where it stands.
            const bool listBoxMoved = c.before.listBox || c.before.column1 || c.before.column2;
            EXPECT_EQ(m.image, Image(c.after, c.shortened && (little || !listBoxMoved), little));
            // The copy encodes list boxes anew (a file of the other byte
            // order is copied as stored).
            int16_t copied = -1;
            EXPECT_EQ(Copied(image, &copied), Image(c.before, c.shortened && little, little));
            EXPECT_EQ(copied, 0);
        }
    gMover.missing = 0;
}

TEST(FormCopy, DamagedImagesAndFailingMoversAreRefused)
{
    B field;
    designtest::Editable(field, 0, 5, "");
    field.b.resize(15);
    const Bytes shortField = ChunkForm(false, [&](B& b) { b.Chunk("FILD", field.b); });
    const Bytes withMethod = Image({0, 5, 0, 0, 0, 0}, false, false);
    struct Case {
        const char* what;
        Bytes image;
        int16_t failing, want;
        bool copyRefused;  // the copy reads no field: only a broken group refuses it
    };
    const Case cases[] = {
        {"a FILD of 15 bytes", shortField, 0, kFormWalkFailed, false},
        {"a chunk past the image", Bytes{'F', 'O', 'R', 'M', 0, 0, 0, 30, 'L', 'A', 'Y', 'O', 'V', 'A', 'R', ' ', 0, 0, 0, 18},
         0, kFormWalkFailed, true},
        {"the mover's error is the answer", withMethod, 5, -34, false},
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
    platform::Handle in = HandleOf(withMethod);
    EXPECT_EQ(CopyIFFLayOut(in, nullptr), kFormWalkFailed);
    platform::DisposeHandle(in);
}

}  // namespace
