// What the program's editor run (run_doc_editors.sh) left: the document as
// saved (the method's documentation with its bold runs, the string list's
// bytes), and the two screenshots, whose editing areas must equal what the
// platform's text calls draw offscreen for the same text at the places the
// program gave its windows. Skipped when not given a run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/appl/TAppl.h"
#include "app/documents/DocSupport.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/files/WholeFile.h"
#include "platform/imports/PngCodec.h"
#include "platform/resfiles/Resources.h"
#include "transfer/InstallTransfer.h"
#include "tests/browser/EditorFixture.h"

using namespace platform;

namespace browsertest {
namespace {

using readtest::Bytes;

constexpr const char* kDoc = "Recomputes an invoice total from its lines.Hello";
constexpr int32_t kHello = 43;

class EditorScreens : public EditorFixture {
protected:
    // Offscreen: `draw` into a world of the rectangle (local coordinates of
    // a window), then every pixel compared with the screenshot at the
    // window's place, less the rectangle `skip`.
    template <class Draw>
    void Compare(const PictPixels& shot, TWindow* w, const Rect& area, Draw draw, const Rect& skip,
                 const std::string& what)
    {
        GWorldPtr world = nullptr;
        ASSERT_EQ(NewGWorld(&world, 32, &area, nullptr, nullptr, 0), 0);
        CGrafPtr savedPort;
        GDHandle savedDevice;
        GetGWorld(&savedPort, &savedDevice);
        SetGWorld(world, nullptr);
        EraseRect(&area);
        draw();
        SetGWorld(savedPort, savedDevice);
        const Surface drawn = MakeSurface(reinterpret_cast<const BitMap*>(*GetGWorldPixMap(world)));
        SetPortWindowPort(w->fWindow);
        Point origin{0, 0};
        LocalToGlobal(&origin);
        int differ = 0;
        for (int16_t v = area.top; v < area.bottom && differ == 0; ++v)
            for (int16_t h = area.left; h < area.right; ++h) {
                const Point p{v, h};
                if (PtInRect(p, &skip)) continue;
                const uint32_t want = drawn.ReadRGB(h, v) & 0xFFFFFF;
                const uint32_t got = shot.RGBAt(origin.h + h, origin.v + v) & 0xFFFFFF;
                if (want != got) {
                    ADD_FAILURE() << what << " differs at (" << h << ", " << v << "): screen " << std::hex << got
                                  << ", expected " << want;
                    ++differ;
                    break;
                }
            }
        DisposeGWorld(world);
    }
    static bool Load(const std::string& path, PictPixels* pixels)
    {
        std::vector<uint8_t> bytes;
        return ReadWholeFile(path, &bytes) == noErr && DecodePng(bytes.data(), bytes.size(), pixels) == ImageReadResult::Ok;
    }
    static void Bold(TEHandle te, int32_t from, int32_t to)
    {
        TESetSelect(from, to, te);
        TETextStyle s{};
        s.tsFace = bold;
        TESetStyle(doFace, &s, false, te);
    }
};

TEST_F(EditorScreens, TheEditsAreSavedAndShownAsTheTextCallsDrawThem)
{
    const char* work = std::getenv("QZ_EDITOR_RUN");
    const char* edited = std::getenv("QZ_EDITED_STRUCTURE");
    const char* demo = std::getenv("QZ_DEMO_STRUCTURE");
    if (!work || !edited || !demo) GTEST_SKIP() << "checks the program's editor run";
    MyApplFont = GetResFont(0);
    MyApplSize = GetResSize(0);
    transfer::InstallModuleManager();  // the demo's installed component is enciphered

    // Saved: the documentation with a bold run at the start and on the
    // typed word, the string list with the added string.
    Open(edited);
    ASSERT_EQ(Read(), 0);
    Handle body = nullptr;
    const Bytes stored = Stored(FourCC("CCHE"), 32);
    ASSERT_EQ(PtrToHand(stored.data(), &body, Size(stored.size())), 0);
    const Rect any{0, 0, 100, 400};
    TEHandle saved = TEStyleNew(&any, &any);
    ASSERT_EQ(browser::StyleResToHte(body, saved), 0);
    EXPECT_EQ(Text(saved), kDoc);
    for (const auto& [at, face] : {std::pair{0, bold}, std::pair{9, bold}, std::pair{10, normal},
                                   std::pair{kHello - 1, normal}, std::pair{kHello, bold}, std::pair{kHello + 4, bold}}) {
        TETextStyle s{};
        TEGetStyle(int16_t(at), &s, nullptr, nullptr, saved);
        EXPECT_EQ(s.tsFace, face) << "at " << at;
    }
    TEDispose(saved);
    DisposeHandle(body);
    const int16_t savedFile = CurResFile();
    UseResFile(doc_.fRsrFile);
    Handle list = Get1Resource(FourCC("STR#"), 15000);
    ASSERT_NE(list, nullptr);
    const Bytes strings(*list, *list + GetHandleSize(list));
    UseResFile(savedFile);
    Bytes expect = {0, 4};
    for (std::string s : {"Invoice", "Printed on", "Thank you for your order.", "Goodbye"}) {
        expect.push_back(uint8_t(s.size()));
        expect.insert(expect.end(), s.begin(), s.end());
    }
    EXPECT_EQ(strings, expect);
    CloseDoc();

    // Shown: the demo as the program opened it, the editors where it put
    // them.
    PictPixels docShot, strShot;
    ASSERT_TRUE(Load(std::string(work) + "/documentation.png", &docShot));
    ASSERT_TRUE(Load(std::string(work) + "/strings.png", &strShot));
    ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    Open(demo);
    ASSERT_EQ(Read(), 0);
    if (ObjListHdl l = List(3)) ShellStrictSort(l);
    MyAppl->fDefaultRect = DefaultWindowRect();
    Rect r = MyAppl->fDefaultRect;
    ASSERT_EQ(doc_.NewRefWindow(&r, 1, PrefWindowKind(), -1, 0), 0);

    TEditDocWindow* docWindow = EditDoc(Find(2, "Recalculate"));
    ASSERT_NE(docWindow, nullptr);
    Rect head{}, box{};
    DocPane(docWindow)->GetBox(&head, &box);
    Compare(
        docShot, docWindow, box,
        [&] {
            Rect dest = box;
            InsetRect(&dest, 10, 4);
            TEHandle te = TEStyleNew(&dest, &box);
            TESetText(kDoc, int32_t(std::strlen(kDoc)), te);
            Bold(te, 0, 10);
            Bold(te, kHello, kHello + 5);
            TEActivate(te);
            TEUpdate(&box, te);
            TEDispose(te);
        },
        Rect{0, 0, 0, 0}, "the documentation's text");
    doc_.RemoveWindow(docWindow);
    docWindow->Dispose();

    TEditStrWindow* strWindow = EditStrings(Find(11, "Invoice_Texts"));
    ASSERT_NE(strWindow, nullptr);
    browser::TStrPlane* pane = StrPane(strWindow);
    // The boxes and what lies between them (the window's height follows
    // the application's window place, which the run and this check need not
    // share).
    Rect area = pane->TextArea();
    area.bottom = int16_t(pane->fTable.back().box.bottom + 10);
    const char* texts[] = {"Invoice", "Printed on", "Thank you for your order.", "Goodbye"};
    Rect caret{0, 0, 0, 0};
    Compare(
        strShot, strWindow, area,
        [&] {
            TextFont(MyApplFont);
            TextSize(MyApplSize);
            FontInfo info{};
            GetFontInfo(&info);
            const int16_t line = int16_t(info.ascent + info.descent + info.leading);
            TextFace(underline);
            MoveTo(26, int16_t((50 + info.ascent - info.descent) / 2));
            DrawString(reinterpret_cast<const unsigned char*>("\x0A" "Strings: 4"));
            TextFace(normal);
            int16_t top = 50;
            for (int i = 0; i < 4; ++i) {
                const Rect b{top, 80, int16_t(top + line), 365};
                Rect frame = b;
                InsetRect(&frame, -4, -4);
                FrameRect(&frame);
                const std::string number = std::to_string(i + 1) + ")";
                MoveTo(26, int16_t(top + info.ascent));
                DrawText(number.data(), 0, int16_t(number.size()));
                TETextBox(texts[i], int32_t(std::strlen(texts[i])), &b, teFlushLeft);
                if (i == 3) {
                    // The caret may be on or off when the screen was taken.
                    const int16_t x = int16_t(80 + TextWidth(texts[i], 0, int16_t(std::strlen(texts[i]))));
                    caret = Rect{b.top, int16_t(x - 2), b.bottom, int16_t(x + 2)};
                }
                top = int16_t(b.bottom + 30);
            }
        },
        caret, "the string list");  // the caret's place, set while drawing, is skipped
}

}  // namespace
}  // namespace browsertest
