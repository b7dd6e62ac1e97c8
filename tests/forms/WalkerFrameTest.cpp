// The form walker's frame: which groups a walk enters, what a rewriting
// walk writes, and that a walk which fails anywhere answers 10001 with an
// empty output instead of an image with parts missing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/walkers/WalkerFrame.h"
#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "tests/forms/IffBytes.h"

namespace {

using namespace ifftest;

// A walker that copies every chunk it is handed.
struct CopyWalker : WalkerFrame {
    CopyWalker()
    {
        for (IFFClientProc* p : {&flag, &text, &var, &field, &mult, &satt, &font, &draw, &groupBox, &staticPict,
                                 &other, &listBox})
            *p = CopyGroup;
    }
};

struct Walked {
    int16_t result;
    Bytes output;
};

Walked Walk(const Bytes& form, WalkerFrame& frame)
{
    platform::Handle in = HandleOf(form);
    platform::Handle out = HandleOf({1, 2, 3});
    Walked w{RunFormWalker(in, &frame, out), BytesOf(out)};
    platform::DisposeHandle(in);
    platform::DisposeHandle(out);
    return w;
}

Bytes Chunks(bool little = false)
{
    B b = little ? Little() : B();
    return b.Chunk("FLAG", {1, 2, 3}).Chunk("Xtra", {9, 8}).b;
}

TEST(WalkerFrame, ACopyingWalkRewritesWhatItEntersAndKeepsTheRestAsStored)
{
    const Bytes objg = B().Group("FORM", "OBJG", B().Chunk("RECT", {4}).b).b;
    const Bytes other = B().Group("FORM", "XXXX", Chunks()).b;
    const Bytes cat = B().Group("CAT ", "OBJG", objg).b;
    const Bytes prop = B().Group("PROP", "OBJG", B().Chunk("Xtra", {5}).b).b;
    struct Case {
        const char* what;
        Bytes in, out;
    };
    const std::vector<Case> cases = {
        {"plain chunks", B().Group("FORM", "LAYO", Chunks()).b, B().Group("FORM", "LAYO", Chunks()).b},
        {"a group of a group object", B().Group("FORM", "LAYO", B().Raw(Chunks()).Raw(objg).b).b,
         B().Group("FORM", "LAYO", B().Raw(Chunks()).Raw(objg).b).b},
        // Groups the walk does not enter come out as they were stored.
        {"an unknown subtype", B().Group("FORM", "LAYO", B().Raw(other).Raw(Chunks()).b).b,
         B().Group("FORM", "LAYO", B().Raw(other).Raw(Chunks()).b).b},
        {"an unknown subtype at the top", other, other},
        {"a concatenation", B().Group("FORM", "LAYO", B().Raw(cat).Raw(Chunks()).b).b,
         B().Group("FORM", "LAYO", B().Raw(cat).Raw(Chunks()).b).b},
        {"a list with its properties", B().Group("FORM", "LAYO", B().Group("LIST", "OBJG", B().Raw(prop).Raw(objg).b).b).b,
         B().Group("FORM", "LAYO", B().Group("LIST", "OBJG", B().Raw(prop).Raw(objg).b).b).b},
        {"scrap objects", B().Group("FORM", "OBJS", Chunks()).b, B().Group("FORM", "OBJS", Chunks()).b},
    };
    for (const Case& c : cases) {
        CopyWalker frame;
        const Walked w = Walk(c.in, frame);
        EXPECT_EQ(w.result, 0) << c.what;
        EXPECT_EQ(w.output, c.out) << c.what;
    }
}

TEST(WalkerFrame, AnyFailureEmptiesTheOutputAndSaysMemoryAsMemory)
{
    struct Case {
        const char* what;
        Bytes in;
    };
    const Bytes good = B().Group("FORM", "LAYO", Chunks()).b;
    const std::vector<Case> cases = {
        {"empty", {}},
        {"not a chunk file", Bytes(12, 'x')},
        {"a chunk past its group", B().Id("FORM").L(16).Id("LAYO").Id("FLAG").L(9).L(0).b},
        {"a member group cut short",
         B().Group("FORM", "LAYO", B().Id("FORM").L(16).Id("OBJG").Id("RECT").L(9).L(0).b).b},
        // Chunks kept as stored would sit under big-endian headers.
        {"stored in the other byte order", Little().Group("FORM", "LAYO", Chunks(true)).b},
        {"groups nested too deep", [] {
             Bytes inner;
             for (int i = 0; i < 70; ++i) inner = B().Group("FORM", i % 2 ? "OBJG" : "LAYO", inner).b;
             return inner;
         }()},
    };
    for (const Case& c : cases) {
        CopyWalker frame;
        const Walked w = Walk(c.in, frame);
        EXPECT_EQ(w.result, kFormWalkFailed) << c.what;
        EXPECT_EQ(w.output, Bytes{}) << c.what;
    }

    // An output that cannot grow, at every allocation of the walk: the
    // whole image or nothing.
    bool failed = false;
    for (int32_t after = 0; after < 50; ++after) {
        CopyWalker frame;
        platform::Handle in = HandleOf(good), out = HandleOf({1, 2, 3});
        platform::InjectFault(platform::FaultKind::Allocation, after);
        const int16_t result = RunFormWalker(in, &frame, out);
        const bool fired = !platform::IsFaultArmed(platform::FaultKind::Allocation);
        platform::ClearAllFaults();
        const Walked w{result, BytesOf(out)};
        platform::DisposeHandle(in);
        platform::DisposeHandle(out);
        if (w.result == 0) {
            EXPECT_EQ(w.output, good) << after;
        } else {
            failed = true;
            EXPECT_EQ(w.result, platform::memFullErr) << after;
            EXPECT_EQ(w.output, Bytes{}) << after;
        }
        if (!fired) break;
    }
    EXPECT_TRUE(failed);
}

TEST(WalkerFrame, APositionAndAnOverwriteOfTheImage)
{
    static int32_t position = -1;
    static IFFP overwrite = 0, outside = 0;
    WalkerFrame frame;
    frame.flag = [](_GroupContext* c) -> IFFP {
        position = IFFGetpos(c);
        overwrite = IFFOverWrite(c, position + 1, "\x07", 1);
        outside = IFFOverWrite(c, position + 3, "\x07\x07", 2);  // one past the pad
        return IFF_OKAY;
    };
    const Bytes form = B().Group("FORM", "LAYO", B().Chunk("FLAG", {1, 2, 3}).b).b;
    platform::Handle h = HandleOf(form);
    EXPECT_EQ(RunFormWalker(h, &frame, nullptr), 0);
    EXPECT_EQ(position, 20);
    EXPECT_EQ(overwrite, IFF_OKAY);
    EXPECT_EQ(outside, CLIENT_ERROR);
    Bytes patched = form;
    patched[21] = 7;
    EXPECT_EQ(BytesOf(h), patched);
    platform::DisposeHandle(h);
}

}  // namespace
