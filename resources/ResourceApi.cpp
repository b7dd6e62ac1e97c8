#include "resources/ResourceApi.h"

#include <new>

#include "platform/core/Memory.h"
#include "platform/files/Forks.h"
#include "platform/resfiles/Resources.h"
#include "resources/StoreGuard.h"
#include "resources/server/ServerClient.h"

using namespace platform;

namespace {

// Thrown out of here only into an entry's guard, which answers -108.
CPseudoResManager& Manager()
{
    if (!g_resManager) initresman();
    if (!g_resManager) throw std::bad_alloc();
    return *g_resManager;
}

CPseudoResFile* Current()
{
    CPseudoResFile* f = Manager().CurrentFile();
    if (!f) CPseudoResManager::SetLastError(kResNoFile);
    return f;
}

CPseudoResFile* OpenFileNumbered(int16_t fileNumber)
{
    CPseudoResFile* f = Manager().FindFile(fileNumber);
    if (!f) CPseudoResManager::SetLastError(kResNoFile);
    return f;
}

}  // namespace

void initresman()
{
    GuardedVoid([&] {
        if (!g_resManager) g_resManager = new CPseudoResManager();
        if (!g_emptyResHandle) g_emptyResHandle = NewHandle(0);
        intervalresource = 480;
        ServerClient().timeOffset = 0;
        CPseudoResManager::SetLastError(noErr);
    });
}

void ResetResManager()
{
    delete g_resManager;
    g_resManager = nullptr;
    if (g_emptyResHandle) DisposeHandle(g_emptyResHandle);
    g_emptyResHandle = nullptr;
    CPseudoResManager::g_nextID = 1;
    CPseudoResManager::g_dbResFile = nullptr;
    CPseudoResManager::sChangeHook = nullptr;
    CPseudoResManager::sServerChangeNote = 0;
    ResetServerClient();
    CPseudoResManager::SetLastError(noErr);
}

int16_t openres(const FSSpec& fileSpec, bool readOnly)
{
    return Guarded<int16_t>(0, [&]() -> int16_t {
        CPseudoResFile* f = Manager().OpenFile(fileSpec, readOnly, true);
        return f ? f->FileNumber() : 0;
    });
}

int16_t openres2(const FSSpec& cacheSpec, bool)
{
    return Guarded<int16_t>(0, [&]() -> int16_t {
        Manager();
        ServerFileList files;
        OSErr err = AskFileList(&files);
        if (err == noErr && files.structureFile == 0) err = kResNoFile;
        if (err != noErr) {
            CPseudoResManager::SetLastError(err);
            return 0;
        }
        auto* file = new CPseudoResFile(cacheSpec, false);
        if (!file->InitClient(uint32_t(files.structureFile))) {
            err = CPseudoResManager::LastError();
            delete file;
            CPseudoResManager::SetLastError(err);
            return 0;
        }
        return file->FileNumber();
    });
}

// A file that exists but is no container gives 0 with -48: no number is
// handed out for a file that is not open.
int16_t createres(const FSSpec& fileSpec, OSType creator, OSType fileType)
{
    return Guarded<int16_t>(0, [&]() -> int16_t {
        CPseudoResFile* f = Manager().Create(fileSpec, creator, fileType);
        return f ? f->FileNumber() : 0;
    });
}

bool closeres(int16_t fileNumber, bool update)
{
    return Guarded<bool>(false, [&]() -> bool {
        CPseudoResFile* f = OpenFileNumbered(fileNumber);
        return f && f->Close(update);
    });
}

bool updateres(int16_t fileNumber)
{
    return Guarded<bool>(false, [&]() -> bool {
        CPseudoResFile* f = OpenFileNumbered(fileNumber);
        return f && f->UpdateRes();
    });
}

bool holdres(int16_t fileNumber, bool hold)
{
    return Guarded<bool>(false, [&]() -> bool {
        CPseudoResFile* f = OpenFileNumbered(fileNumber);
        return f && f->Hold(hold);
    });
}

bool dropres(int16_t fileNumber)
{
    return Guarded<bool>(false, [&]() -> bool {
        CPseudoResFile* f = OpenFileNumbered(fileNumber);
        return f && f->DropHeld();
    });
}

bool updateresNoMap(int16_t fileNumber)
{
    return Guarded<bool>(false, [&]() -> bool {
        CPseudoResFile* f = OpenFileNumbered(fileNumber);
        return f && f->UpdateResNoMap();
    });
}

int16_t serverchangeleft(int16_t fileNumber)
{
    CPseudoResFile* f = g_resManager ? g_resManager->FindFile(fileNumber) : nullptr;
    return f ? f->ServerChangeLeft() : 0;
}

void forgetserverchange(int16_t fileNumber)
{
    if (CPseudoResFile* f = g_resManager ? g_resManager->FindFile(fileNumber) : nullptr) f->ForgetServerChangeLeft();
}

int16_t takeserverchangenote() { return CPseudoResManager::TakeServerChangeNote(); }

bool useres(int16_t fileNumber)
{
    return Guarded<bool>(false, [&]() -> bool { return Manager().SetCurFile(fileNumber); });
}
bool setdefaultresfile(int16_t fileNumber)
{
    return Guarded<bool>(false, [&]() -> bool { return useres(fileNumber); });
}

int16_t xcurres()
{
    return Guarded<int16_t>(0, [&]() -> int16_t {
        CPseudoResFile* f = Current();
        if (!f) return 0;
        CPseudoResManager::SetLastError(noErr);
        return f->FileNumber();
    });
}

Handle xget1res(ResType type, int16_t id)
{
    return Guarded<Handle>(nullptr, [&]() -> Handle {
        CPseudoResFile* f = Current();
        return f ? f->GetRes(type, id, true) : nullptr;
    });
}

void loadallres(ResType type)
{
    GuardedVoid([&] {
        if (CPseudoResFile* f = Current()) f->LoadAll(type);
    });
}

Handle xgetres(ResType type, int16_t id, bool includeEnciphered)
{
    return Guarded<Handle>(nullptr, [&]() -> Handle {
        return Manager().GetRes(type, id, includeEnciphered);
    });
}

Handle xgetindres(ResType type, int32_t index, bool flag)
{
    return Guarded<Handle>(nullptr, [&]() -> Handle {
        CPseudoResFile* f = Current();
        return f ? f->GetIndRes(type, index, flag) : nullptr;
    });
}

int32_t xgetallindres(ResType type, int32_t count, VPtrArray* handles, VWordArray* ids, VPtrArray* names)
{
    return Guarded<int32_t>(0, [&]() -> int32_t {
        if (count < 1) return 0;
        CPseudoResFile* f = Current();
        if (!f) {
            for (int32_t k = 0; k < count; ++k) {
                int16_t id = 0;
                if (handles) handles->oAddPtrElem(nullptr);
                if (ids) ids->oAddElem(&id);
                if (names) names->oAddPtrElem(nullptr);
            }
            return count;
        }
        return f->GetAllIndRes(type, count, handles, ids, names);
    });
}

bool xaddres(Handle contents, ResType type, int16_t id)
{
    return Guarded<bool>(false, [&]() -> bool { return Manager().AddRes(contents, type, id, true); });
}
bool xaddres_NOSWAP(Handle contents, ResType type, int16_t id)
{
    return Guarded<bool>(false, [&]() -> bool { return Manager().AddRes(contents, type, id, false); });
}
bool xwriteres(Handle contents)
{
    return Guarded<bool>(false, [&]() -> bool { return Manager().WriteResource(contents); });
}
bool rmveres(Handle contents)
{
    return Guarded<bool>(false, [&]() -> bool { return Manager().RmveRes(contents); });
}
bool rmveresbyid(ResType type, int16_t id, bool includeEnciphered)
{
    return Guarded<bool>(false, [&]() -> bool { return Manager().RmveRes(type, id, includeEnciphered); });
}

bool hlockres(Handle contents)
{
    return Guarded<bool>(false, [&]() -> bool { return Manager().ActionRes(contents, 1); });
}
bool hunlockres(Handle contents)
{
    return Guarded<bool>(false, [&]() -> bool { return Manager().ActionRes(contents, 2); });
}
bool hpurgeres(Handle contents)
{
    return Guarded<bool>(false, [&]() -> bool { return Manager().ActionRes(contents, 3); });
}
bool hunpurgeres(Handle contents)
{
    return Guarded<bool>(false, [&]() -> bool { return Manager().ActionRes(contents, 4); });
}
bool detachres(Handle contents)
{
    return Guarded<bool>(false, [&]() -> bool { return Manager().ActionRes(contents, 5); });
}
bool hcrypteres(Handle contents, bool keyVariant)
{
    return Guarded<bool>(false, [&]() -> bool { return Manager().ActionRes(contents, keyVariant ? 6 : 7); });
}
bool huncrypteres(Handle contents)
{
    return Guarded<bool>(false, [&]() -> bool { return Manager().ActionRes(contents, 8); });
}
bool xiscryptedres(Handle contents)
{
    return Guarded<bool>(false, [&]() -> bool { return Manager().IsCrypted(contents); });
}

bool xiscryptedindres(ResType type, int32_t index, int16_t* id)
{
    return Guarded<bool>(false, [&]() -> bool {
        if (id) *id = 0;
        CPseudoResFile* f = Current();
        if (!f) return false;
        uint16_t attributes = f->GetIndResAttributes(type, index, id);
        return reserr == noErr && (attributes & container::kAttrEnciphered) != 0;
    });
}

uint32_t xgetrestimestamp(Handle contents)
{
    return Guarded<uint32_t>(0, [&]() -> uint32_t { return Manager().GetTimeStamp(contents); });
}
void xgetresinfo(Handle contents, int16_t* id, ResType* type)
{
    GuardedVoid([&] { Manager().GetResInfo(contents, id, type); });
}
bool xgetresname(ResType type, int16_t id, unsigned char* name, bool)
{
    return Guarded<bool>(false, [&]() -> bool { return Manager().GetResName(type, id, name); });
}
bool xhas1res(ResType type, int16_t id)
{
    return Guarded<bool>(false, [&]() -> bool {
        CPseudoResFile* f = Current();
        int32_t typeIndex = 0, recordIndex = 0;
        return f && f->FindID(type, id, &typeIndex, &recordIndex, true);
    });
}

bool xsetresname(ResType type, int16_t id, const unsigned char* name, bool)
{
    return Guarded<bool>(false, [&]() -> bool { return Manager().SetResName(type, id, name); });
}

int32_t comptetypes()
{
    return Guarded<int32_t>(0, [&]() -> int32_t {
        CPseudoResFile* f = Current();
        return f ? f->CompteTypes() : 0;
    });
}

ResType xgetindtyp(int32_t index)
{
    return Guarded<ResType>(FourCC("????"), [&]() -> ResType {
        CPseudoResFile* f = Manager().CurrentFile();
        return f ? f->GetIndTyp(index) : FourCC("????");
    });
}

int16_t compteres(ResType type, bool includeEnciphered)
{
    return Guarded<int16_t>(0, [&]() -> int16_t { return Manager().CountRes(type, includeEnciphered); });
}
int16_t uniqueresid(ResType type)
{
    return Guarded<int16_t>(0, [&]() -> int16_t { return Manager().UniqueID(type); });
}
bool unloadres(ResType type, int16_t id)
{
    return Guarded<bool>(false, [&]() -> bool { return Manager().UnloadRes(type, id); });
}
bool reloadres(Handle contents)
{
    return Guarded<bool>(false, [&]() -> bool { return Manager().ReloadRes(contents); });
}
Handle xgetreslock(ResType type, int16_t id, bool* locked, bool flag)
{
    return Guarded<Handle>(nullptr, [&]() -> Handle { return Manager().GetResLock(type, id, locked, flag); });
}

void execresaction(ResType type, int16_t id, uint32_t serverFileNumber, int16_t action)
{
    GuardedVoid([&] {
        const OSErr before = CPseudoResManager::LastError();
        const auto& files = CPseudoResManager::Files();
        for (auto it = files.rbegin(); it != files.rend(); ++it)
            if ((*it)->ServerFileNumber() == serverFileNumber) {
                (*it)->ExecResAction(type, id, action);
                break;
            }
        CPseudoResManager::SetLastError(before);
    });
}

bool bindcompanion(int16_t fileNumber, int16_t companion)
{
    return Guarded<bool>(false, [&]() -> bool {
        CPseudoResFile* f = Manager().FindFile(fileNumber);
        const int16_t fork = platform::ResFileForkRef(companion);
        return f && f->ForkRefNum() && fork && platform::BindForks(f->ForkRefNum(), fork) == platform::noErr;
    });
}

bool islocalres(int16_t fileNumber)
{
    return Guarded<bool>(false, [&]() -> bool {
        CPseudoResFile* f = Manager().FindFile(fileNumber);
        return f && f->IsLocal();
    });
}

bool IsNatif(int16_t fileNumber)
{
    return Guarded<bool>(false, [&]() -> bool {
        CPseudoResFile* f = OpenFileNumbered(fileNumber);
        return f && f->IsBigEndian();
    });
}
