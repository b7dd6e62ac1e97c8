// Reading an opened document (ReadQzB) and parsing its lists (ParseObj).
#include <cstring>
#include <new>

#include "app/appl/AppGlobals.h"
#include "app/documents/MainDoc.h"
#include "app/dialogs/Messages.h"
#include "app/dialogs/WaitDialog.h"
#include "design/objects/DesignGlobals.h"
#include "design/reading/DirectoryBytes.h"
#include "design/documents/DocResources.h"
#include "design/objects/Groups.h"
#include "design/reading/ModuleManager.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "design/documents/OpenQzB.h"
#include "design/documents/Passwords.h"
#include "design/text/DeclarationFile.h"
#include "design/reading/ReadQzB.h"
#include "design/links/XRef.h"
#include "looks/FormLook.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"

using platform::FourCC;

namespace {

// The wait dialog's delay: a short read shows nothing.
constexpr int32_t kWaitDelay = 60;
constexpr int16_t kGeneratedLibraryText = 78;  // STR# 1002

// A zero result once the memory reserve is gone becomes -108.
int16_t MemoryChecked(int16_t result) { return result == 0 && !GromMemHdl ? platform::memFullErr : result; }

void MarkUsed(TMainDoc* doc, const unsigned char* methodName)
{
    if (methodName[0] == 0) return;
    if (TObjQz* m = SearchObj_Name(doc, 2, methodName)) static_cast<TProcObjQz*>(m)->SetUsed();
}

// The project methods that user records name (the 32-byte string at 52)
// and the start-up method are used whatever the graph says.
void MarkUsersMethods(TMainDoc* doc)
{
    for (auto [table, count] : {std::pair{pass, globnbpass}, std::pair{passu, globnbpassu}}) {
        if (!table) continue;
        const int32_t held = platform::GetHandleSize(table) / int32_t(sizeof(platform::Handle));
        for (int32_t i = 0; i < count && i < held; ++i) {
            platform::Handle user = reinterpret_cast<platform::Handle*>(*table)[i];
            if (!user || platform::GetHandleSize(user) < 84) continue;
            const auto* r = reinterpret_cast<const uint8_t*>(*user);
            if (int32_t(platform::ReadBE32(r)) == kDeletedUser) continue;
            unsigned char name[32];
            FixedName(r + 52, 32, name);
            MarkUsed(doc, name);
        }
    }
    unsigned char startup[256];
    MyGetIndString(startup, 1007, 6);
    if (startup[0] > 31) startup[0] = 31;
    MarkUsed(doc, startup);
}

bool Exists(uint32_t type, int16_t id)
{
    unsigned char name[256];
    return xgetresname(type, id, name, false);
}

// The form look of the document's 'Look' 128 (0 without one); -108 when
// it is there but cannot be loaded.
int16_t SetFormLook()
{
    int8_t look = 0;
    if (platform::Handle h = xget1res(FourCC("Look"), 128)) {
        if (platform::GetHandleSize(h) >= 1) look = int8_t(**h);
        unloadres(FourCC("Look"), 128);
    } else if (reserr == platform::memFullErr) {
        return platform::memFullErr;
    }
    SetDBVIProc(look);
    return 0;
}

constexpr int16_t kParseOrder[] = {1, 2, 16, 5, 7, 8, 4, 6, 10, 12, 18, 19};

}  // namespace

int16_t ParseObj(ObjListHdl list)
{
    int16_t result = G_NetWorkErr;
    if (!list) return result;
    for (int32_t i = 0; i < list->Size() && result == 0; ++i) {
        result = list->At(i)->Parse();
        if (result == 0 && G_WaitParam && ChkWait(G_WaitParam)) result = kCancelledByUser;
        result = MemoryChecked(result);
    }
    return result;
}

namespace {

// What a read leaves set while it runs, put back however it ends: a throw
// must leave no pointer to its wait dialog and no group rewrites held back.
struct WaitScope {
    WaitParamRec* wait;
    WaitParamRec* saved;
    bool open = true;
    void Close()
    {
        if (!open) return;
        open = false;
        G_WaitParam = saved;
        ReSetWaitDialog(wait);
    }
    ~WaitScope() { Close(); }
};

struct GroupRewriteScope {
    bool open = true;
    ~GroupRewriteScope()
    {
        if (open) EndGroupRewrites(false);
    }
};

int16_t ReadAll(TMainDoc* doc, uint8_t initialRead, uint8_t allowGenerated)
{
    if (!doc || !doc->fTypeList) return platform::paramErr;
    if (doc->fRsrFile >= 0 && platform::IsResFileOpen(doc->fRsrFile)) platform::UseResFile(doc->fRsrFile);
    UseQzRes(doc->fResFile);

    if (!allowGenerated) {
        const bool generated = Exists(FourCC("xmd@"), 1);
        if (!generated && reserr == platform::memFullErr) return platform::memFullErr;
        if (generated) {
            // Error 1020 in its meaning for a library the program generated:
            // the alert says what the file is rather than that components
            // were removed.
            unsigned char text[256];
            MyGetIndString(text, 1002, kGeneratedLibraryText);
            XAlert(1000, text, kStopAlert);
            return kCancelledByUser;
        }
    }
    if (basecompilee()) {
        ErrMsg(kCompiledNoSource);
        return kCancelledByUser;
    }
    if (SetFormLook() != 0) return platform::memFullErr;

    int16_t result = 0;
    bool removal = false;
    WaitParamRec wait;
    WaitParamRec* const savedWait = G_WaitParam;
    WaitScope waitScope{&wait, savedWait};
    platform::Handle param = xget1res(FourCC("PRQz"), 0);
    if (!param) {
        result = reserr == platform::memFullErr ? platform::memFullErr : kResourceMissing;
    } else {
        unsigned char name[256];
        doc->GetDocName(name);
        DebugLog_WritePStr("ReadQzB(): %s\r", name);
        if (doc->fModuleManager) DisposeModuleMgr(doc->fModuleManager);
        doc->fModuleManager = NewModuleMgr(doc);
        if (!doc->fModuleManager) return platform::memFullErr;
        switch (doc->fModuleManager->LoadModules(0)) {
        case 1: return kModulesUnreadable1;
        case 2: return kModulesUnreadable2;
        case 3: removal = true; break;
        // Nothing is removed for a shortage: the read fails.
        case platform::memFullErr: return platform::memFullErr;
        default: break;
        }
        UseQzRes(doc->fResFile);
        // A copy: reading the kinds may load and purge other resources.
        platform::Handle paramCopy = param;
        if (platform::HandToHand(&paramCopy) != 0) return platform::memFullErr;

        SetWaitDialog(&wait, 7, name, 0, 0, initialRead ? 260 : 281, kWaitDelay);
        wait.maximum = CountRes();
        G_WaitParam = &wait;
        // The types whose every resource the read gets and keeps, each read
        // in a few large reads rather than one per resource.
        for (uint32_t type : {FourCC("FIQz"), FourCC("TFQz"), FourCC("BAQz"), FourCC("CCQz"), FourCC("FOQz"),
                              FourCC("List"), FourCC("PICT"), FourCC("#GRP"), FourCC("#GMO"), FourCC("#MOD")})
            loadallres(type);
        for (int16_t kind = 1; kind <= 23 && result == 0; ++kind) {
            unsigned char line[256], kindName[256];
            MyGetIndString(line, 1011, 6);
            PAppendChar(line, ' ');
            MyGetIndString(kindName, 1008, kind);
            PAppend(line, kindName);
            WaitMess(&wait, line);
            result = MemoryChecked(ReadObj(doc, paramCopy, kind, &doc->fTypeList->lists[kind - 1], allowGenerated));
        }
        platform::DisposeHandle(paramCopy);
        for (size_t i = 0; i < std::size(kParseOrder) && result == 0; ++i) {
            result = ParseObj(doc->fTypeList->lists[kParseOrder[i] - 1]);
            if (i < 6) result = MemoryChecked(result);
        }
        UseQzRes(doc->fResFile);

        // Groups leave the companion file whatever happened before.
        for (uint32_t type : {FourCC("#GRP"), FourCC("#GMO"), FourCC("#MOD"), FourCC("moQz")}) {
            const int16_t err = ConvertGroupes(doc, type);
            if (result == 0) result = err;
        }
        // Every group object exists before any member list is read, so that
        // groups can hold components and folders.
        if (result == 0) result = MakeGroupes(doc, FourCC("#GRP"), 23);
        if (result == 0) result = MakeGroupes(doc, FourCC("#GMO"), 33);
        if (result == 0) result = MakeGroupes(doc, FourCC("#MOD"), 32);
        BeginGroupRewrites();
        GroupRewriteScope rewrites;
        if (result == 0) result = ReadGroupes(doc, 23);
        if (result == 0) result = ReadGroupes(doc, 33);
        if (result == 0) result = ReadGroupes(doc, 32);
        rewrites.open = false;
        // A server's structure is repaired in memory only: opening it
        // writes nothing to a server nobody asked to change.
        const int16_t rewritten = EndGroupRewrites(result == 0 && !doc->fRemote);
        if (result == 0) result = rewritten;
        if (result == 0 && !removal && CheckModuleObjQz(doc) != 0) removal = true;
        if (result == 0) result = ModuleGroupVars(doc);
        SetModulesVisibleItems(doc);
        // The compiler's declaration file, when one lies beside the
        // structure: what it lacks or holds wrong is no error of the read.
        if (result == 0 && !doc->fRemote) {
            unsigned char fileName[256];
            PSet(fileName, platform::FSpGetName(doc->fSpec));
            if (fileName[0]) ReadCompFile(doc, fileName);
        }
    }

    MarkUsersMethods(doc);
    waitScope.Close();
    if (removal) return DeleteModuleObjQz(doc);
    return result;
}

}  // namespace

int16_t ReadQzB(TMainDoc* doc, uint8_t initialRead, uint8_t allowGenerated)
{
    // The groups' summaries are made once, from every link and membership.
    LinkChanges together;
    int16_t result = platform::memFullErr;
    try {
        result = ReadAll(doc, initialRead, allowGenerated);
    } catch (const std::bad_alloc&) {
        result = platform::memFullErr;
    }
    // Only a document the read accepts gets what its open and read changed.
    if (result == 0) result = AcceptQzB(doc->fRsrFile, doc->fResFile);
    return result;
}
