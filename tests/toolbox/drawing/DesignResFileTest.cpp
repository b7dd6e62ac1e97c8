#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "toolbox/drawing/VDesignResFile.h"
#include "toolbox/drawing/VMacResFile.h"
#include "toolbox/foundation/VArrayNumber.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/VStr.h"

using platform::FourCC;

namespace {

// A host with a design file (reference 7) that records what it is sent.
struct DesignHost {
    std::vector<int16_t> selectors;
    std::vector<parm> blocks;
    int16_t createError = 0;
    int16_t uniqueError = 0;
    int16_t defaultFile = 3;
    std::vector<platform::Handle> created;
};
DesignHost gHost;

void Host(int16_t selector, parm* block)
{
    gHost.selectors.push_back(selector);
    gHost.blocks.push_back(*block);
    switch (selector) {
    case kSelDesignOpenFile:
        block->resFile0 = 7;
        block->resFile2 = 8;
        break;
    case kSelDesignCreateResource:
        block->error270 = gHost.createError;
        if (!gHost.createError) {
            block->slot276.SetLong(200);
            gHost.created.push_back(block->slot266.Ptr<char*>());
        }
        break;
    case kSelDesignSetDefault: {
        const int16_t previous = gHost.defaultFile;
        gHost.defaultFile = block->resFile0;
        block->resFile0 = previous;
        break;
    }
    case kSelDesignGetKindsList: {
        platform::Handle h = platform::NewHandle(8);
        const uint32_t kinds[2] = {FourCC("TEXT"), FourCC("PICT")};
        std::memcpy(*h, kinds, 8);
        block->slot266.SetPtr(h);
        break;
    }
    case kSelDesignUniqueID:
        block->error270 = gHost.uniqueError;
        block->slot276.SetLong(129);
        break;
    default:
        break;
    }
}

class DesignFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        gHost = {};
        gCallQz = Host;
    }
    void TearDown() override
    {
        for (platform::Handle h : gHost.created) platform::DisposeHandle(h);
        gCallQz = nullptr;
    }
};

TEST_F(DesignFile, CreatesThroughTheHostAndDisposesRefusedData)
{
    VDesignResFile file;
    EXPECT_EQ(file.GetDesignRef(), 7);
    EXPECT_EQ(file.GetSecondRef(), 8);
    EXPECT_TRUE(file.IsValid());

    VStr<255> name;
    name.FromCString(reinterpret_cast<const uint8_t*>("notes"), kCharSetMac);
    const char data[4] = {1, 2, 3, 4};
    EXPECT_EQ(file.CreateResource(FourCC("TEXT"), -1, &name, data, 4), 200);
    const parm& sent = gHost.blocks.back();
    EXPECT_EQ(sent.resFile0, 7);
    EXPECT_EQ(sent.flag8, 1) << "id -1 asks the host for one";
    EXPECT_EQ(uint32_t(sent.slot272.Long()), FourCC("TEXT"));
    EXPECT_EQ(sent.name10[0], 5);
    ASSERT_EQ(gHost.created.size(), 1u);
    EXPECT_EQ(platform::GetHandleSize(gHost.created[0]), 4);
    EXPECT_EQ((*gHost.created[0])[3], 4);

    gHost.createError = -1;
    EXPECT_EQ(file.CreateResource(FourCC("TEXT"), 5, nullptr, data, 4), -1);
    EXPECT_EQ(gHost.blocks.back().flag8, 0);

    EXPECT_EQ(file.GetUniqueID(FourCC("TEXT")), 129);
    const size_t calls = gHost.selectors.size();
    file.SaveResource(nullptr);
    EXPECT_EQ(file.DetachResHandle(nullptr), nullptr);
    EXPECT_EQ(gHost.selectors.size(), calls) << "no handle, nothing sent";
    gHost.uniqueError = -39;
    EXPECT_EQ(file.GetUniqueID(FourCC("TEXT")), 0) << "no number when the host fails";

    // A name of exactly the short length is sent whole, a longer one cut
    // to it.
    gHost.createError = 0;
    for (const size_t length : {size_t(80), size_t(81)}) {
        const std::string text(length, 'n');
        name.FromCString(reinterpret_cast<const uint8_t*>(text.c_str()), kCharSetMac);
        EXPECT_EQ(file.CreateResource(FourCC("TEXT"), -1, &name, data, 4), 200);
        EXPECT_EQ(gHost.blocks.back().name10[0], 80) << length;
        EXPECT_EQ(gHost.blocks.back().name10[80], 'n') << length;
    }
    VArrayLong* kinds = file.GetKindsList();
    ASSERT_NE(kinds, nullptr);
    ASSERT_EQ(kinds->GetCount(), 2);
    EXPECT_EQ(uint32_t(kinds->GetLong(2)), FourCC("PICT"));
    delete kinds;
}

TEST_F(DesignFile, DefaultsStackAndHandlesGoBackToTheHost)
{
    VDesignResFile file;
    file.SaveAndSetDefault();
    EXPECT_EQ(gHost.defaultFile, 7);
    file.RestoreDefault();
    EXPECT_EQ(gHost.defaultFile, 3);
    const size_t sent = gHost.selectors.size();
    file.RestoreDefault();
    EXPECT_EQ(gHost.selectors.size(), sent) << "nothing left to restore";

    platform::Handle h = platform::NewHandle(10);
    EXPECT_TRUE(file.SetResHandleSize(h, 40));
    EXPECT_EQ(file.GetResHandleSize(h), 40);
    EXPECT_EQ(file.LockResHandle(h), *h);
    EXPECT_EQ(gHost.selectors.back(), kSelDesignLockResHandle);
    EXPECT_EQ(gHost.blocks.back().flag8, 1);
    file.ReleaseResource(h);
    EXPECT_EQ(gHost.selectors.back(), kSelDesignReleaseResource);
    EXPECT_EQ(gHost.blocks.back().slot266.Ptr<char*>(), h);
    platform::Handle saved = platform::NewHandle(4);
    file.SaveResource(saved);
    EXPECT_EQ(gHost.selectors.back(), kSelDesignSaveResource);
    EXPECT_EQ(gHost.blocks.back().slot266.Ptr<char*>(), saved);
    EXPECT_EQ(file.DetachResHandle(saved), saved);
    EXPECT_EQ(gHost.selectors.back(), kSelDesignDetachResHandle);
    EXPECT_EQ(gHost.blocks.back().slot266.Ptr<char*>(), saved);
    platform::DisposeHandle(saved);
    platform::DisposeHandle(h);
    EXPECT_EQ(file.Save(), 0);
    EXPECT_EQ(gHost.selectors.back(), kSelDesignSave);
}

TEST_F(DesignFile, WithoutADesignFileEveryOperationIsNeutral)
{
    gCallQz = nullptr;  // no host: no file named
    VDesignResFile file;
    EXPECT_FALSE(file.IsValid());
    const char data[2] = {0, 0};
    EXPECT_EQ(file.CreateResource(FourCC("TEXT"), 1, nullptr, data, 2), -1);
    EXPECT_EQ(file.Save(), kResFileNotValid);
    EXPECT_EQ(file.GetResource(FourCC("TEXT"), 1), nullptr);
    EXPECT_EQ(file.GetKindsList(), nullptr);
    EXPECT_EQ(file.GetResourceListIDs(FourCC("TEXT")), nullptr);
    EXPECT_EQ(file.CountResources(FourCC("TEXT")), 0);
    EXPECT_EQ(file.GetResourceSize(FourCC("TEXT"), 1), 0);
    EXPECT_FALSE(file.DeleteResource(FourCC("TEXT"), int16_t(1)));
    EXPECT_FALSE(file.ResourceExists(FourCC("TEXT"), 1));
    uint8_t loaded = 9;
    EXPECT_EQ(file.GetResourceByIndex(FourCC("TEXT"), 1, &loaded), nullptr);
    EXPECT_EQ(file.CountHeldHandles(), 0);
}

}  // namespace
