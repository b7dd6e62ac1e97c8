// The browser's modal dialogs run headless with the shipped resources:
// where a dialog and its items will show (to script clicks on them), the
// preferences' filters read back, and what the dialog showed when a
// scripted answer ended it.
#pragma once

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/DrawingUtilities.h"
#include "platform/core/FourCC.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Text.h"
#include "tests/browser/PanesFixture.h"

namespace browsertest {

using Bytes = std::vector<uint8_t>;

// Where a dialog will open: its content's global top-left and its items.
struct DialogPlace {
    platform::Point origin{0, 0};
    std::vector<platform::Rect> items;

    platform::Point At(int16_t item) const
    {
        const platform::Rect& r = items.at(size_t(item - 1));
        return platform::Point{int16_t(origin.v + (r.top + r.bottom) / 2), int16_t(origin.h + (r.left + r.right) / 2)};
    }
    // A point `dv`, `dh` from the item's top-left.
    platform::Point Corner(int16_t item, int16_t dv, int16_t dh) const
    {
        const platform::Rect& r = items.at(size_t(item - 1));
        return platform::Point{int16_t(origin.v + r.top + dv), int16_t(origin.h + r.left + dh)};
    }
    // Row `row` of the list the item holds (inset by 1), `dh` from its left.
    platform::Point Row(int16_t item, int16_t row, int16_t rowHeight, int16_t dh) const
    {
        return Corner(item, int16_t(1 + row * rowHeight + rowHeight / 2), int16_t(1 + dh));
    }
};

struct StoredFilter {
    std::string name;
    Bytes bytes;
    bool operator==(const StoredFilter&) const = default;
};
using StoredFilters = std::map<int16_t, StoredFilter>;

class DialogFixture : public PanesFixture {
protected:
    void SetUp() override
    {
        PanesFixture::SetUp();
        // The dialogs' list rows are a line of the list font.
        window_ = NewWindow();
        platform::SetPortWindowPort(window_->fWindow);
        platform::TextFont(GetResFont(0));
        platform::TextSize(GetResSize(0));
        platform::FontInfo info{};
        platform::GetFontInfo(&info);
        rowHeight_ = int16_t(info.ascent + info.descent + info.leading);
        platform::TextFont(0);
        platform::TextSize(12);
    }
    void TearDown() override
    {
        platform::SetScriptedAnswerObserver(nullptr);
        gSeen = nullptr;
        PanesFixture::TearDown();
    }

    static DialogPlace Place(int16_t id)
    {
        DialogPlace place;
        platform::Handle dlog = nullptr, bits = nullptr;
        platform::Rect r{};
        DLogSaveScreen(platform::FourCC("DLOG"), id, &dlog, &bits, &r);
        DLogRestoreScreen(dlog, bits, &r, false);
        place.origin = platform::Point{r.top, r.left};
        platform::DialogRef d = MyGetNewDialog(id, nullptr, reinterpret_cast<platform::WindowRef>(-1));
        EXPECT_NE(d, nullptr) << id;
        if (!d) return place;
        for (int16_t i = 1; i <= platform::CountDITL(d); ++i) {
            platform::DialogItemType type = 0;
            platform::Handle h = nullptr;
            platform::Rect box{};
            platform::GetDialogItem(d, i, &type, &h, &box);
            place.items.push_back(box);
        }
        platform::DisposeDialog(d);
        return place;
    }

    // Every 'FLT2' of the preferences file, by id.
    static StoredFilters Filters()
    {
        StoredFilters out;
        const int16_t saved = platform::CurResFile();
        platform::UseResFile(G_PrefResFile);
        const int16_t count = platform::Count1Resources(platform::FourCC("FLT2"));
        for (int16_t i = 1; i <= count; ++i) {
            platform::Handle h = platform::Get1IndResource(platform::FourCC("FLT2"), i);
            int16_t id = 0;
            platform::ResType type = 0;
            platform::Str255 name;
            platform::GetResInfo(h, &id, &type, name);
            out[id] = StoredFilter{P(name), Bytes(reinterpret_cast<uint8_t*>(*h),
                                                  reinterpret_cast<uint8_t*>(*h) + platform::GetHandleSize(h))};
        }
        platform::UseResFile(saved);
        return out;
    }
    static std::vector<std::string> Names(const StoredFilters& filters)
    {
        std::vector<std::string> names;
        for (const auto& [id, f] : filters) names.push_back(std::to_string(id) + " " + f.name);
        return names;
    }

    // Calls `look` with the dialog a scripted answer is about to end.
    void WhenAnswered(std::function<void(platform::DialogRef)> look)
    {
        seen_ = std::move(look);
        gSeen = &seen_;
        platform::SetScriptedAnswerObserver([](platform::DialogRef d) {
            if (gSeen && *gSeen) (*gSeen)(d);
        });
    }

    static std::string ItemText(platform::DialogRef d, int16_t item)
    {
        platform::Str255 text;
        GetText(text, d, item);
        return P(text);
    }

    // The window's pixels (0x00RRGGBB) inside `area` (local), row by row.
    static std::vector<uint32_t> PixelsIn(platform::WindowRef w, const platform::Rect& area)
    {
        const platform::BitMap* bm = platform::GetPortBitMapForCopyBits(platform::GetWindowPort(w));
        const int row = bm->rowBytes & platform::kRowBytesMask;
        const auto* base = reinterpret_cast<const uint8_t*>(bm->baseAddr);
        std::vector<uint32_t> out;
        for (int v = area.top; v < area.bottom; ++v)
            for (int h = area.left; h < area.right; ++h) {
                uint32_t px = 0;
                std::memcpy(&px, base + (v - bm->bounds.top) * row + (h - bm->bounds.left) * 4, 4);
                out.push_back(px & 0xFFFFFF);
            }
        return out;
    }

    // The smallest rectangle holding the dialog's dark pixels inside
    // `area` (local); empty when there are none.
    static platform::Rect InkIn(platform::DialogRef d, const platform::Rect& area)
    {
        const platform::BitMap* bm =
            platform::GetPortBitMapForCopyBits(platform::GetWindowPort(platform::GetDialogWindow(d)));
        const int row = bm->rowBytes & platform::kRowBytesMask;
        const auto* base = reinterpret_cast<const uint8_t*>(bm->baseAddr);
        platform::Rect ink{32767, 32767, 0, 0};
        for (int v = area.top; v < area.bottom; ++v)
            for (int h = area.left; h < area.right; ++h) {
                const uint8_t* px = base + (v - bm->bounds.top) * row + (h - bm->bounds.left) * 4;
                if (px[0] >= 0x80 || px[1] >= 0x80 || px[2] >= 0x80) continue;
                ink.top = int16_t(std::min(int(ink.top), v));
                ink.left = int16_t(std::min(int(ink.left), h));
                ink.bottom = int16_t(std::max(int(ink.bottom), v + 1));
                ink.right = int16_t(std::max(int(ink.right), h + 1));
            }
        return ink.right > ink.left ? ink : platform::Rect{0, 0, 0, 0};
    }

    int16_t rowHeight_ = 16;
    std::function<void(platform::DialogRef)> seen_;
    static inline std::function<void(platform::DialogRef)>* gSeen = nullptr;
};

}  // namespace browsertest
