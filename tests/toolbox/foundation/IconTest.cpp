#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/core/Endian.h"
#include "platform/core/Faults.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/PixMaps.h"
#include "toolbox/foundation/VIcon.h"
#include "toolbox/foundation/VIconResources.h"
#include "toolbox/foundation/VMemoryMgr.h"

namespace {

using platform::BitMap;
using platform::PixMap;

struct CicnSpec {
    int16_t width = 15;
    int16_t height = 2;
    int16_t pixelSize = 1;
    int16_t pixRowBytes = 2;
    int16_t maskRowBytes = 2;
    int16_t colorCount = 2;  // entries
};

void Put16(std::vector<char>& out, int32_t v)
{
    out.push_back(char(v >> 8));
    out.push_back(char(v));
}

void Put32(std::vector<char>& out, int32_t v)
{
    Put16(out, v >> 16);
    Put16(out, v);
}

void PutBitMapHeader(std::vector<char>& out, int16_t rowBytes, int16_t width, int16_t height)
{
    Put32(out, 0);
    Put16(out, rowBytes);
    for (int16_t v : {int16_t(0), int16_t(0), height, width}) Put16(out, v);
}

// A 'cicn' resource: mask bits 0xF0, icon bits 0x0F, pixels 0xA5 (a 1-bit
// row reads 1010 0101 ...), colours i -> (i, 2i, 3i).
std::vector<char> MakeCicn(const CicnSpec& s)
{
    std::vector<char> out;
    Put32(out, 0);
    Put16(out, 0x8000 | s.pixRowBytes);
    for (int16_t v : {int16_t(0), int16_t(0), s.height, s.width}) Put16(out, v);
    Put16(out, 0);  // version
    Put16(out, 0);  // pack type
    Put32(out, 0);
    Put32(out, 72 << 16);
    Put32(out, 72 << 16);
    Put16(out, 0);  // indexed
    Put16(out, s.pixelSize);
    Put16(out, 1);
    Put16(out, s.pixelSize);
    Put32(out, 0);
    Put32(out, 0x12345678);  // a stale colour-table handle: never used
    Put32(out, 0);
    PutBitMapHeader(out, s.maskRowBytes, s.width, s.height);
    PutBitMapHeader(out, s.maskRowBytes, s.width, s.height);
    Put32(out, 0);
    out.insert(out.end(), size_t(s.maskRowBytes) * s.height, char(0xF0));
    out.insert(out.end(), size_t(s.maskRowBytes) * s.height, char(0x0F));
    Put32(out, 77);
    Put16(out, 0);
    Put16(out, s.colorCount - 1);
    for (int16_t i = 0; i < s.colorCount; ++i) {
        Put16(out, i);
        for (int k = 1; k <= 3; ++k) Put16(out, i * k);
    }
    out.insert(out.end(), size_t(s.pixRowBytes) * s.height, char(0xA5));
    return out;
}

const PixMap& PixHeader(const VIcon& icon) { return **icon.GetPixMap(); }

const uint8_t* Pixels(const VIcon& icon)
{
    return reinterpret_cast<const uint8_t*>(*icon.GetPixMap()) + sizeof(PixMap);
}

TEST(Icon, OneBitPixelsAreWidenedToBytes)
{
    for (int16_t width : {int16_t(15), int16_t(16)}) {
        VIcon icon(nullptr, nullptr, int16_t(128));
        const std::vector<char> data = MakeCicn({.width = width});
        ASSERT_TRUE(icon.BuildMacIcon(nullptr, data.data(), int32_t(data.size())));
        const PixMap& pm = PixHeader(icon);
        EXPECT_EQ(uint16_t(pm.rowBytes), 0x8010) << width;
        EXPECT_EQ(pm.pixelSize, 8);
        EXPECT_EQ(icon.GetWidth(), width);
        EXPECT_EQ(icon.GetHeight(), 2);
        const uint8_t expected[8] = {1, 0, 1, 0, 0, 1, 0, 1};
        const uint8_t* row = Pixels(icon) + 16;  // the second row
        for (int x = 0; x < width; ++x) EXPECT_EQ(row[x], expected[x % 8]) << x;
        if (width == 15) {
            EXPECT_EQ(row[15], 0);  // padding
        }

        ASSERT_NE(pm.pmTable, nullptr);
        EXPECT_EQ(platform::CTabEntryCount(pm.pmTable), 2);
        EXPECT_EQ((*pm.pmTable)->ctSeed, 77);
        EXPECT_EQ(platform::CTabEntries(pm.pmTable)[1].rgb.blue, 3);
    }
}

TEST(Icon, DeeperPixelsAndBitmapsAreCopied)
{
    VIcon icon(nullptr, nullptr, int16_t(1));
    const std::vector<char> data = MakeCicn({.width = 4, .height = 3, .pixelSize = 8, .pixRowBytes = 4,
                                             .maskRowBytes = 2, .colorCount = 256});
    ASSERT_TRUE(icon.BuildMacIcon(nullptr, data.data(), int32_t(data.size())));
    EXPECT_EQ(uint16_t(PixHeader(icon).rowBytes), 0x8004);
    EXPECT_EQ(PixHeader(icon).pixelSize, 8);
    EXPECT_EQ(PixHeader(icon).bounds.right, 4);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(Pixels(icon)[i], 0xA5);
    EXPECT_EQ(platform::CTabEntries(PixHeader(icon).pmTable)[255].rgb.green, 510);

    const BitMap& mask = *reinterpret_cast<const BitMap*>(*icon.GetMask());
    EXPECT_EQ(mask.rowBytes, 2);
    EXPECT_EQ(mask.bounds.bottom, 3);
    EXPECT_EQ(uint8_t((*icon.GetMask())[sizeof(BitMap) + 5]), 0xF0);
    EXPECT_EQ(uint8_t((*icon.GetBitmap())[sizeof(BitMap) + 5]), 0x0F);
    EXPECT_EQ(gMemory->GetHandleSize(icon.GetBitmap()), int32_t(sizeof(BitMap) + 6));

    // Every depth pixels come in is taken; others are not.
    for (int16_t depth : {2, 16, 3}) {
        VIcon other(nullptr, nullptr, int16_t(1));
        const std::vector<char> bytes = MakeCicn({.width = 4, .height = 3, .pixelSize = depth,
                                                  .pixRowBytes = 8, .maskRowBytes = 2, .colorCount = 4});
        EXPECT_EQ(other.BuildMacIcon(nullptr, bytes.data(), int32_t(bytes.size())), depth != 3) << depth;
    }
}

TEST(Icon, DamagedResourcesAreRefused)
{
    const std::vector<char> good = MakeCicn({});
    VIcon icon(nullptr, nullptr, int16_t(1));
    // Every truncation, and ranges that claim more than the resource holds.
    for (size_t size = 0; size < good.size(); ++size) {
        std::vector<char> cut(good.begin(), good.begin() + ptrdiff_t(size));
        EXPECT_FALSE(icon.BuildMacIcon(nullptr, cut.data(), int32_t(cut.size()))) << size;
        EXPECT_EQ(icon.GetPixMap(), nullptr);
    }
    auto damaged = [&](size_t offset, int16_t value) {
        std::vector<char> bad = good;
        platform::WriteBE16(bad.data() + offset, uint16_t(value));
        return !icon.BuildMacIcon(nullptr, bad.data(), int32_t(bad.size()));
    };
    EXPECT_TRUE(damaged(4, int16_t(0xFFFF)));  // pixel row bytes
    EXPECT_TRUE(damaged(10, 200));             // pixel map height
    EXPECT_TRUE(damaged(12, -3));              // negative width
    EXPECT_TRUE(damaged(32, 3));               // no such pixel size
    EXPECT_TRUE(damaged(54, 0x7FFF));          // mask row bytes
    EXPECT_TRUE(damaged(54, 1));               // mask rows too short for the width
    EXPECT_TRUE(damaged(74, 2000));            // icon bitmap height
    EXPECT_TRUE(damaged(82 + 8 + 6, 0x7FFF));  // colour count
    EXPECT_TRUE(damaged(82 + 8 + 6, -1));
    // One-bit rows widen to a byte a pixel: 16383 bytes fit a row, 16384 not.
    for (const int16_t width : {int16_t(16382), int16_t(16383)}) {
        CicnSpec wide;
        wide.width = width;
        wide.height = 1;
        wide.pixRowBytes = wide.maskRowBytes = 2048;
        const std::vector<char> bytes = MakeCicn(wide);
        EXPECT_EQ(icon.BuildMacIcon(nullptr, bytes.data(), int32_t(bytes.size())), width == 16382) << width;
    }
    EXPECT_TRUE(icon.BuildMacIcon(nullptr, good.data(), int32_t(good.size())));
    EXPECT_FALSE(icon.BuildMacIcon(nullptr, nullptr, 100));
    EXPECT_TRUE(icon.IsEmpty());
}

TEST(Icon, RunningOutOfMemoryLeavesNothingBehind)
{
    const std::vector<char> good = MakeCicn({});
    const size_t handles = platform::LiveHandleCount();
    for (int32_t after = 0; after < 4; ++after) {
        VIcon icon(nullptr, nullptr, int16_t(1));
        platform::ScopedFault fault(platform::FaultKind::Allocation, after);
        EXPECT_FALSE(icon.BuildMacIcon(nullptr, good.data(), int32_t(good.size())));
        EXPECT_EQ(platform::LiveHandleCount(), handles);
    }
}

// Two files of resources held in handles.
class FakeResources : public VIconResourceAccess {
public:
    struct File {
        std::map<int16_t, std::vector<char>> byId;
        std::map<std::string, int16_t> ids;
    };
    File mine, toolbox;
    bool hasToolboxFile = true;
    int released = 0;

    VResourceFile* GetToolboxFile() override { return hasToolboxFile ? Key(toolbox) : nullptr; }
    char** GetResource(VResourceFile* file, uint32_t type, int16_t id) override
    {
        File& f = Of(file);
        auto it = f.byId.find(id);
        if (type != platform::FourCC("cicn") || it == f.byId.end()) return nullptr;
        return gMemory->NewHandle(it->second.data(), int32_t(it->second.size()));
    }
    int16_t GetResourceID(VResourceFile* file, uint32_t, const char* name) override
    {
        File& f = Of(file);
        auto it = f.ids.find(name);
        return it == f.ids.end() ? int16_t(-1) : it->second;
    }
    char* LockResHandle(VResourceFile*, char** h) override { return gMemory->LockHandle(h); }
    void UnlockResHandle(VResourceFile*, char** h) override { gMemory->UnlockHandle(h); }
    void ReleaseResource(VResourceFile*, char** h) override
    {
        ++released;
        gMemory->DisposeHandle(h);
    }

    VResourceFile* Key(File& f) { return reinterpret_cast<VResourceFile*>(&f); }
    File& Of(VResourceFile* file) { return *reinterpret_cast<File*>(file); }
};

TEST(Icon, LooksUpInTheFileThenTheToolboxFile)
{
    FakeResources res;
    res.mine.byId[1] = MakeCicn({.width = 4});
    res.toolbox.byId[2] = MakeCicn({.width = 6});
    res.toolbox.ids["tool"] = 2;
    res.mine.ids["mine"] = 1;

    {
        VIcon none(nullptr, res.Key(res.mine), int16_t(1));
        EXPECT_EQ(none.GetPixMap(), nullptr);  // no access installed
    }
    SetIconResourceAccess(&res);
    {
        VIcon own(nullptr, res.Key(res.mine), int16_t(1));
        VIcon fallback(nullptr, res.Key(res.mine), int16_t(2));
        VIcon byName(nullptr, res.Key(res.mine), "tool");
        VIcon missing(nullptr, res.Key(res.mine), "nothing");
        VIcon noFile(nullptr, nullptr, "mine");
        EXPECT_EQ(own.GetWidth(), 4);
        EXPECT_EQ(fallback.GetWidth(), 6);
        EXPECT_EQ(byName.GetWidth(), 6);
        EXPECT_EQ(byName.GetResID(), 2);
        EXPECT_EQ(missing.GetResID(), -1);
        EXPECT_EQ(missing.GetPixMap(), nullptr);
        EXPECT_EQ(noFile.GetResID(), -1);
        EXPECT_EQ(res.released, 3);
    }
    res.hasToolboxFile = false;
    VIcon absent(nullptr, res.Key(res.mine), int16_t(2));
    EXPECT_EQ(absent.GetPixMap(), nullptr);
    SetIconResourceAccess(nullptr);
}

}  // namespace
