#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <memory>

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "tests/toolbox/drawing/ResFileFixture.h"
#include "toolbox/drawing/IconResourceAccess.h"
#include "toolbox/drawing/VMacResFile.h"
#include "toolbox/foundation/VArrayNumber.h"
#include "toolbox/foundation/VArrayString.h"
#include "toolbox/foundation/VIconResources.h"

using namespace drawingtest;
using platform::FourCC;

namespace {

const uint32_t kText = FourCC("TEXT");
const uint32_t kData = FourCC("DATA");

std::string Bytes(char** h)
{
    return h ? std::string(*h, platform::GetHandleSize(h)) : std::string("<null>");
}

VStr<255> Str(const std::string& s)
{
    VStr<255> v;
    v.FromMacPString(PStr(s).data());
    return v;
}

}  // namespace

TEST_F(ResFiles, LookUpsByIdNameAndIndex)
{
    VMacResFile file(doc);
    platform::UseResFile(app);  // the file makes itself current for each call
    uint8_t loaded = 9;
    EXPECT_EQ(Bytes(file.GetResource(kText, 128, &loaded)), "hello");
    EXPECT_EQ(loaded, 0);
    EXPECT_EQ(Bytes(file.GetResource(kText, Str("Fred"))), "hello");
    EXPECT_EQ(Bytes(file.GetResource(kText, Str("128"))), "hello");   // digits name the id
    EXPECT_EQ(Bytes(file.GetResource(kText, Str("0128"))), "<null>");  // a name, and there is none
    EXPECT_EQ(Bytes(file.GetResource(kText, "Fred")), "hello");
    EXPECT_EQ(file.GetResource(kText, "Nobody"), nullptr);  // never resource -1
    EXPECT_EQ(file.GetResourceID(kText, "128"), 129);       // C-string names are names
    EXPECT_EQ(file.GetResourceID(kText, Str("Fred")), 128);
    EXPECT_EQ(file.GetResourceID(kData, int16_t(2)), 131);
    EXPECT_EQ(file.GetResourceID(kData, int16_t(3)), -1);
    EXPECT_EQ(Bytes(file.GetResourceByIndex(kData, 1)), std::string("\1\2\3", 3));
    EXPECT_EQ(file.CountResources(kData), 2);
    EXPECT_EQ(file.GetResourceSize(kData, 131), 2);
    EXPECT_EQ(file.GetResourceSize(kData, 999), 0);
    EXPECT_TRUE(file.ResourceExists(kData, 130));
    VStr<255> name;
    file.GetResourceName(name, kText, 128);
    EXPECT_EQ(Text(name), "Fred");
    file.GetResourceName(name, kText, 999);
    EXPECT_EQ(Text(name), "");
    EXPECT_EQ(file.CollectResourceIDs(kData), (std::vector<int16_t>{130, 131}));
    EXPECT_EQ(file.CollectResourceNames(kText), (std::vector<std::string>{"Fred", "128"}));
    EXPECT_EQ(file.CollectKinds().size(), 2u);
    EXPECT_EQ(platform::CurResFile(), app);
}

TEST_F(ResFiles, ChainSearchIsChosenPerFile)
{
    VMacResFile file(doc);
    EXPECT_EQ(file.GetResource(kText, 300), nullptr);
    EXPECT_EQ(file.GetResourceID(kText, "Below"), -1);
    EXPECT_NE(file.GetResource(FourCC("PICT"), 400), nullptr);  // pictures always come through the chain
    file.SetSearchChain(true);
    EXPECT_EQ(Bytes(file.GetResource(kText, 300)), "app");
    EXPECT_EQ(file.GetResourceID(kText, "Below"), 300);
    EXPECT_EQ(file.CountResources(kText), 3);
}

TEST_F(ResFiles, CreateReplaceDeleteAndSave)
{
    {
        VMacResFile file(doc);
        VStr<255> name = Str("Fresh");
        int16_t id = file.CreateResource(kData, -1, &name, "abcd", 4);
        EXPECT_EQ(id, 128);
        EXPECT_EQ(file.CreateResource(kData, 130, nullptr, "xyz", 3), 130);  // replaces
        EXPECT_EQ(Bytes(file.GetResource(kData, 130)), "xyz");
        EXPECT_EQ(file.CreateResource(kData, 140, nullptr, nullptr, 2), 140);
        EXPECT_EQ(Bytes(file.GetResource(kData, 140)), std::string(2, '\0'));

        char** h = platform::NewHandle(3);
        std::memcpy(*h, "new", 3);
        EXPECT_EQ(file.AddResource(h, kData, 150, nullptr), 150);
        EXPECT_EQ(h, nullptr);

        EXPECT_TRUE(file.DeleteResource(kData, 131));
        EXPECT_FALSE(file.DeleteResource(kData, 131));
        EXPECT_TRUE(file.DeleteResource(kData, Str("Fresh")));
        // Six characters are the longest number a name can be.
        EXPECT_EQ(file.CreateResource(kData, -12345, nullptr, "neg", 3), -12345);
        EXPECT_EQ(Bytes(file.GetResource(kData, Str("-12345"))), "neg");
        EXPECT_TRUE(file.DeleteResource(kData, -12345));
        char** stray = platform::NewHandle(2);
        EXPECT_FALSE(file.DeleteResource(stray)) << "a handle that is no resource";
        platform::DisposeHandle(stray);
        file.SetResourceName(kText, 128, Str("Renamed"));
        EXPECT_EQ(file.Save(), 0);
    }
    platform::CloseResFile(doc);
    doc = platform::OpenResFile(dir / "doc.rsrc", platform::fsRdWrPerm, platform::ResFileFork::Data);
    VMacResFile file(doc);
    EXPECT_EQ(file.CollectResourceIDs(kData), (std::vector<int16_t>{130, 140, 150}));
    EXPECT_EQ(Bytes(file.GetResource(kData, 150)), "new");
    EXPECT_EQ(file.GetResourceID(kText, "Renamed"), 128);
    EXPECT_TRUE(file.DeleteResources(kData));
    EXPECT_EQ(file.CountResources(kData), 0);
}

TEST_F(ResFiles, RefusedChangesLeaveTheCurrentFile)
{
    VMacResFile readOnly(app);
    platform::UseResFile(doc);
    EXPECT_EQ(readOnly.CreateResource(kText, 300, nullptr, "no", 2), -1);  // failed replacement
    EXPECT_EQ(platform::CurResFile(), doc);
    EXPECT_EQ(readOnly.CreateResource(kText, 301, nullptr, "no", 2), -1);
    EXPECT_FALSE(readOnly.DeleteResource(kText, 300));
    EXPECT_EQ(platform::CurResFile(), doc);
    EXPECT_EQ(Bytes(readOnly.GetResource(kText, 300)), "app");

    // A replacement in the upper file leaves the one below it alone.
    VMacResFile upper(doc);
    EXPECT_EQ(upper.CreateResource(kText, 300, nullptr, "doc", 3), 300);
    EXPECT_EQ(Bytes(readOnly.GetResource(kText, 300)), "app");
}

TEST_F(ResFiles, HandlesDetachResizeAndLock)
{
    VMacResFile file(doc);
    char** h = file.GetResource(kData, 130);
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(file.SetResHandleSize(h, 5));
    EXPECT_EQ(file.GetResHandleSize(h), 5);
    char* p = file.LockResHandle(h);
    EXPECT_EQ(p, *h);
    file.UnlockResHandle(h);
    file.SaveResource(h);
    EXPECT_EQ(file.GetResourceSize(kData, 130), 5);

    char** mine = file.DetachResHandle(h);
    ASSERT_EQ(mine, h);
    EXPECT_NE(file.GetResource(kData, 130), mine);  // the file answers a fresh handle
    platform::DisposeHandle(mine);
    EXPECT_EQ(file.GetResourceID(file.GetResource(kData, 131)), 131);
}

TEST_F(ResFiles, DefaultFileStack)
{
    VMacResFile file(doc);
    platform::UseResFile(app);
    file.SaveAndSetDefault();
    EXPECT_EQ(platform::CurResFile(), doc);
    file.RestoreDefault();
    EXPECT_EQ(platform::CurResFile(), app);
    file.RestoreDefault();  // empty stack
    EXPECT_EQ(platform::CurResFile(), app);
}

TEST_F(ResFiles, InvalidFileDoesNothing)
{
    VMacResFile file(-1);
    EXPECT_FALSE(file.IsValid());
    EXPECT_EQ(file.Save(), kResFileNotValid);
    EXPECT_EQ(file.GetResource(kText, 128), nullptr);
    EXPECT_EQ(file.CreateResource(kData, 1, nullptr, "a", 1), -1);
    EXPECT_EQ(file.CountResources(kText), 0);
    EXPECT_FALSE(file.DeleteResource(kText, 128));
    VStr<255> s;
    file.GetString(s, 130, 1);
    EXPECT_EQ(Text(s), "");
    char** h = platform::NewHandle(4);  // handle operations still work
    EXPECT_EQ(file.GetResHandleSize(h), 4);
    EXPECT_EQ(file.LockResHandle(h), *h);
    file.UnlockResHandle(h);
    platform::DisposeHandle(h);
    EXPECT_EQ(file.GetCharSet(), kCharSetMac);
    EXPECT_EQ(file.SetSwapResourceProc(nullptr), nullptr);
}

TEST_F(ResFiles, DestructionSavesAndClosesWhenAsked)
{
    {
        VMacResFile file(doc);
        file.SetCloseOnDestruction(true);
        EXPECT_EQ(file.CreateResource(kData, 200, nullptr, "kept", 4), 200);
    }
    platform::UseResFile(doc);
    EXPECT_NE(platform::ResError(), platform::noErr);  // closed
    int16_t again = platform::OpenResFile(dir / "doc.rsrc", platform::fsRdPerm, platform::ResFileFork::Data);
    VMacResFile file(again);
    EXPECT_EQ(Bytes(file.GetResource(kData, 200)), "kept");
}

TEST_F(ResFiles, IconAccessReadsTheToolboxFile)
{
    VMacResFile toolbox(app);
    gResFile = &toolbox;
    InstallIconResourceAccess();
    VIconResourceAccess* access = GetIconResourceAccess();
    ASSERT_NE(access, nullptr);
    EXPECT_EQ(access->GetToolboxFile(), &toolbox);
    EXPECT_EQ(access->GetResourceID(&toolbox, kText, "Below"), 300);
    char** h = access->GetResource(&toolbox, kText, 300);
    EXPECT_EQ(std::string(access->LockResHandle(&toolbox, h), 3), "app");
    access->UnlockResHandle(&toolbox, h);
    access->ReleaseResource(&toolbox, h);
    EXPECT_EQ(access->GetResource(nullptr, kText, 300), nullptr);
    gResFile = nullptr;
    SetIconResourceAccess(nullptr);
}

TEST_F(ResFiles, ListsComeAsValueArrays)
{
    VMacResFile file(doc);
    std::unique_ptr<VArrayWord> ids(file.GetResourceListIDs(kData));
    ASSERT_NE(ids, nullptr);
    ASSERT_EQ(ids->GetCount(), 2);
    EXPECT_EQ(ids->GetWord(1), 130);
    EXPECT_EQ(ids->GetWord(2), 131);

    std::unique_ptr<VArrayString> names(file.GetResourceListNames(kText));
    ASSERT_NE(names, nullptr);
    ASSERT_EQ(names->GetCount(), 2);
    EXPECT_EQ(Text(*names->GetVString(1)), "Fred");

    std::unique_ptr<VArrayLong> kinds(file.GetKindsList());
    ASSERT_NE(kinds, nullptr);
    EXPECT_EQ(kinds->GetCount(), 2);
}
