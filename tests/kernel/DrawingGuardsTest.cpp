#include "kernel/guards/DrawingGuards.h"

#include <gtest/gtest.h>

#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "toolbox/foundation/MacPort.h"

using namespace platform;

namespace {

struct TwoWorlds {
    TwoWorlds()
    {
        ResetDrawingState();
        Rect bounds{0, 0, 32, 32};
        NewGWorld(&a, 32, &bounds, nullptr, nullptr, 0);
        NewGWorld(&b, 32, &bounds, nullptr, nullptr, 0);
        SetMacPort(a);
    }
    ~TwoWorlds()
    {
        DisposeGWorld(a);
        DisposeGWorld(b);
    }
    GWorldPtr a = nullptr;
    GWorldPtr b = nullptr;
};

GrafPtr CurrentPort()
{
    GrafPtr port = nullptr;
    GetPort(&port);
    return port;
}

Rect ClipBounds()
{
    RgnHandle clip = NewRgn();
    GetClip(clip);
    Rect r = (**clip).rgnBBox;
    DisposeRgn(clip);
    return r;
}

}  // namespace

TEST(DrawingGuards, PortSaverPutsThePreviousPortBack)
{
    TwoWorlds w;
    EXPECT_EQ(CurrentPort(), w.a);
    {
        APortSaver saver(w.b);
        EXPECT_EQ(CurrentPort(), w.b);
    }
    EXPECT_EQ(CurrentPort(), w.a);
}

TEST(DrawingGuards, ClipSaverRestoresAndNarrowsTheSavedPortsClip)
{
    TwoWorlds w;
    Rect r20{0, 0, 20, 20};
    ::platform::ClipRect(&r20);
    {
        ClipSaver saver;
        saver.ClipRect(Rect{10, 10, 30, 30});
        Rect r = ClipBounds();
        EXPECT_EQ(r.top, 10);
        EXPECT_EQ(r.bottom, 20) << "the new clip stays inside the saved one";

        // Restoring and narrowing work from another current port and leave it current.
        SetMacPort(w.b);
        saver.ClipRect(Rect{12, 12, 30, 30});
        EXPECT_EQ(CurrentPort(), w.b);
        saver.RestoreClip();
        EXPECT_EQ(CurrentPort(), w.b);
        SetMacPort(w.a);
        EXPECT_EQ(ClipBounds().top, 0);
        Rect r6{5, 5, 6, 6};
        ::platform::ClipRect(&r6);
    }
    EXPECT_EQ(ClipBounds().bottom, 20) << "the destructor puts the saved clip back";
}

TEST(DrawingGuards, FontSaverRestoresOnlyOnTheSavedPort)
{
    TwoWorlds w;
    TextFont(3);
    TextSize(12);
    TextFace(1);
    {
        FontSaver saver(true);
        TextFont(4);
        TextSize(9);
        TextFace(2);
    }
    EXPECT_EQ(GetPortTextFont(w.a), 3);
    EXPECT_EQ(GetPortTextSize(w.a), 12);
    EXPECT_EQ(GetPortTextFace(w.a), 1);

    FontSaver other(true);
    TextFont(7);
    SetMacPort(w.b);
    other.RestoreFont();
    EXPECT_EQ(GetPortTextFont(w.a), 7) << "another port is current: nothing is restored";
    SetMacPort(w.a);
    other.RestoreFont();
    EXPECT_EQ(GetPortTextFont(w.a), 7) << "the saved port was forgotten";

    static int16_t seen = -1;
    FontSaver::SetTextFontProc([](int16_t font) { seen = font; });
    {
        FontSaver saver(true);
        TextFont(1);
    }
    EXPECT_EQ(seen, 7) << "the font goes back through the installed setter";
    FontSaver::SetTextFontProc(nullptr);
}
