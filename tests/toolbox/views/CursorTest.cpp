// The cursor object and the window's tracking of the frame under the mouse.
#include "tests/toolbox/views/ViewsTestSupport.h"

using namespace viewstest;

namespace {

class CursorTest : public ViewsTest {};

// One 'CURS' of id 9008: 32 bytes of image, 32 of mask, the hot spot.
void OpenCursorResource(const std::string& path)
{
    std::string source = "'CURS' 9008 \"Column resize\" {\n    hotspot 8 8\n    image\n";
    for (int i = 0; i < 16; ++i) source += "        \"XXXXXXXXXXXXXXXX\"\n";
    source += "}\n";
    platform::ResourceFileImage image;
    std::string error;
    ASSERT_TRUE(rescompile::CompileSource(source, "cursor.r", &image, &error)) << error;
    std::vector<uint8_t> bytes;
    ASSERT_EQ(platform::BuildResourceFile(image, &bytes), platform::noErr);
    ASSERT_EQ(platform::WriteFileAtomically(path, bytes.data(), bytes.size()), platform::noErr);
    ASSERT_NE(platform::OpenResFile(path, platform::fsRdPerm, platform::ResFileFork::Data), -1);
}

}  // namespace

TEST_F(CursorTest, TheCursorStartsOnTheWatchAndMinusOneChangesNothingShown)
{
    VCursor cursor;
    EXPECT_EQ(cursor.GetCursor(), kCursorStartWatch);
    EXPECT_EQ(cursor.GetShownCursor(), kCursorWatch);
    cursor.SetCursor(1);
    EXPECT_EQ(cursor.GetShownCursor(), 1u);
    cursor.SetCursor(kCursorUnchanged);
    EXPECT_EQ(cursor.GetCursor(), kCursorUnchanged);
    EXPECT_EQ(cursor.GetShownCursor(), 1u);
    cursor.SetCursor(0);
    EXPECT_EQ(cursor.GetShownCursor(), 0u);
    cursor.SetCursor(kCursorUnchanged);
    cursor.SetCursor(1);
    EXPECT_EQ(cursor.GetShownCursor(), 1u) << "the earlier id shows again";

    OpenCursorResource(dir / "cursor.rsrc");
    cursor.SetCursor(9009);
    EXPECT_EQ(cursor.GetShownCursor(), kCursorArrow) << "no such 'CURS': the arrow";
    cursor.SetCursor(9008);
    EXPECT_EQ(cursor.GetShownCursor(), 9008u);
    // The arrow put back for a missing one is shown, whatever hid the cursor.
    platform::HideCursor();
    cursor.SetCursor(9009);
    EXPECT_EQ(platform::CursorLevel(), 0);
}

TEST_F(CursorTest, CrossingTwoFramesEntersMovesAndLeavesEachInTurn)
{
    VWindow* w = MakeWindow(100, 100, 300, 100);
    const VRect all(0, 0, 300, 100);
    auto* root = new VView(w, &all);
    std::vector<std::string> log;
    auto* a = new Probe(root, 0, 0, 100, 100);
    auto* b = new Probe(root, 150, 0, 100, 100);
    a->name = "A";
    b->name = "B";
    a->log = b->log = &log;
    a->SetCursor(1);
    b->SetCursor(2);
    root->SetClickable(false);

    platform::Script s;
    for (int h : {10, 20, 160, 170, 500}) s.Move(int16_t(100 + h), 150).Wait(2);
    std::vector<std::string> cursors;
    RunScript(s, [&] {
        platform::Point p{};
        platform::GetGlobalMouse(&p);
        VClic c(p.h - w->GetX(), p.v - w->GetY());
        c.SetUp(true);
        w->DoCursor(c);
    });
    // Collapse the repeated moves.
    std::vector<std::string> seen;
    for (const std::string& e : log)
        if (seen.empty() || seen.back() != e) seen.push_back(e);
    const std::vector<std::string> expected = {"In(A)", "Move(A)", "Out(A)", "In(B)", "Move(B)", "Out(B)"};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(w->GetCursorFrame(), nullptr);
    delete w;
}

TEST_F(CursorTest, AFrameThatLeavesItsTreeIsForgottenAsCursorFrame)
{
    VWindow* w = MakeWindow(100, 100, 100, 100);
    const VRect all(0, 0, 100, 100);
    auto* root = new VView(w, &all);
    auto* a = new Probe(root, 0, 0, 50, 50);
    VClic c(10, 10);
    w->DoCursor(c);
    EXPECT_EQ(w->GetCursorFrame(), a);
    VFrame* asked = nullptr;
    EXPECT_TRUE(a->DoCommand(a, vcmd::kGetCursorFrame, reinterpret_cast<intptr_t>(&asked)));
    EXPECT_EQ(asked, a);
    delete a;
    EXPECT_EQ(w->GetCursorFrame(), nullptr);
    delete w;
}

TEST_F(CursorTest, WithTheButtonDownACursorFrameThatDragsGetsTheDragAtTheLastPlace)
{
    VWindow* w = MakeWindow(100, 100, 100, 100);
    const VRect all(0, 0, 100, 100);
    auto* root = new VView(w, &all);
    struct Dragging : Probe {
        using Probe::Probe;
        bool CanDrag() override { return true; }
        void DoDrag(VClic& c) override
        {
            int32_t x = 0, y = 0;
            c.GetPos(x, y);
            drags.push_back({x, y});
        }
        std::vector<Pt> drags;
    };
    auto* d = new Dragging(root, 20, 20, 50, 50);
    VClic first(30, 35);
    first.SetUp(true);
    w->DoCursor(first);
    ASSERT_EQ(w->GetCursorFrame(), d);
    VClic held(40, 40);
    held.SetUp(false);
    w->DoCursor(held);
    ASSERT_EQ(d->drags.size(), 1u);
    EXPECT_EQ(d->drags[0].x, 10) << "the last mouse place, in the frame";
    EXPECT_EQ(d->drags[0].y, 15);
    delete w;
}
