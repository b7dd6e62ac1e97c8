// The four required high-level events, forwarded to the application object.
#include "app/appl/AppleEventHandlers.h"

#include "app/appl/AppGlobals.h"
#include "app/appl/CommandStacks.h"
#include "app/appl/MemoryShort.h"
#include "app/appl/TAppl.h"
#include "platform/core/Errors.h"
#include "platform/events/Events.h"
#include "platform/files/FileTypes.h"

using namespace platform;

namespace {

// Opens (or prints) every file of the direct object; a failing item does
// not stop the others, a quit asked for meanwhile does. The answer is the
// last step's.
OSErr OpenDocuments(TAppl* appl, const AppleEvent* event, int16_t print)
{
    AEDescList list;
    OSErr err = AEGetParamDesc(event, keyDirectObject, typeAEList, &list);
    if (err != noErr) return err;
    err = appl->hGotRequiredParams(event);
    if (err == noErr) {
        int32_t count = 0;
        err = AECountItems(&list, &count);
        for (int32_t i = 1; err == noErr && i <= count && !QuitAsked(); ++i) {
            FSSpec fileSpec;
            AEKeyword keyword = 0;
            DescType type = 0;
            Size size = 0;
            const OSErr got = AEGetNthPtr(&list, i, typeFSS, &keyword, &type, &fileSpec, sizeof fileSpec, &size);
            if (got == noErr) err = appl->OpenNamedDoc(fileSpec, print);
            else err = got;
            if (i < count) err = noErr;  // the next item is tried all the same
        }
    }
    AEDisposeDesc(&list);
    return err;
}

// The handlers are called back by the event service: memory running out
// in one is undone and said here (RunCommand), and answers memFullErr.
template <class Handler>
OSErr Handled(Handler handler)
{
    OSErr err = noErr;
    if (!RunCommand([&] { err = handler(); })) err = memFullErr;
    return err;
}

OSErr aAEOpenApplication(const AppleEvent* event, AppleEvent* reply, uintptr_t refCon)
{
    return Handled([&] { return MyAppl ? MyAppl->hAEOpenApplication(event, reply, refCon) : OSErr(noErr); });
}

OSErr aAEOpenDocuments(const AppleEvent* event, AppleEvent* reply, uintptr_t refCon)
{
    return Handled([&] { return MyAppl ? MyAppl->hAEOpenDocuments(event, reply, refCon) : OSErr(noErr); });
}

OSErr aAEPrintDocuments(const AppleEvent* event, AppleEvent* reply, uintptr_t refCon)
{
    return Handled([&] { return MyAppl ? MyAppl->hAEPrintDocuments(event, reply, refCon) : OSErr(noErr); });
}

OSErr aAEQuitApplication(const AppleEvent* event, AppleEvent* reply, uintptr_t refCon)
{
    return Handled([&] { return MyAppl ? MyAppl->hAEQuitApplication(event, reply, refCon) : PostFunc(19); });
}

}  // namespace

bool QuitAsked() { return QuitRequestPending() || FuncPosted(19); }

OSErr TAppl::hGotRequiredParams(const AppleEvent* event)
{
    DescType type = 0;
    Size size = 0;
    const OSErr err = AEGetAttributePtr(event, keyMissedKeywordAttr, typeWildCard, &type, nullptr, 0, &size);
    if (err == errAEDescNotFound) return noErr;
    // Parameters the event carried that nobody read: not handled.
    return err == noErr ? errAEEventNotHandled : err;
}

OSErr TAppl::hAEOpenApplication(const AppleEvent*, AppleEvent*, uintptr_t)
{
    OpenAppl();
    return noErr;
}

OSErr TAppl::hAEOpenDocuments(const AppleEvent* event, AppleEvent*, uintptr_t)
{
    if (G_IsGenerique) EraseAbout();
    return OpenDocuments(this, event, 0);
}

OSErr TAppl::hAEPrintDocuments(const AppleEvent* event, AppleEvent*, uintptr_t)
{
    return OpenDocuments(this, event, 1);
}

OSErr TAppl::hAEQuitApplication(const AppleEvent*, AppleEvent*, uintptr_t) { return PostFunc(19); }

OSErr InstallAppleEventHandlers()
{
    OSErr err = AEInstallEventHandler(kCoreEventClass, kAEOpenDocuments, aAEOpenDocuments, 0, false);
    if (err == noErr) err = AEInstallEventHandler(kCoreEventClass, kAEPrintDocuments, aAEPrintDocuments, 0, false);
    if (err == noErr) err = AEInstallEventHandler(kCoreEventClass, kAEQuitApplication, aAEQuitApplication, 0, false);
    if (err == noErr) err = AEInstallEventHandler(kCoreEventClass, kAEOpenApplication, aAEOpenApplication, 0, false);
    return err;
}
