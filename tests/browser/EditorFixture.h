// Documents made by the document builder, opened and read as the program
// does, on the headless screen with the application's menus, with the
// styled documentation bodies and the editor panes installed: the
// documentation and string-list editors open on them as from the menus.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/Menus.h"
#include "app/appl/Preferences.h"
#include "app/dialogs/Messages.h"
#include "app/appl/TAppl.h"
#include "app/dialogs/ArrowControl.h"
#include "app/documents/DocHooks.h"
#include "app/longlist/LongListHooks.h"
#include "app/windows/TMainWindow.h"
#include "browser/Panes.h"
#include "browser/doctext/DocText.h"
#include "browser/editors/EditorPanes.h"
#include "kernel/helpers/KernelColors.h"
#include "platform/core/Faults.h"
#include "platform/drawing/Palettes.h"
#include "platform/drawing/Ports.h"
#include "platform/fonts/Fonts.h"
#include "platform/screen/Screen.h"
#include "platform/textedit/TextEdit.h"
#include "tests/browser/BrowserFixture.h"
#include "tests/design/ReadFixture.h"
#include "tests/platform/events/HeadlessFixture.h"

namespace browsertest {

class EditorFixture : public readtest::ReadFixture {
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        ASSERT_EQ(platform::InitScreen(1280, 800), platform::noErr);
        // The system's fonts fill the font menu.
        ASSERT_EQ(platform::InitFonts(), platform::noErr);
        ASSERT_EQ(BuildMenus(), 0);
        OpenPrefResFile();
        ASSERT_NE(G_PrefResFile, -1);
        MakeAppl();
        RegisterAppControlDefinitions();
        browser::InstallBrowserPanes();
        DocHooks().styleHteToRes = browser::StyleHteToRes;
        DocHooks().styleResToHte = browser::StyleResToHte;
        G_MachineType = 4;
        MyApplFont = 1;
        MyApplSize = 12;
        globpalette = platform::GetNewPalette(2000);
        platform::ResetTextEdit();
    }
    void TearDown() override
    {
        run_.reset();
        ::G_Plane = nullptr;
        while (TWindow* w = doc_.fFirstWindow) {
            doc_.RemoveWindow(w);
            w->Dispose();
        }
        // The document is the test's: the application lets go of it.
        for (TDocument* d = MyAppl ? MyAppl->fDocList : nullptr; d; d = d->fNext)
            if (d == &doc_) {
                MyAppl->RemoveDoc(&doc_);
                break;
            }
        if (globpalette) platform::DisposePalette(globpalette);
        globpalette = nullptr;
        ResetDocHooks();
        ClosePrefResFile();
        DisposeMenus();
        platform::DisposeScreen();
        ReadFixture::TearDown();
    }

    // A built document, opened and read.
    void Load(const std::string& description)
    {
        built_ = Build(description);
        Open(built_);
        ASSERT_EQ(Read(), 0);
    }

    // The editor window the object's documentation opens in (as command 56).
    TEditDocWindow* EditDoc(TObjQz* obj)
    {
        obj->EditDoc(&doc_);
        for (TWindow* w = doc_.fFirstWindow; w; w = w->fNextWindow)
            if (w->IsMember(5) && static_cast<TEditDocWindow*>(w)->fObj == obj) return static_cast<TEditDocWindow*>(w);
        return nullptr;
    }
    static browser::TDocPlane* DocPane(TWindow* w)
    {
        return w ? dynamic_cast<browser::TDocPlane*>(w->FindPlane(9)) : nullptr;
    }
    static browser::TStrPlane* StrPane(TWindow* w)
    {
        return w ? dynamic_cast<browser::TStrPlane*>(w->FindPlane(7)) : nullptr;
    }
    TEditStrWindow* EditStrings(TObjQz* obj)
    {
        obj->Edit(&doc_);
        for (TWindow* w = doc_.fFirstWindow; w; w = w->fNextWindow)
            if (w->IsMember(4) && static_cast<TEditStrWindow*>(w)->fObj == obj) return static_cast<TEditStrWindow*>(w);
        return nullptr;
    }

    // Plays a script and takes its first press (tracking loops follow the rest).
    void PlayPress(platform::Script script)
    {
        run_.reset();
        run_ = std::make_unique<platform::testing::HeadlessRun>(std::move(script));
        platform::EventRecord e{};
        ASSERT_TRUE(platform::testing::NextEvent(platform::mDownMask, &e)) << run_->watchdogMessage;
    }
    platform::Point Global(TWindow* w, platform::Point local)
    {
        platform::SetPortWindowPort(w->fWindow);
        platform::LocalToGlobal(&local);
        return local;
    }

    // The window's port pixel (0x00RRGGBB) at a local point.
    static uint32_t Pixel(TWindow* w, int h, int v)
    {
        const platform::BitMap* bm = platform::GetPortBitMapForCopyBits(platform::GetWindowPort(w->fWindow));
        const int row = bm->rowBytes & platform::kRowBytesMask;
        const auto* base = reinterpret_cast<const uint8_t*>(bm->baseAddr);
        uint32_t px = 0;
        std::memcpy(&px, base + (v - bm->bounds.top) * row + (h - bm->bounds.left) * 4, 4);
        return px & 0xFFFFFF;
    }
    static std::vector<uint32_t> Pixels(TWindow* w, const platform::Rect& r)
    {
        std::vector<uint32_t> out;
        for (int v = r.top; v < r.bottom; ++v)
            for (int h = r.left; h < r.right; ++h) out.push_back(Pixel(w, h, v));
        return out;
    }

    static platform::EventRecord KeyEvent(uint8_t ch, uint16_t modifiers = 0)
    {
        platform::EventRecord e{};
        e.what = platform::keyDown;
        e.message = ch;
        e.modifiers = modifiers;
        return e;
    }
    // The record's text.
    static std::string Text(platform::TEHandle te)
    {
        return std::string(*(**te).hText, size_t((**te).teLength));
    }
    // Another program copies `utf8`: the script's clipboard step, the road
    // of the desktop's clipboard.
    static void OtherProgramCopies(const std::string& utf8)
    {
        platform::testing::HeadlessRun run(platform::Script().Clipboard(utf8));
    }
    // Another program's lines, ended by CR LF, LF, CR or all three, and
    // the text a paste gives: one CR for each line end.
    static std::vector<std::pair<std::string, std::string>> LineEndRows()
    {
        return {{"one\r\ntwo\r\n", "one\rtwo\r"},
                {"one\ntwo\n", "one\rtwo\r"},
                {"one\rtwo\r", "one\rtwo\r"},
                {"a\r\nb\nc\rd\r\r\ne\n\r\n\n", "a\rb\rc\rd\r\re\r\r\r"}};
    }
    // The text of 'STR#' 1036 item `item`, as an alert shows it.
    static std::string KeptText(int16_t item)
    {
        unsigned char text[256];
        MyGetIndString(text, 1036, item);
        return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
    }

    // Memory running short at each allocation in turn while a second cut
    // keeps its text for undo: undo then brings back the text from just
    // before that cut, or refuses and leaves the cut text; never the older
    // text the first cut kept. Answers how many undos refused; `refusedAlso`
    // checks more of a refused one.
    template <class Pane, class Window, class Check>
    static int CutUnderShortage(Pane* pane, Window* window, const std::string& older, const std::string& newer,
                                Check refusedAlso)
    {
        int refused = 0;
        for (int32_t after = 0;; ++after) {
            SCOPED_TRACE(after);
            TESetText(older.data(), int32_t(older.size()), pane->fTE);
            TESetSelect(0, 3, pane->fTE);
            EXPECT_EQ(pane->Do_Func(22), 0);
            TESetText(newer.data(), int32_t(newer.size()), pane->fTE);
            TESetSelect(0, 2, pane->fTE);
            bool fired = false;
            {
                platform::ScopedFault fault(platform::FaultKind::Allocation, after);
                EXPECT_EQ(pane->Do_Func(22), 0);
                fired = !platform::IsFaultArmed(platform::FaultKind::Allocation);
            }
            const std::string cut = Text(pane->fTE);
            EXPECT_EQ(window->Do_Func(21), 0);
            const std::string undone = Text(pane->fTE);
            EXPECT_NE(undone, older);
            if (undone != newer) {
                ++refused;
                EXPECT_EQ(undone, cut);
                refusedAlso();
            }
            if (!fired) break;
        }
        return refused;
    }

    docbuilder::BuildResult built_;
    std::unique_ptr<platform::testing::HeadlessRun> run_;
};

}  // namespace browsertest
