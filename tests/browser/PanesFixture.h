// A browser window of 600 x 400 holding the four panes: the where-used
// pane, the main list and the uses pane side by side below the preview.
#pragma once

#include <memory>

#include "app/dialogs/ArrowControl.h"
#include "app/longlist/LongListHooks.h"
#include "browser/CallPanes.h"
#include "design/links/XRef.h"
#include "platform/drawing/Ports.h"
#include "platform/screen/Screen.h"
#include "tests/browser/BrowserFixture.h"
#include "tests/platform/events/HeadlessFixture.h"

namespace browsertest {

class PanesFixture : public BrowserFixture {
protected:
    void SetUp() override
    {
        BrowserFixture::SetUp();
        ASSERT_EQ(platform::InitScreen(1280, 800), platform::noErr);
        RegisterAppControlDefinitions();
        browser::InstallBrowserPanes();
        browser::G_DispTy = 0;
    }
    void TearDown() override
    {
        run_.reset();
        ::G_Plane = nullptr;
        G_LowMem = false;
        for (TRefWindow* w : extra_) {
            doc_.RemoveWindow(w);
            w->Dispose();
        }
        BrowserFixture::TearDown();
        platform::DisposeScreen();
    }

    TRefWindow* NewWindow()
    {
        auto* w = new TRefWindow;
        EXPECT_EQ(w->ITWindow(PName("Doc"), platform::Rect{40, 0, 440, 600}, true, 0, &doc_, 8), 0);
        doc_.AddWindow(w);
        return w;
    }

    template <typename Pane>
    Pane* Add(TRefWindow* w, platform::Rect layout, TypeListRec* types = nullptr)
    {
        auto* pane = new Pane;
        EXPECT_EQ(pane->ITPlane(layout, w, types, nullptr, 0), 0);
        w->AddPlane(pane);
        return pane;
    }

    void OpenPanes()
    {
        window_ = NewWindow();
        main_ = Add<browser::TLstPlane>(window_, {40, 30, 100, 70}, doc_.fTypeList);
        calling_ = Add<browser::TCallingPlane>(window_, {40, 0, 100, 30});
        called_ = Add<browser::TCalledPlane>(window_, {40, 70, 100, 100});
        preview_ = Add<browser::TDisplayPlane>(window_, {0, 0, 40, 100});
        for (browser::TRefPlane* p : {static_cast<browser::TRefPlane*>(main_), static_cast<browser::TRefPlane*>(calling_),
                                      static_cast<browser::TRefPlane*>(called_)}) {
            p->AddMenuFilter(128);
            p->SetFilter(128);
        }
        main_->SetLinks(0, called_, 0, calling_, 0, preview_);
        calling_->SetLinks(0, main_, 0, nullptr, 0, preview_);
        called_->SetLinks(0, main_, 0, nullptr, 0, preview_);
        calling_->SetDfltFilter(128);
        called_->SetDfltFilter(128);
        main_->SetDfltFilter(128);
    }

    // Window-local to global coordinates.
    platform::Point Global(platform::Point local, TWindow* w = nullptr)
    {
        platform::SetPortWindowPort((w ? w : window_)->fWindow);
        platform::LocalToGlobal(&local);
        return local;
    }
    // Plays the script and takes its first press (the tracking loops then
    // follow the rest).
    void PlayPress(platform::Script script)
    {
        run_.reset();
        run_ = std::make_unique<platform::testing::HeadlessRun>(std::move(script));
        platform::EventRecord e{};
        ASSERT_TRUE(platform::testing::NextEvent(platform::mDownMask, &e)) << run_->watchdogMessage;
    }

    // The pixel (0x00RRGGBB) of the window's port at a local point.
    uint32_t Pixel(int h, int v, TWindow* w = nullptr)
    {
        const platform::BitMap* bm = platform::GetPortBitMapForCopyBits(platform::GetWindowPort((w ? w : window_)->fWindow));
        const int row = bm->rowBytes & platform::kRowBytesMask;
        const auto* base = reinterpret_cast<const uint8_t*>(bm->baseAddr);
        uint32_t px = 0;
        std::memcpy(&px, base + (v - bm->bounds.top) * row + (h - bm->bounds.left) * 4, 4);
        return px & 0xFFFFFF;
    }
    std::vector<uint32_t> Pixels(const platform::Rect& r, TWindow* w = nullptr)
    {
        std::vector<uint32_t> out;
        for (int v = r.top; v < r.bottom; ++v)
            for (int h = r.left; h < r.right; ++h) out.push_back(Pixel(h, v, w));
        return out;
    }

    browser::TLstPlane* main_ = nullptr;
    browser::TCallingPlane* calling_ = nullptr;
    browser::TCalledPlane* called_ = nullptr;
    browser::TDisplayPlane* preview_ = nullptr;
    std::vector<TRefWindow*> extra_;
    std::unique_ptr<platform::testing::HeadlessRun> run_;
};

}  // namespace browsertest
