// A long list of object rows in a headless window, with a drawing
// procedure that records what it is asked to draw, and fake design objects
// behind the list hooks.
#pragma once

#include <vector>

#include "app/longlist/LongList.h"
#include "app/longlist/LongListHooks.h"
#include "tests/platform/controls/ControlFixture.h"

namespace apptest {

struct DrawCall {
    int16_t message;
    bool selected;
    int32_t row;
    platform::Rect cell;
};

// A design object as the hooks see it.
struct FakeObject {
    int16_t level = 0;
    bool openable = false;
    bool dragable = false;
};

inline std::vector<DrawCall> gDrawCalls;

inline void RecordDraw(int16_t message, bool selected, const platform::Rect* cell, int32_t row, int32_t,
                       LongListHandle)
{
    gDrawCalls.push_back(DrawCall{message, selected, row, *cell});
}

class LongListTest : public platform::testing::ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        gDrawCalls.clear();
        ResetLongListHooks();
        LongListHooks hooks;
        hooks.getLevel = [](void* o) { return static_cast<FakeObject*>(o)->level; };
        hooks.openable = [](void* o) { return static_cast<FakeObject*>(o)->openable; };
        hooks.dragable = [](void* o) { return static_cast<FakeObject*>(o)->dragable; };
        SetLongListHooks(hooks);
    }
    void TearDown() override
    {
        if (list) LongLDispose(list);
        list = nullptr;
        ResetLongListHooks();
        ControlTest::TearDown();
    }
    // A list of `rows` object rows, cells 200 x 16, showing `shown` rows
    // from local (20, 10).
    LongListHandle Make(int32_t rows, int16_t shown = 10)
    {
        window = Window();
        const platform::Rect view{20, 10, int16_t(20 + 16 * shown), 210};
        list = LongLNew(&view, 0, kObjectRowLength, platform::Point{16, 200}, 0, window, false, RecordDraw);
        EXPECT_NE(list, nullptr);
        objects.resize(size_t(rows));
        if (rows > 0) {
            EXPECT_EQ(LongLAddRow(rows, 0, list), 0);
        }
        for (int32_t r = 0; r < rows; ++r) {
            void* p = &objects[size_t(r)];
            LongLSetCell(&p, kObjectRowLength, r, list);
        }
        gDrawCalls.clear();
        return list;
    }
    std::vector<int32_t> Selection() const
    {
        std::vector<int32_t> out;
        for (int32_t r = 0; LongLGetSelect(true, &r, list); ++r) out.push_back(r);
        return out;
    }
    static std::vector<int32_t> Range(int32_t low, int32_t high)
    {
        std::vector<int32_t> out;
        for (int32_t r = low; r <= high; ++r) out.push_back(r);
        return out;
    }
    // The local point in the middle of a row's text, and its global form.
    platform::Point RowPoint(int32_t row, int16_t h = 100) const
    {
        return platform::Point{int16_t(20 + 16 * (row - list->firstVisible) + 8), h};
    }
    static platform::Point Global(platform::Point p)
    {
        return platform::Point{int16_t(p.v + platform::testing::kOrigin), int16_t(p.h + platform::testing::kOrigin)};
    }

    platform::WindowRef window = nullptr;
    LongListHandle list = nullptr;
    std::vector<FakeObject> objects;
};

}  // namespace apptest

#include "platform/files/WholeFile.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "tests/platform/files/TempFolder.h"
#include "tools/rescompile/ResourceCompiler.h"

namespace apptest {

// Opens resources compiled from `source` as the application's own file.
inline int16_t OpenTestResources(const platform::testing::TempFolder& folder, const std::string& source)
{
    platform::ResourceFileImage image;
    std::string error;
    EXPECT_TRUE(rescompile::CompileSource(source, "test.r", &image, &error)) << error;
    std::vector<uint8_t> bytes;
    EXPECT_EQ(platform::BuildResourceFile(image, &bytes), platform::noErr);
    const std::string path = folder / "app.rsrc";
    EXPECT_EQ(platform::WriteFileAtomically(path, bytes.data(), bytes.size()), platform::noErr);
    return platform::OpenResFile(path, platform::fsRdPerm, platform::ResFileFork::Data);
}

}  // namespace apptest
