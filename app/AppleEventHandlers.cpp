// The four required high-level events, forwarded to the application object.
#include "app/AppleEventHandlers.h"

#include "app/AppGlobals.h"
#include "app/CommandStacks.h"
#include "app/TAppl.h"
#include "platform/files/FileTypes.h"

using namespace platform;

namespace {

OSErr GotRequiredParams(const AppleEvent* event)
{
    DescType type = 0;
    Size size = 0;
    const OSErr err = AEGetAttributePtr(event, keyMissedKeywordAttr, typeWildCard, &type, nullptr, 0, &size);
    if (err == errAEDescNotFound) return noErr;
    return err == noErr ? errAEParamMissed : err;
}

// Opens (or prints) every file of the direct object; a failing item does
// not stop the others.
OSErr OpenDocuments(const AppleEvent* event, int16_t print)
{
    AEDescList list;
    OSErr err = AEGetParamDesc(event, keyDirectObject, typeAEList, &list);
    if (err != noErr) return err;
    err = GotRequiredParams(event);
    if (err == noErr) {
        int32_t count = 0;
        err = AECountItems(&list, &count);
        for (int32_t i = 1; err == noErr && i <= count; ++i) {
            FSSpec fileSpec;
            AEKeyword keyword = 0;
            DescType type = 0;
            Size size = 0;
            if (AEGetNthPtr(&list, i, typeFSS, &keyword, &type, &fileSpec, sizeof fileSpec, &size) == noErr && MyAppl)
                MyAppl->OpenNamedDoc(fileSpec, print);
        }
    }
    AEDisposeDesc(&list);
    return err;
}

OSErr aAEOpenApplication(const AppleEvent*, AppleEvent*, uintptr_t)
{
    if (MyAppl) MyAppl->OpenAppl();
    return noErr;
}

OSErr aAEOpenDocuments(const AppleEvent* event, AppleEvent*, uintptr_t)
{
    if (G_IsGenerique && MyAppl) MyAppl->EraseAbout();
    return OpenDocuments(event, 0);
}

OSErr aAEPrintDocuments(const AppleEvent* event, AppleEvent*, uintptr_t) { return OpenDocuments(event, 1); }

OSErr aAEQuitApplication(const AppleEvent*, AppleEvent*, uintptr_t) { return PostFunc(19); }

}  // namespace

OSErr InstallAppleEventHandlers()
{
    OSErr err = AEInstallEventHandler(kCoreEventClass, kAEOpenDocuments, aAEOpenDocuments, 0, false);
    if (err == noErr) err = AEInstallEventHandler(kCoreEventClass, kAEPrintDocuments, aAEPrintDocuments, 0, false);
    if (err == noErr) err = AEInstallEventHandler(kCoreEventClass, kAEQuitApplication, aAEQuitApplication, 0, false);
    if (err == noErr) err = AEInstallEventHandler(kCoreEventClass, kAEOpenApplication, aAEOpenApplication, 0, false);
    return err;
}
