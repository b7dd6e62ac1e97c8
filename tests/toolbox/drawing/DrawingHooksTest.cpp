// The drawing layer's links to the layers above: each menu link answers its
// default for a missing object or hook and never calls a hook with no
// object; icon access without a file; the start-up flags in their order.
#include <gtest/gtest.h>

#include "toolbox/drawing/CompatFunctions.h"
#include "toolbox/drawing/IconResourceAccess.h"
#include "toolbox/drawing/MenuLinks.h"
#include "toolbox/foundation/VIconResources.h"
#include "toolbox/foundation/VStr.h"

namespace {

int gCalls = 0;

template <typename T>
T* Fake(int n)
{
    return reinterpret_cast<T*>(static_cast<uintptr_t>(n));
}

MenuCommandHooks CountingHooks()
{
    MenuCommandHooks h;
    h.frameDoCommand = [](VFrame*, VObject*, int32_t n, intptr_t) -> intptr_t { return ++gCalls, n + 1; };
    h.frameReleasePainter = [](VFrame*) { ++gCalls; };
    h.frameFindShortcut = [](VFrame*, int32_t, MenuShortcut&) { return ++gCalls, true; };
    h.dialogFindShortcut = [](VDialQz*, int32_t, MenuShortcut&) { return ++gCalls, true; };
    h.dialogDoCommand = [](VDialQz*, VObject*, int32_t n, intptr_t) -> intptr_t { return ++gCalls, n + 2; };
    h.commandValue = [](const VCommand*) -> VValue* { return ++gCalls, Fake<VValue>(8); };
    h.commandNumber = [](const VCommand*) -> int32_t { return ++gCalls, 77; };
    h.commandEnabled = [](const VCommand*) { return ++gCalls, true; };
    h.commandName = [](const VCommand*, VString& name) {
        ++gCalls;
        name.FromCString(reinterpret_cast<const uint8_t*>("Open"), kCharSetMac);
    };
    return h;
}

TEST(MenuLinks, AMissingObjectNeverReachesItsHookAndAMissingHookAnswersItsDefault)
{
    SetMenuCommandHooks(CountingHooks());
    gCalls = 0;
    MenuShortcut shortcut{};
    VStr<63> name;
    EXPECT_EQ(menulink::DoCommand(static_cast<VFrame*>(nullptr), nullptr, 5, 0), 0);
    menulink::ReleasePainter(static_cast<VFrame*>(nullptr));
    EXPECT_FALSE(menulink::FindShortcut(static_cast<VFrame*>(nullptr), 5, shortcut));
    EXPECT_FALSE(menulink::FindShortcut(static_cast<VDialQz*>(nullptr), 5, shortcut));
    EXPECT_EQ(menulink::DoCommand(static_cast<VDialQz*>(nullptr), nullptr, 5, 0), 0);
    EXPECT_EQ(menulink::Value(nullptr), nullptr);
    EXPECT_EQ(menulink::Number(nullptr), 0);
    EXPECT_FALSE(menulink::Enabled(nullptr));
    menulink::Name(nullptr, name);
    EXPECT_EQ(gCalls, 0) << "no hook called for a missing object";

    EXPECT_EQ(menulink::DoCommand(Fake<VFrame>(1), nullptr, 5, 0), 6);
    menulink::ReleasePainter(Fake<VFrame>(1));
    EXPECT_TRUE(menulink::FindShortcut(Fake<VFrame>(1), 5, shortcut));
    EXPECT_TRUE(menulink::FindShortcut(Fake<VDialQz>(2), 5, shortcut));
    EXPECT_EQ(menulink::DoCommand(Fake<VDialQz>(2), nullptr, 5, 0), 7);
    EXPECT_EQ(menulink::Value(Fake<VCommand>(3)), Fake<VValue>(8));
    EXPECT_EQ(menulink::Number(Fake<VCommand>(3)), 77);
    EXPECT_TRUE(menulink::Enabled(Fake<VCommand>(3)));
    menulink::Name(Fake<VCommand>(3), name);
    EXPECT_EQ(name.GetCFString(), u"Open");
    EXPECT_EQ(gCalls, 9);

    SetMenuCommandHooks({});
    EXPECT_EQ(menulink::DoCommand(Fake<VFrame>(1), nullptr, 5, 0), 0);
    EXPECT_FALSE(menulink::FindShortcut(Fake<VDialQz>(2), 5, shortcut));
    EXPECT_EQ(menulink::DoCommand(Fake<VDialQz>(2), nullptr, 5, 0), 0);
    EXPECT_EQ(menulink::Value(Fake<VCommand>(3)), nullptr);
    menulink::ReleasePainter(Fake<VFrame>(1));
    menulink::Name(Fake<VCommand>(3), name);
    EXPECT_EQ(name.GetCFString(), u"Open") << "left as it was";
    EXPECT_EQ(gCalls, 9);
}

TEST(IconResourceAccess, WithoutAFileNothingIsFoundAndNothingTouched)
{
    InstallIconResourceAccess();
    VIconResourceAccess* access = GetIconResourceAccess();
    ASSERT_NE(access, nullptr);
    EXPECT_EQ(access->GetResourceID(nullptr, 0x49434F4E, "Any"), -1);
    EXPECT_EQ(access->GetResource(nullptr, 0x49434F4E, 128), nullptr);
    char* bytes = nullptr;
    char** h = &bytes;
    EXPECT_EQ(access->LockResHandle(nullptr, h), nullptr);
    access->UnlockResHandle(nullptr, h);
    access->ReleaseResource(nullptr, h);
    EXPECT_EQ(bytes, nullptr);
    SetIconResourceAccess(nullptr);
}

TEST(CompatFlags, ImportsCountOnlyOnceTheBundleIsLoaded)
{
    ResetCompatFlags();
    InitQzBundleImport();
    InitCarbonImport();
    EXPECT_FALSE(IsQzBundleLoaded());
    EXPECT_FALSE(AreQzBundleImportsLoaded()) << "no bundle yet";
    EXPECT_FALSE(AreCarbonImportsLoaded());
    EXPECT_EQ(InitQzBundle(), 804);
    EXPECT_TRUE(IsQzBundleLoaded());
    EXPECT_FALSE(AreQzBundleImportsLoaded());
    InitMachOImport();
    EXPECT_TRUE(AreQzBundleImportsLoaded());
    EXPECT_FALSE(AreCarbonImportsLoaded());
    InitCarbonImport();
    EXPECT_TRUE(AreCarbonImportsLoaded());
    ResetCompatFlags();
    EXPECT_FALSE(IsQzBundleLoaded());
    EXPECT_FALSE(AreCarbonImportsLoaded());
    EXPECT_TRUE(InitQuartzAPIs());
}

}  // namespace
