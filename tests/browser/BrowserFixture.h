// A structure document in memory shown in a browser window whose one pane
// is the main list, with the application's own resources, menus and a
// preferences file holding the filters the tests name.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/documents/MainDoc.h"
#include "app/longlist/LongList.h"
#include "app/appl/Menus.h"
#include "app/appl/Preferences.h"
#include "app/windows/TMainWindow.h"
#include "browser/Panes.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "platform/core/Faults.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/events/DialogAnswers.h"
#include "platform/resfiles/Resources.h"
#include "platform/windows/Windows.h"
#include "tests/app/AppFixture.h"

namespace browsertest {

inline std::string P(const unsigned char* p) { return apptest::P(p); }

// Rectangles as (top, left, bottom, right) for comparing.
inline std::tuple<int, int, int, int> R(const platform::Rect& r) { return {r.top, r.left, r.bottom, r.right}; }
inline std::tuple<int, int, int, int> R(int t, int l, int b, int r) { return {t, l, b, r}; }

struct PName {
    explicit PName(const std::string& s) { apptest::ToP(s, bytes); }
    operator const unsigned char*() const { return bytes; }
    unsigned char bytes[256];
};

constexpr uint32_t Kind(int k) { return 0x80000000u >> k; }

// A filter record of one entry: kind bits, condition bits, name pattern.
inline std::vector<uint8_t> FilterBytes(uint32_t kinds, const std::string& pattern = "", uint8_t comparison = 2)
{
    std::vector<uint8_t> b = {0, 1, uint8_t(kinds >> 24), uint8_t(kinds >> 16), uint8_t(kinds >> 8), uint8_t(kinds),
                              0, 0, 0, uint8_t(comparison - 1), 0, 0, uint8_t(pattern.size())};
    b.insert(b.end(), pattern.begin(), pattern.end());
    if (b.size() % 2) b.push_back(0);
    return b;
}

class BrowserFixture : public apptest::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ResetDesignGlobals();
        G_MainResFile = platform::OpenResFile(QZ_APP_RESOURCES, platform::fsRdPerm, platform::ResFileFork::Data);
        ASSERT_GT(G_MainResFile, 0);
        ASSERT_EQ(BuildMenus(), 0);
        OpenPrefResFile();
        ASSERT_NE(G_PrefResFile, -1);
        AddFilter(128, "All objects", FilterBytes(0x7FFFFFFE));
        GromMemHdl = platform::NewHandle(64);
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
        MakeAppl();
    }
    // The pixels of a row's cell in the window, as 0xRRGGBB colours.
    std::vector<uint32_t> CellPixels(LongListHandle list, int32_t row)
    {
        platform::SetPortWindowPort(window_->fWindow);
        const platform::Rect r = GetCellRect(row, list);
        std::vector<uint32_t> px;
        for (int16_t v = r.top; v < r.bottom; ++v)
            for (int16_t h = r.left; h < r.right; ++h) {
                platform::RGBColor c;
                platform::GetCPixel(h, v, &c);
                px.push_back(uint32_t(c.red >> 8) << 16 | uint32_t(c.green >> 8) << 8 | uint32_t(c.blue >> 8));
            }
        return px;
    }
    void TearDown() override
    {
        if (window_) {
            windowDoc_->RemoveWindow(window_);
            window_->Dispose();
        }
        platform::ClearAllFaults();
        DisposeTypeList(doc_.fTypeList);
        doc_.fTypeList = nullptr;
        if (GromMemHdl) platform::DisposeHandle(GromMemHdl);
        GromMemHdl = nullptr;
        ClosePrefResFile();
        DisposeMenus();
        ResetDesignGlobals();
        AppFixture::TearDown();
    }

    void AddFilter(int16_t id, const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const int16_t saved = platform::CurResFile();
        platform::UseResFile(G_PrefResFile);
        if (platform::Handle old = platform::Get1Resource(platform::FourCC("FLT2"), id)) {
            platform::RemoveResource(old);
            platform::DisposeHandle(old);
        }
        platform::Handle h = nullptr;
        ASSERT_EQ(platform::PtrToHand(bytes.data(), &h, platform::Size(bytes.size())), 0);
        platform::AddResource(h, platform::FourCC("FLT2"), id, PName(name));
        platform::UseResFile(saved);
    }

    // A browser window of the document (port 601 x 333) holding a main
    // list over `layout`.
    browser::TLstPlane* OpenList(platform::Rect layout = {0, 0, 100, 100}, TMainDoc* doc = nullptr)
    {
        windowDoc_ = doc ? doc : &doc_;
        window_ = new TRefWindow;
        const platform::Rect bounds{40, 10, 373, 611};
        EXPECT_EQ(window_->ITWindow(PName("Doc"), bounds, true, 0, windowDoc_, 8), 0);
        windowDoc_->AddWindow(window_);
        auto* pane = new browser::TLstPlane;
        EXPECT_EQ(pane->ITPlane(layout, window_, doc_.fTypeList, nullptr, 0), 0);
        window_->AddPlane(pane);
        pane->AddMenuFilter(128);
        pane->AddMenuFilter(129);
        pane->SetFilter(128);
        return pane;
    }

    TObjQz* Make(int16_t kind, const std::string& name, int16_t id = 0)
    {
        return NewObj_Id(&doc_, kind, PName(name), id, true);
    }
    TObjQz* Owned(ObjListHdl* list, int16_t kind, const std::string& name, TObjQz* owner, int16_t id = 0)
    {
        TObjQz* obj = NewListObj_Id(&doc_, list, kind, PName(name), id, true);
        if (auto* s = dynamic_cast<TStructObjQz*>(obj)) s->ownerObj = owner;
        return obj;
    }
    TGroupObjQz* Group(const std::string& name, const std::vector<TObjQz*>& members)
    {
        auto* g = static_cast<TGroupObjQz*>(Make(23, name, 9));
        NewObjList(&g->members, 10);
        for (TObjQz* m : members) {
            AddObjList(&g->members, m);
            m->parent = g;
            m->level = uint8_t(g->level + 1);
            m->SetFlag(kFlagGrouped, true);
        }
        return g;
    }

    static std::vector<std::string> Rows(browser::TRefPlane* pane)
    {
        std::vector<std::string> names;
        for (int32_t r = 0; r < pane->fList->rowCount; ++r) {
            auto* obj = static_cast<TObjQz*>(LongLRowObject(r, pane->fList));
            unsigned char n[256];
            obj->GetName(n);
            names.push_back(P(n));
        }
        return names;
    }

    TMainDoc doc_;
    TRefWindow* window_ = nullptr;
    TMainDoc* windowDoc_ = &doc_;
};

}  // namespace browsertest
