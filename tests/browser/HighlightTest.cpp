// The highlighted rows of the demo's main list are its selected rows, after
// each of a thousand seeded keys, clicks and type-ahead strings played
// through the step language: every visible row is read back from the
// window's pixels, which the screen shows.
#include <cstring>
#include <random>
#include <sstream>

#include "app/appl/Menus.h"
#include "app/appl/Preferences.h"
#include "app/appl/TAppl.h"
#include "app/documents/DocSupport.h"
#include "app/windows/TMainWindow.h"
#include "browser/Panes.h"
#include "platform/drawing/Ports.h"
#include "platform/events/Events.h"
#include "platform/screen/Screen.h"
#include "platform/windows/Windows.h"
#include "tests/browser/ProgramFixture.h"
#include "tests/platform/events/HeadlessFixture.h"
#include "tools/docbuilder/DocBuilder.h"

using namespace platform;

namespace browsertest {
namespace {

class Highlight : public ProgramFixture {
protected:
    void TearDown() override
    {
        run_.reset();
        ProgramFixture::TearDown();
    }

    // The demo in a browser window as the program opens it.
    browser::TLstPlane* OpenDemo()
    {
        const auto built =
            docbuilder::BuildDocumentFile(std::string(QZ_SOURCE_DIR) + "/resources/demo/Demo.qzdoc", folder_.path());
        EXPECT_EQ(built.error, 0) << built.message;
        Open(built.dataPath);
        EXPECT_EQ(Read(), 0);
        if (ObjListHdl l = List(3)) ShellStrictSort(l);
        MyAppl->fDefaultRect = DefaultWindowRect();
        Rect r = MyAppl->fDefaultRect;
        EXPECT_EQ(doc_.NewRefWindow(&r, 1, PrefWindowKind(), -1, 0), 0);
        window_ = doc_.GetRefWindow();
        for (::TPlan* p = window_ ? window_->fFirstPlane : nullptr; p; p = p->fNext)
            if (p->IsMember(2)) return static_cast<browser::TLstPlane*>(p);
        return nullptr;
    }

    Point Global(Point local)
    {
        SetPortWindowPort(window_->fWindow);
        LocalToGlobal(&local);
        return local;
    }

    // Serves the window's pending updates, as the event loop does.
    void ServeUpdates()
    {
        EventRecord e{};
        while (EventAvail(updateMask, &e) && GetNextEvent(updateMask, &e)) {
            auto* w = reinterpret_cast<WindowRef>(e.message);
            BeginUpdate(w);
            if (w == window_->fWindow) window_->update(e);
            EndUpdate(w);
        }
    }

    // A pixel of the window as the screen shows it (the window's own
    // pixels, which the screen composes).
    uint32_t Pixel(Point local)
    {
        const BitMap* bm = GetPortBitMapForCopyBits(GetWindowPort(window_->fWindow));
        uint32_t px = 0;
        std::memcpy(&px,
                    reinterpret_cast<const uint8_t*>(bm->baseAddr) + (local.v - bm->bounds.top) * (bm->rowBytes & kRowBytesMask) +
                        (local.h - bm->bounds.left) * 4,
                    4);
        return px & 0xFFFFFF;
    }

    // The visible rows whose drawing differs from their selection: a row
    // is drawn highlighted when the end of its text box, where no label
    // reaches, is not white.
    std::string Drift(LongListHandle list)
    {
        std::ostringstream out;
        const int32_t last = std::min(list->lastVisible, list->rowCount - 1);
        for (int32_t row = std::max(0, list->firstVisible); row <= last; ++row) {
            const Rect cell = GetCellRect(row, list);
            if (cell.bottom > list->rView.bottom) break;
            const bool drawn = Pixel(Point{int16_t(cell.top + 1), int16_t(cell.right - 2)}) != 0xFFFFFF;
            int32_t at = row;
            const bool selected = list->active && LongLGetSelect(false, &at, list);
            if (drawn != selected) out << " row " << row << (selected ? " selected but plain" : " highlighted but not selected");
        }
        return out.str();
    }

    // The where-used and uses panes against the selection: one selected
    // object's links, nothing for no selection or several rows.
    static std::string PanesAstray(browser::TLstPlane* main)
    {
        int32_t first = 0;
        const bool any = LongLGetSelect(true, &first, main->fList);
        TObjQz* only = any && !LongLMultSel(main->fList) ? static_cast<TObjQz*>(LongLRowObject(first, main->fList)) : nullptr;
        std::string astray;
        for (const auto& [pane, callers] : {std::pair{main->fUsedBy, true}, std::pair{main->fUses, false}}) {
            LongListHandle rows = static_cast<browser::TRefPlane*>(pane)->fList;
            for (int32_t r = 0; r < rows->rowCount; ++r) {
                auto* o = static_cast<TObjQz*>(LongLRowObject(r, rows));
                if (!only || !IsInList(callers ? only->usedBy : only->uses, o))
                    astray += std::string(callers ? " used-by" : " uses") + " row " + std::to_string(r);
            }
            ObjListHdl links = only ? (callers ? only->usedBy : only->uses) : nullptr;
            if (only && links && links->Size() > 0 && rows->rowCount == 0 && (callers || !only->TstFlag(9)))
                astray += std::string(callers ? " used-by" : " uses") + " pane empty";
        }
        return astray;
    }

    TRefWindow* window_ = nullptr;
    std::unique_ptr<platform::testing::HeadlessRun> run_;
};

TEST_F(Highlight, AThousandKeysClicksAndTypedNamesLeaveTheSelectionHighlighted)
{
    browser::TLstPlane* main = OpenDemo();
    ASSERT_NE(main, nullptr);
    LongListHandle list = main->fList;
    main->SelectPlane();
    ASSERT_GT(list->lastVisible - list->firstVisible, 5);

    // The script: arrow keys, clicks on the rows' places (plain, with Shift,
    // with Command) and type-ahead strings of the names' letters.
    std::mt19937 random(51);
    Script script;
    const std::string letters = "acdefilmnoprstuACLIMPRS";
    const int32_t slots = list->lastVisible - list->firstVisible;
    const uint32_t pause = GetDblTime() + 5;
    for (int action = 0; action < 1000; ++action) {
        switch (random() % 4) {
        case 0: script.Key(random() % 2 ? "up" : "down"); break;
        case 1: {
            std::string typed(1 + random() % 3, ' ');
            for (char& c : typed) c = letters[random() % letters.size()];
            script.Wait(pause).Type(typed);
            break;
        }
        default: {
            const Rect cell = GetCellRect(list->firstVisible + int32_t(random() % slots), list);
            const Point p = Global(Point{int16_t(cell.top + 8), int16_t(cell.left + 60 + random() % 100)});
            const uint16_t mods[] = {0, 0, 0, shiftKey, cmdKey};
            script.Click(p.h, p.v, mods[random() % 5]);
            break;
        }
        }
        script.Wait(8);
    }
    run_ = std::make_unique<platform::testing::HeadlessRun>(std::move(script));

    int handled = 0;
    EventRecord e{};
    while (platform::testing::NextEvent(mDownMask | keyDownMask, &e, 100)) {
        if (e.what == mouseDown) window_->Click(e, 0);
        else window_->key(e);
        ServeUpdates();
        ++handled;
        const std::string drift = Drift(main->fList);
        ASSERT_EQ(drift, "") << "after event " << handled << (e.what == mouseDown ? " (a click)" : " (a key)");
        ASSERT_EQ(PanesAstray(main), "") << "after event " << handled << (e.what == mouseDown ? " (a click)" : " (a key)");
    }
    EXPECT_GT(handled, 1000) << "every action was played";
}

}  // namespace
}  // namespace browsertest
