// Command line, signals and handlers of the high-level events, and the
// system attribute query.
#include <gtest/gtest.h>

#include <csignal>

#include "platform/appleevents/AppleEvents.h"
#include "platform/appleevents/EventSources.h"
#include "platform/core/FourCC.h"
#include "platform/files/FileTypes.h"
#include "platform/gestalt/Gestalt.h"
#include "tests/platform/events/HeadlessFixture.h"

namespace platform {
namespace {

using testing::HeadlessRun;
using testing::NextEvent;

struct Seen {
    OSErr paramErr = 1;
    int32_t count = -1;
    std::vector<std::string> paths;
    OSErr missErr = 1;
    AEKeyword missed = 0;
};

OSErr ReadDocuments(const AppleEvent* event, AppleEvent*, uintptr_t refCon)
{
    Seen& seen = *reinterpret_cast<Seen*>(refCon);
    AEDescList docs;
    seen.paramErr = AEGetParamDesc(event, keyDirectObject, typeAEList, &docs);
    if (seen.paramErr == noErr) {
        AECountItems(&docs, &seen.count);
        for (int32_t i = 1; i <= seen.count; ++i) {
            FSSpec fileSpec;
            AEKeyword key;
            DescType type;
            Size size = 0;
            if (AEGetNthPtr(&docs, i, typeFSS, &key, &type, &fileSpec, sizeof fileSpec, &size) == noErr)
                seen.paths.push_back(fileSpec.path);
        }
        AEDisposeDesc(&docs);
    }
    seen.missErr = AEGetAttributePtr(event, keyMissedKeywordAttr, typeWildCard, nullptr, &seen.missed, 4, nullptr);
    return noErr;
}

OSErr LeaveUnread(const AppleEvent* event, AppleEvent*, uintptr_t refCon)
{
    Seen& seen = *reinterpret_cast<Seen*>(refCon);
    DescType type;
    seen.missErr = AEGetAttributePtr(event, keyMissedKeywordAttr, typeWildCard, &type, &seen.missed, 4, nullptr);
    return seen.missErr == noErr ? errAEParamMissed : noErr;
}

class HighLevelEvents : public ::testing::Test {
protected:
    void SetUp() override { ResetAppleEvents(); }
    void TearDown() override { ResetAppleEvents(); }
    // Takes the next high-level event and has it handled.
    OSErr Process(OSType* id = nullptr)
    {
        EventRecord e{};
        if (!NextEvent(highLevelEventMask, &e, 50)) return -1;
        if (id) *id = HighLevelEventID(e);
        return AEProcessAppleEvent(&e);
    }
    HeadlessRun run{Script{}};
};

TEST_F(HighLevelEvents, CommandLineNamesTheEventAndItsFiles)
{
    Seen seen;
    AEInstallEventHandler(kCoreEventClass, kAEOpenDocuments, ReadDocuments, uintptr_t(&seen), false);
    AEInstallEventHandler(kCoreEventClass, kAEPrintDocuments, ReadDocuments, uintptr_t(&seen), false);
    std::string error;
    ASSERT_TRUE(PostCommandLineEvents({"/tmp/a.QzB", "/tmp/b.QTL"}, &error)) << error;
    OSType id = 0;
    EXPECT_EQ(Process(&id), noErr);
    EXPECT_EQ(id, kAEOpenDocuments);
    EXPECT_EQ(seen.count, 2);
    EXPECT_EQ(seen.paths, (std::vector<std::string>{"/tmp/a.QzB", "/tmp/b.QTL"}));
    EXPECT_EQ(seen.missErr, errAEDescNotFound);  // every parameter was read

    // File items also come as references, for items that exist.
    AEDescList files;
    ASSERT_EQ(AECreateList(nullptr, 0, false, &files), noErr);
    AEPutPtr(&files, 0, typeFSS, "/tmp", 4);
    AEPutPtr(&files, 0, typeFSS, "/no/such/item", 13);
    FSRef ref;
    Size size = 0;
    EXPECT_EQ(AEGetNthPtr(&files, 1, typeFSRef, nullptr, nullptr, &ref, sizeof ref, &size), noErr);
    EXPECT_EQ(ref.path, "/tmp");
    EXPECT_EQ(AEGetNthPtr(&files, 2, typeFSRef, nullptr, nullptr, &ref, sizeof ref, &size), errAECoercionFail);
    AEDisposeDesc(&files);

    seen = Seen{};
    ASSERT_TRUE(PostCommandLineEvents({"--print", "/tmp/a.QzB"}, &error));
    EXPECT_EQ(Process(&id), noErr);
    EXPECT_EQ(id, kAEPrintDocuments);
    EXPECT_EQ(seen.count, 1);

    ASSERT_TRUE(PostCommandLineEvents({}, &error));
    EXPECT_EQ(Process(&id), errAEEventNotHandled);  // 'oapp' has no handler here
    EXPECT_EQ(id, kAEOpenApplication);

    EXPECT_FALSE(PostCommandLineEvents({"--print"}, &error));
    EXPECT_FALSE(PostCommandLineEvents({"-x", "a"}, &error));
    EventRecord e{};
    EXPECT_FALSE(EventAvail(highLevelEventMask, &e));  // refused lines post nothing
}

TEST_F(HighLevelEvents, UnreadDirectObjectIsMissedAndUnhandledKindsSayNotHandled)
{
    Seen seen;
    AEInstallEventHandler(kCoreEventClass, kAEOpenDocuments, LeaveUnread, uintptr_t(&seen), false);
    PostHighLevelEvent(kCoreEventClass, kAEOpenDocuments, {"/tmp/x"});
    EXPECT_EQ(Process(), errAEParamMissed);
    EXPECT_EQ(seen.missErr, noErr);
    EXPECT_EQ(seen.missed, keyDirectObject);

    EXPECT_EQ(AERemoveEventHandler(kCoreEventClass, kAEOpenDocuments, LeaveUnread, false), noErr);
    PostHighLevelEvent(kCoreEventClass, kAEOpenDocuments, {"/tmp/x"});
    EXPECT_EQ(Process(), errAEEventNotHandled);
    EXPECT_EQ(AERemoveEventHandler(kCoreEventClass, kAEOpenDocuments, LeaveUnread, false), errAEHandlerNotFound);
}

TEST_F(HighLevelEvents, SignalGivesOneQuitAtTheNextPoll)
{
    InstallQuitSignals();
    std::raise(SIGTERM);
    EXPECT_TRUE(QuitSignalPending());
    EventRecord e{};
    ASSERT_TRUE(NextEvent(highLevelEventMask, &e, 5));
    EXPECT_EQ(HighLevelEventID(e), kAEQuitApplication);
    EXPECT_FALSE(NextEvent(highLevelEventMask, &e, 5));
    // The handler ran once; put ours back for the next test of this process.
    InstallQuitSignals();
}

TEST(Descriptors, ListsKeepCopiesAndRefuseBadIndexes)
{
    AEDescList list;
    ASSERT_EQ(AECreateList(nullptr, 0, false, &list), noErr);
    const char text[] = "abc";
    EXPECT_EQ(AEPutPtr(&list, 0, typeChar, text, 3), noErr);
    EXPECT_EQ(AEPutPtr(&list, 5, typeChar, text, 3), errAEBadListItem);
    AEDesc item;
    ASSERT_EQ(AECreateDesc(FourCC("long"), "\0\0\0\7", 4, &item), noErr);
    EXPECT_EQ(AEPutDesc(&list, 2, &item), noErr);
    AEDisposeDesc(&item);  // the list holds its own copy
    int32_t count = 0;
    EXPECT_EQ(AECountItems(&list, &count), noErr);
    EXPECT_EQ(count, 2);
    char out[8] = {};
    Size size = 0;
    DescType type = 0;
    EXPECT_EQ(AEGetNthPtr(&list, 2, typeWildCard, nullptr, &type, out, 2, &size), noErr);
    EXPECT_EQ(type, FourCC("long"));
    EXPECT_EQ(size, 4);  // the whole size, though only 2 bytes were given
    EXPECT_EQ(AEGetNthPtr(&list, 1, FourCC("long"), nullptr, &type, out, 8, &size), errAECoercionFail);
    EXPECT_EQ(AEGetNthPtr(&list, 3, typeWildCard, nullptr, &type, out, 8, &size), errAEBadListItem);
    AEDesc copy;
    ASSERT_EQ(AEDuplicateDesc(&list, &copy), noErr);
    AEDisposeDesc(&list);
    EXPECT_EQ(AEGetNthPtr(&copy, 1, typeChar, nullptr, &type, out, 8, &size), noErr);
    EXPECT_EQ(std::string(out, size_t(size)), "abc");
    AEDisposeDesc(&copy);
}

TEST(Gestalt, AnswersTheSystemsAttributes)
{
    int32_t v = 0;
    EXPECT_EQ(Gestalt(FourCC("sysv"), &v), noErr);
    EXPECT_EQ(v, 0x1050);
    EXPECT_EQ(Gestalt(FourCC("apvr"), &v), noErr);
    EXPECT_EQ(v, 0x0114);
    EXPECT_EQ(Gestalt(FourCC("menu"), &v), noErr);
    EXPECT_TRUE(v & 1);
    EXPECT_EQ(Gestalt(FourCC("appr"), &v), noErr);
    EXPECT_TRUE(v & 1);
    EXPECT_EQ(Gestalt(FourCC("qtim"), &v), noErr);
    EXPECT_NE(v, 0);
    EXPECT_EQ(Gestalt(FourCC("zzzz"), &v), gestaltUndefSelectorErr);
}

}  // namespace
}  // namespace platform
